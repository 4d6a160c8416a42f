#pragma once
// Layout of the dialog that edits one parameter: its name and description
// shown, its attributes in a grid with add, edit and delete buttons, and a
// button that opens the descriptions.
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/grid.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace ovk_paratreeui {

class ParameterEditorDialog : public wxDialog {
public:
    explicit ParameterEditorDialog(wxWindow* parent, wxWindowID id = wxID_ANY, const wxString& title = wxS("Parameter"),
                                   const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                                   long style = wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);

    virtual void on_select_attribute(wxGridRangeSelectEvent& event) { event.Skip(); }
    virtual void on_add(wxCommandEvent& event) { event.Skip(); }
    virtual void on_edit(wxCommandEvent& event) { event.Skip(); }
    virtual void on_edit_descriptions(wxCommandEvent& event) { event.Skip(); }
    virtual void on_delete(wxCommandEvent& event) { event.Skip(); }

    wxStaticText* m_name_label;
    wxTextCtrl* ui_name;          // read-only
    wxStaticText* m_description_label;
    wxTextCtrl* ui_description;   // read-only
    wxButton* ui_descriptions_button;
    wxStaticText* m_attributes_label;
    // Two read-only columns: the attribute's name and its value.
    wxGrid* ui_attributes;
    wxButton* ui_add_button;
    // The next three are disabled until a row is selected.
    wxButton* ui_edit_button;
    // Kept for layouts that offer renaming; hidden here, since nothing is attached to it.
    wxButton* ui_rename_button;
    wxButton* ui_delete_button;
    wxStaticLine* m_staticline1;
    wxButton* ui_ok_button;
    wxButton* ui_cancel_button;

private:
    wxSizer* make_head();
    wxSizer* make_attribute_pane();
    wxSizer* make_buttons();
    void bind_handlers();
};

}  // namespace ovk_paratreeui
