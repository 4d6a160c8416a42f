#pragma once
// Event handlers must never let an exception reach the toolkit, which would
// end the program; they run their work through show_errors instead.
#include "wxtools/app/mb.h"
#include "wxtools/text.h"

#include <exception>

namespace ovk_wxtools {

// Runs `work`; whatever it throws is shown in one MB::Error box. True when
// the work finished without an error.
template <class Work>
bool show_errors(Work&& work)
{
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        MB::Error(from_utf8(error.what()));
    } catch (...) {
        MB::Error(wxS("Unexpected error."));
    }
    return false;
}

}  // namespace ovk_wxtools
