// Today's local date, kept current while the program runs for weeks: one
// single-shot timer waits for the next local midnight and nothing polls.
// A wall clock that is set or jumps (also on resume from suspend) and a
// change of the time zone re-read the date and re-arm the timer at once.
#pragma once

#include <QObject>
#include <QTimer>

#include "gregorian.h"

class QFileSystemWatcher;
class QSocketNotifier;

class CTodayWatch : public QObject {
    Q_OBJECT

public:
    explicit CTodayWatch(QObject* parent = nullptr);
    ~CTodayWatch() override;

    qov::SolarDate Today() const noexcept { return m_today; }
    // Milliseconds the midnight timer has left; -1 when it is not armed.
    int RemainingMs() const { return m_midnight.remainingTime(); }

    // Reads the local date again, emits todayChanged when it moved and arms
    // the timer for the next midnight. Cheap: callers may call it on any
    // hint that the clock moved (a shown window's clock ticks each second).
    void Check();

Q_SIGNALS:
    void todayChanged(qov::SolarDate today);

private:
    void ArmMidnight();
    void ArmClockSet();
    void OnClockSet();

    qov::SolarDate m_today;
    QTimer m_midnight;
    // Linux: a timerfd on the wall clock that the kernel cancels whenever
    // the clock is set, by hand, by NTP stepping it, or on resume from
    // suspend. It never expires by itself, so it costs no wakeups.
    int m_clockFd = -1;
    QSocketNotifier* m_clockSet = nullptr;
    // The zone file /etc/localtime is replaced, not rewritten, when the
    // zone changes: its folder sees the change.
    QFileSystemWatcher* m_zoneWatch = nullptr;
};
