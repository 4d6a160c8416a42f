#include "wxtools/controls/auto_popup_combo_box.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/sizer.h>

using namespace std::chrono_literals;

using namespace ovk_wxtools;
using namespace ovk_wxtest;

namespace {

class AutoPopupComboBoxTest : public ::testing::Test {
protected:
    AutoPopupComboBoxTest() : frame(new wxFrame(nullptr, wxID_ANY, "combo"))
    {
        const wxString items[] = {"apple", "banana"};
        combo = new wxComboBox(frame, wxID_ANY, "", wxDefaultPosition, wxDefaultSize, 2, items);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(combo, 0, wxALL, 5);
        frame->SetSizerAndFit(sizer);
        frame->Show();
        combo->Bind(wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent&) { ++popups; });
        flush_events();
    }
    ~AutoPopupComboBoxTest() override
    {
        combo->Dismiss();
        frame->Destroy();
    }

    // The text as it stands after the user's key press, with the caret at
    // `caret`, and the text event the combo box then sends.
    void typed(const wxString& text, long caret)
    {
        combo->ChangeValue(text);
        combo->SetInsertionPoint(caret);
        wxCommandEvent event(wxEVT_TEXT, combo->GetId());
        event.SetEventObject(combo);
        event.SetString(text);
        combo->ProcessWindowEvent(event);
    }

    bool popped_up() { return wait_until([this] { return popups > 0; }, 2s); }

    wxFrame* frame;
    wxComboBox* combo;
    int popups = 0;
};

TEST_F(AutoPopupComboBoxTest, TypingTheStartOfAnItemAtTheEndOpensTheList)
{
    AutoPopupComboBox auto_popup(combo);
    EXPECT_EQ(auto_popup.old_value, "");
    EXPECT_EQ(auto_popup.control, combo);
    typed("a", 1);
    EXPECT_EQ(auto_popup.old_value, "a");
    EXPECT_TRUE(popped_up());
}

TEST_F(AutoPopupComboBoxTest, NoPopupInTheMiddleOnDeletionOrForAnotherCase)
{
    AutoPopupComboBox auto_popup(combo);
    typed("xa", 2);  // no item starts with xa
    typed("bxa", 1);  // b typed in front of existing text
    EXPECT_EQ(auto_popup.old_value, "bxa");
    typed("ba", 2);  // a deletion, even though banana starts with ba
    EXPECT_EQ(auto_popup.old_value, "ba");
    typed("", 0);
    typed("A", 1);  // prefixes are case-sensitive
    typed("A", 1);  // the same text again only stores it
    EXPECT_EQ(auto_popup.old_value, "A");
    EXPECT_FALSE(popped_up());
}

TEST_F(AutoPopupComboBoxTest, SameTextAgainDoesNothingButStoreIt)
{
    AutoPopupComboBox auto_popup(combo);
    auto_popup.old_value = "ban";
    typed("ban", 3);
    EXPECT_FALSE(popped_up());
    typed("bana", 4);
    EXPECT_TRUE(popped_up());
}

TEST_F(AutoPopupComboBoxTest, WrapperAndComboBoxMayGoInEitherOrder)
{
    {
        AutoPopupComboBox gone_first(combo);
    }
    typed("a", 1);  // nothing bound any more
    EXPECT_FALSE(popped_up());

    auto* other = new wxComboBox(frame, wxID_ANY);
    AutoPopupComboBox outlives(other);
    other->Destroy();
    flush_events();
    EXPECT_EQ(outlives.control, nullptr);
}

}  // namespace
