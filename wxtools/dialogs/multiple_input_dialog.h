#pragma once
// Several named one-line text values asked for in one dialog.
#include "wxtools/text.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/statline.h>
#include <wx/textctrl.h>

#include <nlohmann/ordered_map.hpp>

#include <initializer_list>
#include <string>
#include <vector>

namespace ovk_wxtools {

class MultipleInputDialog : public wxDialog {
public:
    // Field name → value, kept in insertion order (the order of the rows).
    using FieldMap = nlohmann::ordered_map<wxString, wxString>;

    // One field named `field`, starting empty. Narrow names are read as UTF-8.
    MultipleInputDialog(wxWindow* parent, const wxString& field, const wxString& title = wxS("Input"));
    MultipleInputDialog(wxWindow* parent, const char* field, const wxString& title = wxS("Input"));
    MultipleInputDialog(wxWindow* parent, const std::string& field, const wxString& title = wxS("Input"));
    // One field per name, starting empty; a name given twice makes one field.
    MultipleInputDialog(wxWindow* parent, const std::vector<wxString>& fields, const wxString& title = wxS("Input"));
    MultipleInputDialog(wxWindow* parent, const std::vector<std::string>& fields, const wxString& title = wxS("Input"));
    // A brace list of names: {"电压", "电流"} (narrow names as UTF-8).
    MultipleInputDialog(wxWindow* parent, std::initializer_list<Text> fields, const wxString& title = wxS("Input"));
    // The caller's own mapping of names to defaults. The dialog works on a
    // copy taken here; OK pressed during ShowModal also writes the entered
    // texts back into the caller's mapping, Cancel leaves it alone. So the
    // mapping must stay alive until ShowModal has returned, not as long as
    // the dialog: get() and fields() read the copy and stay safe after the
    // mapping is gone. Shown without a modal run (Show), OK updates only the
    // copy, since nothing then says the mapping is still there.
    MultipleInputDialog(wxWindow* parent, FieldMap& fields, const wxString& title = wxS("Input"));

    // The field's value: the text entered when OK was pressed, else its
    // default. A name that is not a field throws LookupError.
    wxString get(const wxString& field) const;
    // Every field with its value, in field order.
    const FieldMap& fields() const { return field_value_dict; }

    wxStaticLine* m_staticline1;

private:
    struct NoFields {};
    MultipleInputDialog(wxWindow* parent, const wxString& title, NoFields);
    void add_names(const std::vector<wxString>& names);
    void build();
    void on_ok(wxCommandEvent& event);

    FieldMap field_value_dict;
    // The mapping given by the caller, written back by OK inside ShowModal only.
    FieldMap* caller_fields = nullptr;
    nlohmann::ordered_map<wxString, wxTextCtrl*> field_ctrls;
    wxButton* ui_ok_button;
    wxButton* ui_cancel_button;
};

}  // namespace ovk_wxtools
