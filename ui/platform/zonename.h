// Human-readable names of time zones, in Chinese.
#pragma once

#include <QString>
#include <QTimeZone>

// The zone's standard-time name in Simplified Chinese (e.g. 中国标准时间),
// also while daylight saving time is in effect; the zone's IANA id when no
// name is known; empty for an invalid zone.
QString ZoneStandardName(const QTimeZone& zone);

// ZoneStandardName of the computer's current time zone (read anew each call,
// so a change of zone shows at the next call).
QString LocalZoneStandardName();
