#pragma once
// The text a grid cell shows for a value, and CellValue, one value of a row
// as a formatting callback hands it to RowGrid.
//
// Text forms:
//   texts                  unchanged (std::string and char pointers are read as UTF-8;
//                          bytes that are not UTF-8 show as U+FFFD)
//   bool                   True / False
//   integers               plain decimal: 42, -7
//   real numbers           the shortest text that reads back as the same number,
//                          whole numbers with ".0": 2.5, 3.0, 0.1, 1e-05, inf, nan
//   a character (char, wchar_t, wxUniChar)   that one character
//   std::optional          empty: an empty cell; otherwise the text of its value
//   wxDateTime             YYYY-MM-DD HH:MM:SS in local time; an invalid one: empty
//   anything else          what `operator<<` writes to a std::ostream (as UTF-8)
// A value of any other kind does not compile.
#include "wxtools/text.h"

#include <wx/datetime.h>
#include <wx/string.h>

#include <concepts>
#include <locale>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

namespace ovk_wxtools {

namespace cell_value_detail {

template <class V>
inline constexpr bool is_optional = false;
template <class V>
inline constexpr bool is_optional<std::optional<V>> = true;

template <class V>
concept character = std::same_as<V, char> || std::same_as<V, wchar_t> || std::same_as<V, char16_t> ||
                    std::same_as<V, char32_t> || std::same_as<V, char8_t> || std::same_as<V, wxUniChar>;

template <class V>
concept streamable = requires(std::ostream& os, const V& v) { os << v; };

wxString real_text(double value);
wxString real_text(float value);

}  // namespace cell_value_detail

class CellValue;

namespace cell_value_detail {

template <class V>
consteval bool has_text()
{
    using D = std::remove_cvref_t<V>;
    if constexpr (std::same_as<D, CellValue> || std::same_as<D, wxString> || std::same_as<D, bool> || character<D>)
        return true;
    else if constexpr (std::is_convertible_v<const D&, std::string_view> ||
                       std::is_convertible_v<const D&, std::wstring_view>)
        return true;
    else if constexpr (std::is_arithmetic_v<D> || std::same_as<D, wxDateTime>)
        return true;
    else if constexpr (is_optional<D>)
        return has_text<typename D::value_type>();
    else
        return streamable<D>;
}

}  // namespace cell_value_detail

// True for every kind of value that has a cell text.
template <class V>
concept has_cell_text = cell_value_detail::has_text<V>();

// One value of a row, kept as its cell text.
class CellValue {
public:
    template <class V>
        requires has_cell_text<V> && (!std::same_as<std::remove_cvref_t<V>, CellValue>)
    CellValue(const V& value);  // implicit: a callback returns {name, count, 2.5}

    const wxString& text() const { return text_; }
    bool operator==(const CellValue&) const = default;

private:
    wxString text_;
};

template <class V>
    requires has_cell_text<V>
wxString cell_text(const V& value)
{
    using D = std::remove_cvref_t<V>;
    using namespace cell_value_detail;
    if constexpr (std::same_as<D, CellValue>)
        return value.text();
    else if constexpr (std::same_as<D, wxString>)
        return value;
    else if constexpr (std::same_as<D, bool>)
        return value ? "True" : "False";
    else if constexpr (std::same_as<D, char>)
        return wxString(wxUniChar(static_cast<unsigned char>(value)));
    else if constexpr (character<D>)
        return wxString(wxUniChar(static_cast<wxUint32>(value)));
    else if constexpr (std::is_convertible_v<const D&, std::string_view>) {
        return from_utf8(std::string_view(value));
    } else if constexpr (std::is_convertible_v<const D&, std::wstring_view>) {
        const std::wstring_view text(value);
        return wxString(text.data(), text.size());
    } else if constexpr (std::is_integral_v<D>)
        return wxString::FromAscii(std::to_string(value).c_str());
    else if constexpr (std::same_as<D, float>)
        return real_text(value);
    else if constexpr (std::is_floating_point_v<D>)
        return real_text(static_cast<double>(value));
    else if constexpr (std::same_as<D, wxDateTime>)
        return value.IsValid() ? value.FormatISOCombined(' ') : wxString();
    else if constexpr (is_optional<D>)
        return value ? cell_text(*value) : wxString();
    else {
        // The classic locale: a global C++ locale must not group the digits.
        std::ostringstream out;
        out.imbue(std::locale::classic());
        out << value;
        return from_utf8(out.str());
    }
}

template <class V>
    requires has_cell_text<V> && (!std::same_as<std::remove_cvref_t<V>, CellValue>)
CellValue::CellValue(const V& value) : text_(cell_text(value))
{
}

}  // namespace ovk_wxtools
