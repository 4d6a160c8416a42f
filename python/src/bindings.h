#pragma once
// One function per subsystem adds its pieces to the module.
#include <pybind11/pybind11.h>

namespace ovk_python {
void bind_app(pybind11::module_& m);
void bind_dialogs(pybind11::module_& m);
void bind_controls(pybind11::module_& m);
void bind_small_controls(pybind11::module_& m);
void bind_dashboard(pybind11::module_& m);
void bind_journal(pybind11::module_& m);
void bind_plant(pybind11::module_& m);
void bind_testing(pybind11::module_& m);
void bind_paratree(pybind11::module_& m);
void bind_paratree_ui(pybind11::module_& m);
}  // namespace ovk_python
