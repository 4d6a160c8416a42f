#pragma once
// Layout of the dialog that edits one attribute value: the attribute's name,
// a value type, and the value as one line, several lines or a true/false choice.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace ovk_paratreeui {

class ScalarEditorDialog : public wxDialog {
public:
    explicit ScalarEditorDialog(wxWindow* parent, wxWindowID id = wxID_ANY, const wxString& title = wxS("Attribute Value"),
                                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                                long style = wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);

    // Called when the multi-line check box changes, the type changes, OK is pressed.
    // The layout's own versions let the event go on (OK then ends the dialog with wxID_OK).
    virtual void on_multiline_state_changed(wxCommandEvent& event) { event.Skip(); }
    virtual void on_type_changed(wxCommandEvent& event) { event.Skip(); }
    virtual void on_ok(wxCommandEvent& event) { event.Skip(); }

    wxStaticText* m_name_label;
    wxTextCtrl* ui_name;
    wxStaticText* m_type_label;
    // integer, real number, text, boolean, json; integer is selected at first.
    wxChoice* ui_type;
    wxStaticText* m_value_label;
    // True, False; hidden at first.
    wxChoice* ui_bool_value;
    // Hidden and unchecked at first.
    wxCheckBox* ui_multiline_string;
    wxTextCtrl* ui_value_single_line;
    // Hidden at first.
    wxTextCtrl* ui_value_multiline;
    wxStaticLine* m_staticline1;
    wxButton* ui_ok_button;
    wxButton* ui_cancel_button;
};

}  // namespace ovk_paratreeui
