#include "views/graphs.h"

#include <gtest/gtest.h>

#include "stats/registry.h"
#include "stats/stat_list.h"
#include "views_fixture.h"

namespace kelmora::testing {
namespace {

struct GraphFixture {
  ViewDraws v;
  lottery::TConfigData config;
  lottery::TShreddingData shredding;
  stats::TStatList list{v.draws, config, shredding, stats::RegisteredClasses()};

  support::ChartData Graph(int offset, int64_t length, bool labels = false) {
    list.Rebuild();
    auto stat = list.CreateStat(list.IndexOfCode("SUMS"));
    auto* graph = dynamic_cast<stats::TCustomGraphStat*>(stat.get());
    if (!graph) return {};
    return views::BuildDrawsGraph(*graph, "Суммы", v.draws, offset, length, false, labels);
  }
};

TEST(DrawsGraph, SumsWithTheirMeanAndTheFirstOfTheMostFrequent) {
  GraphFixture f;
  // Sums 28, 30, 30, 29, 29.
  f.v.Add(7, 7, 7, 7).Add(7, 7, 8, 8).Add(7, 7, 7, 9).Add(7, 7, 7, 8).Add(8, 7, 7, 7);
  const auto chart = f.Graph(0, 100, true);
  ASSERT_EQ(chart.Series.size(), 3u);
  const auto& main = chart.Series[0];
  EXPECT_EQ(main.Title, "Суммы");
  EXPECT_EQ(main.Color, 0x008000u);
  EXPECT_TRUE(main.ShowMarkers);
  EXPECT_TRUE(main.ShowLabels);
  EXPECT_TRUE(main.Switchable);
  ASSERT_EQ(main.Points.size(), 5u);
  EXPECT_EQ(main.Points[0].X, 1);
  EXPECT_EQ(main.Points[4].Y, 29);
  EXPECT_EQ(chart.Series[1].Title, views::MeanSeriesTitle);
  EXPECT_DOUBLE_EQ(chart.Series[1].Points[2].Y, 146.0 / 5);
  EXPECT_EQ(chart.Series[2].Title, views::ModeSeriesTitle);
  EXPECT_EQ(chart.Series[2].Points[0].Y, 30) << "30 and 29 occur twice; 30 came first";
  EXPECT_EQ(chart.Series[2].Points.size(), 5u);
}

TEST(DrawsGraph, OffsetEndsTheWindowBeforeTheNewestDraws) {
  GraphFixture f;
  for (int i = 0; i < 12; ++i) f.v.Add(7, 7, 7, 7 + i % 8);
  const auto chart = f.Graph(5, 4);
  ASSERT_EQ(chart.Series.size(), 3u);
  ASSERT_EQ(chart.Series[0].Points.size(), 4u);
  EXPECT_EQ(chart.Series[0].Points.back().X, 7);
  EXPECT_EQ(chart.Series[0].Points.front().X, 4);
  EXPECT_FALSE(chart.Series[0].ShowLabels);
  EXPECT_TRUE(f.Graph(0, 100).Series.size() == 3u);
  GraphFixture empty;
  EXPECT_TRUE(empty.Graph(0, 100).Series.empty());
}

}  // namespace
}  // namespace kelmora::testing
