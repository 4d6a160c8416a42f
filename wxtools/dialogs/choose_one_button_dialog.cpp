#include "wxtools/dialogs/choose_one_button_dialog.h"

#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>

namespace ovk_wxtools {

ChooseOneButtonDialog::ChooseOneButtonDialog(wxWindow* parent, const wxString& title, const wxString& question,
                                             const std::vector<wxString>& choices, int default_index)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize)
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(new wxStaticText(this, wxID_ANY, question), 1, wxEXPAND | wxALL, 5);
    outer->Add(new wxStaticLine(this), 0, wxEXPAND | wxALL, 5);

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    for (std::size_t i = 0; i < choices.size(); ++i) {
        auto* button = new wxButton(this, wxID_ANY, choices[i]);
        if (static_cast<int>(i) == default_index)
            button->SetDefault();
        button->Bind(wxEVT_BUTTON, &ChooseOneButtonDialog::OnChoose, this);
        row->Add(button, 0, wxALL, 5);
        buttons.push_back(button);
    }
    outer->Add(row);

    SetSizer(outer);
    Layout();
    outer->Fit(this);
    selected_index = -1;
    selected_string.clear();
}

void ChooseOneButtonDialog::OnChoose(wxCommandEvent& event)
{
    // Buttons are told apart by identity, so equal labels still give their own index.
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] != event.GetEventObject())
            continue;
        selected_index = static_cast<int>(i);
        selected_string = buttons[i]->GetLabel();
        SetReturnCode(wxID_OK);
        EndDialog(wxID_OK);
        return;
    }
}

}  // namespace ovk_wxtools
