#include "wxtools/testing/detail/dialog_parts.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/control.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/textdlg.h>
#include <wx/textentry.h>

namespace ovk_wxtest::detail {

namespace {

void collect(wxWindow& window, DialogParts& parts, bool& label_pending)
{
    for (wxWindow* child : window.GetChildren()) {
        if (auto* text = dynamic_cast<wxStaticText*>(child)) {
            parts.lines.push_back(text->GetLabel());
            label_pending = true;
        } else if (dynamic_cast<wxTextCtrl*>(child) || dynamic_cast<wxComboBox*>(child)) {
            // The static text right before a field is its label, not part of the message.
            wxString label;
            if (label_pending) {
                label = parts.lines.back();
                parts.lines.pop_back();
            }
            parts.fields.emplace_back(label, child);
            if (auto* combo = dynamic_cast<wxComboBox*>(child))
                parts.lists.push_back(combo);
            label_pending = false;
        } else if (auto* button = dynamic_cast<wxAnyButton*>(child)) {
            parts.buttons.push_back(button);
            label_pending = false;
        } else if (auto* list = dynamic_cast<wxControlWithItems*>(child)) {
            parts.lists.push_back(list);
            label_pending = false;
        } else if (dynamic_cast<wxCheckBox*>(child)) {
            label_pending = false;
        } else {
            collect(*child, parts, label_pending);  // panels and other containers
        }
    }
}

}  // namespace

DialogKind kind_of(wxDialog& dialog)
{
    if (dynamic_cast<wxMessageDialogBase*>(&dialog))
        return DialogKind::Message;
    if (dynamic_cast<wxTextEntryDialog*>(&dialog))
        return DialogKind::TextEntry;
    if (dynamic_cast<wxDirDialogBase*>(&dialog))
        return DialogKind::DirChooser;
    if (dynamic_cast<wxFileDialogBase*>(&dialog))
        return DialogKind::FileChooser;
    return DialogKind::Own;
}

DialogParts parts_of(wxWindow& window)
{
    DialogParts parts;
    bool label_pending = false;
    collect(window, parts, label_pending);
    return parts;
}

ShownDialog describe(wxDialog& dialog, DialogKind kind)
{
    ShownDialog seen{kind, {}, dialog.GetTitle(), dialog.GetWindowStyle(), {}, {}, 0, {}, {}, {}};
    const DialogParts parts = parts_of(dialog);
    for (const wxString& line : parts.lines) {
        if (!seen.message.empty())
            seen.message += wxS("\n");
        seen.message += line;
    }
    for (wxAnyButton* button : parts.buttons)
        seen.buttons.push_back(wxControl::RemoveMnemonics(button->GetLabel()));
    for (const auto& [label, control] : parts.fields)
        if (auto* entry = dynamic_cast<wxTextEntry*>(control))
            seen.fields.push_back({label, entry->GetValue()});
    for (wxControlWithItems* list : parts.lists)
        for (unsigned i = 0; i < list->GetCount(); ++i)
            seen.choices.push_back(list->GetString(i));
    return seen;
}

}  // namespace ovk_wxtest::detail
