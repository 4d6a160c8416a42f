#pragma once
// Small text helpers shared by the library's pieces.
//
// Every narrow string (const char*, std::string, std::string_view) that the
// library takes or hands out is UTF-8, whatever the C locale says. Narrow text
// comes in through from_utf8 (or the Text parameter type) and goes out through
// wxString::utf8_string().
#include <wx/string.h>

#include <concepts>
#include <string>
#include <string_view>
#include <type_traits>

namespace ovk_wxtools {

// `text` read as UTF-8. Bytes that are not UTF-8 each become U+FFFD (one per
// broken sequence), so the readable rest is kept and the result is never
// empty for a non-empty input. A null pointer gives the empty text.
wxString from_utf8(std::string_view text);
wxString from_utf8(const char* text);

// Kinds of text the library accepts: wxString, wide strings, and narrow
// strings, which are read as UTF-8.
template <class T>
concept narrow_text = std::is_convertible_v<const T&, std::string_view> && !std::same_as<std::remove_cvref_t<T>, wxString>;
template <class T>
concept wide_text = std::is_convertible_v<const T&, std::wstring_view> && !std::same_as<std::remove_cvref_t<T>, wxString>;
template <class T>
concept text_like = std::same_as<std::remove_cvref_t<T>, wxString> || narrow_text<T> || wide_text<T>;

// The wxString of any text_like value.
template <text_like T>
wxString to_wxstring(const T& text)
{
    if constexpr (std::same_as<std::remove_cvref_t<T>, wxString>)
        return text;
    else if constexpr (narrow_text<T>)
        return from_utf8(std::string_view(text));
    else {
        const std::wstring_view wide(text);
        return wxString(wide.data(), wide.size());
    }
}

// A text argument: a wxString, a wide string, or a narrow string read as
// UTF-8. It lets a brace list of plain literals, {"电压", "电流"}, reach a
// list-of-texts parameter without passing through the C locale.
class Text {
public:
    // Takes a wxString as it is.
    Text(const wxString& text) : text_(text) {}
    // Reads narrow text as UTF-8, whatever the C locale says; a null pointer gives the empty text.
    Text(const char* text) : text_(from_utf8(text)) {}
    Text(const char8_t* text) : text_(from_utf8(text ? reinterpret_cast<const char*>(text) : nullptr)) {}
    Text(const std::string& text) : text_(from_utf8(text)) {}
    Text(std::string_view text) : text_(from_utf8(text)) {}
    // Takes wide text as it is.
    Text(const wchar_t* text) : text_(text) {}
    Text(const std::wstring& text) : text_(text) {}

    // The text as a wxString.
    const wxString& str() const { return text_; }
    // Lets a Text stand wherever a wxString is taken.
    operator const wxString&() const { return text_; }

private:
    wxString text_;
};

// True for every character Unicode treats as white space (the ASCII ones,
// U+001C..U+001F, NEL, no-break space, the U+2000 block, line and paragraph
// separators, U+202F, U+205F and the ideographic space U+3000).
bool is_unicode_space(wxUniChar c);

// `text` without leading and trailing Unicode white space.
wxString strip_whitespace(const wxString& text);

// The shortest text that reads back as the same double, with ".0" added to
// whole numbers: 1.0, 0.1, 2.5, 1e-05, 1e+16, inf, -inf, nan. It never
// depends on the C locale (no decimal comma).
wxString format_real(double value);

// `value` in fixed notation with `digits` digits after the point, rounded,
// always with a decimal point whatever the C locale says: 5.0, 0.1.
wxString format_fixed(double value, int digits);

}  // namespace ovk_wxtools
