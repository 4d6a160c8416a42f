#pragma once
// A library class deriving from a wx class becomes a Python subclass of the
// matching wxPython class: what Python gets is the real wx object (Show,
// ShowModal, Destroy, Bind, sizers all work) whose class adds the library's
// own methods and public members. Constructing it builds the C++ object,
// wraps it and gives the wrapper the subclass; Python never owns the window.
#include "callbacks.h"
#include "wx_bridge.h"
#include <pybind11/pybind11.h>
#include <wx/app.h>
#include <functional>
#include <type_traits>
#include <utility>

namespace ovk_python {

namespace wx_class_detail {
template <class S>
struct signature;
template <class R, class... A>
struct signature<std::function<R(A...)>> {
    // `f` run under a DirectCall, with a pending wx assertion raised after it.
    template <class F>
    static auto checked(F f)
    {
        return [f = std::move(f)](A... args) -> R {
            DirectCall direct;
            if constexpr (std::is_void_v<R>) {
                f(std::forward<A>(args)...);
                raise_pending();
            } else {
                R result = f(std::forward<A>(args)...);
                raise_pending();
                return result;
            }
        };
    }
};
}  // namespace wx_class_detail

// `f` (a lambda or function) with its errors and wx's pending assertions
// raised to the Python caller.
template <class F>
auto checked(F f)
{
    using S = decltype(std::function(f));
    return wx_class_detail::signature<S>::checked(std::move(f));
}

// Refuses to build a window before the wx.App exists, as wxPython does.
void require_app();

// The wxPython class at dotted `path` below wx ("Dialog", "grid.Grid").
py::object wx_class(const char* path);

template <class T>
class WxClass {
public:
    WxClass(py::module_& module, const char* name, const char* wx_base, const char* doc)
    {
        py::dict namespace_;
        namespace_["__module__"] = module.attr("__name__");
        namespace_["__doc__"] = doc;
        cls_ = py::reinterpret_borrow<py::object>(reinterpret_cast<PyObject*>(&PyType_Type))(
            name, py::make_tuple(wx_class(wx_base)), namespace_);
        module.attr(name) = cls_;
        register_class(typeid(T), cls_);
        // The C++ object is complete when __new__ returns.
        cls_.attr("__init__") = py::cpp_function([](py::object, py::args, py::kwargs) {}, py::is_method(cls_));
    }

    // Construction from `make(args...)`, which answers the new T*.
    template <class... A, class F, class... Extra>
    WxClass& init(F make, const Extra&... extra)
    {
        auto create = [make = std::move(make)](py::object cls, A... args) -> py::object {
            require_app();
            T* object;
            {
                DirectCall direct;
                object = make(std::forward<A>(args)...);
            }
            py::object self = wrap(object);
            raise_pending();
            self.attr("__class__") = cls;
            return self;
        };
        cls_.attr("__new__") = py::staticmethod(py::cpp_function(create, py::name("__new__"), py::arg("cls"), extra...));
        return *this;
    }

    template <class F, class... Extra>
    WxClass& def(const char* name, F f, const Extra&... extra)
    {
        cls_.attr(name) = py::cpp_function(checked(std::move(f)), py::name(name), py::is_method(cls_),
                                           py::sibling(py::getattr(cls_, name, py::none())), extra...);
        return *this;
    }

    template <class F, class... Extra>
    WxClass& def_static(const char* name, F f, const Extra&... extra)
    {
        cls_.attr(name) = py::staticmethod(py::cpp_function(checked(std::move(f)), py::name(name), extra...));
        return *this;
    }

    // A read-only property from `get(self)`.
    template <class F>
    WxClass& def_property_readonly(const char* name, F get)
    {
        cls_.attr(name) = property()(py::cpp_function(std::move(get), py::is_method(cls_)));
        return *this;
    }
    // A read-write property from `get(self)` and `set(self, value)`.
    template <class G, class S>
    WxClass& def_property(const char* name, G get, S set)
    {
        cls_.attr(name) = property()(py::cpp_function(std::move(get), py::is_method(cls_)),
                                     py::cpp_function(checked(std::move(set)), py::is_method(cls_)));
        return *this;
    }
    // A public member: a window pointer, a number, a text.
    template <class M, class C>
    WxClass& def_readonly(const char* name, M C::*member)
    {
        static_assert(std::is_base_of_v<C, T>);
        return def_property_readonly(name, [member](T* self) { return self->*member; });
    }

    // ShowModal with the GIL released; a callback's error ends the run and is raised after it.
    WxClass& def_show_modal()
    {
        return def("ShowModal", [](T* self) { return show_modal(self); });
    }

    const py::object& cls() const { return cls_; }

private:
    static py::object property() { return py::module_::import("builtins").attr("property"); }
    py::object cls_;
};

}  // namespace ovk_python
