// The helper controls inside the real main window: the hover tip over the
// grid (texts, placement, repaint economy, edges, mouse moves handed back)
// and the day counter driven by typing into the two date fields.
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStringDecoder>
#include <QTest>

#include "calendardlg.h"
#include "controls/clocklabels.h"
#include "controls/qovedit.h"
#include "controls/tipwindow.h"
#include "model/daytexts.h"

using namespace Qt::StringLiterals;

namespace {

// Centre of grid cell (row, column) in the dialog's client pixels.
QPoint CellCentre(int row, int column)
{
    return {5 + 70 * column + 35, 52 + 50 * row + 25};
}

// A point inside character `index` of the edit's text as the line edit itself
// lays the text out: one pixel left of where its nearest cursor position
// turns from `index` to `index + 1` (the middle of the character).
QPoint InsideCharacter(QLineEdit* edit, int index)
{
    const int y = edit->height() / 2;
    for (int x = 0; x < edit->width(); ++x)
        if (edit->cursorPositionAt(QPoint(x, y)) > index) return {x - 1, y};
    return {edit->width() - 1, y};
}

}  // namespace

class TestDialogHelpers : public QObject {
    Q_OBJECT

private:
    CCalendarDlg* m_dlg = nullptr;
    CTipWindow* Tip() const { return m_dlg->tipWindow(); }
    CQovEdit* Edit(const char* name) const { return m_dlg->findChild<CQovEdit*>(QString::fromLatin1(name)); }
    // A mouse move over the dialog as the window system delivers it.
    void MoveTo(QPoint client) { QTest::mouseMove(m_dlg, client); }

private Q_SLOTS:
    void init();
    void cleanup();

    void tipTextsOverCells_data();
    void tipTextsOverCells();
    void tipStaysWithinCellWithoutRepaint();
    void tipHoverEdges_data();
    void tipHoverEdges();
    void tipMovesOverTipReachTheDialog();
    void controlsInPlace();
    void clickPicksFieldInDialog_data();
    void clickPicksFieldInDialog();
    void dayCounter_data();
    void dayCounter();
};

void TestDialogHelpers::init()
{
    m_dlg = new CCalendarDlg;
    m_dlg->move(40, 30);
    m_dlg->show();
    m_dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dlg));
}

void TestDialogHelpers::cleanup()
{
    delete m_dlg;
    m_dlg = nullptr;
}

void TestDialogHelpers::tipTextsOverCells_data()
{
    QTest::addColumn<QDate>("page");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("texts");  // line 1..4, note
    // 1 July 2009, a Wednesday, fell on the 9th day of the leap 5th lunar
    // month (which began on 23 June); 1 October 1949 was a 甲子 day.
    QTest::newRow("in month, leap lunar month")
        << QDate(2009, 7, 15) << 0 << 3
        << QStringList{u"2009 年 7 月 1 日"_s, u"星期三"_s, u"农历 闰5 月 9 日"_s, u"己丑年 庚午月 丁未日"_s,
                       u"香港回归纪念日 中共诞辰 世界建筑日 "_s};
    // The leading Sunday of the July 2009 page.
    QTest::newRow("previous month")
        << QDate(2009, 7, 15) << 0 << 0
        << QStringList{u"2009 年 6 月 28 日"_s, u"星期日"_s, u"农历 闰5 月 6 日"_s, u"己丑年 庚午月 甲辰日"_s, QString()};
    // Mid-autumn 2009 was 3 October, beside the National Day holidays.
    QTest::newRow("in month, festivals")
        << QDate(2009, 10, 20) << 0 << 6
        << QStringList{u"2009 年 10 月 3 日"_s, u"星期六"_s, u"农历 8 月 15 日"_s, u"己丑年 癸酉月 辛巳日"_s,
                       u"中秋节 国庆节假日 "_s};
    // Last cell of the December 2009 page: 9 January 2010, after 小寒 and
    // before 立春, in the 11th lunar month that began on 16 December.
    QTest::newRow("next year")
        << QDate(2009, 12, 31) << 5 << 6
        << QStringList{u"2010 年 1 月 9 日"_s, u"星期六"_s, u"农历 11 月 25 日"_s, u"己丑年 丁丑月 己未日"_s, QString()};
}

void TestDialogHelpers::tipTextsOverCells()
{
    QFETCH(QDate, page);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QStringList, texts);
    m_dlg->SelectDate(qov::MonthPage(page.year(), page.month(), page.day()));
    const QPoint point = CellCentre(row, column);
    MoveTo(point);
    QTRY_VERIFY(Tip()->isVisible());
    for (int i = 0; i < 4; ++i) QCOMPARE(Tip()->line(i), texts.at(i));
    QCOMPARE(Tip()->note(), texts.at(4));
    const QPoint global = m_dlg->mapToGlobal(point);
    QCOMPARE(Tip()->pos(), QPoint(global.x() - Tip()->sampleWidth() / 2, global.y() + 20));
}

void TestDialogHelpers::tipStaysWithinCellWithoutRepaint()
{
    m_dlg->SelectDate(qov::MonthPage(2009, 7, 15));
    const QPoint start = CellCentre(2, 2);
    MoveTo(start);
    QTRY_VERIFY(Tip()->isVisible());
    QTRY_VERIFY(Tip()->paintCount() >= 1);
    QTest::qWait(30);
    const int requests = Tip()->repaintRequests();
    const int painted = Tip()->paintCount();
    const QString date = Tip()->line(0);
    for (const QPoint step : {QPoint(5, 0), QPoint(10, 7), QPoint(-12, -9), QPoint(30, 20)}) {
        MoveTo(start + step);
        QCOMPARE(Tip()->line(0), date);
        QVERIFY(Tip()->isVisible());
        // It follows the pointer.
        QCOMPARE(Tip()->pos().y(), m_dlg->mapToGlobal(start + step).y() + 20);
    }
    QTest::qWait(50);
    QCOMPARE(Tip()->repaintRequests(), requests);
    QCOMPARE(Tip()->paintCount(), painted);

    MoveTo(start + QPoint(70, 0));  // the next day
    QCOMPARE(Tip()->repaintRequests(), requests + 1);
    QTRY_VERIFY(Tip()->paintCount() > painted);
}

void TestDialogHelpers::tipHoverEdges_data()
{
    // Hover area: x 6..490, y 53..351; the grid's first pixel row and column
    // and its last few columns show no tip. At the far corner the tip still
    // fits on the window.
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("visible");
    QTest::newRow("first grid column x 5") << QPoint(5, 100) << false;
    QTest::newRow("x 6") << QPoint(6, 100) << true;
    QTest::newRow("x 490") << QPoint(490, 100) << true;
    QTest::newRow("x 491") << QPoint(491, 100) << false;
    QTest::newRow("first grid row y 52") << QPoint(100, 52) << false;
    QTest::newRow("y 53") << QPoint(100, 53) << true;
    QTest::newRow("y 351") << QPoint(100, 351) << true;
    QTest::newRow("y 352") << QPoint(100, 352) << false;
    QTest::newRow("far corner 490,351") << QPoint(490, 351) << true;
    QTest::newRow("day panel") << QPoint(560, 150) << false;
    QTest::newRow("title strip") << QPoint(300, 20) << false;
}

void TestDialogHelpers::tipHoverEdges()
{
    QFETCH(QPoint, point);
    QFETCH(bool, visible);
    MoveTo(CellCentre(1, 1));
    QTRY_VERIFY(Tip()->isVisible());
    MoveTo(point);
    QTRY_COMPARE(Tip()->isVisible(), visible);
    if (visible) {
        // The whole tip lies right of and below its corner rule's limits.
        const QRect frame = m_dlg->frameGeometry();
        QVERIFY(frame.contains(Tip()->geometry().topRight() + QPoint(1, 0)));
    }
}

void TestDialogHelpers::tipMovesOverTipReachTheDialog()
{
    m_dlg->SelectDate(qov::MonthPage(2009, 7, 15));
    MoveTo(CellCentre(1, 2));
    QTRY_VERIFY(Tip()->isVisible());
    const QString first = Tip()->line(0);
    // The pointer slips onto the tip, which lies over the row below: the
    // dialog still learns where the pointer is and shows that day.
    const QPoint onTip(Tip()->width() / 2, Tip()->height() / 2);
    const QPoint global = Tip()->mapToGlobal(onTip);
    const QPoint client = m_dlg->mapFromGlobal(global);
    QVERIFY(client.y() >= 52 + 50 * 2);  // row 2 or below
    QTest::mouseMove(Tip(), onTip);
    QTRY_VERIFY(Tip()->line(0) != first);
    QTRY_COMPARE(Tip()->pos(), QPoint(global.x() - Tip()->sampleWidth() / 2, global.y() + 20));
}

void TestDialogHelpers::controlsInPlace()
{
    QVERIFY(Edit("startEdit"));
    QVERIFY(Edit("endEdit"));
    QCOMPARE(Edit("startEdit")->controlId(), 1063);
    QCOMPARE(Edit("endEdit")->controlId(), 1064);
    const qov::SolarDate today = qov::Today();
    QCOMPARE(Edit("startEdit")->GetDate(), today);
    QCOMPARE(Edit("endEdit")->GetDate(), today);
    QCOMPARE(m_dlg->selectedDate(), today);
    auto* clock = m_dlg->findChild<CQovDate*>(u"clockLabel"_s);
    auto* zone = m_dlg->findChild<CTimeZone*>(u"zoneLabel"_s);
    QVERIFY(clock);
    QVERIFY(zone);
    QVERIFY(zone->text().startsWith(u"当前："_s));
    QVERIFY(zone->text().size() > 3);
    QTRY_VERIFY_WITH_TIMEOUT(!clock->text().isEmpty(), 2500);
    QVERIFY(Tip()->isWindow());
    QCOMPARE(Tip()->parentWidget(), m_dlg);
}

void TestDialogHelpers::clickPicksFieldInDialog_data()
{
    // With the dialog's 宋体 every ASCII character is as wide as a space, so
    // the zones cover each field's digits: every digit picks its field, a
    // separator none.
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("character");
    QTest::addColumn<int>("field");  // 0: none
    const int fields[10] = {1, 1, 1, 1, 0, 2, 2, 0, 3, 3};
    for (const QString& edit : {u"startEdit"_s, u"endEdit"_s})
        for (int i = 0; i < 10; ++i)
            QTest::addRow("%s character %d", qPrintable(edit), i) << edit << i << fields[i];
}

void TestDialogHelpers::clickPicksFieldInDialog()
{
    QFETCH(QString, edit);
    QFETCH(int, character);
    QFETCH(int, field);
    CQovEdit* date = Edit(qPrintable(edit));
    date->SetDate(2008, 12, 28);
    // The whole date is in view, unscrolled (the zones are measured from the
    // text's left end).
    const int y = date->height() / 2;
    QCOMPARE(date->cursorPositionAt(QPoint(1, y)), 0);
    QCOMPARE(date->cursorPositionAt(QPoint(date->width() - 2, y)), 10);

    const int before = date->entry().ActiveField();
    QTest::mouseClick(date, Qt::LeftButton, {}, InsideCharacter(date, character));
    QTRY_VERIFY(date->hasFocus());
    if (field == 0) {
        QCOMPARE(date->entry().ActiveField(), before);
        QCOMPARE(date->selectedText(), QString());
    } else {
        QCOMPARE(date->entry().ActiveField(), field);
        const qov::TextRange range = date->entry().Selection();
        QCOMPARE(date->selectedText(), date->text().mid(range.start, range.end - range.start));
    }
}

void TestDialogHelpers::dayCounter_data()
{
    QTest::addColumn<QString>("startKeys");
    QTest::addColumn<QString>("endKeys");
    QTest::addColumn<QString>("result");
    QTest::newRow("whole year 2009") << u"20090101"_s << u"20091231"_s << u"364"_s;
    QTest::newRow("over leap day 2008") << u"20080228"_s << u"20080301"_s << u"2"_s;
    QTest::newRow("end before start") << u"20090301"_s << u"20090228"_s << u"-1"_s;
    QTest::newRow("same date") << u"20090701"_s << u"20090701"_s << u"0"_s;
    // One-digit month and day complete their fields at once.
    QTest::newRow("short entries") << u"200975"_s << u"2010315"_s << u"253"_s;
    QTest::newRow("across centuries") << u"19000101"_s << u"20000101"_s << u"36524"_s;
}

void TestDialogHelpers::dayCounter()
{
    QFETCH(QString, startKeys);
    QFETCH(QString, endKeys);
    QFETCH(QString, result);
    CQovEdit* start = Edit("startEdit");
    CQovEdit* end = Edit("endEdit");
    auto* compute = m_dlg->findChild<QPushButton*>(u"computeButton"_s);
    auto* output = m_dlg->findChild<QLineEdit*>(u"resultEdit"_s);
    QVERIFY(compute);
    QVERIFY(output);

    // Pick the start's year with a click, then type on without touching
    // anything: the input moves to the end's year, then to "计算".
    QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(4, start->height() / 2));
    QTRY_VERIFY(start->hasFocus());
    for (qsizetype i = 0; i < startKeys.size(); ++i) {
        QVERIFY2(start->hasFocus(), "focus left the start field early");
        QTest::keyClick(QApplication::focusWidget(), startKeys.at(i).toLatin1());
    }
    QVERIFY(end->hasFocus());
    QCOMPARE(end->selectedText(), end->text().left(4));
    for (qsizetype i = 0; i < endKeys.size(); ++i) {
        QVERIFY2(end->hasFocus(), "focus left the end field early");
        QTest::keyClick(QApplication::focusWidget(), endKeys.at(i).toLatin1());
    }
    QVERIFY(compute->hasFocus());
    QVERIFY(output->text().isEmpty());  // completing a date does not compute
    QTest::keyClick(compute, Qt::Key_Space);
    QCOMPARE(output->text(), result);
}

QTEST_MAIN(TestDialogHelpers)
#include "tst_dialoghelpers.moc"
