// Named days: fixed Gregorian and lunar dates, weekday rules, Friday the
// 13th and Easter, joined into one festival list per date. GBK text.
//
// Every function here is defined for every value of every argument: a date
// that does not exist (month outside 1..12, a day outside the month, a year
// outside 1..65535 where the year matters) has no festival and gives "".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qov {

// The kinds of named days, each with its own switch in the settings.
enum class FestivalKind : std::uint8_t {
    Term,   // 节气: the 24 solar terms
    Folk,   // 传统节日: the lunar festivals and 除夕
    China,  // 公历节日: the Chinese Gregorian festivals and memorial days
    World,  // 国际纪念日: the 世界…日 and 国际…日 days
    West,  // 西方节日: 情人节, 复活节, 母亲节, 感恩节, 圣诞节, 黑色星期五 and kin
};

// A set of kinds, one bit each.
using FestivalKinds = std::uint8_t;
constexpr FestivalKinds KindBit(FestivalKind kind) noexcept
{
    return static_cast<FestivalKinds>(1u << static_cast<unsigned>(kind));
}
inline constexpr FestivalKinds AllFestivalKinds = 0x1F;

// Names of the Gregorian festival rows for month and day, joined by one
// space ("" when none). The year is ignored: every row recurs every year,
// 29 February included.
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
// lunar festival first. Only the names of the kinds in `kinds` are listed.
void GetDayFestivals(int year, int month, int day, std::string& result, bool withLunar,
    FestivalKinds kinds = AllFestivalKinds);

// True for the twelve sectional terms (小寒, 立春, .. 大雪), byte for byte.
bool IsSectionalTerm(std::string_view termName) noexcept;

}  // namespace qov
