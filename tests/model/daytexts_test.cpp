// Texts and colours of the day panel, the grid cells and the hover tip.
#include "model/daytexts.h"

#include <algorithm>
#include <string>

#include "model_test_support.h"

namespace qov {
namespace {

const Rgb Red = colors::Red, Green = colors::Green, Black = colors::Black;
const Rgb Grey = colors::Grey, Blue = colors::DarkBlue;

// Festival rows used below (festival tables): 0101 元旦节; 0315 国际消费者权益日;
// 0401 愚人节 全国爱国卫生运动月(四月) ...; 1001 国庆节 世界音乐日 国际老人节;
// 1003 国庆节假日. Lunar: 0707 七夕情人节, 0815 中秋节, 1208 腊八节, 0101 春节.
// Solar terms (UT dates): 2009: 惊蛰 5 March, 春分 20 March, 清明 4 April, 立夏
// 5 May; 立秋 7 August 2008; 大寒 20 January 2002; 小寒 6 January 1900.
TEST(DayTexts, PanelLines)
{
    const struct {
        const char* name;
        SolarDate date;
        int line;
        const char* text;
        Rgb c;
    } rows[] = {{"MonthLine", {2009, 10, 1}, 0, "2009年10月", Blue},
        {"WeekdayAndSign", {2009, 10, 1}, 1, "星期四 天秤座", Blue},
        {"LunarFestivalRed", {2009, 10, 3}, 3, "中秋节 ", Red},
        {"PrincipalTermGreen", {2009, 3, 20}, 3, "春分", Green},
        {"SectionalTermRed", {2009, 4, 4}, 3, "清明", Red},
        {"FestivalAndSectionalTerm", {2008, 8, 7}, 3, "七夕情人节 立秋", Red},
        {"FestivalAndPrincipalTerm", {2002, 1, 20}, 3, "腊八节 大寒", Green},
        {"TermsAroundATermDay", {2009, 4, 4}, 4, "惊蛰已过30天 31天后是立夏", Red},
        {"SmallMonth", {2009, 10, 3}, 5, "农历　八月小 十五日", Blue},
        {"LeapMonth", {2009, 6, 27}, 5, "农历　闰五月小 初五日", Blue},
        {"LeapMonthOwnSize", {2017, 8, 21}, 5, "农历　闰六月大 三十日", Blue},
        {"NoLunarDate", {1900, 1, 30}, 5, "", Blue},
        // 1949-10-01 was a 甲子 day; the animal follows the gan-zhi year.
        {"AnimalBeforeLichun", {2009, 1, 15}, 6, "戊子(鼠)年 乙丑月 庚申日", Blue},
        {"ListCutAt20Bytes", {2009, 10, 1}, 7, "国庆节 世界音乐日 国……", Blue},
        {"ListCutAt21Bytes", {2009, 4, 1}, 7, "愚人节 全国爱国卫生运……", Blue},
        {"ListWhole", {2009, 10, 3}, 7, "国庆节假日 ", Blue},
        {"FridayThe13thBlack", {2009, 2, 13}, 7, "黑色星期五 ", Black}};
    for (const auto& r : rows) {
        const PanelLine line = DayPanelTexts(r.date).lines[static_cast<std::size_t>(r.line)];
        EXPECT_EQ(line.Text(), r.text) << r.name;
        EXPECT_EQ(line.runs.at(0).color, r.c) << r.name;
    }
}

// Cells show at most 12 bytes, the panel's list about 20; a byte >= 0x80
// starts a two-byte character.
TEST(DayTexts, Cuts)
{
    const struct {
        const char* name;
        const char *text, *cell, *list;
    } rows[] = {{"SevenBytes", "元旦节 ", "元旦节 ", "元旦节 "},
        {"TwelveBytes", "七夕情人节鹊", "七夕情人节鹊", "七夕情人节鹊"},
        {"ThirteenBytes", "消除种族歧视 ", "消除种族…", "消除种族歧视 "},
        {"MixedCharacters", "a中b文cdefghijk", "a中b文…", "a中b文cdefghijk"},
        {"TwentyBytes", "一二三四五六七八九十", "一二三四…", "一二三四五六七八九十"},
        {"CutAfter21", "愚人节 全国爱国卫生运动月", "愚人节 …", "愚人节 全国爱国卫生运……"},
        {"AsciiCutAfter20", "abcdefghijklmnopqrstu", "abcd…", "abcdefghijklmnopqrst……"}};
    for (const auto& r : rows) {
        EXPECT_EQ(ShortenCellText(r.text), r.cell) << r.name;
        EXPECT_EQ(CutFestivalList(r.text), r.list) << r.name;
    }
}

// Lower text by priority: lunar festival, solar term, day festivals, lunar
// month name on day 1, lunar day name. 4 April 2009 was the month's first
// Saturday (green), 15 March 2009 a Sunday; leap months began on 24 August
// 2006 (seventh) and 25 July 2025 (sixth).
TEST(DayTexts, CellPriorities)
{
    const struct {
        const char* name;
        SolarDate page, date;
        const char* lower;
        Rgb color, day;
    } rows[] = {{"SectionalTermRed", {2009, 4, 1}, {2009, 4, 4}, "清明", Red, Green},
        {"SectionalTermRedNeighbour", {2009, 3, 1}, {2009, 4, 4}, "清明", Red, Grey},
        {"PrincipalTermGreen", {2009, 3, 1}, {2009, 3, 20}, "春分", Green, Black},
        {"LunarFestivalBeatsTerm", {2008, 8, 1}, {2008, 8, 7}, "七夕情人节", Red, Black},
        {"LunarFestivalBeatsDays", {2009, 10, 1}, {2009, 10, 3}, "中秋节", Red, Green},
        {"DayFestivalsShortened", {2009, 10, 1}, {2009, 10, 1}, "国庆节 …", Blue, Black},
        {"SixCharactersShortened", {2009, 3, 1}, {2009, 3, 15}, "国际消费…", Blue, Red},
        {"SevenBytesWhole", {2009, 1, 1}, {2009, 1, 1}, "元旦节 ", Blue, Black},
        {"FridayThe13th", {2009, 2, 1}, {2009, 2, 13}, "黑色星期五 ", Black, Black},
        {"FridayThe13thNeighbour", {2009, 2, 1}, {2009, 3, 13}, "黑色星期五 ", Grey, Grey},
        {"LunarMonthName", {2009, 2, 1}, {2009, 2, 25}, "二月", Black, Black},
        {"LeapMonthName", {2006, 8, 1}, {2006, 8, 24}, "闰七月", Black, Black},
        {"LeapMonthDayNeighbour", {2025, 8, 1}, {2025, 7, 27}, "初三", Grey, Grey},
        {"LunarDayName", {2009, 3, 1}, {2009, 3, 10}, "十四", Black, Black},
        {"DecemberTrailingJanuary", {2009, 12, 1}, {2010, 1, 1}, "元旦节 ", Grey, Grey},
        {"FirstLunarNewYear", {1900, 1, 1}, {1900, 1, 31}, "春节", Red, Black},
        {"BeforeTableNothing", {1900, 1, 1}, {1900, 1, 10}, "", Black, Black},
        {"BeforeTableTerm", {1900, 1, 1}, {1900, 1, 6}, "小寒", Red, Green},
        {"Dec1899Nothing", {1900, 1, 1}, {1899, 12, 31}, "", Grey, Grey}};
    for (const auto& r : rows) {
        const auto cells = PageCells(MonthPage(r.page));
        const auto c = std::ranges::find_if(cells, [&](const auto& x) { return x.date == r.date; });
        ASSERT_NE(c, cells.end()) << r.name;
        EXPECT_EQ(c->lowerText, r.lower) << r.name;
        EXPECT_EQ(c->lowerColor, r.color) << r.name;
        EXPECT_EQ(c->dayColor, r.day) << r.name;
    }
}

// Tip texts joined with '|' ("" when the tip is hidden). Cell centres: column k
// at x = 40 + 70k, row r at y = 77 + 50r; the hover area is x 6..490, y 53..351.
TEST(DayTexts, Tip)
{
    const struct {
        const char* name;
        int year, month, x, y;
        const char* texts;
    } rows[] = {{"LeapMonthDay", 2009, 7, 250, 77,
                    "2009 年 7 月 1 日|星期三|农历 闰5 月 9 日|"
                    "己丑年 庚午月 丁未日|香港回归纪念日 中共诞辰 世界建筑日 "},
        {"Festivals", 2009, 10, 460, 77,
            "2009 年 10 月 3 日|星期六|农历 8 月 15 日|己丑年 癸酉月 辛巳日|中秋节 国庆节假日 "},
        {"NoLunarDate", 1900, 1, 40, 77, "1899 年 12 月 31 日|星期日||己亥年 丙子月 癸酉日|"},
        {"DecemberTrailing", 2009, 12, 390, 327,
            "2010 年 1 月 8 日|星期五|农历 11 月 24 日|己丑年 丁丑月 戊午日|"},
        {"FirstHoverPixel", 2009, 3, 6, 53,
            "2009 年 3 月 1 日|星期日|农历 2 月 5 日|己丑年 丙寅月 乙巳日|国际民防日 零歧视日 "},
        {"LeftEdge", 2009, 3, 5, 100, ""}, {"TopEdge", 2009, 3, 100, 52, ""},
        {"RightEdge", 2009, 3, 491, 100, ""}, {"BottomEdge", 2009, 3, 100, 352, ""}};
    for (const auto& r : rows) {
        const std::optional<DayTip> t = TipTexts(r.year, r.month, r.x, r.y);
        const std::string texts =
            t ? t->line1 + '|' + t->line2 + '|' + t->line3 + '|' + t->line4 + '|' + t->note : "";
        EXPECT_EQ(texts, r.texts) << r.name;
    }
}

}  // namespace
}  // namespace qov
