#include "platform/paratreeui/description_editor_dialog.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ovk_wxtest;

namespace {

struct Recorder : ovk_paratreeui::DescriptionEditorDialog {
    Recorder() : DescriptionEditorDialog(nullptr) {}
    std::vector<std::string> calls;
    void on_edit(wxCommandEvent&) override { calls.push_back("edit"); }
    void on_select_changed(wxGridRangeSelectEvent&) override { calls.push_back("select"); }
};

}  // namespace

TEST(DescriptionEditorLayout, TwoReadOnlyColumnsAndDisabledButtons)
{
    ovk_paratreeui::DescriptionEditorDialog dialog(nullptr);
    EXPECT_EQ(dialog.ui_descriptions->GetNumberCols(), 2);
    EXPECT_EQ(dialog.ui_descriptions->GetNumberRows(), 0);
    EXPECT_FALSE(dialog.ui_descriptions->IsEditable());
    EXPECT_FALSE(dialog.ui_edit_button->IsEnabled());
    EXPECT_FALSE(dialog.ui_delete_button->IsEnabled());
    EXPECT_EQ(run_modal(dialog, [&] { click(dialog.ui_close_button); }), wxID_OK);
}

TEST(DescriptionEditorLayout, CallsItsHandlersByName)
{
    Recorder dialog;
    dialog.ui_descriptions->AppendRows(2);
    dialog.ui_descriptions->SelectRow(1);
    click(dialog.ui_edit_button);
    ASSERT_FALSE(dialog.calls.empty());
    EXPECT_EQ(dialog.calls.front(), "select");
    EXPECT_EQ(dialog.calls.back(), "edit");
}
