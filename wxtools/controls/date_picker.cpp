#include "wxtools/controls/date_picker.h"

#include "wxtools/errors.h"

#include <string>

namespace ovk_wxtools {

namespace {

const char* wrong_control = "DatePicker needs a wxDatePickerCtrl or a wxCalendarCtrl";

}  // namespace

DatePicker::DatePicker(wxDatePickerCtrlBase* control) : control(control) {}

DatePicker::DatePicker(wxCalendarCtrlBase* control) : control(control) {}

PlainDate DatePicker::Convert(const wxDateTime& date)
{
    if (!date.IsValid())
        throw TypeError("DatePicker::Convert: the wxDateTime holds no date");
    const wxDateTime::Tm tm = date.GetTm();
    return {tm.year, static_cast<int>(tm.mon) + 1, tm.mday};
}

wxDateTime DatePicker::to_wx_date(int year, int month, int day)
{
    if (month < 1 || month > 12 ||
        day < 1 || day > wxDateTime::GetNumberOfDays(static_cast<wxDateTime::Month>(month - 1), year))
        throw TypeError("DatePicker::Convert: there is no date " + std::to_string(year) + "-" +
                        std::to_string(month) + "-" + std::to_string(day));
    // Day 2 first: moving today's 31st into a shorter month would be refused.
    wxDateTime result = wxDateTime::Today();
    result.SetDay(2);
    result.SetYear(year);
    result.SetMonth(static_cast<wxDateTime::Month>(month - 1));
    result.SetDay(static_cast<wxDateTime::wxDateTime_t>(day));
    return result;
}

PlainDate DatePicker::GetValue() const
{
    if (const auto* picker = dynamic_cast<const wxDatePickerCtrlBase*>(control))
        return Convert(picker->GetValue());
    if (const auto* calendar = dynamic_cast<const wxCalendarCtrlBase*>(control))
        return Convert(calendar->GetDate());
    throw TypeError(wrong_control);
}

void DatePicker::set_control(const wxDateTime& date)
{
    if (auto* picker = dynamic_cast<wxDatePickerCtrlBase*>(control))
        picker->SetValue(date);
    else if (auto* calendar = dynamic_cast<wxCalendarCtrlBase*>(control))
        calendar->SetDate(date);
    else
        throw TypeError(wrong_control);
}

}  // namespace ovk_wxtools
