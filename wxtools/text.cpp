#include "wxtools/text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace ovk_wxtools {

bool is_unicode_space(wxUniChar c)
{
    const wxUint32 v = c.GetValue();
    if ((v >= 0x09 && v <= 0x0D) || (v >= 0x1C && v <= 0x20))
        return true;
    switch (v) {
    case 0x85: case 0xA0: case 0x1680: case 0x2028: case 0x2029:
    case 0x202F: case 0x205F: case 0x3000:
        return true;
    default:
        return v >= 0x2000 && v <= 0x200A;
    }
}

wxString strip_whitespace(const wxString& text)
{
    auto begin = text.begin();
    auto end = text.end();
    while (begin != end && is_unicode_space(*begin))
        ++begin;
    while (end != begin) {
        auto last = end;
        --last;
        if (!is_unicode_space(*last))
            break;
        end = last;
    }
    return wxString(begin, end);
}

wxString format_real(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, end);
    // to_chars switches to exponent form earlier than the customary repr
    // (1e+16 and above, below 1e-04); redo the middle range in fixed form.
    const double magnitude = std::fabs(value);
    if (magnitude != 0 && magnitude >= 1e-4 && magnitude < 1e16 && text.find('e') != std::string::npos) {
        auto [fend, fec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
        text.assign(buffer, fend);
    }
    if (text.find_first_of(".e") == std::string::npos)
        text += ".0";
    return wxString::FromUTF8(text);
}

}  // namespace ovk_wxtools
