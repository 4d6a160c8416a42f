#pragma once
// A yes/no question whose two button labels the caller chooses.
#include "wxtools/dialogs/question_dialog_base.h"

namespace ovk_wxtools {

// The first button (id wxID_OK, the default button) ends the modal run with
// wxID_OK, the second (id wxID_CANCEL) with wxID_CANCEL; both through the
// toolkit's own handling of those ids.
class TrueOrFalseDialog : public QuestionDialogBase {
public:
    TrueOrFalseDialog(wxWindow* parent, const wxString& title, const wxString& question,
                      const wxString& true_label = wxS("Yes"), const wxString& false_label = wxS("No"));
};

}  // namespace ovk_wxtools
