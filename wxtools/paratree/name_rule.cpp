#include "wxtools/paratree/name_rule.h"

#include "platform/paratree/invalid_name_characters.h"

#include <string>

namespace ovk_wxtools {

bool is_valid_name(const wxString& name)
{
    if (name.empty() || name == wxS(".") || name == wxS(".."))
        return false;
    const std::string text = name.utf8_string();
    for (const std::string& entry : ovk_paratree::InvalidNameCharacters)
        if (text.find(entry) != std::string::npos)
            return false;
    return true;
}

}  // namespace ovk_wxtools
