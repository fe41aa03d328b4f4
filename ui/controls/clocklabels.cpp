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
    m_timer->start(IntervalMs);
}

void CQovDate::Tick()
{
    setText(ClockText(QTime::currentTime()));
    setAccessibleDescription(text());  // the name says what it is: 当前时间
}

CTimeZone::CTimeZone(QWidget* parent, NameRead read) : QLabel(parent), m_timer(new QTimer(this))
{
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (read == NameRead::AtOnce)
        Refresh();
    else
        setText(u"当前："_s);
    connect(m_timer, &QTimer::timeout, this, &CTimeZone::Refresh);
    m_timer->start(IntervalMs);
}

void CTimeZone::Refresh() { setText(u"当前："_s + LocalZoneStandardName()); }
