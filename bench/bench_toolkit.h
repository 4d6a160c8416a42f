#pragma once
// The toolkit, started once for a whole benchmark program, and a real event
// loop run until a condition holds. Needs an X display (run under Xvfb);
// without one toolkit_ready() says false and each benchmark skips.
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/timer.h>

#include <functional>

namespace ovk_bench {

class BenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// Starts the toolkit the first time it is asked; answers whether it runs.
inline bool toolkit_ready()
{
    static const bool ready = [] {
        static char arg0[] = "bench";
        static char* argv[] = {arg0, nullptr};
        int argc = 1;
        wxApp::SetInstance(new BenchApp);
        if (!wxEntryStart(argc, argv))
            return false;
        wxTheApp->CallOnInit();
        return true;
    }();
    return ready;
}

// Runs a real event loop until `done` holds, checking it every 10 ms.
inline void run_loop_until(const std::function<bool()>& done)
{
    wxGUIEventLoop loop;
    wxTimer check;
    check.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (done())
            loop.Exit();
    });
    check.Start(10);
    loop.Run();
}

}  // namespace ovk_bench
