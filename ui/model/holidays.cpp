#include "model/holidays.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unordered_map>

#include "holidays_cn_data.h"  // ShippedHolidayBytes, generated from data/holidays-cn.tsv
#include "model/textfields.h"

namespace qov {
namespace {

using namespace textfields;

// The kinds as they appear in the file, UTF-8 whatever this file is compiled for.
constexpr std::string_view RestMark = "\xE4\xBC\x91";  // 休
constexpr std::string_view WorkMark = "\xE7\x8F\xAD";  // 班
constexpr std::string_view RemoveMark = "-";

struct LineResult {
    std::optional<HolidayLine> line;
    std::string reason;  // why there is no line; "" for a blank or comment line
};

LineResult ParseLine(std::string_view text)
{
    if (text.size() > MaxHolidayLineBytes)
        return {std::nullopt, "line longer than " + std::to_string(MaxHolidayLineBytes) + " bytes"};
    if (!Utf8Length(text)) return {std::nullopt, "invalid UTF-8"};
    const std::string_view content = Trim(text);
    if (content.empty() || content.front() == '#') return {};

    std::string_view rest = content;
    const std::string_view dateText = NextField(rest);
    const std::string_view kindText = NextField(rest);
    const std::string_view name = Trim(rest);  // a tab inside the name is a control character

    const bool shaped = dateText.size() == 10 && dateText[4] == '-' && dateText[7] == '-'
        && AllDigits(dateText.substr(0, 4)) && AllDigits(dateText.substr(5, 2))
        && AllDigits(dateText.substr(8, 2));
    const std::string shown = Printable(dateText) && dateText.size() <= 20
        ? " '" + std::string(dateText) + "'"
        : std::string();
    if (!shaped) return {std::nullopt, "bad date" + shown + " (expected YYYY-MM-DD)"};
    const SolarDate date{Number(dateText.substr(0, 4)), Number(dateText.substr(5, 2)),
        Number(dateText.substr(8, 2))};
    if (date.day < 1 || date.day > DaysInMonth(date.year, date.month))
        return {std::nullopt, "bad date" + shown};
    if (date.year < FirstHolidayYear || date.year > LastHolidayYear)
        return {std::nullopt,
            "year outside " + std::to_string(FirstHolidayYear) + ".."
                + std::to_string(LastHolidayYear)};

    HolidayLine line;
    line.date = date;
    if (kindText == RestMark)
        line.kind = HolidayLine::Kind::Rest;
    else if (kindText == WorkMark)
        line.kind = HolidayLine::Kind::Work;
    else if (kindText == RemoveMark)
        line.kind = HolidayLine::Kind::Remove;
    else
        return {std::nullopt,
            std::string(kindText.empty() ? "missing kind" : "unknown kind") + " (expected "
                + std::string(RestMark) + ", " + std::string(WorkMark) + " or -)"};

    if (!name.empty() || line.kind != HolidayLine::Kind::Remove)
        if (std::string problem = HolidayNameProblem(name); !problem.empty())
            return {std::nullopt, std::move(problem)};
    line.name = std::string(name);
    return {std::move(line), {}};
}

constexpr std::size_t SlotsPerYear = 12 * 31;
constexpr std::size_t HolidayYears = LastHolidayYear - FirstHolidayYear + 1;

// Index of a valid date of FirstHolidayYear..LastHolidayYear in a year-major
// array of 12 x 31 slots a year.
std::size_t DateSlot(const SolarDate& date) noexcept
{
    const auto y = static_cast<std::size_t>(date.year - FirstHolidayYear);
    return (y * 12 + static_cast<std::size_t>(date.month - 1)) * 31
        + static_cast<std::size_t>(date.day - 1);
}

}  // namespace

std::string HolidayNameProblem(std::string_view name)
{
    if (name.empty()) return "missing name";
    if (HasControlCharacter(name)) return "control character in the name";
    const std::optional<std::size_t> length = Utf8Length(name);
    if (!length) return "invalid UTF-8 in the name";
    if (*length > MaxHolidayNameChars)
        return "name longer than " + std::to_string(MaxHolidayNameChars) + " characters";
    return {};
}

std::string IsoDate(const SolarDate& date)
{
    char text[32];
    const int n =
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return std::string(text, static_cast<std::size_t>(std::clamp(n, 0, 31)));
}

HolidayParse ParseHolidayFile(std::string_view bytes)
{
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, ByteOrderMark.size()) == ByteOrderMark)
        bytes.remove_prefix(ByteOrderMark.size());

    HolidayParse parse;
    const auto message = [&](int number, const std::string& reason) {
        parse.messages.push_back("holidays.tsv:" + std::to_string(number) + ": " + reason);
    };
    std::vector<std::uint32_t> where(HolidayYears * SlotsPerYear, 0);  // 1 + index, 0 = none
    int number = 0;
    while (!bytes.empty()) {
        ++number;
        const std::size_t end = bytes.find('\n');
        std::string_view text = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);

        LineResult result = ParseLine(text);
        if (!result.line) {
            if (!result.reason.empty()) message(number, result.reason);
            continue;
        }
        result.line->line = number;
        // Where each date's line is in parse.lines, so that a duplicate is
        // found in constant time however long the file.
        std::uint32_t& slot = where[DateSlot(result.line->date)];
        if (slot != 0) {
            HolidayLine& earlier = parse.lines[slot - 1];
            message(number,
                "duplicate date " + IsoDate(earlier.date) + " (also on line "
                    + std::to_string(earlier.line) + "); this line wins");
            earlier = std::move(*result.line);
        } else {
            parse.lines.push_back(std::move(*result.line));
            slot = static_cast<std::uint32_t>(parse.lines.size());
        }
    }
    return parse;
}

HolidayTable::HolidayTable(const std::vector<HolidayLine>& lines)
{
    int first = LastHolidayYear + 1;
    int last = FirstHolidayYear - 1;
    for (const HolidayLine& line : lines) {
        if (line.kind == HolidayLine::Kind::Remove) continue;
        first = std::min(first, line.date.year);
        last = std::max(last, line.date.year);
    }
    if (first > last) return;
    m_firstYear = first;
    m_years = static_cast<unsigned>(last - first + 1);
    m_slots.assign(m_years * SlotsPerYear, 0);
    m_names.emplace_back();  // index 0 stays unused: a slot of 0 means none
    std::unordered_map<std::string_view, std::uint32_t> nameIndex;
    for (const HolidayLine& line : lines) {
        const unsigned y = static_cast<unsigned>(line.date.year - m_firstYear);
        const unsigned m = static_cast<unsigned>(line.date.month - 1);
        const unsigned d = static_cast<unsigned>(line.date.day - 1);
        if (y >= m_years || m >= 12 || d >= 31) continue;
        std::uint32_t& slot = m_slots[(y * 12 + m) * 31 + d];
        if (line.kind == HolidayLine::Kind::Remove) {
            slot = 0;
            continue;
        }
        auto [found, added] = nameIndex.try_emplace(line.name, 0);
        if (added) {
            found->second = static_cast<std::uint32_t>(m_names.size());
            m_names.push_back(line.name);
        }
        const DayOff kind = line.kind == HolidayLine::Kind::Rest ? DayOff::Rest : DayOff::Work;
        slot = static_cast<std::uint32_t>(kind) | found->second << 2;
    }
}

const HolidayTable& HolidayTable::Shipped()
{
    static const HolidayTable shipped(ParseHolidayFile(ShippedHolidayBytes).lines);
    return shipped;
}

std::vector<HolidayLine> HolidayTable::Days() const
{
    std::vector<HolidayLine> days;
    for (unsigned y = 0; y < m_years; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 31; ++d) {
                const SolarDate date{m_firstYear + static_cast<int>(y), m, d};
                const HolidayInfo info = Lookup(date);
                if (info.kind == DayOff::None) continue;
                days.push_back({date,
                    info.kind == DayOff::Rest ? HolidayLine::Kind::Rest : HolidayLine::Kind::Work,
                    std::string(info.name), 0});
            }
    return days;
}

HolidayTable HolidayTable::WithOverrides(const std::vector<HolidayLine>& lines) const
{
    std::vector<HolidayLine> all = Days();
    all.insert(all.end(), lines.begin(), lines.end());
    return HolidayTable(all);
}

}  // namespace qov
