#pragma once
// How the dashboard's values meet Python's: levels are logging's numbers
// (10 DEBUG ... 50 CRITICAL), codes are str or members of a str-valued Enum,
// times are datetime.datetime (naive ones in local time, as Python takes
// them; given ones may be aware) or seconds since the epoch.
#include "wxtools/dashboard/alarm_code.h"
#include <pybind11/pybind11.h>
#include <spdlog/common.h>
#include <chrono>
#include <memory>
#include <optional>

namespace ovk_python {
namespace py = pybind11;

using Time = std::chrono::system_clock::time_point;

spdlog::level::level_enum spdlog_level(int python_level);
int python_level(spdlog::level::level_enum level);
ovk_wxtools::AlarmCode code_of(py::handle code);

Time time_of(py::handle when);
py::object datetime_of(Time time);
py::object datetime_of(const std::optional<Time>& time);

}  // namespace ovk_python

namespace ovk_python {

// Deletes what waits for a thread of its own in its destructor (a journal's
// writer, a client's network thread) with the GIL released when the deleting
// thread holds it: the waited-for thread may be waiting for the GIL itself,
// to call back into Python.
struct DeleteWithoutGil {
    template <class T>
    void operator()(T* object) const
    {
        if (Py_IsInitialized() && PyGILState_Check()) {
            py::gil_scoped_release unlocked;
            delete object;
        } else {
            delete object;
        }
    }
};

// `object` as Python may hold it: when Python drops the last reference, the
// GIL is released while `object` goes.
template <class T>
std::shared_ptr<T> python_owned(std::shared_ptr<T> object)
{
    if (!object)
        return object;
    T* raw = object.get();
    auto* keep = new std::shared_ptr<T>(std::move(object));
    return std::shared_ptr<T>(raw, [keep](T*) { DeleteWithoutGil{}(keep); });
}

}  // namespace ovk_python

namespace ovk_python {

// Sets the fields given by keyword through the class's own properties, so
// that a constructor converts exactly as assignment does; an unknown name is
// a TypeError.
void set_fields(py::object self, const py::kwargs& fields);

// A T (a struct bound to Python) made from keyword arguments.
template <class T>
T from_fields(const py::kwargs& fields)
{
    py::object self = py::cast(T{});
    set_fields(self, fields);
    return self.template cast<T>();
}

}  // namespace ovk_python
