// The user's own days: the yearly rules over 1900..2100 against the lunar
// table, the page lookup against the date lookup on every page, the line
// parser, the file kept line by line through edits, and a day on the page.
// UTF-8 literals here, as the names are UTF-8 in the models.
#include "model/mydays.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "lunar.h"
#include "model/daytexts.h"

namespace qov {
namespace {

MyDay Lunar(int month, int day, bool leap, int firstYear = 0, std::string name = "x")
{
    return {MyCalendar::Lunar, month, day, leap, firstYear, std::move(name)};
}

// Every lunar month of every year: day 1, 29 and 30, set in the ordinary and
// in the leap month, lands where the rules say, as the lunar table reads it
// back; the leap flag is kept only where the year has that leap month.
TEST(MyDayRules, LunarDaysOverTheTable)
{
    for (int y = FirstLunarYear; y <= LastLunarYear; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (const bool leap : {false, true}) {
                for (const int d : {1, 29, 30}) {
                    const std::optional<SolarDate> date = MyDayDate(Lunar(m, d, leap), y);
                    ASSERT_TRUE(date) << y << ' ' << m << ' ' << leap << ' ' << d;
                    const LunarDate back = ToLunar(date->year, date->month, date->day);
                    const bool inLeap = leap && LeapMonth(y) == m;
                    const int length = inLeap ? LeapMonthDays(y) : LunarMonthDays(y, m);
                    EXPECT_EQ(back.year, y);
                    EXPECT_EQ(back.month, m);
                    EXPECT_EQ(back.isLeap, inLeap) << y << ' ' << m;
                    EXPECT_EQ(back.day, std::min(d, length)) << y << ' ' << m << ' ' << d;
                }
            }
        }
    }
}

// 29 February falls on the 28th in common years; a day does not show before
// its first year, and is the 第 1 个 in it.
TEST(MyDayRules, GregorianDaysAndFirstYears)
{
    const MyDay leapDay{MyCalendar::Gregorian, 2, 29, false, 0, "x"};
    for (int y = 1900; y <= 2100; ++y)
        EXPECT_EQ(MyDayDate(leapDay, y),
            (SolarDate{y, 2, IsLeapYear(static_cast<std::uint16_t>(y)) ? 29 : 28}));
    const MyDay born = Lunar(4, 30, true, 1948);
    EXPECT_FALSE(MyDayDate(born, 1947));
    EXPECT_TRUE(MyDayDate(born, 1948));
    EXPECT_EQ(MyDayOrdinal(born, 1948), 1);
    EXPECT_EQ(MyDayOrdinal(born, 2020), 73);
    EXPECT_EQ(MyDayOrdinal(Lunar(4, 30, true), 2020), 0);
    EXPECT_FALSE(MyDayDate(born, 2101));  // past the lunar table
}

// A set of days with every rule in it, looked up by page and by date on
// every page of 1900..2100: the page lookup finds the first day of each date.
TEST(MyDayList, PageLookupMatchesDates)
{
    const MyDayList list(
        {Lunar(4, 30, true, 1948, "外婆生日"), Lunar(12, 30, false), Lunar(1, 1, false),
            Lunar(6, 15, true, 2000), {MyCalendar::Gregorian, 2, 29, false, 0, "闰日"},
            {MyCalendar::Gregorian, 12, 31, false, 1999, "年末"},
            {MyCalendar::Gregorian, 1, 1, false, 0, "元旦"}});
    for (int y = 1899; y <= 2101; ++y) {
        for (int m = (y == 1899 ? 12 : 1); m <= (y == 2101 ? 1 : 12); ++m) {
            const MonthPage page(y, m, 1);
            const auto cells = list.OnPage(page.CellAt(0, 0));
            for (int i = 0; i < grid::CellCount; ++i) {
                const SolarDate date = page.CellAt(i / 7, i % 7);
                const std::vector<MyDayHit> hits = list.On(date);
                const int expected =
                    hits.empty() ? -1 : static_cast<int>(hits.front().day - list.Days().data());
                ASSERT_EQ(cells[static_cast<std::size_t>(i)], expected)
                    << date.year << '-' << date.month << '-' << date.day;
            }
        }
    }
}

// A line and what it reads as: the line written back, or "!" and the reason.
TEST(MyDaysFile, ParseLines)
{
    // clang-format off
    const struct { const char* name; const char* line; const char* read; } rows[] = {
        {"LeapLunar", "农历\t闰04-30\t外婆生日\t1948", "农历\t闰04-30\t外婆生日\t1948"},
        {"SpacesTrimmed", " 公历 \t 02-29 \t 闰日 ", "公历\t02-29\t闰日"},
        {"Comment", "# 农历\tx", ""},
        {"Blank", "  \t ", ""},
        {"UnknownCalendar", "阴历\t04-30\tx", "!unknown calendar (expected 公历 or 农历)"},
        {"BadDate", "公历\t4-30\tx", "!bad date (expected MM-DD, or 闰MM-DD)"},
        {"LetterInDay", "公历\t04-x0\tx", "!bad date (expected MM-DD, or 闰MM-DD)"},
        {"LeapGregorian", "公历\t闰04-30\tx", "!a leap month on the Gregorian calendar"},
        {"Feb30", "公历\t02-30\tx", "!no such day"},
        {"LunarDay31", "农历\t01-31\tx", "!no such day"},
        {"Month13", "农历\t13-01\tx", "!no such day"},
        {"NoName", "公历\t01-01\t ", "!missing name"},
        {"BadYear", "公历\t01-01\tx\t19a8", "!bad first year (expected 1..9999)"},
        {"YearZero", "公历\t01-01\tx\t0", "!bad first year (expected 1..9999)"},
        {"TooManyFields", "公历\t01-01\tx\t1990\ty", "!too many fields"},
        {"ControlCharacter", "公历\t01-01\ta\x01" "b", "!control character in the name"},
        {"LongName", "公历\t01-01\t一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三", "!name longer than 32 characters"},
        {"BadUtf8", "公历\t01-01\t\xC3", "!invalid UTF-8"},
    };
    // clang-format on
    for (const auto& r : rows) {
        const MyDayParse p = ParseMyDayLine(r.line);
        EXPECT_EQ(p.day ? FormatMyDay(*p.day) : (p.reason.empty() ? "" : "!" + p.reason), r.read)
            << r.name;
    }
}

// Every byte the user wrote survives: an unedited file gives back its bytes,
// and edits touch the lines of their days only.
TEST(MyDaysFile, KeepsEveryLine)
{
    const std::string text = "\xEF\xBB\xBF# 我的纪念日\r\n"
                             "农历\t闰04-30\t外婆生日\t1948\r\n"
                             "公历\t02-30\t写错的日子\r\n"
                             "\r\n"
                             "公历\t10-01\t结婚纪念日\t2000";  // no line break at the end
    MyDaysFile file(text);
    EXPECT_EQ(file.Bytes(), text);
    ASSERT_EQ(file.Messages(), std::vector<std::string>{"mydays.tsv:3: no such day"});
    ASSERT_EQ(file.Days().size(), 2u);

    EXPECT_TRUE(file.Replace(1, {MyCalendar::Gregorian, 10, 2, false, 2001, "纪念日"}));
    EXPECT_FALSE(file.Replace(2, Lunar(1, 1, false)));
    file.Add(Lunar(8, 15, false, 0, "团圆"));
    EXPECT_TRUE(file.Remove(0));
    EXPECT_FALSE(file.Remove(5));
    EXPECT_EQ(file.Bytes(),
        "\xEF\xBB\xBF# 我的纪念日\r\n"
        "公历\t02-30\t写错的日子\r\n"
        "\r\n"
        "公历\t10-02\t纪念日\t2001\r\n"
        "农历\t08-15\t团圆\r\n");

    MyDaysFile first("农历\t01-01\t春\n");
    EXPECT_TRUE(first.Replace(0, Lunar(1, 2, false, 0, "初二")));
    EXPECT_EQ(first.Bytes(), "农历\t01-02\t初二\n");
    MyDaysFile empty("");
    empty.Add(Lunar(1, 1, false, 0, "春"));
    EXPECT_EQ(empty.Bytes(), "农历\t01-01\t春\n");
}

// A lunar birthday in 闰四月 2020 (29 days, from 23 May) is on its last day,
// 20 June: the cell shows the name ahead of everything, the tip and the
// panel give it with its 第 N 个.
TEST(MyDayTexts, CellTipAndPanel)
{
    const MyDayList list({Lunar(4, 30, true, 1948, "外婆生日"),
        {MyCalendar::Gregorian, 6, 20, false, 0, "一个很长很长的名字"}});
    DayOptions options;
    options.myDays = &list;
    const MonthPage page(2020, 6, 20, WeekStart::Monday);
    const DayCell cell = PageCells(page, options)[static_cast<std::size_t>(
        7 * page.SelectedCell().row + page.SelectedCell().column)];
    EXPECT_EQ(cell.date, (SolarDate{2020, 6, 20}));
    EXPECT_EQ(cell.lowerText, "外婆生日");
    EXPECT_TRUE(cell.lowerUtf8);
    EXPECT_EQ(cell.lowerColor, colors::MyDay);
    EXPECT_EQ(
        CellContents(page, page.SelectedCell().row, page.SelectedCell().column, options).lowerText,
        "外婆生日");
    EXPECT_EQ(DayTipTexts(cell.date, options).holiday, "外婆生日 第73个 一个很长很长的名字");
    EXPECT_EQ(
        DayPanelTexts(cell.date, options).lines[7].runs.front().text, "外婆生日 第73个 一个很长…");
    EXPECT_EQ(ShortenUtf8CellText("一个很长很长的名字"), "一个很长…");
    EXPECT_EQ(ShortenUtf8CellText("abcdefghijkl"), "abcdefghijkl");
}

}  // namespace
}  // namespace qov
