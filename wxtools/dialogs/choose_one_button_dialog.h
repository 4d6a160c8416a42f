#pragma once
// A question answered by pressing one of several buttons, one per choice.
#include "wxtools/dialogs/question_dialog_base.h"
#include "wxtools/text.h"

#include <wx/button.h>

#include <initializer_list>
#include <vector>

namespace ovk_wxtools {

// Pressing a choice ends the modal run with wxID_OK and remembers the choice
// by position and by label; closing the window leaves -1 and the empty text.
class ChooseOneButtonDialog : public QuestionDialogBase {
public:
    // The button at `default_index` becomes the default button; an index out
    // of range makes none the default.
    ChooseOneButtonDialog(wxWindow* parent, const wxString& title, const wxString& question,
                          const std::vector<wxString>& choices, int default_index = 0);
    // A brace list of choices: {"是", "否"} (narrow texts as UTF-8).
    ChooseOneButtonDialog(wxWindow* parent, const wxString& title, const wxString& question,
                          std::initializer_list<Text> choices, int default_index = 0)
        : ChooseOneButtonDialog(parent, title, question, std::vector<wxString>(choices.begin(), choices.end()),
                                default_index)
    {
    }

    void OnChoose(wxCommandEvent& event);

    int GetSelectedIndex() const { return selected_index; }
    wxString GetSelectedString() const { return selected_string; }

private:
    std::vector<wxButton*> buttons;
    int selected_index = -1;
    wxString selected_string;
};

}  // namespace ovk_wxtools
