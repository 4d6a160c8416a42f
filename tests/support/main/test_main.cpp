// main() of the test programs: GoogleTest with the toolkit running.
#include "wxtools/testing/gtest.h"

#include <clocale>
#include <cstdlib>

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
