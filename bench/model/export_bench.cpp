// The calendar export of all 201 years the calendar knows: every kind but
// the lunar dates (at most 1 s), and every kind (at most 3 s), with a dozen
// of the user's own days.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "model/icalendar.h"
#include "model/monthpage.h"

namespace {

void ExportAllYears(benchmark::State& state, qov::ItemKinds kinds)
{
    const qov::ExportRequest request{{qov::FirstPageYear, qov::LastPageYear}, kinds, 0};
    std::vector<qov::MyDay> days;
    for (int month = 1; month <= 12; ++month)
        days.push_back({month % 2 == 0 ? qov::MyCalendar::Lunar : qov::MyCalendar::Gregorian, month,
            28 + month % 3, month == 4, 1950, "day " + std::to_string(month)});
    const qov::MyDayList myDays(std::move(days));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = qov::WriteICalendar(request, qov::HolidayTable::Shipped(), myDays);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_Export201YearsNoLunarDates(benchmark::State& state)
{
    ExportAllYears(state, ~qov::KindBit(qov::ItemKind::LunarDate));
}
BENCHMARK(BM_Export201YearsNoLunarDates)->Unit(benchmark::kMillisecond);

void BM_Export201YearsAllKinds(benchmark::State& state)
{
    ExportAllYears(state, ~qov::ItemKinds{});
}
BENCHMARK(BM_Export201YearsAllKinds)->Unit(benchmark::kMillisecond);

}  // namespace
