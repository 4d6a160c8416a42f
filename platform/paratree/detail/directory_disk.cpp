#include "platform/paratree/detail/directory_disk.h"

#include <cerrno>

#include "platform/paratree/detail/tree_journal.h"
#include "platform/paratree/invalid_name_characters.h"
#include "platform/paratree/para_tree_error.h"

namespace ovk_paratree::disk {

namespace fs = std::filesystem;
using file_io::to_path;
using file_io::to_text;

const std::string& book_suffix()
{
    static const std::string suffix = "." + ParameterBook::ExtName;
    return suffix;
}

bool ends_with_book_suffix(const std::string& name)
{
    return name.size() > book_suffix().size() && name.ends_with(book_suffix());
}

bool is_tree_entry(const std::string& name)
{
    return is_valid_entry_name(name, StoredAs::Folder) ||
           (ends_with_book_suffix(name) &&
            is_valid_entry_name(name.substr(0, name.size() - book_suffix().size()), StoredAs::BookFile));
}

fs::path book_file(const fs::path& folder, const std::string& name) { return folder / to_path(name + book_suffix()); }

void fs_error(const std::string& action, const fs::path& path, const std::error_code& ec)
{
    std::string why = ec.message();
    if (ec.value() == ELOOP) why = "too many levels of symbolic links (a link loop)";
    throw ParaTreeError("Cannot " + action + " `" + to_text(path) + "`: " + why + ".");
}

fs::path folder_key(const fs::path& folder, std::error_code& ec)
{
    fs::path key = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    if (!key.has_filename() && key.has_relative_path()) key = key.parent_path();
    return key;
}

std::string join(const std::string& prefix, const std::string& name) { return prefix.empty() ? name : prefix + "/" + name; }

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
        out.emplace(name, Entry{kind, link});
    }
    if (leftovers && clean) file_io::remove_staging_files(folder);
    return out;
}

}  // namespace ovk_paratree::disk
