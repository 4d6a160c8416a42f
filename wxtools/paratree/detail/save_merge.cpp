#include "wxtools/paratree/detail/save_merge.h"

#include "platform/paratree/disk_versions.h"
#include "platform/paratree/para_tree_error.h"
#include "wxtools/paratree/value_display_text.h"
#include "wxtools/app/mb.h"
#include "wxtools/text.h"

#include <wx/msgdlg.h>

#include <map>

namespace ovk_wxtools::detail {

using ovk_paratree::DiskVersions;
using ovk_paratree::Parameter;
using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;
using ovk_paratree::ParaTreeEntity;
using UnreadableBook = ovk_paratree::LoadReport::UnreadableBook;

namespace {

// One line per attribute that differs between the two versions of a book.
wxString book_differences(const ParameterBook* mine, const ParameterBook* theirs)
{
    const auto value_in = [](const ParameterBook* book, const std::string& parameter,
                             const std::string& attribute) -> wxString {
        const auto found = book ? book->get(parameter) : nullptr;
        if (!found)
            return wxS("(no parameter)");
        return found->contains(attribute) ? value_display_text(found->get(attribute)) : wxS("(none)");
    };
    std::map<std::string, std::set<std::string>> attributes;
    for (const ParameterBook* book : {mine, theirs})
        if (book)
            for (const auto& [name, parameter] : book->items())
                for (const auto& [attribute, value] : parameter->items())
                    attributes[name].insert(attribute);
    wxString lines;
    for (const auto& [name, names] : attributes)
        for (const std::string& attribute : names) {
            const wxString here = value_in(mine, name, attribute);
            const wxString there = value_in(theirs, name, attribute);
            if (here != there)
                lines += wxS("\n    ") + from_utf8(name) + wxS(".") + from_utf8(attribute) + wxS(": here ") + here +
                         wxS(", on disk ") + there;
        }
    return lines;
}

// Puts `object` at `path` of `tree`, making the directories on the way; nullptr removes.
void put(ParameterDirectory& tree, const std::string& path, std::shared_ptr<ParaTreeEntity> object)
{
    const bool directory = path.back() == '/';
    const std::string trimmed = directory ? path.substr(0, path.size() - 1) : path;
    const std::size_t slash = trimmed.rfind('/');
    std::string name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    if (!directory)
        name = name.substr(0, name.size() - ParameterBook::ExtName.size() - 1);
    ParameterDirectory* parent = &tree;
    std::size_t begin = 0;
    while (slash != std::string::npos && begin <= slash) {
        const std::size_t next = trimmed.find('/', begin);
        const std::string part = trimmed.substr(begin, next - begin);
        auto sub = parent->get_directory(part);
        if (!sub) {
            if (!object)
                return;
            sub = std::make_shared<ParameterDirectory>();
            parent->set(part, sub);
        }
        parent = sub.get();
        begin = next + 1;
    }
    if (object)
        parent->set(name, std::move(object));
    else
        parent->remove(name);
}

// What the user answered for each path asked about.
struct Kept {
    std::set<std::string> theirs;
    std::set<std::string> mine;
};

// Carries this tree's own changes below `mine` onto `merged`, as `kept` says.
void carry_changes(const ParameterDirectory& mine, const std::string& prefix, const std::set<std::string>& base,
                   const Kept& kept, ParameterDirectory& merged)
{
    for (const auto& [name, child] : mine.items()) {
        const auto sub = std::dynamic_pointer_cast<ParameterDirectory>(child);
        const std::string path = prefix + name + (sub ? "/" : "." + ParameterBook::ExtName);
        if (kept.theirs.count(path))
            continue;
        if (kept.mine.count(path))
            put(merged, path, child);
        else if (sub && base.count(path))
            carry_changes(*sub, path, base, kept, merged);
        else if (!base.count(path) || child->modified())
            put(merged, path, child);
    }
}

}  // namespace

SaveMerge::SaveMerge(wxWindow& window, bool tolerate_unreadable)
    : window_(window), tolerate_unreadable_(tolerate_unreadable)
{
}

ovk_paratree::LoadResult SaveMerge::load_folder(const std::filesystem::path& folder) const
{
    return ParameterDirectory::load_with_options(folder, {.tolerate_unreadable_books = tolerate_unreadable_});
}

std::shared_ptr<ParameterDirectory> SaveMerge::load(const wxString& folder)
{
    auto [loaded, report] = load_folder(std::filesystem::path(folder.utf8_string()));
    unreadable_ = std::move(report.unreadable);
    // Files that look like books but were not loaded are told, not hidden.
    wxString told;
    if (!report.skipped.empty()) {
        told = wxS("These entries of ") + folder + wxS(" have names no tree could have written and were not loaded:");
        for (const std::string& path : report.skipped)
            told += wxS("\n    ") + from_utf8(path);
    }
    if (!unreadable_.empty()) {
        told += wxString(told.empty() ? wxS("") : wxS("\n\n")) + wxS("These books of ") + folder +
                wxS(" could not be read. They are marked in the tree and kept on disk as they are:");
        for (const auto& book : unreadable_)
            told += wxS("\n    ") + from_utf8(book.path) + wxS(": ") + from_utf8(book.error);
    }
    if (!told.empty())
        MB::Notice(told);
    return loaded;
}

void SaveMerge::remember(const ParameterDirectory& tree)
{
    base_ = ovk_paratree::tree_paths(tree);
}

wxString save_failed_message(const std::string& why)
{
    return wxS("Exception raised while saving parameter directory: ") + from_utf8(why);
}

SaveMerge::Outcome SaveMerge::merge(std::shared_ptr<ParameterDirectory>& tree, const std::filesystem::path& folder,
                                    std::vector<std::string>& taken)
{
    if (tree->changed_on_disk().empty())
        return Outcome::Unchanged;
    ovk_paratree::LoadResult disk;
    try {
        disk = load_folder(folder);
    } catch (const ovk_paratree::ParaTreeError& error) {
        // What someone else left there cannot be read (without the tolerant
        // load, one broken book is enough): nothing is written over it.
        MB::Error(save_failed_message(error.what()));
        return Outcome::Cancelled;
    }
    auto& [merged, report] = disk;
    const auto unreadable_at = [&report](const std::string& path) -> const UnreadableBook* {
        for (const UnreadableBook& book : report.unreadable)
            if (book.path == path)
                return &book;
        return nullptr;
    };
    Kept kept;
    for (const DiskVersions& versions : ovk_paratree::disk_versions(*tree, *merged, base_)) {
        const UnreadableBook* broken = versions.theirs ? nullptr : unreadable_at(versions.path);
        const std::string told = broken ? versions.path + " (it cannot be read: " + broken->error + ")" : versions.path;
        if (!versions.changed_here()) {
            taken.push_back(told);
            continue;
        }
        switch (ask(versions.path, versions.mine.get(), versions.theirs.get(), broken)) {
        case Answer::Cancel:
            return Outcome::Cancelled;
        case Answer::Theirs:
            kept.theirs.insert(versions.path);
            taken.push_back(told);
            break;
        case Answer::Mine:
            if (broken) {
                // The file is never written over nor deleted; mine stays here unsaved.
                MB::Notice(wxS("Nothing was saved. `") + from_utf8(versions.path) +
                           wxS("` cannot be read on disk and its file is kept as it is; your version stays here.\n"
                               "Mend or remove the file, then save again."));
                return Outcome::Cancelled;
            }
            kept.mine.insert(versions.path);
            break;
        }
    }
    carry_changes(*tree, "", base_, kept, *merged);
    // What this tree removed since the base goes, unless the user kept theirs.
    for (const std::string& path : base_)
        if (!kept.theirs.count(path) && !ovk_paratree::entry_at(*tree, path) && ovk_paratree::entry_at(*merged, path))
            put(*merged, path, nullptr);
    tree = std::move(merged);
    unreadable_ = std::move(report.unreadable);
    return Outcome::Merged;
}

SaveMerge::Answer SaveMerge::ask(const std::string& path, const ParaTreeEntity* mine, const ParaTreeEntity* theirs,
                                 const UnreadableBook* broken) const
{
    const bool directory = path.back() == '/';
    wxString message = (directory ? wxS("The directory `") : wxS("The book `")) + from_utf8(path) +
                       wxS("` was changed here and on disk by someone else.");
    if (!mine)
        message += wxS("\nHere it was deleted.");
    if (broken)
        message += wxS("\nOn disk it is still there but cannot be read: ") + from_utf8(broken->error) +
                   wxS("\nIts file is kept as it is: Keep theirs drops your changes to it; Use mine keeps them here "
                       "and saves nothing until the file is mended or removed.");
    else if (!theirs)
        message += wxS("\nOn disk it was deleted.");
    if (!directory && !broken) {
        const wxString lines =
            book_differences(dynamic_cast<const ParameterBook*>(mine), dynamic_cast<const ParameterBook*>(theirs));
        if (!lines.empty())
            message += wxS("\n") + lines;
    }
    message += wxS("\n\nKeep theirs (the version on disk) or use mine?");
    wxMessageDialog question(&window_, message, wxS("Changed on disk"), wxYES_NO | wxCANCEL | wxYES_DEFAULT |
                                                                             wxICON_QUESTION);
    question.SetYesNoCancelLabels(wxS("Keep theirs"), wxS("Use mine"), wxS("Cancel"));
    switch (question.ShowModal()) {
    case wxID_YES:
        return Answer::Theirs;
    case wxID_NO:
        return Answer::Mine;
    default:
        return Answer::Cancel;
    }
}

}  // namespace ovk_wxtools::detail
