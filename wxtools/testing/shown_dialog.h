#pragma once
// What a dialog showed to the person in front of it, as the testing kit
// records it: kind, title, message, buttons, fields and list entries.
#include <wx/anybutton.h>
#include <wx/ctrlsub.h>
#include <wx/dialog.h>
#include <wx/string.h>

#include <string>
#include <utility>
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

// The parts of a window a person can read and act on, in creation order.
struct DialogParts {
    std::vector<wxString> lines;                       // static texts that label no field
    std::vector<std::pair<wxString, wxWindow*>> fields;  // label, text control or combo box
    // Every button.
    std::vector<wxAnyButton*> buttons;
    // Lists, choices and combo boxes (a combo box is a field too).
    std::vector<wxControlWithItems*> lists;
};
// Finds the parts of `window`, looking inside its panels and other containers.
DialogParts parts_of(wxWindow& window);

// Which kind of dialog this is: a standard one of the toolkit, or any other.
DialogKind kind_of(wxDialog& dialog);

// Reads a dialog of any kind as a person sees it now.
ShownDialog describe(wxDialog& dialog, DialogKind kind);

// A label as compared by the kit: mnemonics removed, surrounding space and a
// trailing colon (ASCII or full-width) dropped.
wxString plain_label(const wxString& label);

}  // namespace ovk_wxtest
