// MonthPage: navigation, grid contents, hit tests and cell selection.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "model/monthpage.h"
#include "model_test_support.h"

namespace qov {
namespace {

// Test rows print as their names.
template <typename Row>
    requires requires(const Row& r) { r.name; }
void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

using testing_support::Days;
using testing_support::FromDays;
using testing_support::WeekdayOfDays;

// ---- navigation -----------------------------------------------------------

struct NavigationRow {
    const char* name;
    SolarDate start;
    std::function<MonthPage(const MonthPage&)> command;
    SolarDate expected;
};

class Navigation : public ::testing::TestWithParam<NavigationRow> {};

TEST_P(Navigation, LandsOnExpectedDate)
{
    const NavigationRow& row = GetParam();
    const MonthPage page(row.start);
    ASSERT_EQ(page.Date(), row.start) << "start date must be a valid page date";
    EXPECT_EQ(row.command(page).Date(), row.expected);
}

const NavigationRow NavigationRows[] = {
    // Day clamping into the new month (2008 is a leap year, 2009 is not).
    {"Mar31PrevMonthLeapYear", {2008, 3, 31}, &MonthPage::PrevMonth, {2008, 2, 29}},
    {"Mar31PrevMonthCommonYear", {2009, 3, 31}, &MonthPage::PrevMonth, {2009, 2, 28}},
    {"Jan31NextMonth", {2009, 1, 31}, &MonthPage::NextMonth, {2009, 2, 28}},
    {"Jan31SetMonthFebLeap", {2008, 1, 31}, [](const MonthPage& p) { return p.SetMonth(2); }, {2008, 2, 29}},
    {"Jan31SetMonthFebCommon", {2009, 1, 31}, [](const MonthPage& p) { return p.SetMonth(2); }, {2009, 2, 28}},
    {"Feb29NextYear", {2008, 2, 29}, &MonthPage::NextYear, {2009, 2, 28}},
    {"Feb29PrevYear", {2008, 2, 29}, &MonthPage::PrevYear, {2007, 2, 28}},
    {"May31SetMonthJune", {2009, 5, 31}, [](const MonthPage& p) { return p.SetMonth(6); }, {2009, 6, 30}},
    {"SetYearKeepsMonthAndDay", {2009, 5, 31}, [](const MonthPage& p) { return p.SetYear(1950); }, {1950, 5, 31}},
    // No carry across the year ends.
    {"JanuaryPrevMonthStays", {2009, 1, 15}, &MonthPage::PrevMonth, {2009, 1, 15}},
    {"DecemberNextMonthStays", {2009, 12, 15}, &MonthPage::NextMonth, {2009, 12, 15}},
    // Year bounds of the arrows and the boxes.
    {"PrevYearAt1900Stays", {1900, 6, 30}, &MonthPage::PrevYear, {1900, 6, 30}},
    {"NextYearAt2049Stays", {2049, 6, 30}, &MonthPage::NextYear, {2049, 6, 30}},
    {"PrevYearFrom1901", {1901, 3, 1}, &MonthPage::PrevYear, {1900, 3, 1}},
    {"NextYearFrom2048", {2048, 2, 29}, &MonthPage::NextYear, {2049, 2, 28}},
    {"SetYearBelowRange", {2009, 7, 4}, [](const MonthPage& p) { return p.SetYear(1850); }, {1900, 7, 4}},
    {"SetYearAboveRange", {2009, 7, 4}, [](const MonthPage& p) { return p.SetYear(2100); }, {2049, 7, 4}},
    {"SetMonthOutOfRange", {2009, 7, 4}, [](const MonthPage& p) { return p.SetMonth(13); }, {2009, 12, 4}},
    // Pages just outside 1900..2049 (reached by neighbouring-cell clicks).
    {"Dec1899PrevMonthStays", {1899, 12, 31}, &MonthPage::PrevMonth, {1899, 12, 31}},
    {"Dec1899PrevYearStays", {1899, 12, 31}, &MonthPage::PrevYear, {1899, 12, 31}},
    {"Dec1899NextYear", {1899, 12, 31}, &MonthPage::NextYear, {1900, 12, 31}},
    {"Dec1899SetMonthStaysInRange", {1899, 12, 5}, [](const MonthPage& p) { return p.SetMonth(5); }, {1899, 12, 5}},
    {"Jan2050NextMonth", {2050, 1, 31}, &MonthPage::NextMonth, {2050, 2, 28}},
    {"Feb2050NextMonthStays", {2050, 2, 10}, &MonthPage::NextMonth, {2050, 2, 10}},
    {"Feb2050NextYearStays", {2050, 2, 10}, &MonthPage::NextYear, {2050, 2, 10}},
    {"Feb2050PrevYear", {2050, 2, 10}, &MonthPage::PrevYear, {2049, 2, 10}},
};

INSTANTIATE_TEST_SUITE_P(MonthPage, Navigation, ::testing::ValuesIn(NavigationRows),
                         [](const auto& p) { return std::string(p.param.name); });

struct ConstructionRow {
    const char* name;
    SolarDate given;
    SolarDate expected;
};

class Construction : public ::testing::TestWithParam<ConstructionRow> {};

TEST_P(Construction, KeepsTheInvariant)
{
    EXPECT_EQ(MonthPage(GetParam().given).Date(), GetParam().expected);
}

const ConstructionRow ConstructionRows[] = {
    {"ValidDate", {2009, 10, 1}, {2009, 10, 1}},
    {"DayPastMonthEnd", {2009, 2, 31}, {2009, 2, 28}},
    {"DayZero", {2009, 2, 0}, {2009, 2, 1}},
    {"MonthZero", {2009, 0, 10}, {2009, 1, 10}},
    {"BeforeFirstPage", {1850, 6, 10}, {1899, 12, 10}},
    {"AfterLastPage", {2099, 6, 30}, {2050, 2, 28}},
};

INSTANTIATE_TEST_SUITE_P(MonthPage, Construction, ::testing::ValuesIn(ConstructionRows),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(MonthPageToday, GoTodayGivesTheLocalDate)
{
    const SolarDate today = Today();
    const MonthPage page = MonthPage(1950, 3, 3).GoToday();
    if (today.year >= FirstPageYear && today.year <= LastPageYear) {
        EXPECT_EQ(page.Date(), today);
    }
    EXPECT_GE(page.Year(), FirstPageYear);
    EXPECT_LE(page.Year(), LastPageYear);
}

// ---- grid contents --------------------------------------------------------

struct GridRow {
    const char* name;
    int year;
    int month;
    SolarDate first;      // cell (0, 0)
    SolarDate dayOne;     // where day 1 of the page month sits ...
    GridCell dayOneCell;  // ... and its cell
    SolarDate last;       // cell (5, 6)
};

class Grid : public ::testing::TestWithParam<GridRow> {};

TEST_P(Grid, CellsHoldTheExpectedDates)
{
    const GridRow& row = GetParam();
    const MonthPage page(row.year, row.month, 1);
    EXPECT_EQ(page.CellAt(0, 0), row.first);
    EXPECT_EQ(page.CellAt(row.dayOneCell), row.dayOne);
    EXPECT_EQ(page.CellAt(5, 6), row.last);
}

TEST_P(Grid, CellsAreFortyTwoConsecutiveDaysFromASunday)
{
    const GridRow& row = GetParam();
    const MonthPage page(row.year, row.month, 1);
    const long long first = Days(page.CellAt(0, 0));
    EXPECT_EQ(WeekdayOfDays(first), 0);
    for (int r = 0; r < grid::Rows; ++r)
        for (int k = 0; k < grid::Columns; ++k)
            EXPECT_EQ(page.CellAt(r, k), FromDays(first + 7 * r + k)) << r << ',' << k;
}

// Weekdays of the first days from a perpetual calendar: 1 February 2009 and
// 1 March 2009 were Sundays, 1 August 2009 a Saturday, 1 January 1900 a
// Monday, 1 December 2049 a Wednesday, 1 December 1899 a Friday, 1 January
// 2050 a Saturday.
const GridRow GridRows[] = {
    {"Feb2009StartsOnSunday", 2009, 2, {2009, 2, 1}, {2009, 2, 1}, {0, 0}, {2009, 3, 14}},
    {"Mar2009StartsOnSunday", 2009, 3, {2009, 3, 1}, {2009, 3, 1}, {0, 0}, {2009, 4, 11}},
    {"Aug2009StartsOnSaturday", 2009, 8, {2009, 7, 26}, {2009, 8, 1}, {0, 6}, {2009, 9, 5}},
    {"Jan1900", 1900, 1, {1899, 12, 31}, {1900, 1, 1}, {0, 1}, {1900, 2, 10}},
    {"Dec1899", 1899, 12, {1899, 11, 26}, {1899, 12, 1}, {0, 5}, {1900, 1, 6}},
    {"Dec2049", 2049, 12, {2049, 11, 28}, {2049, 12, 1}, {0, 3}, {2050, 1, 8}},
    {"Jan2050StartsOnSaturday", 2050, 1, {2049, 12, 26}, {2050, 1, 1}, {0, 6}, {2050, 2, 5}},
};

INSTANTIATE_TEST_SUITE_P(MonthPage, Grid, ::testing::ValuesIn(GridRows),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(MonthPageGrid, SelectedCellShowsTheSelectedDay)
{
    for (const SolarDate d : {SolarDate{2009, 2, 1}, SolarDate{2009, 2, 28}, SolarDate{2009, 8, 31},
                              SolarDate{2009, 8, 1}, SolarDate{1899, 12, 31}, SolarDate{2050, 2, 28}}) {
        const MonthPage page(d);
        EXPECT_EQ(page.CellAt(page.SelectedCell()), d);
    }
}

// ---- hit tests ------------------------------------------------------------

struct HitRow {
    const char* name;
    int x;
    int y;
    std::optional<GridCell> click;
    std::optional<GridCell> hover;
};

class HitTests : public ::testing::TestWithParam<HitRow> {};

TEST_P(HitTests, ClickAndHoverAreas)
{
    const HitRow& row = GetParam();
    EXPECT_EQ(MonthPage::HitTest(row.x, row.y), row.click);
    EXPECT_EQ(MonthPage::HoverTest(row.x, row.y), row.hover);
}

const HitRow HitRows[] = {
    {"TopLeftPixel", 5, 52, GridCell{0, 0}, std::nullopt},
    {"FirstHoverPixel", 6, 53, GridCell{0, 0}, GridCell{0, 0}},
    {"LeftOfGrid", 4, 100, std::nullopt, std::nullopt},
    {"AboveGrid", 100, 51, std::nullopt, std::nullopt},
    {"LastPixelOfColumn0", 74, 60, GridCell{0, 0}, GridCell{0, 0}},
    {"FirstPixelOfColumn1", 75, 60, GridCell{0, 1}, GridCell{0, 1}},
    {"LastPixelOfRow0", 100, 101, GridCell{0, 1}, GridCell{0, 1}},
    {"FirstPixelOfRow1", 100, 102, GridCell{1, 1}, GridCell{1, 1}},
    {"X490IsSaturdayBoth", 490, 200, GridCell{2, 6}, GridCell{2, 6}},
    {"X491ClickOnly", 491, 200, GridCell{2, 6}, std::nullopt},
    {"X492SelectsSaturday", 492, 300, GridCell{4, 6}, std::nullopt},
    {"X493Outside", 493, 300, std::nullopt, std::nullopt},
    {"Y351LastRow", 300, 351, GridCell{5, 4}, GridCell{5, 4}},
    {"Y352Outside", 300, 352, std::nullopt, std::nullopt},
    {"Y353Outside", 300, 353, std::nullopt, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(MonthPage, HitTests, ::testing::ValuesIn(HitRows),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(MonthPageHitTest, X492SelectsTheSaturdayOfEveryRow)
{
    const MonthPage page(2009, 8, 12);
    for (int y = grid::Top; y < grid::ClickArea.bottom; y += 7) {
        const auto cell = MonthPage::HitTest(492, y);
        ASSERT_TRUE(cell.has_value()) << y;
        const SolarDate d = page.SelectCell(*cell).Date();
        EXPECT_EQ(DayOfWeek(d.year, d.month, d.day), 6) << y;
        EXPECT_EQ(d, page.CellAt(*cell)) << y;
    }
}

// ---- selecting cells ------------------------------------------------------

struct SelectRow {
    const char* name;
    SolarDate page;
    GridCell cell;
    SolarDate expected;
};

class SelectCell : public ::testing::TestWithParam<SelectRow> {};

TEST_P(SelectCell, MovesToTheCellsDate)
{
    const SelectRow& row = GetParam();
    const MonthPage after = MonthPage(row.page).SelectCell(row.cell);
    EXPECT_EQ(after.Date(), row.expected);
    EXPECT_TRUE(after.IsInMonth(after.Date()));
}

const SelectRow SelectRows[] = {
    {"InMonth", {2009, 8, 12}, {2, 3}, {2009, 8, 12}},
    {"LeadingCellPrevMonth", {2009, 8, 12}, {0, 0}, {2009, 7, 26}},
    {"TrailingCellNextMonth", {2009, 8, 12}, {5, 6}, {2009, 9, 5}},
    // 1 December 2009 was a Tuesday: the page ends with 1..9 January 2010.
    {"DecemberTrailingCellIsNextJanuary", {2009, 12, 31}, {5, 6}, {2010, 1, 9}},
    // 1 January 2010 was a Friday: five leading days of December 2009.
    {"JanuaryLeadingCellIsPrevDecember", {2010, 1, 1}, {0, 0}, {2009, 12, 27}},
    {"Jan1900LeadingCellIs1899", {1900, 1, 1}, {0, 0}, {1899, 12, 31}},
    {"Dec2049TrailingCellIs2050", {2049, 12, 1}, {5, 6}, {2050, 1, 8}},
    {"Jan2050TrailingCellIsFeb2050", {2050, 1, 1}, {5, 6}, {2050, 2, 5}},
    // Pages stop at December 1899 and February 2050.
    {"Dec1899LeadingNovemberIgnored", {1899, 12, 3}, {0, 0}, {1899, 12, 3}},
    {"Dec1899TrailingJanuary1900", {1899, 12, 3}, {5, 6}, {1900, 1, 6}},
    {"Feb2050TrailingMarchIgnored", {2050, 2, 3}, {5, 6}, {2050, 2, 3}},
    {"OutsideTheGridIgnored", {2009, 8, 12}, {6, 0}, {2009, 8, 12}},
};

INSTANTIATE_TEST_SUITE_P(MonthPage, SelectCell, ::testing::ValuesIn(SelectRows),
                         [](const auto& p) { return std::string(p.param.name); });

// ---- day difference -------------------------------------------------------

struct DifferenceRow {
    const char* name;
    SolarDate start;
    SolarDate end;
    int days;
};

class DayDifference : public ::testing::TestWithParam<DifferenceRow> {};

TEST_P(DayDifference, CountsDaysFromStartToEnd)
{
    EXPECT_EQ(DayDifferenceBetween(GetParam().start, GetParam().end), GetParam().days);
}

const DifferenceRow DifferenceRows[] = {
    {"WholeYear2009", {2009, 1, 1}, {2009, 12, 31}, 364},
    {"AcrossLeapDay", {2008, 2, 28}, {2008, 3, 1}, 2},
    {"EndBeforeStart", {2009, 3, 1}, {2009, 2, 28}, -1},
    {"SameDate", {2009, 7, 7}, {2009, 7, 7}, 0},
    {"Century2000IsLeap", {2000, 2, 28}, {2000, 3, 1}, 2},
    {"Century1900IsNot", {1900, 2, 28}, {1900, 3, 1}, 1},
};

INSTANTIATE_TEST_SUITE_P(MonthPage, DayDifference, ::testing::ValuesIn(DifferenceRows),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace qov
