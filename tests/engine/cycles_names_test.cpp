#include <gtest/gtest.h>

#include "cycles.h"
#include "gregorian.h"
#include "names.h"

namespace qov {
namespace {

TEST(GanZhiText, YearMonthDay)
{
    struct Row {
        int y, m, d, kind;
        const char* text;
    };
    const Row rows[] = {
        // The year name changes on 立春 (3 February 2009, 4 February 1900).
        {2009, 2, 2, 1, "戊子"},
        {2009, 2, 3, 1, "己丑"},
        {1900, 1, 1, 1, "己亥"},
        {1900, 2, 4, 1, "庚子"},
        // Month names change on each sectional term.
        {2009, 1, 4, 2, "甲子"},
        {2009, 1, 5, 2, "乙丑"},
        {2009, 2, 3, 2, "丙寅"},
        {1900, 1, 1, 2, "丙子"},
        {1900, 1, 31, 3, "甲辰"},
        {1900, 1, 1, 3, "甲戌"},
        {2009, 1, 1, 3, "丙午"},
        {2009, 1, 1, 0, ""},
        {2009, 1, 1, 4, ""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(GanZhiText(r.y, r.m, r.d, r.kind), r.text) << r.y << "-" << r.m << "-" << r.d;
}

TEST(GanZhiText, DayNamesContinueBefore1900)
{
    // 31 December 1899 is one day before 甲戌 (1 January 1900 is counter 10).
    EXPECT_EQ(GanZhiText(1899, 12, 31, 3), "癸酉");
    EXPECT_EQ(GanZhiText(1899, 12, 1, 3), "癸卯");
    EXPECT_EQ(CycleName(-1), "癸亥");
    EXPECT_EQ(CycleName(-60), "甲子");
}

TEST(CycleName, Counters)
{
    struct Row {
        int n;
        const char* text;
    };
    const Row rows[] = {{0, "甲子"}, {40, "甲辰"}, {59, "癸亥"}, {60, "甲子"}, {145, "己丑"}};
    for (const Row& r : rows) EXPECT_EQ(CycleName(r.n), r.text) << r.n;
}

TEST(ZodiacName, Years)
{
    struct Row {
        int year;
        const char* animal;
    };
    const Row rows[] = {{2008, "鼠"}, {2009, "牛"}, {1900, "鼠"}, {1899, "猪"}, {2050, "马"}};
    for (const Row& r : rows) EXPECT_EQ(ZodiacName(r.year), r.animal) << r.year;
}

TEST(ConstellationName, Thresholds)
{
    struct Row {
        int m, d;
        const char* name;
    };
    const Row rows[] = {{1, 1, "魔羯座"}, {1, 20, "魔羯座"}, {1, 21, "水瓶座"}, {2, 19, "水瓶座"},
        {2, 20, "双鱼座"}, {8, 23, "狮子座"}, {8, 24, "处女座"}, {10, 23, "天秤座"},
        {10, 24, "天蝎座"}, {12, 1, "射手座"}, {12, 21, "射手座"}, {12, 22, "魔羯座"}};
    for (const Row& r : rows)
        EXPECT_EQ(ConstellationName(2009, r.m, r.d), r.name) << r.m << "-" << r.d;
}

TEST(EraName, Labels)
{
    struct Row {
        int year;
        const char* text;
    };
    const Row rows[] = {{1874, ""}, {1875, "光绪元年"}, {1876, "光绪2年"}, {1908, "光绪34年"},
        {1909, "宣统元年"}, {1911, "宣统3年"}, {1912, "民国元年"}, {1913, "民国2年"},
        {1948, "民国37年"}, {1949, "建国元年"}, {1950, "建国2年"}, {2009, "建国61年"},
        {2049, "建国101年"}};
    for (const Row& r : rows) EXPECT_EQ(EraName(r.year), r.text) << r.year;
}

TEST(LunarDayName, AllForms)
{
    struct Row {
        int day;
        const char* text;
    };
    const Row rows[] = {{1, "初一"}, {9, "初九"}, {10, "初十"}, {11, "十一"}, {19, "十九"},
        {20, "二十"}, {21, "廿一"}, {29, "廿九"}, {30, "三十"}, {0, ""}, {31, ""}};
    for (const Row& r : rows) EXPECT_EQ(LunarDayName(r.day), r.text) << r.day;
}

TEST(LunarMonthName, Names)
{
    EXPECT_EQ(LunarMonthName(1), "正");
    EXPECT_EQ(LunarMonthName(11), "十一");
    EXPECT_EQ(LunarMonthName(12), "十二");
    EXPECT_EQ(LunarMonthName(13), "");
    EXPECT_EQ(WeekdayName(2009, 1, 1), "星期四");
    EXPECT_EQ(WeekdayName(2009, 2, 1), "星期日");
}

// The GBK bytes the compiler produced: 立春 is C1 A2 B4 BA.
TEST(Names, AreGbkBytes)
{
    const std::string_view s = SolarTermNames[2];
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(s[0]), 0xC1);
    EXPECT_EQ(static_cast<unsigned char>(s[1]), 0xA2);
    EXPECT_EQ(static_cast<unsigned char>(s[2]), 0xB4);
    EXPECT_EQ(static_cast<unsigned char>(s[3]), 0xBA);
}

}  // namespace
}  // namespace qov
