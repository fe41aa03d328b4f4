#include "platform/zonename.h"

#include <QLocale>

QString ZoneStandardName(const QTimeZone& zone)
{
    if (!zone.isValid()) return {};
    // The standard-time name even in summer: the label names the zone, not
    // the current offset.
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China);
    const QString name = zone.displayName(QTimeZone::StandardTime, QTimeZone::LongName, chinese);
    return name.isEmpty() ? QString::fromLatin1(zone.id()) : name;
}

QString LocalZoneStandardName() { return ZoneStandardName(QTimeZone::systemTimeZone()); }
