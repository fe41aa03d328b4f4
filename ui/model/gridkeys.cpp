#include "model/gridkeys.h"

#include <algorithm>
#include <cstdio>

#include "calendar.h"
#include "model/daytexts.h"

namespace qov {

namespace {

// The page of a date when the page range holds it unchanged; else `current`.
MonthPage PageOrStay(const MonthPage& current, const SolarDate& date) noexcept
{
    const MonthPage page(date, current.FirstColumn());
    return page.Date() == date ? page : current;
}

MonthPage MoveDays(const MonthPage& page, int days) noexcept
{
    const SolarDate d = page.Date();
    const long long day =
        DaysFromCivil(d.year, static_cast<unsigned>(d.month), static_cast<unsigned>(d.day)) + days;
    const CivilDate moved = CivilFromDays(day);
    return PageOrStay(page,
        {static_cast<int>(moved.year), static_cast<int>(moved.month), static_cast<int>(moved.day)});
}

MonthPage MoveMonths(const MonthPage& page, int months) noexcept
{
    const int index =
        page.Year() * 12 + (page.Month() - 1) + months;  // years >= 1899: no negatives
    const int year = index / 12;
    const int month = index % 12 + 1;
    return PageOrStay(page, {year, month, std::min(page.Day(), DaysInMonth(year, month))});
}

}  // namespace

MonthPage ApplyGridKey(const MonthPage& page, GridKey key) noexcept
{
    switch (key) {
    case GridKey::PrevDay:
        return MoveDays(page, -1);
    case GridKey::NextDay:
        return MoveDays(page, 1);
    case GridKey::PrevWeek:
        return MoveDays(page, -7);
    case GridKey::NextWeek:
        return MoveDays(page, 7);
    case GridKey::PrevMonth:
        return MoveMonths(page, -1);
    case GridKey::NextMonth:
        return MoveMonths(page, 1);
    case GridKey::PrevYear:
        return page.PrevYear();
    case GridKey::NextYear:
        return page.NextYear();
    case GridKey::Today:
        return page.GoToday();
    }
    return page;
}

std::string SpokenDate(const SolarDate& date)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%d年%d月%d日 ", date.year, date.month, date.day);
    return buf + WeekdayName(date.year, date.month, date.day);
}

std::string SpokenDay(const SolarDate& date, const DayOptions& options)
{
    std::string text;
    const LunarDate lunar = ToLunar(date.year, date.month, date.day);
    if (HasLunarDate(lunar)) {
        text += "农历";
        if (lunar.isLeap) text += "闰";
        text += LunarMonthName(lunar.month) + "月" + LunarDayName(lunar.day) + " ";
    }
    const DayTip tip = DayTipTexts(date, options);
    std::string note = tip.note;
    while (!note.empty() && note.back() == ' ') note.pop_back();
    if (!note.empty()) text += note + " ";
    return text + tip.line4;
}

int WheelSteps::Add(int delta) noexcept
{
    if ((delta > 0 && m_rest < 0) || (delta < 0 && m_rest > 0)) m_rest = 0;
    const long long sum = static_cast<long long>(m_rest) + delta;  // no overflow near INT_MIN/MAX
    m_rest = static_cast<int>(sum % 120);
    return static_cast<int>(sum / 120);
}

int ColumnWeekday(int column, WeekStart start) noexcept
{
    return column >= 0 && column < grid::Columns ? WeekdayOfColumn(start, column) : -1;
}

std::string ColumnHeader(int column, WeekStart start)
{
    const int weekday = ColumnWeekday(column, start);
    return weekday < 0 ? std::string()
                       : std::string(WeekdayNames[static_cast<std::size_t>(weekday)]);
}

}  // namespace qov
