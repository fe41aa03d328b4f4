// Gregorian arithmetic, cycles and names at the edges of int: every argument
// gives a defined answer, the documented neutral one outside the counted range.
#include <gtest/gtest.h>

#include <climits>

#include "chrono_oracle.h"
#include "cycles.h"
#include "gregorian.h"
#include "names.h"

namespace qov {
namespace {

TEST(Total, NumbersAtExtremeArguments)
{
    // clang-format off
    const struct { const char* what; long long actual, expected; } rows[] = {
        // Outside years 0..65535, months 1..12 and days 0..65535: 0.
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
        // Inside them the answers count on; the sweeps below hold the oracle.
        {"DayNumber 9999-12-31", DayNumber(9999, 12, 31),
            oracle::DaysOf({9999, 12, 31}) - oracle::DaysOf({1900, 1, 31})},
        {"DayOfWeek day 65535", DayOfWeek(2009, 1, 65535),
            oracle::WeekdayOf(oracle::DateOf(oracle::DaysOf({2009, 1, 1}) + 65534))},
        {"DayNumber 65535-12-31", DayNumber(65535, 12, 31),
            DaysFromCivil(65535, 12, 31) - DaysFromCivil(1900, 1, 31)},
        {"DayOfWeek 65535-12-65535", DayOfWeek(65535, 12, 65535),
            ((DaysFromCivil(65535, 12, 65535) + 4) % 7 + 7) % 7},  // 1970-01-01: Thursday
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

// Year 0 is a leap year of the proleptic Gregorian calendar; years 0..3 and
// the last years <chrono> knows count and name their weekdays as it does.
TEST(Total, EdgeYearsMatchChrono)
{
    const long long origin = oracle::DaysOf({1900, 1, 31});
    for (const auto& [first, last] : {std::pair{0, 3}, std::pair{32760, 32767}}) {
        for (long long day = oracle::DaysOf({first, 1, 1}); day <= oracle::DaysOf({last, 12, 31});
             ++day) {
            const auto [y, m, d] = oracle::DateOf(day);
            ASSERT_EQ(DayNumber(y, m, d), day - origin) << y << "-" << m << "-" << d;
            ASSERT_EQ(DayOfWeek(y, m, d), oracle::WeekdayOf({y, m, d}))
                << y << "-" << m << "-" << d;
        }
    }
    EXPECT_EQ(DayNumber(1, 1, 1) - DayNumber(0, 12, 31), 1);
    EXPECT_EQ(DayNumber(0, 3, 1) - DayNumber(0, 2, 28), 2);
}

TEST(Total, TextsAtExtremeArguments)
{
    // clang-format off
    const struct { const char* what; std::string actual, expected; } rows[] = {
        {"WeekdayName day INT_MIN", WeekdayName(2000, 1, INT_MIN), ""},
        {"WeekdayName day INT_MAX - 491", WeekdayName(2000, 3, INT_MAX - 491), ""},
        {"WeekdayName month 13", WeekdayName(2000, 13, 1), ""},
        {"WeekdayName 0000-01-01", WeekdayName(0, 1, 1), "星期六"},  // proleptic Gregorian
        // (INT_MIN - 4) mod 12 = 0, (INT_MAX - 4) mod 12 = 3.
        {"ZodiacName INT_MIN", ZodiacName(INT_MIN), "鼠"},
        {"ZodiacName INT_MAX", ZodiacName(INT_MAX), "兔"},
        {"ZodiacName -8", ZodiacName(-8), "鼠"},
        // INT_MIN mod 10 = 2, mod 12 = 4; INT_MAX mod 10 = 7, mod 12 = 7.
        {"CycleName INT_MIN", CycleName(INT_MIN), "丙辰"},
        {"CycleName INT_MAX", CycleName(INT_MAX), "辛未"},
        // GanZhiText names valid dates of years 1..9999 only.
        {"GanZhi year INT_MAX", GanZhiText(INT_MAX, 1, 1, 1), ""},
        {"GanZhi year INT_MIN", GanZhiText(INT_MIN, 1, 1, 1), ""},
        {"GanZhi year 40000", GanZhiText(40000, 1, 1, 1), ""},
        {"GanZhi year -30000", GanZhiText(-30000, 6, 1, 1), ""},
        {"GanZhi year 10000", GanZhiText(10000, 1, 1, 3), ""},
        {"GanZhi year 0", GanZhiText(0, 12, 31, 3), ""},
        {"GanZhi month 0", GanZhiText(2009, 0, 1, 2), ""},
        {"GanZhi month 13", GanZhiText(2009, 13, 1, 2), ""},
        {"GanZhi month INT_MAX", GanZhiText(2009, INT_MAX, 1, 2), ""},
        {"GanZhi day 0", GanZhiText(2009, 1, 0, 3), ""},
        {"GanZhi Feb 29 2009", GanZhiText(2009, 2, 29, 1), ""},
        {"GanZhi day INT_MIN", GanZhiText(2009, 1, INT_MIN, 3), ""},
        // Both ends of the range: the day counter (40 on 1900-01-31) by <chrono>.
        {"GanZhi 9999-12-31 day", GanZhiText(9999, 12, 31, 3), CycleName(static_cast<int>(
            oracle::DaysOf({9999, 12, 31}) - oracle::DaysOf({1900, 1, 31}) + 40))},
        {"GanZhi 0001-01-01 day", GanZhiText(1, 1, 1, 3), CycleName(static_cast<int>(
            oracle::DaysOf({1, 1, 1}) - oracle::DaysOf({1900, 1, 31}) + 40))},
        {"LunarDayName INT_MIN", LunarDayName(INT_MIN), ""},
        {"LunarMonthName INT_MAX", LunarMonthName(INT_MAX), ""},
        {"Constellation month 13", ConstellationName(2009, 13, 1), ""},
        {"Constellation day INT_MIN", ConstellationName(2009, 1, INT_MIN), "魔羯座"},
        {"EraName INT_MIN", EraName(INT_MIN), ""},
        {"EraName INT_MAX", EraName(INT_MAX), "建国2147481699年"},
    };
    // clang-format on
    for (const auto& r : rows) EXPECT_EQ(r.actual, r.expected) << r.what;
}

}  // namespace
}  // namespace qov
