// The computed festivals: Easter from the Gregorian computus, 除夕 on the last
// day of the lunar year, and dates that have no lunar date.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "date_oracle.h"
#include "festivals.h"
#include "lunar.h"
#include "solarterm.h"

namespace qov {
namespace {

using oracle::Date;
using oracle::DateOf;
using oracle::DaysOf;

std::string Festivals(const Date& d, bool withLunar)
{
    std::string result = "stale text";
    GetDayFestivals(d.year, d.month, d.day, result, withLunar);
    return result;
}

bool HasItem(const std::string& list, std::string_view name)
{
    std::size_t start = 0;
    for (std::size_t space = list.find(' '); space != std::string::npos; space = list.find(' ', start)) {
        if (std::string_view(list).substr(start, space - start) == name) return true;
        start = space + 1;
    }
    return false;
}

// --- Easter -----------------------------------------------------------------

struct EasterCase {
    const char* name;
    Date date;
};

// Western Easter Sundays (Gregorian), from published Easter tables; 1818 and
// 2285 have the earliest possible date, 1943 and 2038 the latest.
const EasterCase EasterCases[] = {
    {"Y2009", {2009, 4, 12}}, {"Y2010", {2010, 4, 4}},  {"Y2001", {2001, 4, 15}},
    {"Y2011", {2011, 4, 24}}, {"Y2021", {2021, 4, 4}},  {"Y2025", {2025, 4, 20}},
    {"Y2004", {2004, 4, 11}}, {"Y2023", {2023, 4, 9}},  {"Y2019", {2019, 4, 21}},
    {"Y1900", {1900, 4, 15}}, {"Y2100", {2100, 3, 28}}, {"Y1818", {1818, 3, 22}},
    {"Y2285", {2285, 3, 22}}, {"Y1943", {1943, 4, 25}}, {"Y2038", {2038, 4, 25}},
};

class EasterTest : public testing::TestWithParam<EasterCase> {};

TEST_P(EasterTest, ShowsOnEasterSundayLast)
{
    const Date d = GetParam().date;
    for (const bool withLunar : {false, true}) {
        const std::string list = Festivals(d, withLunar);
        ASSERT_GE(list.size(), 7u);
        EXPECT_EQ(list.substr(list.size() - 7), "复活节 ") << withLunar;
    }
    // Neither the Saturday before nor the Sunday after.
    EXPECT_FALSE(HasItem(Festivals(DateOf(DaysOf(d) - 1), true), "复活节"));
    EXPECT_FALSE(HasItem(Festivals(DateOf(DaysOf(d) + 7), true), "复活节"));
}

INSTANTIATE_TEST_SUITE_P(Years, EasterTest, testing::ValuesIn(EasterCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Easter, FollowsTheGregorianNamesOfAprilFirst)
{
    // Easter 2018 fell on 1 April.
    const Date d{2018, 4, 1};
    EXPECT_EQ(Festivals(d, false), FindGregorianFestival(2018, 4, 1) + " 复活节 ");
}

TEST(Easter, OneSundayAfterTheEquinoxEachYear)
{
    for (int year = 1900; year <= 2100; ++year) {
        std::vector<Date> found;
        for (long long t = DaysOf({year, 1, 1}); t <= DaysOf({year, 12, 31}); ++t) {
            const Date d = DateOf(t);
            if (HasItem(Festivals(d, false), "复活节")) found.push_back(d);
        }
        ASSERT_EQ(found.size(), 1u) << year;
        const Date e = found.front();
        const long long t = DaysOf(e);
        EXPECT_EQ(oracle::WeekdayOf(e), 0) << year;
        EXPECT_GE(t, DaysOf({year, 3, 22})) << year;
        EXPECT_LE(t, DaysOf({year, 4, 25})) << year;
        const SolarTermTime equinox = SolarTermDate(year, 5);
        EXPECT_GT(t, DaysOf({equinox.year, equinox.month, equinox.day})) << year;
    }
}

// --- 除夕 -------------------------------------------------------------------

struct EveCase {
    const char* name;
    Date date;
    const char* expected;  // with the lunar part
};

const EveCase EveCases[] = {
    // Lunar 2008-12-30; also the fourth Sunday of January 2009.
    {"Y2009Jan25", {2009, 1, 25}, "除夕 世界麻风日 "},
    // Lunar 2009-12-30.
    {"Y2010Feb13", {2010, 2, 13}, "除夕 "},
    // Lunar 2010-12-29 when month 12 has 30 days: not yet the eve.
    {"Y2011Feb01", {2011, 2, 1}, ""},
};

class EveTest : public testing::TestWithParam<EveCase> {};

TEST_P(EveTest, ListWithLunarPart)
{
    EXPECT_EQ(Festivals(GetParam().date, true), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Dates, EveTest, testing::ValuesIn(EveCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(NewYearsEve, LastDayOfMonth12OfEveryTableYear)
{
    for (int year = FirstLunarYear; year <= LastLunarYear; ++year) {
        const int last = LunarMonthDays(year, 12);
        EXPECT_EQ(FindLunarFestival(year, 12, last), "除夕") << year;
        EXPECT_EQ(FindLunarFestival(year, 12, last - 1), "") << year;
        if (last == 29) {
            EXPECT_EQ(FindLunarFestival(year, 12, 30), "") << year;
        }
    }
    EXPECT_EQ(FindLunarFestival(2008, 12, 30), "除夕");
    EXPECT_EQ(FindLunarFestival(2009, 12, 30), "除夕");
    EXPECT_EQ(FindLunarFestival(2050, 12, 29), "除夕");
}

TEST(NewYearsEve, LastDateOfTheTable)
{
    // Lunar 2050-12-29: month 12 of 2050 has 29 days.
    const std::string list = Festivals({2051, 2, 10}, true);
    EXPECT_EQ(list.rfind("除夕 ", 0), 0u) << list;
}

TEST(NewYearsEve, NoneOutsideTheTableYears)
{
    for (const int year : {1899, 2051, 0, -5, 100000})
        for (const int day : {29, 30})
            EXPECT_EQ(FindLunarFestival(year, 12, day), "") << year << " day " << day;
}

// Every date with a lunar date: 除夕 shows exactly when the next day is
// lunar new year's day (or the table ends).
TEST(NewYearsEve, TheDayBeforeEveryLunarNewYear)
{
    int eves = 0;
    for (long long t = DaysOf({1900, 1, 31}); t <= DaysOf({2051, 2, 10}); ++t) {
        const Date d = DateOf(t);
        const Date next = DateOf(t + 1);
        const LunarDate lunarNext = ToLunar(next.year, next.month, next.day);
        const bool lastDay = !HasLunarDate(lunarNext) ||
                             (lunarNext.month == 1 && lunarNext.day == 1 && !lunarNext.isLeap);
        ASSERT_EQ(HasItem(Festivals(d, true), "除夕"), lastDay) << d.year << "-" << d.month << "-" << d.day;
        eves += lastDay ? 1 : 0;
    }
    EXPECT_EQ(eves, LastLunarYear - FirstLunarYear + 1);
}

// --- Dates without a lunar date -----------------------------------------------

struct NoLunarCase {
    const char* name;
    Date date;
};

const NoLunarCase NoLunarCases[] = {
    {"BeforeTableJan1900", {1900, 1, 1}},
    {"LunarEve1899", {1900, 1, 30}},     // would be lunar 1899-12-30
    {"LunarNewYear2051", {2051, 2, 11}},  // would be lunar 2051-01-01
    {"Year1899", {1899, 12, 25}},
    {"Year2100", {2100, 12, 25}},
};

class NoLunarDateTest : public testing::TestWithParam<NoLunarCase> {};

TEST_P(NoLunarDateTest, OnlySolarTermIsAdded)
{
    const Date d = GetParam().date;
    const std::string term = SolarTermOnDate(d.year, d.month, d.day);
    EXPECT_EQ(Festivals(d, true), (term.empty() ? "" : term + " ") + Festivals(d, false));
}

INSTANTIATE_TEST_SUITE_P(Dates, NoLunarDateTest, testing::ValuesIn(NoLunarCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(NoLunarDate, EdgeDatesShowNoLunarFestival)
{
    EXPECT_EQ(Festivals({1900, 1, 30}, true), "");
    EXPECT_EQ(Festivals({2051, 2, 11}, true), "");
    EXPECT_EQ(Festivals({1900, 1, 31}, true), "春节 ");  // lunar 1900-01-01
}

TEST(NoLunarDate, SweepsAroundTheTable)
{
    const std::pair<Date, Date> ranges[] = {
        {{1898, 1, 1}, {1900, 1, 30}},
        {{2051, 2, 11}, {2053, 12, 31}},
    };
    for (const auto& [from, to] : ranges) {
        for (long long t = DaysOf(from); t <= DaysOf(to); ++t) {
            const Date d = DateOf(t);
            const std::string term = SolarTermOnDate(d.year, d.month, d.day);
            ASSERT_EQ(Festivals(d, true), (term.empty() ? "" : term + " ") + Festivals(d, false))
                << d.year << "-" << d.month << "-" << d.day;
        }
    }
}

}  // namespace
}  // namespace qov
