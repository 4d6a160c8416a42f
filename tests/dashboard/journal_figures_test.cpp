// Figures of alarm management from journal entries: counts per 10 minutes,
// floods, chattering alarms, the most frequent, time to acknowledge.
#include "wxtools/dashboard/journal_figures.h"

#include <gtest/gtest.h>

using namespace ovk_wxtools;
using namespace std::chrono_literals;

namespace {

const auto t0 = std::chrono::system_clock::from_time_t(1780000000);

JournalEntry at(std::chrono::seconds offset, const std::string& code,
                JournalEntry::Kind kind = JournalEntry::Kind::raise, const std::string& station = "工位1")
{
    JournalEntry e;
    e.time = t0 + offset;
    e.station = station;
    e.code = code;
    e.kind = kind;
    return e;
}

}  // namespace

TEST(JournalFigures, CountsFloodsChatteringTopTenAndAcknowledgeTimes)
{
    std::vector<JournalEntry> entries;
    // 0-10 min: 12 raises of 12 codes (a flood); 10-20 min: 10 more (the flood goes on).
    for (int i = 0; i < 22; ++i)
        entries.push_back(at(std::chrono::seconds(i * 50), "c" + std::to_string(i % 12)));
    // 30-40 min: "温度高" three times within 50 s (chattering), "door" three times over 3 minutes (not).
    for (int i = 0; i < 3; ++i) {
        entries.push_back(at(1800s + std::chrono::seconds(i * 25), "温度高"));
        entries.push_back(at(1810s + std::chrono::seconds(i * 90), "door", JournalEntry::Kind::raise, "B"));
    }
    entries.push_back(at(1810s + 30s, "door", JournalEntry::Kind::acknowledge, "B"));
    entries.push_back(at(1800s + 50s + 10s, "温度高", JournalEntry::Kind::acknowledge));
    entries.push_back(at(1800s + 10s, "温度高", JournalEntry::Kind::repeat));  // not a raise
    entries.push_back(at(3h, "late"));                                        // outside the span
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.time < b.time; });

    const JournalFigures f = figures_of(entries, t0, t0 + 1h);
    EXPECT_EQ(f.per_10_minutes, (std::vector<std::size_t>{12, 10, 0, 6, 0, 0}));
    ASSERT_EQ(f.floods.size(), 1u);
    EXPECT_EQ(f.floods[0].start, t0);
    EXPECT_EQ(f.floods[0].end, t0 + 20min);
    EXPECT_EQ(f.floods[0].raises, 22u);
    EXPECT_EQ(f.chattering, (std::vector<JournalFigures::AlarmCount>{{"工位1", "温度高", 3}}));
    ASSERT_EQ(f.most_frequent.size(), 10u);
    EXPECT_EQ(f.most_frequent[0].raises, 3u);
    EXPECT_EQ(f.acknowledged, 2u);
    EXPECT_EQ(f.acknowledge_max, 30s);   // door: raised at 1810 s, acknowledged at 1840 s
    EXPECT_EQ(f.acknowledge_median, 30s);
    EXPECT_EQ(f.acknowledge_mean, 20s);  // 温度高: last raised at 1850 s, acknowledged at 1860 s
}
