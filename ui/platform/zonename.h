// Human-readable names of time zones, in Chinese.
#pragma once

#include <QString>
#include <QTimeZone>

// The zone's standard-time name in Simplified Chinese (e.g. 中国标准时间),
// also while daylight saving time is in effect; the zone's IANA id when no
// name is known; empty for an invalid zone.
QString ZoneStandardName(const QTimeZone& zone);

// ZoneStandardName of the computer's current time zone (read anew each call,
// so a change of zone shows at the next call). A zone the time-zone database
// does not know (TZ=Garbage/Nowhere) has no name: its current offset from
// UTC then stands in, as UtcOffsetText gives it.
QString LocalZoneStandardName();

// "UTC+08:00", "UTC-03:30", "UTC+00:00" for an offset east of UTC in seconds
// (seconds beyond the minute are dropped).
QString UtcOffsetText(int offsetSeconds);
