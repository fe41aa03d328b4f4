#include "lunar.h"

namespace qov {
namespace {

constexpr int YearCount = LastLunarYear - FirstLunarYear + 1;  // 151

// Day number (0 = 1900-01-31) on which each lunar year 1900..2051 begins;
// the last entry is the day after lunar 2050 ends (2051-02-11).
constexpr std::array<int, YearCount + 1> MakeYearStarts() noexcept
{
    std::array<int, YearCount + 1> starts{};
    for (int i = 0; i < YearCount; ++i)
        starts[static_cast<std::size_t>(i) + 1] =
            starts[static_cast<std::size_t>(i)] + LunarYearDays(FirstLunarYear + i);
    return starts;
}

// The months of one lunar year in order (12 or 13, the leap month in its
// place) with their first days counted from the year's first day.
struct YearLayout {
    std::array<std::uint16_t, 14> start{};  // start[count] = length of the year
    std::uint8_t count = 0;                 // 12 or 13
    std::uint8_t leapSlot = 0xFF;           // slot of the leap month, 0xFF = none
};

constexpr std::array<YearLayout, YearCount> MakeLayouts() noexcept
{
    std::array<YearLayout, YearCount> layouts{};
    for (int i = 0; i < YearCount; ++i) {
        const int year = FirstLunarYear + i;
        const int leap = LeapMonth(year);
        YearLayout& l = layouts[static_cast<std::size_t>(i)];
        int day = 0;
        std::size_t slot = 0;
        for (int m = 1; m <= 12; ++m) {
            l.start[slot++] = static_cast<std::uint16_t>(day);
            day += LunarMonthDays(year, m);
            if (m == leap) {
                l.leapSlot = static_cast<std::uint8_t>(slot);
                l.start[slot++] = static_cast<std::uint16_t>(day);
                day += LeapMonthDays(year);
            }
        }
        l.start[slot] = static_cast<std::uint16_t>(day);
        l.count = static_cast<std::uint8_t>(slot);
    }
    return layouts;
}

constexpr auto YearStarts = MakeYearStarts();
constexpr auto Layouts = MakeLayouts();

// Lunar new year 2009 fell on 26 January (day number 39807); lunar 2050
// ends on 2051-02-10.
static_assert(YearStarts[109] == DayNumber(2009, 1, 26));
static_assert(YearStarts[YearCount] == DayNumber(2051, 2, 11));
static_assert(Layouts[109].count == 13 && Layouts[109].leapSlot == 5);

}  // namespace

void SolarToLunar(LunarDate& r) noexcept
{
    const int off = DayNumber(r.year, r.month, r.day);
    r.dayCycle = off + 40;
    r.isLeap = false;
    if (off < 0 || off >= YearStarts[YearCount]) {
        r.year = r.month = r.day = 0;
        r.yearCycle = r.monthCycle = 0;
        return;
    }

    // Lunar new year stays within a few weeks of the mean solar year from
    // 1900-01-31, so off / 365.25 lands on the year or next to it.
    std::size_t y = static_cast<std::size_t>(off * 4 / 1461);
    if (y >= YearCount) y = YearCount - 1;
    while (YearStarts[y] > off) --y;
    while (YearStarts[y + 1] <= off) ++y;
    const YearLayout& l = Layouts[y];
    const int inYear = off - YearStarts[y];

    // Months are 29 or 30 days: inYear / 30 is at or before the right slot.
    std::size_t slot = static_cast<std::size_t>(inYear / 30);
    while (l.start[slot + 1] <= inYear) ++slot;

    int month = static_cast<int>(slot) + 1;
    if (slot >= l.leapSlot) {
        --month;  // the leap slot repeats the number of the month before it
        r.isLeap = slot == l.leapSlot;
    }
    const int lunarYear = FirstLunarYear + static_cast<int>(y);
    r.year = lunarYear;
    r.month = month;
    r.day = inYear - l.start[slot] + 1;
    r.yearCycle = lunarYear - 1864;
    // 14 for month 1 of 1900, one more for each ordinary month since; a leap
    // month keeps the value of the month it follows.
    r.monthCycle = 14 + 12 * static_cast<int>(y) + month - 1;
}

}  // namespace qov
