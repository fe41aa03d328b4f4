// The tray's settings in qov.conf, and the autostart entry. Keys (INI):
//   [tray] enabled   = true|false  show the tray icon (default true)
//   [tray] autostart = true|false  start in the tray at login (default false)
// Writing one key changes its one line (or adds it) and keeps every other
// line of the file, comments included, as the user wrote it (settings::Save).
#pragma once

#include <QString>

struct TraySettings {
    bool enabled = true;
    bool autostart = false;
};

// settings::FilePath(): $XDG_CONFIG_HOME/qov/qov.conf (Windows: %APPDATA%\qov\qov.ini).
QString ConfigFilePath();
TraySettings ReadTraySettings();
// Sets `key` of [tray] to `value`, atomically. False (the file unchanged)
// when the file exists but cannot be read, or cannot be written.
bool WriteTraySetting(const QString& key, bool value);

// $XDG_CONFIG_HOME/autostart/io.github.qov.Calendar.desktop, which starts
// "qov --tray" at login.
QString AutostartFilePath();
// Writes or removes that entry (Windows: the HKCU Run value). False when it
// could not be done.
bool SetAutostart(bool on);
