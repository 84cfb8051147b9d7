#include "stats/segments.h"

#include <gtest/gtest.h>

#include "family_fixture.h"
#include "lottery/comb_ops.h"

namespace kelmora::testing {
namespace {

struct SegmentFixture : FamilyFixture {
  explicit SegmentFixture(const char* table = "") : FamilyFixture(stats::SegmentClasses()) {
    config.MatrixSegments = lottery::TextToMatrixSegments(table);
    list.Rebuild();
  }
};

// Position 1 puts 7..10 in segment 1 and J..A in segment 2; the other positions are all segment 1.
constexpr const char* HighFirst = "11112222";

struct DrawCase {
  const char* Table;
  const char* Code;
  bool Sorted;
  const char* Rows;  // every row of the one-draw table of (J, 8, 8, 8)
};

class SegmentsOfOneDraw : public ::testing::TestWithParam<DrawCase> {};

TEST_P(SegmentsOfOneDraw, RowsInTheOrderTheValuesCame) {
  SegmentFixture f(GetParam().Table);
  f.Add(1, 11, 8, 8, 8);
  EXPECT_EQ(f.Counts(GetParam().Code, 1, GetParam().Sorted), GetParam().Rows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SegmentsOfOneDraw,
    ::testing::Values(DrawCase{"", "SGMS", false, "1=4"}, DrawCase{"", "SGMV", false, "1 x 4=1"},
                      DrawCase{"", "SGMC", false, "1=1"}, DrawCase{"", "SGM1", false, "4=1"},
                      DrawCase{"", "KGM2", false, "1:1=6"}, DrawCase{"", "KGS3", false, "1:1:1=2"},
                      DrawCase{HighFirst, "SGMS", false, "1=3 2=1"},
                      DrawCase{HighFirst, "SGMV", false, "1 x 3=1 2 x 1=1"},
                      DrawCase{HighFirst, "SGMC", false, "2=1"}, DrawCase{HighFirst, "KGS2", false, "2:1=1 1:1=2"},
                      // Sorted, (8, 8, 8, J) puts 8 in position 1's row and J in position 4's.
                      DrawCase{HighFirst, "SGMC", true, "1=1"}, DrawCase{HighFirst, "SGMS", true, "1=4 2=0"},
                      DrawCase{HighFirst, "SGM2", true, "0=1"}));

TEST(Segments, IndexedEntriesRunFromTheSmallestToTheLargestDigit) {
  SegmentFixture f("01230123");
  EXPECT_TRUE(f.Listed("SGM0"));
  EXPECT_TRUE(f.Listed("SGM3"));
  EXPECT_FALSE(f.Listed("SGM4"));
  SegmentFixture plain;
  EXPECT_TRUE(plain.Listed("SGM1"));
  EXPECT_FALSE(plain.Listed("SGM0"));
  EXPECT_FALSE(plain.Listed("SGM2"));
}

TEST(Segments, FilterLooksUpEachPositionInItsOwnRow) {
  SegmentFixture f(HighFirst);
  f.Add(1, 11, 8, 8, 8);
  auto high_first = [](lottery::TComb c) { return lottery::CombValue(c, 0) >= 11; };
  EXPECT_EQ(f.FilterMismatches("SGMS", 1, {"2"}, high_first), 0);
  EXPECT_EQ(f.FilterMismatches("SGMC", 1, {"2"}, high_first), 0);
  EXPECT_EQ(f.FilterMismatches("KGM2", 1, {"2:1"}, high_first), 0);
}

TEST(Segments, ObjectKeepsTheTableItWasCreatedWith) {
  SegmentFixture f(HighFirst);
  f.Add(1, 11, 8, 8, 8);
  auto stat = f.list.CreateStat(f.Entry("SGMC"));
  f.config.MatrixSegments = lottery::AllSegmentsOne();
  stats::TStatDrawArray values;
  stat->AddCombValues(lottery::MakeComb(11, 8, 8, 8), values);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].Key1, 2);
}

}  // namespace
}  // namespace kelmora::testing
