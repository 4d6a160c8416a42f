#pragma once
// The keys of the tree editor panel, bound as its options ask: Ctrl+S saves,
// Ctrl+F goes to the search box and F3 to the next match; in the tree F2
// renames and Enter on a book moves to its parameters; in the parameter grid
// the arrows move the selected row, Tab leaves the grid, Enter and F2 edit,
// Delete deletes and a double click edits.
#include <wx/grid.h>
#include <wx/srchctrl.h>
#include <wx/treectrl.h>

namespace ovk_wxtools {
class ParameterTreeEditorPanel;
}

namespace ovk_wxtools::detail {

class EditorKeys {
public:
    // `find_box` is the panel's search box, nullptr without one.
    EditorKeys(ParameterTreeEditorPanel& panel, wxSearchCtrl* find_box);

private:
    void on_char_hook(wxKeyEvent& event);
    void on_tree_key(wxTreeEvent& event);
    void on_tree_activated(wxTreeEvent& event);
    void on_grid_double_click(wxGridEvent& event);

    ParameterTreeEditorPanel& panel_;
    wxSearchCtrl* find_box_;
};

}  // namespace ovk_wxtools::detail
