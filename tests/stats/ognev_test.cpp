#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lottery/types.h"
#include "stats/registry.h"
#include "stats/stat_list.h"
#include "stats/ognev.h"
#include "registry_archive.h"

namespace kelmora {
namespace {

using lottery::MakeComb;

using Archive = testing::RegistryArchive;

struct OgnevCase {
  lottery::TComb Values;
  int Hco1;
  int Hco2;
  const char* Hco3Rows;  // the rows of the draw as the window's last, newest draw
};

class OgnevNumberTest : public ::testing::TestWithParam<OgnevCase> {};

TEST_P(OgnevNumberTest, ModesOfOneDraw) {
  const OgnevCase& c = GetParam();
  EXPECT_EQ(stats::OgnevNumber(c.Values, 0).Value[0], c.Hco1);
  EXPECT_EQ(stats::OgnevNumber(c.Values, 1).Value[0], c.Hco2);
  Archive a;
  a.draws.push_back({1, c.Values, ""});
  EXPECT_EQ(a.Rows("HCO1", 1), std::to_string(c.Hco1) + "=1");
  EXPECT_EQ(a.Rows("HCO3", 1), c.Hco3Rows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OgnevNumberTest,
    ::testing::Values(OgnevCase{MakeComb(7, 8, 9, 10), 0, 0, "0=0"},
                      OgnevCase{MakeComb(7, 9, 7, 9), 0, 0, "0=0"},
                      OgnevCase{MakeComb(7, 8, 10, 14), 1, 3, "3 (1)=0 12=0 9=0"},
                      OgnevCase{MakeComb(7, 9, 8, 14), 4, 4, "4=0 12=0 8=0"},
                      OgnevCase{MakeComb(7, 9, 13, 14), 1, 5, "5 (1)=0 10=0"},
                      OgnevCase{MakeComb(7, 14, 7, 14), 0, 0, "0=0"}));

TEST(OgnevTest, CandidatesCountWhenTheyCameOutInTheNextDraw) {
  Archive a;
  a.Add(1, 7, 7, 7, 7);
  a.Add(2, 7, 8, 10, 14);  // f = 3 (1): candidates 12 and 9
  a.Add(3, 12, 8, 8, 8);  // f = 4: candidates 12 and 8
  EXPECT_EQ(a.Rows("HCO3", 2), "4=0 12=0 8=0");  // offset 0: no next draw
  EXPECT_EQ(a.Rows("HCO3", 1, 1), "3 (1)=0 12=1 9=0");
  // Only the window's last draw gives rows, whatever the window length.
  EXPECT_EQ(a.Rows("HCO3", 2, 1), "3 (1)=0 12=1 9=0");
  EXPECT_TRUE(a.Matches("HCO3", MakeComb(9, 7, 7, 7), {"9"}, 1, 1));
  EXPECT_FALSE(a.Matches("HCO3", MakeComb(12, 7, 7, 7), {"9"}, 1, 1));
}

TEST(OgnevTest, NormCountsEveryCombination) {
  Archive a;
  a.Add(1, 7, 8, 9, 10);
  a.list.Rebuild();
  auto stat = a.Stat("HCO2");
  stats::TStatDrawArray values;
  for (int n = 0; n < lottery::CombsTotal; ++n) stat->AddCombValues(lottery::CombOfIndex(n), values);
  int total = 0;
  for (const auto& v : values) total += v.Count;
  EXPECT_EQ(total, lottery::CombsTotal);
  EXPECT_TRUE(a.Matches("HCO2", MakeComb(7, 8, 10, 14), {"0"}, 1) == false);
}

}  // namespace
}  // namespace kelmora
