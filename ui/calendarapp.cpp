#include "calendarapp.h"

#include "calendardlg.h"
#include "platform/singleinstance.h"

CCalendarApp::CCalendarApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("qov"));
    setApplicationVersion(QStringLiteral("1.0"));
}

int CCalendarApp::InitInstance()
{
    CCalendarDlg dlg;
    // Both closing results (Esc, close box, "退出") end the process alike.
    dlg.exec();
    return 0;
}

int CCalendarApp::Run(int& argc, char** argv)
{
    // Checked before any window-system connection, so that a second start
    // costs next to nothing. Held until the process ends.
    const CSingleInstance instance(QStringLiteral("QOVOnlyOne"));
    if (instance.AnotherIsRunning()) return 0;
    CCalendarApp app(argc, argv);
    return app.InitInstance();
}
