#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "chrono_oracle.h"
#include "lunar.h"
#include "names.h"
#include "solarterm.h"

namespace qov {
namespace {

using oracle::Ymd;

// Year and month sizes; outside the table (lunar years 1900..2100, months
// 1..12) every int gives 0, with no read outside a table (the asan preset
// runs this).
TEST(LunarTable, YearSizes)
{
    // clang-format off
    const struct { const char* what; int actual, expected; } rows[] = {
        {"1900 days", LunarYearDays(1900), 384},
        {"2009 days", LunarYearDays(2009), 384},
        {"2009 leap", LeapMonth(2009), 5},
        {"2009 leap days", LeapMonthDays(2009), 29},
        {"2009 fifth", LunarMonthDays(2009, 5), 30},
        {"2017 leap days", LeapMonthDays(2017), 30},
        {"2017 sixth", LunarMonthDays(2017, 6), 29},
        {"2010 no leap", LeapMonthDays(2010), 0},
        // Corrected entries (GB/T 33661-2017).
        {"1933 leap days", LeapMonthDays(1933), 30},
        {"1996 fifth", LunarMonthDays(1996, 5), 30},
        {"1996 seventh", LunarMonthDays(1996, 7), 30},
        {"2033 leap", LeapMonth(2033), 11},
        {"LeapMonth(2051)", LeapMonth(2051), 0},  // in the table now: no leap month
        {"LeapMonth(2052)", LeapMonth(2052), 8},
        {"LeapMonth(1899)", LeapMonth(1899), 0},
        {"LeapMonth(2101)", LeapMonth(2101), 0},
        {"LeapMonth(INT_MIN)", LeapMonth(INT_MIN), 0},
        {"LeapMonth(INT_MAX)", LeapMonth(INT_MAX), 0},
        {"LunarMonthDays(1900, 33)", LunarMonthDays(1900, 33), 0},
        {"LunarMonthDays(1900, 0)", LunarMonthDays(1900, 0), 0},
        {"LunarMonthDays(1900, 13)", LunarMonthDays(1900, 13), 0},
        {"LunarMonthDays(1900, INT_MIN)", LunarMonthDays(1900, INT_MIN), 0},
        {"LunarMonthDays(2101, 1)", LunarMonthDays(2101, 1), 0},
        {"LunarMonthDays(1899, 12)", LunarMonthDays(1899, 12), 0},
        {"LunarMonthDays(2100, 12)", LunarMonthDays(2100, 12), 29},
        {"LeapMonthDays(2101)", LeapMonthDays(2101), 0},
        {"LeapMonthDays(INT_MIN)", LeapMonthDays(INT_MIN), 0},
        {"LunarYearDays(1899)", LunarYearDays(1899), 0},
        {"LunarYearDays(2101)", LunarYearDays(2101), 0},
        {"LunarYearDays(INT_MAX)", LunarYearDays(INT_MAX), 0},
        {"LunarYearEntry(2101)", static_cast<int>(LunarYearEntry(2101)), 0},
        {"LunarYearEntry(INT_MIN)", static_cast<int>(LunarYearEntry(INT_MIN)), 0},
    };
    // clang-format on
    for (const auto& r : rows) EXPECT_EQ(r.actual, r.expected) << r.what;
}

// The lunar table of 1929..2050 as the Purple Mountain Observatory publishes
// it (GB/T 33661-2017; 1933, 1996 and 2033 corrected against older
// programs), typed in from the published calendar.
// clang-format off
constexpr std::uint32_t PublishedLunarYears1929To2050[] = {
    0x04970, 0x06566, 0x0D4A0, 0x0EA50, 0x16A95, 0x05AD0, 0x02B60, 0x186E3, 0x092E0, 0x1C8D7,  // 1929
    0x0C950, 0x0D4A0, 0x1D8A6, 0x0B550, 0x056A0, 0x1A5B4, 0x025D0, 0x092D0, 0x0D2B2, 0x0A950,  // 1939
    0x0B557, 0x06CA0, 0x0B550, 0x15355, 0x04DA0, 0x0A5B0, 0x14573, 0x052B0, 0x0A9A8, 0x0E950,  // 1949
    0x06AA0, 0x0AEA6, 0x0AB50, 0x04B60, 0x0AAE4, 0x0A570, 0x05260, 0x0F263, 0x0D950, 0x05B57,  // 1959
    0x056A0, 0x096D0, 0x04DD5, 0x04AD0, 0x0A4D0, 0x0D4D4, 0x0D250, 0x0D558, 0x0B540, 0x0B6A0,  // 1969
    0x195A6, 0x095B0, 0x049B0, 0x0A974, 0x0A4B0, 0x0B27A, 0x06A50, 0x06D40, 0x0AF46, 0x0AB60,  // 1979
    0x09570, 0x04AF5, 0x04970, 0x064B0, 0x074A3, 0x0EA50, 0x06B58, 0x05AC0, 0x0AB60, 0x096D5,  // 1989
    0x092E0, 0x0C960, 0x0D954, 0x0D4A0, 0x0DA50, 0x07552, 0x056A0, 0x0ABB7, 0x025D0, 0x092D0,  // 1999
    0x0CAB5, 0x0A950, 0x0B4A0, 0x0BAA4, 0x0AD50, 0x055D9, 0x04BA0, 0x0A5B0, 0x15176, 0x052B0,  // 2009
    0x0A930, 0x07954, 0x06AA0, 0x0AD50, 0x05B52, 0x04B60, 0x0A6E6, 0x0A4E0, 0x0D260, 0x0EA65,  // 2019
    0x0D530, 0x05AA0, 0x076A3, 0x096D0, 0x04AFB, 0x04AD0, 0x0A4D0, 0x1D0B6, 0x0D250, 0x0D520,  // 2029
    0x0DD45, 0x0B5A0, 0x056D0, 0x055B2, 0x049B0, 0x0A577, 0x0A4B0, 0x0AA50, 0x1B255, 0x06D20,  // 2039
    0x0ADA0, 0x14B63,  // 2049
};
// clang-format on

// The entries computed from the ephemeris reproduce the published table bit
// for bit; before 1929, where the official tables reckoned in Beijing local
// time, the same rule differs from the record in 1914, 1915, 1916 and 1920
// only, and the engine keeps the record.
TEST(LunarTable, ComputedYearsMatchThePublishedTable)
{
    for (int y = 1929; y <= 2050; ++y)
        EXPECT_EQ(generated::ComputedLunarYears[static_cast<std::size_t>(y - 1929)],
            PublishedLunarYears1929To2050[y - 1929])
            << y;
    std::vector<int> differing;
    for (int y = 1900; y < 1929; ++y) {
        const auto i = static_cast<std::size_t>(y - 1900);
        EXPECT_EQ(LunarYearEntry(y), HistoricalLunarYears[i]) << y;
        if (generated::RuleLunarYearsBefore1929[i] != HistoricalLunarYears[i])
            differing.push_back(y);
    }
    EXPECT_EQ(differing, (std::vector<int>{1914, 1915, 1916, 1920}));
    for (int y = 1929; y <= LastLunarYear; ++y)
        EXPECT_EQ(
            LunarYearEntry(y), generated::ComputedLunarYears[static_cast<std::size_t>(y - 1929)]);
}

// The computed years obey the rules they were made by: 12 or 13 months (of
// 29 or 30 days, as the sweep below checks), a leap month holds no principal
// term (中气), and 冬至 falls in month 11.
TEST(LunarTable, ComputedYearsKeepTheRules)
{
    const auto principalTermIn = [](long long first, int days) {
        for (long long t = first; t < first + days; ++t) {
            const Ymd g = oracle::DateOf(t);
            const std::string term = SolarTermOnDate(g.y, g.m, g.d);
            for (std::size_t k = 1; k < 24; k += 2)
                if (term == SolarTermNames[k]) return true;
        }
        return false;
    };
    for (int y = 1929; y <= LastLunarYear; ++y) {
        const int leap = LeapMonth(y);
        ASSERT_TRUE(leap >= 0 && leap <= 12) << y;
        if (leap != 0) {
            // The leap month begins the day after the last day of month `leap`.
            long long t = oracle::DaysOf({y, 1, 1});
            while (true) {
                const Ymd g = oracle::DateOf(t);
                const LunarDate l = ToLunar(g.y, g.m, g.d);
                if (l.year == y && l.month == leap && l.isLeap && l.day == 1) break;
                ++t;
                ASSERT_LT(t, oracle::DaysOf({y + 1, 12, 31})) << y;
            }
            EXPECT_FALSE(principalTermIn(t, LeapMonthDays(y))) << y;
        }
        const SolarTermTime solstice = SolarTermDate(y, 23);
        const LunarDate l = ToLunar(solstice.year, solstice.month, solstice.day);
        EXPECT_TRUE(l.year == y && l.month == 11 && !l.isLeap) << y;
    }
}

TEST(SolarToLunar, ChosenDates)
{
    // clang-format off
    const struct { const char* name; Ymd solar; int year, month, day; bool leap; } rows[] = {
        {"FirstTableDay", {1900, 1, 31}, 1900, 1, 1, false},
        {"NewYearsEve2009", {2009, 1, 25}, 2008, 12, 30, false},
        {"NewYear2009", {2009, 1, 26}, 2009, 1, 1, false},
        {"Fifth2009", {2009, 5, 24}, 2009, 5, 1, false},
        {"FifthEnd2009", {2009, 6, 22}, 2009, 5, 30, false},
        {"LeapFifthStart2009", {2009, 6, 23}, 2009, 5, 1, true},
        {"LeapFifthEnd2009", {2009, 7, 21}, 2009, 5, 29, true},
        {"Sixth2009", {2009, 7, 22}, 2009, 6, 1, false},
        {"LeapFourth2012", {2012, 5, 21}, 2012, 4, 1, true},
        {"AfterLeap2012", {2012, 6, 19}, 2012, 5, 1, false},
        {"LeapSixth2017", {2017, 7, 23}, 2017, 6, 1, true},
        {"LeapSixthEnd2017", {2017, 8, 21}, 2017, 6, 30, true},
        {"Seventh2017", {2017, 8, 22}, 2017, 7, 1, false},
        {"Dec2049", {2049, 12, 31}, 2049, 12, 7, false},
        {"LastOf2049", {2050, 1, 22}, 2049, 12, 29, false},
        {"NewYear2050", {2050, 1, 23}, 2050, 1, 1, false},
        {"LastOf2050", {2051, 2, 10}, 2050, 12, 29, false},
        // Computed years (GB/T 33661-2017 rules on the ephemeris).
        {"NewYear2051", {2051, 2, 11}, 2051, 1, 1, false},
        {"LeapEighth2052", {2052, 9, 23}, 2052, 8, 1, true},
        {"NewYear2057", {2057, 2, 4}, 2057, 1, 1, false},
        {"NewYear2100", {2100, 2, 9}, 2100, 1, 1, false},
        {"LastTableDay", {2101, 1, 28}, 2100, 12, 29, false},
        // New moons near midnight: 2057-09-29 00:00:36 and 2097-08-08
        // 00:01:26 begin their months on those days, 2089-09-04 23:59:05 on
        // the 4th.
        {"NewMoonAfterMidnight2057", {2057, 9, 29}, 2057, 9, 1, false},
        {"NewMoonAfterMidnight2097", {2097, 8, 8}, 2097, 7, 1, false},
        {"NewMoonBeforeMidnight2089", {2089, 9, 4}, 2089, 8, 1, false},
        // The three corrected years of the table.
        {"LeapFifth30_1933", {1933, 7, 22}, 1933, 5, 30, true},
        {"Fifth30_1996", {1996, 7, 15}, 1996, 5, 30, false},
        {"Seventh30_1996", {1996, 9, 12}, 1996, 7, 30, false},
        {"Eighth2033", {2033, 8, 25}, 2033, 8, 1, false},
        {"LeapEleventh2033", {2033, 12, 22}, 2033, 11, 1, true},
        {"Twelfth2033", {2034, 1, 20}, 2033, 12, 1, false},
    };
    // clang-format on
    for (const auto& e : rows) {
        const LunarDate r = ToLunar(e.solar.y, e.solar.m, e.solar.d);
        EXPECT_TRUE(HasLunarDate(r) && r.year == e.year && r.month == e.month && r.day == e.day
            && r.isLeap == e.leap)
            << e.name << ": " << r.year << "-" << r.month << "-" << r.day << " leap " << r.isLeap;
    }
}

// Every date from 1899 to 2102: exactly 1900-01-31 .. 2101-01-28 have a lunar
// date; it starts at lunar 1900-01-01 and each day follows the one before as the
// table's sizes say: a month ends after its 29 or 30 days, the leap month
// follows month LeapMonth(year), month 12 ends the year, and the year, month
// and day counters count on.
TEST(SolarToLunar, SweepFollowsTheTable)
{
    LunarDate prev;
    int converted = 0;
    const long long first = oracle::DaysOf({1900, 1, 31}), last = oracle::DaysOf({2101, 1, 28});
    for (long long day = oracle::DaysOf({1899, 1, 1}); day <= oracle::DaysOf({2102, 12, 31});
         ++day) {
        const Ymd s = oracle::DateOf(day);
        const LunarDate fast = ToLunar(s.y, s.m, s.d);
        SCOPED_TRACE(testing::Message() << s.y << "-" << s.m << "-" << s.d);
        ASSERT_EQ(HasLunarDate(fast), day >= first && day <= last);
        ASSERT_EQ(fast.dayCycle, static_cast<int>(day - first) + 40);
        if (!HasLunarDate(fast)) continue;
        ASSERT_EQ(fast.yearCycle, fast.year - 1864);
        if (converted++ == 0) {
            ASSERT_TRUE(fast.year == 1900 && fast.month == 1 && fast.day == 1 && !fast.isLeap
                && fast.monthCycle == 14);
        } else if (fast.day == 1) {
            ASSERT_TRUE(prev.day == 29 || prev.day == 30);
            ASSERT_EQ(prev.day,
                prev.isLeap ? LeapMonthDays(prev.year) : LunarMonthDays(prev.year, prev.month));
            const bool leapNext = !prev.isLeap && LeapMonth(prev.year) == prev.month;
            ASSERT_EQ(fast.isLeap, leapNext);
            ASSERT_EQ(fast.month, leapNext ? prev.month : prev.month % 12 + 1);
            ASSERT_EQ(fast.year, prev.year + (!leapNext && prev.month == 12 ? 1 : 0));
            // The month counter moves on unless a leap month starts.
            ASSERT_EQ(fast.monthCycle, prev.monthCycle + (leapNext ? 0 : 1));
        } else {
            ASSERT_TRUE(fast.day == prev.day + 1 && fast.month == prev.month
                && fast.year == prev.year && fast.isLeap == prev.isLeap
                && fast.monthCycle == prev.monthCycle);
        }
        prev = fast;
    }
    // The last month of the table is complete.
    EXPECT_EQ(prev.day, LunarMonthDays(prev.year, prev.month));
}

// Outside 1900-01-31 .. 2101-01-28, and for anything but a valid Gregorian
// date, there is no lunar date, only the day counter, with no overflow (the
// asan preset runs this).
TEST(SolarToLunar, OutsideTheTable)
{
    // clang-format off
    const Ymd noLunarDate[] = {{INT_MIN, 1, 1}, {INT_MAX, 12, 31}, {2009, 1, INT_MAX},
        {2009, 1, INT_MIN}, {2000, 0, 1}, {2000, 13, 1}, {2000, INT_MIN, 1},
        {67521, 1, 1},  // 1985 modulo 65536
        {1899, 3, 2170}, {2009, 2, 29}, {2009, 1, 0}, {2009, 4, 31}, {2101, 1, 29}, {1899, 12, 1},
        {1900, 1, 1}, {1900, 1, 30}, {2102, 12, 31}, {1, 1, 1}, {9999, 12, 31}};
    // clang-format on
    for (const Ymd& d : noLunarDate) {
        const LunarDate r = ToLunar(d.y, d.m, d.d);
        EXPECT_TRUE(!HasLunarDate(r) && r.year == 0 && r.day == 0 && !r.isLeap && r.yearCycle == 0
            && r.monthCycle == 0)
            << d.y << "-" << d.m << "-" << d.d;
        EXPECT_EQ(r.dayCycle, DayNumber(d.y, d.m, d.d) + 40);
    }
}

}  // namespace
}  // namespace qov
