// Every day of the engine's ranges against <chrono> and against the rules
// the tables were made by, one walk a range carrying every property.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "calendar.h"
#include "chrono_oracle.h"
#include "festivals.h"

namespace qov {
namespace {

using oracle::DateOf, oracle::DaysOf, oracle::WeekdayOf, oracle::Ymd;

// Every day of years 0..3, 1800..2400 and the last years <chrono> knows:
// day numbers count days, weekdays follow them, civil days round-trip.
TEST(Sweep, GregorianMatchesChrono)
{
    const long long origin = DaysOf({1900, 1, 31});
    for (const auto& [first, last] : {std::pair{0, 3}, {1800, 2400}, {32760, 32767}})
        for (long long day = DaysOf({first, 1, 1}); day <= DaysOf({last, 12, 31}); ++day) {
            const auto [y, m, d] = DateOf(day);
            ASSERT_EQ(DayNumber(y, m, d), day - origin) << y << "-" << m << "-" << d;
            ASSERT_EQ(DayOfWeek(y, m, d), WeekdayOf({y, m, d}));
            const CivilDate c = CivilFromDays(day);
            ASSERT_TRUE(c.year == y && c.month == unsigned(m) && c.day == unsigned(d));
            ASSERT_EQ(DaysFromCivil(y, unsigned(m), unsigned(d)), day);
        }
}

// The index of a solar term's name, -1 for anything else; even: sectional.
int TermIndex(const std::string& name)
{
    for (std::size_t k = 0; k < SolarTermNames.size(); ++k)
        if (name == SolarTermNames[k]) return static_cast<int>(k);
    return -1;
}

// Each weekday row by what it selects: `after` days past the n-th Sunday of
// the month, while that day is in the month. 世界麻风日 has a row for the
// fifth Sunday only, which also shows on the fourth.
struct WeekdayRule {
    int month, sunday, after;
    const char* names;
};

const WeekdayRule WeekdayRules[] = {{1, 4, 0, "世界麻风日"}, {1, 5, 0, "世界麻风日"},
    {5, 2, 0, "国际母亲节"}, {5, 3, 0, "全国助残日"}, {6, 3, 0, "父亲节"},
    {7, 3, 0, "被奴役国家周"}, {9, 3, 2, "国际和平日"}, {9, 4, 0, "国际聋人节 世界儿童日"},
    {9, 5, 0, "世界海事日"}, {10, 1, 1, "国际住房日"}, {10, 1, 3, "国际减轻自然灾害日(减灾日)"},
    {11, 4, 4, "感恩节"}};

std::string FestivalList(const Ymd& d, bool withLunar)
{
    std::string result = "stale text";
    GetDayFestivals(d.y, d.m, d.d, result, withLunar);
    return result;
}

// Every item of a festival list is followed by one space.
bool Has(const std::string& list, std::string_view name)
{
    // Appended, not " " + list: GCC 12 at -O3 warns falsely of overlapping
    // copies in operator+.
    std::string needle(" ");
    needle.append(name).append(" ");
    return std::string(" ").append(list).find(needle) != std::string::npos;
}

// Every day of 1899..2102:
// - exactly 1900-01-31 .. 2101-01-28 have a lunar date; it starts at lunar
//   1900-01-01 and each day follows the one before as the table's sizes say;
// - from 1929 (the computed years) a leap month holds no principal term and
//   冬至 falls in month 11;
// - the nearest sectional terms before and after a day are the days on which
//   the walk meets them;
// - the weekday rows, Friday the 13th, one Easter a year (a Sunday from
//   22 March to 25 April after the day of 春分), and 除夕 exactly on the day
//   before each lunar new year and on the table's last day; a day without a
//   lunar date adds only its solar term to its festivals.
TEST(Sweep, EveryDayOf1899To2102)
{
    LunarDate prev;
    int converted = 0, eves = 0;
    const long long first = DaysOf({1900, 1, 31}), last = DaysOf({2101, 1, 28});
    long long lastTerm = 0;  // the last sectional term's day, once lastTermName is set
    std::string lastTermName;
    std::vector<std::pair<long long, std::string>> waiting;  // days' next terms, and their names
    std::vector<long long> easters;
    for (long long day = DaysOf({1899, 1, 1}); day <= DaysOf({2102, 12, 31}); ++day) {
        const Ymd s = DateOf(day);
        SCOPED_TRACE(testing::Message() << s.y << "-" << s.m << "-" << s.d);
        const LunarDate l = ToLunar(s.y, s.m, s.d);
        const std::string term = SolarTermOnDate(s.y, s.m, s.d);
        const int k = TermIndex(term);
        ASSERT_TRUE(term.empty() || k >= 0);
        ASSERT_EQ(HasLunarDate(l), day >= first && day <= last);
        ASSERT_EQ(l.dayCycle, static_cast<int>(day - first) + 40);
        const std::string list = FestivalList(s, true);
        if (!HasLunarDate(l)) {
            ASSERT_EQ(list, (term.empty() ? "" : term + " ") + FestivalList(s, false));
        } else {
            ASSERT_EQ(l.yearCycle, l.year - 1864);
            if (converted++ == 0) {
                ASSERT_TRUE(l.year == 1900 && l.month == 1 && l.day == 1 && !l.isLeap
                    && l.monthCycle == 14);
            } else if (l.day == 1) {
                ASSERT_TRUE(prev.day == 29 || prev.day == 30);
                ASSERT_EQ(prev.day,
                    prev.isLeap ? LeapMonthDays(prev.year) : LunarMonthDays(prev.year, prev.month));
                const bool leapNext = !prev.isLeap && LeapMonth(prev.year) == prev.month;
                ASSERT_EQ(l.isLeap, leapNext);
                ASSERT_EQ(l.month, leapNext ? prev.month : prev.month % 12 + 1);
                ASSERT_EQ(l.year, prev.year + (!leapNext && prev.month == 12 ? 1 : 0));
                // The month counter moves on unless a leap month starts.
                ASSERT_EQ(l.monthCycle, prev.monthCycle + (leapNext ? 0 : 1));
            } else {
                ASSERT_TRUE(l.day == prev.day + 1 && l.month == prev.month && l.year == prev.year
                    && l.isLeap == prev.isLeap && l.monthCycle == prev.monthCycle);
            }
            if (l.year >= 1929) {
                ASSERT_FALSE(l.isLeap && k % 2 == 1);
                ASSERT_TRUE(k != 23 || (l.month == 11 && !l.isLeap));
            }
            const Ymd next = DateOf(day + 1);
            const LunarDate n = ToLunar(next.y, next.m, next.d);
            const bool eve = !HasLunarDate(n) || (n.month == 1 && n.day == 1 && !n.isLeap);
            ASSERT_EQ(Has(list, "除夕"), eve);
            eves += eve ? 1 : 0;
            prev = l;
        }
        if (s.y <= LastExactTermYear) {
            int since = 0, until = 0;
            const std::string before = NearSectionalTerm(s.y, s.m, s.d, 1, since);
            const std::string after = NearSectionalTerm(s.y, s.m, s.d, 2, until);
            ASSERT_TRUE(
                lastTermName.empty() || (before == lastTermName && day - since == lastTerm));
            if (k >= 0 && k % 2 == 0) {
                for (const auto& [termDay, name] : waiting)
                    ASSERT_TRUE(termDay == day && name == term);
                waiting.clear();
                lastTerm = day;
                lastTermName = term;
            }
            waiting.emplace_back(day + until, after);
        }
        if (s.y < 1900 || s.y > 2100) continue;
        const int weekday = WeekdayOf(s);
        const int firstSunday = 1 + ((s.d - 1 - weekday) % 7 + 7) % 7;
        std::string rule;
        for (const WeekdayRule& r : WeekdayRules)
            if (r.month == s.m && firstSunday + 7 * (r.sunday - 1) + r.after == s.d) rule = r.names;
        ASSERT_EQ(FindWeekdayFestival(s.y, s.m, s.d), rule);
        const std::string plain = FestivalList(s, false);
        ASSERT_EQ(Has(plain, "黑色星期五"), s.d == 13 && weekday == 5);
        if (Has(plain, "复活节")) easters.push_back(day);
    }
    EXPECT_EQ(prev.day, LunarMonthDays(prev.year, prev.month));  // the last month is complete
    EXPECT_EQ(eves, 201);                                        // lunar years 1900..2100
    ASSERT_EQ(easters.size(), 201u);
    for (int year = 1900; year <= 2100; ++year) {
        const long long t = easters[static_cast<std::size_t>(year - 1900)];
        const SolarTermTime equinox = SolarTermDate(year, 5);
        EXPECT_TRUE(DateOf(t).y == year && WeekdayOf(DateOf(t)) == 0) << year;
        EXPECT_TRUE(t >= DaysOf({year, 3, 22}) && t <= DaysOf({year, 4, 25})) << year;
        EXPECT_GT(t, DaysOf({equinox.year, equinox.month, equinox.day})) << year;
    }
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

// Every term of every year the engine knows: term k falls in month k / 2 + 1
// of its own year, on the weekday of its date. In the table years the
// instant, read as UTC+8, is where the Sun reaches 285 + 15k degrees within
// 0.02 degree (half an hour); outside them the mean-year formula gives
// Universal Time and meets the table at its ends (a year on, each term comes
// 364 to 367 days later), and the nearest sectional terms of the first and
// last day of each month lie 1 to 32 days off.
TEST(Sweep, EveryTermOfEveryYear)
{
    const long long j2000 = DaysOf({2000, 1, 1});  // 12:00 UT
    const auto daysOf = [](const SolarTermTime& t) { return DaysOf({t.year, t.month, t.day}); };
    for (int year = MinTermYear; year <= MaxTermYear; ++year) {
        for (int k = 0; k < 24; ++k) {
            const SolarTermTime t = SolarTermDate(year, k);
            ASSERT_TRUE(t.year == year && t.month == k / 2 + 1
                && t.weekday == WeekdayOf({year, t.month, t.day}))
                << year << " term " << k;
            if (year == FirstExactTermYear - 1 || year == LastExactTermYear) {
                const long long days = daysOf(SolarTermDate(year + 1, k)) - daysOf(t);
                EXPECT_TRUE(days >= 364 && days <= 367) << year << " term " << k;
            }
            if (year < FirstExactTermYear || year > LastExactTermYear) continue;
            const double utDays = static_cast<double>(daysOf(t) - j2000) - 0.5
                + (t.hour - 8 + (t.minute + t.second / 60.0) / 60.0) / 24.0;
            const double miss =
                std::remainder(ApparentSolarLongitude(utDays) - (285.0 + 15.0 * k), 360.0);
            ASSERT_LT(std::fabs(miss), 0.02) << year << " term " << k;
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
}

}  // namespace
}  // namespace qov
