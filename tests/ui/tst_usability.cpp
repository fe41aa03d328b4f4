// The window as a user meets it: how legible its small texts are at 100 %
// and 200 %, the hover tip against page changes, the drop-down lists, the
// focus chain, the grid's keys and what a screen reader is told.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <ctime>
#include <functional>
#include <memory>

#include "aboutdlg.h"
#include "calendardlg.h"
#include "controls/gridfocus.h"
#include "controls/qovedit.h"
#include "controls/qovlist.h"
#include "controls/tipwindow.h"
#include "model/geometry.h"
#include "painters.h"
#include "skin.h"
#include "uitest.h"

using namespace Qt::StringLiterals;
using namespace uitest;

namespace {

QImage Render(const qov::PagePicture& picture, qreal ratio)
{
    QImage image(QSize(skin::Width, skin::Height) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    PictureCache cache;  // empty: the skin drawn from vectors, as in a first frame
    DrawPicture(painter, cache, FontSet::Create(ratio), picture);
    return image;
}

// The picture with every text emptied: what lies under the texts.
qov::PagePicture Bare(qov::PagePicture picture)
{
    picture.title = {};
    picture.watermark = {};
    for (qov::DayCell& cell : picture.cells) cell.dayText = cell.lowerText = {};
    for (qov::PanelLine& line : picture.panel.lines)
        for (qov::TextRun& run : line.runs) run.text.clear();
    return picture;
}

// How one text run came out: pixels it changed (its ink), those within 40 per
// channel of its colour (strokes that reach it), and those that only partly
// cover what lies under them (the smoothing of the edges).
struct Ink {
    int ink = 0;
    int reach = 0;
    int smooth = 0;
    QString Describe() const
    {
        return u"ink %1, in colour %2, smoothing %3"_s.arg(ink).arg(reach).arg(smooth);
    }
};

bool Near(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
        && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

Ink MeasureInk(const QImage& text, const QImage& under, const QRegion& logical, QRgb colour)
{
    const qreal ratio = text.devicePixelRatio();
    Ink result;
    for (const QRect& area : logical) {
        const QRect r(area.topLeft() * ratio, area.size() * ratio);
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                const QRgb drawn = text.pixel(x, y);
                if (Near(drawn, under.pixel(x, y), 8)) continue;
                ++result.ink;
                result.reach += Near(drawn, colour, 40);
                result.smooth += !Near(drawn, colour, 2);
            }
        }
    }
    return result;
}

// At least `least` pixels of ink, three quarters of them in the text's own colour.
void CheckLegible(const Ink& ink, const QString& name, int least)
{
    const QString message = name + u": "_s + ink.Describe();
    QVERIFY2(ink.ink >= least, qPrintable(message));
    QVERIFY2(ink.reach >= ink.ink * 3 / 4, qPrintable(message));
}

// One small text of the picture: its name for messages, its rectangle and
// colour, and how to put it alone onto the bare picture.
struct SmallText {
    QString name;
    QRect rect;
    QRgb colour;
    std::function<void(qov::PagePicture&)> restore;
};

// The 12 and 13 px texts of a page: title strip, the cells' lower lines
// and the panel's runs (all but the large day number).
QList<SmallText> SmallTexts(const qov::PagePicture& full)
{
    QList<SmallText> texts;
    const auto title = [&](const char* name, std::string qov::TitleStrip::*field,
                           const qov::Rect& rect) {
        if ((full.title.*field).empty()) return;
        texts.append({QString::fromLatin1(name), ToQRect(rect), qRgb(255, 255, 255),
            [&full, field](qov::PagePicture& p) { p.title.*field = full.title.*field; }});
    };
    title("era label", &qov::TitleStrip::eraLabel, qov::title::EraLabel);
    title("year label", &qov::TitleStrip::yearLabel, qov::title::YearLabel);
    title("month label", &qov::TitleStrip::monthLabel, qov::title::MonthLabel);
    title("year info", &qov::TitleStrip::yearInfo, qov::title::YearInfo);
    for (int i = 0; i < qov::grid::CellCount; ++i) {
        const qov::DayCell& cell = full.cells[static_cast<std::size_t>(i)];
        if (cell.lowerText.empty()) continue;
        const int row = i / qov::grid::Columns;
        const int column = i % qov::grid::Columns;
        texts.append(
            {u"cell %1,%2"_s.arg(row).arg(column), ToQRect(qov::CellLowerRect(row, column)),
                Rgb(cell.lowerColor), [&full, i](qov::PagePicture& p) {
                    p.cells[static_cast<std::size_t>(i)].lowerText =
                        full.cells[static_cast<std::size_t>(i)].lowerText;
                }});
    }
    for (std::size_t l = 0; l < full.panel.lines.size(); ++l) {
        if (static_cast<int>(l) == qov::PanelDayLine) continue;
        const std::vector<qov::TextRun>& runs = full.panel.lines[l].runs;
        for (std::size_t r = 0; r < runs.size(); ++r) {
            if (runs[r].text.empty()) continue;
            texts.append({u"panel line %1 run %2"_s.arg(l).arg(r), ToQRect(qov::PanelLineRects[l]),
                Rgb(runs[r].color), [&full, l, r](qov::PagePicture& p) {
                    p.panel.lines[l].runs[r].text = full.panel.lines[l].runs[r].text;
                }});
        }
    }
    return texts;
}

}  // namespace

class TestUsability : public DialogTest {
    Q_OBJECT

    // The tip's first line for the day at `cell` on the page shown.
    QString TipDate(QPoint cell) const
    {
        const qov::SolarDate d =
            m_dlg->page().CellAt((cell.y() - qov::grid::Top) / qov::grid::RowPitch,
                (cell.x() - qov::grid::Left) / qov::grid::ColumnPitch);
        return u"%1 年 %2 月 %3 日"_s.arg(d.year).arg(d.month).arg(d.day);
    }

private Q_SLOTS:
    void init() { Open(); }
    void cleanup() { m_dlg.reset(); }

    // Every small painted text, drawn alone onto the bare picture. At 100 %
    // most of its ink is in its own colour (antialiased 12 px Song strokes
    // peak at grey 62 for black and come out pink for red); at 200 % its edges
    // are smoothed and its strokes still reach the colour.
    void paintedTextInk_data()
    {
        Columns<QDate, qreal>("date", "ratio");
        // 7 December 2026: 大雪 in red in its cell; the panel shows the
        // sectional terms in red and the days between in grey.
        for (const qreal ratio : {1.0, 2.0}) {
            const QByteArray scale = QByteArray::number(qRound(ratio * 100)) + " %";
            QTest::newRow("2026-12-07 at " + scale) << QDate(2026, 12, 7) << ratio;
            // Lunar leap fifth month of 2009 in the grid; the festivals of July.
            QTest::newRow("2009-07-01 at " + scale) << QDate(2009, 7, 1) << ratio;
        }
    }
    void paintedTextInk()
    {
        const auto [date, ratio] = Fetch<QDate, qreal>("date", "ratio");
        const qov::PagePicture full =
            qov::PagePictureTexts(qov::MonthPage(date.year(), date.month(), date.day()));
        const qov::PagePicture bare = Bare(full);
        const QImage under = Render(bare, ratio);
        const QList<SmallText> texts = SmallTexts(full);
        QVERIFY(texts.size() > 40);
        for (const SmallText& text : texts) {
            qov::PagePicture alone = bare;
            text.restore(alone);
            const Ink ink = MeasureInk(Render(alone, ratio), under, text.rect, text.colour);
            const QString message = text.name + u": "_s + ink.Describe();
            if (ratio == 1.0) {
                CheckLegible(ink, text.name, 20);
            } else {
                QVERIFY2(ink.ink >= 20 * ratio * ratio, qPrintable(message));
                QVERIFY2(ink.reach > 0, qPrintable(message));
                QVERIFY2(ink.smooth >= ink.ink / 5, qPrintable(message));
            }
        }
    }

    // The labels on the skin (开始：, 年, the zone label, ...) in the window at
    // 100 %, where no other control overlaps them.
    void labelInk()
    {
        // The zone label is filled after the first frame.
        QTRY_VERIFY(m_dlg->findChild<QLabel*>(u"zoneLabel"_s)->text().size() > 3);
        const QImage window = m_dlg->grab().toImage();
        const QImage under = MakeSkinImage(1.0, FontSet::Create(1.0).fontText12);
        int checked = 0;
        for (const QLabel* label : m_dlg->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->objectName() == u"clockLabel"_s) continue;
            QRegion area = label->geometry();
            for (const QWidget* other : m_dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (other != label && other->isVisible()) area -= other->geometry();
            const QRgb colour = label->palette().color(QPalette::WindowText).rgb();
            CheckLegible(MeasureInk(window, under, area, colour), label->text(), 20);
            ++checked;
        }
        QVERIFY(checked >= 8);
    }

    // The tip after the pointer rested on a cell and something else happened:
    // it shows the day now under the pointer, or nothing.
    void tipAfterChange_data()
    {
        Columns<QString, QString, bool>("start", "action", "shown");
        QTest::newRow("pointer onto 月↓, then its click") << u"2009-06-30"_s << u"click"_s << false;
        QTest::newRow("Page Down with the pointer on the grid")
            << u"2009-06-30"_s << u"key"_s << true;
        // 28 June 2009, the grey Sunday before July: the page turns to June.
        QTest::newRow("click on a grey cell") << u"2009-07-15"_s << u"grey"_s << true;
        QTest::newRow("a list opens") << u"2009-07-15"_s << u"popup"_s << false;
        QTest::newRow("pointer leaves the window") << u"2009-07-15"_s << u"leave"_s << false;
    }
    void tipAfterChange()
    {
        const auto [start, action, shown] =
            Fetch<QString, QString, bool>("start", "action", "shown");
        Select(start);
        const QPoint cell = CellCentre(0, 0);
        QTest::mouseMove(m_dlg.get(), CellCentre(3, 3));  // a move even if the last row ended here
        QTest::mouseMove(m_dlg.get(), cell);
        QTRY_VERIFY(Tip()->isVisible());
        const QString before = Tip()->line(0);
        const qov::MonthPage page = m_dlg->page();
        if (action == u"click"_s) {
            QWidget* button = Child(u"nextMonthButton"_s);
            QTest::mouseMove(button, button->rect().center());
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (action == u"key"_s) {
            m_dlg->gridFocus()->setFocus();
            QTest::keyClick(m_dlg->gridFocus(), Qt::Key_PageDown);
        } else if (action == u"grey"_s) {
            QTest::mouseClick(m_dlg.get(), Qt::LeftButton, {}, cell);
        } else if (action == u"popup"_s) {
            Child<QComboBox>(u"yearBox"_s)->showPopup();
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(m_dlg.get(), &leave);
        }
        if (action != u"leave"_s && action != u"popup"_s) QVERIFY(!(m_dlg->page() == page));
        QTRY_COMPARE(Tip()->isVisible(), shown);
        if (shown) {
            QCOMPARE(Tip()->line(0), TipDate(cell));
            QVERIFY(Tip()->line(0) != before);
        }
        Child<QComboBox>(u"yearBox"_s)->hidePopup();
    }

    // Every list opens as a list of at most 12 rows that scrolls.
    void listHeight_data()
    {
        Columns<QString, int>("box", "count");
        // Years 1900..2100.
        QTest::newRow("year box") << u"yearBox"_s << 201;
        QTest::newRow("month box") << u"monthBox"_s << 12;
        QTest::newRow("query years") << u"queryYearBox"_s << 201;
        QTest::newRow("query days of July") << u"queryDayBox"_s << 31;
    }
    void listHeight()
    {
        const auto [box, count] = Fetch<QString, int>("box", "count");
        auto* list = Child<QComboBox>(box);
        QCOMPARE(list->count(), count);
        list->showPopup();
        QAbstractItemView* view = list->view();
        QTRY_VERIFY(view->isVisible());
        const int rows = qMin(count, 12);
        const int row = view->sizeHintForRow(0);
        QVERIFY(row > 0);
        const int popup = view->window()->height();
        QVERIFY2(popup >= rows * row && popup <= rows * row + 8,
            qPrintable(u"popup %1 px, rows of %2 px"_s.arg(popup).arg(row)));
        QCOMPARE(view->verticalScrollBar()->isVisible(), count > 12);
        // It opens just below or above the box, not over the whole screen.
        const QRect boxRect(list->mapToGlobal(QPoint(0, 0)), list->size());
        const QRect popupRect = view->window()->geometry();
        QVERIFY(popupRect.top() >= boxRect.bottom() - 1 || popupRect.bottom() <= boxRect.top() + 1);
        list->hidePopup();
    }

    // The closed query month box shows its whole leap item at 100 % and 200 %:
    // the closing parenthesis changes its picture. Lunar 2009 had a leap
    // fifth month, lunar 2033 a leap eleventh.
    void leapItemVisible_data()
    {
        Columns<QString, QString>("year", "item");
        QTest::newRow("2009, 5(闰)") << u"2009"_s << u"5(闰)"_s;
        QTest::newRow("2033, 11(闰)") << u"2033"_s << u"11(闰)"_s;
    }
    void leapItemVisible()
    {
        const auto [year, item] = Fetch<QString, QString>("year", "item");
        QTest::mouseClick(Child(u"lunarRadio"_s), Qt::LeftButton);
        Choose(u"queryYearBox"_s, year);
        Choose(u"queryMonthBox"_s, item);
        auto* months = Child<QComboBox>(u"queryMonthBox"_s);
        const int index = months->currentIndex();
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage whole = Picture(months, ratio);
            months->setItemText(index, item.chopped(1));
            const QImage cut = Picture(months, ratio);
            months->setItemText(index, item);
            QVERIFY2(whole != cut, qPrintable(u"at %1 %"_s.arg(ratio * 100)));
        }
    }

    // The closed lists' digits are drawn in full black, not thin grey.
    void listInk()
    {
        for (QComboBox* list : m_dlg->findChildren<QComboBox*>()) {
            const int index = list->currentIndex();
            QVERIFY(index >= 0);
            const QString text = list->itemText(index);
            const QImage drawn = Picture(list);
            list->setItemText(index, QString());
            const QImage bare = Picture(list);
            list->setItemText(index, text);
            const QRgb colour = list->palette().color(QPalette::ButtonText).rgb();
            CheckLegible(
                MeasureInk(drawn, bare, QRegion(list->rect()), colour), list->objectName(), 10);
        }
    }

    // A right-click on a date field is taken there: no menu opens, neither
    // its own nor the window's.
    void dateFieldRightClick()
    {
        auto* edit = Child<CQovEdit>(u"startEdit"_s);
        const QString text = edit->text();
        QString popup;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            if (QWidget* open = QApplication::activePopupWidget()) {
                popup = open->objectName();
                open->close();
            }
        });
        closer.start(20);
        const QPoint at(10, edit->height() / 2);
        QTest::mouseClick(edit, Qt::RightButton, {}, at);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, edit->mapToGlobal(at));
        QApplication::sendEvent(edit, &menu);
        QTest::qWait(60);
        QVERIFY(menu.isAccepted());
        QCOMPARE(popup, QString());
        QCOMPARE(edit->text(), text);
    }

    // Tab walks the focus chain once round; every stop shows the focus.
    void focusVisible()
    {
        m_dlg->gridFocus()->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(m_dlg->gridFocus()->hasFocus());
        QStringList visited;
        for (int step = 0; step < 40; ++step) {
            QWidget* focused = QApplication::focusWidget();
            QVERIFY(focused != nullptr);
            if (visited.contains(focused->objectName())) break;
            visited.append(focused->objectName());
            const QImage with = Picture(focused);
            QTest::keyClick(focused, Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() != focused, qPrintable(focused->objectName()));
            QVERIFY2(with != Picture(focused), qPrintable(focused->objectName()));
        }
        QCOMPARE(visited.first(), u"monthGrid"_s);
        for (const char* name : {"yearBox", "startEdit", "endEdit", "computeButton", "queryDayBox",
                 "queryButton", "exitButton"})
            QVERIFY2(visited.contains(QString::fromLatin1(name)), name);
    }

    // The grid's keys while it has the focus: the page after the keys.
    void gridKeys_data()
    {
        Columns<QString, QString, QString>("start", "keys", "expected");
        QTest::newRow("Right at a year end") << u"2009-12-31"_s << u"Right"_s << u"2010-01-01"_s;
        QTest::newRow("Left into a leap February")
            << u"2008-03-01"_s << u"Left"_s << u"2008-02-29"_s;
        QTest::newRow("Up across a year") << u"2009-01-03"_s << u"Up"_s << u"2008-12-27"_s;
        QTest::newRow("Down across a month") << u"2009-02-28"_s << u"Down"_s << u"2009-03-07"_s;
        QTest::newRow("PgUp clamps the day") << u"2008-03-31"_s << u"PgUp"_s << u"2008-02-29"_s;
        QTest::newRow("PgUp in January") << u"2009-01-15"_s << u"PgUp"_s << u"2008-12-15"_s;
        QTest::newRow("PgDown in December") << u"2009-12-31"_s << u"PgDown"_s << u"2010-01-31"_s;
        QTest::newRow("Ctrl+PgUp from 29 February")
            << u"2008-02-29"_s << u"Ctrl+PgUp"_s << u"2007-02-28"_s;
        QTest::newRow("Ctrl+PgDown") << u"2009-07-15"_s << u"Ctrl+PgDown"_s << u"2010-07-15"_s;
        QTest::newRow("Home") << u"1950-06-06"_s << u"Home"_s << DateText(qov::Today());
        // The page range begins with December 1899 and ends with February after the last year.
        QTest::newRow("Left at the first page day")
            << u"1899-12-01"_s << u"Left"_s << u"1899-12-01"_s;
        QTest::newRow("Down past the last page") << u"2101-02-25"_s << u"Down"_s << u"2101-02-25"_s;
        QTest::newRow("keys in a date field")
            << u"2009-07-15"_s << u"@PgDown,Home,Down"_s << u"2009-07-15"_s;
        // Over the grid the wheel turns months, with Ctrl years, 120 a notch.
        QTest::newRow("wheel towards the user") << u"2009-12-31"_s << u"W-120"_s << u"2010-01-31"_s;
        QTest::newRow("Ctrl+wheel away") << u"2008-02-29"_s << u"CW+120"_s << u"2007-02-28"_s;
        QTest::newRow("fine wheel adds up")
            << u"2009-07-15"_s << u"W+40,W+40,W+40"_s << u"2009-06-15"_s;
        QTest::newRow("fine wheel turned back")
            << u"2009-07-15"_s << u"W+60,W-60,W+60"_s << u"2009-07-15"_s;
    }
    void gridKeys()
    {
        auto [start, keys, expected] =
            Fetch<QString, QString, QString>("start", "keys", "expected");
        Select(start);
        QWidget* target = m_dlg->gridFocus();
        if (keys.startsWith(u'@')) {
            target = Child(u"startEdit"_s);
            keys.remove(0, 1);
        }
        // A click on a cell focuses the grid; it selects that day, so start again.
        QTest::mouseClick(m_dlg.get(), Qt::LeftButton, {}, CellCentre(2, 3));
        QVERIFY(m_dlg->gridFocus()->hasFocus());
        Select(start);
        target->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(target->hasFocus());
        for (const QString& key : keys.split(u',')) {
            if (!key.startsWith(u'W') && !key.startsWith(u"CW"_s)) {
                QTest::keySequence(target, QKeySequence(key));
                continue;
            }
            const QPoint at = CellCentre(2, 3);
            QWheelEvent wheel(at, m_dlg->mapToGlobal(at), {}, {0, key.section(u'W', 1).toInt()},
                Qt::NoButton, key.startsWith(u'C') ? Qt::ControlModifier : Qt::NoModifier,
                Qt::NoScrollPhase, false);
            QApplication::sendEvent(m_dlg.get(), &wheel);
        }
        // The boxes and the picture follow, as after a click.
        CheckPage(expected);
        QCOMPARE(m_dlg->gridFocus()->selectedCell(),
            ToQRect(qov::CellRect(
                        m_dlg->page().SelectedCell().row, m_dlg->page().SelectedCell().column))
                .translated(-m_dlg->gridFocus()->pos()));
    }

    // While the grid has the focus the selected cell is framed, at 100 % and 200 %.
    void gridFocusFrame()
    {
        Select(u"2009-07-15"_s);
        CGridFocus* grid = m_dlg->gridFocus();
        const QRect cell = grid->selectedCell();
        for (const qreal ratio : {1.0, 2.0}) {
            grid->clearFocus();
            const QImage without = Picture(grid, ratio);
            grid->setFocus();
            QTRY_VERIFY(grid->hasFocus());
            const QImage with = Picture(grid, ratio);
            const QRgb frame = grid->palette().color(QPalette::Active, QPalette::Highlight).rgb();
            // The frame's edges just inside the cell; nothing of it elsewhere.
            for (const QPoint edge : {QPoint(cell.center().x(), cell.top() + 1),
                     QPoint(cell.left() + 1, cell.center().y()),
                     QPoint(cell.center().x(), cell.bottom() - 1)}) {
                QCOMPARE(with.pixel(edge * ratio), frame);
                QVERIFY(without.pixel(edge * ratio) != frame);
            }
            for (const QPoint away : {cell.center(), cell.topLeft() - QPoint(3, 3)})
                QCOMPARE(with.pixel(away * ratio), without.pixel(away * ratio));
        }
    }

    // What a screen reader gets: a Chinese name on every control, not a list's
    // current item; a focus event on the new cell per move of the selection,
    // none for the same day. (The table, its headers and the spoken days
    // through the real bridge: tests/ui/bridge_test.py.)
    void screenReader()
    {
        for (QWidget* w : m_dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!w->isVisible()) continue;
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
            QVERIFY(face != nullptr);
            const QString name = face->text(QAccessible::Name);
            if (auto* list = qobject_cast<QComboBox*>(w)) {
                QCOMPARE(face->text(QAccessible::Value), list->currentText());
                QVERIFY2(name != list->currentText(), qPrintable(w->objectName()));
            }
            const bool chinese = std::any_of(name.begin(), name.end(),
                [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
            QVERIFY2(chinese, qPrintable(w->objectName() + u": "_s + name));
        }
        // 1 July 2009, a Wednesday in the leap fifth lunar month.
        Select(u"2009-07-01"_s);
        QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(m_dlg->gridFocus());
        QAccessibleInterface* cell = grid->tableInterface()->cellAt(0, 3);
        QVERIFY(cell->state().selected);
        QVERIFY(cell->text(QAccessible::Description).startsWith(u"农历闰五月初九 "_s));
        const int before = m_dlg->gridFocus()->announcements();
        m_dlg->gridFocus()->setFocus();
        QTest::keyClick(m_dlg->gridFocus(), Qt::Key_Right);
        QCOMPARE(grid->focusChild(), grid->tableInterface()->cellAt(0, 4));
        QTest::qWait(20);  // the focus-in announcement, queued, gives way to the move's
        Select(u"2009-07-02"_s);
        QCOMPARE(m_dlg->gridFocus()->announcements(), before + 1);
        // The tip's texts for the cell under the pointer.
        QTest::mouseMove(m_dlg.get(), CellCentre(1, 1));
        QTRY_VERIFY(Tip()->isVisible());
        QAccessibleInterface* tip = QAccessible::queryAccessibleInterface(Tip());
        QCOMPARE(tip->text(QAccessible::Name), Tip()->line(0));
        QVERIFY(tip->text(QAccessible::Description).contains(Tip()->line(2)));
        QVERIFY(tip->text(QAccessible::Description).contains(Tip()->line(3)));
    }

    // The date field's text stands clear of the left border and in the middle.
    void dateFieldText()
    {
        auto* edit = Child<CQovEdit>(u"endEdit"_s);
        edit->setFocus();
        edit->deselect();
        const QImage image = Picture(edit);
        QRect ink;
        for (int y = 2; y < image.height() - 2; ++y)
            for (int x = 2; x < image.width() - 2; ++x)
                if (qGray(image.pixel(x, y)) < 100) ink |= QRect(x, y, 1, 1);
        QVERIFY(!ink.isEmpty());
        const QString where = QString::asprintf("ink %d,%d %dx%d in %dx%d", ink.x(), ink.y(),
            ink.width(), ink.height(), image.width(), image.height());
        QVERIFY2(ink.left() >= 4, qPrintable(where));
        QVERIFY2(qAbs(ink.top() - (image.height() - 1 - ink.bottom())) <= 1, qPrintable(where));
    }

    // The About box uses the window's face.
    void aboutFace()
    {
        CAboutDlg about(m_dlg.get());
        const QString face = QFontInfo(m_dlg->font()).family();
        QCOMPARE(QFontInfo(about.font()).family(), face);
        QCOMPARE(QFontInfo(about.findChild<QLabel*>(u"aboutVersion"_s)->font()).family(), face);
    }

    // "导出日历…" of the context menu writes what the command line writes for
    // the same years and kinds, all but the moment of writing (DTSTAMP).
    void exportDialog()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"qov.ics"_s);
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                // Chosen by key, outside this timeout: the dialog runs within it.
                for (QAction* action : menu->actions())
                    if (action->text() == u"导出日历…") menu->setActiveAction(action);
                QCoreApplication::postEvent(
                    menu, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
            } else if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                driver.stop();
                modal->findChild<QSpinBox*>(u"exportFirstYear"_s)->setValue(2026);
                modal->findChild<QSpinBox*>(u"exportLastYear"_s)->setValue(2026);
                for (QCheckBox* kind : modal->findChildren<QCheckBox*>())
                    kind->setChecked(kind->objectName() == u"exportKind-terms"
                        || kind->objectName() == u"exportKind-holidays");
                modal->findChild<QLineEdit*>(u"exportPath"_s)->setText(path);
                modal->accept();
            }
        });
        driver.start(20);
        QContextMenuEvent menu(
            QContextMenuEvent::Mouse, QPoint(5, 5), m_dlg->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(m_dlg.get(), &menu);
        QTRY_VERIFY(!driver.isActive() && QFile::exists(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QProcess cli;
        cli.start(QStringLiteral(QOV_APP_PATH),
            {u"--export-ics"_s, u"-"_s, u"--years"_s, u"2026"_s, u"--include"_s,
                u"terms,holidays"_s});
        QVERIFY(cli.waitForFinished(10000));
        static const QRegularExpression stamp(u"DTSTAMP:[0-9TZ]+"_s);
        const QString written = QString::fromUtf8(file.readAll()).remove(stamp);
        QCOMPARE(written, QString::fromUtf8(cli.readAllStandardOutput()).remove(stamp));
    }
};

QOV_UI_TEST_MAIN(TestUsability)

#include "tst_usability.moc"
