// ovk_wxtools._core: the library's pieces for wxPython programs. The package
// (ovk_wxtools/__init__.py) adds what is better said in Python.
#include "bindings.h"
#include "wx_bridge.h"
#include "wx_class.h"
#include "wxtools/errors.h"
#include <pybind11/pybind11.h>
#include <wx/app.h>

namespace ovk_python {

void require_app()
{
    if (!wxTheApp) {
        py::object error = py::module_::import("wx").attr("PyNoAppError");
        PyErr_SetString(error.ptr(), "The wx.App object must be created first!");
        throw py::error_already_set();
    }
}

py::object wx_class(const char* path)
{
    py::object at = py::module_::import("wx");
    std::string rest = path;
    if (const auto dot = rest.find('.'); dot != std::string::npos) {
        at = py::module_::import(("wx." + rest.substr(0, dot)).c_str());
        rest = rest.substr(dot + 1);
    }
    return at.attr(rest.c_str());
}

}  // namespace ovk_python

PYBIND11_MODULE(_core, m)
{
    using namespace ovk_python;
    init_bridge();
    // The library's misuse errors are Python's own kinds, with the same messages.
    py::register_exception_translator([](std::exception_ptr error) {
        try {
            if (error)
                std::rethrow_exception(error);
        } catch (const ovk_wxtools::TypeError& e) {
            PyErr_SetString(PyExc_TypeError, e.what());
        } catch (const ovk_wxtools::LookupError& e) {
            PyErr_SetString(PyExc_IndexError, e.what());
        }
    });
    m.attr("wx_version") = wxVERSION_NUM_DOT_STRING;
    bind_app(m);
    bind_dialogs(m);
    bind_controls(m);
    bind_journal(m);
    bind_dashboard(m);
    bind_plant(m);
    bind_testing(m);
    bind_paratree(m);
    bind_paratree_ui(m);
}
