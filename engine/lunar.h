// The Chinese lunisolar calendar of 1900..2100 from one packed year table,
// and the conversion of Gregorian dates to lunar dates.
//
// Every function here is defined for every int argument. The year-table
// accessors give 0 for a lunar year outside 1900..2100 or a month outside
// 1..12; SolarToLunar gives no lunar date (HasLunarDate false) for anything
// but a valid Gregorian date from 1900-01-31 to 2101-01-28.
#pragma once

#include <array>
#include <cstdint>

#include "gregorian.h"
#include "lunar_table.h"

namespace qov {

inline constexpr int FirstLunarYear = 1900;
inline constexpr int LastLunarYear = 2100;

// Lunar years 1900..1928 as the official tables of the time give them,
// one decade a row. They reckoned in Beijing local mean time (about
// UTC+7:46), and 1914, 1915, 1916 and 1920 differ from what the UTC+8 rule
// of the later years gives (generated::RuleLunarYearsBefore1929); the
// record stands.
// clang-format off
inline constexpr std::array<std::uint32_t, 29> HistoricalLunarYears = {
    0x04BD8, 0x04AE0, 0x0A570, 0x054D5, 0x0D260, 0x0D950, 0x16554, 0x056A0, 0x09AD0, 0x055D2,  // 1900
    0x04AE0, 0x0A5B6, 0x0A4D0, 0x0D250, 0x1D255, 0x0B540, 0x0D6A0, 0x0ADA2, 0x095B0, 0x14977,  // 1910
    0x04970, 0x0A4B0, 0x0B4B5, 0x06A50, 0x06D40, 0x1AB54, 0x02B60, 0x09570, 0x052F2,           // 1920
};
// clang-format on

namespace detail {
constexpr std::array<std::uint32_t, LastLunarYear - FirstLunarYear + 1> JoinLunarYears() noexcept
{
    std::array<std::uint32_t, LastLunarYear - FirstLunarYear + 1> all{};
    std::size_t i = 0;
    for (const std::uint32_t e : HistoricalLunarYears) all[i++] = e;
    for (const std::uint32_t e : generated::ComputedLunarYears) all[i++] = e;
    return all;
}
static_assert(HistoricalLunarYears.size() + generated::ComputedLunarYears.size()
    == LastLunarYear - FirstLunarYear + 1);
}  // namespace detail

// One entry per lunar year 1900..2100 (index year - 1900). Bits 0-3: the month
// followed by a leap month (0 = none); bits 4-15: months 1..12 at mask
// 0x10000 >> m, set = 30 days; bit 16: the leap month has 30 days.
// From 1929 on the entries are computed from the Swiss Ephemeris by the rules
// of GB/T 33661-2017 (lunar_table.h, tools/gen_calendar_tables.cpp); for
// 1929..2050 they agree with the Purple Mountain Observatory tables, where
// 1933, 1996 and 2033 differ from the tables in older programs.
inline constexpr std::array<std::uint32_t, LastLunarYear - FirstLunarYear + 1> LunarYearInfo =
    detail::JoinLunarYears();

constexpr bool InLunarTable(int lunarYear) noexcept
{
    return lunarYear >= FirstLunarYear && lunarYear <= LastLunarYear;
}

// The packed entry of a lunar year; 0 outside the table.
constexpr std::uint32_t LunarYearEntry(int lunarYear) noexcept
{
    if (!InLunarTable(lunarYear)) return 0;
    return LunarYearInfo[static_cast<std::size_t>(lunarYear - FirstLunarYear)];
}

// The month followed by a leap month, 0 = none (and outside the table).
constexpr int LeapMonth(int lunarYear) noexcept
{
    return static_cast<int>(LunarYearEntry(lunarYear) & 0xFu);
}

// Size of the ordinary month (never the leap month): 29 or 30; 0 outside the
// table or for a month outside 1..12.
constexpr int LunarMonthDays(int lunarYear, int month) noexcept
{
    if (!InLunarTable(lunarYear) || month < 1 || month > 12) return 0;
    return (LunarYearEntry(lunarYear) & (0x10000u >> month)) != 0 ? 30 : 29;
}

// Size of the leap month: 0 without one (and outside the table), else 29
// or 30.
constexpr int LeapMonthDays(int lunarYear) noexcept
{
    if (LeapMonth(lunarYear) == 0) return 0;
    return (LunarYearEntry(lunarYear) & 0x10000u) != 0 ? 30 : 29;
}

// Days of the lunar year, leap month included: 353..385; 0 outside the table.
constexpr int LunarYearDays(int lunarYear) noexcept
{
    if (!InLunarTable(lunarYear)) return 0;
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
// Dates outside the table (before 1900-01-31 or after 2101-01-28) and
// invalid Gregorian dates (month outside 1..12, day outside the month) have
// no lunar date: year, month, day, yearCycle and monthCycle are set to 0 and
// isLeap to false, and HasLunarDate() is false. dayCycle is DayNumber + 40
// for every input.
struct LunarDate {
    int year = 0;
    int month = 0;        // 1..12, 0 = no lunar date
    int day = 0;          // 1..30
    bool isLeap = false;  // the date lies in the leap month after `month`
    int yearCycle = 0;    // lunar year - 1864 (sexagenary counter, 0 = jia-zi)
    int monthCycle = 0;   // 14 for month 1 of 1900, +1 per ordinary month
    int dayCycle = 0;     // DayNumber + 40: 40 on 1900-01-31, any input
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
