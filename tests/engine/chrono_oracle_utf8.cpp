#include <chrono>

#include "chrono_oracle.h"

namespace qov::oracle {

using namespace std::chrono;

long long DaysOf(Ymd date)
{
    const sys_days day{
        year{date.y} / static_cast<unsigned>(date.m) / static_cast<unsigned>(date.d)};
    return day.time_since_epoch().count();
}

Ymd DateOf(long long days)
{
    const year_month_day ymd{sys_days{std::chrono::days{days}}};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
        static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

int WeekdayOf(Ymd date)
{
    return static_cast<int>(weekday{sys_days{std::chrono::days{DaysOf(date)}}}.c_encoding());
}

}  // namespace qov::oracle
