#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "chrono_oracle.h"
#include "gregorian.h"

namespace qov {
namespace {

TEST(Gregorian, ChosenValues)
{
    struct Row {
        const char* what;
        int actual, expected;
    };
    const Row rows[] = {
        {"leap 1900", IsLeapYear(1900), 0},
        {"leap 2000", IsLeapYear(2000), 1},
        {"leap 2004", IsLeapYear(2004), 1},
        {"leap 2100", IsLeapYear(2100), 0},
        {"days 1900-02", DaysInMonth(1900, 2), 28},
        {"days 2000-02", DaysInMonth(2000, 2), 29},
        {"days 2009-13", DaysInMonth(2009, 13), 0},
        {"days 2009-00", DaysInMonth(2009, 0), 0},
        {"diff same", DayDifference(1900, 1, 31, 1900, 1, 31), 0},
        {"diff 1900 Feb", DayDifference(1900, 3, 1, 1900, 2, 28), 1},
        {"diff 2000 Feb", DayDifference(2000, 3, 1, 2000, 2, 28), 2},
        {"diff backwards", DayDifference(1900, 1, 1, 1900, 1, 31), -30},
        {"diff day 0", DayDifference(2009, 3, 0, 2009, 2, 28), 0},
        {"number 2009", DayNumber(2009, 1, 1), 39782},
        {"weekday 1900-01-01", DayOfWeek(1900, 1, 1), 1},
        {"weekday 2000-02-29", DayOfWeek(2000, 2, 29), 2},
        {"weekday 2009-01-01", DayOfWeek(2009, 1, 1), 4},
    };
    for (const Row& r : rows) EXPECT_EQ(r.actual, r.expected) << r.what;
}

// Every day from 1800 to 2400 against <chrono>: day numbers count days,
// weekdays follow them, and the civil-day conversions round-trip.
TEST(Gregorian, SweepMatchesChrono)
{
    const long long origin = oracle::DaysOf({1900, 1, 31});
    for (long long day = oracle::DaysOf({1800, 1, 1}); day <= oracle::DaysOf({2400, 12, 31});
         ++day) {
        const auto [y, m, d] = oracle::DateOf(day);
        ASSERT_EQ(DayNumber(y, m, d), day - origin) << y << "-" << m << "-" << d;
        ASSERT_EQ(DayOfWeek(y, m, d), oracle::WeekdayOf({y, m, d}));
        const CivilDate c = CivilFromDays(day);
        ASSERT_TRUE(c.year == y && c.month == unsigned(m) && c.day == unsigned(d));
        ASSERT_EQ(DaysFromCivil(y, unsigned(m), unsigned(d)), day);
    }
}

// Today is the local calendar date: 14 hours east of UTC and 12 hours west
// of it the date follows the zone.
TEST(Gregorian, TodayFollowsTheLocalZone)
{
    const char* saved = std::getenv("TZ");
    const std::string savedTz = saved ? saved : "";
    const std::pair<const char*, long long> zones[] = {
        {"Etc/GMT-14", 14 * 3600}, {"Etc/GMT+12", -12 * 3600}, {"UTC", 0}};
    for (const auto& [tz, offset] : zones) {
        setenv("TZ", tz, 1);
        tzset();
        const long long before = std::time(nullptr);
        const SolarDate today = Today();
        const long long after = std::time(nullptr);
        bool matched = false;  // the clock may pass midnight between the reads
        for (const long long t : {before, after}) {
            const CivilDate c = CivilFromDays((t + offset) / 86400);
            matched = matched || (today == SolarDate{int(c.year), int(c.month), int(c.day)});
        }
        EXPECT_TRUE(matched) << tz;
    }
    if (saved)
        setenv("TZ", savedTz.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace qov
