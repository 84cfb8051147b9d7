#include "views/week.h"

#include <gtest/gtest.h>

#include "views_fixture.h"

namespace kelmora::testing {
namespace {

// 01/01/2024 was a Monday.
constexpr const char* Monday = "01/01/2024";
constexpr const char* Wednesday = "03/01/2024";

TEST(Week, ValueDrawnTwiceCountsTwiceAndDrawsWithoutADateAreSkipped) {
  ViewDraws v;
  v.Add(7, 7, 9, 10, Monday).Add(8, 8, 8, 8).Add(8, 8, 8, 8, "31/02/2024").Add(14, 7, 7, 7, Wednesday);
  const auto stat = views::BuildWeekStat(v.draws, 0, 1000);
  EXPECT_EQ(stat.Counts[0][0], 2);  // Monday, 7
  EXPECT_EQ(stat.Counts[0][2], 1);  // Monday, 9
  EXPECT_EQ(stat.Counts[2][0], 3);  // Wednesday, 7
  EXPECT_EQ(stat.Counts[2][7], 1);  // Wednesday, A
  int eights = 0;
  for (const auto& day : stat.Counts) eights += day[1];
  EXPECT_EQ(eights, 0) << "the draw without a date and the one with an impossible date";
  EXPECT_EQ(stat.Max, 3);
  const auto grid = views::WeekGrid(stat, views::RussianShortDayNames());
  EXPECT_EQ(grid.Rows, 8);
  EXPECT_EQ(grid.Cols, 9);
  EXPECT_EQ(grid.At(0, 1), "7");
  EXPECT_EQ(grid.At(0, 8), "A");
  EXPECT_EQ(grid.At(1, 0), "Пн");
  EXPECT_EQ(grid.At(7, 0), "Вс");
  EXPECT_EQ(grid.At(1, 1), "2");
  EXPECT_EQ(grid.At(1, 2), "") << "0 shows nothing";
}

TEST(Week, WindowEndsAtTheOffset) {
  ViewDraws v;
  v.Add(7, 8, 9, 10, Monday).Add(11, 11, 11, 11, Monday);
  EXPECT_EQ(views::BuildWeekStat(v.draws, 1, 1000).Counts[0][4], 0);
  EXPECT_EQ(views::BuildWeekStat(v.draws, 0, 1).Counts[0][0], 0);
  EXPECT_EQ(views::BuildWeekStat(v.draws, 0, 1).Counts[0][4], 4);
  EXPECT_EQ(views::BuildWeekStat({}, 0, 1000).Max, 0);
}

struct WeekColorCase {
  int32_t N, Max;
  int64_t Want;
};
class WeekColors : public ::testing::TestWithParam<WeekColorCase> {};
TEST_P(WeekColors, WhiteToRed) { EXPECT_EQ(views::WeekCellColor(GetParam().N, GetParam().Max), GetParam().Want); }
INSTANTIATE_TEST_SUITE_P(Cases, WeekColors,
                         ::testing::Values(WeekColorCase{4, 4, 0xFF0000}, WeekColorCase{1, 2, 0xFF8080},
                                           WeekColorCase{1, 3, 0xFFAAAA}, WeekColorCase{0, 4, -1},
                                           WeekColorCase{0, 0, -1}));

TEST(Week, ChartShowsTheFocusedRowOrColumn) {
  ViewDraws v;
  v.Add(7, 7, 9, 10, Monday).Add(7, 8, 8, 8, Wednesday);
  const auto stat = views::BuildWeekStat(v.draws, 0, 1000);
  const auto& names = views::RussianShortDayNames();
  const auto by_day = views::WeekChart(stat, names, 5, 1, true, true);
  ASSERT_EQ(by_day.Series.size(), 1u);
  const auto& s = by_day.Series[0];
  EXPECT_FALSE(s.Bars);
  EXPECT_TRUE(s.ShowMarkers);
  EXPECT_EQ(s.Color, 0x008000u);
  ASSERT_EQ(s.Points.size(), 7u);
  EXPECT_EQ(s.Points[0].Y, 2);
  EXPECT_EQ(s.Points[2].Y, 1);
  EXPECT_EQ(s.Points[2].Label, "Ср");
  const auto by_value = views::WeekChart(stat, names, 3, 0, false, false);
  ASSERT_EQ(by_value.Series.size(), 1u);
  EXPECT_TRUE(by_value.Series[0].Bars);
  ASSERT_EQ(by_value.Series[0].Points.size(), 8u);
  EXPECT_EQ(by_value.Series[0].Points[1].Y, 3);
  EXPECT_EQ(by_value.Series[0].Points[1].Label, "8");
  EXPECT_TRUE(views::WeekChart(stat, names, 1, 0, true, true).Series.empty()) << "no value in the title column";
}

}  // namespace
}  // namespace kelmora::testing
