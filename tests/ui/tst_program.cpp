// The program around the window. How it starts: the command line (help,
// version, --date and its refusals), Qt's own texts in Chinese, the program
// itself started with arguments, offscreen, saving its first paint, also
// without any Chinese face, and a lock file that cannot be taken.
// Preferences: qov.conf read (defaults, values, malformed and unreadable
// files) and written (every line the user wrote kept), the dialog "设置…"
// with its list of the user's days (unreadable lines kept, a file changed on
// disk not overwritten), and a Monday-first page with a kind switched off
// and a lunar birthday at chosen pixels at 100 % and 200 %.
// The program in the panel: the leaf icon and its tip as the window's
// settings and the user's days have it, the menu and the click, hiding on
// close and the tray's switch put in force at once, today's ring, and (run
// under faketime by tray_test.sh) midnight and a jump of the clock.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>

#include "calendarapp.h"
#include "calendarhost.h"
#include "platform/instancechannel.h"
#include "platform/singleinstance.h"
#include "platform/todaywatch.h"
#include "settings/settingsdlg.h"
#include "trayleaf.h"
#include "traysettings.h"
#include "uitest.h"
#include "userfiles/mydaysfile.h"

using namespace Qt::StringLiterals;
using uitest::Columns, uitest::Fetch, uitest::ReadFile, uitest::WriteFile;

namespace {

// "M" for Monday first, then one letter per switch on: t l g i w h, u, e a.
QString Summary(const QovSettings& s)
{
    QString text = s.weekStart == qov::WeekStart::Monday ? u"M"_s : u"S"_s;
    const std::pair<bool, char16_t> flags[] = {{s.terms, u't'}, {s.lunarFestivals, u'l'},
        {s.gregorianFestivals, u'g'}, {s.internationalDays, u'i'}, {s.westernFestivals, u'w'},
        {s.holidayMarks, u'h'}, {s.autoUpdate, u'u'}, {s.trayEnabled, u'e'},
        {s.trayAutostart, u'a'}};
    for (const auto& [on, letter] : flags)
        if (on) text += QChar(letter);
    return text;
}

qov::SolarDate FromQDate(QDate d) { return {d.year(), d.month(), d.day()}; }

// Exact festival-red pixels down the left edge of the cell of `date` on the
// dialog's page; -1 when the page does not show that date.
int RingPixels(const CCalendarDlg& dlg, QDate date, qreal ratio)
{
    const qov::MonthPage& page = dlg.page();
    for (int row = 0; row < qov::grid::Rows; ++row)
        for (int column = 0; column < qov::grid::Columns; ++column)
            if (page.CellAt(row, column) == FromQDate(date)) {
                // The cell's left edge, below the day number's reach.
                const qov::Rect cell = qov::CellRect(row, column);
                return uitest::CountColour(dlg.RenderPicture(ratio),
                    {cell.left, cell.top + 8, cell.left + 3, cell.bottom - 8},
                    uitest::Rgb(qov::colors::Red));
            }
    return -1;
}

}  // namespace

class TestProgram : public uitest::DialogTest {
    Q_OBJECT

    QTranslator m_qtChinese;
    QTemporaryDir m_noFonts;  // a fontconfig setup that finds no face at all
    // The folder of qov.conf and mydays.tsv, in the $XDG_CONFIG_HOME of this test.
    QString Folder() const { return qEnvironmentVariable("XDG_CONFIG_HOME") + u"/qov"_s; }
    QString Conf() const { return Folder() + u"/qov.conf"_s; }
    QString MyDays() const { return Folder() + u"/mydays.tsv"_s; }

private Q_SLOTS:
    // Qt's own texts as the window shows them, Chinese (qt6-translations-l10n).
    void initTestCase()
    {
        QVERIFY(uitest::MakeRuntimeDir());
        QCOMPARE(settings::FilePath(), Conf());
        QCOMPARE(CMyDaysFile::UserFilePath(), MyDays());
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
    void init() { QDir(Folder()).removeRecursively(); }
    void cleanup() { m_dlg.reset(); }

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
    void load_data()
    {
        // bytes: "<none>" no file, "<folder>" a folder; read: the settings read (Summary) and
        // the message, past the file's name
        Columns<QByteArray, QString>("bytes", "read");
        const auto row = [](const char* name, const char* bytes, const char* read) {
            QTest::newRow(name) << QByteArray(bytes) << QString::fromUtf8(read);
        };
        row("missing", "<none>", "Stlgiwhue|");
        row("values",
            "# mine\n[calendar]\nweekStart=Monday ; ISO\n[show]\nterms = false\n[tray]\n"
            "autostart=TRUE\n",
            "Mlgiwhuea|");
        row("malformed", "[calendar\nweekStart=monday\n",
            "Stlgiwhue|is not an INI file; the default settings are used");
        row("bad values",
            "[calendar]\nweekStart=tuesday\n[show]\nterms=maybe\nholidayMarks=false\n",
            "Stlgiwue|show/terms is not true or false, calendar/weekStart is not sunday or monday; "
            "the default is used for them");
        row("folder", "<folder>",
            "Stlgiwhue|is a folder, not a file; the default settings are used");
    }
    void load()
    {
        const auto [bytes, read] = Fetch<QByteArray, QString>("bytes", "read");
        if (bytes == "<folder>")
            QVERIFY(QDir().mkpath(Conf()));
        else if (bytes != "<none>")
            QVERIFY(WriteFile(Conf(), bytes));
        QString said;
        const QString summary = Summary(settings::Load(Conf(), said));
        QCOMPARE(summary + u'|' + said.remove(Conf() + u": "_s), read);
    }

    // A save changes the values that changed, in place, adds the missing keys
    // to their groups, and keeps every other byte; reading it back gives the
    // values saved. A file that cannot be read is never replaced.
    void saveKeepsLines()
    {
        const QByteArray mine =
            "; my settings\r\n[calendar]\r\nweekStart = sunday   ; or monday\r\n"
            "colour=blue\r\n\r\n[show]\r\nterms=true\r\nnot a key\r\n"
            "[other]\r\nx=1\r\n[show]\r\ninternationalDays=True\r\n";
        QVERIFY(WriteFile(Conf(), mine));
        QovSettings values;
        values.weekStart = qov::WeekStart::Monday;
        values.westernFestivals = false;
        values.trayAutostart = true;
        QString error;
        QVERIFY(settings::Save(Conf(), values, error));
        QCOMPARE(ReadFile(Conf()),
            QByteArray(
                "; my settings\r\n[calendar]\r\nweekStart = monday   ; or monday\r\n"
                "colour=blue\r\n\r\n[show]\r\nterms=true\r\nnot a key\r\n"
                "[other]\r\nx=1\r\n[show]\r\ninternationalDays=True\r\n"
                "lunarFestivals=true\r\ngregorianFestivals=true\r\nwesternFestivals=false\r\n"
                "holidayMarks=true\r\n\r\n[holidays]\r\nautoUpdate=true\r\n\r\n[tray]\r\n"
                "enabled=true\r\nautostart=true\r\n"));
        QString message;
        QCOMPARE(settings::Load(Conf(), message), values);
        QVERIFY(message.isEmpty());

        QVERIFY(QFile::remove(Conf()));
        QVERIFY(QDir().mkpath(Conf()));
        QVERIFY(!settings::Save(Conf(), values, error));
        QVERIFY(error.endsWith(u"is a folder, not a file"_s));
    }

    // The dialog shows the settings, edits the user's days, keeps the lines
    // it cannot read, and saves both files on OK.
    void dialogSaves()
    {
        QVERIFY(WriteFile(Conf(), "# kept\n[calendar]\nweekStart=sunday\n"));
        QVERIFY(WriteFile(MyDays(), "# 家人\n公历\t02-30\t写错\n农历\t08-15\t中秋\t1990\n"));
        CSettingsDlg dialog(QovSettings{}, Conf(), MyDays());
        auto* list = dialog.findChild<QListWidget*>(u"myDayList"_s);
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), u"农历 8月15日 中秋 (1990)"_s);
        QVERIFY(dialog.findChild<QLabel*>(u"myDayStatus"_s)->text().startsWith(u"mydays.tsv:2"_s));
        for (QWidget* w : dialog.findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w)
                || qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QListWidget*>(w)
                || (qobject_cast<QLineEdit*>(w) && !w->objectName().startsWith(u"qt_"_s));
            if (control) QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        }

        dialog.findChild<QComboBox*>(u"weekStartBox"_s)->setCurrentIndex(1);
        dialog.findChild<QCheckBox*>(u"showInternationalDays"_s)->setChecked(false);
        dialog.findChild<QCheckBox*>(u"trayEnabled"_s)->setChecked(false);
        dialog.findChild<QCheckBox*>(u"trayAutostart"_s)->setChecked(true);
        dialog.findChild<QLineEdit*>(u"myDayName"_s)->setText(u"外婆生日"_s);
        dialog.findChild<QComboBox*>(u"myDayCalendar"_s)->setCurrentIndex(1);
        dialog.findChild<QSpinBox*>(u"myDayMonth"_s)->setValue(4);
        dialog.findChild<QCheckBox*>(u"myDayLeap"_s)->setChecked(true);
        dialog.findChild<QSpinBox*>(u"myDayDay"_s)->setValue(30);
        dialog.findChild<QSpinBox*>(u"myDayFirstYear"_s)->setValue(1948);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"myDayAdd"_s), Qt::LeftButton);
        QCOMPARE(list->count(), 2);
        list->setCurrentRow(0);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"myDayRemove"_s), Qt::LeftButton);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(ReadFile(MyDays()), "# 家人\n公历\t02-30\t写错\n农历\t闰04-30\t外婆生日\t1948\n");
        QVERIFY(ReadFile(Conf()).startsWith("# kept\n[calendar]\nweekStart=monday\n"));
        QString message;
        QCOMPARE(Summary(settings::Load(Conf(), message)), u"Mtlgwhua"_s);
        QVERIFY(ReadFile(AutostartFilePath()).contains("\nExec=qov --tray\n"));
        // Switched off again: the entry goes.
        CSettingsDlg again(settings::Load(Conf(), message), Conf(), MyDays());
        again.findChild<QCheckBox*>(u"trayAutostart"_s)->setChecked(false);
        again.accept();
        QVERIFY(!QFile::exists(AutostartFilePath()));
    }

    // A mydays.tsv changed on disk while the dialog was open is read again,
    // not overwritten, and the dialog stays open saying so.
    void dialogKeepsChangesOnDisk()
    {
        QVERIFY(WriteFile(MyDays(), "公历\t01-01\t甲\n"));
        CSettingsDlg dialog(QovSettings{}, Conf(), MyDays());
        auto* list = dialog.findChild<QListWidget*>(u"myDayList"_s);
        list->setCurrentRow(0);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"myDayRemove"_s), Qt::LeftButton);
        QCOMPARE(list->count(), 0);
        QVERIFY(WriteFile(MyDays(), "公历\t01-01\t甲\n公历\t01-02\t乙\n"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(ReadFile(MyDays()), "公历\t01-01\t甲\n公历\t01-02\t乙\n");
        QCOMPARE(list->count(), 2);
        QVERIFY(dialog.findChild<QLabel*>(u"myDayStatus"_s)->text().contains(u"已在别处修改"_s));
    }

    // June 2020 begins on a Monday; qov.conf read at start puts Monday first
    // and 国际禁毒日 (Friday 26 June, row 3) off. The header ends with a red
    // 日; Sunday 21 June (row 2) has a red number in the last column; the
    // lunar birthday 闰四月三十 falls on Saturday 20 June (row 2).
    void mondayPage_data()
    {
        Columns<qreal>("ratio");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("200 %") << 2.0;
    }
    void mondayPage()
    {
        const auto [ratio] = Fetch<qreal>("ratio");
        QVERIFY(WriteFile(MyDays(), "农历\t闰04-30\t外婆生日\t1948\n"));
        QVERIFY(
            WriteFile(Conf(), "[calendar]\nweekStart=monday\n[show]\ninternationalDays=false\n"));
        Open();
        m_dlg->SelectDate(qov::MonthPage(2020, 6, 1));
        const auto count = [this, ratio](const qov::Rect& r, qov::Rgb c) {
            return uitest::CountColour(m_dlg->RenderPicture(ratio), r, uitest::Rgb(c));
        };
        // The header's Sunday red, smoothed at 200 %.
        const auto reddish = [this, ratio](int column) {
            return uitest::CountPixels(m_dlg->RenderPicture(ratio),
                QRect(5 + 70 * column, 32, 70, 20),
                [](QRgb p) { return qRed(p) > 180 && qGreen(p) < 100 && qBlue(p) < 100; });
        };
        QVERIFY(reddish(6) > 10);
        QCOMPARE(reddish(0), 0);
        QVERIFY(count(qov::CellUpperRect(2, 6), qov::colors::Red) > 10);
        QCOMPARE(count(qov::CellUpperRect(3, 0), qov::colors::Red), 0);  // Monday 22 June
        QVERIFY(count(qov::CellLowerRect(2, 5), qov::colors::MyDay) > 10);
        QCOMPARE(count(qov::CellLowerRect(3, 4), qov::colors::DarkBlue), 0);
        QovSettings values = m_dlg->settings();
        values.internationalDays = true;
        m_dlg->ApplySettings(values);
        QVERIFY(count(qov::CellLowerRect(3, 4), qov::colors::DarkBlue) > 10);

        // Clicks, keys and the screen reader follow the columns.
        QTest::mouseClick(m_dlg.get(), Qt::LeftButton, {}, uitest::CellCentre(2, 5));
        QCOMPARE(uitest::DateText(m_dlg->selectedDate()), u"2020-06-20"_s);
        const auto spoken = [this] {
            auto* grid = Child<CGridFocus>(u"monthGrid"_s);
            return grid->Texts(grid->selection().row, grid->selection().column).description;
        };
        QVERIFY2(spoken().contains(u"外婆生日 第73个"_s), qPrintable(spoken()));
        QTest::keyClick(Child(u"monthGrid"_s), Qt::Key_Down);
        QCOMPARE(m_dlg->page().SelectedCell().column, 5);
        // The window follows the file as it changes.
        QTest::keyClick(Child(u"monthGrid"_s), Qt::Key_Up);
        QVERIFY(WriteFile(MyDays(), "农历\t闰04-30\t姥姥生日\n"));
        QTRY_VERIFY(spoken().contains(u"姥姥生日"_s));
        QCOMPARE(m_dlg->findChild<QAction*>(u"settingsAction"_s)->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_Comma));
    }
    // The band in the festival red along the top, the paper white below it,
    // the number's ink in the paper; at 1x and at 2x for HiDPI.
    void leaf_data()
    {
        Columns<int, int>("day", "pixels");
        for (const int pixels : {16, 22, 32, 64})
            for (const int day : {7, 28})
                QTest::addRow("%d at %d px", day, pixels) << day << pixels;
    }
    void leaf()
    {
        const auto [day, pixels] = Fetch<int, int>("day", "pixels");
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage leaf = LeafIcon(day).pixmap(QSize(pixels, pixels), ratio).toImage();
            const int size = qRound(pixels * ratio);
            const int band = uitest::CountPixels(
                leaf, {0, 0, pixels, pixels / 4}, [](QRgb p) { return p == LeafBandColour(); });
            const int ink = uitest::CountPixels(leaf, {0, pixels / 2, pixels, pixels / 2},
                [](QRgb p) { return qAlpha(p) == 255 && qGray(p) < 100; });
            // Most of the band's width on the top quarter's rows.
            QVERIFY2(band > size * size / 8, qPrintable(QString::number(band)));
            QVERIFY2(ink > size * size / 64, qPrintable(QString::number(ink)));
            QVERIFY(leaf != LeafIcon(day + 1).pixmap(QSize(pixels, pixels), ratio).toImage());
        }
    }

    // One item a line; the term, the festivals, the user's days and the
    // holiday only on their days, and only as the window's settings show them.
    void toolTip_data()
    {
        // conf: qov.conf; mine: mydays.tsv
        Columns<QDate, QByteArray, QByteArray, QString>("date", "conf", "mine", "tip");
        QTest::newRow("sectional term") << QDate(2026, 12, 7) << QByteArray() << QByteArray()
                                        << u"2026年12月7日 星期一\n农历十月廿九\n大雪"_s;
        QTest::newRow("festival and day off")
            << QDate(2026, 10, 1) << QByteArray() << QByteArray()
            << u"2026年10月1日 星期四\n农历八月廿一\n国庆节 世界音乐日 国际老人节\n国庆节 休"_s;
        QTest::newRow("lunar festival, working day")
            << QDate(2026, 2, 14) << QByteArray() << QByteArray()
            << u"2026年2月14日 星期六\n农历十二月廿七\n情人节\n春节 调休上班"_s;
        QTest::newRow("leap month") << QDate(2025, 7, 25) << QByteArray() << QByteArray()
                                    << u"2025年7月25日 星期五\n农历闰六月初一"_s;
        QTest::newRow("kinds and marks off")
            << QDate(2026, 10, 1) << "[show]\ninternationalDays=false\nholidayMarks=false\n"_ba
            << QByteArray() << u"2026年10月1日 星期四\n农历八月廿一\n国庆节"_s;
        QTest::newRow("my day, terms off")
            << QDate(2026, 12, 7) << "[show]\nterms=false\n"_ba
            << "公历\t12-07\t外婆生日\t1948\n"_ba
            << u"2026年12月7日 星期一\n农历十月廿九\n外婆生日 第79个"_s;
    }
    void toolTip()
    {
        const auto [date, conf, mine, tip] =
            Fetch<QDate, QByteArray, QByteArray, QString>("date", "conf", "mine", "tip");
        QVERIFY(uitest::WriteFile(settings::FilePath(), conf));
        QVERIFY(uitest::WriteFile(CMyDaysFile::UserFilePath(), mine));
        const CCalendarDlg dlg;
        QCOMPARE(TrayToolTip(FromQDate(date), dlg.DayOptions()), tip);
    }

    // The menu's actions, the click, and closing with the tray and after its
    // switch went off in the preferences.
    void menuAndClose()
    {
        CCalendarHost host(true);
        CCalendarDlg& dlg = *host.dialog();
        QSignalSpy quit(&host, &CCalendarHost::quitRequested);
        QSignalSpy hidden(&dlg, &CCalendarDlg::hiddenToTray);
        const auto action = [&host](const char* name) {
            return host.trayMenu()->findChild<QAction*>(QString::fromLatin1(name));
        };
        QString texts;
        for (const QAction* a : host.trayMenu()->actions()) texts += a->text() + u'|';
        QCOMPARE(texts, u"显示日历|今天||设置…|更新节假日安排||关于|退出|"_s);

        dlg.SetHideOnClose(true);  // as with the tray on
        dlg.SelectDate(qov::MonthPage(2008, 8, 8));
        action("todayAction")->trigger();
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.selectedDate(), qov::Today());
        host.OnActivated(QSystemTrayIcon::Trigger);  // shown: the click hides it
        QVERIFY(!dlg.isVisible());
        dlg.SelectDate(qov::MonthPage(2008, 8, 8));
        host.OnActivated(QSystemTrayIcon::Trigger);
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.selectedDate(), qov::Today());
        dlg.SelectDate(qov::MonthPage(2008, 8, 8));
        dlg.hide();
        action("showAction")->trigger();  // as it was left
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.selectedDate(), (qov::SolarDate{2008, 8, 8}));

        // With the tray on, Esc hides the window and the program stays.
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(hidden.count(), 2);  // the click's hide, then Esc
        QCOMPARE(quit.count(), 0);

        // 显示托盘图标 off: the window comes back, and closing it ends the program.
        QovSettings values = dlg.settings();
        values.trayEnabled = false;
        dlg.ApplySettings(values);
        QVERIFY(host.tray() == nullptr && dlg.isVisible());
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QCOMPARE(quit.count(), 1);
        action("quitAction")->trigger();
        QCOMPARE(quit.count(), 2);
    }

    // The ring on today's cell, on any page where today appears, also on the
    // selection fill; at 100 % and 200 %.
    void todayRing_data()
    {
        Columns<QString, QDate, int>("page", "today", "ring");
        for (const int ratio : {1, 2}) {
            QTest::addRow("selected, %d00 %%", ratio)
                << u"2026-12-07"_s << QDate(2026, 12, 7) << ratio;
            QTest::addRow("next month's cell, %d00 %%", ratio)
                << u"2026-12-31"_s << QDate(2027, 1, 1) << ratio;
        }
    }
    void todayRing()
    {
        const auto [page, today, ratio] = Fetch<QString, QDate, int>("page", "today", "ring");
        CCalendarDlg dlg;
        dlg.SelectDate(uitest::PageOf(page));
        dlg.SetToday(FromQDate(today));
        // The cell's full height but the ends of the rounded corners, in device pixels.
        QVERIFY2(RingPixels(dlg, today, ratio) >= 30 * ratio,
            qPrintable(QString::number(RingPixels(dlg, today, ratio))));
        QCOMPARE(RingPixels(dlg, today.addDays(1), ratio), 0);  // no other cell
    }

    // Under faketime from 23:59:53 on 31 December 2026 (tray_test.sh): the
    // ring, the tray's tip with the user's day and 今天 reach the new year
    // while the page stays on December; then the clock jumps four days and,
    // the window shown, they follow at its clock's next tick.
    void midnight()
    {
        const QString stamp = qEnvironmentVariable("FAKETIME_TIMESTAMP_FILE");
        if (stamp.isEmpty()) QSKIP("runs under faketime, from tray_test.sh");
        QVERIFY(uitest::WriteFile(CMyDaysFile::UserFilePath(), "公历\t01-01\t新年愿望\n"));
        CCalendarHost host(true);
        CCalendarDlg& dlg = *host.dialog();
        host.StartTray();
        QVERIFY(host.tray() != nullptr);  // trayer runs
        host.ShowToday();
        // Made before midnight even on a loaded machine.
        QCOMPARE(uitest::DateText(dlg.today()), u"2026-12-31"_s);
        QVERIFY(host.tray()->toolTip().startsWith(u"2026年12月31日 星期四\n"_s));
        QVERIFY2(host.todayWatch()->RemainingMs() < 7000,
            qPrintable(QString::number(host.todayWatch()->RemainingMs())));

        QTRY_COMPARE_WITH_TIMEOUT(uitest::DateText(dlg.today()), u"2027-01-01"_s, 8000);
        QCOMPARE(dlg.selectedDate(), (qov::SolarDate{2026, 12, 31}));
        QVERIFY(RingPixels(dlg, QDate(2027, 1, 1), 1) > 30);
        QCOMPARE(RingPixels(dlg, QDate(2026, 12, 31), 1), 0);
        QCOMPARE(
            host.tray()->toolTip(), u"2027年1月1日 星期五\n农历十一月廿四\n元旦节\n新年愿望"_s);
        QVERIFY(host.todayWatch()->RemainingMs() > 86000 * 1000);  // the next midnight

        // A day's jump and more, seen by the shown window's clock.
        QVERIFY(uitest::WriteFile(stamp, "@2027-01-05 12:00:00\n"));
        QTRY_COMPARE_WITH_TIMEOUT(uitest::DateText(dlg.today()), u"2027-01-05"_s, 5000);
        QVERIFY(host.tray()->toolTip().startsWith(u"2027年1月5日 星期二\n"_s));
        QCOMPARE(dlg.selectedDate(), (qov::SolarDate{2026, 12, 31}));
        dlg.findChild<QPushButton*>(u"todayButton"_s)->click();
        QCOMPARE(dlg.selectedDate(), (qov::SolarDate{2027, 1, 5}));
    }
};

QOV_UI_TEST_MAIN(TestProgram)
#include "tst_program.moc"
