// The days the calendar marks: the holiday schedule (the user file's parser,
// overrides, the panel and tip texts) and the user's own days (yearly rules,
// the file kept line by line, a day on the page); and every page with its
// cells, tips, clicks and panels, the shipped file and the user's days day by
// day. UTF-8 literals here, as the holiday and day names are UTF-8.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <tuple>

#include "festivals.h"
#include "lunar.h"
#include "model/dayitems.h"
#include "model/daytexts.h"
#include "model/holidaycn.h"
#include "model/icalendar.h"
#include "modeltest.h"

namespace qov {
namespace {

using namespace test;

// Each bad line is left out with one message; the lines around it load.
TEST(Holidays, ParseLines)
{
    const std::string name32(32, 'x');
    const std::string head = "2027-01-02\t休\t";
    // Spaces after the name count towards the length and are trimmed off.
    const std::string longLine = head + "元旦" + std::string(200 - head.size() - 6, ' ');
    // clang-format off
    const struct { const char* name; std::string input, lines, messages; } rows[] = {
        {"KindsAndComments", "# comment\n\n2027-01-01\t休\t元旦\n2027-02-06\t班\t春节\n2026-10-08\t-\n",
         "2027-01-01 休 元旦;2027-02-06 班 春节;2026-10-08 - ;", ""},
        {"CrLfBomAndSpaces", "\xEF\xBB\xBF" "2027-01-01 \t 休\t New Year \r\n2027-01-02\t-\tgone\r\n",
         "2027-01-01 休 New Year;2027-01-02 - gone;", ""},
        {"NoFinalNewline", "2027-01-01\t休\t元旦", "2027-01-01 休 元旦;", ""},
        {"BadDay", "2027-02-30\t休\tx\n2027-01-01\t休\t元旦\n", "2027-01-01 休 元旦;",
         "1: bad date '2027-02-30'\n"},
        // A message shows the date field only where it is short printable ASCII.
        {"BadShape", "2027-2-3\t休\tx\n20\x7f" "7-01-01\t休\tx\n2027-01-01-2027-01-01\t休\tx\n", "",
         "1: bad date '2027-2-3' (expected YYYY-MM-DD)\n2: bad date (expected YYYY-MM-DD)\n"
         "3: bad date (expected YYYY-MM-DD)\n"},
        {"Feb29CommonYear", "2027-02-29\t休\tx\n2028-02-29\t休\tx\n", "2028-02-29 休 x;",
         "1: bad date '2027-02-29'\n"},
        {"YearOutOfRange", "2101-01-01\t休\tx\n1899-12-31\t班\tx\n1900-01-01\t休\ty\n2100-12-31\t班\tz\n",
         "1900-01-01 休 y;2100-12-31 班 z;", "1: year outside 1900..2100\n2: year outside 1900..2100\n"},
        {"UnknownKind", "2027-01-01\t假\t元旦\n2027-01-02\t\t元旦\n", "",
         "1: unknown kind (expected 休, 班 or -)\n2: missing kind (expected 休, 班 or -)\n"},
        {"MissingName", "2027-01-01\t休\n2027-01-02\t班\t  \n", "", "1: missing name\n2: missing name\n"},
        {"Name32Kept33Refused", "2027-01-01\t休\t" + name32 + "\n2027-01-02\t休\t" + name32 + "z\n",
         "2027-01-01 休 " + name32 + ";", "2: name longer than 32 characters\n"},
        {"ControlCharacter", "2027-01-01\t休\ta\tb\n2027-01-02\t休\ta\x7f\n", "",
         "1: control character in the name\n2: control character in the name\n"},
        // Overlong, surrogate, cut short, lone trail byte, past U+10FFFF, a
        // third or fourth byte that is no trail byte; the last line is 🎆.
        {"InvalidUtf8", "2027-01-01\t休\t\xC0\x80\n2027-01-02\t休\t\xED\xA0\x80\n2027-01-03\t休\t\xE5\x85\n"
                        "2027-01-04\t休\t\x80\n2027-01-05\t休\t\xF4\x90\x80\x80\n2027-01-06\t休\t\xE5\x85\x41\n"
                        "2027-01-07\t休\t\xF0\x9F\x8E\xC3\xA9\n2027-01-08\t休\t\xF0\x9F\x8E\x86\n",
         "2027-01-08 休 \xF0\x9F\x8E\x86;", "1: invalid UTF-8\n2: invalid UTF-8\n3: invalid UTF-8\n"
         "4: invalid UTF-8\n5: invalid UTF-8\n6: invalid UTF-8\n7: invalid UTF-8\n"},
        // Neighbouring days across a month's and a year's end are no duplicates.
        {"DuplicateLaterWins", "2026-12-31\t休\ta\n2027-01-01\t休\tb\n2027-01-31\t休\tc\n"
                               "2027-02-01\t休\td\n2027-01-01\t班\te\n",
         "2026-12-31 休 a;2027-01-01 班 e;2027-01-31 休 c;2027-02-01 休 d;",
         "5: duplicate date 2027-01-01 (also on line 2); this line wins\n"},
        {"Line200Kept201Refused", longLine + "\n" + longLine + " \n", "2027-01-02 休 元旦;",
         "2: line longer than 200 bytes\n"},
        {"BinaryGarbageBlanksAndDash", std::string("\0\xFF\n\t\t\n-", 7), "",
         "1: invalid UTF-8\n3: bad date '-' (expected YYYY-MM-DD)\n"}};
    // clang-format on
    for (const auto& r : rows) {
        const HolidayParse parse = ParseHolidayFile(r.input);
        EXPECT_EQ(Show(parse.lines), r.lines) << r.name;
        EXPECT_EQ(Join(parse.messages), r.messages) << r.name;
    }
}

// Announcements of the State Council's General Office for each year, and the
// user's lines over the shipped days: added, replaced, removed; the rest kept.
TEST(Holidays, ShippedAndUserDays)
{
    const HolidayParse user = ParseHolidayFile("2027-01-01\t休\t元旦\n"    // a year not shipped
                                               "2026-10-09\t休\t国庆节\n"  // added
                                               "2026-10-10\t休\t补假\n"    // 班 becomes 休
                                               "2026-10-01\t-\n"           // removed
                                               "2003-05-01\t-\n"           // nothing to remove
                                               "2100-12-31\t休\t末\n");    // the last year
    const HolidayTable& shipped = HolidayTable::Shipped();
    const HolidayTable table = shipped.WithOverrides(user.lines);
    // Downloads: 2026 with two days (2026-10-09, a Friday 班, is left out; a
    // name with an escaped surrogate pair, U+1F400 whose low half is DC00),
    // 2025 not announced, with numbers of every form JSON has.
    const auto read = [](const char* json, int year) {
        return ReadHolidayCn(json, year).schedule.value();
    };
    const HolidayTable layered = LayerSchedules(shipped,
        {read(R"({"year": 2026, "papers": [], "days": [
            {"name": "元旦\uD83D\uDC00", "date": "2025-12-31", "isOffDay": true},
            {"name": "x", "date": "2026-10-03", "isOffDay": false},
            {"name": "x", "date": "2026-10-09", "isOffDay": false}]})",
             2026),
            read(R"({"year": 2025, "papers": [], "days": [],
                "n": [0, -0.5, 1E+2, [{"a": [[[[]]]]}]], "o": [[[[[[{}]]]]]]})",
                2025)});
    // Arrays and objects nested 8 deep are read (above), 9 deep refused.
    EXPECT_EQ(ReadHolidayCn(R"({"n": [{"a": [[[[[[]]]]]]}]})", 2025).error + '|'
            + ReadHolidayCn(R"({"n": [[[[[[[{}]]]]]]]})", 2025).error,
        "invalid JSON at byte 18: nested too deep|invalid JSON at byte 13: nested too deep");
    // clang-format off
    const struct { const char* name; const HolidayTable& in; SolarDate date; const char* expected; } rows[] = {
        // The source's conventions in the shipped table.
        {"NewYearMakeUp2005", shipped, {2005, 12, 31}, "班元旦"},
        {"NamedPeriodSunday2011", shipped, {2011, 6, 5}, "休端午节"},
        {"JoinedWeekend2019", shipped, {2019, 4, 6}, ""},
        {"WeekdayReturn2020", shipped, {2020, 2, 3}, ""},
        {"DownloadOwnsItsYear", layered, {2026, 10, 1}, ""},
        {"DownloadDay", layered, {2026, 10, 3}, "班x"},
        {"DownloadWeekdayWork", layered, {2026, 10, 9}, ""},
        {"DownloadLastDecember", layered, {2025, 12, 31}, "休元旦\xF0\x9F\x90\x80"},
        {"EmptyDownloadKeepsYear", layered, {2025, 10, 8}, "休国庆节、中秋节"},
        {"ExtendedSpringFestival2020", shipped, {2020, 2, 2}, "休春节"},  // extended for the epidemic
        {"VictoryDay2015", shipped, {2015, 9, 3}, "休抗日战争暨世界反法西斯战争胜利70周年纪念日"},
        {"FridayAfterNationalDay2026", shipped, {2026, 10, 9}, ""},
        {"Before2004", shipped, {2003, 10, 1}, ""},
        {"NotYetAnnounced", shipped, {2027, 10, 1}, ""},
        {"InvalidDate", shipped, {2026, 2, 30}, ""},
        {"MonthZero", shipped, {2026, 0, 1}, ""},
        {"FarPast", shipped, {-5, 1, 1}, ""},
        {"Added", table, {2027, 1, 1}, "休元旦"},
        {"AddedBetween", table, {2026, 10, 9}, "休国庆节"},
        {"Replaced", table, {2026, 10, 10}, "休补假"},
        {"Removed", table, {2026, 10, 1}, ""},
        {"Kept", table, {2026, 10, 2}, "休国庆节"},
        {"KeptFirstYear", table, {2004, 1, 1}, "休元旦"},
        {"StillNothing", table, {2003, 5, 1}, ""},
        {"LastYear", table, {2100, 12, 31}, "休末"}};
    // clang-format on
    for (const auto& r : rows) EXPECT_EQ(Show(r.in.Lookup(r.date)), r.expected) << r.name;
    EXPECT_EQ(shipped.Days().size() + 2, table.Days().size());
}

// Panel line 3's holiday run and the start of the tip's note; a user's
// holiday name that just fills the line.
TEST(HolidayTexts, PanelAndTip)
{
    // clang-format off
    const struct { const char* name; SolarDate date; const char* run; bool festivalKept; const char* tip; } rows[] = {
        {"NationalDay", {2026, 10, 1}, "国庆节假期", true, "国庆节 休"},
        {"MakeUpDay", {2026, 10, 10}, "调休上班日", true, "国庆节 调休上班"},
        {"SpringFestivalMerged", {2026, 2, 17}, "春节假期", false, "春节 休"},  // 正月初一
        {"SecondDayKeepsFestival", {2026, 2, 18}, "春节假期", true, "春节 休"},  // 初二
        {"MidAutumnMerged", {2026, 9, 25}, "中秋节假期", false, "中秋节 休"},  // 八月十五
        {"LongNameCut", {2015, 9, 3}, "抗日战争暨世界反法西…假期", true,
         "抗日战争暨世界反法西斯战争胜利70周年纪念日 休"},
        {"NoData", {2026, 10, 9}, "", true, ""},
        {"NameFillsTheLine", {2027, 3, 10}, "一二三四五六七八九十一假期", true, "一二三四五六七八九十一 休"}};
    // clang-format on
    const HolidayTable none;
    const HolidayTable own = HolidayTable::Shipped().WithOverrides(
        ParseHolidayFile("2027-03-10\t休\t一二三四五六七八九十一\n").lines);
    for (const auto& r : rows) {
        const std::string plain = DayPanelTexts(r.date, none).lines[3].runs.at(0).text;
        const std::vector<TextRun> runs = DayPanelTexts(r.date, own).lines[3].runs;
        // The festival and term run unchanged, one space before the holiday, or
        // left out where the holiday bears the festival's name.
        const std::string kept = plain.empty() || plain.back() == ' ' ? plain : plain + ' ';
        const bool festival = runs.at(0).text == (r.festivalKept ? kept : "");
        EXPECT_EQ(std::tuple(runs.size(), runs.size() > 1 ? runs[1].text : "",
                      runs.size() < 2 || runs[1].utf8, festival, DayTipTexts(r.date, own).holiday),
            std::tuple(*r.run ? 2u : 1u, r.run, true, true, r.tip))
            << r.name;
    }
}

// Where a day falls in a year, and its 第 N 个: 29 February on the 28th in
// common years; a day set on 闰四月 30 (1948 had no such month) in 2020's
// 闰四月 of 29 days, on its last day; nothing before the first year or past
// the lunar table. The lunar rules over every year are in the sweep.
TEST(MyDays, Rules)
{
    const MyDay born = Lunar(4, 30, true, 1948, "外婆生日");
    // clang-format off
    const struct { const char* name; MyDay day; int year; std::optional<SolarDate> date; int ordinal; } rows[] = {
        {"LeapDay1900", Gregorian(2, 29), 1900, SolarDate{1900, 2, 28}, 0},
        {"LeapDay2000", Gregorian(2, 29), 2000, SolarDate{2000, 2, 29}, 0},
        {"LeapDay2100", Gregorian(2, 29), 2100, SolarDate{2100, 2, 28}, 0},
        {"BeforeFirstYear", Gregorian(5, 1, 2000), 1999, std::nullopt, 0},
        {"FirstYear", Gregorian(5, 1, 2000), 2000, SolarDate{2000, 5, 1}, 1},
        {"LeapMonthShort", born, 2020, SolarDate{2020, 6, 20}, 73},
        {"NoLeapMonth", born, 1948, SolarDate{1948, 6, 6}, 1},
        {"PastLunarTable", born, 2101, std::nullopt, 154},
        {"OutsideRanges", Lunar(13, 1, false), 2000, std::nullopt, 0}};
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(std::pair(MyDayDate(r.day, r.year), MyDayOrdinal(r.day, r.year)),
            std::pair(r.date, r.ordinal))
            << r.name;
}

// A line and what it reads as: the line written back, or "!" and the reason.
TEST(MyDaysFile, ParseLines)
{
    // clang-format off
    const struct { const char* name; const char* line; const char* read; } rows[] = {
        {"LeapLunar", "农历\t闰04-30\t外婆生日\t1948", "农历\t闰04-30\t外婆生日\t1948"},
        {"SpacesTrimmed", " 公历 \t 02-29 \t 闰日 ", "公历\t02-29\t闰日"},
        {"Comment", "# 农历\tx", ""},
        {"BadUtf8", "公历\t01-01\t\xC3", "!invalid UTF-8"},
        {"UnknownCalendar", "阴历\t04-30\tx", "!unknown calendar (expected 公历 or 农历)"},
        {"BadDate", "公历\t4-30\tx", "!bad date (expected MM-DD, or 闰MM-DD)"},
        {"LetterInDay", "公历\t04-x0\tx", "!bad date (expected MM-DD, or 闰MM-DD)"},
        {"LeapGregorian", "公历\t闰04-30\tx", "!a leap month on the Gregorian calendar"},
        {"Feb30", "公历\t02-30\tx", "!no such day"},
        {"LunarDay31", "农历\t01-31\tx", "!no such day"},
        {"Month13", "农历\t13-01\tx", "!no such day"},
        {"Blank", "  \t ", ""},
        {"NoName", "公历\t01-01\t ", "!missing name"},
        {"BadYear", "公历\t01-01\tx\t19a8", "!bad first year (expected 1..9999)"},
        {"YearZero", "公历\t01-01\tx\t0", "!bad first year (expected 1..9999)"},
        {"TooManyFields", "公历\t01-01\tx\t1990\ty", "!too many fields"},
        {"ControlCharacter", "公历\t01-01\ta\x01" "b", "!control character in the name"},
        {"LongName", "公历\t01-01\t一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三", "!name longer than 32 characters"},
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

    EXPECT_TRUE(file.Replace(1, Gregorian(10, 2, 2001, "纪念日")));
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

    MyDaysFile first("\xEF\xBB\xBF农历\t01-01\t春\n");  // a mark before the first day
    EXPECT_EQ(first.Days().at(0).name, "春");
    EXPECT_TRUE(first.Replace(0, Lunar(1, 2, false, 0, "初二")));
    EXPECT_EQ(first.Bytes(), "\xEF\xBB\xBF农历\t01-02\t初二\n");
    MyDaysFile empty("");
    empty.Add(Lunar(1, 1, false, 0, "春"));
    EXPECT_EQ(empty.Bytes(), "农历\t01-01\t春\n");
}

// A lunar birthday in 闰四月 2020 (29 days, from 23 May) is on its last day,
// 20 June: the cell shows the name ahead of everything, the tip and the
// panel give it with its 第 N 个.
TEST(MyDayTexts, CellTipAndPanel)
{
    const MyDayList list(
        {Lunar(4, 30, true, 1948, "外婆生日"), Gregorian(6, 20, 0, "一个很长很长的名字")});
    DayOptions options;
    options.myDays = &list;
    const MonthPage page(2020, 6, 20, WeekStart::Monday);
    const GridCell at = page.SelectedCell();
    const DayCell cell = PageCells(page, options)[static_cast<std::size_t>(7 * at.row + at.column)];
    EXPECT_EQ(IsoDate(cell.date) + '|' + cell.lowerText + '|'
            + CellContents(page, at.row, at.column, options).lowerText + '|'
            + DayTipTexts(cell.date, options).holiday + '|'
            + DayPanelTexts(cell.date, options).lines[7].runs.front().text + '|'
            + ShortenUtf8CellText("一个很长很长的名字") + '|' + ShortenUtf8CellText("abcdefghijkl")
            + '|' + ShortenUtf8CellText("abcdefghijklm"),
        "2020-06-20|外婆生日|外婆生日|外婆生日 第73个 一个很长很长的名字|外婆生日 第73个 一个很长…|"
        "一个很长…|abcdefghijkl|abcdefgh…");
    EXPECT_TRUE(cell.lowerUtf8 && cell.lowerColor == colors::MyDay);
    // A name cut to the line (24 units and "…"), or the festival list (GBK) in
    // the room left after it, 4 units at least.
    std::string festivals;
    GetDayFestivals(2026, 10, 1, festivals, false);
    // clang-format off
    const struct { const char* name; const char* mine; std::size_t listBytes; } names[] = {
        {"生日", "生日", 22},
        {"abcdefghijklmnopqrstu", "abcdefghijklmnopqrstu", 4},
        {"abcdefghijklmnopqrstuv", "abcdefghijklmnopqrstuv", 0},
        {"abcdefghijklmnopqrstuvwxyz0", "abcdefghijklmnopqrstuvwx…", 0}};
    // clang-format on
    for (const auto& r : names) {
        const MyDayList one({Gregorian(10, 1, 0, r.name)});
        options.myDays = &one;
        const auto runs = DayPanelTexts({2026, 10, 1}, options).lines[7].runs;
        EXPECT_EQ(runs.at(0).text, r.mine);
        EXPECT_EQ(runs.size() > 1 ? runs[1].text : "",
            r.listBytes ? ' ' + festivals.substr(0, r.listBytes) : "")
            << r.name;
    }
    options.myDays = &list;
    // Exported as the tip words them, one item a name and date.
    std::vector<DayItem> items;
    const MyDayList twice({list.Days()[0], list.Days()[1], Gregorian(6, 20, 0, "外婆生日")});
    AppendDayItems(cell.date, KindBit(ItemKind::MyDay), HolidayTable(), twice, items);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].summary + ' ' + items[1].summary, DayTipTexts(cell.date, options).holiday);
    // The export's stamp a second before 1970 (floored, not truncated).
    const std::string ics = WriteICalendar({{2020, 2020}, KindBit(ItemKind::MyDay), -1}, {}, list);
    EXPECT_NE(ics.find("DTSTAMP:19691231T235959Z"), ics.npos);
}

// Every page from December 1899 to February 2101 with its cells, tips,
// clicks and the panels of its days; every lunar date converts back by
// FindSolarDate (day 30 of a 29-day month is none). The holiday file in the
// repository, read here without the parser: the lookup of every day of
// 2003..2027 gives exactly its line, or none; days without data look as they
// did before holidays were known (the pages against an empty schedule differ
// only in badges, the listed days each once in its month, and panel line 3).
// The user's lunar days land by the yearly rules on every lunar date, and a
// set of days with every rule in it is found by page as by date, and
// exported on the days the window shows them.
TEST(Sweep, EveryPage)
{
    std::ifstream file(QOV_SHIPPED_HOLIDAYS, std::ios::binary);
    ASSERT_TRUE(file) << QOV_SHIPPED_HOLIDAYS;
    std::string all;
    std::map<std::string, std::string> expected;  // ISO date -> kind and name
    for (std::string line; std::getline(file, line); all += line + '\n') {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = line.find('\t', tab1 + 1);
        ASSERT_NE(tab2, std::string::npos) << line;
        expected[line.substr(0, tab1)] =
            line.substr(tab1 + 1, tab2 - tab1 - 1) + line.substr(tab2 + 1);
    }
    EXPECT_GT(expected.size(), 700u);
    EXPECT_EQ(Join(ParseHolidayFile(all).messages), "");

    const HolidayTable& shipped = HolidayTable::Shipped();
    const HolidayTable none;
    std::size_t listed = 0, found = 0;
    long long lunarDays = 0;
    LunarDate previous{};
    SolarDate previousDate{};
    const MyDayList myDays({Lunar(4, 30, true, 1948, "外婆生日"), Lunar(12, 30, false, 0, "除夕"),
        Lunar(1, 1, false, 0, "春节"), Lunar(6, 15, true, 2000), Gregorian(2, 29, 0, "闰日"),
        Gregorian(12, 31, 1999, "年末"), Gregorian(1, 1, 0, "元旦")});
    std::vector<DayItem> items;
    for (const WeekStart start : {WeekStart::Sunday, WeekStart::Monday})
        for (int y = 1899; y <= 2101; ++y) {
            for (int m = (y == 1899 ? 12 : 1); m <= (y == 2101 ? 2 : 12); ++m) {
                const MonthPage page(y, m, (y * 7 + m * 5) % DaysInMonth(y, m) + 1, start);
                // The facts of each day once, from the Sunday-first pages.
                const bool sunday = start == WeekStart::Sunday;
                const PagePicture picture = PagePictureTexts(page);
                const bool holidays = y >= 2003 && y <= 2027;
                const PagePicture without = holidays ? PagePictureTexts(page, none) : picture;
                const std::string ym =
                    std::to_string(y) + (m < 10 ? "-0" : "-") + std::to_string(m);
                SCOPED_TRACE(ym + (sunday ? " Sunday" : " Monday"));
                ASSERT_EQ(picture.watermark.year + '-' + picture.watermark.month, ym);
                ASSERT_EQ(picture.weekStart, start);
                const long long first = Days(picture.cells[0].date);
                const auto mine = myDays.OnPage(picture.cells[0].date);
                // A Sunday or a Monday, and the 1st in the first row.
                ASSERT_EQ(((first + 4) % 7 + 7) % 7, static_cast<int>(start));
                ASSERT_LT(page.LeadingDays(), 7);
                ASSERT_EQ(picture.cells[static_cast<std::size_t>(page.LeadingDays())].date,
                    (SolarDate{y, m, 1}));
                int saturdays = 0;
                for (std::size_t i = 0; i < picture.cells.size(); ++i) {
                    const DayCell& c = picture.cells[i];
                    const std::string iso = IsoDate(c.date);
                    SCOPED_TRACE(iso);
                    const LunarDate l = ToLunar(c.date.year, c.date.month, c.date.day);
                    const bool lunar = HasLunarDate(l);
                    ASSERT_EQ(Days(c.date), first + static_cast<long long>(i));
                    ASSERT_EQ(c.inMonth, c.date.month == m);
                    ASSERT_EQ(c.dayText, std::to_string(c.date.day));
                    ASSERT_LE(c.lowerText.size(), 12u);
                    using enum LowerTextSource;
                    ASSERT_EQ(c.lowerText.empty(), c.source == None);
                    const bool fromLunar =
                        c.source == LunarFestival || c.source == LunarMonth || c.source == LunarDay;
                    ASSERT_TRUE(lunar ? !c.lowerText.empty() : !fromLunar);
                    // Sundays red, Saturdays green and red by turns, neighbouring days grey.
                    const int weekday = WeekdayOfColumn(start, static_cast<int>(i % 7));
                    ASSERT_EQ(ColumnOfWeekday(start, weekday), static_cast<int>(i % 7));
                    const Rgb day = !c.inMonth ? colors::Grey
                        : weekday == 0         ? colors::Red
                        : weekday < 6          ? colors::Black
                        : saturdays++ % 2 == 0 ? colors::Green
                                               : colors::Red;
                    ASSERT_EQ(c.dayColor, day);
                    ASSERT_EQ(c.selected, c.inMonth && c.date == page.Date());
                    const std::vector<MyDayHit> hits = myDays.On(c.date);
                    ASSERT_EQ(mine[i], hits.empty() ? -1 : hits.front().day - myDays.Days().data());
                    // Badges, paler in the grey neighbouring cells.
                    const DayOff kind = shipped.Lookup(c.date).kind;
                    ASSERT_EQ(c.dayOff, kind);
                    if (kind != DayOff::None) {
                        const bool rest = kind == DayOff::Rest;
                        ASSERT_EQ(c.badgeColor,
                            c.inMonth ? (rest ? colors::RestBadge : colors::WorkBadge)
                                      : (rest ? colors::PaleRestBadge : colors::PaleWorkBadge));
                    }
                    const DayCell& b = without.cells[i];
                    ASSERT_TRUE(b.dayOff == DayOff::None || !holidays);
                    ASSERT_TRUE(c.dayText == b.dayText && c.lowerText == b.lowerText
                        && c.dayColor == b.dayColor && c.lowerColor == b.lowerColor);

                    const Rect r = CellRect(static_cast<int>(i / 7), static_cast<int>(i % 7));
                    const int x = (r.left + r.right) / 2, py = (r.top + r.bottom) / 2;
                    const std::optional<DayTip> tip = TipTexts(page, x, py);
                    ASSERT_TRUE(tip.has_value());
                    ASSERT_EQ(tip->date, c.date);
                    ASSERT_EQ(tip->line3.empty(), !lunar);
                    const MonthPage after = page.SelectCell(*MonthPage::HitTest(x, py));
                    ASSERT_TRUE(after == page || after.Date() == c.date);
                    ASSERT_EQ(after.FirstColumn(), start);
                    if (!c.inMonth || !sunday) continue;
                    items.clear();
                    AppendDayItems(c.date, KindBit(ItemKind::MyDay), shipped, myDays, items);
                    ASSERT_EQ(items.size(), hits.size());
                    ASSERT_TRUE(hits.empty() || items[0].summary == MyDayText(hits[0]));

                    if (holidays) {
                        const auto it = expected.find(iso);
                        found += it != expected.end();
                        ASSERT_EQ(
                            Show(shipped.Lookup(c.date)), it == expected.end() ? "" : it->second);
                        listed += kind != DayOff::None;
                    }
                    if (lunar) {
                        ++lunarDays;
                        ASSERT_EQ(FindSolarDate(l.year, l.month, l.day, l.isLeap), c.date);
                        ASSERT_FALSE(l.day == 1 && previous.day == 29
                            && FindSolarDate(previous.year, previous.month, 30, previous.isLeap));
                        // Set in the leap month, a day falls in the ordinary month
                        // in the years without that leap month; day 30 on a 29th.
                        for (const bool leap : {false, true}) {
                            const bool inLeap = leap && LeapMonth(l.year) == l.month;
                            ASSERT_TRUE(inLeap != l.isLeap
                                || MyDayDate(Lunar(l.month, l.day, leap), l.year) == c.date);
                        }
                        ASSERT_TRUE(l.day != 1 || previous.day != 29
                            || MyDayDate(Lunar(previous.month, 30, previous.isLeap), previous.year)
                                == previousDate);
                        previous = l;
                        previousDate = c.date;
                    }
                    const DayPanel panel = DayPanelTexts(c.date);
                    ASSERT_EQ(panel.lines[PanelDayLine].Text(), c.dayText);
                    // Two sectional terms, two characters each, around the grey distances.
                    const std::vector<TextRun>& terms = panel.lines[4].runs;
                    ASSERT_EQ(terms.size(), 3u);
                    ASSERT_EQ(terms[0].text.size() + terms[2].text.size(), 8u);
                    ASSERT_EQ(terms[1].color, colors::Grey);
                    ASSERT_EQ(panel.lines[5].Text().empty(), !lunar);
                    ASSERT_EQ(panel.lines[6].Text().size(), 24u);  // "XX(X)年 XX月 XX日", GBK
                    const std::string list = panel.lines[7].Text();
                    ASSERT_TRUE(list.size() <= 20
                        || (list.size() <= 25 && list.ends_with("\xA1\xAD\xA1\xAD")));  // "……"
                }
                const bool holiday = shipped.Lookup(page.Date()).kind != DayOff::None;
                for (std::size_t k = 0; holidays && sunday && k < picture.panel.lines.size(); ++k)
                    ASSERT_TRUE((k == 3 && holiday)
                        || picture.panel.lines[k].Text() == without.panel.lines[k].Text())
                        << "line " << k;
            }
        }
    EXPECT_EQ(found, expected.size());
    EXPECT_EQ(listed, shipped.Days().size());
    EXPECT_EQ(lunarDays, DaysFromCivil(2101, 1, 28) - DaysFromCivil(1900, 1, 31) + 1);
}

}  // namespace
}  // namespace qov
