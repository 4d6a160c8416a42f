#pragma once
// Layout of the dialog that lists a parameter's descriptions, one row per
// locale, with a button to rewrite the selected one.
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/grid.h>
#include <wx/sizer.h>
#include <wx/statline.h>

namespace ovk_paratreeui {

class DescriptionEditorDialog : public wxDialog {
public:
    explicit DescriptionEditorDialog(wxWindow* parent, wxWindowID id = wxID_ANY,
                                     const wxString& title = wxS("Descriptions"), const wxPoint& pos = wxDefaultPosition,
                                     const wxSize& size = wxDefaultSize,
                                     long style = wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);

    // Called for the edit button and whenever the grid's selection changes.
    virtual void on_edit(wxCommandEvent& event) { event.Skip(); }
    virtual void on_select_changed(wxGridRangeSelectEvent& event) { event.Skip(); }

    // Two read-only columns: the locale and its description.
    wxGrid* ui_descriptions;
    // Disabled until a row is selected.
    wxButton* ui_edit_button;
    // Kept for layouts that offer deleting; hidden here, since nothing is attached to it.
    wxButton* ui_delete_button;
    wxStaticLine* m_staticline1;
    // Every change is kept at once, so the dialog only needs closing.
    wxButton* ui_close_button;
};

}  // namespace ovk_paratreeui
