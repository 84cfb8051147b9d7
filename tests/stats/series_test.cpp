#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lottery/types.h"
#include "lottery/comb_ops.h"
#include "stats/registry.h"
#include "stats/stat_list.h"
#include "stats/series.h"
#include "registry_archive.h"

namespace kelmora {
namespace {

using lottery::MakeComb;

using Archive = testing::RegistryArchive;

// J in draws 1, 2, 4, 5 and 6; 10 only in draw 3.
void AddJRuns(Archive& a) {
  a.Add(1, 11, 7, 8, 9);
  a.Add(2, 11, 7, 8, 9);
  a.Add(3, 7, 8, 9, 10);
  a.Add(4, 11, 7, 8, 9);
  a.Add(5, 7, 11, 8, 9);
  a.Add(6, 11, 7, 8, 9);
}

// The rows of one unit as "caption=count@depth".
std::string UnitRows(Archive& a, const std::string& code, uint16_t unit) {
  auto stat = a.Stat(code);
  std::string out;
  for (const auto& v : a.Values(*stat, 6)) {
    if (v.Key1 != unit) continue;
    if (!out.empty()) out += ' ';
    out += stat->ValueText(v) + "=" + std::to_string(v.Count) + "@" + std::to_string(v.Depth);
  }
  return out;
}

struct EmissionCase {
  const char* Code;
  uint16_t Unit;
  const char* Rows;
};

class SeriesEmissionTest : public ::testing::TestWithParam<EmissionCase> {};

TEST_P(SeriesEmissionTest, RunsOfTheLastDrawsUnits) {
  const EmissionCase& c = GetParam();
  Archive a;
  AddJRuns(a);
  EXPECT_EQ(UnitRows(a, c.Code, c.Unit), c.Rows) << c.Code;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SeriesEmissionTest,
    ::testing::Values(
        // A repeat run is emitted when broken (draw 3) and at the last draw.
        EmissionCase{"GRPV", 11, "J x 2=1@5 J x 3=1@1"},
        // A pause is emitted when the unit comes back, with the depth of the pause's last draw.
        EmissionCase{"GRPP", 11, "J x 1=1@4"},
        // Present in every draw: one run of the whole window.
        EmissionCase{"GRPV", 7, "7 x 6=1@1"},
        // Absent from the last draw: no rows, however many runs it had.
        EmissionCase{"GRPV", 10, ""}, EmissionCase{"GRPP", 10, ""},
        // Channels of size 2: J is channel 3, 10 is channel 2 with 9.
        EmissionCase{"GRCV", 3, "03 x 2=1@5 03 x 3=1@1"}, EmissionCase{"GRCV", 2, "02 x 6=1@1"},
        // All segments 1: one unit present everywhere.
        EmissionCase{"GRSV", 1, "1 x 6=1@1"}, EmissionCase{"GRSP", 1, ""}));

TEST(SeriesTest, RunBeforeTheWindowCountsFromItsFirstDraw) {
  Archive a;
  AddJRuns(a);
  auto stat = a.Stat("GRPV");
  // Window of the last two draws: J in both, a run of 2 although it began at draw 4.
  std::string rows;
  for (const auto& v : a.Values(*stat, 2)) {
    if (v.Key1 == 11) rows += stat->ValueText(v);
  }
  EXPECT_EQ(rows, "J x 2");
}

TEST(SeriesTest, FilterKeepsCombinationsHoldingASelectedUnit) {
  Archive a;
  AddJRuns(a);
  struct Case {
    lottery::TComb Comb;
    bool Expected;
  };
  for (const Case& c : {Case{MakeComb(7, 12, 8, 8), true}, Case{MakeComb(11, 8, 8, 8), true},
                        Case{MakeComb(7, 8, 9, 10), false}, Case{MakeComb(13, 14, 9, 7), false}}) {
    EXPECT_EQ(a.Matches("GRCV", c.Comb, {"03 x 2"}, 6), c.Expected);
    // The delete mode removes exactly what the keep mode keeps.
    EXPECT_EQ(a.Matches("GRCV", c.Comb, {"03 x 2"}, 6, 0, true), c.Expected);
  }
}

TEST(SeriesTest, SegmentUnitsFollowTheTable) {
  Archive a;
  a.config.MatrixSegments = lottery::TextToMatrixSegments("12345678" "12345678" "12345678" "12345678");
  a.Add(1, 7, 8, 9, 10);
  a.Add(2, 7, 12, 9, 10);
  a.Add(3, 14, 12, 9, 10);
  auto stat = a.Stat("GRSV");
  std::string rows;
  for (const auto& v : a.Values(*stat, 3)) rows += stat->ValueText(v) + " ";
  // Segment 2 (8 at position 2) is not in the last draw; 1 ends at draw 3 without coming back.
  EXPECT_EQ(rows, "3 x 3 4 x 3 6 x 2 8 x 1 ");
}

}  // namespace
}  // namespace kelmora
