// Fixed Chinese calendar words (GBK bytes) and the rules that compose them.
//
// Every function here is defined for every value of every argument; an
// argument outside the stated range gives empty text (FloorMod: 0).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qov {

inline constexpr std::array<std::string_view, 10> HeavenlyStems = {
    "甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
inline constexpr std::array<std::string_view, 12> EarthlyBranches = {
    "子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
inline constexpr std::array<std::string_view, 12> ZodiacAnimals = {
    "鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};
// Calendar order from 小寒; even indexes are the sectional terms (节).
inline constexpr std::array<std::string_view, 24> SolarTermNames = {"小寒", "大寒", "立春", "雨水",
    "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至", "小暑", "大暑", "立秋", "处暑",
    "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};
inline constexpr std::array<std::string_view, 11> DayDigits = {
    "日", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
// Entry 4 stands for a tens digit of 4, which no lunar day has.
inline constexpr std::array<std::string_view, 5> DayTens = {"初", "十", "廿", "卅", "□"};
// Indexed by lunar month 1..12; entry 0 repeats 正.
inline constexpr std::array<std::string_view, 13> LunarMonthNames = {
    "正", "正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二"};
inline constexpr std::array<std::string_view, 7> WeekdayNames = {
    "星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};

// Floored modulo, m > 0: 0..m-1 for negative n too (counters run negative
// before 1900); 0 for m <= 0.
constexpr int FloorMod(int n, int m) noexcept
{
    if (m <= 0) return 0;
    const int r = n % m;  // (-m, m)
    return r < 0 ? r + m : r;
}

// Stem n mod 10 and branch n mod 12 (floored, so negative counters continue
// the cycle backwards): 0 -> 甲子, 40 -> 甲辰, -1 -> 癸亥.
std::string CycleName(int n);
// Lunar day 1..30: 初一 .. 初十, 十一 .. 二十, 廿一 .. 三十.
std::string LunarDayName(int day);
// Lunar month 1..12 without 月: 正, 二 .. 十二.
std::string LunarMonthName(int month);
// 星期日 .. 星期六 of a Gregorian date; "" for a date DayOfWeek does not
// count (IsCountedDate in gregorian.h).
std::string WeekdayName(int year, int month, int day);

}  // namespace qov
