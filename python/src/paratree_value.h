#pragma once
// Attribute values of the parameter tree as Python values and back: int,
// float, str, bool, None, list and dict, in order, nested.
#include "platform/paratree/parameter.h"
#include <pybind11/pybind11.h>

namespace ovk_python {
pybind11::object to_python(const ovk_paratree::Value& value);
// TypeError for another type, ValueError for an int beyond 64 bits.
ovk_paratree::Value value_of(pybind11::handle value);
}  // namespace ovk_python
