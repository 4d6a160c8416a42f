#pragma once
// Python callables that the library calls back, and where a Python
// exception raised in one of them goes. It never unwinds through wx:
//   - during a call made straight from Python (DirectCall) it goes back to
//     that caller, through the library's own error handling;
//   - during a modal run (ModalRun) the run is ended and the error raised
//     once ShowModal has returned;
//   - anywhere else (the main loop's timers and handlers) it goes to
//     sys.excepthook, as wxPython does with its own handlers, and the
//     callback answers a neutral value.
#include "wx_bridge.h"
#include <pybind11/pybind11.h>
#include <memory>
#include <optional>
#include <utility>

class wxDialog;

namespace ovk_python {

// Callbacks raise through to the Python caller while one is alive.
class DirectCall {
public:
    DirectCall();
    ~DirectCall();
    DirectCall(const DirectCall&) = delete;
    DirectCall& operator=(const DirectCall&) = delete;
};

// Runs `dialog` modally with the GIL released; a callback error ends the run
// and is raised afterwards. Raises a wx assertion left pending, too.
int show_modal(wxDialog* dialog);

// Sends the error of a failed callback where it belongs (see above). Only
// returns when the error was taken care of; throws during a DirectCall.
void callback_failed(py::error_already_set& error);

// Raises a Python error left set by wx (wxPython turns wx assertions into
// wx.wxAssertionError) after a call into wx.
void raise_pending();

// A Python callable held by C++: copies may be destroyed on any thread.
class PyCallable {
public:
    PyCallable() = default;
    explicit PyCallable(py::object function);
    explicit operator bool() const { return function_ != nullptr; }

    // Calls the function under the GIL; on failure callback_failed() and
    // std::nullopt.
    template <class... A>
    std::optional<py::object> call(A&&... args) const
    {
        py::gil_scoped_acquire gil;
        try {
            return (*function_)(std::forward<A>(args)...);
        } catch (py::error_already_set& error) {
            callback_failed(error);
        }
        return std::nullopt;
    }
    // The same, the answer converted to R (a failed conversion counts as a
    // failed callback); `fallback` when it failed.
    template <class R, class... A>
    R call_as(R fallback, A&&... args) const
    {
        py::gil_scoped_acquire gil;
        try {
            return (*function_)(std::forward<A>(args)...).template cast<R>();
        } catch (py::error_already_set& error) {
            callback_failed(error);
        } catch (py::cast_error&) {
            py::error_already_set error = type_error("the callback answered a value of the wrong type");
            callback_failed(error);
        }
        return fallback;
    }
    const py::object& function() const { return *function_; }

private:
    static py::error_already_set type_error(const char* message);
    std::shared_ptr<py::object> function_;
};

}  // namespace ovk_python
