#include "wxtools/paratree/parameter_scalar_attribute_editor_dialog.h"

#include "wxtools/errors.h"

#include "wxtools/testing/dialog_script.h"
#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace std::chrono_literals;

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using Value = ParameterScalarAttributeEditorDialog::Value;
using Dialog = ParameterScalarAttributeEditorDialog;

namespace {

// Which of the value controls are shown, in a fixed order, for compact checks.
struct Shown {
    bool bool_choice, check_box, single_line, multiline;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& s)
{
    return out << "{bool " << s.bool_choice << ", check " << s.check_box << ", single " << s.single_line
               << ", multi " << s.multiline << "}";
}

Shown shown(const Dialog& d)
{
    return {d.ui_bool_value->IsShown(), d.ui_multiline_string->IsShown(), d.ui_value_single_line->IsShown(),
            d.ui_value_multiline->IsShown()};
}

// Chooses type `type`, types `text` into the current field and presses OK;
// when the dialog is still open afterwards it is cancelled. Returns the code.
// `refused` scripts the one error box that OK is expected to show.
int press_ok(Dialog& dialog, int type, const wxString& text, bool refused = false)
{
    dialogs().inside([&](wxDialog&) {
        select(dialog.ui_type, type);
        type_into(dialog.ui_value(), text);
        click(dialog.ui_ok_button);
        if (dialog.IsModal())
            dialog.EndModal(wxID_CANCEL);
    });
    if (refused)
        dialogs().answer(wxID_OK);
    return dialog.ShowModal();
}

}  // namespace

TEST(ScalarAttributeEditor, OpensOnEachScalarKindWithItsTypeAndText)
{
    struct Case {
        Value value;
        int type;
        wxString text;
    } cases[] = {
        {42, 0, "42"},
        {Value(std::uint64_t{18446744073709551615ULL}), 0, "18446744073709551615"},
        {1.5, 1, "1.5"},
        {1.0, 1, "1.0"},
        {"say \"hi\" ", 2, "say \"hi\" "},
        {std::string("温度"), 2, wxString::FromUTF8("温度")},
    };
    for (const Case& c : cases) {
        Dialog dialog(nullptr, "gain", c.value);
        EXPECT_EQ(dialog.ui_name->GetValue(), "gain");
        EXPECT_EQ(dialog.ui_type->GetSelection(), c.type) << c.value.dump();
        EXPECT_EQ(dialog.ui_value_single_line->GetValue(), c.text) << c.value.dump();
        EXPECT_EQ(dialog.ui_value(), dialog.ui_value_single_line);
        ASSERT_TRUE(dialog.value.has_value());
        EXPECT_EQ(*dialog.value, c.value);
    }
}

TEST(ScalarAttributeEditor, ListsMappingsAndNullOpenUnderJsonWithIndentedText)
{
    Dialog list(nullptr, "steps", Value::array({1, 2}));
    EXPECT_EQ(list.ui_type->GetSelection(), 4);
    EXPECT_TRUE(list.type_is_json());
    EXPECT_EQ(list.ui_value_single_line->GetValue(), "[\n    1,\n    2\n]");

    Value mapping = Value::object();
    mapping["名"] = Value::array({true, nullptr});
    Dialog map(nullptr, "m", mapping);
    EXPECT_EQ(map.ui_type->GetSelection(), 4);
    EXPECT_EQ(map.ui_value_single_line->GetValue(),
              wxString::FromUTF8("{\n    \"名\": [\n        true,\n        null\n    ]\n}"));

    // A null stored through the JSON entry opens again instead of being refused.
    Dialog null(nullptr, "n", Value(nullptr));
    EXPECT_EQ(null.ui_type->GetSelection(), 4);
    EXPECT_EQ(null.ui_value_single_line->GetValue(), "null");
    ASSERT_TRUE(null.value.has_value());
    EXPECT_TRUE(null.value->is_null());
}

TEST(ScalarAttributeEditor, BooleanShowsOnlyTheChoiceOnceThePostedRefreshRan)
{
    for (bool flag : {true, false}) {
        Dialog dialog(nullptr, "enabled", flag);
        EXPECT_EQ(dialog.ui_type->GetSelection(), 3);
        EXPECT_TRUE(dialog.type_is_bool());
        EXPECT_EQ(dialog.ui_bool_value->GetSelection(), flag ? 0 : 1);
        EXPECT_EQ(dialog.ui_value_single_line->GetValue(), flag ? "true" : "false");
        ASSERT_TRUE(wait_until([&] { return dialog.ui_bool_value->IsShown(); }, 3s));
        EXPECT_EQ(shown(dialog), (Shown{true, false, false, false}));
    }
}

TEST(ScalarAttributeEditor, WithoutValueKeepsTheLayoutAsItWasMade)
{
    Dialog dialog(nullptr, "fresh");
    EXPECT_FALSE(dialog.value.has_value());
    EXPECT_EQ(dialog.ui_type->GetSelection(), 0);
    EXPECT_EQ(dialog.ui_value_single_line->GetValue(), "");
    flush_events();
    EXPECT_EQ(shown(dialog), (Shown{false, false, true, false}));
    EXPECT_FALSE(dialog.ui_multiline_string->IsChecked());
}

TEST(ScalarAttributeEditor, BinaryDataIsRefusedWithTypeError)
{
    const Value binary = Value::binary({1, 2, 3});
    try {
        Dialog dialog(nullptr, "blob", binary);
        FAIL() << "opened on binary data";
    } catch (const TypeError& error) {
        EXPECT_STREQ(error.what(), "Unsupported attribute value type: binary");
    }
}

TEST(ScalarAttributeEditor, VisibilityFollowsTypeAndCheckBox)
{
    Dialog dialog(nullptr, "x");
    select(dialog.ui_type, 1);
    EXPECT_EQ(shown(dialog), (Shown{false, false, true, false}));
    select(dialog.ui_type, 2);
    EXPECT_EQ(shown(dialog), (Shown{false, true, true, false}));
    dialog.ui_multiline_string->SetValue(true);
    send_command(dialog.ui_multiline_string, wxEVT_CHECKBOX, 1);
    EXPECT_EQ(shown(dialog), (Shown{false, true, false, true}));
    EXPECT_EQ(dialog.ui_value(), dialog.ui_value_multiline);
    select(dialog.ui_type, 3);
    EXPECT_EQ(shown(dialog), (Shown{true, false, false, false}));
    EXPECT_FALSE(dialog.ui_multiline_string->IsChecked());
    select(dialog.ui_type, 4);
    EXPECT_EQ(shown(dialog), (Shown{false, false, false, true}));
    EXPECT_TRUE(dialog.ui_multiline_string->IsChecked());
    // Back to text: the tick JSON set stays, as a choice the user may keep.
    select(dialog.ui_type, 2);
    EXPECT_EQ(shown(dialog), (Shown{false, true, false, true}));
    select(dialog.ui_type, 0);
    EXPECT_EQ(shown(dialog), (Shown{false, false, true, false}));
    EXPECT_EQ(dialog.ui_value(), dialog.ui_value_single_line);
}

TEST(ScalarAttributeEditor, TypedTextStaysInItsOwnField)
{
    Dialog dialog(nullptr, "note", Value("one line"));
    dialog.ui_multiline_string->SetValue(true);
    send_command(dialog.ui_multiline_string, wxEVT_CHECKBOX, 1);
    EXPECT_EQ(dialog.ui_value()->GetValue(), "");
    type_into(dialog.ui_value(), "first\nsecond");
    dialog.ui_multiline_string->SetValue(false);
    send_command(dialog.ui_multiline_string, wxEVT_CHECKBOX, 0);
    EXPECT_EQ(dialog.ui_value()->GetValue(), "one line");
    EXPECT_EQ(dialog.ui_value_multiline->GetValue(), "first\nsecond");
}

TEST(ScalarAttributeEditor, BadNumbersAreRefusedNamingTheTypeAndTheDialogStaysOpen)
{
    struct Case {
        int type;
        wxString text;
        wxString label;
    } cases[] = {{0, "1.5", "integer"}, {0, "", "integer"}, {0, "12abc", "integer"},
                 {1, "one", "real number"}, {1, "inf", "real number"}, {1, "nan", "real number"}};
    for (const Case& c : cases) {
        Dialog dialog(nullptr, "gain", Value(7));
        EXPECT_EQ(press_ok(dialog, c.type, c.text, true), wxID_CANCEL) << c.text;
        EXPECT_EQ(dialogs().last().message,
                  "Value format is invalid for type `" + c.label + "`. Please check what you input.");
        EXPECT_EQ(dialogs().last().caption, "Error");
        EXPECT_EQ(*dialog.value, Value(7));
        dialogs().reset();
    }
}

TEST(ScalarAttributeEditor, OkConvertsByTheChosenType)
{
    struct Case {
        int type;
        wxString text;
        Value expected;
    } cases[] = {
        {0, " -17 ", -17},
        {1, "1.5", 1.5},
        {1, "2", 2.0},
        {1, "1e-05", 1e-05},
        {2, "  padded\t", "padded"},
        {2, "", ""},
        {4, wxString::FromUTF8(" {\"a\": [1, null], \"b\": \"温\"} "), Value::parse("{\"a\": [1, null], \"b\": \"温\"}")},
        {4, "null", nullptr},
        {4, "3", 3},
    };
    for (const Case& c : cases) {
        Dialog dialog(nullptr, "v");
        EXPECT_EQ(press_ok(dialog, c.type, c.text), wxID_OK) << c.text;
        ASSERT_TRUE(dialog.value.has_value());
        EXPECT_EQ(*dialog.value, c.expected) << c.text;
        // 2 and 2.0 compare equal; the kind must match too (signedness aside).
        EXPECT_EQ(dialog.value->is_number_float(), c.expected.is_number_float()) << c.text;
        EXPECT_EQ(dialog.value->is_number_integer(), c.expected.is_number_integer()) << c.text;
    }
    EXPECT_TRUE(dialogs().shown().empty());
}

TEST(ScalarAttributeEditor, JsonThatDoesNotParseIsRefused)
{
    for (const wxString text : {"", "[1, 2", "{'a': 1}"}) {
        Dialog dialog(nullptr, "j", Value::array({1}));
        EXPECT_EQ(press_ok(dialog, 4, text, true), wxID_CANCEL);
        EXPECT_EQ(dialogs().last().message, "Value format is invalid for JSON format. Please check what you input.");
        EXPECT_EQ(*dialog.value, Value::array({1}));
        dialogs().reset();
    }
}

TEST(ScalarAttributeEditor, BooleanIgnoresTheTextFields)
{
    Dialog dialog(nullptr, "flag", Value("not a flag"));
    EXPECT_EQ(run_modal(dialog, [&] {
        select(dialog.ui_type, 3);
        select(dialog.ui_bool_value, 1);
        click(dialog.ui_ok_button);
    }), wxID_OK);
    EXPECT_EQ(*dialog.value, Value(false));

    Dialog again(nullptr, "flag", Value(false));
    EXPECT_EQ(run_modal(again, [&] {
        wait_until([&] { return again.ui_bool_value->IsShown(); }, 3s);
        again.ui_value_multiline->SetValue("garbage");
        select(again.ui_bool_value, 0);
        click(again.ui_ok_button);
    }), wxID_OK);
    EXPECT_EQ(*again.value, Value(true));
}

TEST(ScalarAttributeEditor, CancelKeepsTheGivenValue)
{
    Dialog dialog(nullptr, "v", Value(3));
    EXPECT_EQ(run_modal(dialog, [&] {
        type_into(dialog.ui_value(), "4");
        click(dialog.ui_cancel_button);
    }), wxID_CANCEL);
    EXPECT_EQ(*dialog.value, Value(3));
}

// With the JSON editor a list opens on several lines, and a mistake in it is
// pointed at by its line and column, the caret put there.
TEST(ScalarAttributeEditor, JsonEditorNamesTheErrorsLineAndColumn)
{
    Dialog dialog(nullptr, wxString::FromUTF8("范围"), Value::parse(R"(["低",2])"));
    dialog.use_json_editor();
    EXPECT_EQ(dialog.ui_value(), dialog.ui_value_multiline);
    EXPECT_EQ(dialog.ui_value_multiline->GetValue(), wxString::FromUTF8("[\n    \"低\",\n    2\n]"));
    long column = 0, line = 0;
    dialogs().inside([&](wxDialog&) {
        type_into(dialog.ui_value(), wxString::FromUTF8("[\n  \"低\", 2,,\n]"));
        click(dialog.ui_ok_button);
        dialog.ui_value()->PositionToXY(dialog.ui_value()->GetInsertionPoint(), &column, &line);
        dialog.EndModal(wxID_CANCEL);
    });
    dialogs().answer(wxID_OK);
    EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL);
    EXPECT_TRUE(dialogs().last().message.StartsWith(
        "Value format is invalid for JSON format. Please check what you input.\nLine 2, column 10: "))
        << dialogs().last().message;
    EXPECT_EQ(line, 1);
    EXPECT_EQ(column, 9);
}
