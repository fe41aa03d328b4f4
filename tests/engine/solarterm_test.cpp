#include <gtest/gtest.h>

#include "gregorian.h"
#include "names.h"
#include "solarterm.h"

namespace qov {
namespace {

TEST(SolarTermDate, ReferenceMomentIsExact)
{
    const SolarTermTime t = SolarTermDate(1900, 0);
    EXPECT_EQ(t.year, 1900);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 6);
    EXPECT_EQ(t.hour, 2);
    EXPECT_EQ(t.minute, 5);
    EXPECT_EQ(t.second, 0);
    EXPECT_EQ(t.millisecond, 0);
    EXPECT_EQ(t.weekday, 6);  // 6 January 1900 was a Saturday
}

TEST(SolarTermDate, Dates2009)
{
    struct Row {
        int year, k, month, day;
    };
    const Row rows[] = {
        {2009, 0, 1, 5},
        {2009, 1, 1, 20},
        {2009, 2, 2, 3},
        {2009, 5, 3, 20},
        {2009, 6, 4, 4},
        {2009, 11, 6, 21},
        {2009, 23, 12, 22},
        {2010, 0, 1, 5},
    };
    for (const Row& r : rows) {
        const SolarTermTime t = SolarTermDate(r.year, r.k);
        EXPECT_EQ(t.year, r.year);
        EXPECT_EQ(t.month, r.month) << "term " << r.k;
        EXPECT_EQ(t.day, r.day) << "term " << r.k;
    }
    // 立春 2009 computes to 23:27 UT, 冬至 2009 to 00:18 UT.
    EXPECT_EQ(SolarTermDate(2009, 2).hour, 23);
    EXPECT_EQ(SolarTermDate(2009, 2).minute, 27);
    EXPECT_EQ(SolarTermDate(2009, 23).hour, 0);
    EXPECT_EQ(SolarTermDate(2009, 23).minute, 18);
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
