// The testing kit for Python tests: the dialog script, the actions a person
// takes in a dialog, the records of what dialogs showed and the helpers that
// act on windows. The pytest plugin (ovk_wxtools.testing) puts them into
// fixtures; they live in the submodule _core._testing.
#include "bindings.h"
#include "callbacks.h"
#include "wx_class.h"
#include "wxtools/testing/testing.h"
#include <pybind11/stl.h>
#include <wx/textctrl.h>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>

namespace ovk_python {
namespace {

using namespace ovk_wxtest;

// The script, which registers itself as the modal hook when first asked for.
// The plugin removes the hook between tests that do not ask for it.
bool hook_registered = false;

DialogScript& script()
{
    static bool created = false;
    DialogScript& s = dialogs();
    if (!created) {
        created = true;
        hook_registered = true;
    }
    return s;
}

std::chrono::milliseconds duration_of(double seconds)
{
    if (!(seconds >= 0) || !std::isfinite(seconds))
        throw py::value_error("a time must be a finite number of seconds, zero or more");
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

wxString path_text(const py::object& path)
{
    return py::module_::import("os").attr("fspath")(path).cast<wxString>();
}

// The Python error `error` in words: its last line, then its traceback.
std::string error_text(py::error_already_set& error)
{
    py::module_ traceback = py::module_::import("traceback");
    py::str join("");
    const std::string headline = join.attr("join")(traceback.attr("format_exception_only")(error.type(), error.value()))
                                     .cast<std::string>();
    const std::string trace = join.attr("join")(traceback.attr("format_tb")(error.trace())).cast<std::string>();
    return headline.substr(0, headline.find_last_not_of('\n') + 1) + "\n" + trace;
}

// A Python function run inside the next dialog: its error fails the test and
// ends the dialog instead of leaving it open for the watchdog.
std::function<void(wxDialog&)> inside_action(py::object function)
{
    PyCallable call(std::move(function));
    return [call](wxDialog& dialog) {
        py::gil_scoped_acquire gil;
        try {
            call.function()(wrap(&dialog));
            return;
        } catch (py::error_already_set& error) {
            report_failure("the action inside dialog \"" + dialog.GetTitle().utf8_string() +
                           "\" raised; the dialog was cancelled: " + error_text(error));
        }
        if (dialog.IsModal())
            dialog.EndModal(wxID_CANCEL);
    };
}

// The numeric event type of a wx.PyEventBinder (wx.EVT_CHOICE) or of a plain int.
wxEventType event_type_of(const py::object& type)
{
    if (py::hasattr(type, "typeId"))
        return type.attr("typeId").cast<wxEventType>();
    return type.cast<wxEventType>();
}

template <class W>
W* required(W* window, const char* what)
{
    if (!window)
        throw py::type_error(std::string("expected ") + what + ", got None");
    return window;
}

void bind_records(py::module_& t)
{
    py::enum_<DialogKind>(t, "DialogKind")
        .value("Message", DialogKind::Message)
        .value("TextEntry", DialogKind::TextEntry)
        .value("DirChooser", DialogKind::DirChooser)
        .value("FileChooser", DialogKind::FileChooser)
        .value("Own", DialogKind::Own);
    py::class_<ShownDialog>(t, "ShownDialog", "What one dialog showed, and the code it ended with.")
        .def_readonly("kind", &ShownDialog::kind)
        .def_readonly("message", &ShownDialog::message)
        .def_readonly("caption", &ShownDialog::caption)
        .def_readonly("style", &ShownDialog::style)
        .def_readonly("value", &ShownDialog::value)
        .def_readonly("wildcard", &ShownDialog::wildcard)
        .def_readonly("answer", &ShownDialog::answer)
        .def_readonly("buttons", &ShownDialog::buttons)
        .def_readonly("choices", &ShownDialog::choices)
        .def_property_readonly("fields", [](const ShownDialog& d) {
            py::list result;
            for (const ShownField& f : d.fields)
                result.append(py::make_tuple(f.label, f.value));
            return result;
        }, "(label, value) of every text field, in order.")
        .def("field", &ShownDialog::field, py::arg("label"), "The text of the field labelled `label`, or ''.")
        .def("__repr__", [](const ShownDialog& d) { return "<ShownDialog " + to_text(d) + ">"; })
        .def("__str__", [](const ShownDialog& d) { return to_text(d); });
    t.def("plain_label", &plain_label, py::arg("label"), "A label as the kit compares labels.");
}

void bind_actions(py::module_& t)
{
    using R = py::return_value_policy;
    py::class_<Actions>(t, "Actions", "What a person does in one dialog, in order; calls chain.")
        .def(py::init<>())
        .def("press", py::overload_cast<const wxString&>(&Actions::press), py::arg("label"), R::reference_internal)
        .def("press", py::overload_cast<int>(&Actions::press), py::arg("id"), R::reference_internal)
        .def("type_into", &Actions::type_into, py::arg("label"), py::arg("text"), R::reference_internal)
        .def("choose", &Actions::choose, py::arg("item"), R::reference_internal)
        .def("run_out", &Actions::run_out, R::reference_internal)
        .def("__repr__", [](const Actions& a) { return "<Actions: " + a.to_text() + ">"; });
    t.def("press", py::overload_cast<const wxString&>(&press), py::arg("label"));
    t.def("press", py::overload_cast<int>(&press), py::arg("id"));
    // type_into(field, text) types now; type_into(label, text) is an action for the next dialog.
    t.def("type_into", checked([](wxTextCtrl* field, const wxString& text) {
              type_into(required(field, "a wx.TextCtrl"), text);
          }), py::arg("field"), py::arg("text"));
    t.def("type_into", py::overload_cast<const wxString&, const wxString&>(&type_into), py::arg("label"), py::arg("text"));
    t.def("choose", &choose, py::arg("item"));
    t.def("run_out", py::overload_cast<>(&run_out));
    t.def("add_countdown", [](py::object cls, py::object tick) {
              PyCallable call(std::move(tick));
              PyCallable of_class(std::move(cls));
              add_countdown([call, of_class](wxDialog& dialog) {
                  py::gil_scoped_acquire gil;
                  py::object d = wrap(&dialog);
                  if (!py::isinstance(d, of_class.function()))
                      return false;
                  call.call(d);
                  return true;
              });
          },
          py::arg("cls"), py::arg("tick"), "Adds the countdown of dialogs of class `cls`: tick(dialog) moves one on by one tick.");
}

void bind_script(py::module_& t)
{
    using R = py::return_value_policy;
    py::class_<DialogScript, std::unique_ptr<DialogScript, py::nodelete>>(
        t, "DialogScript", "Answers for the next modal dialogs, taken in the order they open.")
        .def("answer", &DialogScript::answer, py::arg("code"), R::reference)
        .def("answer_text", &DialogScript::answer_text, py::arg("text"), py::arg("code") = static_cast<int>(wxID_OK),
             R::reference)
        .def("answer_path", [](DialogScript& s, py::object path, int code) -> DialogScript& {
                 return s.answer_path(path_text(path), code);
             },
             py::arg("path"), py::arg("code") = static_cast<int>(wxID_OK), R::reference)
        .def("type_path", [](DialogScript& s, py::object path) -> DialogScript& { return s.type_path(path_text(path)); },
             py::arg("path"), R::reference,
             "The next folder or file chooser gets `path` typed key by key, then accepts it.")
        .def("act", &DialogScript::act, py::arg("actions"), R::reference)
        .def("press", py::overload_cast<const wxString&>(&DialogScript::press), py::arg("label"), R::reference)
        .def("press", py::overload_cast<int>(&DialogScript::press), py::arg("id"), R::reference)
        .def("run_out", &DialogScript::run_out, R::reference)
        .def("inside", [](DialogScript& s, py::object act) -> DialogScript& { return s.inside(inside_action(std::move(act))); },
             py::arg("act"), R::reference, "act(dialog) runs inside the next dialog's modal loop.")
        .def_property_readonly("shown", &DialogScript::shown, "The standard dialogs answered, in order.")
        .def_property_readonly("opened", &DialogScript::opened, "Every dialog opened, in order.")
        .def_property_readonly("last", &DialogScript::last)
        .def_property_readonly("last_opened", &DialogScript::last_opened)
        .def_property_readonly("pending", &DialogScript::pending)
        .def("verify", &DialogScript::verify)
        .def("reset", &DialogScript::reset)
        .def_property("watchdog", [](const DialogScript& s) { return s.watchdog.count() / 1000.0; },
                      [](DialogScript& s, double seconds) { s.watchdog = duration_of(seconds); },
                      "Seconds a dialog may stay open after a free-form action.");
    t.def("script", &script, R::reference);
    t.def("install", [] {
        DialogScript& s = script();
        if (!hook_registered) {
            s.Register();
            hook_registered = true;
        }
    }, "Makes the script answer every modal dialog.");
    t.def("uninstall", [] {
        if (hook_registered) {
            script().Unregister();
            hook_registered = false;
        }
    }, "Lets modal dialogs run untouched again.");
    t.def("set_failure_handler", [](py::object handler) {
        if (handler.is_none()) {
            set_failure_handler(nullptr);
            return;
        }
        PyCallable call(std::move(handler));
        set_failure_handler([call](const std::string& message) { call.call(message); });
    }, py::arg("handler"), "handler(message) gets each failure the kit reports; None: standard error.");
    t.def("failure_count", &failure_count);
}

void bind_ui(py::module_& t)
{
    t.def("click", checked([](wxWindow* button) { click(required(button, "a button")); }), py::arg("button"));
    t.def("select", checked([](wxControlWithItems* control, int n) { select(required(control, "a list control"), n); }),
          py::arg("control"), py::arg("n"));
    t.def("send_command", checked([](wxWindow* window, py::object type, int int_value) {
              send_command(required(window, "a window"), event_type_of(type), int_value);
          }),
          py::arg("window"), py::arg("type"), py::arg("int_value") = 0);
    t.def("flush_events", [] {
        {
            py::gil_scoped_release release;
            flush_events();
        }
        raise_pending();
    });
    t.def("wait_until", [](py::object done, double timeout) {
              const auto limit = duration_of(timeout);
              std::unique_ptr<py::error_already_set> failed;
              bool held;
              {
                  py::gil_scoped_release release;
                  held = wait_until([&] {
                      py::gil_scoped_acquire gil;
                      try {
                          return static_cast<bool>(py::bool_(done()));
                      } catch (py::error_already_set& error) {
                          failed = std::make_unique<py::error_already_set>(std::move(error));
                          return true;
                      }
                  }, limit);
              }
              if (failed)
                  throw std::move(*failed);
              raise_pending();
              return held;
          },
          py::arg("done"), py::arg("timeout") = 5.0,
          "Processes events until done() is true or `timeout` seconds pass; answers whether it became true.");
}

}  // namespace

void bind_testing(py::module_& m)
{
    py::module_ t = m.def_submodule("_testing", "The testing kit; use it through ovk_wxtools.testing.");
    bind_records(t);
    bind_actions(t);
    bind_script(t);
    bind_ui(t);
}

}  // namespace ovk_python
