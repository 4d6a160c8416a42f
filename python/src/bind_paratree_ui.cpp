// The parameter-tree editor's windows: the editor panel (a wx.Panel), the
// dialog around it, the parameter editor and the copy dialog. Their commands
// may ask questions in message boxes, so they run with the GIL released.
#include "bindings.h"
#include "paratree_value.h"
#include "wx_class.h"
#include "wxtools/paratree/description_editor_dialog.h"
#include "wxtools/paratree/name_rule.h"
#include "wxtools/paratree/parameter_scalar_attribute_editor_dialog.h"
#include "wxtools/paratree/value_display_text.h"
#include "wxtools/paratree/para_tree_copy_dialog.h"
#include "wxtools/paratree/parameter_editor_dialog.h"
#include "wxtools/paratree/parameter_tree_dialog.h"
#include "wxtools/paratree/parameter_tree_editor_panel.h"
#include <pybind11/stl.h>
#include <wx/checkbox.h>
#include <wx/grid.h>
#include <wx/statline.h>
#include <wx/treectrl.h>
#include <memory>

namespace ovk_python {
namespace {

using namespace ovk_wxtools;
using ovk_paratree::ParameterDirectory;
using ovk_paratree::StoredAs;
using Options = ParameterTreeEditorOptions;

// `call(self)` with the GIL released: the panel's commands show message boxes.
template <class T, class F>
auto released(F call)
{
    return [call](T* self) {
        using R = decltype(call(self));
        if constexpr (std::is_void_v<R>) {
            {
                py::gil_scoped_release release;
                call(self);
            }
            raise_pending();
        } else {
            R answer;
            {
                py::gil_scoped_release release;
                answer = call(self);
            }
            raise_pending();
            return answer;
        }
    };
}

void bind_options(py::module_& m)
{
    py::class_<Options> o(m, "ParameterTreeEditorOptions", "What the tree editor offers beyond its plain form; all off by default.");
    o.def(py::init([](py::kwargs fields) {
         Options options;
         py::object self = py::cast(options);
         for (auto [name, value] : fields) {
             if (!py::hasattr(self, name))
                 throw py::type_error("ParameterTreeEditorOptions has no option " + name.cast<std::string>());
             self.attr(name) = value;
         }
         return self.cast<Options>();
     }))
        .def_static("all", &Options::all, "Everything on; the locale stays to be chosen.");
#define OVK_OPTION(field) o.def_readwrite(#field, &Options::field)
    OVK_OPTION(value_column);
    OVK_OPTION(unsaved_guard);
    OVK_OPTION(check_disk_before_save);
    OVK_OPTION(rename);
    OVK_OPTION(find);
    OVK_OPTION(keyboard);
    OVK_OPTION(cancel_restores);
    OVK_OPTION(description_locale);
    OVK_OPTION(save_notice_as_event);
    OVK_OPTION(resizable_dialog);
    OVK_OPTION(chooser_at_tree_folder);
    OVK_OPTION(json_editor);
    OVK_OPTION(tolerate_unreadable_books);
#undef OVK_OPTION
    m.attr("wxEVT_PARAMETER_TREE_MODIFIED") = static_cast<int>(EVT_PARAMETER_TREE_MODIFIED);
    m.attr("wxEVT_PARAMETER_TREE_LOADED") = static_cast<int>(EVT_PARAMETER_TREE_LOADED);
    m.attr("wxEVT_PARAMETER_TREE_EDITED") = static_cast<int>(EVT_PARAMETER_TREE_EDITED);
    m.attr("wxEVT_PARAMETER_TREE_SAVED") = static_cast<int>(EVT_PARAMETER_TREE_SAVED);
    m.attr("wxEVT_PARAMETER_TREE_FOUND") = static_cast<int>(EVT_PARAMETER_TREE_FOUND);
}

// A wx.TreeItemId as the C++ one it stands for.
wxTreeItemId tree_item(py::handle item)
{
    if (!py::isinstance(item, wx_class("TreeItemId")))
        throw py::type_error("a tree item is a wx.TreeItemId");
    const py::object id = item.attr("GetID")();
    return id.is_none() ? wxTreeItemId() : wxTreeItemId(reinterpret_cast<void*>(py::int_(id).cast<std::uintptr_t>()));
}

void bind_panel_commands(WxClass<ParameterTreeEditorPanel>& c)
{
    using Panel = ParameterTreeEditorPanel;
    c.def("modified", [](Panel* self) { return self->modified(); })
        .def("options", [](Panel* self) { return self->options(); })
        .def("confirm_discard_changes", [](Panel* self, const wxString& doing) {
                 py::gil_scoped_release release;
                 return self->confirm_discard_changes(doing);
             }, py::arg("doing"))
        .def("load", released<Panel>([](Panel* self) { self->load(); }))
        .def("save", released<Panel>([](Panel* self) { return self->save(); }))
        .def("save_to", released<Panel>([](Panel* self) { self->save_to(); }))
        .def("load_directory", [](Panel* self, const wxString& directory) {
                 py::gil_scoped_release release;
                 self->load_directory(directory);
             }, py::arg("directory"))
        .def("counts", [](Panel* self) {
            const auto n = self->counts();
            return py::dict(py::arg("directories") = n.directories, py::arg("books") = n.books,
                            py::arg("parameters") = n.parameters, py::arg("unreadable_books") = n.unreadable_books);
        })
        .def("find", [](Panel* self, const wxString& text) { self->find(text); }, py::arg("text"))
        .def("find_matches", [](Panel* self) {
            py::list matches;
            for (const auto& match : self->find_matches())
                matches.append(py::make_tuple(self->ui_tree->GetItemText(match.item), match.parameter));
            return matches;
        }, "(tree item text, parameter name or '') of each match.")
        .def("find_next", [](Panel* self) { return self->find_next(); })
        .def("item_object", [](Panel* self, py::handle item) { return self->item_object(tree_item(item)); },
             py::arg("item"), "The directory, book or None behind a tree item.")
        .def("_construct_tree_branch", [](Panel* self, std::shared_ptr<ParameterDirectory> directory, py::handle item) {
                 if (!directory)
                     throw py::type_error("_construct_tree_branch needs a ParameterDirectory");
                 self->_construct_tree_branch(directory, tree_item(item));
             },
             py::arg("parameter_directory"), py::arg("ui_item_id"))
        .def("_show_parameters_of_book", [](Panel* self, std::shared_ptr<ovk_paratree::ParameterBook> book) {
                 if (!book)
                     throw py::type_error("_show_parameters_of_book needs a ParameterBook");
                 self->_show_parameters_of_book(*book);
             },
             py::arg("book"))
        .def("rename_tree_item", released<Panel>([](Panel* self) { self->rename_tree_item(); }))
        .def("rename_parameter", released<Panel>([](Panel* self) { self->rename_parameter(); }))
        .def("view_parameter", released<Panel>([](Panel* self) { self->view_parameter(); }))
        .def("set_description_locale", [](Panel* self, const std::string& l) { self->set_description_locale(l); },
             py::arg("locale"))
        .def("description_locales", [](Panel* self) { return self->description_locales(); })
        .def_static("is_valid_name", [](const wxString& name) { return Panel::is_valid_name(name); }, py::arg("name"))
        .def("_refresh_tree_view", [](Panel* self) { self->_refresh_tree_view(); })
        .def_property("root", [](Panel* self) { return self->root; },
                      [](Panel* self, std::shared_ptr<ParameterDirectory> root) {
                          self->root = std::move(root);
                          self->_refresh_tree_view();
                      })
        .def_property("root_path", [](Panel* self) { return self->root_path; },
                      [](Panel* self, const wxString& path) { self->root_path = path; });
}

void bind_panel(py::module_& m)
{
    using Panel = ParameterTreeEditorPanel;
    WxClass<Panel> c(m, "ParameterTreeEditorPanel", "Panel", "The parameter tree editor's working surface.");
    c.init<wxWindow*, const wxString&, std::shared_ptr<ParameterDirectory>, std::optional<Options>>(
        [](wxWindow* parent, const wxString& path, std::shared_ptr<ParameterDirectory> tree,
           std::optional<Options> options) {
            return new Panel(parent, path, std::move(tree), options.value_or(Options{}));
        },
        py::arg("parent"), py::arg("path") = wxString(), py::arg("parameter_directory") = py::none(),
        py::arg("options") = py::none());
    bind_panel_commands(c);
    c.def_readonly("ui_tree_path", &Panel::ui_tree_path)
        .def_readonly("ui_load_button", &Panel::ui_load_button)
        .def_readonly("ui_save_button", &Panel::ui_save_button)
        .def_readonly("ui_save_to_button", &Panel::ui_save_to_button)
        .def_readonly("ui_tree", &Panel::ui_tree)
        .def_readonly("ui_add_directory_button", &Panel::ui_add_directory_button)
        .def_readonly("ui_add_book_button", &Panel::ui_add_book_button)
        .def_readonly("ui_copy_tree_item_button", &Panel::ui_copy_tree_item_button)
        .def_readonly("ui_delete_tree_item_button", &Panel::ui_delete_tree_item_button)
        .def_readonly("ui_book", &Panel::ui_book)
        .def_readonly("ui_add_parameter_button", &Panel::ui_add_parameter_button)
        .def_readonly("ui_edit_parameter_button", &Panel::ui_edit_parameter_button)
        .def_readonly("ui_rename_parameter_button", &Panel::ui_rename_parameter_button)
        .def_readonly("ui_view_parameter_button", &Panel::ui_view_parameter_button)
        .def_readonly("ui_copy_parameter_button", &Panel::ui_copy_parameter_button)
        .def_readonly("ui_delete_parameter_button", &Panel::ui_delete_parameter_button)
        .def_readonly("ui_tree_path_label", &Panel::ui_tree_path_label);
    c.cls().attr("_ImageDirectory") = Panel::_ImageDirectory;
    c.cls().attr("_ImageBook") = Panel::_ImageBook;
    c.cls().attr("_ValueColumn") = Panel::_ValueColumn;

    WxClass<ParameterTreeDialog>(m, "ParameterTreeDialog", "Dialog", "The whole parameter tree editor in a dialog.")
        .init<wxWindow*, const wxString&, std::optional<Options>>(
            [](wxWindow* parent, const wxString& path, std::optional<Options> options) {
                return new ParameterTreeDialog(parent, path, options.value_or(Options{}));
            },
            py::arg("parent"), py::arg("path") = wxString(), py::arg("options") = py::none())
        .def_show_modal()
        .def("panel", [](ParameterTreeDialog* self) { return self->panel(); });
}

void bind_editor_dialogs(py::module_& m)
{
    using ovk_paratree::Parameter;
    WxClass<ParameterEditorDialog>(m, "ParameterEditorDialog", "Dialog",
                                   "Edits one parameter's attributes and descriptions; changes reach it at once.")
        .init<wxWindow*, const wxString&, std::shared_ptr<Parameter>>(
            [](wxWindow* parent, const wxString& name, std::shared_ptr<Parameter> parameter) {
                return new ParameterEditorDialog(parent, name, std::move(parameter));
            },
            py::arg("parent"), py::arg("name"), py::arg("parameter") = py::none())
        .def_show_modal()
        .def("parameter", [](ParameterEditorDialog* self) { return self->parameter(); })
        .def("set_read_only", [](ParameterEditorDialog* self) { self->set_read_only(); })
        .def("use_keyboard", [](ParameterEditorDialog* self) { self->use_keyboard(); })
        .def("use_json_editor", [](ParameterEditorDialog* self) { self->use_json_editor(); })
        .def_readonly("ui_name", &ParameterEditorDialog::ui_name)
        .def_readonly("ui_description", &ParameterEditorDialog::ui_description)
        .def_readonly("ui_descriptions_button", &ParameterEditorDialog::ui_descriptions_button)
        .def_readonly("ui_attributes", &ParameterEditorDialog::ui_attributes)
        .def_readonly("ui_add_button", &ParameterEditorDialog::ui_add_button)
        .def_readonly("ui_edit_button", &ParameterEditorDialog::ui_edit_button)
        .def_readonly("ui_delete_button", &ParameterEditorDialog::ui_delete_button)
        .def_readonly("ui_ok_button", &ParameterEditorDialog::ui_ok_button)
        .def_readonly("ui_cancel_button", &ParameterEditorDialog::ui_cancel_button)
        .def_readonly("ui_rename_button", &ParameterEditorDialog::ui_rename_button)
        .def_readonly("m_name_label", &ParameterEditorDialog::m_name_label)
        .def_readonly("m_description_label", &ParameterEditorDialog::m_description_label)
        .def_readonly("m_attributes_label", &ParameterEditorDialog::m_attributes_label);

    WxClass<ParaTreeCopyDialog>(m, "ParaTreeCopyDialog", "Dialog",
                                "Copies a parameter, book or directory to a place on disk outside the tree.")
        .init<wxWindow*, std::vector<wxString>, std::shared_ptr<ovk_paratree::ParaTreeEntity>>(
            [](wxWindow* parent, std::vector<wxString> para_path, std::shared_ptr<ovk_paratree::ParaTreeEntity> para) {
                return new ParaTreeCopyDialog(parent, para_path, std::move(para));
            },
            py::arg("parent"), py::arg("para_path"), py::arg("para"))
        .def_show_modal()
        .def_readonly("ui_source", &ParaTreeCopyDialog::ui_source)
        .def_readonly("ui_type", &ParaTreeCopyDialog::ui_type)
        .def_readonly("ui_target_path", &ParaTreeCopyDialog::ui_target_path)
        .def_readonly("ui_browse_button", &ParaTreeCopyDialog::ui_browse_button)
        .def_readonly("ui_rename", &ParaTreeCopyDialog::ui_rename)
        .def_readonly("ui_overwrite", &ParaTreeCopyDialog::ui_overwrite)
        .def_readonly("ui_confirm", &ParaTreeCopyDialog::ui_confirm)
        .def_readonly("ui_cancel", &ParaTreeCopyDialog::ui_cancel)
        .def_readonly("m_source_label", &ParaTreeCopyDialog::m_source_label)
        .def_readonly("m_type_label", &ParaTreeCopyDialog::m_type_label)
        .def_readonly("m_target_label", &ParaTreeCopyDialog::m_target_label)
        .def_readonly("m_rename_label", &ParaTreeCopyDialog::m_rename_label);
}

void bind_value_dialogs(py::module_& m)
{
    using ovk_paratree::Parameter;
    WxClass<DescriptionEditorDialog>(m, "DescriptionEditorDialog", "Dialog", "Edits a parameter's description per locale.")
        .init<wxWindow*, std::shared_ptr<Parameter>>(
            [](wxWindow* parent, std::shared_ptr<Parameter> parameter) {
                if (!parameter)
                    throw py::type_error("DescriptionEditorDialog needs a Parameter");
                return new DescriptionEditorDialog(parent, std::move(parameter));
            },
            py::arg("parent"), py::arg("parameter"))
        .def_show_modal()
        .def("_edit_row", [](DescriptionEditorDialog* self, int row) {
            py::gil_scoped_release release;
            self->_edit_row(row);
        }, py::arg("row"))
        .def_readonly("ui_descriptions", &DescriptionEditorDialog::ui_descriptions)
        .def_readonly("ui_close_button", &DescriptionEditorDialog::ui_close_button);

    using Scalar = ParameterScalarAttributeEditorDialog;
    WxClass<Scalar>(m, "ParameterScalarAttributeEditorDialog", "Dialog", "Edits one attribute value with its type.")
        .init<wxWindow*, const wxString&, py::object>(
            [](wxWindow* parent, const wxString& name, py::object value) {
                std::optional<ovk_paratree::Value> start;
                if (!value.is(py::ellipsis()))
                    start = value_of(value);
                return new Scalar(parent, name, std::move(start));
            },
            py::arg("parent"), py::arg("name"), py::arg("value") = py::ellipsis())
        .def_show_modal()
        .def_property_readonly("value", [](Scalar* self) -> py::object {
            if (!self->value)
                return py::ellipsis();
            return to_python(*self->value);
        })
        .def("type_is_bool", [](Scalar* self) { return self->type_is_bool(); })
        .def("type_is_str", [](Scalar* self) { return self->type_is_str(); })
        .def("type_is_json", [](Scalar* self) { return self->type_is_json(); })
        .def("use_json_editor", [](Scalar* self) { self->use_json_editor(); })
        .def_readonly("ui_value_single_line", &Scalar::ui_value_single_line)
        .def_readonly("ui_value_multiline", &Scalar::ui_value_multiline)
        .def_readonly("ui_bool_value", &Scalar::ui_bool_value)
        .def_readonly("ui_multiline_string", &Scalar::ui_multiline_string)
        .def_readonly("m_name_label", &Scalar::m_name_label)
        .def_readonly("m_type_label", &Scalar::m_type_label)
        .def_readonly("m_value_label", &Scalar::m_value_label)
        .def("ui_value", [](Scalar* self) { return self->ui_value(); });

    m.def("value_display_text", [](py::handle value) { return value_display_text(value_of(value)); }, py::arg("value"));
    m.def("value_json_text", [](py::handle value) { return value_json_text(value_of(value)); }, py::arg("value"),
          "A value as the book file writes it: a str as it is, anything else as compact JSON.");
    m.def("parameter_value_text", [](const std::shared_ptr<Parameter>& p, std::size_t max) {
        if (!p)
            throw py::type_error("parameter_value_text needs a Parameter");
        return parameter_value_text(*p, max);
    }, py::arg("parameter"), py::arg("max") = kParameterValueTextMax);
    m.attr("kParameterValueTextMax") = kParameterValueTextMax;
    m.def("invalid_name_message", [](const wxString& word, const wxString& name, std::optional<StoredAs> as) {
        return invalid_name_message(word, name, as);
    }, py::arg("word"), py::arg("name"), py::arg("stored_as") = py::none(),
       "The message telling the user why name is refused; word starts it (\"Book\", \"Directory\").");
}

}  // namespace

void bind_paratree_ui(py::module_& m)
{
    bind_options(m);
    bind_panel(m);
    bind_editor_dialogs(m);
    bind_value_dialogs(m);
}

}  // namespace ovk_python
