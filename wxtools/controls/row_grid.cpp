#include "wxtools/controls/row_grid.h"

#include "wxtools/errors.h"

#include <string>

namespace ovk_wxtools::row_grid_detail {

void check_row(const char* operation, int row, int count, bool inclusive)
{
    if (row >= 0 && (inclusive ? row <= count : row < count))
        return;
    throw LookupError(std::string(operation) + ": row " + std::to_string(row) + " is outside a grid of " +
                      std::to_string(count) + " rows");
}

void no_row_values()
{
    throw TypeError("The object has no row values: it is not a vector, array, pair or tuple, "
                    "and the grid was given no formatting callback");
}

void too_few_values(std::size_t values, int columns)
{
    throw LookupError("The row has " + std::to_string(values) + " values for " + std::to_string(columns) +
                      " columns");
}

}  // namespace ovk_wxtools::row_grid_detail
