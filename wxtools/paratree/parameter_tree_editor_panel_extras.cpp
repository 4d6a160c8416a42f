// What ParameterTreeEditorPanel offers beyond its plain form, each piece
// switched on by a field of ParameterTreeEditorPanel::Options: the value
// column, the unsaved-changes guard, the on-disk check before saving,
// renaming and viewing, the search box and the keys.
#include "wxtools/paratree/parameter_tree_editor_panel.h"

#include "platform/paratree/invalid_name_characters.h"
#include "wxtools/app/mb.h"
#include "wxtools/app/show_errors.h"
#include "wxtools/paratree/detail/name_checks.h"
#include "wxtools/paratree/name_rule.h"
#include "wxtools/paratree/parameter_editor_dialog.h"
#include "wxtools/text.h"

#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <optional>
#include <string>

namespace ovk_wxtools {

using ovk_paratree::Parameter;
using ovk_paratree::ParameterBook;
using ovk_paratree::ParameterDirectory;
using ovk_paratree::ParaTreeEntity;

namespace {

constexpr int kValueColumnWidth = 160;
const wxString kTitleMarker = wxS("* ");

wxString utf8(const std::string& text)
{
    return wxString::FromUTF8(text.data(), text.size());
}

bool contains_folded(const wxString& text, const wxString& folded_needle)
{
    return text.Lower().find(folded_needle) != wxString::npos;
}

void count_tree(const ParameterDirectory& directory, ParameterTreeEditorPanel::Counts& counts)
{
    for (const auto& [name, child] : directory.items()) {
        if (auto sub = std::dynamic_pointer_cast<ParameterDirectory>(child)) {
            ++counts.directories;
            count_tree(*sub, counts);
        } else if (auto book = std::dynamic_pointer_cast<ParameterBook>(child)) {
            ++counts.books;
            counts.parameters += book->size();
        }
    }
}

void collect_locales(const ParameterDirectory& directory, std::vector<std::string>& locales)
{
    for (const auto& [name, child] : directory.items()) {
        if (auto sub = std::dynamic_pointer_cast<ParameterDirectory>(child)) {
            collect_locales(*sub, locales);
        } else if (auto book = std::dynamic_pointer_cast<ParameterBook>(child)) {
            for (const auto& [key, parameter] : book->items())
                for (const auto& [locale, text] : parameter->all_descriptions())
                    if (std::find(locales.begin(), locales.end(), locale) == locales.end())
                        locales.push_back(locale);
        }
    }
}

}  // namespace

void ParameterTreeEditorPanel::add_extras()
{
    if (options_.value_column) {
        ui_book->AppendCols(1);
        ui_book->SetColLabelValue(_ValueColumn, wxS("Value"));
        // The description gives up the room; the layout stretches it again.
        ui_book->SetColSize(1, std::max(60, ui_book->GetColSize(1) - kValueColumnWidth));
        ui_book->SetColSize(_ValueColumn, kValueColumnWidth);
    }
    if (options_.find) {
        ui_find_ = new wxSearchCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                    wxTE_PROCESS_ENTER);
        ui_find_->SetDescriptiveText(wxS("Find in names and descriptions"));
        ui_find_->ShowCancelButton(true);
        ui_find_count_ = new wxStaticText(this, wxID_ANY, wxEmptyString);
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(ui_find_, 1, wxALIGN_CENTER_VERTICAL | wxALL, 5);
        row->Add(ui_find_count_, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
        // Above the tree, inside its pane.
        if (wxSizer* tree_pane = ui_tree->GetContainingSizer())
            tree_pane->Insert(0, row, 0, wxEXPAND, 0);
        ui_find_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { find(ui_find_->GetValue()); });
        ui_find_->Bind(wxEVT_SEARCH, [this](wxCommandEvent&) { find_next(); });
        ui_find_->Bind(wxEVT_SEARCH_CANCEL, [this](wxCommandEvent&) { find(wxString()); });
        Layout();
    }
    if (options_.rename) {
        ui_rename_parameter_button->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
            show_errors([this] { rename_parameter(); });
            after_edit();
        });
        ui_view_parameter_button->Bind(wxEVT_BUTTON,
                                       [this](wxCommandEvent&) { show_errors([this] { view_parameter(); }); });
        ui_tree->Bind(wxEVT_TREE_KEY_DOWN, &ParameterTreeEditorPanel::on_tree_key, this);
    }
    if (options_.keyboard) {
        Bind(wxEVT_CHAR_HOOK, &ParameterTreeEditorPanel::on_char_hook, this);
        ui_book->Bind(wxEVT_GRID_CELL_LEFT_DCLICK, &ParameterTreeEditorPanel::on_book_double_click, this);
        ui_book->Bind(wxEVT_KEY_DOWN, &ParameterTreeEditorPanel::on_book_key, this);
    }
}

// ---- unsaved changes ----

bool ParameterTreeEditorPanel::modified() const
{
    return root && root->modified();
}

bool ParameterTreeEditorPanel::confirm_discard_changes(const wxString& doing)
{
    if (!options_.unsaved_guard || !modified())
        return true;
    wxMessageDialog question(this,
                             wxS("The parameter tree has unsaved changes. Save them before ") + doing + wxS("?"),
                             wxS("Unsaved changes"), wxYES_NO | wxCANCEL | wxICON_QUESTION);
    question.SetYesNoCancelLabels(wxS("Save"), wxS("Discard"), wxS("Cancel"));
    switch (question.ShowModal()) {
    case wxID_YES: {
        bool saved = false;
        show_errors([&] { saved = save(); });
        return saved;
    }
    case wxID_NO:
        return true;
    default:
        return false;
    }
}

void ParameterTreeEditorPanel::after_edit()
{
    if (options_.unsaved_guard) {
        const bool now = modified();
        if (ui_tree->GetRootItem().IsOk())
            mark_modified_items(ui_tree->GetRootItem());
        if (now != last_modified_) {
            last_modified_ = now;
            set_title_marker(now);
            wxCommandEvent changed(EVT_PARAMETER_TREE_MODIFIED, GetId());
            changed.SetEventObject(this);
            changed.SetInt(now ? 1 : 0);
            ProcessWindowEvent(changed);
        }
    }
    // Matches name tree items, which a command may have deleted or renamed.
    if (!find_text_.empty())
        find(find_text_);
}

void ParameterTreeEditorPanel::mark_modified_items(const wxTreeItemId& item)
{
    const std::shared_ptr<ParaTreeEntity> object = item_object(item);
    ui_tree->SetItemBold(item, object && object->modified());
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = ui_tree->GetFirstChild(item, cookie); child.IsOk();
         child = ui_tree->GetNextChild(item, cookie))
        mark_modified_items(child);
}

void ParameterTreeEditorPanel::set_title_marker(bool modified)
{
    auto* top = dynamic_cast<wxTopLevelWindow*>(wxGetTopLevelParent(this));
    if (!top)
        return;
    wxString title = top->GetTitle();
    if (title.StartsWith(kTitleMarker))
        title = title.Mid(kTitleMarker.length());
    top->SetTitle(modified ? kTitleMarker + title : title);
}

bool ParameterTreeEditorPanel::confirm_overwrite_changed_on_disk(bool& overwrite)
{
    overwrite = false;
    if (!options_.check_disk_before_save || !root)
        return true;
    const std::vector<std::string> changed = root->changed_on_disk();
    if (changed.empty())
        return true;
    wxString list;
    for (const std::string& path : changed)
        list += wxS("\n    ") + utf8(path);
    overwrite = MB::Confirm(wxS("These books or directories were changed on disk by someone else since the tree "
                                "was loaded or last saved:") +
                            list + wxS("\n\nSaving overwrites those changes. Save anyway?")) == wxYES;
    return overwrite;
}

// ---- counts and search ----

ParameterTreeEditorPanel::Counts ParameterTreeEditorPanel::counts() const
{
    Counts counts;
    if (root)
        count_tree(*root, counts);
    return counts;
}

void ParameterTreeEditorPanel::find(const wxString& text)
{
    find_text_ = text;
    if (ui_find_ && ui_find_->GetValue() != text)
        ui_find_->ChangeValue(text);
    matches_.clear();
    next_match_ = 0;
    const wxString needle = text.Lower();
    const std::function<void(const wxTreeItemId&)> walk = [&](const wxTreeItemId& at) {
        wxTreeItemIdValue cookie;
        for (wxTreeItemId item = ui_tree->GetFirstChild(at, cookie); item.IsOk();
             item = ui_tree->GetNextChild(at, cookie)) {
            if (contains_folded(ui_tree->GetItemText(item), needle))
                matches_.push_back({item, wxString()});
            const std::shared_ptr<ParaTreeEntity> object = item_object(item);
            if (auto book = std::dynamic_pointer_cast<ParameterBook>(object)) {
                for (const auto& [name, parameter] : book->items()) {
                    bool hit = contains_folded(utf8(name), needle);
                    for (const auto& [locale, description] : parameter->all_descriptions())
                        hit = hit || contains_folded(utf8(description), needle);
                    if (hit)
                        matches_.push_back({item, utf8(name)});
                }
            } else {
                walk(item);
            }
        }
    };
    if (!needle.empty() && ui_tree->GetRootItem().IsOk())
        walk(ui_tree->GetRootItem());
    if (ui_find_count_) {
        ui_find_count_->SetLabel(needle.empty() ? wxString()
                                                : wxString::Format(wxS("%zu matches"), matches_.size()));
        Layout();
    }
    wxCommandEvent found(EVT_PARAMETER_TREE_FOUND, GetId());
    found.SetEventObject(this);
    found.SetInt(static_cast<int>(matches_.size()));
    ProcessWindowEvent(found);
}

bool ParameterTreeEditorPanel::find_next()
{
    if (matches_.empty())
        return false;
    const FindMatch match = matches_[next_match_ % matches_.size()];
    next_match_ = (next_match_ + 1) % matches_.size();
    ui_tree->EnsureVisible(match.item);
    if (ui_tree->GetSelection() != match.item)
        ui_tree->SelectItem(match.item);
    if (match.parameter.empty())
        return true;
    for (int row = 0; row < ui_book->GetNumberRows(); ++row) {
        if (ui_book->GetCellValue(row, 0) == match.parameter) {
            ui_book->ClearSelection();
            ui_book->SelectRow(row);
            ui_book->MakeCellVisible(row, 0);
            break;
        }
    }
    return true;
}

// ---- renaming and viewing ----

void ParameterTreeEditorPanel::rename_tree_item()
{
    const wxTreeItemId item = ui_tree->GetSelection();
    if (!item.IsOk() || item == ui_tree->GetRootItem()) {
        MB::Notice(wxS("Please select the directory or book you want to rename."));
        return;
    }
    const std::shared_ptr<ParaTreeEntity> object = item_object(item);
    const auto parent = std::dynamic_pointer_cast<ParameterDirectory>(item_object(ui_tree->GetItemParent(item)));
    if (!object || !parent)
        return;
    const bool directory_kind = std::dynamic_pointer_cast<ParameterDirectory>(object) != nullptr;
    const wxString word = directory_kind ? wxS("Directory") : wxS("Book");
    const wxString old_name = ui_tree->GetItemText(item);
    const std::optional<wxString> input =
        MB::Input(directory_kind ? wxS("Please input the new directory name.") : wxS("Please input the new book name."),
                  wxS("Rename"), old_name);
    if (!input)
        return;
    // The same rules as adding: these names become folder and file names.
    const wxString name = strip_whitespace(*input);
    if (name.empty()) {
        MB::Error(word + wxS(" name could not be empty."));
        return;
    }
    if (name == old_name)
        return;
    if (!check_new_name(word, name, parent->contains(name.utf8_string()), wxS("\n")))
        return;
    // Stored under the new name first: when the model refuses it, the old
    // entry is still there. The next save removes the old file or folder.
    parent->set(name.utf8_string(), object);
    parent->remove(old_name.utf8_string());
    ui_tree->SetItemText(item, name);
}

void ParameterTreeEditorPanel::rename_parameter()
{
    const wxArrayInt rows = ui_book->GetSelectedRows();
    if (rows.size() != 1) {
        MB::Notice(wxS("Please select the one parameter you want to rename."));
        return;
    }
    const std::shared_ptr<ParameterBook> book = selected_book();
    if (!book)
        return;
    const wxString old_name = ui_book->GetCellValue(rows[0], 0);
    const std::shared_ptr<Parameter> parameter = book->get(old_name.utf8_string());
    if (!parameter)
        return;
    const std::optional<wxString> name =
        MB::Input(wxS("Please input the new parameter name."), wxS("Rename"), old_name);
    if (!name || name->empty() || *name == old_name)
        return;
    const std::string key = name->utf8_string();
    if (!check_new_name(wxS("Parameter"), *name, book->contains(key), wxS(" ")))
        return;
    book->set(key, parameter);
    book->remove(old_name.utf8_string());
    ui_book->SetCellValue(rows[0], 0, *name);
}

void ParameterTreeEditorPanel::view_parameter()
{
    const wxArrayInt rows = ui_book->GetSelectedRows();
    const std::shared_ptr<ParameterBook> book = selected_book();
    if (rows.size() != 1 || !book) {
        MB::Notice(wxS("Please select the one parameter you want to view."));
        return;
    }
    const wxString key = ui_book->GetCellValue(rows[0], 0);
    const std::shared_ptr<Parameter> parameter = book->get(key.utf8_string());
    if (!parameter)
        return;
    ParameterEditorDialog viewer(this, key, parameter);
    viewer.set_read_only();
    viewer.ShowModal();
}

// ---- keys and mouse ----

void ParameterTreeEditorPanel::on_char_hook(wxKeyEvent& event)
{
    if (event.GetModifiers() == wxMOD_CONTROL && (event.GetKeyCode() == 'S' || event.GetKeyCode() == 's')) {
        show_errors([this] { save(); });
        return;
    }
    event.Skip();
}

void ParameterTreeEditorPanel::on_tree_key(wxTreeEvent& event)
{
    if (event.GetKeyCode() == WXK_F2) {
        show_errors([this] { rename_tree_item(); });
        after_edit();
        return;
    }
    event.Skip();
}

void ParameterTreeEditorPanel::on_book_key(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_DELETE && event.GetModifiers() == wxMOD_NONE) {
        wxCommandEvent unused;
        on_delete_parameter(unused);
        return;
    }
    event.Skip();
}

void ParameterTreeEditorPanel::on_book_double_click(wxGridEvent& event)
{
    if (event.GetRow() < 0) {
        event.Skip();
        return;
    }
    ui_book->ClearSelection();
    ui_book->SelectRow(event.GetRow());
    wxCommandEvent unused;
    on_edit_parameter(unused);
}

void ParameterTreeEditorPanel::expand_first_level()
{
    if (options_.keyboard && ui_tree->GetRootItem().IsOk())
        ui_tree->Expand(ui_tree->GetRootItem());
}

// ---- description locale ----

void ParameterTreeEditorPanel::set_description_locale(const std::string& locale)
{
    Parameter::set_current_locale(locale);
    options_.description_locale = locale;
    // Row selection and buttons follow the rebuilt grid.
    wxTreeEvent refresh;
    on_tree_sel_changed(refresh);
}

std::vector<std::string> ParameterTreeEditorPanel::description_locales() const
{
    std::vector<std::string> locales;
    if (root)
        collect_locales(*root, locales);
    return locales;
}

}  // namespace ovk_wxtools
