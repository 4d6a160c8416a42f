#include "platform/paratreeui/parameter_editor_dialog.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ovk_wxtest;

namespace {

struct Recorder : ovk_paratreeui::ParameterEditorDialog {
    Recorder() : ParameterEditorDialog(nullptr) {}
    std::vector<std::string> calls;
    void on_select_attribute(wxGridRangeSelectEvent&) override { calls.push_back("select"); }
    void on_add(wxCommandEvent&) override { calls.push_back("add"); }
    void on_edit(wxCommandEvent&) override { calls.push_back("edit"); }
    void on_edit_descriptions(wxCommandEvent&) override { calls.push_back("descriptions"); }
    void on_delete(wxCommandEvent&) override { calls.push_back("delete"); }
};

}  // namespace

TEST(ParameterEditorLayout, ReadOnlyFieldsTwoColumnsAndDisabledRowButtons)
{
    ovk_paratreeui::ParameterEditorDialog dialog(nullptr);
    EXPECT_FALSE(dialog.ui_name->IsEditable());
    EXPECT_FALSE(dialog.ui_description->IsEditable());
    EXPECT_EQ(dialog.ui_attributes->GetNumberCols(), 2);
    EXPECT_FALSE(dialog.ui_attributes->IsEditable());
    EXPECT_TRUE(dialog.ui_add_button->IsEnabled());
    for (wxButton* button : {dialog.ui_edit_button, dialog.ui_rename_button, dialog.ui_delete_button})
        EXPECT_FALSE(button->IsEnabled()) << button->GetLabel();
    EXPECT_EQ(run_modal(dialog, [&] { click(dialog.ui_ok_button); }), wxID_OK);
    EXPECT_EQ(run_modal(dialog, [&] { click(dialog.ui_cancel_button); }), wxID_CANCEL);
}

TEST(ParameterEditorLayout, CallsItsHandlersByName)
{
    Recorder dialog;
    dialog.ui_attributes->AppendRows(3);
    dialog.ui_attributes->SelectRow(2);
    ASSERT_FALSE(dialog.calls.empty());
    EXPECT_EQ(dialog.calls.back(), "select");
    dialog.calls.clear();
    click(dialog.ui_add_button);
    click(dialog.ui_edit_button);
    click(dialog.ui_descriptions_button);
    click(dialog.ui_delete_button);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"add", "edit", "descriptions", "delete"}));
}
