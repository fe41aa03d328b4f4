// Printing and date helpers shared by the model tests.
#pragma once

#include <ostream>

#include "gregorian.h"
#include "model/colors.h"
#include "model/geometry.h"

namespace qov {

inline void PrintTo(const SolarDate& d, std::ostream* os)
{
    *os << d.year << '-' << d.month << '-' << d.day;
}

inline void PrintTo(const Rgb& c, std::ostream* os)
{
    *os << "rgb(" << int{c.r} << ',' << int{c.g} << ',' << int{c.b} << ')';
}

inline void PrintTo(const GridCell& c, std::ostream* os)
{
    *os << "cell(" << c.row << ',' << c.column << ')';
}

namespace testing_support {

// Days since 1970-01-01 by H. Hinnant's civil-day algorithm, an oracle
// independent of the models' month arithmetic and of DayNumber. (<chrono>
// cannot be included here: the GBK execution charset rejects its "µs".)
inline long long Days(const SolarDate& d)
{
    return DaysFromCivil(d.year, static_cast<unsigned>(d.month), static_cast<unsigned>(d.day));
}

inline SolarDate FromDays(long long days)
{
    const CivilDate c = CivilFromDays(days);
    return {static_cast<int>(c.year), static_cast<int>(c.month), static_cast<int>(c.day)};
}

// 0 = Sunday; 1970-01-01 was a Thursday.
inline int WeekdayOfDays(long long days) { return static_cast<int>(((days + 4) % 7 + 7) % 7); }

}  // namespace testing_support
}  // namespace qov
