// Named days: fixed Gregorian and lunar dates, weekday rules, Friday the
// 13th and Easter, joined into one festival list per date. GBK text.
//
// Every function here is defined for every value of every argument: a date
// that does not exist (month outside 1..12, a day outside the month, a year
// outside 1..65535 where the year matters) has no festival and gives "".
#pragma once

#include <string>
#include <string_view>

namespace qov {

// Names of the Gregorian festival row for month and day ("" when none). The
// year is ignored: every row recurs every year, 29 February included.
std::string FindGregorianFestival(int year, int month, int day);

// Names of the lunar festival row for lunar month and day; the lunar year is
// ignored and there is no leap flag, so a leap month repeats the festivals of
// its ordinary month. The last day of lunar month 12 (29 or 30, looked up in
// the lunar year table for lunar years FirstLunarYear..LastLunarYear) gives
// 除夕. Lunar month 1..12, day 1..30.
std::string FindLunarFestival(int lunarYear, int lunarMonth, int lunarDay);

// Names of the weekday-rule row (month, week of the month, weekday) that
// selects the Gregorian date.
std::string FindWeekdayFestival(int year, int month, int day);

// Replaces `result` with the date's festival list: each name followed by one
// ASCII space, "" when nothing applies. withLunar puts the solar term and the
// lunar festival first.
void GetDayFestivals(int year, int month, int day, std::string& result, bool withLunar);

// True for the twelve sectional terms (小寒, 立春, .. 大雪), byte for byte.
bool IsSectionalTerm(std::string_view termName) noexcept;

}  // namespace qov
