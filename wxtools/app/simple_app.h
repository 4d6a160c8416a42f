#pragma once
// The application runner: starts the toolkit around one frame or dialog,
// runs it, tears the toolkit down again and hands back the dialog's result.
#include <wx/app.h>

#include <exception>
#include <functional>
#include <optional>
#include <utility>

namespace ovk_wxtools {

using WindowFactory = std::function<wxWindow*()>;

// The application object of one run_wxapp call. It builds its window in
// OnInit: a frame is shown, a dialog runs modally at once and its code is kept.
// Constructing it switches LC_CTYPE to UTF-8 (use_utf8_ctype), so that plain
// narrow literals in the caller's code reach wxString whole; the switch is
// kept after the run.
class SimpleApp : public wxApp {
public:
    explicit SimpleApp(WindowFactory factory);

    bool OnInit() override;

    std::optional<int> dialog_return_code() const { return dialog_return_code_; }
    void set_dialog_return_code(std::optional<int> code) { dialog_return_code_ = code; }

    // What OnInit failed with, if it failed; run_wxapp rethrows it once the
    // toolkit is shut down (an exception must not cross the toolkit's C code).
    std::exception_ptr init_error() const { return init_error_; }

private:
    WindowFactory factory_;
    std::optional<int> dialog_return_code_;
    std::exception_ptr init_error_;
};

// Runs the window built by `factory`: the modal result code for a dialog,
// std::nullopt for a frame. A window that is neither throws TypeError with
// "WX App need a class derived from wx.Frame or wx.Dialog." after the toolkit
// has been shut down; so does anything the factory throws.
std::optional<int> run_wxapp(const WindowFactory& factory);

// Same, building `new Window(args...)`; the arguments reach the constructor
// as given and are used before run_wxapp returns.
template <class Window, class... Args>
std::optional<int> run_wxapp(Args&&... args)
{
    return run_wxapp(WindowFactory([&]() -> wxWindow* { return new Window(std::forward<Args>(args)...); }));
}

// The SimpleApp of the run in progress, or nullptr outside a run (and while
// the run's window is still being built, a dialog's modal run included).
SimpleApp* app();

}  // namespace ovk_wxtools
