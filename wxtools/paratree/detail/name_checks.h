#pragma once
// The checks a name typed for a new or renamed tree entry goes through, with
// the error box each failure shows; shared by adding and renaming.
#include <wx/string.h>

namespace ovk_wxtools {

// Shows one error box and answers false when `name` is not a valid name or
// `taken` says it is already in use; answers true without a word otherwise.
// The boxes say "<word> name ... is invalid. ..." and "<word> name ... already
// exists.<gap>Please choose another one."; `word` is "Directory", "Book" or
// "Parameter".
bool check_new_name(const wxString& word, const wxString& name, bool taken, const wxString& gap);

}  // namespace ovk_wxtools
