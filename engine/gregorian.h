// Gregorian day arithmetic: leap years, month lengths, day distances,
// weekdays and today's date. Proleptic Gregorian calendar for every year.
//
// Every function here is defined for every value of every argument. Days are
// counted on years 0..65535 (the 16-bit years of DayDifference) with months
// 1..12 and days 0..65535 (a day past the month's end counts on into the next
// months, day 0 is the last day of the month before); outside that,
// DayDifference and DayNumber give 0, DayOfWeek 0. The civil-day conversions
// give 1970-01-01 (day 0) outside +-MaxCivilYear.
#pragma once

#include <cstdint>

namespace qov {

// A Gregorian date as three plain integers; carries no validity flag.
struct SolarDate {
    int year = 1900;
    int month = 1;  // 1..12
    int day = 1;    // 1..31

    constexpr void Set(int y, int m, int d) noexcept
    {
        year = y;
        month = m;
        day = d;
    }
    constexpr void Get(int& y, int& m, int& d) const noexcept
    {
        y = year;
        m = month;
        d = day;
    }
    friend constexpr bool operator==(const SolarDate&, const SolarDate&) = default;
};

constexpr bool IsLeapYear(std::uint16_t year) noexcept
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// 28..31; 0 for a month outside 1..12.
constexpr int DaysInMonth(int year, int month) noexcept
{
    if (month < 1 || month > 12) return 0;
    if (month == 2) return IsLeapYear(static_cast<std::uint16_t>(year)) ? 29 : 28;
    if (month == 4 || month == 6 || month == 9 || month == 11) return 30;
    return 31;
}

namespace detail {
// Days before each month of a common year, index month - 1.
inline constexpr int DaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
// The same counts reduced modulo 7: weekday shift of each month's first day.
inline constexpr int WeekdayOffset[12] = {0, 3, 3, 6, 1, 4, 6, 2, 5, 0, 3, 5};

// Day count of (y, m, d) from a fixed origin; months must be 1..12, days are
// not checked and count on arithmetically (day 0 of March is 28/29 February).
// At most 365 * 65535 + 15892 + 334 + 1 + 65535 = 23'999'037: no overflow.
constexpr int Serial(std::uint16_t y, std::uint16_t m, std::uint16_t d) noexcept
{
    const int py = y - 1;
    // Year 0 is a leap year, so one leap day less lies before it than before
    // year 1; truncating division would give 0 for py = -1.
    const int leapDaysBefore = y == 0 ? -1 : py / 4 - py / 100 + py / 400;
    const int afterFeb = (IsLeapYear(y) && m > 2) ? 1 : 0;
    return 365 * y + leapDaysBefore + DaysBeforeMonth[m - 1] + afterFeb + d;
}
}  // namespace detail

// Days from the second date to the first (positive when the first is later).
// Each argument is taken as an unsigned 16-bit number; 0 when either month
// lies outside 1..12.
constexpr int DayDifference(std::uint16_t y1, std::uint16_t m1, std::uint16_t d1, std::uint16_t y2,
    std::uint16_t m2, std::uint16_t d2) noexcept
{
    if (m1 < 1 || m1 > 12 || m2 < 1 || m2 > 12) return 0;
    return detail::Serial(y1, m1, d1) - detail::Serial(y2, m2, d2);
}

// True when DayNumber and DayOfWeek count the date: year 0..65535, month
// 1..12, day 0..65535.
constexpr bool IsCountedDate(int year, int month, int day) noexcept
{
    return year >= 0 && year <= 65535 && month >= 1 && month <= 12 && day >= 0 && day <= 65535;
}

// Day counter: 0 on 31 January 1900, negative before it; 0 for a date that is
// not counted (see IsCountedDate).
constexpr int DayNumber(int year, int month, int day) noexcept
{
    if (!IsCountedDate(year, month, day)) return 0;
    return DayDifference(static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
        static_cast<std::uint16_t>(day), 1900, 1, 31);
}

// 0 = Sunday .. 6 = Saturday; 0 for a date that is not counted.
constexpr int DayOfWeek(int year, int month, int day) noexcept
{
    if (!IsCountedDate(year, month, day)) return 0;
    // Every 400 years hold 146097 days, exactly 20871 weeks: year 0 has the
    // weekdays of year 400, and k below is never negative.
    const int k = (year == 0 ? 400 : year) - 1;  // [0, 65534]
    // 365 * k reduced modulo 7 is k modulo 7. s: [0, 65535 + 6 + 6 + 16383 + 163 + 1].
    int s = k / 400 + detail::WeekdayOffset[month - 1] - k / 100 + k % 7 + day + k / 4;
    if (IsLeapYear(static_cast<std::uint16_t>(year)) && month > 2) ++s;
    return static_cast<int>(static_cast<unsigned>(s) % 7u);  // s >= 0: unsigned is cheaper
}

// Today's date on the local clock: in the zone $TZ names (else the system's)
// on Linux, in the system's zone whatever %TZ% says on Windows.
SolarDate Today() noexcept;

// Civil-day arithmetic on days since 1970-01-01 (negative before), after
// H. Hinnant's days_from_civil / civil_from_days, for years within
// +-MaxCivilYear (every int year) and months 1..12; days count on
// arithmetically; days within +-366 * MaxCivilYear. Anything else gives day 0
// and 1970-01-01.
inline constexpr long long MaxCivilYear = 1'000'000'000'000;

constexpr long long DaysFromCivil(long long y, unsigned m, unsigned d) noexcept
{
    if (y < -MaxCivilYear || y > MaxCivilYear || m < 1 || m > 12) return 0;
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);                 // [0, 399]
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;  // [0, 365]
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;            // [0, 146096]
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

struct CivilDate {
    long long year;
    unsigned month;  // 1..12
    unsigned day;    // 1..31
};

constexpr CivilDate CivilFromDays(long long z) noexcept
{
    // Every day of the years within +-MaxCivilYear, and a little more.
    if (z < -366 * MaxCivilYear || z > 366 * MaxCivilYear) return {1970, 1, 1};
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);                    // [0, 146096]
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
    const unsigned mp = (5 * doy + 2) / 153;                                     // [0, 11]
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;                             // [1, 31]
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;                                // [1, 12]
    return {static_cast<long long>(yoe) + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

}  // namespace qov
