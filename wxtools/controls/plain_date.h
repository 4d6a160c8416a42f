#pragma once
// Plain calendar values handed to callers: months counted from 1, no time
// zone, no fractions of a second (wxDateTime counts months from 0).
#include <wx/datetime.h>

namespace ovk_wxtools {

struct PlainDate {
    int year = 1970;
    int month = 1;  // 1 = January
    int day = 1;
    bool operator==(const PlainDate&) const = default;
};

struct PlainDateTime {
    int year = 1970;
    int month = 1;  // 1 = January
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const PlainDateTime&) const = default;
};

// The local date and time of `dt` as a plain date-time. Throws TypeError for
// an invalid wxDateTime.
PlainDateTime wx_datetime_2_py_datetime(const wxDateTime& dt);

}  // namespace ovk_wxtools
