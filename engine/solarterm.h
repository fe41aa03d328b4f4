// The 24 solar terms by the mean-year formula, dated in Universal Time.
#pragma once

#include <cstdint>
#include <string>

namespace qov {

// Minutes from 小寒 to term k within a mean tropical year, k = 0..23.
inline constexpr std::int64_t SolarTermOffsets[24] = {0, 21208, 42467, 63836, 85337, 107014, 128867,
    150921, 173149, 195551, 218072, 240693, 263343, 285989, 308563, 331033, 353350, 375494, 397447,
    419210, 440795, 462224, 483532, 504758};

// Broken-down UT moment of a term; callers read year, month and day.
struct SolarTermTime {
    int year = 0;
    int month = 0;    // 1..12
    int weekday = 0;  // 0 = Sunday
    int day = 0;      // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Term k (0 = 小寒 .. 23 = 冬至) of Gregorian year `year`. For 1899..2051
// term k falls in month k / 2 + 1 of that year.
SolarTermTime SolarTermDate(int year, int k) noexcept;

// The name of the term falling on the date, or "". Month 1..12.
std::string SolarTermOnDate(int year, int month, int day);

// kind 1: the latest sectional term strictly before the date, days since it;
// kind 2: the next one strictly after it, days until it. Other kinds give ""
// and days = 0. Month 1..12.
std::string NearSectionalTerm(int year, int month, int day, int kind, int& days);

}  // namespace qov
