#include "holidays/updatejob.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include "holidayfile.h"
#include "holidays/updatepolicy.h"

using namespace Qt::StringLiterals;

namespace {

// Two years at 10 s to connect and 30 s to answer each, with room to spare:
// a child still running after this is stuck and is stopped.
constexpr int StuckMs = 3 * 60'000;

}  // namespace

CHolidayUpdateJob::CHolidayUpdateJob(QObject* parent) : QObject(parent) { }

CHolidayUpdateJob::~CHolidayUpdateJob()
{
    // The child stores with QSaveFile: stopping it loses nothing.
    if (m_process != nullptr) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(1000);
    }
}

QString CHolidayUpdateJob::ProgramPath()
{
    if (const QString named = qEnvironmentVariable("QOV_UPDATE_HELPER"); !named.isEmpty())
        return named;
#ifdef Q_OS_WIN
    const QString name = u"qov-update.exe"_s;
#else
    const QString name = u"qov-update"_s;
#endif
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString& path : {here + u'/' + name, here + u"/../libexec/qov/"_s + name})
        if (QFileInfo(path).isExecutable()) return QFileInfo(path).canonicalFilePath();
    return here + u'/' + name;  // for the message that it is missing
}

bool CHolidayUpdateJob::AutoCheckDue(const QDateTime& now, const qov::HolidayTable& table)
{
    return updatepolicy::CheckDue(CHolidayFile::DownloadFolder(), now, table);
}

void CHolidayUpdateJob::Start(const QList<int>& years)
{
    if (m_process != nullptr) return;
    QStringList arguments;
    if (!m_source.isEmpty()) arguments << u"--holiday-source"_s << m_source;
    for (const int year : years) arguments << QString::number(year);
    m_process = new QProcess(this);
    m_process->setProgram(ProgramPath());
    m_process->setArguments(arguments);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            Finish(m_process->program() + u": "_s + m_process->errorString());
    });
    connect(m_process, &QProcess::finished, this, [this](int status, QProcess::ExitStatus how) {
        const QString problem = QString::fromUtf8(m_process->readAllStandardError()).trimmed();
        if (how == QProcess::CrashExit)
            Finish(u"qov-update stopped before it finished"_s);
        else if (status != 0)
            Finish(problem.isEmpty() ? u"qov-update failed (status %1)"_s.arg(status) : problem);
        else
            Finish({});
    });
    auto* stuck = new QTimer(m_process);
    stuck->setSingleShot(true);
    connect(stuck, &QTimer::timeout, m_process, &QProcess::kill);
    stuck->start(StuckMs);
    m_process->start();
}

void CHolidayUpdateJob::Finish(const QString& error)
{
    QStringList changed;
    for (const QByteArray& line : m_process->readAllStandardOutput().split('\n'))
        if (!line.trimmed().isEmpty()) changed.append(QString::fromUtf8(line.trimmed()));
    m_process->deleteLater();
    m_process = nullptr;
    Q_EMIT finished(changed, error);
}
