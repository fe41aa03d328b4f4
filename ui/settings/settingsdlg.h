// The dialog "设置…": week start, what the cells show, the holiday update,
// the tray, and the list of the user's own days (纪念日). OK saves qov.conf,
// writes or removes the autostart entry when that switch changed and, when
// the list was edited, mydays.tsv; a mydays.tsv changed on disk since the
// dialog read it is not overwritten but read again, and the dialog says so.
#pragma once

#include <QDialog>

#include "model/mydays.h"
#include "settings/settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;

class CSettingsDlg : public QDialog {
    Q_OBJECT

public:
    CSettingsDlg(const QovSettings& current, const QString& settingsPath, const QString& myDaysPath,
        QWidget* parent = nullptr);

    // The settings the controls show.
    QovSettings values() const;

    void accept() override;

private:
    void CreateControls(const QovSettings& current);
    // Reads mydays.tsv into the list (again).
    void LoadMyDays();
    void ShowMyDays();
    // The day the editor fields describe, or none with the reason shown.
    std::optional<qov::MyDay> EditedDay();
    void ShowDay(int entry);
    void UpdateDayRange();

    QString m_settingsPath;
    QString m_myDaysPath;
    QByteArray m_myDaysBytes;  // as read, to tell a change on disk
    qov::MyDaysFile m_myDays;
    bool m_myDaysEdited = false;
    bool m_myDaysReadable = true;
    QovSettings m_current;

    QComboBox* m_weekStart = nullptr;
    QCheckBox* m_terms = nullptr;
    QCheckBox* m_lunarFestivals = nullptr;
    QCheckBox* m_gregorianFestivals = nullptr;
    QCheckBox* m_internationalDays = nullptr;
    QCheckBox* m_westernFestivals = nullptr;
    QCheckBox* m_holidayMarks = nullptr;
    QCheckBox* m_autoUpdate = nullptr;
    QCheckBox* m_trayEnabled = nullptr;
    QCheckBox* m_trayAutostart = nullptr;
    QListWidget* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_calendar = nullptr;
    QCheckBox* m_leap = nullptr;
    QSpinBox* m_month = nullptr;
    QSpinBox* m_day = nullptr;
    QSpinBox* m_firstYear = nullptr;
    QLabel* m_status = nullptr;
};
