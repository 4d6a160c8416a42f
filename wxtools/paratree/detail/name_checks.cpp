#include "wxtools/paratree/detail/name_checks.h"

#include "platform/paratree/invalid_name_characters.h"
#include "wxtools/app/mb.h"
#include "wxtools/paratree/name_rule.h"
#include "wxtools/text.h"

namespace ovk_wxtools {

bool check_new_name(const wxString& word, const wxString& name, bool taken, const wxString& gap)
{
    if (!is_valid_name(name)) {
        MB::Error(word + wxS(" name `") + name + wxS("` is invalid. It may be has invalid characters: `") +
                  from_utf8(ovk_paratree::InvalidNameCharacters.to_string()) + wxS("`."));
        return false;
    }
    if (taken) {
        MB::Error(word + wxS(" name `") + name + wxS("` already exists.") + gap + wxS("Please choose another one."));
        return false;
    }
    return true;
}

}  // namespace ovk_wxtools
