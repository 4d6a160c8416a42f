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

// A value as the book file writes it: a text as it is (without quotes), any
// other value as compact JSON (true, null, 2.5, [1,"a"], {"k":1}) with
// non-ASCII characters as they are; inf and nan as the real-number entry reads them.
wxString value_json_text(const nlohmann::ordered_json& value);

// The main value of a parameter as one line: its attribute "value" when it
// has one, else its attributes as "name=value" joined by ", ", each value as
// value_json_text writes it, cut at `max` characters with "…"; empty
// without attributes.
inline constexpr std::size_t kParameterValueTextMax = 80;
wxString parameter_value_text(const ovk_paratree::Parameter& parameter, std::size_t max = kParameterValueTextMax);

}  // namespace ovk_wxtools
