// The user's own days (纪念日): birthdays and anniversaries on the Gregorian
// or the lunar calendar, where each falls in a year and on a page, and the
// file that keeps them (mydays.tsv), edited line by line. No Qt. Names are
// user text, UTF-8.
//
// Yearly rules, for the years that lack the date a day was set on. Each
// follows the custom most families keep, and keeps the day inside the month
// it was set in, so that it never moves into the next month:
// - A lunar day 30 in a year whose month has 29 days falls on the 29th, the
//   month's last day, as 除夕 does (a birthday on 三十 is kept on 月末).
// - A day set in a leap month falls in that leap month in the years that
//   have it, and otherwise in the ordinary month of the same number. A given
//   leap month comes back only every few decades, and families keep the
//   birthday of a child born in 闰四月 in 四月 meanwhile.
// - A day set in an ordinary month falls in the ordinary month only, never
//   in the leap month that repeats it: the first of the two months is the
//   month itself.
// - Gregorian 2 月 29 日 falls on 2 月 28 日 in common years, the last day of
//   February, as the lunar 30th falls on the 29th.
// A day with a first year does not show before that year; in it, it is the
// 第 1 个.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gregorian.h"
#include "model/geometry.h"

namespace qov {

enum class MyCalendar : std::uint8_t { Gregorian, Lunar };

struct MyDay {
    MyCalendar calendar = MyCalendar::Gregorian;
    int month = 1;      // 1..12
    int day = 1;        // Gregorian: 1..the month's length in a leap year; lunar: 1..30
    bool leap = false;  // lunar only: set in the leap month after `month`
    int firstYear = 0;  // 1..9999 in the day's calendar, 0 for none
    std::string name;   // UTF-8, 1..MaxMyDayNameChars code points, no control characters

    friend bool operator==(const MyDay&, const MyDay&) = default;
};

inline constexpr std::size_t MaxMyDayNameChars = 32;
inline constexpr std::size_t MaxMyDayLineBytes = 200;           // without the line break
inline constexpr std::size_t MaxMyDaysFileBytes = 1024 * 1024;  // a larger file is not read
inline constexpr int LastMyDayFirstYear = 9999;

// Where the day falls in `year` by the rules above: a Gregorian year for a
// Gregorian day, a lunar year (1900..2100) for a lunar one. None outside
// those years, before the first year, or for a day that breaks MyDay's ranges.
std::optional<SolarDate> MyDayDate(const MyDay& day, int year) noexcept;
// N of "第 N 个" in `year` (1 in the first year), 0 without a first year.
int MyDayOrdinal(const MyDay& day, int year) noexcept;

// A day as its file line: "农历<TAB>闰04-30<TAB>外婆生日<TAB>1948", the year
// left out when there is none.
std::string FormatMyDay(const MyDay& day);

// The parsed line, or why it cannot be read ("" for a blank or comment line).
struct MyDayParse {
    std::optional<MyDay> day;
    std::string reason;
};
// One line without its line break: "公历|农历<TAB>[闰]MM-DD<TAB>name[<TAB>first
// year]", spaces around fields trimmed, "#" comments and blank lines.
MyDayParse ParseMyDayLine(std::string_view text);

// The file, every line kept as the user wrote it. Edits change only the
// lines of the days they touch; Bytes() of an unedited file gives back the
// bytes it was read from.
class MyDaysFile {
public:
    MyDaysFile() = default;
    // Any bytes; a line that cannot be read is kept, with one message
    // "mydays.tsv:LINE: reason" (UTF-8).
    explicit MyDaysFile(std::string_view bytes);

    const std::vector<std::string>& Messages() const noexcept { return m_messages; }
    // The days read, in file order; entry k of the edits below is Days()[k].
    std::vector<MyDay> Days() const;

    // A new line at the end.
    void Add(const MyDay& day);
    // False, changing nothing, for an entry past the end.
    bool Replace(std::size_t entry, const MyDay& day);
    bool Remove(std::size_t entry);

    std::string Bytes() const;

private:
    struct Line {
        std::string text;    // as written, without its line break
        std::string ending;  // "\n", "\r\n", or "" for a last line without one
        bool isDay = false;  // text is a readable day
    };
    // The line of entry k, or nullptr.
    Line* EntryLine(std::size_t entry) noexcept;

    std::vector<Line> m_lines;
    std::vector<std::string> m_messages;
};

// A day found on a date, with its "第 N 个" (0 for none).
struct MyDayHit {
    const MyDay* day;
    int ordinal;
};

// The days as the calendar asks for them: by date, and by page. Holds the
// days it was made from.
class MyDayList {
public:
    MyDayList() = default;
    explicit MyDayList(std::vector<MyDay> days) : m_days(std::move(days)) { }

    const std::vector<MyDay>& Days() const noexcept { return m_days; }
    bool Empty() const noexcept { return m_days.empty(); }

    // The days falling on `date`, in file order.
    std::vector<MyDayHit> On(const SolarDate& date) const;
    // For the 42 days from `firstCell` on: the index into Days() of the
    // first day falling on each, -1 for none. Lunar years are laid out once
    // per page, so each day costs a few additions.
    std::array<int, grid::CellCount> OnPage(const SolarDate& firstCell) const noexcept;

private:
    std::vector<MyDay> m_days;
};

// "外婆生日 第78个", or the name alone without a first year: UTF-8.
std::string MyDayText(const MyDayHit& hit);

}  // namespace qov
