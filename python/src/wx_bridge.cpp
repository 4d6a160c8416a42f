#include "wx_bridge.h"
#include <wx/tracker.h>
#include <wx/version.h>
#include <wx/window.h>
#include <cstdint>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <unordered_set>

namespace ovk_python {
namespace {

// What the bridge keeps of wxPython; filled once at import, under the GIL.
struct Sip {
    PyObject* wx_object = nullptr;  // wx.Object
    PyObject* wx_colour = nullptr;  // wx.Colour
    PyObject* unwrapinstance = nullptr;
    PyObject* wrapinstance = nullptr;
    PyObject* setdeleted = nullptr;
    PyObject* ispycreated = nullptr;
};
Sip sip;

// The objects whose wrappers a WrapperTracker watches. GUI thread, under the GIL.
std::unordered_set<const wxObject*>& tracked()
{
    static auto* set = new std::unordered_set<const wxObject*>;
    return *set;
}

// Marks a window's wxPython wrapper deleted when the window dies. It holds
// the wrapper, so the very object Python code may still hold is the one
// marked; the window itself deletes the node.
class WrapperTracker : public wxTrackerNode {
public:
    WrapperTracker(wxObject* object, PyObject* wrapper) : object_(object), wrapper_(wrapper) { Py_INCREF(wrapper_); }
    void OnObjectDestroy() override
    {
        if (Py_IsInitialized()) {
            PyGILState_STATE state = PyGILState_Ensure();
            tracked().erase(object_);
            PyObject* result = PyObject_CallOneArg(sip.setdeleted, wrapper_);
            if (result)
                Py_DECREF(result);
            else
                PyErr_Clear();
            Py_DECREF(wrapper_);
            PyGILState_Release(state);
        }
        delete this;
    }

private:
    wxObject* object_;
    PyObject* wrapper_;
};

// The library's Python classes by the C++ class they stand for.
std::unordered_map<std::type_index, py::object>& classes()
{
    static auto* map = new std::unordered_map<std::type_index, py::object>;
    return *map;
}

PyObject* attribute(const py::module_& module, const char* name)
{
    return py::object(module.attr(name)).release().ptr();
}

// "3.2.2" out of wx.version(), "4.2.0 gtk3 (phoenix) wxWidgets 3.2.2".
std::string wx_version_of(const std::string& text)
{
    const auto at = text.rfind("wxWidgets ");
    return at == std::string::npos ? std::string() : text.substr(at + 10);
}

}  // namespace

void init_bridge()
{
    py::module_ wx = py::module_::import("wx");
    const std::string running = wx.attr("version")().cast<std::string>();
    const std::string built = wxVERSION_NUM_DOT_STRING;
    if (wx_version_of(running) != built)
        throw py::import_error("ovk_wxtools was built against wxWidgets " + built + ", but the wx imported here is " +
                               running + "; use the wxPython that links wxWidgets " + built + ".");
    // wrapinstance answers the most-derived class it knows: the grid and
    // advanced controls are known once their modules are loaded.
    py::module_::import("wx.grid");
    py::module_::import("wx.adv");
    py::module_ siplib = py::module_::import("wx.siplib");
    sip.wx_object = attribute(wx, "Object");
    sip.wx_colour = attribute(wx, "Colour");
    sip.unwrapinstance = attribute(siplib, "unwrapinstance");
    sip.wrapinstance = attribute(siplib, "wrapinstance");
    sip.setdeleted = attribute(siplib, "setdeleted");
    sip.ispycreated = attribute(siplib, "ispycreated");
}

wxObject* unwrap(py::handle obj)
{
    // A plain subtype check: wx.Object's metatype adds no instance check of
    // its own, and this is on the path of every window argument.
    if (!PyObject_TypeCheck(obj.ptr(), reinterpret_cast<PyTypeObject*>(sip.wx_object)))
        return nullptr;
    PyObject* address = PyObject_CallOneArg(sip.unwrapinstance, obj.ptr());
    if (!address)
        throw py::error_already_set();
    void* value = PyLong_AsVoidPtr(address);
    Py_DECREF(address);
    if (!value && PyErr_Occurred())
        throw py::error_already_set();
    // wxPython keeps every wx.Object by its address as a wxObject.
    return static_cast<wxObject*>(value);
}

py::object wrap(wxObject* object)
{
    if (!object)
        return py::none();
    py::object address = py::int_(reinterpret_cast<std::uintptr_t>(object));
    PyObject* wrapper = PyObject_CallFunctionObjArgs(sip.wrapinstance, address.ptr(), sip.wx_object, nullptr);
    if (!wrapper)
        throw py::error_already_set();
    py::object result = py::reinterpret_steal<py::object>(wrapper);
    auto* window = dynamic_cast<wxWindow*>(object);
    if (window && !tracked().count(object)) {
        py::object created = py::reinterpret_steal<py::object>(PyObject_CallOneArg(sip.ispycreated, wrapper));
        if (!created)
            throw py::error_already_set();
        if (!PyObject_IsTrue(created.ptr())) {
            tracked().insert(object);
            window->AddNode(new WrapperTracker(object, wrapper));
            const auto cls = classes().find(std::type_index(typeid(*object)));
            if (cls != classes().end())
                result.attr("__class__") = cls->second;
        }
    }
    return result;
}

void register_class(const std::type_info& type, py::object cls)
{
    classes()[std::type_index(type)] = std::move(cls);
}

wxColour colour_of(py::handle value)
{
    if (value.is_none())
        return wxNullColour;
    py::object colour = py::reinterpret_borrow<py::object>(value);
    if (!PyObject_IsInstance(value.ptr(), sip.wx_colour))
        colour = py::reinterpret_borrow<py::object>(sip.wx_colour)(value);
    auto* c = dynamic_cast<wxColour*>(unwrap(colour));
    if (!c)
        throw py::type_error("a colour must be a wx.Colour");
    return *c;
}

}  // namespace ovk_python
