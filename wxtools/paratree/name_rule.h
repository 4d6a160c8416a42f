#pragma once
// The rule for names of directories, books and parameters typed by the user.
#include <wx/string.h>

namespace ovk_wxtools {

// False for the empty text, for "." and ".." (they would name the folder
// itself or its parent on disk) and for a name that holds any entry of
// ovk_paratree::InvalidNameCharacters; true otherwise. Blanks are not trimmed.
bool is_valid_name(const wxString& name);

}  // namespace ovk_wxtools
