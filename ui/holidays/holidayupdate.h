// The holiday update: fetches the holiday-cn file of each asked year over
// https, validates the whole body, and only then stores it with QSaveFile in
// the downloads folder, where CHolidayFile reads it. One small GET per
// year, conditional on the last answer's ETag and Last-Modified, so that a
// repeat costs a 304. The only part of qov that uses the network.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <chrono>

#include "model/holidays.h"

class QNetworkReply;

class CHolidayUpdate : public QObject {
    Q_OBJECT

public:
    // holiday-cn's files as a CDN serves them; {year} stands for the year.
    static const QString DefaultSource;

    // Why `source` (an address with {year} for the year) cannot be used, or
    // "": it must be https, or plain http to a loopback address
    // (127.0.0.0/8, ::1).
    static QString SourceProblem(const QString& source);

    // Stores into `folder` (by default CHolidayFile::DownloadFolder()).
    explicit CHolidayUpdate(QObject* parent = nullptr);
    CHolidayUpdate(const QString& folder, QObject* parent);

    void setSource(const QString& source) { m_source = source; }
    QString source() const { return m_source; }
    // 10 s to connect (and send the request), 30 s for the whole answer.
    void setTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds total);
    // Authorities trusted besides the system's (for a test server's
    // certificate); verification itself stays on.
    void addCaCertificates(const QList<QSslCertificate>& certificates);

    bool running() const noexcept { return m_running; }

    // The notice years worth asking for on `today`: its year and the next.
    static QList<int> YearsToCheck(const QDate& today);
    // Fetches `years` one after another; finished() follows, also when
    // nothing could be started.
    void Start(const QList<int>& years);

    // `[holidays] autoUpdate` of $XDG_CONFIG_HOME/qov/qov.conf; true when unset.
    static bool AutoUpdateEnabled();
    // Whether an automatic check is due at `now`, given the schedule the
    // window shows: at most once a day after a success, later and later
    // after failures (1 h, 2 h, 4 h ... up to a day); and only in
    // November to January, or when this or next year has no day at all.
    bool AutoCheckDue(const QDateTime& now, const qov::HolidayTable& table) const;

Q_SIGNALS:
    // `changed`: one line per year whose days changed, "2027: 31 天（休 22，班 9）";
    // `error`: the first failure in one line, "" when there was none.
    void finished(const QStringList& changed, const QString& error);

private:
    void FetchNext();
    void Abort(const QString& reason);
    void Done();
    // Validates and stores the answer for m_year; "" or why not.
    QString Store(const QByteArray& body, const QByteArray& etag, const QByteArray& modified);
    QString StatePath() const;

    QString m_folder;
    QString m_source = DefaultSource;
    std::chrono::milliseconds m_connectLimit{10'000};
    std::chrono::milliseconds m_totalLimit{30'000};
    QList<QSslCertificate> m_extraCas;
    QNetworkAccessManager m_manager;

    bool m_running = false;
    QList<int> m_queue;
    int m_year = 0;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    QString m_abortReason;
    QTimer m_connectTimer;
    QTimer m_totalTimer;
    QStringList m_changed;
    QString m_error;
};
