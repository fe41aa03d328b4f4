// Any bytes as a user's holiday file: the parser answers without a fault,
// keeps only well-formed lines of valid dates, gives at most one message a
// line, and the table built from its answer finds exactly those days. The
// same bytes as a downloaded holiday-cn file: a schedule or a reason, and
// the schedule's days all sound and found over the shipped table.
// The same bytes as the user's own days: every byte kept, each day read back
// from its own line, and a page lookup that names only days it holds.
#include <algorithm>
#include <string>

#include "fuzz_common.h"
#include "model/holidaycn.h"
#include "model/holidays.h"
#include "model/mydays.h"

namespace {

using namespace qov;
using qov::fuzz::Utf8Chars;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const HolidayParse parse = ParseHolidayFile(bytes);
    const auto lineCount =
        static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    QOV_CHECK(parse.lines.size() + parse.messages.size() <= lineCount);
    for (const std::string& message : parse.messages) QOV_CHECK(Utf8Chars(message) >= 0);

    HolidayTable table(parse.lines);
    for (std::size_t i = 0; i < parse.lines.size(); ++i) {
        const HolidayLine& line = parse.lines[i];
        const SolarDate d = line.date;
        QOV_CHECK(qov::fuzz::IsValidDate(d, FirstHolidayYear, LastHolidayYear));
        QOV_CHECK(line.line >= 1 && static_cast<std::size_t>(line.line) <= lineCount);
        const long chars = Utf8Chars(line.name);
        QOV_CHECK(chars >= 0 && chars <= static_cast<long>(MaxHolidayNameChars));
        QOV_CHECK(chars >= 1 || line.kind == HolidayLine::Kind::Remove);
        for (std::size_t j = 0; j < i; ++j)
            QOV_CHECK(!(parse.lines[j].date == d));  // one line a date
        const HolidayInfo info = table.Lookup(d);
        if (line.kind == HolidayLine::Kind::Remove) {
            QOV_CHECK(info.kind == DayOff::None && info.name.empty());
        } else {
            QOV_CHECK(
                info.kind == (line.kind == HolidayLine::Kind::Rest ? DayOff::Rest : DayOff::Work));
            QOV_CHECK(info.name == line.name);
        }
    }
    MyDaysFile days(bytes);
    QOV_CHECK(days.Bytes() == bytes);
    QOV_CHECK(days.Messages().size() <= lineCount);
    const MyDayList list(days.Days());
    for (const MyDay& day : list.Days()) QOV_CHECK(ParseMyDayLine(FormatMyDay(day)).day == day);
    for (const int index : list.OnPage({2020, 5, 31}))
        QOV_CHECK(index >= -1 && index < static_cast<int>(list.Days().size()));
    if (!list.Days().empty()) {
        days.Remove(0);
        QOV_CHECK(days.Days().size() + 1 == list.Days().size());
    }

    // The user's lines over the shipped schedule, and lookups of any date.
    HolidayTable overridden;
    const HolidayTable& merged = parse.lines.empty()
        ? HolidayTable::Shipped()
        : (overridden = HolidayTable::Shipped().WithOverrides(parse.lines));
    FuzzedDataProvider in(data, size);
    for (int k = 0; k < 8 && in.remaining_bytes() > 0; ++k) {
        const SolarDate any{qov::fuzz::EdgyInt(in), qov::fuzz::EdgyInt(in), qov::fuzz::EdgyInt(in)};
        const HolidayInfo info = merged.Lookup(any);
        if (info.kind == DayOff::None) QOV_CHECK(info.name.empty());
        if (info.kind != DayOff::None)
            QOV_CHECK(any.year >= FirstHolidayYear && any.year <= LastHolidayYear);
    }

    constexpr int Year = 2027;
    const HolidayCnRead read = ReadHolidayCn(bytes, Year);
    QOV_CHECK(read.schedule.has_value() == read.error.empty());
    if (!read.schedule) return 0;
    QOV_CHECK(size <= MaxHolidayCnBytes);
    const HolidayTable layered = LayerSchedules(HolidayTable::Shipped(), {*read.schedule});
    for (const HolidayLine& day : read.schedule->days) {
        const SolarDate d = day.date;
        QOV_CHECK(qov::fuzz::IsValidDate(d, Year - 1, Year + 1));
        QOV_CHECK(day.kind != HolidayLine::Kind::Remove && HolidayNameProblem(day.name).empty());
        // A 班 falls on a weekend.
        const int weekday = DayOfWeek(d.year, d.month, d.day);
        QOV_CHECK(day.kind == HolidayLine::Kind::Rest || weekday == 0 || weekday == 6);
        QOV_CHECK(layered.Lookup(d).kind != DayOff::None);
    }
    return 0;
}
