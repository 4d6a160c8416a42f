#include "wxtools/testing/shown_dialog.h"

#include <wx/control.h>

namespace ovk_wxtest {

const char* to_string(DialogKind kind)
{
    switch (kind) {
    case DialogKind::Message: return "message box";
    case DialogKind::TextEntry: return "text-entry dialog";
    case DialogKind::DirChooser: return "folder chooser";
    case DialogKind::FileChooser: return "file chooser";
    case DialogKind::Own: return "dialog";
    }
    return "?";
}

wxString ShownDialog::field(const wxString& label) const
{
    const wxString wanted = plain_label(label);
    for (const ShownField& f : fields)
        if (plain_label(f.label) == wanted)
            return f.value;
    return wxString();
}

std::string to_text(const ShownDialog& seen)
{
    std::string text = std::string(to_string(seen.kind)) + " \"" + seen.caption.utf8_string() + "\"";
    if (!seen.message.empty())
        text += " saying \"" + seen.message.utf8_string() + "\"";
    auto list = [&text](const char* what, const std::vector<wxString>& items) {
        if (items.empty())
            return;
        text += std::string(", ") + what + " [";
        for (std::size_t i = 0; i < items.size(); ++i)
            text += (i ? ", \"" : "\"") + items[i].utf8_string() + "\"";
        text += "]";
    };
    list("buttons", seen.buttons);
    if (!seen.fields.empty()) {
        text += ", fields [";
        for (std::size_t i = 0; i < seen.fields.size(); ++i)
            text += (i ? ", \"" : "\"") + seen.fields[i].label.utf8_string() + "\" = \"" +
                    seen.fields[i].value.utf8_string() + "\"";
        text += "]";
    }
    list("choices", seen.choices);
    return text;
}

wxString plain_label(const wxString& label)
{
    wxString text = wxControl::RemoveMnemonics(label);
    text.Trim(true).Trim(false);
    if (text.EndsWith(wxS(":")) || text.EndsWith(wxString(L"\uFF1A")))
        text.RemoveLast();
    return text.Trim(true);
}

}  // namespace ovk_wxtest
