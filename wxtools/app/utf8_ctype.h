#pragma once
// Narrow literals in a tool's own code ("出错了" handed to a wxString) are
// converted by the toolkit through the C library's LC_CTYPE, which the
// toolkit leaves at "C" on GTK whatever LANG says: they come out empty.
#include <string>

namespace ovk_wxtools {

// Makes LC_CTYPE, and only that category, a UTF-8 one: left as it is when it
// already is; otherwise the user's default from the environment when that is
// UTF-8, else "C.UTF-8". LC_NUMERIC and the other categories stay as they are,
// so numbers are still read and written with a decimal point. True when
// LC_CTYPE is UTF-8 afterwards; when no UTF-8 locale exists it is left
// unchanged and the answer is false.
//
// run_wxapp and SimpleApp call it; a tool that starts the toolkit itself calls
// it once at start-up, before other threads run (setlocale is process-wide).
bool use_utf8_ctype();

// The name of the current LC_CTYPE locale ("C", "C.UTF-8", "de_DE.UTF-8").
std::string current_ctype();

}  // namespace ovk_wxtools
