#pragma once
// What a dialog showed to the person in front of it, as the testing kit
// records it: kind, title, message, buttons, fields and list entries.
#include <wx/dialog.h>
#include <wx/string.h>

#include <string>
#include <vector>

namespace ovk_wxtest {

// The kinds of dialog the kit tells apart: the toolkit's standard ones, and Own for any other.
enum class DialogKind { Message, TextEntry, DirChooser, FileChooser, Own };

// The kind in words, as failure messages name it ("folder chooser").
const char* to_string(DialogKind kind);

// One labelled text field and the text it held.
struct ShownField {
    // The label in front of the field.
    wxString label;
    // The text the field held.
    wxString value;
    bool operator==(const ShownField&) const = default;
};

struct ShownDialog {
    DialogKind kind;
    wxString message;     // the dialog's text; static texts on separate lines
    wxString caption;     // the title bar
    long style = 0;       // message box style, or the text field's style for text entry
    wxString value;       // text entry: the prefilled text; choosers: the starting path
    wxString wildcard;    // file chooser only
    int answer = 0;       // the code the dialog ended with (or was answered with)
    std::vector<wxString> buttons;   // labels as a person reads them, mnemonics removed
    std::vector<ShownField> fields;  // text fields with the label in front of them
    std::vector<wxString> choices;   // entries of lists, choices and combo boxes
    // The value shown in the field labelled `label`, or an empty text.
    wxString field(const wxString& label) const;
};

// A readable account of a dialog for failure messages, in UTF-8.
std::string to_text(const ShownDialog& seen);

// A label as compared by the kit: mnemonics removed, surrounding space and a
// trailing colon (ASCII or full-width) dropped.
wxString plain_label(const wxString& label);

}  // namespace ovk_wxtest
