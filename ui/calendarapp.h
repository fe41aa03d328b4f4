// The application: one running copy per session, one modal window.
#pragma once

#include <QApplication>

class CCalendarApp : public QApplication {
    Q_OBJECT

public:
    CCalendarApp(int& argc, char** argv);

    // Runs the main window modally; returns the process exit status.
    int InitInstance();

    // The whole program: a second start while the first runs ends at once
    // with status 0 and leaves the first alone; otherwise the window runs
    // until it is closed.
    static int Run(int& argc, char** argv);
};
