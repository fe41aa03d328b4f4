#include <gtest/gtest.h>

#include "chrono_oracle.h"
#include "lunar.h"

namespace qov {
namespace {

using oracle::Ymd;

// The conversion done the slow way: subtract whole lunar years from the days
// since lunar new year 1900, then whole months, walking the leap month in
// place. Returns false where the table has no lunar date for the input.
bool SlowSolarToLunar(LunarDate& r)
{
    int off = DayNumber(r.year, r.month, r.day);
    r.dayCycle = off + 40;
    r.monthCycle = 14;
    if (off < 0) return false;
    int temp = 0;
    int i = 1900;
    while (off > 0) {
        temp = LunarYearDays(i);
        off -= temp;
        r.monthCycle += 12;
        ++i;
        if (i == 2050) break;
    }
    if (off < 0) {
        off += temp;
        --i;
        r.monthCycle -= 12;
    }
    r.year = i;
    r.yearCycle = i - 1864;
    r.isLeap = false;
    const int leap = LeapMonth(r.year);
    i = 1;
    while (i < 13 && off > 0) {
        if (leap > 0 && i == leap + 1 && !r.isLeap) {
            --i;
            r.isLeap = true;
            temp = LeapMonthDays(r.year);
        } else {
            temp = LunarMonthDays(r.year, i);
            if (r.isLeap && i == leap + 1) r.isLeap = false;
        }
        off -= temp;
        if (!r.isLeap) ++r.monthCycle;
        ++i;
    }
    if (off == 0 && leap > 0 && i == leap + 1) {
        if (r.isLeap) {
            r.isLeap = false;
            r.month = i;
        } else {
            r.isLeap = true;
            r.month = i - 1;
            --r.monthCycle;
        }
        r.day = 1;
        return true;
    }
    if (off < 0) {
        off += temp;
        --i;
        --r.monthCycle;
    }
    if (i == 13) return false;  // ran past the last month of 2050
    r.month = i;
    r.day = off + 1;
    return true;
}

TEST(LunarTable, YearSizes)
{
    struct Row {
        const char* what;
        int actual, expected;
    };
    const Row rows[] = {
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
    };
    for (const Row& r : rows) EXPECT_EQ(r.actual, r.expected) << r.what;
}

struct Example {
    const char* name;
    Ymd solar;
    int year, month, day;
    bool leap;
};

class SolarToLunarExample : public testing::TestWithParam<Example> { };

TEST_P(SolarToLunarExample, Converts)
{
    const Example& e = GetParam();
    const LunarDate r = ToLunar(e.solar.y, e.solar.m, e.solar.d);
    EXPECT_TRUE(HasLunarDate(r));
    EXPECT_EQ(r.year, e.year);
    EXPECT_EQ(r.month, e.month);
    EXPECT_EQ(r.day, e.day);
    EXPECT_EQ(r.isLeap, e.leap);
}

INSTANTIATE_TEST_SUITE_P(Dates, SolarToLunarExample,
    testing::Values(Example{"FirstTableDay", {1900, 1, 31}, 1900, 1, 1, false},
        Example{"NewYearsEve2009", {2009, 1, 25}, 2008, 12, 30, false},
        Example{"NewYear2009", {2009, 1, 26}, 2009, 1, 1, false},
        Example{"Fifth2009", {2009, 5, 24}, 2009, 5, 1, false},
        Example{"FifthEnd2009", {2009, 6, 22}, 2009, 5, 30, false},
        Example{"LeapFifthStart2009", {2009, 6, 23}, 2009, 5, 1, true},
        Example{"LeapFifthEnd2009", {2009, 7, 21}, 2009, 5, 29, true},
        Example{"Sixth2009", {2009, 7, 22}, 2009, 6, 1, false},
        Example{"LeapFourth2012", {2012, 5, 21}, 2012, 4, 1, true},
        Example{"AfterLeap2012", {2012, 6, 19}, 2012, 5, 1, false},
        Example{"LeapSixth2017", {2017, 7, 23}, 2017, 6, 1, true},
        Example{"LeapSixthEnd2017", {2017, 8, 21}, 2017, 6, 30, true},
        Example{"Seventh2017", {2017, 8, 22}, 2017, 7, 1, false},
        Example{"Dec2049", {2049, 12, 31}, 2049, 12, 7, false},
        Example{"LastOf2049", {2050, 1, 22}, 2049, 12, 29, false},
        Example{"NewYear2050", {2050, 1, 23}, 2050, 1, 1, false},
        Example{"LastTableDay", {2051, 2, 10}, 2050, 12, 29, false},
        // The three corrected years of the table.
        Example{"LeapFifth30_1933", {1933, 7, 22}, 1933, 5, 30, true},
        Example{"Fifth30_1996", {1996, 7, 15}, 1996, 5, 30, false},
        Example{"Seventh30_1996", {1996, 9, 12}, 1996, 7, 30, false},
        Example{"Eighth2033", {2033, 8, 25}, 2033, 8, 1, false},
        Example{"LeapEleventh2033", {2033, 12, 22}, 2033, 11, 1, true},
        Example{"Twelfth2033", {2034, 1, 20}, 2033, 12, 1, false}),
    [](const testing::TestParamInfo<Example>& i) { return std::string(i.param.name); });

TEST(SolarToLunar, Counters)
{
    const LunarDate first = ToLunar(1900, 1, 31);
    EXPECT_EQ(first.yearCycle, 36);
    EXPECT_EQ(first.monthCycle, 14);
    EXPECT_EQ(first.dayCycle, 40);
    EXPECT_EQ(ToLunar(2050, 1, 23).yearCycle, 186);
    EXPECT_EQ(ToLunar(1900, 1, 1).dayCycle, 10);
    EXPECT_EQ(ToLunar(2009, 1, 1).dayCycle, 39822);
    for (const Ymd d : {Ymd{2009, 5, 24}, Ymd{2009, 6, 22}, Ymd{2009, 6, 23}, Ymd{2009, 7, 21}})
        EXPECT_EQ(ToLunar(d.y, d.m, d.d).monthCycle, 1326);
    EXPECT_EQ(ToLunar(2009, 7, 22).monthCycle, 1327);
}

// Outside 1900-01-31 .. 2051-02-10 there is no lunar date, only the day counter.
TEST(SolarToLunar, OutsideTheTable)
{
    for (const Ymd d : {Ymd{1899, 12, 1}, Ymd{1900, 1, 1}, Ymd{1900, 1, 30}, Ymd{2051, 2, 11},
             Ymd{2052, 12, 31}, Ymd{1, 1, 1}, Ymd{9999, 12, 31}}) {
        const LunarDate r = ToLunar(d.y, d.m, d.d);
        EXPECT_FALSE(HasLunarDate(r)) << d.y << "-" << d.m << "-" << d.d;
        EXPECT_EQ(r.day, 0);
        EXPECT_FALSE(r.isLeap);
        EXPECT_EQ(r.dayCycle, DayNumber(d.y, d.m, d.d) + 40);
    }
}

// Every date from 1899 to 2052: the table lookup gives exactly what the
// step-by-step conversion gives, and the lunar calendar's invariants hold.
TEST(SolarToLunar, SweepAgainstStepByStepAndInvariants)
{
    LunarDate prev;
    bool havePrev = false;
    int monthLength = 0;
    int converted = 0;
    const long long origin = oracle::DaysOf({1900, 1, 31});
    for (long long day = oracle::DaysOf({1899, 1, 1}); day <= oracle::DaysOf({2052, 12, 31});
         ++day) {
        const Ymd s = oracle::DateOf(day);
        LunarDate slow;
        slow.year = s.y;
        slow.month = s.m;
        slow.day = s.d;
        const bool slowHas = SlowSolarToLunar(slow);
        const LunarDate fast = ToLunar(s.y, s.m, s.d);
        ASSERT_EQ(HasLunarDate(fast), slowHas) << s.y << "-" << s.m << "-" << s.d;
        ASSERT_EQ(fast.dayCycle, static_cast<int>(day - origin) + 40);
        if (!slowHas) {
            havePrev = false;
            continue;
        }
        ++converted;
        ASSERT_TRUE(fast.year == slow.year && fast.month == slow.month && fast.day == slow.day
            && fast.isLeap == slow.isLeap && fast.yearCycle == slow.yearCycle
            && fast.monthCycle == slow.monthCycle)
            << s.y << "-" << s.m << "-" << s.d;
        ASSERT_TRUE(fast.day >= 1 && fast.day <= 30);
        ASSERT_TRUE(fast.month >= 1 && fast.month <= 12);
        if (havePrev) {
            if (fast.day == 1) {
                // A month ended: it had 29 or 30 days, and the month counter
                // moved on unless a leap month starts.
                ASSERT_TRUE(prev.day == 29 || prev.day == 30);
                monthLength = prev.day;
                ASSERT_EQ(fast.monthCycle, prev.monthCycle + (fast.isLeap ? 0 : 1));
                ASSERT_EQ(monthLength,
                    prev.isLeap ? LeapMonthDays(prev.year) : LunarMonthDays(prev.year, prev.month));
            } else {
                ASSERT_EQ(fast.day, prev.day + 1);
                ASSERT_EQ(fast.month, prev.month);
                ASSERT_EQ(fast.isLeap, prev.isLeap);
                ASSERT_EQ(fast.monthCycle, prev.monthCycle);
            }
            ASSERT_EQ(fast.dayCycle, prev.dayCycle + 1);
        }
        prev = fast;
        havePrev = true;
    }
    EXPECT_EQ(converted, DayNumber(2051, 2, 10) + 1);
}

}  // namespace
}  // namespace qov
