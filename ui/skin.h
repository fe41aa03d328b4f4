// The static look of the main window, drawn as vectors so that it stays sharp
// at any device pixel ratio: panels, title bar, weekday header, grid area,
// button strip, day and clock panels and the two boxes at the bottom.
#pragma once

#include <QColor>
#include <QRect>

#include "model/monthpage.h"

class QFont;
class QPainter;

namespace skin {

inline constexpr int Width = 680;  // client size of the main window, pixels
inline constexpr int Height = 505;

inline constexpr QColor Border{96, 188, 222};
inline constexpr QColor Window{232, 242, 250};      // around the panels
inline constexpr QColor Paper{255, 255, 255};       // inside the panels and boxes
inline constexpr QColor TitleTop{78, 160, 222};     // title bar gradient, top row
inline constexpr QColor TitleBottom{22, 101, 176};  // and bottom row
inline constexpr QColor HeaderFill{222, 232, 242};  // weekday header
inline constexpr QColor StripFill{241, 247, 252};   // button strip under the grid
inline constexpr QColor Heading{1, 73, 145};        // box headings, weekday names
inline constexpr QColor Sunday{233, 2, 6};
inline constexpr QColor Saturday{0, 148, 0};

// Regions, as inclusive pixel ranges (left, top, right, bottom) turned into
// QRects; borders are the outermost pixel rows and columns of each.
inline constexpr QRect CalendarPanel{QPoint(4, 4), QPoint(493, 387)};
inline constexpr QRect TitleBar{QPoint(5, 5), QPoint(492, 30)};
inline constexpr QRect WeekdayHeader{QPoint(5, 31), QPoint(492, 51)};
inline constexpr QRect GridArea{QPoint(5, 52), QPoint(492, 353)};
inline constexpr int SeparatorY = 354;
inline constexpr QRect ButtonStrip{QPoint(5, 355), QPoint(492, 386)};
inline constexpr QRect DayPanel{QPoint(502, 4), QPoint(675, 293)};
inline constexpr QRect DayPanelBand{QPoint(503, 5), QPoint(674, 30)};
inline constexpr QRect ClockPanel{QPoint(502, 302), QPoint(675, 386)};
inline constexpr QRect CalculatorBox{QPoint(4, 395), QPoint(414, 458)};
inline constexpr QRect QueryBox{QPoint(423, 395), QPoint(675, 458)};

}  // namespace skin

// Paints the whole 680 x 505 skin in client coordinates; the painter may
// target any device pixel ratio. `font` is the window's 12 px text font
// (宋体 or its stand-in), for the weekday names and box headings.
// The weekday header starts with the week's first day; Sunday stays red and
// Saturday green wherever they stand.
void DrawSkin(QPainter& painter, const QFont& font, qov::WeekStart start = qov::WeekStart::Sunday);
