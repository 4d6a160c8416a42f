#pragma once
// How wx objects and texts cross between wxPython and the library.
//
// wx objects cross through wxPython's own sip module: unwrapinstance gives
// the C++ address behind a wxPython object, wrapinstance the wxPython object
// (of the most-derived class wxPython knows) for an address. An argument is
// checked with RTTI, so a wrong object is refused instead of misused. A window
// the library made and handed to Python has its wrapper marked deleted when
// it dies, so that a later call raises RuntimeError instead of crashing.
//
// Text crosses as UTF-8 both ways, whatever the C locale says.
#include <pybind11/pybind11.h>
#include <wx/colour.h>
#include <wx/ctrlsub.h>
#include <wx/object.h>
#include <wx/string.h>
#include <type_traits>
#include <typeinfo>

namespace ovk_python {
namespace py = pybind11;

// Imports wx and its sip module, and refuses (ImportError naming both) a wx
// of another version than the one this module was built against.
void init_bridge();

// The wx object behind `obj`, or nullptr when `obj` is not a wx.Object.
// A wrapper whose object was deleted raises RuntimeError.
wxObject* unwrap(py::handle obj);

// The wxPython object for `object`; None for nullptr. Windows that Python
// did not create are tracked (see above).
py::object wrap(wxObject* object);

// Makes wrap() hand out objects of the C++ class `type` that Python did not
// create as instances of `cls` (the library's Python subclass of the wx class).
void register_class(const std::type_info& type, py::object cls);

// wrap() for pointers to library classes and mix-ins (wxItemContainer).
template <class T>
py::object wrap_any(T* object)
{
    if constexpr (std::is_base_of_v<wxObject, T>)
        return wrap(object);
    else
        return wrap(dynamic_cast<wxObject*>(object));
}

// The wx.Colour of a value wx.Colour accepts (a wx.Colour, a name, a tuple);
// None gives wxNullColour.
wxColour colour_of(py::handle value);

}  // namespace ovk_python

namespace pybind11::detail {

template <class T>
inline constexpr bool ovk_wx_pointee =
    std::is_base_of_v<wxObject, T> || std::is_same_v<T, wxItemContainer>;

// Any wx object or wxItemContainer, taken from and handed to wxPython. None
// stands for nullptr; a wx object of another class does not match.
template <class T>
struct type_caster<T, std::enable_if_t<ovk_wx_pointee<T>>> {
    T* value = nullptr;
    static constexpr auto name = const_name("wx.Object");

    bool load(handle src, bool)
    {
        if (src.is_none()) {
            value = nullptr;
            return true;
        }
        wxObject* object = ovk_python::unwrap(src);
        value = object ? dynamic_cast<T*>(object) : nullptr;
        return value != nullptr;
    }
    static handle cast(const T* src, return_value_policy, handle)
    {
        return ovk_python::wrap_any(const_cast<T*>(src)).release();
    }
    static handle cast(const T& src, return_value_policy policy, handle parent)
    {
        return cast(&src, policy, parent);
    }
    operator T*() { return value; }
    operator T&()
    {
        if (!value)
            throw reference_cast_error();
        return *value;
    }
    template <class U>
    using cast_op_type = pybind11::detail::cast_op_type<U>;
};

// str <-> wxString, as UTF-8.
template <>
struct type_caster<wxString> {
    PYBIND11_TYPE_CASTER(wxString, const_name("str"));

    bool load(handle src, bool)
    {
        if (!src || !PyUnicode_Check(src.ptr()))
            return false;
        Py_ssize_t size = 0;
        const char* text = PyUnicode_AsUTF8AndSize(src.ptr(), &size);
        if (!text) {
            PyErr_Clear();
            return false;
        }
        value = wxString::FromUTF8(text, static_cast<size_t>(size));
        return true;
    }
    static handle cast(const wxString& src, return_value_policy, handle)
    {
        const wxScopedCharBuffer text = src.utf8_str();
        PyObject* result = PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.length()), "replace");
        if (!result)
            throw error_already_set();
        return result;
    }
};

}  // namespace pybind11::detail
