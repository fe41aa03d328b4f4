// The program in the panel: the leaf icon and its tip as the window's
// settings and the user's days have it, the menu and the click, hiding on
// close and the tray's switch put in force at once, today's ring, and (run
// under faketime by tray_test.sh) midnight and a jump of the clock.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>

#include "calendarhost.h"
#include "model/colors.h"
#include "platform/todaywatch.h"
#include "trayleaf.h"
#include "uitest.h"
#include "userfiles/mydaysfile.h"

using namespace Qt::StringLiterals;
using uitest::Columns, uitest::Fetch;

namespace {

QDate ToQDate(qov::SolarDate d) { return QDate(d.year, d.month, d.day); }
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

class TestTray : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(uitest::MakeRuntimeDir()); }
    void init() { QDir(QFileInfo(settings::FilePath()).path()).removeRecursively(); }

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
        QCOMPARE(ToQDate(dlg.today()), QDate(2026, 12, 31));
        QVERIFY(host.tray()->toolTip().startsWith(u"2026年12月31日 星期四\n"_s));
        QVERIFY2(host.todayWatch()->RemainingMs() < 7000,
            qPrintable(QString::number(host.todayWatch()->RemainingMs())));

        QTRY_COMPARE_WITH_TIMEOUT(ToQDate(dlg.today()), QDate(2027, 1, 1), 8000);
        QCOMPARE(dlg.selectedDate(), (qov::SolarDate{2026, 12, 31}));
        QVERIFY(RingPixels(dlg, QDate(2027, 1, 1), 1) > 30);
        QCOMPARE(RingPixels(dlg, QDate(2026, 12, 31), 1), 0);
        QCOMPARE(
            host.tray()->toolTip(), u"2027年1月1日 星期五\n农历十一月廿四\n元旦节\n新年愿望"_s);
        QVERIFY(host.todayWatch()->RemainingMs() > 86000 * 1000);  // the next midnight

        // A day's jump and more, seen by the shown window's clock.
        QVERIFY(uitest::WriteFile(stamp, "@2027-01-05 12:00:00\n"));
        QTRY_COMPARE_WITH_TIMEOUT(ToQDate(dlg.today()), QDate(2027, 1, 5), 5000);
        QVERIFY(host.tray()->toolTip().startsWith(u"2027年1月5日 星期二\n"_s));
        QCOMPARE(dlg.selectedDate(), (qov::SolarDate{2026, 12, 31}));
        dlg.findChild<QPushButton*>(u"todayButton"_s)->click();
        QCOMPARE(dlg.selectedDate(), (qov::SolarDate{2027, 1, 5}));
    }
};

QOV_UI_TEST_MAIN(TestTray)
#include "tst_tray.moc"
