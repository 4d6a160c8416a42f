#include "platform/paratreeui/parameter_editor_dialog.h"

#include <wx/settings.h>

namespace ovk_paratreeui {

ParameterEditorDialog::ParameterEditorDialog(wxWindow* parent, wxWindowID id, const wxString& title,
                                             const wxPoint& pos, const wxSize& size, long style)
    : wxDialog(parent, id, title, pos, size, style)
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    auto* outer = new wxBoxSizer(wxVERTICAL);

    outer->Add(make_head(), 0, wxEXPAND, 0);
    m_attributes_label = new wxStaticText(this, wxID_ANY, wxS("Attributes:"));
    outer->Add(m_attributes_label, 0, wxLEFT | wxRIGHT | wxTOP, 5);
    outer->Add(make_attribute_pane(), 1, wxEXPAND, 0);
    m_staticline1 = new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL);
    outer->Add(m_staticline1, 0, wxALL | wxEXPAND, 5);
    outer->Add(make_buttons(), 0, wxALL | wxEXPAND, 5);

    SetSizer(outer);
    Layout();
    outer->Fit(this);
    Centre(wxBOTH);

    bind_handlers();
}

// Name and description, shown read-only, and the descriptions button.
wxSizer* ParameterEditorDialog::make_head()
{
    auto* head = new wxFlexGridSizer(0, 3, 0, 0);
    head->AddGrowableCol(1);
    head->SetFlexibleDirection(wxBOTH);
    m_name_label = new wxStaticText(this, wxID_ANY, wxS("Name:"));
    head->Add(m_name_label, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
    ui_name = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
    // Shown, never typed into: it looks as read-only as it is.
    ui_name->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    head->Add(ui_name, 0, wxALL | wxEXPAND, 5);
    head->AddSpacer(0);
    m_description_label = new wxStaticText(this, wxID_ANY, wxS("Description:"));
    head->Add(m_description_label, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
    ui_description = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
    // Shown, never typed into: it looks as read-only as it is.
    ui_description->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    head->Add(ui_description, 0, wxALL | wxEXPAND, 5);
    ui_descriptions_button = new wxButton(this, wxID_ANY, wxS("Descriptions..."));
    head->Add(ui_descriptions_button, 0, wxALL, 5);
    return head;
}

// The attribute grid and the buttons beside it.
wxSizer* ParameterEditorDialog::make_attribute_pane()
{
    auto* body = new wxBoxSizer(wxHORIZONTAL);
    ui_attributes = new wxGrid(this, wxID_ANY);
    ui_attributes->CreateGrid(0, 2);
    ui_attributes->EnableEditing(false);
    ui_attributes->EnableDragRowSize(false);
    ui_attributes->SetRowLabelSize(0);
    ui_attributes->SetColLabelValue(0, wxS("Name"));
    ui_attributes->SetColLabelValue(1, wxS("Value"));
    ui_attributes->SetColSize(0, 160);
    ui_attributes->SetColSize(1, 320);
    ui_attributes->SetMinSize(wxSize(500, 260));
    body->Add(ui_attributes, 1, wxALL | wxEXPAND, 5);

    auto* side = new wxBoxSizer(wxVERTICAL);
    ui_add_button = new wxButton(this, wxID_ANY, wxS("Add..."));
    side->Add(ui_add_button, 0, wxALL | wxEXPAND, 5);
    ui_edit_button = new wxButton(this, wxID_ANY, wxS("Edit..."));
    ui_edit_button->Disable();
    side->Add(ui_edit_button, 0, wxALL | wxEXPAND, 5);
    ui_rename_button = new wxButton(this, wxID_ANY, wxS("Rename..."));
    ui_rename_button->Disable();
    ui_rename_button->Hide();
    side->Add(ui_rename_button, 0, wxALL | wxEXPAND, 5);
    ui_delete_button = new wxButton(this, wxID_ANY, wxS("Delete"));
    ui_delete_button->Disable();
    side->Add(ui_delete_button, 0, wxALL | wxEXPAND, 5);
    body->Add(side, 0, wxEXPAND, 0);
    return body;
}

wxSizer* ParameterEditorDialog::make_buttons()
{
    auto* buttons = new wxStdDialogButtonSizer();
    ui_ok_button = new wxButton(this, wxID_OK, wxS("OK"));
    ui_ok_button->SetDefault();
    buttons->AddButton(ui_ok_button);
    ui_cancel_button = new wxButton(this, wxID_CANCEL, wxS("Cancel"));
    buttons->AddButton(ui_cancel_button);
    buttons->Realize();
    return buttons;
}

void ParameterEditorDialog::bind_handlers()
{
    // The value column takes whatever width the first one leaves.
    ui_attributes->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        const int rest = ui_attributes->GetClientSize().GetWidth() - ui_attributes->GetColSize(0) - 2;
        if (rest > 80)
            ui_attributes->SetColSize(1, rest);
    });
    // A double click on a row edits it, as the edit button would.
    ui_attributes->Bind(wxEVT_GRID_CELL_LEFT_DCLICK, &ParameterEditorDialog::on_edit, this);
    ui_attributes->Bind(wxEVT_GRID_RANGE_SELECTED, &ParameterEditorDialog::on_select_attribute, this);
    ui_add_button->Bind(wxEVT_BUTTON, &ParameterEditorDialog::on_add, this);
    ui_edit_button->Bind(wxEVT_BUTTON, &ParameterEditorDialog::on_edit, this);
    ui_descriptions_button->Bind(wxEVT_BUTTON, &ParameterEditorDialog::on_edit_descriptions, this);
    ui_delete_button->Bind(wxEVT_BUTTON, &ParameterEditorDialog::on_delete, this);
}

}  // namespace ovk_paratreeui
