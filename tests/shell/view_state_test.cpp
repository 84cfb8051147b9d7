#include "shell/view_state.h"

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::shell {
namespace {

class ViewStateTest : public ::testing::Test {
 protected:
  ViewState Load(const std::string& text) {
    support::WriteFileAtomic(dir_ / "v.frm", text);
    ViewState v(dir_ / "v.frm");
    v.Load();
    return v;
  }
  testing::TempDir dir_;
  const std::array<int32_t, 4> current_{10, 20, 110, 220};
};

TEST_F(ViewStateTest, PlacementPrefersTheKeyOfTheScreenSizeAndFallsBack) {
  auto v = Load(
      "[TFormMain]\nPixelsPerInch=96\nShowCmd=3\nNormPos=1,2,300,400\nNormPos_1920x1080=5,6,700,800\n"
      "MinMaxPos=1,1,x,4\n");
  auto same_screen = v.RestorePlacement("TFormMain", 1920, 1080, 96, current_);
  ASSERT_TRUE(same_screen);
  EXPECT_EQ(same_screen->NormPos, (std::array<int32_t, 4>{5, 6, 700, 800}));
  EXPECT_EQ(same_screen->MinMaxPos, (std::array<int32_t, 4>{1, 1, 0, 4})) << "a malformed number gives 0";
  EXPECT_EQ(same_screen->ShowCmd, 3);
  auto other_screen = v.RestorePlacement("tformmain", 1280, 1024, 96, current_);
  ASSERT_TRUE(other_screen);
  EXPECT_EQ(other_screen->NormPos, (std::array<int32_t, 4>{1, 2, 300, 400}));
  EXPECT_FALSE(v.RestorePlacement("TFormMain", 1920, 1080, 120, current_)) << "other resolution keeps design";
  EXPECT_FALSE(v.RestorePlacement("TFormOther", 1920, 1080, 96, current_));
}

TEST_F(ViewStateTest, MalformedNormalEdgesKeepTheCurrentOnesAndAnEmptyRectangleIsIgnored) {
  auto v = Load("[W]\nPixelsPerInch=96\nNormPos=1,y,300,400\n[E]\nPixelsPerInch=96\nNormPos=500,0,100,100\n");
  EXPECT_EQ(v.RestorePlacement("W", 1, 1, 96, current_)->NormPos, (std::array<int32_t, 4>{1, 20, 300, 400}));
  EXPECT_EQ(v.RestorePlacement("E", 1, 1, 96, current_)->NormPos, current_);
}

// A damaged file costs the stored layout, never the window: no restore throws.
TEST_F(ViewStateTest, MalformedPlacementAndColumnNumbersTakeTheirDefaults) {
  auto v = Load(
      "[W]\nPixelsPerInch=96\nFlags=,\nShowCmd=max\nNormPos=1,2,300,400\nlv.Column0=wide\nlv.Column1=70\n"
      "[R]\nPixelsPerInch=9x6\nNormPos=1,2,300,400\n");
  std::optional<TWindowPlacement> p;
  ASSERT_NO_THROW(p = v.RestorePlacement("W", 1, 1, 96, current_));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->Flags, 0);
  EXPECT_EQ(p->ShowCmd, 1);
  EXPECT_EQ(p->NormPos, (std::array<int32_t, 4>{1, 2, 300, 400}));
  EXPECT_FALSE(v.RestorePlacement("R", 1, 1, 96, current_)) << "a malformed resolution matches none";
  EXPECT_EQ(v.RestoreColumns("W", "lv", 3, {10, 20}).Widths, (std::vector<int32_t>{10, 70, 80}));
}

TEST_F(ViewStateTest, SavedPlacementColumnsAndSwitchesReadBack) {
  ViewState v(dir_ / "new.frm");
  v.Load();
  TWindowPlacement p;
  p.NormPos = {3, 4, 503, 404};
  p.ShowCmd = 1;
  v.SavePlacement("TFormMain", p, 800, 600);
  v.SaveColumns("TFormMain", "lvDrawsStat", {{50, 60, 70}, std::make_pair(2, 1)});
  v.WriteBool("TFormMain", "ColorDraws", false);

  ViewState back(dir_ / "new.frm");
  back.Load();
  EXPECT_EQ(back.RestorePlacement("TFormMain", 800, 600, 96, current_)->NormPos, p.NormPos);
  const auto cols = back.RestoreColumns("TFormMain", "lvDrawsStat", 4, {1, 2, 3, 4});
  EXPECT_EQ(cols.Widths, (std::vector<int32_t>{50, 60, 70, 4}));
  EXPECT_EQ(cols.Sort, std::make_pair(2, 1));
  EXPECT_FALSE(back.ReadBool("TFormMain", "ColorDraws", true));
  EXPECT_NE(support::ReadFileText(dir_ / "new.frm").find("ColorDraws=0\r\n"), std::string::npos);
}

TEST_F(ViewStateTest, MainWindowKeysHaveTheirDefaultsAndMalformedOnesFail) {
  auto v = Load("[TFormMain]\nWeekLen=300\nSortedDraws=1\nRatingsEffMode=zz\n");
  TMainViewState s;
  EXPECT_THROW(ReadMainViewState(v, s), support::Error);
  EXPECT_EQ(s.WeekLen, 300);
  EXPECT_TRUE(s.SortedDraws);
  EXPECT_EQ(s.RatingsEffMode, 1);
  EXPECT_TRUE(s.ShowTotalLine);
  EXPECT_FALSE(s.FirstRun);
  EXPECT_EQ(s.LayoutCompareLen, (std::array<int32_t, 5>{50, 100, 200, 300, 400}));
}

}  // namespace
}  // namespace kelmora::shell
