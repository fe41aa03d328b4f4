// Sweeps: every page from December 1899 to February 2050 with its cells,
// panels, tips and clicks; every lunar date there and back.
#include <optional>
#include <string>
#include <vector>

#include "lunar.h"
#include "model/daytexts.h"
#include "model/monthpage.h"
#include "model_test_support.h"

namespace qov {
namespace {

// Days since 1970-01-01 (a Thursday) by the civil-day algorithm, independent
// of the models.
long long Days(const SolarDate& d)
{
    return DaysFromCivil(d.year, static_cast<unsigned>(d.month), static_cast<unsigned>(d.day));
}

TEST(Sweep, EveryPage)
{
    int pages = 0;
    for (int y = 1899; y <= 2050; ++y) {
        for (int m = (y == 1899 ? 12 : 1); m <= (y == 2050 ? 2 : 12); ++m, ++pages) {
            const MonthPage page(y, m, (y * 7 + m * 5) % DaysInMonth(y, m) + 1);
            const PagePicture picture = PagePictureTexts(page);
            const std::string ym = std::to_string(y) + (m < 10 ? "-0" : "-") + std::to_string(m);
            SCOPED_TRACE(ym);
            EXPECT_EQ(picture.watermark.year + '-' + picture.watermark.month, ym);
            const long long first = Days(picture.cells[0].date);
            ASSERT_EQ(((first + 4) % 7 + 7) % 7, 0);  // a Sunday
            int saturdays = 0;
            for (std::size_t i = 0; i < picture.cells.size(); ++i) {
                const DayCell& c = picture.cells[i];
                SCOPED_TRACE(::testing::PrintToString(c.date));
                const bool lunar = HasLunarDate(ToLunar(c.date.year, c.date.month, c.date.day));
                ASSERT_EQ(Days(c.date), first + static_cast<long long>(i));
                EXPECT_EQ(c.inMonth, c.date.month == m);
                EXPECT_EQ(c.dayText, std::to_string(c.date.day));
                EXPECT_LE(c.lowerText.size(), 12u);
                using enum LowerTextSource;
                EXPECT_EQ(c.lowerText.empty(), c.source == None);
                const bool fromLunar =
                    c.source == LunarFestival || c.source == LunarMonth || c.source == LunarDay;
                EXPECT_TRUE(lunar ? !c.lowerText.empty() : !fromLunar);
                // Sundays red, Saturdays green and red by turns, neighbouring days grey.
                const std::size_t weekday = i % 7;
                const Rgb day = !c.inMonth ? colors::Grey
                    : weekday == 0         ? colors::Red
                    : weekday < 6          ? colors::Black
                    : saturdays++ % 2 == 0 ? colors::Green
                                           : colors::Red;
                EXPECT_EQ(c.dayColor, day);
                EXPECT_EQ(c.selected, c.inMonth && c.date == page.Date());

                const Rect r = CellRect(static_cast<int>(i / 7), static_cast<int>(weekday));
                const int x = (r.left + r.right) / 2, py = (r.top + r.bottom) / 2;
                const std::optional<DayTip> tip = TipTexts(page, x, py);
                ASSERT_TRUE(tip.has_value());
                EXPECT_EQ(tip->date, c.date);
                EXPECT_EQ(tip->line3.empty(), !lunar);
                const MonthPage after = page.SelectCell(*MonthPage::HitTest(x, py));
                EXPECT_TRUE(after == page || after.Date() == c.date);
                if (!c.inMonth) continue;

                const DayPanel panel = DayPanelTexts(c.date);
                EXPECT_EQ(panel.lines[PanelDayLine].Text(), c.dayText);
                // Two sectional terms, two characters each, around the grey distances.
                const std::vector<TextRun>& terms = panel.lines[4].runs;
                ASSERT_EQ(terms.size(), 3u);
                EXPECT_EQ(terms[0].text.size() + terms[2].text.size(), 8u);
                EXPECT_EQ(terms[1].color, colors::Grey);
                EXPECT_EQ(panel.lines[5].Text().empty(), !lunar);
                EXPECT_EQ(panel.lines[6].Text().size(), 24u);  // "XX(X)年 XX月 XX日"
                const std::string list = panel.lines[7].Text();
                EXPECT_TRUE(list.size() <= 20 || (list.size() <= 25 && list.ends_with("……")));
            }
            for (const MonthPage& next :
                {page.PrevYear(), page.NextYear(), page.PrevMonth(), page.NextMonth()})
                EXPECT_EQ(MonthPage(next.Date()), next);  // still a valid page
        }
    }
    EXPECT_EQ(pages, 1 + 150 * 12 + 2);
}

// Gregorian -> lunar -> FindSolarDate for every day of lunar 1900 .. 2049; day 30
// of every 29-day lunar month is not found.
TEST(Sweep, LunarRoundTrip)
{
    LunarDate previous{};
    long long days = 0;
    for (int y = 1900; y <= 2050; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                const LunarDate l = ToLunar(y, m, d);
                if (!HasLunarDate(l) || l.year > 2049) continue;  // the query's years
                ++days;
                ASSERT_EQ(FindSolarDate(l.year, l.month, l.day, l.isLeap), (SolarDate{y, m, d}));
                if (l.day == 1 && previous.day == 29) {
                    EXPECT_FALSE(FindSolarDate(previous.year, previous.month, 30, previous.isLeap))
                        << y << '-' << m << '-' << d;
                }
                previous = l;
            }
        }
    }
    EXPECT_EQ(days, Days({2050, 1, 22}) - Days({1900, 1, 31}) + 1);  // lunar 1900 .. 2049
}

}  // namespace
}  // namespace qov
