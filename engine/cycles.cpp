#include "cycles.h"

#include <cstdio>

#include "gregorian.h"
#include "names.h"
#include "solarterm.h"

namespace qov {
namespace {

struct ConstellationSplit {
    int threshold;       // from this day on the second name applies
    const char* before;  // GBK
    const char* from;
};

// Month 1..12 at index month - 1.
constexpr ConstellationSplit Constellations[12] = {
    {21, "魔羯座", "水瓶座"},
    {20, "水瓶座", "双鱼座"},
    {21, "双鱼座", "白羊座"},
    {21, "白羊座", "金牛座"},
    {22, "金牛座", "双子座"},
    {22, "双子座", "巨蟹座"},
    {23, "巨蟹座", "狮子座"},
    {24, "狮子座", "处女座"},
    {24, "处女座", "天秤座"},
    {24, "天秤座", "天蝎座"},
    {23, "天蝎座", "射手座"},
    {22, "射手座", "魔羯座"},
};

std::string EraLabel(const char* era, int n)
{
    if (n == 1) return std::string(era) + "元年";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%d年", era, n);
    return buf;
}

}  // namespace

std::string GanZhiText(int year, int month, int day, int kind)
{
    // Also keeps the counters below far from overflow: 12 * 9999 + 12.
    if (year < FirstGanZhiYear || year > LastGanZhiYear || month < 1 || month > 12 || day < 1
        || day > DaysInMonth(year, month))
        return {};
    switch (kind) {
    case 1: {  // the year name changes on the day of 立春
        const SolarTermTime l = SolarTermDate(year, 2);
        const bool before = month < l.month || (month == l.month && day < l.day);
        return CycleName(before ? year - 1865 : year - 1864);
    }
    case 2: {  // the month name changes on the day of the month's sectional term
        const SolarTermTime j = SolarTermDate(year, 2 * month - 2);
        return CycleName(12 * year + month - (day < j.day ? 22789 : 22788));
    }
    case 3:
        return CycleName(DayNumber(year, month, day) + 40);
    default:
        return {};
    }
}

std::string ZodiacName(int year)
{
    // (year - 4) mod 12 without forming year - 4, which overflows at INT_MIN.
    return std::string(ZodiacAnimals[static_cast<std::size_t>((FloorMod(year, 12) + 8) % 12)]);
}

std::string ConstellationName(int /*year*/, int month, int day)
{
    if (month < 1 || month > 12) return {};
    const ConstellationSplit& c = Constellations[month - 1];
    return day < c.threshold ? c.before : c.from;
}

std::string EraName(int year)
{
    if (year < 1875) return {};
    if (year < 1909) return EraLabel("光绪", year - 1874);
    if (year < 1912) return EraLabel("宣统", year - 1908);
    if (year < 1949) return EraLabel("民国", year - 1911);
    return EraLabel("建国", year - 1948);
}

}  // namespace qov
