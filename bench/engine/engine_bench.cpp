// Engine costs per call. Inputs are prepared outside the timed loops.
#include <benchmark/benchmark.h>

#include "bench_dates.h"
#include "calendar.h"

namespace {

using qov::bench::Dates1900To2050;

void BM_SolarToLunar(benchmark::State& state)
{
    const auto& dates = Dates1900To2050();
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
    const auto& dates = Dates1900To2050();
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
            y = y == 2050 ? 1900 : y + 1;
        }
    }
}
BENCHMARK(BM_SolarTermDate);

}  // namespace
