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
// Rows of one key follow each other, so that a lookup reads on from the
// indexed row while the key holds.
template <std::size_t N>
constexpr bool RowsAreWellFormed(const std::array<FestivalRow, N>& table) noexcept
{
    std::size_t i = 0;
    for (; i < N && !table[i].text.empty(); ++i) {
        const std::string_view row = table[i].text;
        if (row.size() < 6 || row[4] != ' ') return false;
        for (std::size_t j = 0; j < 4; ++j)
            if (!detail::IsDigit(row[j])) return false;
        for (std::size_t k = 0; k + 1 < i; ++k)
            if (table[k].text.substr(0, 4) == row.substr(0, 4)
                && table[k + 1].text.substr(0, 4) != row.substr(0, 4))
                return false;
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
    detail::RowNames(LunarFestivals[static_cast<std::size_t>(NewYearsEveRow)].text);

// No lunar year of the table has a leap 12th month, so the last day of the
// ordinary 12th month is the last day of the lunar year.
constexpr bool NoLeapTwelfthMonth() noexcept
{
    for (int y = FirstLunarYear; y <= LastLunarYear; ++y)
        if (LeapMonth(y) == 12) return false;
    return true;
}
static_assert(NoLeapTwelfthMonth());

// Longest names of one key, with the spaces between its rows.
template <std::size_t N>
constexpr std::size_t LongestNames(const std::array<FestivalRow, N>& table) noexcept
{
    std::size_t longest = 0;
    std::size_t run = 0;
    for (std::size_t i = 0; i < N && !table[i].text.empty(); ++i) {
        const bool sameKey = i > 0 && table[i - 1].text.substr(0, 4) == table[i].text.substr(0, 4);
        run = (sameKey ? run + 1 : 0) + detail::RowNames(table[i].text).size();
        longest = std::max(longest, run);
    }
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

// The rows of one key: from the indexed row while the key holds.
template <std::size_t N>
void AddRows(ListBuilder& list, const std::array<FestivalRow, N>& table, int row,
    FestivalKinds kinds) noexcept
{
    if (row == NoRow) return;
    const auto first = static_cast<std::size_t>(row);
    const std::string_view key = table[first].text.substr(0, 4);
    for (std::size_t i = first; i < N && table[i].text.substr(0, 4) == key; ++i)
        if ((kinds & KindBit(table[i].kind)) != 0) list.Add(detail::RowNames(table[i].text));
}

void AddGregorianNames(ListBuilder& list, int month, int day, FestivalKinds kinds) noexcept
{
    // 2000 is a leap year: 29 February has its rows.
    if (day < 1 || day > DaysInMonth(2000, month)) return;
    AddRows(
        list, GregorianFestivals, detail::IndexedRow(detail::GregorianIndex, month, day), kinds);
}

// Every lunar row is a traditional festival, 除夕 included.
constexpr bool LunarRowsAreFolk() noexcept
{
    for (const FestivalRow& row : LunarFestivals)
        if (!row.text.empty() && row.kind != FestivalKind::Folk) return false;
    return true;
}
static_assert(LunarRowsAreFolk());

constexpr std::string_view LunarNames(int lunarYear, int lunarMonth, int lunarDay) noexcept
{
    // The table's 除夕 row is keyed as day 0 of month 1: no lookup may reach it.
    if (lunarMonth < 1 || lunarMonth > 12 || lunarDay < 1 || lunarDay > 30) return {};
    const int row = detail::IndexedRow(detail::LunarIndex, lunarMonth, lunarDay);
    if (row != NoRow) return detail::RowNames(LunarFestivals[static_cast<std::size_t>(row)].text);
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
void AddWeekdayRuleNames(
    ListBuilder& list, int year, int month, int day, FestivalKinds kinds) noexcept
{
    const detail::WeekKey key = detail::WeekOfMonth(DayOfWeek(year, month, 1), day);
    if (key.week < 0 || key.week > 9 || key.weekday < 0) return;
    int row = detail::IndexedRow(detail::WeekdayIndex, month, key.week * 10 + key.weekday);
    // The fourth Sunday falls back to a fifth-Sunday row of the month.
    if (row == NoRow && key.week == 4 && key.weekday == 0)
        row = detail::IndexedRow(detail::WeekdayIndex, month, 50);
    AddRows(list, WeekdayFestivals, row, kinds);
}

// The list without its last space.
std::string Joined(const ListBuilder& list)
{
    std::string_view names = list.View();
    if (!names.empty()) names.remove_suffix(1);
    return std::string(names);
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
    ListBuilder list;
    AddGregorianNames(list, month, day, AllFestivalKinds);
    return Joined(list);
}

std::string FindLunarFestival(int lunarYear, int lunarMonth, int lunarDay)
{
    return std::string(LunarNames(lunarYear, lunarMonth, lunarDay));
}

std::string FindWeekdayFestival(int year, int month, int day)
{
    ListBuilder list;
    if (IsValidDate(year, month, day))
        AddWeekdayRuleNames(list, year, month, day, AllFestivalKinds);
    return Joined(list);
}

void GetDayFestivals(
    int year, int month, int day, std::string& result, bool withLunar, FestivalKinds kinds)
{
    if (!IsValidDate(year, month, day)) {
        result.clear();
        return;
    }
    const auto wanted = [kinds](FestivalKind kind) { return (kinds & KindBit(kind)) != 0; };
    ListBuilder list;
    if (withLunar) {
        if (wanted(FestivalKind::Term)) list.Add(SolarTermOnDate(year, month, day));
        const LunarDate lunar = ToLunar(year, month, day);
        if (HasLunarDate(lunar) && wanted(FestivalKind::Folk))
            list.Add(LunarNames(lunar.year, lunar.month, lunar.day));
    }
    AddGregorianNames(list, month, day, kinds);
    AddWeekdayRuleNames(list, year, month, day, kinds);
    if (wanted(FestivalKind::West)) {
        if (day == 13 && DayOfWeek(year, month, day) == 5) list.Add(BlackFriday);
        if (IsEaster(year, month, day)) list.Add(Easter);
    }
    result.assign(list.View());
}

bool IsSectionalTerm(std::string_view termName) noexcept
{
    for (std::size_t k = 0; k < SolarTermNames.size(); k += 2)
        if (SolarTermNames[k] == termName) return true;
    return false;
}

}  // namespace qov
