// What the calendar knows of one day, item by item, each with its kind: the
// one per-day source of the calendar export. Texts are UTF-8 (the engine's
// GBK names converted), so that they leave the program as they are.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gregorian.h"
#include "model/holidays.h"
#include "model/mydays.h"

namespace qov {

enum class ItemKind : std::uint8_t {
    Term,               // 节气
    DayOff,             // 休/班
    LunarFestival,      // 传统节日: the lunar festivals and 除夕
    GregorianFestival,  // 公历节日: the festival rows of FestivalKind::China
    InternationalDay,   // 国际纪念日: FestivalKind::World
    WesternFestival,    // 西方节日: FestivalKind::West, with 黑色星期五 and 复活节
    MyDay,              // 纪念日: the user's own days (mydays.tsv), year by year
    LunarDate,          // the day's lunar date, "农历十月廿九"
};
inline constexpr std::size_t ItemKindCount = 8;

// A set of kinds: bit k for ItemKind k.
using ItemKinds = std::uint32_t;
constexpr ItemKinds KindBit(ItemKind kind) noexcept { return 1u << static_cast<unsigned>(kind); }

struct KindInfo {
    ItemKind kind;
    std::string_view key;     // English, for the command line: "terms"
    std::u8string_view name;  // the kind's Chinese name, also its category: "节气"
    bool byDefault;           // exported when no kinds are named
};

// Every kind, in the order of ItemKind.
inline constexpr std::array<KindInfo, ItemKindCount> ItemKindInfo = {{
    {ItemKind::Term, "terms", u8"节气", true},
    {ItemKind::DayOff, "holidays", u8"休/班", true},
    {ItemKind::LunarFestival, "lunar-festivals", u8"传统节日", true},
    {ItemKind::GregorianFestival, "gregorian-festivals", u8"公历节日", true},
    {ItemKind::InternationalDay, "international-days", u8"国际纪念日", false},
    {ItemKind::WesternFestival, "western-festivals", u8"西方节日", false},
    {ItemKind::MyDay, "my-days", u8"纪念日", false},
    {ItemKind::LunarDate, "lunar-dates", u8"农历日期", false},
}};

constexpr ItemKinds DefaultKinds() noexcept
{
    ItemKinds kinds = 0;
    for (const KindInfo& info : ItemKindInfo)
        if (info.byDefault) kinds |= KindBit(info.kind);
    return kinds;
}

struct DayItem {
    ItemKind kind;
    std::string name;  // what the item is called: "国庆节", "立冬", "农历十月廿九", "外婆生日"
    std::string summary;  // as the window shows it: "国庆节 休", "立冬", "外婆生日 第73个"
    std::string description;  // a 节气's instant, "" for the others
};

// Appends the items of the kinds in `kinds` that fall on `date` to `items`,
// in the order of ItemKind; holidays as `holidays` gives them, the user's
// days as `myDays` places them (by the yearly rules the window follows). Of
// the user's days with one name on one date only the first is an item: the
// name makes the item's identity.
void AppendDayItems(const SolarDate& date, ItemKinds kinds, const HolidayTable& holidays,
    const MyDayList& myDays, std::vector<DayItem>& items);

// The UTF-8 text of a GBK engine or festival text; a character outside the
// engine's own characters becomes U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

std::string_view AsChars(std::u8string_view text) noexcept;

}  // namespace qov
