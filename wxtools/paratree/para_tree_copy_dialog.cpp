#include "wxtools/paratree/para_tree_copy_dialog.h"

#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>

#include <exception>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "platform/paratree/invalid_name_characters.h"
#include "platform/paratree/parameter.h"
#include "platform/paratree/parameter_book.h"
#include "platform/paratree/parameter_directory.h"
#include "wxtools/paratree/name_rule.h"
#include "wxtools/app/mb.h"
#include "wxtools/app/show_errors.h"
#include "wxtools/text.h"

namespace ovk_wxtools {

namespace {

namespace fs = std::filesystem;
using ovk_paratree::ParaTreeEntity;
using ovk_paratree::Parameter;
using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;

fs::path to_path(const wxString& text)
{
    return fs::path(text.utf8_string());
}

wxString quoted(const wxString& text)
{
    return wxS("\"") + text + wxS("\"");
}

// Checked before the window exists, so a refused call leaves nothing behind.
wxWindow* checked_parent(wxWindow* parent, const std::vector<wxString>& para_path,
                         const std::shared_ptr<ParaTreeEntity>& para)
{
    if (para_path.empty())
        throw std::invalid_argument("ParaTreeCopyDialog needs the path of the copied item.");
    if (!std::dynamic_pointer_cast<Parameter>(para) && !std::dynamic_pointer_cast<ParameterBook>(para)
        && !std::dynamic_pointer_cast<ParameterDirectory>(para))
        throw std::invalid_argument("ParaTreeCopyDialog copies a Parameter, a ParameterBook or a ParameterDirectory.");
    return parent;
}

}  // namespace

ParaTreeCopyDialog::ParaTreeCopyDialog(wxWindow* parent, const std::vector<wxString>& para_path,
                                       std::shared_ptr<ParaTreeEntity> para)
    : CopyDialog(checked_parent(parent, para_path, para)), para_path(para_path), parameter(std::move(para))
{
    wxString source;
    for (std::size_t i = 0; i < this->para_path.size(); ++i)
        source += (i ? wxS(".") : wxS("")) + this->para_path[i];
    ui_source->SetValue(source);
    ui_type->SetValue(from_utf8(parameter->class_name()));
}

wxString ParaTreeCopyDialog::select_directory()
{
    wxDirDialog dialog(this);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}

wxString ParaTreeCopyDialog::select_file()
{
    const wxString ext = from_utf8(ParameterBook::ExtName);
    wxFileDialog dialog(this, wxASCII_STR(wxFileSelectorPromptStr), wxString(), wxString(),
                        wxS("Parameter File(*.") + ext + wxS(")|*.") + ext);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}

void ParaTreeCopyDialog::on_browse(wxCommandEvent&)
{
    // A parameter goes into an existing book file; books and directories into a folder.
    const wxString path = std::dynamic_pointer_cast<Parameter>(parameter) ? select_file() : select_directory();
    if (path.empty())
        return;
    ui_target_path->SetValue(path);
    ui_confirm->Enable();
}

void ParaTreeCopyDialog::on_confirm(wxCommandEvent&)
{
    wxString target_name = strip_whitespace(ui_rename->GetValue());
    if (target_name.empty())
        target_name = para_path.back();
    const wxString target_path = ui_target_path->GetValue();

    // The model says which file or folder failed and why; the dialog stays open.
    bool done = false;
    show_errors([&] { done = copy_to(target_name, target_path); });
    if (!done)
        return;

    MB::Notice(wxS("Copy parameter success."));
    if (IsModal()) {
        EndModal(wxID_OK);
    } else {
        SetReturnCode(wxID_OK);
        Hide();
    }
}

bool ParaTreeCopyDialog::copy_to(const wxString& target_name, const wxString& target_path)
{
    // A book's or directory's name becomes a file or folder name: one with a
    // path separator in it would write somewhere else than the chosen target,
    // and one too long for the file system could not be written at all.
    std::optional<ovk_paratree::StoredAs> as;
    if (std::dynamic_pointer_cast<ParameterBook>(parameter))
        as = ovk_paratree::StoredAs::BookFile;
    else if (std::dynamic_pointer_cast<ParameterDirectory>(parameter))
        as = ovk_paratree::StoredAs::Folder;
    const std::string name = target_name.utf8_string();
    if (as ? !ovk_paratree::is_valid_entry_name(name, *as) : !ovk_paratree::is_valid_name(name)) {
        MB::Error(invalid_name_message(wxS("Target"), target_name, as));
        return false;
    }
    const bool overwrite = ui_overwrite->IsChecked();

    if (auto item = std::dynamic_pointer_cast<Parameter>(parameter)) {
        const fs::path file = to_path(target_path);
        auto book = ParameterBook::load(file);
        if (book->contains(target_name.utf8_string()) && !overwrite) {
            MB::Error(wxS("Parameter named ") + quoted(target_name) + wxS(" already exists."));
            return false;
        }
        book->set(target_name.utf8_string(), item->clone());
        book->save(file);
        return true;
    }

    if (auto book = std::dynamic_pointer_cast<ParameterBook>(parameter)) {
        const wxString file_name = target_path + wxFileName::GetPathSeparator() + target_name + wxS(".")
                                   + from_utf8(ParameterBook::ExtName);
        std::error_code ec;
        if (fs::exists(fs::symlink_status(to_path(file_name), ec)) && !overwrite) {
            MB::Error(wxS("Parameter book named ") + quoted(file_name) + wxS(" already exists."));
            return false;
        }
        book->save(to_path(file_name));
        return true;
    }

    auto directory = std::dynamic_pointer_cast<ParameterDirectory>(parameter);
    const wxString directory_name = target_path + wxFileName::GetPathSeparator() + target_name;
    const fs::path folder = to_path(directory_name);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(folder, ec))) {
        if (!overwrite) {
            MB::Error(wxS("Parameter directory named ") + quoted(directory_name) + wxS(" already exists."));
            return false;
        }
        if (!fs::is_directory(folder, ec)) {
            MB::Error(wxS("Target ") + quoted(directory_name) + wxS(" already exists and is not a directory."));
            return false;
        }
    }
    // A copy only adds and replaces: saved as itself, a directory would treat
    // the target as its own folder and could delete what it no longer holds
    // there, or take the target as its folder from then on.
    directory->clone()->save(folder);
    return true;
}

}  // namespace ovk_wxtools
