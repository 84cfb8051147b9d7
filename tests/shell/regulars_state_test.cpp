// The "Регуляры" page through the Session: adding rules from the selection, staking one, testing
// several over past draws, deleting, and the file that is loaded and saved only while the page is
// shown.

#include "shell/regulars_state.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include <fmt/format.h>

#include "common/temp_dir.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "shell/combs_state.h"
#include "shell/recording_host.h"
#include "shell/session.h"
#include "shell/stakes_state.h"
#include "support/files.h"

namespace kelmora::shell {
namespace {

using lottery::MakeComb;

class RegularsStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::TDrawsArray draws;
    for (int i = 0; i < 8; ++i) draws.push_back({i + 1, MakeComb(7 + i % 8, 9, 11, 14), ""});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
    Start();
  }
  void Start() {
    session_.reset();
    SessionOptions options;
    options.DataDir = dir_.Path();
    session_ = std::make_unique<Session>(host_, options);
    session_->Create();
    session_->Initialise();
  }
  RegularsState& Regulars() { return session_->Regulars(); }
  stakes::TTableRec Rule(const char* name, lottery::TComb start, int step, bool last = false) {
    auto rec = Regulars().NewTable({start});
    rec.Name = name;
    rec.Step = step;
    rec.UseLastDraw = last;
    return rec;
  }
  std::vector<std::string> Stakes(int from = 0) {
    std::vector<std::string> out;
    auto& stakes = session_->Stakes();
    for (int64_t i = from; i < stakes.Count(); ++i) {
      const auto rec = stakes.ReadStake(i);
      if (rec.Kind == 0) continue;
      out.push_back(fmt::format("{} {} {}", rec.DrawNumber, rec.Name, lottery::CombToText(rec.Values)));
    }
    return out;
  }

  testing::TempDir dir_;
  RecordingHost host_;
  std::unique_ptr<Session> session_;
};

TEST_F(RegularsStateTest, AFileThatCouldNotBeReadIsNeverWrittenOver) {
  ASSERT_TRUE(Regulars().AddTables(Rule("A", MakeComb(7, 8, 13, 14), 1), {0}));
  const auto before = support::ReadFileBytes(Regulars().TablesPath());
  session_.reset();
  // Every other file of the folder stays open to the session; only the rules cannot be read.
  ASSERT_EQ(chmod(dir_.Path().c_str(), 0777), 0);
  for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) ASSERT_EQ(chmod(entry.path().c_str(), 0666), 0);
  ASSERT_EQ(chmod((dir_ / "Kelmora_4r32.ltb").c_str(), 0), 0);
  // Root reads every file: the session works with the rights of "nobody".
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(setegid(65534), 0);
    ASSERT_EQ(seteuid(65534), 0);
  }
  Start();
  ASSERT_TRUE(Regulars().Shown());
  host_.Clear();
  const bool added = Regulars().AddTables(Rule("B", MakeComb(8, 9, 10, 11), 1), {0});
  session_.reset();
  if (root) {
    ASSERT_EQ(seteuid(0), 0);
    ASSERT_EQ(setegid(0), 0);
  }
  EXPECT_FALSE(added);
  const auto errors = host_.MessagesOf(MessageKind::Error);
  ASSERT_EQ(errors.size(), 1u) << ::testing::PrintToString(errors);
  EXPECT_NE(errors[0].find("не будет перезаписан"), std::string::npos) << errors[0];
  ASSERT_EQ(chmod((dir_ / "Kelmora_4r32.ltb").c_str(), 0644), 0);
  EXPECT_EQ(support::ReadFileBytes(dir_ / "Kelmora_4r32.ltb"), before);
}

TEST_F(RegularsStateTest, TheShownPageLoadsAndSavesTheFileTheHiddenOneLeavesItAlone) {
  ASSERT_TRUE(Regulars().Shown());  // the switch is on by default
  EXPECT_FALSE(support::FileExists(Regulars().TablesPath()));
  ASSERT_TRUE(Regulars().AddTables(Rule("A", MakeComb(7, 8, 13, 14), 1), {0}));
  EXPECT_EQ(support::ReadFileBytes(Regulars().TablesPath()).size(), stakes::TableRecSize);

  Regulars().TabTables();
  EXPECT_FALSE(Regulars().Shown());
  EXPECT_EQ(Regulars().Count(), 0);
  EXPECT_FALSE(Regulars().SaveTables());
  EXPECT_EQ(support::ReadFileBytes(Regulars().TablesPath()).size(), stakes::TableRecSize);
  Start();  // the switch was stored
  EXPECT_FALSE(Regulars().Shown());
  Regulars().TabTables();
  ASSERT_EQ(Regulars().Count(), 1);
  EXPECT_EQ(Regulars().Tables()[0].Name, "A");
  EXPECT_EQ(Regulars().Tables()[0].LastComb, MakeComb(7, 8, 13, 14));
}

TEST_F(RegularsStateTest, OneRulePerSelectedCombinationNamedByItsListPosition) {
  auto& combs = session_->Combs().CombList();
  const auto rec = Regulars().NewTable({combs[3], combs[8], combs[11]});
  EXPECT_EQ(rec.Name, "Регулярная ставка");
  EXPECT_EQ(rec.Step, 1);
  EXPECT_EQ(rec.StartComb, 0u);  // several selected: no start of its own
  ASSERT_TRUE(Regulars().AddTables(rec, {3, 8, 11}));
  ASSERT_EQ(Regulars().Count(), 3);
  const char* names[] = {"Регулярная ставка (4)", "Регулярная ставка (9)", "Регулярная ставка (12)"};
  const int rows[] = {3, 8, 11};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Regulars().Tables()[static_cast<size_t>(i)].Name, names[i]);
    EXPECT_EQ(Regulars().Tables()[static_cast<size_t>(i)].StartComb, combs[static_cast<size_t>(rows[i])]);
    EXPECT_EQ(Regulars().Tables()[static_cast<size_t>(i)].LastComb, combs[static_cast<size_t>(rows[i])]);
  }
  EXPECT_FALSE(Regulars().AddTables(rec, {}));  // nothing selected, nothing added
  EXPECT_EQ(Regulars().Count(), 3);
}

TEST_F(RegularsStateTest, AStakeAdvancesTheRuleOnlyOnOk) {
  ASSERT_TRUE(Regulars().AddTables(Rule("R", MakeComb(7, 8, 13, 14), 1), {0}));
  const auto first = Regulars().PrepareStake(0);
  ASSERT_TRUE(first);
  EXPECT_EQ(lottery::CombToText(first->first.LastComb), "8;9;A;7");
  EXPECT_EQ(first->second.Kind, lottery::StakeRegular);
  EXPECT_EQ(first->second.DrawNumber, 9);
  EXPECT_EQ(first->second.ListSize, session_->Combs().Count());
  EXPECT_EQ(Regulars().Tables()[0].Count, 0);  // the cancelled dialog leaves the rule
  ASSERT_TRUE(Regulars().StakeAdd(0, first->first, first->second, 1));
  const auto second = Regulars().PrepareStake(0);
  ASSERT_TRUE(Regulars().StakeAdd(0, second->first, second->second, 1));
  EXPECT_EQ(Stakes(), (std::vector<std::string>{"9 R 8;9;A;7", "9 R 9;10;7;8"}));
  Start();
  EXPECT_EQ(Regulars().Tables()[0].Count, 2);
  EXPECT_EQ(lottery::CombToText(Regulars().Tables()[0].LastComb), "9;10;7;8");
}

TEST_F(RegularsStateTest, ATestStakesEveryRuleForEachPastDrawOldestFirst) {
  ASSERT_TRUE(Regulars().AddTables(Rule("A", MakeComb(7, 8, 13, 14), 1), {0}));
  ASSERT_TRUE(Regulars().AddTables(Rule("B", 0, 1, true), {}));
  session_->SetDrawsOffset(2);
  ASSERT_TRUE(Regulars().StakeTest({0, 1}, 5));
  EXPECT_EQ(session_->DrawsOffset(), 2);
  // Offset k stakes draw 9 - k; the last-draw rule shifts the draw at the offset (7+i, 9, J, A).
  EXPECT_EQ(Stakes(), (std::vector<std::string>{
                          "4 A 8;9;A;7", "4 B 10;10;Q;7", "5 A 9;10;7;8", "5 B J;10;Q;7", "6 A 10;J;8;9",
                          "6 B Q;10;Q;7", "7 A J;Q;9;10", "7 B K;10;Q;7", "8 A Q;K;10;J", "8 B A;10;Q;7"}));
  EXPECT_EQ(Regulars().Tables()[0].Count, 5);
  EXPECT_EQ(Regulars().Tables()[1].Count, 5);
  // Every stake's draw is in the archive: all were checked.
  EXPECT_TRUE(session_->StakesFile()->Unchecked().empty());
  Start();
  EXPECT_EQ(Regulars().Tables()[1].Count, 5);
}

TEST_F(RegularsStateTest, DeletingAsksAndRemovesTheSelectedRules) {
  for (const char* name : {"A", "B", "C"}) ASSERT_TRUE(Regulars().AddTables(Rule(name, MakeComb(7, 7, 7, 7), 1), {0}));
  host_.Answers = {false};
  EXPECT_FALSE(Regulars().DeleteTables({0, 2}));
  EXPECT_EQ(Regulars().Count(), 3);
  ASSERT_EQ(host_.Questions.size(), 1u);
  EXPECT_EQ(host_.Questions[0].Text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
  host_.Answers = {true};
  EXPECT_TRUE(Regulars().DeleteTables({2, 0}));
  ASSERT_EQ(Regulars().Count(), 1);
  EXPECT_EQ(Regulars().Tables()[0].Name, "B");
  Start();
  EXPECT_EQ(Regulars().Count(), 1);
}

TEST_F(RegularsStateTest, AFailedSaveIsReportedAndKeepsTheOldFile) {
  ASSERT_TRUE(Regulars().AddTables(Rule("A", MakeComb(7, 7, 7, 7), 1), {0}));
  std::filesystem::create_directory(support::NextTemporaryPath(Regulars().TablesPath()));
  EXPECT_FALSE(Regulars().AddTables(Rule("B", MakeComb(7, 7, 7, 7), 1), {0}));
  ASSERT_FALSE(host_.Messages.empty());
  EXPECT_EQ(host_.Messages.back().Text.rfind("Ошибка записи в файл регулярных ставок!\r\r", 0), 0u);
  EXPECT_EQ(Regulars().Count(), 2);  // memory keeps the rule
  EXPECT_EQ(support::ReadFileBytes(Regulars().TablesPath()).size(), stakes::TableRecSize);
}

}  // namespace
}  // namespace kelmora::shell
