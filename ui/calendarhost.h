// The running program around the window: today's date kept current, the
// tray icon with its menu where the desktop has a tray and the user wants
// one, and the requests of later starts. With a tray, closing the window
// hides it; without one, closing it ends the program as it always did.
#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <memory>
#include <optional>

#include "gregorian.h"
#include "platform/instancechannel.h"

class QMenu;
class CCalendarDlg;
class CTodayWatch;

class CCalendarHost : public QObject {
    Q_OBJECT

public:
    // `trayWanted`: whether to show the icon; by default the window's
    // settings' [tray] enabled. The icon appears only where a
    // tray exists, after the window's first frame (asking whether there is
    // a tray may mean connecting to the session bus) or on StartTray.
    explicit CCalendarHost(std::optional<bool> trayWanted, QObject* parent = nullptr);

    // Shows the icon now, where wanted and possible (qov --tray).
    void StartTray();
    ~CCalendarHost() override;

    CCalendarDlg* dialog() const noexcept { return m_dlg.get(); }
    CTodayWatch* todayWatch() const noexcept { return m_watch; }
    // The icon, or nullptr when there is none.
    QSystemTrayIcon* tray() const noexcept { return m_tray; }
    // The icon's menu, made on first use (after the first frame).
    QMenu* trayMenu();

    // Brings the window to the front as it was left.
    void ShowWindow();
    // Brings the window to the front on today's page, today selected.
    void ShowToday();
    // A click on the icon: today, or hides a shown window.
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    // What a later start asked for.
    void OnRequest(const InstanceRequest& request);

Q_SIGNALS:
    // "退出", or the window closed with no tray to keep the program in.
    void quitRequested();

private:
    void BuildMenu();
    void SetTrayShown(bool shown);
    // The window's settings now in force: the icon shown or gone with its
    // switch, the tip with the kinds shown.
    void OnSettingsApplied();
    void OnTodayChanged(qov::SolarDate today);
    void UpdateIcon();

    std::unique_ptr<CCalendarDlg> m_dlg;
    CTodayWatch* m_watch = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    std::unique_ptr<QMenu> m_menu;
    bool m_trayWanted = false;
    bool m_toldHidden = false;
};
