#include "names.h"

#include "gregorian.h"

namespace qov {
std::string CycleName(int n)
{
    std::string s(HeavenlyStems[static_cast<std::size_t>(FloorMod(n, 10))]);
    s += EarthlyBranches[static_cast<std::size_t>(FloorMod(n, 12))];
    return s;
}

std::string LunarDayName(int day)
{
    if (day < 1 || day > 30) return {};
    if (day == 10) return "初十";
    if (day == 20) return "二十";
    if (day == 30) return "三十";
    std::string s(DayTens[static_cast<std::size_t>(day / 10)]);
    s += DayDigits[static_cast<std::size_t>(day % 10)];
    return s;
}

std::string LunarMonthName(int month)
{
    if (month < 1 || month > 12) return {};
    return std::string(LunarMonthNames[static_cast<std::size_t>(month)]);
}

std::string WeekdayName(int year, int month, int day)
{
    if (!IsCountedDate(year, month, day)) return {};
    return std::string(WeekdayNames[static_cast<std::size_t>(DayOfWeek(year, month, day))]);
}

}  // namespace qov
