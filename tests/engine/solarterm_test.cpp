#include <gtest/gtest.h>

#include <cstdio>

#include "gregorian.h"
#include "names.h"
#include "solarterm.h"

namespace qov {
namespace {

std::string Stamp(const SolarTermTime& t)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d w%d", t.year, t.month, t.day,
        t.hour, t.minute, t.second, t.millisecond, t.weekday);
    return buf;
}

TEST(SolarTermDate, ChosenTerms)
{
    // The reference moment exactly, then UT dates of 2009 (立春 23:27 UT,
    // 冬至 00:18 UT) and 小寒 2010; the seconds are the formula's own.
    const std::pair<std::string, std::string> rows[] = {
        {Stamp(SolarTermDate(1900, 0)), "1900-01-06 02:05:00.000 w6"},
        {Stamp(SolarTermDate(2009, 2)).substr(0, 16), "2009-02-03 23:27"},
        {Stamp(SolarTermDate(2009, 23)).substr(0, 16), "2009-12-22 00:18"},
        {Stamp(SolarTermDate(2009, 0)).substr(0, 10), "2009-01-05"},
        {Stamp(SolarTermDate(2009, 1)).substr(0, 10), "2009-01-20"},
        {Stamp(SolarTermDate(2009, 5)).substr(0, 10), "2009-03-20"},
        {Stamp(SolarTermDate(2009, 6)).substr(0, 10), "2009-04-04"},
        {Stamp(SolarTermDate(2009, 11)).substr(0, 10), "2009-06-21"},
        {Stamp(SolarTermDate(2010, 0)).substr(0, 10), "2010-01-05"},
    };
    for (const auto& [actual, expected] : rows) EXPECT_EQ(actual, expected);
}

// Every term of 1899..2051 falls in its own month; over 1900..2050 within
// the day ranges the mean-year formula gives.
TEST(SolarTermDate, MonthsAndDayRanges)
{
    const int lo[24] = {
        5, 19, 3, 18, 5, 20, 4, 19, 5, 20, 5, 21, 6, 22, 7, 22, 7, 22, 7, 23, 7, 21, 6, 21};
    const int hi[24] = {
        7, 21, 5, 20, 7, 22, 6, 21, 7, 22, 7, 22, 8, 24, 9, 24, 9, 24, 9, 24, 8, 23, 8, 23};
    for (int y = 1899; y <= 2051; ++y)
        for (int k = 0; k < 24; ++k) {
            const SolarTermTime t = SolarTermDate(y, k);
            ASSERT_EQ(t.year, y);
            ASSERT_EQ(t.month, k / 2 + 1) << y << " term " << k;
            ASSERT_EQ(t.weekday, DayOfWeek(t.year, t.month, t.day));
            if (y >= 1900 && y <= 2050) {
                ASSERT_GE(t.day, lo[k]) << y << " term " << k;
                ASSERT_LE(t.day, hi[k]) << y << " term " << k;
            }
        }
}

TEST(SolarTermOnDate, Names)
{
    struct Row {
        int y, m, d;
        const char* name;
    };
    const Row rows[] = {{2009, 2, 3, "立春"}, {2009, 2, 4, ""}, {2009, 3, 20, "春分"},
        {2009, 4, 4, "清明"}, {2009, 12, 22, "冬至"}, {2009, 1, 5, "小寒"}};
    for (const Row& r : rows)
        EXPECT_EQ(SolarTermOnDate(r.y, r.m, r.d), r.name) << r.m << "-" << r.d;
}

TEST(NearSectionalTerm, PreviousAndNext)
{
    struct Row {
        int y, m, d, kind;
        const char* name;
        int days;
    };
    const Row rows[] = {
        {2009, 3, 1, 1, "立春", 26},
        {2009, 3, 1, 2, "惊蛰", 4},
        {2009, 3, 5, 1, "立春", 30},
        {2009, 3, 5, 2, "清明", 30},
        {2009, 2, 3, 1, "小寒", 29},
        {2009, 2, 3, 2, "惊蛰", 30},
        {2009, 2, 4, 1, "立春", 1},
        {2009, 12, 31, 2, "小寒", 5},
        {2009, 1, 3, 1, "大雪", 27},
        {2009, 3, 1, 0, "", 0},
        {2009, 3, 1, 3, "", 0},
    };
    for (const Row& r : rows) {
        int days = -1;
        EXPECT_EQ(NearSectionalTerm(r.y, r.m, r.d, r.kind, days), r.name)
            << r.m << "-" << r.d << " kind " << r.kind;
        EXPECT_EQ(days, r.days) << r.m << "-" << r.d << " kind " << r.kind;
    }
}

// Over every day of 1900..2050: stepping back `since` days lands on the named
// previous term, stepping forward `until` days on the named next one, and no
// sectional term lies strictly between them.
TEST(NearSectionalTerm, SweepLandsOnTheNamedTerms)
{
    const auto termOn = [](long long civilDays) {
        const CivilDate c = CivilFromDays(civilDays);
        return SolarTermOnDate(
            static_cast<int>(c.year), static_cast<int>(c.month), static_cast<int>(c.day));
    };
    const auto sectional = [](const std::string& name) {
        for (std::size_t k = 0; k < 24; k += 2)
            if (name == SolarTermNames[k]) return true;
        return false;
    };
    for (int y = 1900; y <= 2050; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                int since = 0, until = 0;
                const std::string prev = NearSectionalTerm(y, m, d, 1, since);
                const std::string next = NearSectionalTerm(y, m, d, 2, until);
                const long long today =
                    DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d));
                ASSERT_TRUE(sectional(prev) && sectional(next)) << y << "-" << m << "-" << d;
                ASSERT_EQ(termOn(today - since), prev) << y << "-" << m << "-" << d;
                ASSERT_EQ(termOn(today + until), next) << y << "-" << m << "-" << d;
                for (long long t = today - since + 1; t < today + until; ++t) {
                    if (t != today) {
                        ASSERT_FALSE(sectional(termOn(t))) << y << "-" << m << "-" << d;
                    }
                }
            }
}

}  // namespace
}  // namespace qov
