// "导出日历…": the calendar export from the window, and the file writing the
// command line's --export-ics shares with it.
#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "model/icalendar.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

// Writes the calendar of `request` (its stamp set to now) to `path`, "-"
// for standard output. A file is replaced whole or not at all (QSaveFile).
// Returns "" on success, else why it failed.
QString SaveICalendar(const QString& path, qov::ExportRequest request,
    const qov::HolidayTable& holidays, const qov::MyDayList& myDays);

// This year and the next, within the years the calendar knows.
qov::YearRange DefaultExportYears();

class CExportDlg : public QDialog {
    Q_OBJECT

public:
    // The schedule and the user's days as the window shows them.
    CExportDlg(
        const qov::HolidayTable& holidays, const qov::MyDayList& myDays, QWidget* parent = nullptr);

    // Exports what the controls say to the chosen file; stays open with a
    // message when the file cannot be written.
    void accept() override;

private:
    void ChooseFile();

    const qov::HolidayTable& m_holidays;
    const qov::MyDayList& m_myDays;
    QSpinBox* m_first = nullptr;
    QSpinBox* m_last = nullptr;
    std::array<QCheckBox*, qov::ItemKindCount> m_kinds{};
    QLineEdit* m_path = nullptr;
};
