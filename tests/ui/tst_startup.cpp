// How the program starts: the command line (help, version, --date and its
// refusals), Qt's own texts in Chinese, the program itself started with
// arguments, offscreen, saving its first paint, also without any Chinese
// face, and a lock file that cannot be taken.
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>

#include "calendarapp.h"
#include "commandline.h"
#include "model/colors.h"
#include "platform/instancechannel.h"
#include "platform/singleinstance.h"
#include "uitest.h"

using namespace Qt::StringLiterals;
using uitest::Columns, uitest::Fetch;

class TestStartup : public QObject {
    Q_OBJECT

    QTranslator m_qtChinese;
    QTemporaryDir m_noFonts;  // a fontconfig setup that finds no face at all

private Q_SLOTS:
    // Qt's own texts as the window shows them, Chinese (qt6-translations-l10n).
    void initTestCase()
    {
        QVERIFY(CCalendarApp::LoadQtChinese(m_qtChinese));
        QCoreApplication::installTranslator(&m_qtChinese);
        const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"取消"_s);
        QCoreApplication::removeTranslator(&m_qtChinese);
        const QByteArray dir = QFile::encodeName(m_noFonts.path());
        QVERIFY(uitest::WriteFile(m_noFonts.filePath(u"fonts.conf"_s),
            "<?xml version=\"1.0\"?><fontconfig><dir>" + dir + "</dir><cachedir>" + dir
                + "</cachedir></fontconfig>\n"));
    }

    void parse_data()
    {
        // status: -1: the window starts; date: the page asked for, ISO; text: parts of what is
        // printed, separated by '|'
        Columns<QStringList, bool, int, QString, QString>(
            "arguments", "chinese", "status", "date", "text");
        // Each row is named by its arguments.
        const auto row = [](const char* args, bool zh, int status, const char* date,
                             const char* text) {
            QTest::addRow("%s%s", args, zh ? " (zh)" : "")
                << QString::fromUtf8(args).split(u' ', Qt::SkipEmptyParts) << zh << status
                << QString::fromUtf8(date) << QString::fromUtf8(text);
        };
        row("", false, -1, "", "");
        row("--help", true, 0, "", "用法：|  -h, --help, -?");
        row("-h", false, 0, "",
            "Usage: |--date <YYYY-MM-DD>|(default\n"
            "                          terms,holidays,lunar-festivals,gregorian-festivals).");
        row("--version", true, 0, "", "qov 万年历 1.0\n");
        row("--date=1900-01-01", false, -1, "1900-01-01", "");
        row("--date 2100-12-31", false, -1, "2100-12-31", "");
        row("--date 1900-02-29", true, 2, "", "日期 “1900-02-29” 无效");  // a common year
        row("--date 2023-04-31", false, 2, "", "invalid date '2023-04-31'");
        row("--date 1899-12-31", false, 2, "", "from 1900-01-01 to 2100-12-31");
        row("--date 2101-01-01", false, 2, "", "invalid date");
        row("--date 2008-8-8", false, 2, "", "invalid date");
        row("--date 2008-13-01", false, 2, "", "invalid date");
        row("--date", true, 2, "", "qov: ");
        // Plain http only to a literal loopback address.
        row("--holiday-source http://127.0.0.1:8080/{year}.json", false, -1, "", "");
        row("--holiday-source http://[::1]/{year}.json", false, -1, "", "");
        row("--holiday-source http://[::ffff:127.0.0.1]/{year}.json", false, -1, "", "");
        row("--holiday-source http://localhost/{year}.json", false, 2, "",
            "only https is accepted");
        row("--holiday-source http://127.0.0.256/{year}.json", false, 2, "",
            "only https is accepted");
        row("--holiday-source https://example.org/a.json", true, 2, "",
            "下载地址 “https://example.org/a.json” 无效：the address has no {year}");
        row("--bogus", false, 2, "", "qov: Unknown option 'bogus'.");
        row("2008-08-08", false, 2, "", "unexpected argument '2008-08-08'");
        row("-platform offscreen -style=fusion -reverse --date 2001-01-01", false, -1, "2001-01-01",
            "");
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
        QCOMPARE(options.date ? uitest::DateText(*options.date) : QString(), date);
    }

    // The program run. Refusals and help need no display and end before any
    // window: a window attempt on xcb with no DISPLAY would abort instead.
    // Otherwise the window opens on the page asked for with that day
    // selected: the selection fill lies in that day's cell of the first paint.
    // Without any Chinese face it says once on standard error which packages
    // bring one, and runs on.
    void program_data()
    {
        // err: part of standard error, its one line from qov; date: the day selected in the
        // first paint
        Columns<QStringList, QStringList, int, QString, QString, QDate>(
            "arguments", "environment", "status", "out", "err", "date");
        const auto console = [](const QString& locale) {
            return QStringList{u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"LANGUAGE"_s,
                u"QT_QPA_PLATFORM=xcb"_s, u"LC_ALL="_s + locale};
        };
        const QStringList offscreen{u"QT_QPA_PLATFORM=offscreen"_s};
        const auto row = [](const QStringList& args, const QStringList& env, int status,
                             const char* out, const char* err, QDate date) {
            QTest::addRow("%s", qPrintable(args.join(u' ') + u' ' + env.last()))
                << args << env << status << QString::fromUtf8(out) << QString::fromUtf8(err)
                << date;
        };
        // Qt's own message, translated: the translator is loaded without a window.
        row({u"--bogus"_s}, console(u"zh_CN.UTF-8"_s), 2, "", "qov: 未知选项“bogus”", {});
        row({u"-v"_s}, console(u"C"_s), 0, "qov Perpetual Calendar 1.0\n", "", {});
        row({u"--date"_s, u"2008-08-08"_s}, offscreen, 0, "", "", QDate(2008, 8, 8));
        // No arguments: today.
        row({},
            offscreen + QStringList{u"FONTCONFIG_FILE="_s + m_noFonts.filePath(u"fonts.conf"_s)}, 0,
            "", "no font for Chinese text", QDate::currentDate());
    }
    void program()
    {
        const auto [arguments, environment, status, out, errPart, date] =
            Fetch<QStringList, QStringList, int, QString, QString, QDate>(
                "arguments", "environment", "status", "out", "err", "date");
        // Its own runtime folder, so that no other copy counts as the first.
        const QTemporaryDir dir;
        const QString shot = dir.filePath(u"shot.png"_s);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_RUNTIME_DIR"_s, dir.path());
        env.insert(u"QOV_SNAPSHOT"_s, shot);
        // "NAME=value" sets, "NAME" removes.
        for (const QString& setting : environment)
            setting.contains(u'=')
                ? env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1))
                : env.remove(setting);
        QProcess run;
        run.setProcessEnvironment(env);
        run.start(QStringLiteral(QOV_APP_PATH), arguments);
        QVERIFY(run.waitForFinished(20000) && run.exitStatus() == QProcess::NormalExit);
        QCOMPARE(run.exitCode(), status);
        const QString said = QString::fromUtf8(run.readAllStandardOutput());
        const QString err = QString::fromUtf8(run.readAllStandardError());
        QVERIFY2(out.isEmpty() ? said.isEmpty() : said.contains(out), qPrintable(said));
        QVERIFY2(err.contains(errPart) && err.count(u"qov:"_s) == (errPart.isEmpty() ? 0 : 1),
            qPrintable(err));
        QCOMPARE(QFile::exists(shot), date.isValid());
        if (!date.isValid()) return;
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

    // A lock file that cannot be opened (a directory in its place) lets the
    // program run instead of counting as another instance. Later starts and
    // a start after kill -9 are the tray script's (tests/tray). A hand-over
    // that no copy answers fails, so that the start runs on.
    void singleInstance()
    {
        const QTemporaryDir dir;
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
        QVERIFY(QDir(dir.path()).mkdir(u"Blocked.lock"_s));
        const CSingleInstance blocked(u"Blocked"_s);
        QVERIFY(!blocked.AnotherIsRunning() && !CSingleInstance(u"Blocked"_s).AnotherIsRunning());
        QVERIFY(!HandOver(u"Blocked"_s, {}, 200));
        // A copy that answers and keeps the connection open: its answer ends the wait.
        QProcess held;
        held.start(u"python3"_s,
            {u"-c"_s,
                u"import socket, sys, time\ns = "
                u"socket.socket(socket.AF_UNIX)\ns.bind(sys.argv[1])\n"
                "s.listen()\nprint(flush=True)\nc = s.accept()[0]\nc.recv(64)\nc.send(b'ok\\n')\n"
                "time.sleep(9)"_s,
                ChannelName(u"Held"_s)});
        QVERIFY(held.waitForReadyRead(5000));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(HandOver(u"Held"_s, {}, 5000) && clock.elapsed() < 2500);
        held.kill();
        held.waitForFinished();
        // A channel path longer than a socket address holds is refused, never cut.
        const QString deep = dir.filePath(QString(100, u'd'));
        QVERIFY(QDir().mkpath(deep));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(deep));
        QVERIFY(!CInstanceServer(u"Blocked"_s).IsListening());
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
