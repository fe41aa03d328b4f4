// The autostart entry behind the tray's switch "开机时启动到托盘" ([tray]
// autostart in qov.conf, see settings/settings.h): written or removed when
// the dialog "设置…" is confirmed with the switch changed.
#pragma once

#include <QString>

// $XDG_CONFIG_HOME/autostart/io.github.qov.Calendar.desktop, which starts
// "qov --tray" at login.
QString AutostartFilePath();
// Writes or removes that entry (Windows: the HKCU Run value). False when it
// could not be done.
bool SetAutostart(bool on);
