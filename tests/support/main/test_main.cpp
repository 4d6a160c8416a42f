// main() of the test programs: GoogleTest with the toolkit running.
#include "wxtools/testing/gtest.h"

#include <clocale>
#include <cstdlib>

#if defined(__SANITIZE_THREAD__) && defined(OVK_TSAN_SUPPRESSIONS)
// ThreadSanitizer reads its options before main; the toolkit's own C
// libraries are not built for it and their reports are suppressed.
extern "C" const char* __tsan_default_options()
{
    return "halt_on_error=1:second_deadlock_stack=1:suppressions=" OVK_TSAN_SUPPRESSIONS;
}
#endif

#if defined(__SANITIZE_ADDRESS__) && defined(OVK_LSAN_SUPPRESSIONS)
// The sanitizers read their options before main, and a test's environment
// can carry only one variable through test discovery: the options live here.
extern "C" const char* __asan_default_options() { return "detect_leaks=1:abort_on_error=0"; }
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
extern "C" const char* __lsan_default_options()
{
    return "print_suppressions=0:suppressions=" OVK_LSAN_SUPPRESSIONS;
}
#endif

int main(int argc, char** argv)
{
    // The toolkit talks X11 to the test display, without the accessibility bus.
    setenv("GDK_BACKEND", "x11", 0);
    setenv("NO_AT_BRIDGE", "1", 0);
    // LC_NUMERIC as the environment says (LC_ALL=de_DE.UTF-8 for the
    // decimal-comma runs); LC_CTYPE stays "C", as in a tool that has not
    // switched it, so that narrow text has to be read as UTF-8 on purpose.
    std::setlocale(LC_NUMERIC, "");
    return ovk_wxtest::run_all_tests(argc, argv);
}
