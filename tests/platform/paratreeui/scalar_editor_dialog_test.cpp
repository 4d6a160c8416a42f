#include "platform/paratreeui/scalar_editor_dialog.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ovk_wxtest;

namespace {

// Records which handler the layout called.
struct Recorder : ovk_paratreeui::ScalarEditorDialog {
    Recorder() : ScalarEditorDialog(nullptr) {}
    std::vector<std::string> calls;
    void on_multiline_state_changed(wxCommandEvent&) override { calls.push_back("multiline"); }
    void on_type_changed(wxCommandEvent&) override { calls.push_back("type"); }
    void on_ok(wxCommandEvent&) override { calls.push_back("ok"); }
};

}  // namespace

TEST(ScalarEditorLayout, OffersTheFiveTypesAndStartsAsAnIntegerEntry)
{
    ovk_paratreeui::ScalarEditorDialog dialog(nullptr);
    ASSERT_EQ(dialog.ui_type->GetCount(), 5u);
    EXPECT_EQ(dialog.ui_type->GetString(4), "json");
    EXPECT_EQ(dialog.ui_type->GetSelection(), 0);
    ASSERT_EQ(dialog.ui_bool_value->GetCount(), 2u);
    EXPECT_TRUE(dialog.ui_value_single_line->IsShown());
    EXPECT_FALSE(dialog.ui_value_single_line->IsMultiLine());
    EXPECT_TRUE(dialog.ui_value_multiline->IsMultiLine());
    for (wxWindow* hidden : std::vector<wxWindow*>{dialog.ui_bool_value, dialog.ui_multiline_string,
                                                   dialog.ui_value_multiline})
        EXPECT_FALSE(hidden->IsShown()) << hidden->GetName();
    EXPECT_FALSE(dialog.ui_multiline_string->IsChecked());
}

TEST(ScalarEditorLayout, CallsItsHandlersByName)
{
    Recorder dialog;
    select(dialog.ui_type, 2);
    send_command(dialog.ui_multiline_string, wxEVT_CHECKBOX, 1);
    click(dialog.ui_ok_button);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"type", "multiline", "ok"}));
}

TEST(ScalarEditorLayout, OkAndCancelEndTheDialogWhenNotOverridden)
{
    ovk_paratreeui::ScalarEditorDialog dialog(nullptr);
    EXPECT_EQ(run_modal(dialog, [&] { click(dialog.ui_ok_button); }), wxID_OK);
    EXPECT_EQ(run_modal(dialog, [&] { click(dialog.ui_cancel_button); }), wxID_CANCEL);
}
