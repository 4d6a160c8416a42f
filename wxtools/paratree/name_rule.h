#pragma once
// The rule for names of directories, books and parameters typed by the user.
#include <wx/string.h>

namespace ovk_wxtools {

// False for the empty text, for "." and ".." (they would name the folder
// itself or its parent on disk), for a name that holds any entry of
// ovk_paratree::InvalidNameCharacters, and for one the model could not save
// (longer than ovk_paratree::MaxNameBytes in UTF-8, or starting with the
// save's own prefix); true otherwise. Blanks are not trimmed.
bool is_valid_name(const wxString& name);

// The message telling the user why `name` is refused; `word` starts it
// ("Book", "Directory", ...). A name with a wrong character gets the
// message listing the invalid characters.
wxString invalid_name_message(const wxString& word, const wxString& name);

}  // namespace ovk_wxtools
