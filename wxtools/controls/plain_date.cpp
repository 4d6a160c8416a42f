#include "wxtools/controls/plain_date.h"

#include "wxtools/errors.h"

namespace ovk_wxtools {

PlainDateTime wx_datetime_2_py_datetime(const wxDateTime& dt)
{
    if (!dt.IsValid())
        throw TypeError("wx_datetime_2_py_datetime: the wxDateTime holds no date");
    const wxDateTime::Tm tm = dt.GetTm();
    return {tm.year, static_cast<int>(tm.mon) + 1, tm.mday, tm.hour, tm.min, tm.sec};
}

}  // namespace ovk_wxtools
