#include "shell/stats_state.h"

#include <fstream>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "lottery/draws.h"
#include "shell/recording_host.h"
#include "shell/session.h"

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
