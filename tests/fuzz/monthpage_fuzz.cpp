// Command sequences on the month page, as the window's buttons, boxes,
// clicks and hover send them and with arbitrary arguments besides: after
// every step the page keeps its invariants and every text drawn for it is
// well-formed GBK within its cut.
#include <string>

#include "calendar.h"
#include "fuzz_common.h"
#include "model/daytexts.h"
#include "model/monthpage.h"

namespace {

using namespace qov;
using qov::fuzz::EdgyInt;
using qov::fuzz::IsGbkText;
using qov::fuzz::Utf8Chars;

void CheckTip(const DayTip& tip)
{
    for (const std::string* line : {&tip.line1, &tip.line2, &tip.line3, &tip.line4, &tip.note})
        QOV_CHECK(IsGbkText(*line) && line->size() < 200);
    QOV_CHECK(Utf8Chars(tip.holiday) >= 0 && tip.holiday.size() < 200);
}

void CheckPanel(const DayPanel& panel)
{
    for (const PanelLine& line : panel.lines) {
        QOV_CHECK(!line.runs.empty());
        for (const TextRun& run : line.runs) {
            QOV_CHECK(run.utf8 ? Utf8Chars(run.text) >= 0 : IsGbkText(run.text));
            QOV_CHECK(run.text.size() < 128);
        }
    }
    // The festival list is cut after 20 or 21 bytes and followed by "……".
    for (const TextRun& run : panel.lines[7].runs)
        if (!run.utf8) QOV_CHECK(run.text.size() <= 25);
}

void CheckPage(const MonthPage& page)
{
    QOV_CHECK(page.Year() >= FirstPageYear - 1 && page.Year() <= LastPageYear + 1);
    QOV_CHECK(page.Day() >= 1 && page.Day() <= page.DaysInPage());
    QOV_CHECK(page.DaysInPage() == DaysInMonth(page.Year(), page.Month()));
    QOV_CHECK(page.FirstWeekday() == DayOfWeek(page.Year(), page.Month(), 1));

    // 42 consecutive days from a Sunday, the page month among them in place.
    const SolarDate first = page.CellAt(0, 0);
    QOV_CHECK(DayOfWeek(first.year, first.month, first.day) == 0);
    const int firstNumber = DayNumber(first.year, first.month, first.day);
    const std::array<DayCell, grid::CellCount> cells = PageCells(page);
    for (int i = 0; i < grid::CellCount; ++i) {
        const DayCell& cell = cells[static_cast<std::size_t>(i)];
        const SolarDate d = cell.date;
        QOV_CHECK(d == page.CellAt(i / grid::Columns, i % grid::Columns));
        QOV_CHECK(DayNumber(d.year, d.month, d.day) == firstNumber + i);
        QOV_CHECK(cell.inMonth == (d.year == page.Year() && d.month == page.Month()));
        QOV_CHECK(cell.selected == (cell.inMonth && d.day == page.Day()));
        // Shortened to four characters and "…" above 12 bytes.
        QOV_CHECK(IsGbkText(cell.lowerText) && cell.lowerText.size() <= 12);
    }
    const GridCell selected = page.SelectedCell();
    QOV_CHECK(page.CellAt(selected) == page.Date());

    const TitleStrip title = TitleStripTexts(page.Year());
    QOV_CHECK(IsGbkText(title.yearInfo) && title.yearInfo.size() < 64);
    const Watermark mark = WatermarkTexts(page);
    QOV_CHECK(mark.year.size() == 4 && mark.month.size() == 2);
    CheckPanel(DayPanelTexts(page.Date()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    MonthPage page(SolarDate{EdgyInt(in), EdgyInt(in), EdgyInt(in)});
    MonthPage before = page;
    CheckPage(page);
    const auto after = [&] {
        if (page != before) CheckPage(page);
        before = page;
    };
    qov::fuzz::Steps(in, 64, after,
        {
            [&] { page = in.ConsumeBool() ? page.PrevYear() : page.NextYear(); },
            [&] { page = in.ConsumeBool() ? page.PrevMonth() : page.NextMonth(); },
            [&] { page = page.GoToday(); },
            [&] { page = MonthPage(EdgyInt(in), EdgyInt(in), EdgyInt(in)); },
            [&] { page = page.SetYear(EdgyInt(in)); },
            [&] { page = page.SetMonth(EdgyInt(in)); },
            [&] { page = page.SelectCell(EdgyInt(in), EdgyInt(in)); },
            [&] {  // a click anywhere on the window
                const int x = in.ConsumeIntegralInRange(-10, 700),
                          y = in.ConsumeIntegralInRange(-10, 400);
                if (const auto cell = MonthPage::HitTest(x, y)) page = page.SelectCell(*cell);
            },
            [&] {  // the tip for a pointer position, over any page numbers
                const int x = EdgyInt(in), y = EdgyInt(in);
                if (const auto tip = TipTexts(EdgyInt(in), EdgyInt(in), x, y)) CheckTip(*tip);
                if (const auto tip = TipTexts(page, x, y)) CheckTip(*tip);
            },
            [&] {  // texts of any date at all
                const SolarDate any{EdgyInt(in), EdgyInt(in), EdgyInt(in)};
                CheckPanel(DayPanelTexts(any));
                CheckTip(DayTipTexts(any));
                QOV_CHECK(IsGbkText(TitleStripTexts(any.year).yearInfo));
            },
        });
    return 0;
}
