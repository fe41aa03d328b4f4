// Engine costs per call. Inputs are prepared outside the timed loops.
#include <benchmark/benchmark.h>

#include "bench_dates.h"
#include "calendar.h"

namespace {

// Every date of the lunar table's years.
const std::vector<qov::SolarDate>& Dates1900To2100()
{
    static const std::vector<qov::SolarDate> dates = qov::bench::DatesOfYears(1900, 2100);
    return dates;
}

void BM_SolarToLunar(benchmark::State& state)
{
    const auto& dates = Dates1900To2100();
    std::size_t i = 0;
    for (auto _ : state) {
        const qov::SolarDate& day = dates[i];
        qov::LunarDate r;
        r.year = day.year;
        r.month = day.month;
        r.day = day.day;
        qov::SolarToLunar(r);
        benchmark::DoNotOptimize(r);
        if (++i == dates.size()) i = 0;
    }
}
BENCHMARK(BM_SolarToLunar);

void BM_SolarTermOnDate(benchmark::State& state)
{
    const auto& dates = Dates1900To2100();
    std::size_t i = 0;
    for (auto _ : state) {
        const qov::SolarDate& day = dates[i];
        std::string name = qov::SolarTermOnDate(day.year, day.month, day.day);
        benchmark::DoNotOptimize(name);
        if (++i == dates.size()) i = 0;
    }
}
BENCHMARK(BM_SolarTermOnDate);

void BM_SolarTermDate(benchmark::State& state)
{
    int k = 0, y = 1900;
    for (auto _ : state) {
        benchmark::DoNotOptimize(qov::SolarTermDate(y, k));
        if (++k == 24) {
            k = 0;
            y = y == 2100 ? 1900 : y + 1;
        }
    }
}
BENCHMARK(BM_SolarTermDate);

}  // namespace
