// One full repaint of the main window's picture into an image, as the window
// paints into Qt's backing store: skin, title strip, watermark, 42 cells and
// the day panel, texts from the models, warm caches.
// Run offscreen: QT_QPA_PLATFORM=offscreen is set when nothing else is.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "calendardlg.h"
#include "skin.h"

namespace {

CCalendarDlg* g_dlg = nullptr;

void RepaintAt(benchmark::State& state, qreal ratio, const qov::MonthPage& page)
{
    g_dlg->SelectDate(page);
    QImage buffer(QSize(skin::Width, skin::Height) * ratio, QImage::Format_ARGB32_Premultiplied);
    buffer.setDevicePixelRatio(ratio);
    g_dlg->RenderInto(buffer);  // fonts and glyphs loaded before timing
    for (auto _ : state) {
        g_dlg->RenderInto(buffer);
        benchmark::DoNotOptimize(buffer.constBits());
        benchmark::ClobberMemory();
    }
}

// July 2009: a page with festivals, solar terms and a selected day.
void BM_Repaint100(benchmark::State& state) { RepaintAt(state, 1.0, qov::MonthPage(2009, 7, 15)); }
void BM_Repaint200(benchmark::State& state) { RepaintAt(state, 2.0, qov::MonthPage(2009, 7, 15)); }

// A different page on every repaint, as when stepping through the months.
void BM_RepaintSteppingMonths(benchmark::State& state)
{
    QImage buffer(QSize(skin::Width, skin::Height), QImage::Format_ARGB32_Premultiplied);
    int month = 0;
    for (auto _ : state) {
        g_dlg->SelectDate(qov::MonthPage(1900 + month / 12, month % 12 + 1, 1));
        g_dlg->RenderInto(buffer);
        benchmark::DoNotOptimize(buffer.constBits());
        month = (month + 1) % (150 * 12);
    }
}

BENCHMARK(BM_Repaint100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Repaint200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepaintSteppingMonths)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CCalendarDlg dlg;
    g_dlg = &dlg;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
