#include "views/repeats.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include "views_fixture.h"

namespace kelmora::testing {
namespace {

std::string Rows(const views::TRepeats& r) {
  std::string out;
  for (const auto& row : r.Rows)
    out += fmt::format("{}{},{},{},{}", out.empty() ? "" : " | ", row.Draw, row.Matches, row.Count, row.Draws);
  return out;
}

struct RepeatsFixture : ::testing::Test {
  ViewDraws v = [] {
    ViewDraws d;
    d.Add(7, 8, 9, 10).Add(7, 8, 11, 12).Add(7, 13, 9, 14).Add(7, 8, 9, 13);
    return d;
  }();
};

TEST_F(RepeatsFixture, RowsPerDrawAndMatchCount) {
  const auto r = views::BuildRepeats(v.draws, 100, 100);
  EXPECT_EQ(Rows(r), "4,2,2,3 2 | 4,3,1,1 | 3,1,1,2 | 3,2,1,1 | 2,2,1,1");
  EXPECT_EQ(r.MaxMatches, 3);
}

TEST_F(RepeatsFixture, DeepOneComparesWithThePreviousDrawOnly) {
  EXPECT_EQ(Rows(views::BuildRepeats(v.draws, 100, 1)), "4,2,1,3 | 3,1,1,2 | 2,2,1,1");
  EXPECT_EQ(Rows(views::BuildRepeats(v.draws, 1, 1)), "4,2,1,3");
}

TEST_F(RepeatsFixture, StepsCanStopAndTheChartHasASeriesPerMatchCount) {
  int steps = 0;
  const auto part = views::BuildRepeats(v.draws, 100, 100, [&](int n) {
    steps = n;
    return n < 2;
  });
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(Rows(part), "4,2,2,3 2 | 4,3,1,1");
  const auto chart = views::RepeatsChart(views::BuildRepeats(v.draws, 100, 100), 1);
  ASSERT_EQ(chart.Series.size(), 3u);
  EXPECT_EQ(chart.Series[0].Title, "Совпадений: 1");
  EXPECT_EQ(chart.Series[1].Points.size(), 3u);
  EXPECT_EQ(chart.Series[1].Points.front().X, 2) << "from the last row to the first";
  EXPECT_EQ(chart.Series[1].Points.back().Y, 2);
  EXPECT_EQ(chart.Series[2].Points.front().X, 4);
}

}  // namespace
}  // namespace kelmora::testing
