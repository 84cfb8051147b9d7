// Whole script runs through the Session, compared with the golden folders of tests/data/scripts:
// the stakes file and the rating file byte for byte, their grids, the log (time stamps masked) and
// what the run showed the user.

#include <gtest/gtest.h>

#include "common/script_golden.h"
#include "common/temp_dir.h"
#include "scripts/script.h"
#include "shell/combs_state.h"
#include "shell/recording_host.h"
#include "shell/script_runner.h"
#include "shell/session.h"
#include "shell/stakes_state.h"
#include "shell/stats_state.h"

namespace kelmora::shell {
namespace {

const char* OutcomeText(ScriptOutcome o) {
  switch (o) {
    case ScriptOutcome::Complete: return "Complete";
    case ScriptOutcome::Failed: return "Failed";
    case ScriptOutcome::Stopped: return "Stopped";
  }
  return "?";
}

std::string Escaped(std::string text) {
  std::string out;
  for (char c : text) out += c == '\r' ? std::string("\\r") : std::string(1, c);
  return out;
}

// What a run leaves, in the files expected/ holds.
std::map<std::string, std::string> RunCase(const std::string& name, bool literal) {
  const auto dir = testing::ScriptCasesDir() / name;
  auto options = testing::ReadCaseOptions(dir / "case.ini");
  testing::TempDir data;
  lottery::SaveDrawsFile(data / "Kelmora_4r32.ldr", testing::GoldenArchive(testing::CaseInt(options, "draws", 40)));
  if (support::FileExists(dir / "Kelmora_4r32.ini"))
    support::WriteFileAtomic(data / "Kelmora_4r32.ini", support::ReadFileText(dir / "Kelmora_4r32.ini"));
  // The downloaded systems the case plays with.
  if (std::filesystem::is_directory(dir / "Systems")) std::filesystem::copy(dir / "Systems", data / "Systems");
  const std::string view = fmt::format("[TFormMain]\r\nScriptLogEnabled={}\r\nStakesCheckOnLine={}\r\n",
                                       testing::CaseInt(options, "log", 1), testing::CaseInt(options, "check_on_line", 1));
  support::WriteFileAtomic(data / "Kelmora_4r32.frm", view);

  RecordingHost host;
  SessionOptions so;
  so.DataDir = data.Path();
  Session session(host, so);
  session.Create();
  session.Initialise();
  ScriptRunner& runner = session.Runner();
  runner.SetLiteral(literal);
  runner.SeedRandom(static_cast<uint32_t>(testing::CaseInt(options, "seed", 1)));
  runner.Clock = [] { return scripts::TLocalTime{2026, 12, 11, 10, 0, 0}; };
  // A stop asked for (and confirmed) when the given row starts in the given pass.
  const int stop_cycle = testing::CaseInt(options, "stop_cycle", 0);
  const int stop_row = testing::CaseInt(options, "stop_row", -1);
  bool stop_asked = false;
  host.OnProcessEvents = [&] {
    if (stop_cycle > 0 && !stop_asked && runner.Cycle() == stop_cycle && !host.ScriptRows.empty() &&
        host.ScriptRows.back() == stop_row) {
      stop_asked = true;
      host.Answers.push_back(true);
      runner.ScriptStop();
    }
  };
  if (options.count("favorites")) {
    // Only these methods are listed in the selector; a step naming another one fails.
    session.Stats().List().SetFavorites(options["favorites"]);
    session.Stats().FillStatSelectors(false, true);
  }
  session.SetDrawsOffset(testing::CaseInt(options, "offset", 0));
  host.Clear();

  const auto lines = scripts::ReadScriptFile(dir / "script.lsc");
  const bool test = options["mode"] == "test";
  const ScriptOutcome outcome = test ? runner.ScriptTest(lines, testing::CaseInt(options, "tests", 1)) : runner.ScriptRun(lines);

  std::map<std::string, std::string> files;
  files["Kelmora_4r32.lsk"] = testing::FileOrEmpty(data / "Kelmora_4r32.lsk");
  files["Kelmora_4r32.lrt"] = testing::FileOrEmpty(data / "Kelmora_4r32.lrt");
  files["stakes.tsv"] = testing::StakesGrid(data / "Kelmora_4r32.lsk");
  files["rating.tsv"] = testing::RatingGrid(data / "Kelmora_4r32.lrt");
  bool well_formed = true;
  const auto log = testing::FindScriptLog(data.Path());
  files["log.txt"] = log.empty() ? std::string() : testing::MaskedLog(log, &well_formed);
  std::string result = fmt::format("outcome={}\noffset={}\nstakes_made={}\nrunning={}\ncycle={}\nlog_well_formed={}\n",
                                   OutcomeText(outcome), session.DrawsOffset(), runner.StakesMade(), runner.Running(),
                                   runner.Cycle(), well_formed);
  result += fmt::format("log_file={}\n", log.empty() ? std::string() : log.filename().string());
  for (const auto& m : host.Messages)
    result += fmt::format("message {}: {}\n", MessageCaption(m.Kind), Escaped(m.Text));
  for (const auto& q : host.Questions) result += fmt::format("question: {}\n", Escaped(q.Text));
  files["result.txt"] = result;
  return files;
}

class ScriptGoldenTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ScriptGoldenTest, RunLeavesTheExpectedFiles) {
  const auto files = RunCase(GetParam(), false);
  const auto expected = testing::ScriptCasesDir() / GetParam() / "expected";
  if (testing::RegenerateGolden()) {
    std::filesystem::create_directories(expected);
    for (const auto& [name, bytes] : files) support::WriteFileAtomic(expected / name, bytes);
    GTEST_SKIP() << "expected files written";
  }
  for (const auto& [name, bytes] : files) {
    ASSERT_TRUE(support::FileExists(expected / name)) << name;
    EXPECT_EQ(bytes, support::ReadFileText(expected / name)) << GetParam() << "/" << name;
  }
}

TEST_P(ScriptGoldenTest, LiteralFilteringLeavesTheSameFiles) {
  EXPECT_EQ(RunCase(GetParam(), true), RunCase(GetParam(), false));
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptGoldenTest, ::testing::ValuesIn(testing::ScriptCaseNames()),
                         [](const auto& info) { return info.param; });

// A smaller form of the benchmark's reference workload (bench/script_test.cpp): five steps with
// FULL, EXCL with the buffer and CURR, FIRST, LAST and ALL, NEX, tables shared between steps and
// passes; both algorithms leave the same stakes file, rating file and log, checking after every
// line and once per pass.
TEST(ScriptAlgorithmsTest, LiteralAndFastLeaveTheSameFilesOnAReferenceWorkload) {
  const std::vector<std::string> script = {
      "FULL:0#FIRST|TMD1#NUMS:10-50;10#CMV:3-6;1#SF:0| | | | | | |full",
      "EXCL:3#LAST|TMD1#NUMS:20-60;20#CMV:5-7;1#SF:0|TMF1#DIGS:10;50#LNO:#ST:1| | | | | |excl",
      "CURR:0#ALL#NEX|TSF1#NUMS:10-50;10#LNO:#SC:3| | | | | | |curr",
      "FULL:0#LAST#NEX|BMD1#NUMS:5-25;5#CLV:1-4;1#SF:0| | | | | | |full nex",
      "EXCL:3#FIRST|TMD1#SUMS:10-50;10#CMV:1-3;1#SF:0|TSF1#NUMS:10;20#LNO:#ST:2| | | | | |excl again",
  };
  for (const bool check_on_line : {true, false}) {
    std::map<bool, std::array<std::string, 3>> files;
    for (const bool literal : {true, false}) {
      testing::TempDir data;
      lottery::SaveDrawsFile(data / "Kelmora_4r32.ldr", testing::GoldenArchive(300));
      RecordingHost host;
      SessionOptions so;
      so.DataDir = data.Path();
      Session session(host, so);
      session.Create();
      session.Initialise();
      session.MainView().ScriptLogEnabled = true;
      session.MainView().StakesCheckOnLine = check_on_line;
      session.Runner().SetLiteral(literal);
      session.Runner().Clock = [] { return scripts::TLocalTime{2026, 12, 11, 10, 0, 0}; };
      ASSERT_EQ(session.Runner().ScriptTest(script, 3), ScriptOutcome::Complete);
      EXPECT_TRUE(host.Messages.empty());
      bool well_formed = false;
      files[literal] = {testing::FileOrEmpty(data / "Kelmora_4r32.lsk"), testing::FileOrEmpty(data / "Kelmora_4r32.lrt"),
                        testing::MaskedLog(testing::FindScriptLog(data.Path()), &well_formed)};
      EXPECT_TRUE(well_formed);
    }
    EXPECT_GT(files[false][0].size(), 100 * stakes::StakeRecSize);
    EXPECT_GT(files[false][1].size(), 50 * stakes::RatingRecSize);
    EXPECT_TRUE(files[true][0] == files[false][0]) << "stakes, check on line " << check_on_line;
    EXPECT_TRUE(files[true][1] == files[false][1]) << "rating, check on line " << check_on_line;
    EXPECT_TRUE(files[true][2] == files[false][2]) << "log, check on line " << check_on_line;
  }
}

}  // namespace
}  // namespace kelmora::shell
