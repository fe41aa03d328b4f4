// The calendar export: the days of a range of years as iCalendar text
// (RFC 5545) that other calendars import. One all-day, transparent event per
// day and item; UTF-8, CRLF line ends, lines folded at 75 octets.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/dayitems.h"
#include "model/holidays.h"

namespace qov {

struct YearRange {
    int first = 0;
    int last = 0;
};

// "2026-2028" or "2027": years FirstPageYear..LastPageYear, first <= last.
std::optional<YearRange> ParseYearRange(std::string_view text);
// Comma-separated keys of ItemKindInfo ("terms,holidays"); none for an
// empty list or an unknown key.
std::optional<ItemKinds> ParseKinds(std::string_view text);
// The keys of `kinds`, comma-separated, in the order of ItemKind.
std::string KindKeys(ItemKinds kinds);

struct ExportRequest {
    YearRange years;
    ItemKinds kinds = DefaultKinds();
    std::int64_t stamp = 0;  // DTSTAMP: seconds since 1970-01-01 UTC
};

// The whole calendar, the user's days as `myDays` holds them. UIDs derive
// from date, kind and name alone, so that a later export of the same facts
// updates the events it imported before.
std::string WriteICalendar(
    const ExportRequest& request, const HolidayTable& holidays, const MyDayList& myDays);

}  // namespace qov
