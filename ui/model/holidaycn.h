// The yearly schedule files of holiday-cn (one JSON file per notice year:
// {"year": Y, "papers": [...], "days": [{"name", "date", "isOffDay"}]}): a
// strict reader for that schema, and the layering of such files over the
// shipped schedule. No Qt: the update's validation lives here, tested
// wherever the models are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/holidays.h"

namespace qov {

// A larger file is refused unread.
inline constexpr std::size_t MaxHolidayCnBytes = 256 * 1024;

// One notice year's schedule.
struct HolidayCnSchedule {
    int year = 0;
    // Rest and Work lines in the file's order. A 班 on a weekday (Monday to
    // Friday) is left out: it marks an ordinary working day.
    std::vector<HolidayLine> days;
};

struct HolidayCnRead {
    std::optional<HolidayCnSchedule> schedule;
    std::string error;  // why there is no schedule: one English line, ASCII
};

// Reads a file that must be the schedule of notice year `year`: at most
// MaxHolidayCnBytes of UTF-8 JSON (RFC 8259, no duplicate keys, nesting at
// most 8 deep), a whole-number "year" equal to `year`, "papers" an array of
// strings, and "days" an array of objects each with a "name" of 1 to
// MaxHolidayNameChars characters, an existing "YYYY-MM-DD" "date" in
// year - 1 .. year + 1 and a boolean "isOffDay". Other keys are ignored.
// Total: any bytes give a schedule or an error, never both.
HolidayCnRead ReadHolidayCn(std::string_view bytes, int year);

// What to do with a download of a notice year that read well, given the
// stored file of that year (none when there is none or it cannot be read)
// and the number of shipped days in that year.
enum class DownloadAction : std::uint8_t {
    Store,   // write it over the stored file, if any
    Keep,    // an empty year over a stored schedule: checked, the file kept
    Refuse,  // it would remove more than half of the year's days
};
DownloadAction DecideDownload(const HolidayCnSchedule* stored, std::size_t shippedDays,
    const HolidayCnSchedule& fresh) noexcept;

// `shipped` with the downloaded schedules laid over it: a schedule with days
// is the truth for its notice year (every shipped day of that year goes) and
// for each date it lists (of late December before it, say); a schedule
// without days (a year not yet announced) changes nothing. Later years win
// where two schedules list one date.
HolidayTable LayerSchedules(const HolidayTable& shipped, std::vector<HolidayCnSchedule> schedules);

}  // namespace qov
