// Looking a stored tree over without changing it.
#include "platform/paratree/parameter_directory.h"

#include <algorithm>
#include <set>

#include "platform/paratree/detail/directory_disk.h"
#include "platform/paratree/detail/tree_journal.h"
#include "platform/paratree/invalid_name_characters.h"
#include "platform/paratree/para_tree_error.h"

namespace ovk_paratree {

namespace fs = std::filesystem;
using namespace disk;
using file_io::to_path;
using file_io::to_text;

namespace {

bool is_bookkeeping(const std::string& name)
{
    return name == ".ovk~lock" || name == ".ovk~gen" || name == ".ovk~journal" || name == ".ovk:journal";
}

// Adds what is wrong in `folder` (`rel` below the tree's folder) and below.
void check_folder(const fs::path& folder, const std::string& rel, std::set<fs::path>& seen,
                  std::vector<std::string>& problems)
{
    std::error_code ec;
    const fs::path real = fs::canonical(folder, ec);
    if (ec || !seen.insert(real).second) {
        problems.push_back((rel.empty() ? std::string(".") : rel) + "/: " +
                           (ec ? "cannot be read (" + ec.message() + ")" : "a link back into the tree"));
        return;
    }
    std::vector<std::string> dirs, books;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = to_text(it->path().filename());
        const std::string path = join(rel, name);
        std::error_code sec;
        const bool is_dir = it->is_directory(sec);
        const bool book_like = ends_with_book_suffix(name) || name == book_suffix();
        if (file_io::is_protocol_name(name)) {
            if (!is_bookkeeping(name) && name != ".ovk:lock")
                problems.push_back(path + (is_dir ? "/" : "") + ": left by an interrupted save (removed by the next load or save with write access)");
            continue;
        }
        const std::string stem = book_like && !is_dir ? name.substr(0, name.size() - book_suffix().size()) : name;
        if (is_dir && !book_like && is_valid_entry_name(name, StoredAs::Folder)) {
            dirs.push_back(name);
        } else if (!is_dir && it->is_regular_file(sec) && book_like && is_valid_entry_name(stem, StoredAs::BookFile)) {
            books.push_back(stem);
            try {
                ParameterBook::load(it->path());
            } catch (const ParaTreeError& e) {
                problems.push_back(path + ": cannot be read: " + e.what());
            }
        } else if (is_dir || book_like) {
            problems.push_back(path + (is_dir ? "/" : "") + ": skipped by a load (no tree could have written this name)");
        }
    }
    if (ec) problems.push_back((rel.empty() ? std::string(".") : rel) + "/: cannot be read (" + ec.message() + ")");
    for (const auto& name : dirs) {
        if (std::find(books.begin(), books.end(), name) != books.end())
            problems.push_back(join(rel, name) + "/: a folder and a book file of the same name; the tree does not load");
        check_folder(folder / to_path(name), join(rel, name), seen, problems);
    }
}

// The journal of an interrupted save, and whether it can be completed.
void check_journal(const fs::path& root, std::vector<std::string>& problems)
{
    std::optional<std::vector<file_io::JournalStep>> steps;
    try {
        steps = file_io::read_journal(root);
    } catch (const ParaTreeError& e) {
        problems.push_back(std::string(".ovk~journal: ") + e.what());
        return;
    }
    if (!steps) return;
    std::size_t missing = 0;
    for (const auto& s : *steps) {
        if (s.kind == file_io::JournalStep::MoveFolder || s.from.empty()) continue;
        std::error_code ec;
        if (!fs::exists(root / to_path(s.from), ec) && !fs::exists(root / to_path(s.path), ec)) ++missing;
    }
    problems.push_back(".ovk~journal: a save was interrupted after its commit; " + std::to_string(steps->size()) +
                       " steps to carry out" +
                       (missing ? ", " + std::to_string(missing) + " of them with their staged content missing"
                                : " (the next load or save with write access completes them)"));
}

}  // namespace

CheckReport ParameterDirectory::check(const fs::path& folder)
{
    CheckReport report;
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw ParaTreeError("Cannot check parameter directory `" + to_text(folder) + "`: it is not a folder.");
    const fs::path root = folder_key(folder, ec);
    if (ec) fs_error("check parameter directory", folder, ec);
    if (file_io::lock_held(root)) report.problems.push_back(".ovk~lock: a save is running now");
    check_journal(root, report.problems);
    std::set<fs::path> seen;
    check_folder(root, "", seen, report.problems);
    std::sort(report.problems.begin(), report.problems.end());
    return report;
}

}  // namespace ovk_paratree
