#include "calendarapp.h"

#include <QEvent>
#include <QLibraryInfo>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "calendardlg.h"
#include "calendarhost.h"
#include "commandline.h"
#include "exportdlg.h"
#include "holidayfile.h"
#include "holidays/updatejob.h"
#include "holidays/updatepolicy.h"
#include "platform/instancechannel.h"
#include "platform/singleinstance.h"
#include "userfiles/mydaysfile.h"

namespace {

// How long a second start waits for the first to answer: the first may
// still be starting (loading fonts, connecting to the display).
constexpr int HandOverMs = 5000;

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
                QCoreApplication::exit(saved ? 0 : 1);
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

int CCalendarApp::UpdateHolidays(const QString& source)
{
    CHolidayUpdateJob update;
    if (!source.isEmpty()) update.setSource(source);
    QStringList changed;
    QString error;
    QObject::connect(
        &update, &CHolidayUpdateJob::finished, [&](const QStringList& lines, const QString& problem) {
            changed = lines;
            error = problem;
            QCoreApplication::quit();
        });
    update.Start(updatepolicy::YearsToCheck(QDate::currentDate()));
    QCoreApplication::exec();
    for (const QString& line : changed) std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    if (changed.isEmpty() && error.isEmpty()) std::fputs("节假日安排已是最新\n", stdout);
    std::fflush(stdout);
    if (error.isEmpty()) return 0;
    std::fprintf(stderr, "qov: 节假日安排未能更新：%s\n", error.toUtf8().constData());
    return 1;
}

int CCalendarApp::InitInstance(const StartOptions& options, CInstanceServer& server)
{
    // The window comes and goes; the program ends on "退出" alone.
    setQuitOnLastWindowClosed(false);
    CCalendarHost host(std::nullopt);  // as the window's settings say
    connect(&host, &CCalendarHost::quitRequested, this, &QCoreApplication::quit);
    connect(&server, &CInstanceServer::requested, &host, &CCalendarHost::OnRequest);
    CCalendarDlg& dlg = *host.dialog();
    if (!options.holidaySource.isEmpty()) dlg.holidayUpdate()->setSource(options.holidaySource);
    dlg.StartAutoUpdate();
    if (options.date) dlg.SelectDate(qov::MonthPage(*options.date));
    if (const QString path = qEnvironmentVariable("QOV_SNAPSHOT"); !path.isEmpty())
        new SnapshotOnFirstPaint(&dlg, path);
    if (options.tray) host.StartTray();
    if (options.tray && host.tray() == nullptr)
        std::fputs(PrefersChinese() ? "qov: 没有系统托盘（或托盘图标已关闭），所以显示窗口。\n"
                                    : "qov: no system tray (or the tray icon is off): showing the "
                                      "window.\n",
            stderr);
    if (!options.tray || host.tray() == nullptr) host.ShowWindow();
    return exec();
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
        if (!options.exitStatus && options.updateHolidays)
            return UpdateHolidays(options.holidaySource);
        if (options.exportPath) {
            // The shipped schedule with the user's holiday file, and the
            // user's own days when asked for, as the window would show them.
            const CHolidayFile holidays;
            std::optional<CMyDaysFile> myDays;
            if (options.exportRequest.kinds & qov::KindBit(qov::ItemKind::MyDay)) myDays.emplace();
            const QString error = SaveICalendar(*options.exportPath, options.exportRequest,
                holidays.table(), myDays ? myDays->list() : qov::MyDayList());
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
    const QString name = QStringLiteral("QOVOnlyOne");
    const CSingleInstance instance(name);
    if (instance.AnotherIsRunning()) {
        QCoreApplication console(argc, argv);
        if (HandOver(name, {!options.tray, options.date}, HandOverMs)) return 0;
        std::fputs(PrefersChinese() ? "qov: 已有一个万年历在运行，但它没有应答。\n"
                                    : "qov: another copy is running but does not answer.\n",
            stderr);
        return 1;
    }
    CCalendarApp app(argc, argv);
    CInstanceServer server(name);
    return app.InitInstance(options, server);
}
