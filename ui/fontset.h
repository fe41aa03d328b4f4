// The six fonts of the main window, created once when the window starts.
#pragma once

#include <QFont>

// Heights are cell heights in pixels (ascent + descent, the height a
// Windows font is asked for with a positive size); each font's em size is
// derived from the installed face so that its line is that tall.
struct FontSet {
    QFont fontText12;     // 宋体, 12: year and month boxes, grid cell texts, title strip
    QFont fontText13;     // 宋体, 13: day panel
    QFont fontDay72;      // Arial, 72: large day number of the day panel
    QFont fontMark150;    // Arial Black italic, 150: year and month watermark
    QFont fontClock24;    // Arial bold, 24: clock
    QFont fontCellDay35;  // Arial Black, 35: day numbers of the grid

    static FontSet Create();
};

// The face lists that stand for the Windows faces here: any installed member
// serves.
QFont SongFont(int cellHeight);  // "宋体"
QFont ArialFont(int cellHeight, QFont::Weight weight = QFont::Normal);
QFont ArialBlackFont(int cellHeight);
