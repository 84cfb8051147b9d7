#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lottery/types.h"
#include "lottery/comb_ops.h"
#include "stats/registry.h"
#include "stats/stat_list.h"
#include "stats/chains.h"
#include "registry_archive.h"

namespace kelmora {
namespace {

using lottery::MakeComb;

using Archive = testing::RegistryArchive;

struct ChainCase {
  const char* Code;
  std::vector<lottery::TComb> Draws;  // numbered from 1, the last one the window's last
  const char* Rows;
  int ChannelSize = 2;
};

class ChainRowsTest : public ::testing::TestWithParam<ChainCase> {};

TEST_P(ChainRowsTest, TransitionsFromTheLastDraw) {
  const ChainCase& c = GetParam();
  Archive a;
  a.config.ChannelSize = c.ChannelSize;
  int number = 1;
  for (lottery::TComb d : c.Draws) a.draws.push_back({number++, d, ""});
  EXPECT_EQ(a.Rows(c.Code, static_cast<int>(c.Draws.size())), c.Rows) << c.Code;
}

const std::vector<lottery::TComb> Inside = {MakeComb(7, 9, 11, 13), MakeComb(8, 10, 7, 7), MakeComb(7, 9, 11, 13)};
const std::vector<lottery::TComb> Steady = {MakeComb(7, 8, 9, 10), MakeComb(7, 8, 9, 10), MakeComb(7, 8, 9, 10),
                                            MakeComb(7, 8, 9, 10)};

INSTANTIATE_TEST_SUITE_P(
    Members, ChainRowsTest,
    ::testing::Values(
        // Repeated values count once per position.
        ChainCase{"SDV2", {MakeComb(7, 7, 9, 7), MakeComb(8, 9, 10, 11), MakeComb(7, 10, 10, 10)},
                  "7 -> 8=3 7 -> 9=3 7 -> 10=3 7 -> J=3 10 -> 7=1 10 -> 10=3"},
        // A position whose last value never stood there before gives nothing.
        ChainCase{"SDP2", {MakeComb(7, 8, 9, 10), MakeComb(8, 9, 10, 11), MakeComb(7, 9, 13, 14)}, "7 -> 8=1 9 -> 9=1"},
        ChainCase{"SDN2", {MakeComb(7, 8, 9, 10), MakeComb(8, 9, 10, 11), MakeComb(7, 9, 13, 14)}, "9 -> 9=1"},
        // The first two draws of the archive have no P2.
        ChainCase{"SDP3", Steady, "7-7 -> 7=2 8-8 -> 8=2 9-9 -> 9=2 10-10 -> 10=2"},
        ChainCase{"SDM4", Steady, "10-10 -> 10=2"},
        ChainCase{"SCP2", {MakeComb(7, 9, 11, 13), MakeComb(8, 11, 12, 14), MakeComb(8, 10, 7, 7)},
                  "01 -> 01=2 02 -> 03=1"},
        ChainCase{"SCV2", {MakeComb(7, 7, 13, 13), MakeComb(9, 9, 9, 9), MakeComb(8, 12, 12, 12)},
                  "01 -> 02=8"},
        // Listed rows run from the last draw's count to 0 .. ChannelSize; 3 only once it occurred.
        ChainCase{"SC2C1", {MakeComb(7, 9, 11, 13), MakeComb(7, 8, 8, 13), MakeComb(7, 9, 11, 13)},
                  "01 -> 00=0 01 -> 01=0 01 -> 02=0 01 -> 03=1"},
        ChainCase{"SC2C1", {MakeComb(7, 9, 11, 13), MakeComb(7, 8, 8, 13), MakeComb(7, 9, 11, 13)},
                  "02 -> 00=0 02 -> 01=0 02 -> 02=0 02 -> 03=1 02 -> 04=0", 4},
        ChainCase{"SC3C1", {MakeComb(7, 9, 11, 13), MakeComb(7, 8, 8, 13), MakeComb(7, 9, 11, 13),
                            MakeComb(7, 8, 8, 13), MakeComb(7, 9, 11, 13), MakeComb(7, 8, 8, 13)},
                  "01-03 -> 00=0 01-03 -> 01=2 01-03 -> 02=0"},
        ChainCase{"SS2C1", Steady, "4 -> 0=0 4 -> 4=3"},
        ChainCase{"SS3C1", Steady, "4-4 -> 0=0 4-4 -> 4=2"},
        // Within channels: x -> y for y of x's channel, x -> 0 when none.
        ChainCase{"SDA2", Inside, "07 -> 08=1 07 -> 07=4 09 -> 10=1 11 -> 00=1 13 -> 00=1"},
        ChainCase{"SDG2", Inside, "07 -> 08=1 07 -> 07=4 09 -> 10=1"},
        ChainCase{"SDZ2", Inside, "11 -> 00=1 13 -> 00=1"},
        ChainCase{"SDC2", Inside, "7 -> 3=1 9 -> 1=1 11 -> 0=1 13 -> 0=1 7 -> 1=2"},
        // Every value of the last draw always followed by one of its channel: no row.
        ChainCase{"SDZ2", {MakeComb(7, 9, 11, 13), MakeComb(8, 10, 12, 14), MakeComb(7, 9, 11, 13)}, ""}));

struct ChainFilterCase {
  const char* Code;
  const char* Row;
  lottery::TComb Comb;
  bool Expected;
};

class ChainFilterTest : public ::testing::TestWithParam<ChainFilterCase> {};

TEST_P(ChainFilterTest, FollowingValueAnywhere) {
  const ChainFilterCase& c = GetParam();
  Archive a;
  for (lottery::TComb d : Inside) a.draws.push_back({static_cast<int>(a.draws.size()) + 1, d, ""});
  EXPECT_EQ(a.Matches(c.Code, c.Comb, {c.Row}, 3), c.Expected) << c.Code << " " << c.Row;
}

INSTANTIATE_TEST_SUITE_P(
    Members, ChainFilterTest,
    ::testing::Values(
        // Positions are not compared: J -> 7 of position 3 keeps a 7 anywhere.
        ChainFilterCase{"SDN3", "J -> 7", MakeComb(9, 9, 9, 7), true},
        ChainFilterCase{"SDN3", "J -> 7", MakeComb(9, 9, 9, 9), false},
        ChainFilterCase{"SCP2", "01 -> 01", MakeComb(12, 12, 8, 12), true},
        ChainFilterCase{"SCP2", "01 -> 01", MakeComb(12, 12, 10, 12), false},
        ChainFilterCase{"SC2C1", "01 -> 02", MakeComb(7, 8, 12, 12), true},
        ChainFilterCase{"SC2C1", "01 -> 02", MakeComb(7, 9, 12, 12), false},
        ChainFilterCase{"SDG2", "09 -> 10", MakeComb(10, 12, 12, 12), true},
        ChainFilterCase{"SDG2", "09 -> 10", MakeComb(9, 12, 12, 12), false},
        // An x -> 0 row keeps any value of x's channel.
        ChainFilterCase{"SDZ2", "11 -> 00", MakeComb(12, 7, 7, 7), true},
        ChainFilterCase{"SDZ2", "11 -> 00", MakeComb(7, 8, 9, 10), false},
        ChainFilterCase{"SDC2", "11 -> 0", MakeComb(11, 7, 7, 7), true}));

TEST(ChainsTest, IndexRangesFollowTheSettings) {
  Archive a;
  a.config.ChannelSize = 3;
  a.config.MatrixSegments = lottery::TextToMatrixSegments("23232323");
  a.list.Rebuild();
  EXPECT_GE(a.list.IndexOfCode("SC2C3"), 0);
  EXPECT_LT(a.list.IndexOfCode("SC2C4"), 0);
  EXPECT_GE(a.list.IndexOfCode("SS3C1"), 0);  // the missing cells are 1
  EXPECT_GE(a.list.IndexOfCode("SS3C3"), 0);
  EXPECT_LT(a.list.IndexOfCode("SS3C4"), 0);
  a.config.ChannelSize = 0;
  a.list.Rebuild();
  EXPECT_LT(a.list.IndexOfCode("SC2C1"), 0);
}

}  // namespace
}  // namespace kelmora
