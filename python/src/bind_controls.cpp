// The bound controls over lists of arbitrary Python objects, and the small
// control add-ons. The lists are the library's own templates over
// py::object; their fill loops stay in C++.
#include "bindings.h"
#include "callbacks.h"
#include "py_text.h"
#include "wx_class.h"
#include "wxtools/controls/auto_popup_combo_box.h"
#include "wxtools/controls/com_port_list.h"
#include "wxtools/controls/combo_list.h"
#include "wxtools/controls/date_picker.h"
#include "wxtools/controls/row_grid.h"
#include <pybind11/stl.h>
#include <memory>

namespace ovk_python {
namespace {

using ovk_wxtools::ComboList;
using ovk_wxtools::RowGrid;
using PyComboList = ComboList<py::object>;
using PyRowGrid = RowGrid<py::object>;

// The objects of a Python iterable, in order, as T.
template <class T>
std::vector<T> objects_of(const py::iterable& items)
{
    std::vector<T> objects;
    if (PyList_Check(items.ptr()) || PyTuple_Check(items.ptr()))
        objects.reserve(static_cast<std::size_t>(py::len(items)));
    for (py::handle item : items) {
        if constexpr (std::is_same_v<T, py::object>)
            objects.push_back(py::reinterpret_borrow<py::object>(item));
        else
            objects.push_back(item.cast<T>());
    }
    return objects;
}

template <class T>
py::object to_python(const T& value)
{
    if constexpr (std::is_same_v<T, py::object>)
        return value;
    else
        return py::cast(value);
}

template <class T>
py::list list_of(const std::vector<T*>& objects)
{
    py::list result;
    for (T* o : objects)
        result.append(to_python(*o));
    return result;
}

template <class T>
py::object object_or_none(const T* o)
{
    return o ? to_python(*o) : py::none();
}

// The formatting callback of a ComboList: the object itself must be a str
// by default, as the library's default shows each object as itself.
ComboList<py::object>::InfoMethod combo_info(py::object get_info_method)
{
    if (get_info_method.is_none())
        return [](const py::object& obj) { return text_of_str(obj); };
    PyCallable callback(std::move(get_info_method));
    return [callback](const py::object& obj) {
        auto text = callback.call(obj);
        if (!text)
            return wxString();
        return text_of_str(*text);
    };
}

// The operations every object list shares, over objects of type T.
template <class L, class T = typename decltype(L::objects)::value_type>
void def_combo_api(py::class_<L>& c)
{
    c.def_property_readonly("control", [](L& self) { return wrap_any(self.control); })
        .def_property_readonly("objects", [](L& self) {
                                   py::list result;
                                   for (const T& o : self.objects)
                                       result.append(to_python(o));
                                   return result;
                               },
                               "A copy of the objects, in display order.")
        .def("__len__", &L::size)
        .def("Append", checked([](L& self, T obj) { self.Append(std::move(obj)); }), py::arg("obj"))
        .def("AppendItems", checked([](L& self, py::iterable objects) { self.AppendItems(objects_of<T>(objects)); }),
             py::arg("objects"))
        .def("Insert", checked([](L& self, T obj, int index) { self.Insert(std::move(obj), index); }), py::arg("obj"),
             py::arg("index"))
        .def("InsertItems",
             checked([](L& self, py::iterable objects, int index) { self.InsertItems(objects_of<T>(objects), index); }),
             py::arg("objects"), py::arg("index"))
        .def("Delete", checked([](L& self, int index) { self.Delete(index); }), py::arg("index"))
        .def("DeleteSelections", checked([](L& self) { self.DeleteSelections(); }))
        .def("Clear", checked([](L& self) { self.Clear(); }))
        .def("GetSelection", [](L& self) { return object_or_none(self.GetSelection()); })
        .def("GetSelections", [](L& self) { return list_of(self.GetSelections()); })
        .def("GetSelectionIndex", [](L& self) { return self.GetSelectionIndex(); })
        .def("GetSelectionIndexes", [](L& self) { return self.GetSelectionIndexes(); })
        .def("GetObject", [](L& self, int index) { return object_or_none(self.GetObject(index)); }, py::arg("index"))
        .def("Update", checked([](L& self, int index) { self.Update(index); }), py::arg("index"))
        .def("SetSelection", checked([](L& self, int index) { self.SetSelection(index); }), py::arg("index"))
        .def("ClearSelection", checked([](L& self) { self.ClearSelection(); }))
        .def("FindIf", [](L& self, py::object pred) {
                 return self.FindIf([&pred](const T& o) { return static_cast<bool>(py::bool_(pred(to_python(o)))); });
             },
             py::arg("pred"), "The position of the first object for which pred(object) is true, or -1.");
}

void bind_combo_list(py::module_& m)
{
    py::class_<PyComboList> c(m, "ComboList", "Keeps a list, combo or choice control and a list of objects in step.");
    c.def(py::init([](wxItemContainer* control, py::object get_info_method) {
              if (!control)
                  throw py::type_error("ComboList needs a control");
              return std::make_unique<PyComboList>(control, combo_info(std::move(get_info_method)));
          }),
          py::arg("control"), py::arg("get_info_method") = py::none());
    def_combo_api(c);
}

void bind_serial_ports(py::module_& m)
{
    using ovk_wxtools::SerialPortInfo;
    py::class_<SerialPortInfo>(m, "SerialPortInfo", "What the system tells about one serial port.")
        .def(py::init([](const wxString& name, const wxString& description, int vid, int pid, const wxString& serial) {
                 return SerialPortInfo{name, description, vid, pid, serial};
             }),
             py::arg("name"), py::arg("description") = wxString(), py::arg("usb_vid") = -1, py::arg("usb_pid") = -1,
             py::arg("serial_number") = wxString())
        .def_readwrite("name", &SerialPortInfo::name)
        .def_readwrite("description", &SerialPortInfo::description)
        .def_readwrite("usb_vid", &SerialPortInfo::usb_vid)
        .def_readwrite("usb_pid", &SerialPortInfo::usb_pid)
        .def_readwrite("serial_number", &SerialPortInfo::serial_number)
        .def("__repr__", [](const SerialPortInfo& p) { return "<SerialPortInfo " + p.name.utf8_string() + ">"; });
    m.def("serial_port_names", checked([] { return ovk_wxtools::serial_port_names(); }));
    m.def("serial_ports", checked([] { return ovk_wxtools::serial_ports(); }));
    m.def("describe_port", &ovk_wxtools::describe_port, py::arg("port"));
    m.def("port_name_less", &ovk_wxtools::port_name_less, py::arg("a"), py::arg("b"));
}

void bind_com_port_list(py::module_& m)
{
    using ovk_wxtools::COMPortList;
    using ovk_wxtools::SerialPortInfo;
    py::class_<COMPortList> c(m, "COMPortList", "An object list of the machine's serial ports, the first one selected.");
    py::class_<COMPortList::Options>(c, "Options", "Additions to the plain list; each off by default.")
        .def(py::init([](int refresh_ms, bool describe, py::object port_info) {
                 COMPortList::Options options{refresh_ms, describe, {}};
                 if (!port_info.is_none()) {
                     PyCallable lister(std::move(port_info));
                     options.port_info = [lister] { return lister.call_as<std::vector<SerialPortInfo>>({}); };
                 }
                 return options;
             }),
             py::kw_only(), py::arg("refresh_ms") = 0, py::arg("describe") = false, py::arg("port_info") = py::none())
        .def_readwrite("refresh_ms", &COMPortList::Options::refresh_ms)
        .def_readwrite("describe", &COMPortList::Options::describe);
    c.def(py::init([](wxItemContainer* control, py::object comports, std::optional<COMPortList::Options> options) {
              if (!control)
                  throw py::type_error("COMPortList needs a control");
              COMPortList::PortLister lister = ovk_wxtools::serial_port_names;
              if (!comports.is_none()) {
                  PyCallable call(std::move(comports));
                  lister = [call] { return call.call_as<std::vector<wxString>>({}); };
              }
              DirectCall direct;
              return std::make_unique<COMPortList>(control, options.value_or(COMPortList::Options{}), lister);
          }),
          py::arg("control"), py::arg("comports") = py::none(), py::arg("options") = py::none(),
          "comports: a callable answering the device names; by default the machine's ports.")
        .def("RefreshPorts", checked([](COMPortList& self) { return self.RefreshPorts(); }))
        .def("GetPortInfo", [](COMPortList& self, const wxString& name) -> py::object {
                 const SerialPortInfo* info = self.GetPortInfo(name);
                 return info ? py::cast(*info) : py::none();
             },
             py::arg("name"));
    def_combo_api(c);
}

// A row's values: a list or tuple is its own row, anything else goes
// through the formatting callback.
PyRowGrid::InfoMethod row_info(py::object get_info_method)
{
    PyCallable callback = get_info_method.is_none() ? PyCallable() : PyCallable(std::move(get_info_method));
    return [callback](const py::object& obj) -> ovk_wxtools::RowValues {
        if (PyList_Check(obj.ptr()) || PyTuple_Check(obj.ptr()))
            return row_values(obj);
        if (!callback)
            ovk_wxtools::row_grid_detail::no_row_values();
        auto values = callback.call(obj);
        if (!values)
            return {};
        return row_values(*values);
    };
}

PyRowGrid::BgMethod row_bg(py::object get_bg)
{
    if (get_bg.is_none())
        return nullptr;
    PyCallable callback(std::move(get_bg));
    return [callback](const py::object& obj) {
        auto colour = callback.call(obj);
        return colour ? colour_of(*colour) : wxNullColour;
    };
}

void bind_row_grid(py::module_& m)
{
    py::class_<PyRowGrid> c(m, "RowGrid", "Keeps a wx.grid.Grid and a list of objects in step, one object per row.");
    c.def(py::init([](wxGrid* control, py::object get_info_method, py::object get_bg) {
                 if (!control)
                     throw py::type_error("RowGrid needs a grid");
                 return std::make_unique<PyRowGrid>(control, row_info(std::move(get_info_method)),
                                                    row_bg(std::move(get_bg)));
             }),
             py::arg("control"), py::arg("get_info_method") = py::none(), py::arg("get_bg") = py::none())
        .def_property_readonly("control", [](PyRowGrid& self) { return wrap(self.control); })
        .def_property_readonly("objects", [](PyRowGrid& self) {
                                   py::list result;
                                   for (const py::object& o : self.objects)
                                       result.append(o);
                                   return result;
                               },
                               "A copy of the objects, in row order.")
        .def("__len__", &PyRowGrid::size)
        .def("Clear", checked([](PyRowGrid& self) { self.Clear(); }))
        .def("Append", checked([](PyRowGrid& self, py::object item, py::object bg) {
                 self.Append(std::move(item), colour_of(bg));
             }),
             py::arg("item"), py::arg("bg") = py::none())
        .def("AppendItems", checked([](PyRowGrid& self, py::iterable items, py::object bg) {
                 self.AppendItems(objects_of<py::object>(items), colour_of(bg));
             }),
             py::arg("items"), py::arg("bg") = py::none())
        .def("Insert", checked([](PyRowGrid& self, py::object item, int index, py::object bg) {
                 self.Insert(std::move(item), index, colour_of(bg));
             }),
             py::arg("item"), py::arg("index"), py::arg("bg") = py::none())
        .def("InsertItems", checked([](PyRowGrid& self, py::iterable items, int index, py::object bg) {
                 self.InsertItems(objects_of<py::object>(items), index, colour_of(bg));
             }),
             py::arg("items"), py::arg("index"), py::arg("bg") = py::none())
        .def("Delete", checked([](PyRowGrid& self, int index) { self.Delete(index); }), py::arg("index"))
        .def("DeleteSelections", checked([](PyRowGrid& self) { self.DeleteSelections(); }))
        .def("GetSelections", [](PyRowGrid& self) { return list_of(self.GetSelections()); })
        .def("GetSelection", [](PyRowGrid& self) { return object_or_none(self.GetSelection()); })
        .def("GetSelectionIndex", &PyRowGrid::GetSelectionIndex)
        .def("GetSelectionIndexes", &PyRowGrid::GetSelectionIndexes)
        .def("ClearSelection", checked([](PyRowGrid& self) { self.ClearSelection(); }))
        .def("SetSelection", checked([](PyRowGrid& self, int index) { self.SetSelection(index); }), py::arg("index"))
        .def("Update", checked([](PyRowGrid& self, py::object index, py::object bg) {
                 const wxColour colour = colour_of(bg);
                 if (PyLong_Check(index.ptr()) && !PyBool_Check(index.ptr()))
                     return self.Update(index.cast<int>(), colour);
                 if (PyList_Check(index.ptr()) || PyTuple_Check(index.ptr())) {
                     std::vector<int> rows;
                     for (py::handle row : index) {
                         if (!PyLong_Check(row.ptr()) || PyBool_Check(row.ptr()))
                             throw py::type_error("Unknown type of argument `index`");
                         rows.push_back(row.cast<int>());
                     }
                     return self.Update(rows, colour);
                 }
                 throw py::type_error("Unknown type of argument `index`");
             }),
             py::arg("index") = -1, py::arg("bg") = py::none());
}

}  // namespace

void bind_controls(py::module_& m)
{
    bind_combo_list(m);
    bind_serial_ports(m);
    bind_com_port_list(m);
    bind_row_grid(m);
    bind_small_controls(m);
}

}  // namespace ovk_python
