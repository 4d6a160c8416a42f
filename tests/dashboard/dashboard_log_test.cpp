// The dashboard as an spdlog sink: records become coloured history rows.
#include "tests/dashboard/dashboard_fixture.h"

#include "platform/handy/timestamp.h"

#include <chrono>

using namespace ovk_wxtools;
using namespace ovk_wxtest;

namespace {

const AlarmCode overheat{"Overheat"};

// A logger that delivers everything to the sinks and lets them filter.
std::shared_ptr<spdlog::logger> logger_into(const std::shared_ptr<spdlog::sinks::sink>& sink)
{
    auto logger = std::make_shared<spdlog::logger>("bench", sink);
    logger->set_level(spdlog::level::trace);
    return logger;
}

}  // namespace

TEST(LevelName, IsTheLevelInCapitals)
{
    EXPECT_STREQ(level_name(spdlog::level::trace), "TRACE");
    EXPECT_STREQ(level_name(spdlog::level::debug), "DEBUG");
    EXPECT_STREQ(level_name(spdlog::level::info), "INFO");
    EXPECT_STREQ(level_name(spdlog::level::warn), "WARNING");
    EXPECT_STREQ(level_name(spdlog::level::err), "ERROR");
    EXPECT_STREQ(level_name(spdlog::level::critical), "CRITICAL");
}

TEST_F(DashboardTest, WarningIsYellowAndEveryOtherLevelRed)
{
    make();
    auto logger = logger_into(dash->sink());
    const double before = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    logger->warn("pressure low");
    logger->error("pump stopped");
    logger->critical("fire");
    settle();
    auto rows = history();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].level, "WARNING");
    EXPECT_EQ(rows[0].message, "pressure low");
    EXPECT_EQ(rows[0].colour, yellow());
    EXPECT_EQ(rows[1].level, "ERROR");
    EXPECT_EQ(rows[1].colour, red());
    EXPECT_EQ(rows[2].level, "CRITICAL");
    EXPECT_EQ(rows[2].message, "fire");
    EXPECT_EQ(rows[2].colour, red());
    // The time column is the record's own time, as timestamp() writes it.
    const wxString earliest = wxString::FromUTF8(ovk_handy::timestamp(before - 1));
    const wxString latest = wxString::FromUTF8(ovk_handy::timestamp(before + 60));
    for (const auto& row : rows) {
        EXPECT_GE(row.time_or_code, earliest);
        EXPECT_LE(row.time_or_code, latest);
    }
    // Only column 0 is coloured.
    EXPECT_EQ(dash->ui_grid_error_history->GetCellBackgroundColour(0, 1),
              dash->ui_grid_error_history->GetDefaultCellBackgroundColour());
    EXPECT_TRUE(listed().empty());
}

TEST_F(DashboardTest, RecordsBelowTheThresholdMakeNoRow)
{
    make();
    auto logger = logger_into(dash->sink());
    logger->info("heartbeat");
    logger->debug("details");
    settle();
    EXPECT_TRUE(history().empty());

    // Lowered, the threshold lets INFO through, and INFO is red as well.
    dash->set_level(spdlog::level::info);
    logger->info("heartbeat");
    logger->debug("details");
    settle();
    auto rows = history();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].level, "INFO");
    EXPECT_EQ(rows[0].colour, red());
}

TEST_F(DashboardTest, ThresholdGivenAtConstruction)
{
    make(nullptr, spdlog::level::debug);
    auto logger = logger_into(dash->sink());
    logger->trace("too fine");
    logger->debug("fine");
    settle();
    auto rows = history();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].level, "DEBUG");
    EXPECT_EQ(rows[0].colour, red());
}

TEST_F(DashboardTest, MessageArgumentsAreMergedIn)
{
    make();
    auto logger = logger_into(dash->sink());
    logger->warn("station {} at {:.1f} bar", 3, 2.25);
    logger->error("温度 {}", 81);
    settle();
    auto rows = history();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].message, "station 3 at 2.2 bar");
    EXPECT_EQ(rows[1].message, wxString::FromUTF8("温度 81"));
}

TEST_F(DashboardTest, RegisteredWithItsOwnLoggerEachNewAlarmIsOneRedRow)
{
    auto logger = std::make_shared<spdlog::logger>("alarms");
    make(logger);
    logger->sinks().push_back(dash->sink());

    dash->alarm(overheat, {});
    dash->alarm(AlarmCode("Door open"), {}, "station 2");
    dash->alarm(overheat, {}, "station 3");  // already active: no row
    settle();
    auto rows = history();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].level, "ERROR");
    EXPECT_EQ(rows[0].message, "Overheat");
    EXPECT_EQ(rows[0].colour, red());
    EXPECT_EQ(rows[1].message, "Door open: station 2");
    EXPECT_EQ(listed(), (std::vector<wxString>{"Overheat", "Door open"}));

    // Log rows and clear rows share the grid in the order things happened.
    dash->clear(overheat);
    dash->alarm(overheat, {}, "", spdlog::level::warn);
    settle();
    rows = history();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[2].level, "GOOD");
    EXPECT_EQ(rows[3].level, "WARNING");
    EXPECT_EQ(rows[3].message, "Overheat");
    EXPECT_EQ(rows[3].colour, yellow());
}

TEST_F(DashboardTest, AlarmBelowTheThresholdIsLoggedButMakesNoRow)
{
    auto logger = recording_logger();
    make(logger, spdlog::level::err);
    logger->sinks().push_back(dash->sink());
    dash->alarm(overheat, {}, "", spdlog::level::warn);
    EXPECT_EQ(logged(), (std::vector<std::string>{"WARNING Overheat"}));
    settle();
    EXPECT_TRUE(history().empty());
    EXPECT_EQ(listed(), (std::vector<wxString>{"Overheat"}));
}

TEST_F(DashboardTest, LoggerSetToNothingStopsLoggingButKeepsTheRegistration)
{
    auto logger = recording_logger();
    make(logger);
    logger->sinks().push_back(dash->sink());
    dash->set_logger(nullptr);
    EXPECT_EQ(dash->logger(), nullptr);
    dash->alarm(overheat, {});
    EXPECT_TRUE(logged().empty());
    EXPECT_EQ(dash->level(), spdlog::level::warn);
    // The sink still takes what the logger gets from elsewhere.
    logger->error("from elsewhere");
    settle();
    auto rows = history();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].message, "from elsewhere");
    EXPECT_EQ(listed(), (std::vector<wxString>{"Overheat"}));

    dash->set_logger(logger);
    EXPECT_EQ(dash->logger(), logger);
}

TEST_F(DashboardTest, EmitTakesARecordDirectly)
{
    make();
    dash->emit(LogRecord(spdlog::level::warn, "by hand", 0.0));
    settle();
    auto rows = history();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].level, "WARNING");
    EXPECT_EQ(rows[0].time_or_code, wxString::FromUTF8(ovk_handy::timestamp(0.0)));
    EXPECT_EQ(rows[0].message, "by hand");
}

TEST_F(DashboardTest, LoggerOutlivingTheDashboardDropsItsRecords)
{
    auto logger = std::make_shared<spdlog::logger>("alarms");
    make(logger);
    auto sink = dash->sink();
    logger->sinks().push_back(sink);
    logger->error("shown");
    EXPECT_TRUE(sink->attached());
    dash->Destroy();
    dash = nullptr;
    EXPECT_FALSE(sink->attached());
    logger->error("nobody to show it");
    logger->critical("nor this");
    EXPECT_EQ(sink->dropped(), 2u);
    flush_events();
}

TEST_F(DashboardTest, InvalidUtf8KeepsTheReadableRestOfTheMessage)
{
    make();
    auto logger = logger_into(dash->sink());
    logger->error("温度 \xff 81");
    settle();
    auto rows = history();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].message, wxString::FromUTF8("温度 \uFFFD 81"));
}
