// Independent date answers from <chrono> for the festival tests. <chrono>
// cannot be compiled with GBK literals, so it stays in date_oracle_utf8.cpp.
#pragma once

namespace qov::oracle {

struct Date {
    int year;
    int month;
    int day;
};

// Days since 1970-01-01, and back.
long long DaysOf(Date date);
Date DateOf(long long days);
// 0 = Sunday .. 6 = Saturday.
int WeekdayOf(Date date);
// 28..31.
int MonthLength(int year, int month);

}  // namespace qov::oracle
