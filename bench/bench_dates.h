// Gregorian dates in calendar order, built once, outside the timed loops.
#pragma once

#include <vector>

#include "gregorian.h"

namespace qov::bench {

// Every date of the years first..last.
inline std::vector<SolarDate> DatesOfYears(int first, int last)
{
    std::vector<SolarDate> v;
    for (int y = first; y <= last; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= DaysInMonth(y, m); ++d) v.push_back({y, m, d});
    return v;
}

inline const std::vector<SolarDate>& Dates1900To2050()
{
    static const std::vector<SolarDate> dates = DatesOfYears(1900, 2050);
    return dates;
}

}  // namespace qov::bench
