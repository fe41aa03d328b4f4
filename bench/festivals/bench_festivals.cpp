// Festival list of every date of 1900..2050 in calendar order, as the month
// grid and the hover tip ask for it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_dates.h"
#include "festival_tables.h"
#include "festivals.h"
#include "gregorian.h"

namespace {

using Date = qov::SolarDate;
using qov::bench::Dates1900To2050;

// One call per iteration; the result string is reused, as a painter that
// keeps its buffer does.
void RunDayFestivals(benchmark::State& state, bool withLunar)
{
    const std::vector<Date>& dates = Dates1900To2050();
    std::string result;
    std::size_t i = 0;
    for (auto _ : state) {
        const Date& d = dates[i];
        qov::GetDayFestivals(d.year, d.month, d.day, result, withLunar);
        benchmark::DoNotOptimize(result.data());
        benchmark::ClobberMemory();
        if (++i == dates.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

// A fresh string for every call, as a caller with a local string does.
void RunDayFestivalsFreshString(benchmark::State& state, bool withLunar)
{
    const std::vector<Date>& dates = Dates1900To2050();
    std::size_t i = 0;
    for (auto _ : state) {
        const Date& d = dates[i];
        std::string result;
        qov::GetDayFestivals(d.year, d.month, d.day, result, withLunar);
        benchmark::DoNotOptimize(result);
        if (++i == dates.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_GetDayFestivalsWithLunar(benchmark::State& state) { RunDayFestivals(state, true); }
void BM_GetDayFestivalsPlain(benchmark::State& state) { RunDayFestivals(state, false); }
void BM_GetDayFestivalsWithLunarFreshString(benchmark::State& state)
{
    RunDayFestivalsFreshString(state, true);
}

// The whole range once: 55152 calls per iteration.
void BM_GetDayFestivalsWithLunarWholeRange(benchmark::State& state)
{
    const std::vector<Date>& dates = Dates1900To2050();
    std::string result;
    for (auto _ : state) {
        for (const Date& d : dates) {
            qov::GetDayFestivals(d.year, d.month, d.day, result, true);
            benchmark::DoNotOptimize(result.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(dates.size()));
}

// The Gregorian row of every date: the compile-time index against the plain
// scan of up to 101 rows that it replaces.
void BM_GregorianRowIndexed(benchmark::State& state)
{
    const std::vector<Date>& dates = Dates1900To2050();
    std::size_t i = 0;
    for (auto _ : state) {
        const Date& d = dates[i];
        benchmark::DoNotOptimize(
            qov::detail::IndexedRow(qov::detail::GregorianIndex, d.month, d.day));
        if (++i == dates.size()) i = 0;
    }
}

void BM_GregorianRowPlainScan(benchmark::State& state)
{
    const std::vector<Date>& dates = Dates1900To2050();
    std::size_t i = 0;
    for (auto _ : state) {
        const Date& d = dates[i];
        benchmark::DoNotOptimize(qov::detail::ScanRow(qov::GregorianFestivals, d.month, d.day));
        if (++i == dates.size()) i = 0;
    }
}

}  // namespace

BENCHMARK(BM_GregorianRowIndexed);
BENCHMARK(BM_GregorianRowPlainScan);
BENCHMARK(BM_GetDayFestivalsWithLunar);
BENCHMARK(BM_GetDayFestivalsPlain);
BENCHMARK(BM_GetDayFestivalsWithLunarFreshString);
BENCHMARK(BM_GetDayFestivalsWithLunarWholeRange)->Unit(benchmark::kMicrosecond);
