#include "wxtools/paratree/parameter_editor_dialog.h"

#include "platform/paratree/invalid_name_characters.h"
#include "wxtools/app/mb.h"
#include "wxtools/app/show_errors.h"
#include "wxtools/paratree/description_editor_dialog.h"
#include "wxtools/paratree/detail/grid_keys.h"
#include "wxtools/paratree/name_rule.h"
#include "wxtools/paratree/parameter_scalar_attribute_editor_dialog.h"
#include "wxtools/paratree/value_display_text.h"
#include "wxtools/text.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

namespace ovk_wxtools {

ParameterEditorDialog::ParameterEditorDialog(wxWindow* parent, const wxString& name,
                                             std::shared_ptr<ovk_paratree::Parameter> parameter)
    : ovk_paratreeui::ParameterEditorDialog(parent)
{
    ui_attributes->SetSelectionMode(wxGrid::wxGridSelectRows);
    parameter_ = parameter ? std::move(parameter) : std::make_shared<ovk_paratree::Parameter>();
    ui_name->SetValue(name);
    ui_description->SetValue(from_utf8(parameter_->description()));
    for (const auto& [attribute, value] : parameter_->items()) {
        ui_attributes->AppendRows(1);
        const int row = ui_attributes->GetNumberRows() - 1;
        ui_attributes->SetCellValue(row, 0, from_utf8(attribute));
        ui_attributes->SetCellValue(row, 1, value_display_text(value));
    }
}

void ParameterEditorDialog::on_select_attribute(wxGridRangeSelectEvent& event)
{
    event.Skip();
    update_row_buttons();
}

void ParameterEditorDialog::set_read_only()
{
    read_only_ = true;
    SetTitle(wxS("View Parameter"));
    ui_add_button->Disable();
    ui_descriptions_button->Disable();
    update_row_buttons();
}

void ParameterEditorDialog::use_keyboard()
{
    // The attributes are what the dialog is opened for (applied once it is shown).
    ui_attributes->SetFocus();
    detail::use_grid_keys(*ui_attributes, {[this] {
                                               if (!read_only_)
                                                   show_errors([this] { edit(); });
                                           },
                                           [this] {
                                               if (!read_only_)
                                                   show_errors([this] { delete_selected(); });
                                           },
                                           [this] {
                                               if (!read_only_)
                                                   toggle_selected();
                                           }});
}

void ParameterEditorDialog::toggle_selected()
{
    const wxArrayInt rows = ui_attributes->GetSelectedRows();
    if (rows.size() != 1)
        return;
    const std::string key = ui_attributes->GetCellValue(rows[0], 0).utf8_string();
    const nlohmann::ordered_json value = parameter_->get(key);
    if (!value.is_boolean())
        return;
    parameter_->set(key, !value.get<bool>());
    ui_attributes->SetCellValue(rows[0], 1, value_display_text(parameter_->get(key)));
}

void ParameterEditorDialog::update_row_buttons()
{
    const bool any = !read_only_ && !ui_attributes->GetSelectedRows().empty();
    ui_edit_button->Enable(any);
    ui_rename_button->Enable(any);
    ui_delete_button->Enable(any);
}

void ParameterEditorDialog::on_add(wxCommandEvent&)
{
    show_errors([this] { add(); });
}

void ParameterEditorDialog::on_edit(wxCommandEvent&)
{
    show_errors([this] { edit(); });
}

void ParameterEditorDialog::on_delete(wxCommandEvent&)
{
    show_errors([this] { delete_selected(); });
}

void ParameterEditorDialog::on_edit_descriptions(wxCommandEvent&)
{
    show_errors([this] {
        {
            DescriptionEditorDialog editor(this, parameter_);
            editor.ShowModal();
        }
        ui_description->SetValue(from_utf8(parameter_->description()));
    });
}

void ParameterEditorDialog::add()
{
    const std::optional<wxString> name = MB::Input(wxS("Please input your preferred attribute name."));
    if (!name)
        return;
    if (name->empty()) {
        MB::Error(wxS("Attribute name could not be empty."));
        return;
    }
    if (!is_valid_name(*name)) {
        MB::Error(wxS("Attribute name `") + *name + wxS("` is invalid. It may be has invalid characters: `") +
                  from_utf8(ovk_paratree::InvalidNameCharacters.to_string()) + wxS("`."));
        return;
    }
    const std::string key = name->utf8_string();
    if (parameter_->contains(key)) {
        MB::Error(wxS("Attribute name `") + *name + wxS("` already exists.\nPlease choose another one."));
        return;
    }
    ParameterScalarAttributeEditorDialog editor(this, *name);
    if (json_editor_)
        editor.use_json_editor();
    if (editor.ShowModal() != wxID_OK || !editor.value)
        return;
    parameter_->set(key, *editor.value);
    ui_attributes->AppendRows(1);
    const int row = ui_attributes->GetNumberRows() - 1;
    ui_attributes->SetCellValue(row, 0, *name);
    ui_attributes->SetCellValue(row, 1, value_display_text(*editor.value));
}

void ParameterEditorDialog::edit()
{
    const wxArrayInt rows = ui_attributes->GetSelectedRows();
    if (rows.size() > 1) {
        MB::Notice(wxS("Only one attribute could be edited one time."));
        return;
    }
    if (rows.empty())
        return;
    const int row = rows[0];
    const wxString name = ui_attributes->GetCellValue(row, 0);
    const std::string key = name.utf8_string();
    ParameterScalarAttributeEditorDialog editor(this, name, parameter_->get(key));
    if (json_editor_)
        editor.use_json_editor();
    if (editor.ShowModal() != wxID_OK || !editor.value)
        return;
    parameter_->set(key, *editor.value);
    ui_attributes->SetCellValue(row, 1, value_display_text(*editor.value));
}

void ParameterEditorDialog::delete_selected()
{
    const wxArrayInt selected = ui_attributes->GetSelectedRows();
    if (selected.empty()) {
        MB::Notice(wxS("Please select the items you want to delete..."));
        return;
    }
    // Highest row first, so the rows still to go keep their numbers.
    std::vector<int> rows(selected.begin(), selected.end());
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

    const bool several = rows.size() > 1;
    const wxString question = wxString(wxS("Do you really want to delete ")) + (several ? wxS("these") : wxS("this")) +
                              wxS(" ") + wxString::FromAscii(std::to_string(rows.size()).c_str()) + wxS(" ") +
                              (several ? wxS("items") : wxS("item")) + wxS("?");
    if (MB::Confirm(question) != wxYES)
        return;
    for (const int row : rows) {
        const wxString name = ui_attributes->GetCellValue(row, 0);
        parameter_->remove(name.utf8_string());
        ui_attributes->DeleteRows(row, 1);
    }
    update_row_buttons();
}

}  // namespace ovk_wxtools
