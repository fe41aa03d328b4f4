#include "lunar.h"

namespace qov {
namespace {

constexpr int YearCount = LastLunarYear - FirstLunarYear + 1;  // 201

// Day number (0 = 1900-01-31) on which each lunar year 1900..2100 begins;
// the last entry is the day after lunar 2100 ends (2101-01-29).
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

// The month holding the first day of each 32-day block of day numbers, so a
// conversion starts at most two month starts before its answer (months are
// 29 or 30 days long).
struct BlockStart {
    std::uint8_t year;  // index into YearStarts and Layouts
    std::uint8_t slot;  // index into that year's months
};
constexpr std::size_t BlockCount = static_cast<std::size_t>(YearStarts[YearCount] + 31) / 32;

constexpr std::array<BlockStart, BlockCount> MakeBlocks() noexcept
{
    std::array<BlockStart, BlockCount> blocks{};
    for (std::size_t y = 0; y < Layouts.size(); ++y)
        for (std::size_t slot = 0; slot < Layouts[y].count; ++slot) {
            const int first = YearStarts[y] + Layouts[y].start[slot];
            const int end = YearStarts[y] + Layouts[y].start[slot + 1];
            for (int b = (first + 31) / 32; b * 32 < end; ++b)
                blocks[static_cast<std::size_t>(b)] = {
                    static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(slot)};
        }
    return blocks;
}

constexpr auto Blocks = MakeBlocks();

// Day numbers of 1 January 1900..2102: the table's years without the
// divisions of the general formula.
constexpr int FirstJanuaryYear = 1900;
constexpr std::array<int, 203> MakeFirstJanuaries() noexcept
{
    std::array<int, 203> days{};
    for (std::size_t i = 0; i < days.size(); ++i)
        days[i] = DayNumber(FirstJanuaryYear + static_cast<int>(i), 1, 1);
    return days;
}
constexpr auto FirstJanuaries = MakeFirstJanuaries();

constexpr int LastFastYear =
    FirstJanuaryYear + static_cast<int>(FirstJanuaries.size()) - 2;  // 2101

// DayNumber, by table: year 1900..2101, month 1..12, day 0..31.
constexpr int FastDayNumber(int year, int month, int day) noexcept
{
    const auto i = static_cast<std::size_t>(year - FirstJanuaryYear);
    const bool leap = FirstJanuaries[i + 1] - FirstJanuaries[i] == 366;
    return FirstJanuaries[i] + detail::DaysBeforeMonth[month - 1] + (leap && month > 2 ? 1 : 0)
        + day - 1;
}
static_assert(FastDayNumber(2000, 3, 1) == DayNumber(2000, 3, 1));
static_assert(FastDayNumber(1900, 3, 0) == DayNumber(1900, 3, 0));
static_assert(FastDayNumber(2101, 12, 31) == DayNumber(2101, 12, 31));

// Lunar new year 2009 fell on 26 January (day number 39807); lunar 2050
// ended on 2051-02-10, lunar 2100 ends on 2101-01-28.
static_assert(YearStarts[109] == DayNumber(2009, 1, 26));
static_assert(YearStarts[151] == DayNumber(2051, 2, 11));
static_assert(YearStarts[YearCount] == DayNumber(2101, 1, 29));
static_assert(Layouts[109].count == 13 && Layouts[109].leapSlot == 5);

}  // namespace

void SolarToLunar(LunarDate& r) noexcept
{
    // Checked before any arithmetic: a date outside the years of the table
    // or not in the Gregorian calendar has no lunar date, whatever its size.
    const bool convertible = r.year >= FirstJanuaryYear && r.year <= LastFastYear && r.month >= 1
        && r.month <= 12 && r.day >= 1 && r.day <= DaysInMonth(r.year, r.month);
    const int off =
        convertible ? FastDayNumber(r.year, r.month, r.day) : DayNumber(r.year, r.month, r.day);
    r.dayCycle = off + 40;
    r.isLeap = false;
    if (!convertible || off < 0 || off >= YearStarts[YearCount]) {
        r.year = r.month = r.day = 0;
        r.yearCycle = r.monthCycle = 0;
        return;
    }

    const BlockStart block = Blocks[static_cast<std::size_t>(off) / 32];
    std::size_t y = block.year;
    std::size_t slot = block.slot;
    while (YearStarts[y] + Layouts[y].start[slot + 1] <= off) {
        if (++slot == Layouts[y].count) {
            ++y;
            slot = 0;
        }
    }
    const YearLayout& l = Layouts[y];
    const int inYear = off - YearStarts[y];

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
