// AutoPopupComboBox, DatePicker (with datetime.date) and the date-time helper.
#include "bindings.h"
#include "tracked_owner.h"
#include "wx_class.h"
#include "wxtools/controls/auto_popup_combo_box.h"
#include "wxtools/controls/date_picker.h"
#include "wxtools/controls/plain_date.h"
#include <pybind11/stl.h>
#include <wx/calctrl.h>
#include <wx/datectrl.h>
#include <memory>

namespace ovk_python {
namespace {

using ovk_wxtools::DatePicker;
using ovk_wxtools::PlainDate;

py::object date_of(const PlainDate& d)
{
    return py::module_::import("datetime").attr("date")(d.year, d.month, d.day);
}

// Anything with year, month (from 1) and day: datetime.date, datetime.datetime.
PlainDate plain_date_of(py::handle value)
{
    if (!py::hasattr(value, "year") || !py::hasattr(value, "month") || !py::hasattr(value, "day"))
        throw py::type_error("expected a date with year, month and day");
    return PlainDate{value.attr("year").cast<int>(), value.attr("month").cast<int>(), value.attr("day").cast<int>()};
}

// The wxDateTime behind a wx.DateTime, from its own accessors.
wxDateTime wx_date_time_of(py::handle value)
{
    if (!value.attr("IsValid")().cast<bool>())
        return wxDateTime();
    return wxDateTime(value.attr("GetDay")().cast<int>(),
                      static_cast<wxDateTime::Month>(value.attr("GetMonth")().cast<int>()),
                      value.attr("GetYear")().cast<int>(), value.attr("GetHour")().cast<int>(),
                      value.attr("GetMinute")().cast<int>(), value.attr("GetSecond")().cast<int>());
}

bool is_wx_date_time(py::handle value)
{
    return py::isinstance(value, py::module_::import("wx").attr("DateTime"));
}

}  // namespace

void bind_small_controls(py::module_& m)
{
    using ovk_wxtools::AutoPopupComboBox;
    // Lives as long as its combo box, like a handler the combo box holds.
    py::class_<AutoPopupComboBox, std::shared_ptr<AutoPopupComboBox>>(
        m, "AutoPopupComboBox", "Opens a combo box's list while the user types the start of one of its items.")
        .def(py::init([](wxComboBox* combo_box) {
                 if (!combo_box)
                     throw py::type_error("AutoPopupComboBox needs a wx.ComboBox");
                 auto helper = std::make_shared<AutoPopupComboBox>(combo_box);
                 OwnedByWindow<AutoPopupComboBox>::attach(combo_box, helper);
                 return helper;
             }),
             py::arg("combo_box"))
        .def_readwrite("old_value", &AutoPopupComboBox::old_value)
        .def_property_readonly("control", [](AutoPopupComboBox& self) { return wrap(self.control); })
        .def("on_text_changed", checked([](AutoPopupComboBox& self, wxCommandEvent* event) {
                 if (!event)
                     throw py::type_error("on_text_changed needs the text event");
                 self.on_text_changed(*event);
             }),
             py::arg("event"));

    py::class_<DatePicker>(m, "DatePicker", "Reads and writes a date-picker or calendar control in datetime.date.")
        .def(py::init([](wxObject* control) {
                 if (auto* picker = dynamic_cast<wxDatePickerCtrlBase*>(control))
                     return std::make_unique<DatePicker>(picker);
                 if (auto* calendar = dynamic_cast<wxCalendarCtrlBase*>(control))
                     return std::make_unique<DatePicker>(calendar);
                 throw py::type_error("DatePicker needs a wx.adv.DatePickerCtrl or a wx.adv.CalendarCtrl");
             }),
             py::arg("control"))
        .def_property_readonly("control", [](DatePicker& self) { return wrap(self.control); })
        .def("GetValue", checked([](DatePicker& self) { return date_of(self.GetValue()); }))
        .def("GetDate", checked([](DatePicker& self) { return date_of(self.GetDate()); }))
        .def("SetValue", checked([](DatePicker& self, py::object date) { self.SetValue(plain_date_of(date)); }),
             py::arg("date"))
        .def_static("Convert", checked([](py::object date) -> py::object {
                        if (is_wx_date_time(date))
                            return date_of(DatePicker::Convert(wx_date_time_of(date)));
                        const wxDateTime converted = DatePicker::Convert(plain_date_of(date));
                        return py::module_::import("wx").attr("DateTime").attr("FromDMY")(
                            converted.GetDay(), static_cast<int>(converted.GetMonth()), converted.GetYear());
                    }),
                    py::arg("date"), "wx.DateTime -> datetime.date, datetime.date -> wx.DateTime (local midnight).");

    m.def("wx_datetime_2_py_datetime", checked([](py::object dt) {
              if (!is_wx_date_time(dt))
                  throw py::type_error("expected a wx.DateTime");
              const auto p = ovk_wxtools::wx_datetime_2_py_datetime(wx_date_time_of(dt));
              return py::module_::import("datetime").attr("datetime")(p.year, p.month, p.day, p.hour, p.minute, p.second);
          }),
          py::arg("dt"));
}

}  // namespace ovk_python
