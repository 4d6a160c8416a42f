#include "wxtools/text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace ovk_wxtools {

namespace {

// Decodes the character starting at text[i]: its code point and the number of
// bytes it takes, or, for a broken sequence, U+FFFD and the length of the
// broken part (its maximal subpart, as Unicode recommends replacing it).
struct Decoded {
    wxUint32 code;
    std::size_t length;
    bool valid;
};

Decoded decode_utf8(std::string_view text, std::size_t i)
{
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80)
        return {c, 1, true};
    std::size_t length = 0;
    wxUint32 code = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        code = c & 0x0F;
        if (c == 0xE0)
            low = 0xA0;  // no overlong forms
        if (c == 0xED)
            high = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        code = c & 0x07;
        if (c == 0xF0)
            low = 0x90;
        if (c == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    } else {
        return {0xFFFD, 1, false};
    }
    std::size_t taken = 1;
    for (; taken < length && i + taken < text.size(); ++taken) {
        const auto d = static_cast<unsigned char>(text[i + taken]);
        if (d < (taken == 1 ? low : 0x80) || d > (taken == 1 ? high : 0xBF))
            break;
        code = (code << 6) | (d & 0x3F);
    }
    if (taken < length)
        return {0xFFFD, taken, false};
    return {code, length, true};
}

}  // namespace

wxString from_utf8(std::string_view text)
{
    // The toolkit's decoder lets surrogates and code points beyond U+10FFFF
    // through and gives up on any other bad byte: check first, then decode
    // valid text (the usual case) with it, broken text by hand.
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const Decoded next = decode_utf8(text, i);
        if (!next.valid)
            break;
        i += next.length;
    }
    if (i == text.size())
        return wxString::FromUTF8(text.data(), text.size());
    wxString result = wxString::FromUTF8(text.data(), i);
    while (i < text.size()) {
        const Decoded next = decode_utf8(text, i);
        result += wxUniChar(next.code);
        i += next.length;
    }
    return result;
}

wxString from_utf8(const char* text)
{
    return text ? from_utf8(std::string_view(text)) : wxString();
}

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
        return wxS("nan");
    if (std::isinf(value))
        return value > 0 ? wxS("inf") : wxS("-inf");
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

wxString format_fixed(double value, int digits)
{
    if (!std::isfinite(value))
        return format_real(value);
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, digits);
    if (error != std::errc())
        return format_real(value);
    return wxString::FromAscii(buffer, static_cast<std::size_t>(end - buffer));
}

}  // namespace ovk_wxtools
