#include <chrono>

#include "date_oracle.h"

namespace qov::oracle {

namespace chr = std::chrono;

namespace {
chr::sys_days SysDays(Date date)
{
    return chr::year{date.year} / static_cast<unsigned>(date.month) / static_cast<unsigned>(date.day);
}
}  // namespace

long long DaysOf(Date date) { return SysDays(date).time_since_epoch().count(); }

Date DateOf(long long days)
{
    const chr::year_month_day ymd{chr::sys_days{chr::days{days}}};
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

int WeekdayOf(Date date) { return static_cast<int>(chr::weekday{SysDays(date)}.c_encoding()); }

int MonthLength(int year, int month)
{
    const chr::year_month_day_last last{chr::year{year},
                                        chr::month_day_last{chr::month{static_cast<unsigned>(month)}}};
    return static_cast<int>(static_cast<unsigned>(last.day()));
}

}  // namespace qov::oracle
