// Colours of the main window's painted texts and fills, as plain RGB bytes
// so that the models need no drawing library.
#pragma once

#include <cstdint>

namespace qov {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

namespace colors {
// Sundays, even-numbered Saturdays, lunar festivals, sectional terms.
inline constexpr Rgb Red{233, 2, 6};
// Odd-numbered Saturdays and the principal terms of the page month.
inline constexpr Rgb Green{0, 148, 0};
// Panel lines and the Gregorian festivals of the page month.
inline constexpr Rgb DarkBlue{1, 73, 145};
// Neighbouring-month cells and the middle of the panel's term line.
inline constexpr Rgb Grey{175, 175, 175};
inline constexpr Rgb Black{0, 0, 0};
// Title strip texts.
inline constexpr Rgb White{255, 255, 255};
// Rounded fill behind the selected day.
inline constexpr Rgb Selection{211, 227, 240};
// Page year and month drawn large behind the grid.
inline constexpr Rgb Watermark{240, 240, 240};

// `percent` of `c` over `background`, rounded: the paler badges of the
// neighbouring-month cells.
constexpr Rgb Blend(Rgb c, Rgb background, int percent) noexcept
{
    const auto mix = [&](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>((a * percent + b * (100 - percent) + 50) / 100);
    };
    return {mix(c.r, background.r), mix(c.g, background.g), mix(c.b, background.b)};
}

// Badges in a cell's top-right corner, the mark white: 休 (a day off) on the
// festival red, 班 (a make-up working day) on a dark grey-blue; in
// neighbouring-month cells at 45 % on white, as pale as their grey texts.
// The user's own days in the cells and the panel: a violet that no other
// text of the page uses.
inline constexpr Rgb MyDay{142, 36, 170};
inline constexpr Rgb RestBadge = Red;
inline constexpr Rgb WorkBadge{70, 84, 108};
inline constexpr Rgb PaleRestBadge = Blend(RestBadge, White, 45);
inline constexpr Rgb PaleWorkBadge = Blend(WorkBadge, White, 45);
}  // namespace colors

}  // namespace qov
