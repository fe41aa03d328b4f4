#include "calendardlg.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <utility>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStringDecoder>
#include <QWheelEvent>
#include <QWindow>
#include <cstdlib>

#include "aboutdlg.h"
#include "controls/clocklabels.h"
#include "controls/gridfocus.h"
#include "controls/qovedit.h"
#include "controls/qovlist.h"
#include "controls/tipwindow.h"
#include "exportdlg.h"
#include "holidayfile.h"
#include "holidays/updatejob.h"
#include "holidays/updatepolicy.h"
#include "model/daytexts.h"
#include "model/gridkeys.h"
#include "painters.h"
#include "platform/settingslauncher.h"
#include "settings/settingsdlg.h"
#include "skin.h"
#include "userfiles/mydaysfile.h"

#ifdef Q_OS_WIN
#ifndef NOMINMAX  // MinGW's libstdc++ defines it already
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace {

// Control places in client pixels (left, top, width, height). The page and
// query lists are one text line high here; their drop-down lists open on
// demand.
constexpr QRect YearBoxRect{45, 7, 50, 21};
constexpr QRect MonthBoxRect{118, 7, 38, 21};
// The query lists are as wide as their longest item needs: "11(闰)" is
// 36 px in the 12 px Song face, plus frame and arrow.
constexpr QRect QueryYearRect{438, 431, 48, 21};
constexpr QRect QueryMonthRect{500, 431, 56, 21};
constexpr QRect QueryDayRect{570, 431, 34, 21};
constexpr QRect StartEditRect{58, 422, 77, 21};
constexpr QRect EndEditRect{172, 422, 75, 21};
constexpr QRect ResultEditRect{345, 422, 39, 21};
constexpr QRect ZoneLabelRect{509, 310, 140, 26};
constexpr QRect ClockLabelRect{513, 341, 154, 40};

struct ButtonPlace {
    const char* objectName;
    const char16_t* text;
    QRect rect;
};

// Push buttons by dialog id: 1046, 1047, 1048, 1049, 1000, 1067, 1028, 1043, 1009.
constexpr ButtonPlace PrevYearPlace{"prevYearButton", u"年↑", {61, 362, 42, 21}};
constexpr ButtonPlace NextYearPlace{"nextYearButton", u"年↓", {112, 362, 42, 21}};
constexpr ButtonPlace PrevMonthPlace{"prevMonthButton", u"月↑", {187, 362, 42, 21}};
constexpr ButtonPlace NextMonthPlace{"nextMonthButton", u"月↓", {235, 362, 42, 21}};
constexpr ButtonPlace TodayPlace{"todayButton", u"今天", {315, 362, 42, 21}};
constexpr ButtonPlace SettingsPlace{"settingsButton", u"日期和时间设置", {375, 362, 93, 21}};
constexpr ButtonPlace ComputePlace{"computeButton", u"计算", {257, 422, 42, 23}};
constexpr ButtonPlace QueryPlace{"queryButton", u"查询", {628, 432, 39, 21}};
constexpr ButtonPlace ExitPlace{"exitButton", u"退出", {569, 473, 61, 23}};

struct LabelPlace {
    const char16_t* text;
    QRect rect;
    const char* buddy;  // the control it labels for screen readers, or none
};

// Static labels standing on the skin.
constexpr LabelPlace StaticLabels[] = {
    {u"开始：", {23, 425, 39, 19}, "startEdit"},
    {u"结束：", {138, 424, 39, 21}, "endEdit"},
    {u"相差", {315, 425, 28, 23}, "resultEdit"},
    {u"天", {389, 425, 16, 18}, nullptr},
    {u"年", {486, 432, 14, 19}, "queryYearBox"},
    {u"月", {556, 432, 14, 19}, "queryMonthBox"},
    {u"日", {605, 432, 16, 21}, "queryDayBox"},
};

constexpr int FirstListYear = qov::FirstPageYear;  // year box item 0

// The system-menu command of the About box (low four bits free for the
// system's own use).
[[maybe_unused]] constexpr unsigned AboutCommandId = 16;

QString Text(const char16_t* text) { return QString::fromUtf16(text); }

// The menu item of the About box, in the system menu (Windows) and in the
// skin's context menu.
QString AboutMenuText() { return QStringLiteral(u"关于 qov(&A)..."); }

// The context-menu item of the dialog "设置…" and its key.
QString SettingsMenuText() { return QStringLiteral(u"设置(&S)…"); }
QKeySequence SettingsKey() { return QKeySequence(Qt::CTRL | Qt::Key_Comma); }

QPushButton* MakeButton(QWidget* parent, const ButtonPlace& place)
{
    auto* button = new QPushButton(Text(place.text), parent);
    button->setObjectName(QString::fromLatin1(place.objectName));
    button->setGeometry(place.rect);
    // No default button: Enter must not press anything.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

CQovList* MakeList(QWidget* parent, const char* objectName, const QRect& rect)
{
    auto* box = new CQovList(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setGeometry(rect);
    return box;
}

// "%d" items from first to last.
QStringList NumberItems(int first, int last)
{
    QStringList items;
    items.reserve(last - first + 1);
    for (int n = first; n <= last; ++n) items.append(QString::number(n));
    return items;
}

QString DecodeGbk(const std::string& text)
{
    QStringDecoder gbk("GBK", QStringConverter::Flag::Stateless);
    return gbk.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

QStringList DecodeItems(const std::vector<std::string>& items)
{
    QStringDecoder gbk("GBK", QStringConverter::Flag::Stateless);
    QStringList list;
    list.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string& item : items)
        list.append(gbk.decode(QByteArrayView(item.data(), static_cast<qsizetype>(item.size()))));
    return list;
}

QStringList ItemTexts(const QComboBox* box)
{
    QStringList items;
    items.reserve(box->count());
    for (int i = 0; i < box->count(); ++i) items.append(box->itemText(i));
    return items;
}

void MirrorList(QComboBox* box, const std::vector<std::string>& items, int index)
{
    const QStringList wanted = DecodeItems(items);
    if (ItemTexts(box) != wanted) {
        box->clear();
        box->addItems(wanted);
    }
    box->setCurrentIndex(index);
}

}  // namespace

CCalendarDlg::CCalendarDlg(QWidget* parent)
    : QDialog(parent), m_selected(qov::Today()), m_today(m_selected.Date()),
      m_query(m_selected.Date()), m_fonts(FontSet::Create(devicePixelRatioF())),
      m_settings(settings::LoadAndReport(settings::FilePath()))
{
    m_selected = m_selected.WithWeekStart(m_settings.weekStart);
    setWindowTitle(QStringLiteral(u"岚澄万年历 1.0"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(skin::Width, skin::Height);
    // Everything outside the child controls is painted, opaque, in one pass.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // The dialog font of the controls: 宋体 at 12 pixels, as the year box.
    setFont(m_fonts.fontText12);

    CreateControls();
    ConnectControls();
    ShowPageBoxes();
    MirrorQueryLists();
    ShowGridSelection();

#ifdef Q_OS_WIN
    // System menu: a separator and "关于 qov(&A)..." with command 16.
    if (HMENU menu = ::GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE)) {
        const QString about = AboutMenuText();
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(menu, MF_STRING, AboutCommandId, reinterpret_cast<LPCWSTR>(about.utf16()));
    }
#endif
}

CCalendarDlg::~CCalendarDlg() = default;

void CCalendarDlg::CreateControls()
{
    m_yearBox = MakeList(this, "yearBox", YearBoxRect);
    m_yearBox->addItems(NumberItems(qov::FirstPageYear, qov::LastPageYear));
    m_yearBox->setFont(m_fonts.fontText12);
    m_monthBox = MakeList(this, "monthBox", MonthBoxRect);
    m_monthBox->addItems(NumberItems(1, 12));
    m_monthBox->setFont(m_fonts.fontText12);

    MakeButton(this, PrevYearPlace);
    MakeButton(this, NextYearPlace);
    MakeButton(this, PrevMonthPlace);
    MakeButton(this, NextMonthPlace);
    MakeButton(this, TodayPlace);
    MakeButton(this, SettingsPlace);

    QList<QLabel*> labels;
    for (const LabelPlace& place : StaticLabels) {
        auto* label = new QLabel(Text(place.text), this);
        label->setGeometry(place.rect);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        labels.append(label);
    }

    m_startEdit = new CQovEdit(1063, this);
    m_startEdit->setObjectName(QStringLiteral("startEdit"));
    m_startEdit->setGeometry(StartEditRect);
    m_endEdit = new CQovEdit(1064, this);
    m_endEdit->setObjectName(QStringLiteral("endEdit"));
    m_endEdit->setGeometry(EndEditRect);
    m_computeButton = MakeButton(this, ComputePlace);
    m_resultEdit = new QLineEdit(this);
    m_resultEdit->setObjectName(QStringLiteral("resultEdit"));
    m_resultEdit->setGeometry(ResultEditRect);
    m_resultEdit->setReadOnly(true);
    m_resultEdit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_gregorianRadio = new QRadioButton(QStringLiteral(u"公历"), this);
    m_gregorianRadio->setObjectName(QStringLiteral("gregorianRadio"));
    m_gregorianRadio->setGeometry(509, 399, 51, 21);
    m_lunarRadio = new QRadioButton(QStringLiteral(u"农历"), this);
    m_lunarRadio->setObjectName(QStringLiteral("lunarRadio"));
    m_lunarRadio->setGeometry(579, 399, 53, 21);
    m_queryYearBox = MakeList(this, "queryYearBox", QueryYearRect);
    m_queryMonthBox = MakeList(this, "queryMonthBox", QueryMonthRect);
    m_queryDayBox = MakeList(this, "queryDayBox", QueryDayRect);
    MakeButton(this, QueryPlace);

    m_zoneLabel = new CTimeZone(this, CTimeZone::NameRead::OnRefresh);
    m_zoneLabel->setObjectName(QStringLiteral("zoneLabel"));
    m_zoneLabel->setGeometry(ZoneLabelRect);
    m_zoneLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_clockLabel = new CQovDate(this);
    m_clockLabel->setObjectName(QStringLiteral("clockLabel"));
    m_clockLabel->setGeometry(ClockLabelRect);
    m_clockLabel->setFont(m_fonts.fontClock24);
    m_clockLabel->setAlignment(Qt::AlignCenter);
    QPalette clockPalette = m_clockLabel->palette();
    clockPalette.setColor(QPalette::WindowText, ToQColor(qov::colors::DarkBlue));
    m_clockLabel->setPalette(clockPalette);
    connect(m_clockLabel, &CQovDate::ticked, this, &CCalendarDlg::clockTicked);

    MakeButton(this, ExitPlace);

    // Spoken names of the controls whose text says too little or nothing.
    static constexpr std::pair<const char*, const char16_t*> SpokenNames[] = {
        {"prevYearButton", u"上一年"},
        {"nextYearButton", u"下一年"},
        {"prevMonthButton", u"上一月"},
        {"nextMonthButton", u"下一月"},
        {"yearBox", u"年份"},
        {"monthBox", u"月份"},
        {"startEdit", u"开始日期"},
        {"endEdit", u"结束日期"},
        {"resultEdit", u"相差天数"},
        {"queryYearBox", u"查询年份"},
        {"queryMonthBox", u"查询月份"},
        {"queryDayBox", u"查询日期"},
        {"gregorianRadio", u"按公历查询"},
        {"lunarRadio", u"按农历查询"},
    };
    for (const auto& [objectName, spoken] : SpokenNames)
        findChild<QWidget*>(QString::fromLatin1(objectName))->setAccessibleName(Text(spoken));
    // Where a screen reader takes a control's label from the label (a list's
    // name is its current item on Linux).
    for (qsizetype i = 0; i < labels.size(); ++i)
        if (const char* buddy = StaticLabels[i].buddy)
            labels[i]->setBuddy(findChild<QWidget*>(QString::fromLatin1(buddy)));

    // Over the grid, first in the focus chain; the painted grid shows through.
    m_grid = new CGridFocus(this);
    m_grid->setObjectName(QStringLiteral("monthGrid"));
    m_grid->setGeometry(ToQRect(qov::grid::ClickArea));
    m_grid->SetCellTexts([this](int row, int column) { return SpokenCell(row, column); });
    m_grid->lower();
    setTabOrder(m_grid, m_yearBox);

    // Hidden until the pointer rests over a day.
    m_tip = new CTipWindow(this);

    // The pointer onto a control leaves the grid: the dialog sees no more
    // moves until it comes back.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child != m_tip && child != m_grid) child->installEventFilter(this);

    m_holidays = new CHolidayFile(this);
    m_myDays = new CMyDaysFile(this);
    const auto follow = [this] {
        update();
        RefreshTip();
        ShowGridSelection();
    };
    connect(m_holidays, &CHolidayFile::changed, this, follow);
    connect(m_myDays, &CWatchedFile::changed, this, follow);

    auto* settingsAction = new QAction(SettingsMenuText(), this);
    settingsAction->setObjectName(QStringLiteral("settingsAction"));
    settingsAction->setShortcut(SettingsKey());
    settingsAction->setShortcutContext(Qt::WindowShortcut);
    connect(settingsAction, &QAction::triggered, this, &CCalendarDlg::ShowSettings);
    addAction(settingsAction);

    m_update = new CHolidayUpdateJob(this);
    connect(m_update, &CHolidayUpdateJob::finished, this,
        [this](const QStringList& changed, const QString& error) {
            // The folder's watcher would notice too, a moment later.
            if (!changed.isEmpty()) m_holidays->Refresh();
            const bool report = std::exchange(m_reportUpdate, false);
            if (!error.isEmpty())
                std::fprintf(stderr, "qov: holiday update: %s\n", error.toUtf8().constData());
            if (!report) return;
            QString text = changed.isEmpty() ? QStringLiteral(u"节假日安排已是最新。") : changed.join(u'\n');
            if (!error.isEmpty()) text += QStringLiteral(u"\n\n未能更新：") + error;
            auto* box = new QMessageBox(error.isEmpty() ? QMessageBox::Information
                                                        : QMessageBox::Warning,
                QStringLiteral(u"更新节假日安排"), text, QMessageBox::Ok, this);
            box->setObjectName(QStringLiteral(u"holidayUpdateBox"));
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
        });
}

void CCalendarDlg::UpdateHolidays()
{
    m_reportUpdate = true;
    m_update->Start(updatepolicy::YearsToCheck(QDate::currentDate()));
}

void CCalendarDlg::StartAutoUpdate()
{
    // Not in the first minute, which belongs to the user; then hourly, each
    // time only when a check is due.
    constexpr int FirstCheckMs = 60'000;
    constexpr int RecheckMs = 60 * 60'000;
    m_autoUpdate = new QTimer(this);
    m_autoUpdate->setInterval(FirstCheckMs);
    connect(m_autoUpdate, &QTimer::timeout, this, [this] {
        m_autoUpdate->setInterval(RecheckMs);
        if (!m_update->running() && updatepolicy::AutoUpdateEnabled()
            && m_update->AutoCheckDue(QDateTime::currentDateTimeUtc(), m_holidays->table()))
            m_update->Start(updatepolicy::YearsToCheck(QDate::currentDate()));
    });
    m_autoUpdate->start();
}

void CCalendarDlg::ConnectControls()
{
    const auto button = [this](const ButtonPlace& place) {
        return findChild<QPushButton*>(QString::fromLatin1(place.objectName));
    };
    connect(button(PrevYearPlace), &QPushButton::clicked, this,
        [this] { SelectDate(m_selected.PrevYear()); });
    connect(button(NextYearPlace), &QPushButton::clicked, this,
        [this] { SelectDate(m_selected.NextYear()); });
    connect(button(PrevMonthPlace), &QPushButton::clicked, this,
        [this] { SelectDate(m_selected.PrevMonth()); });
    connect(button(NextMonthPlace), &QPushButton::clicked, this,
        [this] { SelectDate(m_selected.NextMonth()); });
    connect(button(TodayPlace), &QPushButton::clicked, this,
        [this] { SelectDate(m_selected.GoToday()); });
    // The panel's own result is of no concern here; nothing is reported.
    connect(
        button(SettingsPlace), &QPushButton::clicked, this, [] { (void)OpenDateTimeSettings(); });
    connect(m_computeButton, &QPushButton::clicked, this, &CCalendarDlg::OnCompute);
    connect(button(QueryPlace), &QPushButton::clicked, this, &CCalendarDlg::OnQuery);
    connect(button(ExitPlace), &QPushButton::clicked, this, [this] {
        m_hideOnClose = false;
        Q_EMIT exitRequested();
        QDialog::reject();
    });

    connect(m_yearBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_updatingControls || index < 0) return;
        SelectDate(m_selected.SetYear(FirstListYear + index));
    });
    connect(m_monthBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_updatingControls || index < 0) return;
        SelectDate(m_selected.SetMonth(index + 1));
    });

    connect(m_gregorianRadio, &QRadioButton::clicked, this, [this] {
        if (m_updatingControls) return;
        m_query.OnGregorianClicked();
        MirrorQueryLists();
    });
    connect(m_lunarRadio, &QRadioButton::clicked, this, [this] {
        if (m_updatingControls) return;
        m_query.OnLunarClicked();
        MirrorQueryLists();
    });
    connect(m_queryYearBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_updatingControls) return;
        m_query.OnYearChosen(index);
        MirrorQueryLists();
    });
    connect(m_queryMonthBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_updatingControls) return;
        m_query.OnMonthChosen(index);
        MirrorQueryLists();
    });
    connect(m_queryDayBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_updatingControls) return;
        m_query.OnDayChosen(index);
        MirrorQueryLists();
    });

    connect(m_startEdit, &CQovEdit::entryComplete, this, &CCalendarDlg::OnEntryComplete);
    connect(m_endEdit, &CQovEdit::entryComplete, this, &CCalendarDlg::OnEntryComplete);

    for (CQovList* list : findChildren<CQovList*>())
        connect(list, &CQovList::popupAboutToShow, this, &CCalendarDlg::ForgetPointer);
    connect(m_grid, &CGridFocus::gridKey, this,
        [this](qov::GridKey key) { SelectDate(qov::ApplyGridKey(m_selected, key)); });
}

void CCalendarDlg::SelectDate(const qov::MonthPage& page)
{
    m_selected = page.WithWeekStart(m_settings.weekStart);
    ShowPageBoxes();
    ShowGridSelection();
    RefreshTip();
    update();
}

void CCalendarDlg::SetToday(qov::SolarDate today)
{
    if (today == m_today) return;
    m_today = today;
    update();
}

void CCalendarDlg::reject()
{
    if (!m_hideOnClose) {
        QDialog::reject();
        return;
    }
    hide();
    Q_EMIT hiddenToTray();
}

void CCalendarDlg::ShowPageBoxes()
{
    const int yearIndex = m_selected.Year() - FirstListYear;
    m_updatingControls = true;
    // A page just outside 1900..2100 (December 1899, early 2101) has no item.
    m_yearBox->setCurrentIndex(yearIndex >= 0 && yearIndex < m_yearBox->count() ? yearIndex : -1);
    m_monthBox->setCurrentIndex(m_selected.Month() - 1);
    m_updatingControls = false;
}

void CCalendarDlg::MirrorQueryLists()
{
    m_updatingControls = true;
    const bool lunar = m_query.Mode() == qov::QueryMode::Lunar;
    m_gregorianRadio->setChecked(!lunar);
    m_lunarRadio->setChecked(lunar);
    MirrorList(m_queryYearBox, m_query.YearItems(), m_query.YearIndex());
    MirrorList(m_queryMonthBox, m_query.MonthItems(), m_query.MonthIndex());
    MirrorList(m_queryDayBox, m_query.DayItems(), m_query.DayIndex());
    m_updatingControls = false;
}

void CCalendarDlg::OnQuery()
{
    // A lunar date that does not exist leaves the page as it is.
    if (const std::optional<qov::SolarDate> date = m_query.Query())
        SelectDate(qov::MonthPage(*date));
}

qov::DayOptions CCalendarDlg::DayOptions() const
{
    qov::DayOptions options(m_holidays->table());
    options.kinds = m_settings.Kinds();
    options.holidayMarks = m_settings.holidayMarks;
    options.myDays = &m_myDays->list();
    return options;
}

void CCalendarDlg::ApplySettings(const QovSettings& values)
{
    m_settings = values;
    SelectDate(m_selected);
    Q_EMIT settingsApplied();
}

void CCalendarDlg::ShowSettings()
{
    ForgetPointer();
    CSettingsDlg dialog(m_settings, settings::FilePath(), m_myDays->path(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    ApplySettings(dialog.values());
    m_myDays->Reload();
}

void CCalendarDlg::OnCompute()
{
    const int days = qov::DayDifferenceBetween(m_startEdit->GetDate(), m_endEdit->GetDate());
    m_resultEdit->setText(QString::number(days));
}

// A date field was completed: lead the user on to the next input.
void CCalendarDlg::OnEntryComplete(int controlId)
{
    if (controlId == m_startEdit->controlId())
        m_endEdit->SelectField(qov::DateEntry::YearField);
    else if (controlId == m_endEdit->controlId()) {
        // Moved there by typing: show the focus frame as after Tab.
        setAttribute(Qt::WA_KeyboardFocusChange);
        m_computeButton->setFocus(Qt::OtherFocusReason);
    }
}

void CCalendarDlg::accept() { }

const FontSet& CCalendarDlg::FontsFor(qreal devicePixelRatio) const
{
    if (m_fonts.devicePixelRatio != devicePixelRatio) m_fonts = FontSet::Create(devicePixelRatio);
    return m_fonts;
}

void CCalendarDlg::ApplyScreenFonts()
{
    const FontSet& fonts = FontsFor(devicePixelRatioF());
    setFont(fonts.fontText12);
    m_yearBox->setFont(fonts.fontText12);
    m_monthBox->setFont(fonts.fontText12);
}

bool CCalendarDlg::event(QEvent* event)
{
    // Sent when the window moves to a screen, or its screen's scale changes:
    // the small texts switch between bitmap strikes and smooth outlines.
    if (event->type() == QEvent::ScreenChangeInternal) {
        const bool handled = QDialog::event(event);
        ApplyScreenFonts();
        update();
        return handled;
    }
    return QDialog::event(event);
}

void CCalendarDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter presses the focused push button (which ignores it, having no
        // default role); anywhere else it ends nothing.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
            button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);  // Esc closes
}

void CCalendarDlg::RenderInto(QImage& target) const
{
    const qreal ratio = target.devicePixelRatio();
    const FontSet& fonts = FontsFor(ratio);
    if (m_cache.Skin(ratio, m_settings.weekStart) == nullptr)
        m_cache.MakeSkin(ratio, fonts.fontText12, m_settings.weekStart);
    QPainter painter(&target);
    DrawPicture(painter, m_cache, fonts, qov::PagePictureTexts(m_selected, DayOptions(), m_today));
}

QImage CCalendarDlg::RenderPicture(qreal devicePixelRatio) const
{
    QImage picture(
        QSize(skin::Width, skin::Height) * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(devicePixelRatio);
    RenderInto(picture);
    return picture;
}

void CCalendarDlg::paintEvent(QPaintEvent* event)
{
    const qreal ratio = devicePixelRatioF();
    const bool skinCached = m_cache.Skin(ratio, m_settings.weekStart) != nullptr;
    QPainter painter(this);
    DrawPicture(painter, m_cache, FontsFor(ratio),
        qov::PagePictureTexts(m_selected, DayOptions(), m_today), event->rect());
    // Posted from here, so that it runs after this frame: a zero timer
    // started in the constructor would run before the first paint.
    if ((!skinCached || !m_firstFramePainted) && !m_afterFramePosted) {
        m_afterFramePosted = true;
        QMetaObject::invokeMethod(this, &CCalendarDlg::AfterFrame, Qt::QueuedConnection);
    }
}

void CCalendarDlg::AfterFrame()
{
    m_afterFramePosted = false;
    const qreal ratio = devicePixelRatioF();
    if (m_cache.Skin(ratio, m_settings.weekStart) == nullptr)
        m_cache.MakeSkin(ratio, FontsFor(ratio).fontText12, m_settings.weekStart);
    if (m_firstFramePainted) return;
    m_firstFramePainted = true;
    setWindowIcon(ProgramIcon());
    m_zoneLabel->Refresh();
    Q_EMIT firstFramePainted();
}

void CCalendarDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (const std::optional<qov::GridCell> cell = qov::MonthPage::HitTest(pos.x(), pos.y())) {
        m_grid->setFocus(Qt::MouseFocusReason);
        m_pointer = pos;
        SelectDate(m_selected.SelectCell(*cell));
        return;
    }
    // Anywhere else on the skin: the press drags the window.
    setCursor(Qt::SizeAllCursor);
    QWindow* window = windowHandle();
    if (window != nullptr && window->startSystemMove()) return;
    m_moving = true;
    m_moveOffset = event->globalPosition().toPoint() - this->pos();
}

void CCalendarDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (m_moving) {
        if (event->buttons() & Qt::LeftButton) {
            move(event->globalPosition().toPoint() - m_moveOffset);
            return;
        }
        StopMove();  // the release went elsewhere
    } else if (event->buttons() == Qt::NoButton && cursor().shape() == Qt::SizeAllCursor) {
        unsetCursor();  // a system move ended
    }
    m_pointer = event->position().toPoint();
    ShowDayTip(*m_pointer);
}

void CCalendarDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) StopMove();
    QDialog::mouseReleaseEvent(event);
}

void CCalendarDlg::StopMove()
{
    m_moving = false;
    unsetCursor();
}

void CCalendarDlg::ShowDayTip(QPoint clientPos)
{
    const QPoint global = mapToGlobal(clientPos);
    const std::optional<qov::DayTip> tip =
        qov::TipTexts(m_selected, clientPos.x(), clientPos.y(), DayOptions());
    if (!tip) {
        m_tip->Show(global, false);
        return;
    }
    m_tip->SetText(tip->line1, tip->line2, tip->line3, tip->line4, tip->note, tip->holiday);
    m_tip->Show(global, true);
}

void CCalendarDlg::RefreshTip()
{
    if (m_pointer)
        ShowDayTip(*m_pointer);
    else
        m_tip->Show({}, false);
}

void CCalendarDlg::ForgetPointer()
{
    m_pointer.reset();
    m_tip->Show({}, false);
}

void CCalendarDlg::ShowGridSelection()
{
    m_grid->setAccessibleName(
        QStringLiteral(u"%1年%2月").arg(m_selected.Year()).arg(m_selected.Month()));
    m_grid->SetWeekStart(m_selected.FirstColumn());
    m_grid->SetSelection(m_selected.SelectedCell());
}

CGridFocus::CellTexts CCalendarDlg::SpokenCell(int row, int column) const
{
    const qov::SolarDate date = m_selected.CellAt(row, column);
    // The day's description ends with the user's days and its public
    // holiday, if any, less the words already said ("国庆节 休" after the
    // festival 国庆节: "休").
    const qov::DayOptions options = DayOptions();
    QStringList words = DecodeGbk(qov::SpokenDay(date, options)).split(u' ', Qt::SkipEmptyParts);
    const std::string user = qov::UserDayText(date, options);
    for (const QString& word : QString::fromStdString(user).split(u' ', Qt::SkipEmptyParts))
        if (!words.contains(word)) words.append(word);
    return {DecodeGbk(qov::SpokenDate(date)), words.join(u' ')};
}

void CCalendarDlg::wheelEvent(QWheelEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (!qov::MonthPage::HitTest(pos.x(), pos.y())) {
        QDialog::wheelEvent(event);
        return;
    }
    event->accept();
    // Away from the user goes back, as in a list scrolled up; Ctrl: a year.
    const bool years = event->modifiers() & Qt::ControlModifier;
    const int steps = m_wheel.Add(event->angleDelta().y());
    const qov::GridKey back = years ? qov::GridKey::PrevYear : qov::GridKey::PrevMonth;
    const qov::GridKey forward = years ? qov::GridKey::NextYear : qov::GridKey::NextMonth;
    qov::MonthPage page = m_selected;
    for (int i = 0; i < std::abs(steps); ++i)
        page = qov::ApplyGridKey(page, steps > 0 ? back : forward);
    if (!(page == m_selected)) SelectDate(page);
}

void CCalendarDlg::leaveEvent(QEvent* event)
{
    // Onto the tip (it lies below the pointer) the pointer has not left the
    // grid: the tip passes its moves on.
    if (!m_tip->isVisible() || !m_tip->geometry().contains(QCursor::pos())) ForgetPointer();
    QDialog::leaveEvent(event);
}

void CCalendarDlg::hideEvent(QHideEvent* event)
{
    ForgetPointer();
    QDialog::hideEvent(event);
}

bool CCalendarDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter) ForgetPointer();
    return QDialog::eventFilter(watched, event);
}

void CCalendarDlg::contextMenuEvent(QContextMenuEvent* event)
{
    ForgetPointer();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("skinMenu"));
    menu.addAction(QStringLiteral(u"导出日历…"), this, [this] {
        CExportDlg dlg(m_holidays->table(), m_myDays->list(), this);
        dlg.exec();
    });
    QAction* update = menu.addAction(QStringLiteral(u"更新节假日安排"), this, &CCalendarDlg::UpdateHolidays);
    update->setEnabled(!m_update->running());
    QAction* settings = menu.addAction(SettingsMenuText(), this, &CCalendarDlg::ShowSettings);
    settings->setShortcut(SettingsKey());
    menu.addAction(AboutMenuText(), this, &CCalendarDlg::ShowAbout);
    menu.exec(event->globalPos());
}

void CCalendarDlg::ShowAbout()
{
    ForgetPointer();
    CAboutDlg about(this);
    about.exec();
}

#ifdef Q_OS_WIN
bool CCalendarDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == AboutCommandId) {
        ShowAbout();
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#endif
