#include "wxtools/paratree/parameter_tree_dialog.h"

#include "wxtools/paratree/parameter_tree_editor_panel.h"

#include <wx/sizer.h>

namespace ovk_wxtools {

ParameterTreeDialog::ParameterTreeDialog(wxWindow* parent, const wxString& path)
    : wxDialog(parent, wxID_ANY, "Parameter Tree Editor", wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    // The panel lives on as the dialog's child; the dialog keeps no pointer to it.
    auto* panel = new ParameterTreeEditorPanel(this, path);
    sizer->Add(panel, 1, wxEXPAND | wxALL, 5);
    SetSizer(sizer);
    Layout();
    sizer->Fit(this);
    Centre(wxBOTH);
}

}  // namespace ovk_wxtools
