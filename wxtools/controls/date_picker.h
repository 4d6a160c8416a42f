#pragma once
// DatePicker: reads and writes a date-picker or calendar control the caller
// made, in plain dates (months from 1) instead of wxDateTime (months from 0).
#include "wxtools/controls/plain_date.h"

#include <wx/calctrl.h>
#include <wx/datectrl.h>

#include <concepts>

namespace ovk_wxtools {

// A plain date or date-time: anything with year, month (from 1) and day.
template <class D>
concept YearMonthDay = requires(const D& d) {
    { d.year } -> std::convertible_to<int>;
    { d.month } -> std::convertible_to<int>;
    { d.day } -> std::convertible_to<int>;
};

class DatePicker {
public:
    explicit DatePicker(wxDatePickerCtrlBase* control);
    explicit DatePicker(wxCalendarCtrlBase* control);

    // The wrapped control; it belongs to the caller.
    wxControl* control;

    // The plain date of a wxDateTime; throws TypeError for an invalid one.
    static PlainDate Convert(const wxDateTime& date);

    // The wxDateTime at local midnight of a plain date; throws TypeError for
    // a date that does not exist (2023-02-30, month 13).
    template <YearMonthDay D>
    static wxDateTime Convert(const D& date)
    {
        return to_wx_date(static_cast<int>(date.year), static_cast<int>(date.month), static_cast<int>(date.day));
    }

    PlainDate GetValue() const;
    PlainDate GetDate() const { return GetValue(); }

    template <YearMonthDay D>
    void SetValue(const D& date)
    {
        set_control(Convert(date));
    }

private:
    static wxDateTime to_wx_date(int year, int month, int day);
    void set_control(const wxDateTime& date);
};

}  // namespace ovk_wxtools
