// Painters of the main window's picture: title strip, watermark and grid,
// day panel. They draw the models' texts (GBK, decoded here, once per text
// and paint) in the models' colours at the models' rectangles.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringDecoder>
#include <string_view>

#include "fontset.h"
#include "model/colors.h"
#include "model/daytexts.h"
#include "model/geometry.h"

class QPainter;

inline QColor ToQColor(qov::Rgb c) { return QColor(c.r, c.g, c.b); }
inline QRect ToQRect(const qov::Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// One paint's drawing state: the target painter, the fonts and the GBK
// decoder shared by all texts of this paint.
class PictureCanvas {
public:
    PictureCanvas(QPainter& painter, const FontSet& fonts);

    QPainter& painter() const noexcept { return m_painter; }
    const FontSet& fonts() const noexcept { return m_fonts; }
    QString Decode(std::string_view gbk);

    // One line, horizontally centred at the top of `rect` and clipped to it.
    void DrawLine(const QRect& rect, const QString& text, const QColor& colour);

private:
    QPainter& m_painter;
    const FontSet& m_fonts;
    QStringDecoder m_gbk;
};

// White texts along the title bar.
void DrawTitleStrip(PictureCanvas& canvas, const qov::TitleStrip& title);
// Page year and month behind the grid, then the 42 cells.
void DrawMonthGrid(PictureCanvas& canvas, const qov::Watermark& watermark,
    const std::array<qov::DayCell, qov::grid::CellCount>& cells);
// The eight lines of the day information panel.
void DrawDayPanel(PictureCanvas& canvas, const qov::DayPanel& panel);

// The skin drawn once for a device pixel ratio: the window's background
// picture, made as sharp as the screen it is shown on.
QImage MakeSkinImage(qreal devicePixelRatio);

// The whole picture of a page onto a painter covering the client area: the
// skin image, title strip, watermark and grid, day panel, in that order.
void DrawPicture(
    QPainter& painter, const QImage& skin, const FontSet& fonts, const qov::PagePicture& picture);
