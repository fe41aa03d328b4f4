// The preferences in qov.conf ($XDG_CONFIG_HOME/qov/qov.conf, INI;
// %APPDATA%\qov\qov.ini on Windows). Its keys are an interface that users
// and scripts edit, documented in the README:
//   [calendar] weekStart=sunday|monday
//   [show]     terms, lunarFestivals, gregorianFestivals, internationalDays,
//              westernFestivals, holidayMarks = true|false
//   [holidays] autoUpdate = true|false
//   [tray]     enabled, autostart = true|false
// The defaults are the program's look without a file. Saving changes only
// the values that differ from the file's, adds missing keys to their group,
// and keeps every other line as the user wrote it: comments, unknown keys
// and groups, lines that cannot be read.
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "festivals.h"
#include "model/monthpage.h"

struct QovSettings {
    qov::WeekStart weekStart = qov::WeekStart::Sunday;
    bool terms = true;
    bool lunarFestivals = true;
    bool gregorianFestivals = true;
    bool internationalDays = true;
    bool westernFestivals = true;
    bool holidayMarks = true;
    bool autoUpdate = true;
    bool trayEnabled = true;
    bool trayAutostart = false;

    // The festival kinds switched on.
    qov::FestivalKinds Kinds() const noexcept;

    friend bool operator==(const QovSettings&, const QovSettings&) = default;
};

namespace settings {

// $XDG_CONFIG_HOME/qov/qov.conf; %APPDATA%\qov\qov.ini on Windows.
QString FilePath();

// The settings of the file at `path`. A missing file gives the defaults. A
// file that cannot be read or parsed gives the defaults, and a value that
// is not one of its key's gives that key's default; either way `message`
// gets one line for standard error (else it is emptied).
QovSettings Load(const QString& path, QString& message);
// Load, writing the message to standard error.
QovSettings LoadAndReport(const QString& path);

// Writes `values` into the file atomically, creating it and its folder when
// missing. The file is read again just before, so that lines written by
// hand since the last Load are kept. False, with the reason in `error`, when
// it cannot be written (the file is then unchanged).
// With `before` (the values the caller started from), only the keys whose
// value the caller changed are written: a key changed meanwhile by someone
// else (the tray's menu, an editor) keeps its value.
bool Save(const QString& path, const QovSettings& values, QString& error,
    const QovSettings* before = nullptr);

// One key's value for the line editor.
struct IniValue {
    std::string group;
    std::string key;
    std::string value;
};

// The text of an INI file with `values` set: a key line of the group whose
// value reads differently gets the new value in place (its spacing and
// trailing "; comment" kept); a missing key is added after the last line
// of its group's last section, or in a new section at the end. Every other
// byte stays. `same(old, new)` says whether a value the file holds already
// means the new one.
std::string EditIni(std::string_view text, const std::vector<IniValue>& values,
    bool (*same)(std::string_view, std::string_view));

}  // namespace settings
