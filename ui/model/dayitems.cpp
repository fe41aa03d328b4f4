#include "model/dayitems.h"

#include <algorithm>
#include <cstdio>

#include "festivals.h"
#include "lunar.h"
#include "model/daytexts.h"
#include "model/gbk_utf8_table.h"
#include "names.h"
#include "solarterm.h"

namespace qov {
namespace {

void AppendUtf8(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

static_assert(std::is_sorted(generated::GbkToUnicode.begin(), generated::GbkToUnicode.end(),
    [](const generated::GbkChar& a, const generated::GbkChar& b) { return a.gbk < b.gbk; }));

char32_t UnicodeOf(std::uint16_t gbk) noexcept
{
    const auto& table = generated::GbkToUnicode;
    const auto* it = std::lower_bound(table.begin(), table.end(), gbk,
        [](const generated::GbkChar& entry, std::uint16_t code) { return entry.gbk < code; });
    return it != table.end() && it->gbk == gbk ? it->unicode : U'\uFFFD';
}

void Add(std::vector<DayItem>& items, ItemKind kind, std::string name, std::string summary = {},
    std::string description = {})
{
    if (summary.empty()) summary = name;
    items.push_back({kind, std::move(name), std::move(summary), std::move(description)});
}

// Each space-separated name of a GBK festival list as an item of `kind`.
void AddNames(std::vector<DayItem>& items, ItemKind kind, std::string_view list)
{
    while (!list.empty()) {
        const std::size_t end = std::min(list.find(' '), list.size());
        if (end > 0) Add(items, kind, GbkToUtf8(list.substr(0, end)));
        list.remove_prefix(std::min(end + 1, list.size()));
    }
}

// "交节时刻 2026-11-07 18:52 北京时间": China Standard Time, cut to the minute.
std::string TermInstant(const SolarDate& date, std::string_view termGbk)
{
    for (std::size_t k = 0; k < SolarTermNames.size(); ++k) {
        if (SolarTermNames[k] != termGbk) continue;
        const SolarTermTime t = SolarTermDate(date.year, static_cast<int>(k));
        char text[64];
        const int n = std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", t.year, t.month,
            t.day, t.hour, t.minute);
        return std::string(AsChars(u8"交节时刻 ")) + std::string(text, static_cast<std::size_t>(n))
            + std::string(AsChars(u8" 北京时间"));
    }
    return {};
}

}  // namespace

std::string_view AsChars(std::u8string_view text) noexcept
{
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

std::string GbkToUtf8(std::string_view gbk)
{
    std::string utf8;
    utf8.reserve(gbk.size() * 3 / 2);
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead < 0x80) {
            utf8 += static_cast<char>(lead);
        } else if (i + 1 < gbk.size()) {
            const auto trail = static_cast<unsigned char>(gbk[++i]);
            AppendUtf8(UnicodeOf(static_cast<std::uint16_t>(lead << 8 | trail)), utf8);
        } else {
            AppendUtf8(U'\uFFFD', utf8);
        }
    }
    return utf8;
}

void AppendDayItems(const SolarDate& date, ItemKinds kinds, const HolidayTable& holidays,
    const MyDayList& myDays, std::vector<DayItem>& items)
{
    const auto wants = [kinds](ItemKind kind) { return (kinds & KindBit(kind)) != 0; };
    if (wants(ItemKind::Term)) {
        const std::string term = SolarTermOnDate(date.year, date.month, date.day);
        if (!term.empty()) Add(items, ItemKind::Term, GbkToUtf8(term), {}, TermInstant(date, term));
    }
    if (wants(ItemKind::DayOff)) {
        const HolidayInfo holiday = holidays.Lookup(date);
        if (holiday.kind != DayOff::None)
            Add(items, ItemKind::DayOff, std::string(holiday.name), HolidayText(holiday));
    }
    const LunarDate lunar = ToLunar(date.year, date.month, date.day);
    if (wants(ItemKind::LunarFestival) && HasLunarDate(lunar))
        AddNames(
            items, ItemKind::LunarFestival, FindLunarFestival(lunar.year, lunar.month, lunar.day));
    // The festival rows' own kinds.
    for (const auto& [item, festival] :
        {std::pair{ItemKind::GregorianFestival, FestivalKind::China},
            std::pair{ItemKind::InternationalDay, FestivalKind::World},
            std::pair{ItemKind::WesternFestival, FestivalKind::West}}) {
        if (!wants(item)) continue;
        std::string list;
        GetDayFestivals(date.year, date.month, date.day, list, false, KindBit(festival));
        AddNames(items, item, list);
    }
    if (wants(ItemKind::MyDay)) {
        const std::size_t first = items.size();
        for (const MyDayHit& hit : myDays.On(date)) {
            const auto same = [&](const DayItem& item) { return item.name == hit.day->name; };
            if (std::none_of(items.begin() + static_cast<std::ptrdiff_t>(first), items.end(), same))
                Add(items, ItemKind::MyDay, hit.day->name, MyDayText(hit));
        }
    }
    if (wants(ItemKind::LunarDate) && HasLunarDate(lunar)) {
        std::string name(AsChars(lunar.isLeap ? u8"农历闰" : u8"农历"));
        name += GbkToUtf8(LunarMonthName(lunar.month));
        name += AsChars(u8"月");
        name += GbkToUtf8(LunarDayName(lunar.day));
        Add(items, ItemKind::LunarDate, std::move(name));
    }
}

}  // namespace qov
