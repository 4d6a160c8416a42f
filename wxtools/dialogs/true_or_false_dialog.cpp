#include "wxtools/dialogs/true_or_false_dialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>

namespace ovk_wxtools {

TrueOrFalseDialog::TrueOrFalseDialog(wxWindow* parent, const wxString& title, const wxString& question,
                                     const wxString& true_label, const wxString& false_label)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize)
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(new wxStaticText(this, wxID_ANY, question), 1, wxEXPAND | wxALL, 5);
    outer->Add(new wxStaticLine(this), 0, wxEXPAND | wxALL, 5);

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* yes = new wxButton(this, wxID_OK, true_label);
    yes->SetDefault();
    row->Add(yes, 0, wxALL, 5);
    row->Add(new wxButton(this, wxID_CANCEL, false_label), 0, wxALL, 5);
    // Default sizer flags: the row keeps its natural width at the left.
    outer->Add(row);

    SetSizer(outer);
    Layout();
    outer->Fit(this);
}

}  // namespace ovk_wxtools
