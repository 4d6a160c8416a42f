#include "platform/handy/progress.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

using ovk_handy::Progress;

TEST(Progress, LevelsCarryNameDoneAndTotal)
{
    Progress p({"Batch", "Board"});
    EXPECT_EQ(p.level(), 2);
    EXPECT_EQ(p.get_name(1), "Board");
    EXPECT_EQ(p.get_progress(0), 0);
    EXPECT_EQ(p.get_subtotal(0), 0);

    p.start(0, 4);
    p.step(0);
    p.step(0, 2);
    EXPECT_EQ(p.get_progress(0), 3);
    EXPECT_EQ(p.get_subtotal(0), 4);

    p.set_progress(1, 7);
    p.start(1, 12, "Board 2");
    EXPECT_EQ(p.get_progress(1), 0);
    EXPECT_EQ(p.get_subtotal(1), 12);
    EXPECT_EQ(p.get_name(1), "Board 2");

    EXPECT_EQ(p.add_level("Channel", 8), 2);
    EXPECT_EQ(p.level(), 3);
    EXPECT_EQ(p.get_subtotal(2), 8);

    EXPECT_THROW(p.get_name(3), std::out_of_range);
    EXPECT_THROW(p.step(-1), std::out_of_range);
}

TEST(Progress, OnlyTheFirstEndCounts)
{
    Progress done;
    EXPECT_EQ(done.status(), Progress::Status::Running);
    EXPECT_TRUE(done.running());
    done.finish();
    done.cancel();
    EXPECT_EQ(done.status(), Progress::Status::Done);
    EXPECT_TRUE(done.stopped());

    Progress cancelled;
    cancelled.cancel();
    cancelled.finish();
    EXPECT_EQ(cancelled.status(), Progress::Status::Cancelled);

    Progress failed;
    failed.fail("probe not found");
    failed.finish();
    EXPECT_EQ(failed.status(), Progress::Status::Failed);
    EXPECT_EQ(failed.failure(), "probe not found");
    EXPECT_EQ(cancelled.failure(), "");
}

TEST(Progress, WorkersUpdateConcurrentlyWithoutLosingSteps)
{
    Progress p({"Units"});
    p.start(0, 40000);
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w)
        workers.emplace_back([&p] {
            for (int i = 0; i < 10000; ++i)
                p.step(0);
        });
    long long last = 0;
    bool monotonic = true;
    for (int i = 0; i < 1000; ++i) {
        const long long now = p.get_progress(0);
        monotonic = monotonic && now >= last;
        last = now;
    }
    for (auto& t : workers)
        t.join();
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(p.get_progress(0), 40000);
}
