#include "platform/settingslauncher.h"

#include <QProcess>
#include <QStandardPaths>
#include <array>

namespace {

struct KnownPanel {
    const char16_t* desktop;  // an $XDG_CURRENT_DESKTOP entry, compared without case
    const char16_t* program;
    const char16_t* argument;  // nullptr: none
};

// In the order tried when the desktop is unknown or has no panel installed.
constexpr std::array<KnownPanel, 10> KnownPanels = {{
    {u"GNOME", u"gnome-control-center", u"datetime"}, {u"KDE", u"systemsettings", u"kcm_clock"},
    {u"KDE", u"kcmshell6", u"kcm_clock"}, {u"KDE", u"kcmshell5", u"kcm_clock"},
    {u"X-Cinnamon", u"cinnamon-settings", u"calendar"}, {u"MATE", u"mate-time-admin", nullptr},
    {u"LXQt", u"lxqt-admin-time", nullptr}, {u"Budgie", u"budgie-control-center", u"datetime"},
    {u"UKUI", u"ukui-control-center", u"--datetime"},
    {nullptr, u"time-admin", nullptr},  // gnome-system-tools, used by XFCE and others
}};

DateTimePanel ToPanel(const KnownPanel& known)
{
    DateTimePanel panel{QString::fromUtf16(known.program), {}};
    if (known.argument != nullptr) panel.arguments << QString::fromUtf16(known.argument);
    return panel;
}

// Cinnamon also reports itself without the X- prefix on some distributions.
bool SameDesktop(const QString& entry, const char16_t* known)
{
    if (known == nullptr) return false;
    const QString name = QString::fromUtf16(known);
    return entry.compare(name, Qt::CaseInsensitive) == 0
        || (name.startsWith(u"X-") && entry.compare(name.mid(2), Qt::CaseInsensitive) == 0);
}

}  // namespace

std::optional<DateTimePanel> ChooseDateTimePanel(
    const QString& currentDesktop, const std::function<bool(const QString&)>& exists)
{
    const QStringList desktops = currentDesktop.split(u':', Qt::SkipEmptyParts);
    for (const QString& desktop : desktops) {
        for (const KnownPanel& known : KnownPanels) {
            if (SameDesktop(desktop.trimmed(), known.desktop)
                && exists(QString::fromUtf16(known.program)))
                return ToPanel(known);
        }
    }
    for (const KnownPanel& known : KnownPanels) {
        if (exists(QString::fromUtf16(known.program))) return ToPanel(known);
    }
    return std::nullopt;
}

bool OpenDateTimeSettings()
{
#ifdef Q_OS_WIN
    // rundll32 parses its own command line, so it is passed through verbatim.
    QProcess process;
    process.setProgram(QStringLiteral("rundll32.exe"));
    process.setNativeArguments(QStringLiteral("shell32.dll, Control_RunDLL Timedate.cpl, 0"));
    return process.startDetached();
#else
    const auto onPath = [](const QString& program) {
        return !QStandardPaths::findExecutable(program).isEmpty();
    };
    const std::optional<DateTimePanel> panel =
        ChooseDateTimePanel(qEnvironmentVariable("XDG_CURRENT_DESKTOP"), onPath);
    if (!panel) return false;
    return QProcess::startDetached(panel->program, panel->arguments);
#endif
}
