#include "wxtools/dialogs/single_choice_timeout_dialog.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace std::chrono_literals;

using namespace ovk_wxtools;
using namespace ovk_wxtest;

namespace {

const std::vector<wxString> ports{"COM1", "COM2", "COM3"};

void tick(SingleChoiceTimeoutDialog& dialog)
{
    wxTimer source;
    wxTimerEvent event(source);
    dialog.OnTimerEvent(event);
}

struct Countdown {
    int code = 0;
    int ticks = 0;
    std::vector<wxString> titles;  // the title when shown, then after every tick that left it running
};

// Shows the dialog and drives its ticks by hand until it ends itself. No
// events are processed meanwhile, so the dialog's own timer cannot tick in.
Countdown count_down(double timeout)
{
    SingleChoiceTimeoutDialog dialog(nullptr, "Port to use:", "Pick", ports, timeout, 1);
    Countdown seen;
    dialog.Show();
    seen.titles.push_back(dialog.GetTitle());
    while (dialog.IsShown() && seen.ticks < 1000) {
        tick(dialog);
        ++seen.ticks;
        if (dialog.IsShown())
            seen.titles.push_back(dialog.GetTitle());
    }
    seen.code = dialog.GetReturnCode();
    EXPECT_EQ(dialog.GetSelection(), "COM2");
    return seen;
}

}  // namespace

TEST(SingleChoiceTimeoutDialog, LaysOutMessageListAndStandardButtons)
{
    SingleChoiceTimeoutDialog dialog(nullptr, "Port to use:", "Pick", ports);
    EXPECT_EQ(dialog.GetTitle(), "Pick");
    EXPECT_EQ(dialog.mChoicesBox->GetCount(), 3u);
    EXPECT_EQ(dialog.mChoicesBox->GetString(2), "COM3");
    EXPECT_EQ(dialog.GetSelectionIndex(), 0);
    EXPECT_EQ(dialog.GetSelection(), "COM1");
    EXPECT_EQ(dialog.m_sdbSizer1OK->GetId(), wxID_OK);
    EXPECT_EQ(dialog.m_sdbSizer1Cancel->GetId(), wxID_CANCEL);
    EXPECT_EQ(dialog.caption, "Pick");
}

TEST(SingleChoiceTimeoutDialog, FiveSecondsEndAtTheFiftyFirstTickAfterShowingZero)
{
    Countdown seen = count_down(5);
    EXPECT_EQ(seen.code, wxID_OK);
    EXPECT_EQ(seen.ticks, 51);
    ASSERT_EQ(seen.titles.size(), 51u);
    EXPECT_EQ(seen.titles[0], "Pick 5.0");
    EXPECT_EQ(seen.titles[1], "Pick 4.9");
    EXPECT_EQ(seen.titles[10], "Pick 4.0");
    EXPECT_EQ(seen.titles[49], "Pick 0.1");
    EXPECT_EQ(seen.titles[50], "Pick 0.0");
}

TEST(SingleChoiceTimeoutDialog, RealAndShortTimeoutsEndAtTheirTicks)
{
    Countdown half = count_down(2.5);
    EXPECT_EQ(half.ticks, 25);
    EXPECT_EQ(half.titles.front(), "Pick 2.5");
    EXPECT_EQ(half.titles.back(), "Pick 0.1");
    EXPECT_EQ(std::count(half.titles.begin(), half.titles.end(), "Pick 0.0"), 0);

    Countdown one = count_down(1);
    EXPECT_EQ(one.ticks, 11);
    EXPECT_EQ(one.titles.front(), "Pick 1.0");
    EXPECT_EQ(std::count(one.titles.begin(), one.titles.end(), "Pick 0.0"), 1);
}

TEST(SingleChoiceTimeoutDialog, RealTimerAnswersWithThePreselectedEntry)
{
    SingleChoiceTimeoutDialog dialog(nullptr, "Port to use:", "Pick", ports, 0.3, 2);
    EXPECT_EQ(run_modal(dialog, [] {}), wxID_OK);
    EXPECT_EQ(dialog.GetSelection(), "COM3");
}

TEST(SingleChoiceTimeoutDialog, NoCountdownForATimeoutOfZeroOrLess)
{
    for (double timeout : {0.0, -1.0}) {
        SingleChoiceTimeoutDialog dialog(nullptr, "Port to use:", "Pick", ports, timeout);
        EXPECT_EQ(run_modal(dialog, [&] {
            EXPECT_EQ(dialog.GetTitle(), "Pick");
            tick(dialog);  // a stray tick has nothing to count down
            EXPECT_TRUE(dialog.IsModal());
            click(dialog.m_sdbSizer1OK);
        }), wxID_OK);
        EXPECT_EQ(dialog.GetTitle(), "Pick");
    }
}

TEST(SingleChoiceTimeoutDialog, AUserSelectionStopsTheCountdownForGood)
{
    SingleChoiceTimeoutDialog dialog(nullptr, "Port to use:", "Pick", ports, 0.5);
    EXPECT_EQ(run_modal(dialog, [&] {
        EXPECT_TRUE(dialog.GetTitle().StartsWith("Pick 0."));
        select(dialog.mChoicesBox, 2);
        EXPECT_EQ(dialog.GetTitle(), "Pick");
        // Well past the time-out the dialog still waits for the user.
        wait_until([] { return false; }, 650ms);
        EXPECT_TRUE(dialog.IsModal());
        EXPECT_EQ(dialog.GetTitle(), "Pick");
        click(dialog.m_sdbSizer1OK);
    }), wxID_OK);
    EXPECT_EQ(dialog.GetSelectionIndex(), 2);
    EXPECT_EQ(dialog.GetSelection(), "COM3");
}

TEST(SingleChoiceTimeoutDialog, DoubleClickAcceptsTheEntryAtOnce)
{
    SingleChoiceTimeoutDialog dialog(nullptr, "Port to use:", "Pick", ports);
    EXPECT_EQ(run_modal(dialog, [&] {
        dialog.mChoicesBox->SetSelection(1);
        send_command(dialog.mChoicesBox, wxEVT_LISTBOX_DCLICK, 1);
    }), wxID_OK);
    EXPECT_EQ(dialog.GetSelection(), "COM2");
}

TEST(SingleChoiceTimeoutDialog, CancelAndClosingEndWithCancelAndStopTheCountdown)
{
    SingleChoiceTimeoutDialog dialog(nullptr, "Port to use:", "Pick", ports);
    EXPECT_EQ(run_modal(dialog, [&] { click(dialog.m_sdbSizer1Cancel); }), wxID_CANCEL);
    // A tick arriving after the run ended ends nothing.
    tick(dialog);
    EXPECT_FALSE(dialog.IsModal());
    EXPECT_EQ(run_modal(dialog, [&] { dialog.Close(); }), wxID_CANCEL);
}

TEST(SingleChoiceTimeoutDialog, ShowingAgainCountsOnFromWhatWasLeft)
{
    SingleChoiceTimeoutDialog dialog(nullptr, "Port to use:", "Pick", ports);
    dialog.Show();
    EXPECT_EQ(dialog.GetTitle(), "Pick 5.0");
    for (int i = 0; i < 10; ++i)
        tick(dialog);
    dialog.Hide();
    tick(dialog);  // hidden: not counted
    dialog.Show();
    EXPECT_EQ(dialog.GetTitle(), "Pick 4.0");
    // A modal run goes on from there too.
    dialog.Hide();
    EXPECT_EQ(run_modal(dialog, [&] {
        EXPECT_TRUE(dialog.GetTitle().StartsWith("Pick 4.") || dialog.GetTitle().StartsWith("Pick 3."));
        click(dialog.m_sdbSizer1OK);
    }), wxID_OK);
}

TEST(SingleChoiceTimeoutDialog, NothingPreselectedOutsideTheChoices)
{
    for (int selection : {-1, 3}) {
        SingleChoiceTimeoutDialog dialog(nullptr, "Port to use:", "Pick", ports, 5, selection);
        EXPECT_EQ(dialog.GetSelectionIndex(), -1) << selection;
        EXPECT_EQ(dialog.GetSelection(), "");
    }
    SingleChoiceTimeoutDialog empty(nullptr, "Port to use:", "Pick", {}, 0.2);
    EXPECT_EQ(empty.GetSelectionIndex(), -1);
    EXPECT_EQ(run_modal(empty, [] {}), wxID_OK);
    EXPECT_EQ(empty.GetSelection(), "");
}

TEST(SingleChoiceTimeoutDialog, CountdownKeepsItsPointUnderADecimalCommaLocale)
{
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    SingleChoiceTimeoutDialog dialog(nullptr, wxString::FromUTF8("端口:"), wxString::FromUTF8("选择"), {"电压", "电流"}, 2.5);
    EXPECT_EQ(dialog.mChoicesBox->GetString(1), wxString::FromUTF8("电流"));
    dialog.Show();
    EXPECT_EQ(dialog.GetTitle(), wxString::FromUTF8("选择 2.5"));
    tick(dialog);
    EXPECT_EQ(dialog.GetTitle(), wxString::FromUTF8("选择 2.4"));
    dialog.Hide();
    std::setlocale(LC_NUMERIC, before.c_str());
    if (!german)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/install-deps.sh generates it)";
}

TEST(SingleChoiceTimeoutDialog, ATimeoutWithNothingPreselectedLeavesNothingSelected)
{
    SingleChoiceTimeoutDialog dialog(nullptr, "Port to use:", "Pick", ports, 0.3, -1);
    // The list takes the focus as a user's Tab would give it, then nobody acts.
    EXPECT_EQ(run_modal(dialog, [&] { dialog.mChoicesBox->SetFocus(); }), wxID_OK);
    EXPECT_EQ(dialog.GetSelectionIndex(), -1);
    EXPECT_EQ(dialog.GetSelection(), "");
}

TEST(SingleChoiceTimeoutDialog, ARowTheToolkitSelectsIsNobodysChoice)
{
    SingleChoiceTimeoutDialog dialog(nullptr, "Port to use:", "Pick", ports, 0.3, 1);
    // Selected without a selection event, as GTK does when the list takes the focus.
    EXPECT_EQ(run_modal(dialog, [&] { dialog.mChoicesBox->SetSelection(0); }), wxID_OK);
    EXPECT_EQ(dialog.GetSelection(), "COM2");
}

TEST(SingleChoiceTimeoutDialog, AClickOnTheRowTheToolkitSelectedIsTheUsersChoice)
{
    SingleChoiceTimeoutDialog dialog(nullptr, "Port to use:", "Pick", ports, 0.5, -1);
    EXPECT_EQ(run_modal(dialog, [&] {
        flush_events();  // whatever the toolkit did on showing is over
        // The press reaches the library first; then the focus it gives makes
        // GTK select row 0, and the click itself selects nothing new.
        wxMouseEvent press(wxEVT_LEFT_DOWN);
        press.SetEventObject(dialog.mChoicesBox);
        dialog.mChoicesBox->ProcessWindowEvent(press);
        dialog.mChoicesBox->SetSelection(0);
        EXPECT_TRUE(wait_until([&] { return dialog.GetTitle() == "Pick"; }, 2s));
        wait_until([] { return false; }, 600ms);
        EXPECT_TRUE(dialog.IsModal()) << "the countdown stopped";
        click(dialog.m_sdbSizer1OK);
    }), wxID_OK);
    EXPECT_EQ(dialog.GetSelectionIndex(), 0);
}
