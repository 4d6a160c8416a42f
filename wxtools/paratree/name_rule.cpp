#include "wxtools/paratree/name_rule.h"

#include "wxtools/text.h"

#include <string>

namespace ovk_wxtools {

bool is_valid_name(const wxString& name) { return ovk_paratree::is_valid_name(name.utf8_string()); }

wxString invalid_name_message(const wxString& word, const wxString& name, std::optional<ovk_paratree::StoredAs> as)
{
    const std::string text = name.utf8_string();
    if (!as || !ovk_paratree::is_valid_name(text))
        return word + wxS(" name `") + name + wxS("` is invalid. It may be has invalid characters: `") +
               from_utf8(ovk_paratree::InvalidNameCharacters.to_string()) + wxS("`.");
    return word + wxS(" name `") + name + wxS("` cannot be saved: ") +
           from_utf8(ovk_paratree::why_invalid_entry_name(text, *as)) + wxS(".");
}

}  // namespace ovk_wxtools
