// The main window as a user meets it: buttons, lists, clicks and keys; the
// painted picture at chosen pixels and against a plain reference painter at
// 100 % and 200 %; how legible its small texts are; the hover tip; the date
// fields; focus and what a screen reader is told; the user's holiday file
// followed while the window runs. Date rules themselves are the models'
// tests: here each only shows that the window passes on what it is given.
#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStringDecoder>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <sys/stat.h>

#include "aboutdlg.h"
#include "controls/clocklabels.h"
#include "controls/gridfocus.h"
#include "controls/qovedit.h"
#include "holidayfile.h"
#include "model/colors.h"
#include "platform/settingslauncher.h"
#include "platform/zonename.h"
#include "uitest.h"

using namespace Qt::StringLiterals;
using namespace uitest;

namespace {

QString Decode(const std::string& gbk)
{
    return QStringDecoder("GBK")(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

std::string Gbk(const QString& s) { return QByteArray(QStringEncoder("GBK")(s)).toStdString(); }

bool Near(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
        && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The painted picture from texts alone, as in a first frame: the skin from vectors.
QImage Render(const qov::PagePicture& picture, qreal ratio)
{
    QImage image(QSize(skin::Width, skin::Height) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    PictureCache cache;
    DrawPicture(painter, cache, FontSet::Create(ratio), picture);
    return image;
}

// Runs side by side, the whole centred in `rect`, baseline one ascent below
// its top; clipped to `rect` where there are several runs or the text
// overhangs (smoothed edges may spill a pixel out of a rectangle they fit).
void ReferenceLine(QPainter& painter, const QFont& font, const qov::Rect& r,
    const std::vector<std::pair<QString, QColor>>& runs)
{
    const QFontMetricsF metrics(font);
    qreal width = 0;
    for (const auto& run : runs) width += metrics.horizontalAdvance(run.first);
    const QRect rect = ToQRect(r);
    qreal x = rect.left() + (rect.width() - width) / 2;
    painter.setFont(font);
    if (runs.size() > 1 || width > rect.width() || metrics.height() > rect.height())
        painter.setClipRect(rect);
    for (const auto& [text, colour] : runs) {
        painter.setPen(colour);
        painter.drawText(QPointF(x, rect.top() + metrics.ascent()), text);
        x += metrics.horizontalAdvance(text);
    }
    painter.setClipping(false);
}

// The skin as boxes: each a 1-pixel border filled with paper, the window
// colour between them; the month panel's bands and the two gradient bands
// over them; weekday names and box headings by drawText.
void ReferenceSkin(QPainter& painter, const QFont& font)
{
    painter.fillRect(QRect(0, 0, skin::Width, skin::Height), skin::Window);
    for (const QRect& box : {skin::CalendarPanel, skin::DayPanel, skin::ClockPanel,
             skin::CalculatorBox, skin::QueryBox}) {
        painter.fillRect(box, skin::Border);
        painter.fillRect(box.adjusted(1, 1, -1, -1), skin::Paper);
    }
    painter.fillRect(skin::WeekdayHeader.adjusted(0, 0, 0, -1), skin::HeaderFill);
    painter.fillRect(skin::ButtonStrip, skin::StripFill);
    for (const QRect& band : {skin::TitleBar, skin::DayPanelBand}) {
        QLinearGradient gradient(0, band.top(), 0, band.bottom() + 1);
        gradient.setColorAt(0, skin::TitleTop);
        gradient.setColorAt(1, skin::TitleBottom);
        painter.fillRect(band, gradient);
    }
    painter.fillRect(QRect(5, skin::SeparatorY, 488, 1), skin::Border);
    painter.fillRect(QRect(5, skin::WeekdayHeader.bottom(), 488, 1), skin::Border);
    painter.setFont(font);
    for (int k = 0; k < 7; ++k) {
        painter.setPen(k == 0 ? skin::Sunday : k == 6 ? skin::Saturday : skin::Heading);
        painter.drawText(
            QRect(5 + 70 * k, 32, 69, 19), Qt::AlignCenter, u"日一二三四五六"_s.mid(k, 1));
    }
    painter.setPen(skin::Heading);
    for (const auto& [x, heading] : {std::pair{12, u"时间计算"_s}, {431, u"快速查询"_s}})
        painter.drawText(
            QRect(x, 400, 80, 18), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, heading);
}

// The page painted plainly: every text by QPainter::drawText, the skin as
// above, nothing kept between paints.
QImage Reference(const qov::MonthPage& page, qreal ratio)
{
    const FontSet fonts = FontSet::Create(ratio);
    const qov::PagePicture picture = qov::PagePictureTexts(page);
    QImage image(QSize(skin::Width, skin::Height) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    ReferenceSkin(painter, fonts.fontText12);
    const auto line = [&](const QFont& font, const qov::Rect& r, const std::string& text,
                          QColor colour) {
        ReferenceLine(painter, font, r, {{Decode(text), colour}});
    };
    const QColor white = ToQColor(qov::colors::White), mark = ToQColor(qov::colors::Watermark);
    line(fonts.fontText12, qov::title::EraLabel, picture.title.eraLabel, white);
    line(fonts.fontText12, qov::title::YearLabel, picture.title.yearLabel, white);
    line(fonts.fontText12, qov::title::MonthLabel, picture.title.monthLabel, white);
    line(fonts.fontText12, qov::title::YearInfo, picture.title.yearInfo, white);
    line(fonts.fontMark150, qov::grid::WatermarkYear, picture.watermark.year, mark);
    line(fonts.fontMark150, qov::grid::WatermarkMonth, picture.watermark.month, mark);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < qov::grid::CellCount; ++i) {
        const qov::DayCell& cell = picture.cells[static_cast<std::size_t>(i)];
        const int row = i / qov::grid::Columns, column = i % qov::grid::Columns;
        if (cell.selected) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(ToQColor(qov::colors::Selection));
            painter.drawRoundedRect(QRectF(ToQRect(qov::CellRect(row, column))), 5, 5);
        }
        line(fonts.fontCellDay35, qov::CellUpperRect(row, column), cell.dayText,
            ToQColor(cell.dayColor));
        line(fonts.fontText12, qov::CellLowerRect(row, column), cell.lowerText,
            ToQColor(cell.lowerColor));
        if (cell.dayOff == qov::DayOff::None) continue;
        // A holiday badge over the cell's texts: fill, then the mark centred on it.
        const QRect badge = ToQRect(qov::CellBadgeRect(row, column));
        painter.setPen(Qt::NoPen);
        painter.setBrush(ToQColor(cell.badgeColor));
        painter.drawRoundedRect(QRectF(badge), 2, 2);
        painter.setFont(fonts.fontBadge);
        painter.setPen(Qt::white);
        painter.drawText(
            QRectF(badge), Qt::AlignCenter, cell.dayOff == qov::DayOff::Rest ? u"休"_s : u"班"_s);
    }
    for (std::size_t i = 0; i < picture.panel.lines.size(); ++i) {
        std::vector<std::pair<QString, QColor>> runs;
        for (const qov::TextRun& run : picture.panel.lines[i].runs)
            runs.emplace_back(run.utf8 ? QString::fromStdString(run.text) : Decode(run.text),
                ToQColor(run.color));
        ReferenceLine(painter,
            static_cast<int>(i) == qov::PanelDayLine ? fonts.fontDay72 : fonts.fontText13,
            qov::PanelLineRects[i], runs);
    }
    return image;
}

// The dialog's own paint event into an image, children left out; only
// `area` painted when given.
QImage PaintEvent(CCalendarDlg& dlg, const QRect& area = QRect())
{
    QImage image(dlg.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    dlg.render(&image, area.topLeft(), area.isNull() ? QRegion() : QRegion(area),
        QWidget::DrawWindowBackground);
    return image;
}

// Pixels that differ (inside `area` when given), and the first of them.
QString Difference(const QImage& a, const QImage& b, const QRegion& area = QRegion())
{
    if (a.size() != b.size()) return u"sizes differ"_s;
    int count = 0;
    QPoint first;
    for (const QRect& r : area.isNull() ? QRegion(a.rect()) : area)
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y) && count++ == 0) first = {x, y};
    return count == 0
        ? QString()
        : u"%1 pixels differ, first at %2,%3"_s.arg(count).arg(first.x()).arg(first.y());
}

// Empty when the text drawn over `under` is legible, else what was measured.
// Its ink: the pixels it changed; reach: those within 40 per channel of its
// colour; smoothed: those that only partly cover what lies under them. At
// 100 %: `least` pixels of ink, three quarters of them reaching the colour;
// at 200 %: `least` per logical pixel, some reaching it, a fifth smoothed.
QString Illegible(
    const QImage& text, const QImage& under, const QRegion& logical, QRgb colour, int least)
{
    const qreal ratio = text.devicePixelRatio();
    int ink = 0, reach = 0, smooth = 0;
    for (const QRect& area : logical) {
        const QRect r(area.topLeft() * ratio, area.size() * ratio);
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QRgb drawn = text.pixel(x, y);
                if (Near(drawn, under.pixel(x, y), 8)) continue;
                ++ink;
                reach += Near(drawn, colour, 40);
                smooth += !Near(drawn, colour, 2);
            }
    }
    const bool legible = ratio == 1.0
        ? ink >= least && reach >= ink * 3 / 4
        : ink >= least * ratio * ratio && reach > 0 && smooth >= ink / 5;
    return legible ? QString()
                   : u"ink %1, in colour %2, smoothing %3"_s.arg(ink).arg(reach).arg(smooth);
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

}  // namespace

class TestWindow : public DialogTest {
    Q_OBJECT

    PaintCounter m_counter;

    // The pointer onto the button `n`, and a click.
    void Click(const QString& n)
    {
        QWidget* button = Child<QAbstractButton>(n);
        QTest::mouseMove(button, button->rect().center());
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void MoveTo(QPoint client) { QTest::mouseMove(m_dlg.get(), client); }
    // Where the tip belongs for the pointer at `client`: centred, 20 px below.
    QPoint TipPos(QPoint client) const
    {
        const QPoint global = m_dlg->mapToGlobal(client);
        return {global.x() - Tip()->sampleWidth() / 2, global.y() + 20};
    }
    QString HolidayFolder() const { return qEnvironmentVariable("XDG_CONFIG_HOME") + u"/qov"_s; }
    QString HolidayPath() const { return HolidayFolder() + u"/holidays.tsv"_s; }
    // The kinds of 1, 9 and 10 October 2026 in the window's table ("-": none),
    // then the holiday file's messages.
    QString Holidays() const
    {
        QStringList kinds;
        for (const int day : {1, 9, 10}) {
            const qov::DayOff kind = m_dlg->holidayFile()->table().Lookup({2026, 10, day}).kind;
            kinds << (kind == qov::DayOff::Rest ? u"休"_s
                    : kind == qov::DayOff::Work ? u"班"_s
                                                : u"-"_s);
        }
        return (kinds + m_dlg->holidayFile()->messages()).join(u' ');
    }
    // Writes the user's file as editors that save safely do: a new file renamed over the
    // old; the folder made first if need be.
    void Replace(const QByteArray& bytes)
    {
        QVERIFY(QDir().mkpath(HolidayFolder()));
        QSaveFile file(HolidayPath());
        QVERIFY(
            file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit());
    }

    // Steps a user takes: "name" clicks a button, "box=item" chooses an item,
    // "@x,y" clicks the window at a point, "#row,column" at a cell's centre,
    // "grid" and "field" give the focus to the grid or the start date, "key:K"
    // types a key there, "wheel:N" and "ctrlwheel:N" turn the wheel over the
    // grid, "popup" opens the year list, "leave" takes the pointer away.
    void Do(const QString& steps)
    {
        for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QStringList parts = step.mid(1).split(u',');
            if (step == u"grid"_s || step == u"field"_s) {
                QWidget* target =
                    step == u"grid"_s ? m_dlg->gridFocus() : Child<QWidget>(u"startEdit"_s);
                target->setFocus(Qt::TabFocusReason);
                QTRY_VERIFY(target->hasFocus());
            } else if (step.contains(u"wheel:"_s)) {
                const QPoint at = CellCentre(2, 3);
                QWheelEvent wheel(at, m_dlg->mapToGlobal(at), {},
                    {0, step.section(u':', 1).toInt()}, Qt::NoButton,
                    step.startsWith(u"ctrl"_s) ? Qt::ControlModifier : Qt::NoModifier,
                    Qt::NoScrollPhase, false);
                QApplication::sendEvent(m_dlg.get(), &wheel);
            } else if (step.startsWith(u"key:"_s)) {
                QTest::keySequence(QApplication::focusWidget(), QKeySequence(step.mid(4)));
            } else if (step.contains(u'=')) {
                Choose(step.section(u'=', 0, 0), step.section(u'=', 1));
            } else if (step.startsWith(u'@') || step.startsWith(u'#')) {
                QTest::mouseClick(m_dlg.get(), Qt::LeftButton, Qt::NoModifier,
                    step[0] == u'@' ? QPoint(parts[0].toInt(), parts[1].toInt())
                                    : CellCentre(parts[0].toInt(), parts[1].toInt()));
            } else if (step == u"popup"_s) {
                Child<QComboBox>(u"yearBox"_s)->showPopup();
            } else if (step == u"leave"_s) {
                QEvent leave(QEvent::Leave);
                QApplication::sendEvent(m_dlg.get(), &leave);
            } else {
                Click(step);
            }
        }
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(MakeRuntimeDir()); }
    void init()
    {
        QDir(HolidayFolder()).removeRecursively();
        Open();
        m_dlg->installEventFilter(&m_counter);
        CheckPage(DateText(qov::Today()));  // the window starts at today
        QCOMPARE(
            Child<QComboBox>(u"queryDayBox"_s)->currentText(), QString::number(qov::Today().day));
        m_dlg->SelectDate(qov::MonthPage(2009, 7, 15));
    }
    void cleanup()
    {
        m_dlg.reset();
        QDir(HolidayFolder()).removeRecursively();
    }

    // From a page, steps (see Do): the page after them, and the grid's frame on its cell.
    void actions_data()
    {
        Columns<QString, QString, QString>("start", "steps", "expected");
        const auto row = [](const char* name, const char* start, const char* steps,
                             QString expected) {
            QTest::newRow(name) << QString::fromUtf8(start) << QString::fromUtf8(steps) << expected;
        };
        const QString today = DateText(qov::Today());
        row("年↑", "2009-05-05", "prevYearButton", u"2008-05-05"_s);
        row("年↓", "2008-02-29", "nextYearButton", u"2009-02-28"_s);
        row("月↑", "2008-03-31", "prevMonthButton", u"2008-02-29"_s);
        row("月↓", "2009-06-15", "nextMonthButton", u"2009-07-15"_s);
        row("今天", "1950-06-06", "todayButton", today);
        row("month box", "2008-01-31", "monthBox=2", u"2008-02-29"_s);
        row("month box, first month", "2008-03-31", "monthBox=1", u"2008-01-31"_s);
        row("year box", "2009-06-15", "yearBox=2100", u"2100-06-15"_s);
        row("year box, first year", "2009-06-15", "yearBox=1900", u"1900-06-15"_s);
        // 1 February 2009 was a Sunday: no leading cells, March 1-14 at the end.
        row("cell in month", "2009-02-20", "@492,60", u"2009-02-07"_s);
        row("cell in next month", "2009-02-20", "#5,6", u"2009-03-14"_s);
        row("cell in December 1899", "1900-01-15", "#0,0", u"1899-12-31"_s);  // no year item
        row("Gregorian query", "2001-03-03",
            "queryYearBox=2010 queryMonthBox=2 queryDayBox=14 queryButton", u"2010-02-14"_s);
        // Lunar 2009: leap fifth month from 23 June.
        row("lunar query, leap month", "2001-03-03",
            "lunarRadio queryYearBox=2009 queryMonthBox=5(闰) queryDayBox=1 queryButton",
            u"2009-06-23"_s);
        row("Left", "2009-07-15", "grid key:Left", u"2009-07-14"_s);
        row("Right", "2009-07-15", "grid key:Right", u"2009-07-16"_s);
        row("Up", "2009-07-15", "grid key:Up", u"2009-07-08"_s);
        row("Down", "2009-07-15", "grid key:Down", u"2009-07-22"_s);
        row("PgUp", "2009-07-15", "grid key:PgUp", u"2009-06-15"_s);
        row("PgDown", "2009-07-15", "grid key:PgDown", u"2009-08-15"_s);
        row("Ctrl+PgUp", "2009-07-15", "grid key:Ctrl+PgUp", u"2008-07-15"_s);
        row("Ctrl+PgDown", "2009-07-15", "grid key:Ctrl+PgDown", u"2010-07-15"_s);
        row("Home", "1950-06-06", "grid key:Home", today);
        row("Shift is ignored", "2009-07-15", "grid key:Shift+Right", u"2009-07-16"_s);
        row("Ctrl+Left does nothing", "2009-07-15", "grid key:Ctrl+Left", u"2009-07-15"_s);
        row("Alt+Right does nothing", "2009-07-15", "grid key:Alt+Right", u"2009-07-15"_s);
        row("keys in a date field", "2009-07-15", "field key:PgDown key:Home key:Down",
            u"2009-07-15"_s);
        // Over the grid the wheel turns months, with Ctrl years, 120 a notch.
        row("wheel towards the user", "2009-12-31", "wheel:-120", u"2010-01-31"_s);
        row("Ctrl+wheel away", "2008-02-29", "ctrlwheel:120", u"2007-02-28"_s);
        row("fine wheel adds up", "2009-07-15", "wheel:40 wheel:40 wheel:40", u"2009-06-15"_s);
    }
    void actions()
    {
        const auto [start, steps, expected] =
            Fetch<QString, QString, QString>("start", "steps", "expected");
        // A click on a cell focuses the grid; it selects that day, so start after it.
        QTest::mouseClick(m_dlg.get(), Qt::LeftButton, {}, CellCentre(2, 3));
        QVERIFY(m_dlg->gridFocus()->hasFocus());
        Select(start);
        Do(steps);
        CheckPage(expected);
        const qov::GridCell cell = m_dlg->page().SelectedCell();
        QCOMPARE(m_dlg->gridFocus()->selectedCell(),
            ToQRect(qov::CellRect(cell.row, cell.column)).translated(-m_dlg->gridFocus()->pos()));
    }

    // The mode and the year rebuild the query lists: 2009 has a leap fifth
    // month, 2010 none. The closed month box shows its whole leap item at 100 %
    // and 200 %: the closing parenthesis changes its picture (lunar 2033: a
    // leap eleventh). Enter ends nothing; on a focused "今天" it presses the
    // button. Esc closes.
    void queryListsAndKeys()
    {
        auto* months = Child<QComboBox>(u"queryMonthBox"_s);
        const auto checked = [this](const QString& radio) {
            return QString::number(Child<QAbstractButton>(radio)->isChecked());
        };
        Do(u"queryYearBox=2009 lunarRadio"_s);
        QStringList counts{checked(u"lunarRadio"_s), QString::number(months->count())};
        Do(u"queryYearBox=2033 queryMonthBox=11(闰)"_s);
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage whole = Picture(months, ratio);
            months->setItemText(months->currentIndex(), u"11(闰"_s);
            QVERIFY2(whole != Picture(months, ratio), qPrintable(QString::number(ratio)));
            months->setItemText(months->currentIndex(), u"11(闰)"_s);
        }
        Do(u"queryYearBox=2010"_s);
        counts << QString::number(months->count());
        Do(u"gregorianRadio"_s);
        counts << checked(u"gregorianRadio"_s)
               << QString::number(Child<QComboBox>(u"queryDayBox"_s)->count());
        QCOMPARE(counts.join(u' '), u"1 13 12 1 31"_s);  // the radio checked; 31: January
        QTest::keyClick(m_dlg.get(), Qt::Key_Enter);
        CheckPage(u"2009-07-15"_s);
        Child<QWidget>(u"todayButton"_s)->setFocus();
        QTest::keyClick(Child<QWidget>(u"todayButton"_s), Qt::Key_Return);
        CheckPage(DateText(qov::Today()));
        QVERIFY(m_dlg->isVisible());
        QTest::keyClick(m_dlg.get(), Qt::Key_Escape);
        QVERIFY(!m_dlg->isVisible() && m_dlg->result() == QDialog::Rejected);
    }

    void dragOnSkin()
    {
        const QPoint before = m_dlg->pos();
        const QPoint press(300, 480);  // bare skin below the boxes
        QTest::mousePress(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, press);
        QCOMPARE(m_dlg->cursor().shape(), Qt::SizeAllCursor);
        // The window follows the pointer, so its client point stays the press point.
        QTest::mouseMove(m_dlg.get(), press + QPoint(10, 5));
        QTRY_COMPARE(m_dlg->pos(), before + QPoint(10, 5));
        QTest::mouseRelease(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, press);
        QCOMPARE(m_dlg->cursor().shape(), Qt::ArrowCursor);
        // A move without a button moves nothing, and ends the move cursor that
        // a move by the window system leaves behind.
        m_dlg->setCursor(Qt::SizeAllCursor);
        QTest::mouseMove(m_dlg.get(), press + QPoint(30, -20));
        QCOMPARE(m_dlg->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseClick(m_dlg.get(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 0));
        QCOMPARE(m_dlg->pos(), before + QPoint(10, 5));  // a press on the grid selects, not moves
        QCOMPARE(DateText(m_dlg->selectedDate()), u"2009-07-05"_s);
    }

    // Text ink at 100 % and 200 %: the share of the pixels in a logical area
    // within `tolerance` per channel of the text's colour is at least `least`.
    // (Shapes and fills: the reference below, which draws with the same fonts.)
    void pixels_data()
    {
        Columns<QDate, qreal, QRect, QColor, int, double>(
            "date", "ratio", "area", "colour", "tolerance", "least");
        const QDate july(2009, 7, 15), february(2009, 2, 20);
        const QColor red = ToQColor(qov::colors::Red);
        for (const qreal ratio : {1.0, 2.0}) {
            const auto add = [&](const char* name, QDate date, QRect area, QColor colour,
                                 int tolerance, double least) {
                QTest::addRow("%s at %d %%", name, qRound(ratio * 100))
                    << date << ratio << area << colour << tolerance << least;
            };
            // 5 July 2009, a Sunday in row 1.
            add("Sunday number red", july, ToQRect(qov::CellUpperRect(1, 0)), red, 0, 0.004);
            add("watermark", july, QRect(5, 52, 488, 300), ToQColor(qov::colors::Watermark), 0,
                0.003);
            // 立春 2009 came at 00:49 China Standard Time on 4 February (cell 0,3),
            // drawn in red; the 3rd shows 初九 in black.
            add("立春 red", february, ToQRect(qov::CellLowerRect(0, 3)), red, 75, 0.008);
            add("初九 black", february, ToQRect(qov::CellLowerRect(0, 2)), Qt::black, 80, 0.008);
            // 1 October 2026, a Thursday in row 0: 休, a white mark of several strokes.
            add("休 badge's mark", QDate(2026, 10, 15), ToQRect(qov::CellBadgeRect(0, 4)),
                Qt::white, 31, 0.1);
        }
    }
    void pixels()
    {
        const auto [date, ratio, area, colour, tolerance, least] =
            Fetch<QDate, qreal, QRect, QColor, int, double>(
                "date", "ratio", "area", "colour", "tolerance", "least");
        Select(date.toString(Qt::ISODate));
        const QImage picture = m_dlg->RenderPicture(ratio);
        const int count =
            CountPixels(picture, area, [&](QRgb p) { return Near(p, colour.rgb(), tolerance); });
        const double share = count / (area.width() * area.height() * ratio * ratio);
        QVERIFY2(share >= least, qPrintable(QString::number(share)));
    }

    // Every day number of a page keeps clear of the badge's corner (October
    // 2003 has no data, so nothing is drawn there but the numbers and the
    // watermark), at both ratios.
    void numbersClearOfBadges()
    {
        Select(u"2003-10-28"_s);
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage picture = m_dlg->RenderPicture(ratio);
            for (int i = 0; i < qov::grid::CellCount; ++i)
                for (const qov::Rgb c :
                    {qov::colors::Black, qov::colors::Red, qov::colors::Green, qov::colors::Grey})
                    QCOMPARE(CountColour(picture, qov::CellBadgeRect(i / 7, i % 7), Rgb(c)), 0);
        }
    }

    // The window's fast paint path (cached laid-out texts and watermark
    // outlines, a skin image) gives the reference's pixels at 100 % and 200 %,
    // on pages whose texts reach every part: runs of several colours,
    // festival lists cut and shortened, a selection in each corner row. The
    // paint event of a new window, whole or in part (the clock's tick repaints
    // the area under it), likewise, texts cut by the part's edge included.
    void equalsReference_data()
    {
        Columns<QDate, QRect>("date", "area");  // null area: the picture at both ratios
        const QDate july(2009, 7, 15);
        QTest::newRow("2009-07-15 festivals, leap lunar month") << july << QRect();
        QTest::newRow("2012-02-29 leap day") << QDate(2012, 2, 29) << QRect();
        QTest::newRow("1900-01-01 December 1899 cells") << QDate(1900, 1, 1) << QRect();
        QTest::newRow("2008-08-31 selection in the last row") << QDate(2008, 8, 31) << QRect();
        QTest::newRow("2026-10-01 holiday badges") << QDate(2026, 10, 1) << QRect();
        QTest::newRow("paint event, whole window") << july << QRect(0, 0, 680, 505);
        QTest::newRow("paint event, clock") << july << QRect(513, 341, 154, 40);
        QTest::newRow("paint event, half a day number") << july << QRect(215, 170, 69, 10);
        QTest::newRow("paint event, panel day's edge") << july << QRect(540, 90, 30, 60);
    }
    void equalsReference()
    {
        const auto [date, area] = Fetch<QDate, QRect>("date", "area");
        const qov::MonthPage page(date.year(), date.month(), date.day());
        CCalendarDlg dlg;
        dlg.SelectDate(page);
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage reference = Reference(page, ratio);
            // Twice: the first lays the texts out (and draws the skin from
            // vectors), the second draws them from the cache.
            for (int paint = 0; paint < 2; ++paint) {
                const QString difference = area.isNull()
                    ? Difference(dlg.RenderPicture(ratio), reference)
                    : Difference(PaintEvent(dlg, area), reference, area);
                QVERIFY2(difference.isEmpty(),
                    qPrintable(u"ratio %1, paint %2: "_s.arg(ratio).arg(paint) + difference));
                QCoreApplication::processEvents();
            }
            if (!area.isNull()) break;
        }
    }

    // Paging through 30 years fills the text cache past its bound and turns
    // the watermark outlines over; a page then still matches, and so does one
    // drawn after the fonts were remade for another ratio. The window icon
    // and the zone label wait for the first frame.
    void cacheAndFirstFrame()
    {
        CCalendarDlg dlg;
        for (int month = 0; month < 360; ++month) {
            dlg.SelectDate(qov::MonthPage(1990 + month / 12, month % 12 + 1, 9));
            (void)PaintEvent(dlg);
        }
        QCOMPARE(Difference(PaintEvent(dlg), Reference(dlg.page(), 1.0)), QString());
        (void)dlg.RenderPicture(2.0);
        QCOMPARE(Difference(PaintEvent(dlg), Reference(dlg.page(), 1.0)), QString());
        CCalendarDlg fresh;
        auto* zone = fresh.findChild<QLabel*>(u"zoneLabel"_s);
        QCOMPARE(zone->text(), u"当前："_s);
        QVERIFY(fresh.windowIcon().isNull());
        fresh.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        QTRY_COMPARE(zone->text(), u"当前：中国标准时间"_s);
        QVERIFY(!fresh.windowIcon().isNull());
        // Each family list starts with a face installed here, the face drawn with.
        for (const QFont& font : {SongFont(12), ArialFont(24, QFont::Bold), ArialBlackFont(35)})
            QCOMPARE(QFontInfo(font).family()
                    + (QFontDatabase::hasFamily(font.families().front()) ? u""_s : u" (missing)"_s),
                font.families().front());
    }

    // Every small painted text (title strip, cells' lower lines, the panel's
    // runs), drawn alone onto the picture without texts. At 100 % most of its
    // ink is in its own colour (antialiased 12 px Song strokes peak at grey 62
    // for black and come out pink for red); at 200 % its edges are smoothed
    // and its strokes still reach the colour. 7 December 2026: 大雪 in red;
    // 1 July 2009: the leap fifth month and July's festivals.
    void paintedTextInk_data()
    {
        Columns<QDate, qreal>("date", "ratio");
        for (const qreal ratio : {1.0, 2.0})
            for (const QDate date : {QDate(2026, 12, 7), QDate(2009, 7, 1)})
                QTest::addRow(
                    "%s at %d %%", qPrintable(date.toString(Qt::ISODate)), qRound(ratio * 100))
                    << date << ratio;
    }
    void paintedTextInk()
    {
        const auto [date, ratio] = Fetch<QDate, qreal>("date", "ratio");
        qov::PagePicture full =
            qov::PagePictureTexts(qov::MonthPage(date.year(), date.month(), date.day()));
        qov::PagePicture bare = full;  // every text emptied: what lies under them
        bare.title = {};
        bare.watermark = {};
        for (qov::DayCell& cell : bare.cells) cell.dayText = cell.lowerText = {};
        for (qov::PanelLine& line : bare.panel.lines)
            for (qov::TextRun& run : line.runs) run.text.clear();
        const QImage under = Render(bare, ratio);
        QStringList checked;  // names followed by what was measured where illegible
        const auto check = [&](const QString& name, const qov::Rect& rect, qov::Rgb colour,
                               const std::function<std::string&(qov::PagePicture&)>& text) {
            qov::PagePicture alone = bare;
            text(alone) = text(full);
            checked << name
                    + Illegible(Render(alone, ratio), under, ToQRect(rect), Rgb(colour), 20);
        };
        check(u"year info"_s, qov::title::YearInfo, qov::colors::White,
            [](qov::PagePicture& p) -> std::string& { return p.title.yearInfo; });
        for (std::size_t i = 0; i < full.cells.size(); ++i) {
            const int row = static_cast<int>(i) / 7, column = static_cast<int>(i) % 7;
            if (!full.cells[i].lowerText.empty())
                check(u"cell %1,%2"_s.arg(row).arg(column), qov::CellLowerRect(row, column),
                    full.cells[i].lowerColor,
                    [i](qov::PagePicture& p) -> std::string& { return p.cells[i].lowerText; });
        }
        for (std::size_t l = 0; l < full.panel.lines.size(); ++l)
            for (std::size_t r = 0; r < full.panel.lines[l].runs.size(); ++r)
                if (static_cast<int>(l) != qov::PanelDayLine
                    && !full.panel.lines[l].runs[r].text.empty())
                    check(u"panel line %1 run %2"_s.arg(l).arg(r), qov::PanelLineRects[l],
                        full.panel.lines[l].runs[r].color,
                        [l, r](qov::PagePicture& p) -> std::string& {
                            return p.panel.lines[l].runs[r].text;
                        });
        QVERIFY(checked.size() > 40);
        QCOMPARE(checked.filter(u"ink "_s).join(u'\n'), QString());
    }

    // The labels on the skin (开始：, 年, the zone label, ...) in the window at
    // 100 %, where no other control overlaps them; the closed lists' digits in
    // full black, not thin grey.
    void controlInk()
    {
        QTRY_VERIFY(Child<QLabel>(u"zoneLabel"_s)->text().size() > 3);  // after the first frame
        const QImage window = m_dlg->grab().toImage();
        const QImage under = MakeSkinImage(1.0, FontSet::Create(1.0).fontText12);
        QStringList checked;  // as above
        for (const QLabel* label : m_dlg->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->objectName() == u"clockLabel"_s) continue;
            QRegion area = label->geometry();
            for (const QWidget* other : m_dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (other != label && other->isVisible()) area -= other->geometry();
            const QRgb colour = label->palette().color(QPalette::WindowText).rgb();
            checked << label->text() + Illegible(window, under, area, colour, 20);
        }
        for (QComboBox* list : m_dlg->findChildren<QComboBox*>()) {
            const int index = list->currentIndex();
            const QString text = list->itemText(index);
            const QImage drawn = Picture(list);
            list->setItemText(index, QString());
            const QImage bare = Picture(list);
            list->setItemText(index, text);
            const QRgb colour = list->palette().color(QPalette::ButtonText).rgb();
            checked << list->objectName() + Illegible(drawn, bare, list->rect(), colour, 10);
        }
        QVERIFY(checked.size() >= 8 + m_dlg->findChildren<QComboBox*>().size());
        QCOMPARE(checked.filter(u"ink "_s).join(u'\n'), QString());
    }

    // Within one cell the tip follows the pointer without repainting; the next day repaints.
    // Moves onto the tip, which lies over the row below, reach the dialog: it shows that day.
    void tipFollowsPointer()
    {
        const QPoint start = CellCentre(2, 2);
        MoveTo(start);
        QTRY_VERIFY(Tip()->isVisible() && Tip()->paintCount() >= 1);
        QTest::qWait(30);
        const int requests = Tip()->repaintRequests(), painted = Tip()->paintCount();
        for (const QPoint step : {QPoint(5, 0), QPoint(-12, -9), QPoint(30, 20)}) {
            MoveTo(start + step);
            QCOMPARE(Tip()->pos(), TipPos(start + step));
        }
        QTest::qWait(50);
        QCOMPARE(QPoint(Tip()->repaintRequests(), Tip()->paintCount()), QPoint(requests, painted));
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
        Columns<QString, int, QPoint, bool>("note", "rows", "past", "visible");
        const QFontMetrics metrics(CTipWindow::TipFont());
        const int sample = metrics.horizontalAdvance(u" 甲子年 甲子月 甲子日"_s);
        const int glyph = metrics.horizontalAdvance(u'国');
        // The smallest note of 国 that needs n rows: just over n - 1 sample widths.
        const auto noteFor = [&](int n) { return QString((n - 1) * sample / glyph + 1, u'国'); };
        const int maxRows = (300 - 8) / metrics.height() - 4;  // height: (4 + rows) lines + 8
        QTest::newRow("empty note: no box") << QString() << 0 << QPoint() << true;
        QTest::newRow("note exactly sample wide")
            << u" 甲子年 甲子月 甲子日"_s << 2 << QPoint() << true;
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
        const QFontMetrics metrics(CTipWindow::TipFont());
        const int sample = metrics.horizontalAdvance(u" 甲子年 甲子月 甲子日"_s);
        Tip()->SetText(Gbk(u"2009 年 8 月 1 日"_s), Gbk(u"星期六"_s), {}, {}, Gbk(note));
        QCOMPARE(Tip()->noteWidth(), rows == 0 ? 0 : sample);
        const QPoint pointer =
            m_dlg->frameGeometry().bottomRight() - QPoint(sample + 4 - sample / 2, 20) + past;
        Tip()->Show(pointer, true);
        QCOMPARE(Tip()->isVisible(), visible);
        // sample + 4 wide, (4 + rows) lines + 8 high, centred 20 px below the pointer
        const QRect tip(pointer.x() - sample / 2, pointer.y() + 20, sample + 4,
            (4 + rows) * metrics.height() + 8);
        if (visible) QCOMPARE(Tip()->geometry(), tip);
        Tip()->Show(pointer, false);
        QVERIFY(!Tip()->isVisible());
    }

    // The pointer rests on a cell, moves to `point` and something may happen
    // there: the tip shows the day then under the pointer (its lines,
    // '|'-separated), 20 px below it, or nothing outside the hover area (x
    // 6..490, y 53..351). 1 July 2009 was the 9th day of the leap fifth lunar
    // month; the leading Sunday is 28 June.
    void tip_data()
    {
        Columns<QString, QPoint, QString, QString>("start", "point", "steps", "lines");
        const QString july = u"2009-07-15"_s, june = u"2009-06-30"_s;
        const QPoint first = CellCentre(0, 0);
        QTest::newRow("in month")
            << july << CellCentre(0, 3) << QString()
            << u"2009 年 7 月 1 日|星期三|农历 闰5 月 9 日|己丑年 庚午月 丁未日"_s;
        QTest::newRow("previous month")
            << july << first << QString() << u"2009 年 6 月 28 日|星期日"_s;
        QTest::newRow("x 5") << july << QPoint(5, 100) << QString() << QString();
        QTest::newRow("y 352") << july << QPoint(100, 352) << QString() << QString();
        QTest::newRow("pointer onto 月↓, then its click")
            << june << first << u"nextMonthButton"_s << QString();
        QTest::newRow("Page Down")
            << june << first << u"grid key:PgDown"_s << u"2009 年 6 月 28 日"_s;
        // The grey 28 June turns the page to June, whose first cell is 31 May.
        QTest::newRow("click on a grey cell")
            << july << first << u"#0,0"_s << u"2009 年 5 月 31 日"_s;
        QTest::newRow("a list opens") << july << first << u"popup"_s << QString();
        QTest::newRow("pointer leaves the window") << july << first << u"leave"_s << QString();
        QTest::newRow("the holiday file changes")
            << u"2026-10-15"_s << CellCentre(0, 4) << u"file"_s << u"2026 年 10 月 1 日"_s;
    }
    void tip()
    {
        const auto [start, point, steps, lines] =
            Fetch<QString, QPoint, QString, QString>("start", "point", "steps", "lines");
        Select(start);
        MoveTo(CellCentre(3, 3));
        QTRY_VERIFY(Tip()->isVisible());
        MoveTo(point);
        if (steps != u"file"_s) {
            Do(steps);
        } else {
            // The note begins with the holiday until the user removes it. The
            // tip's own pixels, as drawn plainly: its four lines right-aligned
            // in their rows from 2 px down, in white, white, pink and yellow on
            // the dark ground, which frames them 2 px wide; the note's box 5 px
            // below them, 1 px in from the sides and the bottom, the holiday
            // first in the note's ink.
            QVERIFY2(Tip()->note().startsWith(u"国庆节 休 "_s), qPrintable(Tip()->note()));
            const QImage tip = Tip()->grab().toImage();
            const int w = tip.width(), h = tip.height(), lh = Tip()->lineHeight();
            const int box = Tip()->textHeight() + 5;
            QImage plain(tip.size(), tip.format());
            plain.fill(qRgb(50, 50, 132));
            QPainter painter(&plain);
            painter.fillRect(QRect(1, box, w - 2, h - 1 - box), qRgb(204, 255, 204));
            painter.setFont(CTipWindow::TipFont());
            const QRgb colours[4] = {
                qRgb(255, 255, 255), qRgb(255, 255, 255), qRgb(255, 153, 255), qRgb(255, 255, 51)};
            for (int i = 0; i < 4; ++i) {
                painter.setPen(colours[i]);
                painter.drawText(
                    QRect(2, 2 + i * lh, w - 4, lh), Qt::AlignRight | Qt::AlignTop, Tip()->line(i));
            }
            painter.end();
            const QRect note(3, box + 1, w - 5, h - box - 3);  // the note's text, checked below
            QCOMPARE(Difference(tip, plain, QRegion(tip.rect()) - note), QString());
            const int prefix =
                QFontMetrics(CTipWindow::TipFont()).horizontalAdvance(u"国庆节 休"_s);
            QVERIFY(CountPixels(tip, QRect(3, box + 1, prefix, lh), [](QRgb p) {
                return p == qRgb(0, 0, 51);
            }) > 20);
            Replace("2026-10-01\t-\n");
            QTRY_VERIFY(!Tip()->note().startsWith(u"国庆节 休"_s));
        }
        QTRY_COMPARE(Tip()->isVisible(), !lines.isEmpty());
        Child<QComboBox>(u"yearBox"_s)->hidePopup();
        if (lines.isEmpty()) return;
        QCOMPARE(Tip()->pos(), TipPos(point));
        for (int i = 0; i < lines.count(u'|') + 1; ++i)
            QCOMPARE(Tip()->line(i), lines.section(u'|', i, i));
    }

    // Keys typed into the start date reach its state machine (whose rules the
    // model test holds): the text after each key ('|'-separated) and once the focus
    // has left. Letters, Backspace and clipboard shortcuts change nothing, the
    // clipboard included. Tab away in the middle of a field and Shift+Tab back:
    // the field is selected again, and the next digits go on.
    void typing_data()
    {
        Columns<QString, int, QString, QString, QString>(
            "start", "field", "keys", "texts", "normalised");
        QTest::newRow("month 2 keeps day 31 until the focus leaves")
            << u"2009-01-31"_s << 2 << u"2"_s << u"2009-02-31"_s << u"2009-02-28"_s;
        QTest::newRow("ignored keys")
            << u"2009-07-01"_s << 2 << u"A,Backspace,Ctrl+C,Ctrl+V,Shift+Ins,8"_s
            << u"2009-07-01|2009-07-01|2009-07-01|2009-07-01|2009-07-01|2009-08-01"_s
            << u"2009-08-01"_s;
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
        auto* edit = Child<CQovEdit>(u"startEdit"_s);
        const QDate date = QDate::fromString(start, Qt::ISODate);
        edit->SetDate(date.year(), date.month(), date.day());
        edit->SelectField(field);
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
        Child<CQovEdit>(u"endEdit"_s)->setFocus();
        QTRY_VERIFY(!edit->hasFocus());
        QCOMPARE(QApplication::clipboard()->text() + u' ' + edit->text(), u"1999 "_s + normalised);
    }

    // Both dates typed from a click on the start's year; "计算" gets the focus,
    // shows its focus frame and is pressed by Space or Enter. Enter in a date
    // field ends nothing.
    void dayCounter_data()
    {
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
        auto* compute = Child<QAbstractButton>(u"computeButton"_s);
        auto* shown = Child<QLineEdit>(u"resultEdit"_s);
        QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(4, start->height() / 2));
        QTRY_VERIFY(start->hasFocus());
        QTest::keyClick(start, Qt::Key_Return);
        QVERIFY(m_dlg->isVisible() && start->hasFocus() && shown->text().isEmpty());
        for (const QChar key : keys) {
            QVERIFY(start->hasFocus() || Child<CQovEdit>(u"endEdit"_s)->hasFocus());
            QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
        }
        QVERIFY(compute->hasFocus() && shown->text().isEmpty());  // completing does not compute
        const QImage focused = Picture(compute);
        QTest::keyClick(compute, Qt::Key(press));
        QCOMPARE(shown->text() + (m_dlg->isVisible() ? u""_s : u", window closed"_s), result);
        start->setFocus();
        QVERIFY(focused != Picture(compute));  // the focus frame went with the focus
    }

    // A click inside each character: a digit picks its field, a separator
    // none. A right-click is taken there: no menu opens, neither its own nor
    // the window's. The text stands clear of the left border and in the middle.
    void dateFieldMouseAndText()
    {
        auto* edit = Child<CQovEdit>(u"endEdit"_s);
        QStringList clicked;  // per character: the active field, the selected text
        for (int i = 0; i < 10; ++i) {
            edit->SetDate(2008, 12, 28);
            int x = 0;  // the first pixel of character i + 1
            while (edit->cursorPositionAt(QPoint(x, 5)) <= i) ++x;
            QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(x - 1, edit->height() / 2));
            QTRY_VERIFY(edit->hasFocus());
            clicked << u"%1:%2"_s.arg(edit->entry().ActiveField()).arg(edit->selectedText());
        }
        // A separator leaves the field before it active, nothing selected.
        QCOMPARE(clicked.join(u' '), u"1:2008 1:2008 1:2008 1:2008 1: 2:12 2:12 2: 3:28 3:28"_s);
        QString popup;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            if (QWidget* open = QApplication::activePopupWidget()) {
                popup = u"a menu "_s + open->objectName();
                open->close();
            }
        });
        closer.start(20);
        const QString text = edit->text();
        const QPoint at(10, edit->height() / 2);
        QTest::mouseClick(edit, Qt::RightButton, {}, at);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, edit->mapToGlobal(at));
        QApplication::sendEvent(edit, &menu);
        QTest::qWait(60);
        QCOMPARE((QVariantList{menu.isAccepted(), popup, edit->text()}),
            (QVariantList{true, QString(), text}));
        edit->deselect();
        const QImage image = Picture(edit);
        QRect ink;
        for (int y = 2; y < image.height() - 2; ++y)
            for (int x = 2; x < image.width() - 2; ++x)
                if (qGray(image.pixel(x, y)) < 100) ink |= QRect(x, y, 1, 1);
        QVERIFY(ink.left() >= 4 && qAbs(ink.top() - (image.height() - 1 - ink.bottom())) <= 1);
    }

    // Every list opens as a list of at most 12 rows that scrolls, just below
    // or above the box: the years 1900..2100, the months, the days of July.
    void listHeight()
    {
        for (const auto& [box, count] :
            {std::pair{u"yearBox"_s, 201}, {u"monthBox"_s, 12}, {u"queryDayBox"_s, 31}}) {
            auto* list = Child<QComboBox>(box);
            list->showPopup();
            QAbstractItemView* view = list->view();
            QTRY_VERIFY(view->isVisible());
            const int rows = qMin(count, 12), row = view->sizeHintForRow(0);
            const QRect popup = view->window()->geometry();
            const QRect at(list->mapToGlobal(QPoint(0, 0)), list->size());
            QCOMPARE((QVariantList{list->count(), row > 0 && popup.height() >= rows * row,
                         popup.height() <= rows * row + 8, view->verticalScrollBar()->isVisible(),
                         popup.top() >= at.bottom() - 1 || popup.bottom() <= at.top() + 1}),
                (QVariantList{count, true, true, count > 12, true}));
            list->hidePopup();
        }
    }

    // Tab walks the focus chain once round; every stop shows the focus. While
    // the grid has it, the selected cell is framed, at 100 % and 200 %.
    void focus()
    {
        m_dlg->gridFocus()->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(m_dlg->gridFocus()->hasFocus());
        QStringList visited;
        for (int step = 0; step < 40; ++step) {
            QWidget* focused = QApplication::focusWidget();
            if (visited.contains(focused->objectName())) break;
            visited.append(focused->objectName());
            const QImage with = Picture(focused);
            QTest::keyClick(focused, Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() != focused && with != Picture(focused),
                qPrintable(focused->objectName()));
        }
        QCOMPARE(visited.join(u' '),
            u"monthGrid yearBox monthBox prevYearButton nextYearButton prevMonthButton "
            u"nextMonthButton todayButton settingsButton startEdit endEdit computeButton "
            u"resultEdit gregorianRadio queryYearBox queryMonthBox queryDayBox queryButton "
            u"exitButton"_s);
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
            QString seen;  // F: the frame's colour with the focus only; =: unchanged
            for (const QPoint p : {QPoint(cell.center().x(), cell.top() + 1),
                     QPoint(cell.left() + 1, cell.center().y()),
                     QPoint(cell.right() - 1, cell.center().y()),
                     QPoint(cell.center().x(), cell.bottom() - 1), cell.center(),
                     cell.topLeft() - QPoint(3, 3)}) {
                const QRgb on = with.pixel(p * ratio), off = without.pixel(p * ratio);
                seen += on == frame && off != frame ? u'F' : on == off ? u'=' : u'?';
            }
            QCOMPARE(seen, u"FFFF=="_s);
        }
    }

    // What a screen reader gets: a Chinese name on every control, not a list's
    // current item; the selected cell of the grid's table with the day in
    // full and its holiday; a focus event on the new cell per move, none for
    // the same day; the day under the pointer on the tip. (The table, its
    // headers and the spoken days through the real bridge:
    // tests/ui/bridge_test.py.)
    void screenReader()
    {
        for (QWidget* w : m_dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!w->isVisible()) continue;
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
            const QString name = face->text(QAccessible::Name);
            if (auto* list = qobject_cast<QComboBox*>(w)) {
                // Its name, not its item; the item as value and as text, the cursor before it;
                // one child, the drop-down list.
                QAccessibleTextInterface* text = face->textInterface();
                QCOMPARE((QVariantList{name == list->currentText(), face->text(QAccessible::Value),
                             text->text(1, text->characterCount()), text->cursorPosition(),
                             text->selectionCount(), face->childCount(),
                             face->child(0)->object() == list->view()}),
                    (QVariantList{
                        false, list->currentText(), list->currentText().mid(1), 0, 0, 1, true}));
            }
            const bool chinese = std::any_of(name.begin(), name.end(),
                [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
            QVERIFY2(chinese, qPrintable(w->objectName() + u": "_s + name));
        }
        // 1 July 2009, a Wednesday in the leap fifth lunar month: a selected
        // cell, and not a text; its column's header, after the 7 headers the
        // cells row by row, where its name is painted, not selectable and no
        // cell; the cell under its centre and where it is painted.
        Select(u"2009-07-01"_s);
        QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(m_dlg->gridFocus());
        QAccessibleInterface* cell = grid->tableInterface()->cellAt(0, 3);
        QAccessibleInterface* header = grid->child(3);
        const auto local = [this](const QRect& r) {
            return QRect(m_dlg->mapFromGlobal(r.topLeft()), r.size());
        };
        const QPoint centre = cell->rect().center();
        QCOMPARE(
            (QVariantList{cell->state().selected, !cell->textInterface(),
                grid->tableInterface()->selectedCells() == QList{cell},
                cell->tableCellInterface()->columnHeaderCells() == QList{header},
                grid->indexOfChild(cell), header->text(QAccessible::Name), local(header->rect()),
                header->state().selectable, !header->tableCellInterface(),
                grid->childAt(centre.x(), centre.y()) == cell, local(cell->rect()),
                cell->text(QAccessible::Description).section(u' ', 0, 0)}),
            (QVariantList{true, true, true, true, 7 + 3, u"星期三"_s, QRect(5 + 70 * 3, 32, 69, 19),
                false, true, true, ToQRect(qov::CellRect(0, 3)), u"农历闰五月初九"_s}));
        const int before = m_dlg->gridFocus()->announcements();
        m_dlg->gridFocus()->setFocus();
        QTest::keyClick(m_dlg->gridFocus(), Qt::Key_Right);
        QCOMPARE(grid->focusChild(), grid->tableInterface()->cellAt(0, 4));
        QTest::qWait(20);  // the focus-in announcement, queued, gives way to the move's
        Select(u"2009-07-02"_s);
        QCOMPARE(m_dlg->gridFocus()->announcements(), before + 1);
        // 10 October 2026, a make-up Saturday: its holiday once, at the end,
        // gone with the user's line that removes it.
        CGridFocus* focus = m_dlg->gridFocus();
        const auto spoken = [focus] {
            return focus->Texts(focus->selection().row, focus->selection().column).description;
        };
        Select(u"2026-10-10"_s);
        QVERIFY2(spoken().endsWith(u" 国庆节 调休上班"_s), qPrintable(spoken()));
        Replace("2026-10-10\t-\n");
        QTRY_VERIFY(!spoken().contains(u"调休"_s));
        MoveTo(CellCentre(1, 1));
        QTRY_VERIFY(Tip()->isVisible());
        QAccessibleInterface* tip = QAccessible::queryAccessibleInterface(Tip());
        QCOMPARE(tip->text(QAccessible::Name), Tip()->line(0));
        QVERIFY(tip->text(QAccessible::Description).contains(Tip()->line(2)));
        QVERIFY(tip->text(QAccessible::Description).contains(Tip()->line(3)));
    }

    // The file and its folder appear after the start, are edited in place
    // and replaced; bad lines are reported and skipped; removal brings the
    // shipped days back. Every change repaints the page.
    void holidayFileFollowed()
    {
        // $XDG_CONFIG_HOME only when absolute; "~": the home folder.
        const QByteArray ours = qgetenv("XDG_CONFIG_HOME");
        QStringList paths;
        for (const char* configHome : {"/srv/cfg/", "cfg", ""}) {
            qputenv("XDG_CONFIG_HOME", configHome);
            paths << CHolidayFile::UserFilePath().replace(QDir::homePath(), u"~"_s);
        }
        qputenv("XDG_CONFIG_HOME", ours);
        QCOMPARE(paths.join(u' '),
            u"/srv/cfg/qov/holidays.tsv ~/.config/qov/holidays.tsv ~/.config/qov/holidays.tsv"_s);
        QCOMPARE(m_dlg->holidayFile()->path(), HolidayPath());
        Select(u"2026-10-15"_s);
        QCOMPARE(Holidays(), u"休 - 班"_s);
        const QImage before = m_dlg->RenderPicture();
        Replace("# next year's schedule\n2026-10-09\t休\t国庆节\n2026-10-01\t-\n"
                "2027-10-01\t休\t国庆节\n2027-02-30\t休\t春节\n");
        QTRY_COMPARE(Holidays(), u"- 休 班 holidays.tsv:5: bad date '2027-02-30'"_s);
        QVERIFY(m_dlg->RenderPicture() != before);
        int paints = m_counter.paints;
        // Edited in place (rewritten longer): the same inode.
        QVERIFY(WriteFile(HolidayPath(), ReadFile(HolidayPath()) + "2026-10-10\t休\t补假\n"));
        QTRY_COMPARE(Holidays(), u"- 休 休 holidays.tsv:5: bad date '2027-02-30'"_s);
        QTRY_VERIFY(m_counter.paints > paints);
        paints = m_counter.paints;
        Replace("2026-10-09\t班\t国庆节\n");  // replaced after the edit: the new file is followed
        QTRY_COMPARE(Holidays(), u"休 班 班"_s);
        QTRY_VERIFY(m_counter.paints > paints);
        QVERIFY(QFile::remove(HolidayPath()));
        QTRY_COMPARE(Holidays(), u"休 - 班"_s);
        QCOMPARE(m_dlg->RenderPicture(), before);
    }

    // A file that cannot be used as a whole leaves the shipped days alone,
    // with one message naming the file; an empty file changes nothing.
    void unusableHolidayFile_data()
    {
        Columns<QString, QString>("kind", "message");  // after "<path>: "; empty: none
        QTest::newRow("empty") << u"empty"_s << QString();
        QTest::newRow("folder") << u"folder"_s << u"is a folder, not a file"_s;
        QTest::newRow("over 1 MiB") << u"large"_s << u"is larger than 1 MiB"_s;
        // /proc/kallsyms measures 0 bytes and reads several MiB, as a file
        // that grew after it was measured.
        QTest::newRow("grown since measured") << u"/proc/kallsyms"_s << u"is larger than 1 MiB"_s;
        QTest::newRow("pipe") << u"pipe"_s << u"is not a regular file"_s;
        // Reading /proc/self/mem at offset 0 fails whoever reads it, root included.
        QTest::newRow("unreadable") << u"/proc/self/mem"_s << u"cannot be read"_s;
    }
    void unusableHolidayFile()
    {
        const auto [kind, message] = Fetch<QString, QString>("kind", "message");
        // First a file that removes a shipped day, so that a change shows.
        Replace("2026-10-01\t-\n");
        QTRY_COMPARE(Holidays(), u"- - 班"_s);
        QVERIFY(QFile::remove(HolidayPath()));
        QTRY_COMPARE(Holidays(), u"休 - 班"_s);
        const QSignalSpy readings(m_dlg->holidayFile(), &CHolidayFile::changed);
        if (kind == u"empty"_s) {
            Replace({});
        } else if (kind == u"folder"_s) {
            QVERIFY(QDir().mkdir(HolidayPath()));
        } else if (kind == u"large"_s) {
            QByteArray bytes;
            while (bytes.size() <= 1024 * 1024) bytes += "2026-10-01\t-\n";
            Replace(bytes);
        } else if (kind == u"pipe"_s) {
            QCOMPARE(::mkfifo(QFile::encodeName(HolidayPath()).constData(), 0600), 0);
        } else {
            QVERIFY(QFile::link(kind, HolidayPath()));
        }
        QTRY_VERIFY(readings.count() > 0);
        const QString expected =
            message.isEmpty() ? QString() : u" "_s + HolidayPath() + u": "_s + message;
        QCOMPARE(u"%1 %2"_s.arg(m_dlg->holidayFile()->messages().size())
                     .arg(Holidays().left(5 + expected.size())),
            u"%1 休 - 班%2"_s.arg(int(!message.isEmpty())).arg(expected));
        QCOMPARE(m_dlg->holidayFile()->table().Days().size(),
            qov::HolidayTable::Shipped().Days().size());
        if (kind == u"folder"_s) QVERIFY(QDir().rmdir(HolidayPath()));
    }

    // Blank for the first second, then the local time as "%d:%.2d:%.2d". A
    // zone the time-zone database does not know shows its offset from UTC.
    void clockAndZone()
    {
        QCOMPARE(ClockText(QTime(9, 5, 7)), u"9:05:07"_s);
        CQovDate label;
        label.show();
        QTest::qWait(600);
        QVERIFY(label.text().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!label.text().isEmpty(), 2000);
        const QTime time = QTime::fromString(label.text(), u"H:mm:ss"_s);
        QVERIFY2(time.isValid() && ClockText(time) == label.text(), qPrintable(label.text()));
        const int late = time.secsTo(QTime::currentTime());
        QVERIFY2(qAbs(late) <= 2 || qAbs(late) >= 86400 - 2, qPrintable(label.text()));
        qputenv("TZ", "Garbage/Nowhere");
        tzset();
        CTimeZone unknown;
        qputenv("TZ", "Asia/Shanghai");
        tzset();
        QCOMPARE(unknown.text(), u"当前：UTC+00:00"_s);
        // Drawn: ink to the right of "当前：", where the zone's name goes.
        unknown.resize(200, 26);
        const int prefix = unknown.fontMetrics().horizontalAdvance(u"当前："_s) + 2;
        QVERIFY(CountPixels(unknown.grab().toImage(), QRect(prefix, 0, 200 - prefix, 26),
                    [](QRgb p) { return qGray(p) < 128; })
            > 20);
        const QStringList offsets{
            UtcOffsetText(8 * 3600), UtcOffsetText(-(3 * 3600 + 30 * 60 + 59)), UtcOffsetText(-59)};
        QCOMPARE(offsets.join(u' '), u"UTC+08:00 UTC-03:30 UTC+00:00"_s);  // seconds dropped
    }

    // The date and time panel chosen for a desktop ($XDG_CURRENT_DESKTOP) among the
    // programs installed (comma-separated): program and arguments; empty: none.
    void choosePanel()
    {
        const QString all = u"gnome-control-center,systemsettings,kcmshell5"_s;
        // clang-format off
        const struct { QString desktop, installed, panel; } rows[] = {
            {u"Foo"_s, all, u"gnome-control-center datetime"_s},
            {u"KDE"_s, all, u"systemsettings kcm_clock"_s},
            {u"Budgie:GNOME"_s, u"time-admin,gnome-control-center"_s, u"gnome-control-center datetime"_s},
            {u"Cinnamon"_s, u"gnome-control-center,cinnamon-settings"_s, u"cinnamon-settings calendar"_s},
            {u"GNOME"_s, QString(), QString()}};
        // clang-format on
        for (const auto& [desktop, installed, panel] : rows) {
            const QStringList names = installed.split(u',');
            const auto chosen =
                ChooseDateTimePanel(desktop, [&](const QString& n) { return names.contains(n); });
            QCOMPARE(
                chosen ? (QStringList{chosen->program} + chosen->arguments).join(u' ') : QString(),
                panel);
        }
    }

    // A fake panel first on $PATH writes its arguments to a marker file. The
    // About box uses the window's face.
    void settingsAboutAndPreferences()
    {
        QTemporaryDir bin;
        const QByteArray marker = QFile::encodeName(bin.filePath(u"started"_s));
        const QString script = bin.filePath(u"gnome-control-center"_s);
        QVERIFY(WriteFile(script, "#!/bin/sh\necho \"$@\" > " + marker)
            && QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner));
        qputenv("PATH", QFile::encodeName(bin.path()) + ":" + qgetenv("PATH"));
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        Click(u"settingsButton"_s);
        QTRY_COMPARE_WITH_TIMEOUT(ReadFile(marker), QByteArray("datetime\n"), 5000);
        // "设置…": what "确定" keeps is in force at once (the week from Monday:
        // 29 June 2009 starts July's page), what "取消" drops is not.
        for (const bool accept : {false, true}) {
            QTimer::singleShot(0, this, [accept] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog != nullptr);
                dialog->findChild<QComboBox*>(u"weekStartBox"_s)->setCurrentIndex(1);
                accept ? dialog->accept() : dialog->reject();
            });
            m_dlg->ShowSettings();
            QCOMPARE(m_dlg->page().CellAt(0, 0).day, accept ? 29 : 28);
        }
        CAboutDlg about(m_dlg.get());
        const QString face = QFontInfo(m_dlg->font()).family();
        QCOMPARE((QVariantList{QFontInfo(about.font()).family(),
                     QFontInfo(about.findChild<QLabel*>(u"aboutVersion"_s)->font()).family(),
                     about.findChild<QLabel*>(u"aboutIcon"_s)->geometry()}),
            (QVariantList{face, face, QRect(19, 17, 32, 32)}));
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
        QProcess cli;
        cli.start(QStringLiteral(QOV_APP_PATH),
            {u"--export-ics"_s, u"-"_s, u"--years"_s, u"2026"_s, u"--include"_s,
                u"terms,holidays"_s});
        QVERIFY(cli.waitForFinished(10000));
        static const QRegularExpression stamp(u"DTSTAMP:[0-9TZ]+"_s);
        const QString written = QString::fromUtf8(ReadFile(path)).remove(stamp);
        QCOMPARE(written, QString::fromUtf8(cli.readAllStandardOutput()).remove(stamp));
    }
};

QOV_UI_TEST_MAIN(TestWindow)

#include "tst_window.moc"
