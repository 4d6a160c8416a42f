// main() of the test programs: GoogleTest with the toolkit running.
#include "tests/support/toolkit_environment.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ovk_test::ToolkitEnvironment);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ovk_test::DialogScriptReset);
    return RUN_ALL_TESTS();
}
