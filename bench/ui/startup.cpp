// Start-up, repaint and memory of the main window, offscreen, alone or side
// by side with the sketch yardstick (bench/ui/sketch). The program starts
// itself again and again as a child that runs the application's own start-up
// (CCalendarApp::Run, watched from outside) and reports, as
// probe.h describes, when its first paint ended, its peak RSS then, its
// repaint time and the cost of a mouse move to a new day; the parent takes
// the time just before each spawn.
//
//   bench_startup [runs]                   the calendar alone: start-up times
//   bench_startup --compare SKETCH [runs]  both programs interleaved, at 100 %
//                                          and 200 %; prints a Markdown table
#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "calendarapp.h"
#include "calendardlg.h"
#include "model/geometry.h"
#include "probe.h"

extern char** environ;

namespace {

constexpr int MoveCount = 42;
bool g_probing = false;  // this process is a child under the probe
// Set for children whose start-up alone is timed: no repaints, no moves.
constexpr const char* StartOnlyVariable = "QOV_PROBE_START_ONLY";

// The offscreen platform warns on every tip shown that it cannot raise
// windows; the parent's report stays readable without it.
void QuietOffscreenWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

// µs per mouse move over the grid, each to the next cell (a new day), with
// the events it causes (the tip's repaint) processed.
double TimeMovesToNewDays(QWidget& window)
{
    std::vector<double> us;
    for (int i = 0; i < MoveCount + 6; ++i) {
        const qov::Rect cell = qov::CellRect(i % 42 / 7, i % 7);
        const QPointF local(cell.left + cell.Width() / 2, cell.top + cell.Height() / 2);
        const QPointF global(window.mapToGlobal(local));
        QMouseEvent move(
            QEvent::MouseMove, local, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        const long long start = probe::ThreadCpuNs();
        QApplication::sendEvent(&window, &move);
        QApplication::processEvents();
        if (i >= 6) us.push_back(static_cast<double>(probe::ThreadCpuNs() - start) / 1e3);
    }
    return probe::Median(us);
}

// Watches the application the program itself creates: wraps each paint
// event of the main window in the paint clock and, after the first, runs the
// repaints and mouse moves and closes the window.
class WindowProbe : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<CCalendarDlg*>(watched);
        if (window == nullptr || event->type() != QEvent::Paint || m_inPaint) return false;
        m_inPaint = true;
        m_clock.Begin();
        QCoreApplication::sendEvent(window, event);  // the real paint, here
        const bool first = m_clock.End();
        m_inPaint = false;
        if (first) QTimer::singleShot(0, window, [this, window] { Probe(*window); });
        return true;
    }

private:
    void Probe(CCalendarDlg& window)
    {
        QApplication::processEvents();  // work posted from the first paint
        if (qEnvironmentVariableIsSet(StartOnlyVariable)) {
            m_clock.Report(-1);
        } else {
            m_clock.RunRepaints(window);
            m_clock.Report(TimeMovesToNewDays(window));
        }
        window.reject();
    }

    probe::PaintClock m_clock;
    bool m_inPaint = false;
};

// Runs when any application object is made; only the window's one, not the
// console one that reads the command line, is watched.
void WatchApplication()
{
    if (!g_probing) return;
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        qInstallMessageHandler(QuietOffscreenWarnings);
        app->installEventFilter(new WindowProbe);
    }
}
Q_COREAPP_STARTUP_FUNCTION(WatchApplication)

// The program's own start-up, unchanged, under the probe; the flag that
// made this process a child is not the program's to read.
int Child(int argc, char** argv)
{
    g_probing = true;
    argv[1] = argv[0];
    int count = argc - 1;
    return CCalendarApp::Run(count, argv + 1);
}

struct Sample {
    double startMs = 0;  // spawn to the end of the first paint
    double rssMb = 0;    // peak RSS at the end of the first paint
    double repaintUs = 0;
    double moveUs = 0;  // negative: not measured
};

// Runs `program --probe-child` once with the environment given; nullopt when
// it fails.
std::optional<Sample> OneRun(const char* program, char* const* env)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    char* const args[] = {const_cast<char*>(program), const_cast<char*>(probe::ChildFlag), nullptr};
    pid_t pid = 0;
    const long long start = probe::MonotonicNs();
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, args, env);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return std::nullopt;
    }
    std::string out;
    char chunk[128];
    ssize_t n = 0;
    while ((n = read(pipeFds[0], chunk, sizeof chunk)) > 0)
        out.append(chunk, static_cast<size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long end = 0;
    long rssKb = 0;
    Sample s;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0
        || std::sscanf(out.c_str(), "%lld %ld %lf %lf", &end, &rssKb, &s.repaintUs, &s.moveUs) != 4)
        return std::nullopt;
    s.startMs = static_cast<double>(end - start) / 1e6;
    s.rssMb = static_cast<double>(rssKb) / 1024;
    return s;
}

// The parent's environment with QT_SCALE_FACTOR set to `scale`.
struct ScaledEnvironment {
    explicit ScaledEnvironment(const char* scale)
    {
        for (char** e = environ; *e != nullptr; ++e)
            if (std::strncmp(*e, "QT_SCALE_FACTOR=", 16) != 0) strings.emplace_back(*e);
        strings.push_back(std::string("QT_SCALE_FACTOR=") + scale);
        for (std::string& s : strings) pointers.push_back(s.data());
        pointers.push_back(nullptr);
    }
    std::vector<std::string> strings;
    std::vector<char*> pointers;
};

template <typename Field> double MedianOf(const std::vector<Sample>& samples, Field field)
{
    std::vector<double> values;
    for (const Sample& s : samples) values.push_back(s.*field);
    return probe::Median(values);
}

void PrintRow(const char* figure, double qov, double sketch, const char* unit, const char* goal)
{
    if (sketch >= 0)
        std::printf("| %s | %.1f %s | %.1f %s | %.2f | %s |\n", figure, qov, unit, sketch, unit,
            qov / sketch, goal);
    else
        std::printf("| %s | %.1f %s | | | %s |\n", figure, qov, unit, goal);
}

int Compare(const char* self, const char* sketch, int rounds)
{
    const std::array<const char*, 2> scales = {"1", "2"};
    std::array<ScaledEnvironment, 2> envs = {ScaledEnvironment("1"), ScaledEnvironment("2")};
    // [scale][0 = qov, 1 = sketch]
    std::array<std::array<std::vector<Sample>, 2>, 2> samples;
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t s = 0; s < scales.size(); ++s) {
            // Alternate which program goes first, so neither always runs on
            // the caches the other warmed.
            for (std::size_t k = 0; k < 2; ++k) {
                const std::size_t which = (k + static_cast<std::size_t>(round)) % 2;
                const std::optional<Sample> sample =
                    OneRun(which == 0 ? self : sketch, envs[s].pointers.data());
                if (!sample) {
                    std::fprintf(
                        stderr, "round %d: %s failed\n", round, which == 0 ? self : sketch);
                    return 1;
                }
                samples[s][which].push_back(*sample);
            }
        }
    }
    std::printf("%d interleaved rounds per scale, offscreen; medians. Start: wall time from the "
                "spawn; repaint and move: CPU time of the GUI thread.\n\n",
        rounds);
    std::printf("| figure | qov | sketch | qov / sketch | goal |\n|---|---|---|---|---|\n");
    PrintRow("start → end of first paint, 100 %", MedianOf(samples[0][0], &Sample::startMs),
        MedianOf(samples[0][1], &Sample::startMs), "ms", "≤ 1.15 × sketch");
    PrintRow("start → end of first paint, 200 %", MedianOf(samples[1][0], &Sample::startMs),
        MedianOf(samples[1][1], &Sample::startMs), "ms", "≤ 1.15 × sketch");
    PrintRow("full repaint, device pixel ratio 1", MedianOf(samples[0][0], &Sample::repaintUs),
        MedianOf(samples[0][1], &Sample::repaintUs), "µs", "≤ 300 µs");
    PrintRow("full repaint, device pixel ratio 2", MedianOf(samples[1][0], &Sample::repaintUs),
        MedianOf(samples[1][1], &Sample::repaintUs), "µs", "≤ 1,100 µs");
    PrintRow("peak RSS after the first paint, 100 %", MedianOf(samples[0][0], &Sample::rssMb),
        MedianOf(samples[0][1], &Sample::rssMb), "MB", "≤ sketch + 4 MB");
    PrintRow("peak RSS after the first paint, 200 %", MedianOf(samples[1][0], &Sample::rssMb),
        MedianOf(samples[1][1], &Sample::rssMb), "MB", "≤ sketch + 4 MB");
    PrintRow("mouse move to a new day, tip repaint, 100 %",
        MedianOf(samples[0][0], &Sample::moveUs), -1, "µs", "≤ 60 µs");
    PrintRow("mouse move to a new day, tip repaint, 200 %",
        MedianOf(samples[1][0], &Sample::moveUs), -1, "µs", "");
    return 0;
}

int StartupAlone(const char* self, int runs)
{
    setenv(StartOnlyVariable, "1", 1);
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const std::optional<Sample> sample = OneRun(self, environ);
        if (!sample) {
            std::fprintf(stderr, "run %d failed\n", i);
            return 1;
        }
        ms.push_back(sample->startMs);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("process start to end of first paint, %d runs: min %.1f ms, median %.1f ms, "
                "max %.1f ms\n",
        runs, ms.front(), ms[ms.size() / 2], ms.back());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], probe::ChildFlag) == 0) return Child(argc, argv);

    const bool compare = argc > 2 && std::strcmp(argv[1], "--compare") == 0;
    const int runsArg = compare ? 3 : 1;
    const int runs = argc > runsArg ? std::max(1, std::atoi(argv[runsArg])) : compare ? 30 : 20;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // A runtime directory of our own: a calendar running for this user must
    // not make the children the second copy.
    char runtime[] = "/tmp/qov-startup-XXXXXX";
    if (mkdtemp(runtime) == nullptr) return 1;
    setenv("XDG_RUNTIME_DIR", runtime, 1);
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    const int result =
        compare ? Compare(self.c_str(), argv[2], runs) : StartupAlone(self.c_str(), runs);
    std::error_code ignored;
    std::filesystem::remove_all(runtime, ignored);
    return result;
}
