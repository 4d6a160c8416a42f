#pragma once
// The complete parameter tree editor in a dialog: one ParameterTreeEditorPanel
// filling it, optionally opened on the tree of a folder.
#include "wxtools/paratree/parameter_tree_editor_options.h"

#include <wx/dialog.h>

namespace ovk_wxtools {

class ParameterTreeEditorPanel;

class ParameterTreeDialog : public wxDialog {
public:
    // A non-empty `path` opens the tree stored there; when it cannot be
    // loaded, the model's error reaches the caller. `options` go to the
    // panel; with unsaved_guard, closing the dialog asks about unsaved changes.
    explicit ParameterTreeDialog(wxWindow* parent, const wxString& path = wxEmptyString,
                                 ParameterTreeEditorOptions options = {});

    // The editor panel that fills the dialog.
    ParameterTreeEditorPanel* panel() const { return panel_; }

private:
    ParameterTreeEditorPanel* panel_ = nullptr;
};

}  // namespace ovk_wxtools
