#include "platform/paratreeui/scalar_editor_dialog.h"

#include <wx/settings.h>

namespace ovk_paratreeui {

ScalarEditorDialog::ScalarEditorDialog(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos,
                                       const wxSize& size, long style)
    : wxDialog(parent, id, title, pos, size, style)
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    auto* outer = new wxBoxSizer(wxVERTICAL);

    auto* fields = new wxFlexGridSizer(0, 2, 0, 0);
    fields->AddGrowableCol(1);
    fields->AddGrowableRow(2);
    fields->SetFlexibleDirection(wxBOTH);

    m_name_label = new wxStaticText(this, wxID_ANY, wxS("Name:"));
    fields->Add(m_name_label, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
    ui_name = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
    // Shown, never typed into: it looks as read-only as it is.
    ui_name->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    fields->Add(ui_name, 0, wxALL | wxEXPAND, 5);

    m_type_label = new wxStaticText(this, wxID_ANY, wxS("Type:"));
    fields->Add(m_type_label, 0, wxALL | wxALIGN_CENTER_VERTICAL, 5);
    const wxString types[] = {wxS("integer"), wxS("real number"), wxS("text"), wxS("boolean"), wxS("json")};
    ui_type = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, WXSIZEOF(types), types);
    ui_type->SetSelection(0);
    fields->Add(ui_type, 0, wxALL, 5);

    m_value_label = new wxStaticText(this, wxID_ANY, wxS("Value:"));
    fields->Add(m_value_label, 0, wxALL | wxALIGN_TOP, 5);
    auto* value_box = new wxBoxSizer(wxVERTICAL);
    const wxString flags[] = {wxS("True"), wxS("False")};
    ui_bool_value = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, WXSIZEOF(flags), flags);
    ui_bool_value->SetSelection(0);
    ui_bool_value->Hide();
    value_box->Add(ui_bool_value, 0, wxALL, 5);
    ui_multiline_string = new wxCheckBox(this, wxID_ANY, wxS("Several lines"));
    ui_multiline_string->Hide();
    value_box->Add(ui_multiline_string, 0, wxALL, 5);
    ui_value_single_line = new wxTextCtrl(this, wxID_ANY, wxEmptyString);
    ui_value_single_line->SetMinSize(wxSize(360, -1));
    value_box->Add(ui_value_single_line, 0, wxALL | wxEXPAND, 5);
    ui_value_multiline = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                        wxTE_MULTILINE);
    ui_value_multiline->SetMinSize(wxSize(360, 200));
    ui_value_multiline->Hide();
    value_box->Add(ui_value_multiline, 1, wxALL | wxEXPAND, 5);
    fields->Add(value_box, 1, wxEXPAND, 0);

    outer->Add(fields, 1, wxALL | wxEXPAND, 5);

    m_staticline1 = new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL);
    outer->Add(m_staticline1, 0, wxALL | wxEXPAND, 5);

    auto* buttons = new wxStdDialogButtonSizer();
    ui_ok_button = new wxButton(this, wxID_OK, wxS("OK"));
    ui_ok_button->SetDefault();
    buttons->AddButton(ui_ok_button);
    ui_cancel_button = new wxButton(this, wxID_CANCEL, wxS("Cancel"));
    buttons->AddButton(ui_cancel_button);
    buttons->Realize();
    outer->Add(buttons, 0, wxALL | wxEXPAND, 5);

    SetSizer(outer);
    Layout();
    outer->Fit(this);
    Centre(wxBOTH);
    // The value is what the dialog is opened for (applied once it is shown).
    ui_value_single_line->SetFocus();

    ui_multiline_string->Bind(wxEVT_CHECKBOX, &ScalarEditorDialog::on_multiline_state_changed, this);
    ui_type->Bind(wxEVT_CHOICE, &ScalarEditorDialog::on_type_changed, this);
    ui_ok_button->Bind(wxEVT_BUTTON, &ScalarEditorDialog::on_ok, this);
}

}  // namespace ovk_paratreeui
