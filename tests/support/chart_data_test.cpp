#include "support/chart_data.h"

#include <cmath>

#include <gtest/gtest.h>

namespace kelmora::support {
namespace {

struct AxisCase {
  double Low, High;
  int MaxTicks;
  double Min, Max, Step;
  int Decimals;
};

class NiceAxisRangeTest : public ::testing::TestWithParam<AxisCase> {};

TEST_P(NiceAxisRangeTest, FramesTheDataWithRoundTicks) {
  const AxisCase& c = GetParam();
  const AxisRange r = NiceAxisRange(c.Low, c.High, c.MaxTicks);
  EXPECT_DOUBLE_EQ(r.Min, c.Min);
  EXPECT_DOUBLE_EQ(r.Max, c.Max);
  EXPECT_DOUBLE_EQ(r.Step, c.Step);
  EXPECT_EQ(r.Decimals, c.Decimals);
  EXPECT_EQ(r.Ticks, static_cast<int>(std::lround((r.Max - r.Min) / r.Step)) + 1);
  EXPECT_LE(r.Ticks, std::max(3, c.MaxTicks));
  EXPECT_LE(r.Min, c.Low);
  EXPECT_GE(r.Max, c.High);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NiceAxisRangeTest,
    ::testing::Values(
        // Counts of a 1000-draw table: the axis does not start at zero.
        AxisCase{466, 533, 7, 460, 540, 20, 0},
        AxisCase{98, 161, 7, 80, 180, 20, 0},
        AxisCase{0, 799.5, 7, 0, 800, 200, 0},
        // Fractions need decimals in the labels.
        AxisCase{0.12, 0.47, 7, 0.1, 0.5, 0.1, 1},
        AxisCase{-3.5, 2, 7, -4, 2, 1, 0},
        // A flat series is framed around its value.
        AxisCase{50, 50, 7, 44, 56, 2, 0},
        AxisCase{0, 0, 7, -1, 1, 0.5, 1},
        // Fewer than three ticks are never asked for.
        AxisCase{1, 9, 1, 0, 10, 5, 0}));

}  // namespace
}  // namespace kelmora::support
