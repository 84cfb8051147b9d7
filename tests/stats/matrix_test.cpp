#include "stats/matrix.h"

#include <gtest/gtest.h>

#include "family_fixture.h"

namespace kelmora::testing {
namespace {

struct MatrixFixture : FamilyFixture {
  MatrixFixture() : FamilyFixture(stats::MatrixClasses()) { Add(1, 7, 9, 9, 14); }
};

struct DrawCase {
  const char* Code;
  const char* Rows;  // every row of the one-draw table of (7, 9, 9, A)
};

class MatrixOfOneDraw : public ::testing::TestWithParam<DrawCase> {};

TEST_P(MatrixOfOneDraw, RowsInTheOrderTheValuesCame) {
  MatrixFixture f;
  EXPECT_EQ(f.Counts(GetParam().Code, 1), GetParam().Rows);
  f.config.MatrixCols = 7;  // the placement of this game does not depend on it
  f.list.Rebuild();
  EXPECT_EQ(f.Counts(GetParam().Code, 1), GetParam().Rows);
}

INSTANTIATE_TEST_SUITE_P(Cases, MatrixOfOneDraw,
                         ::testing::Values(DrawCase{"KRM2", "1:3=2 1:8=1 3:3=1 3:8=2"},
                                           DrawCase{"KRS2", "1:3=1 3:3=1 3:8=1"},
                                           DrawCase{"KRM3", "1:3:3=1 1:3:8=2 3:3:8=1"},
                                           DrawCase{"KRS3", "1:3:3=1 3:3:8=1"}, DrawCase{"KFM2", "0:0=6"},
                                           DrawCase{"KFS2", "0:0=3"}, DrawCase{"KFM3", "0:0:0=4"},
                                           DrawCase{"KFS3", "0:0:0=2"}));

TEST(Matrix, ColumnRowKeepsEveryCombination) {
  MatrixFixture f;
  EXPECT_EQ(f.FilterMismatches("KFM2", 1, {"0:0"}, [](lottery::TComb) { return true; }), 0);
}

TEST(Matrix, RowsFilterLikeChannelsOfOneValue) {
  MatrixFixture f;
  auto seven_then_nine = [](lottery::TComb c) {
    for (int p = 0; p < 3; ++p) {
      if (lottery::CombValue(c, p) == 7 && lottery::CombValue(c, p + 1) == 9) return true;
    }
    return false;
  };
  EXPECT_EQ(f.FilterMismatches("KRS2", 1, {"1:3"}, seven_then_nine), 0);
}

TEST(Matrix, OnlyThePairAndTripleCombinationsAreListed) {
  MatrixFixture f;
  EXPECT_EQ(f.list.Count(), 8);
  for (const char* code : {"COLS", "ROWS", "COLM", "COL1", "ROW1", "KFM4", "KRS4"}) EXPECT_FALSE(f.Listed(code));
}

}  // namespace
}  // namespace kelmora::testing
