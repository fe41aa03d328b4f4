// The About box: icon, program name and version, one button.
#pragma once

#include <QDialog>
#include <QIcon>

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

// The program icon at 16, 32, 48 and 128 pixels.
QIcon ProgramIcon();
