#include "gregorian.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <ctime>
#endif

namespace qov {

SolarDate Today() noexcept
{
    // The calendar date of the local clock: a UTC date would show yesterday as
    // today every morning before 08:00 in China.
#if defined(_WIN32)
    // The system's zone, as the taskbar clock and Qt's clock show it. The C
    // runtime's localtime_s obeys %TZ% instead, and reads a value such as
    // "Asia/Shanghai" (set by MSYS2 or Cygwin shells) as UTC.
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return SolarDate{local.wYear, local.wMonth, local.wDay};
#else
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return SolarDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
#endif
}

}  // namespace qov
