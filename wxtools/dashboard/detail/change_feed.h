#pragma once
// Whoever follows every change of an AlarmState besides its journal (a
// publisher to other machines). Called with the state's lock held, from the
// thread that made the change: take note and return.
#include "wxtools/dashboard/detail/journal_writer.h"

namespace ovk_wxtools::detail {

class ChangeFeed {
public:
    virtual void changed(const JournalChange& change) = 0;

protected:
    ~ChangeFeed() = default;
};

}  // namespace ovk_wxtools::detail
