#include "wxtools/controls/cell_value.h"

#include "wxtools/text.h"

#include <charconv>

namespace ovk_wxtools::cell_value_detail {

wxString real_text(double value)
{
    return format_real(value);
}

// The shortest text of a float (0.1f shows as 0.1, not as the double it
// widens to), in the same form as a double's.
wxString real_text(float value)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    double widened = 0;
    std::from_chars(buffer, end, widened);
    return format_real(widened);
}

}  // namespace ovk_wxtools::cell_value_detail
