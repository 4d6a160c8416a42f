#include "wxtools/paratree/parameter_tree_dialog.h"

#include "wxtools/paratree/parameter_tree_editor_panel.h"

#include <wx/sizer.h>

namespace ovk_wxtools {

ParameterTreeDialog::ParameterTreeDialog(wxWindow* parent, const wxString& path, ParameterTreeEditorOptions options)
    : wxDialog(parent, wxID_ANY, wxS("Parameter Tree Editor"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | (options.resizable_dialog ? wxRESIZE_BORDER : 0))
{
    SetSizeHints(wxDefaultSize, wxDefaultSize);
    const bool guard = options.unsaved_guard;
    // The panel first: when its tree cannot be loaded nothing else has been made yet.
    // It lives on as the dialog's child, which deletes it.
    panel_ = new ParameterTreeEditorPanel(this, path, nullptr, std::move(options));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(panel_, 1, wxEXPAND | wxALL, 5);
    if (guard) {
        // The title bar's close button, and Close() from the program, end up here.
        Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
            if (event.CanVeto() && !panel_->confirm_discard_changes(wxS("closing")))
                event.Veto();
            else
                event.Skip();
        });
    }
    SetSizer(sizer);
    Layout();
    sizer->Fit(this);
    Centre(wxBOTH);
}

}  // namespace ovk_wxtools
