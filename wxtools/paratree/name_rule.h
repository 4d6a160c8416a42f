#pragma once
// The rule for names of directories, books and parameters typed by the user.
#include <wx/string.h>

#include <optional>

#include "platform/paratree/invalid_name_characters.h"

namespace ovk_wxtools {

// False for the empty text, for "." and ".." (they would name the folder
// itself or its parent on disk) and for a name that holds any entry of
// ovk_paratree::InvalidNameCharacters; true otherwise. Blanks are not trimmed.
bool is_valid_name(const wxString& name);

// The message telling the user why `name` is refused; `word` starts it
// ("Book", "Directory", ...). `as` tells how a directory's or book's name is
// stored (ovk_paratree::is_valid_entry_name); none for parameter and
// attribute names. A name breaking the rule of is_valid_name gets the message
// listing the invalid characters; one that is too long for a file name, or
// starts with the save's own prefix, says so.
wxString invalid_name_message(const wxString& word, const wxString& name,
                              std::optional<ovk_paratree::StoredAs> as = std::nullopt);

}  // namespace ovk_wxtools
