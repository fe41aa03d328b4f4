// The 24 solar terms. For Gregorian years 1899..2101 their instants come
// from a table computed from the Swiss Ephemeris (solarterm_table.h) and are
// given in China Standard Time (UTC+8), to the second; other years use a
// mean-year formula and are given in Universal Time.
//
// Every function here is defined for every int argument. A term index
// outside 0..23 or a year outside MinTermYear..MaxTermYear gives a zeroed
// SolarTermTime (month 0); a date that is not a valid Gregorian date of those
// years, or a kind other than 1 and 2, gives "" (and days = 0).
#pragma once

#include <cstdint>
#include <string>

namespace qov {

// Years whose terms come from the ephemeris table, in China Standard Time.
inline constexpr int FirstExactTermYear = 1899;
inline constexpr int LastExactTermYear = 2101;
// Years the formula serves. The mean tropical year is 0.0003 days shorter
// than the Gregorian one, so its terms drift through the calendar; within
// these years every term k still falls in month k / 2 + 1 (from year 10085
// on 立春 slips into January, and from -19689 back 秋分 into October).
inline constexpr int MinTermYear = -9999;
inline constexpr int MaxTermYear = 9999;

// Minutes from 小寒 to term k within a mean tropical year, k = 0..23: the
// formula for the years outside the table.
inline constexpr std::int64_t SolarTermOffsets[24] = {0, 21208, 42467, 63836, 85337, 107014, 128867,
    150921, 173149, 195551, 218072, 240693, 263343, 285989, 308563, 331033, 353350, 375494, 397447,
    419210, 440795, 462224, 483532, 504758};

// Broken-down moment of a term; callers read year, month and day.
struct SolarTermTime {
    int year = 0;
    int month = 0;    // 1..12, 0 = no term (arguments out of range)
    int weekday = 0;  // 0 = Sunday
    int day = 0;      // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;  // 0 for the table's years, whose instants are whole seconds
};

// Term k (0 = 小寒 .. 23 = 冬至) of Gregorian year `year`: China Standard
// Time for 1899..2101, Universal Time by the formula otherwise. Term k
// falls in month k / 2 + 1 of that year.
SolarTermTime SolarTermDate(int year, int k) noexcept;

// The name of the term falling on the date, or "".
std::string SolarTermOnDate(int year, int month, int day);

// kind 1: the latest sectional term strictly before the date, days since it;
// kind 2: the next one strictly after it, days until it. Other kinds, and
// dates outside MinTermYear + 1..MaxTermYear - 1 (where the neighbouring
// year's terms exist), give "" and days = 0.
std::string NearSectionalTerm(int year, int month, int day, int kind, int& days);

}  // namespace qov
