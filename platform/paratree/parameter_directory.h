#pragma once
// A parameter directory: named child directories and books, stored as a folder
// holding one sub-folder per child directory and one file `<name>.pbook` per
// book (see ParameterBook). Directories and books share one set of names.
//
// Loading reads every sub-folder and every `*.pbook` file whose name is a
// valid name (is_valid_name); other files and folders are not tree content and
// are never read, written or deleted. A folder whose name ends in ".pbook" is
// not tree content either.
//
// Saving to the directory's own folder (the folder it was loaded from, or the
// folder a new directory was first saved to) makes the folder match the tree
// in memory: books and directories the tree loaded from or wrote to that very
// folder and no longer holds are deleted (a deleted directory's folder goes
// only once nothing but tree content was in it). Saving to any other folder
// adds and replaces, and deletes nothing. A save is all-or-nothing, also
// across a crash, and one writer at a time: it first
// checks that the folder can take the tree (no folder where a book file must
// go, no book file or foreign folder where a directory's folder must go) and
// changes nothing when it cannot; saving home also refuses when someone else
// changed the tree content there since it was loaded or saved (SaveOptions
// can allow that). Saving home writes only the books that
// changed since they were last loaded or saved. Names starting with ".ovk:"
// are the save's own files.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/paratree/para_tree_entity.h"
#include "platform/paratree/parameter_book.h"

namespace ovk_paratree {

// What a load found besides the tree: entries that look like tree content
// (folders, `*.pbook` files) but whose names no tree could have written, so
// they were not loaded. Paths relative to the tree folder, '/'-separated,
// UTF-8; folders end with '/'.
struct LoadReport {
    // The entries that were not loaded, sorted.
    std::vector<std::string> skipped;
};

// What a save did besides writing the tree.
struct SaveReport {
    // A deleted directory whose folder stayed, because it holds files that
    // are not tree content (those are never deleted). Paths relative to the
    // folder saved to (`foreign`: relative to `folder`).
    struct Remained {
        // The folder that stayed.
        std::string folder;
        // What it holds that is not tree content, at any depth; folders end with '/'.
        std::vector<std::string> foreign;
    };
    // The deleted directories whose folders stayed.
    std::vector<Remained> remained;
    // The book files written, relative to the folder saved to; a save home
    // writes only books that changed since they were last loaded or saved.
    std::vector<std::string> written;

    // One line per remained folder, for showing to the user; "" when none.
    std::string message() const;
};

// Choices for a save beyond the default behaviour; every field off by default.
struct SaveOptions {
    // Saving home normally refuses, changing nothing, when someone else
    // changed tree content there since the tree was loaded or saved (see
    // changed_on_disk): it would undo their change unseen. On: the folder is
    // made to match the tree anyway.
    bool overwrite_changes_on_disk = false;
};

class ParameterDirectory;

// What load_with_report answers: the tree, and what the load skipped.
struct LoadResult {
    // The tree read from the folder.
    std::shared_ptr<ParameterDirectory> tree;
    // The entries that were not loaded.
    LoadReport report;
};

class ParameterDirectory : public ParaTreeEntity {
public:
    // A new, empty directory with no folder of its own yet.
    ParameterDirectory();
    ParameterDirectory(const ParameterDirectory&) = delete;
    ParameterDirectory& operator=(const ParameterDirectory&) = delete;
    ~ParameterDirectory() override;

    std::string class_name() const override;  // "ParameterDirectory"
    // Changed (a child set or removed anywhere below, a book or parameter
    // edited) since the tree was last loaded from or saved to its own folder.
    bool modified() const override;
    // For a tree with a folder of its own: the books and directories whose
    // files someone else added, removed or rewrote there since this tree last
    // loaded or saved them, as paths relative to that folder ('/'-separated,
    // UTF-8; a book as "dir/name.pbook", a directory as "dir/sub/"), sorted.
    // Empty when nothing changed or the tree has no folder yet.
    std::vector<std::string> changed_on_disk() const;

    // Reads the tree stored in `folder`. Throws ParaTreeError naming the file or
    // folder when the folder does not exist or cannot be read, a book cannot be
    // loaded, a symbolic link leads back into the tree, or a folder holds both
    // a sub-folder `x` and a book file `x.pbook`. Nothing is returned then.
    static std::shared_ptr<ParameterDirectory> load(const std::filesystem::path& folder);
    // The same, with what was skipped:
    //   auto [tree, report] = ParameterDirectory::load_with_report(folder);
    static LoadResult load_with_report(const std::filesystem::path& folder);
    // Writes the tree into `folder` (created when missing); see the top of this
    // file for what is deleted. Throws ParaTreeError naming the file or folder
    // that failed; a failed save changes nothing in the tree's content there.
    // Answers which folders stayed and what was written.
    SaveReport save(const std::filesystem::path& folder, const SaveOptions& options = {});

    // Makes `folder` the directory's own folder, as if the tree had been
    // saved there: what is in it now counts as someone else's (kept, and no
    // news for changed_on_disk); later saves home delete only what the tree
    // itself writes. Nothing is read or written. A no-op when `folder` is
    // the directory's own folder already.
    void set_home(const std::filesystem::path& folder);

    // ---- children, keyed by name ----
    // Order: after load, sub-directories first, then books, each group by
    // byte-wise ascending name; set() of a new name appends, set() of an
    // existing name replaces in place. Lookups are linear in size().

    // (name, child) pairs; each child is a ParameterDirectory or a ParameterBook.
    std::vector<std::pair<std::string, std::shared_ptr<ParaTreeEntity>>> items() const;
    std::vector<std::string> names() const;
    bool contains(const std::string& name) const;
    // The child stored under `name` (the object itself), or nullptr.
    std::shared_ptr<ParaTreeEntity> get(const std::string& name) const;
    // Typed lookups: nullptr when absent or of the other kind.
    std::shared_ptr<ParameterDirectory> get_directory(const std::string& name) const;
    std::shared_ptr<ParameterBook> get_book(const std::string& name) const;
    // Stores `child` (the object itself) under `name`, replacing any child of
    // that name, directory or book. Throws ParaTreeError, changing nothing,
    // unless `child` is a ParameterDirectory or a ParameterBook, when the name
    // is invalid, when a directory's name ends in ".pbook" (it would read back
    // as a book file), or when `child` is this directory or holds it.
    void set(const std::string& name, std::shared_ptr<ParaTreeEntity> child);
    // Removes the child `name`; false when there was none.
    bool remove(const std::string& name);
    // Removes every child. Saved to its own folder afterwards, the folder
    // loses all tree content.
    void clear();
    std::size_t size() const;
    bool empty() const;

    // A deep copy of the tree in memory. The copy has no folder of its own:
    // saving it anywhere only adds and replaces until that first save.
    std::shared_ptr<ParameterDirectory> clone() const;

private:
    struct DiskImage;
    struct Plan;

    void plan_folder(const std::filesystem::path& folder, bool exists, const std::filesystem::path& stage_in,
                     const DiskImage* known, DiskImage& next, Plan& plan, bool clean) const;
    static bool plan_removal(const std::filesystem::path& folder, const DiskImage& image, Plan& plan, bool clean);
    static void find_foreign(const std::filesystem::path& folder, const DiskImage& image, const std::string& prefix,
                             std::vector<std::string>& foreign);
    void settle(const std::filesystem::path& folder, DiskImage& next, std::uint64_t stamp);
    void mark_clean(std::uint64_t stamp);
    bool holds(const ParaTreeEntity* entity) const;
    static void diff_folder(const std::filesystem::path& folder, const DiskImage& image, const std::string& prefix,
                            std::vector<std::string>& out);
    static std::shared_ptr<ParameterDirectory> load_folder(const std::filesystem::path& folder,
                                                           const std::string& rel, bool clean,
                                                           std::vector<std::filesystem::path>& open_folders,
                                                           LoadReport& report);

    std::vector<std::pair<std::string, std::shared_ptr<ParaTreeEntity>>> children_;
    // The directory's own folder (empty until loaded or first saved) and what
    // the tree last loaded from or wrote to it: the only files it may delete.
    std::filesystem::path home_;
    std::unique_ptr<DiskImage> image_;
    std::uint64_t revision_ = next_stamp();  // last change of the child list
    std::uint64_t clean_at_ = 0;             // last load or save home; 0: never
};

}  // namespace ovk_paratree
