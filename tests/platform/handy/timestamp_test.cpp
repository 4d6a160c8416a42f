#include "platform/handy/timestamp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>

using ovk_handy::timestamp;

namespace {

// Each test runs in its own process, so the zone can be fixed for it.
void use_zone(const char* zone)
{
    setenv("TZ", zone, 1);
    tzset();
}

}  // namespace

TEST(Timestamp, FormatsLocalTimeToTheMillisecond)
{
    use_zone("UTC");
    EXPECT_EQ(timestamp(0.0), "1970-01-01 00:00:00.000");
    EXPECT_EQ(timestamp(1700000000.25), "2023-11-14 22:13:20.250");
    // A fraction stored just below its decimal value still shows that value.
    EXPECT_EQ(timestamp(1.001), "1970-01-01 00:00:01.001");
    use_zone("CET-1");
    EXPECT_EQ(timestamp(1700000000.25), "2023-11-14 23:13:20.250");
}

TEST(Timestamp, CutsTheFractionInsteadOfRoundingIntoTheNextSecond)
{
    use_zone("UTC");
    EXPECT_EQ(timestamp(59.9996), "1970-01-01 00:00:59.999");
    EXPECT_EQ(timestamp(86399.9999), "1970-01-01 23:59:59.999");
}

TEST(Timestamp, TimesBeforeTheEpochStayInTheirOwnSecond)
{
    use_zone("UTC");
    EXPECT_EQ(timestamp(-0.25), "1969-12-31 23:59:59.750");
    EXPECT_EQ(timestamp(-1.0), "1969-12-31 23:59:59.000");
}

TEST(Timestamp, ClockReadingsGiveTheSameText)
{
    use_zone("UTC");
    using namespace std::chrono;
    const system_clock::time_point t{milliseconds(1700000000250LL)};
    EXPECT_EQ(timestamp(t), "2023-11-14 22:13:20.250");
    EXPECT_EQ(timestamp(t + microseconds(999)), "2023-11-14 22:13:20.250");
    EXPECT_EQ(timestamp(system_clock::time_point{milliseconds(-250)}), "1969-12-31 23:59:59.750");
}

TEST(Timestamp, ValuesNoClockCanShowGiveAPlaceholder)
{
    EXPECT_EQ(timestamp(std::numeric_limits<double>::quiet_NaN()), "(time out of range)");
    EXPECT_EQ(timestamp(std::numeric_limits<double>::infinity()), "(time out of range)");
    EXPECT_EQ(timestamp(1e300), "(time out of range)");
}
