// The dashboard's opt-in extras (counts, acknowledge and shelve, history cap,
// level filter, CSV export, kept view), its read side, and that none of it
// shows without its option.
#include "tests/dashboard/dashboard_fixture.h"

#include <fstream>
#include <regex>
#include <sstream>

using namespace std::chrono_literals;

using namespace ovk_wxtools;
using namespace ovk_wxtest;

namespace {

const AlarmCode overheat{"Overheat"};
const AlarmCode door{"Door open"};

const wxColour ack_blue(135, 206, 250);
const wxColour shelved_grey(192, 192, 192);

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST_F(DashboardTest, DefaultOptionsAddNoControlAndNoMark)
{
    make(recording_logger());
    for (wxWindow* extra : {static_cast<wxWindow*>(dash->ui_acknowledge), static_cast<wxWindow*>(dash->ui_shelve),
                            static_cast<wxWindow*>(dash->ui_level_filter), static_cast<wxWindow*>(dash->ui_export_csv)})
        EXPECT_EQ(extra, nullptr);
    EXPECT_EQ(dash->GetChildren().GetCount(), 2u);  // the two static boxes of the layout
    dash->alarm(overheat, {});
    settle();
    dash->alarm(overheat, {}, "B");  // already active: no refresh, no count
    for (int i = 0; i < 30; ++i) {
        dash->alarm(door, {});
        dash->clear(door);
    }
    settle();
    EXPECT_EQ(listed(), (std::vector<wxString>{"Overheat"}));
    EXPECT_EQ(history().size(), 30u);  // no cap, no dropped-rows row
    EXPECT_EQ(history()[0].level, "GOOD");
}

TEST_F(DashboardTest, SnapshotListsActiveAlarmsWithCountsAndTimes)
{
    make();
    dash->alarm(overheat, 1, "B", spdlog::level::warn);
    dash->alarm(door, {});
    dash->alarm(overheat, 2, wxString::FromUTF8("工位1"), spdlog::level::critical);
    auto alarms = dash->state()->snapshot();
    ASSERT_EQ(alarms.size(), 2u);
    EXPECT_EQ(alarms[0].code, overheat);
    EXPECT_EQ(alarms[0].identities, (std::vector<wxString>{"B", wxString::FromUTF8("工位1")}));
    EXPECT_EQ(std::any_cast<int>(*alarms[0].detail), 2);
    EXPECT_EQ(alarms[0].level, spdlog::level::critical);
    EXPECT_EQ(alarms[0].times_raised, 2u);
    EXPECT_LE(alarms[0].first_raised, alarms[0].last_raised);
    EXPECT_FALSE(alarms[0].acknowledged);
    EXPECT_EQ(alarms[1].times_raised, 1u);
    dash->clear(overheat);
    dash->alarm(overheat, {});  // a new alarm: counted afresh
    alarms = dash->snapshot();
    ASSERT_EQ(alarms.size(), 2u);
    EXPECT_EQ(alarms[1].code, overheat);
    EXPECT_EQ(alarms[1].times_raised, 1u);
}

TEST_F(DashboardTest, CountsAndTimesShowInTheList)
{
    make(nullptr, spdlog::level::warn, {.counts_and_times = true});
    dash->alarm(overheat, {});
    dash->alarm(AlarmCode("急停"), {});
    settle();
    dash->alarm(overheat, {}, "B");
    dash->alarm(overheat, {}, "C");
    settle();  // a repeated raise refreshes the list with this option
    const auto list = listed();
    ASSERT_EQ(list.size(), 2u);
    const std::regex shape("(.+) \\(([0-9]+)\xC3\x97, since [0-2][0-9]:[0-5][0-9]:[0-6][0-9]\\)");
    std::smatch parts;
    const std::string first = list[0].utf8_string(), second = list[1].utf8_string();
    ASSERT_TRUE(std::regex_match(first, parts, shape)) << first;
    EXPECT_EQ(parts[1], "Overheat");
    EXPECT_EQ(parts[2], "3");
    ASSERT_TRUE(std::regex_match(second, parts, shape)) << second;
    EXPECT_EQ(parts[1], "急停");
    EXPECT_EQ(parts[2], "1");
}

TEST_F(DashboardTest, AcknowledgeMarksRowsAndUnmarksTheList)
{
    make(nullptr, spdlog::level::warn, {.acknowledge_and_shelve = true});
    dash->alarm(overheat, {});
    dash->alarm(door, {});
    dash->alarm(AlarmCode("急停"), {});
    settle();
    EXPECT_EQ(listed(), (std::vector<wxString>{"(!) Overheat", "(!) Door open", wxString::FromUTF8("(!) 急停")}));

    // The button acknowledges the selected alarm.
    dash->ui_list_alarm->SetSelection(1);
    click(dash->ui_acknowledge);
    settle();
    EXPECT_EQ(listed(), (std::vector<wxString>{"(!) Overheat", "Door open", wxString::FromUTF8("(!) 急停")}));
    EXPECT_FALSE(dash->acknowledge(door));  // once only
    EXPECT_FALSE(dash->acknowledge(AlarmCode("never raised")));
    click(dash->ui_acknowledge_all);
    settle();
    EXPECT_EQ(listed(), (std::vector<wxString>{"Overheat", "Door open", wxString::FromUTF8("急停")}));
    EXPECT_TRUE(dash->snapshot()[0].acknowledged);

    const auto rows = history();
    ASSERT_EQ(rows.size(), 3u);
    const wxString order[] = {"Door open", "Overheat", wxString::FromUTF8("急停")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rows[i].level, "ACK");
        EXPECT_EQ(rows[i].time_or_code, order[i]);
        EXPECT_EQ(rows[i].message, "Acknowledged");
        EXPECT_EQ(rows[i].colour, ack_blue);
    }
    // Raised again after clearing, an alarm needs acknowledging again.
    dash->clear(overheat);
    dash->alarm(overheat, {});
    settle();
    EXPECT_EQ(listed().back(), "(!) Overheat");
}

TEST_F(DashboardTest, ShelvedAlarmHidesAndComesBackWhenItsTimeIsUp)
{
    make(nullptr, spdlog::level::warn, {.acknowledge_and_shelve = true});
    dash->alarm(overheat, {});
    dash->alarm(door, {});
    settle();
    EXPECT_FALSE(dash->shelve(AlarmCode("never raised"), std::chrono::seconds(1)));
    dash->ui_list_alarm->SetSelection(0);
    click(dash->ui_shelve);  // the first choice: 5 min
    ASSERT_TRUE(dash->shelve(door, std::chrono::milliseconds(400)));
    settle();
    EXPECT_TRUE(listed().empty());
    EXPECT_TRUE(dash->fired(door));  // shelved, still active
    auto rows = history();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].message, "Shelved for 5 min");
    EXPECT_EQ(rows[1].level, "SHELVED");
    EXPECT_EQ(rows[1].time_or_code, "Door open");
    EXPECT_EQ(rows[1].message, "Shelved for 400 ms");
    EXPECT_EQ(rows[1].colour, shelved_grey);
    ASSERT_TRUE(wait_until([&] { return listed() == std::vector<wxString>{"(!) Door open"}; }, 10s));
    EXPECT_TRUE(dash->snapshot()[0].shelved);
    EXPECT_FALSE(dash->snapshot()[1].shelved);
}

TEST_F(DashboardTest, CappedHistoryDropsOldestRowsAndSaysHowMany)
{
    make(nullptr, spdlog::level::warn, {.history_cap = 5});
    for (int i = 0; i < 8; ++i) {
        AlarmCode code("code " + std::to_string(i));
        dash->alarm(code, {});
        dash->clear(code);
        if (i == 5)
            settle();  // the cap also holds across separate writes
    }
    settle();
    const auto rows = history();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].message, "3 older rows dropped");
    for (int i = 1; i < 6; ++i)
        EXPECT_EQ(rows[i].time_or_code, wxString::Format("code %d", i + 2));
}

TEST(DashboardCsv, QuotesFieldsThatNeedIt)
{
    struct Case {
        std::vector<std::string> fields;
        std::string line;
    } cases[] = {
        {{"plain", "", "text"}, "plain,,text\r\n"},
        {{"a,b"}, "\"a,b\"\r\n"},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\"\r\n"},
        {{"two\nlines", "cr\r"}, "\"two\nlines\",\"cr\r\"\r\n"},
        {{"温度, 高", "急停"}, "\"温度, 高\",急停\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BigEventDashBoard::csv_line(c.fields), c.line);
}

TEST_F(DashboardTest, HistoryExportsAsCsvWithHeaderAndUtf8)
{
    make(nullptr, spdlog::level::warn, {.history_cap = 2, .csv_export = true});
    ASSERT_NE(dash->ui_export_csv, nullptr);
    auto logger = std::make_shared<spdlog::logger>("csv", dash->sink());
    logger->warn("first");
    logger->error("温度 \"高\", 81");
    dash->alarm(AlarmCode("急停"), {});
    dash->clear(AlarmCode("急停"));
    settle();
    const std::string path = testing::TempDir() + "history_导出.csv";
    ASSERT_TRUE(dash->export_history_csv(wxString::FromUTF8(path)));
    const std::string text = read_file(path);
    const std::string time = history()[1].time_or_code.utf8_string();
    EXPECT_EQ(text, "Level / State,Time / Alarm,Message\r\n"
                    ",,1 older rows dropped\r\n"
                    "ERROR," + time + ",\"温度 \"\"高\"\", 81\"\r\n"
                    "GOOD,急停,\r\n");
    EXPECT_FALSE(dash->export_history_csv(wxString::FromUTF8(testing::TempDir() + "no/such/folder/x.csv")));
}

TEST_F(DashboardTest, LevelFilterHidesLowerLogRowsAndKeepsTheSelection)
{
    make(nullptr, spdlog::level::info, {.level_filter = true, .keep_view = true});
    auto logger = std::make_shared<spdlog::logger>("filter", dash->sink());
    logger->info("i1");
    logger->warn("w1");
    logger->error("e1");
    dash->alarm(overheat, {});
    dash->clear(overheat);
    logger->critical("c1");
    settle();
    wxGrid* grid = dash->ui_grid_error_history;
    grid->SelectRow(2);  // e1
    auto selected_rows = [grid] {
        const wxArrayInt rows = grid->GetSelectedRows();
        return std::vector<int>(rows.begin(), rows.end());
    };
    auto shown = [&] {
        std::vector<wxString> out;
        for (const auto& row : history())
            out.push_back(row.level == "GOOD" ? row.time_or_code : row.message);
        return out;
    };
    select(dash->ui_level_filter, 2);  // ERROR and up
    EXPECT_EQ(shown(), (std::vector<wxString>{"e1", "Overheat", "c1"}));
    EXPECT_EQ(selected_rows(), std::vector<int>{0});
    dash->set_history_filter(spdlog::level::critical);
    EXPECT_EQ(shown(), (std::vector<wxString>{"Overheat", "c1"}));
    EXPECT_TRUE(selected_rows().empty());
    dash->set_history_filter(spdlog::level::trace);
    EXPECT_EQ(shown(), (std::vector<wxString>{"i1", "w1", "e1", "Overheat", "c1"}));
    // Rows arriving under a filter follow it.
    select(dash->ui_level_filter, 1);
    logger->info("i2");
    logger->warn("w2");
    settle();
    EXPECT_EQ(shown(), (std::vector<wxString>{"w1", "e1", "Overheat", "c1", "w2"}));
}

TEST_F(DashboardTest, ListSelectionStaysWithItsAlarmAcrossRefreshes)
{
    make(nullptr, spdlog::level::warn, {.keep_view = true});
    dash->alarm(overheat, {});
    dash->alarm(door, {});
    settle();
    dash->ui_list_alarm->SetSelection(1);
    dash->alarm(AlarmCode("Vacuum lost"), {});
    dash->clear(overheat);
    settle();
    ASSERT_EQ(listed(), (std::vector<wxString>{"Door open", "Vacuum lost"}));
    EXPECT_EQ(dash->ui_list_alarm->GetSelection(), 0);
}

TEST_F(DashboardTest, CapDropsFilteredRowsTooAndTheFilterShowsWhatIsKept)
{
    make(nullptr, spdlog::level::info, {.history_cap = 4, .level_filter = true});
    auto logger = std::make_shared<spdlog::logger>("cap", dash->sink());
    dash->set_history_filter(spdlog::level::err);
    for (const char* text : {"e1", "i1", "i2", "e2", "i3", "i4"})
        logger->log(text[0] == 'e' ? spdlog::level::err : spdlog::level::info, text);
    settle();
    auto rows = history();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].message, "2 older rows dropped");
    EXPECT_EQ(rows[0].colour, wxColour(211, 211, 211));
    EXPECT_EQ(rows[1].message, "e2");
    EXPECT_EQ(rows[1].colour, red());
    dash->set_history_filter(spdlog::level::trace);
    rows = history();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1].message, "i2");
    EXPECT_EQ(rows[4].message, "i4");
    EXPECT_EQ(rows[4].level, "INFO");
}
