// Printers shared by the model tests. Every test file includes this header, so
// the whole program prints dates and cells alike (colours print as their bytes).
#pragma once

#include <gtest/gtest.h>

#include <ostream>

#include "gregorian.h"
#include "model/geometry.h"

namespace qov {

inline void PrintTo(const SolarDate& d, std::ostream* o)
{
    *o << d.year << '-' << d.month << '-' << d.day;
}

inline void PrintTo(const GridCell& c, std::ostream* o)
{
    *o << "cell(" << c.row << ',' << c.column << ')';
}

}  // namespace qov
