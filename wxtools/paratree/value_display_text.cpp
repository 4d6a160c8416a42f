#include "wxtools/paratree/value_display_text.h"

#include "wxtools/text.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace ovk_wxtools {
namespace {

using Json = nlohmann::ordered_json;

// A text inside a list or mapping, quoted so that it reads as one literal.
void append_quoted(std::string& out, const std::string& text)
{
    const bool has_single = text.find('\'') != std::string::npos;
    const bool has_double = text.find('"') != std::string::npos;
    const char quote = (has_single && !has_double) ? '"' : '\'';
    out += quote;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == quote || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (ch == '\n') {
            out += "\\n";
        } else if (ch == '\r') {
            out += "\\r";
        } else if (ch == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02x", c);
            out += code;
        } else {
            out += ch;  // UTF-8 bytes of other characters stay as they are
        }
    }
    out += quote;
}

void append_literal(std::string& out, const Json& value)
{
    switch (value.type()) {
    case Json::value_t::null:
        out += "None";
        break;
    case Json::value_t::boolean:
        out += value.get<bool>() ? "True" : "False";
        break;
    case Json::value_t::number_integer:
        out += std::to_string(value.get<std::int64_t>());
        break;
    case Json::value_t::number_unsigned:
        out += std::to_string(value.get<std::uint64_t>());
        break;
    case Json::value_t::number_float:
        out += format_real(value.get<double>()).utf8_string();
        break;
    case Json::value_t::string:
        append_quoted(out, value.get_ref<const std::string&>());
        break;
    case Json::value_t::array: {
        out += '[';
        bool first = true;
        for (const Json& element : value) {
            if (!first)
                out += ", ";
            first = false;
            append_literal(out, element);
        }
        out += ']';
        break;
    }
    case Json::value_t::object: {
        out += '{';
        bool first = true;
        for (const auto& [key, element] : value.items()) {
            if (!first)
                out += ", ";
            first = false;
            append_quoted(out, key);
            out += ": ";
            append_literal(out, element);
        }
        out += '}';
        break;
    }
    case Json::value_t::binary:
    case Json::value_t::discarded:
        // Not JSON text at all; show what the library would write for it.
        out += value.dump(-1, ' ', false, Json::error_handler_t::replace);
        break;
    }
}

}  // namespace

wxString value_display_text(const nlohmann::ordered_json& value)
{
    if (value.is_string())
        return from_utf8(value.get_ref<const std::string&>());
    std::string out;
    append_literal(out, value);
    return from_utf8(out);
}

wxString value_json_text(const nlohmann::ordered_json& value)
{
    if (value.is_string())
        return from_utf8(value.get_ref<const std::string&>());
    if (value.is_number_float() && !std::isfinite(value.get<double>()))
        return format_real(value.get<double>());
    return from_utf8(value.dump(-1, ' ', false, Json::error_handler_t::replace));
}

wxString parameter_value_text(const ovk_paratree::Parameter& parameter, std::size_t max)
{
    if (parameter.contains("value"))
        return value_json_text(parameter.get("value"));
    wxString text;
    for (const auto& [name, value] : parameter.items()) {
        if (!text.empty())
            text += wxS(", ");
        text += from_utf8(name) + wxS("=") + value_json_text(value);
        if (text.length() > max)
            break;
    }
    if (text.length() > max)
        text = text.Left(max - 1) + wxString(L"\u2026");
    return text;
}

}  // namespace ovk_wxtools
