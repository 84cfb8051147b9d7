#include "shell/stats_state.h"

#include <fstream>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "lottery/draws.h"
#include "shell/recording_host.h"
#include "shell/session.h"
#include "support/error.h"

namespace kelmora::shell {
namespace {

using lottery::MakeComb;

class StatsStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::TDrawsArray draws;
    for (int i = 0; i < 30; ++i) draws.push_back({1 + i, MakeComb(7 + i % 8, 8, 9 + i % 6, 14), ""});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
    SessionOptions options;
    options.DataDir = dir_.Path();
    session_ = std::make_unique<Session>(host_, options);
    session_->Create();
    session_->LoadDrawsFile();
  }
  int Calculations() const {
    int n = 0;
    for (const auto& t : host_.StatusTexts) n += t == "Анализ тиражей и расчет статистики..." ? 1 : 0;
    return n;
  }

  testing::TempDir dir_;
  RecordingHost host_;
  std::unique_ptr<Session> session_;
};

TEST_F(StatsStateTest, StartsOnTheFirstEntryAndRecomputesOnlyWhenTheKeyChanges) {
  auto& stats = session_->Stats();
  EXPECT_EQ(stats.SelectedEntry(), 0);
  ASSERT_FALSE(stats.Selectors().Stats.empty());
  EXPECT_TRUE(stats.CalcStatTable(false));
  EXPECT_EQ(stats.Table().Rows.size(), 8u);
  const int before = Calculations();
  EXPECT_FALSE(stats.CalcStatTable(false));
  EXPECT_TRUE(stats.SetWindowLength(10));
  EXPECT_FALSE(stats.SetWindowLength(0));
  EXPECT_TRUE(stats.CalcStatTable(false));
  EXPECT_TRUE(stats.CalcStatTable(true));
  EXPECT_EQ(Calculations(), before + 2);
  EXPECT_TRUE(session_->IsIdle());
  EXPECT_EQ(host_.StatusTexts.back(), "");

  session_->SetDrawsOffset(3);  // refreshes the views, so the table follows the offset
  EXPECT_EQ(Calculations(), before + 3);
  EXPECT_EQ(stats.Table().LastIdx, 26);
}

TEST_F(StatsStateTest, ComputeTakesEverythingFromTheRequestAndLeavesTheViewState) {
  auto& stats = session_->Stats();
  auto& view = session_->MainView();
  const TMainViewState view_before = view;
  StatTableRequest request;
  request.Code = "pos2";  // case ignored
  request.Window = 12;
  request.Offset = 4;
  request.SortColumn = 1;
  request.Descending = true;
  const stats::TStatTable& table = stats.Compute(request);
  EXPECT_EQ(&table, &stats.Table());  // it is the page's table now
  EXPECT_EQ(stats.SelectedEntry(), stats.List().IndexOfCode("POS2"));
  EXPECT_EQ(table.LastIdx, 25);
  EXPECT_EQ(table.WindowDraws, 12);
  EXPECT_EQ(stats.SortColumn(), 1);
  EXPECT_TRUE(stats.SortDescending());
  ASSERT_FALSE(table.Rows.empty());
  EXPECT_EQ(table.Rows.front().Text(stats::StatColumn::Value), "8");  // position 2 always holds 8: the largest count
  EXPECT_EQ(session_->DrawsOffset(), 0);
  EXPECT_EQ(view.DrawsStatLen, view_before.DrawsStatLen);
  EXPECT_EQ(view.SortedDraws, view_before.SortedDraws);
  EXPECT_EQ(view.PrefetchsEnabled, view_before.PrefetchsEnabled);
  EXPECT_TRUE(session_->IsIdle());

  // An offset beyond the archive is clamped as the offset editor clamps it.
  request.Offset = 1000;
  EXPECT_EQ(stats.Compute(request).LastIdx, 0);
  // Read ascending, position 1 holds the smallest value: 7 or else the 8 of position 2.
  request.Code = "POS1";
  request.Offset = 0;
  request.Window = 30;
  const auto count_of_8 = [&] {
    for (const auto& row : stats.Compute(request).Rows)
      if (row.Text(stats::StatColumn::Value) == "8") return row.Number(stats::StatColumn::Count).value_or(-1);
    return -1.0L;
  };
  EXPECT_EQ(count_of_8(), 4);
  request.Sorted = true;
  EXPECT_EQ(count_of_8(), 26);
  EXPECT_FALSE(view.SortedDraws);

  struct Bad {
    const char* code;
    int64_t window;
    const char* message;
  };
  for (const Bad& bad : {Bad{"NUMS", 0, "Некорректное количество тиражей: 0!"},
                         Bad{"NUMS", 2147483648, "Некорректное количество тиражей: 2147483648!"},
                         Bad{"XXXX", 0, "Некорректное количество тиражей: 0!"},
                         Bad{"XXXX", 10, "Метод расчета статистики \"XXXX\" не найден!"}}) {
    request.Code = bad.code;
    request.Window = bad.window;
    try {
      stats.Compute(request);
      ADD_FAILURE() << "no error for " << bad.code << " " << bad.window;
    } catch (const support::Error& e) {
      EXPECT_STREQ(e.what(), bad.message);
    }
  }
}

TEST_F(StatsStateTest, NoSelectionEmptiesTheTableAndRefusesToCreateAStatistic) {
  auto& stats = session_->Stats();
  stats.CalcStatTable(true);
  EXPECT_NE(stats.CreateStatFromSelection("cbStat"), nullptr);
  stats.SelectEntry(-1);
  EXPECT_TRUE(stats.CalcStatTable(false));
  EXPECT_TRUE(stats.Table().Rows.empty());
  try {
    stats.CreateStatFromSelection("cbStat");
    ADD_FAILURE() << "no error";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Не выбран метод расчета статистики (cb: cbStat)!");
  }
}

TEST_F(StatsStateTest, HeaderClicksSortAndReverse) {
  auto& stats = session_->Stats();
  stats.CalcStatTable(true);
  stats.ClickColumn(0);
  EXPECT_EQ(stats.SortColumn(), 0);
  EXPECT_FALSE(stats.SortDescending());
  EXPECT_EQ(stats.Table().Rows.front().Cells[0], "7");
  stats.ClickColumn(0);
  EXPECT_TRUE(stats.SortDescending());
  EXPECT_EQ(stats.Table().Rows.front().Cells[0], "Q");  // letters sort after digits as text
  EXPECT_EQ(stats.RowValues(0).Value, "Q");
  EXPECT_EQ(stats.RowValues(99).Value, "");
}

TEST_F(StatsStateTest, ComparisonModeBuildsTheFileAndAFailureLeavesTheTableWithoutNorm) {
  auto& stats = session_->Stats();
  stats.SetComparisonMode(true);
  stats.CalcStatTable(true);
  EXPECT_TRUE(stats.Table().NormMode);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "Prefetchs" / "Kelmora_4r32_NUMS.dfc"));

  std::filesystem::remove_all(dir_ / "Prefetchs");
  std::ofstream(dir_ / "Prefetchs") << "not a folder";
  host_.Messages.clear();
  stats.CalcStatTable(true);
  EXPECT_FALSE(stats.Table().NormMode);
  EXPECT_EQ(stats.Table().Rows.at(0).Cells[3], "-");
  ASSERT_EQ(host_.Messages.size(), 1u);
  EXPECT_EQ(host_.Messages[0].Kind, MessageKind::Error);
  EXPECT_EQ(host_.Messages[0].Text.rfind("Ошибка создания файла данных для полного набора вариантов!\r\rИмя файла: " +
                                             (dir_ / "Prefetchs" / "Kelmora_4r32_NUMS.dfc").string() + "\r\r",
                                         0),
            0u)
      << host_.Messages[0].Text;
  EXPECT_TRUE(session_->IsIdle());
}

TEST_F(StatsStateTest, BuildAllUsesTheProgressWindow) {
  auto& stats = session_->Stats();
  EXPECT_EQ(stats.BuildAllPrefetches(true, 0), 0);
  ASSERT_FALSE(host_.ProgressTexts.empty());
  EXPECT_EQ(host_.ProgressTexts.front(), "Создание файлов для полного набора комбинаций...");
  EXPECT_TRUE(std::filesystem::exists(dir_ / "Prefetchs" / "Kelmora_4r32_POS4.dfc"));
  EXPECT_TRUE(session_->IsIdle());
}

}  // namespace
}  // namespace kelmora::shell
