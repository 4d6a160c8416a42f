#include "wxtools/paratree/description_editor_dialog.h"

#include "wxtools/testing/dialog_script.h"
#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using ovk_paratree::Parameter;

namespace {

std::shared_ptr<Parameter> described()
{
    auto parameter = std::make_shared<Parameter>();
    parameter->set_description("en_US", "Gain of the input stage");
    parameter->set_description("zh_CN", "输入级增益");
    parameter->set_description("de_DE", "");
    return parameter;
}

void select_rows(wxGrid* grid, std::initializer_list<int> rows)
{
    grid->ClearSelection();
    for (int row : rows)
        grid->SelectRow(row, true);
}

}  // namespace

TEST(DescriptionEditor, ListsEveryLocaleInTheParametersOrder)
{
    DescriptionEditorDialog dialog(nullptr, described());
    wxGrid* grid = dialog.ui_descriptions;
    EXPECT_EQ(grid->GetSelectionMode(), wxGrid::wxGridSelectRows);
    ASSERT_EQ(grid->GetNumberRows(), 3);
    EXPECT_EQ(grid->GetCellValue(0, 0), "en_US");
    EXPECT_EQ(grid->GetCellValue(0, 1), "Gain of the input stage");
    EXPECT_EQ(grid->GetCellValue(1, 0), "zh_CN");
    EXPECT_EQ(grid->GetCellValue(1, 1), wxString::FromUTF8("输入级增益"));
    EXPECT_EQ(grid->GetCellValue(2, 0), "de_DE");
    EXPECT_EQ(grid->GetCellValue(2, 1), "");
    EXPECT_FALSE(dialog.ui_edit_button->IsEnabled());
    EXPECT_FALSE(dialog.ui_delete_button->IsEnabled());
}

TEST(DescriptionEditor, EditButtonNeedsExactlyOneRowAndDeleteAtLeastOne)
{
    DescriptionEditorDialog dialog(nullptr, described());
    select_rows(dialog.ui_descriptions, {1});
    EXPECT_TRUE(dialog.ui_edit_button->IsEnabled());
    EXPECT_TRUE(dialog.ui_delete_button->IsEnabled());
    select_rows(dialog.ui_descriptions, {0, 2});
    EXPECT_FALSE(dialog.ui_edit_button->IsEnabled());
    EXPECT_TRUE(dialog.ui_delete_button->IsEnabled());
    dialog.ui_descriptions->ClearSelection();
    EXPECT_FALSE(dialog.ui_edit_button->IsEnabled());
    EXPECT_FALSE(dialog.ui_delete_button->IsEnabled());
}

TEST(DescriptionEditor, ConfirmedTextIsStoredAtOnceAsTypedAndCancelDoesNotUndoIt)
{
    auto parameter = described();
    DescriptionEditorDialog dialog(nullptr, parameter);
    EXPECT_EQ(run_modal(dialog, [&] {
        select_rows(dialog.ui_descriptions, {1});
        dialogs().answer_text(wxString::FromUTF8("  新的描述 "));
        click(dialog.ui_edit_button);
        EXPECT_EQ(parameter->get_description("zh_CN"), "  新的描述 ");
        dialog.EndModal(wxID_CANCEL);
    }), wxID_CANCEL);
    const ShownDialog& asked = dialogs().last();
    EXPECT_EQ(asked.kind, DialogKind::TextEntry);
    EXPECT_EQ(asked.message, "Please input description for local `zh_CN`.");
    EXPECT_EQ(asked.caption, "Input Dialog");
    EXPECT_EQ(asked.value, wxString::FromUTF8("输入级增益"));
    EXPECT_EQ(parameter->get_description("zh_CN"), "  新的描述 ");
    EXPECT_EQ(dialog.ui_descriptions->GetCellValue(1, 1), wxString::FromUTF8("  新的描述 "));
    EXPECT_EQ(parameter->get_description("en_US"), "Gain of the input stage");
}

TEST(DescriptionEditor, EmptyAndUnchangedTextsAreStoredToo)
{
    auto parameter = described();
    DescriptionEditorDialog dialog(nullptr, parameter);
    dialogs().answer_text("");
    dialog._edit_row(0);
    EXPECT_EQ(parameter->get_description("en_US"), "");
    EXPECT_EQ(dialog.ui_descriptions->GetCellValue(0, 1), "");

    // The default text confirmed as it stands comes back unchanged.
    dialogs().answer_text("Gain (dB)");
    dialog._edit_row(0);
    dialogs().answer_text("Gain (dB)");
    dialog._edit_row(0);
    EXPECT_EQ(dialogs().last().value, "Gain (dB)");
    EXPECT_EQ(parameter->get_description("en_US"), "Gain (dB)");
    EXPECT_EQ(parameter->all_descriptions().size(), 3u);
}

TEST(DescriptionEditor, CancelledInputChangesNothing)
{
    auto parameter = described();
    DescriptionEditorDialog dialog(nullptr, parameter);
    select_rows(dialog.ui_descriptions, {0});
    dialogs().answer_text("ignored", wxID_CANCEL);
    send_command(dialog.ui_edit_button, wxEVT_BUTTON);
    EXPECT_EQ(parameter->get_description("en_US"), "Gain of the input stage");
    EXPECT_EQ(dialog.ui_descriptions->GetCellValue(0, 1), "Gain of the input stage");
}

TEST(DescriptionEditor, TwoSelectedRowsGiveANoticeAndNoRowGivesNothing)
{
    auto parameter = described();
    DescriptionEditorDialog dialog(nullptr, parameter);
    select_rows(dialog.ui_descriptions, {0, 1});
    dialogs().answer(wxID_OK);
    send_command(dialog.ui_edit_button, wxEVT_BUTTON);
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(dialogs().last().message, "Only one description could be edited at one time.");
    EXPECT_EQ(dialogs().last().caption, "Info");

    dialog.ui_descriptions->ClearSelection();
    send_command(dialog.ui_edit_button, wxEVT_BUTTON);
    EXPECT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(parameter->get_description("en_US"), "Gain of the input stage");
    EXPECT_EQ(parameter->get_description("zh_CN"), "输入级增益");
}

TEST(DescriptionEditor, ParameterWithoutDescriptionsGivesAnEmptyGrid)
{
    auto parameter = std::make_shared<Parameter>();
    for (const auto& [locale, text] : parameter->all_descriptions())
        parameter->remove_description(locale);
    DescriptionEditorDialog dialog(nullptr, parameter);
    EXPECT_EQ(dialog.ui_descriptions->GetNumberRows(), 0);
}
