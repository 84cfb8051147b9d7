#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lottery/types.h"
#include "lottery/comb_ops.h"
#include "stats/registry.h"
#include "stats/stat_list.h"
#include "stats/periods.h"
#include "registry_archive.h"

namespace kelmora {
namespace {

using lottery::MakeComb;

using Archive = testing::RegistryArchive;

// Draws 101..106: J in 101, 103 (twice) and 106; 8 in every draw.
void AddPeriods(Archive& a) {
  a.Add(101, 11, 7, 8, 9);
  a.Add(102, 7, 8, 9, 10);
  a.Add(103, 11, 11, 8, 9);
  a.Add(104, 7, 8, 9, 10);
  a.Add(105, 7, 8, 9, 10);
  a.Add(106, 11, 7, 8, 9);
}

TEST(PeriodsTest, PeriodsBetweenOccurrencesInsideTheWindow) {
  Archive a;
  AddPeriods(a);
  auto stat = a.Stat("PRDV");
  std::string rows;
  for (const auto& v : a.Values(*stat, 6)) {
    if (v.Key1 == 11) rows += stat->ValueText(v) + "=" + std::to_string(v.Count) + " ";
  }
  EXPECT_EQ(rows, "J x 2=1 J x 3=1 ");
  // The first occurrence inside a shorter window adds nothing.
  EXPECT_EQ(a.Rows("PRDV", 1), "");
}

struct PeriodFilterCase {
  std::vector<std::string> Rows;
  lottery::TComb Comb;
  bool Exclude;
  bool Kept;  // what the filter pass does: keep when the test differs from Exclude
};

class PeriodsFilterTest : public ::testing::TestWithParam<PeriodFilterCase> {};

TEST_P(PeriodsFilterTest, KeepAndDeleteModes) {
  const PeriodFilterCase& c = GetParam();
  Archive a;
  AddPeriods(a);
  EXPECT_EQ(a.Matches("PRDV", c.Comb, c.Rows, 6, 0, c.Exclude) != c.Exclude, c.Kept);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PeriodsFilterTest,
    ::testing::Values(
        // J x 3 falls due when J came out in 104: it did not.
        PeriodFilterCase{{"J x 3"}, MakeComb(11, 7, 7, 7), false, false},
        PeriodFilterCase{{"J x 3"}, MakeComb(7, 7, 7, 7), false, false},
        PeriodFilterCase{{"J x 3"}, MakeComb(11, 7, 7, 7), true, false},
        PeriodFilterCase{{"J x 3"}, MakeComb(7, 7, 7, 7), true, true},
        // 8 x 1 falls due (8 came out in 106).
        PeriodFilterCase{{"8 x 1"}, MakeComb(8, 7, 7, 7), false, true},
        PeriodFilterCase{{"8 x 1"}, MakeComb(8, 7, 7, 7), true, true},
        PeriodFilterCase{{"8 x 1"}, MakeComb(7, 7, 7, 7), false, false},
        // Delete mode: a unit whose selected period is not due removes the combination.
        PeriodFilterCase{{"J x 3", "8 x 1"}, MakeComb(11, 8, 7, 7), true, false},
        PeriodFilterCase{{"J x 3", "8 x 1"}, MakeComb(11, 8, 7, 7), false, true}));

TEST(PeriodsTest, FilterReadsDrawKUnsortedAndNextOccurrenceFindsNothing) {
  Archive a;
  a.config.MatrixSegments = lottery::TextToMatrixSegments("11111111" "22222222" "33333333" "44444444");
  a.Add(1, 9, 7, 7, 7);
  a.Add(2, 9, 7, 7, 7);
  a.Add(3, 7, 7, 9, 7);
  // Segments are the positions: unit 1 repeats after 1 draw.
  auto stat = a.Stat("PRDG");
  const auto values = a.Values(*stat, 3, 0, true);
  ASSERT_FALSE(values.empty());
  EXPECT_EQ(stat->ValueText(values[0]), "1 x 1");
  EXPECT_EQ(stat->NextOccurrence(values[0], 1, 1, false), -1);
  EXPECT_TRUE(a.Matches("PRDG", MakeComb(7, 7, 7, 7), {"1 x 1"}, 3, 0, false, true));
}

}  // namespace
}  // namespace kelmora
