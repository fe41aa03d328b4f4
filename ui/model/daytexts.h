// The texts the main window paints and the hover tip shows, with their
// colours: title strip, watermark, the 42 grid cells, the day information
// panel and the tip. GBK bytes; the widgets decode them where they draw.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "festivals.h"
#include "gregorian.h"
#include "model/colors.h"
#include "model/holidays.h"
#include "model/monthpage.h"
#include "model/mydays.h"

namespace qov {

// What the cells, the panel, the tip and the screen-reader texts show
// besides the calendar itself: the holiday schedule, the kinds of named days
// switched on, the 休/班 marks and the user's own days. The defaults show
// today's look: the shipped schedule, every kind, the marks, no own days.
struct DayOptions {
    DayOptions() = default;
    // The schedule alone, everything else as by default.
    // Implicit, so that a call may pass a schedule where it passes options.
    DayOptions(const HolidayTable& table) : holidays(&table) { }

    const HolidayTable* holidays = &HolidayTable::Shipped();
    FestivalKinds kinds = AllFestivalKinds;
    bool holidayMarks = true;
    const MyDayList* myDays = nullptr;  // none when null

    bool Shows(FestivalKind kind) const noexcept { return (kinds & KindBit(kind)) != 0; }
    // The day's holiday as shown: none while the marks are off.
    HolidayInfo Holiday(const SolarDate& date) const noexcept
    {
        return holidayMarks ? holidays->Lookup(date) : HolidayInfo{};
    }
    // The user's days on a date, in file order.
    std::vector<MyDayHit> MyDaysOn(const SolarDate& date) const
    {
        return myDays != nullptr ? myDays->On(date) : std::vector<MyDayHit>{};
    }
};

struct TextRun {
    std::string text;  // GBK, or UTF-8 when `utf8`; "" draws nothing
    Rgb color;
    bool utf8 = false;  // a run with a holiday's name, which may be any text
};

// One panel line: its runs drawn side by side as one horizontally centred
// line (top-aligned, clipped to the line's rectangle in PanelLineRects).
struct PanelLine {
    std::vector<TextRun> runs;  // at least one

    // All runs joined.
    std::string Text() const;
};

// Index of the large day number in DayPanel::lines (drawn in the 72 px
// font; the other lines use the 13 px text font).
inline constexpr int PanelDayLine = 2;

// The eight lines of the day information panel, top to bottom:
// 0 "%d年%d月"; 1 weekday and constellation; 2 the day number;
// 3 lunar festival and solar term of the day, then the public holiday as a
// UTF-8 run: "国庆节假期" (red) on a day off, the festival left out where the
// holiday bears its name ("春节假期", not "春节 春节假期"), or "调休上班日"
// (grey-blue) on a make-up working day; 4 previous sectional term (red),
// "已过%d天 %d天后是" (grey), next sectional term (red); 5 the lunar date
// "农历　%s月%s %s日"; 6 gan-zhi year (animal), month and day; 7 the user's
// days with their "第 N 个" (a UTF-8 run), then the festival list, cut to
// about 20 bytes. A kind switched off leaves its names out; with the solar
// terms off, line 4 is empty.
struct DayPanel {
    std::array<PanelLine, 8> lines;
};

// Holiday arguments default to the shipped schedule; the window passes the
// schedule with the user's file applied.
DayPanel DayPanelTexts(const SolarDate& date, const DayOptions& options = {});

// The title strip, all white: the three selector labels and
// "%s 农历%s年 【%s】" (era label, gan-zhi year, animal of the year).
struct TitleStrip {
    std::string eraLabel;    // "公元", in title::EraLabel
    std::string yearLabel;   // "年", in title::YearLabel
    std::string monthLabel;  // "月", in title::MonthLabel
    std::string yearInfo;    // in title::YearInfo
};

TitleStrip TitleStripTexts(int year);

// Page year "%d" and month "%.2d", drawn in the watermark colour in
// grid::WatermarkYear and grid::WatermarkMonth.
struct Watermark {
    std::string year;
    std::string month;
};

Watermark WatermarkTexts(const MonthPage& page);

// Where a cell's lower text comes from, first match wins; a kind switched
// off is passed over.
enum class LowerTextSource {
    None,           // nothing to show (no lunar date and no festival)
    MyDay,          // the user's first day on the date, UTF-8
    LunarFestival,  // festival of the lunar date
    SolarTerm,      // solar term falling on the date
    DayFestivals,   // Gregorian and weekday-rule festivals of the date
    LunarMonth,     // lunar day 1: month name + "月", "闰" for a leap month
    LunarDay,       // lunar day name, 初二 .. 三十
};

// Everything one grid cell shows.
struct DayCell {
    SolarDate date;
    bool inMonth = false;   // the date lies in the page month
    bool selected = false;  // in-month cell of the selected day: gets the selection fill
    bool today = false;     // the local date today, in or outside the page month: gets a ring
    std::string dayText;    // "%d", in the upper rectangle
    Rgb dayColor;
    std::string lowerText;   // shortened to at most 12 bytes, in the lower rectangle
    bool lowerUtf8 = false;  // lowerText is a user's day name (shortened to 12 units)
    Rgb lowerColor;
    LowerTextSource source = LowerTextSource::None;
    DayOff dayOff = DayOff::None;  // badge "休" / "班" in the top-right corner
    Rgb badgeColor;                // its fill (the mark is white); paler outside the month
};

// Cell (row 0..5, column 0..6) of the page; the day number keeps the
// weekend colours of its weekday in whichever column it stands.
DayCell CellContents(const MonthPage& page, int row, int column, const DayOptions& options = {});
// All 42 cells, row by row (index 7 * row + column).
std::array<DayCell, grid::CellCount> PageCells(
    const MonthPage& page, const DayOptions& options = {});

// Everything painted for one page outside the child controls.
struct PagePicture {
    WeekStart weekStart = WeekStart::Sunday;  // the weekday header's order
    TitleStrip title;
    Watermark watermark;
    std::array<DayCell, grid::CellCount> cells;
    DayPanel panel;
};

// `today` marks the cell showing that date, wherever it appears in the grid;
// none marks no cell.
PagePicture PagePictureTexts(const MonthPage& page, const DayOptions& options = {},
    std::optional<SolarDate> today = std::nullopt);

// The tray icon's tip for a date, one item a line: "2026年12月7日 星期一",
// "农历十月廿九", then the solar term, the festivals and the public holiday
// ("国庆节 休"), each line only when the day has it; kinds switched off are
// left out. GBK except the last line, which is UTF-8 like the user's texts.
struct TrayTip {
    std::vector<std::string> lines;  // GBK
    std::string holiday;             // UTF-8, as UserDayText; "" on other days
};
TrayTip TrayTipTexts(const SolarDate& date, const DayOptions& options = {});

// The five texts of the hover tip for one date.
struct DayTip {
    SolarDate date;
    std::string line1;  // "%d 年 %d 月 %d 日"
    std::string line2;  // weekday name
    std::string line3;  // "农历 %d 月 %d 日" / "农历 闰%d 月 %d 日"; "" without a lunar date
    std::string line4;  // "%s年 %s月 %s日" (gan-zhi)
    std::string note;   // festival list with solar term and lunar festival; may be ""
    // UTF-8, shown at the start of the note: the user's days of the date
    // ("外婆生日 第79个"), then "国庆节 休" on a day off or "国庆节 调休上班"
    // on a make-up working day; "" when there is none of them.
    std::string holiday;
};

// "国庆节 休" on a day off, "国庆节 调休上班" on a make-up working day, ""
// otherwise: UTF-8, for the tip and for screen readers.
std::string HolidayText(const HolidayInfo& holiday);

DayTip DayTipTexts(const SolarDate& date, const DayOptions& options = {});
// The user's days and the holiday of a date as the tip and screen readers
// give them, UTF-8 (DayTip::holiday).
std::string UserDayText(const SolarDate& date, const DayOptions& options);
// The tip for a client point over the grid of the page (year, month); none
// outside grid::HoverArea (the tip is then hidden).
std::optional<DayTip> TipTexts(int year, int month, int x, int y, const DayOptions& options = {});
std::optional<DayTip> TipTexts(const MonthPage& page, int x, int y, const DayOptions& options = {});

// Cell shortening: a text of more than 12 bytes becomes its first four
// characters (a byte >= 0x80 and the next one form one character) and "…".
std::string ShortenCellText(std::string_view text);
// The same for a user's UTF-8 name: more than 12 half-width units (an ASCII
// character one, any other two) become the first 8 units and "…".
std::string ShortenUtf8CellText(std::string_view utf8);
// Panel festival-list cut: more than 20 bytes are cut after the character
// that reaches 20 bytes (so 20 or 21 bytes) and followed by "……".
std::string CutFestivalList(std::string_view text);

}  // namespace qov
