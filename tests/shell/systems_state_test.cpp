// System play through the Session: the system found for the list's distinct values, the stakes of
// both commands, and the script's SYSA and SYSC making the same stakes as the commands.

#include "shell/systems_state.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include "common/temp_dir.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "shell/combs_state.h"
#include "shell/recording_host.h"
#include "shell/script_runner.h"
#include "shell/session.h"
#include "shell/stakes_state.h"
#include "support/files.h"

namespace kelmora::shell {
namespace {

using lottery::MakeComb;

// Rows over 8 positions; the first two give 7;8;9;10 and J;Q;K;A for the values in scale order.
constexpr const char* EightRows = "01 02 03 04\r\n05 06 07 08\r\n01 02 05 06\r\n08 07 02 01\r\n";

class SystemsStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::TDrawsArray draws;
    for (int i = 0; i < 6; ++i) draws.push_back({i + 1, MakeComb(7 + i, 8, 9, 10), ""});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
    std::filesystem::create_directory(dir_ / "Systems");
    support::WriteFileAtomic(dir_.Path() / "Systems" / "4-08-2_0037.dat", std::string(EightRows));
    SessionOptions options;
    options.DataDir = dir_.Path();
    session_ = std::make_unique<Session>(host_, options);
    session_->Create();
    session_->Initialise();
  }
  SystemsState& Systems() { return session_->Systems(); }
  // Draw, combination and name of each stake from record `from` on (separators skipped).
  std::vector<std::string> Stakes(int64_t from = 0, bool with_name = true) {
    std::vector<std::string> out;
    auto& stakes = session_->Stakes();
    for (int64_t i = from; i < stakes.Count(); ++i) {
      const auto rec = stakes.ReadStake(i);
      if (rec.Kind == 0) continue;
      out.push_back(fmt::format("{} {}{}", rec.DrawNumber, lottery::CombToText(rec.Values),
                                with_name ? fmt::format(" {} {} {}", int{rec.Kind}, rec.ListSize, rec.Name) : ""));
    }
    return out;
  }

  testing::TempDir dir_;
  RecordingHost host_;
  std::unique_ptr<Session> session_;
};

TEST_F(SystemsStateTest, FourDistinctValuesFindNoSystemAndShowTheLongMessage) {
  session_->Combs().ReplaceList({MakeComb(7, 8, 9, 10), MakeComb(10, 9, 8, 7)});
  host_.Clear();
  EXPECT_FALSE(Systems().PrepareSystemPlay(true));
  ASSERT_EQ(host_.Messages.size(), 1u);
  EXPECT_EQ(host_.Messages[0].Kind, MessageKind::Error);
  EXPECT_EQ(host_.Messages[0].Text, stakes::SystemNotFoundBoxText(4));
  EXPECT_EQ(session_->Stakes().Count(), 0);
}

TEST_F(SystemsStateTest, TheWholeSystemIsStakedAscendingWithTheDialogsDefaults) {
  const auto play = Systems().PrepareSystemPlay(true);  // the full list: 7..14 in scale order
  ASSERT_TRUE(play);
  EXPECT_EQ(play->Values, 8);
  EXPECT_EQ(play->Draw, 7);
  EXPECT_EQ(play->Name, "Системная игра для 8 чисел [вся система]: 4-08-2_0037");
  EXPECT_EQ(Systems().SystemStake(*play, true, play->Draw, play->Name, 1), 4);
  const std::string name = play->Name;
  EXPECT_EQ(Stakes(), (std::vector<std::string>{"7 7;8;9;10 4 4 " + name, "7 J;Q;K;A 4 4 " + name,
                                                "7 7;8;J;Q 4 4 " + name, "7 7;8;K;A 4 4 " + name}));
}

TEST_F(SystemsStateTest, PlayByFilterWithNoSystemRowInTheListStartsAGroupAndAddsNothing) {
  auto rec = session_->Stakes().NewManualStake(MakeComb(7, 7, 7, 7));
  ASSERT_TRUE(session_->Stakes().AddStakeCommand(rec, 1));
  // Eight values, none of the system's combinations.
  session_->Combs().ReplaceList({MakeComb(7, 8, 9, 10), MakeComb(11, 12, 13, 14)});
  const auto play = Systems().PrepareSystemPlay(false);
  ASSERT_TRUE(play);
  EXPECT_EQ(play->Name, "Системная игра для 8 чисел [комбинации]: 4-08-2_0037");
  EXPECT_EQ(Systems().SystemStake(*play, false, play->Draw, play->Name, 1), 2);  // 7;8;9;10 and J;Q;K;A are there
  session_->Combs().ReplaceList({MakeComb(8, 7, 9, 10), MakeComb(11, 12, 14, 13)});
  const int64_t before = session_->Stakes().Count();
  const auto none = Systems().PrepareSystemPlay(false);
  ASSERT_TRUE(none);
  EXPECT_EQ(Systems().SystemStake(*none, false, none->Draw, none->Name, 1), 0);
  EXPECT_EQ(session_->Stakes().Count(), before + 1);
  EXPECT_EQ(session_->Stakes().ReadStake(-1).Kind, 0);
}

TEST_F(SystemsStateTest, ABadRowRefusesTheWholeSystemNamingTheLine) {
  support::WriteFileAtomic(dir_.Path() / "Systems" / "4-08-2_0037.dat", std::string("01 02 03 04\r\n01 02 03 09\r\n"));
  host_.Clear();
  EXPECT_FALSE(Systems().PrepareSystemPlay(true));
  ASSERT_EQ(host_.Messages.size(), 1u);
  EXPECT_EQ(host_.Messages[0].Text,
            "Ошибка загрузки комбинаций системы!\r\rСтрока 2 системы \"01 02 03 09\": номер позиции 9 вне диапазона 1..8!");
  EXPECT_EQ(session_->Stakes().Count(), 0);
}

TEST_F(SystemsStateTest, ScriptSystemModesMakeTheStakesOfTheCommands) {
  struct Case {
    const char* Line;
    bool Whole;
  };
  // The filter leaves four values (no system for them); EXCL:6 takes 7;8;9;10 (draw 1) out.
  const Case cases[] = {{"FULL:0#SYSA|TSF1#NUMS:10#LNO:#SC:5| | | | | | |a", true},
                        {"FULL:0#SYSA| | | | | | | |a", true},
                        {"EXCL:6#SYSC| | | | | | | |c", false},
                        {"FULL:0#SYSC| | | | | | | |c", false}};
  size_t made = 0;
  for (const auto& c : cases) {
    const int64_t start = session_->Stakes().Count();
    ASSERT_EQ(session_->Runner().ScriptRun({c.Line}), ScriptOutcome::Complete) << c.Line;
    const auto by_script = Stakes(start, false);
    made += by_script.size();
    // The list the step left is the one the command plays on.
    const int64_t middle = session_->Stakes().Count();
    const auto play = Systems().PrepareSystemPlay(c.Whole);
    if (play) {
      ASSERT_GE(Systems().SystemStake(*play, c.Whole, play->Draw, play->Name, 1), 0);
    }
    EXPECT_EQ(Stakes(middle, false), by_script) << c.Line;
  }
  EXPECT_EQ(made, 4u + 3u + 4u);
}

}  // namespace
}  // namespace kelmora::shell
