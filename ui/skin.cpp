#include "skin.h"

#include <QLinearGradient>
#include <QPainter>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// A 1-pixel border in the border colour around a filled inside. Filled
// rectangles instead of stroked lines keep every edge on whole pixels, which
// scales to whole device pixels at any integer ratio.
void FramedBox(QPainter& painter, const QRect& outer, const QBrush& inside)
{
    painter.fillRect(outer, skin::Border);
    painter.fillRect(outer.adjusted(1, 1, -1, -1), inside);
}

QLinearGradient VerticalGradient(const QRect& r, const QColor& top, const QColor& bottom)
{
    QLinearGradient gradient(0, r.top(), 0, r.bottom() + 1);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

void DrawWeekdayHeader(QPainter& painter)
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
        const QColor colour = k == 0 ? skin::Sunday : k == 6 ? skin::Saturday : skin::Heading;
        painter.setPen(colour);
        painter.drawText(QRect(5 + 70 * k, 32, 69, 19), Qt::AlignCenter,
            QString::fromUtf16(Names[static_cast<std::size_t>(k)]));
    }
}

void DrawBoxHeading(QPainter& painter, const QRect& box, const QString& text)
{
    painter.setPen(skin::Heading);
    painter.drawText(QRect(box.left() + 8, box.top() + 5, 80, 18),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

}  // namespace

void DrawSkin(QPainter& painter, const QFont& font)
{
    painter.save();
    painter.fillRect(QRect(0, 0, skin::Width, skin::Height), skin::Window);

    // Month panel: title bar, weekday header, grid, separator, button strip.
    FramedBox(painter, skin::CalendarPanel, skin::Paper);
    painter.fillRect(
        skin::TitleBar, VerticalGradient(skin::TitleBar, skin::TitleTop, skin::TitleBottom));
    painter.setFont(font);
    DrawWeekdayHeader(painter);
    painter.fillRect(skin::GridArea, skin::Paper);
    painter.fillRect(QRect(5, skin::SeparatorY, skin::GridArea.width(), 1), skin::Border);
    painter.fillRect(skin::ButtonStrip, skin::StripFill);

    // Day panel with a band matching the title bar; clock panel below it.
    FramedBox(painter, skin::DayPanel, skin::Paper);
    painter.fillRect(skin::DayPanelBand,
        VerticalGradient(skin::DayPanelBand, skin::TitleTop, skin::TitleBottom));
    FramedBox(painter, skin::ClockPanel, skin::Paper);

    FramedBox(painter, skin::CalculatorBox, skin::Paper);
    DrawBoxHeading(painter, skin::CalculatorBox, u"时间计算"_s);
    FramedBox(painter, skin::QueryBox, skin::Paper);
    DrawBoxHeading(painter, skin::QueryBox, u"快速查询"_s);
    painter.restore();
}
