// The Chinese lunisolar calendar of 1900..2050 from one packed year table,
// and the conversion of Gregorian dates to lunar dates.
#pragma once

#include <array>
#include <cstdint>

#include "gregorian.h"

namespace qov {

inline constexpr int FirstLunarYear = 1900;
inline constexpr int LastLunarYear = 2050;

// One entry per lunar year 1900..2050 (index year - 1900). Bits 0-3: the month
// followed by a leap month (0 = none); bits 4-15: months 1..12 at mask
// 0x10000 >> m, set = 30 days; bit 16: the leap month has 30 days.
// Checked against the Purple Mountain Observatory tables (GB/T 33661-2017):
// 1933, 1996 and 2033 differ from the tables in older programs.
// clang-format off: one decade per row
inline constexpr std::array<std::uint32_t, 151> LunarYearInfo = {
    0x04BD8, 0x04AE0, 0x0A570, 0x054D5, 0x0D260, 0x0D950, 0x16554, 0x056A0, 0x09AD0,
    0x055D2,  // 1900
    0x04AE0, 0x0A5B6, 0x0A4D0, 0x0D250, 0x1D255, 0x0B540, 0x0D6A0, 0x0ADA2, 0x095B0,
    0x14977,  // 1910
    0x04970, 0x0A4B0, 0x0B4B5, 0x06A50, 0x06D40, 0x1AB54, 0x02B60, 0x09570, 0x052F2,
    0x04970,  // 1920
    0x06566, 0x0D4A0, 0x0EA50, 0x16A95, 0x05AD0, 0x02B60, 0x186E3, 0x092E0, 0x1C8D7,
    0x0C950,  // 1930
    0x0D4A0, 0x1D8A6, 0x0B550, 0x056A0, 0x1A5B4, 0x025D0, 0x092D0, 0x0D2B2, 0x0A950,
    0x0B557,  // 1940
    0x06CA0, 0x0B550, 0x15355, 0x04DA0, 0x0A5B0, 0x14573, 0x052B0, 0x0A9A8, 0x0E950,
    0x06AA0,  // 1950
    0x0AEA6, 0x0AB50, 0x04B60, 0x0AAE4, 0x0A570, 0x05260, 0x0F263, 0x0D950, 0x05B57,
    0x056A0,  // 1960
    0x096D0, 0x04DD5, 0x04AD0, 0x0A4D0, 0x0D4D4, 0x0D250, 0x0D558, 0x0B540, 0x0B6A0,
    0x195A6,  // 1970
    0x095B0, 0x049B0, 0x0A974, 0x0A4B0, 0x0B27A, 0x06A50, 0x06D40, 0x0AF46, 0x0AB60,
    0x09570,  // 1980
    0x04AF5, 0x04970, 0x064B0, 0x074A3, 0x0EA50, 0x06B58, 0x05AC0, 0x0AB60, 0x096D5,
    0x092E0,  // 1990
    0x0C960, 0x0D954, 0x0D4A0, 0x0DA50, 0x07552, 0x056A0, 0x0ABB7, 0x025D0, 0x092D0,
    0x0CAB5,  // 2000
    0x0A950, 0x0B4A0, 0x0BAA4, 0x0AD50, 0x055D9, 0x04BA0, 0x0A5B0, 0x15176, 0x052B0,
    0x0A930,  // 2010
    0x07954, 0x06AA0, 0x0AD50, 0x05B52, 0x04B60, 0x0A6E6, 0x0A4E0, 0x0D260, 0x0EA65,
    0x0D530,  // 2020
    0x05AA0, 0x076A3, 0x096D0, 0x04AFB, 0x04AD0, 0x0A4D0, 0x1D0B6, 0x0D250, 0x0D520,
    0x0DD45,  // 2030
    0x0B5A0, 0x056D0, 0x055B2, 0x049B0, 0x0A577, 0x0A4B0, 0x0AA50, 0x1B255, 0x06D20,
    0x0ADA0,  // 2040
    0x14B63,  // 2050
};
// clang-format on

// Year arguments below must lie in 1900..2050; months in 1..12.
constexpr std::uint32_t LunarYearEntry(int lunarYear) noexcept
{
    return LunarYearInfo[static_cast<std::size_t>(lunarYear - FirstLunarYear)];
}

// The month followed by a leap month, 0 = none.
constexpr int LeapMonth(int lunarYear) noexcept
{
    return static_cast<int>(LunarYearEntry(lunarYear) & 0xFu);
}

// Size of the ordinary month (never the leap month): 29 or 30.
constexpr int LunarMonthDays(int lunarYear, int month) noexcept
{
    return (LunarYearEntry(lunarYear) & (0x10000u >> month)) != 0 ? 30 : 29;
}

// Size of the leap month: 0 without one, else 29 or 30.
constexpr int LeapMonthDays(int lunarYear) noexcept
{
    if (LeapMonth(lunarYear) == 0) return 0;
    return (LunarYearEntry(lunarYear) & 0x10000u) != 0 ? 30 : 29;
}

// Days of the lunar year, leap month included: 353..385.
constexpr int LunarYearDays(int lunarYear) noexcept
{
    int total = 348;  // twelve months of 29 days
    for (std::uint32_t mask = 0x8000; mask >= 0x10; mask >>= 1)
        total += (LunarYearEntry(lunarYear) & mask) != 0 ? 1 : 0;
    return total + LeapMonthDays(lunarYear);
}

namespace detail {
constexpr bool LunarTableIsSane() noexcept
{
    for (int y = FirstLunarYear; y <= LastLunarYear; ++y) {
        const std::uint32_t e = LunarYearEntry(y);
        if ((e >> 17) != 0) return false;  // only bits 0-16 used
        if (LeapMonth(y) > 12) return false;
        if (LeapMonth(y) == 0 && (e & 0x10000u) != 0) return false;
        if (LunarYearDays(y) < 353 || LunarYearDays(y) > 385) return false;
        if ((LeapMonth(y) == 0) != (LunarYearDays(y) < 360)) return false;
    }
    return true;
}
}  // namespace detail

static_assert(detail::LunarTableIsSane());
static_assert(LunarYearDays(1900) == 384 && LeapMonth(1900) == 8);
static_assert(LeapMonth(2009) == 5 && LeapMonthDays(2009) == 29 && LunarMonthDays(2009, 5) == 30);
static_assert(LeapMonth(2033) == 11 && LeapMonthDays(2033) == 29);

// Filled by SolarToLunar. Before the call year, month and day hold a
// Gregorian date; after it the lunar date and the counters.
//
// Dates outside the table (before 1900-01-31 or after 2051-02-10) have no
// lunar date: year, month, day, yearCycle and monthCycle are set to 0 and
// isLeap to false, and HasLunarDate() is false. dayCycle is filled for every
// date.
struct LunarDate {
    int year = 0;
    int month = 0;        // 1..12, 0 = no lunar date
    int day = 0;          // 1..30
    bool isLeap = false;  // the date lies in the leap month after `month`
    int yearCycle = 0;    // lunar year - 1864 (sexagenary counter, 0 = jia-zi)
    int monthCycle = 0;   // 14 for month 1 of 1900, +1 per ordinary month
    int dayCycle = 0;     // DayNumber + 40: 40 on 1900-01-31, any date
};

constexpr bool HasLunarDate(const LunarDate& d) noexcept { return d.month != 0; }

// Converts the Gregorian date in r.year, r.month, r.day in place.
void SolarToLunar(LunarDate& r) noexcept;

// Convenience: a fresh LunarDate for a Gregorian date.
inline LunarDate ToLunar(int year, int month, int day) noexcept
{
    LunarDate r;
    r.year = year;
    r.month = month;
    r.day = day;
    SolarToLunar(r);
    return r;
}

}  // namespace qov
