// main() of the test programs: GoogleTest with the toolkit running.
#include "wxtools/testing/gtest.h"

#include <clocale>

#if defined(__SANITIZE_THREAD__) && defined(OVK_TSAN_SUPPRESSIONS)
// ThreadSanitizer reads its options before main; the toolkit's own C
// libraries are not built for it and their reports are suppressed.
extern "C" const char* __tsan_default_options()
{
    return "halt_on_error=1:second_deadlock_stack=1:suppressions=" OVK_TSAN_SUPPRESSIONS;
}
#endif

int main(int argc, char** argv)
{
    // LC_NUMERIC as the environment says (LC_ALL=de_DE.UTF-8 for the
    // decimal-comma runs); LC_CTYPE stays "C", as in a tool that has not
    // switched it, so that narrow text has to be read as UTF-8 on purpose.
    std::setlocale(LC_NUMERIC, "");
    return ovk_wxtest::run_all_tests(argc, argv);
}
