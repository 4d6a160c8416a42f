#include "wxtools/dialogs/auto_close_message_box.h"
#include "wxtools/dialogs/wait_for_dialog.h"

#include "wxtools/testing/dialog_script.h"
#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace std::chrono_literals;

using namespace ovk_wxtools;
using namespace ovk_wxtest;

namespace {

void tick(WaitForDialog& dialog)
{
    wxTimer source;
    wxTimerEvent event(source);
    dialog.on_timer_refresh(event);
}

// Ticks the box's own counter until it answers true; the number of ticks.
int ticks_until_timeout(double timeout)
{
    AutoCloseMessageBox box(nullptr, "t", "m", timeout);
    for (int n = 1; n < 1000; ++n)
        if (box.counter())
            return n;
    return -1;
}

}  // namespace

TEST(WaitForDialog, OnlyTheBooleanTrueEndsTheWaitAndTextsReplaceTheMessage)
{
    int calls = 0;
    const std::vector<WaitForDialog::Answer> answers{1, 2.5, "True", false, std::nullopt, WaitForDialog::Answer(),
                                                     wxString::FromUTF8("仍在等待 — a much longer message than before"), true};
    WaitForDialog dialog(nullptr, "Wait", "Waiting", [&] { return answers.at(calls++); }, 100000);
    EXPECT_EQ(dialog.mMessage->GetLabel(), "Waiting");
    std::vector<wxString> labels;
    int width_before_long_text = 0;
    const int code = run_modal(dialog, [&] {
        for (int i = 0; i < 6; ++i) {
            tick(dialog);
            labels.push_back(dialog.mMessage->GetLabel());
            EXPECT_TRUE(dialog.IsModal()) << "after answer " << i;
        }
        width_before_long_text = dialog.GetSize().GetWidth();
        tick(dialog);
        EXPECT_EQ(dialog.mMessage->GetLabel(), answers[6].message().value());
        EXPECT_GT(dialog.GetSize().GetWidth(), width_before_long_text);
        tick(dialog);
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(calls, 8);
    EXPECT_EQ(labels, (std::vector<wxString>{"Waiting", "Waiting", "True", "True", "True", "True"}));
}

TEST(WaitForDialog, RealTimerEndsTheWaitWhenTheCallbackAnswersTrue)
{
    int calls = 0;
    WaitForDialog dialog(nullptr, "Wait", "Waiting", [&] { return ++calls == 3; }, 10);
    EXPECT_EQ(run_modal(dialog, [] {}), 0);
    EXPECT_EQ(calls, 3);
    // A later run starts the timer again from the show event.
    calls = 0;
    EXPECT_EQ(run_modal(dialog, [] {}), 0);
    EXPECT_EQ(calls, 3);
}

TEST(WaitForDialog, ClosingCancelsAndStopsThePolling)
{
    int calls = 0;
    WaitForDialog dialog(nullptr, "Wait", "Waiting", [&] { ++calls; return false; }, 5);
    EXPECT_EQ(run_modal(dialog, [&] {
        EXPECT_TRUE(wait_until([&] { return calls >= 2; }, 5s));
        dialog.Close();
    }), wxID_CANCEL);
    const int seen = calls;
    wait_until([] { return false; }, 60ms);
    EXPECT_EQ(calls, seen);
    // A tick that still arrives after the run ended does not end anything.
    tick(dialog);
    EXPECT_FALSE(dialog.IsModal());
}

TEST(WaitForDialog, AFailingCallbackEndsTheRunAndReachesTheCaller)
{
    int calls = 0;
    WaitForDialog dialog(nullptr, "Wait", "Waiting", [&]() -> WaitForDialog::Answer {
        if (++calls == 2)
            throw std::runtime_error("sensor lost");
        return false;
    }, 5);
    dialogs().inside([](wxDialog&) {});
    try {
        dialog.ShowModal();
        FAIL() << "the callback's error did not reach the caller";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "sensor lost");
    }
    EXPECT_EQ(dialog.GetReturnCode(), wxID_CANCEL);
    wait_until([] { return false; }, 40ms);
    EXPECT_EQ(calls, 2);
}

TEST(WaitForDialog, FontSizeEnlargesTheMessageAndTheDialog)
{
    WaitForDialog plain(nullptr, "Wait", "Heating up", [] { return false; });
    WaitForDialog large(nullptr, "Wait", "Heating up", [] { return false; }, 100, 30);
    EXPECT_EQ(large.mMessage->GetFont().GetPointSize(), 30);
    // GTK measures the new font once the windows are realised.
    plain.Show();
    large.Show();
    flush_events();
    EXPECT_LT(plain.mMessage->GetFont().GetPointSize(), 30);
    EXPECT_GT(large.GetSize().GetHeight(), plain.GetSize().GetHeight());
    EXPECT_EQ(large.interval, 100);
}

TEST(AutoCloseMessageBox, FloatingPointStepsDecideTheEndingTick)
{
    EXPECT_EQ(ticks_until_timeout(1.0), 11);
    EXPECT_EQ(ticks_until_timeout(0.5), 5);
    EXPECT_EQ(ticks_until_timeout(3.0), 30);
    EXPECT_EQ(ticks_until_timeout(2.0), 20);
    EXPECT_EQ(ticks_until_timeout(0), 1);
}

TEST(AutoCloseMessageBox, PollsEveryTenthOfASecondAndEndsWithZero)
{
    AutoCloseMessageBox box(nullptr, "Note", "Saved.", 0.3);
    EXPECT_EQ(box.interval, 100);
    EXPECT_EQ(box.GetTitle(), "Note");
    EXPECT_EQ(box.mMessage->GetLabel(), "Saved.");
    EXPECT_EQ(run_modal(box, [] {}), 0);
}

TEST(AutoCloseMessageBox, ShowingAgainGoesOnCountingWhereItStopped)
{
    AutoCloseMessageBox box(nullptr, "Note", "Saved.", 0.5);
    int ticks = 0;
    auto own = box.callback;
    box.callback = [&] { ++ticks; return own(); };
    EXPECT_EQ(run_modal(box, [&] {
        EXPECT_TRUE(wait_until([&] { return ticks >= 3; }, 5s));
        box.Close();
    }), wxID_CANCEL);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(run_modal(box, [] {}), 0);
    EXPECT_EQ(ticks, 5);
}

TEST(WaitForDialog, NarrowAnswersAreReadAsUtf8)
{
    EXPECT_EQ(WaitForDialog::Answer("仍在等待").message(), wxString::FromUTF8("仍在等待"));
    EXPECT_EQ(WaitForDialog::Answer(std::string("等待\xff")).message(), wxString::FromUTF8("等待\uFFFD"));
}

TEST(WaitForDialog, WithoutAModalRunACallbacksErrorIsShownAndKept)
{
    WaitForDialog dialog(nullptr, "Wait", "Waiting", []() -> WaitForDialog::Answer {
        throw std::runtime_error("传感器丢失");
    });
    dialogs().answer(wxID_OK);
    dialog.Show();
    tick(dialog);
    EXPECT_FALSE(dialog.IsShown());
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(dialogs().last().message, wxString::FromUTF8("传感器丢失"));
    ASSERT_TRUE(dialog.GetCallbackError());
    EXPECT_THROW(std::rethrow_exception(dialog.GetCallbackError()), std::runtime_error);
    dialog.Show();
    EXPECT_FALSE(dialog.GetCallbackError()) << "showing again starts afresh";
    dialog.Hide();
}
