#include "platform/todaywatch.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QSocketNotifier>
#include <algorithm>
#include <ctime>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace {

// Ten years on: the clock-set timer's expiry, never reached in practice.
constexpr std::time_t FarAheadSeconds = 10 * 366 * 24 * 3600;

}  // namespace

CTodayWatch::CTodayWatch(QObject* parent) : QObject(parent), m_today(qov::Today())
{
    m_midnight.setSingleShot(true);
    // A coarse timer may fire 5 % of its interval late: hours after midnight.
    m_midnight.setTimerType(Qt::PreciseTimer);
    connect(&m_midnight, &QTimer::timeout, this, &CTodayWatch::Check);
    ArmMidnight();

#ifdef Q_OS_LINUX
    m_clockFd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_clockFd >= 0) {
        m_clockSet = new QSocketNotifier(m_clockFd, QSocketNotifier::Read, this);
        connect(m_clockSet, &QSocketNotifier::activated, this, &CTodayWatch::OnClockSet);
        ArmClockSet();
    }
    m_zoneWatch = new QFileSystemWatcher({QStringLiteral("/etc")}, this);
    connect(m_zoneWatch, &QFileSystemWatcher::directoryChanged, this, [this] {
        ::tzset();  // the C library reads the zone file again
        Check();
    });
#endif
}

CTodayWatch::~CTodayWatch()
{
#ifdef Q_OS_LINUX
    if (m_clockFd >= 0) ::close(m_clockFd);
#endif
}

void CTodayWatch::Check()
{
    const qov::SolarDate today = qov::Today();
    ArmMidnight();
    if (today == m_today) return;
    m_today = today;
    Q_EMIT todayChanged(today);
}

void CTodayWatch::ArmMidnight()
{
    const QDateTime now = QDateTime::currentDateTime();
    // Midnight that does not exist (a zone that skips 00:00) is the first
    // moment of the day that does; QDateTime moves it on.
    const QDateTime next = now.date().addDays(1).startOfDay();
    // One millisecond past it, so that the date has turned when it fires;
    // a timer that still fires early finds the old day and re-arms.
    const qint64 ms = std::clamp<qint64>(now.msecsTo(next) + 1, 1, 25 * 3600 * 1000);
    m_midnight.start(static_cast<int>(ms));
}

void CTodayWatch::ArmClockSet()
{
#ifdef Q_OS_LINUX
    itimerspec farAhead{};
    farAhead.it_value.tv_sec = std::time(nullptr) + FarAheadSeconds;
    ::timerfd_settime(m_clockFd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &farAhead, nullptr);
#endif
}

void CTodayWatch::OnClockSet()
{
#ifdef Q_OS_LINUX
    // ECANCELED: the clock was set. Either way the timer must be armed again.
    std::uint64_t expirations = 0;
    while (::read(m_clockFd, &expirations, sizeof expirations) > 0) { }
    ArmClockSet();
#endif
    Check();
}
