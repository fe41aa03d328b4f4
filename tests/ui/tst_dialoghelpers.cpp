// The helper controls inside the real main window: the hover tip over the
// grid and on its own (measuring, placing, hiding, repaint economy, mouse
// moves handed back), the two date fields and the day counter driven by
// typing, the clock and the zone label.
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTest>
#include <ctime>
#include <memory>

#include "calendardlg.h"
#include "controls/clocklabels.h"
#include "controls/qovedit.h"
#include "controls/tipwindow.h"
#include "model/geometry.h"

using namespace Qt::StringLiterals;

namespace {

QPoint CellCentre(int row, int column)
{
    const qov::Rect r = qov::CellRect(row, column);
    return {r.left + r.Width() / 2, r.top + r.Height() / 2};
}

std::string Gbk(const QString& text)
{
    return QByteArray(QStringEncoder("GBK").encode(text)).toStdString();
}

// The tip's width comes from this sample line in the tip font.
const QString Sample = u" 甲子年 甲子月 甲子日"_s;
QFontMetrics TipMetrics() { return QFontMetrics(CTipWindow::TipFont()); }

// A point in the middle of character `index` as the line edit lays out its text.
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
    std::unique_ptr<CCalendarDlg> m_dlg;
    CTipWindow* Tip() const { return m_dlg->tipWindow(); }
    CQovEdit* Edit(const QString& name) const { return m_dlg->findChild<CQovEdit*>(name); }
    void MoveTo(QPoint client) { QTest::mouseMove(m_dlg.get(), client); }
    // Focuses the field, selects `field` and waits for the focus.
    void StartTyping(CQovEdit* edit, int year, int month, int day, int field);

private Q_SLOTS:
    void init();
    void cleanup() { m_dlg.reset(); }

    void tipOverCells_data();
    void tipOverCells();
    void tipStaysWithinCell();
    void tipHoverEdges_data();
    void tipHoverEdges();
    void tipMovesReachDialog();
    void tipAlone_data();
    void tipAlone();

    void typing_data();
    void typing();
    void dayCounter_data();
    void dayCounter();
    void ignoredKeys_data();
    void ignoredKeys();
    void clickPicksField_data();
    void clickPicksField();

    void clock();
    void zoneLabel();
};

void TestDialogHelpers::init()
{
    m_dlg = std::make_unique<CCalendarDlg>();
    m_dlg->move(40, 30);
    m_dlg->show();
    m_dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
}

void TestDialogHelpers::StartTyping(CQovEdit* edit, int year, int month, int day, int field)
{
    edit->SetDate(year, month, day);
    edit->SelectField(field);
    QTRY_VERIFY(edit->hasFocus());
}

void TestDialogHelpers::tipOverCells_data()
{
    QTest::addColumn<QPoint>("cell");    // row, column
    QTest::addColumn<QString>("texts");  // line 1..4, note; '|'-separated
    // Page July 2009. 1 July, a Wednesday, was the 9th day of the leap 5th
    // lunar month (from 23 June); the leading Sunday is 28 June.
    QTest::newRow("in month") << QPoint(0, 3)
                              << u"2009 年 7 月 1 日|星期三|农历 闰5 月 9 日|己丑年 庚午月 丁未日|"
                                 u"香港回归纪念日 中共诞辰 世界建筑日 "_s;
    QTest::newRow("previous month")
        << QPoint(0, 0) << u"2009 年 6 月 28 日|星期日|农历 闰5 月 6 日|己丑年 庚午月 甲辰日|"_s;
}

void TestDialogHelpers::tipOverCells()
{
    QFETCH(QPoint, cell);
    QFETCH(QString, texts);
    m_dlg->SelectDate(qov::MonthPage(2009, 7, 15));
    const QPoint point = CellCentre(cell.x(), cell.y());
    MoveTo(point);
    QTRY_VERIFY(Tip()->isVisible());
    for (int i = 0; i < 4; ++i) QCOMPARE(Tip()->line(i), texts.split(u'|').at(i));
    QCOMPARE(Tip()->note(), texts.split(u'|').at(4));
    const QPoint global = m_dlg->mapToGlobal(point);
    QCOMPARE(Tip()->pos(), QPoint(global.x() - Tip()->sampleWidth() / 2, global.y() + 20));
}

void TestDialogHelpers::tipStaysWithinCell()
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
    for (const QPoint step : {QPoint(5, 0), QPoint(-12, -9), QPoint(30, 20)}) {
        MoveTo(start + step);
        QCOMPARE(Tip()->line(0), date);
        QCOMPARE(Tip()->pos().y(), m_dlg->mapToGlobal(start + step).y() + 20);  // it follows
    }
    QTest::qWait(50);
    QCOMPARE(Tip()->repaintRequests(), requests);
    QCOMPARE(Tip()->paintCount(), painted);
    MoveTo(start + QPoint(70, 0));  // the next day repaints
    QCOMPARE(Tip()->repaintRequests(), requests + 1);
    QTRY_VERIFY(Tip()->paintCount() > painted);
}

void TestDialogHelpers::tipHoverEdges_data()
{
    // Hover area x 6..490, y 53..351; at its far corner the tip still fits.
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("visible");
    QTest::newRow("x 5") << QPoint(5, 100) << false;
    QTest::newRow("x 6") << QPoint(6, 100) << true;
    QTest::newRow("x 491") << QPoint(491, 100) << false;
    QTest::newRow("y 52") << QPoint(100, 52) << false;
    QTest::newRow("y 53") << QPoint(100, 53) << true;
    QTest::newRow("y 352") << QPoint(100, 352) << false;
    QTest::newRow("far corner 490,351") << QPoint(490, 351) << true;
}

void TestDialogHelpers::tipHoverEdges()
{
    QFETCH(QPoint, point);
    QFETCH(bool, visible);
    MoveTo(CellCentre(1, 1));
    QTRY_VERIFY(Tip()->isVisible());
    MoveTo(point);
    QTRY_COMPARE(Tip()->isVisible(), visible);
}

void TestDialogHelpers::tipMovesReachDialog()
{
    m_dlg->SelectDate(qov::MonthPage(2009, 7, 15));
    MoveTo(CellCentre(1, 2));
    QTRY_VERIFY(Tip()->isVisible());
    const QString first = Tip()->line(0);
    // The pointer slips onto the tip, which lies over the row below: the
    // dialog still learns where the pointer is and shows that day.
    const QPoint onTip(Tip()->width() / 2, Tip()->height() / 2);
    const QPoint global = Tip()->mapToGlobal(onTip);
    QVERIFY(m_dlg->mapFromGlobal(global).y() >= qov::CellRect(2, 0).top);
    QTest::mouseMove(Tip(), onTip);
    QTRY_VERIFY(Tip()->line(0) != first);
    QTRY_COMPARE(Tip()->pos(), QPoint(global.x() - Tip()->sampleWidth() / 2, global.y() + 20));
}

// The tip placed by hand: note rows, the 300 px limit, the owner's edges.
void TestDialogHelpers::tipAlone_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("rows");  // note rows reserved
    // The pointer at the owner's "right" or "bottom" edge (+ delta), else inside.
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<int>("delta");
    QTest::addColumn<bool>("visible");
    const auto row = [](const char* name, QString note, int rows, QString anchor, int delta,
                         bool visible) {
        QTest::newRow(name) << note << rows << anchor << delta << visible;
    };
    const int sample = TipMetrics().horizontalAdvance(Sample);
    const int glyph = TipMetrics().horizontalAdvance(u'国');
    // The smallest note of 国 that needs `rows` rows: just over rows - 1 sample widths.
    const auto noteFor = [&](int rows) { return QString((rows - 1) * sample / glyph + 1, u'国'); };
    const int maxRows = (300 - 8) / TipMetrics().height() - 4;  // height: (4 + rows) lines + 8
    row("empty note: no box", {}, 0, {}, 0, true);
    row("short note", u"建军节 "_s, 1, {}, 0, true);
    row("note exactly sample wide", Sample, 2, {}, 0, true);
    row("300 px high", noteFor(maxRows), maxRows, {}, 0, true);
    row("over 300 px high", noteFor(maxRows + 1), maxRows + 1, {}, 0, false);
    row("right edge, last pixel inside", {}, 0, u"right"_s, 0, true);
    row("right edge, on it", {}, 0, u"right"_s, 1, false);
    row("bottom edge, last row inside", {}, 0, u"bottom"_s, 0, true);
    row("bottom edge, on it", {}, 0, u"bottom"_s, 1, false);
}

void TestDialogHelpers::tipAlone()
{
    QFETCH(QString, note);
    QFETCH(int, rows);
    QFETCH(QString, anchor);
    QFETCH(int, delta);
    QFETCH(bool, visible);
    const int sample = TipMetrics().horizontalAdvance(Sample);
    const int line = TipMetrics().height();
    if (note.startsWith(u'国'))  // the note's width lies in the band of its row count
        QVERIFY(TipMetrics().horizontalAdvance(note) > (rows - 1) * sample
            && TipMetrics().horizontalAdvance(note) < rows * sample);
    Tip()->SetText(Gbk(u"2009 年 8 月 1 日"_s), Gbk(u"星期六"_s), {}, {}, Gbk(note));
    QCOMPARE(Tip()->noteHeight(), rows * line);
    QCOMPARE(Tip()->noteWidth(), rows == 0 ? 0 : sample);

    const QRect frame = m_dlg->frameGeometry();
    QPoint pointer = frame.topLeft() + QPoint(250, 60);
    const int cornerOffset = sample + 4 - sample / 2;  // tip's right edge - pointer x
    if (anchor == u"right") pointer.setX(frame.right() - cornerOffset + delta);
    if (anchor == u"bottom") pointer.setY(frame.bottom() - 20 + delta);
    Tip()->Show(pointer, true);
    QCOMPARE(Tip()->isVisible(), visible);
    if (visible)
        QCOMPARE(Tip()->geometry(),
            QRect(pointer.x() - sample / 2, pointer.y() + 20, sample + 4, (4 + rows) * line + 8));
    Tip()->Show(pointer, false);
    QVERIFY(!Tip()->isVisible());
}

void TestDialogHelpers::typing_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("texts");       // after each key, '|'-separated
    QTest::addColumn<QString>("selections");  // selected text after each key; empty: none
    QTest::addColumn<bool>("complete");       // the day entered: focus on to the end date
    QTest::addColumn<QString>("normalised");  // once the focus has left
    const auto row = [](const char* name, QString start, int field, QString keys, QString texts,
                         QString selections, bool complete, QString normalised) {
        QTest::newRow(name) << start << field << keys << texts << selections << complete
                            << normalised;
    };
    row("year 2009", u"2012-07-15"_s, 1, u"2009"_s,
        u"2000-07-15|2000-07-15|2000-07-15|2009-07-15"_s, u"2000|2000|2000|07"_s, false,
        u"2009-07-15"_s);
    row("year 0000 clamps", u"2012-07-15"_s, 1, u"0000"_s,
        u"0000-07-15|0000-07-15|0000-07-15|0001-07-15"_s, u"0000|0000|0000|07"_s, false,
        u"0001-07-15"_s);
    row("year half typed", u"2009-02-28"_s, 1, u"20"_s, u"2000-02-28|2000-02-28"_s, u"2000|2000"_s,
        false, u"2000-02-28"_s);
    row("month 1 then 5", u"2009-03-15"_s, 2, u"15"_s, u"2009-10-15|2009-12-15"_s, u"10|15"_s,
        false, u"2009-12-15"_s);
    row("month 0 then 0", u"2009-03-15"_s, 2, u"00"_s, u"2009-00-15|2009-01-15"_s, u"00|15"_s,
        false, u"2009-01-15"_s);
    row("month 2 keeps day 31", u"2009-01-31"_s, 2, u"2"_s, u"2009-02-31"_s, u"31"_s, false,
        u"2009-02-28"_s);
    row("day 35 in February", u"2009-02-01"_s, 3, u"35"_s, u"2009-02-30|2009-02-28"_s, u"30|"_s,
        true, u"2009-02-28"_s);
    row("whole date", u"2012-12-31"_s, 1, u"20090701"_s,
        u"2000-12-31|2000-12-31|2000-12-31|2009-12-31|2009-00-31|2009-07-31|2009-07-00|2009-07-01"_s,
        u"2000|2000|2000|12|00|31|00|"_s, true, u"2009-07-01"_s);
}

void TestDialogHelpers::typing()
{
    QFETCH(QString, start);
    QFETCH(int, field);
    QFETCH(QString, keys);
    QFETCH(QString, texts);
    QFETCH(QString, selections);
    QFETCH(bool, complete);
    QFETCH(QString, normalised);
    CQovEdit* edit = Edit(u"startEdit"_s);
    const QDate date = QDate::fromString(start, Qt::ISODate);
    StartTyping(edit, date.year(), date.month(), date.day(), field);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QTest::keyClick(edit, keys.at(i).toLatin1());
        QCOMPARE(edit->text(), texts.split(u'|').at(i));
        QCOMPARE(edit->selectedText(), selections.split(u'|').at(i));
    }
    QCOMPARE(Edit(u"endEdit"_s)->hasFocus(), complete);
    Edit(u"endEdit"_s)->setFocus();
    QTRY_VERIFY(!edit->hasFocus());
    QCOMPARE(edit->text(), normalised);
    const qov::SolarDate stored = edit->GetDate();
    QCOMPARE(
        QDate(stored.year, stored.month, stored.day), QDate::fromString(normalised, Qt::ISODate));
}

void TestDialogHelpers::dayCounter_data()
{
    QTest::addColumn<QString>("startKeys");
    QTest::addColumn<QString>("endKeys");
    QTest::addColumn<QString>("result");
    QTest::newRow("whole year 2009") << u"20090101"_s << u"20091231"_s << u"364"_s;
    QTest::newRow("over leap day 2008") << u"20080228"_s << u"20080301"_s << u"2"_s;
    QTest::newRow("end before start") << u"20090301"_s << u"20090228"_s << u"-1"_s;
    QTest::newRow("one-digit month and day") << u"200975"_s << u"2010315"_s << u"253"_s;
}

void TestDialogHelpers::dayCounter()
{
    QFETCH(QString, startKeys);
    QFETCH(QString, endKeys);
    QFETCH(QString, result);
    CQovEdit* start = Edit(u"startEdit"_s);
    CQovEdit* end = Edit(u"endEdit"_s);
    auto* compute = m_dlg->findChild<QPushButton*>(u"computeButton"_s);
    auto* output = m_dlg->findChild<QLineEdit*>(u"resultEdit"_s);
    // Pick the start's year with a click, then type on: the input moves to
    // the end's year, then to "计算".
    QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(4, start->height() / 2));
    QTRY_VERIFY(start->hasFocus());
    for (const QChar key : startKeys) {
        QVERIFY(start->hasFocus());
        QTest::keyClick(start, key.toLatin1());
    }
    QVERIFY(end->hasFocus());
    QCOMPARE(end->selectedText(), end->text().left(4));
    for (const QChar key : endKeys) {
        QVERIFY(end->hasFocus());
        QTest::keyClick(end, key.toLatin1());
    }
    QVERIFY(compute->hasFocus());
    QVERIFY(output->text().isEmpty());  // completing a date does not compute
    QTest::keyClick(compute, Qt::Key_Space);
    QCOMPARE(output->text(), result);
}

void TestDialogHelpers::ignoredKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("letter a") << int(Qt::Key_A) << int(Qt::NoModifier);
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier);
    QTest::newRow("ctrl+c") << int(Qt::Key_C) << int(Qt::ControlModifier);
    QTest::newRow("ctrl+v") << int(Qt::Key_V) << int(Qt::ControlModifier);
    QTest::newRow("ctrl+x") << int(Qt::Key_X) << int(Qt::ControlModifier);
    QTest::newRow("shift+insert") << int(Qt::Key_Insert) << int(Qt::ShiftModifier);
}

void TestDialogHelpers::ignoredKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    CQovEdit* edit = Edit(u"startEdit"_s);
    QApplication::clipboard()->setText(u"1999"_s);
    StartTyping(edit, 2009, 7, 1, 2);
    QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(edit->text(), u"2009-07-01"_s);
    QCOMPARE(edit->GetDate(), (qov::SolarDate{2009, 7, 1}));
    QCOMPARE(edit->selectedText(), u"07"_s);
    QCOMPARE(QApplication::clipboard()->text(), u"1999"_s);
    QTest::keyClick(edit, '8');  // the month still waits for its first digit
    QCOMPARE(edit->text(), u"2009-08-01"_s);
}

void TestDialogHelpers::clickPicksField_data()
{
    // Every digit picks its field, a separator none.
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("character");
    QTest::addColumn<int>("field");  // 0: none
    const int fields[10] = {1, 1, 1, 1, 0, 2, 2, 0, 3, 3};
    for (const QString& edit : {u"startEdit"_s, u"endEdit"_s})
        for (int i = 0; i < 10; ++i)
            QTest::addRow("%s character %d", qPrintable(edit), i) << edit << i << fields[i];
}

void TestDialogHelpers::clickPicksField()
{
    QFETCH(QString, edit);
    QFETCH(int, character);
    QFETCH(int, field);
    CQovEdit* date = Edit(edit);
    date->SetDate(2008, 12, 28);
    const int before = date->entry().ActiveField();
    QTest::mouseClick(date, Qt::LeftButton, {}, InsideCharacter(date, character));
    QTRY_VERIFY(date->hasFocus());
    QCOMPARE(date->entry().ActiveField(), field == 0 ? before : field);
    const qov::TextRange range = date->entry().Selection();
    QCOMPARE(date->selectedText(),
        field == 0 ? QString() : date->text().mid(range.start, range.end - range.start));
}

void TestDialogHelpers::clock()
{
    for (const auto& [time, text] : {std::pair{QTime(0, 0, 0), u"0:00:00"_s},
             std::pair{QTime(9, 5, 7), u"9:05:07"_s}, std::pair{QTime(23, 59, 59), u"23:59:59"_s}})
        QCOMPARE(ClockText(time), text);
    CQovDate label;
    label.show();
    QTest::qWait(600);
    QVERIFY(label.text().isEmpty());  // blank for the first second
    QTRY_VERIFY_WITH_TIMEOUT(!label.text().isEmpty(), 2000);
    const QString shown = label.text();
    static const QRegularExpression form(u"^([0-9]|1[0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$"_s);
    QVERIFY2(form.match(shown).hasMatch(), qPrintable(shown));
    const int late = QTime::fromString(shown, u"H:mm:ss"_s).secsTo(QTime::currentTime());
    QVERIFY2(qAbs(late) <= 2 || qAbs(late) >= 86400 - 2, qPrintable(shown));  // local time
}

void TestDialogHelpers::zoneLabel()
{
    QCOMPARE(m_dlg->findChild<QLabel*>(u"zoneLabel"_s)->text(), u"当前：中国标准时间"_s);
}

int main(int argc, char** argv)
{
    qputenv("TZ", "Asia/Shanghai");  // the zone label's expected local zone
    tzset();
    QApplication app(argc, argv);
    TestDialogHelpers test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dialoghelpers.moc"
