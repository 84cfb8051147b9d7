#include "catalog/wheels.h"

#include <gtest/gtest.h>

namespace kelmora::catalog {
namespace {

TEST(Wheels, TheFullWheelHoldsEveryChoiceOfFourOnce) {
  const struct {
    int N;
    size_t Rows;
  } cases[] = {{4, 1}, {5, 5}, {6, 15}, {7, 35}, {8, 70}};
  for (const auto& c : cases) {
    const auto rows = FullWheel(c.N);
    EXPECT_EQ(rows.size(), c.Rows) << c.N;
    EXPECT_TRUE(Covers(rows, c.N, 4)) << c.N;
    for (size_t i = 1; i < rows.size(); ++i) EXPECT_LT(rows[i - 1], rows[i]) << c.N;  // distinct, ordered
  }
  EXPECT_EQ(FullWheel(5).front(), (WheelRow{1, 2, 3, 4}));
  EXPECT_EQ(FullWheel(5).back(), (WheelRow{2, 3, 4, 5}));
}

TEST(Wheels, TheGreedyWheelCoversEveryChoiceWithFewerRows) {
  // The smallest known covering of every three of n by rows of four: 4, 6, 12, 14.
  const struct {
    int N;
    size_t AtLeast;
  } cases[] = {{5, 4}, {6, 6}, {7, 12}, {8, 14}};
  for (const auto& c : cases) {
    const auto rows = GreedyCoveringWheel(c.N, 3);
    EXPECT_TRUE(Covers(rows, c.N, 3)) << c.N;
    EXPECT_GE(rows.size(), c.AtLeast) << c.N;
    EXPECT_LT(rows.size(), FullWheel(c.N).size()) << c.N;
    for (const WheelRow& row : rows)
      for (int p : row) EXPECT_TRUE(p >= 1 && p <= c.N) << c.N;
  }
  EXPECT_EQ(GreedyCoveringWheel(6, 4).size(), 15u);  // covering every four takes them all
}

TEST(Wheels, CoversNoticesAMissingChoice) {
  auto rows = GreedyCoveringWheel(7, 3);
  rows.pop_back();
  EXPECT_FALSE(Covers(rows, 7, 3));
}

TEST(Wheels, TheTextIsTheSystemRowForm) {
  EXPECT_EQ(WheelText({{1, 2, 3, 4}, {2, 3, 4, 8}}), "01 02 03 04\r\n02 03 04 08");
}

}  // namespace
}  // namespace kelmora::catalog
