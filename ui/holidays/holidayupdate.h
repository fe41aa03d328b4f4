// The holiday update: fetches the holiday-cn file of each asked year over
// https, validates the whole body, and only then stores it with QSaveFile in
// the downloads folder, where CHolidayFile reads it. One small GET per
// year, conditional on the last answer's ETag and Last-Modified, so that a
// repeat costs a 304. The only part of qov that uses the network; it runs
// in the qov-update program (ui/updater), which the window starts.
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

#include "holidays/updatepolicy.h"
#include "model/holidays.h"

class QNetworkReply;

class CHolidayUpdate : public QObject {
    Q_OBJECT

public:
    // See updatepolicy.h.
    static QString SourceProblem(const QString& source)
    {
        return updatepolicy::SourceProblem(source);
    }

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

    static QList<int> YearsToCheck(const QDate& today) { return updatepolicy::YearsToCheck(today); }
    // Fetches `years` one after another; finished() follows, also when
    // nothing could be started.
    void Start(const QList<int>& years);

    static bool AutoUpdateEnabled() { return updatepolicy::AutoUpdateEnabled(); }
    bool AutoCheckDue(const QDateTime& now, const qov::HolidayTable& table) const
    {
        return updatepolicy::CheckDue(m_folder, now, table);
    }

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
    QString StatePath() const { return updatepolicy::StatePath(m_folder); }

    QString m_folder;
    QString m_source = updatepolicy::DefaultSource;
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
