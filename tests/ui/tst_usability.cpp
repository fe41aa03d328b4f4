// The window as a user meets it: how legible its small texts are at 100 %
// and 200 %, the hover tip against page changes, the drop-down lists, the
// focus chain, the grid's keys and what a screen reader is told.
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <ctime>
#include <functional>
#include <memory>

#include "calendardlg.h"
#include "model/geometry.h"
#include "painters.h"
#include "skin.h"

using namespace Qt::StringLiterals;

namespace {

QRect Logical(const qov::Rect& r) { return ToQRect(r); }

QImage Render(const qov::PagePicture& picture, qreal ratio)
{
    QImage image(QSize(skin::Width, skin::Height) * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    DrawPicture(painter, MakeSkinImage(ratio), FontSet::Create(ratio), picture);
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

QRgb Rgb(qov::Rgb c) { return qRgb(c.r, c.g, c.b); }

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
        texts.append({QString::fromLatin1(name), Logical(rect), qRgb(255, 255, 255),
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
            {u"cell %1,%2"_s.arg(row).arg(column), Logical(qov::CellLowerRect(row, column)),
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
            texts.append({u"panel line %1 run %2"_s.arg(l).arg(r), Logical(qov::PanelLineRects[l]),
                Rgb(runs[r].color), [&full, l, r](qov::PagePicture& p) {
                    p.panel.lines[l].runs[r].text = full.panel.lines[l].runs[r].text;
                }});
        }
    }
    return texts;
}

}  // namespace

class TestUsability : public QObject {
    Q_OBJECT

    std::unique_ptr<CCalendarDlg> m_dlg;

private Q_SLOTS:
    void init()
    {
        m_dlg = std::make_unique<CCalendarDlg>();
        m_dlg->move(40, 30);
        m_dlg->show();
        m_dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
    }
    void cleanup() { m_dlg.reset(); }

    // Every small painted text, drawn alone onto the bare picture. At 100 %
    // most of its ink is in its own colour (antialiased 12 px Song strokes
    // peak at grey 62 for black and come out pink for red); at 200 % its edges
    // are smoothed and its strokes still reach the colour.
    void paintedTextInk_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<qreal>("ratio");
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
        QFETCH(QDate, date);
        QFETCH(qreal, ratio);
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
            QVERIFY2(ink.ink >= 20 * ratio * ratio, qPrintable(message));
            if (ratio == 1.0) {
                QVERIFY2(ink.reach >= ink.ink * 3 / 4, qPrintable(message));
            } else {
                QVERIFY2(ink.reach > 0, qPrintable(message));
                QVERIFY2(ink.smooth >= ink.ink / 5, qPrintable(message));
            }
        }
    }

    // The labels on the skin (开始：, 年, the zone label, ...) in the window at
    // 100 %, where no other control overlaps them.
    void labelInk()
    {
        const QImage window = m_dlg->grab().toImage();
        const QImage under = MakeSkinImage(1.0);
        int checked = 0;
        for (const QLabel* label : m_dlg->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->objectName() == u"clockLabel"_s) continue;
            QRegion area = label->geometry();
            for (const QWidget* other : m_dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (other != label && other->isVisible()) area -= other->geometry();
            const QRgb colour = label->palette().color(QPalette::WindowText).rgb();
            const Ink ink = MeasureInk(window, under, area, colour);
            const QString message = label->text() + u": "_s + ink.Describe();
            QVERIFY2(ink.ink >= 20, qPrintable(message));
            QVERIFY2(ink.reach >= ink.ink * 3 / 4, qPrintable(message));
            ++checked;
        }
        QVERIFY(checked >= 8);
    }
};

int main(int argc, char** argv)
{
    qputenv("TZ", "Asia/Shanghai");
    tzset();
    QApplication app(argc, argv);
    TestUsability test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_usability.moc"
