#include "stats/channels.h"

#include <gtest/gtest.h>

#include "family_fixture.h"

namespace kelmora::testing {
namespace {

using lottery::MakeComb;

struct ChannelFixture : FamilyFixture {
  explicit ChannelFixture(int channel_size) : FamilyFixture(stats::ChannelClasses()) {
    config.ChannelSize = channel_size;
    list.Rebuild();
  }
};

struct DrawCase {
  int ChannelSize;
  const char* Code;
  const char* Rows;  // every row of the one-draw table of (7, 8, 8, A)
};

class ChannelsOfOneDraw : public ::testing::TestWithParam<DrawCase> {};

TEST_P(ChannelsOfOneDraw, RowsInTheOrderTheValuesCame) {
  ChannelFixture f(GetParam().ChannelSize);
  f.Add(1, 7, 8, 8, 14);
  EXPECT_EQ(f.Counts(GetParam().Code, 1), GetParam().Rows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChannelsOfOneDraw,
    ::testing::Values(
        DrawCase{2, "CHAN", "01 [7-8]=3 02 [9-10]=0 03 [J-Q]=0 04 [K-A]=1"},
        DrawCase{2, "CHNV",
                 "01 [7-8] x 0=0 01 [7-8] x 1=0 01 [7-8] x 2=0 02 [9-10] x 0=1 02 [9-10] x 1=0 02 [9-10] x 2=0 "
                 "03 [J-Q] x 0=1 03 [J-Q] x 1=0 03 [J-Q] x 2=0 04 [K-A] x 0=0 04 [K-A] x 1=1 04 [K-A] x 2=0 "
                 "01 [7-8] x 3=1"},
        DrawCase{2, "CHNC", "1=0 2=1"}, DrawCase{2, "KCM2", "1:1=3 1:4=3"}, DrawCase{2, "KCS2", "1:1=2 1:4=1"},
        DrawCase{2, "KCM3", "1:1:1=1 1:1:4=3"}, DrawCase{2, "KCS3", "1:1:1=1 1:1:4=1"},
        DrawCase{2, "CHN1", "1=0 2=0 3=1"}, DrawCase{2, "CHN2", "1=0 2=0 0=1"}, DrawCase{2, "CHN4", "1=1 2=0"},
        DrawCase{1, "CHAN", "01 [7-7]=1 02 [8-8]=2 03 [9-9]=0 04 [10-10]=0 05 [J-J]=0 06 [Q-Q]=0 07 [K-K]=0 08 [A-A]=1"},
        DrawCase{1, "CHNC", "1=0 3=1"}, DrawCase{3, "CHAN", "01 [7-9]=3 02 [10-Q]=0 03 [K-15]=1"},
        DrawCase{8, "CHAN", "01 [7-A]=4"}, DrawCase{8, "CHNC", "1=1 2=0 3=0 4=0"},
        DrawCase{8, "CHN1", "1=0 2=0 3=0 4=1 5=0 6=0 7=0 8=0"},
        // Only a hand-edited file can hold a size below 1; it counts as 1 instead of dividing by zero.
        DrawCase{0, "CHNC", "1=0 3=1"}, DrawCase{-3, "CHN8", "1=1"}));

TEST(Channels, IndexedEntriesFollowTheChannelSizeWhenTheRegistryIsRebuilt) {
  ChannelFixture f(2);
  EXPECT_TRUE(f.Listed("CHN4"));
  f.config.ChannelSize = 3;
  f.list.Rebuild();
  EXPECT_TRUE(f.Listed("CHN3"));
  EXPECT_FALSE(f.Listed("CHN4"));
  f.config.ChannelSize = 0;
  f.list.Rebuild();
  EXPECT_TRUE(f.Listed("CHN8"));
}

TEST(Channels, ObjectKeepsTheSizeItWasCreatedWith) {
  ChannelFixture f(2);
  f.Add(1, 7, 8, 8, 14);
  auto stat = f.list.CreateStat(f.Entry("CHAN"));
  f.config.ChannelSize = 3;
  EXPECT_EQ(stat->ValueText(stats::TStatDrawItem{.Key1 = 2}), "02 [9-10]");
  EXPECT_EQ(stat->ValueFromText("02 [9-10]"), 2);
}

TEST(Channels, FiltersLookAtTheCombinationsChannels) {
  ChannelFixture f(2);
  f.Add(1, 7, 8, 8, 14);
  auto ch = [](lottery::TComb c, int p) { return (lottery::CombValue(c, p) - 5) / 2; };
  auto has_high = [&](lottery::TComb c) {
    for (int p = 0; p < 4; ++p) {
      if (ch(c, p) == 4) return true;
    }
    return false;
  };
  EXPECT_EQ(f.FilterMismatches("CHAN", 1, {"04 [K-A]"}, has_high), 0);
  auto neighbours_1_4 = [&](lottery::TComb c) {
    for (int p = 0; p < 3; ++p) {
      if (ch(c, p) == 1 && ch(c, p + 1) == 4) return true;
    }
    return false;
  };
  EXPECT_EQ(f.FilterMismatches("KCS2", 1, {"1:4"}, neighbours_1_4), 0);
  auto none_in_2 = [&](lottery::TComb c) {
    for (int p = 0; p < 4; ++p) {
      if (ch(c, p) == 2) return false;
    }
    return true;
  };
  EXPECT_EQ(f.FilterMismatches("CHNV", 1, {"02 [9-10] x 0"}, none_in_2), 0);
  EXPECT_EQ(f.FilterMismatches("CHN2", 1, {"0"}, none_in_2), 0);
}

TEST(Channels, FourChannelCombinationsAreNeverListed) {
  ChannelFixture f(2);
  EXPECT_FALSE(f.Listed("KCM4"));
  EXPECT_FALSE(f.Listed("KCS4"));
}

}  // namespace
}  // namespace kelmora::testing
