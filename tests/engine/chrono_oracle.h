// Independent answers from <chrono> for the engine tests; the header itself
// stays free of <chrono>, which cannot be compiled with GBK literals.
#pragma once

namespace qov::oracle {

struct Ymd {
    int y, m, d;
};

// Days since 1970-01-01 of a date, and back.
long long DaysOf(Ymd date);
Ymd DateOf(long long days);
// 0 = Sunday.
int WeekdayOf(Ymd date);

}  // namespace qov::oracle
