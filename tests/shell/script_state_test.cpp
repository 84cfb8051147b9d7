// The current script through the Session: editing, the script files, the autosaved
// Kelmora_4r32.lss after every change and at start-up, index errors and steps from rating rows.

#include "shell/script_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

#include "common/temp_dir.h"
#include "lottery/draws.h"
#include "scripts/script.h"
#include "shell/recording_host.h"
#include "shell/session.h"
#include "shell/stakes_state.h"
#include "stakes/rating.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::shell {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* Step1 = "FULL:0#RAND|TSD1#NUMS:10#LMV:5#SF:1| | | | | | |первый";
constexpr const char* Step2 = "EXCL:3#FIRST#NEX|TSD1#SUMS:20#LMV:2#SF:1| | | | | | |";

class ScriptStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::TDrawsArray draws;
    for (int i = 0; i < 4; ++i) draws.push_back({i + 1, lottery::MakeComb(7 + i, 8, 9, 10), ""});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
  }
  void Start() {
    session_.reset();
    SessionOptions options;
    options.DataDir = dir_.Path();
    session_ = std::make_unique<Session>(host_, options);
    session_->Create();
    session_->Initialise();
  }
  ScriptState& Script() { return session_->Script(); }
  std::filesystem::path Lss() const { return dir_ / "Kelmora_4r32.lss"; }
  Lines SavedLines() const { return scripts::ReadScriptFile(Lss()); }
  // A script of n lines "1".."n", set up without the commands under test.
  void Fill(int n) {
    Lines lines;
    for (int i = 1; i <= n; ++i) lines.push_back(std::to_string(i));
    scripts::WriteScriptFile(Lss(), lines);
    Start();
    ASSERT_EQ(Script().Lines(), lines);
    host_.Clear();
  }
  void WriteFile(const std::string& name, const Lines& lines) { scripts::WriteScriptFile(dir_ / name, lines); }

  kelmora::testing::TempDir dir_;
  RecordingHost host_;
  std::unique_ptr<Session> session_;
};

TEST_F(ScriptStateTest, StartUpReadsTheCurrentScriptWithAnyLineEndOrLeavesItEmpty) {
  Start();
  EXPECT_TRUE(Script().Lines().empty());
  EXPECT_FALSE(support::FileExists(Lss())) << "a missing file is not created at start-up";
  EXPECT_EQ(Script().StatusText(), "Строк: 0");

  support::WriteFileAtomic(Lss(), std::string("a\rb\n\r\nc"));
  Start();
  EXPECT_EQ(Script().Lines(), (Lines{"a", "b", "", "c"}));
  EXPECT_EQ(Script().StatusText(), "Строк: 4");
  EXPECT_TRUE(host_.MessagesOf(MessageKind::Error).empty());
}

TEST_F(ScriptStateTest, ACurrentScriptThatCouldNotBeReadIsNeverWrittenOver) {
  scripts::WriteScriptFile(Lss(), {Step1, Step2});
  const std::string before = support::ReadFileText(Lss());
  ASSERT_EQ(chmod(dir_.Path().c_str(), 0777), 0);
  ASSERT_EQ(chmod(Lss().c_str(), 0), 0);
  // Root reads every file: the session works with the rights of "nobody".
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(setegid(65534), 0);
    ASSERT_EQ(seteuid(65534), 0);
  }
  Start();
  EXPECT_TRUE(Script().CurrentScriptUnreadable());
  EXPECT_TRUE(Script().Lines().empty());
  host_.Clear();
  Script().AddScriptLine(Step1);
  EXPECT_EQ(Script().Lines(), Lines{Step1}) << "editing goes on in memory";
  session_.reset();
  if (root) {
    ASSERT_EQ(seteuid(0), 0);
    ASSERT_EQ(setegid(0), 0);
  }
  const auto errors = host_.MessagesOf(MessageKind::Error);
  ASSERT_EQ(errors.size(), 1u) << ::testing::PrintToString(errors);
  EXPECT_NE(errors[0].find("не будет перезаписан"), std::string::npos) << errors[0];
  ASSERT_EQ(chmod(Lss().c_str(), 0644), 0);
  EXPECT_EQ(support::ReadFileText(Lss()), before);
}

TEST_F(ScriptStateTest, DeletingRowsTwoAndFiveOfSixKeepsTheOthersInOrderAfterTheQuestion) {
  Fill(6);
  host_.Answers = {false};
  EXPECT_FALSE(Script().DeleteLines({4, 1}));
  ASSERT_EQ(host_.Questions.size(), 1u);
  EXPECT_EQ(host_.Questions[0].Kind, MessageKind::Warning);
  EXPECT_EQ(host_.Questions[0].Text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
  EXPECT_EQ(Script().Count(), 6) << "No keeps every line";

  host_.Answers = {true};
  EXPECT_TRUE(Script().DeleteLines({4, 1}));
  EXPECT_EQ(Script().Lines(), (Lines{"1", "3", "4", "6"}));
  EXPECT_EQ(SavedLines(), Script().Lines());
  EXPECT_NE(std::find(host_.StatusTexts.begin(), host_.StatusTexts.end(), "Удаление строк..."), host_.StatusTexts.end());

  host_.Answers = {true};
  EXPECT_TRUE(Script().DeleteLines({0}));
  EXPECT_EQ(host_.Questions.back().Text, "Удалить выделенную запись?");
  EXPECT_EQ(Script().Lines(), (Lines{"3", "4", "6"}));
}

TEST_F(ScriptStateTest, ClearingAsksForEveryLine) {
  Fill(3);
  host_.Answers = {true};
  EXPECT_TRUE(Script().ClearLines());
  EXPECT_EQ(host_.Questions.at(0).Text, "Удалить все выделенные записи (всего будет удалено 3 записи(ей))?");
  EXPECT_TRUE(Script().Lines().empty());
  EXPECT_TRUE(SavedLines().empty());
  EXPECT_EQ(support::ReadFileText(Lss()), "");
  EXPECT_FALSE(Script().ClearLines()) << "nothing to clear asks nothing";
  EXPECT_EQ(host_.Questions.size(), 1u);
}

TEST_F(ScriptStateTest, AppendingAFileAddsOneSeparatorAtMost) {
  struct Case {
    Lines Script, File, Expected;
  } cases[] = {
      {{}, {"x", "y"}, {"x", "y"}},
      {{"a"}, {"x", "y"}, {"a", "", "x", "y"}},
      {{"a", ""}, {"x"}, {"a", "", "x"}},
      {{"a", "   "}, {"x"}, {"a", "   ", "x"}},
      {{"a"}, {}, {"a"}},
  };
  for (const Case& c : cases) {
    scripts::WriteScriptFile(Lss(), c.Script);
    Start();
    WriteFile("more.lsc", c.File);
    EXPECT_TRUE(Script().ScriptLoad(dir_ / "more.lsc"));
    EXPECT_EQ(Script().Lines(), c.Expected) << ::testing::PrintToString(c.Script);
    EXPECT_EQ(SavedLines(), c.Expected);
  }
}

TEST_F(ScriptStateTest, AFailedReadLeavesTheScriptAndItsFileAsTheyWere) {
  Fill(2);
  const std::string before = support::ReadFileText(Lss());
  const auto missing = dir_ / "missing.lsc";
  for (bool append : {false, true}) {
    host_.Clear();
    EXPECT_FALSE(append ? Script().ScriptLoad(missing) : Script().ScriptOpen(missing));
    EXPECT_EQ(Script().Lines(), (Lines{"1", "2"}));
    EXPECT_EQ(support::ReadFileText(Lss()), before);
    const auto errors = host_.MessagesOf(MessageKind::Error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Ошибка чтения файла \"" + missing.string() + "\"!\r\r", 0), 0u) << errors[0];
    EXPECT_NE(std::find(host_.ChangedViews.begin(), host_.ChangedViews.end(), ViewId::Script), host_.ChangedViews.end())
        << "the view is refreshed after a failure too";
  }
}

TEST_F(ScriptStateTest, OpeningReplacesAndSavingWritesTheLinesWithCrLf) {
  Fill(2);
  WriteFile("other.lsc", {Step1, "", Step2});
  EXPECT_TRUE(Script().ScriptOpen(dir_ / "other.lsc"));
  EXPECT_EQ(Script().Lines(), (Lines{Step1, "", Step2}));
  EXPECT_EQ(SavedLines(), Script().Lines());
  ASSERT_TRUE(Script().SaveScriptFile(dir_ / "copy.lsc"));
  EXPECT_EQ(support::ReadFileText(dir_ / "copy.lsc"), scripts::EncodeScriptText({Step1, "", Step2}));
  EXPECT_NE(std::find(host_.StatusTexts.begin(), host_.StatusTexts.end(),
                      "Сохранение файла \"" + (dir_ / "copy.lsc").string() + "\"..."),
            host_.StatusTexts.end());

  EXPECT_FALSE(Script().SaveScriptFile(dir_ / "no-such-folder" / "x.lsc"));
  const auto errors = host_.MessagesOf(MessageKind::Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Ошибка записи в файл \"" + (dir_ / "no-such-folder" / "x.lsc").string() + "\"!\r\r", 0), 0u);
}

TEST_F(ScriptStateTest, EveryChangeRewritesTheCurrentScriptFile) {
  lottery::TRatingsArray rating(1);
  rating[0].Name = "01.001: c @ FULL#RAND + TSD1#NUMS:10#LMV:5#SF:1";
  rating[0].Count = 1;
  stakes::WriteRatingFile(dir_ / "Kelmora_4r32.lrt", rating);
  WriteFile("more.lsc", {"m"});
  Fill(3);
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"add", [&] { EXPECT_EQ(Script().AddScriptLine(Step1), 3); }},
      {"set", [&] { Script().SetScriptLine(0, Step2); }},
      {"down", [&] { EXPECT_EQ(Script().MoveLine(0, false), 1); }},
      {"up", [&] { EXPECT_EQ(Script().MoveLine(3, true), 2); }},
      {"delete", [&] { host_.Answers = {true}; EXPECT_TRUE(Script().DeleteLines({1})); }},
      {"append", [&] { EXPECT_TRUE(Script().ScriptLoad(dir_ / "more.lsc")); }},
      {"rating", [&] { EXPECT_EQ(Script().RatingsToScript({0}), 1); }},
      {"open", [&] { EXPECT_TRUE(Script().ScriptOpen(dir_ / "more.lsc")); }},
      {"clear", [&] { host_.Answers = {true}; EXPECT_TRUE(Script().ClearLines()); }},
  };
  Lines previous = Script().Lines();
  for (const auto& [what, change] : changes) {
    change();
    EXPECT_NE(Script().Lines(), previous) << what << " changed nothing";
    EXPECT_EQ(SavedLines(), Script().Lines()) << what;
    previous = Script().Lines();
  }
  EXPECT_TRUE(host_.MessagesOf(MessageKind::Error).empty());
}

TEST_F(ScriptStateTest, MovesExchangeNeighboursAndAnIndexOutsideIsTheSystemsError) {
  Fill(3);
  EXPECT_EQ(Script().MoveLine(1, true), 0);
  EXPECT_EQ(Script().Lines(), (Lines{"2", "1", "3"}));
  EXPECT_EQ(Script().MoveLine(1, false), 2);
  EXPECT_EQ(Script().Lines(), (Lines{"2", "3", "1"}));
  EXPECT_TRUE(host_.MessagesOf(MessageKind::Error).empty());

  const std::string saved = support::ReadFileText(Lss());
  const std::pair<std::function<void()>, const char*> failures[] = {
      {[&] { EXPECT_EQ(Script().MoveLine(0, true), std::nullopt); }, "Запись со индексом -1 в файле данных не найдена!"},
      {[&] { EXPECT_EQ(Script().MoveLine(2, false), std::nullopt); }, "Запись со индексом 3 в файле данных не найдена!"},
      {[&] { EXPECT_FALSE(Script().DeleteLines({1, 7})); }, "Запись со индексом 7 в файле данных не найдена!"},
  };
  for (const auto& [act, message] : failures) {
    host_.Clear();
    act();
    EXPECT_EQ(host_.MessagesOf(MessageKind::Error), Lines{message});
    EXPECT_TRUE(host_.Questions.empty()) << message;
  }
  EXPECT_EQ(Script().Lines(), (Lines{"2", "3", "1"}));
  EXPECT_EQ(support::ReadFileText(Lss()), saved);

  for (int index : {-1, 3}) {
    const std::string text = "Запись со индексом " + std::to_string(index) + " в файле данных не найдена!";
    try {
      Script().SetScriptLine(index, "x");
      ADD_FAILURE() << "no error for " << index;
    } catch (const support::Error& e) {
      EXPECT_EQ(e.what(), text);
    }
    EXPECT_THROW(Script().GetScriptLine(index), support::Error);
  }
  EXPECT_EQ(Script().GetScriptLine(2), "1");
}

TEST_F(ScriptStateTest, ALineBreakInsideATextCannotSplitTheStep) {
  Fill(0);
  Script().AddScriptLine("FULL:0#RAND| | | | | | | |two\r\nlines");
  Script().SetScriptLine(0, Script().GetScriptLine(0) + "\nmore");
  EXPECT_EQ(Script().Lines(), Lines{"FULL:0#RAND| | | | | | | |two  lines more"});
  EXPECT_EQ(SavedLines(), Script().Lines());
}

TEST_F(ScriptStateTest, RatingRowsBecomeStepsInViewOrderAndTheOthersAreReported) {
  lottery::TRatingsArray rating(3);
  rating[0].Name = "01.003: my comment @ FULL#RAND + TSD1#NUMS:10#LMV:5#SF:1";
  rating[1].Name = "Ставка \"вручную\"";
  rating[2].Name = "02.001: @ EXCL:3#FIRST#NEX + TSD1#NUMS:10#LMV:5#SF:1 + BMF8#SUMS:20#WMV:2#SF:1";
  // Averages 3, 2, 1: the start-up sort ("Среднее", descending) keeps this order.
  for (int i = 0; i < 3; ++i) {
    rating[static_cast<size_t>(i)].Count = 1;
    rating[static_cast<size_t>(i)].SumMatches = 3 - i;
  }
  stakes::WriteRatingFile(dir_ / "Kelmora_4r32.lrt", rating);
  Fill(1);
  ASSERT_EQ(session_->Stakes().Rating().at(1).Name, rating[1].Name);

  EXPECT_EQ(Script().RatingsToScript({2, 1, 0}), 2);
  EXPECT_EQ(host_.MessagesOf(MessageKind::Error),
            Lines{"Строку\r\rСтавка \"вручную\"\r\rневозможно добавить в сценарий!"});
  const Lines expected = {
      "1",
      "FULL#RAND|TSD1#NUMS:10#LMV:5#SF:1| | | | | | |01.003: my comment",
      "EXCL:3#FIRST#NEX|TSD1#NUMS:10#LMV:5#SF:1|BMF8#SUMS:20#WMV:2#SF:1| | | | | |02.001:",
  };
  EXPECT_EQ(Script().Lines(), expected);
  EXPECT_EQ(SavedLines(), expected);
  EXPECT_NE(std::find(host_.StatusTexts.begin(), host_.StatusTexts.end(), "Генерация новых строк в сценарии..."),
            host_.StatusTexts.end());

  host_.Clear();
  EXPECT_EQ(Script().RatingsToScript({1}), 0);
  EXPECT_EQ(Script().Lines(), expected);
}

}  // namespace
}  // namespace kelmora::shell
