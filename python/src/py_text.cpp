#include "py_text.h"
#include <string>

namespace ovk_python {
namespace py = pybind11;

namespace {
wxString utf8_of(PyObject* text)
{
    Py_ssize_t size = 0;
    const char* bytes = PyUnicode_AsUTF8AndSize(text, &size);
    if (!bytes)
        throw py::error_already_set();
    return wxString::FromUTF8(bytes, static_cast<size_t>(size));
}
}  // namespace

wxString text_of_str(py::handle value)
{
    if (!PyUnicode_Check(value.ptr()))
        throw py::type_error(std::string("expected a str to show, got ") + Py_TYPE(value.ptr())->tp_name);
    return utf8_of(value.ptr());
}

wxString cell_text_of(py::handle value)
{
    if (PyUnicode_Check(value.ptr()))
        return utf8_of(value.ptr());
    if (value.is_none())
        return wxString();
    py::str text(value);
    return utf8_of(text.ptr());
}

ovk_wxtools::RowValues row_values(py::handle values)
{
    ovk_wxtools::RowValues row;
    if (PyList_Check(values.ptr()) || PyTuple_Check(values.ptr())) {
        py::sequence items = py::reinterpret_borrow<py::sequence>(values);
        const auto n = static_cast<std::size_t>(PySequence_Fast_GET_SIZE(values.ptr()));
        row.reserve(n);
        PyObject** at = PySequence_Fast_ITEMS(values.ptr());
        for (std::size_t i = 0; i < n; ++i)
            row.emplace_back(cell_text_of(at[i]));
        return row;
    }
    for (py::handle item : py::iter(values))
        row.emplace_back(cell_text_of(item));
    return row;
}

}  // namespace ovk_python
