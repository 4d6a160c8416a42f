// Saving a tree: everything a save will do is worked out and proven possible
// (names, permissions, space, new folders, staged books) before the journal
// commits it; see detail/tree_journal.h for the protocol.
#include "platform/paratree/parameter_directory.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include <sys/stat.h>

#include "platform/paratree/detail/directory_disk.h"
#include "platform/paratree/detail/tree_journal.h"
#include "platform/paratree/invalid_name_characters.h"
#include "platform/paratree/para_tree_error.h"

namespace ovk_paratree {

namespace fs = std::filesystem;
using namespace disk;
using file_io::JournalStep;
using file_io::to_path;
using file_io::to_text;

// Where one directory goes in a save.
struct ParameterDirectory::Place {
    fs::path folder;          // its folder as the tree names it
    fs::path real;            // where its entries are made now: `folder`, or inside a new staging folder
    bool exists = false;      // the folder is there already
    bool fresh = false;       // made by this save: entries are written under their final names
    bool linked = false;      // reached through a link: ours to write into, not to clean
    const DiskImage* known = nullptr;  // what the tree left there; null: nothing is deleted
};

// Everything one save will do, worked out before the disk changes.
struct ParameterDirectory::Plan {
    fs::path root;
    dev_t root_device = 0;
    bool own = false;
    bool overwrite = false;  // others' changes at home are overwritten, not refused
    std::uint64_t stamp = 0;
    std::vector<JournalStep> folders, moves, deletes, removes;
    std::vector<fs::path> staged;                // removed again unless the journal took them over
    std::vector<fs::path> flush_files, gained;   // to flush before the commit
    std::vector<fs::path> written_targets;       // books written through links
    std::vector<SaveReport::Remained> remained;
    std::vector<std::string> written;
    bool committed = false;

    ~Plan()
    {
        if (!committed) file_io::discard_staging_files(staged);
    }

    // `path` as the journal names it: relative to the tree folder. Plain text
    // work: this runs a few times per book.
    std::string rel(const fs::path& path) const
    {
        const std::string& text = path.native();
        const std::string& base = root.native();
        if (text.size() > base.size() && text.starts_with(base) && text[base.size()] == '/')
            return text.substr(base.size() + 1);
        return fs::path(text).lexically_relative(root).generic_string();
    }
    // Folders as text: comparing paths part by part costs too much per book.
    std::unordered_set<std::string> gained_names, proven_names;

    void gain(const fs::path& folder)
    {
        if (gained_names.insert(folder.native()).second) gained.push_back(folder);
    }
    // A folder that loses or renames an entry: proven writable first.
    void prove(const fs::path& folder)
    {
        if (gained_names.count(folder.native()) || proven_names.count(folder.native())) return;
        file_io::prove_writable(folder);
        proven_names.insert(folder.native());
    }
    bool on_root_device(const fs::path& folder) const
    {
        struct stat st {};
        return ::stat(folder.c_str(), &st) == 0 && st.st_dev == root_device;
    }
    [[noreturn]] void conflict(const fs::path& path, const std::string& why) const
    {
        throw ParaTreeError("Cannot save parameter directory to `" + to_text(root) + "`: `" + to_text(path) + "` " +
                            why + "; nothing was changed.");
    }
    std::vector<JournalStep> steps() const
    {
        std::vector<JournalStep> out;
        for (const auto* part : {&folders, &moves, &deletes, &removes}) out.insert(out.end(), part->begin(), part->end());
        return out;
    }
};

// The names of one folder as the plan looks them up: hashed, so that large
// folders plan in linear time.
struct ParameterDirectory::FolderView {
    const Listing& disk;
    std::unordered_map<std::string, bool> mine;  // name -> is a directory
    std::unordered_map<std::string, std::pair<const DiskImage::Book*, std::optional<file_io::FileStamp>>> records;
    std::unordered_map<std::string, const DiskImage*> known_dirs;

    const Entry* on_disk(const std::string& name) const
    {
        const auto it = disk.find(name);
        return it == disk.end() ? nullptr : &it->second;
    }
    // A folder of ours that this save removes (only when saving home).
    const DiskImage* leaving_dir(const std::string& name) const
    {
        const auto it = known_dirs.find(name);
        const auto kept = mine.find(name);
        return it != known_dirs.end() && !(kept != mine.end() && kept->second) ? it->second : nullptr;
    }
};

SaveReport ParameterDirectory::save(const fs::path& folder, const SaveOptions& options)
{
    std::error_code ec;
    const fs::path target = folder_key(folder, ec);
    if (ec) fs_error("save parameter directory to", folder, ec);
    fs::create_directories(target, ec);
    if (ec) fs_error("create folder", target, ec);
    if (!fs::is_directory(target, ec))
        throw ParaTreeError("Cannot save parameter directory to `" + to_text(target) +
                            "`: it exists and is not a folder.");

    file_io::FolderLock lock(target);
    if (!lock.writable())
        throw ParaTreeError("Cannot save parameter directory to `" + to_text(target) +
                            "`: its lock file cannot be made (" + lock.why_not() + "); nothing was changed.");
    if (const std::string pending = file_io::recover(target); !pending.empty())
        throw ParaTreeError("Cannot save parameter directory to `" + to_text(target) +
                            "`: an interrupted save into it cannot be completed yet, so nothing was changed. " +
                            pending);

    Plan plan;
    plan.root = target;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) plan.root_device = st.st_dev;
    plan.own = home_.empty() || target == home_;
    plan.overwrite = options.overwrite_changes_on_disk;
    plan.stamp = next_stamp();  // edits made from here on are not in what is written
    DiskImage next;
    plan_folder(Place{target, target, true, false, false, plan.own ? image_.get() : nullptr}, next, plan);

    SaveReport report;
    const auto steps = plan.steps();
    std::vector<std::string> remained;
    if (!steps.empty()) {
        file_io::flush_staging(plan.flush_files, plan.gained);
        plan.committed = true;  // from the journal on, staged files belong to it
        try {
            report.pending = file_io::run_journal(target, steps, remained);
        } catch (...) {
            // Staged files the journal did not use yet go only when the
            // journal never became durable; recovery needs them otherwise.
            plan.committed = file_io::read_journal(target).has_value();
            throw;
        }
    }
    // Folders that stayed, each named once: the outermost.
    for (auto& r : plan.remained) {
        const bool inside = std::any_of(plan.remained.begin(), plan.remained.end(), [&](const SaveReport::Remained& o) {
            return r.folder.starts_with(o.folder + "/");
        });
        if (!inside && has_name(remained, r.folder)) report.remained.push_back(r);
    }
    report.written = std::move(plan.written);
    // Pending work leaves files this tree cannot vouch for yet: a new load tells.
    if (plan.own && report.pending.empty()) settle(target, next, plan.stamp, plan.written_targets);
    return report;
}

// Plans the save of this directory at `at`; `next` receives what the tree
// will have left there afterwards.
void ParameterDirectory::plan_folder(const Place& at, DiskImage& next, Plan& plan) const
{
    const Listing disk = at.exists && !at.fresh ? list_folder(at.folder, !at.linked) : Listing{};
    FolderView view{disk, {}, {}, {}};
    for (const auto& [name, child] : children_)
        view.mine[name] = dynamic_cast<const ParameterDirectory*>(child.get()) != nullptr;
    if (at.known) {
        for (const auto& book : at.known->books) {
            const Entry* entry = view.on_disk(book.name + book_suffix());
            view.records[book.name] = {&book, entry ? file_io::stamp_of(book_file(at.folder, book.name)) : std::nullopt};
        }
        for (const auto& dir : at.known->dirs) view.known_dirs[dir.name] = &dir;
        if (!plan.overwrite) refuse_changes(at, view, plan);
    }
    for (const auto& [name, child] : children_) {
        if (auto book = std::dynamic_pointer_cast<ParameterBook>(child)) {
            plan_book(at, view, name, book, next, plan);
            continue;
        }
        DiskImage sub_next;
        sub_next.name = name;
        std::static_pointer_cast<ParameterDirectory>(child)->plan_subfolder(at, view, name, sub_next, plan);
        next.dirs.push_back(std::move(sub_next));
    }
    // Books that could not be read stay as they are while their files are there.
    if (at.known)
        for (const auto& book : at.known->unreadable)
            if (view.on_disk(book.name + book_suffix())) next.unreadable.push_back(book);
    // What else is there stays someone else's.
    for (const auto& [name, entry] : disk) {
        if (!is_tree_entry(name)) continue;
        if (entry.kind == Entry::Folder && !ends_with_book_suffix(name) && !view.mine.count(name) &&
            !view.known_dirs.count(name))
            next.others.push_back(name + "/");
        if (entry.kind == Entry::File && ends_with_book_suffix(name)) {
            const std::string stem = name.substr(0, name.size() - book_suffix().size());
            if (!view.mine.count(stem) && !view.records.count(stem) && !has_name(next.unreadable, stem))
                next.others.push_back(name);
        }
    }
    if (at.known) plan_leaving(at, view, next, plan);
}

// Someone else changed the tree content at `at` since this tree last loaded
// or saved it: saving would undo that unseen, so the save is refused.
void ParameterDirectory::refuse_changes(const Place& at, const FolderView& view, const Plan& plan)
{
    const auto changed = [&](const std::string& name) {
        throw ParaTreeError("Cannot save parameter directory to `" + to_text(plan.root) + "`: `" +
                            to_text(at.folder / to_path(name)) +
                            "` was changed by someone else since the tree was loaded or saved; nothing was "
                            "changed. Load the folder again, or save elsewhere.");
    };
    for (const auto& [name, record] : view.records)
        if (!record.second || *record.second != record.first->stamp) changed(name + book_suffix());
    for (const auto& book : at.known->unreadable)
        if (file_io::stamp_of(book_file(at.folder, book.name)) != book.stamp) changed(book.name + book_suffix());
    for (const auto& [name, dir] : view.known_dirs)
        if (const Entry* entry = view.on_disk(name); !entry || entry->kind != Entry::Folder) changed(name);
    for (const auto& [name, entry] : view.disk) {
        if (!is_tree_entry(name)) continue;
        if (entry.kind == Entry::Folder && !ends_with_book_suffix(name) && !view.known_dirs.count(name) &&
            !has_name(at.known->others, name + "/"))
            changed(name);
        if (entry.kind == Entry::File && ends_with_book_suffix(name) &&
            !view.records.count(name.substr(0, name.size() - book_suffix().size())) &&
            !has_name(at.known->others, name) &&
            !has_name(at.known->unreadable, name.substr(0, name.size() - book_suffix().size())))
            changed(name);
    }
}

// Plans the book `name` at `at`: nothing when its file holds it already,
// else its content staged and a step moving it into place.
void ParameterDirectory::plan_book(const Place& at, const FolderView& view, const std::string& name,
                                   const std::shared_ptr<ParameterBook>& book, DiskImage& next, Plan& plan)
{
    const fs::path file = book_file(at.folder, name);
    const Entry* entry = view.on_disk(name + book_suffix());
    if (entry && entry->kind == Entry::Folder) plan.conflict(file, "is a folder where the book `" + name + "` must be saved");
    if (entry && at.known && has_name(at.known->unreadable, name))
        plan.conflict(file, "could not be read when the tree was loaded and is kept as it is, so the book `" + name +
                                "` is not written over it; mend or remove the file and load the folder again");
    if (const Entry* dir = view.on_disk(name); dir && dir->kind == Entry::Folder) {
        const DiskImage* old = view.leaving_dir(name);
        if (!old)
            plan.conflict(at.folder / to_path(name),
                          "is a folder of the same name as the book `" + name + "`; the folder would not load with both");
        if (!dir->link) {
            std::vector<std::string> foreign;
            find_foreign(at.folder / to_path(name), *old, "", foreign);
            if (!foreign.empty())
                plan.conflict(at.folder / to_path(name), "must give way to the book `" + name +
                                                             "` but holds files that are not part of the tree (`" +
                                                             foreign.front() + "`" + (foreign.size() > 1 ? ", ..." : "") + ")");
        }
    }
    const std::shared_ptr<ParaTreeEntity> child = book;
    if (const auto it = view.records.find(name); it != view.records.end() && entry && entry->kind == Entry::File) {
        const DiskImage::Book& record = *it->second.first;
        if (!record.who.owner_before(child) && !child.owner_before(record.who) && !record.who.expired() &&
            !book->changed_since(record.at) && it->second.second == record.stamp) {
            next.books.push_back(record);  // the file holds this very content already
            return;
        }
    }
    const fs::path real_file = book_file(at.real, name);
    file_io::check_limits(at.real, name + book_suffix(), real_file);
    const std::string text = book->to_text();
    plan.written.push_back(plan.rel(file));
    next.books.push_back({name, {}, child, plan.stamp});
    if (at.fresh) {
        file_io::write_new_file(real_file, text, "parameter book");
        plan.flush_files.push_back(real_file);
        plan.gain(at.real);
        return;
    }
    // Through a link the file it points to is replaced, not the link; staged
    // in the tree's own folder when that is on the same file system, so that
    // a save stopped before its commit leaves nothing in other folders.
    const bool through = (entry && entry->link) || at.linked;
    fs::path target = file;
    std::error_code ec;
    if (entry && entry->link) target = fs::weakly_canonical(file, ec);
    const fs::path home = target.parent_path();
    const fs::path stage_in = through && plan.on_root_device(home) ? plan.root : home;
    const fs::path temp = file_io::write_staging_file(stage_in, text, target, "parameter book", file);
    plan.staged.push_back(temp);
    plan.flush_files.push_back(temp);
    plan.gain(stage_in);
    if (stage_in != home) file_io::check_writable(home);
    const auto kind = entry && entry->link ? JournalStep::MoveThroughLink : JournalStep::Move;
    plan.moves.push_back({kind, plan.rel(file), plan.rel(temp), text.size(), file_io::content_hash(text)});
    if (kind == JournalStep::MoveThroughLink) plan.written_targets.push_back(target);
}

// Plans this directory as the sub-folder `name` of `at`: a folder there
// already is planned in place; a new one is made under a staging name now
// and moved into place by the journal.
void ParameterDirectory::plan_subfolder(const Place& at, const FolderView& view, const std::string& name,
                                        DiskImage& next, Plan& plan) const
{
    const fs::path sub = at.folder / to_path(name);
    const Entry* entry = view.on_disk(name);
    if (entry && entry->kind != Entry::Folder) plan.conflict(sub, "exists and is not a folder");
    if (const Entry* file = view.on_disk(name + book_suffix()); file && file->kind == Entry::File) {
        if (!view.records.count(name))
            plan.conflict(book_file(at.folder, name), "is a book file of the same name as the directory `" + name +
                                                          "`; the folder would not load with both");
    }
    Place place{sub, at.real / to_path(name), entry != nullptr, at.fresh, at.linked || (entry && entry->link), nullptr};
    // What is on disk there is known to this directory if that folder is its
    // own; otherwise (a renamed or new directory) to the parent.
    if (plan.own && entry) {
        const auto it = view.known_dirs.find(name);
        place.known = home_ == sub ? image_.get() : (it != view.known_dirs.end() ? it->second : nullptr);
    }
    if (!entry) {
        file_io::check_limits(at.real, name, place.real);
        if (at.fresh) {
            file_io::make_new_folder(place.real);
        } else {
            place.real = file_io::make_staging_folder(at.real, sub);
            plan.staged.push_back(place.real);
            plan.folders.push_back({JournalStep::MoveFolder, plan.rel(sub), plan.rel(place.real)});
        }
        place.fresh = true;
        plan.gain(at.real);
        plan.gain(place.real);
    }
    plan_folder(place, next, plan);
}

// Plans the deletion of what the tree left at `at` and no longer holds.
void ParameterDirectory::plan_leaving(const Place& at, const FolderView& view, DiskImage& next, Plan& plan)
{
    for (const auto& book : at.known->books) {
        const auto it = view.mine.find(book.name);
        if (it != view.mine.end() && !it->second) continue;  // still a book here
        const Entry* entry = view.on_disk(book.name + book_suffix());
        if (entry && (entry->kind == Entry::File || entry->link)) {
            plan.prove(at.folder);
            plan.deletes.push_back({JournalStep::Delete, plan.rel(book_file(at.folder, book.name)), {}});
        }
    }
    for (const auto& dir : at.known->dirs) {
        const auto it = view.mine.find(dir.name);
        if (it != view.mine.end() && it->second) continue;  // still a directory here
        if (!view.on_disk(dir.name)) continue;
        plan.prove(at.folder);
        if (plan_removal(at.folder / to_path(dir.name), dir, plan)) next.others.push_back(dir.name + "/");
    }
}

// Plans the removal of a folder the tree left and no longer holds: its books
// and sub-folders, then the folder itself unless something else is in it.
// True when it will stay for that reason.
bool ParameterDirectory::plan_removal(const fs::path& folder, const DiskImage& image, Plan& plan)
{
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(folder, ec))) {
        plan.removes.push_back({JournalStep::RemoveFolder, plan.rel(folder), {}});  // the link only
        return false;
    }
    if (!fs::is_directory(fs::symlink_status(folder, ec))) return false;
    const Listing disk = list_folder(folder, true);
    for (const auto& book : image.books)
        if (disk.count(book.name + book_suffix())) {
            plan.prove(folder);
            plan.deletes.push_back({JournalStep::Delete, plan.rel(book_file(folder, book.name)), {}});
        }
    for (const auto& sub : image.dirs)
        if (disk.count(sub.name)) {
            plan.prove(folder);
            plan_removal(folder / to_path(sub.name), sub, plan);
        }
    std::vector<std::string> foreign;
    find_foreign(folder, image, "", foreign);
    if (!foreign.empty()) plan.remained.push_back({plan.rel(folder), foreign});
    plan.removes.push_back({JournalStep::RemoveFolder, plan.rel(folder), {}});
    return !foreign.empty();
}

// Adds to `foreign` what `folder` holds, at any depth, that `image` does not
// account for (paths relative to `folder`).
void ParameterDirectory::find_foreign(const fs::path& folder, const DiskImage& image, const std::string& prefix,
                                      std::vector<std::string>& foreign)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = to_text(it->path().filename());
        if (file_io::is_protocol_name(name)) continue;
        std::error_code sec;
        const bool dir = it->is_directory(sec) && !it->is_symlink(sec);
        if (ends_with_book_suffix(name) && !dir && image.book(name.substr(0, name.size() - book_suffix().size())))
            continue;
        if (dir) {
            if (const DiskImage* sub = image.dir(name)) {
                find_foreign(it->path(), *sub, join(prefix, name), foreign);
                continue;
            }
        } else if (it->is_symlink(sec) && image.dir(name)) {
            continue;  // a linked folder of ours: the link goes
        }
        foreign.push_back(join(prefix, name) + (dir ? "/" : ""));
    }
}

// After a save into the tree's own folder: records what is there now and
// gives every directory below its own folder and record of it. A book whose
// file another link of the tree wrote takes that file's new stamp.
void ParameterDirectory::settle(const fs::path& folder, DiskImage& next, std::uint64_t stamp,
                                const std::vector<fs::path>& written_targets)
{
    for (auto& book : next.books) {
        if (book.at == stamp) {
            book.stamp = file_io::stamp_of(book_file(folder, book.name)).value_or(file_io::FileStamp{});
        } else if (!written_targets.empty()) {
            const fs::path file = book_file(folder, book.name);
            const auto now = file_io::stamp_of(file);
            std::error_code ec;
            if (now && *now != book.stamp && has_name(written_targets, fs::weakly_canonical(file, ec))) book.stamp = *now;
        }
    }
    for (auto& sub : next.dirs) get_directory(sub.name)->settle(folder / to_path(sub.name), sub, stamp, written_targets);
    home_ = folder;
    image_ = std::make_unique<DiskImage>(next);
    image_->name.clear();
    clean_at_ = stamp;
    for (const auto& [name, child] : children_)
        if (auto book = std::dynamic_pointer_cast<ParameterBook>(child)) book->mark_clean(stamp);
}

}  // namespace ovk_paratree
