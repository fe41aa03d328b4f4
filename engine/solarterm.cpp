#include "solarterm.h"

#include <array>

#include "gregorian.h"
#include "names.h"
#include "solarterm_table.h"

namespace qov {
namespace {

constexpr std::int64_t SecondsPerDay = 86'400;
constexpr int TableYears = LastExactTermYear - FirstExactTermYear + 1;  // 203
static_assert(generated::FirstTableTermYear == FirstExactTermYear
    && generated::LastTableTermYear == LastExactTermYear
    && generated::TermOffsets.size() == TableYears);

constexpr int HexDigit(char c) noexcept { return c <= '9' ? c - '0' : c - 'A' + 10; }

// Term k of a table year, in seconds since 1970-01-01 00:00 China Standard
// Time: the mean instant plus the row's k-th three hex digits (0..4095 s).
constexpr std::int64_t TableInstant(int year, int k) noexcept
{
    const std::string_view row =
        generated::TermOffsets[static_cast<std::size_t>(year - FirstExactTermYear)];
    const auto i = static_cast<std::size_t>(3 * k);
    const int after = HexDigit(row[i]) * 256 + HexDigit(row[i + 1]) * 16 + HexDigit(row[i + 2]);
    const auto kk = static_cast<std::size_t>(k);
    return generated::TermMeanBase[kk]
        + generated::TermMeanRate[kk] * (year - generated::TermMeanYear) + after;
}

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) noexcept
{
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

constexpr CivilDate TableDate(int year, int k) noexcept
{
    return CivilFromDays(FloorDiv(TableInstant(year, k), SecondsPerDay));
}

// Day of the month of every table term, from the instants at compile time.
using TermDayRow = std::array<std::uint8_t, 24>;
constexpr std::array<TermDayRow, TableYears> MakeTermDays() noexcept
{
    std::array<TermDayRow, TableYears> days{};
    for (int y = FirstExactTermYear; y <= LastExactTermYear; ++y)
        for (int k = 0; k < 24; ++k)
            days[static_cast<std::size_t>(y - FirstExactTermYear)][static_cast<std::size_t>(k)] =
                static_cast<std::uint8_t>(TableDate(y, k).day);
    return days;
}
constexpr auto TableTermDays = MakeTermDays();

// The table is well formed (72 hex digits a row), its terms come in order,
// and term k of every table year falls in month k / 2 + 1 of that year, on
// which SolarTermOnDate, NearSectionalTerm and the gan-zhi months rely.
constexpr bool TermTableIsSane() noexcept
{
    std::int64_t previous = 0;
    for (int y = FirstExactTermYear; y <= LastExactTermYear; ++y) {
        const std::string_view row =
            generated::TermOffsets[static_cast<std::size_t>(y - FirstExactTermYear)];
        if (row.size() != 72) return false;
        for (const char c : row)
            if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
        for (int k = 0; k < 24; ++k) {
            const std::int64_t t = TableInstant(y, k);
            if (y > FirstExactTermYear || k > 0) {
                // Terms lie 14.7 to 15.8 days apart.
                if (t - previous < 14 * SecondsPerDay || t - previous > 16 * SecondsPerDay)
                    return false;
            }
            previous = t;
            const CivilDate c = TableDate(y, k);
            if (c.year != y || static_cast<int>(c.month) != k / 2 + 1) return false;
        }
    }
    return true;
}
static_assert(TermTableIsSane());
// 立春 2009: 2009-02-04 00:49 CST (Purple Mountain Observatory).
static_assert(TableInstant(2009, 2) / 60 == (DaysFromCivil(2009, 2, 4) * 1440 + 49));

// The mean-year formula for the years outside the table, in UT: 100-ns
// ticks since 1601-01-01.
constexpr std::int64_t TicksPerSecond = 10'000'000;
constexpr std::int64_t TicksPerDay = SecondsPerDay * TicksPerSecond;
// Day number (days since 1970-01-01) of 1601-01-01, where the ticks start.
constexpr long long TickEpochDay = DaysFromCivil(1601, 1, 1);
// 小寒 1900: 1900-01-06 02:05:00.000 UT, in ticks since 1601-01-01.
constexpr std::int64_t ReferenceTicks =
    (DaysFromCivil(1900, 1, 6) - TickEpochDay) * TicksPerDay + (2 * 3600 + 5 * 60) * TicksPerSecond;
// Mean tropical year in milliseconds.
constexpr double TropicalYearMs = 31556925974.7;

// The broken-down time of `ticks` 100-ns ticks after the start of day
// `civilDay` (days since 1970-01-01, on the clock the result is read on).
SolarTermTime BreakDown(std::int64_t civilDay, std::int64_t ticks) noexcept
{
    const std::int64_t wholeDays = FloorDiv(ticks, TicksPerDay);
    const std::int64_t inDay = ticks - wholeDays * TicksPerDay;  // [0, TicksPerDay)
    const std::int64_t days = civilDay + wholeDays;
    const CivilDate c = CivilFromDays(days);
    SolarTermTime t;
    t.year = static_cast<int>(c.year);
    t.month = static_cast<int>(c.month);
    t.day = static_cast<int>(c.day);
    const std::int64_t weekday = (days + 4) % 7;  // 1970-01-01 was a Thursday
    t.weekday = static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
    t.hour = static_cast<int>(inDay / (3600 * TicksPerSecond));
    t.minute = static_cast<int>(inDay / (60 * TicksPerSecond) % 60);
    t.second = static_cast<int>(inDay / TicksPerSecond % 60);
    t.millisecond = static_cast<int>(inDay / 10'000 % 1000);
    return t;
}

// In UT; the year lies in MinTermYear..MaxTermYear, k in 0..23.
SolarTermTime FormulaTermDate(int year, int k) noexcept
{
    const auto a = static_cast<double>(SolarTermOffsets[k] * 60000);
    const double v =
        (a + (year - 1900) * TropicalYearMs) * 10000 + static_cast<double>(ReferenceTicks);
    const auto ticks = static_cast<std::int64_t>(v);  // truncated toward zero
    return BreakDown(TickEpochDay, ticks);
}

constexpr bool InTable(int year) noexcept
{
    return year >= FirstExactTermYear && year <= LastExactTermYear;
}

// Day of term k of `year`; it lies in month k / 2 + 1.
int TermDay(int year, int k) noexcept
{
    if (InTable(year))
        return TableTermDays[static_cast<std::size_t>(year - FirstExactTermYear)]
                            [static_cast<std::size_t>(k)];
    return FormulaTermDate(year, k).day;
}

}  // namespace

SolarTermTime SolarTermDate(int year, int k) noexcept
{
    if (k < 0 || k > 23 || year < MinTermYear || year > MaxTermYear) return {};
    if (!InTable(year)) return FormulaTermDate(year, k);
    return BreakDown(0, TableInstant(year, k) * TicksPerSecond);
}

std::string SolarTermOnDate(int year, int month, int day)
{
    if (month < 1 || month > 12 || year < MinTermYear || year > MaxTermYear) return {};
    const int k = 2 * month - 2;
    if (InTable(year)) {
        const TermDayRow& days = TableTermDays[static_cast<std::size_t>(year - FirstExactTermYear)];
        if (days[static_cast<std::size_t>(k)] == day)
            return std::string(SolarTermNames[static_cast<std::size_t>(k)]);
        if (days[static_cast<std::size_t>(k) + 1] == day)
            return std::string(SolarTermNames[static_cast<std::size_t>(k) + 1]);
        return {};
    }
    for (int j = k; j <= k + 1; ++j) {
        const SolarTermTime t = FormulaTermDate(year, j);
        if (t.month == month && t.day == day)
            return std::string(SolarTermNames[static_cast<std::size_t>(j)]);
    }
    return {};
}

std::string NearSectionalTerm(int year, int month, int day, int kind, int& days)
{
    days = 0;
    if ((kind != 1 && kind != 2) || year <= MinTermYear || year >= MaxTermYear || month < 1
        || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return {};
    const int k = 2 * month - 2;  // this month's sectional term
    const int j = TermDay(year, k);
    if (kind == 1) {
        if (j < day) {
            days = day - j;
            return std::string(SolarTermNames[static_cast<std::size_t>(k)]);
        }
        const int py = month == 1 ? year - 1 : year;
        const int pm = month == 1 ? 12 : month - 1;
        const int pk = 2 * pm - 2;
        days = DaysInMonth(py, pm) + day - TermDay(py, pk);
        return std::string(SolarTermNames[static_cast<std::size_t>(pk)]);
    }
    if (kind == 2) {
        if (j > day) {
            days = j - day;
            return std::string(SolarTermNames[static_cast<std::size_t>(k)]);
        }
        const int ny = month == 12 ? year + 1 : year;
        const int nm = month == 12 ? 1 : month + 1;
        const int nk = 2 * nm - 2;
        days = DaysInMonth(year, month) - day + TermDay(ny, nk);
        return std::string(SolarTermNames[static_cast<std::size_t>(nk)]);
    }
    return {};
}

}  // namespace qov
