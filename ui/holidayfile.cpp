#include "holidayfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Notices closer together than this belong to one save.
constexpr int SettleMs = 100;

void WriteMessage(const QString& message)
{
    std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    std::fflush(stderr);
}

}  // namespace

CHolidayFile::CHolidayFile(QObject* parent) : CHolidayFile(UserFilePath(), parent) { }

CHolidayFile::CHolidayFile(const QString& path, QObject* parent)
    : CHolidayFile(path, DownloadFolder(), parent)
{
}

CHolidayFile::CHolidayFile(const QString& path, const QString& downloads, QObject* parent)
    : QObject(parent), m_path(path), m_downloads(downloads), m_table(qov::HolidayTable::Shipped())
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_settle, &QTimer::timeout, this, &CHolidayFile::Reload);
    const auto notice = [this] { m_settle.start(); };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, notice);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, notice);
    Reload();
}

QString CHolidayFile::UserFilePath()
{
#ifdef Q_OS_WIN
    QString base = qEnvironmentVariable("APPDATA");
    const QString fallback = QDir::homePath() + u"/AppData/Roaming"_s;
#else
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString fallback = QDir::homePath() + u"/.config"_s;
#endif
    // An empty or relative value is to be ignored.
    if (base.isEmpty() || QDir::isRelativePath(base)) base = fallback;
    return QDir::cleanPath(base + u"/qov/holidays.tsv"_s);
}

QString CHolidayFile::DownloadFolder()
{
#ifdef Q_OS_WIN
    const QString base = qEnvironmentVariable("LOCALAPPDATA");
#else
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + u"/.local/share"_s;
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
            messages->append(QDir::toNativeSeparators(file.fileName()) + u": "_s + problem
                + u"; not used"_s);
    }
    return schedules;
}

QStringList CHolidayFile::Signature() const
{
    QStringList signature;
    const auto add = [&signature](const QFileInfo& info) {
        signature.append(info.fileName() + u' ' + QString::number(info.exists() ? info.size() : -1)
            + u' ' + QString::number(info.lastModified().toMSecsSinceEpoch()));
    };
    add(QFileInfo(m_path));
    const QFileInfoList downloads = QDir(m_downloads).entryInfoList(
        {u"[0-9][0-9][0-9][0-9].json"_s}, QDir::Files, QDir::Name);
    for (const QFileInfo& info : downloads) add(info);
    return signature;
}

void CHolidayFile::Reload()
{
    Watch();
    QStringList signature = Signature();
    if (m_seen && signature == m_signature) return;
    m_seen = true;
    m_signature = std::move(signature);
    Read();
    Q_EMIT changed();
}

void CHolidayFile::Refresh()
{
    m_seen = false;
    Reload();
}

void CHolidayFile::Read()
{
    m_messages.clear();
    const qov::HolidayTable base =
        qov::LayerSchedules(qov::HolidayTable::Shipped(), ReadDownloads(m_downloads, &m_messages));
    m_table = base;
    const QFileInfo info(m_path);
    const QString unused = u"; only the built-in and downloaded holidays are used"_s;
    QString problem;
    QByteArray bytes;
    QFile file(m_path);
    if (!info.exists()) {
        // No file, no message.
    } else if (info.isDir()) {
        problem = u"is a folder, not a file"_s;
    } else if (!info.isFile()) {
        // A pipe or device could block the reading or never end.
        problem = u"is not a regular file"_s;
    } else if (info.size() > static_cast<qint64>(qov::MaxHolidayFileBytes)) {
        problem = u"is larger than 1 MiB"_s;
    } else if (!file.open(QIODevice::ReadOnly)) {
        problem = u"cannot be read: "_s + file.errorString();
    } else {
        // One byte more than allowed tells a file that grew since it was measured.
        bytes = file.read(static_cast<qint64>(qov::MaxHolidayFileBytes) + 1);
        if (file.error() != QFileDevice::NoError)
            problem = u"cannot be read: "_s + file.errorString();
        else if (bytes.size() > static_cast<qsizetype>(qov::MaxHolidayFileBytes))
            problem = u"is larger than 1 MiB"_s;
    }
    if (!problem.isEmpty()) {
        m_messages.append(QDir::toNativeSeparators(m_path) + u": "_s + problem + unused);
    } else if (info.exists()) {
        const qov::HolidayParse parse = qov::ParseHolidayFile(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        for (const std::string& message : parse.messages)
            m_messages.append(
                QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
        m_table = base.WithOverrides(parse.lines);
    }
    for (const QString& message : m_messages) WriteMessage(message);
}

void CHolidayFile::Watch()
{
    // The downloads' folder and the two above it, where it will appear.
    const QString folder = QFileInfo(m_path).absolutePath();
    const QString data = QFileInfo(m_downloads).absolutePath();
    QStringList wanted;
    for (const QString& path : {m_path, folder, QFileInfo(folder).absolutePath(), m_downloads,
             data, QFileInfo(data).absolutePath()})
        if (QFileInfo::exists(path) && !wanted.contains(path)) wanted.append(path);
    // A watch follows the file's inode: an editor that saves by writing a
    // new file and renaming it over the old one leaves it on the old inode,
    // so the file is watched anew on every notice.
    if (m_watcher.files().contains(m_path)) m_watcher.removePath(m_path);
    const QStringList watched = m_watcher.directories();
    for (const QString& path : watched)
        if (!wanted.contains(path)) m_watcher.removePath(path);
    for (const QString& path : wanted)
        if (!watched.contains(path)) m_watcher.addPath(path);
}
