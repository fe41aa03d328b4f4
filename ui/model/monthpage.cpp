#include "model/monthpage.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "lunar.h"

namespace qov {
namespace {

// Months counted from year 0, so that pages compare as plain numbers.
constexpr int MonthIndex(int year, int month) noexcept { return 12 * year + month - 1; }

// The page range: December 1899 (neighbour of the January 1900 page) to
// February 2101 (neighbour of January 2101, where lunar 2100 ends).
constexpr int FirstPageIndex = MonthIndex(FirstPageYear - 1, 12);
constexpr int LastPageIndex = MonthIndex(LastPageYear + 1, 2);

constexpr bool InPageRange(int year, int month) noexcept
{
    const int i = MonthIndex(year, month);
    return i >= FirstPageIndex && i <= LastPageIndex;
}

constexpr int FloorDiv(int a, int b) noexcept
{
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

// Days of lunar months 1..lm - 1 of year ly, leap month included when it
// comes before month lm.
int DaysBeforeLunarMonth(int ly, int lm) noexcept
{
    const int leapMonth = LeapMonth(ly);
    int n = 0;
    for (int m = 1; m < lm; ++m)
        n += LunarMonthDays(ly, m) + (m == leapMonth ? LeapMonthDays(ly) : 0);
    return n;
}

// Day number (0 = 1900-01-31) of lunar year ly (1900..2100), month lm
// (1..12), day ld, in the leap month after lm when `leap` is set; the caller
// has checked that the date exists. Lunar new year falls between 21 January
// and 20 February, so 20 February lies in lunar year ly; the year's first
// day is found back from it.
int LunarDayNumber(int ly, int lm, int ld, bool leap) noexcept
{
    const LunarDate probe = ToLunar(ly, 2, 20);
    int newYear = DayNumber(ly, 2, 20) - (probe.day - 1) - DaysBeforeLunarMonth(ly, probe.month);
    if (probe.isLeap) newYear -= LunarMonthDays(ly, probe.month);
    int n = newYear + DaysBeforeLunarMonth(ly, lm);
    if (leap) n += LunarMonthDays(ly, lm);  // the leap month follows its ordinary month
    return n + ld - 1;
}

// Gregorian date of a day number (0 = 1900-01-31).
constexpr SolarDate DateOfDayNumber(int n) noexcept
{
    const CivilDate c = CivilFromDays(DaysFromCivil(1900, 1, 31) + n);
    return {static_cast<int>(c.year), static_cast<int>(c.month), static_cast<int>(c.day)};
}

// The leading number of an item text, as the window reads a list's text:
// at most 9 characters, digits after an optional sign, 0 when there are none.
int TextValue(std::string_view text) noexcept
{
    text = text.substr(0, 9);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = 10 * value + (text[i] - '0');
    return negative ? -value : value;
}

// "闰" marks the leap item of the month list.
bool IsLeapItem(std::string_view text) noexcept
{
    return text.find("闰") != std::string_view::npos;
}

std::string NumberText(int n)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", n);
    return buf;
}

std::string LeapItemText(int month)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d(闰)", month);
    return buf;
}

int IndexOf(const std::vector<std::string>& items, const std::string& text) noexcept
{
    const auto it = std::find(items.begin(), items.end(), text);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

const std::string& ItemAt(const std::vector<std::string>& items, int index) noexcept
{
    static const std::string none;
    if (index < 0 || index >= static_cast<int>(items.size())) return none;
    return items[static_cast<std::size_t>(index)];
}

// The lunar table covers 1900..2100; outside it there is no leap month.
int LeapMonthOf(int lunarYear) noexcept
{
    return lunarYear >= FirstLunarYear && lunarYear <= LastLunarYear ? LeapMonth(lunarYear) : 0;
}

}  // namespace

MonthPage::MonthPage(SolarDate date, WeekStart start) noexcept : m_weekStart(start)
{
    const int month = std::clamp(date.month, 1, 12);
    // A year beyond the range's neighbours lands on the same end page, and
    // the month index below stays far from overflow.
    const int year = std::clamp(date.year, FirstPageYear - 2, LastPageYear + 2);
    const int index = std::clamp(MonthIndex(year, month), FirstPageIndex, LastPageIndex);
    m_year = FloorDiv(index, 12);
    m_month = index - 12 * m_year + 1;
    m_day = std::clamp(date.day, 1, DaysInMonth(m_year, m_month));
}

MonthPage MonthPage::WithWeekStart(WeekStart start) const noexcept
{
    MonthPage page = *this;
    page.m_weekStart = start;
    return page;
}

int MonthPage::DaysInPage() const noexcept { return DaysInMonth(m_year, m_month); }

int MonthPage::FirstWeekday() const noexcept { return DayOfWeek(m_year, m_month, 1); }

MonthPage MonthPage::GoToday() const noexcept
{
    const SolarDate today = Today();
    return MonthPage(
        std::clamp(today.year, FirstPageYear, LastPageYear), today.month, today.day, m_weekStart);
}

MonthPage MonthPage::PrevYear() const noexcept
{
    return m_year > FirstPageYear ? MonthPage(m_year - 1, m_month, m_day, m_weekStart) : *this;
}

MonthPage MonthPage::NextYear() const noexcept
{
    return m_year < LastPageYear ? MonthPage(m_year + 1, m_month, m_day, m_weekStart) : *this;
}

// The constructor keeps the page range: from December 1899 the previous
// month and from February 2101 the next one stay where they are.
MonthPage MonthPage::PrevMonth() const noexcept
{
    return m_month > 1 ? MonthPage(m_year, m_month - 1, m_day, m_weekStart) : *this;
}

MonthPage MonthPage::NextMonth() const noexcept
{
    return m_month < 12 ? MonthPage(m_year, m_month + 1, m_day, m_weekStart) : *this;
}

MonthPage MonthPage::SetYear(int year) const noexcept
{
    return MonthPage(std::clamp(year, FirstPageYear, LastPageYear), m_month, m_day, m_weekStart);
}

MonthPage MonthPage::SetMonth(int month) const noexcept
{
    return MonthPage(m_year, month, m_day, m_weekStart);
}

MonthPage MonthPage::SelectCell(int row, int column) const noexcept
{
    if (row < 0 || row >= grid::Rows || column < 0 || column >= grid::Columns) return *this;
    const SolarDate date = CellAt(row, column);
    if (!InPageRange(date.year, date.month)) return *this;
    return MonthPage(date, m_weekStart);
}

SolarDate MonthPage::CellAt(int row, int column) const noexcept
{
    if (row < 0 || row >= grid::Rows || column < 0 || column >= grid::Columns) return Date();
    // Day n of the page month, counted past its ends: -5..42.
    const int n = 7 * row + column - LeadingDays() + 1;
    const int length = DaysInPage();
    if (n < 1) {
        const int year = m_month == 1 ? m_year - 1 : m_year;
        const int month = m_month == 1 ? 12 : m_month - 1;
        return {year, month, n + DaysInMonth(year, month)};
    }
    if (n > length) {
        const int year = m_month == 12 ? m_year + 1 : m_year;
        const int month = m_month == 12 ? 1 : m_month + 1;
        return {year, month, n - length};
    }
    return {m_year, m_month, n};
}

bool MonthPage::IsInMonth(const SolarDate& date) const noexcept
{
    return date.year == m_year && date.month == m_month;
}

GridCell MonthPage::SelectedCell() const noexcept
{
    const int n = m_day + LeadingDays() - 1;  // 0..36
    return {n / 7, n % 7};
}

std::optional<GridCell> MonthPage::HitTest(int x, int y) noexcept
{
    if (!grid::ClickArea.Contains(x, y)) return std::nullopt;
    return GridCell{(y - grid::Top) / grid::RowPitch, (x - grid::Left) / grid::ColumnPitch};
}

std::optional<GridCell> MonthPage::HoverTest(int x, int y) noexcept
{
    if (!grid::HoverArea.Contains(x, y)) return std::nullopt;
    return GridCell{(y - grid::Top) / grid::RowPitch, (x - grid::Left) / grid::ColumnPitch};
}

std::optional<SolarDate> FindSolarDate(int ly, int lm, int ld, bool leap) noexcept
{
    if (ly < FirstLunarYear || ly > LastLunarYear || lm < 1 || lm > 12 || ld < 1)
        return std::nullopt;
    if (leap && LeapMonth(ly) != lm) return std::nullopt;
    if (ld > (leap ? LeapMonthDays(ly) : LunarMonthDays(ly, lm))) return std::nullopt;

    // A day-by-day scan from the Gregorian date (ly, lm, ld) over at most 200
    // Gregorian months would meet the lunar date within its first months (a
    // lunar month starts 3 to 7 weeks after the Gregorian month of the same
    // number); compute it directly and keep the scan's bounds.
    const SolarDate found = DateOfDayNumber(LunarDayNumber(ly, lm, ld, leap));
    const LunarDate check = ToLunar(found.year, found.month, found.day);
    if (check.year != ly || check.month != lm || check.day != ld || check.isLeap != leap)
        return std::nullopt;
    const int months = MonthIndex(found.year, found.month) - MonthIndex(ly, lm);
    if (months < 0 || months >= 200) return std::nullopt;
    if (months == 0 && found.day < ld) return std::nullopt;
    return found;
}

QueryLists::QueryLists(SolarDate selected)
{
    const int year = std::clamp(selected.year, FirstPageYear, LastPageYear);
    const int month = std::clamp(selected.month, 1, 12);
    for (int y = FirstPageYear; y <= LastPageYear; ++y) m_years.push_back(NumberText(y));
    for (int m = 1; m <= 12; ++m) m_months.push_back(NumberText(m));
    // The day list fits the selected month, so that a query straight after
    // start-up cannot ask for 31 February.
    const int length = DaysInMonth(year, month);
    for (int d = 1; d <= length; ++d) m_days.push_back(NumberText(d));
    m_yearIndex = year - FirstPageYear;
    m_monthIndex = month - 1;
    m_dayIndex = std::clamp(selected.day, 1, length) - 1;
}

void QueryLists::OnGregorianClicked()
{
    m_mode = QueryMode::Gregorian;
    RebuildForYear();
}

void QueryLists::OnLunarClicked()
{
    m_mode = QueryMode::Lunar;
    RebuildForYear();
}

void QueryLists::OnYearChosen(int index)
{
    if (index < 0 || index >= static_cast<int>(m_years.size())) return;
    m_yearIndex = index;
    RebuildForYear();
}

void QueryLists::RebuildForYear()
{
    const bool lunar = m_mode == QueryMode::Lunar;
    const int year = CurrentYear();
    const QueryMonth m = RebuildQueryMonths(year, lunar);
    RebuildQueryDays(year, m.month, lunar, m.leap);
}

void QueryLists::OnMonthChosen(int index)
{
    if (index < 0 || index >= static_cast<int>(m_months.size())) return;
    m_monthIndex = index;
    const bool lunar = m_mode == QueryMode::Lunar;
    const QueryMonth m = CurrentMonth();
    RebuildQueryDays(CurrentYear(), m.month, lunar, lunar && m.leap);
}

void QueryLists::OnDayChosen(int index)
{
    if (index < 0 || index >= static_cast<int>(m_days.size())) return;
    m_dayIndex = index;
}

QueryMonth QueryLists::RebuildQueryMonths(int year, bool lunar)
{
    const std::string kept = ItemAt(m_months, m_monthIndex);
    const int leapMonth = LeapMonthOf(year);
    const bool wantLeapItem = lunar && leapMonth != 0;
    if (!IsLeapItem(kept) && m_months.size() == 12 && !wantLeapItem)
        return {TextValue(kept), false};

    m_months.clear();
    for (int m = 1; m <= 12; ++m) m_months.push_back(NumberText(m));
    if (wantLeapItem) m_months.insert(m_months.begin() + leapMonth, LeapItemText(leapMonth));

    m_monthIndex = IndexOf(m_months, kept);
    if (m_monthIndex < 0) {
        m_monthIndex = 0;
        return {1, false};
    }
    if (IsLeapItem(kept)) return {leapMonth, true};
    return {TextValue(kept), false};
}

int QueryLists::RebuildQueryDays(int year, int month, bool lunar, bool leap)
{
    const std::string kept = ItemAt(m_days, m_dayIndex);
    month = std::clamp(month, 1, 12);
    int wanted = DaysInMonth(year, month);
    if (lunar) {
        const int leapMonth = LeapMonthOf(year);
        if (year < FirstLunarYear || year > LastLunarYear)
            wanted = 29;
        else if (leap && leapMonth != 0 && month == leapMonth)
            wanted = LeapMonthDays(year);
        else
            wanted = LunarMonthDays(year, month);
    }
    const auto count = static_cast<std::size_t>(wanted);
    if (m_days.size() == count) return TextValue(kept);

    while (m_days.size() < count) m_days.push_back(NumberText(static_cast<int>(m_days.size()) + 1));
    m_days.resize(count);

    m_dayIndex = IndexOf(m_days, kept);
    if (m_dayIndex < 0) {
        m_dayIndex = 0;
        return 1;
    }
    return TextValue(kept);
}

int QueryLists::CurrentYear() const noexcept { return TextValue(ItemAt(m_years, m_yearIndex)); }

QueryMonth QueryLists::CurrentMonth() const noexcept
{
    const std::string& text = ItemAt(m_months, m_monthIndex);
    if (IsLeapItem(text)) return {LeapMonthOf(CurrentYear()), true};
    return {TextValue(text), false};
}

int QueryLists::CurrentDay() const noexcept { return TextValue(ItemAt(m_days, m_dayIndex)); }

std::optional<SolarDate> QueryLists::Query() const noexcept
{
    const int year = CurrentYear();
    const QueryMonth month = CurrentMonth();
    const int day = CurrentDay();
    if (m_mode == QueryMode::Lunar) return FindSolarDate(year, month.month, day, month.leap);
    if (month.month < 1 || month.month > 12 || day < 1 || day > DaysInMonth(year, month.month))
        return std::nullopt;
    return SolarDate{year, month.month, day};
}

}  // namespace qov
