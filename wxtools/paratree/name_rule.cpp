#include "wxtools/paratree/name_rule.h"

#include "platform/paratree/invalid_name_characters.h"

namespace ovk_wxtools {

bool is_valid_name(const wxString& name)
{
    // The model stores entries only under names its own rule accepts; asking
    // it keeps the editors from offering a name that storing would refuse.
    return ovk_paratree::is_valid_name(name.utf8_string());
}

}  // namespace ovk_wxtools
