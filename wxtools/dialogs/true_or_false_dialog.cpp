#include "wxtools/dialogs/true_or_false_dialog.h"

namespace ovk_wxtools {

TrueOrFalseDialog::TrueOrFalseDialog(wxWindow* parent, const wxString& title, const wxString& question,
                                     const wxString& true_label, const wxString& false_label)
    : QuestionDialogBase(parent, title, question)
{
    add_button(wxID_OK, true_label, true);
    add_button(wxID_CANCEL, false_label, false);
    fit_layout();
}

}  // namespace ovk_wxtools
