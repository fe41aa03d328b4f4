// The main window driven like a user: buttons, lists, clicks on the grid,
// the quick query, keys, dragging; and the painted picture at chosen pixels.
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "calendardlg.h"
#include "model/colors.h"
#include "model/geometry.h"
#include "model/monthpage.h"

using namespace Qt::StringLiterals;
using qov::SolarDate;

Q_DECLARE_METATYPE(qov::SolarDate)

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
            if (picture.pixel(x, y) == colour) ++count;
    return count;
}

}  // namespace

class TestCalendarDlg : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { m_dlg.reset(); }
    void navigation_data();
    void navigation();
    void cellClicks_data();
    void cellClicks();
    void gregorianQuery();
    void lunarQuery_data();
    void lunarQuery();
    void queryListRebuilds();
    void keys_data();
    void keys();
    void dragOnSkin();
    void picturePixels_data();
    void picturePixels();

private:
    template <typename T> T* Child(const QString& name) const
    {
        T* child = m_dlg->findChild<T*>(name);
        if (child == nullptr) qWarning("no child %s", qPrintable(name));
        return child;
    }
    QComboBox* Box(const QString& name) const { return Child<QComboBox>(name); }
    void Choose(const QString& box, const QString& item);
    void ShowPage(const SolarDate& d) { m_dlg->SelectDate(qov::MonthPage(d.year, d.month, d.day)); }
    // The selected date and the year and month boxes showing its page (no
    // year item outside 1900..2049).
    void CheckPage(const QString& expected);

    std::unique_ptr<CCalendarDlg> m_dlg;
};

void TestCalendarDlg::init()
{
    m_dlg = std::make_unique<CCalendarDlg>();
    m_dlg->move(100, 100);
    m_dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
    CheckPage(DateText(qov::Today()));  // the window starts at today
    QCOMPARE(Box(u"queryDayBox"_s)->currentText(), QString::number(qov::Today().day));
    QVERIFY(Child<QRadioButton>(u"gregorianRadio"_s)->isChecked());
}

void TestCalendarDlg::Choose(const QString& box, const QString& item)
{
    const int index = Box(box)->findText(item);
    QVERIFY2(index >= 0, qPrintable(box + u" has no item "_s + item));
    Box(box)->setCurrentIndex(index);
}

void TestCalendarDlg::CheckPage(const QString& expected)
{
    const SolarDate d = m_dlg->selectedDate();
    QCOMPARE(DateText(d), expected);
    QCOMPARE(
        Box(u"yearBox"_s)->currentIndex(), d.year >= 1900 && d.year <= 2049 ? d.year - 1900 : -1);
    QCOMPARE(Box(u"monthBox"_s)->currentText(), QString::number(d.month));
}

// A button click, or a choice ("box item") in the year or month box.
void TestCalendarDlg::navigation_data()
{
    QTest::addColumn<SolarDate>("start");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, SolarDate start, const char* control, QString expected) {
        QTest::newRow(name) << start << QString::fromLatin1(control) << expected;
    };
    row("月↑ 31 March, leap", {2008, 3, 31}, "prevMonthButton", u"2008-02-29"_s);
    row("月↑ January stays", {2009, 1, 15}, "prevMonthButton", u"2009-01-15"_s);
    row("月↓ 31 January", {2009, 1, 31}, "nextMonthButton", u"2009-02-28"_s);
    row("月↓ December stays", {2009, 12, 31}, "nextMonthButton", u"2009-12-31"_s);
    row("年↓ 29 February", {2008, 2, 29}, "nextYearButton", u"2009-02-28"_s);
    row("年↑", {2009, 7, 1}, "prevYearButton", u"2008-07-01"_s);
    row("年↑ 1900 stays", {1900, 5, 5}, "prevYearButton", u"1900-05-05"_s);
    row("年↓ 2049 stays", {2049, 5, 5}, "nextYearButton", u"2049-05-05"_s);
    row("今天", {1950, 6, 6}, "todayButton", DateText(qov::Today()));
    row("month box 2, day 31", {2008, 1, 31}, "monthBox 2", u"2008-02-29"_s);
    row("month box 12", {2009, 6, 15}, "monthBox 12", u"2009-12-15"_s);
    row("year box 2009, 29 February", {2008, 2, 29}, "yearBox 2009", u"2009-02-28"_s);
    row("year box 1900", {2009, 6, 15}, "yearBox 1900", u"1900-06-15"_s);
    row("year box 2049", {2009, 6, 15}, "yearBox 2049", u"2049-06-15"_s);
}

void TestCalendarDlg::navigation()
{
    QFETCH(SolarDate, start);
    QFETCH(QString, control);
    QFETCH(QString, expected);
    ShowPage(start);
    const QStringList words = control.split(u' ');
    if (words.size() == 1)
        QTest::mouseClick(Child<QPushButton>(control), Qt::LeftButton);
    else
        Choose(words[0], words[1]);
    CheckPage(expected);
}

void TestCalendarDlg::cellClicks_data()
{
    QTest::addColumn<SolarDate>("start");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, SolarDate start, QPoint point, QString expected) {
        QTest::newRow(name) << start << point << expected;
    };
    // 1 February 2009 was a Sunday: no leading cells, March 1-14 at the end.
    row("in month, top-left", {2009, 2, 20}, CellCentre(0, 0), u"2009-02-01"_s);
    row("in month, x 492 is Saturday", {2009, 2, 20}, QPoint(492, 60), u"2009-02-07"_s);
    row("next month", {2009, 2, 20}, CellCentre(5, 6), u"2009-03-14"_s);
    row("y 352 selects nothing", {2009, 2, 20}, QPoint(100, 352), u"2009-02-20"_s);
    row("x 493 selects nothing", {2009, 2, 20}, QPoint(493, 100), u"2009-02-20"_s);
    // 1 January 2009 a Thursday; 31 December 2009 a Thursday in row 4.
    row("previous year", {2009, 1, 10}, CellCentre(0, 0), u"2008-12-28"_s);
    row("next year", {2009, 12, 10}, CellCentre(4, 5), u"2010-01-01"_s);
    // Pages just outside the year list: the year box shows no year.
    row("December 1899", {1900, 1, 15}, CellCentre(0, 0), u"1899-12-31"_s);
    row("January 2050", {2049, 12, 15}, CellCentre(4, 6), u"2050-01-01"_s);
}

void TestCalendarDlg::cellClicks()
{
    QFETCH(SolarDate, start);
    QFETCH(QPoint, point);
    QFETCH(QString, expected);
    ShowPage(start);
    QTest::mouseClick(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, point);
    CheckPage(expected);
    // The new page paints the selection fill behind the selected day only.
    const QImage picture = m_dlg->RenderPicture();
    int filled = 0;
    for (int row = 0; row < 6; ++row)
        for (int column = 0; column < 7; ++column) {
            const qov::Rect cell = qov::CellRect(row, column);
            if (picture.pixel(cell.left + 1, cell.top + 25) != Rgb(qov::colors::Selection))
                continue;
            QCOMPARE(DateText(m_dlg->page().CellAt(row, column)), expected);
            ++filled;
        }
    QCOMPARE(filled, 1);
}

void TestCalendarDlg::gregorianQuery()
{
    ShowPage({2009, 7, 1});
    Choose(u"queryYearBox"_s, u"2010"_s);
    Choose(u"queryMonthBox"_s, u"2"_s);
    QCOMPARE(Box(u"queryDayBox"_s)->count(), 28);
    Choose(u"queryDayBox"_s, u"14"_s);
    QTest::mouseClick(Child<QPushButton>(u"queryButton"_s), Qt::LeftButton);
    CheckPage(u"2010-02-14"_s);
}

void TestCalendarDlg::lunarQuery_data()
{
    QTest::addColumn<QString>("query");     // year, month item, day item
    QTest::addColumn<QString>("expected");  // empty: the day cannot be chosen
    const auto row = [](const char* query, QString expected) {
        QTest::newRow(query) << QString::fromUtf8(query) << expected;
    };
    // Lunar 2009: new year 26 January, fifth month from 24 May, leap fifth from 23 June.
    row("2009 1 1", u"2009-01-26"_s);
    row("2009 5 1", u"2009-05-24"_s);
    row("2009 5(闰) 1", u"2009-06-23"_s);
    // 2017: the leap sixth month (from 23 July) has 30 days, the ordinary one 29.
    row("2017 6(闰) 30", u"2017-08-21"_s);
    row("2017 6 30", QString());
    // Lunar new year 2050 fell on 23 January: its eve lies past the year list.
    row("2049 12 29", u"2050-01-22"_s);
}

void TestCalendarDlg::lunarQuery()
{
    QFETCH(QString, query);
    QFETCH(QString, expected);
    const QStringList items = query.split(u' ');
    ShowPage({2001, 3, 3});
    QTest::mouseClick(Child<QRadioButton>(u"lunarRadio"_s), Qt::LeftButton);
    QVERIFY(!Child<QRadioButton>(u"gregorianRadio"_s)->isChecked());
    Choose(u"queryYearBox"_s, items[0]);
    Choose(u"queryMonthBox"_s, items[1]);
    if (expected.isEmpty()) {
        QCOMPARE(Box(u"queryDayBox"_s)->findText(items[2]), -1);
        return;
    }
    Choose(u"queryDayBox"_s, items[2]);
    QTest::mouseClick(Child<QPushButton>(u"queryButton"_s), Qt::LeftButton);
    CheckPage(expected);
}

void TestCalendarDlg::queryListRebuilds()
{
    QComboBox* months = Box(u"queryMonthBox"_s);
    QComboBox* days = Box(u"queryDayBox"_s);
    Choose(u"queryYearBox"_s, u"2009"_s);
    QCOMPARE(months->count(), 12);
    QTest::mouseClick(Child<QRadioButton>(u"lunarRadio"_s), Qt::LeftButton);
    // 2009 has a leap fifth month: its item follows "5".
    QCOMPARE(months->count(), 13);
    QCOMPARE(months->itemText(5), u"5(闰)"_s);
    Choose(u"queryMonthBox"_s, u"5"_s);
    QCOMPARE(days->count(), 30);
    Choose(u"queryDayBox"_s, u"30"_s);
    // Into the 29-day leap month: the kept day 30 is gone, day 1 chosen.
    Choose(u"queryMonthBox"_s, u"5(闰)"_s);
    QCOMPARE(days->count(), 29);
    QCOMPARE(days->currentText(), u"1"_s);
    // 2010 has no leap month: the item goes and month 1 is chosen.
    Choose(u"queryYearBox"_s, u"2010"_s);
    QCOMPARE(months->count(), 12);
    QCOMPARE(months->currentText(), u"1"_s);
    Choose(u"queryMonthBox"_s, u"3"_s);
    Choose(u"queryYearBox"_s, u"2009"_s);
    QCOMPARE(months->count(), 13);
    QCOMPARE(months->currentText(), u"3"_s);
    // Back to Gregorian with 5(闰) chosen: month 1 of 31 days.
    Choose(u"queryMonthBox"_s, u"5(闰)"_s);
    QTest::mouseClick(Child<QRadioButton>(u"gregorianRadio"_s), Qt::LeftButton);
    QCOMPARE(months->count(), 12);
    QCOMPARE(months->currentText(), u"1"_s);
    QCOMPARE(days->count(), 31);
}

void TestCalendarDlg::keys_data()
{
    QTest::addColumn<QString>("focus");  // widget given the key; empty: the window
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Return") << QString() << int(Qt::Key_Return) << false;
    QTest::newRow("Enter") << QString() << int(Qt::Key_Enter) << false;
    QTest::newRow("Return on 今天") << u"todayButton"_s << int(Qt::Key_Return) << false;
    QTest::newRow("Esc") << QString() << int(Qt::Key_Escape) << true;
    QTest::newRow("Space on 退出") << u"exitButton"_s << int(Qt::Key_Space) << true;
}

void TestCalendarDlg::keys()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, closes);
    ShowPage({2009, 7, 1});
    QWidget* target = focus.isEmpty() ? m_dlg.get() : Child<QWidget>(focus);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(m_dlg->isVisible(), !closes);
    if (closes) QCOMPARE(m_dlg->result(), int(QDialog::Rejected));
    QCOMPARE(DateText(m_dlg->selectedDate()), u"2009-07-01"_s);
}

void TestCalendarDlg::dragOnSkin()
{
    ShowPage({2009, 7, 1});
    const QPoint before = m_dlg->pos();
    const QPoint press(300, 480);  // bare skin below the boxes
    QTest::mousePress(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, press);
    // The window follows the pointer, so its client point stays the press point.
    QTest::mouseMove(m_dlg.get(), press + QPoint(10, 5));
    QTRY_COMPARE(m_dlg->pos(), before + QPoint(10, 5));
    QTest::mouseMove(m_dlg.get(), press + QPoint(30, 20));
    QTRY_COMPARE(m_dlg->pos(), before + QPoint(40, 25));
    QTest::mouseRelease(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, press);
    QCOMPARE(DateText(m_dlg->selectedDate()), u"2009-07-01"_s);
    // A press on the grid selects instead of moving.
    const QPoint after = m_dlg->pos();
    QTest::mouseClick(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 0));
    QCOMPARE(m_dlg->pos(), after);
    QCOMPARE(DateText(m_dlg->selectedDate()), u"2009-07-05"_s);
}

void TestCalendarDlg::picturePixels_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("100 %") << qreal(1);
    QTest::newRow("200 %") << qreal(2);
}

void TestCalendarDlg::picturePixels()
{
    QFETCH(qreal, ratio);
    // 15 July 2009, a Wednesday in row 2; 5 July a Sunday in row 1.
    ShowPage({2009, 7, 15});
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

QTEST_MAIN(TestCalendarDlg)
#include "tst_calendardlg.moc"
