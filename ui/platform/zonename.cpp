#include "platform/zonename.h"

#include <QDateTime>
#include <QLocale>
#include <cstdlib>

using namespace Qt::StringLiterals;

QString ZoneStandardName(const QTimeZone& zone)
{
    if (!zone.isValid()) return {};
    // The standard-time name even in summer: the label names the zone, not
    // the current offset.
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China);
    const QString name = zone.displayName(QTimeZone::StandardTime, QTimeZone::LongName, chinese);
    return name.isEmpty() ? QString::fromLatin1(zone.id()) : name;
}

QString LocalZoneStandardName()
{
    const QString name = ZoneStandardName(QTimeZone::systemTimeZone());
    if (!name.isEmpty()) return name;
    // The offset the C library applies to local time now (UTC for a TZ it
    // cannot read either).
    return UtcOffsetText(QDateTime::currentDateTime().offsetFromUtc());
}

QString UtcOffsetText(int offsetSeconds)
{
    const int signedMinutes = offsetSeconds / 60;  // toward zero: -30 s is +00:00
    const int minutes = std::abs(signedMinutes);   // [0, 35791394]
    return u"UTC%1%2:%3"_s.arg(QChar(signedMinutes < 0 ? u'-' : u'+'))
        .arg(minutes / 60, 2, 10, QChar(u'0'))
        .arg(minutes % 60, 2, 10, QChar(u'0'));
}
