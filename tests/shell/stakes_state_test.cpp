// The stakes and rating pages through the Session: making, checking, deleting and clearing stakes
// with their questions, the rating file and refresh, the logs, the start-up repair and the charts.

#include "shell/stakes_state.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/temp_dir.h"
#include "lottery/draws.h"
#include "shell/combs_state.h"
#include "shell/recording_host.h"
#include "shell/session.h"
#include "support/encoding.h"
#include "support/files.h"

namespace kelmora::shell {
namespace {

using lottery::MakeComb;

class StakesStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::TDrawsArray draws;
    for (int i = 0; i < 6; ++i) draws.push_back({i + 1, MakeComb(7 + i, 8, 9, 10), ""});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
    // Cost 1, and 2 matches win 5.
    support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini",
                             std::string("[STAKES]\r\nCost=1\r\nProfits=1\r\nProfit_0_Overlap=2\r\nProfit_0_Profit=5\r\n"));
    Start();
  }
  void Start() {
    session_.reset();
    SessionOptions options;
    options.DataDir = dir_.Path();
    options.DecimalSeparator = ',';
    session_ = std::make_unique<Session>(host_, options);
    session_->Create();
    session_->Initialise();
    Stakes().Clock = [] { return std::string("2026.12.11 10:00:00"); };
  }
  StakesState& Stakes() { return session_->Stakes(); }
  std::vector<int32_t> Draws() {
    std::vector<int32_t> out;
    for (int64_t i = 0; i < Stakes().Count(); ++i) out.push_back(Stakes().ReadStake(i).DrawNumber);
    return out;
  }
  bool AddManual(lottery::TComb comb, int32_t draw, const char* name = "Ставка \"вручную\"") {
    auto rec = Stakes().NewManualStake(comb);
    rec.DrawNumber = draw;
    rec.Name = name;
    return Stakes().AddStakeCommand(rec, 1);
  }

  testing::TempDir dir_;
  RecordingHost host_;
  std::unique_ptr<Session> session_;
};

TEST_F(StakesStateTest, ManualStakeForTheNextDrawIsCheckedOnceTheDrawIsAdded) {
  const auto rec = Stakes().NewManualStake(MakeComb(13, 8, 9, 7));
  EXPECT_EQ(rec.DrawNumber, 7);
  EXPECT_EQ(rec.Kind, lottery::StakeManual);
  EXPECT_EQ(rec.Name, "Ставка \"вручную\"");
  EXPECT_EQ(rec.ListSize, 4096);
  EXPECT_EQ(rec.Profit, -10000);
  EXPECT_EQ(Stakes().NewManualStake(std::nullopt).ValueCount, 0);
  ASSERT_TRUE(Stakes().AddStakeCommand(rec, 1));
  EXPECT_EQ(Stakes().CheckStakes(), 0);
  EXPECT_EQ(Stakes().StakeCell(0, 5), "");
  EXPECT_EQ(session_->StatusPanelText(4), "Ставок: 1");

  session_->AddDraw({7, MakeComb(13, 8, 12, 12), ""});
  session_->View().WriteBool(MainWindowSection, "StakesLogEnabled", true);
  session_->MainView().StakesLogEnabled = true;
  EXPECT_EQ(Stakes().CheckStakes(), 1);
  const std::vector<std::string> cells = {"7", "Вручную", "K;8;9;7", "4096", "K;8;Q;Q", "2", "8 K", "4,00",
                                          "Ставка \"вручную\""};
  for (int c = 0; c < stakes::StakeColumnCount; ++c) EXPECT_EQ(Stakes().StakeCell(0, c), cells[c]) << c;
  ASSERT_EQ(Stakes().Rating().size(), 1u);
  EXPECT_EQ(Stakes().RatingCell(0, 4), "4,00");
  EXPECT_EQ(session_->StatusPanelText(5), "Рейтинг: 1");
  EXPECT_EQ(support::Cp1251ToUtf8(support::ReadFileText(dir_ / "Kelmora_4r32-2.log")),
            "2026.12.11 10:00:00: Тираж № 7. Ставка: \"Ставка \"вручную\"\" [K;8;9;7] {4096}. Результаты тиража: "
            "[K;8;Q;Q]. Совпадений: 2. Профит: 4,00.\r\n");
  // The rating was saved: the next start reads it back.
  Start();
  ASSERT_EQ(Stakes().Rating().size(), 1u);
  EXPECT_EQ(Stakes().Rating()[0].SumMatches, 2);
  EXPECT_TRUE(Stakes().StakeExists(7, MakeComb(13, 8, 9, 7)));
}

TEST_F(StakesStateTest, MultiStakeForSeveralCombinationsAndDraws) {
  ASSERT_TRUE(Stakes().AddStakesCommand({MakeComb(7, 8, 9, 10), MakeComb(8, 8, 9, 10)}, 6, "m", 2));
  // Draw 6 is in the archive, draw 7 is not: the first copy of each is checked at once.
  EXPECT_EQ(Draws(), (std::vector<int32_t>{6, -1, 7, -1, 6, -1, 7}));
  EXPECT_TRUE(Stakes().ReadStake(0).Checked);
  EXPECT_FALSE(Stakes().ReadStake(2).Checked);
  EXPECT_EQ(Stakes().ReadStake(4).Matches, 3);
  EXPECT_EQ(Stakes().Rating().size(), 1u);
  EXPECT_EQ(Stakes().Rating()[0].Count, 2);
}

TEST_F(StakesStateTest, DeletingAsksAndTheRatingKeepsCountingUntilRefreshed) {
  AddManual(MakeComb(7, 8, 9, 10), 1, "a");
  AddManual(MakeComb(7, 8, 9, 10), 2, "b");
  AddManual(MakeComb(7, 8, 9, 10), 9, "c");
  ASSERT_EQ(Stakes().Rating().size(), 2u);
  host_.Answers = {false};
  EXPECT_FALSE(Stakes().StakeDelCommand(1, 2));
  EXPECT_EQ(host_.Questions.back().Text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
  EXPECT_EQ(Stakes().Count(), 3);
  host_.Answers = {true};
  EXPECT_TRUE(Stakes().StakeDelCommand(1, 1));
  EXPECT_EQ(Draws(), (std::vector<int32_t>{2, 9}));
  EXPECT_EQ(Stakes().Rating().size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Kelmora_4r32.~tmp"));
  // "Менее [ < ]" 1 removes the unchecked stake as well as those of 0 matches.
  EXPECT_TRUE(Stakes().StakeFilterCommand(stakes::TMatchCompare::Less, 1));
  EXPECT_EQ(Draws(), (std::vector<int32_t>{2}));
  host_.Answers = {false};
  EXPECT_FALSE(Stakes().RatingsRefresh());
  EXPECT_EQ(Stakes().Rating().size(), 2u);
  host_.Answers = {true};
  EXPECT_TRUE(Stakes().RatingsRefresh());
  ASSERT_EQ(Stakes().Rating().size(), 1u);
  EXPECT_EQ(Stakes().Rating()[0].Name, "b");
  // Clearing confirms the deletion, then offers to rebuild the rating.
  host_.Answers = {true, true};
  EXPECT_TRUE(Stakes().StakeClearCommand());
  EXPECT_EQ(host_.Questions.back().Text,
            "Пересчитать рейтинг только по текущим ставкам?\r\rНакопленные ранее данные по удаленным ставкам будут "
            "потеряны.");
  EXPECT_EQ(Stakes().Count(), 0);
  EXPECT_TRUE(Stakes().Rating().empty());
  EXPECT_EQ(std::filesystem::file_size(dir_ / "Kelmora_4r32.lrt"), 0u);
}

TEST_F(StakesStateTest, StartUpRepairsADamagedFileWithAWarning) {
  AddManual(MakeComb(7, 8, 9, 10), 9);
  session_.reset();
  auto bytes = support::ReadFileBytes(dir_ / "Kelmora_4r32.lsk");
  bytes.push_back(2);
  support::WriteFileAtomic(dir_ / "Kelmora_4r32.lsk", bytes);
  host_.Clear();
  Start();
  EXPECT_EQ(host_.MessagesOf(MessageKind::Warning),
            (std::vector<std::string>{
                "Последняя запись файла ставок записана не полностью и удалена, остальные ставки сохранены!"}));
  EXPECT_EQ(Stakes().Count(), 1);
  session_.reset();
  bytes[0] = 1;
  support::WriteFileAtomic(dir_ / "Kelmora_4r32.lsk", bytes);
  host_.Clear();
  Start();
  EXPECT_EQ(host_.MessagesOf(MessageKind::Warning),
            (std::vector<std::string>{"Обнаружен файл ставок устаревшей версии - имеющиеся в файле ставки будут удалены!"}));
  EXPECT_EQ(Stakes().Count(), 0);
  EXPECT_EQ(support::ReadFileBytes(dir_ / "Kelmora_4r32.lsk.old"), bytes);
}

TEST_F(StakesStateTest, ChartsOfStakesAndRatingRows) {
  AddManual(MakeComb(7, 8, 13, 13), 1, "x");   // 2 matches: +4
  AddManual(MakeComb(13, 13, 13, 13), 2, "x");  // 0 matches: -1
  AddManual(MakeComb(13, 13, 13, 13), 9, "y");  // unchecked: -1
  Stakes().StakesGraphDraws();
  ASSERT_EQ(host_.Charts.size(), 1u);
  const auto& draws = host_.Charts[0];
  EXPECT_EQ(draws.Title, "График суммарного профита ставок по тиражам");
  ASSERT_EQ(draws.Series.size(), 3u);
  EXPECT_EQ(draws.Series[0].Title, "Суммарный профит ставок по тиражу");
  std::vector<double> running;
  for (const auto& p : draws.Series[2].Points) running.push_back(p.Y);
  EXPECT_EQ(running, (std::vector<double>{4, 3, 2}));
  EXPECT_DOUBLE_EQ(draws.Series[1].Points[0].Y, 2.0 / 3);

  Stakes().StakesGraphByRating({0}, false);
  ASSERT_EQ(host_.Charts.size(), 2u);
  ASSERT_EQ(host_.Charts[1].Series.size(), 1u);
  const auto& points = host_.Charts[1].Series[0].Points;
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].X, 1);
  EXPECT_EQ(points[0].Y, 2);
  EXPECT_EQ(points[1].Y, 0);

  Stakes().RatingsGraphOverlap({0});
  ASSERT_EQ(host_.Charts.size(), 3u);
  const auto& overlap = host_.Charts[2];
  ASSERT_EQ(overlap.Series.size(), 2u);
  EXPECT_EQ(overlap.Series[0].Title, "Нормальные значения");
  EXPECT_DOUBLE_EQ(overlap.Series[0].Points[0].Y, 2401.0 * 2 / 4096);
  EXPECT_EQ(overlap.Series[1].Points[2].Y, 1);

  Stakes().StakesGraphByRating({}, true);
  EXPECT_EQ(host_.MessagesOf(MessageKind::Information).back(),
            "Для построения графиков необходимо, чтобы в выделенном диапазоне данных было более одного тиража!");
}

TEST_F(StakesStateTest, CheckingReportsProgressAndGoesOnPastALogThatCannotBeWritten) {
  std::vector<lottery::TComb> combs;
  for (int i = 0; i < 200; ++i) combs.push_back(lottery::CombOfIndex(i));
  ASSERT_TRUE(Stakes().AddStakesCommand(combs, 9, "p", 1));
  const auto& texts = host_.StatusTexts;
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Проверка результатов ставок ( завершено 50 % )..."), texts.end());
  // The log of 2 matches is a folder: its line fails, the other stakes and the rating go on.
  std::filesystem::create_directory(dir_ / "Kelmora_4r32-2.log");
  session_->MainView().StakesLogEnabled = true;
  session_->AddDraw({7, MakeComb(7, 7, 9, 13), ""});
  session_->AddDraw({8, MakeComb(7, 7, 9, 13), ""});
  session_->AddDraw({9, MakeComb(7, 7, 9, 13), ""});
  host_.Clear();
  EXPECT_EQ(Stakes().CheckStakes(), 200);
  const auto errors = host_.MessagesOf(MessageKind::Error);
  ASSERT_FALSE(errors.empty());
  EXPECT_EQ(errors[0].rfind("Ошибка записи в файл \"" + (dir_ / "Kelmora_4r32-2.log").string() + "\"!", 0), 0u);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "Kelmora_4r32-1.log"));
  ASSERT_EQ(Stakes().Rating().size(), 1u);
  EXPECT_EQ(Stakes().Rating()[0].Count, 200);
  EXPECT_EQ(stakes::ReadRatingFile(dir_ / "Kelmora_4r32.lrt", nullptr), Stakes().Rating());
}

TEST_F(StakesStateTest, LogsAreDeletedOnRequest) {
  Stakes().LogStakesDelete();
  EXPECT_EQ(host_.MessagesOf(MessageKind::Information).back(), "Файлы журналов не найдены!");
  support::WriteFileAtomic(dir_ / "Kelmora_4r32-0.log", std::string("x"));
  support::WriteFileAtomic(dir_ / "Kelmora_4r32-abc.log", std::string("x"));
  support::WriteFileAtomic(dir_ / "Kelmora_4r32.log", std::string("x"));
  Stakes().LogStakesDelete();
  EXPECT_EQ(host_.MessagesOf(MessageKind::Information).back(), "Удалено файлов журналов: 2.");
  EXPECT_TRUE(std::filesystem::exists(dir_ / "Kelmora_4r32.log"));
}

}  // namespace
}  // namespace kelmora::shell
