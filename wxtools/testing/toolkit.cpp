#include "wxtools/testing/toolkit.h"

#include "wxtools/testing/dialog_script.h"

#include <wx/app.h>
#include <wx/init.h>

namespace ovk_wxtest {

namespace {

class TestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

}  // namespace

bool start_toolkit(int& argc, char** argv)
{
    wxApp::SetInstance(new TestApp);
    if (!wxEntryStart(argc, argv))
        return false;
    wxTheApp->CallOnInit();
    dialogs();  // installs the hook
    return true;
}

void stop_toolkit()
{
    wxTheApp->OnExit();
    wxEntryCleanup();
}

}  // namespace ovk_wxtest
