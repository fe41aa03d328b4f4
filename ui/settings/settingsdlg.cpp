#include "settings/settingsdlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "traysettings.h"
#include "userfiles/mydaysfile.h"

using namespace Qt::StringLiterals;

namespace {

QCheckBox* MakeCheck(QWidget* parent, const char* objectName, const QString& text, bool checked)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setAccessibleName(QString(text).remove(u'&'));
    box->setChecked(checked);
    return box;
}

QString Utf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "农历 闰四月三十 外婆生日 1948" as the list shows a day.
QString ListText(const qov::MyDay& day)
{
    const bool lunar = day.calendar == qov::MyCalendar::Lunar;
    QString text = lunar ? u"农历 "_s : u"公历 "_s;
    if (day.leap) text += u"闰"_s;
    text += u"%1月%2日 "_s.arg(day.month).arg(day.day) + Utf8(day.name);
    if (day.firstYear != 0) text += u" (%1)"_s.arg(day.firstYear);
    return text;
}

}  // namespace

CSettingsDlg::CSettingsDlg(const QovSettings& current, const QString& settingsPath,
    const QString& myDaysPath, QWidget* parent)
    : QDialog(parent), m_settingsPath(settingsPath), m_myDaysPath(myDaysPath), m_current(current)
{
    setObjectName(u"settingsDialog"_s);
    setWindowTitle(u"设置"_s);
    CreateControls(current);
    LoadMyDays();
}

void CSettingsDlg::CreateControls(const QovSettings& current)
{
    auto* layout = new QVBoxLayout(this);

    auto* calendar = new QGroupBox(u"日历"_s, this);
    auto* calendarForm = new QFormLayout(calendar);
    m_weekStart = new QComboBox(calendar);
    m_weekStart->setObjectName(u"weekStartBox"_s);
    m_weekStart->addItems({u"星期日"_s, u"星期一"_s});
    m_weekStart->setCurrentIndex(current.weekStart == qov::WeekStart::Monday ? 1 : 0);
    m_weekStart->setAccessibleName(u"每周第一天"_s);
    calendarForm->addRow(u"每周第一天(&W)："_s, m_weekStart);
    layout->addWidget(calendar);

    auto* show = new QGroupBox(u"日历格中显示"_s, this);
    auto* showLayout = new QVBoxLayout(show);
    m_terms = MakeCheck(show, "showTerms", u"节气(&T)"_s, current.terms);
    m_lunarFestivals =
        MakeCheck(show, "showLunarFestivals", u"传统节日(&L)"_s, current.lunarFestivals);
    m_gregorianFestivals =
        MakeCheck(show, "showGregorianFestivals", u"公历节日(&G)"_s, current.gregorianFestivals);
    m_internationalDays =
        MakeCheck(show, "showInternationalDays", u"国际纪念日(&I)"_s, current.internationalDays);
    m_westernFestivals =
        MakeCheck(show, "showWesternFestivals", u"西方节日(&E)"_s, current.westernFestivals);
    m_holidayMarks = MakeCheck(show, "showHolidayMarks", u"休/班(&H)"_s, current.holidayMarks);
    for (QCheckBox* box : {m_terms, m_lunarFestivals, m_gregorianFestivals, m_internationalDays,
             m_westernFestivals, m_holidayMarks})
        showLayout->addWidget(box);
    layout->addWidget(show);

    auto* holidays = new QGroupBox(u"节假日"_s, this);
    auto* holidaysLayout = new QVBoxLayout(holidays);
    m_autoUpdate =
        MakeCheck(holidays, "autoUpdate", u"自动更新节假日安排(&U)"_s, current.autoUpdate);
    holidaysLayout->addWidget(m_autoUpdate);
    layout->addWidget(holidays);

    auto* tray = new QGroupBox(u"托盘"_s, this);
    auto* trayLayout = new QVBoxLayout(tray);
    m_trayEnabled = MakeCheck(tray, "trayEnabled", u"显示托盘图标(&K)"_s, current.trayEnabled);
    m_trayAutostart =
        MakeCheck(tray, "trayAutostart", u"开机时启动到托盘(&O)"_s, current.trayAutostart);
    trayLayout->addWidget(m_trayEnabled);
    trayLayout->addWidget(m_trayAutostart);
    layout->addWidget(tray);

    auto* mine = new QGroupBox(u"纪念日"_s, this);
    auto* mineLayout = new QVBoxLayout(mine);
    m_list = new QListWidget(mine);
    m_list->setObjectName(u"myDayList"_s);
    m_list->setAccessibleName(u"纪念日列表"_s);
    mineLayout->addWidget(m_list);
    auto* form = new QFormLayout;
    m_name = new QLineEdit(mine);
    m_name->setObjectName(u"myDayName"_s);
    m_name->setAccessibleName(u"名称"_s);
    m_name->setMaxLength(static_cast<int>(qov::MaxMyDayNameChars));
    form->addRow(u"名称(&N)："_s, m_name);
    auto* dateRow = new QHBoxLayout;
    m_calendar = new QComboBox(mine);
    m_calendar->setObjectName(u"myDayCalendar"_s);
    m_calendar->setAccessibleName(u"历法"_s);
    m_calendar->addItems({u"公历"_s, u"农历"_s});
    m_leap = new QCheckBox(u"闰月"_s, mine);
    m_leap->setObjectName(u"myDayLeap"_s);
    m_leap->setAccessibleName(u"闰月"_s);
    m_month = new QSpinBox(mine);
    m_month->setObjectName(u"myDayMonth"_s);
    m_month->setAccessibleName(u"月"_s);
    m_month->setRange(1, 12);
    m_month->setSuffix(u" 月"_s);
    m_day = new QSpinBox(mine);
    m_day->setObjectName(u"myDayDay"_s);
    m_day->setAccessibleName(u"日"_s);
    m_day->setRange(1, 31);
    m_day->setSuffix(u" 日"_s);
    for (QWidget* w : {static_cast<QWidget*>(m_calendar), static_cast<QWidget*>(m_leap),
             static_cast<QWidget*>(m_month), static_cast<QWidget*>(m_day)})
        dateRow->addWidget(w);
    // A row of several fields: its label names the first, so that the
    // mnemonic works and "&" is not shown.
    auto* dateLabel = new QLabel(u"日期(&D)："_s, mine);
    dateLabel->setBuddy(m_calendar);
    form->addRow(dateLabel, dateRow);
    m_firstYear = new QSpinBox(mine);
    m_firstYear->setObjectName(u"myDayFirstYear"_s);
    m_firstYear->setAccessibleName(u"起始年份"_s);
    m_firstYear->setRange(0, qov::LastMyDayFirstYear);
    m_firstYear->setSpecialValueText(u"无"_s);
    form->addRow(u"起始年份(&Y)："_s, m_firstYear);
    mineLayout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* objectName, const QString& text) {
        auto* b = new QPushButton(text, mine);
        b->setObjectName(QString::fromLatin1(objectName));
        b->setAccessibleName(QString(text).remove(u'&'));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    QPushButton* add = button("myDayAdd", u"添加(&A)"_s);
    QPushButton* change = button("myDayChange", u"修改(&M)"_s);
    QPushButton* remove = button("myDayRemove", u"删除(&R)"_s);
    mineLayout->addLayout(buttons);
    m_status = new QLabel(mine);
    m_status->setObjectName(u"myDayStatus"_s);
    m_status->setWordWrap(true);
    mineLayout->addWidget(m_status);
    layout->addWidget(mine);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (const auto& [role, text] : {std::pair{QDialogButtonBox::Ok, u"确定"_s},
             std::pair{QDialogButtonBox::Cancel, u"取消"_s}}) {
        box->button(role)->setText(text);
        box->button(role)->setAccessibleName(text);
    }
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &CSettingsDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CSettingsDlg::reject);

    connect(m_calendar, &QComboBox::currentIndexChanged, this, &CSettingsDlg::UpdateDayRange);
    connect(m_month, &QSpinBox::valueChanged, this, &CSettingsDlg::UpdateDayRange);
    connect(m_list, &QListWidget::currentRowChanged, this, &CSettingsDlg::ShowDay);
    UpdateDayRange();
    connect(add, &QPushButton::clicked, this, [this] {
        if (const std::optional<qov::MyDay> day = EditedDay()) {
            m_myDays.Add(*day);
            m_myDaysEdited = true;
            ShowMyDays();
            m_list->setCurrentRow(m_list->count() - 1);
        }
    });
    connect(change, &QPushButton::clicked, this, [this] {
        const int row = m_list->currentRow();
        if (row < 0) return;
        if (const std::optional<qov::MyDay> day = EditedDay()) {
            m_myDays.Replace(static_cast<std::size_t>(row), *day);
            m_myDaysEdited = true;
            ShowMyDays();
            m_list->setCurrentRow(row);
        }
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row = m_list->currentRow();
        if (row < 0 || !m_myDays.Remove(static_cast<std::size_t>(row))) return;
        m_myDaysEdited = true;
        ShowMyDays();
        m_list->setCurrentRow(std::min(row, m_list->count() - 1));
    });
}

void CSettingsDlg::UpdateDayRange()
{
    const bool lunar = m_calendar->currentIndex() == 1;
    m_leap->setEnabled(lunar);
    if (!lunar) m_leap->setChecked(false);
    // 29 February may be chosen: it falls on 28 February in common years.
    m_day->setMaximum(lunar ? 30 : qov::DaysInMonth(2000, m_month->value()));
}

void CSettingsDlg::LoadMyDays()
{
    QString problem;
    const std::optional<QByteArray> bytes = CMyDaysFile::Current(m_myDaysPath, problem);
    m_myDaysReadable = bytes.has_value();
    m_myDaysBytes = bytes.value_or(QByteArray());
    m_myDays = qov::MyDaysFile(std::string_view(
        m_myDaysBytes.constData(), static_cast<std::size_t>(m_myDaysBytes.size())));
    m_myDaysEdited = false;
    QStringList notes;
    if (!m_myDaysReadable) notes.append(problem);
    for (const std::string& message : m_myDays.Messages())
        notes.append(Utf8(message) + u"（此行保留原样）"_s);
    m_status->setText(notes.join(u'\n'));
    ShowMyDays();
}

void CSettingsDlg::ShowMyDays()
{
    m_list->clear();
    for (const qov::MyDay& day : m_myDays.Days()) m_list->addItem(ListText(day));
}

void CSettingsDlg::ShowDay(int entry)
{
    const std::vector<qov::MyDay> days = m_myDays.Days();
    if (entry < 0 || entry >= static_cast<int>(days.size())) return;
    const qov::MyDay& day = days[static_cast<std::size_t>(entry)];
    m_name->setText(Utf8(day.name));
    m_calendar->setCurrentIndex(day.calendar == qov::MyCalendar::Lunar ? 1 : 0);
    m_month->setValue(day.month);
    UpdateDayRange();
    m_leap->setChecked(day.leap);
    m_day->setValue(day.day);
    m_firstYear->setValue(day.firstYear);
}

std::optional<qov::MyDay> CSettingsDlg::EditedDay()
{
    const QString name = m_name->text().trimmed();
    if (name.isEmpty()) {
        m_status->setText(u"请填写名称。"_s);
        return std::nullopt;
    }
    qov::MyDay day;
    day.calendar =
        m_calendar->currentIndex() == 1 ? qov::MyCalendar::Lunar : qov::MyCalendar::Gregorian;
    day.month = m_month->value();
    day.day = m_day->value();
    day.leap = m_leap->isChecked();
    day.firstYear = m_firstYear->value();
    // Tabs and line breaks would split the line in the file.
    QString clean = name;
    for (QChar& c : clean)
        if (c.category() == QChar::Other_Control) c = u' ';
    day.name = clean.toStdString();
    const qov::MyDayParse check = qov::ParseMyDayLine(qov::FormatMyDay(day));
    if (!check.day) {
        m_status->setText(Utf8(check.reason));
        return std::nullopt;
    }
    m_status->clear();
    return check.day;
}

QovSettings CSettingsDlg::values() const
{
    QovSettings v = m_current;  // keys without a control here stay as read
    v.weekStart =
        m_weekStart->currentIndex() == 1 ? qov::WeekStart::Monday : qov::WeekStart::Sunday;
    v.terms = m_terms->isChecked();
    v.lunarFestivals = m_lunarFestivals->isChecked();
    v.gregorianFestivals = m_gregorianFestivals->isChecked();
    v.internationalDays = m_internationalDays->isChecked();
    v.westernFestivals = m_westernFestivals->isChecked();
    v.holidayMarks = m_holidayMarks->isChecked();
    v.autoUpdate = m_autoUpdate->isChecked();
    v.trayEnabled = m_trayEnabled->isChecked();
    v.trayAutostart = m_trayAutostart->isChecked();
    return v;
}

void CSettingsDlg::accept()
{
    if (m_myDaysEdited) {
        QString error;
        switch (CMyDaysFile::Save(m_myDaysPath, m_myDaysBytes, m_myDays, error)) {
        case CMyDaysFile::SaveResult::Saved: {
            // What is on disk now: a later OK (after a failure below) compares with it.
            const std::string saved = m_myDays.Bytes();
            m_myDaysBytes = QByteArray(saved.data(), static_cast<qsizetype>(saved.size()));
            m_myDaysEdited = false;
            break;
        }
        case CMyDaysFile::SaveResult::ChangedOnDisk:
            LoadMyDays();
            m_status->setText(u"mydays.tsv 已在别处修改，未保存。已重新读取，请再修改一次。"_s);
            return;
        case CMyDaysFile::SaveResult::Failed:
            m_status->setText(u"纪念日未能保存："_s + error);
            return;
        }
    }
    const QovSettings chosen = values();
    // The entry first: a setting saved without it would say what is not so.
    if (chosen.trayAutostart != m_current.trayAutostart && !SetAutostart(chosen.trayAutostart)) {
        m_status->setText(u"开机启动项未能保存："_s + AutostartFilePath());
        return;
    }
    QString error;
    if (chosen != m_current && !settings::Save(m_settingsPath, chosen, error, &m_current)) {
        m_status->setText(u"设置未能保存："_s + error);
        return;
    }
    QDialog::accept();
}
