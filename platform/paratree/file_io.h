#pragma once
// File and text helpers shared by the book and directory storage. Every
// failure comes out as ParaTreeError with the file named in the message.
#include <filesystem>
#include <string>
#include <string_view>

namespace ovk_paratree::file_io {

// A UTF-8 name as a path, and a path as UTF-8 text for messages and names.
std::filesystem::path to_path(std::string_view utf8);
std::string to_text(const std::filesystem::path& path);

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool is_utf8(std::string_view text);

// The whole content of a regular file. `what` names the kind of file in
// messages ("parameter book").
std::string read_file(const std::filesystem::path& file, const std::string& what);

// Replaces `file` with `data` so that the file holds either its old or its new
// content at every moment: the data goes to a temporary file in the same
// folder, is flushed to disk and renamed over `file`. The temporary file is
// removed on failure. An existing file's permissions are kept.
void write_file_atomically(const std::filesystem::path& file, std::string_view data,
                           const std::string& what);

// Flushes a folder's entries (new names from renames) to disk.
void sync_folder(const std::filesystem::path& folder);

}  // namespace ovk_paratree::file_io

namespace ovk_paratree {

// Deepest nesting of lists and mappings an attribute value may have. Deeper
// values are refused when stored and when read, since writing them would
// recurse without bound.
inline constexpr int MaxValueNesting = 256;

}  // namespace ovk_paratree

namespace ovk_paratree::file_io {

// Throws ParaTreeError unless is_valid_name(name); `kind` starts the message
// ("Attribute name", "Book name", ...).
void require_valid_name(const std::string& name, const std::string& kind);

}  // namespace ovk_paratree::file_io
