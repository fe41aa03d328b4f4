#include "gregorian.h"

#include <ctime>

namespace qov {

SolarDate Today() noexcept
{
    // The calendar date of the local clock: a UTC date would show yesterday as
    // today every morning before 08:00 in China.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return SolarDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace qov
