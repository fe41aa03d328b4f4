// The engine and the festival lookups with arbitrary ints: every call is
// defined (the sanitizers watch), every text is well-formed GBK, and answers
// stay in their ranges. The facts of each date are the engine tests' walk.
#include <string>

#include "calendar.h"
#include "festivals.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace qov;
    using qov::fuzz::EdgyInt;
    FuzzedDataProvider in(data, size);
    while (in.remaining_bytes() > 0) {
        const int y = EdgyInt(in), m = EdgyInt(in), d = EdgyInt(in), k = EdgyInt(in);
        const bool valid = m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
        const int weekday = DayOfWeek(y, m, d);
        QOV_CHECK(weekday >= 0 && weekday <= 6);
        if (!IsCountedDate(y, m, d)) QOV_CHECK(DayNumber(y, m, d) == 0 && weekday == 0);
        const int r = FloorMod(y, m);
        QOV_CHECK(m <= 0 ? r == 0 : r >= 0 && r < m && (static_cast<long long>(y) - r) % m == 0);
        const CivilDate c = CivilFromDays(DaysFromCivil(y, static_cast<unsigned>(m), 1));
        if (m >= 1 && m <= 12)
            QOV_CHECK(c.year == y && static_cast<int>(c.month) == m && c.day == 1);
        const int d16 = DayDifference(static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(m),
            static_cast<std::uint16_t>(d), static_cast<std::uint16_t>(k), 1, 1);
        QOV_CHECK(d16 >= -25'000'000 && d16 <= 25'000'000);  // 16-bit years and days
        const LunarDate l = ToLunar(y, m, d);
        QOV_CHECK(!HasLunarDate(l)
            || (valid && l.day >= 1
                && l.day <= (l.isLeap ? LeapMonthDays(l.year) : LunarMonthDays(l.year, l.month))));
        const SolarTermTime t = SolarTermDate(y, k);
        QOV_CHECK(t.month == 0
            || (t.year == y && t.month == k / 2 + 1 && t.day >= 1 && t.day <= 31 && t.hour >= 0
                && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0
                && t.second <= 59 && t.millisecond >= 0 && t.millisecond <= 999));
        int days = -1;
        const std::string near = NearSectionalTerm(y, m, d, k, days);
        QOV_CHECK(
            near.empty() ? days == 0 : valid && days >= 1 && days <= 32 && IsSectionalTerm(near));
        std::string list = "stale";
        GetDayFestivals(y, m, d, list, (k & 1) != 0, static_cast<FestivalKinds>(k));
        // Each name followed by exactly one space.
        QOV_CHECK(list.empty() || (list.back() == ' ' && list.front() != ' '));
        QOV_CHECK(list.find("  ") == std::string::npos && (valid || list.empty()));
        for (const std::string& text : {CycleName(y), ZodiacName(y), LunarDayName(d),
                 LunarMonthName(m), GanZhiText(y, m, d, k), ConstellationName(y, m, d), EraName(y),
                 WeekdayName(y, m, d), SolarTermOnDate(y, m, d), near, list,
                 FindGregorianFestival(y, m, d), FindLunarFestival(y, m, d),
                 FindWeekdayFestival(y, m, d)})
            QOV_CHECK(qov::fuzz::IsGbkText(text) && text.size() < 200);
        IsSectionalTerm(in.ConsumeRandomLengthString(8));
    }
    return 0;
}
