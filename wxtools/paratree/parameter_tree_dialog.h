#pragma once
// The complete parameter tree editor in a dialog: one ParameterTreeEditorPanel
// filling it, optionally opened on the tree of a folder.
#include <wx/dialog.h>

namespace ovk_wxtools {

class ParameterTreeDialog : public wxDialog {
public:
    // A non-empty `path` opens the tree stored there; when it cannot be
    // loaded, the model's error reaches the caller.
    explicit ParameterTreeDialog(wxWindow* parent, const wxString& path = wxEmptyString);
};

}  // namespace ovk_wxtools
