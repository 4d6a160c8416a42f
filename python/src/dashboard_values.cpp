#include "dashboard_values.h"
#include "wx_bridge.h"
#include <pybind11/chrono.h>

namespace ovk_python {

using namespace ovk_wxtools;
namespace level = spdlog::level;

// Python's numeric levels and spdlog's: 30 alone is a warning, as the history colours it.
level::level_enum spdlog_level(int python_level)
{
    if (python_level < 10)
        return level::trace;
    if (python_level < 20)
        return level::debug;
    if (python_level < 30)
        return level::info;
    if (python_level == 30)
        return level::warn;
    return python_level < 50 ? level::err : level::critical;
}

int python_level(level::level_enum l)
{
    switch (l) {
    case level::trace: return 5;
    case level::debug: return 10;
    case level::info: return 20;
    case level::warn: return 30;
    case level::err: return 40;
    case level::critical: return 50;
    default: return 0;
    }
}

// An alarm code: a str, or a member of a str-valued Enum (its value).
AlarmCode code_of(py::handle code)
{
    if (PyUnicode_Check(code.ptr()))
        return AlarmCode(code.cast<wxString>());
    if (py::hasattr(code, "value") && PyUnicode_Check(code.attr("value").ptr()))
        return AlarmCode(code.attr("value").cast<wxString>());
    throw py::type_error("an alarm code is a str or a member of a str-valued Enum");
}

Time time_of(py::handle when)
{
    // timestamp() takes a naive datetime as local time and honours an aware one's zone.
    double seconds;
    if (py::isinstance(when, py::module_::import("datetime").attr("datetime")))
        seconds = when.attr("timestamp")().cast<double>();
    else if (PyFloat_Check(when.ptr()) || PyLong_Check(when.ptr()))
        seconds = when.cast<double>();
    else
        throw py::type_error("a time is a datetime.datetime or seconds since the epoch");
    return Time(std::chrono::duration_cast<Time::duration>(std::chrono::duration<double>(seconds)));
}

py::object datetime_of(Time time)
{
    return py::cast(time);
}

py::object datetime_of(const std::optional<Time>& time)
{
    return time ? datetime_of(*time) : py::none();
}

void set_fields(py::object self, const py::kwargs& fields)
{
    const py::object type = py::type::of(self);
    for (auto [name, value] : fields) {
        const std::string key = name.cast<std::string>();
        if (key.rfind('_', 0) == 0 || !py::hasattr(type, key.c_str()))
            throw py::type_error(std::string(py::str(type.attr("__name__"))) + "() got an unexpected keyword argument '" +
                                 key + "'");
        self.attr(name) = value;
    }
}

}  // namespace ovk_python
