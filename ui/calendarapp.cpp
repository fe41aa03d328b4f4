#include "calendarapp.h"

#include <QEvent>
#include <QLibraryInfo>
#include <QTimer>
#include <cstdio>

#include "calendardlg.h"
#include "commandline.h"
#include "exportdlg.h"
#include "holidayfile.h"
#include "platform/singleinstance.h"

namespace {

void SetIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("qov"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QOV_VERSION));
}

// Test hook: with QOV_SNAPSHOT=file.png in the environment the window saves
// what it shows to that file after its first paint and closes, so that a
// test can start the program with no one to close it.
class SnapshotOnFirstPaint : public QObject {
public:
    SnapshotOnFirstPaint(QDialog* dlg, QString path)
        : QObject(dlg), m_dlg(dlg), m_path(std::move(path))
    {
        dlg->installEventFilter(this);
    }
    bool saved = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_dlg && event->type() == QEvent::Paint) {
            m_dlg->removeEventFilter(this);
            // After this paint has finished.
            QTimer::singleShot(0, this, [this] {
                saved = m_dlg->grab().save(m_path, "PNG");
                m_dlg->reject();
            });
        }
        return false;
    }

private:
    QDialog* m_dlg;
    QString m_path;
};

}  // namespace

CCalendarApp::CCalendarApp(int& argc, char** argv) : QApplication(argc, argv)
{
    SetIdentity();
    // Ties the window to the installed desktop entry (Wayland's app id,
    // the dock's icon and name).
    setDesktopFileName(QStringLiteral("io.github.qov.Calendar"));
    // The window is Chinese whatever the locale; so are Qt's own menus.
    if (LoadQtChinese(m_qtChinese)) installTranslator(&m_qtChinese);
}

bool CCalendarApp::LoadQtChinese(QTranslator& translator)
{
    // qt_zh_CN.qm pulls in qtbase_zh_CN.qm (Debian: qt6-translations-l10n).
    return translator.load(
        QStringLiteral("qt_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

int CCalendarApp::InitInstance(std::optional<qov::SolarDate> date)
{
    CCalendarDlg dlg;
    if (date) dlg.SelectDate(qov::MonthPage(*date));
    SnapshotOnFirstPaint* snapshot = nullptr;
    if (const QString path = qEnvironmentVariable("QOV_SNAPSHOT"); !path.isEmpty())
        snapshot = new SnapshotOnFirstPaint(&dlg, path);
    // Both closing results (Esc, close box, "退出") end the process alike.
    dlg.exec();
    return snapshot && !snapshot->saved ? 1 : 0;
}

int CCalendarApp::Run(int& argc, char** argv)
{
    StartOptions options;
    {
        // A console application reads the command line: no window-system
        // connection, so --help and refusals work without a display.
        QCoreApplication console(argc, argv);
        SetIdentity();
        const bool chinese = PrefersChinese();
        QTranslator qtChinese;
        if (chinese && LoadQtChinese(qtChinese)) console.installTranslator(&qtChinese);
        options = ParseCommandLine(console.arguments(), chinese);
        if (options.exportPath) {
            // The shipped schedule with the user's holiday file, as the
            // window would show it.
            const CHolidayFile holidays;
            const QString error =
                SaveICalendar(*options.exportPath, options.exportRequest, holidays.table());
            if (error.isEmpty()) return 0;
            std::fputs(qPrintable(QStringLiteral("qov: ") + error + u'\n'), stderr);
            return WriteErrorStatus;
        }
    }
    if (options.exitStatus) {
        std::fputs(
            options.text.toLocal8Bit().constData(), *options.exitStatus == 0 ? stdout : stderr);
        return *options.exitStatus;
    }

    // Checked before any window-system connection, so that a second start
    // costs next to nothing. Held until the process ends.
    const CSingleInstance instance(QStringLiteral("QOVOnlyOne"));
    if (instance.AnotherIsRunning()) return 0;
    CCalendarApp app(argc, argv);
    return app.InitInstance(options.date);
}
