#include "festivals.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "festival_tables.h"
#include "gregorian.h"
#include "lunar.h"
#include "names.h"
#include "solarterm.h"

namespace qov {
namespace {

using detail::NoRow;

inline constexpr std::string_view BlackFriday = "黑色星期五";
inline constexpr std::string_view Easter = "复活节";

// Every row up to the end marker is "DDDD " followed by at least one byte, so
// RowNames never cuts outside a row.
template <std::size_t N>
constexpr bool RowsAreWellFormed(const std::array<std::string_view, N>& table) noexcept
{
    std::size_t i = 0;
    for (; i < N && !table[i].empty(); ++i) {
        const std::string_view row = table[i];
        if (row.size() < 6 || row[4] != ' ') return false;
        for (std::size_t j = 0; j < 4; ++j)
            if (!detail::IsDigit(row[j])) return false;
    }
    return i == N - 1;  // exactly one end marker, in the last slot
}
static_assert(RowsAreWellFormed(GregorianFestivals));
static_assert(RowsAreWellFormed(LunarFestivals));
static_assert(RowsAreWellFormed(WeekdayFestivals));

// The index answers exactly as the plain scan of the tables: for months 0..13
// with days 0..32 (every date, and the invalid months and days around them),
// and for every weekday key. One month per constant evaluation keeps each
// proof under the compiler's evaluation limit.
template <int Month>
inline constexpr bool MonthIndexIsExact = detail::IndexMatchesScan(GregorianFestivals,
                                              detail::GregorianIndex, Month, Month + 1, 33)
    && detail::IndexMatchesScan(LunarFestivals, detail::LunarIndex, Month, Month + 1, 33)
    && detail::IndexMatchesScan(
        WeekdayFestivals, detail::WeekdayIndex, Month, Month + 1, detail::KeyIndexLow);

template <int... Months> constexpr bool IndexIsExact(std::integer_sequence<int, Months...>) noexcept
{
    return (MonthIndexIsExact<Months> && ...);
}
static_assert(IndexIsExact(std::make_integer_sequence<int, detail::KeyIndexHigh>()));

// 除夕 is the text of the table's 0100 row; it is found by the month length.
inline constexpr int NewYearsEveRow = detail::ScanRow(LunarFestivals, 1, 0);
static_assert(NewYearsEveRow != NoRow);
inline constexpr std::string_view NewYearsEve =
    detail::RowNames(LunarFestivals[static_cast<std::size_t>(NewYearsEveRow)]);

// No lunar year of the table has a leap 12th month, so the last day of the
// ordinary 12th month is the last day of the lunar year.
constexpr bool NoLeapTwelfthMonth() noexcept
{
    for (int y = FirstLunarYear; y <= LastLunarYear; ++y)
        if (LeapMonth(y) == 12) return false;
    return true;
}
static_assert(NoLeapTwelfthMonth());

template <std::size_t N>
constexpr std::size_t LongestNames(const std::array<std::string_view, N>& table) noexcept
{
    std::size_t longest = 0;
    for (std::size_t i = 0; i < N && !table[i].empty(); ++i)
        longest = std::max(longest, detail::RowNames(table[i]).size());
    return longest;
}

constexpr std::size_t LongestTermName() noexcept
{
    std::size_t longest = 0;
    for (const std::string_view name : SolarTermNames) longest = std::max(longest, name.size());
    return longest;
}

// Longest possible festival list: every part at its longest, each with its
// trailing space (about 130 bytes).
inline constexpr std::size_t ListCapacity = LongestTermName() + LongestNames(LunarFestivals)
    + LongestNames(GregorianFestivals) + LongestNames(WeekdayFestivals) + BlackFriday.size()
    + Easter.size() + 6;

// The festival list is composed on the stack and copied into the caller's
// string once, so a short list stays in the string's own buffer.
class ListBuilder {
public:
    void Add(std::string_view names) noexcept
    {
        if (names.empty() || names.size() + 1 > m_text.size() - m_size) return;
        std::copy(names.begin(), names.end(), m_text.begin() + static_cast<std::ptrdiff_t>(m_size));
        m_size += names.size();
        m_text[m_size++] = ' ';
    }
    std::string_view View() const noexcept { return {m_text.data(), m_size}; }

private:
    std::array<char, ListCapacity> m_text{};
    std::size_t m_size = 0;
};

template <std::size_t N>
constexpr std::string_view NamesAt(const std::array<std::string_view, N>& table, int row) noexcept
{
    return row == NoRow ? std::string_view()
                        : detail::RowNames(table[static_cast<std::size_t>(row)]);
}

constexpr std::string_view GregorianNames(int month, int day) noexcept
{
    // 2000 is a leap year: 29 February has its rows.
    if (day < 1 || day > DaysInMonth(2000, month)) return {};
    return NamesAt(GregorianFestivals, detail::IndexedRow(detail::GregorianIndex, month, day));
}

constexpr std::string_view LunarNames(int lunarYear, int lunarMonth, int lunarDay) noexcept
{
    // The table's 除夕 row is keyed as day 0 of month 1: no lookup may reach it.
    if (lunarMonth < 1 || lunarMonth > 12 || lunarDay < 1 || lunarDay > 30) return {};
    const int row = detail::IndexedRow(detail::LunarIndex, lunarMonth, lunarDay);
    if (row != NoRow) return NamesAt(LunarFestivals, row);
    if (lunarMonth == 12 && lunarYear >= FirstLunarYear && lunarYear <= LastLunarYear
        && lunarDay == LunarMonthDays(lunarYear, 12))
        return NewYearsEve;
    return {};
}

// Years 1..65535 with a month of 1..12 and a day within it.
constexpr bool IsValidDate(int year, int month, int day) noexcept
{
    return year >= 1 && year <= 65535 && month >= 1 && month <= 12 && day >= 1
        && day <= DaysInMonth(year, month);
}

// The caller has checked the date with IsValidDate.
constexpr std::string_view WeekdayRuleNamesOfValidDate(int year, int month, int day) noexcept
{
    const detail::WeekKey key = detail::WeekOfMonth(DayOfWeek(year, month, 1), day);
    if (key.week < 0 || key.week > 9 || key.weekday < 0) return {};
    int row = detail::IndexedRow(detail::WeekdayIndex, month, key.week * 10 + key.weekday);
    // The fourth Sunday falls back to a fifth-Sunday row of the month.
    if (row == NoRow && key.week == 4 && key.weekday == 0)
        row = detail::IndexedRow(detail::WeekdayIndex, month, 50);
    return NamesAt(WeekdayFestivals, row);
}

constexpr std::string_view WeekdayRuleNames(int year, int month, int day) noexcept
{
    return IsValidDate(year, month, day) ? WeekdayRuleNamesOfValidDate(year, month, day)
                                         : std::string_view();
}

constexpr bool IsEaster(int year, int month, int day) noexcept
{
    if (month != 3 && month != 4) return false;
    const detail::MonthDay easter = detail::EasterSunday(year);
    return easter.month == month && easter.day == day;
}

}  // namespace

std::string FindGregorianFestival(int /*year*/, int month, int day)
{
    return std::string(GregorianNames(month, day));
}

std::string FindLunarFestival(int lunarYear, int lunarMonth, int lunarDay)
{
    return std::string(LunarNames(lunarYear, lunarMonth, lunarDay));
}

std::string FindWeekdayFestival(int year, int month, int day)
{
    return std::string(WeekdayRuleNames(year, month, day));
}

void GetDayFestivals(int year, int month, int day, std::string& result, bool withLunar)
{
    if (!IsValidDate(year, month, day)) {
        result.clear();
        return;
    }
    ListBuilder list;
    if (withLunar) {
        list.Add(SolarTermOnDate(year, month, day));
        const LunarDate lunar = ToLunar(year, month, day);
        if (HasLunarDate(lunar)) list.Add(LunarNames(lunar.year, lunar.month, lunar.day));
    }
    list.Add(GregorianNames(month, day));
    list.Add(WeekdayRuleNamesOfValidDate(year, month, day));
    if (day == 13 && DayOfWeek(year, month, day) == 5) list.Add(BlackFriday);
    if (IsEaster(year, month, day)) list.Add(Easter);
    result.assign(list.View());
}

bool IsSectionalTerm(std::string_view termName) noexcept
{
    for (std::size_t k = 0; k < SolarTermNames.size(); k += 2)
        if (SolarTermNames[k] == termName) return true;
    return false;
}

}  // namespace qov
