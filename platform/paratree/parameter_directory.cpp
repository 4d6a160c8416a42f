#include "platform/paratree/parameter_directory.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/paratree/file_io.h"
#include "platform/paratree/invalid_name_characters.h"
#include "platform/paratree/para_tree_error.h"

namespace ovk_paratree {

namespace fs = std::filesystem;
using file_io::to_path;
using file_io::to_text;

// What the tree loaded from, or wrote to, one folder: the names of the books
// and of the sub-folders (with what it knows of those in turn). Only these are
// ever deleted from that folder.
struct ParameterDirectory::DiskImage {
    struct Book {
        std::string name;
        file_io::FileStamp stamp;  // the file as this tree left it
        bool operator==(const std::string& other) const { return name == other; }
    };
    std::string name;
    std::vector<Book> books;
    std::vector<DiskImage> dirs;
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

void remove_file_entry(const fs::path& file)
{
    std::error_code ec;
    const auto status = fs::symlink_status(file, ec);
    if (ec || !(fs::is_regular_file(status) || fs::is_symlink(status))) return;  // gone or not ours
    fs::remove(file, ec);
    if (ec) fs_error("delete", file, ec);
}

}  // namespace

// Removes what `image` says the tree put into `folder`, then the folder itself
// if that left it empty. Files the tree did not put there stay, and so does
// the folder holding them.
void ParameterDirectory::erase_tree_content(const fs::path& folder, const DiskImage& image)
{
    std::error_code ec;
    const auto status = fs::symlink_status(folder, ec);
    if (ec) return;
    if (fs::is_symlink(status)) {
        // A linked folder: drop the link, never what it points to.
        fs::remove(folder, ec);
        if (ec) fs_error("delete", folder, ec);
        return;
    }
    if (!fs::is_directory(status)) return;
    for (const auto& book : image.books) remove_file_entry(book_file(folder, book.name));
    for (const auto& sub : image.dirs) erase_tree_content(folder / to_path(sub.name), sub);
    if (fs::is_empty(folder, ec) && !ec) {
        fs::remove(folder, ec);
        if (ec) fs_error("delete", folder, ec);
    }
}

ParameterDirectory::ParameterDirectory() = default;
ParameterDirectory::~ParameterDirectory() = default;

std::string ParameterDirectory::class_name() const { return "ParameterDirectory"; }

// ---------------------------------------------------------------- loading

std::shared_ptr<ParameterDirectory> ParameterDirectory::load(const fs::path& folder)
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
    std::vector<fs::path> open_folders;
    auto tree = load_folder(root, open_folders);
    tree->mark_clean(next_stamp());
    return tree;
}

std::shared_ptr<ParameterDirectory> ParameterDirectory::load_folder(const fs::path& folder,
                                                                    std::vector<fs::path>& open_folders)
{
    std::error_code ec;
    const fs::path real = fs::canonical(folder, ec);
    if (ec) fs_error("load parameter directory", folder, ec);
    if (has_name(open_folders, real))
        throw ParaTreeError("Cannot load parameter directory `" + to_text(folder) +
                            "`: it is a symbolic link back to `" + to_text(real) +
                            "`, which holds it (the tree would never end).");

    std::vector<std::string> dirs, books;
    fs::directory_iterator it(folder, ec), end;
    if (ec) fs_error("read folder", folder, ec);
    for (; it != end; it.increment(ec)) {
        if (ec) fs_error("read folder", folder, ec);
        const std::string name = to_text(it->path().filename());
        if (!is_valid_name(name)) continue;  // not a name the tree could have written
        const auto status = it->status(ec);
        if (ec) {
            // A dangling link is no tree content unless it claims to be a book.
            if (ec.value() == ENOENT && !ends_with_book_suffix(name)) continue;
            fs_error("load", it->path(), ec);
        }
        if (fs::is_directory(status)) {
            if (!ends_with_book_suffix(name)) dirs.push_back(name);
        } else if (fs::is_regular_file(status) && ends_with_book_suffix(name)) {
            std::string book = name.substr(0, name.size() - book_suffix().size());
            if (is_valid_name(book)) books.push_back(std::move(book));
        }
    }
    std::sort(dirs.begin(), dirs.end());
    std::sort(books.begin(), books.end());
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
        auto child = load_folder(folder / to_path(name), open_folders);
        DiskImage sub = *child->image_;
        sub.name = name;
        image->dirs.push_back(std::move(sub));
        directory->children_.emplace_back(name, std::move(child));
    }
    open_folders.pop_back();
    for (const auto& name : books) {
        const fs::path file = book_file(folder, name);
        const auto stamp = file_io::stamp_of(file);  // before reading: a later rewrite shows
        directory->children_.emplace_back(name, ParameterBook::load(file));
        image->books.push_back({name, stamp.value_or(file_io::FileStamp{})});
    }
    directory->home_ = folder;
    directory->image_ = std::move(image);
    return directory;
}

// ----------------------------------------------------------------- saving

void ParameterDirectory::save(const fs::path& folder)
{
    std::error_code ec;
    const fs::path target = folder_key(folder, ec);
    if (ec) fs_error("save parameter directory to", folder, ec);
    // Every book is written before any is put in place: a failed write (a
    // full disk) replaces nothing.
    file_io::StagedFiles staged;
    stage_tree(target, staged);
    const std::uint64_t stamp = next_stamp();  // edits made from here on are not on disk
    staged.commit();
    if (home_.empty() || target == home_) {
        settle(target, image_.get());
        mark_clean(stamp);
    }
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
        if (!has_name(image.books, book)) out.push_back(prefix + book + book_suffix());
    for (const auto& dir : image.dirs) {
        if (has_name(dirs, dir.name)) diff_folder(folder / to_path(dir.name), dir, prefix + dir.name + "/", out);
        else out.push_back(prefix + dir.name + "/");
    }
    for (const auto& dir : dirs)
        if (std::none_of(image.dirs.begin(), image.dirs.end(), [&](const DiskImage& d) { return d.name == dir; }))
            out.push_back(prefix + dir + "/");
}

bool ParameterDirectory::modified() const
{
    if (clean_at_ == 0 || revision_ > clean_at_) return true;
    for (const auto& entry : children_)
        if (entry.second->modified()) return true;
    return false;
}

void ParameterDirectory::stage_tree(const fs::path& folder, file_io::StagedFiles& staged) const
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) fs_error("create folder", folder, ec);
    if (!fs::is_directory(folder, ec))
        throw ParaTreeError("Cannot save parameter directory to `" + to_text(folder) +
                            "`: it exists and is not a folder.");
    for (const auto& [name, child] : children_) {
        if (auto book = std::dynamic_pointer_cast<ParameterBook>(child))
            book->stage_to(book_file(folder, name), staged);
        else
            std::static_pointer_cast<ParameterDirectory>(child)->stage_tree(folder / to_path(name), staged);
    }
}

// After the tree was written into its own folder: deletes from there what the
// tree loaded or wrote before and no longer holds, and records what is there
// now. `known` is the previous record, or null when there is none.
void ParameterDirectory::settle(const fs::path& folder, const DiskImage* known)
{
    auto image = std::make_unique<DiskImage>();
    for (const auto& [name, child] : children_) {
        auto directory = std::dynamic_pointer_cast<ParameterDirectory>(child);
        if (!directory) {
            const auto stamp = file_io::stamp_of(book_file(folder, name));
            image->books.push_back({name, stamp.value_or(file_io::FileStamp{})});
            continue;
        }
        const fs::path path = folder / to_path(name);
        // What is on disk there is known to the child if that folder is its
        // own; otherwise (a renamed or new directory) to this directory.
        const DiskImage* sub = nullptr;
        if (directory->home_ == path) {
            sub = directory->image_.get();
        } else if (known) {
            for (const auto& d : known->dirs)
                if (d.name == name) sub = &d;
        }
        directory->settle(path, sub);
        DiskImage record = *directory->image_;
        record.name = name;
        image->dirs.push_back(std::move(record));
    }
    if (known) {
        for (const auto& book : known->books)
            if (!has_name(image->books, book.name)) remove_file_entry(book_file(folder, book.name));
        for (const auto& d : known->dirs) {
            const bool kept = std::any_of(image->dirs.begin(), image->dirs.end(),
                                          [&](const DiskImage& now) { return now.name == d.name; });
            if (!kept) erase_tree_content(folder / to_path(d.name), d);
        }
    }
    home_ = folder;
    image_ = std::move(image);  // `known` may point into the old image: it is not used after this
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
