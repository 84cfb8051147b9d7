#include "views/sums.h"

#include <gtest/gtest.h>

#include "views_fixture.h"

namespace kelmora::testing {
namespace {

TEST(SumsDistribution, TheoreticalCountsThresholdsAndRanges) {
  const auto d = views::BuildSumsDistribution({});
  ASSERT_EQ(d.Theoretical.size(), 29u);
  EXPECT_EQ(d.Theoretical.front().Key, 28);
  EXPECT_EQ(d.Theoretical.back().Key, 56);
  EXPECT_EQ(d.Tmin, 1);
  EXPECT_EQ(d.Tmax, 344);
  EXPECT_EQ(d.Theoretical[14].Key, 42);
  EXPECT_EQ(d.Theoretical[14].Count, 344);
  int total = 0;
  for (const auto& r : d.Theoretical) total += r.Count;
  EXPECT_EQ(total, 4096);
  EXPECT_EQ(d.Thresholds, (std::array<int32_t, 3>{116, 173, 230}));
  EXPECT_EQ(d.Ranges[0], std::make_pair(35, 49));
  EXPECT_EQ(d.Ranges[1], std::make_pair(37, 47));
  EXPECT_EQ(d.Ranges[2], std::make_pair(38, 46));
}

TEST(SumsDistribution, ChartSeriesInTheWindowsOrder) {
  ViewDraws v;
  v.Add(7, 7, 7, 7).Add(14, 14, 14, 14).Add(7, 7, 7, 8).Add(7, 7, 8, 7);
  const auto d = views::BuildSumsDistribution(v.draws);
  EXPECT_EQ(d.Amax, 2);
  const auto chart = views::SumsChart(d);
  EXPECT_EQ(chart.Title, views::SumsCaption);
  ASSERT_EQ(chart.Series.size(), 5u);
  const auto& actual = chart.Series[0];
  EXPECT_EQ(actual.Title, "Фактическое распределение сумм (по тиражам)");
  EXPECT_TRUE(actual.ShowMarkers);
  EXPECT_TRUE(actual.ShowLabels);
  ASSERT_EQ(actual.Points.size(), 3u);
  EXPECT_EQ(actual.Points[1].X, 29);
  EXPECT_EQ(actual.Points[1].Y, 2);
  EXPECT_EQ(chart.Series[1].Title, "Теоретическое распределение сумм (по комбинациям)");
  EXPECT_DOUBLE_EQ(chart.Series[1].Points[14].Y, 2.0);
  EXPECT_EQ(chart.Series[2].Title, "Диапазон 1 (от 1/3 и выше по оси Y) - суммы 35-49");
  EXPECT_EQ(chart.Series[4].Title, "Диапазон 3 (от 2/3 и выше по оси Y) - суммы 38-46");
  EXPECT_EQ(chart.Series[3].Color, 0x0000FFu);
  EXPECT_DOUBLE_EQ(chart.Series[3].Points[0].Y, 173.0 * 2 / 344);
  EXPECT_FALSE(chart.Series[4].ShowMarkers);
}

}  // namespace
}  // namespace kelmora::testing
