#pragma once
// The checks a name typed for a new or renamed tree entry goes through, with
// the error box each failure shows; shared by adding and renaming.
#include <wx/string.h>

#include <optional>

#include "platform/paratree/invalid_name_characters.h"

namespace ovk_wxtools {

// Shows one error box and answers false when `name` is not a valid name or
// `taken` says it is already in use; answers true without a word otherwise.
// The boxes say "<word> name ... is invalid. ..." and "<word> name ... already
// exists.<gap>Please choose another one."; `word` is "Directory", "Book" or
// "Parameter". A directory's or book's name, stored `as` a folder or file,
// must also be one the model can save (ovk_paratree::is_valid_entry_name).
bool check_new_name(const wxString& word, const wxString& name, bool taken, const wxString& gap,
                    std::optional<ovk_paratree::StoredAs> as = std::nullopt);

}  // namespace ovk_wxtools
