#include "wxtools/app/simple_input_dialog.h"

#include "wxtools/text.h"

#include <wx/sizer.h>

namespace ovk_wxtools {

SimpleInputDialog::SimpleInputDialog(wxWindow* parent, const wxString& message, const wxString& title, bool password)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    const wxFont big(20, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL, false, wxEmptyString);

    auto* outer = new wxBoxSizer(wxVERTICAL);

    m_staticText1 = new wxStaticText(this, wxID_ANY, message, wxDefaultPosition, wxDefaultSize, 0);
    m_staticText1->Wrap(-1);
    m_staticText1->SetFont(big);
    outer->Add(m_staticText1, 0, wxALL, 5);

    long style = wxTE_PROCESS_ENTER;
    if (password)
        style |= wxTE_PASSWORD;
    InputField = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(-1, -1), style);
    InputField->SetFont(big);
    InputField->SetMinSize(wxSize(400, -1));
    outer->Add(InputField, 0, wxALL | wxEXPAND, 5);

    m_staticline1 = new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL);
    outer->Add(m_staticline1, 0, wxEXPAND | wxALL, 5);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    m_button1 = new wxButton(this, wxID_OK, from_utf8("确定"), wxDefaultPosition, wxDefaultSize, 0);
    m_button1->SetDefault();
    m_button1->SetFont(big);
    buttons->Add(m_button1, 0, wxALL, 5);
    buttons->Add(0, 0, 1, wxEXPAND, 5);
    m_button2 = new wxButton(this, wxID_CANCEL, from_utf8("取消"), wxDefaultPosition, wxDefaultSize, 0);
    m_button2->SetFont(big);
    buttons->Add(m_button2, 0, wxALL, 5);
    outer->Add(buttons, 1, wxEXPAND, 5);

    SetSizer(outer);
    Layout();
    outer->Fit(this);
    Centre(wxBOTH);
}

wxString SimpleInputDialog::GetInputString(bool strip) const
{
    const wxString value = InputField->GetValue();
    return strip ? strip_whitespace(value) : value;
}

}  // namespace ovk_wxtools
