// The main window and its helper controls driven like a user, the painted
// picture at chosen pixels, and the single-instance lock.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
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
#include "platform/singleinstance.h"
#include "platform/zonename.h"
#include "uitest.h"

using namespace Qt::StringLiterals;
using qov::SolarDate;
using namespace uitest;

namespace {

std::string Gbk(const QString& s) { return QByteArray(QStringEncoder("GBK")(s)).toStdString(); }

// The tip's width comes from this sample line in the tip font.
const QString Sample = u" 甲子年 甲子月 甲子日"_s;
QFontMetrics TipMetrics() { return QFontMetrics(CTipWindow::TipFont()); }

}  // namespace

class TestCalendarDlg : public DialogTest {
    Q_OBJECT

    template <typename T = QComboBox> T* Child(const QString& n) const
    {
        return DialogTest::Child<T>(n);
    }
    void Click(const QString& n) { QTest::mouseClick(Child<QAbstractButton>(n), Qt::LeftButton); }

    // The start date field showing the ISO date `start`, field 1..3 (year, month, day) selected.
    CQovEdit* StartEdit(const QString& start, int field)
    {
        auto* edit = Child<CQovEdit>(u"startEdit"_s);
        const QDate date = QDate::fromString(start, Qt::ISODate);
        edit->SetDate(date.year(), date.month(), date.day());
        edit->SelectField(field);
        return edit;
    }

    void MoveTo(QPoint client) { QTest::mouseMove(m_dlg.get(), client); }
    // Where the tip belongs for the pointer at `client`: centred, 20 px below.
    QPoint TipPos(QPoint client) const
    {
        const QPoint global = m_dlg->mapToGlobal(client);
        return {global.x() - Tip()->sampleWidth() / 2, global.y() + 20};
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(MakeRuntimeDir());
        qputenv(
            "QT_QPA_PLATFORM", "offscreen");  // for the programs started, whoever starts the test
    }

    void init()
    {
        Open();
        CheckPage(DateText(qov::Today()));  // the window starts at today
        QCOMPARE(Child(u"queryDayBox"_s)->currentText(), QString::number(qov::Today().day));
        m_dlg->SelectDate(qov::MonthPage(2009, 7, 15));
    }
    void cleanup() { m_dlg.reset(); }

    // From a page, steps a user takes: "name" clicks a button, "box=item" chooses an item,
    // "@x,y" clicks the window at a point, "#row,column" at a cell's centre.
    void actions_data()
    {
        Columns<QString, QString, QString>("start", "steps", "expected");
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
        row("year box", "2009-06-15", "yearBox=2100", u"2100-06-15"_s);
        // 1 February 2009 was a Sunday: no leading cells, March 1-14 at the end.
        row("cell in month", "2009-02-20", "@492,60", u"2009-02-07"_s);
        row("cell in next month", "2009-02-20", "#5,6", u"2009-03-14"_s);
        // 1 January 2009 a Thursday; 1 January 1900 a Monday: the year box shows no year.
        row("cell in previous year", "2009-01-10", "#0,0", u"2008-12-28"_s);
        row("cell in December 1899", "1900-01-15", "#0,0", u"1899-12-31"_s);
        row("Gregorian query", "2001-03-03",
            "queryYearBox=2010 queryMonthBox=2 queryDayBox=14 queryButton", u"2010-02-14"_s);
        // Lunar 2009: leap fifth month from 23 June.
        row("lunar query, leap month", "2001-03-03",
            "lunarRadio queryYearBox=2009 queryMonthBox=5(闰) queryDayBox=1 queryButton",
            u"2009-06-23"_s);
    }
    void actions()
    {
        const auto [start, steps, expected] =
            Fetch<QString, QString, QString>("start", "steps", "expected");
        Select(start);
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

    // The mode and the year rebuild the query lists: 2009 has a leap fifth month, 2010 none.
    void queryListRebuilds()
    {
        Choose(u"queryYearBox"_s, u"2009"_s);
        Click(u"lunarRadio"_s);
        QCOMPARE(Child(u"queryMonthBox"_s)->count(), 13);
        Choose(u"queryYearBox"_s, u"2010"_s);
        QCOMPARE(Child(u"queryMonthBox"_s)->count(), 12);
        Click(u"gregorianRadio"_s);
        QCOMPARE(Child(u"queryDayBox"_s)->count(), 31);  // January
    }

    // Enter ends nothing; on a focused "今天" it presses the button. Esc closes.
    void keys()
    {
        QTest::keyClick(m_dlg.get(), Qt::Key_Enter);
        CheckPage(u"2009-07-15"_s);
        Child<QWidget>(u"todayButton"_s)->setFocus();
        QTest::keyClick(Child<QWidget>(u"todayButton"_s), Qt::Key_Return);
        QVERIFY(m_dlg->isVisible());
        CheckPage(DateText(qov::Today()));
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
        QTest::mouseRelease(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, press);
        QTest::mouseClick(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 0));
        QCOMPARE(m_dlg->pos(), before + QPoint(10, 5));  // a press on the grid selects, not moves
        QCOMPARE(DateText(m_dlg->selectedDate()), u"2009-07-05"_s);
    }

    // 15 July 2009, a Wednesday in row 2; 5 July a Sunday in row 1.
    void picturePixels()
    {
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage picture = m_dlg->RenderPicture(ratio);
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

    // 立春 2009 came at 00:49 China Standard Time on 4 February (a Wednesday,
    // cell 0,3): its name is drawn there in red, and the 3rd shows 初九 in
    // black. Outlines are smoothed at 200 %, so colours are matched loosely.
    void solarTermPixels()
    {
        m_dlg->SelectDate(qov::MonthPage(2009, 2, 20));
        const auto count = [](const QImage& picture, const qov::Rect& r, auto is) {
            return CountPixels(picture, ToQRect(r), is);
        };
        const auto red = [](QRgb p) { return qRed(p) > 180 && qGreen(p) < 80 && qBlue(p) < 80; };
        const auto dark = [](QRgb p) { return qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 80; };
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage picture = m_dlg->RenderPicture(ratio);
            QVERIFY(count(picture, qov::CellLowerRect(0, 3), red) > 20 * ratio);
            QCOMPARE(count(picture, qov::CellLowerRect(0, 2), red), 0);
            QVERIFY(count(picture, qov::CellLowerRect(0, 2), dark) > 20 * ratio);
        }
    }

    void choosePanel_data()
    {
        // installed: comma-separated; panel: program and arguments; empty: none
        Columns<QString, QString, QString>("desktop", "installed", "panel");
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
        const auto [desktop, installed, panel] =
            Fetch<QString, QString, QString>("desktop", "installed", "panel");
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
        qputenv("PATH", QFile::encodeName(bin.path()) + ":" + qgetenv("PATH"));
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        Click(u"settingsButton"_s);
        const auto written = [&] {
            QFile file(marker);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(written(), QByteArray("datetime\n"), 5000);
    }

    // From a cell the pointer moves to `point`: the tip's texts (line 1..4,
    // note; '|'-separated), empty when hidden.
    void tipHover_data()
    {
        Columns<QPoint, QString>("point", "texts");
        // 1 July 2009, a Wednesday, was the 9th day of the leap 5th lunar month
        // (from 23 June); the leading Sunday is 28 June.
        QTest::newRow("in month")
            << CellCentre(0, 3)
            << u"2009 年 7 月 1 日|星期三|农历 闰5 月 9 日|己丑年 庚午月 丁未日|"
               u"香港回归纪念日 中共诞辰 世界建筑日 "_s;
        QTest::newRow("previous month") << CellCentre(
            0, 0) << u"2009 年 6 月 28 日|星期日|农历 闰5 月 6 日|己丑年 庚午月 甲辰日|"_s;
        // Hover area x 6..490, y 53..351.
        QTest::newRow("x 5") << QPoint(5, 100) << QString();
        QTest::newRow("y 352") << QPoint(100, 352) << QString();
    }
    void tipHover()
    {
        const auto [point, texts] = Fetch<QPoint, QString>("point", "texts");
        MoveTo(CellCentre(1, 1));
        QTRY_VERIFY(Tip()->isVisible());
        MoveTo(point);
        QTRY_COMPARE(Tip()->isVisible(), !texts.isEmpty());
        if (texts.isEmpty()) return;
        QCOMPARE(Tip()->pos(), TipPos(point));
        for (int i = 0; i < 4; ++i) QCOMPARE(Tip()->line(i), texts.section(u'|', i, i));
        QCOMPARE(Tip()->note(), texts.section(u'|', 4));
    }

    // Within one cell the tip follows the pointer without repainting; the next day repaints.
    // Moves onto the tip, which lies over the row below, reach the dialog: it shows that day.
    void tipFollowsPointer()
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
        MoveTo(start + QPoint(70, 0));
        QCOMPARE(Tip()->repaintRequests(), requests + 1);
        QTRY_VERIFY(Tip()->paintCount() > painted);
        const QString date = Tip()->line(0);
        const QPoint onTip(Tip()->width() / 2, Tip()->height() / 2);
        const QPoint client = m_dlg->mapFromGlobal(Tip()->mapToGlobal(onTip));
        QVERIFY(client.y() >= qov::CellRect(3, 0).top);
        QTest::mouseMove(Tip(), onTip);
        QTRY_VERIFY(Tip()->line(0) != date);
        QTRY_COMPARE(Tip()->pos(), TipPos(client));
    }

    // The tip placed by hand: note rows, the 300 px limit, the owner's edges.
    // The pointer `past` the last point where the tip's top-right corner stays inside
    // the owner's frame (its bottom-right corner).
    void tipAlone_data()
    {
        // rows: note rows reserved
        Columns<QString, int, QPoint, bool>("note", "rows", "past", "visible");
        const int sample = TipMetrics().horizontalAdvance(Sample);
        const int glyph = TipMetrics().horizontalAdvance(u'国');
        // The smallest note of 国 that needs n rows: just over n - 1 sample widths.
        const auto noteFor = [&](int n) { return QString((n - 1) * sample / glyph + 1, u'国'); };
        const int maxRows = (300 - 8) / TipMetrics().height() - 4;  // height: (4 + rows) lines + 8
        QTest::newRow("empty note: no box") << QString() << 0 << QPoint() << true;
        QTest::newRow("note exactly sample wide") << Sample << 2 << QPoint() << true;
        QTest::newRow("300 px high") << noteFor(maxRows) << maxRows << QPoint() << true;
        QTest::newRow("over 300 px high")
            << noteFor(maxRows + 1) << maxRows + 1 << QPoint() << false;
        QTest::newRow("past the right edge") << QString() << 0 << QPoint(1, 0) << false;
        QTest::newRow("past the bottom edge") << QString() << 0 << QPoint(0, 1) << false;
    }
    void tipAlone()
    {
        const auto [note, rows, past, visible] =
            Fetch<QString, int, QPoint, bool>("note", "rows", "past", "visible");
        const int sample = TipMetrics().horizontalAdvance(Sample);
        const int line = TipMetrics().height();
        Tip()->SetText(Gbk(u"2009 年 8 月 1 日"_s), Gbk(u"星期六"_s), {}, {}, Gbk(note));
        QCOMPARE(Tip()->noteWidth(), rows == 0 ? 0 : sample);
        const QPoint pointer =
            m_dlg->frameGeometry().bottomRight() - QPoint(sample + 4 - sample / 2, 20) + past;
        Tip()->Show(pointer, true);
        QCOMPARE(Tip()->isVisible(), visible);
        // sample + 4 wide, (4 + rows) lines + 8 high, centred 20 px below the pointer
        const QRect tip(
            pointer.x() - sample / 2, pointer.y() + 20, sample + 4, (4 + rows) * line + 8);
        if (visible) QCOMPARE(Tip()->geometry(), tip);
        Tip()->Show(pointer, false);
        QVERIFY(!Tip()->isVisible());
    }

    // Keys typed into the start date: the text after each key ('|'-separated) and once the focus
    // has left. Letters, Backspace and clipboard shortcuts change nothing, the clipboard included.
    // Tab away in the middle of a field and Shift+Tab back: the field shows the date brought
    // into range, selected again, and the next digits go on as if the focus had never left.
    void typing_data()
    {
        // field: 1..3: year, month, day
        Columns<QString, int, QString, QString, QString>(
            "start", "field", "keys", "texts", "normalised");
        QTest::newRow("whole date")
            << u"2012-12-31"_s << 1 << u"2,0,0,9,0,7,0,1"_s
            << u"2000-12-31|2000-12-31|2000-12-31|2009-12-31|2009-00-31|2009-07-31|2009-07-00|2009-07-01"_s
            << u"2009-07-01"_s;
        QTest::newRow("month 2 keeps day 31 until the focus leaves")
            << u"2009-01-31"_s << 2 << u"2"_s << u"2009-02-31"_s << u"2009-02-28"_s;
        QTest::newRow("ignored keys")
            << u"2009-07-01"_s << 2 << u"A,Backspace,Ctrl+C,Ctrl+V,Shift+Ins,8"_s
            << u"2009-07-01|2009-07-01|2009-07-01|2009-07-01|2009-07-01|2009-08-01"_s
            << u"2009-08-01"_s;
        QTest::newRow("month 0, away and back, 5")
            << u"2009-06-04"_s << 2 << u"0,Tab,Shift+Tab,5"_s
            << u"2009-00-04|2009-01-04|2009-01-04|2009-05-04"_s << u"2009-05-04"_s;
        QTest::newRow("day 0, away and back, 9")
            << u"2009-05-04"_s << 3 << u"0,Tab,Shift+Tab,9"_s
            << u"2009-05-00|2009-05-01|2009-05-01|2009-05-09"_s << u"2009-05-09"_s;
        QTest::newRow("year 20, away and back, 09")
            << u"2012-07-15"_s << 1 << u"2,0,Tab,Shift+Tab,0,9"_s
            << u"2000-07-15|2000-07-15|2000-07-15|2000-07-15|2000-07-15|2009-07-15"_s
            << u"2009-07-15"_s;
    }
    void typing()
    {
        const auto [start, field, keys, texts, normalised] =
            Fetch<QString, int, QString, QString, QString>(
                "start", "field", "keys", "texts", "normalised");
        QApplication::clipboard()->setText(u"1999"_s);
        auto* edit = StartEdit(start, field);
        QTRY_VERIFY(edit->hasFocus());
        const QStringList sequence = keys.split(u',');
        for (int i = 0; i < sequence.size(); ++i) {
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(sequence[i]));
            if (sequence[i] == u"Tab"_s) QTRY_VERIFY(!edit->hasFocus());
            if (sequence[i] == u"Shift+Tab"_s) {
                QTRY_VERIFY(edit->hasFocus());
                // The field's characters in "YYYY-MM-DD": 0..3, 5..6, 8..9.
                QCOMPARE(edit->selectedText(),
                    edit->text().mid(field == 1 ? 0 : 3 * field - 1, field == 1 ? 4 : 2));
            }
            QCOMPARE(edit->text(), texts.section(u'|', i, i));
        }
        QCOMPARE(QApplication::clipboard()->text(), u"1999"_s);
        Child<CQovEdit>(u"endEdit"_s)->setFocus();
        QTRY_VERIFY(!edit->hasFocus());
        QCOMPARE(edit->text(), normalised);
    }

    // Both dates typed from a click on the start's year; "计算" gets the focus,
    // shows its focus frame and is pressed by Space or Enter. Enter in a date
    // field ends nothing.
    void dayCounter_data()
    {
        // keys: the start date, then the end date; press: the key pressed on 计算
        Columns<QString, int, QString>("keys", "press", "result");
        // 1 March 2009 to 28 February 2009: one day back.
        QTest::newRow("end before start, Enter")
            << u"2009030120090228"_s << int(Qt::Key_Return) << u"-1"_s;
        QTest::newRow("one-digit month and day, Space")
            << u"2009752010315"_s << int(Qt::Key_Space) << u"253"_s;
    }
    void dayCounter()
    {
        const auto [keys, press, result] = Fetch<QString, int, QString>("keys", "press", "result");
        auto* start = Child<CQovEdit>(u"startEdit"_s);
        auto* compute = Child<QPushButton>(u"computeButton"_s);
        auto* shown = Child<QLineEdit>(u"resultEdit"_s);
        QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(4, start->height() / 2));
        QTRY_VERIFY(start->hasFocus());
        QTest::keyClick(start, Qt::Key_Return);
        QVERIFY(m_dlg->isVisible() && start->hasFocus() && shown->text().isEmpty());
        for (const QChar key : keys) {
            QVERIFY(start->hasFocus() || Child<CQovEdit>(u"endEdit"_s)->hasFocus());
            QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
        }
        QVERIFY(compute->hasFocus());  // completing the dates does not compute
        QVERIFY(shown->text().isEmpty());
        const QImage focused = Picture(compute);
        QTest::keyClick(compute, Qt::Key(press));
        QCOMPARE(shown->text(), result);
        QVERIFY(m_dlg->isVisible());
        start->setFocus();
        QVERIFY(focused != Picture(compute));  // the focus frame went with the focus
    }

    // A click inside each character: a digit picks its field, a separator none.
    void clickPicksField()
    {
        const int fields[10] = {1, 1, 1, 1, 0, 2, 2, 0, 3, 3};
        auto* edit = Child<CQovEdit>(u"endEdit"_s);
        for (int i = 0; i < 10; ++i) {
            edit->SetDate(2008, 12, 28);
            const int before = edit->entry().ActiveField();
            int x = 0;  // the first pixel of character i + 1
            while (edit->cursorPositionAt(QPoint(x, 5)) <= i) ++x;
            QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(x - 1, edit->height() / 2));
            QTRY_VERIFY(edit->hasFocus());
            QCOMPARE(edit->entry().ActiveField(), fields[i] == 0 ? before : fields[i]);
            const qov::TextRange range = edit->entry().Selection();
            QCOMPARE(edit->selectedText(),
                fields[i] == 0 ? QString()
                               : edit->text().mid(range.start, range.end - range.start));
        }
    }

    // Blank for the first second, then the local time as "%d:%.2d:%.2d".
    void clockAndZone()
    {
        QCOMPARE(ClockText(QTime(9, 5, 7)), u"9:05:07"_s);
        CQovDate label;
        label.show();
        QTest::qWait(600);
        QVERIFY(label.text().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!label.text().isEmpty(), 2000);
        const QString shown = label.text();
        const QTime time = QTime::fromString(shown, u"H:mm:ss"_s);
        QVERIFY2(time.isValid() && ClockText(time) == shown, qPrintable(shown));
        const int late = time.secsTo(QTime::currentTime());
        QVERIFY2(qAbs(late) <= 2 || qAbs(late) >= 86400 - 2, qPrintable(shown));  // local time
    }

    // A zone the time-zone database does not know shows its offset from UTC.
    void unknownZone_data()
    {
        Columns<QByteArray, QString>("tz", "expected");
        QTest::newRow("Garbage/Nowhere") << "Garbage/Nowhere"_ba << u"当前：UTC+00:00"_s;
        QTest::newRow("Asia/Shanghai") << "Asia/Shanghai"_ba << u"当前：中国标准时间"_s;
    }
    void unknownZone()
    {
        const auto [tz, expected] = Fetch<QByteArray, QString>("tz", "expected");
        qputenv("TZ", tz);
        tzset();
        CTimeZone label;
        qputenv("TZ", "Asia/Shanghai");
        tzset();
        QCOMPARE(label.text(), expected);
        // Drawn: ink to the right of "当前：", where the zone's name goes.
        label.resize(200, 26);
        const int prefix = label.fontMetrics().horizontalAdvance(u"当前："_s) + 2;
        const int ink = CountPixels(label.grab().toImage(), QRect(prefix, 0, 200 - prefix, 26),
            [](QRgb p) { return qGray(p) < 128; });
        QVERIFY2(ink > 20, qPrintable(QString::number(ink)));
        // Offsets east and west of UTC, seconds dropped.
        QCOMPARE(UtcOffsetText(8 * 3600), u"UTC+08:00"_s);
        QCOMPARE(UtcOffsetText(-(3 * 3600 + 30 * 60 + 59)), u"UTC-03:30"_s);
        QCOMPARE(UtcOffsetText(-59), u"UTC+00:00"_s);
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
    // program run instead of counting as another instance.
    void unopenableLock()
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

QOV_UI_TEST_MAIN(TestCalendarDlg)

#include "tst_calendardlg.moc"
