// The date field's digit state machine: every transition with its clamping,
// the intermediate texts a half-typed field shows, focus loss and click zones.
#include "model/dateentry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using qov::DateEntry;
using qov::EntryResult;
using qov::SolarDate;

constexpr int Year = DateEntry::YearField;
constexpr int Month = DateEntry::MonthField;
constexpr int Day = DateEntry::DayField;

char ResultCode(EntryResult r)
{
    switch (r) {
    case EntryResult::Ignored: return 'i';
    case EntryResult::Continue: return 'c';
    case EntryResult::Complete: return 'K';
    }
    return '?';
}

// Start from `start`, pick `field` (0: none), type `keys`; after each key the
// text and the result ('c' continue, 'K' complete, 'i' ignored) are checked,
// then the active field and the digits still expected.
struct TypingRow {
    const char* name;
    SolarDate start;
    int field;
    std::string keys;
    std::vector<std::string> texts;
    std::string results;
    int endField;
    int endDigitsLeft;
};

void PrintTo(const TypingRow& row, std::ostream* os) { *os << row.name; }

// Test names from the rows' names.
struct RowName {
    template <class Row>
    std::string operator()(const testing::TestParamInfo<Row>& param) const
    {
        return param.param.name;
    }
};

class Typing : public testing::TestWithParam<TypingRow> {};

TEST_P(Typing, TextsResultsAndState)
{
    const TypingRow& row = GetParam();
    ASSERT_EQ(row.keys.size(), row.texts.size());
    ASSERT_EQ(row.keys.size(), row.results.size());
    DateEntry entry(row.start);
    if (row.field != 0) {
        ASSERT_TRUE(entry.SelectField(row.field));
    }
    for (std::size_t i = 0; i < row.keys.size(); ++i) {
        const EntryResult r = entry.Type(static_cast<char32_t>(row.keys[i]));
        EXPECT_EQ(ResultCode(r), row.results[i]) << "key " << i << " '" << row.keys[i] << "'";
        EXPECT_EQ(entry.Text(), row.texts[i]) << "key " << i << " '" << row.keys[i] << "'";
    }
    EXPECT_EQ(entry.ActiveField(), row.endField);
    EXPECT_EQ(entry.DigitsLeft(), row.endDigitsLeft);
}

// clang-format off
const TypingRow TypingRows[] = {
    // Year: 1000 d, + 100 d, + 10 d, + d; the month follows.
    {"Year2009", {2012, 7, 15}, Year, "2009",
     {"2000-07-15", "2000-07-15", "2000-07-15", "2009-07-15"}, "cccc", Month, 2},
    {"YearDigitsBuildUp", {2012, 7, 15}, Year, "1234",
     {"1000-07-15", "1200-07-15", "1230-07-15", "1234-07-15"}, "cccc", Month, 2},
    {"Year0000ClampsTo0001", {2012, 7, 15}, Year, "0000",
     {"0000-07-15", "0000-07-15", "0000-07-15", "0001-07-15"}, "cccc", Month, 2},
    {"Year9999", {2012, 7, 15}, Year, "9999",
     {"9000-07-15", "9900-07-15", "9990-07-15", "9999-07-15"}, "cccc", Month, 2},
    // Leaving 29 February for a common year clamps the day once the year is in.
    {"YearCommonClampsFeb29", {2008, 2, 29}, Year, "2009",
     {"2000-02-29", "2000-02-29", "2000-02-29", "2009-02-28"}, "cccc", Month, 2},
    {"YearHalfTypedShowsNoClamp", {2008, 2, 29}, Year, "19",
     {"1000-02-29", "1900-02-29"}, "cc", Year, 2},
    // Month: "1" and "0" wait, "2".."9" complete at once.
    {"Month1Then5Gives12", {2009, 3, 15}, Month, "15", {"2009-10-15", "2009-12-15"}, "cc", Day, 2},
    {"Month1Then0Gives10", {2009, 3, 15}, Month, "10", {"2009-10-15", "2009-10-15"}, "cc", Day, 2},
    {"Month1Then1Gives11", {2009, 3, 15}, Month, "11", {"2009-10-15", "2009-11-15"}, "cc", Day, 2},
    {"Month1Then2Gives12", {2009, 3, 15}, Month, "12", {"2009-10-15", "2009-12-15"}, "cc", Day, 2},
    {"Month0Then0Gives01", {2009, 3, 15}, Month, "00", {"2009-00-15", "2009-01-15"}, "cc", Day, 2},
    {"Month0Then9Gives09", {2009, 3, 15}, Month, "09", {"2009-00-15", "2009-09-15"}, "cc", Day, 2},
    {"Month7Alone", {2009, 3, 15}, Month, "7", {"2009-07-15"}, "c", Day, 2},
    {"Month2Alone", {2009, 3, 15}, Month, "2", {"2009-02-15"}, "c", Day, 2},
    {"Month9Alone", {2009, 3, 15}, Month, "9", {"2009-09-15"}, "c", Day, 2},
    // A one-digit month keeps a day that is too large until the day is typed.
    {"Month2KeepsDay31", {2009, 1, 31}, Month, "2", {"2009-02-31"}, "c", Day, 2},
    // A two-digit month is clamped at once, day included.
    {"Month02ClampsDay31", {2009, 1, 31}, Month, "02", {"2009-00-31", "2009-02-28"}, "cc", Day, 2},
    {"Month11ClampsDay31", {2009, 1, 31}, Month, "11", {"2009-10-31", "2009-11-30"}, "cc", Day, 2},
    // Day: "0".."3" wait for a second digit, "4".."9" complete at once.
    {"Day3Then5InCommonFeb", {2009, 2, 10}, Day, "35", {"2009-02-30", "2009-02-28"}, "cK", Day, 0},
    {"Day3Then5InLeapFeb", {2008, 2, 10}, Day, "35", {"2008-02-30", "2008-02-29"}, "cK", Day, 0},
    {"Day0Then0Gives01", {2009, 2, 10}, Day, "00", {"2009-02-00", "2009-02-01"}, "cK", Day, 0},
    {"Day0Then7Gives07", {2009, 2, 10}, Day, "07", {"2009-02-00", "2009-02-07"}, "cK", Day, 0},
    {"Day1Then9Gives19", {2009, 2, 10}, Day, "19", {"2009-02-10", "2009-02-19"}, "cK", Day, 0},
    {"Day2Then9InCommonFeb", {2009, 2, 10}, Day, "29", {"2009-02-20", "2009-02-28"}, "cK", Day, 0},
    {"Day3Then1InApril", {2009, 4, 10}, Day, "31", {"2009-04-30", "2009-04-30"}, "cK", Day, 0},
    {"Day3Then1InMay", {2009, 5, 10}, Day, "31", {"2009-05-30", "2009-05-31"}, "cK", Day, 0},
    {"Day5Alone", {2009, 2, 10}, Day, "5", {"2009-02-05"}, "K", Day, 0},
    {"Day4Alone", {2009, 2, 10}, Day, "4", {"2009-02-04"}, "K", Day, 0},
    // After completion each digit adds to the day, within the month, and
    // completes again.
    {"DigitsAfterCompletionAdd", {2009, 2, 10}, Day, "5999", {"2009-02-05", "2009-02-14", "2009-02-23", "2009-02-28"},
     "KKKK", Day, 0},
    {"ZeroAfterCompletionKeepsDay", {2009, 7, 10}, Day, "90", {"2009-07-09", "2009-07-09"}, "KK", Day, 0},
    // A whole date, field after field.
    {"WholeDate20090701", {2012, 12, 31}, Year, "20090701",
     {"2000-12-31", "2000-12-31", "2000-12-31", "2009-12-31", "2009-00-31", "2009-07-31", "2009-07-00", "2009-07-01"},
     "cccccccK", Day, 0},
    {"WholeDateOneDigitFields", {2012, 12, 31}, Year, "201125",
     {"2000-12-31", "2000-12-31", "2010-12-31", "2011-12-31", "2011-02-31", "2011-02-05"}, "cccccK", Day, 0},
    {"WholeDateLeapDay", {2009, 1, 1}, Year, "20080229",
     {"2000-01-01", "2000-01-01", "2000-01-01", "2008-01-01", "2008-00-01", "2008-02-01", "2008-02-20", "2008-02-29"},
     "cccccccK", Day, 0},
    // Non-digits change nothing, wherever they come.
    {"LettersAndControlsIgnored", {2009, 7, 1}, Year, "a\b\x03\x16\x18 -",
     {"2009-07-01", "2009-07-01", "2009-07-01", "2009-07-01", "2009-07-01", "2009-07-01", "2009-07-01"}, "iiiiiii",
     Year, 4},
    {"LetterBetweenYearDigits", {2009, 7, 1}, Year, "2x0", {"2000-07-01", "2000-07-01", "2000-07-01"}, "cic", Year, 2},
    // With no field chosen yet, the first digit starts the year.
    {"NoFieldStartsYear", {2009, 7, 1}, 0, "19", {"1000-07-01", "1900-07-01"}, "cc", Year, 2},
    {"NoFieldLetterIgnored", {2009, 7, 1}, 0, "x", {"2009-07-01"}, "i", 0, 0},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(DateEntry, Typing, testing::ValuesIn(TypingRows),
                         RowName{});

// SetDate with no entry in progress brings any date into range.
struct SetDateRow {
    const char* name;
    SolarDate in;
    std::string text;
};

class SetDateRange : public testing::TestWithParam<SetDateRow> {};

TEST_P(SetDateRange, ClampsWhenIdle)
{
    DateEntry entry;
    entry.SetDate(GetParam().in.year, GetParam().in.month, GetParam().in.day);
    EXPECT_EQ(entry.Text(), GetParam().text);
    const SolarDate got = entry.GetDate();
    EXPECT_EQ(entry.Text().size(), 10u);
    EXPECT_GE(got.day, 1);
    EXPECT_LE(got.day, qov::DaysInMonth(got.year, got.month));
}

const SetDateRow SetDateRows[] = {
    {"Plain", {2009, 7, 1}, "2009-07-01"},
    {"YearZero", {0, 7, 1}, "0001-07-01"},
    {"YearNegative", {-5, 7, 1}, "0001-07-01"},
    {"YearFiveDigits", {12345, 7, 1}, "9999-07-01"},
    {"DayZero", {2009, 7, 0}, "2009-07-01"},
    {"Day31InApril", {2009, 4, 31}, "2009-04-30"},
    {"Feb29CommonYear", {1900, 2, 29}, "1900-02-28"},
    {"Feb29LeapYear", {2000, 2, 29}, "2000-02-29"},
    {"MonthZero", {2009, 0, 15}, "2009-01-15"},
    {"MonthThirteen", {2009, 13, 31}, "2009-12-31"},
};

INSTANTIATE_TEST_SUITE_P(DateEntry, SetDateRange, testing::ValuesIn(SetDateRows),
                         RowName{});

// Focus loss: the date comes into range; the field in progress keeps going.
TEST(DateEntryNormalize, HalfTypedYearContinuesAtTens)
{
    DateEntry entry({2012, 7, 15});
    entry.SelectField(Year);
    entry.Type(U'2');
    entry.Type(U'0');
    entry.Normalize();
    EXPECT_EQ(entry.Text(), "2000-07-15");
    EXPECT_EQ(entry.ActiveField(), Year);
    EXPECT_EQ(entry.DigitsLeft(), 2);
    entry.Type(U'1');
    entry.Type(U'7');
    EXPECT_EQ(entry.Text(), "2017-07-15");
    EXPECT_EQ(entry.ActiveField(), Month);
}

struct NormalizeRow {
    const char* name;
    SolarDate start;
    int field;
    std::string keys;
    std::string textAfterKeys;
    std::string textAfterNormalize;
    int endField;
    int digitsLeft;
};

class NormalizeOnFocusLoss : public testing::TestWithParam<NormalizeRow> {};

TEST_P(NormalizeOnFocusLoss, BringsIntoRangeKeepsProgress)
{
    const NormalizeRow& row = GetParam();
    DateEntry entry(row.start);
    entry.SelectField(row.field);
    for (const char c : row.keys) entry.Type(static_cast<char32_t>(c));
    EXPECT_EQ(entry.Text(), row.textAfterKeys);
    entry.Normalize();
    EXPECT_EQ(entry.Text(), row.textAfterNormalize);
    EXPECT_EQ(entry.ActiveField(), row.endField);
    EXPECT_EQ(entry.DigitsLeft(), row.digitsLeft);
}

const NormalizeRow NormalizeRows[] = {
    {"Year0HalfTyped", {2012, 7, 15}, Year, "0", "0000-07-15", "0001-07-15", Year, 3},
    {"Month0HalfTyped", {2012, 7, 15}, Month, "0", "2012-00-15", "2012-01-15", Month, 1},
    {"Month2WithDay31", {2009, 1, 31}, Month, "2", "2009-02-31", "2009-02-28", Day, 2},
    {"Day30InFebruary", {2009, 2, 1}, Day, "3", "2009-02-30", "2009-02-28", Day, 1},
    {"Day30InLeapFebruary", {2008, 2, 1}, Day, "3", "2008-02-30", "2008-02-29", Day, 1},
    {"Day00", {2009, 2, 1}, Day, "0", "2009-02-00", "2009-02-01", Day, 1},
    {"NothingToDo", {2009, 2, 1}, Year, "", "2009-02-01", "2009-02-01", Year, 4},
};

INSTANTIATE_TEST_SUITE_P(DateEntry, NormalizeOnFocusLoss, testing::ValuesIn(NormalizeRows),
                         RowName{});

// A day picked while the month is half typed still completes a valid date.
TEST(DateEntryCompletion, HalfTypedMonthIsBroughtIntoRange)
{
    DateEntry entry({2009, 7, 15});
    entry.SelectField(Month);
    entry.Type(U'0');  // month 00, waiting for the second digit
    entry.SelectField(Day);
    EXPECT_EQ(entry.Type(U'5'), EntryResult::Complete);
    const SolarDate d = entry.GetDate();
    EXPECT_EQ(d, (SolarDate{2009, 1, 5}));
    EXPECT_EQ(entry.Text(), "2009-01-05");
}

TEST(DateEntryCompletion, HalfTypedYearZeroIsBroughtIntoRange)
{
    DateEntry entry({2009, 7, 15});
    entry.SelectField(Year);
    entry.Type(U'0');
    entry.SelectField(Day);
    EXPECT_EQ(entry.Type(U'9'), EntryResult::Complete);
    EXPECT_EQ(entry.GetDate(), (SolarDate{1, 7, 9}));
}

// Selecting a field restarts its digits and gives its character range.
struct SelectRow {
    const char* name;
    int field;
    bool accepted;
    qov::TextRange range;
    int digitsLeft;
};

class SelectField : public testing::TestWithParam<SelectRow> {};

TEST_P(SelectField, RangeAndDigits)
{
    const SelectRow& row = GetParam();
    DateEntry entry({2009, 7, 1});
    entry.SelectField(Day);
    entry.Type(U'1');  // day half typed
    EXPECT_EQ(entry.SelectField(row.field), row.accepted);
    EXPECT_EQ(entry.Selection(), row.range);
    EXPECT_EQ(entry.DigitsLeft(), row.digitsLeft);
}

const SelectRow SelectRows[] = {
    {"Year", Year, true, {0, 4}, 4},
    {"Month", Month, true, {5, 7}, 2},
    {"Day", Day, true, {8, 10}, 2},
    {"ZeroKeepsDayProgress", 0, false, {8, 10}, 1},
    {"FourKeepsDayProgress", 4, false, {8, 10}, 1},
};

INSTANTIATE_TEST_SUITE_P(DateEntry, SelectField, testing::ValuesIn(SelectRows),
                         RowName{});

TEST(DateEntrySelection, NoneBeforeTheFirstChoice)
{
    const DateEntry entry({2009, 7, 1});
    EXPECT_EQ(entry.Selection(), (qov::TextRange{0, 0}));
    EXPECT_FALSE(entry.InProgress());
}

// Click zones: start at each field's first character, span four or two space
// widths, both ends inclusive, first zone wins.
struct ZoneRow {
    const char* name;
    int x;
    int field;
};

class ClickZones : public testing::TestWithParam<ZoneRow> {};

TEST_P(ClickZones, FieldUnderX)
{
    // Characters 8 px wide from x = 3, four spaces 12 px, two spaces 6 px:
    // year 3..15, month 43..49, day 67..73.
    const int starts[3] = {3, 3 + 5 * 8, 3 + 8 * 8};
    EXPECT_EQ(DateEntry::FieldAtX(GetParam().x, starts, 12, 6), GetParam().field);
}

const ZoneRow ZoneRows[] = {
    {"LeftMargin", 2, 0},   {"YearFirst", 3, Year},    {"YearLast", 15, Year},  {"AfterYearZone", 16, 0},
    {"Separator", 38, 0},   {"MonthFirst", 43, Month}, {"MonthLast", 49, Month}, {"AfterMonth", 50, 0},
    {"DayFirst", 67, Day},  {"DayLast", 73, Day},      {"BehindDay", 74, 0},
};

INSTANTIATE_TEST_SUITE_P(DateEntry, ClickZones, testing::ValuesIn(ZoneRows),
                         RowName{});

TEST(DateEntryZones, OverlappingZonesFirstWins)
{
    // Wide spaces make the year zone reach into the month's characters.
    const int starts[3] = {0, 10, 16};
    EXPECT_EQ(DateEntry::FieldAtX(12, starts, 16, 8), Year);
    EXPECT_EQ(DateEntry::FieldAtX(17, starts, 16, 8), Month);
    EXPECT_EQ(DateEntry::FieldAtX(24, starts, 16, 8), Day);
    EXPECT_EQ(DateEntry::FieldAtX(25, starts, 16, 8), 0);
}

TEST(DateEntryFields, StartIndexAndDigitsAgree)
{
    for (int field = Year; field <= Day; ++field) {
        EXPECT_EQ(DateEntry::FieldStartingAt(DateEntry::FieldStart(field)), field);
        DateEntry entry({2009, 7, 1});
        entry.SelectField(field);
        const std::string text = entry.Text();
        const qov::TextRange r = entry.Selection();
        // The selection covers exactly the field's digits.
        for (int i = r.start; i < r.end; ++i) EXPECT_TRUE(text[static_cast<std::size_t>(i)] != '-');
        EXPECT_TRUE(r.end == 10 || text[static_cast<std::size_t>(r.end)] == '-');
        EXPECT_TRUE(r.start == 0 || text[static_cast<std::size_t>(r.start - 1)] == '-');
    }
    EXPECT_EQ(DateEntry::FieldStartingAt(4), 0);
}

// Every date typed in full comes back unchanged from GetDate.
TEST(DateEntrySweep, EveryDayOfLeapAndCommonYearsRoundTrips)
{
    for (const int year : {1900, 2000, 2009, 2024, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= qov::DaysInMonth(year, month); ++day) {
                DateEntry entry({1, 1, 1});
                entry.SelectField(Year);
                char keys[40];
                std::snprintf(keys, sizeof keys, "%.4d%.2d%.2d", year, month, day);
                EntryResult last = EntryResult::Ignored;
                int completions = 0;
                for (const char* k = keys; *k != '\0'; ++k) {
                    last = entry.Type(static_cast<char32_t>(*k));
                    if (last == EntryResult::Complete) ++completions;
                }
                ASSERT_EQ(last, EntryResult::Complete) << keys;
                // Typed as two digits the day always waits for the second one,
                // so completion comes once, with the last digit.
                ASSERT_EQ(completions, 1) << keys;
                ASSERT_EQ(entry.GetDate(), (SolarDate{year, month, day})) << keys;
                ASSERT_EQ(entry.Text(), std::string(keys, 4) + "-" + std::string(keys + 4, 2) + "-" +
                                            std::string(keys + 6, 2));
            }
        }
    }
}

}  // namespace
