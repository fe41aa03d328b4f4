// The engine and the festival lookups with arbitrary ints: every call is
// defined (the sanitizers watch) and keeps what the headers promise.
#include <string>

#include "calendar.h"
#include "festivals.h"
#include "fuzz_common.h"

namespace {

using namespace qov;
using qov::fuzz::EdgyInt;
using qov::fuzz::IsGbkText;

bool IsValidDate(int y, int m, int d)
{
    return m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

// "" or `bytes` bytes of well-formed GBK.
void CheckName(const std::string& text, std::size_t bytes)
{
    QOV_CHECK(text.empty() || text.size() == bytes);
    QOV_CHECK(IsGbkText(text));
}

void CheckGregorian(int y, int m, int d)
{
    const int dim = DaysInMonth(y, m);
    QOV_CHECK((m >= 1 && m <= 12) ? dim >= 28 && dim <= 31 : dim == 0);
    const int number = DayNumber(y, m, d);
    const int weekday = DayOfWeek(y, m, d);
    QOV_CHECK(weekday >= 0 && weekday <= 6);
    if (IsCountedDate(y, m, d)) {
        // Against the civil-day formula: 31 January 1900 is day 0 and a Wednesday.
        const long long civil =
            DaysFromCivil(y, static_cast<unsigned>(m), 1) + d - 1 - DaysFromCivil(1900, 1, 31);
        QOV_CHECK(number == civil);
        QOV_CHECK(weekday == ((civil + 3) % 7 + 7) % 7);
        QOV_CHECK(WeekdayName(y, m, d).size() == 6);
    } else {
        QOV_CHECK(number == 0 && weekday == 0 && WeekdayName(y, m, d).empty());
    }
    const CivilDate c = CivilFromDays(DaysFromCivil(y, static_cast<unsigned>(m), 1));
    if (m >= 1 && m <= 12) QOV_CHECK(c.year == y && static_cast<int>(c.month) == m && c.day == 1);
    const int r = FloorMod(y, m);
    QOV_CHECK(m <= 0 ? r == 0 : r >= 0 && r < m && (static_cast<long long>(y) - r) % m == 0);
}

void CheckNames(int y, int m, int d, int kind)
{
    CheckName(CycleName(y), 4);
    CheckName(ZodiacName(y), 2);
    QOV_CHECK(
        ZodiacName(y) == ZodiacName(static_cast<int>((static_cast<long long>(y) % 12 + 12) % 12)));
    const std::string day = LunarDayName(d);
    QOV_CHECK((d >= 1 && d <= 30) == (day.size() == 4) && IsGbkText(day));
    const std::string month = LunarMonthName(m);
    QOV_CHECK((m >= 1 && m <= 12) == !month.empty() && month.size() <= 4 && IsGbkText(month));
    const std::string ganZhi = GanZhiText(y, m, d, kind);
    const bool named = kind >= 1 && kind <= 3 && y >= FirstGanZhiYear && y <= LastGanZhiYear
        && IsValidDate(y, m, d);
    QOV_CHECK(named == (ganZhi.size() == 4) && IsGbkText(ganZhi));
    CheckName(ConstellationName(y, m, d), 6);
    const std::string era = EraName(y);
    QOV_CHECK(IsGbkText(era) && era.size() <= 20);
}

void CheckLunar(int y, int m, int d)
{
    const LunarDate l = ToLunar(y, m, d);
    if (!HasLunarDate(l)) {
        QOV_CHECK(l.year == 0 && l.month == 0 && l.day == 0 && !l.isLeap);
        return;
    }
    QOV_CHECK(IsValidDate(y, m, d));
    QOV_CHECK(l.year >= FirstLunarYear && l.year <= LastLunarYear);
    QOV_CHECK(l.month >= 1 && l.month <= 12);
    QOV_CHECK(!l.isLeap || LeapMonth(l.year) == l.month);
    QOV_CHECK(l.day >= 1
        && l.day <= (l.isLeap ? LeapMonthDays(l.year) : LunarMonthDays(l.year, l.month)));
    QOV_CHECK(l.dayCycle == DayNumber(y, m, d) + 40);
    // Festivals of an existing lunar date are well formed.
    QOV_CHECK(IsGbkText(FindLunarFestival(l.year, l.month, l.day)));
}

void CheckTerms(int y, int m, int d, int k)
{
    const SolarTermTime t = SolarTermDate(y, k);
    if (t.month != 0) {
        QOV_CHECK(t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31);
        QOV_CHECK(t.weekday >= 0 && t.weekday <= 6 && t.hour >= 0 && t.hour <= 23);
        QOV_CHECK(t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59);
        QOV_CHECK(t.millisecond >= 0 && t.millisecond <= 999);
    }
    CheckName(SolarTermOnDate(y, m, d), 4);
    int days = -1;
    const std::string near = NearSectionalTerm(y, m, d, k, days);
    CheckName(near, 4);
    if (k != 1 && k != 2) QOV_CHECK(near.empty() && days == 0);
    if (!near.empty() && IsValidDate(y, m, d))
        QOV_CHECK(days >= 1 && days <= 32 && IsSectionalTerm(near));
}

void CheckFestivals(int y, int m, int d, bool withLunar)
{
    const bool valid = y >= 1 && y <= 65535 && IsValidDate(y, m, d);
    const std::string gregorian = FindGregorianFestival(y, m, d);
    const std::string lunar = FindLunarFestival(y, m, d);
    const std::string weekday = FindWeekdayFestival(y, m, d);
    QOV_CHECK(IsGbkText(gregorian) && IsGbkText(lunar) && IsGbkText(weekday));
    if (!IsValidDate(2000, m, d)) QOV_CHECK(gregorian.empty());
    if (m < 1 || m > 12 || d < 1 || d > 30) QOV_CHECK(lunar.empty());
    if (!valid) QOV_CHECK(weekday.empty());
    std::string list = "stale";
    GetDayFestivals(y, m, d, list, withLunar);
    QOV_CHECK(IsGbkText(list));
    // Each name followed by exactly one space.
    QOV_CHECK(list.empty() || (list.back() == ' ' && list.front() != ' '));
    QOV_CHECK(list.find("  ") == std::string::npos);
    if (!valid) QOV_CHECK(list.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    while (in.remaining_bytes() > 0) {
        const int y = EdgyInt(in), m = EdgyInt(in), d = EdgyInt(in), k = EdgyInt(in);
        CheckGregorian(y, m, d);
        const int d16 = DayDifference(static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(m),
            static_cast<std::uint16_t>(d), static_cast<std::uint16_t>(k), 1, 1);
        QOV_CHECK(d16 >= -25'000'000 && d16 <= 25'000'000);  // 16-bit years and days
        CheckNames(y, m, d, k);
        CheckLunar(y, m, d);
        CheckTerms(y, m, d, k);
        CheckFestivals(y, m, d, (k & 1) != 0);
        const std::string bytes = in.ConsumeRandomLengthString(8);
        IsSectionalTerm(bytes);
    }
    return 0;
}
