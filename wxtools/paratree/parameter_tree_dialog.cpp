#include "wxtools/paratree/parameter_tree_dialog.h"

#include "wxtools/paratree/parameter_tree_editor_panel.h"

#include <wx/sizer.h>

namespace ovk_wxtools {

ParameterTreeDialog::ParameterTreeDialog(wxWindow* parent, const wxString& path)
    : wxDialog(parent, wxID_ANY, "Parameter Tree Editor", wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    // The panel first: when its tree cannot be loaded nothing else has been made yet.
    // It lives on as the dialog's child; the dialog keeps no pointer to it.
    auto* panel = new ParameterTreeEditorPanel(this, path);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(panel, 1, wxEXPAND | wxALL, 5);
    SetSizer(sizer);
    Layout();
    sizer->Fit(this);
    Centre(wxBOTH);
}

}  // namespace ovk_wxtools
