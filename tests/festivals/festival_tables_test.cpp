// The three festival tables: shape of every row, key order, the rows whose
// names are fixed, and the index-based lookups against a plain scan.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "festival_tables.h"
#include "festivals.h"
#include "lunar.h"

namespace qov {
namespace {

using Table = std::span<const std::string_view>;

std::vector<std::string> SplitKeys(const char* keys)
{
    std::istringstream in(keys);
    std::vector<std::string> out;
    for (std::string key; in >> key;) out.push_back(key);
    return out;
}

// GBK: a byte >= 0x81 leads a pair whose second byte is 0x40..0xFE but not 0x7F.
bool IsWellFormedGbk(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            if (lead < 0x20 || lead == 0x7F) return false;
            continue;
        }
        if (lead == 0x80 || lead == 0xFF || i + 1 == text.size()) return false;
        const auto trail = static_cast<unsigned char>(text[++i]);
        if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
    }
    return true;
}

// The plain lookup: first row containing the key anywhere, "" at the end row.
std::string ScanNames(Table table, int high, int low)
{
    char key[16];
    std::snprintf(key, sizeof key, "%02d%02d", high, low);
    for (const std::string_view row : table) {
        if (row.empty()) break;
        if (row.find(key) != std::string_view::npos) return std::string(row.substr(5));
    }
    return {};
}

struct TableCase {
    const char* name;
    Table table;
    const char* listedKeys;           // every key in table order
    std::set<std::string> digitKeys;  // rows allowed ASCII digits among their names
};

class FestivalTableTest : public testing::TestWithParam<TableCase> {};

TEST_P(FestivalTableTest, KeysAreTheListedOnesInOrder)
{
    const TableCase& c = GetParam();
    const std::vector<std::string> listed = SplitKeys(c.listedKeys);
    ASSERT_EQ(c.table.size(), listed.size() + 1) << "rows plus the end marker";
    EXPECT_TRUE(c.table.back().empty());
    std::set<std::string> seen;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const std::string key(c.table[i].substr(0, 4));
        EXPECT_EQ(key, listed[i]) << "row " << i;
        EXPECT_TRUE(seen.insert(key).second) << "key twice: " << key;
    }
}

TEST_P(FestivalTableTest, RowsAreKeySpaceNames)
{
    const TableCase& c = GetParam();
    for (std::size_t i = 0; i + 1 < c.table.size(); ++i) {
        const std::string_view row = c.table[i];
        SCOPED_TRACE(std::string(row.substr(0, 4)));
        ASSERT_GE(row.size(), 6u);
        for (std::size_t j = 0; j < 4; ++j) EXPECT_TRUE(row[j] >= '0' && row[j] <= '9');
        EXPECT_EQ(row[4], ' ');
        const std::string_view names = row.substr(5);
        EXPECT_NE(names.front(), ' ');
        EXPECT_NE(names.back(), ' ');
        EXPECT_EQ(names.find("  "), std::string_view::npos);
        EXPECT_TRUE(IsWellFormedGbk(names));
        const bool hasDigit = names.find_first_of("0123456789") != std::string_view::npos;
        EXPECT_EQ(hasDigit, c.digitKeys.count(std::string(row.substr(0, 4))) == 1);
    }
}

const TableCase TableCases[] = {
    {"Gregorian", GregorianFestivals,
     "0101 0202 0210 0214 0301 0303 0305 0308 0312 0314 0315 0317 0321 0322 0323 0324 0325 "
     "0330 0401 0407 0422 0423 0424 0501 0502 0503 0504 0505 0508 0512 0515 0517 0518 0520 "
     "0523 0531 0601 0605 0606 0617 0623 0625 0626 0701 0702 0707 0711 0730 0801 0808 0815 "
     "0908 0909 0910 0914 0916 0918 0920 0927 0928 1001 1002 1003 1004 1006 1008 1009 1010 "
     "1013 1014 1015 1016 1017 1022 1024 1031 1107 1108 1109 1110 1111 1112 1114 1117 1120 "
     "1121 1122 1129 1201 1203 1205 1208 1209 1210 1212 1213 1220 1221 1224 1225 1226",
     {"1213"}},
    {"Lunar", LunarFestivals, "0101 0102 0103 0115 0505 0707 0715 0815 0909 1208 1223 0100", {}},
    {"Weekday", WeekdayFestivals, "0150 0520 0530 0630 0730 0932 0940 0950 1011 1013 1144", {}},
};

INSTANTIATE_TEST_SUITE_P(Tables, FestivalTableTest, testing::ValuesIn(TableCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(GregorianFestivalTable, LongestRowIs0401With53Bytes)
{
    std::size_t longest = 0;
    std::string_view longestRow;
    for (const std::string_view row : GregorianFestivals) {
        if (row.size() > longest) {
            longest = row.size();
            longestRow = row;
        }
    }
    EXPECT_EQ(longestRow.substr(0, 4), "0401");
    EXPECT_EQ(longest, 53u);
    int atLongest = 0;
    for (const std::string_view row : GregorianFestivals) atLongest += row.size() == 53 ? 1 : 0;
    EXPECT_EQ(atLongest, 1);
}

struct FixedRow {
    int month;
    int day;
    const char* names;
};

// Rows whose names are fixed for the calendar, looked up in several years
// (the year is ignored).
const FixedRow GregorianFixedRows[] = {
    {1, 1, "元旦节"},
    {2, 14, "情人节"},
    {3, 8, "妇女节"},
    {3, 17, "中国国医节 国际航海日"},
    {3, 21, "世界森林日 消除种族歧视国际日 世界儿歌日"},
    {4, 1, "愚人节 全国爱国卫生运动月(四月) 税收宣传月(四月)"},
    {5, 1, "劳动节"},
    {5, 2, "劳动节假日"},
    {5, 3, "劳动节假日"},
    {5, 4, "青年节"},
    {6, 1, "国际儿童节"},
    {7, 1, "香港回归纪念日 中共诞辰 世界建筑日"},
    {8, 1, "建军节"},
    {8, 8, "中国男子节(爸爸节)"},
    {9, 8, "国际扫盲日 国际新闻工作者日"},
    {9, 10, "中国教师节"},
    {9, 18, "九·一八事变纪念日"},
    {10, 1, "国庆节 世界音乐日 国际老人节"},
    {10, 2, "国庆节假日 国际和平与民主自由斗争日"},
    {10, 3, "国庆节假日"},
    {10, 8, "全国高血压日 世界视觉日"},
    {10, 9, "世界邮政日 万国邮联日"},
    {10, 10, "辛亥革命纪念日 世界精神卫生日"},
    {10, 13, "世界保健日 国际教师节"},
    {10, 15, "国际盲人节(白手杖节)"},
    {11, 11, "国际科学与和平周(本日所属的一周)"},
    {11, 17, "国际大学生节 世界学生节"},
    {11, 20, "彝族年"},
    {11, 21, "彝族年 世界问候日 世界电视日"},
    {11, 22, "彝族年"},
    {12, 13, "南京大屠杀(1937年)纪念日！紧记血泪史！"},
    {12, 24, "平安夜"},
    {12, 25, "圣诞节"},
};

TEST(GregorianFestivalTable, FixedRowsInEveryYear)
{
    for (const FixedRow& r : GregorianFixedRows) {
        for (const int year : {1900, 2009, 2049}) {
            EXPECT_EQ(FindGregorianFestival(year, r.month, r.day), r.names)
                << year << "-" << r.month << "-" << r.day;
        }
    }
}

const FixedRow LunarFixedRows[] = {
    {1, 1, "春节"},       {1, 2, "初二"},       {1, 3, "初三"},   {1, 15, "元宵节"},
    {5, 5, "端午节"},     {7, 7, "七夕情人节"}, {7, 15, "中元节"}, {8, 15, "中秋节"},
    {9, 9, "重阳节"},     {12, 8, "腊八节"},    {12, 23, "小年"},
};

TEST(LunarFestivalTable, FixedRowsInEveryYear)
{
    for (const FixedRow& r : LunarFixedRows)
        for (const int year : {1900, 2009, 2050})
            EXPECT_EQ(FindLunarFestival(year, r.month, r.day), r.names) << r.month << "-" << r.day;
}

// Every lookup key of a date and the invalid months and days around them
// (month 0 and 13, day 0 and 32) answer as the plain scan of the table.
TEST(FestivalIndex, GregorianLookupEqualsPlainScan)
{
    for (int month = 0; month <= 13; ++month)
        for (int day = 0; day <= 32; ++day)
            EXPECT_EQ(FindGregorianFestival(2009, month, day),
                      ScanNames(GregorianFestivals, month, day))
                << month << "-" << day;
}

TEST(FestivalIndex, LunarLookupEqualsPlainScan)
{
    for (const int year : {1900, 2009, 2050}) {
        const int eve = LunarMonthDays(year, 12);
        for (int month = 0; month <= 13; ++month) {
            for (int day = 0; day <= 32; ++day) {
                if (month == 12 && day == eve) continue;  // 除夕 by month length
                EXPECT_EQ(FindLunarFestival(year, month, day), ScanNames(LunarFestivals, month, day))
                    << year << ": " << month << "-" << day;
            }
        }
    }
}

struct OutOfRangeCase {
    const char* name;
    int month;
    int day;
};

// Keys outside months 0..13 and days 0..99 are no dates; the plain scan would
// find "1937" inside row 1213 for month 19, day 37.
const OutOfRangeCase OutOfRangeCases[] = {
    {"Month19Day37", 19, 37}, {"NegativeMonth", -1, 1}, {"NegativeDay", 1, -1},
    {"Month100", 100, 1},     {"Day101", 1, 101},       {"Month13Day1", 13, 1},
};

class OutOfRangeKeyTest : public testing::TestWithParam<OutOfRangeCase> {};

TEST_P(OutOfRangeKeyTest, GivesNothing)
{
    const OutOfRangeCase& c = GetParam();
    EXPECT_EQ(FindGregorianFestival(2009, c.month, c.day), "");
    EXPECT_EQ(FindLunarFestival(2009, c.month, c.day), "");
    EXPECT_EQ(FindWeekdayFestival(2009, c.month, c.day), "");
}

INSTANTIATE_TEST_SUITE_P(Keys, OutOfRangeKeyTest, testing::ValuesIn(OutOfRangeCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace qov
