// The main window driven like a user: buttons, lists, clicks on the grid, the
// quick query, keys, dragging, the settings button, the hover tip, the date
// fields and the day counter, the clock and the zone label; the painted
// picture at chosen pixels.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>
#include <memory>

#include "calendardlg.h"
#include "controls/clocklabels.h"
#include "controls/qovedit.h"
#include "controls/tipwindow.h"
#include "model/colors.h"
#include "model/geometry.h"
#include "platform/settingslauncher.h"

using namespace Qt::StringLiterals;
using qov::SolarDate;

namespace {

QString DateText(const SolarDate& d)
{
    return QString::asprintf("%04d-%02d-%02d", d.year, d.month, d.day);
}

QPoint CellCentre(int row, int column)
{
    const qov::Rect r = qov::CellRect(row, column);
    return {r.left + r.Width() / 2, r.top + r.Height() / 2};
}

QRgb Rgb(qov::Rgb c) { return qRgb(c.r, c.g, c.b); }

// Pixels of exactly `colour` inside the logical rectangle `r` of the picture.
int CountColour(const QImage& picture, const qov::Rect& r, QRgb colour)
{
    const int ratio = qRound(picture.devicePixelRatio());
    int count = 0;
    for (int y = r.top * ratio; y < (r.top + r.Height()) * ratio; ++y)
        for (int x = r.left * ratio; x < (r.left + r.Width()) * ratio; ++x)
            count += picture.pixel(x, y) == colour;
    return count;
}

std::string Gbk(const QString& text)
{
    return QByteArray(QStringEncoder("GBK").encode(text)).toStdString();
}

// The tip's width comes from this sample line in the tip font.
const QString Sample = u" 甲子年 甲子月 甲子日"_s;
QFontMetrics TipMetrics() { return QFontMetrics(CTipWindow::TipFont()); }

}  // namespace

class TestCalendarDlg : public QObject {
    Q_OBJECT

    std::unique_ptr<CCalendarDlg> m_dlg;

    template <typename T = QComboBox> T* Child(const QString& name) const
    {
        return m_dlg->findChild<T*>(name);
    }
    void Choose(const QString& box, const QString& item)
    {
        const int index = Child(box)->findText(item);
        QVERIFY2(index >= 0, qPrintable(box + u" has no item "_s + item));
        Child(box)->setCurrentIndex(index);
    }
    void Click(const QString& n) { QTest::mouseClick(Child<QAbstractButton>(n), Qt::LeftButton); }
    void ShowPage(const SolarDate& d) { m_dlg->SelectDate(qov::MonthPage(d.year, d.month, d.day)); }
    // The selected date, and the year (none outside 1900..2049) and month boxes showing its page.
    void CheckPage(const QString& expected)
    {
        const SolarDate d = m_dlg->selectedDate();
        QCOMPARE(DateText(d), expected);
        QCOMPARE(Child(u"yearBox"_s)->currentIndex(),
            d.year >= 1900 && d.year <= 2049 ? d.year - 1900 : -1);
        QCOMPARE(Child(u"monthBox"_s)->currentText(), QString::number(d.month));
    }

    CTipWindow* Tip() const { return m_dlg->tipWindow(); }
    void MoveTo(QPoint client) { QTest::mouseMove(m_dlg.get(), client); }
    // Where the tip belongs for the pointer at `client`: centred, 20 px below.
    QPoint TipPos(QPoint client) const
    {
        const QPoint global = m_dlg->mapToGlobal(client);
        return {global.x() - Tip()->sampleWidth() / 2, global.y() + 20};
    }

private Q_SLOTS:
    void init()
    {
        m_dlg = std::make_unique<CCalendarDlg>();
        m_dlg->move(40, 30);
        m_dlg->show();
        m_dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
        CheckPage(DateText(qov::Today()));  // the window starts at today
        QCOMPARE(Child(u"queryDayBox"_s)->currentText(), QString::number(qov::Today().day));
        ShowPage({2009, 7, 15});
    }
    void cleanup() { m_dlg.reset(); }

    // From a page, steps a user takes: "name" clicks a button, "box=item" chooses an item,
    // "@x,y" clicks the window at a point, "#row,column" at a cell's centre.
    void actions_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* start, const char* steps,
                             QString expected) {
            QTest::newRow(name) << QString::fromUtf8(start) << QString::fromUtf8(steps) << expected;
        };
        row("月↑ 31 March", "2008-03-31", "prevMonthButton", u"2008-02-29"_s);
        row("月↓ December", "2009-12-31", "nextMonthButton", u"2009-12-31"_s);
        row("年↓ 29 February", "2008-02-29", "nextYearButton", u"2009-02-28"_s);
        row("年↑ 1900", "1900-05-05", "prevYearButton", u"1900-05-05"_s);
        row("今天", "1950-06-06", "todayButton", DateText(qov::Today()));
        row("month box", "2008-01-31", "monthBox=2", u"2008-02-29"_s);
        row("year box", "2009-06-15", "yearBox=2049", u"2049-06-15"_s);
        // 1 February 2009 was a Sunday: no leading cells, March 1-14 at the end.
        row("cell in month", "2009-02-20", "@492,60", u"2009-02-07"_s);
        row("cell in next month", "2009-02-20", "#5,6", u"2009-03-14"_s);
        row("off the grid", "2009-02-20", "@100,352", u"2009-02-20"_s);
        // 1 January 2009 a Thursday; 1 January 1900 a Monday: the year box shows no year.
        row("cell in previous year", "2009-01-10", "#0,0", u"2008-12-28"_s);
        row("cell in December 1899", "1900-01-15", "#0,0", u"1899-12-31"_s);
        row("Gregorian query", "2001-03-03",
            "queryYearBox=2010 queryMonthBox=2 queryDayBox=14 queryButton", u"2010-02-14"_s);
        // Lunar 2009: leap fifth month from 23 June. Lunar new year 2050 fell on 23 January.
        row("lunar query, leap month", "2001-03-03",
            "lunarRadio queryYearBox=2009 queryMonthBox=5(闰) queryDayBox=1 queryButton",
            u"2009-06-23"_s);
        row("lunar query past the list", "2001-03-03",
            "lunarRadio queryYearBox=2049 queryMonthBox=12 queryDayBox=29 queryButton",
            u"2050-01-22"_s);
    }
    void actions()
    {
        QFETCH(QString, start);
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        const QDate date = QDate::fromString(start, Qt::ISODate);
        ShowPage({date.year(), date.month(), date.day()});
        for (const QString& step : steps.split(u' ')) {
            const QStringList parts = step.mid(1).split(u',');
            if (step.contains(u'='))
                Choose(step.section(u'=', 0, 0), step.section(u'=', 1));
            else if (step.startsWith(u'@') || step.startsWith(u'#'))
                QTest::mouseClick(m_dlg.get(), Qt::LeftButton, Qt::NoModifier,
                    step[0] == u'@' ? QPoint(parts[0].toInt(), parts[1].toInt())
                                    : CellCentre(parts[0].toInt(), parts[1].toInt()));
            else
                Click(step);
        }
        CheckPage(expected);
    }

    void queryListRebuilds()
    {
        QComboBox* months = Child(u"queryMonthBox"_s);
        QComboBox* days = Child(u"queryDayBox"_s);
        Choose(u"queryYearBox"_s, u"2009"_s);
        QCOMPARE(months->count(), 12);
        Click(u"lunarRadio"_s);  // 2009 has a leap fifth month of 29 days
        QCOMPARE(months->count(), 13);
        Choose(u"queryMonthBox"_s, u"5(闰)"_s);
        QCOMPARE(days->count(), 29);
        Choose(u"queryYearBox"_s, u"2010"_s);  // no leap month: month 1 chosen
        QCOMPARE(months->count(), 12);
        QCOMPARE(months->currentText(), u"1"_s);
        Click(u"gregorianRadio"_s);
        QCOMPARE(days->count(), 31);
    }

    // Enter, also on a focused "今天", ends nothing; Esc closes.
    void keys()
    {
        QTest::keyClick(m_dlg.get(), Qt::Key_Enter);
        Child<QWidget>(u"todayButton"_s)->setFocus();
        QTest::keyClick(Child<QWidget>(u"todayButton"_s), Qt::Key_Return);
        QVERIFY(m_dlg->isVisible());
        CheckPage(u"2009-07-15"_s);
        QTest::keyClick(m_dlg.get(), Qt::Key_Escape);
        QVERIFY(!m_dlg->isVisible());
        QCOMPARE(m_dlg->result(), int(QDialog::Rejected));
    }

    void dragOnSkin()
    {
        const QPoint before = m_dlg->pos();
        const QPoint press(300, 480);  // bare skin below the boxes
        QTest::mousePress(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, press);
        // The window follows the pointer, so its client point stays the press point.
        QTest::mouseMove(m_dlg.get(), press + QPoint(10, 5));
        QTRY_COMPARE(m_dlg->pos(), before + QPoint(10, 5));
        QTest::mouseMove(m_dlg.get(), press + QPoint(30, 20));
        QTRY_COMPARE(m_dlg->pos(), before + QPoint(40, 25));
        QTest::mouseRelease(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, press);
        // A press on the grid selects instead of moving.
        QTest::mouseClick(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 0));
        QCOMPARE(m_dlg->pos(), before + QPoint(40, 25));
        QCOMPARE(DateText(m_dlg->selectedDate()), u"2009-07-05"_s);
    }

    // 15 July 2009, a Wednesday in row 2; 5 July a Sunday in row 1.
    void picturePixels()
    {
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage picture = m_dlg->RenderPicture(ratio);
            QCOMPARE(picture.size(), QSize(680, 505) * ratio);
            const auto pixel = [&](int x, int y) { return picture.pixel(QPoint(x, y) * ratio); };
            // Selection fill between number and lunar text, inside the rounded corner.
            const qov::Rect selected = qov::CellRect(2, 3);
            QCOMPARE(pixel(selected.left + 1, selected.top + 25), Rgb(qov::colors::Selection));
            QCOMPARE(pixel(selected.right - 2, selected.top + 25), Rgb(qov::colors::Selection));
            QCOMPARE(pixel(selected.left, selected.top), qRgb(255, 255, 255));
            QCOMPARE(pixel(qov::CellRect(2, 2).left + 1, selected.top + 25), qRgb(255, 255, 255));
            // The Sunday number 5 in red; the Monday 6 has no red.
            QVERIFY(CountColour(picture, qov::CellUpperRect(1, 0), Rgb(qov::colors::Red)) > 10);
            QCOMPARE(CountColour(picture, qov::CellUpperRect(1, 1), Rgb(qov::colors::Red)), 0);
            // The watermark (year 2009, month 07) behind the grid.
            QVERIFY(CountColour(picture, {5, 52, 493, 352}, Rgb(qov::colors::Watermark)) > 500);
        }
    }

    void choosePanel_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("installed");  // comma-separated
        QTest::addColumn<QString>("panel");      // program and arguments; empty: none
        const QString all = u"gnome-control-center,systemsettings,kcmshell5"_s;
        QTest::newRow("unknown desktop") << u"Foo"_s << all << u"gnome-control-center datetime"_s;
        QTest::newRow("KDE") << u"KDE"_s << all << u"systemsettings kcm_clock"_s;
        QTest::newRow("Budgie:GNOME without Budgie's")
            << u"Budgie:GNOME"_s << u"time-admin,gnome-control-center"_s
            << u"gnome-control-center datetime"_s;
        QTest::newRow("nothing installed") << u"GNOME"_s << QString() << QString();
    }
    void choosePanel()
    {
        QFETCH(QString, desktop);
        QFETCH(QString, installed);
        QFETCH(QString, panel);
        const QStringList names = installed.split(u',');
        const auto chosen =
            ChooseDateTimePanel(desktop, [&](const QString& n) { return names.contains(n); });
        QCOMPARE(chosen.has_value(), !panel.isEmpty());
        if (chosen) QCOMPARE((QStringList{chosen->program} + chosen->arguments).join(u' '), panel);
    }

    // A fake panel first on $PATH writes its arguments to a marker file.
    void settingsButton()
    {
        QTemporaryDir bin;
        const QByteArray marker = QFile::encodeName(bin.filePath(u"started"_s));
        QFile script(bin.filePath(u"gnome-control-center"_s));
        QVERIFY(script.open(
            QIODevice::WriteOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        script.write("#!/bin/sh\necho \"$@\" > " + marker);
        script.close();
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ":" + oldPath);
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        Click(u"settingsButton"_s);
        const auto written = [&] {
            QFile file(marker);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(written(), QByteArray("datetime\n"), 5000);
        qputenv("PATH", oldPath);
        QVERIFY(m_dlg->isVisible());  // the window stays as it was
    }

    // From a cell the pointer moves to `point`: the tip's texts (line 1..4,
    // note; '|'-separated), "*" for any, empty when hidden.
    void tipHover_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QString>("texts");
        // 1 July 2009, a Wednesday, was the 9th day of the leap 5th lunar month
        // (from 23 June); the leading Sunday is 28 June.
        QTest::newRow("in month")
            << CellCentre(0, 3)
            << u"2009 年 7 月 1 日|星期三|农历 闰5 月 9 日|己丑年 庚午月 丁未日|"
               u"香港回归纪念日 中共诞辰 世界建筑日 "_s;
        QTest::newRow("previous month") << CellCentre(
            0, 0) << u"2009 年 6 月 28 日|星期日|农历 闰5 月 6 日|己丑年 庚午月 甲辰日|"_s;
        // Hover area x 6..490, y 53..351; at its far corner the tip still fits.
        QTest::newRow("x 5") << QPoint(5, 100) << QString();
        QTest::newRow("x 6") << QPoint(6, 100) << u"*"_s;
        QTest::newRow("y 352") << QPoint(100, 352) << QString();
        QTest::newRow("far corner 490,351") << QPoint(490, 351) << u"*"_s;
    }
    void tipHover()
    {
        QFETCH(QPoint, point);
        QFETCH(QString, texts);
        MoveTo(CellCentre(1, 1));
        QTRY_VERIFY(Tip()->isVisible());
        MoveTo(point);
        QTRY_COMPARE(Tip()->isVisible(), !texts.isEmpty());
        if (texts.isEmpty()) return;
        QCOMPARE(Tip()->pos(), TipPos(point));
        if (texts == u"*") return;
        for (int i = 0; i < 4; ++i) QCOMPARE(Tip()->line(i), texts.section(u'|', i, i));
        QCOMPARE(Tip()->note(), texts.section(u'|', 4));
    }

    // Within one cell the tip follows the pointer without repainting.
    void tipStaysWithinCell()
    {
        const QPoint start = CellCentre(2, 2);
        MoveTo(start);
        QTRY_VERIFY(Tip()->isVisible() && Tip()->paintCount() >= 1);
        QTest::qWait(30);
        const int requests = Tip()->repaintRequests();
        const int painted = Tip()->paintCount();
        for (const QPoint step : {QPoint(5, 0), QPoint(-12, -9), QPoint(30, 20)}) {
            MoveTo(start + step);
            QCOMPARE(Tip()->pos(), TipPos(start + step));
        }
        QTest::qWait(50);
        QCOMPARE(Tip()->repaintRequests(), requests);
        QCOMPARE(Tip()->paintCount(), painted);
        MoveTo(start + QPoint(70, 0));  // the next day repaints
        QCOMPARE(Tip()->repaintRequests(), requests + 1);
        QTRY_VERIFY(Tip()->paintCount() > painted);
    }

    // The pointer slips onto the tip, which lies over the row below: the
    // dialog still learns where the pointer is and shows that day.
    void tipMovesReachDialog()
    {
        MoveTo(CellCentre(1, 2));
        QTRY_VERIFY(Tip()->isVisible());
        const QString first = Tip()->line(0);
        const QPoint onTip(Tip()->width() / 2, Tip()->height() / 2);
        const QPoint client = m_dlg->mapFromGlobal(Tip()->mapToGlobal(onTip));
        QVERIFY(client.y() >= qov::CellRect(2, 0).top);
        QTest::mouseMove(Tip(), onTip);
        QTRY_VERIFY(Tip()->line(0) != first);
        QTRY_COMPARE(Tip()->pos(), TipPos(client));
    }

    // The tip placed by hand: note rows, the 300 px limit, the owner's edges.
    void tipAlone_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<int>("rows");  // note rows reserved
        QTest::addColumn<QString>(
            "at");  // the pointer at the owner's "right" or "bottom" edge + pixels
        QTest::addColumn<bool>("visible");
        const int sample = TipMetrics().horizontalAdvance(Sample);
        const int glyph = TipMetrics().horizontalAdvance(u'国');
        // The smallest note of 国 that needs `rows` rows: just over rows - 1 sample widths.
        const auto noteFor = [&](int rows) {
            return QString((rows - 1) * sample / glyph + 1, u'国');
        };
        const int maxRows = (300 - 8) / TipMetrics().height() - 4;  // height: (4 + rows) lines + 8
        QTest::newRow("empty note: no box") << QString() << 0 << QString() << true;
        QTest::newRow("note exactly sample wide") << Sample << 2 << QString() << true;
        QTest::newRow("300 px high") << noteFor(maxRows) << maxRows << QString() << true;
        QTest::newRow("over 300 px high")
            << noteFor(maxRows + 1) << maxRows + 1 << QString() << false;
        QTest::newRow("right edge, inside") << QString() << 0 << u"right 0"_s << true;
        QTest::newRow("right edge, on it") << QString() << 0 << u"right 1"_s << false;
        QTest::newRow("bottom edge, inside") << QString() << 0 << u"bottom 0"_s << true;
        QTest::newRow("bottom edge, on it") << QString() << 0 << u"bottom 1"_s << false;
    }
    void tipAlone()
    {
        QFETCH(QString, note);
        QFETCH(int, rows);
        QFETCH(QString, at);
        QFETCH(bool, visible);
        const int sample = TipMetrics().horizontalAdvance(Sample);
        const int line = TipMetrics().height();
        Tip()->SetText(Gbk(u"2009 年 8 月 1 日"_s), Gbk(u"星期六"_s), {}, {}, Gbk(note));
        QCOMPARE(Tip()->noteHeight(), rows * line);
        QCOMPARE(Tip()->noteWidth(), rows == 0 ? 0 : sample);
        const QRect frame = m_dlg->frameGeometry();
        QPoint pointer = frame.topLeft() + QPoint(250, 60);
        const int delta = at.section(u' ', 1).toInt();
        if (at.startsWith(u"right"))
            pointer.setX(frame.right() - (sample + 4 - sample / 2) + delta);
        if (at.startsWith(u"bottom")) pointer.setY(frame.bottom() - 20 + delta);
        Tip()->Show(pointer, true);
        QCOMPARE(Tip()->isVisible(), visible);
        if (visible)
            QCOMPARE(Tip()->geometry(),
                QRect(
                    pointer.x() - sample / 2, pointer.y() + 20, sample + 4, (4 + rows) * line + 8));
        Tip()->Show(pointer, false);
        QVERIFY(!Tip()->isVisible());
    }

    // Keys typed into the start date: the text after each key ('|'-separated), whether
    // the focus went on to the end date, the text once the focus has left. Letters,
    // Backspace and clipboard shortcuts change nothing, the clipboard included.
    void typing_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("texts");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QString>("normalised");
        QTest::newRow("whole date")
            << u"2012-12-31"_s << 1 << u"2,0,0,9,0,7,0,1"_s
            << u"2000-12-31|2000-12-31|2000-12-31|2009-12-31|2009-00-31|2009-07-31|2009-07-00|2009-07-01"_s
            << true << u"2009-07-01"_s;
        QTest::newRow("year 0000 clamps")
            << u"2012-07-15"_s << 1 << u"0,0,0,0"_s
            << u"0000-07-15|0000-07-15|0000-07-15|0001-07-15"_s << false << u"0001-07-15"_s;
        QTest::newRow("month 2 keeps day 31 until the focus leaves")
            << u"2009-01-31"_s << 2 << u"2"_s << u"2009-02-31"_s << false << u"2009-02-28"_s;
        QTest::newRow("ignored keys")
            << u"2009-07-01"_s << 2 << u"A,Backspace,Ctrl+C,Ctrl+V,Shift+Ins,8"_s
            << u"2009-07-01|2009-07-01|2009-07-01|2009-07-01|2009-07-01|2009-08-01"_s << false
            << u"2009-08-01"_s;
    }
    void typing()
    {
        QFETCH(QString, start);
        QFETCH(int, field);
        QFETCH(QString, keys);
        QFETCH(QString, texts);
        QFETCH(bool, complete);
        QFETCH(QString, normalised);
        QApplication::clipboard()->setText(u"1999"_s);
        auto* edit = Child<CQovEdit>(u"startEdit"_s);
        const QDate date = QDate::fromString(start, Qt::ISODate);
        edit->SetDate(date.year(), date.month(), date.day());
        edit->SelectField(field);
        QTRY_VERIFY(edit->hasFocus());
        const QStringList sequence = keys.split(u',');
        for (int i = 0; i < sequence.size(); ++i) {
            QTest::keySequence(edit, QKeySequence(sequence[i]));
            QCOMPARE(edit->text(), texts.section(u'|', i, i));
        }
        QCOMPARE(QApplication::clipboard()->text(), u"1999"_s);
        QCOMPARE(Child<CQovEdit>(u"endEdit"_s)->hasFocus(), complete);
        Child<CQovEdit>(u"endEdit"_s)->setFocus();
        QTRY_VERIFY(!edit->hasFocus());
        QCOMPARE(edit->text(), normalised);
    }

    // Both dates typed from a click on the start's year; "计算" gets the focus.
    void dayCounter_data()
    {
        QTest::addColumn<QString>("startKeys");
        QTest::addColumn<QString>("endKeys");
        QTest::addColumn<QString>("result");
        QTest::newRow("end before start") << u"20090301"_s << u"20090228"_s << u"-1"_s;
        QTest::newRow("one-digit month and day") << u"200975"_s << u"2010315"_s << u"253"_s;
    }
    void dayCounter()
    {
        QFETCH(QString, startKeys);
        QFETCH(QString, endKeys);
        QFETCH(QString, result);
        CQovEdit* start = Child<CQovEdit>(u"startEdit"_s);
        CQovEdit* end = Child<CQovEdit>(u"endEdit"_s);
        auto* compute = m_dlg->findChild<QPushButton*>(u"computeButton"_s);
        auto* output = m_dlg->findChild<QLineEdit*>(u"resultEdit"_s);
        QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(4, start->height() / 2));
        QTRY_VERIFY(start->hasFocus());
        for (const QChar key : startKeys + endKeys) {
            QVERIFY(QApplication::focusWidget() == start || QApplication::focusWidget() == end);
            QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
        }
        QVERIFY(compute->hasFocus());
        QVERIFY(output->text().isEmpty());  // completing a date does not compute
        QTest::keyClick(compute, Qt::Key_Space);
        QCOMPARE(output->text(), result);
    }

    // A click inside each character: a digit picks its field, a separator none.
    void clickPicksField()
    {
        const int fields[10] = {1, 1, 1, 1, 0, 2, 2, 0, 3, 3};
        for (const QString& name : {u"startEdit"_s, u"endEdit"_s})
            for (int i = 0; i < 10; ++i) {
                auto* edit = Child<CQovEdit>(name);
                edit->SetDate(2008, 12, 28);
                const int before = edit->entry().ActiveField();
                int x = 0;  // the first pixel of character i + 1
                while (
                    x < edit->width() && edit->cursorPositionAt(QPoint(x, edit->height() / 2)) <= i)
                    ++x;
                QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(x - 1, edit->height() / 2));
                QTRY_VERIFY(edit->hasFocus());
                QCOMPARE(edit->entry().ActiveField(), fields[i] == 0 ? before : fields[i]);
                const qov::TextRange range = edit->entry().Selection();
                QCOMPARE(edit->selectedText(),
                    fields[i] == 0 ? QString()
                                   : edit->text().mid(range.start, range.end - range.start));
            }
    }

    // Blank for the first second, then the local time as "%d:%.2d:%.2d"; the zone under TZ.
    void clockAndZone()
    {
        QCOMPARE(ClockText(QTime(9, 5, 7)), u"9:05:07"_s);
        CQovDate label;
        label.show();
        QTest::qWait(600);
        QVERIFY(label.text().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!label.text().isEmpty(), 2000);
        const QString shown = label.text();
        static const QRegularExpression form(u"^([0-9]|1[0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$"_s);
        QVERIFY2(form.match(shown).hasMatch(), qPrintable(shown));
        const int late = QTime::fromString(shown, u"H:mm:ss"_s).secsTo(QTime::currentTime());
        QVERIFY2(qAbs(late) <= 2 || qAbs(late) >= 86400 - 2, qPrintable(shown));
        QCOMPARE(m_dlg->findChild<QLabel*>(u"zoneLabel"_s)->text(), u"当前：中国标准时间"_s);
    }
};

int main(int argc, char** argv)
{
    qputenv("TZ", "Asia/Shanghai");  // the zone label's expected local zone
    tzset();
    QApplication app(argc, argv);
    TestCalendarDlg test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_calendardlg.moc"
