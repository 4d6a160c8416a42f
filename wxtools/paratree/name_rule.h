#pragma once
// The rule for names the user gives to directories, books, parameters and
// attributes in the editors.
#include <wx/string.h>

namespace ovk_wxtools {

// False for the empty name, for "." and "..", and for a name holding any of
// the model's InvalidNameCharacters anywhere; true otherwise.
bool is_valid_name(const wxString& name);

}  // namespace ovk_wxtools
