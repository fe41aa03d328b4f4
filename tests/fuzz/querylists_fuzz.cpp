// The quick query's radio buttons and three lists driven in any order, with
// indexes in and far out of range: after every step the lists and their
// current items agree, and Query() gives a valid date, for a lunar choice the
// Gregorian date of exactly that lunar date.
#include <string>

#include "fuzz_common.h"
#include "lunar.h"
#include "model/monthpage.h"

namespace {

using namespace qov;
using qov::fuzz::EdgyInt;
using qov::fuzz::IsGbkText;

// `consistent`: the lists were last rebuilt by the window's own calls,
// so a lunar choice names a lunar date that exists.
void CheckLists(const QueryLists& lists, bool consistent)
{
    const auto inside = [](int index, std::size_t size) {
        return index >= 0 && index < static_cast<int>(size);
    };
    const auto& months = lists.MonthItems();
    const auto& days = lists.DayItems();
    QOV_CHECK(static_cast<int>(lists.YearItems().size()) == LastPageYear - FirstPageYear + 1);
    QOV_CHECK(
        (months.size() == 12 || months.size() == 13) && days.size() >= 28 && days.size() <= 31);
    QOV_CHECK(inside(lists.YearIndex(), lists.YearItems().size())
        && inside(lists.MonthIndex(), months.size()) && inside(lists.DayIndex(), days.size()));
    for (const std::string& m : months) QOV_CHECK(IsGbkText(m) && m.size() <= 6);
    const int year = lists.CurrentYear(), day = lists.CurrentDay();
    QOV_CHECK(
        lists.YearItems()[static_cast<std::size_t>(lists.YearIndex())] == std::to_string(year));
    QOV_CHECK(days[static_cast<std::size_t>(lists.DayIndex())] == std::to_string(day));
    const QueryMonth month = lists.CurrentMonth();
    const std::optional<SolarDate> found = lists.Query();
    QOV_CHECK(!found || qov::fuzz::IsValidDate(*found, FirstPageYear, LastPageYear + 1));
    if (!consistent) return;
    QOV_CHECK(month.month >= 1 && month.month <= 12 && found.has_value());
    if (lists.Mode() != QueryMode::Lunar) {
        QOV_CHECK(!month.leap && *found == (SolarDate{year, month.month, day}));
        QOV_CHECK(static_cast<int>(days.size()) == DaysInMonth(year, month.month));
        return;
    }
    const LunarDate back = ToLunar(found->year, found->month, found->day);
    QOV_CHECK(back.year == year && back.month == month.month && back.day == day
        && back.isLeap == month.leap);
    QOV_CHECK((months.size() == 13) == (LeapMonth(year) != 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    QueryLists lists(SolarDate{EdgyInt(in), EdgyInt(in), EdgyInt(in)});
    bool consistent = true;
    // Mostly indexes inside the lists, as the combo boxes send them.
    const auto index = [&] {
        return in.ConsumeBool() ? in.ConsumeIntegralInRange(-1, 160) : EdgyInt(in);
    };
    qov::fuzz::Steps(in, 256, [&] { CheckLists(lists, consistent); },
        {
            [&] {
                lists.OnGregorianClicked();
                consistent = true;
            },
            [&] {
                lists.OnLunarClicked();
                consistent = true;
            },
            [&] {
                const int year = index();
                lists.OnYearChosen(year);
                consistent |= year >= 0 && year < static_cast<int>(lists.YearItems().size());
            },
            [&] { lists.OnMonthChosen(index()); },
            [&] { lists.OnDayChosen(index()); },
            [&] {
                const int month = lists.RebuildQueryMonths(EdgyInt(in), in.ConsumeBool()).month;
                QOV_CHECK(month >= 1 && month <= 12);
                consistent = false;
            },
            [&] {
                const int year = EdgyInt(in), month = EdgyInt(in);
                const int day =
                    lists.RebuildQueryDays(year, month, in.ConsumeBool(), in.ConsumeBool());
                QOV_CHECK(day >= 1 && day <= 31);
                consistent = false;
            },
            [&] {
                lists = QueryLists(SolarDate{EdgyInt(in), EdgyInt(in), EdgyInt(in)});
                consistent = true;
            },
        });
    return 0;
}
