#include "solarterm.h"

#include "gregorian.h"
#include "names.h"

namespace qov {
namespace {

constexpr std::int64_t TicksPerSecond = 10'000'000;  // 100-ns ticks
constexpr std::int64_t TicksPerDay = 86'400 * TicksPerSecond;
// Day number (days since 1970-01-01) of 1601-01-01, where the ticks start.
constexpr long long TickEpochDay = DaysFromCivil(1601, 1, 1);
// 小寒 1900: 1900-01-06 02:05:00.000 UT, in ticks since 1601-01-01.
constexpr std::int64_t ReferenceTicks =
    (DaysFromCivil(1900, 1, 6) - TickEpochDay) * TicksPerDay + (2 * 3600 + 5 * 60) * TicksPerSecond;
// Mean tropical year in milliseconds.
constexpr double TropicalYearMs = 31556925974.7;

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) noexcept
{
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

// Day of term k of `year`; for 1899..2051 it lies in month k / 2 + 1.
int TermDay(int year, int k) noexcept { return SolarTermDate(year, k).day; }

}  // namespace

SolarTermTime SolarTermDate(int year, int k) noexcept
{
    const auto a = static_cast<double>(SolarTermOffsets[k] * 60000);
    const double v =
        (a + (year - 1900) * TropicalYearMs) * 10000 + static_cast<double>(ReferenceTicks);
    const auto ticks = static_cast<std::int64_t>(v);  // truncated toward zero

    const std::int64_t days = FloorDiv(ticks, TicksPerDay);
    const std::int64_t inDay = ticks - days * TicksPerDay;  // [0, TicksPerDay)
    const CivilDate c = CivilFromDays(days + TickEpochDay);

    SolarTermTime t;
    t.year = static_cast<int>(c.year);
    t.month = static_cast<int>(c.month);
    t.day = static_cast<int>(c.day);
    const std::int64_t weekday = (days + 1) % 7;  // 1601-01-01 was a Monday
    t.weekday = static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
    t.hour = static_cast<int>(inDay / (3600 * TicksPerSecond));
    t.minute = static_cast<int>(inDay / (60 * TicksPerSecond) % 60);
    t.second = static_cast<int>(inDay / TicksPerSecond % 60);
    t.millisecond = static_cast<int>(inDay / 10'000 % 1000);
    return t;
}

std::string SolarTermOnDate(int year, int month, int day)
{
    for (int k = 2 * month - 2; k <= 2 * month - 1; ++k) {
        const SolarTermTime t = SolarTermDate(year, k);
        if (t.month == month && t.day == day)
            return std::string(SolarTermNames[static_cast<std::size_t>(k)]);
    }
    return {};
}

std::string NearSectionalTerm(int year, int month, int day, int kind, int& days)
{
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
    days = 0;
    return {};
}

}  // namespace qov
