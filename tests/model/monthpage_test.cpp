// MonthPage (navigation, grid, hits, clicks) and the quick query with its lists.
#include "model/monthpage.h"

#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "lunar.h"
#include "model_test_support.h"

namespace qov {
namespace {

const std::optional<GridCell> NoCell;
const std::optional<SolarDate> NoDate;

// '<' PrevMonth, '>' NextMonth, '[' PrevYear, ']' NextYear, 'y' SetYear(arg), 'm'
// SetMonth(arg), '=' the constructor alone. Pages outside 1900..2049 are reached by
// neighbouring-cell clicks.
TEST(MonthPage, Navigation)
{
    // clang-format off
    const struct { const char* name; SolarDate start; char command; int arg; SolarDate expected; } rows[] = {
        {"Mar31PrevMonthLeap", {2008, 3, 31}, '<', 0, {2008, 2, 29}},
        {"Jan31SetMonth2", {2009, 1, 31}, 'm', 2, {2009, 2, 28}},
        {"Feb29NextYear", {2008, 2, 29}, ']', 0, {2009, 2, 28}},
        {"JanuaryPrevMonthStays", {2009, 1, 15}, '<', 0, {2009, 1, 15}},
        {"DecemberNextMonthStays", {2009, 12, 15}, '>', 0, {2009, 12, 15}},
        {"PrevYearAt1900Stays", {1900, 6, 30}, '[', 0, {1900, 6, 30}},
        {"SetYearBelowRange", {2009, 7, 4}, 'y', 1850, {1900, 7, 4}},
        {"Dec1899PrevMonthStays", {1899, 12, 31}, '<', 0, {1899, 12, 31}},
        {"BeforeFirstPage", {1850, 6, 10}, '=', 0, {1899, 12, 10}},
        {"AfterLastPage", {2099, 6, 30}, '=', 0, {2050, 2, 28}}};
    // clang-format on
    for (const auto& r : rows) {
        const MonthPage p(r.start);
        const MonthPage after[] = {p.PrevMonth(), p.NextMonth(), p.PrevYear(), p.NextYear(),
            p.SetYear(r.arg), p.SetMonth(r.arg), p};
        EXPECT_EQ(after[std::string_view("<>[]ym=").find(r.command)].Date(), r.expected) << r.name;
    }
}

// CellAt gives `date`, SelectCell `selects`. The 1st falls on a Sunday in February
// 2009, a Saturday in August 2009, a Monday in January 1900.
TEST(MonthPage, CellDatesAndClicks)
{
    // clang-format off
    const struct { const char* name; SolarDate page; GridCell cell; SolarDate date, selects; } rows[] = {
        {"SundayStartNoLeadingCell", {2009, 2, 10}, {0, 0}, {2009, 2, 1}, {2009, 2, 1}},
        {"SaturdayStartLeadingCell", {2009, 8, 12}, {0, 0}, {2009, 7, 26}, {2009, 7, 26}},
        {"DecemberTrailingIsJanuary", {2009, 12, 31}, {5, 6}, {2010, 1, 9}, {2010, 1, 9}},
        {"JanuaryLeadingIsDecember", {2010, 1, 1}, {0, 0}, {2009, 12, 27}, {2009, 12, 27}},
        {"Jan1900LeadingIs1899", {1900, 1, 1}, {0, 0}, {1899, 12, 31}, {1899, 12, 31}},
        {"Dec1899LeadingIgnored", {1899, 12, 3}, {0, 0}, {1899, 11, 26}, {1899, 12, 3}},
        {"Feb2050TrailingIgnored", {2050, 2, 3}, {5, 6}, {2050, 3, 12}, {2050, 2, 3}}};
    // clang-format on
    for (const auto& r : rows) {
        EXPECT_EQ(MonthPage(r.page).CellAt(r.cell), r.date) << r.name;
        EXPECT_EQ(MonthPage(r.page).SelectCell(r.cell).Date(), r.selects) << r.name;
    }
}

// Clicks reach x 5..492, y 52..351; the hover area (and so the tip) x 6..490, y 53..351.
TEST(MonthPage, HitTestEdges)
{
    using C = GridCell;
    // clang-format off
    const struct { const char* name; int x, y; std::optional<GridCell> click, hover; } rows[] = {
        {"TopLeft", 5, 52, C{0, 0}, NoCell}, {"Left", 4, 100, NoCell, NoCell},
        {"Top", 100, 51, NoCell, NoCell}, {"FirstHover", 6, 53, C{0, 0}, C{0, 0}},
        {"Column1", 75, 60, C{0, 1}, C{0, 1}}, {"Row1", 100, 102, C{1, 1}, C{1, 1}},
        {"X490", 490, 200, C{2, 6}, C{2, 6}}, {"X492Saturday", 492, 200, C{2, 6}, NoCell},
        {"X493", 493, 300, NoCell, NoCell}, {"Y351", 300, 351, C{5, 4}, C{5, 4}},
        {"Y352", 300, 352, NoCell, NoCell}};
    // clang-format on
    for (const auto& r : rows) {
        EXPECT_EQ(MonthPage::HitTest(r.x, r.y), r.click) << r.name;
        EXPECT_EQ(MonthPage::HoverTest(r.x, r.y), r.hover) << r.name;
    }
}

// Almanac dates (Purple Mountain Observatory): lunar 2009 has a leap fifth month
// of 29 days from 23 June after a fifth of 30; 2017 a leap sixth month of 30 days
// (23 July .. 21 August) after a sixth of 29; 2010 no leap month.
TEST(Query, FindSolarDate)
{
    // clang-format off
    const struct { const char* name; int ly, lm, ld; bool leap; std::optional<SolarDate> date; } rows[] = {
        {"LeapFifth2009Day1", 2009, 5, 1, true, SolarDate{2009, 6, 23}},
        {"LeapFifth2009Day30", 2009, 5, 30, true, NoDate},
        {"LeapSixth2017Day30", 2017, 6, 30, true, SolarDate{2017, 8, 21}},
        {"LeapInYearWithoutLeap", 2010, 5, 1, true, NoDate},
        {"LeapOfTheWrongMonth", 2009, 4, 1, true, NoDate},
        {"YearBeforeTable", 1899, 1, 1, false, NoDate},
        {"Month13", 2009, 13, 1, false, NoDate}, {"Day0", 2009, 1, 0, false, NoDate}};
    // clang-format on
    for (const auto& r : rows) EXPECT_EQ(FindSolarDate(r.ly, r.lm, r.ld, r.leap), r.date) << r.name;
}

// Steps: "g" / "l" the Gregorian / lunar button, "y2010" the year 2010, "m4" / "d29"
// month / day item 4 / 29 (from 0). Then: month items joined, the current month
// item, the day count (items "1".."n"), the current day, the query. Lunar 2010
// began 14 February; 2033 has a leap eleventh month from 22 December.
TEST(Query, ListsStayConsistent)
{
    const char* const Plain = "1,2,3,4,5,6,7,8,9,10,11,12";
    const char* const Leap5 = "1,2,3,4,5,5(闰),6,7,8,9,10,11,12";
    const char* const Leap11 = "1,2,3,4,5,6,7,8,9,10,11,11(闰),12";
    // clang-format off
    const struct { const char* name; SolarDate start; const char *steps, *months, *month; int days, day;
        std::optional<SolarDate> query; } rows[] = {
        {"YearOutsideRange", {1899, 12, 31}, "", Plain, "12", 31, 31, SolarDate{1900, 12, 31}},
        {"YearDropsLeapDay", {2008, 2, 29}, "y2009", Plain, "2", 28, 1, SolarDate{2009, 2, 1}},
        {"LeapFifth", {2009, 1, 1}, "l m5", Leap5, "5(闰)", 29, 1, SolarDate{2009, 6, 23}},
        {"Day30Dropped", {2009, 1, 1}, "l m4 d29 m5", Leap5, "5(闰)", 29, 1, SolarDate{2009, 6, 23}},
        {"NoLeapYear", {2009, 1, 1}, "l m5 y2010", Plain, "1", 30, 1, SolarDate{2010, 2, 14}},
        {"NoLeapKeeps3", {2009, 1, 1}, "l m2 d9 y2010", Plain, "3", 30, 10, SolarDate{2010, 4, 23}},
        {"GregorianDropsLeap", {2009, 1, 1}, "l m5 g", Plain, "1", 31, 1, SolarDate{2009, 1, 1}},
        {"GregorianKeeps6", {2009, 1, 1}, "l m6 d28 g", Plain, "6", 30, 29, SolarDate{2009, 6, 29}},
        {"Leap11th2033", {2033, 1, 1}, "l m11", Leap11, "11(闰)", 29, 1, SolarDate{2033, 12, 22}},
        {"BadIndexes", {2009, 3, 3}, "y2050 m-1 m12 d31", Plain, "3", 31, 3, SolarDate{2009, 3, 3}}};
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        QueryLists q(r.start);
        std::istringstream steps(r.steps);
        for (std::string s; steps >> s;) {
            const int n = s.size() > 1 ? std::stoi(s.substr(1)) : 0;
            if (s == "g") q.OnGregorianClicked();
            if (s == "l") q.OnLunarClicked();
            if (s[0] == 'y') q.OnYearChosen(n - 1900);
            if (s[0] == 'm') q.OnMonthChosen(n);
            if (s[0] == 'd') q.OnDayChosen(n);
        }
        std::string months;
        for (const std::string& item : q.MonthItems()) months += (months.empty() ? "" : ",") + item;
        EXPECT_EQ(months, r.months);
        EXPECT_EQ(q.MonthItems().at(static_cast<std::size_t>(q.MonthIndex())), r.month);
        ASSERT_EQ(q.DayItems().size(), static_cast<std::size_t>(r.days));
        EXPECT_EQ(q.DayItems().back(), std::to_string(r.days));
        EXPECT_EQ(q.DayIndex() + 1, r.day);
        EXPECT_EQ(q.Query(), r.query);
    }
}

// Gregorian -> lunar -> FindSolarDate for every day of lunar 1900 .. 2049; day 30
// of every 29-day lunar month is not found.
TEST(Query, LunarRoundTripSweep)
{
    LunarDate previous{};
    long long days = 0;
    for (int y = 1900; y <= 2050; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                const LunarDate l = ToLunar(y, m, d);
                if (!HasLunarDate(l) || l.year > 2049) continue;  // the query's years
                ++days;
                ASSERT_EQ(FindSolarDate(l.year, l.month, l.day, l.isLeap), (SolarDate{y, m, d}));
                if (l.day == 1 && previous.day == 29) {
                    EXPECT_FALSE(FindSolarDate(previous.year, previous.month, 30, previous.isLeap))
                        << y << '-' << m << '-' << d;
                }
                previous = l;
            }
        }
    }
    EXPECT_EQ(days, DaysFromCivil(2050, 1, 22) - DaysFromCivil(1900, 1, 31) + 1);
}

}  // namespace
}  // namespace qov
