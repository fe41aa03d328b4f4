// The measuring half shared by the calendar's start-up probe and the sketch
// yardstick (plain Qt, no product code): a child process started by the
// comparison driver reports one line on stdout and quits.
//
//   <monotonic ns at the end of the first paint> <peak RSS kB then>
//   <median µs of the window's own paint event over the repaints>
//   <median µs of a mouse move to a new day with the tip's repaint, or -1>
//
// The repaints come after the first paint, warm, one paint event of the
// whole window each (QWidget::repaint); only the window's own paintEvent is
// timed, not its children's. Repaints and moves are timed in CPU time of the
// GUI thread: the same as wall time on an idle machine, and steadier on a
// loaded one.
#pragma once

#include <QFile>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace probe {

inline constexpr const char* ChildFlag = "--probe-child";
inline constexpr int WarmRepaints = 5;
inline constexpr int TimedRepaints = 40;

inline long long MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
}

// VmHWM of this process, kB; 0 where /proc is missing.
inline long PeakRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').front().toLong();
    return 0;
}

inline long long ThreadCpuNs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<long long>(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
}

inline double Median(std::vector<double> values)
{
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Times paint events of one widget: its paintEvent calls Begin and End
// around the real work.
class PaintClock {
public:
    void Begin() { m_start = ThreadCpuNs(); }
    // Returns true on the first paint's end, after noting its time and RSS.
    bool End()
    {
        const long long end = ThreadCpuNs();
        if (m_firstPaintEnd == 0) {
            m_firstPaintEnd = MonotonicNs();
            m_peakRssKb = PeakRssKb();
            return true;
        }
        if (m_timing) m_paintsUs.push_back(static_cast<double>(end - m_start) / 1e3);
        return false;
    }

    // Whole-window repaints after the first paint; the warm-up ones untimed.
    void RunRepaints(QWidget& window)
    {
        for (int i = 0; i < WarmRepaints; ++i) window.repaint();
        m_timing = true;
        for (int i = 0; i < TimedRepaints; ++i) window.repaint();
        m_timing = false;
    }

    void Report(double moveUs) const
    {
        std::printf(
            "%lld %ld %.1f %.2f\n", m_firstPaintEnd, m_peakRssKb, Median(m_paintsUs), moveUs);
        std::fflush(stdout);
    }

private:
    long long m_start = 0;
    long long m_firstPaintEnd = 0;
    long m_peakRssKb = 0;
    bool m_timing = false;
    std::vector<double> m_paintsUs;
};

}  // namespace probe
