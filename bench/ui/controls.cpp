// Costs of the helper controls on the real widgets, offscreen: a mouse move
// over the main window's grid (tip texts, placement and, when the day
// changes, the tip's repaint) and one digit typed into a date field.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <array>
#include <cstdio>

#include "calendardlg.h"
#include "controls/qovedit.h"
#include "controls/tipwindow.h"
#include "model/daytexts.h"

namespace {

QPoint CellCentre(int row, int column) { return {5 + 70 * column + 35, 52 + 50 * row + 25}; }

void SendMove(QWidget* target, QPoint client)
{
    const QPointF local(client);
    const QPointF global(target->mapToGlobal(client));
    QMouseEvent move(QEvent::MouseMove, local, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

// Moves within one cell: texts are composed and the tip is placed, but not
// repainted.
void BM_GridMoveSameDay(benchmark::State& state)
{
    CCalendarDlg dlg;
    dlg.SelectDate(qov::MonthPage(2009, 10, 3));
    dlg.show();
    QApplication::processEvents();
    const QPoint base = CellCentre(0, 6);  // 3 October 2009: two festivals in the note
    int step = 0;
    for (auto _ : state) {
        SendMove(&dlg, base + QPoint(step % 9 - 4, step % 7 - 3));
        ++step;
    }
    benchmark::DoNotOptimize(dlg.tipWindow()->isVisible());
    state.counters["repaints"] = dlg.tipWindow()->repaintRequests();
}
BENCHMARK(BM_GridMoveSameDay)->Unit(benchmark::kMicrosecond);

// Every move reaches a new day: the tip is repainted too (events processed
// after each move, so the paint is part of the cost).
void BM_GridMoveNewDay(benchmark::State& state)
{
    CCalendarDlg dlg;
    dlg.SelectDate(qov::MonthPage(2009, 10, 3));
    dlg.show();
    QApplication::processEvents();
    int step = 0;
    for (auto _ : state) {
        SendMove(&dlg, CellCentre(step % 6, (step / 6) % 7));
        QApplication::processEvents();
        ++step;
    }
    state.counters["paints"] = dlg.tipWindow()->paintCount();
}
BENCHMARK(BM_GridMoveNewDay)->Unit(benchmark::kMicrosecond);

// The tip alone: SetText and Show with texts prepared outside the loop.
void BM_TipSetTextAndShow(benchmark::State& state)
{
    QWidget owner;
    owner.setGeometry(0, 0, 680, 505);
    owner.show();
    CTipWindow tip(&owner);
    const qov::DayTip a = qov::DayTipTexts({2009, 10, 3});
    const qov::DayTip b = qov::DayTipTexts({2009, 10, 4});
    int step = 0;
    for (auto _ : state) {
        const qov::DayTip& t = (step & 1) ? a : b;
        tip.SetText(t.line1, t.line2, t.line3, t.line4, t.note);
        tip.Show(QPoint(200 + step % 5, 200), true);
        ++step;
    }
    QApplication::processEvents();
}
BENCHMARK(BM_TipSetTextAndShow)->Unit(benchmark::kMicrosecond);

// One digit typed into a date field: state machine, text and selection.
// The keys run through whole dates, completions included.
void BM_DigitTyped(benchmark::State& state)
{
    QWidget window;
    CQovEdit edit(1063, &window);
    int completions = 0;
    QObject::connect(
        &edit, &CQovEdit::entryComplete, &window, [&completions](int) { ++completions; });
    window.show();
    QApplication::processEvents();
    edit.SelectField(qov::DateEntry::YearField);
    static constexpr std::array<char, 16> Keys = {
        '2', '0', '0', '9', '0', '7', '0', '1', '1', '9', '9', '9', '1', '2', '3', '1'};
    std::array<QKeyEvent*, 16> events{};
    for (std::size_t i = 0; i < Keys.size(); ++i)
        events[i] = new QKeyEvent(QEvent::KeyPress, Qt::Key_0 + (Keys[i] - '0'), Qt::NoModifier,
            QString(QChar::fromLatin1(Keys[i])));
    std::size_t i = 0;
    for (auto _ : state) {
        QApplication::sendEvent(&edit, events[i]);
        if (++i == events.size()) i = 0;
        if (i % 8 == 0) {  // a date is complete: start the next at its year
            state.PauseTiming();
            edit.SelectField(qov::DateEntry::YearField);
            state.ResumeTiming();
        }
    }
    for (QKeyEvent* e : events) delete e;
    state.counters["completions"] = completions;
}
BENCHMARK(BM_DigitTyped)->Unit(benchmark::kMicrosecond);

// The state machine alone.
void BM_DateEntryDigit(benchmark::State& state)
{
    qov::DateEntry entry({2012, 12, 31});
    static constexpr std::array<char, 8> Keys = {'2', '0', '0', '9', '0', '7', '0', '1'};
    std::size_t i = 0;
    for (auto _ : state) {
        if (i == 0) entry.SelectField(qov::DateEntry::YearField);
        benchmark::DoNotOptimize(entry.Type(static_cast<char32_t>(Keys[i])));
        benchmark::DoNotOptimize(entry.Text());
        if (++i == Keys.size()) i = 0;
    }
}
BENCHMARK(BM_DateEntryDigit);

// The offscreen platform warns on every tip shown that it cannot raise
// windows; keep the report readable.
void QuietOffscreenWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietOffscreenWarnings);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
