// The month page, the quick query and the date field at the edges of int:
// every argument keeps the models' invariants and gives the neutral answer.
#include <gtest/gtest.h>

#include <climits>
#include <ostream>

#include "model/dateentry.h"
#include "model/daytexts.h"
#include "model/monthpage.h"

namespace qov {

void PrintTo(SolarDate d, std::ostream* o);

namespace {

// The page lies in the page range and its day in its month.
void ExpectValidPage(const MonthPage& page)
{
    EXPECT_GE(page.Year(), FirstPageYear - 1);
    EXPECT_LE(page.Year(), LastPageYear + 1);
    EXPECT_TRUE(page.Month() >= 1 && page.Month() <= 12) << page.Month();
    EXPECT_TRUE(page.Day() >= 1 && page.Day() <= page.DaysInPage()) << page.Day();
}

TEST(Total, MonthPageAtExtremeArguments)
{
    // Far outside the range every date lands on the same end page as one a
    // century past it; 12 * year would overflow for the first rows.
    const MonthPage late(LastPageYear + 100, 1, 1), early(FirstPageYear - 100, 1, 1);
    // clang-format off
    const struct { const char* name; SolarDate date; MonthPage expected; } rows[] = {
        {"YearIntMax", {INT_MAX, 1, 1}, late},
        {"YearIntMin", {INT_MIN, 1, 1}, early},
        {"AllIntMin", {INT_MIN, INT_MIN, INT_MIN}, early},
        {"AllIntMax", {INT_MAX, INT_MAX, INT_MAX}, MonthPage(late.Year(), late.Month(), 31)},
        {"MonthAndDayOutside", {2009, INT_MAX, INT_MIN}, MonthPage(2009, 12, 1)},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const MonthPage page(row.date);
        EXPECT_EQ(page.Date(), row.expected.Date());
        ExpectValidPage(page);
        ExpectValidPage(page.SetYear(INT_MIN));
        ExpectValidPage(page.SetMonth(INT_MAX));
        // Cells outside the grid: the selected date, an unchanged page.
        for (const auto& [r, c] : {std::pair{INT_MAX, 0}, {0, INT_MIN}, {-1, 3}, {6, 0}, {0, 7}}) {
            EXPECT_EQ(page.CellAt(r, c), page.Date()) << r << "," << c;
            EXPECT_EQ(page.SelectCell(r, c), page) << r << "," << c;
        }
    }
    EXPECT_FALSE(MonthPage::HitTest(INT_MIN, INT_MAX));
    EXPECT_FALSE(MonthPage::HoverTest(INT_MAX, INT_MIN));
}

// The tip over a page given by extreme numbers is the tip of the end page.
TEST(Total, TipTextsAtExtremePages)
{
    const int x = 250, y = 200;  // inside the hover area
    const auto late = TipTexts(LastPageYear + 100, 1, x, y);
    const auto early = TipTexts(FirstPageYear - 100, 1, x, y);
    ASSERT_TRUE(late && early);
    EXPECT_EQ(TipTexts(INT_MAX, 1, x, y)->date, late->date);
    EXPECT_EQ(TipTexts(INT_MAX, INT_MAX, x, y)->date, TipTexts(LastPageYear + 100, 12, x, y)->date);
    EXPECT_EQ(TipTexts(INT_MIN, INT_MIN, x, y)->date, early->date);
    EXPECT_FALSE(TipTexts(INT_MAX, INT_MAX, INT_MAX, INT_MIN));
}

// Texts of dates no page shows: well formed, and nothing the engine cannot
// name (no lunar date, no gan-zhi, no solar term).
TEST(Total, TextsOfExtremeDates)
{
    for (const SolarDate date : {SolarDate{INT_MAX, INT_MAX, INT_MAX}, SolarDate{INT_MIN, 1, 1},
             SolarDate{65535, 1, 1}, SolarDate{-30000, 2, 4}, SolarDate{2009, 13, 0}}) {
        SCOPED_TRACE(testing::PrintToString(date));
        const DayPanel panel = DayPanelTexts(date);
        EXPECT_EQ(panel.lines[5].Text(), "");  // the lunar date
        const DayTip tip = DayTipTexts(date);
        EXPECT_EQ(tip.line3, "");
        EXPECT_EQ(tip.line4, "年 月 日");  // no gan-zhi names
    }
}

TEST(Total, FieldAtXWithoutOverflow)
{
    const int nearEnd[3] = {INT_MAX - 1, INT_MAX, INT_MAX};
    const int spread[3] = {INT_MIN, 0, 100};
    // clang-format off
    const struct { const char* name; int x; const int (&starts)[3]; int four, two, field; } rows[] = {
        {"ZoneReachingPastIntMax", INT_MAX, nearEnd, INT_MAX, INT_MAX, 1},
        {"LeftOfEveryZone", INT_MIN, nearEnd, INT_MAX, INT_MAX, 0},
        {"NegativeWidthsHoldNothing", 100, spread, INT_MIN, INT_MIN, 0},
        {"YearZoneFromIntMin", -5, spread, INT_MAX, 8, 1},
        {"DayZoneEnd", 108, spread, 0, 8, 3},
    };
    // clang-format on
    for (const auto& row : rows)
        EXPECT_EQ(DateEntry::FieldAtX(row.x, row.starts, row.four, row.two), row.field) << row.name;
}

TEST(Total, QueryListsIgnoreExtremeChoices)
{
    for (const SolarDate start : {SolarDate{INT_MAX, INT_MAX, INT_MAX}, SolarDate{INT_MIN, 0, 0}}) {
        QueryLists lists(start);
        for (const bool lunar : {false, true}) {
            if (lunar) lists.OnLunarClicked();
            const QueryLists before = lists;
            for (const int index : {INT_MIN, -1, INT_MAX}) {
                lists.OnYearChosen(index);
                lists.OnMonthChosen(index);
                lists.OnDayChosen(index);
            }
            EXPECT_EQ(lists.YearIndex(), before.YearIndex());
            EXPECT_EQ(lists.MonthIndex(), before.MonthIndex());
            EXPECT_EQ(lists.DayIndex(), before.DayIndex());
            const std::optional<SolarDate> date = lists.Query();
            ASSERT_TRUE(date);
            EXPECT_TRUE(date->day >= 1 && date->day <= DaysInMonth(date->year, date->month));
        }
        // Rebuilding for years and months no list holds keeps a usable list.
        EXPECT_EQ(lists.RebuildQueryDays(INT_MAX, INT_MAX, true, true), lists.CurrentDay());
        EXPECT_EQ(lists.DayItems().size(), 29u);  // no lunar table there: 29 days
        EXPECT_FALSE(lists.RebuildQueryMonths(INT_MIN, true).leap);
        EXPECT_EQ(lists.MonthItems().size(), 12u);
    }
}

}  // namespace
}  // namespace qov
