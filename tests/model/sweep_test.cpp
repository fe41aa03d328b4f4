// Every page from December 1899 to February 2050 and every day on them:
// the models give sane, consistent results everywhere.
#include <gtest/gtest.h>

#include <string>

#include "lunar.h"
#include "model/daytexts.h"
#include "model/monthpage.h"
#include "model_test_support.h"

namespace qov {
namespace {

using testing_support::Days;
using testing_support::FromDays;
using testing_support::WeekdayOfDays;


// Calls f(year, month) for every page month of the range.
template <typename F>
void ForEachPage(F f)
{
    for (int y = 1899; y <= 2050; ++y)
        for (int m = 1; m <= 12; ++m)
            if ((y > 1899 || m == 12) && (y < 2050 || m <= 2)) f(y, m);
}

bool IsLunarSource(LowerTextSource s)
{
    return s == LowerTextSource::LunarFestival || s == LowerTextSource::LunarMonth ||
           s == LowerTextSource::LunarDay;
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(Sweep, PageCellsAreSane)
{
    int pages = 0;
    ForEachPage([&](int y, int m) {
        ++pages;
        const MonthPage page(y, m, (y * 7 + m * 5) % DaysInMonth(y, m) + 1);
        ASSERT_EQ(page.Year(), y);
        ASSERT_EQ(page.Month(), m);
        const PagePicture picture = PagePictureTexts(page);
        const long long first = Days(picture.cells[0].date);
        ASSERT_EQ(WeekdayOfDays(first), 0) << y << '-' << m;
        int selected = 0;
        for (int i = 0; i < grid::CellCount; ++i) {
            const DayCell& c = picture.cells[static_cast<std::size_t>(i)];
            const LunarDate lunar = ToLunar(c.date.year, c.date.month, c.date.day);
            SCOPED_TRACE(std::to_string(c.date.year) + '-' + std::to_string(c.date.month) + '-' +
                         std::to_string(c.date.day));
            ASSERT_EQ(c.date, FromDays(first + i));
            EXPECT_EQ(c.inMonth, c.date.month == m);
            EXPECT_EQ(c.dayText, std::to_string(c.date.day));
            EXPECT_LE(c.lowerText.size(), 12u);
            if (HasLunarDate(lunar)) {
                EXPECT_FALSE(c.lowerText.empty());
            } else {
                EXPECT_FALSE(IsLunarSource(c.source));
            }
            EXPECT_EQ(c.lowerText.empty(), c.source == LowerTextSource::None);
            if (!c.inMonth) {
                EXPECT_EQ(c.dayColor, colors::Grey);
            }
            selected += c.selected ? 1 : 0;
        }
        EXPECT_EQ(selected, 1);
        EXPECT_EQ(picture.cells[static_cast<std::size_t>(7 * page.SelectedCell().row + page.SelectedCell().column)].date,
                  page.Date());
        EXPECT_FALSE(picture.title.yearInfo.empty());
        EXPECT_EQ(picture.watermark.year, std::to_string(y));
        EXPECT_EQ(picture.watermark.month.size(), 2u);
    });
    EXPECT_EQ(pages, 1 + 150 * 12 + 2);
}

TEST(Sweep, PanelLinesAreSane)
{
    ForEachPage([](int y, int m) {
        for (int d = 1; d <= DaysInMonth(y, m); ++d) {
            const SolarDate date{y, m, d};
            const LunarDate lunar = ToLunar(y, m, d);
            const DayPanel panel = DayPanelTexts(date);
            SCOPED_TRACE(std::to_string(y) + '-' + std::to_string(m) + '-' + std::to_string(d));
            EXPECT_FALSE(panel.lines[0].Text().empty());
            EXPECT_FALSE(panel.lines[1].Text().empty());
            EXPECT_EQ(panel.lines[2].Text(), std::to_string(d));
            // Term line: two term names of two characters around the distances.
            ASSERT_EQ(panel.lines[4].runs.size(), 3u);
            EXPECT_EQ(panel.lines[4].runs[0].text.size(), 4u);
            EXPECT_EQ(panel.lines[4].runs[2].text.size(), 4u);
            EXPECT_FALSE(panel.lines[4].runs[1].text.empty());
            EXPECT_EQ(panel.lines[5].Text().empty(), !HasLunarDate(lunar));
            // "XX(X)年 XX月 XX日": three gan-zhi names and an animal.
            EXPECT_EQ(panel.lines[6].Text().size(), 24u);
            const std::string festivals = panel.lines[7].Text();
            EXPECT_LE(festivals.size(), 25u);
            if (festivals.size() > 20) {
                EXPECT_TRUE(EndsWith(festivals, "……"));
            }
        }
    });
}

TEST(Sweep, TipsAndClicksAreSane)
{
    ForEachPage([](int y, int m) {
        const MonthPage page(y, m, 1);
        for (int r = 0; r < grid::Rows; ++r) {
            for (int k = 0; k < grid::Columns; ++k) {
                const Rect cell = CellRect(r, k);
                const int x = (cell.left + cell.right) / 2;
                const int py = (cell.top + cell.bottom) / 2;
                const SolarDate date = page.CellAt(r, k);
                const std::optional<DayTip> tip = TipTexts(page, x, py);
                ASSERT_TRUE(tip.has_value());
                EXPECT_EQ(tip->date, date);
                EXPECT_FALSE(tip->line1.empty());
                EXPECT_FALSE(tip->line2.empty());
                EXPECT_EQ(tip->line3.empty(), !HasLunarDate(ToLunar(date.year, date.month, date.day)));
                EXPECT_FALSE(tip->line4.empty());

                const std::optional<GridCell> hit = MonthPage::HitTest(x, py);
                ASSERT_TRUE(hit.has_value());
                const MonthPage after = page.SelectCell(*hit);
                EXPECT_TRUE(after == page || after.Date() == date);
                EXPECT_GE(after.Day(), 1);
                EXPECT_LE(after.Day(), after.DaysInPage());
            }
        }
        for (const MonthPage& next : {page.PrevYear(), page.NextYear(), page.PrevMonth(), page.NextMonth()}) {
            EXPECT_GE(next.Day(), 1);
            EXPECT_LE(next.Day(), next.DaysInPage());
            EXPECT_GE(12 * next.Year() + next.Month(), 12 * 1899 + 12);
            EXPECT_LE(12 * next.Year() + next.Month(), 12 * 2050 + 2);
        }
    });
}

// Every lunar date the query lists offer exists and is found again.
TEST(Sweep, EveryListedLunarDateIsFound)
{
    QueryLists q({1900, 1, 1});
    q.OnLunarClicked();
    for (int yi = 0; yi < static_cast<int>(q.YearItems().size()); ++yi) {
        q.OnYearChosen(yi);
        for (int mi = 0; mi < static_cast<int>(q.MonthItems().size()); ++mi) {
            q.OnMonthChosen(mi);
            const QueryMonth month = q.CurrentMonth();
            for (int di = 0; di < static_cast<int>(q.DayItems().size()); ++di) {
                q.OnDayChosen(di);
                const std::optional<SolarDate> found = q.Query();
                ASSERT_TRUE(found.has_value())
                    << q.CurrentYear() << ' ' << q.MonthItems()[static_cast<std::size_t>(mi)] << ' ' << di + 1;
                const LunarDate back = ToLunar(found->year, found->month, found->day);
                EXPECT_EQ(back.year, q.CurrentYear());
                EXPECT_EQ(back.month, month.month);
                EXPECT_EQ(back.isLeap, month.leap);
                EXPECT_EQ(back.day, di + 1);
            }
        }
    }
}

}  // namespace
}  // namespace qov
