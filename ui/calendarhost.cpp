#include "calendarhost.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <cstdio>

#include "calendardlg.h"
#include "holidayfile.h"
#include "holidays/updatejob.h"
#include "model/monthpage.h"
#include "platform/todaywatch.h"
#include "trayleaf.h"
#include "traysettings.h"

using namespace Qt::StringLiterals;

namespace {

// Reports a setting that could not be saved; the menu's check mark still
// shows what the program now does.
void ReportUnsaved(const QString& path)
{
    std::fprintf(stderr, "qov: %s: 无法保存设置\n", qPrintable(path));
}

}  // namespace

CCalendarHost::CCalendarHost(std::optional<bool> trayWanted, QObject* parent)
    : QObject(parent), m_dlg(std::make_unique<CCalendarDlg>()), m_watch(new CTodayWatch(this)),
      m_trayWanted(trayWanted.value_or(m_dlg->settings().trayEnabled))
{
    m_dlg->SetToday(m_watch->Today());
    connect(m_watch, &CTodayWatch::todayChanged, this, &CCalendarHost::OnTodayChanged);
    // While shown, the clock's tick notices a date that moved with no
    // midnight (a clock set where the system tells nothing) within a second.
    connect(m_dlg.get(), &CCalendarDlg::clockTicked, m_watch, &CTodayWatch::Check);
    connect(m_dlg.get(), &QDialog::finished, this, &CCalendarHost::quitRequested);
    connect(m_dlg.get(), &CCalendarDlg::hiddenToTray, this, [this] {
        if (m_toldHidden || m_tray == nullptr) return;
        m_toldHidden = true;
        m_tray->showMessage(u"万年历"_s,
            u"万年历仍在托盘中运行。单击托盘图标打开日历，在图标的菜单中选“退出”结束程序。"_s,
            QSystemTrayIcon::Information, 8000);
    });
    connect(m_dlg->holidayFile(), &CHolidayFile::changed, this, &CCalendarHost::UpdateIcon);

    connect(m_dlg.get(), &CCalendarDlg::firstFramePainted, this, [this] {
        BuildMenu();
        StartTray();
    });
}

QMenu* CCalendarHost::trayMenu()
{
    BuildMenu();
    return m_menu.get();
}

void CCalendarHost::StartTray()
{
    if (m_trayWanted && m_tray == nullptr && QSystemTrayIcon::isSystemTrayAvailable())
        SetTrayShown(true);
}

CCalendarHost::~CCalendarHost()
{
    delete m_tray;  // before the menu it shows
}

void CCalendarHost::BuildMenu()
{
    if (m_menu) return;
    m_menu = std::make_unique<QMenu>();
    m_menu->setObjectName(u"trayMenu"_s);
    const auto add = [this](const QString& text, const char* name, auto slot) {
        QAction* action = m_menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QAction* show = add(u"显示日历"_s, "showAction", [this] { ShowWindow(); });
    m_menu->setDefaultAction(show);
    add(u"今天"_s, "todayAction", [this] { ShowToday(); });
    m_menu->addSeparator();
    QAction* update = add(u"更新节假日安排"_s, "updateAction", [this] { m_dlg->UpdateHolidays(); });
    // Greyed out while a check runs, as in the window's own menu.
    connect(m_menu.get(), &QMenu::aboutToShow, update,
        [this, update] { update->setEnabled(!m_dlg->holidayUpdate()->running()); });
    m_menu->addSeparator();
    m_trayAction = add(u"显示托盘图标"_s, "trayAction", [this](bool on) {
        if (!WriteTraySetting(u"enabled"_s, on)) ReportUnsaved(ConfigFilePath());
        m_trayWanted = on;
        SetTrayShown(on);
    });
    m_trayAction->setCheckable(true);
    m_autostartAction = add(u"开机时启动到托盘"_s, "autostartAction", [](bool on) {
        if (!WriteTraySetting(u"autostart"_s, on)) ReportUnsaved(ConfigFilePath());
        if (!SetAutostart(on)) ReportUnsaved(AutostartFilePath());
    });
    m_autostartAction->setCheckable(true);
    m_autostartAction->setChecked(ReadTraySettings().autostart);
    m_menu->addSeparator();
    add(u"关于"_s, "aboutAction", [this] { m_dlg->ShowAbout(); });
    add(u"退出"_s, "quitAction", [this] { Q_EMIT quitRequested(); });
    // The window's own menu offers the tray too: the way back once its icon
    // is gone.
    m_dlg->SetMenuActions({m_trayAction, m_autostartAction});
}

void CCalendarHost::SetTrayShown(bool shown)
{
    BuildMenu();
    m_trayAction->setChecked(shown);
    if (!shown) {
        delete m_tray;
        m_tray = nullptr;
        m_dlg->SetHideOnClose(false);
        // Nothing else could bring a hidden window back.
        if (!m_dlg->isVisible()) ShowWindow();
        return;
    }
    if (m_tray != nullptr || !QSystemTrayIcon::isSystemTrayAvailable()) return;
    m_tray = new QSystemTrayIcon(this);
    m_tray->setObjectName(u"trayIcon"_s);
    m_tray->setContextMenu(m_menu.get());
    connect(m_tray, &QSystemTrayIcon::activated, this, &CCalendarHost::OnActivated);
    UpdateIcon();
    m_tray->show();
    m_dlg->SetHideOnClose(true);
}

void CCalendarHost::UpdateIcon()
{
    if (m_tray == nullptr) return;
    const qov::SolarDate today = m_watch->Today();
    m_tray->setIcon(LeafIcon(today.day));
    m_tray->setToolTip(TrayToolTip(today, m_dlg->holidayFile()->table()));
}

void CCalendarHost::OnTodayChanged(qov::SolarDate today)
{
    // The ring, the icon and the tip move on; the page and the selection
    // stay where the user left them.
    m_dlg->SetToday(today);
    UpdateIcon();
}

void CCalendarHost::ShowWindow()
{
    if (m_dlg->isMinimized()) m_dlg->showNormal();
    m_dlg->show();
    m_dlg->raise();
    m_dlg->activateWindow();
}

void CCalendarHost::ShowToday()
{
    m_dlg->SelectDate(m_dlg->page().GoToday());
    ShowWindow();
}

void CCalendarHost::OnActivated(QSystemTrayIcon::ActivationReason reason)
{
    // A double click's first press was a click: it opens what the first
    // press showed rather than hiding it again.
    if (reason == QSystemTrayIcon::DoubleClick && m_dlg->isVisible()) return;
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::DoubleClick) return;
    if (m_dlg->isVisible() && !m_dlg->isMinimized())
        m_dlg->reject();  // hides: the tray keeps the program
    else
        ShowToday();
}

void CCalendarHost::OnRequest(const InstanceRequest& request)
{
    if (!request.show) return;
    if (request.date)
        m_dlg->SelectDate(qov::MonthPage(*request.date));
    else
        m_dlg->SelectDate(m_dlg->page().GoToday());
    ShowWindow();
}
