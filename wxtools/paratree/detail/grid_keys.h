#pragma once
// The keyboard of a grid that lists one thing per row, as spreadsheets and
// property grids have it: the arrows move the selected row (it follows the
// cursor instead of vanishing), Tab and Shift+Tab leave the grid for the
// next or previous control, Enter and F2 edit the selected row, Delete
// deletes and Space toggles it.
#include <wx/grid.h>

#include <functional>

namespace ovk_wxtools::detail {

// What the keys do; an empty action leaves its key to the grid.
struct GridKeyActions {
    // Enter, F2.
    std::function<void()> edit;
    // Delete.
    std::function<void()> remove;
    // Space.
    std::function<void()> toggle;
};

void use_grid_keys(wxGrid& grid, GridKeyActions actions);

}  // namespace ovk_wxtools::detail
