// The three festival tables, the compile-time index over them and the date
// rules behind Easter and the weekday festivals. GBK text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "festivals.h"

namespace qov {

// One row of a festival table and the kind its names belong to: the switch
// that hides them. A row mixing kinds is split into rows of one kind each,
// with the same key, in the order the names are listed.
struct FestivalRow {
    std::string_view text;
    FestivalKind kind;
};

// Festivals on a fixed Gregorian date. Row: "MMDD" key, one space, names
// separated by single spaces; the empty row ends the table. Rows of one key
// follow each other.
//
// Kinds: China for the festivals and memorial days kept in China, also where
// they began abroad and are now national holidays (妇女节, 劳动节, 国际儿童节);
// World for the days of the United Nations and other international bodies
// (世界…日, 国际…日) and for days kept abroad (巴勒斯坦国土日,
// 十月社会主义革命纪念日); West for the festivals of Western custom
// (情人节, 愚人节, 万圣节前夜, 平安夜, 圣诞节, and the Japanese 白色情人节 that
// follows 情人节).
inline constexpr std::array<FestivalRow, 120> GregorianFestivals = {{
    {"0101 元旦节", FestivalKind::China},
    {"0202 世界湿地日", FestivalKind::World},
    {"0210 世界豆类日", FestivalKind::World},
    {"0214 情人节", FestivalKind::West},
    {"0301 国际民防日 零歧视日", FestivalKind::World},
    {"0303 全国爱耳日", FestivalKind::China},
    {"0303 世界野生动植物日", FestivalKind::World},
    {"0305 周恩来诞辰纪念日 学雷锋纪念日", FestivalKind::China},  // Zhou Enlai, born 5 March 1898
    {"0308 妇女节", FestivalKind::China},
    {"0312 植树节 孙中山逝世纪念日", FestivalKind::China},  // Sun Yat-sen died 12 March 1925
    {"0314 白色情人节", FestivalKind::West},
    {"0314 国际数学日", FestivalKind::World},
    {"0315 国际消费者权益日", FestivalKind::World},
    {"0317 中国国医节", FestivalKind::China},
    {"0317 国际航海日", FestivalKind::World},
    {"0321 世界森林日 消除种族歧视国际日 世界儿歌日", FestivalKind::World},
    {"0322 世界水日", FestivalKind::World},
    {"0323 世界气象日", FestivalKind::World},
    {"0324 世界防治结核病日", FestivalKind::World},
    {"0325 全国中小学生安全教育日", FestivalKind::China},
    {"0330 巴勒斯坦国土日", FestivalKind::World},
    {"0401 愚人节", FestivalKind::West},
    {"0401 全国爱国卫生运动月(四月) 税收宣传月(四月)", FestivalKind::China},
    {"0407 世界卫生日", FestivalKind::World},
    {"0422 世界地球日", FestivalKind::World},
    {"0423 世界读书日", FestivalKind::World},
    {"0424 中国航天日", FestivalKind::China},
    {"0424 亚非新闻工作者日", FestivalKind::World},
    {"0501 劳动节", FestivalKind::China},
    {"0502 劳动节假日", FestivalKind::China},
    {"0503 劳动节假日", FestivalKind::China},
    {"0504 青年节", FestivalKind::China},
    {"0505 世界手卫生日", FestivalKind::World},
    {"0508 世界红十字日", FestivalKind::World},
    {"0512 国际护士节", FestivalKind::World},
    {"0512 全国防灾减灾日", FestivalKind::China},
    {"0515 国际家庭日", FestivalKind::World},
    {"0517 世界电信日", FestivalKind::World},
    {"0518 国际博物馆日", FestivalKind::World},
    {"0520 全国学生营养日", FestivalKind::China},
    {"0520 世界计量日", FestivalKind::World},
    {"0523 世界龟鳖日", FestivalKind::World},
    {"0531 世界无烟日", FestivalKind::World},
    {"0601 国际儿童节", FestivalKind::China},
    {"0605 世界环境日", FestivalKind::World},
    {"0606 全国爱眼日", FestivalKind::China},
    {"0617 世界防治荒漠化和干旱日", FestivalKind::World},
    {"0623 国际奥林匹克日", FestivalKind::World},
    {"0625 全国土地日", FestivalKind::China},
    {"0626 国际禁毒日", FestivalKind::World},
    {"0701 香港回归纪念日 中共诞辰", FestivalKind::China},
    {"0701 世界建筑日", FestivalKind::World},
    {"0702 国际体育记者日", FestivalKind::World},
    {"0707 七七事变纪念日", FestivalKind::China},  // Marco Polo Bridge, 7 July 1937
    {"0711 世界人口日", FestivalKind::World},
    {"0711 中国航海日", FestivalKind::China},
    {"0730 国际友谊日", FestivalKind::World},
    {"0801 建军节", FestivalKind::China},
    {"0808 中国男子节(爸爸节)", FestivalKind::China},
    {"0815 日本无条件投降日", FestivalKind::China},  // announced 15 August 1945
    {"0908 国际扫盲日 国际新闻工作者日", FestivalKind::World},
    {"0909 毛泽东逝世纪念日", FestivalKind::China},  // Mao Zedong died 9 September 1976
    {"0910 中国教师节", FestivalKind::China},
    {"0914 世界清洁地球日", FestivalKind::World},
    {"0916 国际臭氧层保护日", FestivalKind::World},
    {"0918 九·一八事变纪念日", FestivalKind::China},
    {"0920 全国爱牙日", FestivalKind::China},
    {"0927 世界旅游日", FestivalKind::World},
    {"0928 孔子诞辰", FestivalKind::China},  // Confucius, traditionally 28 September 551 BC
    {"1001 国庆节", FestivalKind::China},
    {"1001 世界音乐日 国际老人节", FestivalKind::World},
    {"1002 国庆节假日", FestivalKind::China},
    {"1002 国际和平与民主自由斗争日", FestivalKind::World},
    {"1003 国庆节假日", FestivalKind::China},
    {"1004 世界动物日", FestivalKind::World},
    {"1006 世界脑瘫日", FestivalKind::World},
    {"1008 全国高血压日", FestivalKind::China},
    {"1008 世界视觉日", FestivalKind::World},
    {"1009 世界邮政日 万国邮联日", FestivalKind::World},
    {"1010 辛亥革命纪念日", FestivalKind::China},
    {"1010 世界精神卫生日", FestivalKind::World},
    {"1013 世界保健日 国际教师节", FestivalKind::World},
    {"1014 世界标准日", FestivalKind::World},
    {"1015 国际盲人节(白手杖节)", FestivalKind::World},
    {"1016 世界粮食日", FestivalKind::World},
    {"1017 国际消除贫困日", FestivalKind::World},
    {"1017 全国扶贫日", FestivalKind::China},
    {"1022 国际口吃日", FestivalKind::World},
    {"1024 联合国日 世界发展信息日", FestivalKind::World},
    {"1031 世界勤俭日", FestivalKind::World},
    {"1031 万圣节前夜", FestivalKind::West},
    {"1107 十月社会主义革命纪念日", FestivalKind::World},
    {"1108 中国记者节", FestivalKind::China},
    {"1109 全国消防日", FestivalKind::China},
    {"1110 世界青年节 世界科学日", FestivalKind::World},
    {"1111 国际科学与和平周(本日所属的一周)", FestivalKind::World},
    {"1112 孙中山诞辰纪念日", FestivalKind::China},  // Sun Yat-sen, born 12 November 1866
    {"1114 世界糖尿病日", FestivalKind::World},
    {"1117 国际大学生节 世界学生节", FestivalKind::World},
    {"1120 彝族年", FestivalKind::China},
    {"1121 彝族年", FestivalKind::China},
    {"1121 世界问候日 世界电视日", FestivalKind::World},
    {"1122 彝族年", FestivalKind::China},
    {"1129 声援巴勒斯坦人民国际日", FestivalKind::World},
    {"1201 世界艾滋病日", FestivalKind::World},
    {"1203 国际残疾人日", FestivalKind::World},
    {"1205 国际志愿人员日", FestivalKind::World},
    {"1208 国际儿童电视日", FestivalKind::World},
    {"1209 一二·九运动纪念日", FestivalKind::China},
    {"1209 国际反腐败日", FestivalKind::World},
    {"1210 世界人权日", FestivalKind::World},
    {"1212 西安事变纪念日", FestivalKind::China},  // 12 December 1936
    {"1213 南京大屠杀(1937年)纪念日！紧记血泪史！", FestivalKind::China},
    {"1220 澳门回归纪念日", FestivalKind::China},
    {"1220 国际人类团结日", FestivalKind::World},
    {"1221 国际篮球日", FestivalKind::World},
    {"1224 平安夜", FestivalKind::West},
    {"1225 圣诞节", FestivalKind::West},
    {"1226 毛泽东诞辰纪念日", FestivalKind::China},  // Mao Zedong, born 26 December 1893
    {"", {}},
}};

// Festivals on a fixed lunar date, "MMDD" = lunar month and day. Row 0100
// (除夕) matches no lunar date; the eve is found from the month length.
inline constexpr std::array<FestivalRow, 13> LunarFestivals = {{
    {"0101 春节", FestivalKind::Folk},
    {"0102 初二", FestivalKind::Folk},
    {"0103 初三", FestivalKind::Folk},
    {"0115 元宵节", FestivalKind::Folk},
    {"0505 端午节", FestivalKind::Folk},
    {"0707 七夕情人节", FestivalKind::Folk},
    {"0715 中元节", FestivalKind::Folk},
    {"0815 中秋节", FestivalKind::Folk},
    {"0909 重阳节", FestivalKind::Folk},
    {"1208 腊八节", FestivalKind::Folk},
    {"1223 小年", FestivalKind::Folk},
    {"0100 除夕", FestivalKind::Folk},
    {"", {}},
}};

// Festivals on a weekday of a week of a Gregorian month: "MMWD" = month, week
// W (0..5, the number of Sundays from the 1st up to the date) and weekday D
// (0 = Sunday).
inline constexpr std::array<FestivalRow, 12> WeekdayFestivals = {{
    {"0150 世界麻风日", FestivalKind::World},  // fifth Sunday, and the fourth through the fallback
    {"0520 国际母亲节", FestivalKind::West},   // second Sunday of May
    {"0530 全国助残日", FestivalKind::China},  // third Sunday of May
    {"0630 父亲节", FestivalKind::West},       // third Sunday of June
    {"0730 被奴役国家周", FestivalKind::World},  // third Sunday of July
    {"0932 国际和平日", FestivalKind::World},
    {"0940 国际聋人节 世界儿童日", FestivalKind::World},  // fourth Sunday of September
    {"0950 世界海事日", FestivalKind::World},
    {"1011 国际住房日", FestivalKind::World},
    {"1013 国际减轻自然灾害日(减灾日)", FestivalKind::World},
    {"1144 感恩节", FestivalKind::West},
    {"", {}},
}};

namespace detail {

// A four-digit key "HHLL" as its number 100 * HH + LL.
inline constexpr int KeyIndexHigh = 14;  // HH = 0..13: month 0 and 13 included
inline constexpr int KeyIndexLow = 100;  // LL = 0..99
inline constexpr int NoRow = -1;

// Row number for every key with HH in 0..13 and LL in 0..99; NoRow when none.
using KeyIndex = std::array<std::int8_t, KeyIndexHigh * KeyIndexLow>;

constexpr bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

constexpr std::array<char, 4> FormatKey(int high, int low) noexcept
{
    return {static_cast<char>('0' + high / 10), static_cast<char>('0' + high % 10),
        static_cast<char>('0' + low / 10), static_cast<char>('0' + low % 10)};
}

// The plain lookup: the first row that holds the key anywhere, NoRow when the
// empty end row comes first. high and low 0..99.
template <std::size_t N>
constexpr int ScanRow(const std::array<FestivalRow, N>& table, int high, int low) noexcept
{
    const std::array<char, 4> key = FormatKey(high, low);
    const std::string_view keyView(key.data(), key.size());
    for (std::size_t i = 0; i < N && !table[i].text.empty(); ++i)
        if (table[i].text.find(keyView) != std::string_view::npos) return static_cast<int>(i);
    return NoRow;
}

// The index from the leading keys alone; the first row with a key keeps it.
template <std::size_t N>
constexpr KeyIndex BuildKeyIndex(const std::array<FestivalRow, N>& table) noexcept
{
    static_assert(N <= 127, "row numbers are stored as int8_t");
    KeyIndex index{};
    for (auto& slot : index) slot = NoRow;
    for (std::size_t i = 0; i < N && !table[i].text.empty(); ++i) {
        const std::string_view row = table[i].text;
        if (row.size() < 4 || !IsDigit(row[0]) || !IsDigit(row[1]) || !IsDigit(row[2])
            || !IsDigit(row[3]))
            continue;
        const int high = (row[0] - '0') * 10 + (row[1] - '0');
        const int low = (row[2] - '0') * 10 + (row[3] - '0');
        if (high >= KeyIndexHigh) continue;
        auto& slot = index[static_cast<std::size_t>(high * KeyIndexLow + low)];
        if (slot == NoRow) slot = static_cast<std::int8_t>(i);
    }
    return index;
}

// True when the index answers every key "HHLL" with HH in [highBegin,
// highEnd) and LL in [0, lowEnd) as the plain scan does.
template <std::size_t N>
constexpr bool IndexMatchesScan(const std::array<FestivalRow, N>& table, const KeyIndex& index,
    int highBegin, int highEnd, int lowEnd) noexcept
{
    for (int high = highBegin; high < highEnd; ++high)
        for (int low = 0; low < lowEnd; ++low)
            if (index[static_cast<std::size_t>(high * KeyIndexLow + low)]
                != ScanRow(table, high, low))
                return false;
    return true;
}

// Row number for key (high, low); NoRow outside the index.
constexpr int IndexedRow(const KeyIndex& index, int high, int low) noexcept
{
    if (high < 0 || high >= KeyIndexHigh || low < 0 || low >= KeyIndexLow) return NoRow;
    return index[static_cast<std::size_t>(high * KeyIndexLow + low)];
}

inline constexpr KeyIndex GregorianIndex = BuildKeyIndex(GregorianFestivals);
inline constexpr KeyIndex LunarIndex = BuildKeyIndex(LunarFestivals);
inline constexpr KeyIndex WeekdayIndex = BuildKeyIndex(WeekdayFestivals);

// The names part of a row: everything after "MMDD ".
constexpr std::string_view RowNames(std::string_view row) noexcept { return row.substr(5); }

// Week W and weekday D of a date (week rule): t counts the days from the
// Sunday that starts week 0, W = t / 7, D = t % 7. firstWeekday 0..6 is the
// weekday of the 1st; day 1..31 gives W 0..5.
struct WeekKey {
    int week;
    int weekday;
};

constexpr WeekKey WeekOfMonth(int firstWeekday, int day) noexcept
{
    const int t = firstWeekday != 0 ? firstWeekday + day - 1 : day + 6;
    return {t / 7, t % 7};
}

// Easter Sunday of the Gregorian calendar by the anonymous algorithm
// (Meeus, Astronomical Algorithms, ch. 8; Jones 1876, Butcher 1876).
// year >= 1; the result lies from 22 March to 25 April.
struct MonthDay {
    int month;
    int day;
};

constexpr MonthDay EasterSunday(int year) noexcept
{
    const int a = year % 19;  // place in the Metonic cycle
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;  // full moon h days after 21 March: [0, 29]
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;  // Sunday l + 1 days after it: [0, 6]
    const int m = (a + 11 * h + 22 * l) / 451;       // 1 moves two late cases a week back
    const int n = h + l - 7 * m + 114;               // Easter is 22 March + n - 114
    return {n / 31, n % 31 + 1};
}

static_assert(EasterSunday(2009).month == 4 && EasterSunday(2009).day == 12);
static_assert(EasterSunday(2010).month == 4 && EasterSunday(2010).day == 4);
static_assert(EasterSunday(2001).month == 4 && EasterSunday(2001).day == 15);
static_assert(EasterSunday(2011).month == 4 && EasterSunday(2011).day == 24);
static_assert(EasterSunday(2100).month == 3 && EasterSunday(2100).day == 28);

}  // namespace detail
}  // namespace qov
