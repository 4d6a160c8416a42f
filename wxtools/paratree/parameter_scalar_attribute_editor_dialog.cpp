#include "wxtools/paratree/parameter_scalar_attribute_editor_dialog.h"

#include "wxtools/app/mb.h"
#include "wxtools/app/window_fit_layout.h"
#include "wxtools/errors.h"
#include "wxtools/text.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>
#include <utility>

namespace ovk_wxtools {
namespace {

using Value = ParameterScalarAttributeEditorDialog::Value;

constexpr int bool_position = 3;
constexpr int str_position = 2;
constexpr int json_position = static_cast<int>(ParameterScalarAttributeEditorDialog::ValueClasses.size());

int type_position(const Value& value)
{
    switch (value.type()) {
    case Value::value_t::number_integer:
    case Value::value_t::number_unsigned:
        return 0;
    case Value::value_t::number_float:
        return 1;
    case Value::value_t::string:
        return str_position;
    case Value::value_t::boolean:
        return bool_position;
    case Value::value_t::null:
    case Value::value_t::array:
    case Value::value_t::object:
        return json_position;
    case Value::value_t::binary:
    case Value::value_t::discarded:
        break;
    }
    throw TypeError(std::string("Unsupported attribute value type: ") + value.type_name());
}

wxString value_text(const Value& value)
{
    if (value.is_string())
        return from_utf8(value.get_ref<const std::string&>());
    // JSON has no form for infinities and nan; show them as the real-number
    // entry reads them rather than as null.
    if (value.is_number_float() && !std::isfinite(value.get<double>()))
        return format_real(value.get<double>());
    return from_utf8(value.dump(4, ' ', false));
}

}  // namespace

ParameterScalarAttributeEditorDialog::ParameterScalarAttributeEditorDialog(wxWindow* parent, const wxString& name,
                                                                           std::optional<Value> value)
    : ScalarEditorDialog(parent), ui_value_(ui_value_single_line)
{
    ui_name->SetValue(name);
    if (value) {
        const int position = type_position(*value);
        ui_type->SetSelection(position);
        const wxString text = value_text(*value);
        if (value->is_boolean()) {
            ui_bool_value->SetSelection(value->get<bool>() ? 0 : 1);
            CallAfter([this] { on_type_changed(); });
        }
        ui_value_->SetValue(text);
    }
    this->value = std::move(value);
    window_fit_layout(this);
}

void ParameterScalarAttributeEditorDialog::use_json_editor()
{
    json_editor_ = true;
    if (!type_is_json())
        return;
    ui_value_multiline->SetValue(ui_value_single_line->GetValue());
    ui_value_single_line->Clear();
    on_type_changed();
    ui_value_multiline->SetFocus();
}

namespace {

// The line and column (both from 1, the column in characters) of the
// character at `byte` (from 1) of UTF-8 `text`.
std::pair<std::size_t, std::size_t> line_and_column(const std::string& text, std::size_t byte)
{
    std::size_t line = 1;
    std::size_t column = 1;
    const std::size_t end = std::min(text.size(), byte > 0 ? byte - 1 : 0);
    for (std::size_t i = 0; i < end; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++column;  // a character's first byte
        }
    }
    return {line, column};
}

}  // namespace

void ParameterScalarAttributeEditorDialog::show_json_error_place(const std::string& text)
{
    try {
        [[maybe_unused]] const Value parsed = Value::parse(text);
    } catch (const nlohmann::json::parse_error& error) {
        const auto [line, column] = line_and_column(text, error.byte);
        // The library's text after its own position: what was wrong.
        const std::string what = error.what();
        const std::size_t colon = what.find(": ", what.find("parse error"));
        const std::string reason = colon == std::string::npos ? what : what.substr(colon + 2);
        MB::Error(wxS("Value format is invalid for JSON format. Please check what you input.\n") +
                  wxString::Format(wxS("Line %zu, column %zu: "), line, column) + from_utf8(reason));
        const long at = ui_value_->XYToPosition(static_cast<long>(column) - 1, static_cast<long>(line) - 1);
        ui_value_->SetFocus();
        if (at >= 0) {
            ui_value_->SetInsertionPoint(at);
            ui_value_->ShowPosition(at);
        }
        return;
    } catch (const nlohmann::json::exception&) {
    }
    MB::Error(wxS("Value format is invalid for JSON format. Please check what you input."));
}

bool ParameterScalarAttributeEditorDialog::type_is_bool() const
{
    return ui_type->GetSelection() == bool_position;
}

bool ParameterScalarAttributeEditorDialog::type_is_str() const
{
    return ui_type->GetSelection() == str_position;
}

bool ParameterScalarAttributeEditorDialog::type_is_json() const
{
    return ui_type->GetStringSelection() == wxS("json");
}

void ParameterScalarAttributeEditorDialog::on_multiline_state_changed(wxCommandEvent&)
{
    on_multiline_state_changed();
}

void ParameterScalarAttributeEditorDialog::on_type_changed(wxCommandEvent&)
{
    on_type_changed();
}

void ParameterScalarAttributeEditorDialog::on_multiline_state_changed()
{
    try {
        const bool multiline = ui_multiline_string->IsChecked();
        ui_value_multiline->Show(multiline);
        ui_value_single_line->Show(!multiline && !type_is_bool());
        ui_value_ = multiline ? ui_value_multiline : ui_value_single_line;
        window_fit_layout(this);
    } catch (const std::exception& error) {
        MB::Error(from_utf8(error.what()));
    }
}

void ParameterScalarAttributeEditorDialog::on_type_changed()
{
    try {
        ui_bool_value->Show(type_is_bool());
        if (type_is_json())
            ui_multiline_string->SetValue(true);
        else if (!type_is_str())
            ui_multiline_string->SetValue(false);
        ui_multiline_string->Show(type_is_str());
        on_multiline_state_changed();
        window_fit_layout(this);
    } catch (const std::exception& error) {
        MB::Error(from_utf8(error.what()));
    }
}

void ParameterScalarAttributeEditorDialog::on_ok(wxCommandEvent&)
{
    try {
        const int position = ui_type->GetSelection();
        const wxString text = strip_whitespace(ui_value_->GetValue());
        Value result;
        if (position == bool_position) {
            result = ui_bool_value->GetSelection() == 0;
        } else if (position < bool_position) {
            // wxNOT_FOUND cannot come from the user, whose choice always has an entry.
            try {
                if (position < 0) {
                    throw std::invalid_argument("no type chosen");
                } else if (position == 0) {
                    result = MB::ToInt(text);
                } else if (position == 1) {
                    const double number = MB::ToDouble(text);
                    // A stored parameter is JSON, which cannot hold inf or nan.
                    if (!std::isfinite(number))
                        throw std::invalid_argument("not a finite number");
                    result = number;
                } else {
                    result = text.utf8_string();
                }
            } catch (const std::exception&) {
                MB::Error(wxS("Value format is invalid for type `") + ui_type->GetStringSelection() +
                          wxS("`. Please check what you input."));
                return;
            }
        } else {
            try {
                result = Value::parse(text.utf8_string());
            } catch (const nlohmann::json::exception&) {
                if (json_editor_)
                    show_json_error_place(ui_value_->GetValue().utf8_string());
                else
                    MB::Error(wxS("Value format is invalid for JSON format. Please check what you input."));
                return;
            }
        }
        value = std::move(result);
        EndModal(wxID_OK);
    } catch (const std::exception& error) {
        MB::Error(from_utf8(error.what()));
    }
}

}  // namespace ovk_wxtools
