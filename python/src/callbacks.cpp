#include "callbacks.h"
#include <wx/dialog.h>
#include <vector>

namespace ovk_python {
namespace {

// Per thread: how many direct calls are in progress, and the modal runs
// started from Python, innermost last.
struct Context {
    int direct = 0;
    struct Run {
        wxDialog* dialog;
        std::optional<py::error_already_set> error;
    };
    std::vector<Run*> runs;
};
thread_local Context context;

}  // namespace

DirectCall::DirectCall() { ++context.direct; }
DirectCall::~DirectCall() { --context.direct; }

int show_modal(wxDialog* dialog)
{
    Context::Run run{dialog, std::nullopt};
    const int saved_direct = context.direct;
    // Inside the run, handlers call back: their errors end the run instead.
    context.direct = 0;
    context.runs.push_back(&run);
    int code = wxID_CANCEL;
    try {
        py::gil_scoped_release release;
        code = dialog->ShowModal();
    } catch (...) {
        context.runs.pop_back();
        context.direct = saved_direct;
        throw;
    }
    context.runs.pop_back();
    context.direct = saved_direct;
    if (run.error)
        throw std::move(*run.error);
    raise_pending();
    return code;
}

void callback_failed(py::error_already_set& error)
{
    if (context.direct > 0)
        throw std::move(error);
    if (!context.runs.empty()) {
        Context::Run* run = context.runs.back();
        if (!run->error)
            run->error = std::move(error);
        if (run->dialog->IsModal())
            run->dialog->EndModal(wxID_CANCEL);
        return;
    }
    // Like wxPython with an error in one of its own handlers: report, go on.
    try {
        py::module_::import("sys").attr("excepthook")(error.type(), error.value(), error.trace());
    } catch (py::error_already_set& hook_error) {
        hook_error.discard_as_unraisable("sys.excepthook");
    }
}

void raise_pending()
{
    if (PyErr_Occurred())
        throw py::error_already_set();
}

PyCallable::PyCallable(py::object function)
    : function_(new py::object(std::move(function)), [](py::object* f) {
          // The last copy may go on any thread, even after the interpreter.
          if (!Py_IsInitialized())
              return;
          py::gil_scoped_acquire gil;
          delete f;
      })
{
}

py::error_already_set PyCallable::type_error(const char* message)
{
    PyErr_SetString(PyExc_TypeError, message);
    return py::error_already_set();
}

}  // namespace ovk_python
