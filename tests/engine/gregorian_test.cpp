#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>

#include "chrono_oracle.h"
#include "gregorian.h"
#include "names.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace qov {
namespace {

// Chosen values, and every argument up to the edges of int: outside years
// 0..65535, months 1..12 and days 0..65535 the documented neutral answer 0.
TEST(Gregorian, ChosenAndExtremeValues)
{
    // clang-format off
    const struct { const char* what; long long actual, expected; } rows[] = {
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
        {"DayOfWeek day INT_MIN", DayOfWeek(2000, 1, INT_MIN), 0},
        {"DayOfWeek day INT_MAX - 491", DayOfWeek(2000, 3, INT_MAX - 491), 0},
        {"DayOfWeek month 0", DayOfWeek(2000, 0, 1), 0},
        {"DayOfWeek month 13", DayOfWeek(2000, 13, 1), 0},
        {"DayOfWeek year INT_MIN", DayOfWeek(INT_MIN, 1, 1), 0},
        {"DayOfWeek year 65536", DayOfWeek(65536, 1, 1), 0},
        {"DayNumber month 0", DayNumber(2000, 0, 1), 0},
        {"DayNumber month 13", DayNumber(2000, 13, 1), 0},
        {"DayNumber year 67521", DayNumber(67521, 1, 1), 0},  // 67521 - 65536 = 1985
        {"DayNumber day -1", DayNumber(2009, 1, -1), 0},
        {"DayDifference month 0", DayDifference(2000, 0, 1, 1900, 1, 31), 0},
        {"DayDifference month 65535", DayDifference(2000, 1, 1, 1900, 65535, 31), 0},
        // Inside them the answers count on; the sweep below holds the oracle.
        {"DayNumber 9999-12-31", DayNumber(9999, 12, 31),
            oracle::DaysOf({9999, 12, 31}) - oracle::DaysOf({1900, 1, 31})},
        {"DayOfWeek day 65535", DayOfWeek(2009, 1, 65535),
            oracle::WeekdayOf(oracle::DateOf(oracle::DaysOf({2009, 1, 1}) + 65534))},
        {"DayNumber 65535-12-31", DayNumber(65535, 12, 31),
            DaysFromCivil(65535, 12, 31) - DaysFromCivil(1900, 1, 31)},
        {"DayOfWeek 65535-12-65535", DayOfWeek(65535, 12, 65535),
            ((DaysFromCivil(65535, 12, 65535) + 4) % 7 + 7) % 7},  // 1970-01-01: Thursday
        // Year 0 is a leap year of the proleptic Gregorian calendar.
        {"diff 0000-12-31 0001-01-01", DayNumber(1, 1, 1) - DayNumber(0, 12, 31), 1},
        {"diff 0000-02-28 0000-03-01", DayNumber(0, 3, 1) - DayNumber(0, 2, 28), 2},
        // Floored modulo: 0 for m <= 0, no INT_MIN overflow.
        {"FloorMod(5, 0)", FloorMod(5, 0), 0},
        {"FloorMod(-1, INT_MIN)", FloorMod(-1, INT_MIN), 0},
        {"FloorMod(INT_MIN, -1)", FloorMod(INT_MIN, -1), 0},
        {"FloorMod(INT_MIN, 7)", FloorMod(INT_MIN, 7), 5},  // -2^31 = -306783379 * 7 + 5
        {"FloorMod(-1, INT_MAX)", FloorMod(-1, INT_MAX), INT_MAX - 1},
        // Civil days: 0 outside +-10^12 years and months 1..12.
        {"DaysFromCivil LLONG_MIN", DaysFromCivil(LLONG_MIN, 1, 1), 0},
        {"DaysFromCivil LLONG_MAX", DaysFromCivil(LLONG_MAX, 12, 31), 0},
        {"DaysFromCivil month 13", DaysFromCivil(2009, 13, 1), 0},
        {"CivilFromDays LLONG_MIN", CivilFromDays(LLONG_MIN).year, 1970},
        {"CivilFromDays LLONG_MAX", CivilFromDays(LLONG_MAX).year, 1970},
        {"CivilFromDays back from -10^12", CivilFromDays(DaysFromCivil(-MaxCivilYear, 1, 1)).year,
            -MaxCivilYear},
        {"CivilFromDays back from 10^12", CivilFromDays(DaysFromCivil(MaxCivilYear, 12, 31)).day, 31},
    };
    // clang-format on
    for (const auto& r : rows) EXPECT_EQ(r.actual, r.expected) << r.what;
}

// Every day of 1800..2400, of years 0..3 and of the last years <chrono> knows
// against <chrono>: day numbers count days, weekdays follow them, and the
// civil-day conversions round-trip.
TEST(Gregorian, SweepMatchesChrono)
{
    const long long origin = oracle::DaysOf({1900, 1, 31});
    for (const auto& [first, last] : {std::pair{0, 3}, {1800, 2400}, {32760, 32767}})
        for (long long day = oracle::DaysOf({first, 1, 1}); day <= oracle::DaysOf({last, 12, 31});
             ++day) {
            const auto [y, m, d] = oracle::DateOf(day);
            ASSERT_EQ(DayNumber(y, m, d), day - origin) << y << "-" << m << "-" << d;
            ASSERT_EQ(DayOfWeek(y, m, d), oracle::WeekdayOf({y, m, d}));
            const CivilDate c = CivilFromDays(day);
            ASSERT_TRUE(c.year == y && c.month == unsigned(m) && c.day == unsigned(d));
            ASSERT_EQ(DaysFromCivil(y, unsigned(m), unsigned(d)), day);
        }
}

void SetZone(const char* tz)  // nullptr removes $TZ
{
#if defined(_WIN32)
    _putenv_s("TZ", tz ? tz : "");
    _tzset();
#else
    tz ? setenv("TZ", tz, 1) : unsetenv("TZ");
    tzset();
#endif
}

// Today is the local calendar date. On Linux $TZ sets the zone: 14 hours east
// of UTC and 12 hours west of it the date follows it. On Windows the system's
// zone holds whatever %TZ% says, which the C runtime alone would obey ("QQQ-14")
// or misread as UTC ("Asia/Shanghai"): one of the first two rows is a date
// other than the system's at any instant.
TEST(Gregorian, TodayFollowsTheLocalZone)
{
    const char* saved = std::getenv("TZ");
    const std::string savedTz = saved ? saved : "";
#if defined(_WIN32)
    TIME_ZONE_INFORMATION zone{};
    const DWORD mode = GetTimeZoneInformation(&zone);
    const long long system =  // seconds east of UTC
        -60LL * (zone.Bias + (mode == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : zone.StandardBias));
    const std::pair<const char*, long long> zones[] = {
        {"QQQ-14", system}, {"QQQ+12", system}, {"Asia/Shanghai", system}};
#else
    const std::pair<const char*, long long> zones[] = {
        {"Etc/GMT-14", 14 * 3600}, {"Etc/GMT+12", -12 * 3600}, {"UTC", 0}};
#endif
    for (const auto& [tz, offset] : zones) {
        SetZone(tz);
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
    SetZone(saved ? savedTz.c_str() : nullptr);
}

}  // namespace
}  // namespace qov
