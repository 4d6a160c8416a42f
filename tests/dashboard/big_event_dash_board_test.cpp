// The alarm side of the dashboard: raising, querying, clearing, the alarm list
// and the green history rows.
#include "tests/dashboard/dashboard_fixture.h"

using namespace ovk_wxtools;
using namespace ovk_wxtest;

namespace {

const AlarmCode overheat{"Overheat"};
const AlarmCode door{"Door open"};
const AlarmCode vacuum{"Vacuum lost"};

}  // namespace

TEST_F(DashboardTest, StartsEmptyWithWholeRowSelectionAndAutoScroll)
{
    make();
    EXPECT_FALSE(dash->any_fired());
    EXPECT_TRUE(dash->auto_scroll());
    EXPECT_EQ(dash->logger(), nullptr);
    EXPECT_EQ(dash->level(), spdlog::level::warn);
    EXPECT_EQ(dash->ui_grid_error_history->GetSelectionMode(), wxGrid::wxGridSelectRows);
    EXPECT_GE(dash->ui_grid_error_history->GetNumberCols(), 3);
    settle();
    EXPECT_TRUE(listed().empty());
    EXPECT_TRUE(history().empty());
}

TEST_F(DashboardTest, NewCodeIsLoggedAloneOrWithItsIdentityAndListed)
{
    make(recording_logger());
    dash->alarm(overheat, 81.5);
    dash->alarm(door, std::string("left"), "station 2", spdlog::level::warn);
    EXPECT_EQ(logged(), (std::vector<std::string>{"ERROR Overheat", "WARNING Door open: station 2"}));
    settle();
    EXPECT_EQ(listed(), (std::vector<wxString>{"Overheat", "Door open"}));
    EXPECT_DOUBLE_EQ(listed_detail<double>(0), 81.5);
    EXPECT_EQ(listed_detail<std::string>(1), "left");
    // Nothing went away, so nothing reaches the history.
    EXPECT_TRUE(history().empty());
}

TEST_F(DashboardTest, ActiveCodeRaisedAgainTakesIdentityAndDetailSilently)
{
    make(recording_logger());
    dash->alarm(overheat, 1, "A");
    settle();
    dash->alarm(overheat, 2, "B", spdlog::level::critical);
    EXPECT_EQ(logged(), (std::vector<std::string>{"ERROR Overheat: A"}));
    EXPECT_TRUE(dash->fired(overheat, wxString("B")));
    settle();
    // No refresh was asked for: the list still holds the first detail ...
    ASSERT_EQ(listed(), (std::vector<wxString>{"Overheat"}));
    EXPECT_EQ(listed_detail<int>(0), 1);
    // ... until one is.
    dash->update();
    settle();
    EXPECT_EQ(listed_detail<int>(0), 2);
}

TEST_F(DashboardTest, FiredWithAndWithoutIdentity)
{
    make();
    EXPECT_FALSE(dash->fired(overheat));
    dash->alarm(overheat, {}, "A");
    dash->alarm(door, {});
    EXPECT_TRUE(dash->fired(overheat));
    EXPECT_TRUE(dash->fired(overheat, wxString("A")));
    EXPECT_FALSE(dash->fired(overheat, wxString("B")));
    EXPECT_FALSE(dash->fired(overheat, wxString()));  // the empty identity never raised it
    EXPECT_TRUE(dash->fired(door, wxString()));
    EXPECT_FALSE(dash->fired(vacuum));
    EXPECT_TRUE(dash->any_fired());
}

TEST_F(DashboardTest, IdentitiesClearOneByOneAndOnlyTheLastWritesARow)
{
    make();
    dash->alarm(overheat, {}, "A");
    dash->alarm(overheat, {}, "B");
    dash->clear(overheat, wxString("A"));
    EXPECT_TRUE(dash->fired(overheat));
    EXPECT_FALSE(dash->fired(overheat, wxString("A")));
    settle();
    EXPECT_TRUE(history().empty());
    EXPECT_EQ(listed(), (std::vector<wxString>{"Overheat"}));

    dash->clear(overheat, wxString("B"));
    EXPECT_FALSE(dash->fired(overheat));
    EXPECT_FALSE(dash->any_fired());
    settle();
    auto rows = history();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].level, "GOOD");
    EXPECT_EQ(rows[0].time_or_code, "Overheat");
    EXPECT_EQ(rows[0].message, "");
    EXPECT_EQ(rows[0].colour, green());
    EXPECT_TRUE(listed().empty());
}

TEST_F(DashboardTest, ClearWithoutIdentityDropsEveryIdentity)
{
    make();
    dash->alarm(overheat, {}, "A");
    dash->alarm(overheat, {}, "B");
    dash->clear(overheat);
    EXPECT_FALSE(dash->fired(overheat, wxString("B")));
    settle();
    ASSERT_EQ(history().size(), 1u);
    // Raised again after clearing, the code is new: logged afresh, no identity left over.
    dash->set_logger(recording_logger());
    dash->alarm(overheat, {}, "C");
    EXPECT_EQ(logged(), (std::vector<std::string>{"ERROR Overheat: C"}));
    EXPECT_FALSE(dash->fired(overheat, wxString("A")));
}

TEST_F(DashboardTest, ClearingWhatIsNotRaisedChangesNothing)
{
    make();
    dash->alarm(overheat, {}, "A");
    dash->clear(door);
    dash->clear(door, wxString("A"));
    dash->clear(overheat, wxString("stranger"));
    dash->clear(overheat, wxString());
    EXPECT_TRUE(dash->fired(overheat, wxString("A")));
    settle();
    EXPECT_TRUE(history().empty());
    EXPECT_EQ(listed(), (std::vector<wxString>{"Overheat"}));
}

TEST_F(DashboardTest, ClearAllWritesOneRowOnlyWhenSomethingWasActive)
{
    make();
    dash->clear_all();
    settle();
    EXPECT_TRUE(history().empty());

    dash->alarm(overheat, {});
    dash->alarm(door, {}, "A");
    dash->alarm(door, {}, "B");
    dash->alarm(vacuum, {});
    dash->clear_all();
    EXPECT_FALSE(dash->any_fired());
    EXPECT_FALSE(dash->fired(door, wxString("B")));
    dash->clear_all();
    settle();
    auto rows = history();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].level, "");
    EXPECT_EQ(rows[0].time_or_code, "All Clear");
    EXPECT_EQ(rows[0].colour, green());
    EXPECT_TRUE(listed().empty());
}

TEST_F(DashboardTest, ListKeepsFirstRaisingOrderAndReraisedCodesGoLast)
{
    make();
    dash->alarm(overheat, {});
    dash->alarm(door, {});
    dash->alarm(vacuum, {});
    dash->alarm(overheat, {}, "again");  // already active: keeps its place
    settle();
    EXPECT_EQ(listed(), (std::vector<wxString>{"Overheat", "Door open", "Vacuum lost"}));
    dash->clear(overheat);
    dash->alarm(overheat, {});
    settle();
    EXPECT_EQ(listed(), (std::vector<wxString>{"Door open", "Vacuum lost", "Overheat"}));
    auto rows = history();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].time_or_code, "Overheat");
}

TEST_F(DashboardTest, WithoutLoggerAlarmsAreStillRecordedAndListed)
{
    make();
    dash->alarm(overheat, std::string("hot"));
    EXPECT_TRUE(dash->fired(overheat));
    settle();
    EXPECT_EQ(listed(), (std::vector<wxString>{"Overheat"}));
}

TEST_F(DashboardTest, HistoryRowsFollowTheOrderOfClearing)
{
    make();
    dash->alarm(overheat, {});
    dash->alarm(door, {});
    dash->clear(door);
    dash->alarm(vacuum, {});
    dash->clear(overheat);
    dash->clear_all();
    settle();
    auto rows = history();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].time_or_code, "Door open");
    EXPECT_EQ(rows[1].time_or_code, "Overheat");
    EXPECT_EQ(rows[2].time_or_code, "All Clear");
    EXPECT_TRUE(listed().empty());
}

TEST_F(DashboardTest, AutoScrollOffStillAppendsButDoesNotScroll)
{
    make();
    wxGrid* grid = dash->ui_grid_error_history;
    frame->SetClientSize(700, 200);
    frame->Layout();
    flush_events();

    dash->set_auto_scroll(false);
    for (int i = 0; i < 60; ++i) {
        AlarmCode code("code " + std::to_string(i));
        dash->alarm(code, {});
        dash->clear(code);
    }
    settle();
    flush_events();
    ASSERT_EQ(grid->GetNumberRows(), 60);
    EXPECT_TRUE(grid->IsVisible(0, 0, false));
    EXPECT_FALSE(grid->IsVisible(59, 0, false));

    dash->set_auto_scroll(true);
    dash->alarm(overheat, {});
    dash->clear(overheat);
    settle();
    flush_events();
    ASSERT_EQ(grid->GetNumberRows(), 61);
    EXPECT_TRUE(grid->IsVisible(60, 0, false));
    EXPECT_FALSE(grid->IsVisible(0, 0, false));
}

TEST_F(DashboardTest, CodesCarryUnicodeText)
{
    make(recording_logger());
    const AlarmCode estop{wxString::FromUTF8("急停")};
    dash->alarm(estop, {}, wxString::FromUTF8("工位1"));
    EXPECT_EQ(logged(), (std::vector<std::string>{"ERROR 急停: 工位1"}));
    EXPECT_TRUE(dash->fired(AlarmCode("急停"), wxString::FromUTF8("工位1")));
    dash->clear(estop);
    settle();
    ASSERT_EQ(history().size(), 1u);
    EXPECT_EQ(history()[0].time_or_code, wxString::FromUTF8("急停"));
}

TEST_F(DashboardTest, DestroyedWithCallsStillPendingRunsNoneOfThem)
{
    make();
    for (int i = 0; i < 20; ++i) {
        AlarmCode code("code " + std::to_string(i));
        dash->alarm(code, std::vector<int>(100, i));
        if (i % 2)
            dash->clear(code);
    }
    dash->clear_all();
    dash->Destroy();  // a child window goes at once, its posted calls with it
    dash = nullptr;
    flush_events();
    SUCCEED();
}
