#pragma once
// How the kit reads a window: the parts a person can read and act on, the
// kind of a dialog, and a dialog as a ShownDialog record.
#include "wxtools/testing/shown_dialog.h"

#include <wx/anybutton.h>
#include <wx/ctrlsub.h>
#include <wx/dialog.h>
#include <wx/string.h>

#include <utility>
#include <vector>

namespace ovk_wxtest::detail {

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

}  // namespace ovk_wxtest::detail
