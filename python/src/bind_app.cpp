// Window layout, message boxes and the one-field input dialog.
#include "bindings.h"
#include "wx_class.h"
#include "wxtools/app/mb.h"
#include "wxtools/app/simple_input_dialog.h"
#include "wxtools/app/window_fit_layout.h"
#include <pybind11/stl.h>

namespace ovk_python {
namespace {

using ovk_wxtools::MB;

// MB.Input: the text box, then `value_type` applied in Python; a conversion
// that fails shows "Invalid input format." and answers None.
py::object mb_input(const wxString& message, py::object value_type, const wxString& title, py::object default_value)
{
    ovk_wxtools::InputDefault initial;
    if (!default_value.is_none())
        initial = ovk_wxtools::InputDefault(py::str(default_value).cast<wxString>());
    std::optional<wxString> text;
    {
        py::gil_scoped_release release;
        text = MB::Input(message, title, initial);
    }
    raise_pending();
    if (!text)
        return py::none();
    if (value_type.is_none())
        return py::cast(*text);
    try {
        return value_type(*text);
    } catch (py::error_already_set& error) {
        if (!error.matches(PyExc_Exception))
            throw;
    }
    {
        py::gil_scoped_release release;
        MB::Error(wxS("Invalid input format."));
    }
    raise_pending();
    return py::none();
}

template <class F>
auto released(F box)
{
    return [box](const wxString& message, const wxString& title) {
        decltype(box(message, title)) answer;
        {
            py::gil_scoped_release release;
            answer = box(message, title);
        }
        raise_pending();
        return answer;
    };
}

// A ready conversion of MB.Input; its errors are ValueError.
template <class R>
R convert(R (*to)(const wxString&), const wxString& text)
{
    try {
        return to(text);
    } catch (const std::exception& e) {
        throw py::value_error(e.what());
    }
}

}  // namespace

void bind_app(py::module_& m)
{
    m.def("window_fit_layout", checked([](wxWindow* window, bool center, bool maximize) {
              if (!window)
                  throw py::type_error("window_fit_layout needs a window");
              ovk_wxtools::window_fit_layout(window, center, maximize);
          }),
          py::arg("window"), py::arg("center") = true, py::arg("maximize") = false,
          "Lays the window out, fits it to its sizer, then centres and/or maximises it.");

    py::class_<MB> mb(m, "MB", "One-line message boxes and a one-line question.");
    mb.def_static("Error", released([](const wxString& m, const wxString& t) { return (MB::Error(m, t), 0); }),
                  py::arg("message"), py::arg("title") = "Error");
    mb.def_static("Notice", released([](const wxString& m, const wxString& t) { return (MB::Notice(m, t), 0); }),
                  py::arg("message"), py::arg("title") = "Info");
    mb.def_static("Confirm", released([](const wxString& m, const wxString& t) { return MB::Confirm(m, t); }),
                  py::arg("message"), py::arg("title") = "Confirm", "wx.YES or wx.NO.");
    mb.def_static("Input", &mb_input, py::arg("message"), py::arg("value_type") = py::none(),
                  py::arg("title") = "Input Dialog", py::arg("default") = py::none(),
                  "The typed text converted by value_type, or None when cancelled or not convertible.");
    mb.def_static("ToInt", [](const wxString& text) { return convert(&MB::ToInt, text); }, py::arg("text"));
    mb.def_static("ToDouble", [](const wxString& text) { return convert(&MB::ToDouble, text); }, py::arg("text"));

    using ovk_wxtools::SimpleInputDialog;
    WxClass<SimpleInputDialog>(m, "SimpleInputDialog", "Dialog",
                               "A one-field input dialog with a large-font prompt and Chinese OK/Cancel labels.")
        .init<wxWindow*, const wxString&, const wxString&, bool>(
            [](wxWindow* parent, const wxString& message, const wxString& title, bool password) {
                return new SimpleInputDialog(parent, message, title, password);
            },
            py::arg("parent"), py::arg("message") = wxString::FromUTF8("请输入信息："),
            py::arg("title") = wxString::FromUTF8("请输入"), py::arg("password") = false)
        .def("GetInputString", [](SimpleInputDialog* self, bool strip) { return self->GetInputString(strip); },
             py::arg("strip") = true)
        .def_show_modal()
        .def_readonly("m_staticText1", &SimpleInputDialog::m_staticText1)
        .def_readonly("InputField", &SimpleInputDialog::InputField)
        .def_readonly("m_staticline1", &SimpleInputDialog::m_staticline1)
        .def_readonly("m_button1", &SimpleInputDialog::m_button1)
        .def_readonly("m_button2", &SimpleInputDialog::m_button2);
}

}  // namespace ovk_python
