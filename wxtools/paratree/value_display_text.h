#pragma once
// How an attribute value reads in the editors' grids.
#include "platform/paratree/parameter.h"

#include <nlohmann/json.hpp>
#include <wx/string.h>

namespace ovk_wxtools {

// A text as it is; an integer in decimal; a real number in its shortest form
// that reads back (1.0, 0.1, 1e-05, inf, nan); True or False; None for null;
// a list as [1, 'a', None] and a mapping as {'key': 2.5}, texts inside them
// quoted with single quotes (double quotes when the text holds a single quote
// and no double quote), backslashes and control characters escaped.
wxString value_display_text(const nlohmann::ordered_json& value);

// The main value of a parameter as one line: its attribute "value" when it
// has one, else its attributes as "name=value" joined by ", " and cut at
// kParameterValueTextMax characters with "…"; empty without attributes.
wxString parameter_value_text(const ovk_paratree::Parameter& parameter);
inline constexpr std::size_t kParameterValueTextMax = 80;

}  // namespace ovk_wxtools
