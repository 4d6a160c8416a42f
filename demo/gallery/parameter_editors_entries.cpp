// Gallery entries for the parameter editor and the attribute value editor.
#include "demo/gallery/gallery.h"

#include "wxtools/wxtools.h"

using namespace ovk_wxtools;
using ovk_paratree::Parameter;
using ovk_paratree::Value;

namespace ovk_gallery {
namespace {

// A parameter as a test bench might keep one: a value of every kind and
// descriptions in both default locales.
std::shared_ptr<Parameter> sample_parameter()
{
    auto parameter = std::make_shared<Parameter>();
    parameter->set("channel", 3);
    parameter->set("gain", 1.0);
    parameter->set("offset_mV", -0.25);
    parameter->set("enabled", true);
    parameter->set("unit", "mV");
    parameter->set("sample_rates", Value::parse("[1000, 2000, 5000.5]"));
    parameter->set("limits", Value::parse(R"({"low": -10, "high": 10, "mode": "clamp", "note": null})"));
    parameter->set_description("en_US", "Input channel of the front amplifier");
    parameter->set_description("zh_CN", "前置放大器输入通道");
    return parameter;
}

// Opens the attribute editor on `value` and tells what it gave back.
void edit_value(wxWindow* parent, const wxString& name, std::optional<Value> value)
{
    ParameterScalarAttributeEditorDialog editor(parent, name, std::move(value));
    if (editor.ShowModal() == wxID_OK && editor.value)
        MB::Notice("New value of `" + name + "`: " + value_display_text(*editor.value) + " (stored as " +
                   from_utf8(editor.value->dump(-1, ' ', false)) + ")");
}

GalleryEntry parameter_editor{"Parameter tree", "ParameterEditorDialog", [](wxWindow* parent) {
    auto parameter = sample_parameter();
    ParameterEditorDialog editor(parent, "amplifier_input", parameter);
    const int code = editor.ShowModal();
    wxString attributes;
    for (const auto& [name, value] : parameter->items())
        attributes += "\n" + from_utf8(name) + " = " + value_display_text(value);
    MB::Notice(wxString(code == wxID_OK ? "Closed with OK." : "Closed with Cancel.") +
               " The parameter now holds:" + attributes);
}};

GalleryEntry new_parameter{"Parameter tree", "ParameterEditorDialog (new parameter)", [](wxWindow* parent) {
    ParameterEditorDialog editor(parent, "new_parameter");
    if (editor.ShowModal() == wxID_OK)
        MB::Notice(wxString::Format("The new parameter has %zu attributes.", editor.parameter()->size()));
}};

GalleryEntry descriptions{"Parameter tree", "DescriptionEditorDialog", [](wxWindow* parent) {
    auto parameter = sample_parameter();
    {
        DescriptionEditorDialog editor(parent, parameter);
        editor.ShowModal();
    }
    wxString texts;
    for (const auto& [locale, text] : parameter->all_descriptions())
        texts += "\n" + from_utf8(locale) + ": " + from_utf8(text);
    MB::Notice("Descriptions now:" + texts);
}};

GalleryEntry value_integer{"Parameter tree", "Attribute editor (integer)",
                           [](wxWindow* parent) { edit_value(parent, "channel", Value(3)); }};
GalleryEntry value_real{"Parameter tree", "Attribute editor (real number)",
                        [](wxWindow* parent) { edit_value(parent, "gain", Value(1.0)); }};
GalleryEntry value_text{"Parameter tree", "Attribute editor (text)", [](wxWindow* parent) {
    edit_value(parent, "unit", Value(std::string("毫伏 (mV)")));
}};
GalleryEntry value_boolean{"Parameter tree", "Attribute editor (boolean)",
                           [](wxWindow* parent) { edit_value(parent, "enabled", Value(true)); }};
GalleryEntry value_list{"Parameter tree", "Attribute editor (list)", [](wxWindow* parent) {
    edit_value(parent, "sample_rates", Value::parse("[1000, 2000, 5000.5]"));
}};
GalleryEntry value_mapping{"Parameter tree", "Attribute editor (mapping)", [](wxWindow* parent) {
    edit_value(parent, "limits", Value::parse(R"({"low": -10, "high": 10, "mode": "clamp"})"));
}};
GalleryEntry value_null{"Parameter tree", "Attribute editor (null)",
                        [](wxWindow* parent) { edit_value(parent, "note", Value(nullptr)); }};
GalleryEntry value_new{"Parameter tree", "Attribute editor (new value)",
                       [](wxWindow* parent) { edit_value(parent, "new_attribute", std::nullopt); }};

}  // namespace
}  // namespace ovk_gallery
