#include "stats/repeats.h"

#include <gtest/gtest.h>

#include "family_fixture.h"
#include "lottery/comb_ops.h"

namespace kelmora::testing {
namespace {

using lottery::MakeComb;

struct RepeatFixture : FamilyFixture {
  RepeatFixture() : FamilyFixture(stats::RepeatClasses()) {}
  std::string CountsAt(const std::string& code, int offset) const {
    std::string out;
    for (const auto& row : Table(code, 100, offset).Rows) {
      if (!out.empty()) out += ' ';
      out += row.Cells[0] + "=" + row.Cells[1];
    }
    return out;
  }
};

struct ShiftCase {
  int Value;
  int Shift;
  int Want;
};
class RepShift : public ::testing::TestWithParam<ShiftCase> {};
TEST_P(RepShift, MovesCyclicallyInsideTheCards) {
  EXPECT_EQ(stats::RepShiftValue(GetParam().Value, GetParam().Shift), GetParam().Want);
}
INSTANTIATE_TEST_SUITE_P(Cases, RepShift,
                         ::testing::Values(ShiftCase{14, 1, 7}, ShiftCase{7, -2, 13}, ShiftCase{0, -1, 7},
                                           ShiftCase{10, 0, 10}, ShiftCase{0, 0, 0}, ShiftCase{13, 2, 7}));

// Position 4 holds A, 7, A, 7, A: every A at position 4 was followed by 7 there.
void AddAceSeven(RepeatFixture& f) {
  f.Add(1, 8, 8, 8, 14);
  f.Add(2, 9, 9, 9, 7);
  f.Add(3, 10, 10, 10, 14);
  f.Add(4, 8, 9, 10, 7);
  f.Add(5, 11, 11, 11, 14);
}

TEST(Repeats, ShiftedValuesFollowTheWindowsLastDraw) {
  RepeatFixture f;
  AddAceSeven(f);
  EXPECT_EQ(f.CountsAt("PRV+1", 0), "Q=0 7=2");
  // One draw earlier the last draw is (8, 9, 10, 7): other rows, and 8 -> 9, 9 -> 10 count.
  EXPECT_EQ(f.CountsAt("PRV+1", 1), "9=1 10=1 J=0 8=0");
}

TEST(Repeats, GapMembersCompareDrawsFurtherApart) {
  RepeatFixture f;
  f.Add(1, 7, 8, 9, 10);
  f.Add(2, 11, 11, 11, 11);
  f.Add(3, 7, 12, 12, 12);
  f.Add(4, 13, 13, 13, 13);
  f.Add(5, 7, 14, 14, 10);
  EXPECT_EQ(f.Counts("RPO1", 100), "1=2 2=0 3=0 4=0 0=3");  // gap 2: draws 3 and 5 repeat 7
  EXPECT_EQ(f.Counts("PRC2O2", 100), "1=0 2=0 3=0 4=0 0=5");  // gap 3: nothing repeats
  EXPECT_EQ(f.Counts("PRV2O1", 100), "7=2 A=0 10=0");  // gap 2 and equal to the last draw
  EXPECT_EQ(f.Counts("RPC2", 100), "1=0 2=0 3=0 4=0 0=5");
}

TEST(Repeats, CountFiltersCompareWithTheDrawsTheCombinationWouldFollow) {
  RepeatFixture f;
  f.Add(1, 9, 9, 9, 9);
  f.Add(2, 7, 8, 9, 10);
  const lottery::TComb before = MakeComb(9, 9, 9, 9);
  const lottery::TComb last = MakeComb(7, 8, 9, 10);
  EXPECT_EQ(f.FilterMismatches("RPC2", 100, {"2"},
                               [&](lottery::TComb c) { return lottery::PositionalMatches(c, last) == 2; }),
            0);
  auto new_in_last = [&](lottery::TComb c) {
    int n = 0;
    for (int p = 0; p < 4; ++p) {
      n += lottery::CombValue(c, p) == lottery::CombValue(last, p) &&
           lottery::CombValue(c, p) != lottery::CombValue(before, p);
    }
    return n == 1;
  };
  EXPECT_EQ(f.FilterMismatches("PRB2", 100, {"1"}, new_in_last), 0);
}

TEST(Repeats, ThreeDrawMembers) {
  RepeatFixture f;
  f.Add(1, 7, 8, 9, 10);
  f.Add(2, 7, 8, 11, 12);
  f.Add(3, 7, 8, 11, 13);
  f.Add(4, 7, 13, 11, 13);
  // The values repeat against the last draw (7, K, J, K); the draw before the archive reads as zeros.
  EXPECT_EQ(f.Counts("RPV3", 100), "7=2 K=0 J=1");
  EXPECT_EQ(f.Counts("PRL2", 100), "7=1 K=1 J=1");
  EXPECT_EQ(f.Counts("RPC3", 100), "1=0 2=2 3=0 4=0 0=2");
  EXPECT_EQ(f.Counts("PRB2", 100), "1=2 2=1 3=0 4=0 0=1");
}

TEST(Repeats, CodesOfTheGapCounts) {
  RepeatFixture f;
  EXPECT_EQ(f.list.Count(), 20);
  for (const char* code : {"RPO1", "PRC2O2", "PRC2O3", "PRV+1", "PRV-2", "PRC-1"}) EXPECT_TRUE(f.Listed(code)) << code;
  EXPECT_FALSE(f.Listed("PRC2O1"));
}

}  // namespace
}  // namespace kelmora::testing
