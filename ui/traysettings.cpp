#include "traysettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include "settings/settings.h"

using namespace Qt::StringLiterals;

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).path())) return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace

QString AutostartFilePath()
{
    // The folder that holds qov's own configuration folder.
    return QDir::cleanPath(QFileInfo(settings::FilePath()).absolutePath()
        + u"/../autostart/io.github.qov.Calendar.desktop"_s);
}

bool SetAutostart(bool on)
{
#ifdef Q_OS_WIN
    QSettings run(u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"_s,
        QSettings::NativeFormat);
    if (on)
        run.setValue(u"qov"_s,
            u"\"%1\" --tray"_s.arg(
                QDir::toNativeSeparators(QCoreApplication::applicationFilePath())));
    else
        run.remove(u"qov"_s);
    run.sync();
    return run.status() == QSettings::NoError;
#else
    const QString path = AutostartFilePath();
    if (!on) return !QFile::exists(path) || QFile::remove(path);
    return WriteFile(path,
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=万年历\n"
        "Name[en]=Perpetual Calendar\n"
        "Comment=在托盘中启动万年历\n"
        "Exec=qov --tray\n"
        "Icon=io.github.qov.Calendar\n"
        "Terminal=false\n"
        "X-GNOME-Autostart-enabled=true\n");
#endif
}
