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
    : QObject(parent), m_path(path), m_table(qov::HolidayTable::Shipped())
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

void CHolidayFile::Reload()
{
    const QFileInfo info(m_path);
    const bool exists = info.exists();
    const qint64 size = exists ? info.size() : -1;
    const QDateTime modified = exists ? info.lastModified() : QDateTime();
    Watch();
    if (m_seen && exists == m_existed && size == m_size && modified == m_modified) return;
    m_seen = true;
    m_existed = exists;
    m_size = size;
    m_modified = modified;
    Read();
    Q_EMIT changed();
}

void CHolidayFile::Read()
{
    m_messages.clear();
    m_table = qov::HolidayTable::Shipped();
    const QFileInfo info(m_path);
    if (!info.exists()) return;

    const QString unused = u"; only the shipped holidays are used"_s;
    QString problem;
    QByteArray bytes;
    QFile file(m_path);
    if (info.isDir()) {
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
    } else {
        const qov::HolidayParse parse = qov::ParseHolidayFile(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        for (const std::string& message : parse.messages)
            m_messages.append(
                QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
        m_table = qov::HolidayTable::Shipped().WithOverrides(parse.lines);
    }
    for (const QString& message : m_messages) WriteMessage(message);
}

void CHolidayFile::Watch()
{
    const QFileInfo file(m_path);
    const QString folder = file.absolutePath();
    const QString parent = QFileInfo(folder).absolutePath();
    QStringList wanted;
    for (const QString& path : {m_path, folder, parent})
        if (QFileInfo::exists(path)) wanted.append(path);
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
