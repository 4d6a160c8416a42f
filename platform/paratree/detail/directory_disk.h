#pragma once
// What the directory's loading, saving and checking share: how a folder's
// entries are listed and classed, and the record of what a tree left in a
// folder (ParameterDirectory::DiskImage).
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/paratree/detail/file_io.h"
#include "platform/paratree/parameter_directory.h"

namespace ovk_paratree {

// What the tree loaded from, or wrote to, one folder: the books and the
// sub-folders (with what it knows of those in turn). Only these are ever
// deleted from that folder, and a book whose record still fits is not
// written again.
struct ParameterDirectory::DiskImage {
    struct Book {
        std::string name;
        file_io::FileStamp stamp;           // the file as this tree left it
        std::weak_ptr<ParaTreeEntity> who;  // the book object whose content it holds
        std::uint64_t at = 0;               // ... as of this stamp
        bool operator==(const std::string& other) const { return name == other; }
    };
    std::string name;
    std::vector<Book> books;
    std::vector<DiskImage> dirs;
    // Tree-like entries that were there too but are not the tree's (book
    // files as "x.pbook", folders as "x/"): someone else's, never deleted,
    // and no news when they are still there.
    std::vector<std::string> others;
    // Book files a tolerant load could not read ("x" for "x.pbook"), as they
    // were then (no stamp: a link to nothing). Someone else's to mend: never
    // written over or deleted, and news for changed_on_disk once they change.
    struct Unreadable {
        std::string name;
        std::optional<file_io::FileStamp> stamp;
        bool operator==(const std::string& other) const { return name == other; }
    };
    std::vector<Unreadable> unreadable;

    const Book* book(const std::string& n) const
    {
        for (const auto& b : books)
            if (b.name == n) return &b;
        return nullptr;
    }
    const DiskImage* dir(const std::string& n) const
    {
        for (const auto& d : dirs)
            if (d.name == n) return &d;
        return nullptr;
    }
};

// One load's walk through the folders.
struct ParameterDirectory::LoadWalk {
    LoadReport& report;
    // Read as a committed save left the folder: a folder wins over a book
    // file of its name, the journal decides.
    bool mid_save = false;
    // Books that cannot be read are reported and kept out of the tree.
    bool tolerate_unreadable = false;
    // The real paths of the folders being read: a link back is refused.
    std::vector<std::filesystem::path> open_folders;
};

namespace disk {

// ".pbook", and whether a name ends with it (and is more than it).
const std::string& book_suffix();
bool ends_with_book_suffix(const std::string& name);
// True when a folder or file of this name can be tree content: a valid
// name, or a book file whose name without ".pbook" is valid.
bool is_tree_entry(const std::string& name);
// The file of book `name` in `folder`.
std::filesystem::path book_file(const std::filesystem::path& folder, const std::string& name);

[[noreturn]] void fs_error(const std::string& action, const std::filesystem::path& path, const std::error_code& ec);

// One spelling per folder, so that the tree's own folder is recognised
// however it is given (relative, with "..", links, a trailing separator).
std::filesystem::path folder_key(const std::filesystem::path& folder, std::error_code& ec);

// "prefix/name", or "name" when the prefix is empty.
std::string join(const std::string& prefix, const std::string& name);

template <class List>
bool has_name(const List& list, const std::string& name)
{
    for (const auto& entry : list)
        if (entry == name) return true;
    return false;
}

// What one folder holds, by name: folders (links to folders too), regular
// files, and anything else.
struct Entry {
    enum Kind { Folder, File, Other } kind;
    bool link;
};
using Listing = std::map<std::string, Entry>;

// Lists `folder` without our own files, removing the staging files an
// interrupted save left there when `clean` (the caller holds the tree's lock
// and the folder is the tree's own, not reached through a link).
Listing list_folder(const std::filesystem::path& folder, bool clean);

}  // namespace disk

}  // namespace ovk_paratree
