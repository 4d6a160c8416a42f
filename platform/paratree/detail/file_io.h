#pragma once
// File and text helpers shared by the book and directory storage. Every
// failure comes out as ParaTreeError with the file named in the message.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovk_paratree::file_io {

// A UTF-8 name as a path, and a path as UTF-8 text for messages and names.
std::filesystem::path to_path(std::string_view utf8);
std::string to_text(const std::filesystem::path& path);

// The whole content of a regular file. `what` names the kind of file in
// messages ("parameter book").
std::string read_file(const std::filesystem::path& file, const std::string& what);

// Files written under temporary names in their own folders and then put in
// place together, so that every file holds either its old or its new content
// at every moment. Temporaries not committed are removed on destruction.
class StagedFiles {
public:
    StagedFiles() = default;
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;
    ~StagedFiles();

    // Writes `data` to a temporary file beside `file`. An existing file's
    // permissions are carried over. `what` names the kind of file in messages.
    void stage(const std::filesystem::path& file, std::string_view data, const std::string& what);
    // Flushes every staged file to disk, then renames each over its target
    // and flushes the folders. Nothing is replaced when the flush fails.
    void commit();

private:
    struct Entry {
        std::filesystem::path temp, file;
        std::string what;
    };
    std::vector<Entry> entries_;
};

// What identifies one state of a file on disk: a rewrite, a replacement or a
// touch by anyone changes it.
struct FileStamp {
    // Device, inode number and size in bytes, as stat() reports them.
    std::uint64_t dev = 0, ino = 0, size = 0;
    // Last modification and last status change, in nanoseconds since the epoch.
    std::int64_t mtime_ns = 0, ctime_ns = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
// The stamp of `file` (links followed); nullopt when it cannot be read.
std::optional<FileStamp> stamp_of(const std::filesystem::path& file);

// Flushes a folder's entries (new names from renames) to disk.
void sync_folder(const std::filesystem::path& folder);

}  // namespace ovk_paratree::file_io

namespace ovk_paratree {

// Deepest nesting of lists and mappings an attribute value may have (a list
// of lists of numbers is nested 2 levels). Deeper
// values are refused when stored and when read, since writing them would
// recurse without bound.
inline constexpr int MaxValueNesting = 256;

}  // namespace ovk_paratree

namespace ovk_paratree::file_io {

// Throws ParaTreeError unless is_valid_name(name); `kind` starts the message
// ("Attribute name", "Parameter name").
void require_valid_name(const std::string& name, const std::string& kind);
// The same for the name of a directory or book (is_valid_entry_name).
void require_valid_entry_name(const std::string& name, bool directory);

}  // namespace ovk_paratree::file_io
