#include "wxtools/paratree/detail/editor_keys.h"

#include "platform/paratree/parameter_book.h"
#include "wxtools/app/show_errors.h"
#include "wxtools/paratree/detail/grid_keys.h"
#include "wxtools/paratree/parameter_tree_editor_panel.h"

namespace ovk_wxtools::detail {

EditorKeys::EditorKeys(ParameterTreeEditorPanel& panel, wxSearchCtrl* find_box) : panel_(panel), find_box_(find_box)
{
    const ParameterTreeEditorPanel::Options& options = panel_.options();
    if (options.rename)
        panel_.ui_tree->Bind(wxEVT_TREE_KEY_DOWN, &EditorKeys::on_tree_key, this);
    if (!options.keyboard)
        return;
    panel_.Bind(wxEVT_CHAR_HOOK, &EditorKeys::on_char_hook, this);
    panel_.ui_tree->Bind(wxEVT_TREE_ITEM_ACTIVATED, &EditorKeys::on_tree_activated, this);
    panel_.ui_book->Bind(wxEVT_GRID_CELL_LEFT_DCLICK, &EditorKeys::on_grid_double_click, this);
    use_grid_keys(*panel_.ui_book, {[this] {
                                        wxCommandEvent unused;
                                        panel_.on_edit_parameter(unused);
                                    },
                                    [this] {
                                        wxCommandEvent unused;
                                        panel_.on_delete_parameter(unused);
                                    },
                                    {}});
}

void EditorKeys::on_char_hook(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    const int modifiers = event.GetModifiers();
    if (modifiers == wxMOD_CONTROL && (key == 'S' || key == 's')) {
        show_errors([this] { panel_.save(); });
        return;
    }
    if (find_box_ && modifiers == wxMOD_CONTROL && (key == 'F' || key == 'f')) {
        find_box_->SetFocus();
        find_box_->SelectAll();
        return;
    }
    if (find_box_ && modifiers == wxMOD_NONE && key == WXK_F3) {
        panel_.find_next();
        return;
    }
    event.Skip();
}

void EditorKeys::on_tree_key(wxTreeEvent& event)
{
    if (panel_.options().rename && event.GetKeyCode() == WXK_F2) {
        panel_.rename_tree_item();
        return;
    }
    event.Skip();
}

void EditorKeys::on_tree_activated(wxTreeEvent& event)
{
    // Enter on a book goes on to its parameters; on a directory it opens or
    // closes the branch as the tree does by itself.
    const auto book = std::dynamic_pointer_cast<ovk_paratree::ParameterBook>(panel_.item_object(event.GetItem()));
    if (!book || panel_.ui_book->GetNumberRows() == 0) {
        event.Skip();
        return;
    }
    panel_.ui_book->SetFocus();
}

void EditorKeys::on_grid_double_click(wxGridEvent& event)
{
    if (event.GetRow() < 0) {
        event.Skip();
        return;
    }
    panel_.ui_book->ClearSelection();
    panel_.ui_book->SelectRow(event.GetRow());
    wxCommandEvent unused;
    panel_.on_edit_parameter(unused);
}

}  // namespace ovk_wxtools::detail
