#pragma once
// The common layout of TrueOrFalseDialog and ChooseOneButtonDialog.
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>

namespace ovk_wxtools {

// A question answered with a button: the question over a line, and below it
// a row of buttons at the left, each at its natural size.
class QuestionDialogBase : public wxDialog {
protected:
    // Shows `question` over a line, with `title` in the title bar; the
    // buttons come with add_button, then fit_layout sizes the dialog.
    QuestionDialogBase(wxWindow* parent, const wxString& title, const wxString& question);

    // Adds a button to the end of the row; `make_default` makes it the default button.
    wxButton* add_button(wxWindowID id, const wxString& label, bool make_default);
    // Sizes the dialog around the question and the buttons.
    void fit_layout();

private:
    wxBoxSizer* outer_;
    wxBoxSizer* row_;
};

}  // namespace ovk_wxtools
