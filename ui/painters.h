// Painters of the main window's picture: title strip, watermark and grid,
// day panel. They draw the models' texts (GBK, decoded here) in the models'
// colours at the models' rectangles.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <QStringDecoder>
#include <array>
#include <string_view>
#include <vector>

#include "fontset.h"
#include "model/colors.h"
#include "model/daytexts.h"
#include "model/geometry.h"
#include "skin.h"

class QPainter;

inline QColor ToQColor(qov::Rgb c) { return QColor(c.r, c.g, c.b); }
inline QRect ToQRect(const qov::Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// One text laid out once in one font: shaped, measured, ready to draw.
struct LaidOutText {
    QStaticText text;
    qreal width = 0;  // sum of the characters' advances, as LineWidth measures
};

// What the window keeps between paints, so that a repaint shapes and
// measures no text it drew before and fills the skin from an image: the
// skin for one device pixel ratio, each (font, text) laid out once, and the
// watermark's outlines. A few hundred texts per page; a cache that reaches
// MaxTexts for a font starts again empty, which bounds it over a long
// session of paging.
class PictureCache {
public:
    static constexpr qsizetype MaxTexts = 1024;

    // The skin image for `ratio` and week start, or nullptr when it is not
    // made yet.
    const QImage* Skin(qreal ratio, qov::WeekStart start = qov::WeekStart::Sunday) const;
    // Draws the skin image for `ratio` (replacing one for another ratio or
    // week start).
    void MakeSkin(qreal ratio, const QFont& font, qov::WeekStart start = qov::WeekStart::Sunday);

    // Makes `font` the font of the texts that follow. Fonts are told apart
    // by address and checked by value: the window's fonts are remade in
    // place when its screen's ratio changes.
    void SelectFont(const QFont& font);
    // `text` laid out in the selected font: GBK bytes, or UTF-8 where `utf8`
    // (a holiday's name, which may be any text).
    const LaidOutText& Text(std::string_view text, bool utf8 = false);
    // The outline of `gbk` in `font` with its baseline starting at `origin`,
    // filled in `colour` into an image at `ratio` device pixels per pixel
    // that covers just its ink (antialiased where `smooth`), for the
    // watermark: glyphs too large for Qt's glyph cache are otherwise turned
    // into outlines and filled again on every paint, which at 200 % is half
    // of a repaint. The image goes to the client point `position`: its
    // pixels fall on whole device pixels.
    struct Mark {
        QImage image;
        QPointF position;
    };
    const Mark& Outline(const QFont& font, std::string_view gbk, QPointF origin, qreal ratio,
        bool smooth, const QColor& colour);

    QString Decode(std::string_view gbk);

private:
    struct FontTexts {
        const QFont* address;
        QFont font;
        QHash<QByteArray, LaidOutText> texts;
        QHash<QByteArray, LaidOutText> utf8Texts;  // the same bytes may mean another text
    };
    struct CachedOutline {
        QFont font;
        QByteArray gbk;
        QPointF origin;
        qreal ratio = 0;
        bool smooth = false;
        QColor colour;
        Mark mark;
    };

    QImage m_skin;
    qov::WeekStart m_skinWeekStart = qov::WeekStart::Sunday;
    std::vector<FontTexts> m_fonts;             // one per font, few
    std::size_t m_selected = 0;                 // index into m_fonts
    std::array<CachedOutline, 2> m_outlines{};  // year and month, most recent first
    QStringDecoder m_gbk{"GBK", QStringConverter::Flag::Stateless};
};

// One paint's drawing state: the target painter, the fonts and the cache.
class PictureCanvas {
public:
    // Only what may reach `exposed` (client pixels) is drawn.
    PictureCanvas(
        QPainter& painter, const FontSet& fonts, PictureCache& cache, const QRect& exposed);

    QPainter& painter() const noexcept { return m_painter; }
    const FontSet& fonts() const noexcept { return m_fonts; }
    PictureCache& cache() const noexcept { return m_cache; }
    // Whether drawing meant for `rect` may change a pixel of the exposed area:
    // an unclipped text's smoothed edges reach a little past its rectangle.
    bool Exposed(const QRect& rect) const noexcept
    {
        return m_exposed.intersects(rect.adjusted(-4, -4, 4, 4));
    }
    QString Decode(std::string_view gbk) { return m_cache.Decode(gbk); }

    // Makes `font` (one of fonts()) the font of the texts that follow.
    void SetFont(const QFont& font);
    // One line in the current font, horizontally centred at the top of
    // `rect` and clipped to it: GBK, or UTF-8 where `utf8`.
    void DrawLine(const QRect& rect, std::string_view gbk, const QColor& colour, bool utf8 = false);

private:
    QPainter& m_painter;
    const FontSet& m_fonts;
    PictureCache& m_cache;
    QRect m_exposed;
    const QFont* m_font = nullptr;
    qreal m_height = 0;  // line height of *m_font
};

// The skin drawn once for a device pixel ratio: the window's background
// picture, as sharp as the screen it is shown on. `font` is the window's 12 px
// text font for that ratio.
QImage MakeSkinImage(
    qreal devicePixelRatio, const QFont& font, qov::WeekStart start = qov::WeekStart::Sunday);

// White texts along the title bar.
void DrawTitleStrip(PictureCanvas& canvas, const qov::TitleStrip& title);
// Page year and month behind the grid, then the 42 cells.
void DrawMonthGrid(PictureCanvas& canvas, const qov::Watermark& watermark,
    const std::array<qov::DayCell, qov::grid::CellCount>& cells);
// The "休" or "班" badge of each listed day in its cell's top-right corner,
// white on the cell's badge colour, over the selection fill.
void DrawHolidayBadges(
    PictureCanvas& canvas, const std::array<qov::DayCell, qov::grid::CellCount>& cells);
// The eight lines of the day information panel.
void DrawDayPanel(PictureCanvas& canvas, const qov::DayPanel& panel);

// The picture of a page onto a painter covering the client area: the skin
// (from the cache's image when it has one for the painter's device pixel
// ratio, else drawn straight from vectors), title strip, watermark and grid,
// day panel, in that order. Texts that cannot reach `exposed` are left out:
// the clock's tick every second repaints only the area under it.
void DrawPicture(QPainter& painter, PictureCache& cache, const FontSet& fonts,
    const qov::PagePicture& picture, const QRect& exposed = QRect(0, 0, skin::Width, skin::Height));
