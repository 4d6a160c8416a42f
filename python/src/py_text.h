#pragma once
// Python values as the texts the bound controls show.
#include <pybind11/pybind11.h>
#include "wxtools/controls/row_grid.h"
#include <wx/string.h>

namespace ovk_python {
// A str as a wxString (UTF-8); anything else is a TypeError naming its type.
wxString text_of_str(pybind11::handle value);
// A cell's text: a str unchanged, None empty, anything else str(value).
wxString cell_text_of(pybind11::handle value);
// The cell texts of a row's values (a list, a tuple or any iterable).
ovk_wxtools::RowValues row_values(pybind11::handle values);
}  // namespace ovk_python
