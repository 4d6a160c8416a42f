#pragma once
// Layout of the dialog that copies one item of a parameter tree to a place on
// disk: what is copied (its path and kind), where to (a chosen file or
// folder), an optional new name and whether an existing target may be
// overwritten. It only creates the controls and routes the browse and confirm
// buttons to the virtual on_… handlers; the copying lives in a derived class.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace ovk_paratreeui {

class CopyDialog : public wxDialog {
public:
    explicit CopyDialog(wxWindow* parent, wxWindowID id = wxID_ANY, const wxString& title = wxS("Copy"),
                        const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                        long style = wxDEFAULT_DIALOG_STYLE);

    // Handlers; the derived dialog overrides them. Here they let the event go on.
    virtual void on_browse(wxCommandEvent& event) { event.Skip(); }
    virtual void on_confirm(wxCommandEvent& event) { event.Skip(); }

    // What is copied: its path in the tree and its kind (both read-only).
    wxStaticText* m_source_label;
    wxTextCtrl* ui_source;
    wxStaticText* m_type_label;
    wxTextCtrl* ui_type;
    // Where to: filled by browsing (read-only, so the target is always a chosen one).
    wxStaticText* m_target_label;
    wxTextCtrl* ui_target_path;
    wxButton* ui_browse_button;
    // Optional new name of the copy; empty keeps the item's own name.
    wxStaticText* m_rename_label;
    wxTextCtrl* ui_rename;
    wxCheckBox* ui_overwrite;
    wxStaticLine* m_staticline1;
    // Disabled until a target has been chosen.
    wxButton* ui_confirm;
    wxButton* ui_cancel;
};

}  // namespace ovk_paratreeui
