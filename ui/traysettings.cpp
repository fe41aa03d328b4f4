#include "traysettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include "holidayfile.h"

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

// The line's text without its line end and surrounding blanks.
QByteArray Bare(const QByteArray& line) { return line.trimmed(); }

}  // namespace

QString ConfigFilePath() { return QDir::cleanPath(ConfigRoot() + u"/qov/qov.conf"_s); }

TraySettings ReadTraySettings()
{
    const QSettings conf(ConfigFilePath(), QSettings::IniFormat);
    TraySettings settings;
    settings.enabled = conf.value(u"tray/enabled"_s, settings.enabled).toBool();
    settings.autostart = conf.value(u"tray/autostart"_s, settings.autostart).toBool();
    return settings;
}

QByteArray SetIniValue(const QByteArray& text, const QByteArray& section, const QByteArray& key,
    const QByteArray& value)
{
    // Lines keep their own ends ("\n" or "\r\n"); a new line copies the
    // file's first line end.
    QList<QByteArray> lines;
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = text.indexOf('\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        lines.append(text.mid(start, next - start));
        start = next;
    }
    const QByteArray eol = text.contains("\r\n") ? "\r\n" : "\n";
    const QByteArray header = '[' + section + ']';
    const QByteArray entry = key + '=' + value;

    qsizetype inSection = -1;  // index of the section's header
    qsizetype lastEntry = -1;  // last non-blank line of the section
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray bare = Bare(lines[i]);
        if (bare.startsWith('[')) {
            if (inSection >= 0) break;
            if (bare == header) inSection = lastEntry = i;
            continue;
        }
        if (inSection < 0) continue;
        if (!bare.isEmpty()) lastEntry = i;
        const qsizetype equals = bare.indexOf('=');
        if (equals > 0 && Bare(bare.left(equals)) == key) {
            const QByteArray& line = lines[i];
            lines[i] = entry + (line.endsWith("\r\n") ? "\r\n" : line.endsWith('\n') ? "\n" : "");
            return lines.join();
        }
    }
    if (!lines.isEmpty() && !lines.last().endsWith('\n')) lines.last() += eol;
    if (inSection < 0) {
        if (!lines.isEmpty()) lines.append(eol);
        lines.append(header + eol);
        lines.append(entry + eol);
    } else {
        lines.insert(lastEntry + 1, entry + eol);
    }
    return lines.join();
}

bool WriteTraySetting(const QString& key, bool value)
{
    const QString path = ConfigFilePath();
    QByteArray text;
    if (QFile file(path); file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) return false;
        text = file.readAll();
    }
    return WriteFile(path, SetIniValue(text, "tray", key.toUtf8(), value ? "true" : "false"));
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
