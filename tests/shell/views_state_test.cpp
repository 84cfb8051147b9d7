// The analysis pages through the Session: what RefreshAllViews computes (shown pages whose cache
// differs), the filters of the three grids with their history and undo, and the windows' data.

#include "shell/views_state.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "lottery/comb_ops.h"
#include "lottery/draws.h"
#include "shell/combs_state.h"
#include "shell/recording_host.h"
#include "shell/session.h"
#include "shell/stats_state.h"

namespace kelmora::shell {
namespace {

using lottery::MakeComb;

class ViewsStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Twelve dated draws (Mondays and Tuesdays of January 2024) that never hold K or A.
    lottery::TDrawsArray draws;
    for (int i = 0; i < 12; ++i)
      draws.push_back({i + 1, MakeComb(7 + i % 6, 8, 9, 10 + i % 3), i % 2 ? "02/01/2024" : "01/01/2024"});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
    SessionOptions options;
    options.DataDir = dir_.Path();
    session_ = std::make_unique<Session>(host_, options);
    session_->Create();
    session_->Initialise();
  }

  int Count(ViewId id) const { return static_cast<int>(std::count(host_.ChangedViews.begin(), host_.ChangedViews.end(), id)); }

  // Every combination of the list holds one of the values (keep) or none of them (delete).
  bool AllHold(std::initializer_list<int> values, bool hold) {
    for (lottery::TComb c : session_->Combs().CombList()) {
      bool any = false;
      for (int v : values) any = any || lottery::ContainsValue(v, c);
      if (any != hold) return false;
    }
    return true;
  }

  testing::TempDir dir_;
  RecordingHost host_;
  std::unique_ptr<Session> session_;
};

TEST_F(ViewsStateTest, RefreshAllViewsComputesOnlyShownPagesWhoseCacheDiffers) {
  ViewsState& views = session_->Views();
  session_->RefreshAllViews(true);
  EXPECT_EQ(Count(ViewId::Layout) + Count(ViewId::Week) + Count(ViewId::Card) + Count(ViewId::Graphs), 0)
      << "no page is shown";
  views.SetPageShown(ViewPage::Layout, true);
  views.SetPageShown(ViewPage::Week, true);
  views.SetPageShown(ViewPage::Card, true);
  session_->RefreshAllViews(false);
  EXPECT_EQ(Count(ViewId::Layout), 2) << "the scheme and its comparison lists";
  EXPECT_EQ(Count(ViewId::Week), 1);
  EXPECT_EQ(Count(ViewId::Card), 1);
  session_->RefreshAllViews(false);
  EXPECT_EQ(Count(ViewId::Layout), 2) << "nothing changed";
  EXPECT_EQ(Count(ViewId::Card), 1);
  ASSERT_TRUE(views.SetLayoutLen(3));
  EXPECT_FALSE(views.SetLayoutLen(0));
  session_->RefreshAllViews(false);
  EXPECT_EQ(Count(ViewId::Layout), 3) << "the scheme sees its new length, the lists do not depend on it";
  EXPECT_EQ(Count(ViewId::Week), 1);
  session_->SetDrawsOffset(5);
  EXPECT_EQ(Count(ViewId::Layout), 5);
  EXPECT_EQ(Count(ViewId::Week), 2);
  EXPECT_EQ(Count(ViewId::Card), 1) << "the card ignores the offset";
  EXPECT_EQ(views.CardRows(), 13);
  EXPECT_EQ(views.Layout().Grid.At(0, 1), "7") << "the window ends 5 draws before the newest";
  EXPECT_EQ(views.LayoutCompare()[0].Caption, "1 - 7");
  session_->RefreshAllViews(true);
  EXPECT_EQ(Count(ViewId::Card), 2);
  EXPECT_NE(std::find(host_.StatusTexts.begin(), host_.StatusTexts.end(), "Построение схемы выпадения номеров..."),
            host_.StatusTexts.end());
}

TEST_F(ViewsStateTest, GraphsFollowTheirKindLengthAndOffset) {
  ViewsState& views = session_->Views();
  views.SetPageShown(ViewPage::Graphs, true);
  EXPECT_TRUE(views.CalcGraphs(false));
  EXPECT_TRUE(views.Graph().Series.empty()) << "no kind chosen";
  const int sums = session_->Stats().List().IndexOfCode("SUMS");
  views.SelectGraph(sums);
  ASSERT_EQ(views.GraphEntry(), sums);
  ASSERT_TRUE(views.SetGraphLen(4));
  session_->SetDrawsOffset(5);
  ASSERT_EQ(views.Graph().Series.size(), 3u);
  EXPECT_EQ(views.Graph().Series[0].Points.back().X, 7);
  EXPECT_EQ(views.Graph().Series[0].Points.size(), 4u);
  EXPECT_FALSE(views.CalcGraphs(false));
  views.SelectGraph(session_->Stats().List().IndexOfCode("NUMS"));
  EXPECT_EQ(views.GraphEntry(), -1) << "not a graph statistic";
}

TEST_F(ViewsStateTest, CardFilterKeepsCombinationsWithTheCardsAndUndoRestores) {
  ViewsState& views = session_->Views();
  views.SetPageShown(ViewPage::Card, true);
  session_->RefreshAllViews(false);
  // Column 2 (card 8) is filled in every row, so rows 1..3 of it collect 8 once.
  views.ApplyCardFilter({1, 2, 3, 2}, false);
  EXPECT_TRUE(AllHold({8}, true));
  EXPECT_EQ(session_->Combs().Count(), 4096 - 7 * 7 * 7 * 7);
  const auto& history = session_->Combs().FilterHistory();
  ASSERT_FALSE(history.empty());
  EXPECT_EQ(history.back().Caption, "Карта");
  EXPECT_EQ(history.back().Values, "8");
  session_->Combs().UndoCommand();
  EXPECT_EQ(session_->Combs().Count(), 4096);
  // A block of empty cells collects nothing: the message, and the list stays.
  views.ApplyCardFilter({1, 7, 3, 8}, true);
  ASSERT_FALSE(host_.Messages.empty());
  EXPECT_EQ(host_.Messages.back().Text, "В выделенном диапазоне нет значений для фильтра!");
  EXPECT_EQ(session_->Combs().Count(), 4096);
}

TEST_F(ViewsStateTest, LayoutFilterReadsBracketedValuesAndWeekFilterTheColumnsCards) {
  ViewsState& views = session_->Views();
  views.SetPageShown(ViewPage::Layout, true);
  session_->SetDrawsOffset(1);
  const auto& grid = views.Layout().Grid;
  ASSERT_GT(grid.Rows, 1);
  views.ApplyLayoutFilter({1, 1, grid.Rows - 1, grid.Cols - 1}, true);
  EXPECT_TRUE(AllHold({7, 8, 9, 10, 11, 12}, false));
  EXPECT_EQ(session_->Combs().Count(), 2 * 2 * 2 * 2) << "only K and A remain";
  EXPECT_EQ(session_->Combs().FilterHistory().back().Caption, "Схема");
  session_->Combs().UndoCommand();

  // Columns 1 and 8 of the weekday grid are the cards 7 and A.
  views.ApplyWeekFilter(8, 8, false);
  EXPECT_TRUE(AllHold({14}, true));
  EXPECT_EQ(session_->Combs().Count(), 4096 - 7 * 7 * 7 * 7);
  EXPECT_EQ(session_->Combs().FilterHistory().back().Caption, "Неделя");
  EXPECT_EQ(session_->Combs().FilterHistory().back().Values, "A");
  session_->Combs().UndoCommand();
  views.ApplyWeekFilter(1, 1, true);
  EXPECT_TRUE(AllHold({7}, false));
  EXPECT_EQ(session_->Combs().Count(), 7 * 7 * 7 * 7);
}

TEST_F(ViewsStateTest, RepeatsStoreTheirLengthsAndShowProgress) {
  ViewsState& views = session_->Views();
  EXPECT_EQ(views.RepeatsLength(), 100);
  const auto repeats = views.CalcRepeats(3, 1);
  EXPECT_EQ(views.RepeatsLength(), 3);
  EXPECT_EQ(views.RepeatsDeep(), 1);
  ASSERT_FALSE(repeats.Rows.empty());
  EXPECT_EQ(repeats.Rows.front().Draw, 12);
  EXPECT_EQ(repeats.Rows.front().Draws, "11");
  EXPECT_NE(std::find(host_.ProgressTexts.begin(), host_.ProgressTexts.end(), "Идет сбор статистики...."),
            host_.ProgressTexts.end());
  const auto chart = views.RepeatsChart(repeats);
  EXPECT_EQ(static_cast<int>(chart.Series.size()), repeats.MaxMatches);
  EXPECT_EQ(views.CalcSums().Tmax, 344);
}

}  // namespace
}  // namespace kelmora::shell
