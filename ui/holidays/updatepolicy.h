// The parts of the holiday update that need no network: which addresses are
// accepted, which years are asked for, and when an automatic check is due.
// The window links these alone; the fetching itself (CHolidayUpdate, Qt
// Network) lives in the qov-update program, so that starting the window
// never loads the network libraries.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>

#include "model/holidays.h"

namespace updatepolicy {

// holiday-cn's files as a CDN serves them; {year} stands for the year.
extern const QString DefaultSource;

// Why `source` (an address with {year} for the year) cannot be used, or
// "": it must be https, or plain http to a loopback address
// (127.0.0.0/8, ::1).
QString SourceProblem(const QString& source);
// The same rule for one address (also each redirect's target).
QString UrlProblem(const QUrl& url);
bool IsLoopbackHttp(const QUrl& url);
QString YearUrl(const QString& source, int year);

// The notice years worth asking for on `today`: its year and the next.
QList<int> YearsToCheck(const QDate& today);

// `[holidays] autoUpdate` of $XDG_CONFIG_HOME/qov/qov.conf; true when unset.
bool AutoUpdateEnabled();

// The update's own state (not the user's settings) in the downloads folder:
// validators per year and the times of the last check and the next retry,
// as ISO 8601 text in UTC.
QString StatePath(const QString& folder);
inline const QString LastCheckKey = QStringLiteral("check/last");
inline const QString FailuresKey = QStringLiteral("check/failures");
inline const QString RetryAfterKey = QStringLiteral("check/retryAfter");

// Whether an automatic check is due at `now`, given the schedule the
// window shows and the state in `folder`: at most once a day after a
// success, later and later after failures (1 h, 2 h, 4 h ... up to a day);
// and only in November to January, or when this or next year has no day
// at all.
bool CheckDue(const QString& folder, const QDateTime& now, const qov::HolidayTable& table);

}  // namespace updatepolicy
