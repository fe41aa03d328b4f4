// The main window driven like a user: buttons, lists, clicks on the grid,
// the quick query, the day counter, keys, dragging; and the painted picture
// checked at chosen pixels.
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QLabel>
#include <QMap>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "calendardlg.h"
#include "controls/qovedit.h"
#include "controls/tipwindow.h"
#include "model/colors.h"
#include "model/geometry.h"
#include "model/monthpage.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(qov::SolarDate)

namespace {

QString DateText(const qov::SolarDate& d)
{
    return QString::asprintf("%04d-%02d-%02d", d.year, d.month, d.day);
}

QPoint CellCentre(int row, int column)
{
    const qov::Rect r = qov::CellRect(row, column);
    return {r.left + r.Width() / 2, r.top + r.Height() / 2};
}

QColor Colour(qov::Rgb c) { return QColor(c.r, c.g, c.b); }

// Pixels of exactly `colour` inside `area` of the picture (logical pixels).
int CountColour(const QImage& picture, const QRect& area, const QColor& colour)
{
    const qreal ratio = picture.devicePixelRatio();
    const QRect pixels(area.topLeft() * ratio, area.size() * ratio);
    int count = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            if (picture.pixelColor(x, y).rgb() == colour.rgb()) ++count;
    return count;
}

}  // namespace

class TestCalendarDlg : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void startsAtToday();
    void controls_data();
    void controls();
    void navigationButtons_data();
    void navigationButtons();
    void pageBoxes_data();
    void pageBoxes();
    void cellClicks_data();
    void cellClicks();
    void gregorianQuery();
    void lunarQuery_data();
    void lunarQuery();
    void queryListRebuilds();
    void dayCounter_data();
    void dayCounter();
    void dateEntryFocusChain();
    void enterDoesNothing();
    void closing_data();
    void closing();
    void dragMovesWindow();
    void hoverTip();
    void aboutBox();
    void picturePixels_data();
    void picturePixels();
    void edgePages_data();
    void edgePages();
    void fontSet_data();
    void fontSet();
    void clockAndZoneLabels();

private:
    template <typename T>
    T* Child(const char* name) const
    {
        T* child = m_dlg->findChild<T*>(QString::fromLatin1(name));
        if (child == nullptr) qWarning("no child %s", name);
        return child;
    }
    void ShowPage(int year, int month, int day) { m_dlg->SelectDate(qov::MonthPage(year, month, day)); }
    void Choose(const char* boxName, const QString& itemText);

    std::unique_ptr<CCalendarDlg> m_dlg;
};

void TestCalendarDlg::init()
{
    m_dlg = std::make_unique<CCalendarDlg>();
    m_dlg->move(100, 100);
    m_dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
}

void TestCalendarDlg::cleanup() { m_dlg.reset(); }

void TestCalendarDlg::Choose(const char* boxName, const QString& itemText)
{
    auto* box = Child<QComboBox>(boxName);
    QVERIFY(box != nullptr);
    const int index = box->findText(itemText);
    QVERIFY2(index >= 0, qPrintable(u"%1 has no item %2"_s.arg(QLatin1StringView(boxName), itemText)));
    box->setCurrentIndex(index);
}

void TestCalendarDlg::startsAtToday()
{
    const qov::SolarDate today = qov::Today();
    QCOMPARE(DateText(m_dlg->selectedDate()), DateText(today));
    QCOMPARE(Child<QComboBox>("yearBox")->currentText(), QString::number(today.year));
    QCOMPARE(Child<QComboBox>("monthBox")->currentText(), QString::number(today.month));
    QCOMPARE(Child<QComboBox>("queryYearBox")->currentText(), QString::number(today.year));
    QCOMPARE(Child<QComboBox>("queryDayBox")->currentText(), QString::number(today.day));
    QVERIFY(Child<QRadioButton>("gregorianRadio")->isChecked());
    QCOMPARE(DateText(Child<CQovEdit>("startEdit")->GetDate()), DateText(today));
    QCOMPARE(DateText(Child<CQovEdit>("endEdit")->GetDate()), DateText(today));
    QCOMPARE(m_dlg->windowTitle(), u"岚澄万年历 1.0"_s);
    QCOMPARE(m_dlg->size(), QSize(680, 505));
    QCOMPARE(m_dlg->minimumSize(), m_dlg->maximumSize());
    QVERIFY(m_dlg->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(m_dlg->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(m_dlg->testAttribute(Qt::WA_OpaquePaintEvent));
}

void TestCalendarDlg::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("place");

    QTest::newRow("1046") << u"prevYearButton"_s << u"年↑"_s << QRect(61, 362, 42, 21);
    QTest::newRow("1047") << u"nextYearButton"_s << u"年↓"_s << QRect(112, 362, 42, 21);
    QTest::newRow("1048") << u"prevMonthButton"_s << u"月↑"_s << QRect(187, 362, 42, 21);
    QTest::newRow("1049") << u"nextMonthButton"_s << u"月↓"_s << QRect(235, 362, 42, 21);
    QTest::newRow("1000") << u"todayButton"_s << u"今天"_s << QRect(315, 362, 42, 21);
    QTest::newRow("1067") << u"settingsButton"_s << u"日期和时间设置"_s << QRect(375, 362, 93, 21);
    QTest::newRow("1028") << u"computeButton"_s << u"计算"_s << QRect(257, 422, 42, 23);
    QTest::newRow("1043") << u"queryButton"_s << u"查询"_s << QRect(628, 432, 39, 21);
    QTest::newRow("1009") << u"exitButton"_s << u"退出"_s << QRect(569, 473, 61, 23);
    QTest::newRow("1035") << u"gregorianRadio"_s << u"公历"_s << QRect(509, 399, 51, 21);
    QTest::newRow("1037") << u"lunarRadio"_s << u"农历"_s << QRect(579, 399, 53, 21);
    QTest::newRow("1003") << u"yearBox"_s << QString() << QRect(45, 7, 50, 21);
    QTest::newRow("1004") << u"monthBox"_s << QString() << QRect(118, 7, 38, 21);
    QTest::newRow("1060") << u"queryYearBox"_s << QString() << QRect(438, 431, 56, 21);
    QTest::newRow("1039") << u"queryMonthBox"_s << QString() << QRect(508, 431, 40, 21);
    QTest::newRow("1041") << u"queryDayBox"_s << QString() << QRect(562, 431, 39, 21);
    QTest::newRow("1063") << u"startEdit"_s << QString() << QRect(58, 422, 77, 21);
    QTest::newRow("1064") << u"endEdit"_s << QString() << QRect(172, 422, 75, 21);
    QTest::newRow("1029") << u"resultEdit"_s << QString() << QRect(345, 422, 39, 21);
    QTest::newRow("1017") << u"zoneLabel"_s << QString() << QRect(509, 310, 140, 26);
    QTest::newRow("1068") << u"clockLabel"_s << QString() << QRect(513, 341, 154, 40);
}

void TestCalendarDlg::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, place);
    auto* widget = m_dlg->findChild<QWidget*>(name);
    QVERIFY(widget != nullptr);
    QVERIFY(widget->isVisible());
    QCOMPARE(widget->geometry(), place);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QCOMPARE(button->text(), text);
        if (auto* push = qobject_cast<QPushButton*>(widget)) {
            QVERIFY(!push->isDefault());
            QVERIFY(!push->autoDefault());
        }
    }
}

void TestCalendarDlg::navigationButtons_data()
{
    QTest::addColumn<qov::SolarDate>("start");
    QTest::addColumn<QString>("button");
    QTest::addColumn<qov::SolarDate>("expected");

    QTest::newRow("31 March, 月↑, leap year") << qov::SolarDate{2008, 3, 31}
        << u"prevMonthButton"_s << qov::SolarDate{2008, 2, 29};
    QTest::newRow("31 March, 月↑, common year") << qov::SolarDate{2009, 3, 31}
        << u"prevMonthButton"_s << qov::SolarDate{2009, 2, 28};
    QTest::newRow("January, 月↑ stays") << qov::SolarDate{2009, 1, 15} << u"prevMonthButton"_s
                                        << qov::SolarDate{2009, 1, 15};
    QTest::newRow("31 January, 月↓") << qov::SolarDate{2009, 1, 31} << u"nextMonthButton"_s
                                     << qov::SolarDate{2009, 2, 28};
    QTest::newRow("December, 月↓ stays") << qov::SolarDate{2009, 12, 31}
        << u"nextMonthButton"_s << qov::SolarDate{2009, 12, 31};
    QTest::newRow("29 February 2008, 年↓") << qov::SolarDate{2008, 2, 29}
        << u"nextYearButton"_s << qov::SolarDate{2009, 2, 28};
    QTest::newRow("年↑") << qov::SolarDate{2009, 7, 1} << u"prevYearButton"_s
                        << qov::SolarDate{2008, 7, 1};
    QTest::newRow("1900, 年↑ stays") << qov::SolarDate{1900, 5, 5} << u"prevYearButton"_s
                                    << qov::SolarDate{1900, 5, 5};
    QTest::newRow("2049, 年↓ stays") << qov::SolarDate{2049, 5, 5} << u"nextYearButton"_s
                                    << qov::SolarDate{2049, 5, 5};
    QTest::newRow("今天") << qov::SolarDate{1950, 6, 6} << u"todayButton"_s << qov::Today();
}

void TestCalendarDlg::navigationButtons()
{
    QFETCH(qov::SolarDate, start);
    QFETCH(QString, button);
    QFETCH(qov::SolarDate, expected);
    ShowPage(start.year, start.month, start.day);
    auto* pushButton = m_dlg->findChild<QPushButton*>(button);
    QVERIFY(pushButton != nullptr);
    QTest::mouseClick(pushButton, Qt::LeftButton);
    QCOMPARE(DateText(m_dlg->selectedDate()), DateText(expected));
    QCOMPARE(Child<QComboBox>("yearBox")->currentText(), QString::number(expected.year));
    QCOMPARE(Child<QComboBox>("monthBox")->currentText(), QString::number(expected.month));
}

void TestCalendarDlg::pageBoxes_data()
{
    QTest::addColumn<qov::SolarDate>("start");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("item");
    QTest::addColumn<qov::SolarDate>("expected");

    QTest::newRow("31 January, month 2") << qov::SolarDate{2009, 1, 31} << u"monthBox"_s
                                         << u"2"_s << qov::SolarDate{2009, 2, 28};
    QTest::newRow("31 January 2008, month 2") << qov::SolarDate{2008, 1, 31} << u"monthBox"_s
                                              << u"2"_s << qov::SolarDate{2008, 2, 29};
    QTest::newRow("month 12") << qov::SolarDate{2009, 6, 15} << u"monthBox"_s << u"12"_s
                              << qov::SolarDate{2009, 12, 15};
    QTest::newRow("29 February 2008, year 2009") << qov::SolarDate{2008, 2, 29} << u"yearBox"_s
                                                 << u"2009"_s << qov::SolarDate{2009, 2, 28};
    QTest::newRow("year 1900") << qov::SolarDate{2009, 6, 15} << u"yearBox"_s << u"1900"_s
                               << qov::SolarDate{1900, 6, 15};
    QTest::newRow("year 2049") << qov::SolarDate{2009, 6, 15} << u"yearBox"_s << u"2049"_s
                               << qov::SolarDate{2049, 6, 15};
}

void TestCalendarDlg::pageBoxes()
{
    QFETCH(qov::SolarDate, start);
    QFETCH(QString, box);
    QFETCH(QString, item);
    QFETCH(qov::SolarDate, expected);
    ShowPage(start.year, start.month, start.day);
    Choose(box.toLatin1().constData(), item);
    QCOMPARE(DateText(m_dlg->selectedDate()), DateText(expected));
    // The other box still shows the page.
    QCOMPARE(Child<QComboBox>("yearBox")->currentText(), QString::number(expected.year));
    QCOMPARE(Child<QComboBox>("monthBox")->currentText(), QString::number(expected.month));
}

void TestCalendarDlg::cellClicks_data()
{
    QTest::addColumn<qov::SolarDate>("start");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<qov::SolarDate>("expected");

    // 1 February 2009 was a Sunday: no leading cells, March 1-14 at the end.
    QTest::newRow("February 2009, top-left is the 1st") << qov::SolarDate{2009, 2, 20}
        << CellCentre(0, 0) << qov::SolarDate{2009, 2, 1};
    QTest::newRow("February 2009, row 4 starts March") << qov::SolarDate{2009, 2, 20}
        << CellCentre(4, 0) << qov::SolarDate{2009, 3, 1};
    QTest::newRow("February 2009, last cell 14 March") << qov::SolarDate{2009, 2, 20}
        << CellCentre(5, 6) << qov::SolarDate{2009, 3, 14};
    QTest::newRow("in-month cell") << qov::SolarDate{2009, 7, 1} << CellCentre(2, 3)
                                   << qov::SolarDate{2009, 7, 15};
    // 1 January 2009 was a Thursday: four leading December days.
    QTest::newRow("January leading cell: previous December") << qov::SolarDate{2009, 1, 10}
        << CellCentre(0, 0) << qov::SolarDate{2008, 12, 28};
    // 1 December 2009 was a Tuesday; the 31st a Thursday in row 4.
    QTest::newRow("December trailing cell: next January") << qov::SolarDate{2009, 12, 10}
        << CellCentre(4, 5) << qov::SolarDate{2010, 1, 1};
    QTest::newRow("x = 492 is Saturday") << qov::SolarDate{2009, 2, 20} << QPoint(492, 60)
                                         << qov::SolarDate{2009, 2, 7};
    QTest::newRow("x = 5, y = 52 is the first cell") << qov::SolarDate{2009, 2, 20}
        << QPoint(5, 52) << qov::SolarDate{2009, 2, 1};
    QTest::newRow("y = 352 selects nothing") << qov::SolarDate{2009, 2, 20} << QPoint(100, 352)
                                             << qov::SolarDate{2009, 2, 20};
    QTest::newRow("x = 493 selects nothing") << qov::SolarDate{2009, 2, 20} << QPoint(493, 100)
                                             << qov::SolarDate{2009, 2, 20};
}

void TestCalendarDlg::cellClicks()
{
    QFETCH(qov::SolarDate, start);
    QFETCH(QPoint, point);
    QFETCH(qov::SolarDate, expected);
    ShowPage(start.year, start.month, start.day);
    QTest::mouseClick(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, point);
    QCOMPARE(DateText(m_dlg->selectedDate()), DateText(expected));
    QCOMPARE(Child<QComboBox>("yearBox")->currentText(), QString::number(expected.year));
    QCOMPARE(Child<QComboBox>("monthBox")->currentText(), QString::number(expected.month));
}

void TestCalendarDlg::gregorianQuery()
{
    ShowPage(2009, 7, 1);
    Choose("queryYearBox", u"2010"_s);
    Choose("queryMonthBox", u"2"_s);
    QCOMPARE(Child<QComboBox>("queryDayBox")->count(), 28);  // February 2010
    Choose("queryDayBox", u"14"_s);
    QTest::mouseClick(Child<QPushButton>("queryButton"), Qt::LeftButton);
    QCOMPARE(DateText(m_dlg->selectedDate()), u"2010-02-14"_s);
    QCOMPARE(Child<QComboBox>("yearBox")->currentText(), u"2010"_s);
}

void TestCalendarDlg::lunarQuery_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("expected");  // empty: the page stays

    // Lunar new year 2009 fell on 26 January.
    QTest::newRow("2009 正月初一") << u"2009"_s << u"1"_s << u"1"_s << u"2009-01-26"_s;
    // The ordinary fifth month of 2009 began on 24 May, the leap one on 23 June.
    QTest::newRow("2009 5 1") << u"2009"_s << u"5"_s << u"1"_s << u"2009-05-24"_s;
    QTest::newRow("2009 5(闰) 1") << u"2009"_s << u"5(闰)"_s << u"1"_s << u"2009-06-23"_s;
    // In 2017 the leap sixth month (from 23 July) has 30 days, the ordinary
    // one 29: the leap month's day 30 is found, not taken for the ordinary
    // month's.
    QTest::newRow("2017 6(闰) 30") << u"2017"_s << u"6(闰)"_s << u"30"_s << u"2017-08-21"_s;
    // Lunar new year 2050 fell on 23 January: its eve lies past the year list.
    QTest::newRow("2049 12 29, in 2050") << u"2049"_s << u"12"_s << u"29"_s << u"2050-01-22"_s;
    QTest::newRow("2017 6 30 does not exist") << u"2017"_s << u"6"_s << u"30"_s << QString();
    // Lunar 2009 has no leap month at 6: a leap sixth month never appears.
    QTest::newRow("2009 6(闰) is not listed") << u"2009"_s << u"6(闰)"_s << u"1"_s
                                             << QString();
}

void TestCalendarDlg::lunarQuery()
{
    QFETCH(QString, year);
    QFETCH(QString, month);
    QFETCH(QString, day);
    QFETCH(QString, expected);
    ShowPage(2001, 3, 3);
    QTest::mouseClick(Child<QRadioButton>("lunarRadio"), Qt::LeftButton);
    QVERIFY(Child<QRadioButton>("lunarRadio")->isChecked());
    QVERIFY(!Child<QRadioButton>("gregorianRadio")->isChecked());
    Choose("queryYearBox", year);
    if (expected.isEmpty()) {
        // A lunar date that does not exist cannot be asked for.
        if (Child<QComboBox>("queryMonthBox")->findText(month) >= 0) {
            Choose("queryMonthBox", month);
            QCOMPARE(Child<QComboBox>("queryDayBox")->findText(day), -1);
        }
        return;
    }
    Choose("queryMonthBox", month);
    Choose("queryDayBox", day);
    QTest::mouseClick(Child<QPushButton>("queryButton"), Qt::LeftButton);
    QCOMPARE(DateText(m_dlg->selectedDate()), expected);
    const int found = m_dlg->selectedDate().year;
    QCOMPARE(Child<QComboBox>("yearBox")->currentIndex(), found <= 2049 ? found - 1900 : -1);
}

void TestCalendarDlg::queryListRebuilds()
{
    auto* months = Child<QComboBox>("queryMonthBox");
    auto* days = Child<QComboBox>("queryDayBox");
    Choose("queryYearBox", u"2009"_s);
    QCOMPARE(months->count(), 12);
    QTest::mouseClick(Child<QRadioButton>("lunarRadio"), Qt::LeftButton);
    // 2009 has a leap fifth month: its item follows "5".
    QCOMPARE(months->count(), 13);
    QCOMPARE(months->itemText(4), u"5"_s);
    QCOMPARE(months->itemText(5), u"5(闰)"_s);
    QCOMPARE(months->itemText(6), u"6"_s);
    Choose("queryMonthBox", u"5(闰)"_s);
    QCOMPARE(days->count(), 29);
    Choose("queryMonthBox", u"5"_s);
    QCOMPARE(days->count(), 30);
    Choose("queryDayBox", u"30"_s);
    // Back to the 29-day leap month: the kept day 30 is gone, day 1 chosen.
    Choose("queryMonthBox", u"5(闰)"_s);
    QCOMPARE(days->count(), 29);
    QCOMPARE(days->currentText(), u"1"_s);
    // 2010 has no leap month: the item goes and month 1 is chosen.
    Choose("queryYearBox", u"2010"_s);
    QCOMPARE(months->count(), 12);
    QCOMPARE(months->currentText(), u"1"_s);
    Choose("queryMonthBox", u"3"_s);
    Choose("queryYearBox", u"2009"_s);
    QCOMPARE(months->count(), 13);
    QCOMPARE(months->currentText(), u"3"_s);
    // Gregorian mode with 5(闰) chosen: month 1.
    Choose("queryMonthBox", u"5(闰)"_s);
    QTest::mouseClick(Child<QRadioButton>("gregorianRadio"), Qt::LeftButton);
    QCOMPARE(months->count(), 12);
    QCOMPARE(months->currentText(), u"1"_s);
    QCOMPARE(days->count(), 31);
}

void TestCalendarDlg::dayCounter_data()
{
    QTest::addColumn<qov::SolarDate>("start");
    QTest::addColumn<qov::SolarDate>("end");
    QTest::addColumn<QString>("result");

    QTest::newRow("whole 2009") << qov::SolarDate{2009, 1, 1} << qov::SolarDate{2009, 12, 31}
                                << u"364"_s;
    QTest::newRow("over 29 February") << qov::SolarDate{2008, 2, 28}
                                      << qov::SolarDate{2008, 3, 1} << u"2"_s;
    QTest::newRow("end before start") << qov::SolarDate{2009, 3, 1}
                                      << qov::SolarDate{2009, 2, 28} << u"-1"_s;
    QTest::newRow("same date") << qov::SolarDate{2009, 7, 1} << qov::SolarDate{2009, 7, 1}
                               << u"0"_s;
    QTest::newRow("across centuries") << qov::SolarDate{1900, 1, 1}
                                      << qov::SolarDate{2000, 1, 1} << u"36524"_s;
}

void TestCalendarDlg::dayCounter()
{
    QFETCH(qov::SolarDate, start);
    QFETCH(qov::SolarDate, end);
    QFETCH(QString, result);
    Child<CQovEdit>("startEdit")->SetDate(start.year, start.month, start.day);
    Child<CQovEdit>("endEdit")->SetDate(end.year, end.month, end.day);
    QTest::mouseClick(Child<QPushButton>("computeButton"), Qt::LeftButton);
    QCOMPARE(Child<QLineEdit>("resultEdit")->text(), result);
    QVERIFY(Child<QLineEdit>("resultEdit")->isReadOnly());
}

void TestCalendarDlg::dateEntryFocusChain()
{
    auto* start = Child<CQovEdit>("startEdit");
    auto* end = Child<CQovEdit>("endEdit");
    auto* compute = Child<QPushButton>("computeButton");
    m_dlg->activateWindow();
    start->SelectField(1);
    QTRY_VERIFY(start->hasFocus());
    QTest::keyClicks(start, u"20090101"_s);
    QCOMPARE(DateText(start->GetDate()), u"2009-01-01"_s);
    QTRY_VERIFY(end->hasFocus());  // completing the start date moves on
    QTest::keyClicks(end, u"20091231"_s);
    QCOMPARE(DateText(end->GetDate()), u"2009-12-31"_s);
    QTRY_VERIFY(compute->hasFocus());
    QTest::keyClick(compute, Qt::Key_Space);
    QCOMPARE(Child<QLineEdit>("resultEdit")->text(), u"364"_s);
}

void TestCalendarDlg::enterDoesNothing()
{
    ShowPage(2009, 7, 1);
    QTest::keyClick(m_dlg.get(), Qt::Key_Return);
    QTest::keyClick(m_dlg.get(), Qt::Key_Enter);
    // Also with the focus on a button, which Enter must not press.
    auto* today = Child<QPushButton>("todayButton");
    today->setFocus();
    QTest::keyClick(today, Qt::Key_Return);
    QVERIFY(m_dlg->isVisible());
    QCOMPARE(DateText(m_dlg->selectedDate()), u"2009-07-01"_s);
}

void TestCalendarDlg::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Esc") << u"esc"_s;
    QTest::newRow("退出") << u"exit"_s;
    QTest::newRow("close box") << u"close"_s;
}

void TestCalendarDlg::closing()
{
    QFETCH(QString, how);
    if (how == u"esc")
        QTest::keyClick(m_dlg.get(), Qt::Key_Escape);
    else if (how == u"exit")
        QTest::mouseClick(Child<QPushButton>("exitButton"), Qt::LeftButton);
    else
        m_dlg->close();
    QVERIFY(!m_dlg->isVisible());
    QCOMPARE(m_dlg->result(), int(QDialog::Rejected));
}

void TestCalendarDlg::dragMovesWindow()
{
    ShowPage(2009, 7, 1);
    const QPoint before = m_dlg->pos();
    // The strip below the boxes is bare skin.
    const QPoint press(300, 480);
    QTest::mousePress(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, press);
    // The window follows the pointer, so its client point stays the press point.
    QTest::mouseMove(m_dlg.get(), press + QPoint(10, 5));
    QTRY_COMPARE(m_dlg->pos(), before + QPoint(10, 5));
    QTest::mouseMove(m_dlg.get(), press + QPoint(30, 20));
    QTRY_COMPARE(m_dlg->pos(), before + QPoint(40, 25));
    QTest::mouseRelease(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, press);
    QCOMPARE(DateText(m_dlg->selectedDate()), u"2009-07-01"_s);  // no day selected
    // A press on the grid selects instead of moving.
    const QPoint after = m_dlg->pos();
    QTest::mouseClick(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 0));
    QCOMPARE(m_dlg->pos(), after);
    QCOMPARE(DateText(m_dlg->selectedDate()), u"2009-07-05"_s);
}

void TestCalendarDlg::hoverTip()
{
    ShowPage(2009, 2, 20);
    CTipWindow* tip = m_dlg->tipWindow();
    QVERIFY(tip != nullptr);
    QVERIFY(!tip->isVisible());
    QTest::mouseMove(m_dlg.get(), CellCentre(0, 0));
    QTRY_VERIFY(tip->isVisible());
    QCOMPARE(tip->line(0), u"2009 年 2 月 1 日"_s);
    QCOMPARE(tip->line(1), u"星期日"_s);
    QTest::mouseMove(m_dlg.get(), CellCentre(4, 0));
    QCOMPARE(tip->line(0), u"2009 年 3 月 1 日"_s);
    // Out of the hover area, still over the window: hidden.
    QTest::mouseMove(m_dlg.get(), QPoint(300, 480));
    QTRY_VERIFY(!tip->isVisible());
}

void TestCalendarDlg::aboutBox()
{
    QString title;
    QStringList texts;
    QTimer::singleShot(0, this, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr) return;
        title = box->windowTitle();
        for (const QLabel* label : box->findChildren<QLabel*>())
            if (!label->text().isEmpty()) texts << label->text();
        if (auto* ok = box->findChild<QPushButton*>(u"aboutOkButton"_s)) {
            texts << ok->text();
            ok->click();
        }
    });
    m_dlg->ShowAbout();
    QCOMPARE(title, u"关于 qov"_s);
    QVERIFY(texts.contains(u"qov Version 1.0"_s));
    QVERIFY(texts.contains(u"确定"_s));

    // The skin's context menu offers the box.
    QStringList actions;
    QTimer::singleShot(0, this, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : menu->actions()) actions << action->text();
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(300, 480),
                            m_dlg->mapToGlobal(QPoint(300, 480)));
    QApplication::sendEvent(m_dlg.get(), &event);
    QCOMPARE(actions, QStringList{u"关于 qov(&A)..."_s});
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
    ShowPage(2009, 7, 15);
    const QImage picture = m_dlg->RenderPicture(ratio);
    QCOMPARE(picture.size(), QSize(680, 505) * ratio);

    const auto pixel = [&](int x, int y) {
        return picture.pixelColor(QPoint(x, y) * ratio).rgb();
    };
    const qov::Rect selected = qov::CellRect(2, 3);
    // Selection fill at the left edge between number and lunar text, and
    // not on a neighbouring cell.
    QCOMPARE(pixel(selected.left + 1, selected.top + 25), Colour(qov::colors::Selection).rgb());
    QCOMPARE(pixel(selected.right - 2, selected.top + 25), Colour(qov::colors::Selection).rgb());
    const qov::Rect other = qov::CellRect(2, 2);
    QCOMPARE(pixel(other.left + 1, other.top + 25), QColor(Qt::white).rgb());
    // Rounded corners: the very corner pixel stays white.
    QCOMPARE(pixel(selected.left, selected.top), QColor(Qt::white).rgb());

    // The Sunday number 5 in red; the Monday 6 has no red.
    const qov::Rect sunday = qov::CellUpperRect(1, 0);
    QVERIFY(CountColour(picture, QRect(sunday.left, sunday.top, sunday.Width(), sunday.Height()),
                        Colour(qov::colors::Red))
            > 10);
    const qov::Rect monday = qov::CellUpperRect(1, 1);
    QCOMPARE(CountColour(picture, QRect(monday.left, monday.top, monday.Width(), monday.Height()),
                         Colour(qov::colors::Red)),
             0);
    // The watermark behind the grid (year 2009, month 07).
    QVERIFY(CountColour(picture, QRect(5, 52, 488, 300), Colour(qov::colors::Watermark)) > 500);
    // White title strip text on the blue bar, whose lightest blue has a red
    // channel of 78: count the nearly white pixels of the antialiased glyphs.
    int light = 0;
    for (int y = 11; y < 30; ++y)
        for (int x = 179; x < 350; ++x)
            if (QColor(pixel(x, y)).red() > 200) ++light;
    QVERIFY2(light > 20, qPrintable(QString::number(light)));
    // The skin's borders.
    QCOMPARE(pixel(4, 200), QColor(96, 188, 222).rgb());
    QCOMPARE(pixel(675, 100), QColor(96, 188, 222).rgb());
}

// Pages just outside the year list, reached through neighbouring cells:
// the year box shows no year, the page still paints its selection.
void TestCalendarDlg::edgePages_data()
{
    QTest::addColumn<qov::SolarDate>("start");
    QTest::addColumn<QPoint>("click");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("row");  // of the selected day on the new page
    QTest::addColumn<int>("column");

    // 1 January 1900 was a Monday: one leading cell, 31 December 1899, a
    // Sunday, the last row of its page.
    QTest::newRow("December 1899") << qov::SolarDate{1900, 1, 15} << CellCentre(0, 0)
                                   << u"1899-12-31"_s << 5 << 0;
    // 31 December 2049 is a Friday in row 4; 1 January 2050 a Saturday,
    // the first cell row of its page.
    QTest::newRow("January 2050") << qov::SolarDate{2049, 12, 15} << CellCentre(4, 6)
                                  << u"2050-01-01"_s << 0 << 6;
}

void TestCalendarDlg::edgePages()
{
    QFETCH(qov::SolarDate, start);
    QFETCH(QPoint, click);
    QFETCH(QString, expected);
    QFETCH(int, row);
    QFETCH(int, column);
    ShowPage(start.year, start.month, start.day);
    QTest::mouseClick(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, click);
    QCOMPARE(DateText(m_dlg->selectedDate()), expected);
    QCOMPARE(Child<QComboBox>("yearBox")->currentIndex(), -1);
    const QImage picture = m_dlg->RenderPicture();
    const qov::Rect cell = qov::CellRect(row, column);
    QCOMPARE(picture.pixelColor(cell.left + 1, cell.top + 25), Colour(qov::colors::Selection));
    // Back into the list with the arrows.
    QTest::mouseClick(Child<QPushButton>(start.year == 1900 ? "nextYearButton" : "prevYearButton"),
                      Qt::LeftButton);
    QCOMPARE(Child<QComboBox>("yearBox")->currentIndex(), start.year - 1900);
}

void TestCalendarDlg::fontSet_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("cellHeight");
    QTest::addColumn<QStringList>("faces");  // any of these serves
    QTest::addColumn<int>("minWeight");

    const QStringList song = {u"SimSun"_s, u"AR PL UMing CN"_s, u"WenQuanYi Micro Hei"_s};
    const QStringList arial = {u"Arial"_s, u"Liberation Sans"_s};
    const QStringList arialBlack = {u"Arial Black"_s, u"Liberation Sans"_s};
    QTest::newRow("fontText12") << u"fontText12"_s << 12 << song << int(QFont::Normal);
    QTest::newRow("fontText13") << u"fontText13"_s << 13 << song << int(QFont::Normal);
    QTest::newRow("fontDay72") << u"fontDay72"_s << 72 << arial << int(QFont::Normal);
    QTest::newRow("fontMark150") << u"fontMark150"_s << 150 << arialBlack << int(QFont::Bold);
    QTest::newRow("fontClock24") << u"fontClock24"_s << 24 << arial << int(QFont::Bold);
    QTest::newRow("fontCellDay35") << u"fontCellDay35"_s << 35 << arialBlack << int(QFont::Bold);
}

void TestCalendarDlg::fontSet()
{
    QFETCH(QString, name);
    QFETCH(int, cellHeight);
    QFETCH(QStringList, faces);
    QFETCH(int, minWeight);
    const FontSet& f = m_dlg->fonts();
    const QMap<QString, QFont> byName = {
        {u"fontText12"_s, f.fontText12},   {u"fontText13"_s, f.fontText13},
        {u"fontDay72"_s, f.fontDay72},     {u"fontMark150"_s, f.fontMark150},
        {u"fontClock24"_s, f.fontClock24}, {u"fontCellDay35"_s, f.fontCellDay35}};
    const QFont font = byName.value(name);
    const QFontInfo info(font);
    QVERIFY2(faces.contains(info.family()), qPrintable(info.family()));
    QVERIFY(info.weight() >= minWeight);
    QVERIFY(!font.kerning());
    // The line (ascent + descent) is the Windows cell height, to a pixel.
    QVERIFY2(qAbs(QFontMetricsF(font).height() - cellHeight) <= 1.0,
             qPrintable(QString::number(QFontMetricsF(font).height())));
}

void TestCalendarDlg::clockAndZoneLabels()
{
    auto* clock = Child<QLabel>("clockLabel");
    QCOMPARE(clock->font(), m_dlg->fonts().fontClock24);
    QCOMPARE(clock->alignment(), Qt::AlignCenter);
    QCOMPARE(clock->palette().color(QPalette::WindowText), Colour(qov::colors::DarkBlue));
    // The first tick comes after a second.
    static const QRegularExpression time(u"^([0-9]|1[0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$"_s);
    QTRY_VERIFY_WITH_TIMEOUT(time.match(clock->text()).hasMatch(), 3000);
    QVERIFY(Child<QLabel>("zoneLabel")->text().startsWith(u"当前："_s));
}

QTEST_MAIN(TestCalendarDlg)
#include "tst_calendardlg.moc"
