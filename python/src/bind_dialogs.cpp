// The prompt dialogs and Progress. Every ShowModal runs with the GIL
// released; a callback's error ends the run and is raised after it.
#include "bindings.h"
#include "tracked_owner.h"
#include "wx_class.h"
#include "wxtools/dialogs/auto_close_message_box.h"
#include "wxtools/dialogs/choose_one_button_dialog.h"
#include "wxtools/dialogs/multiple_input_dialog.h"
#include "wxtools/dialogs/progress_dialog.h"
#include "wxtools/dialogs/single_choice_timeout_dialog.h"
#include "wxtools/dialogs/true_or_false_dialog.h"
#include "wxtools/dialogs/wait_for_dialog.h"
#include <pybind11/stl.h>
#include <memory>

namespace ovk_python {
namespace {

using namespace ovk_wxtools;
using ovk_handy::Progress;

// A sequence of texts; a lone str is refused rather than taken letter by letter.
std::vector<wxString> texts_of(const py::handle& choices)
{
    if (PyUnicode_Check(choices.ptr()))
        throw py::type_error("expected a sequence of texts, got a single str");
    return py::cast<std::vector<wxString>>(choices);
}

// What the callback of a WaitForDialog answers: exactly True ends the wait, a str is the new message.
WaitForDialog::Callback wait_callback(py::object callback)
{
    PyCallable call(std::move(callback));
    return [call]() -> WaitForDialog::Answer {
        py::gil_scoped_acquire gil;
        auto answer = call.call();
        if (!answer)
            return {};
        if (answer->ptr() == Py_True)
            return WaitForDialog::Answer(true);
        if (PyUnicode_Check(answer->ptr()))
            return WaitForDialog::Answer(answer->cast<wxString>());
        return {};
    };
}

void bind_choice_dialogs(py::module_& m)
{
    WxClass<TrueOrFalseDialog>(m, "TrueOrFalseDialog", "Dialog", "A yes/no question with the caller's two button labels.")
        .init<wxWindow*, const wxString&, const wxString&, const wxString&, const wxString&>(
            [](wxWindow* parent, const wxString& title, const wxString& question, const wxString& yes,
               const wxString& no) { return new TrueOrFalseDialog(parent, title, question, yes, no); },
            py::arg("parent"), py::arg("title"), py::arg("question"), py::arg("true_label") = "Yes",
            py::arg("false_label") = "No")
        .def_show_modal();

    WxClass<ChooseOneButtonDialog>(m, "ChooseOneButtonDialog", "Dialog", "A question answered by one button per choice.")
        .init<wxWindow*, const wxString&, const wxString&, py::object, int>(
            [](wxWindow* parent, const wxString& title, const wxString& question, py::object choices, int default_index) {
                return new ChooseOneButtonDialog(parent, title, question, texts_of(choices), default_index);
            },
            py::arg("parent"), py::arg("title"), py::arg("question"), py::arg("choices"), py::arg("default_index") = 0)
        .def_show_modal()
        .def("GetSelectedIndex", [](ChooseOneButtonDialog* self) { return self->GetSelectedIndex(); })
        .def("GetSelectedString", [](ChooseOneButtonDialog* self) { return self->GetSelectedString(); })
        .def("OnChoose", [](ChooseOneButtonDialog* self, wxCommandEvent* event) {
            if (!event)
                throw py::type_error("OnChoose needs the button event");
            self->OnChoose(*event);
        });

    WxClass<SingleChoiceTimeoutDialog>(m, "SingleChoiceTimeoutDialog", "Dialog",
                                       "Pick one entry; when nobody acts before the countdown ends, the preselected one is taken.")
        .init<wxWindow*, const wxString&, const wxString&, py::object, double, int>(
            [](wxWindow* parent, const wxString& message, const wxString& caption, py::object choices, double timeout,
               int selection) {
                return new SingleChoiceTimeoutDialog(parent, message, caption, texts_of(choices), timeout, selection);
            },
            py::arg("parent"), py::arg("message"), py::arg("caption"), py::arg("choices"), py::arg("timeout") = 5.0,
            py::arg("selection") = 0)
        .def_show_modal()
        .def("GetSelectionIndex", [](SingleChoiceTimeoutDialog* self) { return self->GetSelectionIndex(); })
        .def("GetSelection", [](SingleChoiceTimeoutDialog* self) { return self->GetSelection(); })
        .def_readonly("mChoicesBox", &SingleChoiceTimeoutDialog::mChoicesBox)
        .def_readonly("m_sdbSizer1OK", &SingleChoiceTimeoutDialog::m_sdbSizer1OK)
        .def_readonly("m_sdbSizer1Cancel", &SingleChoiceTimeoutDialog::m_sdbSizer1Cancel)
        .def_readonly("caption", &SingleChoiceTimeoutDialog::caption);
}

void bind_waiting_dialogs(py::module_& m)
{
    WxClass<WaitForDialog>(m, "WaitForDialog", "Dialog",
                           "A button-less message shown until the polled callback answers True.")
        .init<wxWindow*, const wxString&, const wxString&, py::object, int, std::optional<int>>(
            [](wxWindow* parent, const wxString& title, const wxString& text, py::object callback, int interval,
               std::optional<int> font_size) {
                return new WaitForDialog(parent, title, text, wait_callback(std::move(callback)), interval, font_size);
            },
            py::arg("parent"), py::arg("title"), py::arg("text"), py::arg("callback"), py::arg("interval") = 100,
            py::arg("font_size") = py::none())
        .def_show_modal()
        .def_readonly("mMessage", &WaitForDialog::mMessage)
        .def_property("interval", [](WaitForDialog* self) { return self->interval; },
                      [](WaitForDialog* self, int interval) { self->interval = interval; });

    WxClass<AutoCloseMessageBox> box(m, "AutoCloseMessageBox", "Dialog", "A message that closes itself after a time-out.");
    py::object cls = box.cls();
    box.init<wxWindow*, const wxString&, const wxString&, double, std::optional<int>>(
           [cls](wxWindow* parent, const wxString& title, const wxString& text, double timeout,
                 std::optional<int> font_size) {
               // The class attribute is the one Python code changes.
               AutoCloseMessageBox::CheckInterval = cls.attr("CheckInterval").cast<double>();
               return new AutoCloseMessageBox(parent, title, text, timeout, font_size);
           },
           py::arg("parent"), py::arg("title"), py::arg("text"), py::arg("timeout") = 2.0,
           py::arg("font_size") = py::none())
        .def_show_modal()
        .def("counter", [](AutoCloseMessageBox* self) { return self->counter(); });
    cls.attr("CheckInterval") = AutoCloseMessageBox::CheckInterval;
}

void bind_multiple_input(py::module_& m)
{
    WxClass<MultipleInputDialog>(m, "MultipleInputDialog", "Dialog", "Several named one-line texts asked in one dialog.")
        .init<wxWindow*, py::object, const wxString&>(
            [](wxWindow* parent, py::object fields, const wxString& title) -> MultipleInputDialog* {
                if (PyUnicode_Check(fields.ptr()))
                    return new MultipleInputDialog(parent, fields.cast<wxString>(), title);
                if (!PyDict_Check(fields.ptr()))
                    return new MultipleInputDialog(parent, texts_of(fields), title);
                // The mapping lives with the dialog; OK writes back into the caller's dict (ShowModal).
                auto map = std::make_shared<MultipleInputDialog::FieldMap>();
                for (auto [name, value] : py::reinterpret_borrow<py::dict>(fields))
                    (*map)[name.cast<wxString>()] = value.cast<wxString>();
                auto* dialog = new MultipleInputDialog(parent, *map, title);
                OwnedByWindow<MultipleInputDialog::FieldMap>::attach(dialog, map);
                return dialog;
            },
            py::arg("parent"), py::arg("fields"), py::arg("title") = "Input")
        .def("_show_modal", [](MultipleInputDialog* self) { return show_modal(self); })
        .def("get", [](MultipleInputDialog* self, const wxString& field) { return self->get(field); }, py::arg("field"))
        .def("fields", [](MultipleInputDialog* self) {
            py::dict result;
            for (const auto& [name, value] : self->fields())
                result[py::cast(name)] = py::cast(value);
            return result;
        })
        .def_readonly("m_staticline1", &MultipleInputDialog::m_staticline1);
}

void bind_progress(py::module_& m)
{
    py::class_<Progress, std::shared_ptr<Progress>> progress(
        m, "Progress", "Progress of work done on other threads, in nested levels; any thread may call it.");
    py::enum_<Progress::Status>(progress, "Status")
        .value("Running", Progress::Status::Running)
        .value("Done", Progress::Status::Done)
        .value("Cancelled", Progress::Status::Cancelled)
        .value("Failed", Progress::Status::Failed);
    using release = py::call_guard<py::gil_scoped_release>;
    progress.def(py::init<std::vector<std::string>>(), py::arg("names") = std::vector<std::string>{})
        .def_property_readonly("level", &Progress::level, release())
        .def_property_readonly("status", &Progress::status, release())
        .def("add_level", &Progress::add_level, py::arg("name"), py::arg("subtotal") = 0, release())
        .def("get_name", &Progress::get_name, py::arg("i"), release())
        .def("get_progress", &Progress::get_progress, py::arg("i"), release())
        .def("get_subtotal", &Progress::get_subtotal, py::arg("i"), release())
        .def("set_name", &Progress::set_name, py::arg("i"), py::arg("name"), release())
        .def("set_subtotal", &Progress::set_subtotal, py::arg("i"), py::arg("subtotal"), release())
        .def("set_progress", &Progress::set_progress, py::arg("i"), py::arg("done"), release())
        .def("step", &Progress::step, py::arg("i"), py::arg("by") = 1, release())
        .def("start", py::overload_cast<int, long long, const std::string&>(&Progress::start), py::arg("i"),
             py::arg("subtotal"), py::arg("name"), release())
        .def("start", py::overload_cast<int, long long>(&Progress::start), py::arg("i"), py::arg("subtotal"), release())
        .def("running", &Progress::running, release())
        .def("stopped", &Progress::stopped, release())
        .def("finish", &Progress::finish, release())
        .def("cancel", &Progress::cancel, release())
        .def("fail", &Progress::fail, py::arg("reason"), release())
        .def("failure", &Progress::failure, release());

    WxClass<ProgressDialog>(m, "ProgressDialog", "Dialog", "Shows a Progress that other threads update.")
        .init<wxWindow*, std::shared_ptr<Progress>, double>(
            [](wxWindow* parent, std::shared_ptr<Progress> progress, double interval) {
                if (!progress)
                    throw py::type_error("ProgressDialog needs a Progress");
                return new ProgressDialog(parent, std::move(progress), interval);
            },
            py::arg("parent"), py::arg("progress"), py::arg("interval") = 0.2)
        .def_show_modal()
        .def_property_readonly("names", [](ProgressDialog* self) { return self->names; })
        .def_property_readonly("fractions", [](ProgressDialog* self) { return self->fractions; })
        .def_property_readonly("gauges", [](ProgressDialog* self) { return self->gauges; });
}

}  // namespace

void bind_dialogs(py::module_& m)
{
    bind_choice_dialogs(m);
    bind_waiting_dialogs(m);
    bind_multiple_input(m);
    bind_progress(m);
}

}  // namespace ovk_python
