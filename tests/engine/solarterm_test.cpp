#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>

#include "chrono_oracle.h"
#include "gregorian.h"
#include "names.h"
#include "solarterm.h"

namespace qov {
namespace {

std::string Minute(const SolarTermTime& t)
{
    char buf[40];
    std::snprintf(
        buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
    return buf;
}

// Published instants in China Standard Time, to the minute (the almanacs of
// the Purple Mountain Observatory and the Hong Kong Observatory).
TEST(SolarTermDate, PublishedInstants)
{
    struct Row {
        int year, k;
        const char* cst;
    };
    const Row rows[] = {
        {2009, 2, "2009-02-04 00:49"},   // 立春
        {2012, 22, "2012-12-07 01:18"},  // 大雪
        {2013, 23, "2013-12-22 01:11"},  // 冬至
        {2018, 5, "2018-03-21 00:15"},   // 春分
        {2020, 23, "2020-12-21 18:02"},  // 冬至
        {2023, 11, "2023-06-21 22:57"},  // 夏至
        {2024, 15, "2024-08-22 22:55"},  // 处暑
        {2026, 0, "2026-01-05 16:23"},   // 小寒
        {2026, 2, "2026-02-04 04:02"},   // 立春
        {2026, 10, "2026-06-05 23:48"},  // 芒种
        {2046, 2, "2046-02-04 00:31"},   // 立春
    };
    for (const Row& r : rows)
        EXPECT_EQ(Minute(SolarTermDate(r.year, r.k)), r.cst) << r.year << " term " << r.k;
}

// The Sun's apparent longitude by the low-precision theory of J. Meeus,
// Astronomical Algorithms, ch. 25 (about 0.01 degree), degrees 0..360; an
// oracle independent of the ephemeris behind the table.
double ApparentSolarLongitude(double daysSinceJ2000)
{
    const double pi = 3.14159265358979323846;
    const double rad = pi / 180;
    const double t = daysSinceJ2000 / 36525;
    const double l0 = 280.46646 + 36000.76983 * t + 0.0003032 * t * t;
    const double m = (357.52911 + 35999.05029 * t - 0.0001537 * t * t) * rad;
    const double c = (1.914602 - 0.004817 * t - 0.000014 * t * t) * std::sin(m)
        + (0.019993 - 0.000101 * t) * std::sin(2 * m) + 0.000289 * std::sin(3 * m);
    const double omega = (125.04 - 1934.136 * t) * rad;
    const double lambda = l0 + c - 0.00569 - 0.00478 * std::sin(omega);
    return std::fmod(std::fmod(lambda, 360) + 360, 360);
}

// Every term of the table years: the instant, read as UTC+8, is where the
// Sun reaches 285 + 15k degrees within 0.02 degree (half an hour). Outside
// the table the mean-year formula gives Universal Time; it meets the table at
// its ends: a year on, each term comes 364 to 367 days later.
TEST(SolarTermDate, OnTheSunsLongitude)
{
    const long long j2000 = oracle::DaysOf({2000, 1, 1});  // 12:00 UT
    const auto daysOf = [](const SolarTermTime& t) {
        return oracle::DaysOf({t.year, t.month, t.day});
    };
    for (int y = FirstExactTermYear; y <= LastExactTermYear; ++y)
        for (int k = 0; k < 24; ++k) {
            const SolarTermTime t = SolarTermDate(y, k);
            const double utDays = static_cast<double>(daysOf(t) - j2000) - 0.5
                + (t.hour - 8 + (t.minute + t.second / 60.0) / 60.0) / 24.0;
            const double miss =
                std::remainder(ApparentSolarLongitude(utDays) - (285.0 + 15.0 * k), 360.0);
            ASSERT_LT(std::fabs(miss), 0.02) << Minute(t) << " term " << k;
        }
    for (int k = 0; k < 24; ++k)
        for (const int y : {1898, 2101}) {
            const long long year = daysOf(SolarTermDate(y + 1, k)) - daysOf(SolarTermDate(y, k));
            EXPECT_TRUE(year >= 364 && year <= 367) << y << " term " << k;
        }
}

TEST(SolarTermOnDate, Names)
{
    struct Row {
        int y, m, d;
        const char* name;
    };
    const Row rows[] = {
        {2009, 2, 3, ""},                              // 立春 2009 came at 00:49 on the 4th
        {2009, 2, 4, "立春"}, {2009, 3, 20, "春分"},   // 19:43
        {2009, 4, 4, "清明"}, {2009, 12, 22, "冬至"},  // 01:47
        {2009, 1, 5, "小寒"}, {2018, 3, 20, ""},       // 春分 2018 came at 00:15 on the 21st
        {2018, 3, 21, "春分"}, {2026, 6, 5, "芒种"},   // 23:48
        {2026, 6, 6, ""}, {1951, 12, 23, "冬至"},      // two seconds after midnight
        {2084, 3, 20, "春分"},                         // 00:00:30
        {1899, 1, 5, "小寒"},                          // first table year, 20:17
        {2101, 12, 22, "冬至"},                        // last table year, 09:40
    };
    for (const Row& r : rows)
        EXPECT_EQ(SolarTermOnDate(r.y, r.m, r.d), r.name) << r.y << "-" << r.m << "-" << r.d;
}

TEST(NearSectionalTerm, PreviousAndNext)
{
    struct Row {
        int y, m, d, kind;
        const char* name;
        int days;
    };
    // 2009: 小寒 5 January, 立春 4 February, 惊蛰 5 March; 大雪 2008 on
    // 7 December, 小寒 2010 on 5 January. The sweep below holds every other day.
    const Row rows[] = {
        {2009, 2, 4, 1, "小寒", 30},
        {2009, 2, 4, 2, "惊蛰", 29},
        {2009, 2, 3, 2, "立春", 1},
        {2009, 2, 5, 1, "立春", 1},
        {2009, 12, 31, 2, "小寒", 5},
        {2009, 1, 3, 1, "大雪", 27},
    };
    for (const Row& r : rows) {
        int days = -1;
        EXPECT_EQ(NearSectionalTerm(r.y, r.m, r.d, r.kind, days), r.name)
            << r.m << "-" << r.d << " kind " << r.kind;
        EXPECT_EQ(days, r.days) << r.m << "-" << r.d << " kind " << r.kind;
    }
}

// Over every day of 1899..2101: stepping back `since` days lands on the named
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
    for (int y = FirstExactTermYear; y <= LastExactTermYear; ++y)
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

// Every int gives a defined answer: a term index outside 0..23 or a year
// outside MinTermYear..MaxTermYear gives month 0, an invalid date or kind ""
// and 0 days, with no overflow and no read outside a table (the asan preset
// runs this).
TEST(Total, SolarTermsAtExtremeArguments)
{
    const std::pair<int, int> noTerm[] = {{2000, 24}, {2000, -1}, {2000, INT_MIN}, {2000, INT_MAX},
        {40000, 0}, {-30000, 0}, {INT_MIN, 0}, {INT_MAX, 23}, {MaxTermYear + 1, 0},
        {MinTermYear - 1, 23}, {2009, 2 * 13 - 2}, {2009, 2 * 0 - 2}};
    for (const auto& [year, k] : noTerm) {
        const SolarTermTime t = SolarTermDate(year, k);
        EXPECT_TRUE(t.year == 0 && t.month == 0 && t.day == 0) << year << " term " << k;
    }
    // Throughout the table's and the formula's range term k falls in month
    // k / 2 + 1 of its own year, with the weekday of its date, so the nearest
    // sectional terms lie 1 to 32 days off; the first and last day of each
    // month are where that would break first.
    for (int year = MinTermYear; year <= MaxTermYear; ++year) {
        for (int k = 0; k < 24; ++k) {
            const SolarTermTime t = SolarTermDate(year, k);
            ASSERT_TRUE(t.year == year && t.month == k / 2 + 1
                && t.weekday == oracle::WeekdayOf({year, t.month, t.day}))
                << year << " term " << k;
        }
        if (year == MinTermYear || year == MaxTermYear) continue;
        for (int m = 1; m <= 12; ++m)
            for (const int d : {1, DaysInMonth(year, m)})
                for (const int kind : {1, 2}) {
                    int days = 0;
                    ASSERT_NE(NearSectionalTerm(year, m, d, kind, days), "") << year << "-" << m;
                    ASSERT_TRUE(days >= 1 && days <= 32) << year << "-" << m << "-" << d;
                }
    }

    using Row = oracle::Ymd;
    const Row badDates[] = {{2000, 0, 1}, {2000, 13, 1}, {2000, INT_MIN, 1}, {2000, INT_MAX, 1},
        {INT_MAX, 1, 5}, {INT_MIN, 12, 21}};
    for (const Row& r : badDates)
        EXPECT_EQ(SolarTermOnDate(r.y, r.m, r.d), "") << r.y << "-" << r.m << "-" << r.d;

    const Row badNear[] = {{2009, 1, INT_MIN}, {2009, 1, INT_MAX}, {2009, 1, 0}, {2009, 2, 29},
        {2009, 0, 1}, {2009, 13, 1}, {2009, INT_MIN, 1}, {INT_MIN, 1, 1}, {INT_MAX, 12, 31},
        {MinTermYear, 1, 1}, {MaxTermYear, 12, 31}};
    for (const Row& r : badNear)
        for (const int kind : {1, 2}) {
            int days = -1;
            EXPECT_EQ(NearSectionalTerm(r.y, r.m, r.d, kind, days), "")
                << r.y << "-" << r.m << "-" << r.d << " kind " << kind;
            EXPECT_EQ(days, 0);
        }
    for (const int kind : {0, 3, INT_MIN}) {
        int days = -1;
        EXPECT_EQ(NearSectionalTerm(2009, 3, 1, kind, days), "") << "kind " << kind;
        EXPECT_EQ(days, 0);
    }
}

}  // namespace
}  // namespace qov
