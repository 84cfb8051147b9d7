#include "lottery/types.h"

#include <gtest/gtest.h>

#include <set>

namespace kelmora::lottery {
namespace {

struct IndexCase {
  int Index;
  TComb Comb;
};

class FullSetOrderTest : public ::testing::TestWithParam<IndexCase> {};

TEST_P(FullSetOrderTest, IndexGivesCombination) {
  EXPECT_EQ(CombOfIndex(GetParam().Index), GetParam().Comb);
  EXPECT_EQ(IndexOfComb(GetParam().Comb), GetParam().Index);
}

INSTANTIATE_TEST_SUITE_P(Cases, FullSetOrderTest,
                         ::testing::Values(IndexCase{0, MakeComb(7, 7, 7, 7)}, IndexCase{7, MakeComb(7, 7, 7, 14)},
                                           IndexCase{8, MakeComb(7, 7, 8, 7)}, IndexCase{511, MakeComb(7, 14, 14, 14)},
                                           IndexCase{512, MakeComb(8, 7, 7, 7)},
                                           IndexCase{4095, MakeComb(14, 14, 14, 14)}));

TEST(FullSetOrderTest, EveryIndexRoundTripsAndCombinationsAreDistinct) {
  std::set<TComb> seen;
  for (int n = 0; n < CombsTotal; ++n) {
    const TComb comb = CombOfIndex(n);
    ASSERT_EQ(IndexOfComb(comb), n);
    for (int p = 0; p < PositionCount; ++p) {
      ASSERT_GE(CombValue(comb, p), ValueMin);
      ASSERT_LE(CombValue(comb, p), ValueMax);
    }
    seen.insert(comb);
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(CombsTotal));
}

TEST(CombEncodingTest, ByteKHoldsPositionKPlusOne) {
  const TComb comb = MakeComb(7, 10, 11, 14);
  EXPECT_EQ(comb, 0x0E0B0A07u);
  EXPECT_EQ(SetCombValue(comb, 2, 9), MakeComb(7, 10, 9, 14));
}

TEST(MatchDistributionTest, CountsAndProbabilities) {
  const auto& items = MatchDistribution();
  const int expected[5] = {2401, 1372, 294, 28, 1};
  int total = 0;
  for (int m = 0; m < 5; ++m) {
    EXPECT_EQ(items[m].Count, expected[m]) << "matches " << m;
    EXPECT_DOUBLE_EQ(static_cast<double>(items[m].Probability), expected[m] / 4096.0);
    total += items[m].Count;
  }
  EXPECT_EQ(total, CombsTotal);
}

}  // namespace
}  // namespace kelmora::lottery
