#pragma once
// The dialog in which the user enters or changes one attribute value: an
// integer, a real number, a text, a boolean, or any JSON value.
#include "platform/paratreeui/scalar_editor_dialog.h"

#include <nlohmann/json.hpp>

#include <array>
#include <optional>

namespace ovk_wxtools {

class ParameterScalarAttributeEditorDialog : public ovk_paratreeui::ScalarEditorDialog {
public:
    using Value = nlohmann::ordered_json;

    // The scalar kinds in the order of the type choice's first four entries;
    // the entry after them (at ValueClasses.size()) is "json".
    static constexpr std::array<Value::value_t, 4> ValueClasses = {
        Value::value_t::number_integer, Value::value_t::number_float, Value::value_t::string,
        Value::value_t::boolean};

    // Opens on `value` when one is given: its type is selected and its text
    // filled in. Every JSON value opens (null and any list or mapping under
    // the JSON entry); a value that is not JSON (binary data) throws TypeError
    // "Unsupported attribute value type: <type>".
    ParameterScalarAttributeEditorDialog(wxWindow* parent, const wxString& name,
                                         std::optional<Value> value = std::nullopt);

    // The given value until OK succeeds, then the converted input.
    std::optional<Value> value;

    // Lists and mappings from now on on several lines, the given one moved
    // there at once; a JSON error names its line and column and puts the
    // caret there.
    void use_json_editor();

    bool type_is_bool() const;
    bool type_is_str() const;
    bool type_is_json() const;

    // The field the value is typed into: the single-line one, or the
    // multi-line one while the check box is ticked.
    wxTextCtrl* ui_value() const { return ui_value_; }

    void on_multiline_state_changed(wxCommandEvent& event) override;
    void on_type_changed(wxCommandEvent& event) override;
    void on_ok(wxCommandEvent& event) override;
    void on_multiline_state_changed();
    void on_type_changed();

private:
    // With use_json_editor, the JSON error's place in `text` (the field's
    // whole text), told and shown with the caret.
    void show_json_error_place(const std::string& text);

    wxTextCtrl* ui_value_;
    bool json_editor_ = false;
};

}  // namespace ovk_wxtools
