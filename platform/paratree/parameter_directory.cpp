#include "platform/paratree/parameter_directory.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <system_error>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "platform/paratree/detail/file_io.h"
#include "platform/paratree/invalid_name_characters.h"
#include "platform/paratree/para_tree_error.h"
#include "platform/paratree/detail/tree_journal.h"

namespace ovk_paratree {

namespace fs = std::filesystem;
using file_io::to_path;
using file_io::to_text;

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

namespace {

const std::string& book_suffix()
{
    static const std::string suffix = "." + ParameterBook::ExtName;
    return suffix;
}

bool ends_with_book_suffix(const std::string& name)
{
    return name.size() > book_suffix().size() && name.ends_with(book_suffix());
}

fs::path book_file(const fs::path& folder, const std::string& name) { return folder / to_path(name + book_suffix()); }

[[noreturn]] void fs_error(const std::string& action, const fs::path& path, const std::error_code& ec)
{
    std::string why = ec.message();
    if (ec.value() == ELOOP) why = "too many levels of symbolic links (a link loop)";
    throw ParaTreeError("Cannot " + action + " `" + to_text(path) + "`: " + why + ".");
}

// One spelling per folder, so that the tree's own folder is recognised
// however it is given (relative, with "..", links, a trailing separator).
fs::path folder_key(const fs::path& folder, std::error_code& ec)
{
    fs::path key = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    if (!key.has_filename() && key.has_relative_path()) key = key.parent_path();
    return key;
}

template <class List>
bool has_name(const List& list, const std::string& name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}

// What one folder holds, by name: folders (links to folders too), regular
// files, and anything else.
struct Entry {
    enum Kind { Folder, File, Other } kind;
    bool link;
};
using Listing = std::map<std::string, Entry>;

// Lists `folder`, removing the staging files an interrupted save left there
// (only when `clean`: the caller holds the tree's lock).
Listing list_folder(const fs::path& folder, bool clean)
{
    Listing out;
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    if (ec) fs_error("read folder", folder, ec);
    bool leftovers = false;
    for (; it != end; it.increment(ec)) {
        if (ec) fs_error("read folder", folder, ec);
        const std::string name = to_text(it->path().filename());
        if (file_io::is_protocol_name(name)) {
            leftovers = true;
            continue;
        }
        std::error_code sec;
        const auto status = it->status(sec);
        if (sec && sec.value() != ENOENT) fs_error("load", it->path(), sec);  // a link loop, say
        const bool link = it->is_symlink(sec);
        Entry::Kind kind = Entry::Other;
        if (fs::is_directory(status)) kind = Entry::Folder;
        else if (fs::is_regular_file(status)) kind = Entry::File;
        else if (link && sec.value() == ENOENT) kind = Entry::Other;  // dangling
        out.emplace(name, Entry{kind, link});
    }
    if (leftovers && clean) file_io::remove_staging_files(folder);
    return out;
}

std::string join(const std::string& prefix, const std::string& name) { return prefix.empty() ? name : prefix + "/" + name; }

}  // namespace

ParameterDirectory::ParameterDirectory() = default;
ParameterDirectory::~ParameterDirectory() = default;

std::string ParameterDirectory::class_name() const { return "ParameterDirectory"; }

std::string SaveReport::message() const
{
    std::string out;
    for (const auto& folder : remained) {
        if (!out.empty()) out += '\n';
        out += "Folder `" + folder.folder + "` was kept: it holds files that are not part of the tree (";
        for (std::size_t i = 0; i < folder.foreign.size(); ++i) out += (i ? ", `" : "`") + folder.foreign[i] + "`";
        out += ").";
    }
    return out;
}

// ---------------------------------------------------------------- loading

std::shared_ptr<ParameterDirectory> ParameterDirectory::load(const fs::path& folder)
{
    return load_with_report(folder).tree;
}

LoadResult ParameterDirectory::load_with_report(const fs::path& folder)
{
    std::error_code ec;
    const auto status = fs::status(folder, ec);
    if (ec && ec.value() != ENOENT) fs_error("load parameter directory", folder, ec);
    if (!fs::exists(status))
        throw ParaTreeError("Cannot load parameter directory `" + to_text(folder) + "`: the folder does not exist.");
    if (!fs::is_directory(status))
        throw ParaTreeError("Cannot load parameter directory `" + to_text(folder) + "`: it is not a folder.");
    const fs::path root = folder_key(folder, ec);
    if (ec) fs_error("load parameter directory", folder, ec);

    // A save in progress elsewhere is waited for; one that was interrupted is
    // completed first, so what loads is exactly one whole tree.
    file_io::FolderLock lock(root);
    if (lock.writable()) {
        file_io::recover(root);
    } else if (fs::exists(root / ".ovk:journal", ec)) {
        throw ParaTreeError("Cannot load parameter directory `" + to_text(folder) +
                            "`: a save into it was interrupted and cannot be completed without write access.");
    }
    LoadResult result;
    std::vector<fs::path> open_folders;
    result.tree = load_folder(root, "", lock.writable(), open_folders, result.report);
    std::sort(result.report.skipped.begin(), result.report.skipped.end());
    result.tree->mark_clean(next_stamp());
    return result;
}

std::shared_ptr<ParameterDirectory> ParameterDirectory::load_folder(const fs::path& folder, const std::string& rel,
                                                                    bool clean, std::vector<fs::path>& open_folders,
                                                                    LoadReport& report)
{
    std::error_code ec;
    const fs::path real = fs::canonical(folder, ec);
    if (ec) fs_error("load parameter directory", folder, ec);
    if (has_name(open_folders, real))
        throw ParaTreeError("Cannot load parameter directory `" + to_text(folder) +
                            "`: it is a symbolic link back to `" + to_text(real) +
                            "`, which holds it (the tree would never end).");

    std::vector<std::string> dirs, books;
    for (const auto& [name, entry] : list_folder(folder, clean)) {
        const bool book_like = ends_with_book_suffix(name) || name == book_suffix();
        if (entry.kind == Entry::Other) {
            // A dangling link is no tree content unless it claims to be a book.
            if (entry.link && book_like && is_valid_name(name)) {
                std::error_code missing(ENOENT, std::generic_category());
                fs_error("load", folder / to_path(name), missing);
            }
            continue;
        }
        const std::string stem = entry.kind == Entry::File && book_like
                                     ? name.substr(0, name.size() - book_suffix().size())
                                     : name;
        if (entry.kind == Entry::Folder && !book_like && is_valid_name(name)) {
            dirs.push_back(name);
        } else if (entry.kind == Entry::File && book_like && is_valid_name(name) && is_valid_name(stem)) {
            books.push_back(stem);
        } else if (entry.kind == Entry::Folder || book_like) {
            // Looks like tree content, but no tree could have written it.
            report.skipped.push_back(join(rel, name) + (entry.kind == Entry::Folder ? "/" : ""));
        }
    }
    // The listing is sorted already (by bytes).
    for (const auto& name : dirs)
        if (std::binary_search(books.begin(), books.end(), name))
            throw ParaTreeError("Cannot load parameter directory `" + to_text(folder) + "`: it holds both a folder `" +
                                name + "` and a book file `" + name + book_suffix() +
                                "` of the same name; rename or remove one of them.");

    auto directory = std::make_shared<ParameterDirectory>();
    auto image = std::make_unique<DiskImage>();
    directory->children_.reserve(dirs.size() + books.size());
    open_folders.push_back(real);
    for (const auto& name : dirs) {
        auto child = load_folder(folder / to_path(name), join(rel, name), clean, open_folders, report);
        DiskImage sub = *child->image_;
        sub.name = name;
        image->dirs.push_back(std::move(sub));
        directory->children_.emplace_back(name, std::move(child));
    }
    open_folders.pop_back();
    for (const auto& name : books) {
        const fs::path file = book_file(folder, name);
        const auto on_disk = file_io::stamp_of(file);  // before reading: a later rewrite shows
        std::shared_ptr<ParaTreeEntity> book = ParameterBook::load(file);
        image->books.push_back({name, on_disk.value_or(file_io::FileStamp{}), book, next_stamp()});
        directory->children_.emplace_back(name, std::move(book));
    }
    directory->home_ = folder;
    directory->image_ = std::move(image);
    return directory;
}

// ----------------------------------------------------------------- saving

// Everything one save will do, worked out before the disk changes.
struct ParameterDirectory::Plan {
    fs::path root;
    bool own = false;
    bool overwrite = false;  // others' changes at home are overwritten, not refused
    std::uint64_t stamp = 0;
    std::vector<file_io::JournalStep> make, moves, deletes, removes;
    std::vector<fs::path> staged;  // removed again unless the journal took them over
    std::vector<SaveReport::Remained> remained;
    std::vector<std::string> written;
    bool committed = false;

    ~Plan()
    {
        if (!committed) file_io::discard_staging_files(staged);
    }

    // `path` as the journal names it: relative to the tree folder when inside.
    // Plain text work: this runs a few times per book.
    std::string rel(const fs::path& path) const
    {
        const std::string& text = path.native();
        const std::string& base = root.native();
        if (text.size() > base.size() && text.starts_with(base) && text[base.size()] == '/')
            return text.substr(base.size() + 1);
        return text;
    }
};

SaveReport ParameterDirectory::save(const fs::path& folder, const SaveOptions& options)
{
    SaveReport report;
    std::error_code ec;
    const fs::path target = folder_key(folder, ec);
    if (ec) fs_error("save parameter directory to", folder, ec);
    fs::create_directories(target, ec);
    if (ec) fs_error("create folder", target, ec);
    if (!fs::is_directory(target, ec))
        throw ParaTreeError("Cannot save parameter directory to `" + to_text(target) +
                            "`: it exists and is not a folder.");

    file_io::FolderLock lock(target);
    if (lock.writable()) file_io::recover(target);

    Plan plan;
    plan.root = target;
    plan.own = home_.empty() || target == home_;
    plan.overwrite = options.overwrite_changes_on_disk;
    plan.stamp = next_stamp();  // edits made from here on are not in what is written
    DiskImage next;
    plan_folder(target, true, target, plan.own ? image_.get() : nullptr, next, plan, lock.writable());

    std::vector<file_io::JournalStep> steps;
    for (auto* part : {&plan.make, &plan.moves, &plan.deletes, &plan.removes})
        steps.insert(steps.end(), part->begin(), part->end());
    std::vector<std::string> remained;
    if (!steps.empty()) {
        file_io::flush_staging_files(plan.staged);
        plan.committed = true;  // from the journal on, staged files belong to it
        try {
            file_io::run_journal(target, steps, remained);
        } catch (...) {
            plan.committed = false;
            // Staged files the journal did not use yet go only when the
            // journal never became durable; recovery needs them otherwise.
            if (fs::exists(target / ".ovk:journal", ec)) plan.committed = true;
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
    if (plan.own) settle(target, next, plan.stamp);
    return report;
}

// Plans the save of this directory into `folder`. `exists`: the folder is
// there already (else a step creates it); `stage_in`: the nearest folder that
// exists, where new books are staged. `known` is what the tree knows it left
// in `folder` (null when the save deletes nothing there); `next` receives
// what it will have left there afterwards.
void ParameterDirectory::plan_folder(const fs::path& folder, bool exists, const fs::path& stage_in,
                                     const DiskImage* known, DiskImage& next, Plan& plan, bool clean) const
{
    const Listing disk = exists ? list_folder(folder, clean) : Listing{};
    const auto on_disk = [&](const std::string& name) -> const Entry* {
        const auto it = disk.find(name);
        return it == disk.end() ? nullptr : &it->second;
    };
    const auto conflict = [&](const fs::path& path, const std::string& why) {
        throw ParaTreeError("Cannot save parameter directory to `" + to_text(plan.root) + "`: `" + to_text(path) +
                            "` " + why + "; nothing was changed.");
    };
    // Hashed views of the names, so that large folders plan in linear time.
    std::unordered_map<std::string, bool> mine;  // name -> is a directory
    for (const auto& [name, child] : children_) mine[name] = dynamic_cast<const ParameterDirectory*>(child.get()) != nullptr;
    std::unordered_map<std::string, std::pair<const DiskImage::Book*, std::optional<file_io::FileStamp>>> records;
    std::unordered_map<std::string, const DiskImage*> known_dirs;
    if (known) {
        for (const auto& book : known->books) {
            const Entry* entry = on_disk(book.name + book_suffix());
            records[book.name] = {&book, entry ? file_io::stamp_of(book_file(folder, book.name)) : std::nullopt};
        }
        for (const auto& dir : known->dirs) known_dirs[dir.name] = &dir;
        if (!plan.overwrite) {
            // Someone else changed the tree content here since this tree last
            // loaded or saved it: saving would undo that unseen.
            const auto changed = [&](const std::string& name) {
                throw ParaTreeError("Cannot save parameter directory to `" + to_text(plan.root) + "`: `" +
                                    to_text(folder / to_path(name)) +
                                    "` was changed by someone else since the tree was loaded or saved; nothing was "
                                    "changed. Load the folder again, or save elsewhere.");
            };
            for (const auto& [name, record] : records)
                if (!record.second || *record.second != record.first->stamp) changed(name + book_suffix());
            for (const auto& [name, dir] : known_dirs)
                if (const Entry* entry = on_disk(name); !entry || entry->kind != Entry::Folder) changed(name);
            for (const auto& [name, entry] : disk) {
                if (!is_valid_name(name)) continue;
                if (entry.kind == Entry::Folder && !ends_with_book_suffix(name) && !known_dirs.count(name) &&
                    !has_name(known->others, name + "/"))
                    changed(name);
                if (entry.kind == Entry::File && ends_with_book_suffix(name) &&
                    !records.count(name.substr(0, name.size() - book_suffix().size())) && !has_name(known->others, name))
                    changed(name);
            }
        }
    }
    // A folder of ours that this save removes (only when saving home).
    const auto leaving_dir = [&](const std::string& name) -> const DiskImage* {
        const auto it = known_dirs.find(name);
        return it != known_dirs.end() && !mine[name] ? it->second : nullptr;
    };

    for (const auto& [name, child] : children_) {
        if (auto book = std::dynamic_pointer_cast<ParameterBook>(child)) {
            const fs::path file = book_file(folder, name);
            const Entry* entry = on_disk(name + book_suffix());
            if (entry && entry->kind == Entry::Folder)
                conflict(file, "is a folder where the book `" + name + "` must be saved");
            if (const Entry* dir = on_disk(name); dir && dir->kind == Entry::Folder) {
                const DiskImage* old = leaving_dir(name);
                if (!old)
                    conflict(folder / to_path(name), "is a folder of the same name as the book `" + name +
                                                         "`; the folder would not load with both");
                if (!dir->link) {
                    std::vector<std::string> foreign;
                    find_foreign(folder / to_path(name), *old, "", foreign);
                    if (!foreign.empty())
                        conflict(folder / to_path(name),
                                 "must give way to the book `" + name + "` but holds files that are not part of the tree (`" +
                                     foreign.front() + "`" + (foreign.size() > 1 ? ", ..." : "") + ")");
                }
            }
            if (const auto it = records.find(name); it != records.end() && entry && entry->kind == Entry::File) {
                const DiskImage::Book& record = *it->second.first;
                if (!record.who.owner_before(child) && !child.owner_before(record.who) && !record.who.expired() &&
                    !book->changed_since(record.at) && it->second.second == record.stamp) {
                    next.books.push_back(record);  // the file holds this very content already
                    continue;
                }
            }
            fs::path target = file;
            std::error_code ec;
            // Replace the file a link points to, not the link.
            if (entry && entry->link) target = fs::weakly_canonical(file, ec);
            const std::string text = book->to_text();
            const fs::path temp = file_io::write_staging_file(entry && entry->link ? target.parent_path() : stage_in,
                                                              text, target, "parameter book", file);
            plan.staged.push_back(temp);
            plan.moves.push_back({file_io::JournalStep::Move, plan.rel(target), plan.rel(temp)});
            plan.written.push_back(plan.rel(file));
            next.books.push_back({name, {}, child, plan.stamp});
            continue;
        }
        const auto directory = std::static_pointer_cast<ParameterDirectory>(child);
        const fs::path sub = folder / to_path(name);
        const Entry* entry = on_disk(name);
        if (entry && entry->kind != Entry::Folder) conflict(sub, "exists and is not a folder");
        if (const Entry* file = on_disk(name + book_suffix()); file && file->kind == Entry::File) {
            if (!records.count(name))
                conflict(book_file(folder, name), "is a book file of the same name as the directory `" + name +
                                                      "`; the folder would not load with both");
        }
        if (!entry) plan.make.push_back({file_io::JournalStep::MakeFolder, plan.rel(sub), {}});
        // What is on disk there is known to the child if that folder is its
        // own; otherwise (a renamed or new directory) to this directory.
        const DiskImage* sub_known = nullptr;
        if (plan.own) {
            const auto it = known_dirs.find(name);
            sub_known = directory->home_ == sub ? directory->image_.get() : (it != known_dirs.end() ? it->second : nullptr);
        }
        DiskImage sub_next;
        sub_next.name = name;
        directory->plan_folder(sub, entry != nullptr, entry ? sub : stage_in, sub_known, sub_next, plan, clean);
        next.dirs.push_back(std::move(sub_next));
    }
    // What else is there stays someone else's.
    for (const auto& [name, entry] : disk) {
        if (!is_valid_name(name)) continue;
        if (entry.kind == Entry::Folder && !ends_with_book_suffix(name) && !mine.count(name) && !known_dirs.count(name))
            next.others.push_back(name + "/");
        if (entry.kind == Entry::File && ends_with_book_suffix(name)) {
            const std::string stem = name.substr(0, name.size() - book_suffix().size());
            if (!mine.count(stem) && !records.count(stem)) next.others.push_back(name);
        }
    }
    if (!known) return;
    for (const auto& book : known->books) {
        const auto it = mine.find(book.name);
        if (it != mine.end() && !it->second) continue;  // still a book here
        const Entry* entry = on_disk(book.name + book_suffix());
        if (entry && (entry->kind == Entry::File || entry->link))
            plan.deletes.push_back({file_io::JournalStep::Delete, plan.rel(book_file(folder, book.name)), {}});
    }
    for (const auto& dir : known->dirs) {
        const auto it = mine.find(dir.name);
        if (it != mine.end() && it->second) continue;  // still a directory here
        if (on_disk(dir.name) && plan_removal(folder / to_path(dir.name), dir, plan, clean))
            next.others.push_back(dir.name + "/");
    }
}

// Plans the removal of a folder the tree left and no longer holds: its books
// and sub-folders, then the folder itself unless something else is in it.
// True when it will stay for that reason.
bool ParameterDirectory::plan_removal(const fs::path& folder, const DiskImage& image, Plan& plan, bool clean)
{
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(folder, ec))) {
        plan.removes.push_back({file_io::JournalStep::RemoveFolder, plan.rel(folder), {}});  // the link only
        return false;
    }
    if (!fs::is_directory(fs::symlink_status(folder, ec))) return false;
    const Listing disk = list_folder(folder, clean);
    for (const auto& book : image.books)
        if (disk.count(book.name + book_suffix()))
            plan.deletes.push_back({file_io::JournalStep::Delete, plan.rel(book_file(folder, book.name)), {}});
    for (const auto& sub : image.dirs)
        if (disk.count(sub.name)) plan_removal(folder / to_path(sub.name), sub, plan, clean);
    std::vector<std::string> foreign;
    find_foreign(folder, image, "", foreign);
    if (!foreign.empty()) plan.remained.push_back({plan.rel(folder), foreign});
    plan.removes.push_back({file_io::JournalStep::RemoveFolder, plan.rel(folder), {}});
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
// gives every directory below its own folder and record of it.
void ParameterDirectory::settle(const fs::path& folder, DiskImage& next, std::uint64_t stamp)
{
    for (auto& book : next.books)
        if (book.at == stamp) book.stamp = file_io::stamp_of(book_file(folder, book.name)).value_or(file_io::FileStamp{});
    for (auto& sub : next.dirs)
        get_directory(sub.name)->settle(folder / to_path(sub.name), sub, stamp);
    home_ = folder;
    image_ = std::make_unique<DiskImage>(next);
    image_->name.clear();
    clean_at_ = stamp;
    for (const auto& [name, child] : children_)
        if (auto book = std::dynamic_pointer_cast<ParameterBook>(child)) book->mark_clean(stamp);
}

void ParameterDirectory::set_home(const fs::path& folder)
{
    std::error_code ec;
    const fs::path key = folder_key(folder, ec);
    if (ec) fs_error("use folder", folder, ec);
    if (key == home_) return;
    auto image = std::make_unique<DiskImage>();
    if (fs::is_directory(key, ec)) {
        for (const auto& [name, entry] : list_folder(key, false)) {
            if (!is_valid_name(name)) continue;
            if (entry.kind == Entry::Folder && !ends_with_book_suffix(name)) image->others.push_back(name + "/");
            if (entry.kind == Entry::File && ends_with_book_suffix(name)) image->others.push_back(name);
        }
    }
    home_ = key;
    image_ = std::move(image);
}

void ParameterDirectory::mark_clean(std::uint64_t stamp)
{
    clean_at_ = stamp;
    for (const auto& [name, child] : children_) {
        if (auto directory = std::dynamic_pointer_cast<ParameterDirectory>(child))
            directory->mark_clean(stamp);
        else
            std::static_pointer_cast<ParameterBook>(child)->mark_clean(stamp);
    }
}

std::vector<std::string> ParameterDirectory::changed_on_disk() const
{
    std::vector<std::string> out;
    if (!home_.empty() && image_) diff_folder(home_, *image_, "", out);
    std::sort(out.begin(), out.end());
    return out;
}

// Adds to `out` what differs between `folder` now and `image` of it.
void ParameterDirectory::diff_folder(const fs::path& folder, const DiskImage& image, const std::string& prefix,
                                     std::vector<std::string>& out)
{
    std::vector<std::string> dirs, books;
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = to_text(it->path().filename());
        if (!is_valid_name(name)) continue;
        std::error_code status_ec;
        const auto status = it->status(status_ec);
        if (fs::is_directory(status) && !ends_with_book_suffix(name)) {
            dirs.push_back(name);
        } else if (fs::is_regular_file(status) && ends_with_book_suffix(name)) {
            std::string book = name.substr(0, name.size() - book_suffix().size());
            if (is_valid_name(book)) books.push_back(std::move(book));
        }
    }
    for (const auto& book : image.books) {
        const auto now = has_name(books, book.name) ? file_io::stamp_of(book_file(folder, book.name)) : std::nullopt;
        if (!now || *now != book.stamp) out.push_back(prefix + book.name + book_suffix());
    }
    for (const auto& book : books)
        if (!has_name(image.books, book) && !has_name(image.others, book + book_suffix()))
            out.push_back(prefix + book + book_suffix());
    for (const auto& dir : image.dirs) {
        if (has_name(dirs, dir.name)) diff_folder(folder / to_path(dir.name), dir, prefix + dir.name + "/", out);
        else out.push_back(prefix + dir.name + "/");
    }
    for (const auto& dir : dirs)
        if (!image.dir(dir) && !has_name(image.others, dir + "/")) out.push_back(prefix + dir + "/");
}

bool ParameterDirectory::modified() const
{
    if (clean_at_ == 0 || revision_ > clean_at_) return true;
    for (const auto& entry : children_)
        if (entry.second->modified()) return true;
    return false;
}

// --------------------------------------------------------------- children

std::vector<std::pair<std::string, std::shared_ptr<ParaTreeEntity>>> ParameterDirectory::items() const
{
    return children_;
}

std::vector<std::string> ParameterDirectory::names() const
{
    std::vector<std::string> out;
    out.reserve(children_.size());
    for (const auto& entry : children_) out.push_back(entry.first);
    return out;
}

bool ParameterDirectory::contains(const std::string& name) const { return get(name) != nullptr; }

std::shared_ptr<ParaTreeEntity> ParameterDirectory::get(const std::string& name) const
{
    for (const auto& [key, child] : children_)
        if (key == name) return child;
    return nullptr;
}

std::shared_ptr<ParameterDirectory> ParameterDirectory::get_directory(const std::string& name) const
{
    return std::dynamic_pointer_cast<ParameterDirectory>(get(name));
}

std::shared_ptr<ParameterBook> ParameterDirectory::get_book(const std::string& name) const
{
    return std::dynamic_pointer_cast<ParameterBook>(get(name));
}

bool ParameterDirectory::holds(const ParaTreeEntity* entity) const
{
    for (const auto& [name, child] : children_) {
        if (child.get() == entity) return true;
        if (auto directory = dynamic_cast<const ParameterDirectory*>(child.get()); directory && directory->holds(entity))
            return true;
    }
    return false;
}

void ParameterDirectory::set(const std::string& name, std::shared_ptr<ParaTreeEntity> child)
{
    const auto directory = std::dynamic_pointer_cast<ParameterDirectory>(child);
    if (!directory && !std::dynamic_pointer_cast<ParameterBook>(child))
        throw ParaTreeError("Only a parameter directory or a parameter book can be stored in a directory, not " +
                            (child ? "a " + child->class_name() : std::string("nothing (null)")) + " (name `" +
                            name + "`).");
    file_io::require_valid_name(name, directory ? "Directory name" : "Book name");
    if (directory && ends_with_book_suffix(name))
        throw ParaTreeError("Directory name `" + name + "` is invalid: a folder named like a book file (`*" +
                            book_suffix() + "`) would not load back as a directory.");
    if (directory && (directory.get() == this || directory->holds(this)))
        throw ParaTreeError("Directory `" + name + "` cannot be stored inside itself.");
    for (auto& [key, stored] : children_)
        if (key == name) {
            stored = std::move(child);
            revision_ = next_stamp();
            return;
        }
    children_.emplace_back(name, std::move(child));
    revision_ = next_stamp();
}

bool ParameterDirectory::remove(const std::string& name)
{
    const auto it = std::find_if(children_.begin(), children_.end(),
                                 [&](const auto& entry) { return entry.first == name; });
    if (it == children_.end()) return false;
    children_.erase(it);
    revision_ = next_stamp();
    return true;
}

void ParameterDirectory::clear()
{
    children_.clear();
    revision_ = next_stamp();
}

std::size_t ParameterDirectory::size() const { return children_.size(); }

bool ParameterDirectory::empty() const { return children_.empty(); }

std::shared_ptr<ParameterDirectory> ParameterDirectory::clone() const
{
    auto copy = std::make_shared<ParameterDirectory>();
    copy->children_.reserve(children_.size());
    for (const auto& [name, child] : children_) {
        if (auto directory = std::dynamic_pointer_cast<ParameterDirectory>(child))
            copy->children_.emplace_back(name, directory->clone());
        else
            copy->children_.emplace_back(name, std::static_pointer_cast<ParameterBook>(child)->clone());
    }
    return copy;
}

}  // namespace ovk_paratree
