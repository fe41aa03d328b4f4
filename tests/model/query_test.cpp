// The quick query: FindSolarDate and the three query lists.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "lunar.h"
#include "model/monthpage.h"
#include "model_test_support.h"

namespace qov {
namespace {

// Test rows print as their names.
template <typename Row>
    requires requires(const Row& r) { r.name; }
void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

// ---- FindSolarDate --------------------------------------------------------

struct FindRow {
    const char* name;
    int ly, lm, ld;
    bool leap;
    std::optional<SolarDate> expected;
};

class FindSolar : public ::testing::TestWithParam<FindRow> {};

TEST_P(FindSolar, FindsTheGregorianDate)
{
    const FindRow& row = GetParam();
    EXPECT_EQ(FindSolarDate(row.ly, row.lm, row.ld, row.leap), row.expected);
}

// Dates from the Purple Mountain Observatory almanac: lunar new year 2009 on
// 26 January; 2009 has a leap fifth month (23 June .. 21 July, 29 days) after
// an ordinary fifth month of 30 days; 2017 has a leap sixth month of 30 days
// (23 July .. 21 August) after an ordinary sixth month of 29 days; 2012 a
// leap fourth month from 21 May; 2033 a leap eleventh month from 22 December.
const FindRow FindRows[] = {
    {"NewYear2009", 2009, 1, 1, false, SolarDate{2009, 1, 26}},
    {"NewYearsEve2008", 2008, 12, 30, false, SolarDate{2009, 1, 25}},
    {"FirstTableDay", 1900, 1, 1, false, SolarDate{1900, 1, 31}},
    {"Ordinary5th2009Day1", 2009, 5, 1, false, SolarDate{2009, 5, 24}},
    {"Ordinary5th2009Day30", 2009, 5, 30, false, SolarDate{2009, 6, 22}},
    {"Leap5th2009Day1", 2009, 5, 1, true, SolarDate{2009, 6, 23}},
    {"Leap5th2009Day29", 2009, 5, 29, true, SolarDate{2009, 7, 21}},
    {"Leap5th2009Day30DoesNotExist", 2009, 5, 30, true, std::nullopt},
    {"Sixth2009AfterTheLeapMonth", 2009, 6, 1, false, SolarDate{2009, 7, 22}},
    {"Leap6th2017Day1", 2017, 6, 1, true, SolarDate{2017, 7, 23}},
    {"Leap6th2017Day30", 2017, 6, 30, true, SolarDate{2017, 8, 21}},
    {"Ordinary6th2017Day30DoesNotExist", 2017, 6, 30, false, std::nullopt},
    {"Leap4th2012Day1", 2012, 4, 1, true, SolarDate{2012, 5, 21}},
    {"Leap11th2033Day1", 2033, 11, 1, true, SolarDate{2033, 12, 22}},
    {"LastDayOfLunar2049", 2049, 12, 29, false, SolarDate{2050, 1, 22}},
    {"LeapRequestInYearWithoutLeap", 2010, 5, 1, true, std::nullopt},
    {"LeapRequestForTheWrongMonth", 2009, 4, 1, true, std::nullopt},
    {"YearBeforeTable", 1899, 1, 1, false, std::nullopt},
    {"MonthZero", 2009, 0, 1, false, std::nullopt},
    {"Month13", 2009, 13, 1, false, std::nullopt},
    {"DayZero", 2009, 1, 0, false, std::nullopt},
    {"Day31", 2009, 1, 31, false, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Query, FindSolar, ::testing::ValuesIn(FindRows),
                         [](const auto& p) { return std::string(p.param.name); });

// The forward scan the query historically ran, with the leap flag matched:
// from the Gregorian date with the lunar date's numbers, day by day, over at
// most 200 Gregorian months.
std::optional<SolarDate> ScanForLunarDate(int ly, int lm, int ld, bool leap)
{
    int year = ly;
    int month = lm;
    int first = ld;
    for (int i = 0; i < 200; ++i) {
        for (int d = first; d <= DaysInMonth(year, month); ++d) {
            const LunarDate l = ToLunar(year, month, d);
            if (l.year == ly && l.month == lm && l.day == ld && l.isLeap == leap) return SolarDate{year, month, d};
        }
        first = 1;
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
    return std::nullopt;
}

TEST(FindSolarScan, AgreesWithTheDayByDayScan)
{
    // Years with a leap month early, late and in the middle, and the ends.
    for (const int ly : {1900, 1933, 2009, 2017, 2033, 2049}) {
        for (int lm = 1; lm <= 12; ++lm) {
            for (const bool leap : {false, true}) {
                if (leap && LeapMonth(ly) != lm) continue;  // covered by the table above
                for (int ld = 1; ld <= 30; ++ld)
                    EXPECT_EQ(FindSolarDate(ly, lm, ld, leap), ScanForLunarDate(ly, lm, ld, leap))
                        << ly << '-' << lm << (leap ? "(leap)" : "") << '-' << ld;
            }
        }
    }
}

TEST(FindSolarRoundTrip, EveryLunarDateFindsItsGregorianDate)
{
    const long long first = testing_support::Days({1900, 1, 31});
    const long long last = testing_support::Days({2050, 1, 22});  // last day of lunar 2049
    for (long long day = first; day <= last; ++day) {
        const SolarDate date = testing_support::FromDays(day);
        const LunarDate l = ToLunar(date.year, date.month, date.day);
        ASSERT_TRUE(HasLunarDate(l));
        ASSERT_EQ(FindSolarDate(l.year, l.month, l.day, l.isLeap), date)
            << l.year << '-' << l.month << (l.isLeap ? "(leap)" : "") << '-' << l.day;
    }
}

// ---- the query lists ------------------------------------------------------

enum class Action { Gregorian, Lunar, Year, Month, Day };

struct Step {
    Action action;
    int index = 0;  // item index for Year, Month and Day
};

struct ListsRow {
    const char* name;
    SolarDate start;
    std::vector<Step> steps;
    std::string months;     // month items joined with ','
    std::string monthItem;  // current month text
    int dayCount;
    std::string dayItem;    // current day text
    std::optional<SolarDate> query;
};

std::string Joined(const std::vector<std::string>& items)
{
    std::string s;
    for (const std::string& item : items) s += (s.empty() ? "" : ",") + item;
    return s;
}

std::string Current(const std::vector<std::string>& items, int index)
{
    return index >= 0 && index < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(index)] : "<none>";
}

class Lists : public ::testing::TestWithParam<ListsRow> {};

TEST_P(Lists, StayConsistent)
{
    const ListsRow& row = GetParam();
    QueryLists q(row.start);
    for (const Step& s : row.steps) {
        switch (s.action) {
        case Action::Gregorian: q.OnGregorianClicked(); break;
        case Action::Lunar: q.OnLunarClicked(); break;
        case Action::Year: q.OnYearChosen(s.index); break;
        case Action::Month: q.OnMonthChosen(s.index); break;
        case Action::Day: q.OnDayChosen(s.index); break;
        }
    }
    EXPECT_EQ(Joined(q.MonthItems()), row.months);
    EXPECT_EQ(Current(q.MonthItems(), q.MonthIndex()), row.monthItem);
    EXPECT_EQ(static_cast<int>(q.DayItems().size()), row.dayCount);
    EXPECT_EQ(Current(q.DayItems(), q.DayIndex()), row.dayItem);
    EXPECT_EQ(q.Query(), row.query);
    // Day items are always "1".."n".
    for (std::size_t i = 0; i < q.DayItems().size(); ++i) EXPECT_EQ(q.DayItems()[i], std::to_string(i + 1));
}

const std::string Plain = "1,2,3,4,5,6,7,8,9,10,11,12";
const std::string Leap5 = "1,2,3,4,5,5(闰),6,7,8,9,10,11,12";
const std::string Leap6 = "1,2,3,4,5,6,6(闰),7,8,9,10,11,12";
const std::string Leap4 = "1,2,3,4,4(闰),5,6,7,8,9,10,11,12";
const std::string Leap11 = "1,2,3,4,5,6,7,8,9,10,11,11(闰),12";

// Year items are "1900".."2049": index = year - 1900.
constexpr int Y(int year) { return year - 1900; }

// Lunar month lengths and first days from the almanac: lunar 2009 month 1
// ran 26 January .. 24 February (30 days), month 3 had 29 days, month 6 29;
// lunar 2010 month 1 began 14 February (30 days), month 3 began 14 April (30
// days); lunar 2012 began 23 January, its month 3 on 22 March (30 days);
// lunar 2017 month 1 had 29 days.
const ListsRow ListsRows[] = {
    {"StartFitsTheSelectedMonth", {2009, 2, 10}, {}, Plain, "2", 28, "10", SolarDate{2009, 2, 10}},
    {"StartOnLeapDay", {2008, 2, 29}, {}, Plain, "2", 29, "29", SolarDate{2008, 2, 29}},
    {"StartOutsideYearRange", {1899, 12, 31}, {}, Plain, "12", 31, "31", SolarDate{1900, 12, 31}},
    {"GregorianYearChangeDropsLeapDay", {2008, 2, 29}, {{Action::Year, Y(2009)}}, Plain, "2", 28, "1",
     SolarDate{2009, 2, 1}},
    {"GregorianMonthChangeKeepsDay", {2009, 1, 30}, {{Action::Month, 2}}, Plain, "3", 31, "30",
     SolarDate{2009, 3, 30}},
    {"GregorianMonthChangeDropsDay31", {2009, 1, 31}, {{Action::Month, 3}}, Plain, "4", 30, "1",
     SolarDate{2009, 4, 1}},
    {"Lunar2009ShowsLeapFifth", {2009, 1, 1}, {{Action::Lunar}}, Leap5, "1", 30, "1", SolarDate{2009, 1, 26}},
    {"Lunar2009LeapFifthHas29Days", {2009, 1, 1}, {{Action::Lunar}, {Action::Month, 5}}, Leap5, "5(闰)", 29, "1",
     SolarDate{2009, 6, 23}},
    {"Lunar2009OrdinaryFifth", {2009, 1, 1}, {{Action::Lunar}, {Action::Month, 4}, {Action::Day, 29}}, Leap5, "5",
     30, "30", SolarDate{2009, 6, 22}},
    {"Lunar2009SixthAfterLeap", {2009, 1, 1}, {{Action::Lunar}, {Action::Month, 6}}, Leap5, "6", 29, "1",
     SolarDate{2009, 7, 22}},
    {"KeptDay30DroppedForA29DayMonth", {2009, 1, 1},
     {{Action::Lunar}, {Action::Month, 4}, {Action::Day, 29}, {Action::Month, 5}}, Leap5, "5(闰)", 29, "1",
     SolarDate{2009, 6, 23}},
    {"YearWithoutLeapDropsLeapChoice", {2009, 1, 1},
     {{Action::Lunar}, {Action::Month, 5}, {Action::Year, Y(2010)}}, Plain, "1", 30, "1", SolarDate{2010, 2, 14}},
    {"YearWithoutLeapKeepsMonth3", {2009, 1, 1},
     {{Action::Lunar}, {Action::Month, 2}, {Action::Day, 9}, {Action::Year, Y(2010)}}, Plain, "3", 30, "10",
     SolarDate{2010, 4, 23}},
    {"AnotherLeapYearMovesTheLeapItem", {2009, 1, 1},
     {{Action::Lunar}, {Action::Month, 2}, {Action::Year, Y(2012)}}, Leap4, "3", 30, "1", SolarDate{2012, 3, 22}},
    {"LeapChoiceOfAnotherMonthIsDropped", {2009, 1, 1},
     {{Action::Lunar}, {Action::Month, 5}, {Action::Year, Y(2012)}}, Leap4, "1", 30, "1", SolarDate{2012, 1, 23}},
    {"BackToGregorianDropsLeapChoice", {2009, 1, 1},
     {{Action::Lunar}, {Action::Month, 5}, {Action::Gregorian}}, Plain, "1", 31, "1", SolarDate{2009, 1, 1}},
    {"BackToGregorianKeepsMonth", {2009, 1, 1},
     {{Action::Lunar}, {Action::Month, 6}, {Action::Day, 28}, {Action::Gregorian}}, Plain, "6", 30, "29",
     SolarDate{2009, 6, 29}},
    {"Leap6th2017Day30", {2017, 1, 1}, {{Action::Lunar}, {Action::Month, 6}, {Action::Day, 29}}, Leap6, "6(闰)",
     30, "30", SolarDate{2017, 8, 21}},
    {"LeapEleventh2033", {2033, 1, 1}, {{Action::Lunar}, {Action::Month, 11}}, Leap11, "11(闰)", 29, "1",
     SolarDate{2033, 12, 22}},
    {"OutOfRangeIndexesIgnored", {2009, 3, 3},
     {{Action::Year, 150}, {Action::Month, -1}, {Action::Month, 12}, {Action::Day, 31}}, Plain, "3", 31, "3",
     SolarDate{2009, 3, 3}},
};

INSTANTIATE_TEST_SUITE_P(Query, Lists, ::testing::ValuesIn(ListsRows),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(QueryListsYears, HoldEveryYearOfTheRange)
{
    const QueryLists q({2009, 10, 1});
    ASSERT_EQ(q.YearItems().size(), 150u);
    EXPECT_EQ(q.YearItems().front(), "1900");
    EXPECT_EQ(q.YearItems().back(), "2049");
    EXPECT_EQ(q.YearIndex(), 109);
    EXPECT_EQ(q.Mode(), QueryMode::Gregorian);
}

struct RebuildMonthsRow {
    const char* name;
    int year;
    bool lunar;
    QueryMonth expected;
    std::string months;
};

class RebuildMonths : public ::testing::TestWithParam<RebuildMonthsRow> {};

// Starting from lunar 2009 with 5(闰) chosen.
TEST_P(RebuildMonths, FromLeapFifthChosen)
{
    const RebuildMonthsRow& row = GetParam();
    QueryLists q({2009, 1, 1});
    q.OnLunarClicked();
    q.OnMonthChosen(5);
    ASSERT_EQ(q.CurrentMonth(), (QueryMonth{5, true}));
    EXPECT_EQ(q.RebuildQueryMonths(row.year, row.lunar), row.expected);
    EXPECT_EQ(Joined(q.MonthItems()), row.months);
}

const RebuildMonthsRow RebuildMonthsRows[] = {
    {"SameYearKeepsLeap", 2009, true, {5, true}, Leap5},
    {"NoLeapYear", 2010, true, {1, false}, Plain},
    {"OtherLeapMonth", 2017, true, {1, false}, Leap6},
    {"GregorianMode", 2009, false, {1, false}, Plain},
};

INSTANTIATE_TEST_SUITE_P(Query, RebuildMonths, ::testing::ValuesIn(RebuildMonthsRows),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace qov
