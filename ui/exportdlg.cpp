#include "exportdlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

#include "fontset.h"
#include "model/monthpage.h"

QString SaveICalendar(const QString& path, qov::ExportRequest request,
    const qov::HolidayTable& holidays, const qov::MyDayList& myDays)
{
    request.stamp = QDateTime::currentSecsSinceEpoch();
    const std::string text = qov::WriteICalendar(request, holidays, myDays);
    if (path == u"-") {
#ifdef Q_OS_WIN
        // The text has its CRLFs already; text mode would double the CRs.
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size()
            && std::fflush(stdout) == 0;
        return written ? QString() : QStringLiteral("standard output: write error");
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(text.data(), static_cast<qint64>(text.size()))
            != static_cast<qint64>(text.size())
        || !file.commit())
        return QDir::toNativeSeparators(path) + QStringLiteral(": ") + file.errorString();
    return {};
}

namespace {

// A row label whose mnemonic moves the focus to `buddy`.
QLabel* Buddy(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

}  // namespace

qov::YearRange DefaultExportYears()
{
    const int year = std::clamp(qov::Today().year, qov::FirstPageYear, qov::LastPageYear);
    return {year, std::min(year + 1, qov::LastPageYear)};
}

CExportDlg::CExportDlg(
    const qov::HolidayTable& holidays, const qov::MyDayList& myDays, QWidget* parent)
    : QDialog(parent), m_holidays(holidays), m_myDays(myDays)
{
    setWindowTitle(QStringLiteral(u"导出日历"));
    setFont(SongFont(12, devicePixelRatioF()));
    auto* form = new QFormLayout;

    const qov::YearRange years = DefaultExportYears();
    auto* range = new QHBoxLayout;
    const auto yearBox = [this, range](int value, const QString& name) {
        auto* box = new QSpinBox(this);
        box->setRange(qov::FirstPageYear, qov::LastPageYear);
        box->setValue(value);
        box->setObjectName(name);
        box->setAccessibleName(
            name == u"exportFirstYear" ? QStringLiteral(u"起始年") : QStringLiteral(u"结束年"));
        range->addWidget(box);
        return box;
    };
    m_first = yearBox(years.first, QStringLiteral("exportFirstYear"));
    range->addWidget(new QLabel(QStringLiteral(u"至"), this));
    m_last = yearBox(years.last, QStringLiteral("exportLastYear"));
    form->addRow(Buddy(QStringLiteral(u"年份(&Y)："), m_first), range);

    auto* kinds = new QVBoxLayout;
    for (const qov::KindInfo& info : qov::ItemKindInfo) {
        auto* box = new QCheckBox(QString::fromUtf8(qov::AsChars(info.name)), this);
        box->setObjectName(QStringLiteral("exportKind-") + QString::fromLatin1(info.key));
        box->setChecked(info.byDefault);
        kinds->addWidget(box);
        m_kinds[static_cast<std::size_t>(info.kind)] = box;
    }
    form->addRow(QStringLiteral(u"内容："), kinds);

    auto* file = new QHBoxLayout;
    m_path = new QLineEdit(this);
    m_path->setMinimumWidth(280);
    m_path->setObjectName(QStringLiteral("exportPath"));
    m_path->setAccessibleName(QStringLiteral(u"文件"));
    m_path->setText(QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                        .filePath(QStringLiteral("qov.ics")));
    file->addWidget(m_path);
    auto* browse = new QPushButton(QStringLiteral(u"浏览(&B)…"), this);
    connect(browse, &QPushButton::clicked, this, &CExportDlg::ChooseFile);
    file->addWidget(browse);
    form->addRow(Buddy(QStringLiteral(u"文件(&F)："), m_path), file);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral(u"导出"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral(u"取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CExportDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CExportDlg::ChooseFile()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral(u"导出日历"),
        m_path->text(), QStringLiteral(u"iCalendar 文件 (*.ics)"));
    if (!path.isEmpty()) m_path->setText(path);
}

void CExportDlg::accept()
{
    qov::ExportRequest request;
    request.years = {
        std::min(m_first->value(), m_last->value()), std::max(m_first->value(), m_last->value())};
    request.kinds = 0;
    for (const qov::KindInfo& info : qov::ItemKindInfo)
        if (m_kinds[static_cast<std::size_t>(info.kind)]->isChecked())
            request.kinds |= qov::KindBit(info.kind);
    const QString path = m_path->text().trimmed();
    QString error;
    if (request.kinds == 0) {
        error = QStringLiteral(u"请至少选择一项内容。");
    } else if (path.isEmpty() || path == u"-") {
        error = QStringLiteral(u"请选择要写入的文件。");
    } else {
        // 201 years of every kind take a few tenths of a second.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        error = SaveICalendar(path, request, m_holidays, m_myDays);
        QApplication::restoreOverrideCursor();
    }
    if (!error.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral(u"无法导出日历：") + error);
        return;
    }
    QDialog::accept();
}
