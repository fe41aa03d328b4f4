// The six fonts of the main window, created once when the window starts.
#pragma once

#include <QFont>

// Heights are cell heights in pixels (ascent + descent, the height a
// Windows font is asked for with a positive size); each font's em size is
// derived from the installed face so that its line is that tall. A set is
// made for one device pixel ratio: the small Song texts are drawn without
// antialiasing where they come out at most SongBitmapMaxPixels tall.
struct FontSet {
    QFont fontText12;     // 宋体, 12: year and month boxes, grid cell texts, title strip
    QFont fontText13;     // 宋体, 13: day panel
    QFont fontDay72;      // Arial, 72: large day number of the day panel
    QFont fontMark150;    // Arial Black italic, 150: year and month watermark
    QFont fontClock24;    // Arial bold, 24: clock
    QFont fontCellDay35;  // Arial Black, 35: day numbers of the grid
    QFont fontBadge;      // the 休/班 marks of the grid's holiday badges

    // Device pixels per logical pixel the set is made for.
    qreal devicePixelRatio = 1.0;

    static FontSet Create(qreal devicePixelRatio = 1.0);
};

// The largest device pixel size at which the Song face is drawn from its
// hand-tuned one-bit strikes (AR PL UMing carries them for 11 to 16 pixels;
// SimSun has its own): antialiased outlines of its hairline strokes come out
// grey, and red as pink, at these sizes; the strikes in the text's own
// colour. Larger sizes (the same texts at 200 %) stay antialiased and smooth.
inline constexpr int SongBitmapMaxPixels = 16;

// Without any face for Simplified Chinese every Chinese glyph is an empty
// box: says so once per process on standard error, naming the Debian
// packages that bring the faces, and returns false. The program runs on.
bool CheckChineseFont();

// The face lists that stand for the Windows faces here: any installed member
// serves.
QFont SongFont(int cellHeight, qreal devicePixelRatio = 1.0);  // "宋体"
QFont ArialFont(int cellHeight, QFont::Weight weight = QFont::Normal);
QFont ArialBlackFont(int cellHeight);
