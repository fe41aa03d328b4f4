// The month page behind the main window: the selected date, the 6 x 7 day
// grid it implies, the navigation commands, and the quick query with its
// three lists. Plain values, no window.
//
// Every function here is defined for every value of every argument: dates
// and years outside the page range are brought into it, cells and list
// indexes outside the grid or the list change nothing (CellAt gives the
// selected date), and a lunar date that does not exist finds nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gregorian.h"
#include "model/geometry.h"

namespace qov {

// Years the year boxes and the arrows cover.
inline constexpr int FirstPageYear = 1900;
inline constexpr int LastPageYear = 2100;

// The weekday in the first column of the grid. Sunday is the Chinese wall
// calendar's custom; Monday is that of GB/T 7408 and ISO 8601.
enum class WeekStart : std::uint8_t { Sunday = 0, Monday = 1 };

// Weekday (0 = Sunday .. 6 = Saturday) shown in grid column `column`; any
// column is taken modulo 7, so the answer is always 0..6.
constexpr int WeekdayOfColumn(WeekStart start, int column) noexcept
{
    const int k = (column + static_cast<int>(start)) % 7;  // -6..6
    return k < 0 ? k + 7 : k;
}

// Column 0..6 showing weekday 0..6 (any weekday is taken modulo 7).
constexpr int ColumnOfWeekday(WeekStart start, int weekday) noexcept
{
    const int k = (weekday - static_cast<int>(start)) % 7;  // -7..6
    return k < 0 ? k + 7 : k;
}

// The selected date; its year and month are the page shown. Invariant: the
// page lies between December 1899 and February 2101 (the arrows and boxes
// keep 1900..2100; neighbouring-month clicks on the January 1900 and
// December 2100 pages and late lunar queries reach one or two months past),
// and the day lies in 1..DaysInMonth(year, month).
class MonthPage {
public:
    // 1 January 1900, Sunday first.
    constexpr MonthPage() noexcept = default;
    // The page of `date`, brought into the page range (month by month) and
    // the day clamped into its month.
    explicit MonthPage(SolarDate date, WeekStart start = WeekStart::Sunday) noexcept;
    MonthPage(int year, int month, int day, WeekStart start = WeekStart::Sunday) noexcept
        : MonthPage(SolarDate{year, month, day}, start)
    { }
    // The same date with another weekday in the first column.
    MonthPage WithWeekStart(WeekStart start) const noexcept;
    // The weekday of the first column (WeekdayOfColumn gives the others).
    WeekStart FirstColumn() const noexcept { return m_weekStart; }

    int Year() const noexcept { return m_year; }
    int Month() const noexcept { return m_month; }
    int Day() const noexcept { return m_day; }
    SolarDate Date() const noexcept { return {m_year, m_month, m_day}; }
    // Length of the page month, 28..31.
    int DaysInPage() const noexcept;
    // Weekday of day 1 of the page month, 0 = Sunday.
    int FirstWeekday() const noexcept;
    // Days of the month before in the first row, 0..6: the 1st stands in
    // the first row, in the column of its weekday.
    int LeadingDays() const noexcept { return ColumnOfWeekday(m_weekStart, FirstWeekday()); }

    // Commands; each returns the new page. At their bounds they return the
    // page unchanged. The day is clamped to the new month's length.
    MonthPage GoToday() const noexcept;  // local date, year kept in 1900..2100
    MonthPage PrevYear() const noexcept;
    MonthPage NextYear() const noexcept;
    MonthPage PrevMonth() const noexcept;  // no carry out of January
    MonthPage NextMonth() const noexcept;  // no carry out of December
    MonthPage SetYear(int year) const noexcept;
    MonthPage SetMonth(int month) const noexcept;
    // Selects the date of the cell, moving to a neighbouring month when the
    // cell is a leading or trailing day. A cell whose date lies outside the
    // page range leaves the page unchanged. Row 0..5, column 0..6.
    MonthPage SelectCell(int row, int column) const noexcept;
    MonthPage SelectCell(GridCell cell) const noexcept { return SelectCell(cell.row, cell.column); }

    // Date of cell (row 0..5, column 0..6): 42 consecutive days from the
    // first-column weekday (Sunday or Monday) on or before day 1 of the page
    // month; the selected date for a cell outside the grid.
    SolarDate CellAt(int row, int column) const noexcept;
    SolarDate CellAt(GridCell cell) const noexcept { return CellAt(cell.row, cell.column); }
    // True when the date's year and month are the page's.
    bool IsInMonth(const SolarDate& date) const noexcept;
    bool IsInMonth(int row, int column) const noexcept { return IsInMonth(CellAt(row, column)); }
    // The in-month cell showing the selected day.
    GridCell SelectedCell() const noexcept;

    // Cell under a client point inside the click area (x 5..492,
    // y 52..351), or none.
    static std::optional<GridCell> HitTest(int x, int y) noexcept;
    // Cell under a client point inside the smaller hover area (x 6..490,
    // y 53..351), or none.
    static std::optional<GridCell> HoverTest(int x, int y) noexcept;

    friend bool operator==(const MonthPage&, const MonthPage&) = default;

private:
    int m_year = 1900;
    int m_month = 1;  // 1..12
    int m_day = 1;    // 1..DaysInMonth(m_year, m_month)
    WeekStart m_weekStart = WeekStart::Sunday;
};

// Gregorian date of lunar year ly (1900..2100), month lm (1..12), day ld
// (1..30), in the leap month after lm when `leap` is set; none when that
// lunar date does not exist. Scans at most 200 Gregorian months from
// (ly, lm).
std::optional<SolarDate> FindSolarDate(int ly, int lm, int ld, bool leap) noexcept;

enum class QueryMode { Gregorian, Lunar };

// Month chosen in the query month list: a number 1..12 and whether it is the
// leap item "%d(闰)".
struct QueryMonth {
    int month = 1;
    bool leap = false;

    friend constexpr bool operator==(const QueryMonth&, const QueryMonth&) = default;
};

// The quick query's mode and its three lists (GBK item texts), kept
// consistent as the user changes them. The dialog mirrors the item lists and
// current indexes into its radio buttons and combo boxes after each call.
class QueryLists {
public:
    // Gregorian mode; years "1900".."2100", months "1".."12", days "1" up to
    // the length of the selected month; the selected date's items chosen
    // (its year brought into 1900..2100).
    explicit QueryLists(SolarDate selected = {});

    QueryMode Mode() const noexcept { return m_mode; }
    const std::vector<std::string>& YearItems() const noexcept { return m_years; }
    const std::vector<std::string>& MonthItems() const noexcept { return m_months; }
    const std::vector<std::string>& DayItems() const noexcept { return m_days; }
    // Index of the current item, -1 for none.
    int YearIndex() const noexcept { return m_yearIndex; }
    int MonthIndex() const noexcept { return m_monthIndex; }
    int DayIndex() const noexcept { return m_dayIndex; }

    // The radio buttons "公历" and "农历": switch the mode and rebuild the
    // month and day lists for it.
    void OnGregorianClicked();
    void OnLunarClicked();
    // A choice in a list (index into its items; out-of-range indexes are
    // ignored). Year: rebuild months and days. Month: rebuild days. Day:
    // only the choice.
    void OnYearChosen(int index);
    void OnMonthChosen(int index);
    void OnDayChosen(int index);

    // Rebuilds the month list for a year and mode when its leap item must
    // appear or go, keeping the current month text when it is still listed
    // (else month 1). Returns the current month.
    QueryMonth RebuildQueryMonths(int year, bool lunar);
    // Resizes the day list to the length of the month (lunar: the ordinary or
    // the leap month; Gregorian: the Gregorian month), keeping the current
    // day text when it is still listed (else day 1). Returns the current day.
    int RebuildQueryDays(int year, int month, bool lunar, bool leap);

    // Current year, month (with leap flag) and day as numbers; 0 for a list
    // without a current item.
    int CurrentYear() const noexcept;
    QueryMonth CurrentMonth() const noexcept;
    int CurrentDay() const noexcept;

    // The date the button "查询" selects: the chosen Gregorian date, or the
    // Gregorian date of the chosen lunar date; none when the lunar date does
    // not exist (the page then stays as it is).
    std::optional<SolarDate> Query() const noexcept;

private:
    // The month and day lists for the current year and mode.
    void RebuildForYear();

    QueryMode m_mode = QueryMode::Gregorian;
    std::vector<std::string> m_years;
    std::vector<std::string> m_months;
    std::vector<std::string> m_days;
    int m_yearIndex = -1;
    int m_monthIndex = -1;
    int m_dayIndex = -1;
};

// Days from start to end (negative when end comes first): the difference of
// their day numbers.
constexpr int DayDifferenceBetween(const SolarDate& start, const SolarDate& end) noexcept
{
    return DayNumber(end.year, end.month, end.day) - DayNumber(start.year, start.month, start.day);
}

}  // namespace qov
