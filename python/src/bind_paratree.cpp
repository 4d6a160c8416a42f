// The parameter-tree model with native Python values: directories and books
// are ordered mappings of their children, parameters ordered mappings of their
// attribute values (int, float, str, bool, None, list, dict); paths are str or
// os.PathLike and come back as pathlib.Path.
#include "bindings.h"
#include "paratree_value.h"
#include "wx_bridge.h"
#include "platform/paratree/paratree.h"
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>
#include <climits>
#include <memory>
#include <string>

namespace ovk_python {
using namespace ovk_paratree;

// ---- attribute values ----

py::object to_python(const Value& value)
{
    switch (value.type()) {
    case Value::value_t::null: return py::none();
    case Value::value_t::boolean: return py::bool_(value.get<bool>());
    case Value::value_t::number_integer: return py::int_(value.get<std::int64_t>());
    case Value::value_t::number_unsigned: return py::int_(value.get<std::uint64_t>());
    case Value::value_t::number_float: return py::float_(value.get<double>());
    case Value::value_t::string: return py::str(value.get_ref<const std::string&>());
    case Value::value_t::array: {
        py::list items;
        for (const Value& item : value)
            items.append(to_python(item));
        return items;
    }
    case Value::value_t::object: {
        py::dict items;
        for (const auto& [key, item] : value.items())
            items[py::str(key)] = to_python(item);
        return items;
    }
    default: throw py::type_error("a parameter value holds binary data, which Python is not given");
    }
}

Value value_of(py::handle value)
{
    PyObject* o = value.ptr();
    if (o == Py_None)
        return nullptr;
    if (PyBool_Check(o))
        return o == Py_True;
    if (PyLong_Check(o)) {
        int overflow = 0;
        const long long n = PyLong_AsLongLongAndOverflow(o, &overflow);
        if (!overflow)
            return static_cast<std::int64_t>(n);
        const unsigned long long u = PyLong_AsUnsignedLongLong(o);
        if (PyErr_Occurred()) {
            PyErr_Clear();
            throw py::value_error("an integer attribute value must fit in 64 bits");
        }
        return static_cast<std::uint64_t>(u);
    }
    if (PyFloat_Check(o))
        return PyFloat_AsDouble(o);
    if (PyUnicode_Check(o))
        return value.cast<std::string>();
    if (PyList_Check(o) || PyTuple_Check(o)) {
        Value items = Value::array();
        for (py::handle item : value)
            items.push_back(value_of(item));
        return items;
    }
    if (PyDict_Check(o)) {
        Value items = Value::object();
        for (auto [key, item] : py::reinterpret_borrow<py::dict>(value)) {
            if (!PyUnicode_Check(key.ptr()))
                throw py::type_error("the keys of a mapping attribute value must be str");
            items[key.cast<std::string>()] = value_of(item);
        }
        return items;
    }
    throw py::type_error(std::string("an attribute value must be int, float, str, bool, None, list or dict, not ") +
                         Py_TYPE(o)->tp_name);
}

namespace {

using Entity = std::shared_ptr<ParaTreeEntity>;

// ---- the mapping protocol shared by the three classes ----

[[noreturn]] void missing(const std::string& name)
{
    throw py::key_error(name);
}

// __getitem__, __setitem__, __delitem__, __contains__, __len__, __iter__,
// keys, values, items and get over C's name-keyed children.
template <class C, class Cls, class Get, class Set>
void def_mapping(Cls& c, Get get, Set set)
{
    c.def("__getitem__", [get](C& self, const std::string& name) -> py::object {
         if (!self.contains(name))
             missing(name);
         return get(self, name);
     })
        .def("__setitem__", set)
        .def("__delitem__", [](C& self, const std::string& name) {
            if (!self.remove(name))
                missing(name);
        })
        .def("__contains__", [](C& self, py::handle name) {
            return PyUnicode_Check(name.ptr()) && self.contains(name.cast<std::string>());
        })
        .def("__len__", &C::size)
        .def("__iter__", [](C& self) { return py::iter(py::cast(self.names())); })
        .def("keys", &C::names)
        .def("names", &C::names)
        .def("values", [get](C& self) {
            py::list values;
            for (const std::string& name : self.names())
                values.append(get(self, name));
            return values;
        })
        .def("items", [get](C& self) {
            py::list items;
            for (const std::string& name : self.names())
                items.append(py::make_tuple(name, get(self, name)));
            return items;
        })
        .def("get", [get](C& self, const std::string& name, py::object fallback) {
            return self.contains(name) ? get(self, name) : fallback;
        }, py::arg("name"), py::arg("default") = py::none())
        .def("contains", &C::contains, py::arg("name"))
        .def("remove", &C::remove, py::arg("name"))
        .def("size", &C::size)
        .def("empty", &C::empty)
        .def("class_name", &C::class_name)
        .def("modified", &C::modified, "Changed since last loaded from or saved to its own place.")
        .def("clone", &C::clone, "A deep copy.");
}

void bind_parameter(py::module_& m)
{
    py::class_<ParaTreeEntity, Entity>(m, "ParaTreeEntity", "Base of Parameter, ParameterBook and ParameterDirectory.");
    py::class_<Parameter, ParaTreeEntity, std::shared_ptr<Parameter>> c(
        m, "Parameter",
        "Named attribute values in order (a mapping of int, float, str, bool, None, list and dict) "
        "and one description per locale.");
    c.def(py::init([](py::object attributes, py::object descriptions) {
              auto p = std::make_shared<Parameter>();
              if (!attributes.is_none())
                  for (auto [name, value] : py::dict(attributes))
                      p->set(name.cast<std::string>(), value_of(value));
              if (!descriptions.is_none())
                  for (auto [locale, text] : py::dict(descriptions))
                      p->set_description(locale.cast<std::string>(), text.cast<std::string>());
              return p;
          }),
          py::arg("attributes") = py::none(), py::arg("descriptions") = py::none());
    def_mapping<Parameter>(
        c, [](Parameter& self, const std::string& name) { return to_python(self.get(name)); },
        [](Parameter& self, const std::string& name, py::handle value) { self.set(name, value_of(value)); });
    c.def("set", [](Parameter& self, const std::string& name, py::handle value) { self.set(name, value_of(value)); },
          py::arg("name"), py::arg("value"))
        .def("description", py::overload_cast<>(&Parameter::description, py::const_),
             "The description in the current locale, falling back to en_US, then to any.")
        .def("set_description", py::overload_cast<const std::string&>(&Parameter::set_description), py::arg("text"))
        .def("set_description", py::overload_cast<const std::string&, const std::string&>(&Parameter::set_description),
             py::arg("locale"), py::arg("text"))
        .def_property_readonly("descriptions", [](Parameter& self) {
            py::dict all;
            for (const auto& [locale, text] : self.all_descriptions())
                all[py::str(locale)] = py::str(text);
            return all;
        }, "A copy of every (locale: text), in order.")
        .def("all_descriptions", &Parameter::all_descriptions)
        .def("get_description", &Parameter::get_description, py::arg("locale"))
        .def("has_description", &Parameter::has_description, py::arg("locale"))
        .def("remove_description", &Parameter::remove_description, py::arg("locale"))
        .def_static("default_locales", &Parameter::default_locales)
        .def_static("current_locale", &Parameter::current_locale)
        .def_static("set_current_locale", &Parameter::set_current_locale, py::arg("locale"))
        .def("to_dict", [](Parameter& self) { return to_python(self.attributes()); }, "The attributes as a new dict.");
}

void bind_book(py::module_& m)
{
    py::class_<ParameterBook, ParaTreeEntity, std::shared_ptr<ParameterBook>> c(
        m, "ParameterBook", "Named parameters in order, stored as one .pbook file.");
    c.def(py::init<>());
    auto set = [](ParameterBook& self, const std::string& name, std::shared_ptr<Parameter> parameter) {
        if (!parameter)
            throw py::type_error("a book holds Parameter objects");
        self.set(name, std::move(parameter));
    };
    def_mapping<ParameterBook>(
        c, [](ParameterBook& self, const std::string& name) { return py::cast(self.get(name)); }, set);
    c.def("set", set, py::arg("name"), py::arg("parameter"))
        .def_readonly_static("ExtName", &ParameterBook::ExtName)
        .def_static("load", &ParameterBook::load, py::arg("file"))
        .def("save", &ParameterBook::save, py::arg("file"))
        .def_static("from_text", &ParameterBook::from_text, py::arg("text"), py::arg("source") = "(text)")
        .def("to_text", &ParameterBook::to_text);
}

void bind_reports(py::module_& m)
{
    py::class_<LoadReport> load(m, "LoadReport", "What a load skipped: entries whose names no tree could have written.");
    py::class_<LoadReport::UnreadableBook>(load, "UnreadableBook", "A book file a tolerant load went on without.")
        .def_readonly("path", &LoadReport::UnreadableBook::path)
        .def_readonly("error", &LoadReport::UnreadableBook::error)
        .def_readonly("line", &LoadReport::UnreadableBook::line)
        .def_readonly("column", &LoadReport::UnreadableBook::column)
        .def("__repr__", [](const LoadReport::UnreadableBook& b) { return "<UnreadableBook " + b.path + ">"; });
    load.def(py::init<>())
        .def_readonly("skipped", &LoadReport::skipped)
        .def_readonly("unreadable", &LoadReport::unreadable)
        .def_readonly("pending", &LoadReport::pending,
                      "\"\" normally; else what an interrupted save left to do, and why it could not be done now.");
    py::class_<CheckReport>(m, "CheckReport", "What check() found in a folder, one line per problem.")
        .def(py::init<>())
        .def_readonly("problems", &CheckReport::problems)
        .def_property_readonly("ok", &CheckReport::ok, "True when there are no problems.")
        .def("__repr__", [](const CheckReport& r) {
            return "<CheckReport " + (r.ok() ? std::string("ok") : std::to_string(r.problems.size()) + " problems") + ">";
        });
    py::class_<SaveReport> save(m, "SaveReport", "What a save did besides writing the tree.");
    py::class_<SaveReport::Remained>(save, "Remained", "A deleted directory whose folder stayed.")
        .def_readonly("folder", &SaveReport::Remained::folder)
        .def_readonly("foreign", &SaveReport::Remained::foreign)
        .def("__repr__", [](const SaveReport::Remained& r) { return "<Remained " + r.folder + ">"; });
    save.def(py::init<>())
        .def_readonly("remained", &SaveReport::remained)
        .def_readonly("written", &SaveReport::written)
        .def_readonly("pending", &SaveReport::pending,
                      "\"\" normally; else what failed after the commit and is completed by the next load or save.")
        .def("message", &SaveReport::message);
    py::class_<SaveOptions>(m, "SaveOptions", "Choices for a save beyond the default behaviour.")
        .def(py::init([](bool overwrite) { return SaveOptions{overwrite}; }), py::kw_only(),
             py::arg("overwrite_changes_on_disk") = false)
        .def_readwrite("overwrite_changes_on_disk", &SaveOptions::overwrite_changes_on_disk);
    py::class_<LoadOptions>(m, "LoadOptions", "Choices for a load beyond the default behaviour.")
        .def(py::init([](bool tolerate) { return LoadOptions{tolerate}; }), py::kw_only(),
             py::arg("tolerate_unreadable_books") = false)
        .def_readwrite("tolerate_unreadable_books", &LoadOptions::tolerate_unreadable_books);
    py::class_<LoadResult>(m, "LoadResult", "A tree and what its load skipped; unpacks as (tree, report).")
        .def_readonly("tree", &LoadResult::tree)
        .def_readonly("report", &LoadResult::report)
        .def("__iter__", [](const LoadResult& r) { return py::iter(py::make_tuple(r.tree, r.report)); });
}

void bind_directory(py::module_& m)
{
    py::class_<ParameterDirectory, ParaTreeEntity, std::shared_ptr<ParameterDirectory>> c(
        m, "ParameterDirectory",
        "Named child directories and books in order, stored as a folder.");
    c.def(py::init<>());
    auto set = [](ParameterDirectory& self, const std::string& name, py::handle child) {
        if (!py::isinstance<ParameterDirectory>(child) && !py::isinstance<ParameterBook>(child))
            throw py::type_error("a directory holds ParameterDirectory and ParameterBook objects");
        self.set(name, child.cast<Entity>());
    };
    def_mapping<ParameterDirectory>(
        c, [](ParameterDirectory& self, const std::string& name) { return py::cast(self.get(name)); }, set);
    using release = py::call_guard<py::gil_scoped_release>;
    c.def("set", set, py::arg("name"), py::arg("child"))
        .def("get_directory", &ParameterDirectory::get_directory, py::arg("name"))
        .def("get_book", &ParameterDirectory::get_book, py::arg("name"))
        .def("clear", &ParameterDirectory::clear)
        .def("changed_on_disk", &ParameterDirectory::changed_on_disk)
        .def("set_home", &ParameterDirectory::set_home, py::arg("folder"))
        .def_static("load", &ParameterDirectory::load, py::arg("folder"), release())
        .def_static("load_with_report", &ParameterDirectory::load_with_report, py::arg("folder"), release())
        .def_static("load_with_options", &ParameterDirectory::load_with_options, py::arg("folder"), py::arg("options"),
                    release(), "load_with_report with the choices of a LoadOptions.")
        .def_static("check", &ParameterDirectory::check, py::arg("folder"), release(),
                    "Looks the tree stored in folder over, changing nothing; a CheckReport.")
        .def("save", [](ParameterDirectory& self, const std::filesystem::path& folder, std::optional<SaveOptions> options) {
                 py::gil_scoped_release unlocked;
                 return self.save(folder, options.value_or(SaveOptions{}));
             },
             py::arg("folder"), py::arg("options") = py::none());
    m.def("is_valid_name", [](const std::string& name) { return is_valid_name(name); }, py::arg("name"));
    m.def("why_invalid_name", [](const std::string& name) { return why_invalid_name(name); }, py::arg("name"),
          "Why name is not valid, as a phrase for messages; \"\" when it is.");
    py::enum_<StoredAs>(m, "StoredAs", "How a directory entry is stored: as a folder or as a book file.")
        .value("Folder", StoredAs::Folder)
        .value("BookFile", StoredAs::BookFile);
    m.def("is_valid_entry_name", [](const std::string& name, StoredAs as) { return is_valid_entry_name(name, as); },
          py::arg("name"), py::arg("stored_as"),
          "Whether name can name a directory (StoredAs.Folder) or a book (StoredAs.BookFile).");
    m.def("why_invalid_entry_name", [](const std::string& name, StoredAs as) { return why_invalid_entry_name(name, as); },
          py::arg("name"), py::arg("stored_as"), "Why name cannot name that entry; \"\" when it can.");
    m.attr("MaxFileNameBytes") = MaxFileNameBytes;
    m.attr("ReservedPrefix") = py::str(std::string(ReservedPrefix));
    std::string invalid;
    for (const std::string& ch : InvalidNameCharacters)
        invalid += ch;
    m.attr("InvalidNameCharacters") = py::str(invalid);
}

}  // namespace

void bind_paratree(py::module_& m)
{
    py::module_ tree = m.def_submodule("ovk_paratree", "The parameter-tree model.");
    static py::exception<ParaTreeError> error(tree, "ParaTreeError", PyExc_Exception);
    py::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown)
                std::rethrow_exception(thrown);
        } catch (const ParaTreeError& e) {
            // A message quoting a file's bytes still reaches Python whole.
            const std::string text = e.what();
            py::object message = py::reinterpret_steal<py::object>(
                PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace"));
            PyErr_SetObject(error.ptr(), message.ptr());
        }
    });
    bind_parameter(tree);
    bind_book(tree);
    bind_reports(tree);
    bind_directory(tree);
}

}  // namespace ovk_python
