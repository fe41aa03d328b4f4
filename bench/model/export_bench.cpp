// The calendar export of all 201 years the calendar knows: every kind but
// the lunar dates (at most 1 s), and every kind (at most 3 s).
#include <benchmark/benchmark.h>

#include "model/icalendar.h"
#include "model/monthpage.h"

namespace {

void ExportAllYears(benchmark::State& state, qov::ItemKinds kinds)
{
    const qov::ExportRequest request{{qov::FirstPageYear, qov::LastPageYear}, kinds, 0};
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = qov::WriteICalendar(request, qov::HolidayTable::Shipped());
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
