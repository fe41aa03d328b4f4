#include "holidays/holidayupdate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QSaveFile>
#include <QSettings>
#include <QSslConfiguration>
#include <algorithm>

#include "holidayfile.h"
#include "model/holidaycn.h"
#include "settings/settings.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int SecondsPerDay = 24 * 60 * 60;
constexpr int FirstRetrySeconds = 60 * 60;  // doubled after each failure, up to a day

// A redirect may lead this far before the answer counts as a failure.
constexpr int MaxRedirects = 3;

using updatepolicy::FailuresKey;
using updatepolicy::IsLoopbackHttp;
using updatepolicy::LastCheckKey;
using updatepolicy::RetryAfterKey;
using updatepolicy::UrlProblem;
using updatepolicy::YearUrl;
QString EtagKey(int year) { return u"etag/"_s + QString::number(year); }
QString ModifiedKey(int year) { return u"lastModified/"_s + QString::number(year); }

std::optional<qov::HolidayCnSchedule> ReadStored(const QString& path, int year, QByteArray* bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    *bytes = file.read(static_cast<qint64>(qov::MaxHolidayCnBytes) + 1);
    return qov::ReadHolidayCn(
        std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())), year)
        .schedule;
}

// Whether the two schedules tell anything different about year - 1 .. year + 1.
bool Differ(const qov::HolidayTable& a, const qov::HolidayTable& b, int year)
{
    for (int y = year - 1; y <= year + 1; ++y)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= qov::DaysInMonth(y, month); ++day) {
                const qov::HolidayInfo x = a.Lookup({y, month, day});
                const qov::HolidayInfo z = b.Lookup({y, month, day});
                if (x.kind != z.kind || x.name != z.name) return true;
            }
    return false;
}

}  // namespace

CHolidayUpdate::CHolidayUpdate(QObject* parent)
    : CHolidayUpdate(CHolidayFile::DownloadFolder(), parent)
{ }

CHolidayUpdate::CHolidayUpdate(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder)
{
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    m_connectTimer.setSingleShot(true);
    m_totalTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, [this] {
        Abort(
            u"no connection within %1 s"_s.arg(static_cast<double>(m_connectLimit.count()) / 1000));
    });
    connect(&m_totalTimer, &QTimer::timeout, this, [this] {
        Abort(u"no complete answer within %1 s"_s.arg(
            static_cast<double>(m_totalLimit.count()) / 1000));
    });
}

void CHolidayUpdate::setTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds total)
{
    m_connectLimit = connect;
    m_totalLimit = total;
}

void CHolidayUpdate::addCaCertificates(const QList<QSslCertificate>& certificates)
{
    m_extraCas += certificates;
}

void CHolidayUpdate::Start(const QList<int>& years)
{
    if (m_running) return;
    m_running = true;
    m_queue = years;
    m_changed.clear();
    m_error.clear();
    if (!QDir().mkpath(m_folder)) {
        m_queue.clear();
        m_error = QDir::toNativeSeparators(m_folder) + u": cannot be made"_s;
    }
    // Always after the caller has returned.
    QMetaObject::invokeMethod(this, &CHolidayUpdate::FetchNext, Qt::QueuedConnection);
}

void CHolidayUpdate::FetchNext()
{
    if (m_queue.isEmpty()) {
        Done();
        return;
    }
    m_year = m_queue.takeFirst();
    m_body.clear();
    m_abortReason.clear();
    const QUrl url(YearUrl(m_source, m_year));
    if (const QString problem = UrlProblem(url); !problem.isEmpty()) {
        if (m_error.isEmpty()) m_error = u"%1: %2"_s.arg(m_year).arg(problem);
        FetchNext();
        return;
    }

    QNetworkRequest request(url);
    request.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    // No cookies sent or kept: nothing lasts between requests beyond the
    // validators in the state file.
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setHeader(QNetworkRequest::UserAgentHeader, u"qov"_s);
    request.setRawHeader("Accept", "application/json");
    // The same for every user, in place of the one Qt derives from the locale.
    request.setRawHeader("Accept-Language", "*");
    if (url.scheme() == u"https"_s) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
        tls.addCaCertificates(m_extraCas);
        request.setSslConfiguration(tls);
    }
    // Validators only for a file that is there to keep.
    if (QFileInfo::exists(CHolidayFile::DownloadPath(m_folder, m_year))) {
        const QSettings state(StatePath(), QSettings::IniFormat);
        const QByteArray etag = state.value(EtagKey(m_year)).toString().toLatin1();
        const QByteArray modified = state.value(ModifiedKey(m_year)).toString().toLatin1();
        if (!etag.isEmpty()) request.setRawHeader("If-None-Match", etag);
        if (!modified.isEmpty()) request.setRawHeader("If-Modified-Since", modified);
    }
    // A loopback server is never reached through a proxy; others follow the system's.
    m_manager.setProxy(IsLoopbackHttp(url) ? QNetworkProxy(QNetworkProxy::NoProxy)
                                           : QNetworkProxy(QNetworkProxy::DefaultProxy));

    QNetworkReply* reply = m_manager.get(request);
    m_reply = reply;
    const bool secure = url.scheme() == u"https"_s;
    connect(reply, &QNetworkReply::redirected, this, [this, reply, secure](const QUrl& target) {
        // Never from https down to http, nor from a loopback test server away.
        const bool https = target.scheme() == u"https"_s;
        if (UrlProblem(target).isEmpty() && (https || !secure))
            Q_EMIT reply->redirectAllowed();
        else
            Abort(u"refused a redirect to "_s + target.toDisplayString());
    });
    connect(reply, &QNetworkReply::requestSent, &m_connectTimer, &QTimer::stop);
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > static_cast<qint64>(qov::MaxHolidayCnBytes))
            Abort(u"larger than 256 KiB"_s);
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        m_body += reply->readAll();
        if (m_body.size() > static_cast<qsizetype>(qov::MaxHolidayCnBytes))
            Abort(u"larger than 256 KiB"_s);
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        m_connectTimer.stop();
        m_totalTimer.stop();
        reply->deleteLater();
        m_reply = nullptr;
        QString problem = m_abortReason;
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->isOpen()) m_body += reply->readAll();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (!problem.isEmpty()) {
            // Aborted: the reason says why.
        } else if (length.isValid() && length.toLongLong() > m_body.size()) {
            problem =
                u"truncated answer (%1 of %2 bytes)"_s.arg(m_body.size()).arg(length.toLongLong());
        } else if (status == 304 || status == 404) {
            // Unchanged, or a year the source has no file for yet.
        } else if (reply->error() != QNetworkReply::NoError) {
            problem = reply->errorString();
        } else if (status != 200) {
            problem = u"HTTP status %1"_s.arg(status);
        } else {
            problem = Store(m_body, reply->rawHeader("ETag"), reply->rawHeader("Last-Modified"));
        }
        if (!problem.isEmpty() && m_error.isEmpty()) m_error = u"%1: %2"_s.arg(m_year).arg(problem);
        FetchNext();
    });
    m_connectTimer.start(m_connectLimit);
    m_totalTimer.start(m_totalLimit);
}

void CHolidayUpdate::Abort(const QString& reason)
{
    if (!m_reply || !m_abortReason.isEmpty()) return;
    m_abortReason = reason;
    m_reply->abort();
}

QString CHolidayUpdate::Store(
    const QByteArray& body, const QByteArray& etag, const QByteArray& modified)
{
    const qov::HolidayCnRead read = qov::ReadHolidayCn(
        std::string_view(body.constData(), static_cast<std::size_t>(body.size())), m_year);
    if (!read.schedule) return QString::fromStdString(read.error);
    const qov::HolidayCnSchedule& fresh = *read.schedule;

    const QString path = CHolidayFile::DownloadPath(m_folder, m_year);
    QByteArray storedBytes;
    const std::optional<qov::HolidayCnSchedule> stored = ReadStored(path, m_year, &storedBytes);
    QSettings state(StatePath(), QSettings::IniFormat);
    const auto remember = [&] {
        for (const auto& [key, value] :
            {std::pair(EtagKey(m_year), etag), std::pair(ModifiedKey(m_year), modified)}) {
            if (value.isEmpty())
                state.remove(key);
            else
                state.setValue(key, QString::fromLatin1(value));
        }
    };
    std::size_t shipped = 0;
    for (const qov::HolidayLine& day : qov::HolidayTable::Shipped().Days())
        shipped += day.date.year == m_year;
    switch (qov::DecideDownload(stored ? &*stored : nullptr, shipped, fresh)) {
    case qov::DownloadAction::Keep:
        return {};
    case qov::DownloadAction::Refuse: {
        const std::size_t before = stored && !stored->days.empty() ? stored->days.size() : shipped;
        return u"refused: the new file would remove %1 of %2 days"_s.arg(before - fresh.days.size())
            .arg(before);
    }
    case qov::DownloadAction::Store:
        break;
    }
    if (stored && storedBytes == body) {
        remember();
        return {};
    }

    std::vector<qov::HolidayCnSchedule> others = CHolidayFile::ReadDownloads(m_folder, nullptr);
    std::erase_if(others, [this](const qov::HolidayCnSchedule& s) { return s.year == m_year; });
    const qov::HolidayTable old = qov::LayerSchedules(qov::HolidayTable::Shipped(), others);
    others.push_back(fresh);
    const qov::HolidayTable now = qov::LayerSchedules(qov::HolidayTable::Shipped(), others);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.commit())
        return QDir::toNativeSeparators(path) + u": "_s + file.errorString();
    remember();
    if (Differ(old, now, m_year)) {
        const auto rest = std::count_if(fresh.days.begin(), fresh.days.end(),
            [](const qov::HolidayLine& d) { return d.kind == qov::HolidayLine::Kind::Rest; });
        const auto all = static_cast<qsizetype>(fresh.days.size());
        m_changed.append(
            u"%1: %2 天（休 %3，班 %4）"_s.arg(m_year).arg(all).arg(rest).arg(all - rest));
    }
    return {};
}

void CHolidayUpdate::Done()
{
    QSettings state(StatePath(), QSettings::IniFormat);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (m_error.isEmpty()) {
        state.setValue(LastCheckKey, now.toString(Qt::ISODate));
        state.remove(FailuresKey);
        state.remove(RetryAfterKey);
    } else {
        const int failures = std::min(state.value(FailuresKey, 0).toInt() + 1, 16);
        const qint64 wait =
            std::min<qint64>(qint64(FirstRetrySeconds) << (failures - 1), SecondsPerDay);
        state.setValue(FailuresKey, failures);
        state.setValue(RetryAfterKey, now.addSecs(wait).toString(Qt::ISODate));
    }
    state.sync();
    m_running = false;
    Q_EMIT finished(m_changed, m_error);
}
