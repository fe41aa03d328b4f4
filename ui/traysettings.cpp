#include "traysettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include "holidayfile.h"
#include "settings/settings.h"

using namespace Qt::StringLiterals;

namespace {

// The folder holding qov's own folder: the one the holiday file lives in.
QString ConfigRoot()
{
    return QFileInfo(CHolidayFile::UserFilePath()).dir().absolutePath() + u"/.."_s;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).path())) return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace

QString ConfigFilePath() { return settings::FilePath(); }

TraySettings ReadTraySettings()
{
    // A bad file was reported when the window read its settings.
    QString message;
    const QovSettings values = settings::Load(ConfigFilePath(), message);
    return {values.trayEnabled, values.trayAutostart};
}

bool WriteTraySetting(const QString& key, bool value)
{
    QString message;
    const QovSettings before = settings::Load(ConfigFilePath(), message);
    QovSettings values = before;
    (key == u"enabled"_s ? values.trayEnabled : values.trayAutostart) = value;
    QString error;
    return settings::Save(ConfigFilePath(), values, error, &before);
}

QString AutostartFilePath()
{
    return QDir::cleanPath(ConfigRoot() + u"/autostart/io.github.qov.Calendar.desktop"_s);
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
