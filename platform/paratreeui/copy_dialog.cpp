#include "platform/paratreeui/copy_dialog.h"

#include <wx/sizer.h>

namespace ovk_paratreeui {

CopyDialog::CopyDialog(wxWindow* parent, wxWindowID id, const wxString& title, const wxPoint& pos,
                       const wxSize& size, long style)
    : wxDialog(parent, id, title, pos, size, style)
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    auto* outer = new wxBoxSizer(wxVERTICAL);

    auto* fields = new wxFlexGridSizer(0, 3, 0, 0);
    fields->AddGrowableCol(1);
    fields->SetFlexibleDirection(wxBOTH);
    auto label = [&](const wxString& text) {
        auto* l = new wxStaticText(this, wxID_ANY, text);
        fields->Add(l, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
        return l;
    };
    auto field = [&](long field_style, const wxString& tip) {
        auto* t = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(360, -1), field_style);
        t->SetToolTip(tip);
        fields->Add(t, 1, wxALIGN_CENTER_VERTICAL | wxEXPAND | wxALL, 5);
        return t;
    };

    m_source_label = label(wxS("Source:"));
    ui_source = field(wxTE_READONLY, wxS("Path of the copied item in its tree."));
    fields->AddSpacer(0);
    m_type_label = label(wxS("Type:"));
    ui_type = field(wxTE_READONLY, wxS("Kind of the copied item."));
    fields->AddSpacer(0);
    m_target_label = label(wxS("Target:"));
    ui_target_path = field(wxTE_READONLY, wxS("A book file for a parameter; a folder for a book or a directory."));
    ui_browse_button = new wxButton(this, wxID_ANY, wxS("Browse..."));
    fields->Add(ui_browse_button, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
    m_rename_label = label(wxS("New name:"));
    ui_rename = field(0, wxS("Name of the copy; leave empty to keep the item's own name."));
    fields->AddSpacer(0);
    fields->AddSpacer(0);
    ui_overwrite = new wxCheckBox(this, wxID_ANY, wxS("Overwrite an existing target"));
    fields->Add(ui_overwrite, 0, wxALL, 5);
    outer->Add(fields, 1, wxEXPAND | wxALL, 5);

    m_staticline1 = new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL);
    outer->Add(m_staticline1, 0, wxEXPAND | wxALL, 5);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer(1);
    ui_confirm = new wxButton(this, wxID_ANY, wxS("Copy"));
    ui_confirm->Disable();
    ui_confirm->SetDefault();  // Enter confirms once a target is chosen
    buttons->Add(ui_confirm, 0, wxALL, 5);
    ui_cancel = new wxButton(this, wxID_CANCEL, wxS("Cancel"));
    buttons->Add(ui_cancel, 0, wxALL, 5);
    outer->Add(buttons, 0, wxEXPAND | wxALL, 5);

    SetSizer(outer);
    Layout();
    outer->Fit(this);
    Centre(wxBOTH);
    ui_browse_button->SetFocus();  // the first thing to do is to choose a target

    ui_browse_button->Bind(wxEVT_BUTTON, &CopyDialog::on_browse, this);
    ui_confirm->Bind(wxEVT_BUTTON, &CopyDialog::on_confirm, this);
}

}  // namespace ovk_paratreeui
