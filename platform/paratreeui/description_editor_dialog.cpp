#include "platform/paratreeui/description_editor_dialog.h"

namespace ovk_paratreeui {

DescriptionEditorDialog::DescriptionEditorDialog(wxWindow* parent, wxWindowID id, const wxString& title,
                                                 const wxPoint& pos, const wxSize& size, long style)
    : wxDialog(parent, id, title, pos, size, style)
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    auto* outer = new wxBoxSizer(wxVERTICAL);

    auto* body = new wxBoxSizer(wxHORIZONTAL);
    ui_descriptions = new wxGrid(this, wxID_ANY);
    ui_descriptions->CreateGrid(0, 2);
    ui_descriptions->EnableEditing(false);
    ui_descriptions->EnableDragRowSize(false);
    ui_descriptions->SetRowLabelSize(0);
    ui_descriptions->SetColLabelValue(0, wxS("Locale"));
    ui_descriptions->SetColLabelValue(1, wxS("Description"));
    ui_descriptions->SetColSize(0, 110);
    ui_descriptions->SetColSize(1, 340);
    ui_descriptions->SetMinSize(wxSize(470, 220));
    body->Add(ui_descriptions, 1, wxALL | wxEXPAND, 5);

    auto* side = new wxBoxSizer(wxVERTICAL);
    ui_edit_button = new wxButton(this, wxID_ANY, wxS("Edit..."));
    ui_edit_button->Disable();
    side->Add(ui_edit_button, 0, wxALL | wxEXPAND, 5);
    ui_delete_button = new wxButton(this, wxID_ANY, wxS("Delete"));
    ui_delete_button->Disable();
    ui_delete_button->Hide();
    side->Add(ui_delete_button, 0, wxALL | wxEXPAND, 5);
    body->Add(side, 0, wxEXPAND, 0);
    outer->Add(body, 1, wxEXPAND, 0);

    m_staticline1 = new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL);
    outer->Add(m_staticline1, 0, wxALL | wxEXPAND, 5);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer(1);
    ui_close_button = new wxButton(this, wxID_OK, wxS("Close"));
    ui_close_button->SetDefault();
    buttons->Add(ui_close_button, 0, wxALL, 5);
    outer->Add(buttons, 0, wxEXPAND, 5);

    SetSizer(outer);
    Layout();
    outer->Fit(this);
    Centre(wxBOTH);

    ui_edit_button->Bind(wxEVT_BUTTON, &DescriptionEditorDialog::on_edit, this);
    // The value column takes whatever width the first one leaves.
    ui_descriptions->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        const int rest = ui_descriptions->GetClientSize().GetWidth() - ui_descriptions->GetColSize(0) - 2;
        if (rest > 80)
            ui_descriptions->SetColSize(1, rest);
    });
    // A double click on a row edits it, as the edit button would.
    ui_descriptions->Bind(wxEVT_GRID_CELL_LEFT_DCLICK, &DescriptionEditorDialog::on_edit, this);
    ui_descriptions->Bind(wxEVT_GRID_RANGE_SELECTED, &DescriptionEditorDialog::on_select_changed, this);
}

}  // namespace ovk_paratreeui
