// Opens the operating system's date-and-time settings as a separate program.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

struct DateTimePanel {
    QString program;
    QStringList arguments;
    friend bool operator==(const DateTimePanel&, const DateTimePanel&) = default;
};

// The date-and-time panel to start on a Linux desktop: the panels of the
// desktops named in `currentDesktop` (the colon-separated $XDG_CURRENT_DESKTOP,
// for example "ubuntu:GNOME"), in that order, then every known panel; the
// first whose program `exists` says is installed. None when nothing is.
std::optional<DateTimePanel> ChooseDateTimePanel(
    const QString& currentDesktop, const std::function<bool(const QString&)>& exists);

// Starts the panel detached and returns whether a program was started. On
// Windows: "rundll32.exe shell32.dll, Control_RunDLL Timedate.cpl, 0"; on
// Linux the choice above with the programs found on $PATH.
bool OpenDateTimeSettings();
