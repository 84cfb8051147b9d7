// The combination list commands through the Session: the central act (table rows -> keep or
// delete -> history -> undo), the clipboard paste refusal and the draw exclusion with an offset.

#include "shell/combs_state.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "shell/recording_host.h"
#include "shell/session.h"
#include "shell/stats_state.h"
#include "stats/stat_list.h"

namespace kelmora::shell {
namespace {

using lottery::MakeComb;

class CombsStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Six draws whose values never include K or A.
    lottery::TDrawsArray draws;
    for (int i = 0; i < 6; ++i) draws.push_back({i + 1, MakeComb(7 + i % 6, 8, 9, 10 + i % 3), ""});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
    SessionOptions options;
    options.DataDir = dir_.Path();
    session_ = std::make_unique<Session>(host_, options);
    session_->Create();
    session_->Initialise();
  }

  // Rows of the current table whose caption (column 0) is one of the texts.
  std::vector<int> RowsWithCaptions(std::initializer_list<std::string> captions) {
    std::vector<int> rows;
    const auto& table = session_->Stats().Table();
    for (int r = 0; r < static_cast<int>(table.Rows.size()); ++r)
      for (const auto& c : captions)
        if (table.Rows[r].Cells[0] == c) rows.push_back(r);
    return rows;
  }

  testing::TempDir dir_;
  RecordingHost host_;
  std::unique_ptr<Session> session_;
};

TEST_F(CombsStateTest, KeepDeleteAndUndoMoveTheListAndTheHistoryTogether) {
  CombsState& combs = session_->Combs();
  ASSERT_EQ(combs.Count(), 4096);
  EXPECT_EQ(session_->StatusPanelText(3), "Комбинаций: 4096");

  ASSERT_TRUE(session_->Stats().SelectCode("NUMS"));
  ASSERT_TRUE(session_->Stats().CalcStatTable(true));
  const auto ka = RowsWithCaptions({"K", "A"});
  ASSERT_EQ(ka.size(), 2u);

  combs.ApplyStatFilter(ka, /*is_delete=*/true);
  EXPECT_EQ(combs.Count(), 6 * 6 * 6 * 6) << "every combination with a K or an A is gone";
  for (lottery::TComb c : combs.CombList()) EXPECT_FALSE(lottery::ContainsValue(13, c) || lottery::ContainsValue(14, c));
  ASSERT_EQ(combs.FilterHistory().size(), 1u);

  const auto seven = RowsWithCaptions({"7"});
  combs.ApplyStatFilter(seven, /*is_delete=*/false);
  EXPECT_EQ(combs.Count(), 6 * 6 * 6 * 6 - 5 * 5 * 5 * 5);
  EXPECT_EQ(combs.FilterHistory().size(), 2u);

  ASSERT_TRUE(combs.CanUndo());
  combs.UndoCommand();
  EXPECT_EQ(combs.Count(), 6 * 6 * 6 * 6);
  EXPECT_EQ(combs.FilterHistory().size(), 1u) << "undo removes the last history entry";
  EXPECT_TRUE(host_.MessagesOf(MessageKind::Error).empty());
}

TEST_F(CombsStateTest, PasteOfABadLineIsRefusedAndTheListStays) {
  CombsState& combs = session_->Combs();
  combs.RemoveSelected({0, 1, 2});
  const auto before = combs.CombList();
  host_.Clipboard = "7 8 9 10\r\n7 8 x\r\n";
  EXPECT_FALSE(combs.PasteFromClipboard());
  EXPECT_EQ(combs.CombList(), before);
  EXPECT_EQ(host_.MessagesOf(MessageKind::Error).size(), 1u);

  host_.Clipboard = "7 8 9 10\r\nA K Q J\r\n";
  EXPECT_TRUE(combs.PasteFromClipboard());
  EXPECT_EQ(combs.CombList(), (filtering::TCombsArray{MakeComb(7, 8, 9, 10), MakeComb(14, 13, 12, 11)}));
}

TEST_F(CombsStateTest, ReplacingTheListDropsHistoryAndUndoAndSignalsTheChange) {
  CombsState& combs = session_->Combs();
  combs.RemoveSelected({0, 1, 2});
  ASSERT_TRUE(combs.CanUndo());
  ASSERT_EQ(combs.FilterHistory().size(), 1u);
  host_.ChangedViews.clear();
  const filtering::TCombsArray list = {MakeComb(7, 8, 9, 10), MakeComb(11, 12, 13, 14)};
  combs.ReplaceList(list);
  EXPECT_EQ(combs.CombList(), list);
  EXPECT_FALSE(combs.CanUndo());
  EXPECT_TRUE(combs.FilterHistory().empty());
  EXPECT_EQ(session_->StatusPanelText(3), "Комбинаций: 2");
  const auto& views = host_.ChangedViews;
  for (ViewId v : {ViewId::Combs, ViewId::Filters, ViewId::StatusBar})
    EXPECT_NE(std::find(views.begin(), views.end(), v), views.end()) << static_cast<int>(v);
}

TEST_F(CombsStateTest, ExcludedDrawsCountBackFromTheCurrentDraw) {
  CombsState& combs = session_->Combs();
  session_->SetDrawsOffset(2);  // draws 5 and 6 are not drawn yet
  session_->MainView().DrawsExclude = 2;
  combs.ExcludeDrawsCommand();  // removes the values of draws 4 and 3
  EXPECT_EQ(combs.Count(), 4094);
  const auto& draws = session_->Draws();
  for (lottery::TComb c : combs.CombList()) {
    EXPECT_NE(c, draws[3].Values);
    EXPECT_NE(c, draws[2].Values);
  }
  EXPECT_NE(std::find(combs.CombList().begin(), combs.CombList().end(), draws[5].Values), combs.CombList().end());
  combs.UndoCommand();
  EXPECT_EQ(combs.Count(), 4096);
}

TEST(CombsStateLargeArchive, TableAndFilterRunInsideTheBusyStateWithAStatusText) {
  testing::TempDir dir;
  lottery::TDrawsArray draws;
  for (int i = 0; i < 5000; ++i)
    draws.push_back({i + 1, lottery::CombOfIndex(static_cast<int>((i * 2654435761u) % 4096)), ""});
  lottery::SaveDrawsFile(dir / "Kelmora_4r32.ldr", draws);
  RecordingHost host;
  SessionOptions options;
  options.DataDir = dir.Path();
  Session session(host, options);
  session.Create();
  session.Initialise();

  // Every status text the operations show arrives while the program is busy.
  std::vector<std::pair<std::string, bool>> seen;
  host.OnProcessEvents = [&] {
    if (!host.StatusTexts.empty()) seen.emplace_back(host.StatusTexts.back(), host.Busy);
  };
  ASSERT_TRUE(session.Stats().SelectCode("KNM3"));
  ASSERT_TRUE(session.Stats().SetWindowLength(1000));
  ASSERT_TRUE(session.Stats().CalcStatTable(true));
  ASSERT_GT(session.Stats().Table().Rows.size(), 100u);
  session.Combs().ApplyStatFilter({0, 1, 2}, /*is_delete=*/true);
  EXPECT_LT(session.Combs().Count(), 4096);

  int busy_texts = 0;
  for (const auto& [text, busy] : seen) {
    if (text.empty()) continue;
    EXPECT_TRUE(busy) << text;
    ++busy_texts;
  }
  EXPECT_GE(busy_texts, 2) << "the table and the filter each show their status text";
  EXPECT_TRUE(session.IsIdle());
}

}  // namespace
}  // namespace kelmora::shell
