// Where the main window's painted parts sit, in client pixels. Every
// rectangle is left/top inclusive and right/bottom exclusive.
#pragma once

#include <array>

namespace qov {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const noexcept { return right - left; }
    constexpr int Height() const noexcept { return bottom - top; }
    constexpr bool Contains(int x, int y) const noexcept
    {
        return x >= left && x < right && y >= top && y < bottom;
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// A grid position: row 0..5 (weeks), column 0..6 (0 = Sunday).
struct GridCell {
    int row = 0;
    int column = 0;

    friend constexpr bool operator==(const GridCell&, const GridCell&) = default;
};

namespace grid {
inline constexpr int Rows = 6;
inline constexpr int Columns = 7;
inline constexpr int CellCount = Rows * Columns;  // 42
inline constexpr int Left = 5;                    // x of column 0
inline constexpr int Top = 52;                    // y of row 0
inline constexpr int ColumnPitch = 70;
inline constexpr int RowPitch = 50;
inline constexpr int CellWidth = 69;  // one pixel gap between columns
inline constexpr int CellHeight = 50;
inline constexpr int UpperHeight = 35;  // day number: cell top .. top + 35
inline constexpr int LowerOffset = 31;  // lunar/festival text: top + 31 .. bottom

// Presses inside this area select a day; outside it they drag the window.
inline constexpr Rect ClickArea{5, 52, 493, 352};
// The pointer shows a day tip only inside this smaller area.
inline constexpr Rect HoverArea{6, 53, 491, 352};
// Page year ("%d") and month ("%.2d") behind the grid.
inline constexpr Rect WatermarkYear{5, 52, 493, 203};
inline constexpr Rect WatermarkMonth{5, 203, 493, 355};
}  // namespace grid

constexpr Rect CellRect(int row, int column) noexcept
{
    const int left = grid::Left + grid::ColumnPitch * column;
    const int top = grid::Top + grid::RowPitch * row;
    return {left, top, left + grid::CellWidth, top + grid::CellHeight};
}

// Day-number part; overlaps the lower part by four pixels.
constexpr Rect CellUpperRect(int row, int column) noexcept
{
    const Rect c = CellRect(row, column);
    return {c.left, c.top, c.right, c.top + grid::UpperHeight};
}

constexpr Rect CellLowerRect(int row, int column) noexcept
{
    const Rect c = CellRect(row, column);
    return {c.left, c.top + grid::LowerOffset, c.right, c.bottom};
}

// The 休/班 badge in the cell's top-right corner, 14 x 14 (a 12 px glyph
// with a pixel around it), clear of the centred day number (two digits end
// 17 px short of the right edge) and of the lower text.
constexpr Rect CellBadgeRect(int row, int column) noexcept
{
    const Rect c = CellRect(row, column);
    return {c.right - 15, c.top + 1, c.right - 1, c.top + 15};
}

// Day information panel: eight lines centred in x 503..674. Line 3 holds the
// large day number; the others are one 13 px text line each.
inline constexpr std::array<Rect, 8> PanelLineRects = {{
    {503, 41, 674, 60},
    {503, 63, 674, 82},
    {503, 84, 674, 160},
    {503, 160, 674, 179},
    {503, 185, 674, 204},
    {503, 209, 674, 228},
    {503, 235, 674, 254},
    {503, 260, 674, 279},
}};

// Title strip along the year and month selectors.
namespace title {
inline constexpr Rect EraLabel{11, 11, 44, 30};      // "公元"
inline constexpr Rect YearLabel{96, 11, 117, 30};    // "年"
inline constexpr Rect MonthLabel{157, 11, 179, 30};  // "月"
inline constexpr Rect YearInfo{179, 11, 350, 30};    // era, gan-zhi, animal
}  // namespace title

}  // namespace qov
