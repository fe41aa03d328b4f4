// The application: one running copy per session, one modal window.
#pragma once

#include <QApplication>
#include <QTranslator>
#include <optional>

#include "commandline.h"
#include "gregorian.h"

class CInstanceServer;

class CCalendarApp : public QApplication {
    Q_OBJECT

public:
    CCalendarApp(int& argc, char** argv);

    // Runs the main window, on the page of `date` with that day selected
    // (today when empty), or hidden in the tray for --tray; later starts are
    // answered through `server`. Returns the process exit status.
    int InitInstance(const StartOptions& options, CInstanceServer& server);

    // `qov --update-holidays`: checks the holiday source (the default when
    // `source` is empty) once, prints one line per year that changed, or
    // that all is current; 0, or 1 with the reason on standard error.
    static int UpdateHolidays(const QString& source);

    // The whole program: the command line is read first, without a display
    // (help, version and refused arguments end there); then a second start
    // while the first runs hands its request (show today, or the --date
    // day) to the first and ends with status 0; otherwise the window runs
    // until "退出", or until it is closed where there is no tray.
    static int Run(int& argc, char** argv);

    // Loads Qt's own Simplified Chinese texts (standard menus, dialog
    // buttons, the command-line parser) from Qt's translations folder.
    static bool LoadQtChinese(QTranslator& translator);

private:
    QTranslator m_qtChinese;
};
