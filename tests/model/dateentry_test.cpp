// The date field's digit state machine: transitions with their clamping, the
// texts a half-typed field shows, focus loss, field picks and click zones.
#include "model/dateentry.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace qov {
namespace {

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
        {"Month02Clamps", {2009, 1, 31}, "M02", "scc", "2009-01-31 2009-00-31 2009-02-28 ", Day, 2},
        // Day: "0".."3" wait, "4".."9" complete at once; the sum stays in the month.
        {"Day35CommonFeb", {2009, 2, 10}, "D35", "scK", "2009-02-10 2009-02-30 2009-02-28 ", Day, 0},
        {"Day00Gives01", {2009, 2, 10}, "D00", "scK", "2009-02-10 2009-02-00 2009-02-01 ", Day, 0},
        {"DigitsAfterCompletionAdd", {2008, 2, 10}, "D599", "sKKK",
         "2008-02-10 2008-02-05 2008-02-14 2008-02-23 ", Day, 0},
        {"WholeDate", {2012, 12, 31}, "Y20080229", "scccccccK", "2012-12-31 2000-12-31 2000-12-31 "
         "2000-12-31 2008-12-31 2008-00-31 2008-02-29 2008-02-20 2008-02-29 ", Day, 0},
        // An idle entry (no field in progress) holds its date in range.
        {"IdleYear12345", {12345, 7, 1}, "x", "i", "9999-07-01 ", 0, 0},
        {"IdleFeb29In1900", {1900, 2, 29}, "x", "i", "1900-02-28 ", 0, 0},
        // Letters, backspace, Ctrl+C, Ctrl+V, Ctrl+X and a space do nothing.
        {"NonDigitsIgnored", {2009, 7, 1}, "Ya\b\x03\x16\x18 ", "siiiiii", "2009-07-01 2009-07-01 "
         "2009-07-01 2009-07-01 2009-07-01 2009-07-01 2009-07-01 ", Year, 4},
        {"NoFieldFirstDigitStartsYear", {2009, 7, 1}, "x19", "icc",
         "2009-07-01 1000-07-01 1900-07-01 ", Year, 2},
        // Focus loss brings the date into range and keeps the field in progress; so
        // does a click outside the zones.
        {"FocusLossMidYearContinues", {2012, 7, 15}, "Y20N17", "sccncc", "2012-07-15 2000-07-15 "
         "2000-07-15 2000-07-15 2010-07-15 2017-07-15 ", Month, 2},
        // The next digit continues the digits typed, not the date focus loss
        // brought into range: "0" stays "0" and "3" stays "3".
        {"FocusLossMonth0Then5", {2009, 6, 4}, "M0N5", "scnc",
         "2009-06-04 2009-00-04 2009-01-04 2009-05-04 ", Day, 2},
        {"FocusLossDay0Then9", {2009, 5, 4}, "D0N9", "scnK",
         "2009-05-04 2009-05-00 2009-05-01 2009-05-09 ", Day, 0},
        {"FocusLossDay3Then1InFeb", {2009, 2, 10}, "D3N1", "scnK",
         "2009-02-10 2009-02-30 2009-02-28 2009-02-28 ", Day, 0},
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
        {2, usual, 12, 6, 0}, {3, usual, 12, 6, 1}, {15, usual, 12, 6, 1}, {16, usual, 12, 6, 0},
        {43, usual, 12, 6, 2}, {49, usual, 12, 6, 2}, {50, usual, 12, 6, 0}, {73, usual, 12, 6, 3},
        {74, usual, 12, 6, 0}, {12, narrow, 16, 8, 1}, {17, narrow, 16, 8, 2},
        {INT_MAX, nearEnd, INT_MAX, INT_MAX, 1}, {INT_MIN, nearEnd, INT_MAX, INT_MAX, 0},
        {100, spread, INT_MIN, INT_MIN, 0}, {-5, spread, INT_MAX, 8, 1}, {108, spread, 0, 8, 3}};
    // clang-format on
    for (const auto& row : rows)
        EXPECT_EQ(DateEntry::FieldAtX(row.x, row.starts, row.four, row.two), row.field)
            << row.x << " from " << row.starts[0];
}

// Every date typed in full, eight digits, completes once and comes back unchanged.
TEST(DateEntry, EveryDayOfSomeYearsRoundTrips)
{
    for (const int year : {1900, 2000, 2009, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                DateEntry entry({1, 1, 1});
                char keys[40];
                std::snprintf(keys, sizeof keys, "Y%.4d%.2d%.2d", year, month, day);
                std::string codes;
                for (const char* k = keys; *k != '\0'; ++k) codes += Step(entry, *k);
                ASSERT_EQ(codes, "scccccccK") << keys;
                ASSERT_TRUE(entry.GetDate() == (SolarDate{year, month, day}))
                    << keys << " gave " << entry.Text();
            }
        }
    }
}

}  // namespace
}  // namespace qov
