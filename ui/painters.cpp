#include "painters.h"

#include <QFontMetricsF>
#include <QPainter>

#include "skin.h"

PictureCanvas::PictureCanvas(QPainter& painter, const FontSet& fonts)
    : m_painter(painter), m_fonts(fonts), m_gbk("GBK", QStringConverter::Flag::Stateless)
{ }

QString PictureCanvas::Decode(std::string_view gbk)
{
    return m_gbk.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

namespace {

// Width of a line of text. The fonts draw without kerning (as the Windows
// text functions do), so for the texts drawn here (CJK, digits, ASCII, no
// joining scripts) it is the sum of the characters' cached advances, which
// is many times cheaper than shaping the line once more.
qreal LineWidth(const QFontMetricsF& metrics, const QString& text)
{
    qreal width = 0;
    for (const QChar c : text) {
        if (c.isSurrogate()) return metrics.horizontalAdvance(text);
        width += metrics.horizontalAdvance(c);
    }
    return width;
}

}  // namespace

void PictureCanvas::DrawLine(const QRect& rect, const QString& text, const QColor& colour)
{
    if (text.isEmpty()) return;
    // Placed by hand rather than by drawText's rectangle layout, which costs
    // several times more; the same place: centred, baseline one ascent
    // below the top. Clipping only where the text overhangs.
    const QFontMetricsF metrics(m_painter.font());
    const qreal width = LineWidth(metrics, text);
    const bool overhangs = width > rect.width() || metrics.height() > rect.height();
    m_painter.setPen(colour);
    if (overhangs) m_painter.setClipRect(rect);
    m_painter.drawText(
        QPointF(rect.left() + (rect.width() - width) / 2, rect.top() + metrics.ascent()), text);
    if (overhangs) m_painter.setClipping(false);
}

void DrawTitleStrip(PictureCanvas& canvas, const qov::TitleStrip& title)
{
    const QColor white = ToQColor(qov::colors::White);
    canvas.painter().setFont(canvas.fonts().fontText12);
    canvas.DrawLine(ToQRect(qov::title::EraLabel), canvas.Decode(title.eraLabel), white);
    canvas.DrawLine(ToQRect(qov::title::YearLabel), canvas.Decode(title.yearLabel), white);
    canvas.DrawLine(ToQRect(qov::title::MonthLabel), canvas.Decode(title.monthLabel), white);
    canvas.DrawLine(ToQRect(qov::title::YearInfo), canvas.Decode(title.yearInfo), white);
}

namespace {

// Rounded fill spanning the whole cell, corner ellipses 10 x 10.
void DrawSelection(QPainter& painter, const QRect& cell)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQColor(qov::colors::Selection));
    painter.drawRoundedRect(QRectF(cell), 5.0, 5.0);
    painter.restore();
}

}  // namespace

void DrawMonthGrid(PictureCanvas& canvas, const qov::Watermark& watermark,
    const std::array<qov::DayCell, qov::grid::CellCount>& cells)
{
    QPainter& painter = canvas.painter();
    const QColor mark = ToQColor(qov::colors::Watermark);
    painter.setFont(canvas.fonts().fontMark150);
    canvas.DrawLine(ToQRect(qov::grid::WatermarkYear), canvas.Decode(watermark.year), mark);
    canvas.DrawLine(ToQRect(qov::grid::WatermarkMonth), canvas.Decode(watermark.month), mark);

    std::size_t index = 0;  // row by row, as the cells come
    for (int row = 0; row < qov::grid::Rows; ++row) {
        for (int column = 0; column < qov::grid::Columns; ++column) {
            const qov::DayCell& cell = cells[index++];
            if (cell.selected) DrawSelection(painter, ToQRect(qov::CellRect(row, column)));
            painter.setFont(canvas.fonts().fontCellDay35);
            canvas.DrawLine(ToQRect(qov::CellUpperRect(row, column)), canvas.Decode(cell.dayText),
                ToQColor(cell.dayColor));
            painter.setFont(canvas.fonts().fontText12);
            canvas.DrawLine(ToQRect(qov::CellLowerRect(row, column)), canvas.Decode(cell.lowerText),
                ToQColor(cell.lowerColor));
        }
    }
}

namespace {

// Runs of one line side by side, the whole run centred in the rectangle.
void DrawRuns(PictureCanvas& canvas, const QRect& rect, const qov::PanelLine& line)
{
    QPainter& painter = canvas.painter();
    const QFontMetricsF metrics(painter.font());
    QList<QString> texts;
    qreal total = 0;
    for (const qov::TextRun& run : line.runs) {
        texts.append(canvas.Decode(run.text));
        total += LineWidth(metrics, texts.back());
    }
    qreal x = rect.left() + (rect.width() - total) / 2;
    const qreal baseline = rect.top() + metrics.ascent();
    painter.setClipRect(rect);
    for (std::size_t i = 0; i < line.runs.size(); ++i) {
        const QString& text = texts[static_cast<qsizetype>(i)];
        painter.setPen(ToQColor(line.runs[i].color));
        painter.drawText(QPointF(x, baseline), text);
        x += LineWidth(metrics, text);
    }
    painter.setClipping(false);
}

}  // namespace

void DrawDayPanel(PictureCanvas& canvas, const qov::DayPanel& panel)
{
    for (std::size_t i = 0; i < panel.lines.size(); ++i) {
        const qov::PanelLine& line = panel.lines[i];
        const QRect rect = ToQRect(qov::PanelLineRects[i]);
        canvas.painter().setFont(static_cast<int>(i) == qov::PanelDayLine
                ? canvas.fonts().fontDay72
                : canvas.fonts().fontText13);
        if (line.runs.size() == 1)
            canvas.DrawLine(
                rect, canvas.Decode(line.runs.front().text), ToQColor(line.runs.front().color));
        else if (!line.runs.empty())
            DrawRuns(canvas, rect, line);
    }
}

QImage MakeSkinImage(qreal devicePixelRatio)
{
    QImage skin(
        QSize(skin::Width, skin::Height) * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    skin.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&skin);
    DrawSkin(painter);
    return skin;
}

void DrawPicture(
    QPainter& painter, const QImage& skin, const FontSet& fonts, const qov::PagePicture& picture)
{
    // A plain copy: the skin covers the whole client area.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), skin);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    PictureCanvas canvas(painter, fonts);
    DrawTitleStrip(canvas, picture.title);
    DrawMonthGrid(canvas, picture.watermark, picture.cells);
    DrawDayPanel(canvas, picture.panel);
}
