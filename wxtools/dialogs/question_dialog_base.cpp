#include "wxtools/dialogs/question_dialog_base.h"

#include <wx/statline.h>
#include <wx/stattext.h>

namespace ovk_wxtools {

QuestionDialogBase::QuestionDialogBase(wxWindow* parent, const wxString& title, const wxString& question)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize),
      outer_(new wxBoxSizer(wxVERTICAL)),
      row_(new wxBoxSizer(wxHORIZONTAL))
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    outer_->Add(new wxStaticText(this, wxID_ANY, question), 1, wxEXPAND | wxALL, 5);
    outer_->Add(new wxStaticLine(this), 0, wxEXPAND | wxALL, 5);
    // Default sizer flags: the row keeps its natural width at the left.
    outer_->Add(row_);
}

wxButton* QuestionDialogBase::add_button(wxWindowID id, const wxString& label, bool make_default)
{
    auto* button = new wxButton(this, id, label);
    if (make_default)
        button->SetDefault();
    row_->Add(button, 0, wxALL, 5);
    return button;
}

void QuestionDialogBase::fit_layout()
{
    SetSizer(outer_);
    Layout();
    outer_->Fit(this);
}

}  // namespace ovk_wxtools
