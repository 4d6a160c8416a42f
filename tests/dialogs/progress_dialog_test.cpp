#include "wxtools/dialogs/progress_dialog.h"

#include "wxtools/testing/ui.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <memory>
#include <utility>
#include <thread>

using namespace std::chrono_literals;

using namespace ovk_wxtools;
using namespace ovk_wxtest;
using ovk_handy::Progress;

namespace {

void refresh(ProgressDialog& dialog)
{
    wxTimer source;
    wxTimerEvent event(source);
    dialog.on_refresh(event);
}

}  // namespace

TEST(ProgressDialog, BuildsOneRowPerLevelAndStartsItsTimer)
{
    Progress p({"Batch", "Board", "Channel"});
    ProgressDialog dialog(nullptr, p);
    EXPECT_EQ(dialog.GetTitle(), wxString::FromUTF8("进度"));
    ASSERT_EQ(dialog.names.size(), 3u);
    ASSERT_EQ(dialog.fractions.size(), 3u);
    ASSERT_EQ(dialog.gauges.size(), 3u);
    EXPECT_EQ(dialog.names[2]->GetLabel(), "Channel");
    EXPECT_EQ(dialog.fractions[0]->GetLabel(), "0 / 0");
    EXPECT_EQ(dialog.gauges[0]->GetRange(), 100);
    EXPECT_EQ(dialog.gauges[0]->GetValue(), 0);
    EXPECT_EQ(&dialog.progress, &p);
    EXPECT_TRUE(dialog.ui_timer.IsRunning());
    EXPECT_EQ(dialog.ui_timer.GetInterval(), 200);
}

TEST(ProgressDialog, PeriodIsTruncatedToWholeMilliseconds)
{
    Progress p;
    ProgressDialog slow(nullptr, p, 1.5);
    EXPECT_EQ(slow.ui_timer.GetInterval(), 1500);
    ProgressDialog odd(nullptr, p, 0.2599);
    EXPECT_EQ(odd.ui_timer.GetInterval(), 259);
}

TEST(ProgressDialog, RefreshShowsCountsGaugesAndChangingNames)
{
    Progress p({"Batch", "Board"});
    ProgressDialog dialog(nullptr, p, 100);
    p.start(0, 10, "Batch A");
    p.step(0, 3);
    p.start(1, 4);
    p.step(1, 6);  // more done than planned
    refresh(dialog);
    EXPECT_EQ(dialog.names[0]->GetLabel(), "Batch A");
    EXPECT_EQ(dialog.fractions[0]->GetLabel(), "3 / 10");
    EXPECT_EQ(dialog.gauges[0]->GetRange(), 10);
    EXPECT_EQ(dialog.gauges[0]->GetValue(), 3);
    EXPECT_EQ(dialog.fractions[1]->GetLabel(), "6 / 4");
    EXPECT_EQ(dialog.gauges[1]->GetRange(), 4);
    EXPECT_EQ(dialog.gauges[1]->GetValue(), 4);

    p.set_name(0, wxString::FromUTF8("批次 B").utf8_string());
    p.start(1, 0);
    refresh(dialog);
    EXPECT_EQ(dialog.names[0]->GetLabel(), wxString::FromUTF8("批次 B"));
    EXPECT_EQ(dialog.fractions[1]->GetLabel(), "0 / 0");
    EXPECT_EQ(dialog.gauges[1]->GetRange(), 0);
    EXPECT_TRUE(dialog.ui_timer.IsRunning());
}

TEST(ProgressDialog, LevelsAddedLaterGetRows)
{
    Progress p({"Batch"});
    ProgressDialog dialog(nullptr, p, 100);
    p.add_level("Board", 5);
    p.step(1, 2);
    refresh(dialog);
    ASSERT_EQ(dialog.names.size(), 2u);
    EXPECT_EQ(dialog.names[1]->GetLabel(), "Board");
    EXPECT_EQ(dialog.fractions[1]->GetLabel(), "2 / 5");
    EXPECT_EQ(dialog.gauges[1]->GetValue(), 2);
}

TEST(ProgressDialog, WorkFinishedByAnotherThreadEndsWithOk)
{
    Progress p({"Batch", "Board", "Channel"});
    std::atomic<bool> go{false};
    std::thread worker([&] {
        while (!go)
            std::this_thread::yield();
        p.start(0, 2);
        for (int b = 0; b < 2; ++b) {
            p.start(1, 3, "Batch " + std::to_string(b));
            for (int i = 0; i < 3; ++i) {
                p.step(1);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            p.step(0);
        }
        p.finish();
    });
    ProgressDialog dialog(nullptr, p, 0.01);
    const int code = run_modal(dialog, [&] { go = true; });
    worker.join();
    EXPECT_EQ(code, wxID_OK);
    EXPECT_FALSE(dialog.ui_timer.IsRunning());
    EXPECT_EQ(dialog.fractions[0]->GetLabel(), "2 / 2");
    EXPECT_EQ(dialog.names[1]->GetLabel(), "Batch 1");
}

TEST(ProgressDialog, OtherEndingsAndClosingGiveCancel)
{
    for (bool failed : {false, true}) {
        Progress p({"Batch"});
        ProgressDialog dialog(nullptr, p, 0.01);
        EXPECT_EQ(run_modal(dialog, [&] {
            if (failed)
                p.fail("disk full");
            else
                p.cancel();
        }), wxID_CANCEL);
    }

    Progress running({"Batch"});
    ProgressDialog dialog(nullptr, running, 0.01);
    EXPECT_EQ(run_modal(dialog, [&] { dialog.Close(); }), wxID_CANCEL);
    EXPECT_FALSE(dialog.ui_timer.IsRunning());
    EXPECT_EQ(running.status(), Progress::Status::Running);
}

TEST(ProgressDialog, NoLevelsStillEndsWhenTheWorkEnds)
{
    Progress p;
    ProgressDialog dialog(nullptr, p, 0.01);
    EXPECT_TRUE(dialog.names.empty());
    EXPECT_EQ(run_modal(dialog, [&] { p.finish(); }), wxID_OK);
}

TEST(ProgressDialog, AnEndSeenBeforeTheRunIsNotLost)
{
    Progress p({"Batch"});
    p.finish();
    ProgressDialog dialog(nullptr, p, 0.01);
    ASSERT_TRUE(wait_until([&] { return !dialog.ui_timer.IsRunning(); }, 5s));
    // The run ends as soon as it begins, with the outcome already seen.
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
}

TEST(ProgressDialog, PeriodIsHeldWithinOneMillisecondAndIntMax)
{
    Progress p;
    for (auto [seconds, ms] : {std::pair{0.0, 1}, {0.0004, 1}, {-2.0, 1}, {3e6, INT_MAX}, {2147483.647, INT_MAX}}) {
        ProgressDialog dialog(nullptr, p, seconds);
        EXPECT_EQ(dialog.ui_timer.GetInterval(), ms) << seconds;
    }
}

TEST(ProgressDialog, SharedProgressLivesAsLongAsTheDialog)
{
    auto p = std::make_shared<Progress>(std::vector<std::string>{"电压"});
    ProgressDialog dialog(nullptr, p, 100);
    EXPECT_EQ(dialog.names[0]->GetLabel(), wxString::FromUTF8("电压"));
    p->set_name(0, "bad\xff");
    p.reset();
    refresh(dialog);  // would read freed memory if the dialog did not hold it
    EXPECT_EQ(dialog.names[0]->GetLabel(), wxString::FromUTF8("bad\uFFFD"));
}

TEST(ProgressDialog, TheTimerStopsWhenTheRunEnds)
{
    auto p = std::make_unique<Progress>(std::vector<std::string>{"Batch"});
    ProgressDialog dialog(nullptr, *p, 0.01);
    // The caller's OK ends the run while the work still runs; afterwards the
    // caller may let its progress go while the dialog lives on.
    EXPECT_EQ(run_modal(dialog, [&] { dialog.EndModal(wxID_OK); }), wxID_OK);
    EXPECT_FALSE(dialog.ui_timer.IsRunning());
    p.reset();
    wait_until([] { return false; }, 50ms);
}
