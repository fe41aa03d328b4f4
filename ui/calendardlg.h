// The main window: a fixed 680 x 505 dialog whose background is the painted
// calendar (skin, title strip, watermark and grid, day panel) with the
// navigation buttons, the page and query lists, the day counter, the clock
// and the zone label on top of it.
#pragma once

#include <QDialog>
#include <QImage>
#include <QList>
#include <QPoint>
#include <optional>

#include "controls/gridfocus.h"
#include "fontset.h"
#include "model/daytexts.h"
#include "model/monthpage.h"
#include "painters.h"
#include "settings/settings.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class CQovDate;
class CQovEdit;
class CQovList;
class CTimeZone;
class CTipWindow;
class CHolidayFile;
class CHolidayUpdateJob;
class QTimer;
class CMyDaysFile;

class CCalendarDlg : public QDialog {
    Q_OBJECT

public:
    explicit CCalendarDlg(QWidget* parent = nullptr);
    ~CCalendarDlg() override;

    // The selected date; its year and month are the page shown.
    qov::SolarDate selectedDate() const noexcept { return m_selected.Date(); }
    const qov::MonthPage& page() const noexcept { return m_selected; }
    // Shows a page: stores it, sets the year and month boxes, repaints.
    void SelectDate(const qov::MonthPage& page);

    // The day that wears the today ring; the local date at construction.
    // Setting it moves the ring and leaves the page and the selection alone.
    qov::SolarDate today() const noexcept { return m_today; }
    void SetToday(qov::SolarDate today);

    // With a tray icon, the close box and Esc hide the window (and emit
    // hiddenToTray) instead of ending it; "退出" always ends it.
    void SetHideOnClose(bool hide) noexcept { m_hideOnClose = hide; }
    void reject() override;

    // The picture as the next paint shows it, at a device pixel ratio.
    QImage RenderPicture(qreal devicePixelRatio = 1.0) const;
    // Paints the picture into `target`, whose size must be the client size
    // times its device pixel ratio, as a repaint paints the window (the skin
    // from its image, made first if need be).
    void RenderInto(QImage& target) const;

    // The fonts of the last paint (at first, of the window's screen).
    const FontSet& fonts() const noexcept { return m_fonts; }
    CTipWindow* tipWindow() const noexcept { return m_tip; }
    CGridFocus* gridFocus() const noexcept { return m_grid; }
    // The user's holiday file over the shipped schedule; the page repaints
    // when it changes.
    CHolidayFile* holidayFile() const noexcept { return m_holidays; }
    CHolidayUpdateJob* holidayUpdate() const noexcept { return m_update; }

    // "更新节假日安排": checks the holiday source now and tells the result
    // in a message box that does not block the window.
    void UpdateHolidays();
    // Checks the source now and then while the window runs, as
    // CHolidayUpdateJob::AutoCheckDue() allows, unless the setting is off.
    void StartAutoUpdate();

    // The user's own days; the page repaints when the file changes.
    CMyDaysFile* myDaysFile() const noexcept { return m_myDays; }
    // The settings in force: read from qov.conf at start, then the dialog's.
    const QovSettings& settings() const noexcept { return m_settings; }
    // Puts settings in force at once: the page, tip and grid follow.
    void ApplySettings(const QovSettings& values);
    // What the cells, panel and tip show under the settings in force.
    qov::DayOptions DayOptions() const;

    // Enter ends nothing; only Esc, the close box and "退出" close the window.
    void accept() override;

    // Shows the About box modally.
    void ShowAbout();
    // Shows the dialog "设置…" modally; OK puts its settings in force.
    void ShowSettings();
    // Actions the skin's context menu offers after the About box (the
    // tray's settings), not owned.
    void SetMenuActions(QList<QAction*> actions) { m_menuActions = std::move(actions); }

Q_SIGNALS:
    void hiddenToTray();
    // "退出": the program ends, tray or not.
    void exitRequested();
    // Every second while the window is shown, after the clock moved on.
    void clockTicked();
    // Once, after the first frame: the time for work the frame can do without.
    void firstFramePainted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Over the grid the wheel turns the page a month a notch, with Ctrl a year.
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    bool event(QEvent* event) override;
    // The fonts for a device pixel ratio, made anew when it differs from
    // the last paint's.
    const FontSet& FontsFor(qreal devicePixelRatio) const;
    // Gives the window and its controls the fonts of its screen's ratio.
    void ApplyScreenFonts();
    void CreateControls();
    void ConnectControls();
    void ShowPageBoxes();
    // Copies the query model's mode, items and current indexes into the
    // radio buttons and the three query boxes.
    void MirrorQueryLists();
    void OnQuery();
    void OnCompute();
    void OnEntryComplete(int controlId);
    void ShowDayTip(QPoint clientPos);
    // Shows the tip for the day now under the pointer, or hides it when the
    // pointer is not over the window's own surface.
    void RefreshTip();
    // Hides the tip until the pointer next moves over the window's surface.
    void ForgetPointer();
    // Tells the grid's focus widget the month and the selected cell.
    void ShowGridSelection();
    // What a screen reader says of a cell of the page shown.
    CGridFocus::CellTexts SpokenCell(int row, int column) const;
    void StopMove();
    // What a frame can do without, done after it: the skin image at the
    // ratio just painted at and, after the first frame, the window icon and
    // the zone label.
    void AfterFrame();

    qov::MonthPage m_selected;
    qov::SolarDate m_today;
    QList<QAction*> m_menuActions;
    bool m_hideOnClose = false;
    qov::QueryLists m_query;
    mutable FontSet m_fonts;

    CQovList* m_yearBox = nullptr;
    CQovList* m_monthBox = nullptr;
    CQovList* m_queryYearBox = nullptr;
    CQovList* m_queryMonthBox = nullptr;
    CQovList* m_queryDayBox = nullptr;
    QRadioButton* m_gregorianRadio = nullptr;
    QRadioButton* m_lunarRadio = nullptr;
    CQovEdit* m_startEdit = nullptr;
    CQovEdit* m_endEdit = nullptr;
    QPushButton* m_computeButton = nullptr;
    QLineEdit* m_resultEdit = nullptr;
    CTimeZone* m_zoneLabel = nullptr;
    CQovDate* m_clockLabel = nullptr;
    CTipWindow* m_tip = nullptr;
    CGridFocus* m_grid = nullptr;

    // Where the pointer last moved over the window's own surface (not over
    // a control), in client pixels; none once it left.
    std::optional<QPoint> m_pointer;
    qov::WheelSteps m_wheel;
    CHolidayFile* m_holidays = nullptr;
    CHolidayUpdateJob* m_update = nullptr;
    QTimer* m_autoUpdate = nullptr;
    bool m_reportUpdate = false;  // whether the running update was asked for
    CMyDaysFile* m_myDays = nullptr;
    QovSettings m_settings;

    // Set while the window writes its own controls, so that their change
    // signals do not come back as user choices.
    bool m_updatingControls = false;

    // Window move by hand, where the platform cannot move it for us: the
    // press point relative to the window's position.
    bool m_moving = false;
    QPoint m_moveOffset;

    // Kept between paints: the skin image for the ratio last painted at,
    // the laid-out texts and the watermark outlines.
    mutable PictureCache m_cache;
    // The window paints straight into Qt's backing store, which is double
    // buffered already. At a new ratio the skin is drawn from vectors into
    // the frame and its image made after it.
    bool m_firstFramePainted = false;
    bool m_afterFramePosted = false;
};
