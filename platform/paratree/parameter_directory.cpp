#include "platform/paratree/parameter_directory.h"

#include <algorithm>
#include <optional>

#include "platform/paratree/detail/directory_disk.h"
#include "platform/paratree/detail/named_list.h"
#include "platform/paratree/invalid_name_characters.h"
#include "platform/paratree/para_tree_error.h"

namespace ovk_paratree {

namespace fs = std::filesystem;
using namespace disk;
using file_io::to_path;
using file_io::to_text;

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

void ParameterDirectory::set_home(const fs::path& folder)
{
    std::error_code ec;
    const fs::path key = folder_key(folder, ec);
    if (ec) fs_error("use folder", folder, ec);
    if (key == home_) return;
    auto image = std::make_unique<DiskImage>();
    if (fs::is_directory(key, ec)) {
        for (const auto& [name, entry] : list_folder(key, false)) {
            if (!is_tree_entry(name)) continue;
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
        if (!is_tree_entry(name)) continue;
        std::error_code status_ec;
        const auto status = it->status(status_ec);
        if (fs::is_directory(status) && !ends_with_book_suffix(name)) {
            dirs.push_back(name);
        } else if (fs::is_regular_file(status) && ends_with_book_suffix(name)) {
            std::string book = name.substr(0, name.size() - book_suffix().size());
            if (is_valid_entry_name(book, StoredAs::BookFile)) books.push_back(std::move(book));
        }
    }
    for (const auto& book : image.books) {
        const auto now = has_name(books, book.name) ? file_io::stamp_of(book_file(folder, book.name)) : std::nullopt;
        if (!now || *now != book.stamp) out.push_back(prefix + book.name + book_suffix());
    }
    for (const auto& book : books)
        if (!has_name(image.books, book) && !has_name(image.others, book + book_suffix()) &&
            !has_name(image.unreadable, book))
            out.push_back(prefix + book + book_suffix());
    for (const auto& book : image.unreadable)
        if (file_io::stamp_of(book_file(folder, book.name)) != book.stamp) out.push_back(prefix + book.name + book_suffix());
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

std::vector<std::string> ParameterDirectory::names() const { return detail::names_of(children_); }

bool ParameterDirectory::contains(const std::string& name) const { return get(name) != nullptr; }

std::shared_ptr<ParaTreeEntity> ParameterDirectory::get(const std::string& name) const
{
    return detail::find_named(children_, name);
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
    file_io::require_valid_entry_name(name, directory != nullptr);
    if (directory && ends_with_book_suffix(name))
        throw ParaTreeError("Directory name `" + name + "` is invalid: a folder named like a book file (`*" +
                            book_suffix() + "`) would not load back as a directory.");
    if (directory && (directory.get() == this || directory->holds(this)))
        throw ParaTreeError("Directory `" + name + "` cannot be stored inside itself.");
    detail::put_named(children_, name, std::move(child));
    revision_ = next_stamp();
}

bool ParameterDirectory::remove(const std::string& name)
{
    if (!detail::erase_named(children_, name)) return false;
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
