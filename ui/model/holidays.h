// Public holidays (休) and make-up working days (班): the schedule shipped
// with the program, the parser of the user's holiday file, and the lookup
// every cell, panel and tip asks. No Qt, no allocation per lookup.
//
// Holiday names are user text of any script, so they stay UTF-8 here (the
// one exception to the models' GBK text); the window decodes them as UTF-8
// where it draws them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gregorian.h"

namespace qov {

enum class DayOff : std::uint8_t {
    None,  // an ordinary day, or not announced
    Rest,  // 休: a day off of a public holiday
    Work,  // 班: a weekend day that becomes a working day (调休)
};

// Years a holiday line may name: those the calendar can show.
inline constexpr int FirstHolidayYear = 1900;
inline constexpr int LastHolidayYear = 2100;

// Limits on one line of a holiday file.
inline constexpr std::size_t MaxHolidayLineBytes = 200;  // without the line break
inline constexpr std::size_t MaxHolidayNameChars = 32;   // Unicode code points
// A larger user file is not read at all.
inline constexpr std::size_t MaxHolidayFileBytes = 1024 * 1024;

// One line of a holiday file.
struct HolidayLine {
    enum class Kind : std::uint8_t { Rest, Work, Remove };
    SolarDate date;
    Kind kind = Kind::Rest;
    std::string name;  // UTF-8, 1..32 code points; "" allowed for Remove only
    int line = 0;      // 1-based line number in the file
};

struct HolidayParse {
    std::vector<HolidayLine> lines;     // one per date, in the order the dates first
                                        // appear; a later line for a date replaced the earlier
    std::vector<std::string> messages;  // "holidays.tsv:LINE: reason", UTF-8
};

// Parses a holiday file: UTF-8 lines "YYYY-MM-DD<TAB>休|班|-<TAB>name", "#"
// comments and blank lines ignored, a leading byte-order mark and CR before
// LF accepted, spaces around fields trimmed. A line that does not parse is
// left out with one message; so is the earlier of two lines for one date.
// Total: any bytes give an answer, never more than one message a line.
HolidayParse ParseHolidayFile(std::string_view bytes);

// What the lookup tells about one date.
struct HolidayInfo {
    DayOff kind = DayOff::None;
    std::string_view name;  // UTF-8; "" for DayOff::None; lives as long as its table
};

// Dates of the covered years in one dense array, so that a lookup is an
// index computation and one load.
class HolidayTable {
public:
    HolidayTable() = default;  // knows no day

    // The days of `lines` applied in order: a later line for a date replaces
    // an earlier one, a Remove line clears it.
    explicit HolidayTable(const std::vector<HolidayLine>& lines);

    // The schedule shipped with the program (2004-2026), parsed once.
    static const HolidayTable& Shipped();

    // This table with the user's lines applied: a 休 or 班 line replaces the
    // day of its date, a "-" line removes it.
    HolidayTable WithOverrides(const std::vector<HolidayLine>& lines) const;

    // None for any date not listed, invalid dates included.
    HolidayInfo Lookup(const SolarDate& date) const noexcept
    {
        // Unsigned differences: no overflow at INT_MIN, and anything below
        // the first year, month or day wraps past the bounds checked below.
        const unsigned y = static_cast<unsigned>(date.year) - static_cast<unsigned>(m_firstYear);
        const unsigned m = static_cast<unsigned>(date.month) - 1u;
        const unsigned d = static_cast<unsigned>(date.day) - 1u;
        if (y >= m_years || m >= 12 || d >= 31) return {};
        const std::uint32_t slot = m_slots[(y * 12 + m) * 31 + d];
        if (slot == 0) return {};
        return {static_cast<DayOff>(slot & 3), m_names[slot >> 2]};
    }

    // Every listed day in date order.
    std::vector<HolidayLine> Days() const;

private:
    int m_firstYear = 0;
    unsigned m_years = 0;
    // 372 slots a year (12 x 31): 0 for none, else kind | name index << 2.
    std::vector<std::uint32_t> m_slots;
    std::vector<std::string> m_names;  // distinct names, UTF-8
};

// Why `name` cannot name a holiday (empty, a control character, invalid
// UTF-8, more than MaxHolidayNameChars code points), or "" when it can.
std::string HolidayNameProblem(std::string_view name);

// "%04d-%02d-%02d".
std::string IsoDate(const SolarDate& date);

}  // namespace qov
