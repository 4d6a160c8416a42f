#include "wxtools/dialogs/choose_one_button_dialog.h"
#include "wxtools/dialogs/true_or_false_dialog.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

using namespace ovk_wxtools;
using namespace ovk_wxtest;

namespace {

wxButton* button_with_id(wxDialog& dialog, int id)
{
    return dynamic_cast<wxButton*>(dialog.FindWindow(id));
}

std::vector<wxButton*> buttons_of(wxDialog& dialog)
{
    std::vector<wxButton*> found;
    for (wxWindow* child : dialog.GetChildren())
        if (auto* b = dynamic_cast<wxButton*>(child))
            found.push_back(b);
    return found;
}

}  // namespace

TEST(TrueOrFalseDialog, DefaultsToYesAndNoWithYesAsDefault)
{
    TrueOrFalseDialog dialog(nullptr, "Question", "Go on?");
    EXPECT_EQ(dialog.GetTitle(), "Question");
    wxButton* yes = button_with_id(dialog, wxID_OK);
    wxButton* no = button_with_id(dialog, wxID_CANCEL);
    ASSERT_TRUE(yes && no);
    EXPECT_EQ(yes->GetLabel(), "Yes");
    EXPECT_EQ(no->GetLabel(), "No");
    EXPECT_EQ(dialog.GetDefaultItem(), yes);
    EXPECT_LT(yes->GetPosition().x, no->GetPosition().x);
}

TEST(TrueOrFalseDialog, ButtonsAndClosingGiveTheirCodes)
{
    TrueOrFalseDialog dialog(nullptr, "Question", "Overwrite?", wxString::FromUTF8("覆盖"), wxString::FromUTF8("保留"));
    EXPECT_EQ(button_with_id(dialog, wxID_OK)->GetLabel(), wxString::FromUTF8("覆盖"));
    EXPECT_EQ(button_with_id(dialog, wxID_CANCEL)->GetLabel(), wxString::FromUTF8("保留"));
    EXPECT_EQ(run_modal(dialog, [&] { click(button_with_id(dialog, wxID_OK)); }), wxID_OK);
    EXPECT_EQ(run_modal(dialog, [&] { click(button_with_id(dialog, wxID_CANCEL)); }), wxID_CANCEL);
    EXPECT_EQ(run_modal(dialog, [&] { dialog.Close(); }), wxID_CANCEL);
}

TEST(ChooseOneButtonDialog, PressedChoiceIsKeptByIndexAndLabel)
{
    ChooseOneButtonDialog dialog(nullptr, "Pick", "Which port?", {"COM1", "COM2", "COM3"}, 2);
    auto buttons = buttons_of(dialog);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0]->GetLabel(), "COM1");
    EXPECT_EQ(dialog.GetDefaultItem(), buttons[2]);
    EXPECT_EQ(dialog.GetSelectedIndex(), -1);
    EXPECT_EQ(dialog.GetSelectedString(), "");
    EXPECT_EQ(run_modal(dialog, [&] { click(buttons[1]); }), wxID_OK);
    EXPECT_EQ(dialog.GetSelectedIndex(), 1);
    EXPECT_EQ(dialog.GetSelectedString(), "COM2");
}

TEST(ChooseOneButtonDialog, EqualLabelsAreToldApartByIndex)
{
    ChooseOneButtonDialog dialog(nullptr, "Pick", "Which?", {"same", "same"});
    auto buttons = buttons_of(dialog);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(dialog.GetDefaultItem(), buttons[0]);
    EXPECT_EQ(run_modal(dialog, [&] { click(buttons[1]); }), wxID_OK);
    EXPECT_EQ(dialog.GetSelectedIndex(), 1);
    EXPECT_EQ(dialog.GetSelectedString(), "same");
}

TEST(ChooseOneButtonDialog, DefaultOutOfRangeMakesNoDefaultButton)
{
    for (int bad : {-1, 3}) {
        ChooseOneButtonDialog dialog(nullptr, "Pick", "Which?", {"a", "b", "c"}, bad);
        for (wxButton* b : buttons_of(dialog))
            EXPECT_NE(dialog.GetDefaultItem(), b) << "default " << bad;
    }
}

TEST(ChooseOneButtonDialog, NoChoicesAndClosingLeaveNothingChosen)
{
    ChooseOneButtonDialog empty(nullptr, "Pick", "Nothing to pick", {});
    EXPECT_TRUE(buttons_of(empty).empty());
    EXPECT_EQ(run_modal(empty, [&] { empty.Close(); }), wxID_CANCEL);
    EXPECT_EQ(empty.GetSelectedIndex(), -1);

    ChooseOneButtonDialog dialog(nullptr, "Pick", "Which?", {"a", "b"});
    EXPECT_EQ(run_modal(dialog, [&] { dialog.Close(); }), wxID_CANCEL);
    EXPECT_EQ(dialog.GetSelectedIndex(), -1);
    EXPECT_EQ(dialog.GetSelectedString(), "");
}

TEST(ChooseOneButtonDialog, ClickFromAForeignButtonChangesNothing)
{
    ChooseOneButtonDialog dialog(nullptr, "Pick", "Which?", {"a", "b"});
    wxButton stranger(&dialog, wxID_ANY, "x");
    wxCommandEvent event(wxEVT_BUTTON, stranger.GetId());
    event.SetEventObject(&stranger);
    dialog.OnChoose(event);
    EXPECT_EQ(dialog.GetSelectedIndex(), -1);
    EXPECT_FALSE(dialog.IsShown());
}

TEST(ChooseOneButtonDialog, BraceListOfNarrowChoicesIsReadAsUtf8)
{
    ChooseOneButtonDialog dialog(nullptr, "t", "q", {"是", "否"});
    ASSERT_EQ(buttons_of(dialog).size(), 2u);
    EXPECT_EQ(buttons_of(dialog)[0]->GetLabel(), wxString::FromUTF8("是"));
    EXPECT_EQ(run_modal(dialog, [&] { click(buttons_of(dialog)[1]); }), wxID_OK);
    EXPECT_EQ(dialog.GetSelectedString(), wxString::FromUTF8("否"));
}
