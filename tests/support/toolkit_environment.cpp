#include "tests/support/toolkit_environment.h"

#include "tests/support/dialog_script.h"

#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>
#include <cstdlib>

namespace ovk_test {

namespace {

class TestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

}  // namespace

void ToolkitEnvironment::SetUp()
{
    static char arg0[] = "ovk_wxtools_test";
    static char* argv[] = {arg0, nullptr};
    int argc = 1;
    wxApp::SetInstance(new TestApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "The toolkit could not start: is DISPLAY set to a running X server (xvfb-run)?\n");
        std::exit(2);
    }
    wxTheApp->CallOnInit();
    dialogs();  // installs the hook
}

void ToolkitEnvironment::TearDown()
{
    wxTheApp->OnExit();
    wxEntryCleanup();
}

void DialogScriptReset::OnTestStart(const ::testing::TestInfo&)
{
    dialogs().reset();
}

void DialogScriptReset::OnTestEnd(const ::testing::TestInfo&)
{
    if (dialogs().pending() != 0)
        ADD_FAILURE() << dialogs().pending() << " scripted dialog answer(s) were never used";
}

}  // namespace ovk_test
