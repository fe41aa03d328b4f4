// The main window's fast paint path against a plain reference: the window
// paints straight into Qt's backing store from cached laid-out texts,
// watermark outlines and a skin image; the reference draws every text with
// QPainter::drawText and the skin from vectors, nothing kept between paints.
// Both must give the same pixels at 100 % and 200 %.
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QStringDecoder>
#include <QTest>
#include <ctime>
#include <memory>

#include "calendardlg.h"
#include "model/geometry.h"
#include "painters.h"
#include "skin.h"
#include "uitest.h"

using namespace Qt::StringLiterals;

namespace {

QString Decode(const std::string& gbk)
{
    return QStringDecoder("GBK")(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
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

QImage Reference(const qov::MonthPage& page, qreal ratio)
{
    const FontSet fonts = FontSet::Create(ratio);
    const qov::PagePicture picture = qov::PagePictureTexts(page);
    QImage image(QSize(skin::Width, skin::Height) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    DrawSkin(painter, fonts.fontText12);
    const QColor white = ToQColor(qov::colors::White);
    const auto line = [&](const QFont& font, const qov::Rect& r, const std::string& text,
                          QColor colour) {
        ReferenceLine(painter, font, r, {{Decode(text), colour}});
    };
    line(fonts.fontText12, qov::title::EraLabel, picture.title.eraLabel, white);
    line(fonts.fontText12, qov::title::YearLabel, picture.title.yearLabel, white);
    line(fonts.fontText12, qov::title::MonthLabel, picture.title.monthLabel, white);
    line(fonts.fontText12, qov::title::YearInfo, picture.title.yearInfo, white);
    const QColor mark = ToQColor(qov::colors::Watermark);
    line(fonts.fontMark150, qov::grid::WatermarkYear, picture.watermark.year, mark);
    line(fonts.fontMark150, qov::grid::WatermarkMonth, picture.watermark.month, mark);
    for (int i = 0; i < qov::grid::CellCount; ++i) {
        const qov::DayCell& cell = picture.cells[static_cast<std::size_t>(i)];
        const int row = i / qov::grid::Columns, column = i % qov::grid::Columns;
        if (cell.selected) {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(ToQColor(qov::colors::Selection));
            painter.drawRoundedRect(QRectF(ToQRect(qov::CellRect(row, column))), 5, 5);
            painter.restore();
        }
        line(fonts.fontCellDay35, qov::CellUpperRect(row, column), cell.dayText,
            ToQColor(cell.dayColor));
        line(fonts.fontText12, qov::CellLowerRect(row, column), cell.lowerText,
            ToQColor(cell.lowerColor));
    }
    // Holiday badges over everything in their cells: fill, then the mark
    // centred on it.
    const QFontMetricsF badgeMetrics(fonts.fontBadge);
    for (int i = 0; i < qov::grid::CellCount; ++i) {
        const qov::DayCell& cell = picture.cells[static_cast<std::size_t>(i)];
        if (cell.dayOff == qov::DayOff::None) continue;
        const QRect badge =
            ToQRect(qov::CellBadgeRect(i / qov::grid::Columns, i % qov::grid::Columns));
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ToQColor(cell.badgeColor));
        painter.drawRoundedRect(QRectF(badge), 2, 2);
        const QString symbol = cell.dayOff == qov::DayOff::Rest ? u"休"_s : u"班"_s;
        painter.setFont(fonts.fontBadge);
        painter.setPen(Qt::white);
        painter.drawText(
            QPointF(badge.left() + (badge.width() - badgeMetrics.horizontalAdvance(symbol)) / 2,
                badge.top() + (badge.height() - badgeMetrics.height()) / 2 + badgeMetrics.ascent()),
            symbol);
        painter.restore();
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
QString Difference(const QImage& a, const QImage& b, const QRect& area = QRect())
{
    if (a.size() != b.size()) return u"sizes differ"_s;
    const QRect r = area.isNull() ? a.rect() : area;
    int count = 0;
    QPoint first;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && count++ == 0) first = {x, y};
    return count == 0
        ? QString()
        : u"%1 pixels differ, first at %2,%3"_s.arg(count).arg(first.x()).arg(first.y());
}

}  // namespace

class TestPaintPath : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Pages whose texts reach every part: runs of several colours, festival
    // lists cut and shortened, a selection in each corner row.
    void cachedEqualsReference_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::newRow("2009-07-15 festivals, leap lunar month") << QDate(2009, 7, 15);
        QTest::newRow("2012-02-29 leap day") << QDate(2012, 2, 29);
        QTest::newRow("1900-01-01 first page, December 1899 cells") << QDate(1900, 1, 1);
        QTest::newRow("2008-08-31 selection in the last row") << QDate(2008, 8, 31);
    }
    void cachedEqualsReference()
    {
        QFETCH(QDate, date);
        const qov::MonthPage page(date.year(), date.month(), date.day());
        CCalendarDlg dlg;
        dlg.SelectDate(page);
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage reference = Reference(page, ratio);
            // Twice: the first lays the texts out, the second draws them from the cache.
            for (int paint = 0; paint < 2; ++paint) {
                const QString difference = Difference(dlg.RenderPicture(ratio), reference);
                QVERIFY2(difference.isEmpty(),
                    qPrintable(u"ratio %1, paint %2: "_s.arg(ratio).arg(paint) + difference));
            }
        }
    }

    // The paint event into the window, whole or in part (the clock's tick
    // repaints the area under it): the part comes out as in a full paint,
    // texts cut by its edge included. The first frame draws the skin from
    // vectors, the frames after it copy the skin image made after the first.
    void paintEventEqualsReference_data()
    {
        QTest::addColumn<QRect>("area");  // null: the whole window
        QTest::newRow("whole window") << QRect();
        QTest::newRow("clock") << QRect(513, 341, 154, 40);
        QTest::newRow("lower half of the selected day's number") << QRect(215, 170, 69, 10);
        QTest::newRow("panel day number's left edge") << QRect(540, 90, 30, 60);
        QTest::newRow("title strip") << QRect(0, 0, 680, 31);
    }
    void paintEventEqualsReference()
    {
        QFETCH(QRect, area);
        CCalendarDlg dlg;
        const qov::MonthPage page(2009, 7, 15);
        dlg.SelectDate(page);
        const QImage reference = Reference(page, 1.0);
        for (int paint = 0; paint < 2; ++paint) {  // skin from vectors, then from its image
            QCOMPARE(Difference(PaintEvent(dlg, area), reference, area), QString());
            QCoreApplication::processEvents();
        }
    }

    // Paging through 30 years fills the text cache past its bound and turns
    // the watermark outlines over; a page then still matches, and so does one
    // drawn after the fonts were remade for another ratio.
    void cacheAfterPaging()
    {
        CCalendarDlg dlg;
        for (int month = 0; month < 360; ++month) {
            dlg.SelectDate(qov::MonthPage(1990 + month / 12, month % 12 + 1, 9));
            (void)PaintEvent(dlg);
        }
        QCOMPARE(Difference(PaintEvent(dlg), Reference(dlg.page(), 1.0)), QString());
        (void)dlg.RenderPicture(2.0);
        QCOMPARE(Difference(PaintEvent(dlg), Reference(dlg.page(), 1.0)), QString());
    }

    // The window icon and the zone label wait for the first frame.
    void deferredUntilFirstFrame()
    {
        CCalendarDlg dlg;
        auto* zone = dlg.findChild<QLabel*>(u"zoneLabel"_s);
        QCOMPARE(zone->text(), u"当前："_s);
        QVERIFY(dlg.windowIcon().isNull());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTRY_COMPARE(zone->text(), u"当前：中国标准时间"_s);
        QVERIFY(!dlg.windowIcon().isNull());
    }

    // Each family list starts with a face installed here, so that finding it
    // costs no fallback search; it is the face drawn with.
    void familyListsStartInstalled_data()
    {
        QTest::addColumn<QFont>("font");
        QTest::newRow("宋体") << SongFont(12);
        QTest::newRow("Arial") << ArialFont(24, QFont::Bold);
        QTest::newRow("Arial Black") << ArialBlackFont(35);
    }
    void familyListsStartInstalled()
    {
        QFETCH(QFont, font);
        const QString first = font.families().front();
        QVERIFY2(QFontDatabase::hasFamily(first), qPrintable(first));
        QCOMPARE(QFontInfo(font).family(), first);
    }
};

QOV_UI_TEST_MAIN(TestPaintPath)

#include "tst_paintpath.moc"
