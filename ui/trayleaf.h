// The tray icon's picture and tip: a small tear-off calendar leaf with a red
// band on top and today's day number below, drawn at run time for each
// size a panel asks for, in whole device pixels so that it stays crisp.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

#include "gregorian.h"
#include "model/daytexts.h"

// The leaf for `day` (1..31) as a square image of `pixels` device pixels.
QImage DrawLeaf(int day, int pixels);

// The leaf at the sizes panels use, 16 to 64 px, each at 1x and 2x.
QIcon LeafIcon(int day);

// The tip: "2026年12月7日 星期一", "农历十月廿九", then the term, the
// festivals, the user's days and the public holiday, one item a line, as
// the window's options show them.
QString TrayToolTip(const qov::SolarDate& date, const qov::DayOptions& options);

// The band's colour, the festival red.
QRgb LeafBandColour();
