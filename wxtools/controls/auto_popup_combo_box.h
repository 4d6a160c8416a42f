#pragma once
// AutoPopupComboBox: opens a combo box's drop-down list while the user types,
// at the end of the text, the start of one of its items.
#include <wx/combobox.h>

namespace ovk_wxtools {

class AutoPopupComboBox {
public:
    explicit AutoPopupComboBox(wxComboBox* combo_box);
    // Unbinds from the combo box when it is still there.
    ~AutoPopupComboBox();
    AutoPopupComboBox(const AutoPopupComboBox&) = delete;
    AutoPopupComboBox& operator=(const AutoPopupComboBox&) = delete;

    // The combo box text at the previous change.
    wxString old_value;
    // The wrapped combo box; it belongs to the caller. nullptr once it is destroyed.
    wxComboBox* control;

    // Bound to the combo box's wxEVT_TEXT. The event is not passed on.
    void on_text_changed(wxCommandEvent& event);

private:
    void on_destroy(wxWindowDestroyEvent& event);
};

}  // namespace ovk_wxtools
