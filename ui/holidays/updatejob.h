// The holiday update as the window and `qov --update-holidays` run it: the
// qov-update program (CHolidayUpdate over Qt Network) in a child process,
// so that qov itself never loads the network libraries. The program is
// looked for beside qov, then in ../libexec/qov (the installed layout);
// QOV_UPDATE_HELPER names another (the tests' build tree).
//
// The child's protocol: arguments [--holiday-source URL] YEAR...; on
// stdout one line per year whose days changed; on stderr the first failure
// in one line; exit status 0 when nothing failed.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QStringList>

#include "model/holidays.h"

class QProcess;

class CHolidayUpdateJob : public QObject {
    Q_OBJECT

public:
    explicit CHolidayUpdateJob(QObject* parent = nullptr);
    ~CHolidayUpdateJob() override;

    void setSource(const QString& source) { m_source = source; }
    QString source() const { return m_source; }
    bool running() const noexcept { return m_process != nullptr; }

    // Fetches `years`; finished() follows, also when the program could not
    // be started.
    void Start(const QList<int>& years);
    // For the downloads folder the window reads.
    static bool AutoCheckDue(const QDateTime& now, const qov::HolidayTable& table);

    static QString ProgramPath();

Q_SIGNALS:
    // As CHolidayUpdate::finished: the changed years' lines, and the first
    // failure or "".
    void finished(const QStringList& changed, const QString& error);

private:
    void Finish(const QString& error);

    QString m_source;
    QProcess* m_process = nullptr;
};
