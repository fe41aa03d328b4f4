#include "skin.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRegion>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// A 1-pixel border in the border colour, and the inside filled when
// `inside` is given. Filled rectangles instead of stroked lines keep every
// edge on whole pixels, which scales to whole device pixels at any integer
// ratio. The skin fills each pixel once: at 200 % it is some three million
// device pixels, which the first frame draws straight from here.
void FramedBox(QPainter& painter, const QRect& outer, const QBrush& inside = Qt::NoBrush)
{
    const int sideHeight = outer.height() - 2;
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), 1), skin::Border);
    painter.fillRect(QRect(outer.left(), outer.bottom(), outer.width(), 1), skin::Border);
    painter.fillRect(QRect(outer.left(), outer.top() + 1, 1, sideHeight), skin::Border);
    painter.fillRect(QRect(outer.right(), outer.top() + 1, 1, sideHeight), skin::Border);
    if (inside.style() != Qt::NoBrush) painter.fillRect(outer.adjusted(1, 1, -1, -1), inside);
}

// The month panel's inside is exactly its five bands, top to bottom.
static_assert(skin::TitleBar.top() == skin::CalendarPanel.top() + 1);
static_assert(skin::WeekdayHeader.top() == skin::TitleBar.bottom() + 1);
static_assert(skin::GridArea.top() == skin::WeekdayHeader.bottom() + 1);
static_assert(skin::SeparatorY == skin::GridArea.bottom() + 1);
static_assert(skin::ButtonStrip.top() == skin::SeparatorY + 1);
static_assert(skin::ButtonStrip.bottom() == skin::CalendarPanel.bottom() - 1);
static_assert(skin::TitleBar.left() == skin::CalendarPanel.left() + 1
    && skin::TitleBar.right() == skin::CalendarPanel.right() - 1);
static_assert(skin::GridArea.left() == skin::TitleBar.left()
    && skin::GridArea.right() == skin::TitleBar.right());

QLinearGradient VerticalGradient(const QRect& r, const QColor& top, const QColor& bottom)
{
    QLinearGradient gradient(0, r.top(), 0, r.bottom() + 1);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

void DrawWeekdayHeader(QPainter& painter, qov::WeekStart start)
{
    static constexpr std::array<const char16_t*, 7> Names = {
        u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
    painter.fillRect(skin::WeekdayHeader, skin::HeaderFill);
    // The grid columns are 70 pixels apart from x = 5; a thin line below
    // the header separates it from the white grid.
    painter.fillRect(QRect(skin::WeekdayHeader.left(), skin::WeekdayHeader.bottom(),
                         skin::WeekdayHeader.width(), 1),
        skin::Border);
    for (int k = 0; k < 7; ++k) {
        const int weekday = qov::WeekdayOfColumn(start, k);
        const QColor colour = weekday == 0 ? skin::Sunday
            : weekday == 6                 ? skin::Saturday
                                           : skin::Heading;
        painter.setPen(colour);
        painter.drawText(QRect(5 + 70 * k, 32, 69, 19), Qt::AlignCenter,
            QString::fromUtf16(Names[static_cast<std::size_t>(weekday)]));
    }
}

void DrawBoxHeading(QPainter& painter, const QRect& box, const QString& text)
{
    painter.setPen(skin::Heading);
    painter.drawText(QRect(box.left() + 8, box.top() + 5, 80, 18),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

}  // namespace

void DrawSkin(QPainter& painter, const QFont& font, qov::WeekStart start)
{
    painter.save();
    // The window colour where no panel or box lies.
    QRegion around(0, 0, skin::Width, skin::Height);
    for (const QRect& box : {skin::CalendarPanel, skin::DayPanel, skin::ClockPanel,
             skin::CalculatorBox, skin::QueryBox})
        around -= box;
    for (const QRect& r : around) painter.fillRect(r, skin::Window);

    // Month panel: title bar, weekday header, grid, separator, button strip.
    FramedBox(painter, skin::CalendarPanel);
    painter.fillRect(
        skin::TitleBar, VerticalGradient(skin::TitleBar, skin::TitleTop, skin::TitleBottom));
    painter.setFont(font);
    DrawWeekdayHeader(painter, start);
    painter.fillRect(skin::GridArea, skin::Paper);
    painter.fillRect(QRect(5, skin::SeparatorY, skin::GridArea.width(), 1), skin::Border);
    painter.fillRect(skin::ButtonStrip, skin::StripFill);

    // Day panel with a band matching the title bar; clock panel below it.
    FramedBox(painter, skin::DayPanel);
    painter.fillRect(skin::DayPanelBand,
        VerticalGradient(skin::DayPanelBand, skin::TitleTop, skin::TitleBottom));
    painter.fillRect(QRect(QPoint(skin::DayPanelBand.left(), skin::DayPanelBand.bottom() + 1),
                         skin::DayPanel.bottomRight() - QPoint(1, 1)),
        skin::Paper);
    FramedBox(painter, skin::ClockPanel, skin::Paper);

    FramedBox(painter, skin::CalculatorBox, skin::Paper);
    DrawBoxHeading(painter, skin::CalculatorBox, u"时间计算"_s);
    FramedBox(painter, skin::QueryBox, skin::Paper);
    DrawBoxHeading(painter, skin::QueryBox, u"快速查询"_s);
    painter.restore();
}
