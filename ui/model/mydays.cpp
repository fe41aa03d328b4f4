#include "model/mydays.h"

#include <algorithm>
#include <cstdio>

#include "lunar.h"
#include "model/monthpage.h"
#include "model/textfields.h"

namespace qov {
namespace {

using namespace textfields;

// The file's words, UTF-8 whatever this file is compiled for.
constexpr std::string_view GregorianWord = "\xE5\x85\xAC\xE5\x8E\x86";  // 公历
constexpr std::string_view LunarWord = "\xE5\x86\x9C\xE5\x8E\x86";      // 农历
constexpr std::string_view LeapMark = "\xE9\x97\xB0";                   // 闰
constexpr std::string_view OrdinalBefore = "\xE7\xAC\xAC";              // 第
constexpr std::string_view OrdinalAfter = "\xE4\xB8\xAA";               // 个

// Whether the fields of a day lie in MyDay's ranges.
bool IsValidDay(const MyDay& day) noexcept
{
    if (day.month < 1 || day.month > 12 || day.day < 1) return false;
    if (day.firstYear < 0 || day.firstYear > LastMyDayFirstYear) return false;
    if (day.calendar == MyCalendar::Lunar) return day.day <= 30;
    return !day.leap && day.day <= DaysInMonth(2000, day.month);  // 2000: 29 February exists
}

// Day number (0 = 1900-01-31) of a valid date.
int DayNumberOf(const SolarDate& date) noexcept
{
    return DayNumber(date.year, date.month, date.day);
}

// The lunar months of one lunar year as day numbers: where each ordinary
// month and the leap month begin, and their lengths.
struct LunarYearLayout {
    bool valid = false;
    int leapMonth = 0;
    std::array<int, 13> start{};   // index 1..12: ordinary months
    std::array<int, 13> length{};  // index 1..12
    int leapStart = 0;
    int leapLength = 0;
};

LunarYearLayout LayOut(int lunarYear) noexcept
{
    LunarYearLayout layout;
    const std::optional<SolarDate> newYear = FindSolarDate(lunarYear, 1, 1, false);
    if (!newYear) return layout;
    layout.valid = true;
    layout.leapMonth = LeapMonth(lunarYear);
    int n = DayNumberOf(*newYear);
    for (int m = 1; m <= 12; ++m) {
        const auto k = static_cast<std::size_t>(m);
        layout.start[k] = n;
        layout.length[k] = LunarMonthDays(lunarYear, m);
        n += layout.length[k];
        if (m == layout.leapMonth) {
            layout.leapStart = n;
            layout.leapLength = LeapMonthDays(lunarYear);
            n += layout.leapLength;
        }
    }
    return layout;
}

// Day number of a valid lunar day in a laid-out year, by the yearly rules.
int LunarDayNumber(const LunarYearLayout& layout, const MyDay& day) noexcept
{
    const auto k = static_cast<std::size_t>(day.month);
    const bool inLeap = day.leap && layout.leapMonth == day.month;
    const int start = inLeap ? layout.leapStart : layout.start[k];
    const int length = inLeap ? layout.leapLength : layout.length[k];
    return start + std::min(day.day, length) - 1;
}

// Gregorian date of a valid Gregorian day in `year`, 29 February kept in
// February.
SolarDate GregorianDate(const MyDay& day, int year) noexcept
{
    return {year, day.month, std::min(day.day, DaysInMonth(year, day.month))};
}

bool ShownIn(const MyDay& day, int year) noexcept
{
    return day.firstYear == 0 || year >= day.firstYear;
}

std::string TwoDigits(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", std::clamp(n, 0, 99));
    return text;
}

}  // namespace

std::optional<SolarDate> MyDayDate(const MyDay& day, int year) noexcept
{
    if (!IsValidDay(day) || !ShownIn(day, year)) return std::nullopt;
    if (day.calendar == MyCalendar::Gregorian) {
        if (year < 1 || year > 65535) return std::nullopt;
        return GregorianDate(day, year);
    }
    if (year < FirstLunarYear || year > LastLunarYear) return std::nullopt;
    const bool inLeap = day.leap && LeapMonth(year) == day.month;
    const int length = inLeap ? LeapMonthDays(year) : LunarMonthDays(year, day.month);
    return FindSolarDate(year, day.month, std::min(day.day, length), inLeap);
}

int MyDayOrdinal(const MyDay& day, int year) noexcept
{
    return day.firstYear == 0 ? 0 : year - day.firstYear + 1;
}

std::string FormatMyDay(const MyDay& day)
{
    const bool lunar = day.calendar == MyCalendar::Lunar;
    std::string line(lunar ? LunarWord : GregorianWord);
    line += '\t';
    if (lunar && day.leap) line += LeapMark;
    line += TwoDigits(day.month);
    line += '-';
    line += TwoDigits(day.day);
    line += '\t';
    line += day.name;
    if (day.firstYear != 0) {
        line += '\t';
        line += std::to_string(day.firstYear);
    }
    return line;
}

MyDayParse ParseMyDayLine(std::string_view text)
{
    if (text.size() > MaxMyDayLineBytes)
        return {std::nullopt, "line longer than " + std::to_string(MaxMyDayLineBytes) + " bytes"};
    if (!Utf8Length(text)) return {std::nullopt, "invalid UTF-8"};
    const std::string_view content = Trim(text);
    if (content.empty() || content.front() == '#') return {};

    std::string_view rest = content;
    const std::string_view calendar = NextField(rest);
    std::string_view date = NextField(rest);
    const std::string_view name = NextField(rest);
    const std::string_view year = NextField(rest);
    if (!rest.empty()) return {std::nullopt, "too many fields"};

    MyDay day;
    if (calendar == LunarWord)
        day.calendar = MyCalendar::Lunar;
    else if (calendar != GregorianWord)
        return {std::nullopt,
            "unknown calendar (expected " + std::string(GregorianWord) + " or "
                + std::string(LunarWord) + ")"};
    if (date.substr(0, LeapMark.size()) == LeapMark) {
        day.leap = true;
        date.remove_prefix(LeapMark.size());
    }
    if (date.size() != 5 || date[2] != '-' || !AllDigits(date.substr(0, 2))
        || !AllDigits(date.substr(3, 2)))
        return {std::nullopt, "bad date (expected MM-DD, or " + std::string(LeapMark) + "MM-DD)"};
    day.month = Number(date.substr(0, 2));
    day.day = Number(date.substr(3, 2));
    if (day.leap && day.calendar != MyCalendar::Lunar)
        return {std::nullopt, "a leap month on the Gregorian calendar"};
    if (name.empty()) return {std::nullopt, "missing name"};
    if (HasControlCharacter(name)) return {std::nullopt, "control character in the name"};
    if (Utf8Length(name).value_or(0) > MaxMyDayNameChars)
        return {
            std::nullopt, "name longer than " + std::to_string(MaxMyDayNameChars) + " characters"};
    day.name = std::string(name);
    if (!year.empty()) {
        if (year.size() > 4 || !AllDigits(year) || Number(year) < 1)
            return {std::nullopt,
                "bad first year (expected 1.." + std::to_string(LastMyDayFirstYear) + ")"};
        day.firstYear = Number(year);
    }
    if (!IsValidDay(day)) return {std::nullopt, "no such day"};
    return {std::move(day), {}};
}

MyDaysFile::MyDaysFile(std::string_view bytes)
{
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    int number = 0;
    while (!bytes.empty()) {
        ++number;
        const TextLine raw = NextLine(bytes);
        Line line{std::string(raw.text), std::string(raw.ending)};
        std::string_view text = line.text;
        if (number == 1 && text.substr(0, ByteOrderMark.size()) == ByteOrderMark)
            text.remove_prefix(ByteOrderMark.size());
        const MyDayParse parse = ParseMyDayLine(text);
        line.isDay = parse.day.has_value();
        if (!parse.reason.empty()) {
            std::string message = "mydays.tsv:";
            message += std::to_string(number);
            message += ": ";
            message += parse.reason;
            m_messages.push_back(std::move(message));
        }
        m_lines.push_back(std::move(line));
    }
}

std::vector<MyDay> MyDaysFile::Days() const
{
    std::vector<MyDay> days;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (!m_lines[i].isDay) continue;
        std::string_view text = m_lines[i].text;
        if (i == 0 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        days.push_back(*ParseMyDayLine(text).day);
    }
    return days;
}

MyDaysFile::Line* MyDaysFile::EntryLine(std::size_t entry) noexcept
{
    for (Line& line : m_lines)
        if (line.isDay && entry-- == 0) return &line;
    return nullptr;
}

void MyDaysFile::Add(const MyDay& day)
{
    // The file's own line break, CRLF where its first line has one.
    const std::string ending = !m_lines.empty() && m_lines.front().ending == "\r\n" ? "\r\n" : "\n";
    if (!m_lines.empty() && m_lines.back().ending.empty()) m_lines.back().ending = ending;
    m_lines.push_back({FormatMyDay(day), ending, true});
}

bool MyDaysFile::Replace(std::size_t entry, const MyDay& day)
{
    Line* line = EntryLine(entry);
    if (line == nullptr) return false;
    // A byte-order mark at the start of the file stays there.
    const bool first = line == &m_lines.front();
    const bool bom = first && line->text.substr(0, 3) == "\xEF\xBB\xBF";
    line->text = (bom ? "\xEF\xBB\xBF" : "") + FormatMyDay(day);
    return true;
}

bool MyDaysFile::Remove(std::size_t entry)
{
    Line* line = EntryLine(entry);
    if (line == nullptr) return false;
    m_lines.erase(m_lines.begin() + (line - m_lines.data()));
    return true;
}

std::string MyDaysFile::Bytes() const
{
    std::string bytes;
    for (const Line& line : m_lines) bytes += line.text + line.ending;
    return bytes;
}

std::vector<MyDayHit> MyDayList::On(const SolarDate& date) const
{
    std::vector<MyDayHit> hits;
    const LunarDate lunar = ToLunar(date.year, date.month, date.day);
    for (const MyDay& day : m_days) {
        const int year = day.calendar == MyCalendar::Lunar ? lunar.year : date.year;
        if (day.calendar == MyCalendar::Lunar && !HasLunarDate(lunar)) continue;
        if (day.month != (day.calendar == MyCalendar::Lunar ? lunar.month : date.month)) continue;
        if (MyDayDate(day, year) == date) hits.push_back({&day, MyDayOrdinal(day, year)});
    }
    return hits;
}

std::array<int, grid::CellCount> MyDayList::OnPage(const SolarDate& firstCell) const noexcept
{
    std::array<int, grid::CellCount> cells;
    cells.fill(-1);
    if (m_days.empty()) return cells;
    const int first = DayNumberOf(firstCell);
    const CivilDate lastCivil =
        CivilFromDays(DaysFromCivil(firstCell.year, static_cast<unsigned>(firstCell.month),
                          static_cast<unsigned>(firstCell.day))
            + grid::CellCount - 1);
    const SolarDate last{static_cast<int>(lastCivil.year), static_cast<int>(lastCivil.month),
        static_cast<int>(lastCivil.day)};
    const std::array<int, 2> years{firstCell.year, last.year};
    const LunarDate lunarFirst = ToLunar(firstCell.year, firstCell.month, firstCell.day);
    const LunarDate lunarLast = ToLunar(last.year, last.month, last.day);
    const std::array<LunarYearLayout, 2> lunarYears{
        HasLunarDate(lunarFirst) ? LayOut(lunarFirst.year) : LunarYearLayout{},
        HasLunarDate(lunarLast) && lunarLast.year != lunarFirst.year ? LayOut(lunarLast.year)
                                                                     : LunarYearLayout{}};
    const std::array<int, 2> lunarYearNumbers{lunarFirst.year, lunarLast.year};

    const auto mark = [&](int dayNumber, std::size_t index) {
        const int cell = dayNumber - first;
        if (cell >= 0 && cell < grid::CellCount && cells[static_cast<std::size_t>(cell)] < 0)
            cells[static_cast<std::size_t>(cell)] = static_cast<int>(index);
    };
    for (std::size_t i = 0; i < m_days.size(); ++i) {
        const MyDay& day = m_days[i];
        if (!IsValidDay(day)) continue;
        if (day.calendar == MyCalendar::Gregorian) {
            for (std::size_t k = 0; k < 2; ++k)
                if ((k == 0 || years[1] != years[0]) && ShownIn(day, years[k]))
                    mark(DayNumberOf(GregorianDate(day, years[k])), i);
            continue;
        }
        for (std::size_t k = 0; k < 2; ++k)
            if (lunarYears[k].valid && ShownIn(day, lunarYearNumbers[k]))
                mark(LunarDayNumber(lunarYears[k], day), i);
    }
    return cells;
}

std::string MyDayText(const MyDayHit& hit)
{
    std::string text = hit.day->name;
    if (hit.ordinal > 0) {
        text += ' ';
        text += OrdinalBefore;
        text += std::to_string(hit.ordinal);
        text += OrdinalAfter;
    }
    return text;
}

}  // namespace qov
