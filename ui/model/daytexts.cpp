#include "model/daytexts.h"

#include <algorithm>
#include <cstdio>

#include "calendar.h"
#include "festivals.h"
#include "model/dayitems.h"

namespace qov {
namespace {

constexpr std::string_view BlackFriday = "黑色星期五";

// printf into a string; every template here is short.
template <typename... Args> std::string Format(const char* format, Args... args)
{
    char buf[128];
    const int n = std::snprintf(buf, sizeof buf, format, args...);
    const int length = std::clamp(n, 0, static_cast<int>(sizeof buf) - 1);
    return std::string(buf, static_cast<std::size_t>(length));
}

// Bytes of the GBK character starting at text[i]: 2 for a lead byte >= 0x80
// (1 when the text ends after it), else 1.
std::size_t CharBytes(std::string_view text, std::size_t i) noexcept
{
    const bool lead = static_cast<unsigned char>(text[i]) >= 0x80;
    return lead && i + 1 < text.size() ? 2 : 1;
}

// Length of the first `chars` characters, or of the shortest prefix of at
// least `bytes` bytes, whichever comes first.
std::size_t PrefixBytes(std::string_view text, std::size_t chars, std::size_t bytes) noexcept
{
    std::size_t i = 0;
    for (std::size_t c = 0; c < chars && i < bytes && i < text.size(); ++c) i += CharBytes(text, i);
    return i;
}

// Substring search that only matches at character boundaries, so that a
// trail byte followed by a lead byte never passes for a character.
bool ContainsText(std::string_view text, std::string_view needle) noexcept
{
    for (std::size_t i = 0; i + needle.size() <= text.size(); i += CharBytes(text, i))
        if (text.compare(i, needle.size(), needle) == 0) return true;
    return false;
}

// Animal of a gan-zhi name (stem then branch, two bytes each): the animal of
// its branch, so that year name and animal always belong to the same year.
std::string_view AnimalOfGanZhi(std::string_view ganZhi) noexcept
{
    if (ganZhi.size() < 4) return {};
    const std::string_view branch = ganZhi.substr(2, 2);
    for (std::size_t i = 0; i < EarthlyBranches.size(); ++i)
        if (EarthlyBranches[i] == branch) return ZodiacAnimals[i];
    return {};
}

// "闰五" for the leap fifth month, "五" for the ordinary one.
std::string MonthNameOf(const LunarDate& lunar)
{
    std::string name = lunar.isLeap ? "闰" : "";
    name += LunarMonthName(lunar.month);
    return name;
}

// Size of the month the lunar date lies in, leap month included.
int MonthLengthOf(const LunarDate& lunar) noexcept
{
    return lunar.isLeap ? LeapMonthDays(lunar.year) : LunarMonthDays(lunar.year, lunar.month);
}

PanelLine Line(std::string text, Rgb color)
{
    PanelLine line;
    line.runs.push_back({std::move(text), color});
    return line;
}

// Width of a text in the panel font in half-width units: a GBK byte or an
// ASCII character is one, any other UTF-8 character two.
std::size_t Utf8Units(std::string_view utf8) noexcept
{
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            ++units;
        else if (byte >= 0xC0)
            units += 2;  // a lead byte; continuation bytes add nothing
    }
    return units;
}

// The longest prefix of whole UTF-8 characters within `units` half-width units.
std::string_view Utf8Prefix(std::string_view utf8, std::size_t units) noexcept
{
    std::size_t used = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t width = static_cast<unsigned char>(utf8[i]) < 0x80 ? 1 : 2;
        if (used + width > units) break;
        used += width;
        do ++i;
        while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80);
    }
    return utf8.substr(0, i);
}

// A panel line holds 26 half-width units of the 13 px font (171 px).
constexpr std::size_t PanelLineUnits = 26;

// The lunar festivals that give a public holiday its name: on such a day the
// panel says "春节假期" rather than "春节 春节假期".
struct NamedFestival {
    std::string_view gbk;     // as the festival tables give it
    std::u8string_view utf8;  // as the holiday schedule names it
};
constexpr NamedFestival HolidayFestivals[] = {
    {"春节", u8"春节"}, {"端午节", u8"端午节"}, {"中秋节", u8"中秋节"}};

bool HolidayNamedAfter(const HolidayInfo& holiday, std::string_view festivalGbk) noexcept
{
    if (holiday.kind != DayOff::Rest) return false;
    return std::any_of(
        std::begin(HolidayFestivals), std::end(HolidayFestivals), [&](const NamedFestival& f) {
            return f.gbk == festivalGbk && AsChars(f.utf8) == holiday.name;
        });
}

// The holiday run of panel line 3, after one space: "<name>假期" in red,
// the name cut with "…" where the line would overflow; "调休上班日" in the
// 班 badge's grey-blue.
void AddHolidayRun(PanelLine& line, const HolidayInfo& holiday)
{
    if (holiday.kind == DayOff::None) return;
    std::string& before = line.runs.front().text;
    if (!before.empty() && before.back() != ' ') before += ' ';
    if (holiday.kind == DayOff::Work) {
        line.runs.push_back({std::string(AsChars(u8"调休上班日")), colors::WorkBadge, true});
        return;
    }
    const std::string_view suffix = AsChars(u8"假期");
    const std::size_t room = PanelLineUnits - std::min(PanelLineUnits, before.size());
    std::string text(holiday.name);
    if (Utf8Units(text) + 4 > room) {
        // Room for "…" (two units) and "假期" (four), and at least one character.
        text = Utf8Prefix(holiday.name, std::max<std::size_t>(room, 8) - 6);
        text += AsChars(u8"…");
    }
    text += suffix;
    line.runs.push_back({std::move(text), colors::Red, true});
}

// Lunar festival and solar term of the day; the term decides the colour
// when there is one.
PanelLine FestivalTermLine(const SolarDate& date, const LunarDate& lunar,
    const HolidayInfo& holiday, const DayOptions& options)
{
    std::string text;
    Rgb color = colors::DarkBlue;
    if (HasLunarDate(lunar) && options.Shows(FestivalKind::Folk)) {
        const std::string festival = FindLunarFestival(lunar.year, lunar.month, lunar.day);
        if (!festival.empty() && !HolidayNamedAfter(holiday, festival)) {
            text = festival + " ";
            color = colors::Red;
        }
    }
    const std::string term = options.Shows(FestivalKind::Term)
        ? SolarTermOnDate(date.year, date.month, date.day)
        : std::string();
    if (!term.empty()) {
        text += term;
        color = IsSectionalTerm(term) ? colors::Red : colors::Green;
    }
    PanelLine line = Line(std::move(text), color);
    AddHolidayRun(line, holiday);
    return line;
}

// Sectional terms around the day: the names red, the distances grey.
PanelLine TermDistanceLine(const SolarDate& date)
{
    int since = 0;
    int until = 0;
    std::string previous = NearSectionalTerm(date.year, date.month, date.day, 1, since);
    std::string next = NearSectionalTerm(date.year, date.month, date.day, 2, until);
    PanelLine line;
    line.runs.push_back({std::move(previous), colors::Red});
    line.runs.push_back({Format("已过%d天 %d天后是", since, until), colors::Grey});
    line.runs.push_back({std::move(next), colors::Red});
    return line;
}

// "农历　闰五月小 初五日": the leap month is marked and sized on its own.
PanelLine LunarDateLine(const LunarDate& lunar)
{
    if (!HasLunarDate(lunar)) return Line({}, colors::DarkBlue);
    const char* size = MonthLengthOf(lunar) == 30 ? "大" : "小";
    return Line(Format("农历　%s月%s %s日", MonthNameOf(lunar).c_str(), size,
                    LunarDayName(lunar.day).c_str()),
        colors::DarkBlue);
}

PanelLine GanZhiLine(const SolarDate& date)
{
    const std::string year = GanZhiText(date.year, date.month, date.day, 1);
    const std::string month = GanZhiText(date.year, date.month, date.day, 2);
    const std::string day = GanZhiText(date.year, date.month, date.day, 3);
    const std::string animal(AnimalOfGanZhi(year));
    return Line(
        Format("%s(%s)年 %s月 %s日", year.c_str(), animal.c_str(), month.c_str(), day.c_str()),
        colors::DarkBlue);
}

// The user's days of a date with their "第 N 个", one space apart.
std::string MyDaysText(const std::vector<MyDayHit>& hits)
{
    std::string text;
    for (const MyDayHit& hit : hits) {
        if (!text.empty()) text += ' ';
        text += MyDayText(hit);
    }
    return text;
}

// The user's days, cut to the line, then the festival list in what room is left.
PanelLine FestivalListLine(const SolarDate& date, const DayOptions& options)
{
    std::string list;
    GetDayFestivals(date.year, date.month, date.day, list, false, options.kinds);
    const Rgb color = ContainsText(list, BlackFriday) ? colors::Black : colors::DarkBlue;
    std::string mine = MyDaysText(options.MyDaysOn(date));
    if (mine.empty()) return Line(CutFestivalList(list), color);
    PanelLine line;
    if (Utf8Units(mine) > PanelLineUnits) {
        mine.resize(Utf8Prefix(mine, PanelLineUnits - 2).size());
        mine += AsChars(u8"…");
    }
    const std::size_t room = PanelLineUnits - std::min(PanelLineUnits, Utf8Units(mine) + 1);
    line.runs.push_back({mine, colors::MyDay, true});
    if (!list.empty() && room >= 4) {
        list.resize(PrefixBytes(list, list.size(), room));
        list.insert(list.begin(), ' ');
        line.runs.push_back({std::move(list), color});
    }
    return line;
}

// Saturdays of the page month alternate green (1st, 3rd, 5th) and red.
Rgb DayNumberColor(const SolarDate& date, int weekday, bool inMonth) noexcept
{
    if (!inMonth) return colors::Grey;
    if (weekday == 0) return colors::Red;
    if (weekday == 6) return (date.day - 1) / 7 % 2 == 0 ? colors::Green : colors::Red;
    return colors::Black;
}

}  // namespace

std::string HolidayText(const HolidayInfo& holiday)
{
    if (holiday.kind == DayOff::None) return {};
    std::string text(holiday.name);
    text += AsChars(holiday.kind == DayOff::Rest ? u8" 休" : u8" 调休上班");
    return text;
}

std::string PanelLine::Text() const
{
    std::string text;
    for (const TextRun& run : runs) text += run.text;
    return text;
}

std::string ShortenCellText(std::string_view text)
{
    if (text.size() <= 12) return std::string(text);
    std::string shortened(text.substr(0, PrefixBytes(text, 4, text.size())));
    shortened += "…";
    return shortened;
}

std::string ShortenUtf8CellText(std::string_view utf8)
{
    if (Utf8Units(utf8) <= 12) return std::string(utf8);
    std::string shortened(Utf8Prefix(utf8, 8));
    shortened += AsChars(u8"…");
    return shortened;
}

std::string CutFestivalList(std::string_view text)
{
    if (text.size() <= 20) return std::string(text);
    std::string cut(text.substr(0, PrefixBytes(text, text.size(), 20)));
    cut += "……";
    return cut;
}

DayPanel DayPanelTexts(const SolarDate& date, const DayOptions& options)
{
    const LunarDate lunar = ToLunar(date.year, date.month, date.day);
    DayPanel panel;
    panel.lines[0] = Line(Format("%d年%d月", date.year, date.month), colors::DarkBlue);
    panel.lines[1] = Line(WeekdayName(date.year, date.month, date.day) + " "
            + ConstellationName(date.year, date.month, date.day),
        colors::DarkBlue);
    panel.lines[2] = Line(Format("%d", date.day), colors::DarkBlue);
    panel.lines[3] = FestivalTermLine(date, lunar, options.Holiday(date), options);
    panel.lines[4] =
        options.Shows(FestivalKind::Term) ? TermDistanceLine(date) : Line({}, colors::DarkBlue);
    panel.lines[5] = LunarDateLine(lunar);
    panel.lines[6] = GanZhiLine(date);
    panel.lines[7] = FestivalListLine(date, options);
    return panel;
}

TitleStrip TitleStripTexts(int year)
{
    // 1 June lies past 立春, so the year name is that of the Gregorian year.
    const std::string ganZhi = GanZhiText(year, 6, 1, 1);
    return {"公元", "年", "月",
        Format(
            "%s 农历%s年 【%s】", EraName(year).c_str(), ganZhi.c_str(), ZodiacName(year).c_str())};
}

Watermark WatermarkTexts(const MonthPage& page)
{
    return {Format("%d", page.Year()), Format("%.2d", page.Month())};
}

namespace {

// The cell with the name of the user's first day on its date (nullptr for none).
DayCell CellOf(
    const MonthPage& page, int row, int column, const DayOptions& options, const MyDay* myDay)
{
    DayCell cell;
    const SolarDate date = page.CellAt(row, column);
    cell.date = date;
    cell.inMonth = page.IsInMonth(date);
    cell.selected = cell.inMonth && date.day == page.Day();
    cell.dayText = std::to_string(date.day);
    cell.dayColor = DayNumberColor(date, WeekdayOfColumn(page.FirstColumn(), column), cell.inMonth);

    const Rgb plain = cell.inMonth ? colors::Black : colors::Grey;
    const LunarDate lunar = ToLunar(date.year, date.month, date.day);
    std::string text;
    if (HasLunarDate(lunar) && options.Shows(FestivalKind::Folk))
        text = FindLunarFestival(lunar.year, lunar.month, lunar.day);
    if (myDay != nullptr) {
        cell.source = LowerTextSource::MyDay;
        cell.lowerColor = cell.inMonth ? colors::MyDay : colors::Grey;
        cell.lowerText = ShortenUtf8CellText(myDay->name);
        cell.lowerUtf8 = true;
    } else if (!text.empty()) {
        cell.source = LowerTextSource::LunarFestival;
        cell.lowerColor = colors::Red;
    } else if (options.Shows(FestivalKind::Term)
        && (text = SolarTermOnDate(date.year, date.month, date.day), !text.empty())) {
        cell.source = LowerTextSource::SolarTerm;
        const Rgb principal = cell.inMonth ? colors::Green : colors::Grey;
        cell.lowerColor = IsSectionalTerm(text) ? colors::Red : principal;
    } else if (GetDayFestivals(date.year, date.month, date.day, text, false, options.kinds);
               !text.empty()) {
        // Without the term and the lunar festival (both empty here) this is
        // the list the cell would get with them.
        cell.source = LowerTextSource::DayFestivals;
        if (!cell.inMonth)
            cell.lowerColor = colors::Grey;
        else
            cell.lowerColor = ContainsText(text, BlackFriday) ? colors::Black : colors::DarkBlue;
    } else if (HasLunarDate(lunar) && lunar.day == 1) {
        text = MonthNameOf(lunar) + "月";
        cell.source = LowerTextSource::LunarMonth;
        cell.lowerColor = plain;
    } else if (HasLunarDate(lunar)) {
        text = LunarDayName(lunar.day);
        cell.source = LowerTextSource::LunarDay;
        cell.lowerColor = plain;
    } else {
        cell.lowerColor = plain;
    }
    if (!cell.lowerUtf8) cell.lowerText = ShortenCellText(text);
    cell.dayOff = options.Holiday(date).kind;
    if (cell.dayOff == DayOff::Rest)
        cell.badgeColor = cell.inMonth ? colors::RestBadge : colors::PaleRestBadge;
    else if (cell.dayOff == DayOff::Work)
        cell.badgeColor = cell.inMonth ? colors::WorkBadge : colors::PaleWorkBadge;
    return cell;
}

const MyDay* FirstMyDay(const std::vector<MyDayHit>& hits) noexcept
{
    return hits.empty() ? nullptr : hits.front().day;
}

}  // namespace

DayCell CellContents(const MonthPage& page, int row, int column, const DayOptions& options)
{
    return CellOf(
        page, row, column, options, FirstMyDay(options.MyDaysOn(page.CellAt(row, column))));
}

std::array<DayCell, grid::CellCount> PageCells(const MonthPage& page, const DayOptions& options)
{
    // The user's days of the whole page at once: a page of 500 costs a walk
    // over them, not 42.
    std::array<int, grid::CellCount> mine;
    mine.fill(-1);
    if (options.myDays != nullptr) mine = options.myDays->OnPage(page.CellAt(0, 0));
    std::array<DayCell, grid::CellCount> cells;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const MyDay* myDay =
            mine[i] < 0 ? nullptr : &options.myDays->Days()[static_cast<std::size_t>(mine[i])];
        const int r = static_cast<int>(i) / grid::Columns;
        cells[i] = CellOf(page, r, static_cast<int>(i) % grid::Columns, options, myDay);
    }
    return cells;
}

PagePicture PagePictureTexts(
    const MonthPage& page, const DayOptions& options, std::optional<SolarDate> today)
{
    PagePicture picture{page.FirstColumn(), TitleStripTexts(page.Year()), WatermarkTexts(page),
        PageCells(page, options), DayPanelTexts(page.Date(), options)};
    if (today)
        for (DayCell& cell : picture.cells) cell.today = cell.date == *today;
    return picture;
}

TrayTip TrayTipTexts(const SolarDate& date, const DayOptions& options)
{
    TrayTip tip;
    tip.lines.push_back(Format("%d年%d月%d日 ", date.year, date.month, date.day)
        + WeekdayName(date.year, date.month, date.day));
    std::string festivals;
    if (const LunarDate lunar = ToLunar(date.year, date.month, date.day); HasLunarDate(lunar)) {
        tip.lines.push_back("农历" + MonthNameOf(lunar) + "月" + LunarDayName(lunar.day));
        if (options.Shows(FestivalKind::Folk))
            festivals = FindLunarFestival(lunar.year, lunar.month, lunar.day);
    }
    if (std::string term = SolarTermOnDate(date.year, date.month, date.day);
        !term.empty() && options.Shows(FestivalKind::Term))
        tip.lines.push_back(std::move(term));
    std::string more;
    GetDayFestivals(date.year, date.month, date.day, more, false, options.kinds);
    if (!festivals.empty() && !more.empty()) festivals += ' ';
    festivals += more;  // each name followed by one space
    while (!festivals.empty() && festivals.back() == ' ') festivals.pop_back();
    if (!festivals.empty()) tip.lines.push_back(std::move(festivals));
    tip.holiday = UserDayText(date, options);
    return tip;
}

std::string UserDayText(const SolarDate& date, const DayOptions& options)
{
    std::string text = MyDaysText(options.MyDaysOn(date));
    const std::string holiday = HolidayText(options.Holiday(date));
    if (!text.empty() && !holiday.empty()) text += ' ';
    text += holiday;
    return text;
}

DayTip DayTipTexts(const SolarDate& date, const DayOptions& options)
{
    const LunarDate lunar = ToLunar(date.year, date.month, date.day);
    DayTip tip;
    tip.date = date;
    tip.line1 = Format("%d 年 %d 月 %d 日", date.year, date.month, date.day);
    tip.line2 = WeekdayName(date.year, date.month, date.day);
    if (HasLunarDate(lunar))
        tip.line3 = Format(
            lunar.isLeap ? "农历 闰%d 月 %d 日" : "农历 %d 月 %d 日", lunar.month, lunar.day);
    tip.line4 = Format("%s年 %s月 %s日", GanZhiText(date.year, date.month, date.day, 1).c_str(),
        GanZhiText(date.year, date.month, date.day, 2).c_str(),
        GanZhiText(date.year, date.month, date.day, 3).c_str());
    GetDayFestivals(date.year, date.month, date.day, tip.note, true, options.kinds);
    tip.holiday = UserDayText(date, options);
    return tip;
}

std::optional<DayTip> TipTexts(const MonthPage& page, int x, int y, const DayOptions& options)
{
    const std::optional<GridCell> cell = MonthPage::HoverTest(x, y);
    if (!cell) return std::nullopt;
    return DayTipTexts(page.CellAt(*cell), options);
}

std::optional<DayTip> TipTexts(int year, int month, int x, int y, const DayOptions& options)
{
    return TipTexts(MonthPage(year, month, 1), x, y, options);
}

}  // namespace qov
