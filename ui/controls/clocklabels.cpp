#include "controls/clocklabels.h"

#include <QTimer>

#include "platform/zonename.h"

using namespace Qt::StringLiterals;

QString ClockText(const QTime& time)
{
    return QString::asprintf("%d:%.2d:%.2d", time.hour(), time.minute(), time.second());
}

CQovDate::CQovDate(QWidget* parent) : QLabel(parent), m_timer(new QTimer(this))
{
    setAlignment(Qt::AlignCenter);
    setAccessibleName(u"当前时间"_s);
    // No text yet: the label stays blank until the first tick.
    connect(m_timer, &QTimer::timeout, this, &CQovDate::Tick);
}

void CQovDate::showEvent(QShowEvent* event)
{
    // Shown again after a while: the last time shown is stale at once.
    if (!text().isEmpty()) Tick();
    m_timer->start(IntervalMs);
    QLabel::showEvent(event);
}

void CQovDate::hideEvent(QHideEvent* event)
{
    m_timer->stop();
    QLabel::hideEvent(event);
}

void CQovDate::Tick()
{
    setText(ClockText(QTime::currentTime()));
    setAccessibleDescription(text());  // the name says what it is: 当前时间
    Q_EMIT ticked();
}

CTimeZone::CTimeZone(QWidget* parent, NameRead read) : QLabel(parent), m_timer(new QTimer(this))
{
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (read == NameRead::AtOnce)
        Refresh();
    else
        setText(u"当前："_s);
    connect(m_timer, &QTimer::timeout, this, &CTimeZone::Refresh);
}

void CTimeZone::showEvent(QShowEvent* event)
{
    if (m_read) Refresh();  // the zone may have changed while hidden
    m_timer->start(IntervalMs);
    QLabel::showEvent(event);
}

void CTimeZone::hideEvent(QHideEvent* event)
{
    m_timer->stop();
    QLabel::hideEvent(event);
}

void CTimeZone::Refresh()
{
    m_read = true;
    setText(u"当前："_s + LocalZoneStandardName());
}
