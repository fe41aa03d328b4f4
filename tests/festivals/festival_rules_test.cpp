// Festival lists of chosen dates, the weekday rule, Friday the 13th, the
// sectional-term test and dates that do not exist.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "date_oracle.h"
#include "festivals.h"
#include "names.h"
#include "solarterm.h"

namespace qov {
namespace {

int WeekdayOf(int y, int m, int d) { return oracle::WeekdayOf({y, m, d}); }
int DaysOf(int y, int m) { return oracle::MonthLength(y, m); }

// The festival list split at its spaces; a list always ends in one space.
std::vector<std::string> Items(const std::string& list)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    for (std::size_t space = list.find(' '); space != std::string::npos; space = list.find(' ', start)) {
        items.push_back(list.substr(start, space - start));
        start = space + 1;
    }
    EXPECT_EQ(start, list.size()) << "text after the last space: " << list;
    return items;
}

bool HasItem(const std::string& list, std::string_view name)
{
    const std::vector<std::string> items = Items(list);
    return std::find(items.begin(), items.end(), name) != items.end();
}

std::string Festivals(int y, int m, int d, bool withLunar)
{
    std::string result = "stale text";
    GetDayFestivals(y, m, d, result, withLunar);
    return result;
}

struct ListCase {
    const char* name;
    int year;
    int month;
    int day;
    bool withLunar;
    const char* expected;
};

const ListCase ListCases[] = {
    {"NewYear2009", 2009, 1, 1, false, "元旦节 "},
    {"NationalDay2009", 2009, 10, 1, false, "国庆节 世界音乐日 国际老人节 "},
    // 3 October 2009 was lunar 8-15 (中秋); no solar term that day.
    {"MidAutumnOnHoliday2009WithLunar", 2009, 10, 3, true, "中秋节 国庆节假日 "},
    {"MidAutumnOnHoliday2009Plain", 2009, 10, 3, false, "国庆节假日 "},
    // 27 June 2009 was day 5 of the leap 5th lunar month.
    {"LeapDragonBoat2009", 2009, 6, 27, true, "端午节 "},
    {"MothersDay2009", 2009, 5, 10, false, "国际母亲节 "},
    {"Thanksgiving2009", 2009, 11, 26, false, "感恩节 "},
    {"LeprosyDay2010FourthSunday", 2010, 1, 24, false, "世界麻风日 "},
    {"LeprosyDay2010FifthSunday", 2010, 1, 31, false, "世界麻风日 "},
    {"LeprosyDay2009", 2009, 1, 25, false, "世界麻风日 "},
    {"MaritimeDay2012FifthSunday", 2012, 9, 30, false, "世界海事日 "},
    {"DeafDay2012FourthSunday", 2012, 9, 23, false, "国际聋人节 世界儿童日 "},
    {"BlackFriday2009Feb", 2009, 2, 13, false, "黑色星期五 "},
    {"BlackFriday2009Mar", 2009, 3, 13, false, "黑色星期五 "},
    {"BlackFriday2009Nov", 2009, 11, 13, true, "黑色星期五 "},
    {"Monday13th2009Apr", 2009, 4, 13, false, ""},
    // 春分 2009 fell on 20 March (lunar 2-24).
    {"EquinoxFirst2009", 2009, 3, 20, true, "春分 "},
    {"EquinoxHidden2009", 2009, 3, 20, false, ""},
    {"NothingOn2009Jun03", 2009, 6, 3, true, ""},
    {"NothingOn2009Jun03Plain", 2009, 6, 3, false, ""},
};

class FestivalListTest : public testing::TestWithParam<ListCase> {};

TEST_P(FestivalListTest, GivesTheList)
{
    const ListCase& c = GetParam();
    EXPECT_EQ(Festivals(c.year, c.month, c.day, c.withLunar), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Dates, FestivalListTest, testing::ValuesIn(ListCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(FestivalList, LeapMonthRepeatsLunarFestival)
{
    EXPECT_EQ(FindLunarFestival(2009, 5, 5), "端午节");
    // Ordinary 5-5 of 2009 was 28 May.
    EXPECT_TRUE(HasItem(Festivals(2009, 5, 28, true), "端午节"));
}

TEST(FestivalList, SolarTermComesBeforeGregorianNames)
{
    // 惊蛰 2009 fell on 5 March, a date with its own row.
    const std::string names = FindGregorianFestival(2009, 3, 5);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(Festivals(2009, 3, 5, true), "惊蛰 " + names + " ");
    EXPECT_EQ(Festivals(2009, 3, 5, false), names + " ");
}

TEST(FestivalList, ThanksgivingOnlyWhenWeekFourThursdayIsInNovember)
{
    for (const int year : {2010, 2011})
        for (int day = 1; day <= 30; ++day)
            EXPECT_FALSE(HasItem(Festivals(year, 11, day, false), "感恩节")) << year << "-11-" << day;
}

TEST(FestivalList, LeprosyDayOnlyOnceIn2009)
{
    for (int day = 1; day <= 31; ++day)
        EXPECT_EQ(HasItem(Festivals(2009, 1, day, false), "世界麻风日"), day == 25) << day;
}

// Every weekday row by what it selects: the n-th Sunday of the month plus a
// number of days, as long as that day is still in the month.
struct WeekdayRule {
    const char* name;
    int month;
    std::vector<std::pair<int, int>> sundayPlusDays;  // (ordinal of the Sunday, days after it)
    const char* names;
};

const WeekdayRule WeekdayRules[] = {
    {"LeprosyDay", 1, {{4, 0}, {5, 0}}, "世界麻风日"},
    {"MothersDay", 5, {{2, 0}}, "国际母亲节"},
    {"HelpTheDisabledDay", 5, {{3, 0}}, "全国助残日"},
    {"FathersDay", 6, {{3, 0}}, "父亲节"},
    {"CaptiveNationsWeek", 7, {{3, 0}}, "被奴役国家周"},
    {"PeaceDay", 9, {{3, 2}}, "国际和平日"},
    {"DeafDay", 9, {{4, 0}}, "国际聋人节 世界儿童日"},
    {"MaritimeDay", 9, {{5, 0}}, "世界海事日"},
    {"HabitatDay", 10, {{1, 1}}, "国际住房日"},
    {"DisasterReductionDay", 10, {{1, 3}}, "国际减轻自然灾害日(减灾日)"},
    {"Thanksgiving", 11, {{4, 4}}, "感恩节"},
};

TEST(WeekdayRule, EveryDateOf1900To2100)
{
    for (int year = 1900; year <= 2100; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const int length = DaysOf(year, month);
            const int firstSunday = 1 + (7 - WeekdayOf(year, month, 1)) % 7;
            std::vector<std::string> expected(static_cast<std::size_t>(length) + 1);
            for (const WeekdayRule& rule : WeekdayRules) {
                if (rule.month != month) continue;
                for (const auto& [ordinal, after] : rule.sundayPlusDays) {
                    const int day = firstSunday + 7 * (ordinal - 1) + after;
                    if (day <= length) expected[static_cast<std::size_t>(day)] = rule.names;
                }
            }
            for (int day = 1; day <= length; ++day)
                ASSERT_EQ(FindWeekdayFestival(year, month, day), expected[static_cast<std::size_t>(day)])
                    << year << "-" << month << "-" << day;
        }
    }
}

struct WeekCase {
    const char* name;
    int year;
    int month;
    int day;
    const char* expected;
};

const WeekCase WeekCases[] = {
    {"ThirdSundayOfMay2009", 2009, 5, 17, "全国助残日"},
    {"ThirdSundayOfJune2009", 2009, 6, 21, "父亲节"},
    {"ThirdSundayOfJuly2009", 2009, 7, 19, "被奴役国家周"},
    // 1 September 2009 was a Tuesday; week 3 begins on Sunday the 20th.
    {"TuesdayOfWeek3Sep2009", 2009, 9, 22, "国际和平日"},
    {"FourthSundaySep2009", 2009, 9, 27, "国际聋人节 世界儿童日"},
    // 1 October 2012 was a Monday: it lies in week 0, week 1 begins on the 7th.
    {"MondayOfWeek0Oct2012", 2012, 10, 1, ""},
    {"MondayOfWeek1Oct2012", 2012, 10, 8, "国际住房日"},
    {"WednesdayOfWeek1Oct2012", 2012, 10, 10, "国际减轻自然灾害日(减灾日)"},
    // 1 November 2009 was a Sunday, which makes it week 1.
    {"SundayFirstNov2009", 2009, 11, 26, "感恩节"},
    // 1 November 2012 was a Thursday, so week 4 begins on the 25th.
    {"ThursdayFirstNov2012", 2012, 11, 29, "感恩节"},
    {"MonthZero", 2009, 0, 10, ""},
    {"MonthThirteen", 2009, 13, 10, ""},
    {"YearZero", 0, 5, 10, ""},
};

class WeekRuleTest : public testing::TestWithParam<WeekCase> {};

TEST_P(WeekRuleTest, SelectsTheRow)
{
    const WeekCase& c = GetParam();
    EXPECT_EQ(FindWeekdayFestival(c.year, c.month, c.day), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Dates, WeekRuleTest, testing::ValuesIn(WeekCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(BlackFriday, ExactlyTheFridaysThe13th)
{
    for (int year = 1900; year <= 2100; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= DaysOf(year, month); ++day)
                ASSERT_EQ(HasItem(Festivals(year, month, day, false), "黑色星期五"),
                          day == 13 && WeekdayOf(year, month, day) == 5)
                    << year << "-" << month << "-" << day;
}

TEST(SectionalTerm, EvenIndexesOfTheTermNames)
{
    for (std::size_t k = 0; k < SolarTermNames.size(); ++k)
        EXPECT_EQ(IsSectionalTerm(SolarTermNames[k]), k % 2 == 0) << k;
}

TEST(SectionalTerm, OtherTextsAreNot)
{
    for (const std::string_view text : {"", "小", "小寒 ", " 立春", "立春立春", "春节", "xx"})
        EXPECT_FALSE(IsSectionalTerm(text)) << text;
}

struct InvalidDateCase {
    const char* name;
    int year;
    int month;
    int day;
};

const InvalidDateCase InvalidDates[] = {
    {"Feb29InCommonYear", 2009, 2, 29}, {"Apr31", 2009, 4, 31},   {"Day0", 2009, 1, 0},
    {"Day32", 2009, 1, 32},             {"Month0", 2009, 0, 1},   {"Month13", 2009, 13, 1},
    {"Year0", 0, 1, 1},
};

class InvalidDateTest : public testing::TestWithParam<InvalidDateCase> {};

TEST_P(InvalidDateTest, GivesAnEmptyList)
{
    const InvalidDateCase& c = GetParam();
    EXPECT_EQ(Festivals(c.year, c.month, c.day, true), "");
    EXPECT_EQ(Festivals(c.year, c.month, c.day, false), "");
}

INSTANTIATE_TEST_SUITE_P(Dates, InvalidDateTest, testing::ValuesIn(InvalidDates),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace qov
