// The holiday schedule: the shipped file day by day, the user file's parser
// (every kind of bad line, and random and mutated lines), overrides, and the
// holiday parts of the cell, panel and tip texts. UTF-8 literals here, as the
// holiday names are UTF-8 in the models.
#include "model/holidays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "model/daytexts.h"
#include "model/holidaycn.h"

namespace qov {
namespace {

std::string Show(const HolidayInfo& info)
{
    const char* kind = info.kind == DayOff::Rest ? "休" : info.kind == DayOff::Work ? "班" : "";
    return kind + std::string(info.name);
}

// "2027-01-01 休 元旦" for each line, ';' after each.
std::string Show(const std::vector<HolidayLine>& lines)
{
    std::string text;
    for (const HolidayLine& l : lines) {
        const char* kind = l.kind == HolidayLine::Kind::Rest ? "休"
            : l.kind == HolidayLine::Kind::Work              ? "班"
                                                             : "-";
        text += IsoDate(l.date) + ' ' + kind + ' ' + l.name + ';';
    }
    return text;
}

std::string Join(const std::vector<std::string>& messages)
{
    std::string text;
    for (const std::string& m : messages) text += m + '\n';
    return text;
}

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
         "holidays.tsv:1: bad date '2027-02-30'\n"},
        {"BadShape", "2027-2-3\t休\tx\n", "", "holidays.tsv:1: bad date '2027-2-3' (expected YYYY-MM-DD)\n"},
        {"Feb29CommonYear", "2027-02-29\t休\tx\n2028-02-29\t休\tx\n", "2028-02-29 休 x;",
         "holidays.tsv:1: bad date '2027-02-29'\n"},
        {"YearOutOfRange", "2101-01-01\t休\tx\n1899-12-31\t班\tx\n", "",
         "holidays.tsv:1: year outside 1900..2100\nholidays.tsv:2: year outside 1900..2100\n"},
        {"UnknownKind", "2027-01-01\t假\t元旦\n2027-01-02\t\t元旦\n", "",
         "holidays.tsv:1: unknown kind (expected 休, 班 or -)\n"
         "holidays.tsv:2: missing kind (expected 休, 班 or -)\n"},
        {"MissingName", "2027-01-01\t休\n2027-01-02\t班\t  \n", "",
         "holidays.tsv:1: missing name\nholidays.tsv:2: missing name\n"},
        {"Name32Kept33Refused", "2027-01-01\t休\t" + name32 + "\n2027-01-02\t休\t" + name32 + "z\n",
         "2027-01-01 休 " + name32 + ";", "holidays.tsv:2: name longer than 32 characters\n"},
        {"Name32CjkCharacters", "2027-01-01\t休\t一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二\n",
         "2027-01-01 休 一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二;", ""},
        {"ControlCharacter", "2027-01-01\t休\ta\tb\n2027-01-02\t休\ta\x7f\n", "",
         "holidays.tsv:1: control character in the name\nholidays.tsv:2: control character in the name\n"},
        {"InvalidUtf8", "2027-01-01\t休\t\xC0\x80\n2027-01-02\t休\t\xED\xA0\x80\n2027-01-03\t休\t\xE5\x85\n"
                        "2027-01-04\t休\t\x80\n2027-01-05\t休\t\xF4\x90\x80\x80\n2027-01-06\t休\t\xF0\x9F\x8E\x86\n",
         "2027-01-06 休 \xF0\x9F\x8E\x86;",
         "holidays.tsv:1: invalid UTF-8\nholidays.tsv:2: invalid UTF-8\nholidays.tsv:3: invalid UTF-8\n"
         "holidays.tsv:4: invalid UTF-8\nholidays.tsv:5: invalid UTF-8\n"},
        {"DuplicateLaterWins", "2027-01-01\t休\ta\n2027-01-02\t休\tb\n2027-01-01\t班\tc\n",
         "2027-01-01 班 c;2027-01-02 休 b;",
         "holidays.tsv:3: duplicate date 2027-01-01 (also on line 1); this line wins\n"},
        {"Line200Kept201Refused", longLine + "\n" + longLine + " \n",
         "2027-01-02 休 元旦;",
         "holidays.tsv:2: line longer than 200 bytes\n"},
        {"BinaryGarbageBlanksAndDash", std::string("\0\xFF\n\t\t\n-", 7), "",
         "holidays.tsv:1: invalid UTF-8\nholidays.tsv:3: bad date '-' (expected YYYY-MM-DD)\n"}};
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
                                               "2003-05-01\t-\n");         // nothing to remove
    const HolidayTable& shipped = HolidayTable::Shipped();
    const HolidayTable table = shipped.WithOverrides(user.lines);
    // Downloads: 2026 with two days (2026-10-09, a Friday 班, is left out),
    // 2025 not announced.
    const auto read = [](const char* json, int year) { return *ReadHolidayCn(json, year).schedule; };
    const HolidayTable layered = LayerSchedules(shipped,
        {read(R"({"year": 2026, "papers": [], "days": [
            {"name": "元旦", "date": "2025-12-31", "isOffDay": true},
            {"name": "x", "date": "2026-10-03", "isOffDay": false},
            {"name": "x", "date": "2026-10-09", "isOffDay": false}]})", 2026),
            read(R"({"year": 2025, "papers": [], "days": []})", 2025)});
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
        {"DownloadLastDecember", layered, {2025, 12, 31}, "休元旦"},
        {"EmptyDownloadKeepsYear", layered, {2025, 10, 8}, "休国庆节、中秋节"},
        {"SpringFestivalMakeUpSunday2025", shipped, {2025, 1, 26}, "班春节"},
        {"NationalDayEighthDay2025", shipped, {2025, 10, 8}, "休国庆节、中秋节"},
        {"ExtendedSpringFestival2020", shipped, {2020, 2, 2}, "休春节"},  // extended for the epidemic
        {"VictoryDay2015", shipped, {2015, 9, 3}, "休抗日战争暨世界反法西斯战争胜利70周年纪念日"},
        {"MakeUpSaturday2026", shipped, {2026, 2, 28}, "班春节"},
        {"NationalDay2026", shipped, {2026, 10, 1}, "休国庆节"},
        {"MakeUpSaturdayOct2026", shipped, {2026, 10, 10}, "班国庆节"},
        {"FridayAfterNationalDay2026", shipped, {2026, 10, 9}, ""},
        {"OrdinarySunday", shipped, {2026, 10, 18}, ""},
        {"BeforeFirstYear", shipped, {2003, 10, 1}, ""},
        {"NotYetAnnounced", shipped, {2027, 10, 1}, ""},
        {"InvalidDate", shipped, {2026, 2, 30}, ""},
        {"MonthZero", shipped, {2026, 0, 1}, ""},
        {"FarPast", shipped, {-5, 1, 1}, ""},
        {"Added", table, {2027, 1, 1}, "休元旦"}, {"AddedBetween", table, {2026, 10, 9}, "休国庆节"},
        {"Replaced", table, {2026, 10, 10}, "休补假"}, {"Removed", table, {2026, 10, 1}, ""},
        {"Kept", table, {2026, 10, 2}, "休国庆节"}, {"KeptFirstYear", table, {2004, 1, 1}, "休元旦"},
        {"StillNothing", table, {2003, 5, 1}, ""}};
    // clang-format on
    for (const auto& r : rows) EXPECT_EQ(Show(r.in.Lookup(r.date)), r.expected) << r.name;
    EXPECT_EQ(shipped.Days().size() + 2, table.Days().size() + 1);
}

// Whatever the bytes, the parser answers: at most one message a line, every
// line it keeps is sound, and the table built from them finds each one.
TEST(Holidays, RandomAndMutatedLines)
{
    std::mt19937 random(20261001);
    const auto below = [&](std::size_t n) {
        return static_cast<std::size_t>(
            std::uniform_int_distribution<std::size_t>(0, n - 1)(random));
    };
    const std::vector<HolidayLine> shipped = HolidayTable::Shipped().Days();
    const std::string alphabet = std::string("0123456789-\t\n\r #休班") + '\0' + "\xC0\x80\xFF\xE4";
    for (int round = 0; round < 1000; ++round) {
        std::string input;
        for (std::size_t n = below(8); n > 0; --n) {
            const HolidayLine& l = shipped[below(shipped.size())];
            std::string line = IsoDate(l.date)
                + (l.kind == HolidayLine::Kind::Rest ? "\t休\t" : "\t班\t") + l.name;
            for (std::size_t k = below(4); k > 0;
                 --k) {  // mutations: replace, insert, erase a byte
                const std::size_t at = below(line.size() + 1);
                const char c = below(3) == 0 ? static_cast<char>(below(256))
                                             : alphabet[below(alphabet.size())];
                if (k % 3 == 0 && at < line.size())
                    line[at] = c;
                else if (k % 3 == 1)
                    line.insert(at, 1, c);
                else if (at < line.size())
                    line.erase(at, 1);
            }
            input += line + '\n';
        }
        if (round % 3 == 0)  // pure noise
            for (std::size_t n = below(300); n > 0; --n) input += static_cast<char>(below(256));

        const HolidayParse parse = ParseHolidayFile(input);
        const auto lineCount =
            static_cast<std::size_t>(std::count(input.begin(), input.end(), '\n')) + 1;
        ASSERT_LE(parse.messages.size() + parse.lines.size(), lineCount) << input;
        for (const std::string& m : parse.messages) ASSERT_EQ(m.rfind("holidays.tsv:", 0), 0u) << m;
        const HolidayTable table = HolidayTable::Shipped().WithOverrides(parse.lines);
        for (const HolidayLine& l : parse.lines) {
            ASSERT_GE(l.date.day, 1) << input;
            ASSERT_LE(l.date.day, DaysInMonth(l.date.year, l.date.month)) << input;
            ASSERT_LE(l.name.size(), 4 * 32u) << input;  // 32 characters of up to 4 bytes
            const HolidayInfo info = table.Lookup(l.date);
            if (l.kind == HolidayLine::Kind::Remove) {
                ASSERT_EQ(info.kind, DayOff::None) << input;
            } else {
                ASSERT_EQ(info.name, l.name) << input;
                ASSERT_EQ(info.kind == DayOff::Rest, l.kind == HolidayLine::Kind::Rest) << input;
            }
        }
    }
}

// Panel line 3's holiday run and the start of the tip's note.
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
        {"NoData", {2026, 10, 9}, "", true, ""}};
    // clang-format on
    const HolidayTable none;
    for (const auto& r : rows) {
        const PanelLine plain = DayPanelTexts(r.date, none).lines[3];
        const PanelLine line = DayPanelTexts(r.date).lines[3];
        ASSERT_EQ(line.runs.size(), *r.run ? 2u : 1u) << r.name;
        if (*r.run) {
            EXPECT_EQ(line.runs[1].text, r.run) << r.name;
            EXPECT_TRUE(line.runs[1].utf8) << r.name;
        }
        // The festival and term run unchanged (one space before the holiday), or
        // left out where the holiday bears the festival's name.
        if (r.festivalKept)
            EXPECT_EQ(line.runs[0].text.substr(0, plain.runs[0].text.size()), plain.runs[0].text)
                << r.name;
        else
            EXPECT_EQ(line.runs[0].text, "") << r.name;
        EXPECT_EQ(DayTipTexts(r.date).holiday, r.tip) << r.name;
    }
}

// Every line of the file in the repository, read here without the parser:
// the lookup of every day of 2003..2027 gives exactly its line, or none. Days
// without data look as they did before holidays were known: every page of
// 2003..2027 against an empty schedule, differing only in badges (the listed
// days, each once in its month) and panel line 3.
TEST(HolidayTexts, ShippedFileDayByDayAndDaysWithoutDataUnchanged)
{
    std::ifstream file(QOV_SHIPPED_HOLIDAYS, std::ios::binary);
    ASSERT_TRUE(file) << QOV_SHIPPED_HOLIDAYS;
    std::stringstream all;
    all << file.rdbuf();
    std::map<std::string, std::string> expected;  // ISO date -> kind and name
    std::istringstream lines(all.str());
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = line.find('\t', tab1 + 1);
        ASSERT_NE(tab2, std::string::npos) << line;
        expected[line.substr(0, tab1)] =
            line.substr(tab1 + 1, tab2 - tab1 - 1) + line.substr(tab2 + 1);
    }
    EXPECT_GT(expected.size(), 700u);
    EXPECT_EQ(Join(ParseHolidayFile(all.str()).messages), "");

    const HolidayTable none;
    std::size_t listed = 0, found = 0;
    for (int y = 2003; y <= 2027; ++y)
        for (int m = 1; m <= 12; ++m) {
            const MonthPage page(y, m, 1 + (y + m) % 28);
            const PagePicture with = PagePictureTexts(page);
            const PagePicture without = PagePictureTexts(page, none);
            for (std::size_t i = 0; i < with.cells.size(); ++i) {
                const DayCell& a = with.cells[i];
                const DayCell& b = without.cells[i];
                if (a.inMonth) {
                    const auto it = expected.find(IsoDate(a.date));
                    found += it != expected.end();
                    ASSERT_EQ(Show(HolidayTable::Shipped().Lookup(a.date)),
                        it == expected.end() ? "" : it->second)
                        << IsoDate(a.date);
                }
                ASSERT_EQ(b.dayOff, DayOff::None);
                ASSERT_EQ(a.dayOff, HolidayTable::Shipped().Lookup(a.date).kind) << IsoDate(a.date);
                if (a.dayOff != DayOff::None) {  // paler in the grey neighbouring cells
                    const bool rest = a.dayOff == DayOff::Rest;
                    ASSERT_EQ(a.badgeColor,
                        a.inMonth ? (rest ? colors::RestBadge : colors::WorkBadge)
                                  : (rest ? colors::PaleRestBadge : colors::PaleWorkBadge))
                        << IsoDate(a.date);
                }
                ASSERT_TRUE(a.dayText == b.dayText && a.lowerText == b.lowerText
                    && a.dayColor == b.dayColor && a.lowerColor == b.lowerColor)
                    << IsoDate(a.date);
                listed += a.inMonth && a.dayOff != DayOff::None;
            }
            const bool holiday = HolidayTable::Shipped().Lookup(page.Date()).kind != DayOff::None;
            for (std::size_t k = 0; k < with.panel.lines.size(); ++k) {
                if (k == 3 && holiday) continue;
                ASSERT_EQ(with.panel.lines[k].Text(), without.panel.lines[k].Text())
                    << IsoDate(page.Date()) << " line " << k;
            }
        }
    EXPECT_EQ(found, expected.size());
    EXPECT_EQ(listed, HolidayTable::Shipped().Days().size());
}

}  // namespace
}  // namespace qov
