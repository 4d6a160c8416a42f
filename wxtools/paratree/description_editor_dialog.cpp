#include "wxtools/paratree/description_editor_dialog.h"

#include "wxtools/app/mb.h"
#include "wxtools/text.h"

#include <exception>

namespace ovk_wxtools {

DescriptionEditorDialog::DescriptionEditorDialog(wxWindow* parent, std::shared_ptr<ovk_paratree::Parameter> parameter)
    : ovk_paratreeui::DescriptionEditorDialog(parent)
{
    ui_descriptions->SetSelectionMode(wxGrid::wxGridSelectRows);
    for (const auto& [locale, text] : parameter->all_descriptions()) {
        ui_descriptions->AppendRows(1);
        const int row = ui_descriptions->GetNumberRows() - 1;
        ui_descriptions->SetCellValue(row, 0, from_utf8(locale));
        ui_descriptions->SetCellValue(row, 1, from_utf8(text));
    }
    this->parameter = std::move(parameter);
}

void DescriptionEditorDialog::on_select_changed(wxGridRangeSelectEvent& event)
{
    // Other handlers of the grid still see the event.
    event.Skip();
    const size_t selected = ui_descriptions->GetSelectedRows().size();
    ui_delete_button->Enable(selected >= 1);
    ui_edit_button->Enable(selected == 1);
}

void DescriptionEditorDialog::on_edit(wxCommandEvent&)
{
    const wxArrayInt rows = ui_descriptions->GetSelectedRows();
    if (rows.size() > 1) {
        MB::Notice(wxS("Only one description could be edited at one time."));
        return;
    }
    if (rows.empty())
        return;
    _edit_row(rows[0]);
}

void DescriptionEditorDialog::_edit_row(int row)
{
    try {
        if (row < 0 || row >= ui_descriptions->GetNumberRows())
            return;
        const wxString locale = ui_descriptions->GetCellValue(row, 0);
        const std::string current = parameter->get_description(locale.utf8_string());
        const std::optional<wxString> text =
            MB::Input(wxS("Please input description for local `") + locale + wxS("`."), wxS("Input Dialog"),
                      from_utf8(current));
        if (!text)
            return;
        parameter->set_description(locale.utf8_string(), text->utf8_string());
        ui_descriptions->SetCellValue(row, 1, *text);
    } catch (const std::exception& error) {
        MB::Error(from_utf8(error.what()));
    }
}

}  // namespace ovk_wxtools
