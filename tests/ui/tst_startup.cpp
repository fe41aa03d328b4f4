// How the program starts: the command line (help, version, --date and its
// refusals), Qt's own texts in Chinese, the program itself started with
// arguments, offscreen, saving its first paint, without any Chinese face, and
// the single-instance lock across program starts.
#include <QApplication>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "calendarapp.h"
#include "commandline.h"
#include "model/colors.h"
#include "model/geometry.h"
#include "model/monthpage.h"
#include "platform/singleinstance.h"
#include "uitest.h"

using namespace Qt::StringLiterals;
using uitest::Columns, uitest::Fetch;

namespace {

// The text of a menu action without its mnemonic and shortcut:
// "复制(&C)\tCtrl+C" -> "复制".
QString Bare(QString text)
{
    text = text.section(u'\t', 0, 0);
    return text.remove(QRegularExpression(u"\\(&.\\)|&"_s));
}

struct Finished {
    int status = -1;
    QString out, err;
};

// Runs the program to its end with extra environment settings; its own
// runtime folder, so that no other copy counts as the first.
Finished RunProgram(const QStringList& arguments, const QStringList& environment)
{
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
    for (const QString& setting : environment)
        setting.contains(u'=') ? env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1))
                               : env.remove(setting);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QOV_APP_PATH), arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT

    QTranslator m_qtChinese;

private Q_SLOTS:
    void initTestCase() { QVERIFY(CCalendarApp::LoadQtChinese(m_qtChinese)); }

    void parse_data()
    {
        // status: -1: the window starts; date: the page asked for, ISO; text: part of what is
        // printed
        Columns<QStringList, bool, int, QString, QString>(
            "arguments", "chinese", "status", "date", "text");

        // Arguments separated by spaces; texts, each part of what is printed, by '|'.
        const auto row = [](const char* name, const char* args, bool zh, int status,
                             const char* date, const char* text) {
            QTest::newRow(name) << QString::fromUtf8(args).split(u' ', Qt::SkipEmptyParts) << zh
                                << status << QString::fromUtf8(date) << QString::fromUtf8(text);
        };
        row("none", "", false, -1, "", "");
        row("--help zh", "--help", true, 0, "", "用法：|  -h, --help, -?");
        row("-h en", "-h", false, 0, "", "Usage: |--date <YYYY-MM-DD>");
        row("--version zh", "--version", true, 0, "", "qov 万年历 1.0\n");
        row("-v en", "-v", false, 0, "", "qov Perpetual Calendar 1.0\n");
        row("--date 2008-08-08", "--date 2008-08-08", false, -1, "2008-08-08", "");
        row("--date=2000-02-29", "--date=2000-02-29", false, -1, "2000-02-29", "");  // a leap year
        row("--date 1900-01-01", "--date 1900-01-01", false, -1, "1900-01-01", "");
        row("--date 2100-12-31", "--date 2100-12-31", false, -1, "2100-12-31", "");
        // 1900 is a common year.
        row("--date 1900-02-29", "--date 1900-02-29", true, 2, "", "日期 “1900-02-29” 无效");
        row("--date 2023-04-31", "--date 2023-04-31", false, 2, "", "invalid date '2023-04-31'");
        row("--date 1899-12-31", "--date 1899-12-31", false, 2, "",
            "from 1900-01-01 to 2100-12-31");
        row("--date 2101-01-01", "--date 2101-01-01", false, 2, "", "invalid date");
        row("--date 2008-8-8", "--date 2008-8-8", false, 2, "", "invalid date");
        row("--date 2008-13-01", "--date 2008-13-01", false, 2, "", "invalid date");
        row("--date 20080808", "--date 20080808", false, 2, "", "invalid date");
        row("--date empty", "--date=", false, 2, "", "invalid date ''");
        row("--date no value", "--date", true, 2, "", "qov: ");
        row("--bogus en", "--bogus", false, 2, "", "qov: Unknown option 'bogus'.");
        row("--bogus zh", "--bogus", true, 2, "", "未知选项“bogus”");
        row("stray argument", "2008-08-08", false, 2, "", "unexpected argument '2008-08-08'");
        row("Qt options kept", "-platform offscreen -style=fusion -reverse --date 2001-01-01",
            false, -1, "2001-01-01", "");
    }
    void parse()
    {
        auto [arguments, chinese, status, date, text] =
            Fetch<QStringList, bool, int, QString, QString>(
                "arguments", "chinese", "status", "date", "text");
        if (chinese) QCoreApplication::installTranslator(&m_qtChinese);
        arguments.prepend(u"qov"_s);
        const StartOptions options = ParseCommandLine(arguments, chinese);
        QCoreApplication::removeTranslator(&m_qtChinese);

        QCOMPARE(options.exitStatus.value_or(-1), status);
        for (const QString& part : text.split(u'|'))
            QVERIFY2(options.text.contains(part), qPrintable(options.text));
        if (status == 2) QVERIFY2(options.text.contains(u"--help"_s), qPrintable(options.text));
        const QString got = options.date
            ? QDate(options.date->year, options.date->month, options.date->day)
                  .toString(Qt::ISODate)
            : QString();
        QCOMPARE(got, date);
    }

    // Qt's own texts as the window shows them, Chinese (qt6-translations-l10n).
    void qtChinese_data()
    {
        Columns<QString, QString>("shortcut", "text");
        QTest::newRow("Ctrl+C") << u"Ctrl+C"_s << u"复制"_s;
        QTest::newRow("Ctrl+A") << u"Ctrl+A"_s << u"全选"_s;
        QTest::newRow("Ctrl+V") << u"Ctrl+V"_s << u"粘贴"_s;
        QTest::newRow("Ctrl+X") << u"Ctrl+X"_s << u"剪切"_s;
    }
    void qtChinese()
    {
        const auto [shortcut, text] = Fetch<QString, QString>("shortcut", "text");
        QCoreApplication::installTranslator(&m_qtChinese);
        QLineEdit edit(u"甲子"_s);
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        const QString cancel = buttons.button(QDialogButtonBox::Cancel)->text();
        QCoreApplication::removeTranslator(&m_qtChinese);

        QString found;
        for (const QAction* action : menu->actions())
            if (action->text().endsWith(u'\t' + shortcut)) found = Bare(action->text());
        QCOMPARE(found, text);
        QCOMPARE(Bare(cancel), u"取消"_s);
    }

    // The program run. Refusals and help need no display and end before any
    // window: a window attempt on xcb with no DISPLAY would abort instead.
    // Otherwise the window opens on the page asked for with that day
    // selected: the selection fill lies in that day's cell of the first paint.
    void program_data()
    {
        // locale: empty: a window, offscreen; date: the day selected in the first paint
        Columns<QStringList, QString, int, QString, QString, QDate>(
            "arguments", "locale", "status", "out", "err", "date");
        QTest::newRow("--date 2023-02-29 zh")
            << QStringList{u"--date"_s, u"2023-02-29"_s} << u"zh_CN.UTF-8"_s << 2 << QString()
            << u"qov: 日期 “2023-02-29” 无效"_s << QDate();
        QTest::newRow("--date x en") << QStringList{u"--date"_s, u"x"_s} << u"C"_s << 2 << QString()
                                     << u"qov: invalid date 'x'"_s << QDate();
        QTest::newRow("--help zh") << QStringList{u"--help"_s} << u"zh_CN.UTF-8"_s << 0
                                   << u"在命令行选项上显示帮助"_s << QString() << QDate();
        QTest::newRow("--version en") << QStringList{u"--version"_s} << u"C"_s << 0
                                      << u"qov Perpetual Calendar 1.0\n"_s << QString() << QDate();
        QTest::newRow("--date 2008-08-08") << QStringList{u"--date"_s, u"2008-08-08"_s} << QString()
                                           << 0 << QString() << QString() << QDate(2008, 8, 8);
        QTest::newRow("--date=1900-01-01") << QStringList{u"--date=1900-01-01"_s} << QString() << 0
                                           << QString() << QString() << QDate(1900, 1, 1);
        QTest::newRow("none") << QStringList{} << QString() << 0 << QString() << QString()
                              << QDate::currentDate();
    }
    void program()
    {
        const auto [arguments, locale, status, out, err, date] =
            Fetch<QStringList, QString, int, QString, QString, QDate>(
                "arguments", "locale", "status", "out", "err", "date");
        QTemporaryDir dir;
        const QString shot = dir.filePath(u"shot.png"_s);
        const Finished run = RunProgram(arguments,
            locale.isEmpty()
                ? QStringList{u"QT_QPA_PLATFORM=offscreen"_s, u"QOV_SNAPSHOT="_s + shot}
                : QStringList{u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"LANGUAGE"_s,
                    u"QT_QPA_PLATFORM=xcb"_s, u"LC_ALL="_s + locale, u"QOV_SNAPSHOT="_s + shot});
        QCOMPARE(run.status, status);
        if (!date.isValid()) {
            QVERIFY2(
                out.isEmpty() ? run.out.isEmpty() : run.out.contains(out), qPrintable(run.out));
            QVERIFY2(
                err.isEmpty() ? run.err.isEmpty() : run.err.contains(err), qPrintable(run.err));
            QVERIFY(!QFile::exists(shot));
            return;
        }
        const QImage picture(shot);
        QCOMPARE(picture.size(), QSize(680, 505));
        const qov::MonthPage page(date.year(), date.month(), date.day());
        const qov::Rect cell = qov::CellRect(page.SelectedCell().row, page.SelectedCell().column);
        const QRgb fill = uitest::Rgb(qov::colors::Selection);
        const int inCell = uitest::CountColour(picture, cell, fill);
        const int elsewhere = uitest::CountColour(picture, {0, 0, 680, 505}, fill) - inCell;
        // Most of the cell's background; no other cell is selected.
        QVERIFY2(inCell > cell.Width() * cell.Height() / 3, qPrintable(QString::number(inCell)));
        QVERIFY2(elsewhere < inCell / 10, qPrintable(QString::number(elsewhere)));
    }

    // Without any Chinese face the program says once on standard error which
    // packages bring one, and runs on.
    void missingChineseFont()
    {
        QTemporaryDir dir;
        QFile config(dir.filePath(u"fonts.conf"_s));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("<?xml version=\"1.0\"?><fontconfig><dir>" + QFile::encodeName(dir.path())
            + "</dir><cachedir>" + QFile::encodeName(dir.path()) + "</cachedir></fontconfig>\n");
        config.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"FONTCONFIG_FILE"_s, config.fileName());
        env.insert(u"XDG_RUNTIME_DIR"_s, dir.path());  // a lock of its own
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(QOV_APP_PATH), {});
        QVERIFY(program.waitForStarted(5000));
        QByteArray err;
        QTRY_VERIFY_WITH_TIMEOUT(
            (err += program.readAllStandardError()).contains("fonts-wqy-microhei"), 10000);
        QVERIFY2(
            err.contains("no font for Chinese text") && err.count("qov:") == 1, err.constData());
        QTest::qWait(300);
        QCOMPARE(program.state(), QProcess::Running);
        program.kill();
        QVERIFY(program.waitForFinished(5000));
    }

    // A lock file that cannot be opened (a directory in its place) lets the
    // program run instead of counting as another instance. Later starts and
    // a start after kill -9 are the tray script's (tests/tray).
    void singleInstance()
    {
        QTemporaryDir dir;
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
        QVERIFY(QDir(dir.path()).mkdir(u"Blocked.lock"_s));
        const CSingleInstance blocked(u"Blocked"_s);
        QVERIFY(!blocked.AnotherIsRunning() && !CSingleInstance(u"Blocked"_s).AnotherIsRunning());
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
