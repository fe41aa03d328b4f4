// The month page models (navigation, grid, clicks, quick query) and the texts drawn
// on a page (panel, cells, tip), with a lunar round-trip sweep, a page sweep and
// the edges of int.
#include "model/daytexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <sstream>
#include <string>
#include <string_view>

#include "lunar.h"
#include "model/monthpage.h"

namespace qov {

// The only file printing dates in failure messages, so one printer serves all.
void PrintTo(SolarDate d, std::ostream* o) { *o << d.year << '-' << d.month << '-' << d.day; }

namespace {

const std::optional<GridCell> NoCell;
const std::optional<SolarDate> NoDate;

// '<' PrevMonth, '>' NextMonth, '[' PrevYear, ']' NextYear, 'y' SetYear(arg), 'm'
// SetMonth(arg), '=' the constructor alone. Pages outside 1900..2100 are reached by
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
        {"NextYearAt2100Stays", {2100, 6, 30}, ']', 0, {2100, 6, 30}},
        {"AfterLastPage", {2150, 6, 30}, '=', 0, {2101, 2, 28}}};
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
        {"Feb2101TrailingIgnored", {2101, 2, 3}, {5, 6}, {2101, 3, 12}, {2101, 2, 3}}};
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

// Lunar dates no day has (the dates that exist are swept below): lunar 2009 has a
// leap fifth month of 29 days, 2010 no leap month; lunar 2100 ends with a twelfth
// month of 29 days.
TEST(Query, FindSolarDate)
{
    // clang-format off
    const struct { const char* name; int ly, lm, ld; bool leap; std::optional<SolarDate> date; } rows[] = {
        {"LeapFifth2009Day30", 2009, 5, 30, true, NoDate},
        {"LeapInYearWithoutLeap", 2010, 5, 1, true, NoDate},
        {"LeapOfTheWrongMonth", 2009, 4, 1, true, NoDate},
        {"YearBeforeTable", 1899, 1, 1, false, NoDate},
        {"Day30Of2100", 2100, 12, 30, false, NoDate},
        {"YearAfterTable", 2101, 1, 1, false, NoDate},
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
    const char* const Leap8 = "1,2,3,4,5,6,7,8,8(闰),9,10,11,12";
    // clang-format off
    const struct { const char* name; SolarDate start; const char *steps, *months, *month; int days, day;
        std::optional<SolarDate> query; } rows[] = {
        {"YearOutsideRange", {1899, 12, 31}, "", Plain, "12", 31, 31, SolarDate{1900, 12, 31}},
        {"YearDropsLeapDay", {2008, 2, 29}, "y2009", Plain, "2", 28, 1, SolarDate{2009, 2, 1}},
        {"LeapFifth", {2009, 1, 1}, "l m5", Leap5, "5(闰)", 29, 1, SolarDate{2009, 6, 23}},
        // Computed year: a leap eighth month of 29 days from 23 September 2052.
        {"LeapEighth2052", {2052, 1, 1}, "l m8", Leap8, "8(闰)", 29, 1, SolarDate{2052, 9, 23}},
        {"Day30Dropped", {2009, 1, 1}, "l m4 d29 m5", Leap5, "5(闰)", 29, 1, SolarDate{2009, 6, 23}},
        {"NoLeapYear", {2009, 1, 1}, "l m5 y2010", Plain, "1", 30, 1, SolarDate{2010, 2, 14}},
        {"NoLeapKeeps3", {2009, 1, 1}, "l m2 d9 y2010", Plain, "3", 30, 10, SolarDate{2010, 4, 23}},
        {"GregorianDropsLeap", {2009, 1, 1}, "l m5 g", Plain, "1", 31, 1, SolarDate{2009, 1, 1}},
        {"GregorianKeeps6", {2009, 1, 1}, "l m6 d28 g", Plain, "6", 30, 29, SolarDate{2009, 6, 29}},
        {"Leap11th2033", {2033, 1, 1}, "l m11", Leap11, "11(闰)", 29, 1, SolarDate{2033, 12, 22}},
        {"BadIndexes", {2009, 3, 3}, "y2101 m-1 m12 d31", Plain, "3", 31, 3, SolarDate{2009, 3, 3}}};
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

// Gregorian -> lunar -> FindSolarDate for every day of lunar 1900 .. 2100; day 30
// of every 29-day lunar month is not found.
TEST(Query, LunarRoundTripSweep)
{
    LunarDate previous{};
    long long days = 0;
    for (int y = 1900; y <= 2101; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                const LunarDate l = ToLunar(y, m, d);
                if (!HasLunarDate(l)) continue;
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
    EXPECT_EQ(days, DaysFromCivil(2101, 1, 28) - DaysFromCivil(1900, 1, 31) + 1);
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
        {"WeekdayAndSign", {2009, 10, 1}, 1, "星期四 天秤座", Blue},
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
}

// Cells show at most 12 bytes, the panel's list about 20; a byte >= 0x80 starts a
// two-byte character.
TEST(DayTexts, Cuts)
{
    // clang-format off
    const struct { const char *name, *text, *cell, *list; } rows[] = {
        {"TwelveBytes", "七夕情人节鹊", "七夕情人节鹊", "七夕情人节鹊"},
        {"ThirteenBytes", "消除种族歧视 ", "消除种族…", "消除种族歧视 "},
        {"MixedCharacters", "a中b文cdefghijk", "a中b文…", "a中b文cdefghijk"},
        {"TwentyBytes", "一二三四五六七八九十", "一二三四…", "一二三四五六七八九十"},
        {"CutAfter21", "愚人节 全国爱国卫生运动月", "愚人节 …", "愚人节 全国爱国卫生运……"}};
    // clang-format on
    for (const auto& r : rows) {
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

// Tip texts joined with '|' ("" when the tip is hidden; its edges follow HoverTest).
// Cell centres: column k at x = 40 + 70k, row r at y = 77 + 50r.
TEST(DayTexts, Tip)
{
    // clang-format off
    const struct { const char* name; int year, month, x, y; const char* texts; } rows[] = {
        {"Festivals", 2009, 10, 460, 77,
            "2009 年 10 月 3 日|星期六|农历 8 月 15 日|己丑年 癸酉月 辛巳日|中秋节 国庆节假日 "},
        {"NoLunarDate", 1900, 1, 40, 77, "1899 年 12 月 31 日|星期日||己亥年 丙子月 癸酉日|"},
        {"RightEdge", 2009, 3, 491, 100, ""}, {"BottomEdge", 2009, 3, 100, 352, ""}};
    // clang-format on
    for (const auto& r : rows) {
        const std::optional<DayTip> t = TipTexts(r.year, r.month, r.x, r.y);
        const std::string texts =
            t ? t->line1 + '|' + t->line2 + '|' + t->line3 + '|' + t->line4 + '|' + t->note : "";
        EXPECT_EQ(texts, r.texts) << r.name;
    }
}

long long Days(const SolarDate& d)  // since 1970-01-01, a Thursday
{
    return DaysFromCivil(d.year, static_cast<unsigned>(d.month), static_cast<unsigned>(d.day));
}

// Every page, Sunday first and Monday first, with its cells, tips, clicks and
// the panels of its days (once: they do not depend on the week start).
TEST(Sweep, EveryPage)
{
    for (const WeekStart start : {WeekStart::Sunday, WeekStart::Monday})
        for (int y = 1899; y <= 2101; ++y) {
            for (int m = (y == 1899 ? 12 : 1); m <= (y == 2101 ? 2 : 12); ++m) {
                const MonthPage page(y, m, (y * 7 + m * 5) % DaysInMonth(y, m) + 1, start);
                const PagePicture picture = PagePictureTexts(page);
                const std::string ym =
                    std::to_string(y) + (m < 10 ? "-0" : "-") + std::to_string(m);
                SCOPED_TRACE(ym + (start == WeekStart::Monday ? " Monday" : " Sunday"));
                EXPECT_EQ(picture.watermark.year + '-' + picture.watermark.month, ym);
                EXPECT_EQ(picture.weekStart, start);
                const long long first = Days(picture.cells[0].date);
                // A Sunday or a Monday, and the 1st in the first row.
                ASSERT_EQ(((first + 4) % 7 + 7) % 7, static_cast<int>(start));
                ASSERT_EQ(picture.cells[static_cast<std::size_t>(page.LeadingDays())].date,
                    (SolarDate{y, m, 1}));
                ASSERT_LT(page.LeadingDays(), 7);
                EXPECT_EQ(page.CellAt(page.SelectedCell()), page.Date());
                int saturdays = 0;
                for (std::size_t i = 0; i < picture.cells.size(); ++i) {
                    const DayCell& c = picture.cells[i];
                    SCOPED_TRACE(::testing::PrintToString(c.date));
                    const bool lunar = HasLunarDate(ToLunar(c.date.year, c.date.month, c.date.day));
                    ASSERT_EQ(Days(c.date), first + static_cast<long long>(i));
                    EXPECT_EQ(c.inMonth, c.date.month == m);
                    EXPECT_EQ(c.dayText, std::to_string(c.date.day));
                    EXPECT_LE(c.lowerText.size(), 12u);
                    using enum LowerTextSource;
                    EXPECT_EQ(c.lowerText.empty(), c.source == None);
                    const bool fromLunar =
                        c.source == LunarFestival || c.source == LunarMonth || c.source == LunarDay;
                    EXPECT_TRUE(lunar ? !c.lowerText.empty() : !fromLunar);
                    // Sundays red, Saturdays green and red by turns, neighbouring days grey.
                    const int weekday = WeekdayOfColumn(start, static_cast<int>(i % 7));
                    ASSERT_EQ(ColumnOfWeekday(start, weekday), static_cast<int>(i % 7));
                    const Rgb day = !c.inMonth ? Grey
                        : weekday == 0         ? Red
                        : weekday < 6          ? Black
                        : saturdays++ % 2 == 0 ? Green
                                               : Red;
                    EXPECT_EQ(c.dayColor, day);
                    EXPECT_EQ(c.selected, c.inMonth && c.date == page.Date());

                    const Rect r = CellRect(static_cast<int>(i / 7), static_cast<int>(i % 7));
                    const int x = (r.left + r.right) / 2, py = (r.top + r.bottom) / 2;
                    const std::optional<DayTip> tip = TipTexts(page, x, py);
                    ASSERT_TRUE(tip.has_value());
                    EXPECT_EQ(tip->date, c.date);
                    EXPECT_EQ(tip->line3.empty(), !lunar);
                    const MonthPage after = page.SelectCell(*MonthPage::HitTest(x, py));
                    EXPECT_TRUE(after == page || after.Date() == c.date);
                    EXPECT_EQ(after.FirstColumn(), start);
                    if (!c.inMonth || start == WeekStart::Monday) continue;

                    const DayPanel panel = DayPanelTexts(c.date);
                    EXPECT_EQ(panel.lines[PanelDayLine].Text(), c.dayText);
                    // Two sectional terms, two characters each, around the grey distances.
                    const std::vector<TextRun>& terms = panel.lines[4].runs;
                    ASSERT_EQ(terms.size(), 3u);
                    EXPECT_EQ(terms[0].text.size() + terms[2].text.size(), 8u);
                    EXPECT_EQ(terms[1].color, Grey);
                    EXPECT_EQ(panel.lines[5].Text().empty(), !lunar);
                    EXPECT_EQ(panel.lines[6].Text().size(), 24u);  // "XX(X)年 XX月 XX日"
                    const std::string list = panel.lines[7].Text();
                    EXPECT_TRUE(list.size() <= 20 || (list.size() <= 25 && list.ends_with("……")));
                }
            }
        }
}

// The month page, the quick query and the texts at the edges of int: every
// argument keeps the models' invariants and gives the neutral answer.
// The page lies in the page range and its day in its month.
void ExpectValidPage(const MonthPage& page)
{
    EXPECT_GE(page.Year(), FirstPageYear - 1);
    EXPECT_LE(page.Year(), LastPageYear + 1);
    EXPECT_TRUE(page.Month() >= 1 && page.Month() <= 12) << page.Month();
    EXPECT_TRUE(page.Day() >= 1 && page.Day() <= page.DaysInPage()) << page.Day();
}

TEST(Total, MonthPageAtExtremeArguments)
{
    // Far outside the range every date lands on the same end page as one a
    // century past it; 12 * year would overflow for the first rows.
    const MonthPage late(LastPageYear + 100, 1, 1), early(FirstPageYear - 100, 1, 1);
    // clang-format off
    const struct { const char* name; SolarDate date; MonthPage expected; } rows[] = {
        {"YearIntMax", {INT_MAX, 1, 1}, late},
        {"YearIntMin", {INT_MIN, 1, 1}, early},
        {"AllIntMin", {INT_MIN, INT_MIN, INT_MIN}, early},
        {"AllIntMax", {INT_MAX, INT_MAX, INT_MAX}, MonthPage(late.Year(), late.Month(), 31)},
        {"MonthAndDayOutside", {2009, INT_MAX, INT_MIN}, MonthPage(2009, 12, 1)},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const MonthPage page(row.date);
        EXPECT_EQ(page.Date(), row.expected.Date());
        ExpectValidPage(page);
        ExpectValidPage(page.SetYear(INT_MIN));
        ExpectValidPage(page.SetMonth(INT_MAX));
        // Cells outside the grid: the selected date, an unchanged page.
        for (const auto& [r, c] : {std::pair{INT_MAX, 0}, {0, INT_MIN}, {-1, 3}, {6, 0}, {0, 7}}) {
            EXPECT_EQ(page.CellAt(r, c), page.Date()) << r << "," << c;
            EXPECT_EQ(page.SelectCell(r, c), page) << r << "," << c;
        }
        // The tip over a page given by extreme numbers is the tip of the end page.
        const int x = 250, y = 200;  // inside the hover area
        const auto tip = TipTexts(row.date.year, row.date.month, x, y);
        const auto end = TipTexts(row.expected.Year(), row.expected.Month(), x, y);
        ASSERT_TRUE(tip && end);
        EXPECT_EQ(tip->date, end->date);
    }
    EXPECT_FALSE(MonthPage::HitTest(INT_MIN, INT_MAX));
    EXPECT_FALSE(MonthPage::HoverTest(INT_MAX, INT_MIN));
    EXPECT_FALSE(TipTexts(INT_MAX, INT_MAX, INT_MAX, INT_MIN));
}

// Texts of dates no page shows: well formed, and nothing the engine cannot
// name (no lunar date, no gan-zhi, no solar term).
TEST(Total, TextsOfExtremeDates)
{
    for (const SolarDate date : {SolarDate{INT_MAX, INT_MAX, INT_MAX}, SolarDate{INT_MIN, 1, 1},
             SolarDate{65535, 1, 1}, SolarDate{-30000, 2, 4}, SolarDate{2009, 13, 0}}) {
        SCOPED_TRACE(testing::PrintToString(date));
        const DayPanel panel = DayPanelTexts(date);
        EXPECT_EQ(panel.lines[5].Text(), "");  // the lunar date
        const DayTip tip = DayTipTexts(date);
        EXPECT_EQ(tip.line3, "");
        EXPECT_EQ(tip.line4, "年 月 日");  // no gan-zhi names
    }
}

TEST(Total, QueryListsIgnoreExtremeChoices)
{
    for (const SolarDate start : {SolarDate{INT_MAX, INT_MAX, INT_MAX}, SolarDate{INT_MIN, 0, 0}}) {
        QueryLists lists(start);
        for (const bool lunar : {false, true}) {
            if (lunar) lists.OnLunarClicked();
            const QueryLists before = lists;
            for (const int index : {INT_MIN, -1, INT_MAX}) {
                lists.OnYearChosen(index);
                lists.OnMonthChosen(index);
                lists.OnDayChosen(index);
            }
            EXPECT_EQ(lists.YearIndex(), before.YearIndex());
            EXPECT_EQ(lists.MonthIndex(), before.MonthIndex());
            EXPECT_EQ(lists.DayIndex(), before.DayIndex());
            const std::optional<SolarDate> date = lists.Query();
            ASSERT_TRUE(date);
            EXPECT_TRUE(date->day >= 1 && date->day <= DaysInMonth(date->year, date->month));
        }
        // Rebuilding for years and months no list holds keeps a usable list.
        EXPECT_EQ(lists.RebuildQueryDays(INT_MAX, INT_MAX, true, true), lists.CurrentDay());
        EXPECT_EQ(lists.DayItems().size(), 29u);  // no lunar table there: 29 days
        EXPECT_FALSE(lists.RebuildQueryMonths(INT_MIN, true).leap);
        EXPECT_EQ(lists.MonthItems().size(), 12u);
    }
}

}  // namespace
}  // namespace qov
