// Loading a tree: under the folder's lock when it can be taken (an
// interrupted save is completed first), else as a reader that never sees a
// save half done; when a committed save cannot be completed, the tree it
// describes is loaded and the report says what is pending.
#include "platform/paratree/parameter_directory.h"

#include <algorithm>
#include <chrono>
#include <thread>

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

namespace {

// How long a reader without the lock waits for saves that keep running.
constexpr auto BusyWait = std::chrono::seconds(3);

std::vector<std::string> split(const std::string& path)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t slash; (slash = path.find('/', start)) != std::string::npos; start = slash + 1)
        parts.push_back(path.substr(start, slash - start));
    parts.push_back(path.substr(start));
    return parts;
}

// The directory `parts` name below `tree` (all but the last `drop`),
// created on the way when `make`; null when absent.
std::shared_ptr<ParameterDirectory> walk(const std::shared_ptr<ParameterDirectory>& tree,
                                         const std::vector<std::string>& parts, std::size_t drop, bool make)
{
    auto dir = tree;
    for (std::size_t i = 0; dir && i + drop < parts.size(); ++i) {
        auto next = dir->get_directory(parts[i]);
        if (!next && make) {
            next = std::make_shared<ParameterDirectory>();
            dir->set(parts[i], next);
        }
        dir = next;
    }
    return dir;
}

std::string book_stem(const std::string& file)
{
    return ends_with_book_suffix(file) ? file.substr(0, file.size() - book_suffix().size()) : file;
}

void sort_report(LoadReport& report)
{
    std::sort(report.skipped.begin(), report.skipped.end());
    std::sort(report.unreadable.begin(), report.unreadable.end(),
              [](const auto& a, const auto& b) { return a.path < b.path; });
}

// The "at line L, column C" the JSON parser puts in its messages; 0, 0 without.
std::pair<std::size_t, std::size_t> parser_position(const std::string& message)
{
    const std::string tag = " at line ";
    const auto at = message.find(tag);
    if (at == std::string::npos) return {0, 0};
    std::size_t line = 0, column = 0;
    const char* p = message.c_str() + at + tag.size();
    for (; *p >= '0' && *p <= '9'; ++p) line = line * 10 + static_cast<std::size_t>(*p - '0');
    if (std::string_view(p).substr(0, 9) != ", column ") return {line, 0};
    for (p += 9; *p >= '0' && *p <= '9'; ++p) column = column * 10 + static_cast<std::size_t>(*p - '0');
    return {line, column};
}

bool present(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

}  // namespace

std::shared_ptr<ParameterDirectory> ParameterDirectory::load(const fs::path& folder)
{
    return load_with_options(folder, {}).tree;
}

LoadResult ParameterDirectory::load_with_report(const fs::path& folder)
{
    return load_with_options(folder, {});
}

LoadResult ParameterDirectory::load_with_options(const fs::path& folder, const LoadOptions& options)
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
    if (!lock.writable()) return load_unlocked(root, options);
    if (std::string pending = file_io::recover(root); !pending.empty()) return load_pending(root, pending, options);
    LoadResult result;
    LoadWalk reading{result.report, false, options.tolerate_unreadable_books, {}};
    result.tree = load_folder(root, "", true, reading);
    sort_report(result.report);
    result.tree->mark_clean(next_stamp());
    return result;
}

// A reader that cannot take the lock reads between two equal even save
// generations with no journal in the folder: no save ran meanwhile.
LoadResult ParameterDirectory::load_unlocked(const fs::path& root, const LoadOptions& options)
{
    const auto deadline = std::chrono::steady_clock::now() + BusyWait;
    for (;;) {
        // Tree content changes only while a journal is there, and the
        // generation moves before and after: a read between two equal
        // generations with no journal at either end saw no change.
        const std::uint64_t before = file_io::read_generation(root);
        const bool journal = file_io::has_journal(root);
        try {
            if (!journal) {
                LoadResult result;
                LoadWalk reading{result.report, false, options.tolerate_unreadable_books, {}};
                result.tree = load_folder(root, "", false, reading);
                if (file_io::read_generation(root) == before && !file_io::has_journal(root)) {
                    sort_report(result.report);
                    result.tree->mark_clean(next_stamp());
                    return result;
                }
            } else if (!file_io::lock_held(root)) {
                // Nobody is carrying the journal out: an interrupted save.
                LoadResult result = load_pending(root, "A save into `" + to_text(root) +
                                                           "` was interrupted and cannot be completed without "
                                                           "write access; the tree it saved is shown.",
                                                   options);
                if (file_io::read_generation(root) == before && file_io::has_journal(root) &&
                    !file_io::lock_held(root))
                    return result;
            }
        } catch (const ParaTreeError&) {
            if (file_io::read_generation(root) == before && file_io::has_journal(root) == journal) throw;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            throw ParaTreeError("Cannot load parameter directory `" + to_text(root) +
                                "`: it is busy, another program kept saving into it for " +
                                std::to_string(BusyWait.count()) + " seconds. Try again later.");
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// The tree a committed save describes: what is on disk with the journal's
// steps applied in memory. Nothing on disk changes.
LoadResult ParameterDirectory::load_pending(const fs::path& root, const std::string& why, const LoadOptions& options)
{
    const auto steps = file_io::read_journal(root);
    LoadResult result;
    LoadWalk reading{result.report, true, options.tolerate_unreadable_books, {}};
    result.tree = load_folder(root, "", false, reading);
    for (const auto& s : steps ? *steps : std::vector<JournalStep>{}) {
        if (to_path(s.path).is_absolute()) continue;  // an earlier version's linked book: shown as it is
        const auto parts = split(s.path);
        const fs::path from = root / to_path(s.from), path = root / to_path(s.path);
        switch (s.kind) {
        case JournalStep::MakeFolder:
            walk(result.tree, parts, 0, true);
            break;
        case JournalStep::Move:
        case JournalStep::MoveThroughLink:
            if (auto dir = walk(result.tree, parts, 1, true))
                dir->set(book_stem(parts.back()), ParameterBook::load(present(from) ? from : path));
            break;
        case JournalStep::MoveFolder:
            if (auto dir = walk(result.tree, parts, 1, true)) {
                LoadReport ignored;
                LoadWalk inner{ignored, true, options.tolerate_unreadable_books, {}};
                dir->set(parts.back(), load_folder(present(from) ? from : path, s.path, false, inner));
            }
            break;
        case JournalStep::Delete:
            if (auto dir = walk(result.tree, parts, 1, false); dir && dir->get_book(book_stem(parts.back())))
                dir->remove(book_stem(parts.back()));
            break;
        case JournalStep::RemoveFolder:
            if (auto dir = walk(result.tree, parts, 1, false); dir && dir->get_directory(parts.back()))
                dir->remove(parts.back());
            break;
        }
    }
    sort_report(result.report);
    result.report.pending = why;
    result.tree->forget_home();
    result.tree->mark_clean(next_stamp());
    return result;
}

void ParameterDirectory::forget_home()
{
    home_.clear();
    image_.reset();
    for (const auto& [name, child] : children_)
        if (auto directory = std::dynamic_pointer_cast<ParameterDirectory>(child)) directory->forget_home();
}

std::shared_ptr<ParameterDirectory> ParameterDirectory::load_folder(const fs::path& folder, const std::string& rel,
                                                                    bool clean, LoadWalk& walk)
{
    std::error_code ec;
    const fs::path real = fs::canonical(folder, ec);
    if (ec) fs_error("load parameter directory", folder, ec);
    if (has_name(walk.open_folders, real))
        throw ParaTreeError("Cannot load parameter directory `" + to_text(folder) +
                            "`: it is a symbolic link back to `" + to_text(real) +
                            "`, which holds it (the tree would never end).");

    std::vector<std::string> dirs, books, linked;
    for (const auto& [name, entry] : list_folder(folder, clean)) {
        const bool book_like = ends_with_book_suffix(name) || name == book_suffix();
        if (entry.kind == Entry::Other) {
            // A dangling link is no tree content unless it claims to be a book.
            if (entry.link && book_like && is_tree_entry(name)) {
                if (walk.tolerate_unreadable && ends_with_book_suffix(name)) {
                    books.push_back(name.substr(0, name.size() - book_suffix().size()));
                    continue;
                }
                std::error_code missing(ENOENT, std::generic_category());
                fs_error("load", folder / to_path(name), missing);
            }
            continue;
        }
        const std::string stem = entry.kind == Entry::File && book_like
                                     ? name.substr(0, name.size() - book_suffix().size())
                                     : name;
        if (entry.kind == Entry::Folder && !book_like && is_valid_entry_name(name, StoredAs::Folder)) {
            dirs.push_back(name);
            if (entry.link) linked.push_back(name);
        } else if (entry.kind == Entry::File && book_like && is_valid_entry_name(stem, StoredAs::BookFile)) {
            books.push_back(stem);
        } else if (entry.kind == Entry::Folder || book_like) {
            // Looks like tree content, but no tree could have written it.
            walk.report.skipped.push_back(join(rel, name) + (entry.kind == Entry::Folder ? "/" : ""));
        }
    }
    // The listing is sorted already (by bytes); a link to nothing may join late.
    std::sort(books.begin(), books.end());
    // Mid-way through a save a book may wait to give way to a folder (or the
    // other way round): read tolerantly, the folder wins, the journal decides.
    if (walk.mid_save)
        books.erase(std::remove_if(books.begin(), books.end(),
                                   [&](const std::string& b) { return std::binary_search(dirs.begin(), dirs.end(), b); }),
                    books.end());
    for (const auto& name : dirs)
        if (std::binary_search(books.begin(), books.end(), name))
            throw ParaTreeError("Cannot load parameter directory `" + to_text(folder) + "`: it holds both a folder `" +
                                name + "` and a book file `" + name + book_suffix() +
                                "` of the same name; rename or remove one of them.");

    auto directory = std::make_shared<ParameterDirectory>();
    auto image = std::make_unique<DiskImage>();
    directory->children_.reserve(dirs.size() + books.size());
    walk.open_folders.push_back(real);
    for (const auto& name : dirs) {
        auto child = load_folder(folder / to_path(name), join(rel, name),
                                 clean && !has_name(linked, name),  // a linked folder is another tree's to clean
                                 walk);
        DiskImage sub = *child->image_;
        sub.name = name;
        image->dirs.push_back(std::move(sub));
        directory->children_.emplace_back(name, std::move(child));
    }
    walk.open_folders.pop_back();
    for (const auto& name : books) load_book(folder, rel, name, *directory, *image, walk);
    directory->home_ = folder;
    directory->image_ = std::move(image);
    return directory;
}

}  // namespace ovk_paratree

namespace ovk_paratree {

// Reads the book `name` of `folder` into `directory`; an unreadable one is
// reported and kept out when the load tolerates that.
void ParameterDirectory::load_book(const fs::path& folder, const std::string& rel, const std::string& name,
                                   ParameterDirectory& directory, DiskImage& image, LoadWalk& walk)
{
    const fs::path file = book_file(folder, name);
    const auto on_disk = file_io::stamp_of(file);  // before reading: a later rewrite shows
    std::shared_ptr<ParaTreeEntity> book;
    try {
        book = ParameterBook::load(file);
    } catch (const ParaTreeError& e) {
        if (!walk.tolerate_unreadable) throw;
        const auto [line, column] = parser_position(e.what());
        walk.report.unreadable.push_back({join(rel, name + book_suffix()), e.what(), line, column});
        image.unreadable.push_back({name, on_disk});
        return;
    }
    image.books.push_back({name, on_disk.value_or(file_io::FileStamp{}), book, next_stamp()});
    directory.children_.emplace_back(name, std::move(book));
}

}  // namespace ovk_paratree
