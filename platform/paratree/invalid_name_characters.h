#pragma once
// The characters that may not occur in the name of a directory, a book, a
// parameter or an attribute: everything that cannot stand in a file name on
// Linux, Windows or macOS (both path separators, : * ? " < > | and the control
// characters U+0000..U+001F and U+007F). Only ASCII characters are listed, so a
// byte-wise search of a UTF-8 name is exact.
#include <array>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace ovk_paratree {

class InvalidNameCharacterSet {
public:
    // Iterates the characters in a fixed order (the printable ones first, then
    // the control characters by code); each entry is one character as UTF-8.
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string;

        constexpr iterator() = default;
        std::string operator*() const { return std::string(1, *pos_); }
        iterator& operator++() { ++pos_; return *this; }
        iterator operator++(int) { iterator old = *this; ++pos_; return old; }
        friend bool operator==(const iterator&, const iterator&) = default;

    private:
        friend class InvalidNameCharacterSet;
        constexpr explicit iterator(const char* pos) : pos_(pos) {}
        const char* pos_ = nullptr;
    };

    constexpr InvalidNameCharacterSet() {
        std::size_t i = 0;
        for (char c : std::string_view(R"(/\:*?"<>|)")) chars_[i++] = c;
        for (int c = 0; c < 0x20; ++c) chars_[i++] = static_cast<char>(c);
        chars_[i++] = '\x7f';
    }

    iterator begin() const { return iterator(chars_.data()); }
    iterator end() const { return iterator(chars_.data() + chars_.size()); }
    constexpr std::size_t size() const { return chars_.size(); }

    // The printable text form used in messages to the user:
    //   /\:*?"<>| and control characters
    std::string to_string() const;

    // True when `ch` is exactly one of the characters.
    bool contains(std::string_view ch) const;

    // True when `name` holds at least one of the characters anywhere.
    bool contains_invalid(std::string_view name) const;

private:
    std::array<char, 9 + 32 + 1> chars_{};
};

// The one set of invalid characters; constant-initialised, usable at any time.
inline constexpr InvalidNameCharacterSet InvalidNameCharacters{};

// The name rule of the model: a name is valid when it is not empty, is not "."
// or "..", holds none of InvalidNameCharacters and is valid UTF-8. Storing an
// entry under any other name throws ParaTreeError. Parameter and attribute
// names are keys inside a book file: no length limit applies to them.
bool is_valid_name(std::string_view name);

// Why `name` is not valid, as a phrase for messages ("it holds one of the
// characters ..."); "" when it is valid.
std::string why_invalid_name(std::string_view name);

// How an entry of a directory is stored: as a folder of its name, or as a
// book file of its name plus ".pbook".
enum class StoredAs { Folder, BookFile };

// The longest file name in bytes the usual file systems allow (ext4, XFS,
// Btrfs, tmpfs; FAT, exFAT and NTFS allow 255 UTF-16 units, never fewer
// bytes). A save checks the actual limit of each folder too.
inline constexpr std::size_t MaxFileNameBytes = 255;

// Names starting with this (in any case) are the save's own files.
inline constexpr std::string_view ReservedPrefix = ".ovk~";

// The rule for the names of directories and books, which become folder and
// file names: the name rule, plus at most MaxFileNameBytes long as the file
// or folder is named (a book's name leaves room for ".pbook"), plus not
// starting with ReservedPrefix.
bool is_valid_entry_name(std::string_view name, StoredAs as);

// Why `name` cannot name a directory (Folder) or book (BookFile); "" when
// it can.
std::string why_invalid_entry_name(std::string_view name, StoredAs as);

}  // namespace ovk_paratree
