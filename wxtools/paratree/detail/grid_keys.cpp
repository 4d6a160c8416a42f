#include "wxtools/paratree/detail/grid_keys.h"

namespace ovk_wxtools::detail {

namespace {

// Selects the cursor's row when nothing is selected: a plain arrow key
// clears the selection before it moves the cursor, and a grid entered with
// Tab has a cursor but no selection.
void select_cursor_row(wxGrid& grid)
{
    if (grid.GetNumberRows() == 0 || !grid.GetSelectedRows().empty())
        return;
    const int row = grid.GetGridCursorRow();
    if (row < 0 || row >= grid.GetNumberRows())
        grid.GoToCell(0, 0);  // reported as a cursor move, which comes back here
    else
        grid.SelectRow(row);
}

}  // namespace

void use_grid_keys(wxGrid& grid, GridKeyActions actions)
{
    grid.SetTabBehaviour(wxGrid::Tab_Leave);
    // The cursor moves before the selection is settled; look once both are.
    grid.Bind(wxEVT_GRID_SELECT_CELL, [&grid](wxGridEvent& event) {
        event.Skip();
        grid.CallAfter([&grid] { select_cursor_row(grid); });
    });
    // The cells' own window takes the focus, not the grid around it.
    grid.GetGridWindow()->Bind(wxEVT_SET_FOCUS, [&grid](wxFocusEvent& event) {
        event.Skip();
        grid.CallAfter([&grid] { select_cursor_row(grid); });
    });
    grid.Bind(wxEVT_KEY_DOWN, [&grid, actions = std::move(actions)](wxKeyEvent& event) {
        const std::function<void()>* action = nullptr;
        if (event.GetModifiers() == wxMOD_NONE) {
            switch (event.GetKeyCode()) {
            case WXK_RETURN:
            case WXK_NUMPAD_ENTER:
            case WXK_F2:
                action = &actions.edit;
                break;
            case WXK_DELETE:
            case WXK_NUMPAD_DELETE:
                action = &actions.remove;
                break;
            case WXK_SPACE:
                action = &actions.toggle;
                break;
            default:
                break;
            }
        }
        if (action && *action) {
            (*action)();
            return;
        }
        event.Skip();
        // An arrow against the edge clears the selection without moving the cursor.
        grid.CallAfter([&grid] { select_cursor_row(grid); });
    });
}

}  // namespace ovk_wxtools::detail
