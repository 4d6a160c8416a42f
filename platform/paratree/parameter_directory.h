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
// changed since they were last loaded or saved. Names starting with ".ovk~"
// (or ".ovk:", from earlier versions) are the save's own files.
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
    // A book file a tolerant load (LoadOptions) could not read, and why.
    struct UnreadableBook {
        // Relative to the tree folder, as "dir/name.pbook".
        std::string path;
        // The model's message, naming the file.
        std::string error;
        // Where the JSON parser stopped, counted from 1; 0 when it did not say.
        std::size_t line = 0;
        // The column on that line, counted from 1; 0 when it did not say.
        std::size_t column = 0;
    };
    // The books a tolerant load went on without, sorted by path. Their files
    // stay as they are: the tree's saves never write over or delete them.
    std::vector<UnreadableBook> unreadable;

    // Empty normally. When a save into the folder was committed but could
    // not be carried out to the end (no write access, an I/O error), the
    // tree loaded is the one that save describes, and this tells what is
    // pending and why. Such a tree has no folder of its own: saving it
    // anywhere adds and replaces; the next save that can write into the
    // folder completes the pending one first.
    std::string pending;
};

// What check() found in a folder; it changes nothing.
struct CheckReport {
    // One line per finding: an interrupted save's journal (and whether it
    // can be completed), staging files left behind, entries a load skips,
    // books that cannot be read. Paths relative to the folder, sorted.
    std::vector<std::string> problems;
    bool ok() const { return problems.empty(); }
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

    // Empty normally. When a step after the commit point failed (an I/O
    // error, a permission taken away meanwhile), what is pending and why:
    // the folder already loads as the tree saved, and the next load or save
    // that can write there completes the work.
    std::string pending;

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

// Choices for a load beyond the default behaviour; every field off by default.
struct LoadOptions {
    // A book that cannot be read (not JSON, not a parameter book, not
    // readable) normally stops the load. On: the load goes on without it and
    // LoadReport::unreadable lists it; saves home then leave its file exactly
    // as it is, refusing to write a book of the same name over it.
    bool tolerate_unreadable_books = false;
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
    // The same, with the choices of `options`.
    static LoadResult load_with_options(const std::filesystem::path& folder, const LoadOptions& options);
    // Writes the tree into `folder` (created when missing); see the top of this
    // file for what is deleted. Throws ParaTreeError naming the file or folder
    // that failed; a failed save changes nothing in the tree's content there.
    // Answers which folders stayed and what was written.
    SaveReport save(const std::filesystem::path& folder, const SaveOptions& options = {});
    // Looks the tree stored in `folder` over without changing anything: a
    // pending journal, staging files, entries a load skips, unreadable books.
    static CheckReport check(const std::filesystem::path& folder);

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

    struct Place;
    struct FolderView;

    void plan_folder(const Place& at, DiskImage& next, Plan& plan) const;
    void plan_subfolder(const Place& at, const FolderView& view, const std::string& name, DiskImage& next,
                        Plan& plan) const;
    static void plan_book(const Place& at, const FolderView& view, const std::string& name,
                          const std::shared_ptr<ParameterBook>& book, DiskImage& next, Plan& plan);
    static void refuse_changes(const Place& at, const FolderView& view, const Plan& plan);
    static void plan_leaving(const Place& at, const FolderView& view, DiskImage& next, Plan& plan);
    static bool plan_removal(const std::filesystem::path& folder, const DiskImage& image, Plan& plan);
    static void find_foreign(const std::filesystem::path& folder, const DiskImage& image, const std::string& prefix,
                             std::vector<std::string>& foreign);
    void settle(const std::filesystem::path& folder, DiskImage& next, std::uint64_t stamp,
                const std::vector<std::filesystem::path>& written_targets);
    void mark_clean(std::uint64_t stamp);
    bool holds(const ParaTreeEntity* entity) const;
    static void diff_folder(const std::filesystem::path& folder, const DiskImage& image, const std::string& prefix,
                            std::vector<std::string>& out);
    struct LoadWalk;
    static std::shared_ptr<ParameterDirectory> load_folder(const std::filesystem::path& folder,
                                                           const std::string& rel, bool clean, LoadWalk& walk);
    static void load_book(const std::filesystem::path& folder, const std::string& rel, const std::string& name,
                          ParameterDirectory& directory, DiskImage& image, LoadWalk& walk);
    static LoadResult load_unlocked(const std::filesystem::path& root, const LoadOptions& options);
    static LoadResult load_pending(const std::filesystem::path& root, const std::string& why,
                                   const LoadOptions& options);
    void forget_home();

    std::vector<std::pair<std::string, std::shared_ptr<ParaTreeEntity>>> children_;
    // The directory's own folder (empty until loaded or first saved) and what
    // the tree last loaded from or wrote to it: the only files it may delete.
    std::filesystem::path home_;
    std::unique_ptr<DiskImage> image_;
    std::uint64_t revision_ = next_stamp();  // last change of the child list
    std::uint64_t clean_at_ = 0;             // last load or save home; 0: never
};

}  // namespace ovk_paratree
