// Costs of the window's models per call: one page's whole picture, its
// parts, the lunar query and one hover tip. Inputs are prepared outside the
// timed loops.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_dates.h"
#include "model/daytexts.h"
#include "model/holidays.h"
#include "model/monthpage.h"
#include "model/mydays.h"

namespace {

using qov::MonthPage;

// Every page month of 1900..2049, each with a different selected day.
std::vector<MonthPage> AllPages()
{
    std::vector<MonthPage> pages;
    for (int y = qov::FirstPageYear; y <= qov::LastPageYear; ++y)
        for (int m = 1; m <= 12; ++m) pages.emplace_back(y, m, (y + 3 * m) % 28 + 1);
    return pages;
}

template <typename F> void OverPages(benchmark::State& state, F f)
{
    const std::vector<MonthPage> pages = AllPages();
    std::size_t i = 0;
    for (auto _ : state) {
        auto result = f(pages[i]);
        benchmark::DoNotOptimize(result);
        if (++i == pages.size()) i = 0;
    }
}

// Everything painted for one page: title, watermark, 42 cells, panel.
void BM_PagePicture(benchmark::State& state)
{
    OverPages(state, [](const MonthPage& p) { return qov::PagePictureTexts(p); });
}
BENCHMARK(BM_PagePicture);

void BM_PageCells(benchmark::State& state)
{
    OverPages(state, [](const MonthPage& p) { return qov::PageCells(p); });
}
BENCHMARK(BM_PageCells);

void BM_DayPanel(benchmark::State& state)
{
    OverPages(state, [](const MonthPage& p) { return qov::DayPanelTexts(p.Date()); });
}
BENCHMARK(BM_DayPanel);

void BM_TitleStrip(benchmark::State& state)
{
    OverPages(state, [](const MonthPage& p) { return qov::TitleStripTexts(p.Year()); });
}
BENCHMARK(BM_TitleStrip);

// 500 days of the user's: every third lunar, one in ten set in a leap
// month, the rest Gregorian, spread over the year's dates.
qov::MyDayList FiveHundredDays()
{
    std::vector<qov::MyDay> days;
    for (int i = 0; i < 500; ++i) {
        const bool lunar = i % 3 == 0;
        days.push_back({lunar ? qov::MyCalendar::Lunar : qov::MyCalendar::Gregorian, i % 12 + 1,
            i * 7 % 28 + 1, lunar && i % 10 == 0, i % 4 == 0 ? 1950 + i % 50 : 0,
            "day " + std::to_string(i)});
    }
    return qov::MyDayList(std::move(days));
}

// A whole page's picture with 500 days of the user's.
void BM_PagePictureMyDays500(benchmark::State& state)
{
    const qov::MyDayList list = FiveHundredDays();
    qov::DayOptions options;
    options.myDays = &list;
    OverPages(state, [&](const MonthPage& p) { return qov::PagePictureTexts(p, options); });
}
BENCHMARK(BM_PagePictureMyDays500);

// The page lookup of the 500 days alone.
void BM_MyDaysOnPage500(benchmark::State& state)
{
    const qov::MyDayList list = FiveHundredDays();
    OverPages(state, [&](const MonthPage& p) { return list.OnPage(p.CellAt(0, 0)); });
}
BENCHMARK(BM_MyDaysOnPage500);

struct LunarQuery {
    int ly, lm, ld;
    bool leap;
};

void RunQueries(benchmark::State& state, const std::vector<LunarQuery>& queries)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const LunarQuery& q = queries[i];
        benchmark::DoNotOptimize(qov::FindSolarDate(q.ly, q.lm, q.ld, q.leap));
        if (++i == queries.size()) i = 0;
    }
}

// Dates that do not exist: day 30 of 29-day months, ordinary and leap; the
// day-by-day scan would run its whole 200 months for each.
void BM_FindSolarDateNotFound(benchmark::State& state)
{
    RunQueries(state,
        {{2009, 5, 30, true}, {2017, 6, 30, false}, {2049, 12, 30, false}, {2033, 11, 30, true}});
}
BENCHMARK(BM_FindSolarDateNotFound);

// Existing dates late in the table and in leap months.
void BM_FindSolarDateFound(benchmark::State& state)
{
    RunQueries(state,
        {{2049, 12, 29, false}, {2017, 6, 30, true}, {2033, 11, 29, true}, {1900, 1, 1, false}});
}
BENCHMARK(BM_FindSolarDateFound);

// One hover tip: hit test and the five texts, over every cell of a year's pages.
void BM_TipTexts(benchmark::State& state)
{
    struct Point {
        MonthPage page;
        int x, y;
    };
    std::vector<Point> points;
    for (int m = 1; m <= 12; ++m)
        for (int r = 0; r < qov::grid::Rows; ++r)
            for (int k = 0; k < qov::grid::Columns; ++k) {
                const qov::Rect cell = qov::CellRect(r, k);
                points.push_back({MonthPage(2009, m, 1), cell.left + 30, cell.top + 20});
            }
    std::size_t i = 0;
    for (auto _ : state) {
        const Point& p = points[i];
        benchmark::DoNotOptimize(qov::TipTexts(p.page, p.x, p.y));
        if (++i == points.size()) i = 0;
    }
}
BENCHMARK(BM_TipTexts);

void RunLookups(benchmark::State& state, const std::vector<qov::SolarDate>& dates)
{
    const qov::HolidayTable& table = qov::HolidayTable::Shipped();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Lookup(dates[i]));
        if (++i == dates.size()) i = 0;
    }
}

// One holiday lookup, asked for every cell of every repaint: every date of
// 1900..2050 in turn, most outside the listed years.
void BM_HolidayLookup(benchmark::State& state) { RunLookups(state, qov::bench::Dates1900To2050()); }
BENCHMARK(BM_HolidayLookup);

// The same over 2004..2026 only, where every lookup reads the table.
void BM_HolidayLookupListedYears(benchmark::State& state)
{
    std::vector<qov::SolarDate> dates;
    for (const qov::SolarDate& d : qov::bench::Dates1900To2050())
        if (d.year >= 2004 && d.year <= 2026) dates.push_back(d);
    RunLookups(state, dates);
}
BENCHMARK(BM_HolidayLookupListedYears);

}  // namespace
