#pragma once
// Several named one-line text values asked for in one dialog.
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/statline.h>
#include <wx/textctrl.h>

#include <nlohmann/ordered_map.hpp>

#include <vector>

namespace ovk_wxtools {

class MultipleInputDialog : public wxDialog {
public:
    // Field name → value, kept in insertion order (the order of the rows).
    using FieldMap = nlohmann::ordered_map<wxString, wxString>;

    // One field named `field`, starting empty.
    MultipleInputDialog(wxWindow* parent, const wxString& field, const wxString& title = "Input");
    MultipleInputDialog(wxWindow* parent, const char* field, const wxString& title = "Input")
        : MultipleInputDialog(parent, wxString(field), title) {}
    // One field per name, starting empty; a name given twice makes one field.
    MultipleInputDialog(wxWindow* parent, const std::vector<wxString>& fields, const wxString& title = "Input");
    // The caller's own mapping of names to defaults; it must outlive the
    // dialog. OK writes the entered texts back into it, Cancel leaves it alone.
    MultipleInputDialog(wxWindow* parent, FieldMap& fields, const wxString& title = "Input");

    // The field's value: the text entered when OK was pressed, else its
    // default. A name that is not a field throws LookupError.
    wxString get(const wxString& field) const;
    // Every field with its value, in field order.
    const FieldMap& fields() const { return field_value_dict; }

    wxStaticLine* m_staticline1;

private:
    void build();
    void on_ok(wxCommandEvent& event);

    FieldMap own_fields;
    FieldMap& field_value_dict;
    nlohmann::ordered_map<wxString, wxTextCtrl*> field_ctrls;
    wxButton* ui_ok_button;
    wxButton* ui_cancel_button;
};

}  // namespace ovk_wxtools
