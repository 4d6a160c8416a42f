#pragma once
// GoogleTest glue for the testing kit, header only; it brings the whole kit
// along. The kit's failures become test failures, the toolkit starts once per
// program, and every test starts with an empty script and fails when it
// leaves answers unused.
//
//   int main(int argc, char** argv) { return ovk_wxtest::run_all_tests(argc, argv); }
//
// or, with a main of one's own, add ToolkitEnvironment and DialogScriptReset
// (or derive fixtures from DialogTest).
#include "wxtools/testing/testing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace ovk_wxtest {

// Sends the kit's failures to GoogleTest as non-fatal failures of the running test.
inline void report_to_gtest()
{
    set_failure_handler([](const std::string& message) { ADD_FAILURE() << message; });
}

// Starts the toolkit once for a whole test program and stops it at the end.
class ToolkitEnvironment : public ::testing::Environment {
public:
    // Starts the toolkit and sends the kit's failures to GoogleTest; ends the program when it cannot start.
    void SetUp() override
    {
        static char arg0[] = "ovk_wxtest";
        static char* argv[] = {arg0, nullptr};
        int argc = 1;
        if (!start_toolkit(argc, argv)) {
            std::fprintf(stderr, "The toolkit could not start: is DISPLAY set to a running X server (xvfb-run)?\n");
            std::exit(2);
        }
        report_to_gtest();
    }
    // Stops the toolkit.
    void TearDown() override { stop_toolkit(); }
};

// Forgets scripted answers and records before every test; fails a test that
// leaves answers unused.
class DialogScriptReset : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { dialogs().reset(); }
    void OnTestEnd(const ::testing::TestInfo&) override { dialogs().verify(); }
};

// The same as a fixture, for programs that do not add the listener.
class DialogTest : public ::testing::Test {
protected:
    // Forgets scripted answers and records before the test.
    void SetUp() override { dialogs().reset(); }
    // Fails the test when it left scripted answers unused.
    void TearDown() override { dialogs().verify(); }
};

// GoogleTest's main with the toolkit running and the script checked per test.
inline int run_all_tests(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);
    ::testing::UnitTest::GetInstance()->listeners().Append(new DialogScriptReset);
    return RUN_ALL_TESTS();
}

}  // namespace ovk_wxtest
