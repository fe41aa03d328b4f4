#include "holidayfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

CHolidayFile::CHolidayFile(QObject* parent) : CHolidayFile(UserFilePath(), parent) { }

CHolidayFile::CHolidayFile(const QString& path, QObject* parent)
    : CHolidayFile(path, DownloadFolder(), parent)
{ }

CHolidayFile::CHolidayFile(const QString& path, const QString& downloads, QObject* parent)
    : CWatchedFile(path, parent), m_downloads(downloads), m_table(qov::HolidayTable::Shipped())
{
    Reload();
}

QString CHolidayFile::UserFilePath() { return ConfigPath(u"holidays.tsv"_s); }

QString CHolidayFile::DownloadFolder()
{
#ifdef Q_OS_WIN
    const QString base = qEnvironmentVariable("LOCALAPPDATA");
#else
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + u"/.local/share"_s;
#endif
    return QDir::cleanPath(base + u"/qov/holiday-cn"_s);
}

QString CHolidayFile::DownloadPath(const QString& folder, int year)
{
    return folder + u'/' + QString::number(year) + u".json"_s;
}

std::vector<qov::HolidayCnSchedule> CHolidayFile::ReadDownloads(
    const QString& folder, QStringList* messages)
{
    std::vector<qov::HolidayCnSchedule> schedules;
    const QStringList names =
        QDir(folder).entryList({u"[0-9][0-9][0-9][0-9].json"_s}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const int year = name.left(4).toInt();
        QFile file(folder + u'/' + name);
        QString problem;
        if (!file.open(QIODevice::ReadOnly)) {
            problem = file.errorString();
        } else {
            const QByteArray bytes = file.read(static_cast<qint64>(qov::MaxHolidayCnBytes) + 1);
            const qov::HolidayCnRead read = qov::ReadHolidayCn(
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), year);
            if (read.schedule)
                schedules.push_back(*read.schedule);
            else
                problem = QString::fromStdString(read.error);
        }
        if (!problem.isEmpty() && messages)
            messages->append(
                QDir::toNativeSeparators(file.fileName()) + u": "_s + problem + u"; not used"_s);
    }
    return schedules;
}

QStringList CHolidayFile::Signature() const
{
    QStringList signature = CWatchedFile::Signature();
    const QFileInfoList downloads =
        QDir(m_downloads).entryInfoList({u"[0-9][0-9][0-9][0-9].json"_s}, QDir::Files, QDir::Name);
    for (const QFileInfo& info : downloads) signature.append(StateOf(info));
    return signature;
}

QStringList CHolidayFile::WatchedPaths() const
{
    const QString data = QFileInfo(m_downloads).absolutePath();
    return CWatchedFile::WatchedPaths()
        + QStringList{m_downloads, data, QFileInfo(data).absolutePath()};
}

void CHolidayFile::Read()
{
    m_messages.clear();
    const qov::HolidayTable base =
        qov::LayerSchedules(qov::HolidayTable::Shipped(), ReadDownloads(m_downloads, &m_messages));
    m_table = base;
    QString problem;
    const std::optional<QByteArray> bytes =
        ReadAll(path(), static_cast<qint64>(qov::MaxHolidayFileBytes), problem);
    if (!problem.isEmpty()) {
        m_messages.append(QDir::toNativeSeparators(path()) + u": "_s + problem
            + u"; only the built-in and downloaded holidays are used"_s);
    } else if (bytes) {
        const qov::HolidayParse parse = qov::ParseHolidayFile(
            std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
        for (const std::string& message : parse.messages)
            m_messages.append(
                QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
        m_table = base.WithOverrides(parse.lines);
    }
    Report();
}
