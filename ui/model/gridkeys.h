// The month grid without its cells' clicks: the keyboard commands (the
// selection moves by a day or a week, a month or a year, or to today), the
// wheel's steps, the weekday of each column and what a screen reader says of
// a day. Plain values, no window.
#pragma once

#include <string>

#include "model/daytexts.h"
#include "model/monthpage.h"

namespace qov {

enum class GridKey {
    PrevDay,    // Left
    NextDay,    // Right
    PrevWeek,   // Up
    NextWeek,   // Down
    PrevMonth,  // Page Up
    NextMonth,  // Page Down
    PrevYear,   // Ctrl+Page Up
    NextYear,   // Ctrl+Page Down
    Today,      // Home
};

// The page after the key. Days and months carry across month and year ends
// (31 January + 1 day is 1 February; Page Up in January shows December of
// the year before); a step that would leave the page range (December 1899
// to February 2050) leaves the page unchanged. Years keep the year list's
// range, as the arrow buttons do. The day is clamped to the new month.
MonthPage ApplyGridKey(const MonthPage& page, GridKey key) noexcept;

// Whole wheel steps in a run of wheel turns. Deltas are in eighths of a
// degree, 120 a notch (positive: away from the user); high-resolution wheels
// send parts of a notch, kept until they make a whole one. A turn the other
// way drops what was kept.
class WheelSteps {
public:
    // Steps for one more delta: positive away from the user.
    int Add(int delta) noexcept;

private:
    int m_rest = 0;  // (-120, 120), the sign of the last turn
};

// The weekday shown in grid column 0..6 for a week start, 0 = Sunday (-1
// outside the grid), and its name for the column's header ("星期日"; ""
// outside the grid).
int ColumnWeekday(int column, WeekStart start = WeekStart::Sunday) noexcept;
std::string ColumnHeader(int column, WeekStart start = WeekStart::Sunday);

// What a screen reader says of a day, GBK: the date and weekday as the
// cell's name ("2026年12月7日 星期一"), and the rest of the day in one line
// as its description: lunar date, festivals and solar term, and the gan-zhi
// of year, month and day ("农历十月廿八 大雪 丙午年 庚子月 ...").
std::string SpokenDate(const SolarDate& date);
// Names of the kinds switched off in `options` are left out; the user's days
// and the holiday (UTF-8) are the caller's to add (UserDayText).
std::string SpokenDay(const SolarDate& date, const DayOptions& options = {});

}  // namespace qov
