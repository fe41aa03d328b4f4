#include "holidays/updatepolicy.h"

#include <QSettings>

#include "settings/settings.h"

using namespace Qt::StringLiterals;

namespace updatepolicy {

namespace {

constexpr int SecondsPerDay = 24 * 60 * 60;

QDateTime ReadTime(const QSettings& state, const QString& key)
{
    return QDateTime::fromString(state.value(key).toString(), Qt::ISODate);
}

// A literal loopback address as QUrl gives the host: 127.0.0.0/8 in dotted
// decimal, ::1, or 127.0.0.0/8 mapped into IPv6. Names such as localhost
// are not loopback here: a resolver decides where they lead.
bool IsLoopbackHost(QString host)
{
    if (host == u"::1"_s) return true;
    if (host.startsWith(u"::ffff:"_s, Qt::CaseInsensitive)) host = host.mid(7);
    const QStringList parts = host.split(u'.');
    if (parts.size() != 4) return false;
    for (const QString& part : parts) {
        bool ok = false;
        const int value = part.toInt(&ok, 10);
        if (!ok || part.size() > 3 || value < 0 || value > 255) return false;
    }
    return parts[0].toInt() == 127;
}

bool HasDays(const qov::HolidayTable& table, int year)
{
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= qov::DaysInMonth(year, month); ++day)
            if (table.Lookup({year, month, day}).kind != qov::DayOff::None) return true;
    return false;
}

}  // namespace

const QString DefaultSource =
    u"https://cdn.jsdelivr.net/gh/NateScarlet/holiday-cn@master/{year}.json"_s;

bool IsLoopbackHttp(const QUrl& url)
{
    return url.scheme() == u"http"_s && IsLoopbackHost(url.host());
}

QString UrlProblem(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty()) return u"not a valid address"_s;
    if (url.scheme() == u"https"_s || IsLoopbackHttp(url)) return {};
    return u"only https is accepted (plain http only to 127.0.0.0/8 or ::1)"_s;
}

QString YearUrl(const QString& source, int year)
{
    return QString(source).replace(u"{year}"_s, QString::number(year));
}

QString SourceProblem(const QString& source)
{
    if (!source.contains(u"{year}"_s)) return u"the address has no {year}"_s;
    return UrlProblem(QUrl(YearUrl(source, 2000), QUrl::StrictMode));
}

QList<int> YearsToCheck(const QDate& today) { return {today.year(), today.year() + 1}; }

bool AutoUpdateEnabled()
{
    // Read afresh at each check, so that a hand edit counts without a restart.
    QString message;
    return settings::Load(settings::FilePath(), message).autoUpdate;
}

QString StatePath(const QString& folder) { return folder + u"/state.ini"_s; }

bool CheckDue(const QString& folder, const QDateTime& now, const qov::HolidayTable& table)
{
    const QSettings state(StatePath(folder), QSettings::IniFormat);
    const QDateTime retryAfter = ReadTime(state, RetryAfterKey);
    if (retryAfter.isValid() && now < retryAfter) return false;
    const QDateTime last = ReadTime(state, LastCheckKey);
    if (last.isValid() && last <= now && last.secsTo(now) < SecondsPerDay) return false;
    // The notice for next year comes out in the autumn, sometimes late.
    const int month = now.date().month();
    const int year = now.date().year();
    return month >= 11 || month == 1 || !HasDays(table, year) || !HasDays(table, year + 1);
}

}  // namespace updatepolicy
