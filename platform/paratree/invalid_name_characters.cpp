#include "platform/paratree/invalid_name_characters.h"

#include "platform/paratree/detail/utf8_check.h"

namespace ovk_paratree {

std::string InvalidNameCharacterSet::to_string() const
{
    // The control characters cannot be shown; they are named instead.
    std::string text;
    for (char c : chars_)
        if (static_cast<unsigned char>(c) >= 0x20 && c != '\x7f') text += c;
    return text + " and control characters";
}

bool InvalidNameCharacterSet::contains(std::string_view ch) const
{
    return ch.size() == 1 && contains_invalid(ch);
}

bool InvalidNameCharacterSet::contains_invalid(std::string_view name) const
{
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f) return true;
        for (char bad : std::string_view(R"(/\:*?"<>|)"))
            if (c == bad) return true;
    }
    return false;
}

bool is_valid_name(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && !InvalidNameCharacters.contains_invalid(name) &&
           detail::is_utf8(name);
}

}  // namespace ovk_paratree
