// Engine costs per call. Inputs are prepared outside the timed loops.
#include <benchmark/benchmark.h>

#include <vector>

#include "calendar.h"

namespace {

struct Day {
    int y, m, d;
};

const std::vector<Day>& Dates1900To2050()
{
    static const std::vector<Day> dates = [] {
        std::vector<Day> v;
        for (int y = 1900; y <= 2050; ++y)
            for (int m = 1; m <= 12; ++m)
                for (int d = 1; d <= qov::DaysInMonth(y, m); ++d) v.push_back({y, m, d});
        return v;
    }();
    return dates;
}

void BM_SolarToLunar(benchmark::State& state)
{
    const auto& dates = Dates1900To2050();
    std::size_t i = 0;
    for (auto _ : state) {
        const Day& day = dates[i];
        qov::LunarDate r;
        r.year = day.y;
        r.month = day.m;
        r.day = day.d;
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
        const Day& day = dates[i];
        std::string name = qov::SolarTermOnDate(day.y, day.m, day.d);
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
