#include "wxtools/app/simple_app.h"

#include "wxtools/app/utf8_ctype.h"
#include "wxtools/errors.h"

#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <stdexcept>

namespace ovk_wxtools {

namespace {

SimpleApp* the_app = nullptr;

constexpr const char* kNotAFrameOrDialog = "WX App need a class derived from wx.Frame or wx.Dialog.";

}  // namespace

SimpleApp::SimpleApp(WindowFactory factory) : factory_(std::move(factory))
{
    // Before the window is built, so that narrow literals in its code convert.
    use_utf8_ctype();
}

bool SimpleApp::OnInit()
{
    wxWindow* window = nullptr;
    try {
        window = factory_();
        if (auto* frame = dynamic_cast<wxFrame*>(window)) {
            frame->Show();
        } else if (auto* dialog = dynamic_cast<wxDialog*>(window)) {
            set_dialog_return_code(dialog->ShowModal());
            // The hidden dialog would keep the main loop alive, and GTK may
            // still report it as shown; end the loop as soon as it starts.
            CallAfter([this] { ExitMainLoop(); });
        } else {
            if (window)
                window->Destroy();
            throw TypeError(kNotAFrameOrDialog);
        }
    } catch (...) {
        init_error_ = std::current_exception();
        return false;
    }
    return true;
}

std::optional<int> run_wxapp(const WindowFactory& factory)
{
    static char arg0[] = "ovk_wxtools";
    static char* argv[] = {arg0, nullptr};
    int argc = 1;

    auto* application = new SimpleApp(factory);
    wxApp::SetInstance(application);
    if (!wxEntryStart(argc, argv)) {
        // wxEntryStart deletes the instance it was given when it fails.
        throw std::runtime_error("run_wxapp: the toolkit could not be started (is there a display?)");
    }

    if (!application->CallOnInit()) {
        std::exception_ptr error = application->init_error();
        application->OnExit();
        wxEntryCleanup();
        if (error)
            std::rethrow_exception(error);
        return std::nullopt;
    }

    the_app = application;
    std::optional<int> result;
    try {
        application->OnRun();
        result = application->dialog_return_code();
    } catch (...) {
        application->OnExit();
        wxEntryCleanup();
        the_app = nullptr;
        throw;
    }
    application->OnExit();
    wxEntryCleanup();  // destroys the remaining windows and the application
    the_app = nullptr;
    return result;
}

SimpleApp* app()
{
    return the_app;
}

}  // namespace ovk_wxtools
