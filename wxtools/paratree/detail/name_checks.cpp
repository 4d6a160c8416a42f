#include "wxtools/paratree/detail/name_checks.h"

#include "platform/paratree/invalid_name_characters.h"
#include "wxtools/app/mb.h"
#include "wxtools/paratree/name_rule.h"
#include "wxtools/text.h"

namespace ovk_wxtools {

bool check_new_name(const wxString& word, const wxString& name, bool taken, const wxString& gap,
                    std::optional<ovk_paratree::StoredAs> as)
{
    if (as ? !ovk_paratree::is_valid_entry_name(name.utf8_string(), *as) : !is_valid_name(name)) {
        MB::Error(invalid_name_message(word, name, as));
        return false;
    }
    if (taken) {
        MB::Error(word + wxS(" name `") + name + wxS("` already exists.") + gap + wxS("Please choose another one."));
        return false;
    }
    return true;
}

}  // namespace ovk_wxtools
