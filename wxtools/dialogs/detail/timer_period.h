#pragma once
// Timer periods of the polling dialogs, in whole milliseconds.
#include <climits>
#include <cmath>

namespace ovk_wxtools {

// `ms` truncated to whole milliseconds and held within 1 .. INT_MAX: a period
// of 0 would make a busy timer, and beyond INT_MAX the toolkit's int period
// would overflow to a negative one. NaN counts as the shortest period.
inline int timer_period_ms(double ms)
{
    if (std::isnan(ms) || ms < 1)
        return 1;
    if (ms >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(ms);
}

}  // namespace ovk_wxtools
