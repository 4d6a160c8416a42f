#include "wxtools/app/utf8_ctype.h"

#include <clocale>
#include <langinfo.h>
#include <strings.h>

namespace ovk_wxtools {

namespace {

bool ctype_is_utf8()
{
    const char* codeset = nl_langinfo(CODESET);
    return codeset && (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "utf8") == 0);
}

}  // namespace

std::string current_ctype()
{
    const char* name = std::setlocale(LC_CTYPE, nullptr);
    return name ? name : "";
}

bool use_utf8_ctype()
{
    if (ctype_is_utf8())
        return true;
    const std::string previous = current_ctype();
    if (std::setlocale(LC_CTYPE, "") && ctype_is_utf8())
        return true;
    if (std::setlocale(LC_CTYPE, "C.UTF-8") && ctype_is_utf8())
        return true;
    std::setlocale(LC_CTYPE, previous.c_str());
    return false;
}

}  // namespace ovk_wxtools
