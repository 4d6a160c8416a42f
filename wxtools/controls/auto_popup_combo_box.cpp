#include "wxtools/controls/auto_popup_combo_box.h"

namespace ovk_wxtools {

AutoPopupComboBox::AutoPopupComboBox(wxComboBox* combo_box) : old_value(), control(combo_box)
{
    control->Bind(wxEVT_TEXT, &AutoPopupComboBox::on_text_changed, this);
    // The wrapper may outlive the combo box; it must then not touch it.
    control->Bind(wxEVT_DESTROY, &AutoPopupComboBox::on_destroy, this);
}

AutoPopupComboBox::~AutoPopupComboBox()
{
    if (!control)
        return;
    control->Unbind(wxEVT_TEXT, &AutoPopupComboBox::on_text_changed, this);
    control->Unbind(wxEVT_DESTROY, &AutoPopupComboBox::on_destroy, this);
}

void AutoPopupComboBox::on_destroy(wxWindowDestroyEvent& event)
{
    if (event.GetEventObject() == control)
        control = nullptr;
    event.Skip();
}

void AutoPopupComboBox::on_text_changed(wxCommandEvent&)
{
    const wxString text = control->GetValue();
    // Deleting characters, or a change that leaves the text as it was, never opens the list.
    if (text.length() < old_value.length() || text == old_value) {
        old_value = text;
        return;
    }
    old_value = text;
    if (text.empty())
        return;
    const long insertion_point = control->GetInsertionPoint();
    if (insertion_point != static_cast<long>(text.length()))
        return;
    for (const wxString& item : control->GetStrings()) {
        if (item.StartsWith(text)) {
            control->Popup();
            control->SetSelection(insertion_point, -1);
            return;
        }
    }
}

}  // namespace ovk_wxtools
