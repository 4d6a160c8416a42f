#include "wxtools/dialogs/choose_one_button_dialog.h"

namespace ovk_wxtools {

ChooseOneButtonDialog::ChooseOneButtonDialog(wxWindow* parent, const wxString& title, const wxString& question,
                                             const std::vector<wxString>& choices, int default_index)
    : QuestionDialogBase(parent, title, question)
{
    for (std::size_t i = 0; i < choices.size(); ++i) {
        wxButton* button = add_button(wxID_ANY, choices[i], static_cast<int>(i) == default_index);
        button->Bind(wxEVT_BUTTON, &ChooseOneButtonDialog::OnChoose, this);
        buttons.push_back(button);
    }
    fit_layout();
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
