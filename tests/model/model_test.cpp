// The window's models without a window: the date field's state machine, the
// month page (navigation, grid keys, clicks, quick query) and the texts
// drawn on a page, at chosen dates and at the edges of int. The sweep of
// every page is in days_test_utf8.cpp.
#include <algorithm>
#include <climits>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "model/dateentry.h"
#include "model/daytexts.h"
#include "model/gridkeys.h"
#include "model/monthpage.h"
#include "modeltest.h"

namespace qov {
namespace {

const std::optional<GridCell> NoCell;
const std::optional<SolarDate> NoDate;

// Applies one step and returns its code. 'Z', 'Y', 'M', 'D' pick field 0 (a click outside
// the zones), 1, 2, 3: 's' picked, 'r' refused. 'N' is focus loss (Normalize): 'n'. Any
// other character is typed: 'i' ignored, 'c' continue, 'K' complete.
char Step(DateEntry& entry, char key)
{
    if (const std::size_t f = std::string_view("ZYMD").find(key); f != std::string_view::npos)
        return entry.SelectField(static_cast<int>(f)) ? 's' : 'r';
    if (key == 'N') return entry.Normalize(), 'n';
    const EntryResult r = entry.Type(static_cast<char32_t>(key));
    return r == EntryResult::Ignored ? 'i' : r == EntryResult::Continue ? 'c' : 'K';
}

// Codes: one per key; texts: the text after each key, each followed by a space;
// then the active field and its digits left.
TEST(DateEntry, TypingTextsAndState)
{
    constexpr int Year = DateEntry::YearField, Month = DateEntry::MonthField;
    constexpr int Day = DateEntry::DayField;
    // clang-format off
    const struct { const char* name; SolarDate start; std::string keys, codes, texts; int field, digits; } rows[] = {
        // Year digits weigh 1000, 100, 10, 1; the fourth clamps and picks the month.
        {"Year0000Gives0001", {2012, 7, 15}, "Y0000", "scccc",
         "2012-07-15 0000-07-15 0000-07-15 0000-07-15 0001-07-15 ", Month, 2},
        {"CommonYearClampsFeb29", {2008, 2, 29}, "Y2009", "scccc",
         "2008-02-29 2000-02-29 2000-02-29 2000-02-29 2009-02-28 ", Month, 2},
        // Month: "0" and "1" wait, "2".."9" pick the day at once; a one-digit month
        // keeps day 31 until the day is typed or focus leaves, two digits clamp.
        {"Month15Gives12", {2009, 3, 15}, "M15", "scc", "2009-03-15 2009-10-15 2009-12-15 ", Day, 2},
        {"Month00Gives01", {2009, 3, 15}, "M00", "scc", "2009-03-15 2009-00-15 2009-01-15 ", Day, 2},
        {"Month2KeepsDay31", {2009, 1, 31}, "M2N", "scn", "2009-01-31 2009-02-31 2009-02-28 ", Day, 2},
        {"Month9PicksTheDay", {2009, 3, 15}, "M9", "sc", "2009-03-15 2009-09-15 ", Day, 2},
        {"Month02Clamps", {2009, 1, 31}, "M02", "scc", "2009-01-31 2009-00-31 2009-02-28 ", Day, 2},
        // Day: "0".."3" wait, "4".."9" complete at once; the sum stays in the month.
        {"Day35CommonFeb", {2009, 2, 10}, "D35", "scK", "2009-02-10 2009-02-30 2009-02-28 ", Day, 0},
        {"Day00Gives01", {2009, 2, 10}, "D00", "scK", "2009-02-10 2009-02-00 2009-02-01 ", Day, 0},
        {"Day4Completes", {2009, 2, 10}, "D4", "sK", "2009-02-10 2009-02-04 ", Day, 0},
        {"DigitsAfterCompletionAdd", {2008, 2, 10}, "D599", "sKKK",
         "2008-02-10 2008-02-05 2008-02-14 2008-02-23 ", Day, 0},
        {"WholeDate", {2012, 12, 31}, "Y20080229", "scccccccK", "2012-12-31 2000-12-31 2000-12-31 "
         "2000-12-31 2008-12-31 2008-00-31 2008-02-29 2008-02-20 2008-02-29 ", Day, 0},
        // An idle entry (no field in progress) holds its date in range.
        {"IdleYear12345", {12345, 7, 1}, "x", "i", "9999-07-01 ", 0, 0},
        {"IdleFeb29In1900", {1900, 2, 29}, "x", "i", "1900-02-28 ", 0, 0},
        {"IdleMonth13", {2009, 13, 5}, "x", "i", "2009-12-05 ", 0, 0},
        // Letters, backspace, Ctrl+C, Ctrl+V, Ctrl+X and a space do nothing.
        {"NonDigitsIgnored", {2009, 7, 1}, "Ya\b\x03\x16\x18 ", "siiiiii", "2009-07-01 2009-07-01 "
         "2009-07-01 2009-07-01 2009-07-01 2009-07-01 2009-07-01 ", Year, 4},
        {"NoFieldFirstDigitStartsYear", {2009, 7, 1}, "x19", "icc",
         "2009-07-01 1000-07-01 1900-07-01 ", Year, 2},
        // Focus loss brings the date into range and keeps the field in progress;
        // the next digit continues the digits typed, not the date focus loss
        // brought into range: "0" stays "0" and "3" stays "3".
        {"FocusLossMidYearContinues", {2012, 7, 15}, "Y20N17", "sccncc", "2012-07-15 2000-07-15 "
         "2000-07-15 2000-07-15 2010-07-15 2017-07-15 ", Month, 2},
        {"FocusLossMonth0Then5", {2009, 6, 4}, "M0N5", "scnc",
         "2009-06-04 2009-00-04 2009-01-04 2009-05-04 ", Day, 2},
        {"FocusLossDay0Then9", {2009, 5, 4}, "D0N9", "scnK",
         "2009-05-04 2009-05-00 2009-05-01 2009-05-09 ", Day, 0},
        {"FocusLossDay3Then1InFeb", {2009, 2, 10}, "D3N1", "scnK",
         "2009-02-10 2009-02-30 2009-02-28 2009-02-28 ", Day, 0},
        // So does a click outside the zones.
        {"ClickOutsideKeepsProgress", {2009, 7, 1}, "D1Z5", "scrK",
         "2009-07-01 2009-07-10 2009-07-10 2009-07-15 ", Day, 0},
        // A day picked while the month or the year is half typed still completes a
        // valid date.
        {"HalfTypedMonthThenDay", {2009, 7, 15}, "M0D5", "scsK",
         "2009-07-15 2009-00-15 2009-00-15 2009-01-05 ", Day, 0},
        {"HalfTypedYearThenDay", {2009, 7, 15}, "Y0D9", "scsK",
         "2009-07-15 0000-07-15 0000-07-15 0001-07-09 ", Day, 0}};
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(row.codes.size(), row.keys.size());
        ASSERT_EQ(row.texts.size(), 11 * row.keys.size());
        DateEntry entry(row.start);
        for (std::size_t i = 0; i < row.keys.size(); ++i) {
            EXPECT_EQ(Step(entry, row.keys[i]), row.codes[i]) << "step " << i;
            EXPECT_EQ(entry.Text(), row.texts.substr(11 * i, 10)) << "step " << i;
        }
        EXPECT_EQ(entry.ActiveField(), row.field);
        EXPECT_EQ(entry.DigitsLeft(), row.digits);
    }
}

// SelectField selects a field's characters. Click zones: characters 8 px wide from x = 3,
// four spaces 12 px, two spaces 6 px: year 3..15, month 43..49, day 67..73, both ends
// inclusive; where wide spaces make the year zone reach into the month, the first wins.
// Zones reaching past INT_MAX and negative widths neither overflow nor hold anything.
TEST(DateEntry, FieldPick)
{
    DateEntry entry({2009, 7, 1});
    const TextRange ranges[] = {{0, 0}, {0, 4}, {5, 7}, {8, 10}};
    EXPECT_EQ(entry.Selection(), ranges[0]);
    for (int field = 1; field <= 4; ++field) {  // field 4 is refused and keeps the day's
        EXPECT_EQ(entry.SelectField(field), field < 4) << field;
        EXPECT_EQ(entry.Selection(), ranges[std::min(field, 3)]) << field;
    }
    const int usual[3] = {3, 43, 67}, narrow[3] = {0, 10, 16};
    const int nearEnd[3] = {INT_MAX - 1, INT_MAX, INT_MAX}, spread[3] = {INT_MIN, 0, 100};
    // clang-format off
    const struct { int x; const int (&starts)[3]; int four, two, field; } rows[] = {
        {2, usual, 12, 6, 0},
        {3, usual, 12, 6, 1},
        {15, usual, 12, 6, 1},
        {16, usual, 12, 6, 0},
        {43, usual, 12, 6, 2},
        {49, usual, 12, 6, 2},
        {50, usual, 12, 6, 0},
        {73, usual, 12, 6, 3},
        {74, usual, 12, 6, 0},
        {12, narrow, 16, 8, 1},
        {17, narrow, 16, 8, 2},
        {INT_MAX, nearEnd, INT_MAX, INT_MAX, 1},
        {INT_MIN, nearEnd, INT_MAX, INT_MAX, 0},
        {100, spread, INT_MIN, INT_MIN, 0},
        {-5, spread, INT_MAX, 8, 1},
        {108, spread, 0, 8, 3}};
    // clang-format on
    for (const auto& row : rows)
        EXPECT_EQ(DateEntry::FieldAtX(row.x, row.starts, row.four, row.two), row.field)
            << row.x << " from " << row.starts[0];
}

// The page after a command: '<' PrevMonth, '>' NextMonth, '[' PrevYear, ']'
// NextYear, 'y' SetYear(arg), 'm' SetMonth(arg), '=' the constructor alone,
// or grid key number `arg` ('k'). Pages outside 1900..2100 are reached by
// neighbouring-cell clicks and the grid's day keys; the page range is
// December 1899 to February 2101.
TEST(MonthPage, Navigation)
{
    using enum GridKey;
    // clang-format off
    const struct { const char* name; SolarDate start; char command; int arg; SolarDate expected; } rows[] = {
        {"Mar31PrevMonthLeap", {2008, 3, 31}, '<', 0, {2008, 2, 29}},
        {"Jan31SetMonth2", {2009, 1, 31}, 'm', 2, {2009, 2, 28}},
        {"Feb29NextYear", {2008, 2, 29}, ']', 0, {2009, 2, 28}},
        {"JanuaryPrevMonthStays", {2009, 1, 15}, '<', 0, {2009, 1, 15}},
        {"DecemberNextMonthStays", {2009, 12, 15}, '>', 0, {2009, 12, 15}},
        {"PrevYearAt1900Stays", {1900, 6, 30}, '[', 0, {1900, 6, 30}},
        {"PrevYearAt1901", {1901, 6, 30}, '[', 0, {1900, 6, 30}},
        {"SetYearBelowRange", {2009, 7, 4}, 'y', 1850, {1900, 7, 4}},
        {"Dec1899PrevMonthStays", {1899, 12, 31}, '<', 0, {1899, 12, 31}},
        {"BeforeFirstPage", {1850, 6, 10}, '=', 0, {1899, 12, 10}},
        {"NextYearAt2100Stays", {2100, 6, 30}, ']', 0, {2100, 6, 30}},
        {"AfterLastPage", {2150, 6, 30}, '=', 0, {2101, 2, 28}},
        {"RightAtAYearEnd", {2009, 12, 31}, 'k', int(NextDay), {2010, 1, 1}},
        {"LeftIntoALeapFebruary", {2008, 3, 1}, 'k', int(PrevDay), {2008, 2, 29}},
        {"UpAcrossAYear", {2009, 1, 3}, 'k', int(PrevWeek), {2008, 12, 27}},
        {"DownAcrossAMonth", {2009, 2, 28}, 'k', int(NextWeek), {2009, 3, 7}},
        {"PgUpInJanuary", {2009, 1, 15}, 'k', int(PrevMonth), {2008, 12, 15}},
        {"PgUpClampsTheDay", {2008, 3, 31}, 'k', int(PrevMonth), {2008, 2, 29}},
        {"PgDownInDecember", {2009, 12, 31}, 'k', int(NextMonth), {2010, 1, 31}},
        {"CtrlPgUpFromFeb29", {2008, 2, 29}, 'k', int(PrevYear), {2007, 2, 28}},
        {"CtrlPgDown", {2009, 7, 15}, 'k', int(NextYear), {2010, 7, 15}},
        {"Home", {1950, 6, 6}, 'k', int(Today), qov::Today()},
        {"LeftAtTheFirstPageDay", {1899, 12, 1}, 'k', int(PrevDay), {1899, 12, 1}},
        {"DownPastTheLastPage", {2101, 2, 25}, 'k', int(NextWeek), {2101, 2, 25}},
        {"PgDownPastTheLastPage", {2101, 2, 25}, 'k', int(NextMonth), {2101, 2, 25}}};
    // clang-format on
    for (const auto& r : rows) {
        const MonthPage p(r.start);
        const MonthPage after[] = {p.PrevMonth(), p.NextMonth(), p.PrevYear(), p.NextYear(),
            p.SetYear(r.arg), p.SetMonth(r.arg), p, ApplyGridKey(p, GridKey(r.arg))};
        EXPECT_EQ(after[std::string_view("<>[]ym=k").find(r.command)].Date(), r.expected) << r.name;
    }
    // Wheel deltas, 120 a notch: parts add up across a delta of 0, a turn back drops them.
    for (const auto& [deltas, steps] :
        {std::pair{std::vector{60, 0, 60}, 1}, {{90, -60, -60}, -1}}) {
        WheelSteps wheel;
        int sum = 0;
        for (const int delta : deltas) sum += wheel.Add(delta);
        EXPECT_EQ(sum, steps) << deltas[0];
    }
}

// CellAt gives `date`, SelectCell `selects` at the ends of the page range (the
// cells of the pages between are swept). Clicks reach x
// 5..492, y 52..351; the hover area (and so the tip) x 6..490, y 53..351.
TEST(MonthPage, CellsClicksAndHover)
{
    // clang-format off
    const struct { const char* name; SolarDate page; GridCell cell; SolarDate date, selects; } rows[] = {
        {"Jan1900LeadingIs1899", {1900, 1, 1}, {0, 0}, {1899, 12, 31}, {1899, 12, 31}},
        {"Dec1899LeadingIgnored", {1899, 12, 3}, {0, 0}, {1899, 11, 26}, {1899, 12, 3}},
        {"Feb2101TrailingIgnored", {2101, 2, 3}, {5, 6}, {2101, 3, 12}, {2101, 2, 3}}};
    // clang-format on
    for (const auto& r : rows) {
        EXPECT_EQ(MonthPage(r.page).CellAt(r.cell), r.date) << r.name;
        EXPECT_EQ(MonthPage(r.page).SelectCell(r.cell).Date(), r.selects) << r.name;
    }
    using C = GridCell;
    // clang-format off
    const struct { const char* name; int x, y; std::optional<GridCell> click, hover; } points[] = {
        {"TopLeft", 5, 52, C{0, 0}, NoCell},
        {"Left", 4, 100, NoCell, NoCell},
        {"Top", 100, 51, NoCell, NoCell},
        {"FirstHover", 6, 53, C{0, 0}, C{0, 0}},
        {"Column1", 75, 60, C{0, 1}, C{0, 1}},
        {"Row1", 100, 102, C{1, 1}, C{1, 1}},
        {"X490", 490, 200, C{2, 6}, C{2, 6}},
        {"X492Saturday", 492, 200, C{2, 6}, NoCell},
        {"X493", 493, 300, NoCell, NoCell},
        {"Y351", 300, 351, C{5, 4}, C{5, 4}},
        {"Y352", 300, 352, NoCell, NoCell},
        {"Extreme", INT_MIN, INT_MAX, NoCell, NoCell}};
    // clang-format on
    for (const auto& r : points) {
        EXPECT_EQ(MonthPage::HitTest(r.x, r.y), r.click) << r.name;
        EXPECT_EQ(MonthPage::HoverTest(r.x, r.y), r.hover) << r.name;
    }
}

// Steps: "g" / "l" the Gregorian / lunar button, "y2010" the year 2010, "m4" / "d29"
// month / day item 4 / 29 (from 0). Then: month items joined, the current month
// item, the day count (items "1".."n"), the current day, the query. Lunar 2010
// began 14 February; 2033 has a leap eleventh month from 22 December. Lunar
// dates no day has give no date (those that exist are swept).
TEST(MonthPage, QueryLists)
{
    const char* const Plain = "1,2,3,4,5,6,7,8,9,10,11,12";
    const char* const Leap5 = "1,2,3,4,5,5(闰),6,7,8,9,10,11,12";
    const char* const Leap11 = "1,2,3,4,5,6,7,8,9,10,11,11(闰),12";
    const char* const Leap8 = "1,2,3,4,5,6,7,8,8(闰),9,10,11,12";
    // clang-format off
    const struct { const char* name; SolarDate start; const char *steps, *months, *month; int days, day;
        std::optional<SolarDate> query; } rows[] = {
        {"YearOutsideRange", {1899, 13, 31}, "", Plain, "12", 31, 31, SolarDate{1900, 12, 31}},
        {"YearDropsLeapDay", {2008, 2, 29}, "y2009", Plain, "2", 28, 1, SolarDate{2009, 2, 1}},
        {"LeapFifth", {2009, 1, 1}, "l m5", Leap5, "5(闰)", 29, 1, SolarDate{2009, 6, 23}},
        {"Day30Dropped", {2009, 1, 1}, "l m4 d29 m5", Leap5, "5(闰)", 29, 1, SolarDate{2009, 6, 23}},
        {"NoLeapYear", {2009, 1, 1}, "l m5 y2010", Plain, "1", 30, 1, SolarDate{2010, 2, 14}},
        {"NoLeapKeeps3", {2009, 1, 1}, "l m2 d9 y2010", Plain, "3", 30, 10, SolarDate{2010, 4, 23}},
        {"GregorianDropsLeap", {2009, 1, 1}, "l m5 g", Plain, "1", 31, 1, SolarDate{2009, 1, 1}},
        {"GregorianKeeps6", {2009, 1, 1}, "l m6 d28 g", Plain, "6", 30, 29, SolarDate{2009, 6, 29}},
        {"Leap11th2033", {2033, 1, 1}, "l m11", Leap11, "11(闰)", 29, 1, SolarDate{2033, 12, 22}},
        {"BadIndexes", {2009, 3, 3}, "y2101 m-1 m12 d31", Plain, "3", 31, 3, SolarDate{2009, 3, 3}},
        {"FirstMonth", {2009, 3, 3}, "m0", Plain, "1", 31, 3, SolarDate{2009, 1, 3}},
        {"FirstYearAndDay", {2009, 0, 5}, "y1900 d0", Plain, "1", 31, 1, SolarDate{1900, 1, 1}},
        {"LastYear", {2009, 3, 3}, "y2100", Plain, "3", 31, 3, SolarDate{2100, 3, 3}},
        {"MonthBeforeLeap", {2009, 1, 1}, "l m4", Leap5, "5", 30, 1, SolarDate{2009, 5, 24}},
        {"LunarFirstYear", {2009, 1, 1}, "l y1900 m1", Leap8, "2", 30, 1, SolarDate{1900, 3, 1}},
        {"LunarLastYear", {2009, 1, 1}, "l y2100", Plain, "1", 30, 1, SolarDate{2100, 2, 9}}};
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
    // clang-format off
    const struct { const char* name; int ly, lm, ld; bool leap; } none[] = {
        {"LeapFifth2009Day30", 2009, 5, 30, true},
        {"LeapInYearWithoutLeap", 2010, 5, 1, true},
        {"LeapOfTheWrongMonth", 2009, 4, 1, true},
        {"YearBeforeTable", 1899, 1, 1, false},
        {"Day30Of2100", 2100, 12, 30, false},
        {"YearAfterTable", 2101, 1, 1, false},
        {"Month13", 2009, 13, 1, false},
        {"Day0", 2009, 1, 0, false}};
    // clang-format on
    for (const auto& r : none) EXPECT_EQ(FindSolarDate(r.ly, r.lm, r.ld, r.leap), NoDate) << r.name;
    // Rebuilt for months and years no list holds: December; 29 days without a
    // lunar table, where the 31st gives way to the 1st.
    QueryLists lists({2009, 3, 31});
    EXPECT_EQ(lists.RebuildQueryDays(2009, INT_MAX, false, false), 31);
    EXPECT_EQ(lists.RebuildQueryDays(INT_MAX, INT_MAX, true, true), 1);
    EXPECT_EQ(lists.DayItems().size(), 29u);
    EXPECT_FALSE(lists.RebuildQueryMonths(INT_MIN, true).leap);
    EXPECT_EQ(lists.MonthItems().size(), 12u);
}

const Rgb Red = colors::Red, Green = colors::Green, Black = colors::Black;
const Rgb Grey = colors::Grey, Blue = colors::DarkBlue;

// Solar terms (China Standard Time): 2009: 惊蛰 5 March, 春分 20 March, 清明 4 April, 立夏 5 May;
// 立秋 7 August 2008; 大寒 20 January 2002; 小寒 6 January 1900. 1949-10-01 was a 甲子 day.
// 中秋节 fell on 1 October 2001, before the public-holiday data begins.
TEST(DayTexts, PanelLines)
{
    // clang-format off
    const struct { const char* name; SolarDate date; std::size_t line; const char* text; Rgb c; } rows[] = {
        {"Weekday", {2009, 10, 1}, 1, "星期四 天秤座", Blue},
        {"Date", {2009, 10, 1}, 0, "2009年10月", Blue},
        {"LunarFestivalRed", {2001, 10, 1}, 3, "中秋节 ", Red},
        {"FestivalAndSectionalTerm", {2008, 8, 7}, 3, "七夕情人节 立秋", Red},
        {"FestivalAndPrincipalTerm", {2002, 1, 20}, 3, "腊八节 大寒", Green},
        {"TermsAroundATermDay", {2009, 4, 4}, 4, "惊蛰已过30天 31天后是立夏", Red},
        {"LeapMonth", {2009, 6, 27}, 5, "农历　闰五月小 初五日", Blue},
        {"LeapMonthOwnSize", {2017, 8, 21}, 5, "农历　闰六月大 三十日", Blue},
        {"AnimalBeforeLichun", {2009, 1, 15}, 6, "戊子(鼠)年 乙丑月 庚申日", Blue},
        {"ListCutAt21Bytes", {2009, 4, 1}, 7, "愚人节 全国爱国卫生运……", Blue},
        {"FridayThe13thBlack", {2009, 2, 13}, 7, "黑色星期五 ", Black}};
    // clang-format on
    for (const auto& r : rows) {
        const PanelLine line = DayPanelTexts(r.date).lines[r.line];
        EXPECT_EQ(line.Text(), r.text) << r.name;
        EXPECT_EQ(line.runs.at(0).color, r.c) << r.name;
    }
    // Cells show at most 12 bytes, the panel's list about 20; a byte >= 0x80
    // starts a two-byte character.
    // clang-format off
    const struct { const char *name, *text, *cell, *list; } cuts[] = {
        {"TwelveBytes", "七夕情人节鹊", "七夕情人节鹊", "七夕情人节鹊"},
        {"ThirteenBytes", "消除种族歧视 ", "消除种族…", "消除种族歧视 "},
        {"MixedCharacters", "a中b文cdefghijk", "a中b文…", "a中b文cdefghijk"},
        {"TwentyBytes", "一二三四五六七八九十", "一二三四…", "一二三四五六七八九十"}};
    // clang-format on
    for (const auto& r : cuts) {
        EXPECT_EQ(ShortenCellText(r.text), r.cell) << r.name;
        EXPECT_EQ(CutFestivalList(r.text), r.list) << r.name;
    }
}

// Lower text by priority: lunar festival, solar term, day festivals, lunar month
// name on day 1, lunar day name. Leap months began on 24 August 2006 (seventh).
TEST(DayTexts, CellPriorities)
{
    // clang-format off
    const struct { const char* name; SolarDate page, date; const char* lower; Rgb color; } rows[] = {
        {"SectionalTermRed", {2009, 4, 1}, {2009, 4, 4}, "清明", Red},
        {"PrincipalTermGreen", {2009, 3, 1}, {2009, 3, 20}, "春分", Green},
        {"LunarFestivalBeatsTerm", {2008, 8, 1}, {2008, 8, 7}, "七夕情人节", Red},
        {"LunarFestivalBeatsDays", {2009, 10, 1}, {2009, 10, 3}, "中秋节", Red},
        {"SixCharactersShortened", {2009, 3, 1}, {2009, 3, 15}, "国际消费…", Blue},
        {"FridayThe13th", {2009, 2, 1}, {2009, 2, 13}, "黑色星期五 ", Black},
        {"LunarMonthName", {2009, 2, 1}, {2009, 2, 25}, "二月", Black},
        {"LeapMonthName", {2006, 8, 1}, {2006, 8, 24}, "闰七月", Black},
        {"LunarDayName", {2009, 2, 1}, {2009, 2, 3}, "初九", Black},
        {"DecemberTrailingJanuary", {2009, 12, 1}, {2010, 1, 1}, "元旦节 ", Grey},
        {"FirstLunarNewYear", {1900, 1, 1}, {1900, 1, 31}, "春节", Red},
        {"BeforeTableTerm", {1900, 1, 1}, {1900, 1, 6}, "小寒", Red},
        {"Dec1899Nothing", {1900, 1, 1}, {1899, 12, 31}, "", Grey}};
    // clang-format on
    for (const auto& r : rows) {
        const auto cells = PageCells(MonthPage(r.page));
        const auto c = std::ranges::find_if(cells, [&](const auto& x) { return x.date == r.date; });
        ASSERT_NE(c, cells.end()) << r.name;
        EXPECT_EQ(c->lowerText, r.lower) << r.name;
        EXPECT_EQ(c->lowerColor, r.color) << r.name;
    }
}

// Tip texts joined with '|' ("" when the tip is hidden; its edges follow
// HoverTest), and what a screen reader says of the day. Cell centres: column
// k at x = 40 + 70k, row r at y = 77 + 50r.
TEST(DayTexts, TipAndSpokenDay)
{
    // clang-format off
    const struct { const char* name; int year, month, x, y; const char* texts; } rows[] = {
        {"Festivals", 2009, 10, 460, 77,
            "2009 年 10 月 3 日|星期六|农历 8 月 15 日|己丑年 癸酉月 辛巳日|中秋节 国庆节假日 "},
        // 1 July 2009 was the 9th day of the leap 5th lunar month (from 23 June).
        {"LeapMonth", 2009, 7, 250, 77, "2009 年 7 月 1 日|星期三|农历 闰5 月 9 日|"
            "己丑年 庚午月 丁未日|香港回归纪念日 中共诞辰 世界建筑日 "},
        {"NoLunarDate", 1900, 1, 40, 77, "1899 年 12 月 31 日|星期日||己亥年 丙子月 癸酉日|"},
        {"RightEdge", 2009, 3, 491, 100, ""},
        {"BottomEdge", 2009, 3, 100, 352, ""},
        {"Extreme", INT_MAX, INT_MAX, INT_MAX, INT_MIN, ""}};
    // clang-format on
    for (const auto& r : rows) {
        const std::optional<DayTip> t = TipTexts(r.year, r.month, r.x, r.y);
        const std::string texts =
            t ? t->line1 + '|' + t->line2 + '|' + t->line3 + '|' + t->line4 + '|' + t->note : "";
        EXPECT_EQ(texts, r.texts) << r.name;
    }
    EXPECT_EQ(SpokenDate({2009, 7, 1}), "2009年7月1日 星期三");
    // The rest of the day, after the date a cell's name gives.
    EXPECT_EQ(SpokenDay({2009, 7, 1}),
        "农历闰五月初九 香港回归纪念日 中共诞辰 世界建筑日 己丑年 庚午月 丁未日");
}

// The month page and the texts at the edges of int: every argument keeps the
// models' invariants and gives the neutral answer (the quick query's bad
// indexes are a row of its table, extremes its fuzzer's).
TEST(Total, ExtremeArguments)
{
    // Far outside the range every date lands on the same end page as one a
    // century past it; 12 * year would overflow for the first rows.
    const MonthPage late(LastPageYear + 100, 1, 1), early(FirstPageYear - 100, 1, 1);
    // clang-format off
    const struct { const char* name; SolarDate date; MonthPage expected; } rows[] = {
        {"YearIntMax", {INT_MAX, 1, 1}, late},
        {"AllIntMin", {INT_MIN, INT_MIN, INT_MIN}, early},
        {"AllIntMax", {INT_MAX, INT_MAX, INT_MAX}, MonthPage(late.Year(), late.Month(), 31)},
        {"MonthAndDayOutside", {2009, INT_MAX, INT_MIN}, MonthPage(2009, 12, 1)},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const MonthPage page(row.date);
        EXPECT_EQ(page.Date(), row.expected.Date());
        for (const MonthPage& p : {page, page.SetYear(INT_MIN), page.SetMonth(INT_MAX)})
            EXPECT_TRUE(p.Year() >= FirstPageYear - 1 && p.Year() <= LastPageYear + 1
                && p.Month() >= 1 && p.Month() <= 12 && p.Day() >= 1 && p.Day() <= p.DaysInPage());
        // Cells outside the grid: the selected date, an unchanged page.
        for (const auto& [r, c] : {std::pair{INT_MAX, 0}, {0, INT_MIN}, {-1, 3}, {6, 0}, {0, 7}})
            EXPECT_TRUE(page.CellAt(r, c) == page.Date() && page.SelectCell(r, c) == page)
                << r << "," << c;
        // The tip over a page given by extreme numbers is the tip of the end page.
        const auto tip = TipTexts(row.date.year, row.date.month, 250, 200);
        const auto end = TipTexts(row.expected.Year(), row.expected.Month(), 250, 200);
        ASSERT_TRUE(tip && end);
        EXPECT_EQ(tip->date, end->date);
        // Texts of dates no page shows: no lunar date, no gan-zhi.
        const DayTip texts = DayTipTexts(row.date);
        EXPECT_EQ(DayPanelTexts(row.date).lines[5].Text() + '|' + texts.line3 + '|' + texts.line4,
            "||年 月 日");
    }
}

}  // namespace
}  // namespace qov
