#include "stats/diffs.h"

#include <gtest/gtest.h>

#include "family_fixture.h"

namespace kelmora::testing {
namespace {

using lottery::MakeComb;

struct DiffFixture : FamilyFixture {
  DiffFixture() : FamilyFixture(stats::DiffClasses()) {}
};

struct DrawCase {
  const char* Code;
  lottery::TComb Draw;
  bool Sorted;
  const char* Rows;  // every row of a one-draw table, "caption=count"
};

class DiffsOfOneDraw : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DiffsOfOneDraw, RowsInTheOrderTheValuesCame) {
  DiffFixture f;
  f.draws.push_back({1, GetParam().Draw, ""});
  EXPECT_EQ(f.Counts(GetParam().Code, 1, GetParam().Sorted), GetParam().Rows);
}

const lottery::TComb D9QQ8 = MakeComb(9, 12, 12, 8);  // d = 3, 0, 4; sorted (8, 9, 12, 12): 1, 3, 0

INSTANTIATE_TEST_SUITE_P(
    Cases, DiffsOfOneDraw,
    ::testing::Values(DrawCase{"DIFA", D9QQ8, false, "1=0 2=0 3=1 4=1 5=0 6=0 7=0 0=1"},
                      DrawCase{"DIFM", D9QQ8, false, "1=0 2=0 3=0 4=1 5=0 6=0 7=0"},
                      DrawCase{"DIFD", D9QQ8, false, "1=0 2=0 3=0 4=1 5=0 6=0 7=0"},
                      DrawCase{"DIFO", D9QQ8, false, "3 x 1=1 0 x 1=1 4 x 1=1"},
                      DrawCase{"DIFK", D9QQ8, false, "1=1 2=0 3=0"},
                      DrawCase{"KDS2", D9QQ8, false, "3:0=1 0:4=1"},
                      DrawCase{"KDS3", D9QQ8, false, "3:0:4=1"},
                      DrawCase{"DIFA", D9QQ8, true, "1=1 2=0 3=1 4=0 5=0 6=0 7=0 0=1"},
                      DrawCase{"DIFD", D9QQ8, true, "1=0 2=0 3=0 4=1 5=0 6=0 7=0"},
                      DrawCase{"KDS3", D9QQ8, true, "1:3:0=1"},
                      DrawCase{"DIFO", MakeComb(7, 8, 9, 10), false, "1 x 3=1"},
                      DrawCase{"DIFK", MakeComb(7, 8, 9, 10), false, "1=0 2=0 3=1"},
                      DrawCase{"DIFD", MakeComb(9, 9, 9, 9), false, "1=0 2=0 3=0 4=0 5=0 6=0 7=0 0=1"}));

TEST(Diffs, PeriodsMoveOnlyOnTheFirstDifference) {
  DiffFixture f;
  f.Add(1, 9, 12, 12, 8);
  f.Add(4, 9, 12, 12, 8);
  for (const auto& row : f.Table("DIFA", 10).Rows) {
    const bool first_difference = row.Item.Key1 == 3;
    EXPECT_EQ(row.Item.MinPeriod, first_difference ? 3 : 0) << row.Cells[0];
  }
  for (const auto& row : f.Table("KDS2", 10).Rows) {
    EXPECT_EQ(row.Item.MinPeriod, row.Cells[0] == "3:0" ? 3 : 0) << row.Cells[0];
  }
}

TEST(Diffs, FilterByPairsOfNeighbouringDifferences) {
  DiffFixture f;
  f.Add(1, 9, 12, 12, 8);
  auto has_pair = [](lottery::TComb c) {
    const auto d = stats::NeighbourDiffs(c);
    return (d[0] == 3 && d[1] == 0) || (d[1] == 3 && d[2] == 0);
  };
  EXPECT_EQ(f.FilterMismatches("KDS2", 1, {"3:0"}, has_pair), 0);
  auto one_zero = [](lottery::TComb c) {
    const auto d = stats::NeighbourDiffs(c);
    return (d[0] == 0) + (d[1] == 0) + (d[2] == 0) == 1;
  };
  EXPECT_EQ(f.FilterMismatches("DIFO", 1, {"0 x 1"}, one_zero), 0);
}

TEST(Diffs, FourDifferenceCombinationsAreNeverListed) {
  DiffFixture f;
  EXPECT_FALSE(f.Listed("KDS4"));
  EXPECT_TRUE(f.Listed("KDS3"));
}

}  // namespace
}  // namespace kelmora::testing
