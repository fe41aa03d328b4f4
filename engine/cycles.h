// Sexagenary (gan-zhi) names, zodiac animals, constellations and reign eras.
//
// Every function here is defined for every value of every argument; an
// argument outside the stated range gives empty text.
#pragma once

#include <string>

namespace qov {

// Years for which GanZhiText names dates: the four-digit years the date
// fields accept.
inline constexpr int FirstGanZhiYear = 1;
inline constexpr int LastGanZhiYear = 9999;

// kind 1: year (changes on 立春), 2: month (changes on each sectional term),
// 3: day. Any other kind, or a date that is not a valid Gregorian date of
// FirstGanZhiYear..LastGanZhiYear, gives "".
std::string GanZhiText(int year, int month, int day, int kind);
// Animal of any year number: 鼠 for 1900, 1912, .. 2008.
std::string ZodiacName(int year);
// Western constellation of a date (month 1..12, any day); the year is not
// used.
std::string ConstellationName(int year, int month, int day);
// Reign-era year label: 光绪元年 .. 建国61年; "" up to 1874, no upper limit.
std::string EraName(int year);

}  // namespace qov
