// Texts and colours of the day panel, the grid cells, the hover tip; a page sweep.
#include "model/daytexts.h"

#include <algorithm>
#include <string>
#include <vector>

#include "lunar.h"
#include "model_test_support.h"

namespace qov {
namespace {

const Rgb Red = colors::Red, Green = colors::Green, Black = colors::Black;
const Rgb Grey = colors::Grey, Blue = colors::DarkBlue;

// Solar terms (UT dates): 2009: 惊蛰 5 March, 春分 20 March, 清明 4 April, 立夏 5 May;
// 立秋 7 August 2008; 大寒 20 January 2002; 小寒 6 January 1900. 1949-10-01 was a 甲子 day.
TEST(DayTexts, PanelLines)
{
    // clang-format off
    const struct { const char* name; SolarDate date; std::size_t line; const char* text; Rgb c; } rows[] = {
        {"WeekdayAndSign", {2009, 10, 1}, 1, "星期四 天秤座", Blue},
        {"LunarFestivalRed", {2009, 10, 3}, 3, "中秋节 ", Red},
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
        {"CutAfter21", "愚人节 全国爱国卫生运动月", "愚人节 …", "愚人节 全国爱国卫生运……"},
        {"AsciiCutAfter20", "abcdefghijklmnopqrstu", "abcd…", "abcdefghijklmnopqrst……"}};
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
        {"SevenBytesWhole", {2009, 1, 1}, {2009, 1, 1}, "元旦节 ", Blue},
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
        {"LeapMonthDay", 2009, 7, 250, 77, "2009 年 7 月 1 日|星期三|农历 闰5 月 9 日|"
            "己丑年 庚午月 丁未日|香港回归纪念日 中共诞辰 世界建筑日 "},
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

// Every page with its cells, tips, clicks and the panels of its days.
TEST(Sweep, EveryPage)
{
    int pages = 0;
    for (int y = 1899; y <= 2050; ++y) {
        for (int m = (y == 1899 ? 12 : 1); m <= (y == 2050 ? 2 : 12); ++m, ++pages) {
            const MonthPage page(y, m, (y * 7 + m * 5) % DaysInMonth(y, m) + 1);
            const PagePicture picture = PagePictureTexts(page);
            const std::string ym = std::to_string(y) + (m < 10 ? "-0" : "-") + std::to_string(m);
            SCOPED_TRACE(ym);
            EXPECT_EQ(picture.watermark.year + '-' + picture.watermark.month, ym);
            const long long first = Days(picture.cells[0].date);
            ASSERT_EQ(((first + 4) % 7 + 7) % 7, 0);  // a Sunday
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
                const std::size_t weekday = i % 7;
                const Rgb day = !c.inMonth ? Grey
                    : weekday == 0         ? Red
                    : weekday < 6          ? Black
                    : saturdays++ % 2 == 0 ? Green
                                           : Red;
                EXPECT_EQ(c.dayColor, day);
                EXPECT_EQ(c.selected, c.inMonth && c.date == page.Date());

                const Rect r = CellRect(static_cast<int>(i / 7), static_cast<int>(weekday));
                const int x = (r.left + r.right) / 2, py = (r.top + r.bottom) / 2;
                const std::optional<DayTip> tip = TipTexts(page, x, py);
                ASSERT_TRUE(tip.has_value());
                EXPECT_EQ(tip->date, c.date);
                EXPECT_EQ(tip->line3.empty(), !lunar);
                const MonthPage after = page.SelectCell(*MonthPage::HitTest(x, py));
                EXPECT_TRUE(after == page || after.Date() == c.date);
                if (!c.inMonth) continue;

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
            for (const MonthPage& next :
                {page.PrevYear(), page.NextYear(), page.PrevMonth(), page.NextMonth()})
                EXPECT_EQ(MonthPage(next.Date()), next);  // still a valid page
        }
    }
    EXPECT_EQ(pages, 1 + 150 * 12 + 2);
}

}  // namespace
}  // namespace qov
