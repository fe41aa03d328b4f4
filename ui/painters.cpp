#include "painters.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "skin.h"

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

QByteArray Key(std::string_view gbk)
{
    return QByteArray::fromRawData(gbk.data(), static_cast<qsizetype>(gbk.size()));
}

}  // namespace

const QImage* PictureCache::Skin(qreal ratio, qov::WeekStart start) const
{
    return !m_skin.isNull() && m_skin.devicePixelRatio() == ratio && m_skinWeekStart == start
        ? &m_skin
        : nullptr;
}

void PictureCache::MakeSkin(qreal ratio, const QFont& font, qov::WeekStart start)
{
    m_skin = MakeSkinImage(ratio, font, start);
    m_skinWeekStart = start;
}

QImage MakeSkinImage(qreal devicePixelRatio, const QFont& font, qov::WeekStart start)
{
    QImage skin(
        QSize(skin::Width, skin::Height) * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    skin.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&skin);
    DrawSkin(painter, font, start);
    return skin;
}

QString PictureCache::Decode(std::string_view gbk)
{
    return m_gbk.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

void PictureCache::SelectFont(const QFont& font)
{
    auto bucket = std::find_if(
        m_fonts.begin(), m_fonts.end(), [&](const FontTexts& f) { return f.address == &font; });
    if (bucket == m_fonts.end()) {
        bucket = m_fonts.insert(m_fonts.end(), {&font, font, {}, {}});
    } else if (bucket->font != font) {
        bucket->font = font;
        bucket->texts.clear();
        bucket->utf8Texts.clear();
    }
    m_selected = static_cast<std::size_t>(bucket - m_fonts.begin());
}

const LaidOutText& PictureCache::Text(std::string_view bytes, bool utf8)
{
    FontTexts& bucket = m_fonts.at(m_selected);
    QHash<QByteArray, LaidOutText>& texts = utf8 ? bucket.utf8Texts : bucket.texts;
    if (const auto found = texts.constFind(Key(bytes)); found != texts.cend()) return *found;
    if (texts.size() >= MaxTexts) texts.clear();
    LaidOutText entry;
    const QString text = utf8
        ? QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))
        : Decode(bytes);
    entry.width = LineWidth(QFontMetricsF(bucket.font), text);
    entry.text.setText(text);
    entry.text.setTextFormat(Qt::PlainText);  // laid out on its first draw
    return *texts.insert(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), entry);
}

const PictureCache::Mark& PictureCache::Outline(const QFont& font, std::string_view gbk,
    QPointF origin, qreal ratio, bool smooth, const QColor& colour)
{
    for (const CachedOutline& o : m_outlines)
        if (o.origin == origin && o.ratio == ratio && o.smooth == smooth && o.colour == colour
            && o.gbk == Key(gbk) && o.font == font)
            return o.mark;
    // Replace the older entry: a page has two outlines, year and month.
    std::swap(m_outlines[0], m_outlines[1]);
    CachedOutline& fresh = m_outlines[0];
    fresh.font = font;
    fresh.gbk = QByteArray(gbk.data(), static_cast<qsizetype>(gbk.size()));
    fresh.origin = origin;
    fresh.ratio = ratio;
    fresh.smooth = smooth;
    fresh.colour = colour;
    QPainterPath path;
    path.addText(origin, font, Decode(gbk));
    // The ink's box in device pixels, one more on each side for smoothing.
    const QRectF ink = path.boundingRect();
    const QRect device =
        QRectF(ink.topLeft() * ratio, ink.size() * ratio).toAlignedRect().adjusted(-1, -1, 1, 1);
    fresh.mark.position = QPointF(device.topLeft()) / ratio;
    fresh.mark.image = QImage(device.size(), QImage::Format_ARGB32_Premultiplied);
    fresh.mark.image.setDevicePixelRatio(ratio);
    fresh.mark.image.fill(Qt::transparent);
    QPainter painter(&fresh.mark.image);
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    painter.translate(-fresh.mark.position);
    painter.fillPath(path, colour);
    return fresh.mark;
}

PictureCanvas::PictureCanvas(
    QPainter& painter, const FontSet& fonts, PictureCache& cache, const QRect& exposed)
    : m_painter(painter), m_fonts(fonts), m_cache(cache), m_exposed(exposed)
{ }

void PictureCanvas::SetFont(const QFont& font)
{
    if (m_font == &font) return;
    m_font = &font;
    m_cache.SelectFont(font);
    m_painter.setFont(font);
    m_height = QFontMetricsF(font).height();
}

void PictureCanvas::DrawLine(
    const QRect& rect, std::string_view gbk, const QColor& colour, bool utf8)
{
    if (gbk.empty() || m_font == nullptr || !Exposed(rect)) return;
    // Placed by hand rather than by drawText's rectangle layout, which costs
    // several times more; the same place: centred, baseline one ascent
    // below the top. Clipping only where the text overhangs.
    const LaidOutText& line = m_cache.Text(gbk, utf8);
    const bool overhangs = line.width > rect.width() || m_height > rect.height();
    m_painter.setPen(colour);
    if (overhangs) m_painter.setClipRect(rect);
    m_painter.drawStaticText(
        QPointF(rect.left() + (rect.width() - line.width) / 2, rect.top()), line.text);
    if (overhangs) m_painter.setClipping(false);
}

void DrawTitleStrip(PictureCanvas& canvas, const qov::TitleStrip& title)
{
    const QColor white = ToQColor(qov::colors::White);
    canvas.SetFont(canvas.fonts().fontText12);
    canvas.DrawLine(ToQRect(qov::title::EraLabel), title.eraLabel, white);
    canvas.DrawLine(ToQRect(qov::title::YearLabel), title.yearLabel, white);
    canvas.DrawLine(ToQRect(qov::title::MonthLabel), title.monthLabel, white);
    canvas.DrawLine(ToQRect(qov::title::YearInfo), title.yearInfo, white);
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

// Today's ring: a thin rounded frame in the festival red just inside the
// cell, outside the selection fill's own corners, so that it reads on white
// and on the fill alike. 1.5 px wide, whole device pixels at 100 % and 200 %.
void DrawTodayRing(QPainter& painter, const QRect& cell)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(ToQColor(qov::colors::Red), 1.5);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(cell).adjusted(1.25, 1.25, -1.25, -1.25), 4.5, 4.5);
    painter.restore();
}

// A watermark line placed as DrawLine places a line, copied from its cached
// filled outline in the same pixels as drawing its glyphs: Qt draws glyphs
// this large as filled outlines too, without antialiasing as the font asks
// when the painter does not scale, antialiased when it does (200 %).
void DrawWatermarkLine(PictureCanvas& canvas, const QRect& rect, std::string_view gbk)
{
    if (gbk.empty() || !canvas.Exposed(rect)) return;
    const QFont& font = canvas.fonts().fontMark150;
    const QFontMetricsF metrics(font);
    canvas.SetFont(font);
    const qreal width = canvas.cache().Text(gbk).width;
    const QPointF origin(rect.left() + (rect.width() - width) / 2, rect.top() + metrics.ascent());
    QPainter& painter = canvas.painter();
    const bool overhangs = width > rect.width() || metrics.height() > rect.height();
    const bool smooth = painter.deviceTransform().isScaling();
    const PictureCache::Mark& mark = canvas.cache().Outline(font, gbk, origin,
        painter.device()->devicePixelRatio(), smooth, ToQColor(qov::colors::Watermark));
    if (overhangs) painter.setClipRect(rect);
    painter.drawImage(mark.position, mark.image);
    if (overhangs) painter.setClipping(false);
}

}  // namespace

void DrawMonthGrid(PictureCanvas& canvas, const qov::Watermark& watermark,
    const std::array<qov::DayCell, qov::grid::CellCount>& cells)
{
    DrawWatermarkLine(canvas, ToQRect(qov::grid::WatermarkYear), watermark.year);
    DrawWatermarkLine(canvas, ToQRect(qov::grid::WatermarkMonth), watermark.month);

    // Day numbers first, then the lower texts: one font change per group.
    std::size_t index = 0;  // row by row, as the cells come
    canvas.SetFont(canvas.fonts().fontCellDay35);
    for (int row = 0; row < qov::grid::Rows; ++row) {
        for (int column = 0; column < qov::grid::Columns; ++column) {
            const qov::DayCell& cell = cells[index++];
            const QRect cellRect = ToQRect(qov::CellRect(row, column));
            if (cell.selected && canvas.Exposed(cellRect))
                DrawSelection(canvas.painter(), cellRect);
            if (cell.today && canvas.Exposed(cellRect)) DrawTodayRing(canvas.painter(), cellRect);
            canvas.DrawLine(
                ToQRect(qov::CellUpperRect(row, column)), cell.dayText, ToQColor(cell.dayColor));
        }
    }
    index = 0;
    canvas.SetFont(canvas.fonts().fontText12);
    for (int row = 0; row < qov::grid::Rows; ++row) {
        for (int column = 0; column < qov::grid::Columns; ++column) {
            const qov::DayCell& cell = cells[index++];
            canvas.DrawLine(ToQRect(qov::CellLowerRect(row, column)), cell.lowerText,
                ToQColor(cell.lowerColor), cell.lowerUtf8);
        }
    }
    DrawHolidayBadges(canvas, cells);
}

void DrawHolidayBadges(
    PictureCanvas& canvas, const std::array<qov::DayCell, qov::grid::CellCount>& cells)
{
    QPainter& painter = canvas.painter();
    const QFont& font = canvas.fonts().fontBadge;
    const qreal height = QFontMetricsF(font).height();
    bool begun = false;
    std::size_t index = 0;  // row by row, as the cells come
    for (int row = 0; row < qov::grid::Rows; ++row) {
        for (int column = 0; column < qov::grid::Columns; ++column) {
            const qov::DayCell& cell = cells[index++];
            if (cell.dayOff == qov::DayOff::None) continue;
            if (!begun) {
                begun = true;
                painter.save();
                painter.setRenderHint(QPainter::Antialiasing, true);
                canvas.SetFont(font);
            }
            const QRect badge = ToQRect(qov::CellBadgeRect(row, column));
            painter.setPen(Qt::NoPen);
            painter.setBrush(ToQColor(cell.badgeColor));
            painter.drawRoundedRect(QRectF(badge), 2.0, 2.0);
            // The marks are UTF-8 literals here, like the holidays' names.
            const LaidOutText& mark =
                canvas.cache().Text(cell.dayOff == qov::DayOff::Rest ? "休" : "班", true);
            painter.setPen(ToQColor(qov::colors::White));
            painter.drawStaticText(QPointF(badge.left() + (badge.width() - mark.width) / 2,
                                       badge.top() + (badge.height() - height) / 2),
                mark.text);
        }
    }
    if (begun) painter.restore();
}

namespace {

// Runs of one line side by side, the whole run centred in the rectangle.
void DrawRuns(PictureCanvas& canvas, const QRect& rect, const qov::PanelLine& line)
{
    if (!canvas.Exposed(rect)) return;
    QPainter& painter = canvas.painter();
    qreal total = 0;
    for (const qov::TextRun& run : line.runs)
        total += canvas.cache().Text(run.text, run.utf8).width;
    qreal x = rect.left() + (rect.width() - total) / 2;
    painter.setClipRect(rect);
    for (const qov::TextRun& run : line.runs) {
        const LaidOutText& text = canvas.cache().Text(run.text, run.utf8);
        painter.setPen(ToQColor(run.color));
        painter.drawStaticText(QPointF(x, rect.top()), text.text);
        x += text.width;
    }
    painter.setClipping(false);
}

}  // namespace

void DrawDayPanel(PictureCanvas& canvas, const qov::DayPanel& panel)
{
    for (std::size_t i = 0; i < panel.lines.size(); ++i) {
        const qov::PanelLine& line = panel.lines[i];
        const QRect rect = ToQRect(qov::PanelLineRects[i]);
        const QFont& font = static_cast<int>(i) == qov::PanelDayLine ? canvas.fonts().fontDay72
                                                                     : canvas.fonts().fontText13;
        canvas.SetFont(font);
        if (line.runs.size() == 1)
            canvas.DrawLine(rect, line.runs.front().text, ToQColor(line.runs.front().color),
                line.runs.front().utf8);
        else if (!line.runs.empty())
            DrawRuns(canvas, rect, line);
    }
}

void DrawPicture(QPainter& painter, PictureCache& cache, const FontSet& fonts,
    const qov::PagePicture& picture, const QRect& exposed)
{
    if (const QImage* skin = cache.Skin(painter.device()->devicePixelRatio(), picture.weekStart)) {
        // A plain copy: the skin covers the whole client area (and Qt clips
        // it to the area being painted).
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), *skin);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        DrawSkin(painter, fonts.fontText12, picture.weekStart);
    }
    PictureCanvas canvas(painter, fonts, cache, exposed);
    DrawTitleStrip(canvas, picture.title);
    DrawMonthGrid(canvas, picture.watermark, picture.cells);
    DrawDayPanel(canvas, picture.panel);
}
