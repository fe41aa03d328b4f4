// Festival lists and lookups of chosen dates, the three tables and their
// index, and sweeps over the weekday rows, Friday the 13th, Easter and 除夕.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <ostream>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "../engine/chrono_oracle.h"
#include "festival_tables.h"
#include "festivals.h"
#include "lunar.h"
#include "names.h"
#include "solarterm.h"

namespace qov {
namespace oracle {
std::ostream& operator<<(std::ostream& out, Ymd d)
{
    return out << d.y << '-' << d.m << '-' << d.d;
}
}  // namespace oracle
namespace {

using oracle::DateOf, oracle::DaysOf, oracle::WeekdayOf;
using Date = oracle::Ymd;

std::string List(Date d, bool withLunar)
{
    std::string result = "stale text";
    GetDayFestivals(d.y, d.m, d.d, result, withLunar);
    return result;
}

std::string Plain(int y, int m, int d) { return List({y, m, d}, false); }
std::string WithLunar(int y, int m, int d) { return List({y, m, d}, true); }

// Every item of a list is followed by one space. (Appended, not " " + list:
// GCC 12 at -O3 warns falsely of overlapping copies in operator+.)
bool Has(const std::string& list, std::string_view name)
{
    std::string needle(" ");
    needle.append(name).append(" ");
    return std::string(" ").append(list).find(needle) != std::string::npos;
}

// Chosen dates; the weekday rows, Friday the 13th and Easter of every date,
// and the Gregorian and lunar keys of months 0..13, days 0..32 are swept below.
TEST(Lookup, GivesTheNames)
{
    // clang-format off
    const struct { const char* name; std::string (*find)(int, int, int); int year, month, day;
        const char* expected; } rows[] = {
    {"NewYear", Plain, 2009, 1, 1, "元旦节 "},
    {"NationalDay", Plain, 2009, 10, 1, "国庆节 世界音乐日 国际老人节 "},
    {"MidAutumnFirst", WithLunar, 2009, 10, 3, "中秋节 国庆节假日 "},  // lunar 8-15
    {"MidAutumnWithoutLunar", Plain, 2009, 10, 3, "国庆节假日 "},
    {"DragonBoat", WithLunar, 2009, 5, 28, "端午节 "},
    {"DragonBoatInLeapMonth", WithLunar, 2009, 6, 27, "端午节 "},  // day 5 of leap month 5
    {"LeapMonthRepeatsItsMonth", FindLunarFestival, 2009, 5, 5, "端午节"},
    {"TermFirst", WithLunar, 2009, 10, 8, "寒露 全国高血压日 世界视觉日 "},
    {"EasterLast", Plain, 2018, 4, 1, "愚人节 全国爱国卫生运动月(四月) 税收宣传月(四月) 复活节 "},
    {"Thanksgiving", Plain, 2009, 11, 26, "感恩节 "},   // 1 November 2009 was a Sunday
    {"BlackFridayNov", WithLunar, 2009, 11, 13, "黑色星期五 "},
    {"NothingIsEmpty", WithLunar, 2009, 6, 3, ""},
    {"EveOnFourthSunday", WithLunar, 2009, 1, 25, "除夕 世界麻风日 "},  // lunar 2008-12-30
    {"Eve", WithLunar, 2010, 2, 13, "除夕 "},                           // lunar 2009-12-30
    {"NotYetEve", WithLunar, 2011, 2, 1, ""},  // lunar 2010-12-29, the month has 30 days
    {"Eve2050", FindLunarFestival, 2050, 12, 29, "除夕"},  // month 12 has 29 days
    {"NotEveDay30Of29", FindLunarFestival, 2050, 12, 30, ""},
    {"EveOfLastTableYear", FindLunarFestival, 2100, 12, 29, "除夕"},  // month 12 has 29 days
    {"NoEveBeforeTable", FindLunarFestival, 1899, 12, 29, ""},
    {"NoEveFarBeforeTable", FindLunarFestival, -5, 12, 29, ""},
    {"NoEveAfterTable", FindLunarFestival, 2101, 12, 29, ""},
    {"FirstLunarDate", WithLunar, 1900, 1, 31, "春节 "},
    {"BeforeTheLunarTable", WithLunar, 1900, 1, 30, ""},
    {"NewYear2051", WithLunar, 2051, 2, 11, "春节 "},
    {"AfterTheLunarTable", WithLunar, 2101, 1, 29, ""},
    {"Feb29InCommonYear", WithLunar, 2009, 2, 29, ""},
    {"Day0", WithLunar, 2009, 1, 0, ""},
    {"Day32", WithLunar, 2009, 1, 32, ""},
    {"Month13", WithLunar, 2009, 13, 1, ""},
    {"Year0", WithLunar, 0, 1, 1, ""},
    {"WeekdayMonth13", FindWeekdayFestival, 2009, 13, 10, ""},
    {"WeekdayYear0", FindWeekdayFestival, 0, 5, 10, ""},
    {"Month19Day37", FindGregorianFestival, 2009, 19, 37, ""},  // "1937" lies inside row 1213
    {"Month100", FindGregorianFestival, 2009, 100, 1, ""},
    {"NegativeMonth", FindLunarFestival, 2009, -1, 1, ""},
    // Extreme arguments: no overflow, no table read outside its rows, no 除夕
    // for the table's "0100" key, which no lunar date has.
    {"WeekdayDayIntMax", FindWeekdayFestival, 2000, 1, INT_MAX, ""},
    {"WeekdayDayIntMin", FindWeekdayFestival, 2000, 1, INT_MIN, ""},
    {"WeekdayDay32", FindWeekdayFestival, 2010, 1, 38, ""},  // week 5, Sunday: no 麻风日
    {"WeekdayYearIntMax", FindWeekdayFestival, INT_MAX, 5, 10, ""},
    {"LunarDayIntMin", FindLunarFestival, INT_MIN, 1, INT_MIN, ""},
    {"LunarMonthIntMax", FindLunarFestival, INT_MAX, INT_MAX, 1, ""},
    {"GregorianDayIntMax", FindGregorianFestival, 2009, 1, INT_MAX, ""},
    {"ListYearIntMax", WithLunar, INT_MAX, 1, 1, ""},
    {"ListYear65535", WithLunar, 65535, 1, 1, "元旦节 "},  // no term, no lunar date that far
    {"ListDayIntMin", WithLunar, 2009, 1, INT_MIN, ""},
    };
    // clang-format on
    for (const auto& c : rows) EXPECT_EQ(c.find(c.year, c.month, c.day), c.expected) << c.name;
}

using Table = std::span<const FestivalRow>;

// Rows "MMDD names" (weekday rows "MMWD"), names separated by single spaces,
// keys ascending but for 除夕's row 0100 at the end of the lunar table; rows
// of one key only where their kinds differ; an empty row ends the table.
TEST(FestivalTables, RowsAreKeySpaceNames)
{
    const struct {
        const char* name;
        Table table;
        std::size_t rows;
        std::string_view digitKey;  // the one row with ASCII digits among its names
    } tables[] = {{"Gregorian", GregorianFestivals, 119, "1213"}, {"Lunar", LunarFestivals, 12, ""},
        {"Weekday", WeekdayFestivals, 11, ""}};
    for (const auto& t : tables) {
        SCOPED_TRACE(t.name);
        ASSERT_EQ(t.table.size(), t.rows + 1);
        EXPECT_TRUE(t.table.back().text.empty());
        for (std::size_t i = 0; i < t.rows; ++i) {
            const std::string_view row = t.table[i].text, key = row.substr(0, 4);
            ASSERT_GE(row.size(), 6u) << i;
            EXPECT_TRUE(key.find_first_not_of("0123456789") == key.npos && row[4] == ' ') << row;
            const std::string_view before = i == 0 ? "" : t.table[i - 1].text.substr(0, 4);
            EXPECT_TRUE(key > before || key == "0100"
                || (key == before && t.table[i].kind != t.table[i - 1].kind))
                << row;
            const std::string_view names = row.substr(5);
            EXPECT_TRUE(names[0] != ' ' && names.back() != ' ' && names.find("  ") == names.npos)
                << row;
            EXPECT_EQ(names.find_first_of("0123456789") != names.npos, key == t.digitKey) << row;
        }
    }
    EXPECT_EQ(LunarFestivals[11].text.substr(0, 4), "0100");
}

// The lookup without an index: the first row containing the key anywhere,
// and the rows of its key after it.
std::string ScanNames(Table table, int month, int day)
{
    char key[16];
    std::snprintf(key, sizeof key, "%02d%02d", month, day);
    std::string names;
    for (std::size_t i = 0; i < table.size() && !table[i].text.empty(); ++i) {
        const std::string_view row = table[i].text;
        if (names.empty() && row.find(key) == row.npos) continue;
        if (!names.empty() && row.substr(0, 4) != table[i - 1].text.substr(0, 4)) break;
        names += (names.empty() ? "" : " ") + std::string(row.substr(5));
    }
    return names;
}

// Every date key as the plain scan finds it; the invalid months 0, 13 and days
// 0, 32 around them (and 30 February) have no festival, although the scan
// finds the 除夕 row's key "0100".
TEST(FestivalIndex, AnswersAsThePlainScan)
{
    for (int month = 0; month <= 13; ++month) {
        for (int day = 0; day <= 32; ++day) {
            const bool inMonth = month >= 1 && month <= 12 && day >= 1;
            const std::string gregorian = inMonth && day <= DaysInMonth(2000, month)
                ? ScanNames(GregorianFestivals, month, day)
                : "";
            EXPECT_EQ(FindGregorianFestival(2009, month, day), gregorian) << month << "-" << day;
            if (month == 12 && day == LunarMonthDays(2009, 12)) continue;  // 除夕 by month length
            const std::string lunar =
                inMonth && day <= 30 ? ScanNames(LunarFestivals, month, day) : "";
            EXPECT_EQ(FindLunarFestival(2009, month, day), lunar) << month << "-" << day;
        }
    }
}

// The list of one kind alone, with the term and the lunar festival. The
// borderline rows: 国际儿童节 and 妇女节 are Chinese festivals, 白色情人节 and
// 万圣节前夜 Western, 巴勒斯坦国土日 a day kept abroad.
std::string OfKind(Date d, FestivalKind kind)
{
    std::string result;
    GetDayFestivals(d.y, d.m, d.d, result, true, KindBit(kind));
    return result;
}

TEST(FestivalKinds, OneKindAlone)
{
    using enum FestivalKind;
    // clang-format off
    const struct { const char* name; Date date; FestivalKind kind; const char* expected; } rows[] = {
        {"TermAlone", {2009, 10, 8}, Term, "寒露 "},
        {"TermHidesTheRest", {2009, 10, 8}, China, "全国高血压日 "},
        {"SplitRowSecondPart", {2009, 10, 8}, World, "世界视觉日 "},
        {"MidAutumn", {2009, 10, 3}, Folk, "中秋节 "},
        {"Eve", {2010, 2, 13}, Folk, "除夕 "},
        {"ChildrensDayIsChinese", {2009, 6, 1}, China, "国际儿童节 "},
        {"ChildrensDayNotWorld", {2009, 6, 1}, World, ""},
        {"WhiteDayWestern", {2009, 3, 14}, West, "白色情人节 "},
        {"PiDayWorld", {2009, 3, 14}, World, "国际数学日 "},
        {"HalloweenEve", {2009, 10, 31}, West, "万圣节前夜 "},
        {"LandDayAbroad", {2009, 3, 30}, World, "巴勒斯坦国土日 "},
        {"MothersDayWeekdayRow", {2009, 5, 10}, West, "国际母亲节 "},
        {"BlackFriday", {2009, 2, 13}, West, "黑色星期五 "},
        {"Easter", {2009, 4, 12}, West, "复活节 "},
        {"EasterNotChinese", {2009, 4, 12}, China, ""},
    };
    // clang-format on
    for (const auto& r : rows) EXPECT_EQ(OfKind(r.date, r.kind), r.expected) << r.name;
}

// Every name of every day of four years (Easter, Friday the 13th and the
// weekday rows in each place) is of exactly one kind: the five lists of one
// kind hold the names of the whole list, each once.
TEST(FestivalKinds, SplitEveryList)
{
    for (long long n = DaysOf({2008, 1, 1}); n <= DaysOf({2011, 12, 31}); ++n) {
        const Date d = DateOf(n);
        std::vector<std::string> parts;
        for (int k = 0; k < 5; ++k) {
            std::istringstream names(OfKind(d, static_cast<FestivalKind>(k)));
            for (std::string name; names >> name;) parts.push_back(name);
        }
        std::vector<std::string> whole;
        std::istringstream names(WithLunar(d.y, d.m, d.d));
        for (std::string name; names >> name;) whole.push_back(name);
        std::ranges::sort(parts);
        std::ranges::sort(whole);
        ASSERT_EQ(parts, whole) << d;
    }
}

TEST(SectionalTerm, EvenTermNamesOnly)
{
    for (std::size_t k = 0; k < SolarTermNames.size(); ++k)
        EXPECT_EQ(IsSectionalTerm(SolarTermNames[k]), k % 2 == 0) << k;
    for (const std::string_view text : {"", "小寒 ", "立春立春", "春节"})
        EXPECT_FALSE(IsSectionalTerm(text)) << text;
}

// Western Easter Sundays from published tables: 1818 has the earliest possible
// date, 1943 the latest; 2004 and 2023 have a leap 2nd lunar month after the
// equinox's; 2001 and 2011 fall on lunar day 22.
TEST(Easter, PublishedSundaysEndTheList)
{
    for (const Date d : {Date{2009, 4, 12}, Date{2010, 4, 4}, Date{2001, 4, 15}, Date{2011, 4, 24},
             Date{2021, 4, 4}, Date{2025, 4, 20}, Date{2004, 4, 11}, Date{2023, 4, 9},
             Date{1818, 3, 22}, Date{1943, 4, 25}, Date{2100, 3, 28}})
        for (const bool withLunar : {false, true})
            EXPECT_TRUE(List(d, withLunar).ends_with("复活节 ")) << d << " withLunar " << withLunar;
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

// Every date of 1900..2100: the weekday rows, Friday the 13th, and one Easter
// per year, a Sunday from 22 March to 25 April after the day of 春分.
TEST(DateRules, EveryDateOf1900To2100)
{
    std::vector<long long> easters;
    for (long long t = DaysOf({1900, 1, 1}); t <= DaysOf({2100, 12, 31}); ++t) {
        const Date d = DateOf(t);
        const int weekday = WeekdayOf(d);
        const int firstSunday = 1 + ((d.d - 1 - weekday) % 7 + 7) % 7;
        std::string rule;
        for (const WeekdayRule& r : WeekdayRules)
            if (r.month == d.m && firstSunday + 7 * (r.sunday - 1) + r.after == d.d) rule = r.names;
        ASSERT_EQ(FindWeekdayFestival(d.y, d.m, d.d), rule) << d;
        const std::string list = List(d, false);
        ASSERT_EQ(Has(list, "黑色星期五"), d.d == 13 && weekday == 5) << d;
        if (Has(list, "复活节")) easters.push_back(t);
    }
    ASSERT_EQ(easters.size(), 201u);
    for (int year = 1900; year <= 2100; ++year) {
        const long long t = easters[static_cast<std::size_t>(year - 1900)];
        const SolarTermTime equinox = SolarTermDate(year, 5);
        EXPECT_TRUE(DateOf(t).y == year && WeekdayOf(DateOf(t)) == 0) << DateOf(t);
        EXPECT_TRUE(t >= DaysOf({year, 3, 22}) && t <= DaysOf({year, 4, 25})) << DateOf(t);
        EXPECT_GT(t, DaysOf({equinox.year, equinox.month, equinox.day})) << DateOf(t);
    }
}

// 除夕 shows exactly on the day before each lunar new year's day and on the
// last day of the table; a date without a lunar date adds only its solar term.
TEST(LunarPart, EveryDateOf1899To2102)
{
    int eves = 0;
    for (long long t = DaysOf({1899, 1, 1}); t <= DaysOf({2102, 12, 31}); ++t) {
        const Date d = DateOf(t), next = DateOf(t + 1);
        const std::string list = List(d, true);
        if (!HasLunarDate(ToLunar(d.y, d.m, d.d))) {
            const std::string term = SolarTermOnDate(d.y, d.m, d.d);
            ASSERT_EQ(list, (term.empty() ? "" : term + " ") + List(d, false)) << d;
            continue;
        }
        const LunarDate n = ToLunar(next.y, next.m, next.d);
        const bool eve = !HasLunarDate(n) || (n.month == 1 && n.day == 1 && !n.isLeap);
        ASSERT_EQ(Has(list, "除夕"), eve) << d;
        eves += eve ? 1 : 0;
    }
    EXPECT_EQ(eves, 201);  // lunar years 1900..2100
}

}  // namespace
}  // namespace qov
