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

bool is_valid_name(std::string_view name) { return why_invalid_name(name).empty(); }

std::string why_invalid_name(std::string_view name)
{
    if (name.empty()) return "a name cannot be empty";
    if (name == "." || name == "..") return "\".\" and \"..\" name folders of their own";
    if (InvalidNameCharacters.contains_invalid(name))
        return "it holds one of the characters `" + InvalidNameCharacters.to_string() + "`";
    if (!detail::is_utf8(name)) return "it is not valid UTF-8 text";
    return "";
}

bool is_valid_entry_name(std::string_view name, StoredAs as) { return why_invalid_entry_name(name, as).empty(); }

std::string why_invalid_entry_name(std::string_view name, StoredAs as)
{
    if (std::string why = why_invalid_name(name); !why.empty()) return why;
    const std::size_t limit = MaxFileNameBytes - (as == StoredAs::BookFile ? std::string_view(".pbook").size() : 0);
    if (name.size() > limit)
        return "it is " + std::to_string(name.size()) + " bytes long in UTF-8, more than the " + std::to_string(limit) +
               " a " + (as == StoredAs::BookFile ? "book's file" : "folder") +
               " name can hold (Chinese characters take 3 bytes each)";
    std::string start(name.substr(0, ReservedPrefix.size()));
    for (char& c : start) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (start == ReservedPrefix) return "names starting with `" + std::string(ReservedPrefix) + "` are kept for saving";
    return "";
}

}  // namespace ovk_paratree
