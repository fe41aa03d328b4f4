// Sexagenary (gan-zhi) names, zodiac animals, constellations and reign eras.
#pragma once

#include <string>

namespace qov {

// kind 1: year (changes on 立春), 2: month (changes on each sectional term),
// 3: day. Any other kind gives "". Gregorian date, month 1..12.
std::string GanZhiText(int year, int month, int day, int kind);
// Animal of a year number: 鼠 for 1900, 1912, .. 2008.
std::string ZodiacName(int year);
// Western constellation of a date (month 1..12); the year is not used.
std::string ConstellationName(int year, int month, int day);
// Reign-era year label: 光绪元年 .. 建国61年; "" up to 1874.
std::string EraName(int year);

}  // namespace qov
