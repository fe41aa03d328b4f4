#include <gtest/gtest.h>

#include <climits>

#include "chrono_oracle.h"
#include "cycles.h"
#include "names.h"

namespace qov {
namespace {

struct Row {
    const char* what;
    std::string actual;
    const char* expected;
};

// Chosen texts, and every argument up to the edges of int: outside the named
// range the empty text, with no overflow and no read outside a table.
TEST(NamesAndCycles, Texts)
{
    const Row rows[] = {
        // The year name changes on 立春 (4 February 2009 00:49 CST, 4 February 1900).
        {"year 2009-02-03", GanZhiText(2009, 2, 3, 1), "戊子"},
        {"year 2009-02-04", GanZhiText(2009, 2, 4, 1), "己丑"},
        {"year 1900-01-01", GanZhiText(1900, 1, 1, 1), "己亥"},
        {"year 1900-02-04", GanZhiText(1900, 2, 4, 1), "庚子"},
        // Month names change on each sectional term (小寒 2009: 5 January).
        {"month 2009-01-04", GanZhiText(2009, 1, 4, 2), "甲子"},
        {"month 2009-01-05", GanZhiText(2009, 1, 5, 2), "乙丑"},
        {"month 2009-02-03", GanZhiText(2009, 2, 3, 2), "乙丑"},
        {"month 2009-02-04", GanZhiText(2009, 2, 4, 2), "丙寅"},
        {"month 1900-01-01", GanZhiText(1900, 1, 1, 2), "丙子"},
        {"day 1900-01-31", GanZhiText(1900, 1, 31, 3), "甲辰"},
        {"day 1900-01-01", GanZhiText(1900, 1, 1, 3), "甲戌"},
        {"day 2009-01-01", GanZhiText(2009, 1, 1, 3), "丙午"},
        {"kind 0", GanZhiText(2009, 1, 1, 0), ""},
        {"kind 4", GanZhiText(2009, 1, 1, 4), ""},
        // Counters before 1900 are negative and continue the cycle backwards.
        {"day 1899-12-31", GanZhiText(1899, 12, 31, 3), "癸酉"},
        {"cycle -1", CycleName(-1), "癸亥"},
        {"cycle -60", CycleName(-60), "甲子"},
        {"cycle 59", CycleName(59), "癸亥"},
        {"cycle 60", CycleName(60), "甲子"},
        {"cycle 145", CycleName(145), "己丑"},
        {"zodiac 2008", ZodiacName(2008), "鼠"},
        {"zodiac 2009", ZodiacName(2009), "牛"},
        {"zodiac 1899", ZodiacName(1899), "猪"},
        {"stars 01-20", ConstellationName(2009, 1, 20), "魔羯座"},
        {"stars 01-21", ConstellationName(2009, 1, 21), "水瓶座"},
        {"stars 02-19", ConstellationName(2009, 2, 19), "水瓶座"},
        {"stars 02-20", ConstellationName(2009, 2, 20), "双鱼座"},
        {"stars 08-23", ConstellationName(2009, 8, 23), "狮子座"},
        {"stars 08-24", ConstellationName(2009, 8, 24), "处女座"},
        {"stars 10-23", ConstellationName(2009, 10, 23), "天秤座"},
        {"stars 10-24", ConstellationName(2009, 10, 24), "天蝎座"},
        {"stars 12-21", ConstellationName(2009, 12, 21), "射手座"},
        {"stars 12-22", ConstellationName(2009, 12, 22), "魔羯座"},
        {"era 1874", EraName(1874), ""},
        {"era 1875", EraName(1875), "光绪元年"},
        {"era 1908", EraName(1908), "光绪34年"},
        {"era 1909", EraName(1909), "宣统元年"},
        {"era 1911", EraName(1911), "宣统3年"},
        {"era 1912", EraName(1912), "民国元年"},
        {"era 1948", EraName(1948), "民国37年"},
        {"era 1949", EraName(1949), "建国元年"},
        {"era 1950", EraName(1950), "建国2年"},
        {"era 2049", EraName(2049), "建国101年"},
        {"lunar day 1", LunarDayName(1), "初一"},
        {"lunar day 10", LunarDayName(10), "初十"},
        {"lunar day 11", LunarDayName(11), "十一"},
        {"lunar day 20", LunarDayName(20), "二十"},
        {"lunar day 21", LunarDayName(21), "廿一"},
        {"lunar day 29", LunarDayName(29), "廿九"},
        {"lunar day 30", LunarDayName(30), "三十"},
        {"lunar day 31", LunarDayName(31), ""},
        {"lunar month 1", LunarMonthName(1), "正"},
        {"lunar month 11", LunarMonthName(11), "十一"},
        {"lunar month 13", LunarMonthName(13), ""},
        {"weekday 2009-01-01", WeekdayName(2009, 1, 1), "星期四"},
        {"weekday 2009-02-01", WeekdayName(2009, 2, 1), "星期日"},
        // The compiler wrote GBK, as Windows code page 936 reads it: 立春 is
        // C1 A2 B4 BA; the marks of the festival and panel texts, · outside GB2312.
        {"GBK bytes", std::string(SolarTermNames[2]), "\xC1\xA2\xB4\xBA"},
        {"GBK marks", "·…【】！□　", "\xA1\xA4\xA1\xAD\xA1\xBE\xA1\xBF\xA3\xA1\xA1\xF5\xA1\xA1"},
        {"WeekdayName day INT_MIN", WeekdayName(2000, 1, INT_MIN), ""},
        {"WeekdayName day INT_MAX - 491", WeekdayName(2000, 3, INT_MAX - 491), ""},
        {"WeekdayName month 13", WeekdayName(2000, 13, 1), ""},
        {"WeekdayName 0000-01-01", WeekdayName(0, 1, 1), "星期六"},  // proleptic Gregorian
        // (INT_MIN - 4) mod 12 = 0, (INT_MAX - 4) mod 12 = 3.
        {"ZodiacName INT_MIN", ZodiacName(INT_MIN), "鼠"},
        {"ZodiacName INT_MAX", ZodiacName(INT_MAX), "兔"},
        {"ZodiacName -8", ZodiacName(-8), "鼠"},
        // INT_MIN mod 10 = 2, mod 12 = 4; INT_MAX mod 10 = 7, mod 12 = 7.
        {"CycleName INT_MIN", CycleName(INT_MIN), "丙辰"},
        {"CycleName INT_MAX", CycleName(INT_MAX), "辛未"},
        // GanZhiText names valid dates of years 1..9999 only.
        {"GanZhi year INT_MAX", GanZhiText(INT_MAX, 1, 1, 1), ""},
        {"GanZhi year INT_MIN", GanZhiText(INT_MIN, 1, 1, 1), ""},
        {"GanZhi year 40000", GanZhiText(40000, 1, 1, 1), ""},
        {"GanZhi year -30000", GanZhiText(-30000, 6, 1, 1), ""},
        {"GanZhi year 10000", GanZhiText(10000, 1, 1, 3), ""},
        {"GanZhi year 0", GanZhiText(0, 12, 31, 3), ""},
        {"GanZhi month 0", GanZhiText(2009, 0, 1, 2), ""},
        {"GanZhi month 13", GanZhiText(2009, 13, 1, 2), ""},
        {"GanZhi month INT_MAX", GanZhiText(2009, INT_MAX, 1, 2), ""},
        {"GanZhi day 0", GanZhiText(2009, 1, 0, 3), ""},
        {"GanZhi Feb 29 2009", GanZhiText(2009, 2, 29, 1), ""},
        {"GanZhi day INT_MIN", GanZhiText(2009, 1, INT_MIN, 3), ""},
        {"LunarDayName INT_MIN", LunarDayName(INT_MIN), ""},
        {"LunarMonthName INT_MAX", LunarMonthName(INT_MAX), ""},
        {"Constellation month 13", ConstellationName(2009, 13, 1), ""},
        {"Constellation day INT_MIN", ConstellationName(2009, 1, INT_MIN), "魔羯座"},
        {"EraName INT_MIN", EraName(INT_MIN), ""},
        {"EraName INT_MAX", EraName(INT_MAX), "建国2147481699年"},
    };
    for (const Row& r : rows) EXPECT_EQ(r.actual, r.expected) << r.what;
    // Both ends of the range: the day counter (40 on 1900-01-31) by <chrono>.
    for (const oracle::Ymd d : {oracle::Ymd{9999, 12, 31}, oracle::Ymd{1, 1, 1}})
        EXPECT_EQ(GanZhiText(d.y, d.m, d.d, 3),
            CycleName(static_cast<int>(oracle::DaysOf(d) - oracle::DaysOf({1900, 1, 31}) + 40)))
            << d.y;
}

}  // namespace
}  // namespace qov
