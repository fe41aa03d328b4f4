// Texts and colours of the day panel, the title strip, the watermark, the
// grid cells and the hover tip.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "model/daytexts.h"
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

// Festival rows used below (from the festival tables): 0101 元旦节; 0315
// 国际消费者权益日; 0401 愚人节 全国爱国卫生运动月(四月) 税收宣传月(四月);
// 1001 国庆节 世界音乐日 国际老人节; 1003 国庆节假日; the first Monday of
// October 国际住房日. Lunar: 0707 七夕情人节, 0815 中秋节, 1208 腊八节, 0101 春节.
// Solar terms (UT dates): 2009: 惊蛰 5 March, 春分 20 March, 清明 4 April,
// 立夏 5 May, 白露 7 September, 寒露 8 October; 立秋 7 August 2008; 大寒
// 20 January 2002; 小寒 6 January 1900.

// ---- day panel ------------------------------------------------------------

struct PanelRow {
    const char* name;
    SolarDate date;
    int line;  // 0..7
    std::string text;
    Rgb color;
};

class Panel : public ::testing::TestWithParam<PanelRow> {};

TEST_P(Panel, LineReads)
{
    const PanelRow& row = GetParam();
    const DayPanel panel = DayPanelTexts(row.date);
    const PanelLine& line = panel.lines[static_cast<std::size_t>(row.line)];
    ASSERT_EQ(line.runs.size(), 1u);
    EXPECT_EQ(line.Text(), row.text);
    EXPECT_EQ(line.runs[0].color, row.color);
}

const PanelRow PanelRows[] = {
    {"MonthLine", {2009, 10, 1}, 0, "2009年10月", colors::DarkBlue},
    {"WeekdayAndConstellation", {2009, 10, 1}, 1, "星期四 天秤座", colors::DarkBlue},
    {"DayNumber", {2009, 10, 1}, 2, "1", colors::DarkBlue},
    {"LunarFestivalRed", {2009, 10, 3}, 3, "中秋节 ", colors::Red},
    {"PrincipalTermGreen", {2009, 3, 20}, 3, "春分", colors::Green},
    {"SectionalTermRed", {2009, 4, 4}, 3, "清明", colors::Red},
    {"FestivalAndSectionalTerm", {2008, 8, 7}, 3, "七夕情人节 立秋", colors::Red},
    {"FestivalAndPrincipalTerm", {2002, 1, 20}, 3, "腊八节 大寒", colors::Green},
    {"NoFestivalNoTerm", {2009, 10, 5}, 3, "", colors::DarkBlue},
    {"LunarDateSmallMonth", {2009, 10, 3}, 5, "农历　八月小 十五日", colors::DarkBlue},
    {"LunarDateBigMonth", {2009, 6, 22}, 5, "农历　五月大 三十日", colors::DarkBlue},
    {"LunarDateLeapMonth", {2009, 6, 27}, 5, "农历　闰五月小 初五日", colors::DarkBlue},
    {"LunarDateLeapMonthBig", {2017, 8, 21}, 5, "农历　闰六月大 三十日", colors::DarkBlue},
    {"NoLunarDateBeforeTable", {1900, 1, 30}, 5, "", colors::DarkBlue},
    {"FirstLunarDate", {1900, 1, 31}, 5, "农历　正月小 初一日", colors::DarkBlue},
    // 1949-10-01 was a 甲子 day; day names below are counted from it.
    {"GanZhiAfterLichun", {2009, 10, 3}, 6, "己丑(牛)年 癸酉月 辛巳日", colors::DarkBlue},
    {"GanZhiBeforeLichunAnimalFollowsYear", {2009, 1, 15}, 6, "戊子(鼠)年 乙丑月 庚申日", colors::DarkBlue},
    {"GanZhiBefore1900", {1899, 12, 31}, 6, "己亥(猪)年 丙子月 癸酉日", colors::DarkBlue},
    {"FestivalListCutAt20Bytes", {2009, 10, 1}, 7, "国庆节 世界音乐日 国……", colors::DarkBlue},
    {"FestivalListCutAt21Bytes", {2009, 4, 1}, 7, "愚人节 全国爱国卫生运……", colors::DarkBlue},
    {"FestivalListWhole", {2009, 10, 3}, 7, "国庆节假日 ", colors::DarkBlue},
    {"FridayThe13thBlack", {2009, 2, 13}, 7, "黑色星期五 ", colors::Black},
    {"NoFestivals", {2009, 3, 10}, 7, "", colors::DarkBlue},
};

INSTANTIATE_TEST_SUITE_P(DayTexts, Panel, ::testing::ValuesIn(PanelRows),
                         [](const auto& p) { return std::string(p.param.name); });

struct TermLineRow {
    const char* name;
    SolarDate date;
    std::string previous;
    std::string middle;
    std::string next;
};

class TermLine : public ::testing::TestWithParam<TermLineRow> {};

TEST_P(TermLine, NamesRedDistancesGrey)
{
    const TermLineRow& row = GetParam();
    const PanelLine line = DayPanelTexts(row.date).lines[4];
    ASSERT_EQ(line.runs.size(), 3u);
    EXPECT_EQ(line.runs[0].text, row.previous);
    EXPECT_EQ(line.runs[1].text, row.middle);
    EXPECT_EQ(line.runs[2].text, row.next);
    EXPECT_EQ(line.runs[0].color, colors::Red);
    EXPECT_EQ(line.runs[1].color, colors::Grey);
    EXPECT_EQ(line.runs[2].color, colors::Red);
    EXPECT_EQ(line.Text(), row.previous + row.middle + row.next);
}

const TermLineRow TermLineRows[] = {
    {"BetweenTerms", {2009, 10, 1}, "白露", "已过24天 7天后是", "寒露"},
    // On a sectional term's own day both neighbours come from other months.
    {"OnASectionalTerm", {2009, 4, 4}, "惊蛰", "已过30天 31天后是", "立夏"},
    {"DayAfterATerm", {2009, 4, 5}, "清明", "已过1天 30天后是", "立夏"},
};

INSTANTIATE_TEST_SUITE_P(DayTexts, TermLine, ::testing::ValuesIn(TermLineRows),
                         [](const auto& p) { return std::string(p.param.name); });

// ---- shortening rules -----------------------------------------------------

struct CutRow {
    const char* name;
    std::string text;
    std::string cell;  // ShortenCellText
    std::string list;  // CutFestivalList
};

class Cuts : public ::testing::TestWithParam<CutRow> {};

TEST_P(Cuts, CountGbkBytes)
{
    EXPECT_EQ(ShortenCellText(GetParam().text), GetParam().cell);
    EXPECT_EQ(CutFestivalList(GetParam().text), GetParam().list);
}

const CutRow CutRows[] = {
    {"Empty", "", "", ""},
    {"SevenBytesWhole", "元旦节 ", "元旦节 ", "元旦节 "},
    {"TwelveBytesWhole", "七夕情人节鹊", "七夕情人节鹊", "七夕情人节鹊"},
    {"ThirteenBytesShortened", "消除种族歧视 ", "消除种族…", "消除种族歧视 "},
    {"AsciiCountsOneByte", "abcdefghijklm", "abcd…", "abcdefghijklm"},
    {"MixedFourCharacters", "a中b文cdefghijk", "a中b文…", "a中b文cdefghijk"},
    {"TwentyBytesWhole", "一二三四五六七八九十", "一二三四…", "一二三四五六七八九十"},
    {"CutAfter20", "国庆节 世界音乐日 国际老人节 ", "国庆节 …", "国庆节 世界音乐日 国……"},
    {"CutAfter21", "愚人节 全国爱国卫生运动月", "愚人节 …", "愚人节 全国爱国卫生运……"},
    {"AsciiCutAfter20", "abcdefghijklmnopqrstu", "abcd…", "abcdefghijklmnopqrst……"},
};

INSTANTIATE_TEST_SUITE_P(DayTexts, Cuts, ::testing::ValuesIn(CutRows),
                         [](const auto& p) { return std::string(p.param.name); });

// ---- title strip and watermark --------------------------------------------

struct TitleRow {
    const char* name;
    int year;
    std::string info;
};

class Title : public ::testing::TestWithParam<TitleRow> {};

TEST_P(Title, NamesTheYear)
{
    const TitleStrip t = TitleStripTexts(GetParam().year);
    EXPECT_EQ(t.eraLabel, "公元");
    EXPECT_EQ(t.yearLabel, "年");
    EXPECT_EQ(t.monthLabel, "月");
    EXPECT_EQ(t.yearInfo, GetParam().info);
}

const TitleRow TitleRows[] = {
    {"Year2009", 2009, "建国61年 农历己丑年 【牛】"},
    {"Year1912", 1912, "民国元年 农历壬子年 【鼠】"},
    {"Year1949", 1949, "建国元年 农历己丑年 【牛】"},
    {"Year1900", 1900, "光绪26年 农历庚子年 【鼠】"},
    {"Year1899", 1899, "光绪25年 农历己亥年 【猪】"},
    {"Year2050", 2050, "建国102年 农历庚午年 【马】"},
};

INSTANTIATE_TEST_SUITE_P(DayTexts, Title, ::testing::ValuesIn(TitleRows),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Watermark, YearAndTwoDigitMonth)
{
    EXPECT_EQ(WatermarkTexts(MonthPage(2009, 3, 8)).year, "2009");
    EXPECT_EQ(WatermarkTexts(MonthPage(2009, 3, 8)).month, "03");
    EXPECT_EQ(WatermarkTexts(MonthPage(2049, 12, 8)).month, "12");
}

// ---- grid cells -----------------------------------------------------------

std::optional<DayCell> CellOf(const MonthPage& page, const SolarDate& date)
{
    for (const DayCell& c : PageCells(page))
        if (c.date == date) return c;
    return std::nullopt;
}

struct CellRow {
    const char* name;
    SolarDate page;
    SolarDate date;
    std::string lower;
    Rgb lowerColor;
    LowerTextSource source;
    Rgb dayColor;
};

class Cell : public ::testing::TestWithParam<CellRow> {};

TEST_P(Cell, ShowsLowerTextByPriority)
{
    const CellRow& row = GetParam();
    const MonthPage page(row.page);
    const std::optional<DayCell> cell = CellOf(page, row.date);
    ASSERT_TRUE(cell.has_value());
    EXPECT_EQ(cell->lowerText, row.lower);
    EXPECT_EQ(cell->lowerColor, row.lowerColor);
    EXPECT_EQ(cell->source, row.source);
    EXPECT_EQ(cell->dayColor, row.dayColor);
    EXPECT_EQ(cell->dayText, std::to_string(row.date.day));
    EXPECT_EQ(cell->inMonth, row.date.month == row.page.month);
}

using S = LowerTextSource;
const CellRow CellRows[] = {
    // 4 April 2009 was the month's first Saturday.
    {"SectionalTermRed", {2009, 4, 1}, {2009, 4, 4}, "清明", colors::Red, S::SolarTerm, colors::Green},
    {"SectionalTermRedInTrailingCell", {2009, 3, 1}, {2009, 4, 4}, "清明", colors::Red, S::SolarTerm, colors::Grey},
    {"PrincipalTermGreen", {2009, 3, 1}, {2009, 3, 20}, "春分", colors::Green, S::SolarTerm, colors::Black},
    {"LunarFestivalBeatsTerm", {2008, 8, 1}, {2008, 8, 7}, "七夕情人节", colors::Red, S::LunarFestival,
     colors::Black},
    {"LunarFestivalBeatsGregorian", {2009, 10, 1}, {2009, 10, 3}, "中秋节", colors::Red, S::LunarFestival,
     colors::Green},
    {"GregorianFestivalsShortened", {2009, 10, 1}, {2009, 10, 1}, "国庆节 …", colors::DarkBlue, S::DayFestivals,
     colors::Black},
    {"LongNameShortened", {2009, 3, 1}, {2009, 3, 15}, "国际消费…", colors::DarkBlue, S::DayFestivals,
     colors::Red},
    {"ShortFestivalWhole", {2009, 1, 1}, {2009, 1, 1}, "元旦节 ", colors::DarkBlue, S::DayFestivals, colors::Black},
    {"WeekdayRuleFestival", {2009, 10, 1}, {2009, 10, 5}, "国际住房日 ", colors::DarkBlue, S::DayFestivals,
     colors::Black},
    {"FridayThe13thBlack", {2009, 2, 1}, {2009, 2, 13}, "黑色星期五 ", colors::Black, S::DayFestivals,
     colors::Black},
    {"FridayThe13thGreyInTrailingCell", {2009, 2, 1}, {2009, 3, 13}, "黑色星期五 ", colors::Grey,
     S::DayFestivals, colors::Grey},
    {"LunarMonthName", {2009, 2, 1}, {2009, 2, 25}, "二月", colors::Black, S::LunarMonth, colors::Black},
    // Leap months began on 24 August 2006 (seventh) and 25 July 2025 (sixth).
    {"LeapMonthName", {2006, 8, 1}, {2006, 8, 24}, "闰七月", colors::Black, S::LunarMonth, colors::Black},
    {"LeapMonthDayGreyInLeadingCell", {2025, 8, 1}, {2025, 7, 27}, "初三", colors::Grey, S::LunarDay,
     colors::Grey},
    {"LunarDayName", {2009, 3, 1}, {2009, 3, 10}, "十四", colors::Black, S::LunarDay, colors::Black},
    {"LunarDayNameGreyInTrailingCell", {2009, 2, 1}, {2009, 3, 10}, "十四", colors::Grey, S::LunarDay,
     colors::Grey},
    {"DecemberTrailingJanuary", {2009, 12, 1}, {2010, 1, 1}, "元旦节 ", colors::Grey, S::DayFestivals,
     colors::Grey},
    {"NewYearOfTheTable", {1900, 1, 1}, {1900, 1, 31}, "春节", colors::Red, S::LunarFestival, colors::Black},
    {"BeforeTableNothing", {1900, 1, 1}, {1900, 1, 10}, "", colors::Black, S::None, colors::Black},
    {"BeforeTableTermStillShown", {1900, 1, 1}, {1900, 1, 6}, "小寒", colors::Red, S::SolarTerm, colors::Green},
    {"BeforeTableFestivalStillShown", {1900, 1, 1}, {1900, 1, 1}, "元旦节 ", colors::DarkBlue, S::DayFestivals,
     colors::Black},
    {"Dec1899LeadingCellNothing", {1900, 1, 1}, {1899, 12, 31}, "", colors::Grey, S::None, colors::Grey},
};

INSTANTIATE_TEST_SUITE_P(DayTexts, Cell, ::testing::ValuesIn(CellRows),
                         [](const auto& p) { return std::string(p.param.name); });

struct SaturdayRow {
    const char* name;
    SolarDate page;
    std::vector<Rgb> saturdays;  // the page month's Saturdays in order
};

class Saturdays : public ::testing::TestWithParam<SaturdayRow> {};

TEST_P(Saturdays, AlternateGreenAndRedSundaysRed)
{
    const SaturdayRow& row = GetParam();
    std::vector<Rgb> saturdays;
    for (const DayCell& c : PageCells(MonthPage(row.page))) {
        const int weekday = DayOfWeek(c.date.year, c.date.month, c.date.day);
        if (!c.inMonth) {
            EXPECT_EQ(c.dayColor, colors::Grey);
        } else if (weekday == 6) {
            saturdays.push_back(c.dayColor);
        } else {
            EXPECT_EQ(c.dayColor, weekday == 0 ? colors::Red : colors::Black);
        }
    }
    EXPECT_EQ(saturdays, row.saturdays);
}

const Rgb G = colors::Green;
const Rgb R = colors::Red;
const SaturdayRow SaturdayRows[] = {
    {"FiveSaturdaysAug2009", {2009, 8, 1}, {G, R, G, R, G}},
    {"FourSaturdaysFeb2009", {2009, 2, 1}, {G, R, G, R}},
    {"FiveSaturdaysMay2009", {2009, 5, 1}, {G, R, G, R, G}},
};

INSTANTIATE_TEST_SUITE_P(DayTexts, Saturdays, ::testing::ValuesIn(SaturdayRows),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(CellSelection, OnlyTheInMonthCellOfTheSelectedDay)
{
    // March 2009: day 1 in cell (0, 0); the trailing cells hold 1..11 April.
    const auto cells = PageCells(MonthPage(2009, 3, 1));
    int selected = 0;
    for (const DayCell& c : cells) selected += c.selected ? 1 : 0;
    EXPECT_EQ(selected, 1);
    EXPECT_TRUE(cells[0].selected);
    EXPECT_FALSE(cells[31].selected);  // 1 April
    EXPECT_EQ(cells[31].date, (SolarDate{2009, 4, 1}));
}

// ---- hover tip ------------------------------------------------------------

struct TipRow {
    const char* name;
    int year, month, x, y;
    std::optional<SolarDate> date;
    std::string line1, line2, line3, line4, note;
};

class Tip : public ::testing::TestWithParam<TipRow> {};

TEST_P(Tip, DescribesTheDayUnderThePointer)
{
    const TipRow& row = GetParam();
    const std::optional<DayTip> tip = TipTexts(row.year, row.month, row.x, row.y);
    ASSERT_EQ(tip.has_value(), row.date.has_value());
    if (!tip) return;
    EXPECT_EQ(tip->date, *row.date);
    EXPECT_EQ(tip->line1, row.line1);
    EXPECT_EQ(tip->line2, row.line2);
    EXPECT_EQ(tip->line3, row.line3);
    EXPECT_EQ(tip->line4, row.line4);
    EXPECT_EQ(tip->note, row.note);
}

// Cell centres: column k at x = 40 + 70k, row r at y = 77 + 50r.
const TipRow TipRows[] = {
    {"LeapMonthDay", 2009, 7, 250, 77, SolarDate{2009, 7, 1}, "2009 年 7 月 1 日", "星期三", "农历 闰5 月 9 日",
     "己丑年 庚午月 丁未日", "香港回归纪念日 中共诞辰 世界建筑日 "},
    {"FestivalsWithLunar", 2009, 10, 460, 77, SolarDate{2009, 10, 3}, "2009 年 10 月 3 日", "星期六",
     "农历 8 月 15 日", "己丑年 癸酉月 辛巳日", "中秋节 国庆节假日 "},
    {"NoFestivals", 2009, 3, 180, 127, SolarDate{2009, 3, 10}, "2009 年 3 月 10 日", "星期二", "农历 2 月 14 日",
     "己丑年 丁卯月 甲寅日", ""},
    {"BeforeTheLunarTable", 1900, 1, 40, 77, SolarDate{1899, 12, 31}, "1899 年 12 月 31 日", "星期日", "",
     "己亥年 丙子月 癸酉日", ""},
    {"DecemberTrailingJanuary", 2009, 12, 390, 327, SolarDate{2010, 1, 8}, "2010 年 1 月 8 日", "星期五",
     "农历 11 月 24 日", "己丑年 丁丑月 戊午日", ""},
    {"FirstHoverPixel", 2009, 3, 6, 53, SolarDate{2009, 3, 1}, "2009 年 3 月 1 日", "星期日", "农历 2 月 5 日",
     "己丑年 丙寅月 乙巳日", "国际民防日 零歧视日 "},
    {"LeftEdgeHidden", 2009, 3, 5, 100, std::nullopt, "", "", "", "", ""},
    {"TopEdgeHidden", 2009, 3, 100, 52, std::nullopt, "", "", "", "", ""},
    {"RightEdgeHidden", 2009, 3, 491, 100, std::nullopt, "", "", "", "", ""},
    {"BottomEdgeHidden", 2009, 3, 100, 352, std::nullopt, "", "", "", "", ""},
};

INSTANTIATE_TEST_SUITE_P(DayTexts, Tip, ::testing::ValuesIn(TipRows),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace qov
