#include "wxtools/dialogs/multiple_input_dialog.h"

#include "wxtools/errors.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

namespace ovk_wxtools {

MultipleInputDialog::MultipleInputDialog(wxWindow* parent, const wxString& title, NoFields)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)
{
}

MultipleInputDialog::MultipleInputDialog(wxWindow* parent, const wxString& field, const wxString& title)
    : MultipleInputDialog(parent, std::vector<wxString>{field}, title)
{
}

MultipleInputDialog::MultipleInputDialog(wxWindow* parent, const char* field, const wxString& title)
    : MultipleInputDialog(parent, std::vector<wxString>{from_utf8(field)}, title)
{
}

MultipleInputDialog::MultipleInputDialog(wxWindow* parent, const std::string& field, const wxString& title)
    : MultipleInputDialog(parent, std::vector<wxString>{from_utf8(field)}, title)
{
}

MultipleInputDialog::MultipleInputDialog(wxWindow* parent, const std::vector<wxString>& fields, const wxString& title)
    : MultipleInputDialog(parent, title, NoFields{})
{
    add_names(fields);
}

MultipleInputDialog::MultipleInputDialog(wxWindow* parent, const std::vector<std::string>& fields,
                                         const wxString& title)
    : MultipleInputDialog(parent, title, NoFields{})
{
    std::vector<wxString> names;
    for (const std::string& name : fields)
        names.push_back(from_utf8(name));
    add_names(names);
}

MultipleInputDialog::MultipleInputDialog(wxWindow* parent, std::initializer_list<Text> fields, const wxString& title)
    : MultipleInputDialog(parent, title, NoFields{})
{
    add_names(std::vector<wxString>(fields.begin(), fields.end()));
}

MultipleInputDialog::MultipleInputDialog(wxWindow* parent, FieldMap& fields, const wxString& title)
    : MultipleInputDialog(parent, title, NoFields{})
{
    for (const auto& [name, value] : fields)
        field_value_dict[name] = value;
    caller_fields = &fields;
    build();
}

void MultipleInputDialog::add_names(const std::vector<wxString>& names)
{
    for (const wxString& name : names)
        field_value_dict.emplace(name, wxString());  // keeps the first occurrence
    build();
}

void MultipleInputDialog::build()
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    auto* outer = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxFlexGridSizer(0, 2, 0, 0);
    grid->SetFlexibleDirection(wxBOTH);
    grid->SetNonFlexibleGrowMode(wxFLEX_GROWMODE_SPECIFIED);

    for (const auto& [name, value] : field_value_dict) {
        auto* label = new wxStaticText(this, wxID_ANY, name, wxDefaultPosition, wxDefaultSize, 0);
        label->Wrap(-1);
        grid->Add(label, 0, wxALL, 5);
        auto* box = new wxTextCtrl(this, wxID_ANY, value, wxDefaultPosition, wxDefaultSize, 0);
        grid->Add(box, 1, wxALL | wxEXPAND, 5);
        field_ctrls[name] = box;
    }
    outer->Add(grid, 0, wxEXPAND, 5);

    m_staticline1 = new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL);
    outer->Add(m_staticline1, 0, wxEXPAND | wxALL, 5);

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(0, 0, 1, wxEXPAND, 5);
    ui_ok_button = new wxButton(this, wxID_ANY, wxS("OK"), wxDefaultPosition, wxDefaultSize, 0);
    // As the default button it is pressed by Enter in any of the text boxes.
    ui_ok_button->SetDefault();
    row->Add(ui_ok_button, 0, wxALL, 5);
    ui_cancel_button = new wxButton(this, wxID_CANCEL, wxS("Cancel"), wxDefaultPosition, wxDefaultSize, 0);
    row->Add(ui_cancel_button, 0, wxALL, 5);
    outer->Add(row, 0, wxEXPAND, 5);

    SetSizer(outer);
    Layout();
    outer->Fit(this);
    Centre(wxBOTH);

    ui_ok_button->Bind(wxEVT_BUTTON, &MultipleInputDialog::on_ok, this);
}

wxString MultipleInputDialog::get(const wxString& field) const
{
    auto it = field_value_dict.find(field);
    if (it == field_value_dict.end())
        throw LookupError("No field named \"" + field.utf8_string() + "\".");
    return it->second;
}

void MultipleInputDialog::on_ok(wxCommandEvent&)
{
    for (auto& [name, box] : field_ctrls)
        field_value_dict[name] = box->GetValue();
    // Inside ShowModal the caller is waiting in its own call, with its mapping.
    if (caller_fields && IsModal()) {
        for (const auto& [name, value] : field_value_dict)
            (*caller_fields)[name] = value;
    }
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

}  // namespace ovk_wxtools
