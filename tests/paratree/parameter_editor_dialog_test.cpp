#include "wxtools/paratree/parameter_editor_dialog.h"

#include "platform/paratree/invalid_name_characters.h"
#include "wxtools/paratree/description_editor_dialog.h"
#include "wxtools/paratree/parameter_scalar_attribute_editor_dialog.h"

#include "wxtools/testing/dialog_script.h"
#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using ovk_paratree::Parameter;
using Value = ovk_paratree::Value;
using ScalarEditor = ParameterScalarAttributeEditorDialog;

namespace {

std::shared_ptr<Parameter> sample()
{
    auto parameter = std::make_shared<Parameter>();
    parameter->set("gain", 3);
    parameter->set("offset", 1.0);
    parameter->set("enabled", true);
    parameter->set("unit", "mV");
    parameter->set("steps", Value::parse(R"([1, 2.5, "x"])"));
    parameter->set("limits", Value::parse(R"({"low": -1, "high": null})"));
    parameter->set_description("en_US", "Input stage");
    return parameter;
}

std::vector<wxString> column(wxGrid* grid, int col)
{
    std::vector<wxString> cells;
    for (int row = 0; row < grid->GetNumberRows(); ++row)
        cells.push_back(grid->GetCellValue(row, col));
    return cells;
}

void select_rows(wxGrid* grid, std::initializer_list<int> rows)
{
    grid->ClearSelection();
    for (int row : rows)
        grid->SelectRow(row, true);
}

}  // namespace

TEST(ParameterEditor, WithoutParameterEditsANewEmptyOne)
{
    ParameterEditorDialog dialog(nullptr, "fresh");
    ASSERT_TRUE(dialog.parameter());
    EXPECT_TRUE(dialog.parameter()->empty());
    EXPECT_EQ(dialog.ui_name->GetValue(), "fresh");
    EXPECT_EQ(dialog.ui_description->GetValue(), "");
    EXPECT_EQ(dialog.ui_attributes->GetNumberRows(), 0);
    EXPECT_EQ(dialog.ui_attributes->GetSelectionMode(), wxGrid::wxGridSelectRows);
}

TEST(ParameterEditor, ShowsEveryAttributeInOrderWithItsDisplayText)
{
    auto parameter = sample();
    parameter->set("nothing", nullptr);
    ParameterEditorDialog dialog(nullptr, "input", parameter);
    EXPECT_EQ(dialog.parameter(), parameter);
    EXPECT_EQ(dialog.ui_description->GetValue(), "Input stage");
    EXPECT_EQ(column(dialog.ui_attributes, 0),
              (std::vector<wxString>{"gain", "offset", "enabled", "unit", "steps", "limits", "nothing"}));
    EXPECT_EQ(column(dialog.ui_attributes, 1),
              (std::vector<wxString>{"3", "1.0", "True", "mV", "[1, 2.5, 'x']", "{'low': -1, 'high': None}",
                                     "None"}));
}

TEST(ParameterEditor, RowButtonsFollowTheSelection)
{
    ParameterEditorDialog dialog(nullptr, "input", sample());
    auto enabled = [&] {
        return std::vector<bool>{dialog.ui_edit_button->IsEnabled(), dialog.ui_rename_button->IsEnabled(),
                                 dialog.ui_delete_button->IsEnabled()};
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false}));
    select_rows(dialog.ui_attributes, {1, 3});
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true}));
    dialog.ui_attributes->ClearSelection();
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false}));
}

TEST(ParameterEditor, AddAsksTheNameThenTheValueAndAppendsARow)
{
    ParameterEditorDialog dialog(nullptr, "input", sample());
    dialogs().answer_text("scale");
    dialogs().inside_as<ScalarEditor>([](ScalarEditor& editor) {
        EXPECT_EQ(editor.ui_name->GetValue(), "scale");
        EXPECT_FALSE(editor.value.has_value());
        select(editor.ui_type, 1);
        type_into(editor.ui_value(), "0.1");
        click(editor.ui_ok_button);
    });
    send_command(dialog.ui_add_button, wxEVT_BUTTON);
    EXPECT_EQ(dialogs().shown().front().message, "Please input your preferred attribute name.");
    EXPECT_EQ(dialog.parameter()->get("scale"), Value(0.1));
    EXPECT_EQ(dialog.parameter()->names().back(), "scale");
    ASSERT_EQ(dialog.ui_attributes->GetNumberRows(), 7);
    EXPECT_EQ(dialog.ui_attributes->GetCellValue(6, 0), "scale");
    EXPECT_EQ(dialog.ui_attributes->GetCellValue(6, 1), "0.1");
}

TEST(ParameterEditor, AddRefusesEmptyInvalidAndExistingNamesWithoutOpeningTheEditor)
{
    auto parameter = sample();
    ParameterEditorDialog dialog(nullptr, "input", parameter);
    const wxString invalid_chars = wxString::FromUTF8(ovk_paratree::InvalidNameCharacters.to_string());
    struct Case {
        wxString name;
        wxString message;
    } cases[] = {
        {"", "Attribute name could not be empty."},
        {"a/b", "Attribute name `a/b` is invalid. It may be has invalid characters: `" + invalid_chars + "`."},
        {"..", "Attribute name `..` is invalid. It may be has invalid characters: `" + invalid_chars + "`."},
        {"gain", "Attribute name `gain` already exists.\nPlease choose another one."},
    };
    for (const Case& c : cases) {
        dialogs().reset();
        dialogs().answer_text(c.name);
        dialogs().answer(wxID_OK);
        send_command(dialog.ui_add_button, wxEVT_BUTTON);
        ASSERT_EQ(dialogs().shown().size(), 2u) << c.name;
        EXPECT_EQ(dialogs().last().message, c.message);
        EXPECT_EQ(dialogs().last().caption, "Error");
    }
    EXPECT_EQ(parameter->size(), 6u);
    EXPECT_EQ(parameter->get("gain"), Value(3));
    EXPECT_EQ(dialog.ui_attributes->GetNumberRows(), 6);
}

TEST(ParameterEditor, CancelledNameOrValueAddsNothing)
{
    auto parameter = sample();
    ParameterEditorDialog dialog(nullptr, "input", parameter);
    dialogs().answer_text("new", wxID_CANCEL);
    send_command(dialog.ui_add_button, wxEVT_BUTTON);

    // A name of blanks is not empty: it goes on to the value editor, cancelled here.
    dialogs().answer_text("  ");
    dialogs().inside([](wxDialog& editor) { editor.EndModal(wxID_CANCEL); });
    send_command(dialog.ui_add_button, wxEVT_BUTTON);
    EXPECT_EQ(parameter->size(), 6u);
    EXPECT_FALSE(parameter->contains("  "));
    EXPECT_EQ(dialog.ui_attributes->GetNumberRows(), 6);
}

TEST(ParameterEditor, EditingABooleanToFalseShowsFalse)
{
    auto parameter = sample();
    ParameterEditorDialog dialog(nullptr, "input", parameter);
    select_rows(dialog.ui_attributes, {2});
    dialogs().inside_as<ScalarEditor>([](ScalarEditor& editor) {
        EXPECT_EQ(editor.ui_name->GetValue(), "enabled");
        EXPECT_EQ(editor.ui_type->GetSelection(), 3);
        EXPECT_EQ(editor.ui_bool_value->GetSelection(), 0);
        select(editor.ui_bool_value, 1);
        click(editor.ui_ok_button);
    });
    send_command(dialog.ui_edit_button, wxEVT_BUTTON);
    EXPECT_EQ(parameter->get("enabled"), Value(false));
    EXPECT_EQ(dialog.ui_attributes->GetCellValue(2, 1), "False");
    EXPECT_EQ(parameter->names()[2], "enabled");
}

TEST(ParameterEditor, AttributeSetToNullCanBeEditedAgain)
{
    auto parameter = sample();
    ParameterEditorDialog dialog(nullptr, "input", parameter);
    for (const wxString text : {"null", "[null, 1]"}) {
        select_rows(dialog.ui_attributes, {0});
        dialogs().inside_as<ScalarEditor>([text](ScalarEditor& editor) {
            select(editor.ui_type, 4);
            type_into(editor.ui_value(), text);
            click(editor.ui_ok_button);
        });
        send_command(dialog.ui_edit_button, wxEVT_BUTTON);
    }
    EXPECT_EQ(parameter->get("gain"), Value::parse("[null, 1]"));
    EXPECT_EQ(dialog.ui_attributes->GetCellValue(0, 1), "[None, 1]");
    EXPECT_TRUE(dialogs().shown().empty());
}

TEST(ParameterEditor, EditWithTwoRowsGivesANoticeAndCancelledEditorChangesNothing)
{
    auto parameter = sample();
    ParameterEditorDialog dialog(nullptr, "input", parameter);
    select_rows(dialog.ui_attributes, {0, 1});
    dialogs().answer(wxID_OK);
    send_command(dialog.ui_edit_button, wxEVT_BUTTON);
    EXPECT_EQ(dialogs().last().message, "Only one attribute could be edited one time.");
    EXPECT_EQ(dialogs().last().caption, "Info");

    select_rows(dialog.ui_attributes, {3});
    dialogs().inside_as<ScalarEditor>([](ScalarEditor& editor) {
        type_into(editor.ui_value(), "V");
        click(editor.ui_cancel_button);
    });
    send_command(dialog.ui_edit_button, wxEVT_BUTTON);
    EXPECT_EQ(parameter->get("unit"), Value("mV"));
    EXPECT_EQ(dialog.ui_attributes->GetCellValue(3, 1), "mV");
}

TEST(ParameterEditor, DeleteAsksAboutThisOneItemOrTheseItems)
{
    auto parameter = sample();
    ParameterEditorDialog dialog(nullptr, "input", parameter);
    dialogs().answer(wxID_OK);
    send_command(dialog.ui_delete_button, wxEVT_BUTTON);
    EXPECT_EQ(dialogs().last().message, "Please select the items you want to delete...");

    select_rows(dialog.ui_attributes, {4});
    dialogs().answer(wxID_NO);
    send_command(dialog.ui_delete_button, wxEVT_BUTTON);
    EXPECT_EQ(dialogs().last().message, "Do you really want to delete this 1 item?");
    EXPECT_EQ(dialogs().last().caption, "Confirm");

    select_rows(dialog.ui_attributes, {0, 2, 4});
    dialogs().answer(wxID_NO);
    send_command(dialog.ui_delete_button, wxEVT_BUTTON);
    EXPECT_EQ(dialogs().last().message, "Do you really want to delete these 3 items?");
    EXPECT_EQ(parameter->size(), 6u);
    EXPECT_EQ(dialog.ui_attributes->GetNumberRows(), 6);
}

TEST(ParameterEditor, DeleteRemovesExactlyTheSelectedRowsWhicheverOrderTheyWereSelectedIn)
{
    for (auto order : {std::initializer_list<int>{2, 5}, std::initializer_list<int>{5, 2}}) {
        auto parameter = sample();
        ParameterEditorDialog dialog(nullptr, "input", parameter);
        select_rows(dialog.ui_attributes, order);
        dialogs().answer(wxID_YES);
        send_command(dialog.ui_delete_button, wxEVT_BUTTON);
        EXPECT_EQ(parameter->names(), (std::vector<std::string>{"gain", "offset", "unit", "steps"}));
        EXPECT_EQ(column(dialog.ui_attributes, 0), (std::vector<wxString>{"gain", "offset", "unit", "steps"}));
        EXPECT_EQ(column(dialog.ui_attributes, 1), (std::vector<wxString>{"3", "1.0", "mV", "[1, 2.5, 'x']"}));
        EXPECT_FALSE(dialog.ui_delete_button->IsEnabled());
        dialogs().reset();
    }
}

TEST(ParameterEditor, DescriptionShownAgainAfterTheDescriptionEditorEvenWhenCancelled)
{
    auto parameter = sample();
    ParameterEditorDialog dialog(nullptr, "input", parameter);
    dialogs().inside_as<DescriptionEditorDialog>([](DescriptionEditorDialog& editor) {
        editor.ui_descriptions->SelectRow(0);
        dialogs().answer_text("Output stage");
        click(editor.ui_edit_button);
        editor.EndModal(wxID_CANCEL);
    });
    send_command(dialog.ui_descriptions_button, wxEVT_BUTTON);
    EXPECT_EQ(parameter->get_description("en_US"), "Output stage");
    EXPECT_EQ(dialog.ui_description->GetValue(), "Output stage");
}

TEST(ParameterEditor, ModelErrorsAreShownNotThrown)
{
    auto parameter = sample();
    ParameterEditorDialog dialog(nullptr, "input", parameter);
    // The attribute in row 0 went away behind the dialog's back.
    parameter->remove("gain");
    select_rows(dialog.ui_attributes, {0});
    dialogs().answer(wxID_OK);
    send_command(dialog.ui_edit_button, wxEVT_BUTTON);
    EXPECT_EQ(dialogs().last().kind, DialogKind::Message);
    EXPECT_EQ(dialogs().last().caption, "Error");
    EXPECT_FALSE(dialogs().last().message.empty());
    EXPECT_EQ(parameter->size(), 5u);
}

// The name and description are shown, never typed into, and look it.
TEST(ParameterEditor, NameAndDescriptionLookReadOnly)
{
    ParameterEditorDialog dialog(nullptr, wxString::FromUTF8("增益"), sample());
    wxTextCtrl editable(&dialog, wxID_ANY);
    for (wxTextCtrl* field : {dialog.ui_name, dialog.ui_description}) {
        EXPECT_FALSE(field->IsEditable());
        EXPECT_NE(field->GetBackgroundColour(), editable.GetBackgroundColour());
    }
}
