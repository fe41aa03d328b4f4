// Date printer shared by every model test file, so all of them print dates alike.
#pragma once

#include <gtest/gtest.h>

#include "gregorian.h"

namespace qov {
inline void PrintTo(SolarDate d, std::ostream* o)
{
    *o << d.year << '-' << d.month << '-' << d.day;
}
}  // namespace qov
