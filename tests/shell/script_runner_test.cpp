// The runner through the Session: the edge cases of the stake modes, the flags and their view-state
// keys, the stop question, the progress panels and rows, the log switch and its failures, and what
// a run restores.

#include "shell/script_runner.h"

#include <gtest/gtest.h>

#include "common/script_golden.h"
#include "common/temp_dir.h"
#include "shell/combs_state.h"
#include "shell/recording_host.h"
#include "shell/session.h"
#include "shell/stakes_state.h"
#include "shell/stats_state.h"

namespace kelmora::shell {
namespace {

class ScriptRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", testing::GoldenArchive(12));
    Start();
  }
  void Start() {
    session_.reset();
    SessionOptions options;
    options.DataDir = dir_.Path();
    session_ = std::make_unique<Session>(host_, options);
    session_->Create();
    session_->Initialise();
    Runner().Clock = [] { return scripts::TLocalTime{2026, 12, 11, 10, 0, 0}; };
    Runner().SeedRandom(3);
    host_.Clear();
  }
  ScriptRunner& Runner() { return session_->Runner(); }
  StakesState& Stakes() { return session_->Stakes(); }
  // Script stakes in the file (separators left out).
  int ScriptStakes() {
    int n = 0;
    for (int64_t i = 0; i < Stakes().Count(); ++i) n += Stakes().ReadStake(i).Kind == lottery::StakeScript ? 1 : 0;
    return n;
  }
  void Generation(int mode, const char* parameter) {
    TGenerationDefaults g;
    g.Mode = static_cast<uint8_t>(mode);
    g.Parameters = parameter;
    session_->SetGenerationDefaults(g);
  }

  testing::TempDir dir_;
  RecordingHost host_;
  std::unique_ptr<Session> session_;
};

TEST_F(ScriptRunnerTest, OneCombinationLeftIsStakedUnderEveryModeButNone) {
  Generation(2, "7");  // the list is (7,7,7,7) alone
  for (const char* mode : {"RAND", "FIRST", "LAST", "ALL", "SYSA", "SYSC", "STOP", "SKIP", "NONE"}) {
    Stakes().ClearStakesFile();
    host_.Clear();
    const std::string line = fmt::format("FULL:0#{}| | | | | | | |", mode);
    EXPECT_EQ(Runner().ScriptRun({line}), ScriptOutcome::Complete) << mode;
    const bool none = std::string(mode) == "NONE";
    ASSERT_EQ(ScriptStakes(), none ? 0 : 1) << mode;
    EXPECT_EQ(Runner().StakesMade(), none ? 0 : 1) << mode;
    EXPECT_TRUE(host_.Messages.empty()) << mode << ": " << host_.Messages.front().Text;
    if (none) continue;
    const auto rec = Stakes().ReadStake(-1);
    EXPECT_EQ(rec.Values, lottery::MakeComb(7, 7, 7, 7));
    EXPECT_EQ(rec.Name, fmt::format("01.000: @ FULL#{}", mode));
    EXPECT_EQ(rec.DrawNumber, 13);
    EXPECT_EQ(rec.ListSize, 1);
  }
}

TEST_F(ScriptRunnerTest, AnEmptyListMakesNoStakeAndIsNoFailure) {
  Generation(2, "");  // keeps nothing
  for (const char* mode : {"RAND", "FIRST", "LAST", "ALL", "SYSA", "SYSC", "STOP", "SKIP", "NONE"}) {
    const std::string line = fmt::format("FULL:0#{}|TMF1#NUMS:5#LNO:#SF:0| | | | | | |", mode);
    EXPECT_EQ(Runner().ScriptTest({line}, 2), ScriptOutcome::Complete) << mode;
    EXPECT_EQ(Runner().StakesMade(), 0) << mode;
  }
  EXPECT_EQ(ScriptStakes(), 0);
  EXPECT_TRUE(host_.Messages.empty());
}

TEST_F(ScriptRunnerTest, TwoCombinationsUnderStopEndTheTestAtItsOffset) {
  Generation(2, "7;8");  // 16 combinations
  session_->SetDrawsOffset(0);
  EXPECT_EQ(Runner().ScriptTest({"FULL:0#STOP| | | | | | | |", "FULL:0#FIRST| | | | | | | |"}, 3),
            ScriptOutcome::Stopped);
  EXPECT_EQ(session_->DrawsOffset(), 3);
  EXPECT_EQ(ScriptStakes(), 0);
  ASSERT_EQ(host_.MessagesOf(MessageKind::Attention).size(), 1u);
  EXPECT_EQ(host_.MessagesOf(MessageKind::Attention)[0],
            "Выполнение сценария прервано, т.к. после применения всех фильтров в списке комбинаций их осталось более "
            "одной: 16!\r\rФильтры: 01.000: @ FULL#STOP");
  EXPECT_FALSE(Runner().Running());
  EXPECT_FALSE(Runner().StopFlag());
}

TEST_F(ScriptRunnerTest, ATestStartsAGroupPerPassOldestDrawFirstAndRestoresTheOffset) {
  session_->SetDrawsOffset(1);
  EXPECT_EQ(Runner().ScriptTest({"FULL:0#FIRST| | | | | | | |"}, 3), ScriptOutcome::Complete);
  std::vector<int32_t> draws;
  for (int64_t i = 0; i < Stakes().Count(); ++i) draws.push_back(Stakes().ReadStake(i).DrawNumber);
  EXPECT_EQ(draws, (std::vector<int32_t>{10, -1, 11, -1, 12}));
  EXPECT_EQ(session_->DrawsOffset(), 1);
  // Checked after every line, so each reached the rating at once.
  ASSERT_EQ(Stakes().Rating().size(), 1u);
  EXPECT_EQ(Stakes().Rating()[0].Count, 3);
}

TEST_F(ScriptRunnerTest, ProgressPanelsAndRowsFollowTheRun) {
  host_.Clear();
  ASSERT_EQ(Runner().ScriptRun({"", "FULL:0#FIRST|TMD1#NUMS:5;10#CMV:9#SF:0| | | | | | |"}), ScriptOutcome::Complete);
  EXPECT_EQ(host_.ScriptRows, (std::vector<int>{1, -1}));
  ASSERT_FALSE(host_.ScriptProgress.empty());
  EXPECT_EQ(host_.ScriptProgress.front(), (ScriptProgressPanels{"Цикл: 1", "Строка: 0", "Ставок: 0", "Выполнение сценария..."}));
  bool variant_shown = false;
  for (const auto& p : host_.ScriptProgress)
    variant_shown |= p == ScriptProgressPanels{"Цикл: 1", "Строка: 2", "Ставок: 1", "Фильтр 2 из 2: TMD1#NUMS:10#CMV:9#SF:0"};
  EXPECT_TRUE(variant_shown);
  EXPECT_EQ(host_.ScriptProgress.back(), (ScriptProgressPanels{"Цикл: 1", "Строка: 0", "Ставок: 2", "Сценарий завершен!"}));
  EXPECT_EQ(Runner().Cycle(), 0);
  EXPECT_FALSE(host_.Busy);
  EXPECT_EQ(host_.StatusTexts.back(), "");
}

TEST_F(ScriptRunnerTest, TheStopQuestionAnsweredNoLetsTheRunGoOn) {
  int asked = 0;
  host_.OnProcessEvents = [&] {
    if (Runner().Running() && asked == 0) {
      ++asked;
      host_.Answers.push_back(false);
      Runner().ScriptStop();
    }
  };
  EXPECT_EQ(Runner().ScriptTest({"FULL:0#FIRST| | | | | | | |"}, 2), ScriptOutcome::Complete);
  ASSERT_EQ(host_.Questions.size(), 1u);
  EXPECT_EQ(host_.Questions[0].Kind, MessageKind::Confirmation);
  EXPECT_EQ(host_.Questions[0].Text, "Остановить выполнение сценария?");
  EXPECT_EQ(ScriptStakes(), 2);
  Runner().ScriptStop();  // not running: nothing is asked
  EXPECT_EQ(host_.Questions.size(), 1u);
}

TEST_F(ScriptRunnerTest, SortAndWeightsComeBackAfterTheRun) {
  StatsState& stats = session_->Stats();
  stats.SetSort(5, false);
  const lottery::TCdlSettings weights = stats.List().Cdl();
  // The part sorts its table by column 1 descending and brings weights of its own.
  ASSERT_EQ(Runner().ScriptRun({"FULL:0#FIRST|TMD1#NUMS:5#CMV:9#SF:0#2:3:4:1:0| | | | | | |"}), ScriptOutcome::Complete);
  EXPECT_EQ(stats.SortColumn(), 5);
  EXPECT_FALSE(stats.SortDescending());
  EXPECT_EQ(stats.List().Cdl(), weights);
}

TEST_F(ScriptRunnerTest, SwitchesFlipAndAreStoredAtOnce) {
  const bool log = session_->MainView().ScriptLogEnabled;
  const bool check = session_->MainView().StakesCheckOnLine;
  EXPECT_FALSE(log);
  EXPECT_TRUE(check);
  Runner().LogToggle();
  Runner().StakesCheckLine();
  Start();
  EXPECT_TRUE(session_->MainView().ScriptLogEnabled);
  EXPECT_FALSE(session_->MainView().StakesCheckOnLine);
  // While a script runs the log cannot be switched.
  host_.OnProcessEvents = [&] {
    if (Runner().Running()) Runner().LogToggle();
  };
  Runner().ScriptRun({"FULL:0#FIRST| | | | | | | |"});
  EXPECT_TRUE(session_->MainView().ScriptLogEnabled);
}

TEST_F(ScriptRunnerTest, WithTheLogOffNoFileIsMadeAndLogsDeleteFindsNone) {
  ASSERT_EQ(Runner().ScriptRun({"FULL:0#FIRST| | | | | | | |"}), ScriptOutcome::Complete);
  EXPECT_TRUE(testing::FindScriptLog(dir_.Path()).empty());
  EXPECT_TRUE(host_.OpenedDocuments.empty());
  Runner().LogsDelete();
  EXPECT_EQ(host_.MessagesOf(MessageKind::Information), (std::vector<std::string>{"Файлы журналов не найдены!"}));
}

TEST_F(ScriptRunnerTest, TheLogIsOpenedForTheUserAtTheEndAndLogsDeleteRemovesEveryLog) {
  Runner().LogToggle();
  ASSERT_EQ(Runner().ScriptRun({"FULL:0#FIRST| | | | | | | |"}), ScriptOutcome::Complete);
  const auto log = dir_ / "ScriptLog_2026-12-11-10-00-00.txt";
  EXPECT_TRUE(support::FileExists(log));
  EXPECT_EQ(host_.OpenedDocuments, (std::vector<std::string>{log.string()}));
  EXPECT_TRUE(Runner().LogFile().empty());
  support::WriteFileAtomic(dir_ / "ScriptLog_old.txt", std::string("x"));
  support::WriteFileAtomic(dir_ / "ScriptLog_keep.log", std::string("x"));
  host_.Clear();
  Runner().LogsDelete();
  EXPECT_FALSE(support::FileExists(log));
  EXPECT_FALSE(support::FileExists(dir_ / "ScriptLog_old.txt"));
  EXPECT_TRUE(support::FileExists(dir_ / "ScriptLog_keep.log"));
  EXPECT_EQ(host_.MessagesOf(MessageKind::Information), (std::vector<std::string>{"Удалено файлов журналов: 2."}));
}

TEST_F(ScriptRunnerTest, ALogThatCannotBeWrittenIsReportedOnceAndTheRunGoesOn) {
  Runner().LogToggle();
  std::filesystem::create_directory(dir_ / "ScriptLog_2026-12-11-10-00-00.txt");  // in the log's way
  EXPECT_EQ(Runner().ScriptTest({"FULL:0#FIRST| | | | | | | |"}, 3), ScriptOutcome::Complete);
  EXPECT_EQ(ScriptStakes(), 3);
  const auto errors = host_.MessagesOf(MessageKind::Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Ошибка записи журнала: ", 0), 0u) << errors[0];
  EXPECT_EQ(errors[0].back(), '!');
}

TEST_F(ScriptRunnerTest, SystemPlayFailsAsTheMissingSystemOncePerRun) {
  Generation(2, "7;8;9");
  Runner().LogToggle();
  EXPECT_EQ(Runner().ScriptTest({"FULL:0#SYSA| | | | | | | |", "FULL:0#SYSC| | | | | | | |"}, 2),
            ScriptOutcome::Complete);
  EXPECT_EQ(ScriptStakes(), 0);
  EXPECT_EQ(host_.MessagesOf(MessageKind::Error),
            (std::vector<std::string>{"Система для 3 чисел не найдена или не загружена на компьютер!\r\rПеред системной "
                                      "игрой необходимо предварительно загрузить системы на Ваш компьютер через меню "
                                      "\"Системы\" - \"Загрузить\"."}));
  bool well_formed = false;
  const std::string log = testing::MaskedLog(testing::FindScriptLog(dir_.Path()), &well_formed);
  const std::string entry =
      "[STAMP]: {#} Системная игра для 3 чисел [ОШИБКА]: \"Система для 3 чисел не найдена или не загружена на "
      "компьютер!\"\n";
  size_t count = 0;
  for (size_t at = log.find(entry); at != std::string::npos; at = log.find(entry, at + 1)) ++count;
  EXPECT_EQ(count, 4u);  // both lines in both passes
}

TEST_F(ScriptRunnerTest, NoTestsDoNothing) {
  EXPECT_EQ(Runner().ScriptTest({"FULL:0#FIRST| | | | | | | |"}, 0), ScriptOutcome::Complete);
  EXPECT_EQ(Stakes().Count(), 0);
  EXPECT_TRUE(host_.ScriptProgress.empty());
}

}  // namespace
}  // namespace kelmora::shell
