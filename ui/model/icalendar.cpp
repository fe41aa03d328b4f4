#include "model/icalendar.h"

#include <charconv>
#include <cstdio>

#include "model/monthpage.h"

namespace qov {
namespace {

// Content lines are at most 75 octets without the CRLF (RFC 5545 3.1).
constexpr std::size_t MaxLineOctets = 75;

// Appends one content line, folded: each continuation starts with a space,
// and a fold never falls inside a UTF-8 sequence.
void Line(std::string& out, std::string_view line)
{
    std::size_t room = MaxLineOctets;
    while (line.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line.substr(0, cut));
        out.append("\r\n ");
        line.remove_prefix(cut);
        room = MaxLineOctets - 1;
    }
    out.append(line);
    out.append("\r\n");
}

// A TEXT value: backslash, semicolon, comma and line breaks escaped.
std::string Escaped(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '\\' || c == ';' || c == ',') escaped += '\\';
        if (c == '\n') {
            escaped += "\\n";
        } else if (c != '\r') {
            escaped += c;
        }
    }
    return escaped;
}

std::string DateValue(const CivilDate& date)
{
    char text[16];
    std::snprintf(
        text, sizeof text, "%04d%02u%02u", static_cast<int>(date.year), date.month, date.day);
    return text;
}

// 64-bit FNV-1a: the name's part of a UID, ASCII whatever the name's script.
std::uint64_t NameHash(std::string_view name) noexcept
{
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3u;
    }
    return hash;
}

std::string StampValue(std::int64_t seconds)
{
    const std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    const std::int64_t time = seconds - days * 86400;
    const CivilDate date = CivilFromDays(days);
    char text[32];
    std::snprintf(text, sizeof text, "%sT%02d%02d%02dZ", DateValue(date).c_str(),
        static_cast<int>(time / 3600), static_cast<int>(time / 60 % 60),
        static_cast<int>(time % 60));
    return text;
}

// "万年历 2026-2027 节气、休/班": what the file holds.
std::string CalendarName(const ExportRequest& request)
{
    std::string name(AsChars(u8"万年历 "));
    name += std::to_string(request.years.first);
    if (request.years.last != request.years.first) name += '-' + std::to_string(request.years.last);
    const char* separator = " ";
    for (const KindInfo& info : ItemKindInfo) {
        if ((request.kinds & KindBit(info.kind)) == 0) continue;
        name += separator;
        name += AsChars(info.name);
        separator = reinterpret_cast<const char*>(u8"、");
    }
    return name;
}

void Event(std::string& out, const CivilDate& date, const CivilDate& next, const DayItem& item,
    std::string_view stamp)
{
    const KindInfo& info = ItemKindInfo[static_cast<std::size_t>(item.kind)];
    const std::string day = DateValue(date);
    char uid[96];
    std::snprintf(uid, sizeof uid, "UID:%s-%.*s-%016llx@qov", day.c_str(),
        static_cast<int>(info.key.size()), info.key.data(),
        static_cast<unsigned long long>(NameHash(item.name)));
    Line(out, "BEGIN:VEVENT");
    Line(out, uid);
    Line(out, "DTSTAMP:" + std::string(stamp));
    Line(out, "DTSTART;VALUE=DATE:" + day);
    Line(out, "DTEND;VALUE=DATE:" + DateValue(next));
    Line(out, "SUMMARY:" + Escaped(item.summary));
    if (!item.description.empty()) Line(out, "DESCRIPTION:" + Escaped(item.description));
    Line(out, "CATEGORIES:" + Escaped(AsChars(info.name)));
    Line(out, "TRANSP:TRANSPARENT");
    Line(out, "END:VEVENT");
}

}  // namespace

std::optional<YearRange> ParseYearRange(std::string_view text)
{
    const auto year = [](std::string_view digits) -> std::optional<int> {
        int value = 0;
        const auto [end, error] = std::from_chars(digits.begin(), digits.end(), value);
        if (digits.size() != 4 || error != std::errc() || end != digits.end()) return std::nullopt;
        if (value < FirstPageYear || value > LastPageYear) return std::nullopt;
        return value;
    };
    const std::size_t dash = text.find('-');
    const std::optional<int> first = year(text.substr(0, dash));
    const std::optional<int> last =
        dash == std::string_view::npos ? first : year(text.substr(dash + 1));
    if (!first || !last || *first > *last) return std::nullopt;
    return YearRange{*first, *last};
}

std::optional<ItemKinds> ParseKinds(std::string_view text)
{
    ItemKinds kinds = 0;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view key = text.substr(0, comma);
        const KindInfo* found = nullptr;
        for (const KindInfo& info : ItemKindInfo)
            if (info.key == key) found = &info;
        if (found == nullptr) return std::nullopt;
        kinds |= KindBit(found->kind);
        if (comma == std::string_view::npos) return kinds;
        text.remove_prefix(comma + 1);
    }
}

std::string KindKeys(ItemKinds kinds)
{
    std::string keys;
    for (const KindInfo& info : ItemKindInfo) {
        if ((kinds & KindBit(info.kind)) == 0) continue;
        if (!keys.empty()) keys += ',';
        keys += info.key;
    }
    return keys;
}

std::string WriteICalendar(
    const ExportRequest& request, const HolidayTable& holidays, const MyDayList& myDays)
{
    std::string out;
    Line(out, "BEGIN:VCALENDAR");
    Line(out, "VERSION:2.0");
    Line(out, "PRODID:-//qov//Perpetual Calendar//ZH");
    Line(out, "CALSCALE:GREGORIAN");
    Line(out, "METHOD:PUBLISH");
    Line(out, "X-WR-CALNAME:" + Escaped(CalendarName(request)));
    const std::string stamp = StampValue(request.stamp);
    const long long first = DaysFromCivil(request.years.first, 1, 1);
    const long long last = DaysFromCivil(request.years.last, 12, 31);
    std::vector<DayItem> items;
    CivilDate date = CivilFromDays(first);
    for (long long z = first; z <= last; ++z) {
        const CivilDate next = CivilFromDays(z + 1);
        items.clear();
        AppendDayItems(
            {static_cast<int>(date.year), static_cast<int>(date.month), static_cast<int>(date.day)},
            request.kinds, holidays, myDays, items);
        for (const DayItem& item : items) Event(out, date, next, item, stamp);
        date = next;
    }
    Line(out, "END:VCALENDAR");
    return out;
}

}  // namespace qov
