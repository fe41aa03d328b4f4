#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "chrono_oracle.h"
#include "gregorian.h"

namespace qov {
namespace {

using oracle::Ymd;

int ChronoDayNumber(int y, int m, int d)
{
    return static_cast<int>(oracle::DaysOf({y, m, d}) - oracle::DaysOf({1900, 1, 31}));
}

TEST(IsLeapYear, CenturyRules)
{
    struct Row {
        int year;
        bool leap;
    };
    const Row rows[] = {{1900, false}, {2000, true}, {2004, true}, {2100, false}, {2009, false},
        {1600, true}, {2400, true}};
    for (const Row& r : rows)
        EXPECT_EQ(IsLeapYear(static_cast<std::uint16_t>(r.year)), r.leap) << r.year;
}

TEST(DaysInMonth, LengthsAndOutOfRange)
{
    struct Row {
        int y, m, days;
    };
    const Row rows[] = {{1900, 2, 28}, {2000, 2, 29}, {2009, 13, 0}, {2009, 0, 0}, {2009, 4, 30},
        {2009, 12, 31}, {2008, 2, 29}, {2009, 11, 30}};
    for (const Row& r : rows) EXPECT_EQ(DaysInMonth(r.y, r.m), r.days) << r.y << "-" << r.m;
}

TEST(DayDifference, ChosenPairs)
{
    struct Row {
        int y1, m1, d1, y2, m2, d2, diff;
    };
    const Row rows[] = {
        {1900, 1, 31, 1900, 1, 31, 0}, {1900, 3, 1, 1900, 2, 28, 1}, {2000, 3, 1, 2000, 2, 28, 2},
        {1900, 1, 1, 1900, 1, 31, -30}, {2009, 12, 31, 2009, 1, 1, 364},
        {2009, 3, 0, 2009, 2, 28, 0},  // day 0 of March is the last day of February
    };
    for (const Row& r : rows)
        EXPECT_EQ(DayDifference(static_cast<std::uint16_t>(r.y1), static_cast<std::uint16_t>(r.m1),
                      static_cast<std::uint16_t>(r.d1), static_cast<std::uint16_t>(r.y2),
                      static_cast<std::uint16_t>(r.m2), static_cast<std::uint16_t>(r.d2)),
            r.diff);
    EXPECT_EQ(DayNumber(2009, 1, 1), 39782);
}

TEST(DayOfWeek, ChosenDates)
{
    struct Row {
        int y, m, d, weekday;
    };
    const Row rows[] = {{1900, 1, 1, 1}, {2000, 2, 29, 2}, {2009, 1, 1, 4}, {1899, 12, 31, 0},
        {2049, 12, 31, 5}, {2009, 2, 1, 0}};
    for (const Row& r : rows) EXPECT_EQ(DayOfWeek(r.y, r.m, r.d), r.weekday);
}

// Every day from 1800 to 2400 against <chrono>: day numbers count days and
// weekdays follow them.
TEST(GregorianSweep, MatchesChrono)
{
    for (long long day = oracle::DaysOf({1800, 1, 1}); day <= oracle::DaysOf({2400, 12, 31});
         ++day) {
        const auto [y, m, d] = oracle::DateOf(day);
        ASSERT_EQ(DayNumber(y, m, d), ChronoDayNumber(y, m, d)) << y << "-" << m << "-" << d;
        ASSERT_EQ(DayOfWeek(y, m, d), oracle::WeekdayOf({y, m, d}));
        const CivilDate c = CivilFromDays(day);
        ASSERT_TRUE(c.year == y && c.month == static_cast<unsigned>(m)
            && c.day == static_cast<unsigned>(d));
        ASSERT_EQ(DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)), day);
    }
}

// The local calendar date, not the UTC one: in a zone 14 hours east of UTC
// and one 12 hours west of it, the date follows the zone.
TEST(Today, FollowsTheLocalZone)
{
    const char* saved = std::getenv("TZ");
    const std::string savedTz = saved ? saved : "";
    struct Row {
        const char* tz;
        long long offsetSeconds;
    };
    const Row rows[] = {{"Etc/GMT-14", 14 * 3600}, {"Etc/GMT+12", -12 * 3600}, {"UTC", 0}};
    for (const Row& r : rows) {
        setenv("TZ", r.tz, 1);
        tzset();
        const long long before = static_cast<long long>(std::time(nullptr));
        const SolarDate today = Today();
        const long long after = static_cast<long long>(std::time(nullptr));
        bool matched = false;
        for (long long t : {before, after}) {
            const long long localDays = (t + r.offsetSeconds) / 86400 - ((t + r.offsetSeconds) < 0);
            const CivilDate c = CivilFromDays(localDays);
            matched = matched
                || (today.year == c.year && today.month == static_cast<int>(c.month)
                    && today.day == static_cast<int>(c.day));
        }
        EXPECT_TRUE(matched) << r.tz;
    }
    if (saved)
        setenv("TZ", savedTz.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace qov
