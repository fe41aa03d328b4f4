// Every Gregorian date of 1900..2050 in calendar order, built once, outside
// the timed loops.
#pragma once

#include <vector>

#include "gregorian.h"

namespace qov::bench {

inline const std::vector<SolarDate>& Dates1900To2050()
{
    static const std::vector<SolarDate> dates = [] {
        std::vector<SolarDate> v;
        for (int y = 1900; y <= 2050; ++y)
            for (int m = 1; m <= 12; ++m)
                for (int d = 1; d <= DaysInMonth(y, m); ++d) v.push_back({y, m, d});
        return v;
    }();
    return dates;
}

}  // namespace qov::bench
