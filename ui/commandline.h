// The command line: --help, --version, --date YYYY-MM-DD, --tray, the
// calendar export (--export-ics FILE, --years, --include) and the holiday
// update (--update-holidays, --holiday-source URL), read before
// any window exists. Texts are Chinese where the user's language is Chinese
// and English elsewhere; Qt's own parser texts follow the translator
// installed at the time.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "gregorian.h"
#include "model/icalendar.h"

struct StartOptions {
    // The page to start on, with this day selected; today when empty.
    std::optional<qov::SolarDate> date;
    // Set when the program ends without a window: with status 0 `text` goes
    // to standard output (help, version), otherwise to standard error.
    std::optional<int> exitStatus;
    QString text;
    // Check for new holiday schedules, print what changed and exit.
    bool updateHolidays = false;
    // Where the holiday update fetches from; the default source when empty.
    QString holidaySource;
    // --export-ics: write the calendar there ("-": standard output) and end
    // without a window.
    std::optional<QString> exportPath;
    qov::ExportRequest exportRequest;
    // --tray: start hidden in the tray (where there is one).
    bool tray = false;
};

// Exit status of an export that could not be written.
inline constexpr int WriteErrorStatus = 1;

// Exit status of a refused command line (bad date, unknown option, stray
// argument), as for other command-line usage errors.
inline constexpr int UsageErrorStatus = 2;

// True when the first of the user's interface languages (LANGUAGE,
// LC_ALL, LC_MESSAGES, LANG) is Chinese.
bool PrefersChinese();

// Reads `arguments` (the program path first). Qt's own GUI options
// (-platform, -style, ...) are accepted silently and left to QApplication.
StartOptions ParseCommandLine(const QStringList& arguments, bool chinese);
