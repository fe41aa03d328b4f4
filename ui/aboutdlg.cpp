#include "aboutdlg.h"

#include <QLabel>
#include <QPushButton>

#include "fontset.h"

void InitQovResources()
{
    // The resources live in a static library; make sure they are linked in.
    Q_INIT_RESOURCE(qov);
}

QIcon ProgramIcon()
{
    InitQovResources();
    QIcon icon;
    for (const int size : {16, 32, 48, 128})
        icon.addFile(QStringLiteral(":/qov/qov-%1.png").arg(size), QSize(size, size));
    return icon;
}

// 235 x 55 dialog units at 1.75 pixels each: about 411 x 96 pixels.
CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral(u"关于 qov"));
    setWindowFlags(
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(411, 96);
    setWindowIcon(ProgramIcon());
    // The main window's face: a dialog does not inherit its owner's font.
    setFont(SongFont(12, devicePixelRatioF()));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(ProgramIcon().pixmap(QSize(32, 32)));
    icon->setGeometry(19, 17, 32, 32);

    auto* version = new QLabel(QStringLiteral("qov Version 1.0"), this);
    version->setObjectName(QStringLiteral("aboutVersion"));
    version->setGeometry(70, 17, 200, 16);

    auto* ok = new QPushButton(QStringLiteral(u"确定"), this);
    ok->setObjectName(QStringLiteral("aboutOkButton"));
    ok->setGeometry(314, 14, 79, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
