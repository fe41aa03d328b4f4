// Helpers of the model tests: dates in failure messages, the user's days and
// holiday lines as short texts for table rows. Texts are UTF-8 (escaped, as
// some tests here are compiled for GBK).
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "model/holidays.h"
#include "model/mydays.h"

namespace qov {

inline void PrintTo(SolarDate d, std::ostream* o)
{
    *o << d.year << '-' << d.month << '-' << d.day;
}

namespace test {

inline MyDay Lunar(int month, int day, bool leap, int firstYear = 0, std::string name = "x")
{
    return {MyCalendar::Lunar, month, day, leap, firstYear, std::move(name)};
}

inline MyDay Gregorian(int month, int day, int firstYear = 0, std::string name = "x")
{
    return {MyCalendar::Gregorian, month, day, false, firstYear, std::move(name)};
}

inline constexpr const char* Rest = "\xE4\xBC\x91";  // 休
inline constexpr const char* Work = "\xE7\x8F\xAD";  // 班

// "休国庆节", "班春节", or "" for no holiday.
inline std::string Show(const HolidayInfo& info)
{
    const char* kind = info.kind == DayOff::Rest ? Rest : info.kind == DayOff::Work ? Work : "";
    return kind + std::string(info.name);
}

// "2027-01-01 休 元旦;" for each line.
inline std::string Show(const std::vector<HolidayLine>& lines)
{
    std::string text;
    for (const HolidayLine& l : lines) {
        const char* kind = l.kind == HolidayLine::Kind::Rest ? Rest
            : l.kind == HolidayLine::Kind::Work              ? Work
                                                             : "-";
        text += IsoDate(l.date) + ' ' + kind + ' ' + l.name + ';';
    }
    return text;
}

// Each message followed by a line break, "holidays.tsv:" cut from its start.
inline std::string Join(const std::vector<std::string>& messages)
{
    constexpr std::string_view file = "holidays.tsv:";
    std::string text;
    for (const std::string& m : messages)
        text += (m.starts_with(file) ? m.substr(file.size()) : m) + '\n';
    return text;
}

// Days since 1970-01-01, a Thursday.
inline long long Days(const SolarDate& d)
{
    return DaysFromCivil(d.year, static_cast<unsigned>(d.month), static_cast<unsigned>(d.day));
}

}  // namespace test
}  // namespace qov
