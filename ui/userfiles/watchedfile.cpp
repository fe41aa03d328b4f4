#include "userfiles/watchedfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Notices closer together than this belong to one save.
constexpr int SettleMs = 100;

}  // namespace

CWatchedFile::CWatchedFile(const QString& path, QObject* parent) : QObject(parent), m_path(path)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_settle, &QTimer::timeout, this, &CWatchedFile::Reload);
    const auto notice = [this] { m_settle.start(); };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, notice);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, notice);
}

QString CWatchedFile::ConfigPath(const QString& fileName)
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
    return QDir::cleanPath(base + u"/qov/"_s + fileName);
}

void CWatchedFile::Reload()
{
    Watch();
    QStringList signature = Signature();
    if (m_seen && signature == m_signature) return;
    m_seen = true;
    m_signature = std::move(signature);
    Read();
    Q_EMIT changed();
}

void CWatchedFile::Refresh()
{
    m_seen = false;
    Reload();
}

QString CWatchedFile::StateOf(const QFileInfo& info)
{
    return info.fileName() + u' ' + QString::number(info.exists() ? info.size() : -1) + u' '
        + QString::number(info.exists() ? info.lastModified().toMSecsSinceEpoch() : 0);
}

QStringList CWatchedFile::Signature() const { return {StateOf(QFileInfo(m_path))}; }

QStringList CWatchedFile::WatchedPaths() const
{
    const QString folder = QFileInfo(m_path).absolutePath();
    return {m_path, folder, QFileInfo(folder).absolutePath()};
}

std::optional<QByteArray> CWatchedFile::ReadAll(
    const QString& path, qint64 maxBytes, QString& problem)
{
    problem.clear();
    const QFileInfo info(path);
    if (!info.exists()) return std::nullopt;
    const QString tooLarge = u"is larger than %1 MiB"_s.arg(maxBytes / (1024 * 1024));
    QFile file(path);
    if (info.isDir()) {
        problem = u"is a folder, not a file"_s;
    } else if (!info.isFile()) {
        // A pipe or device could block the reading or never end.
        problem = u"is not a regular file"_s;
    } else if (info.size() > maxBytes) {
        problem = tooLarge;
    } else if (!file.open(QIODevice::ReadOnly)) {
        problem = u"cannot be read: "_s + file.errorString();
    } else {
        // One byte more than allowed tells a file that grew since it was measured.
        QByteArray bytes = file.read(maxBytes + 1);
        if (file.error() != QFileDevice::NoError)
            problem = u"cannot be read: "_s + file.errorString();
        else if (bytes.size() > maxBytes)
            problem = tooLarge;
        else
            return bytes;
    }
    return std::nullopt;
}

bool CWatchedFile::WriteAtomically(const QString& path, std::string_view bytes, QString& error)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        error = QDir::toNativeSeparators(path) + u": the folder cannot be made"_s;
        return false;
    }
    QSaveFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), size) != size
        || !file.commit()) {
        error = QDir::toNativeSeparators(path) + u": "_s + file.errorString();
        return false;
    }
    return true;
}

void CWatchedFile::Report() const
{
    for (const QString& message : m_messages) {
        std::fprintf(stderr, "%s\n", message.toUtf8().constData());
        std::fflush(stderr);
    }
}

void CWatchedFile::Watch()
{
    QStringList wanted;
    for (const QString& path : WatchedPaths())
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
