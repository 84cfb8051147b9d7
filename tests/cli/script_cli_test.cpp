// `kelmora script run` and `kelmora script test` over the golden cases: the same stakes and rating
// bytes and log as the window's runner, the exit codes, the options, and Ctrl+C in the real program.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "cli/cli_runner.h"
#include "common/script_golden.h"
#include "common/temp_dir.h"

extern char** environ;

namespace kelmora::testing {
namespace {

namespace fs = std::filesystem;

// A data folder prepared as the golden case's: archive, settings, view state.
void PrepareCase(const fs::path& data, const std::string& name) {
  const auto dir = ScriptCasesDir() / name;
  const auto options = ReadCaseOptions(dir / "case.ini");
  lottery::SaveDrawsFile(data / "Kelmora_4r32.ldr", GoldenArchive(CaseInt(options, "draws", 40)));
  support::WriteFileAtomic(data / "Kelmora_4r32.ini", support::ReadFileText(dir / "Kelmora_4r32.ini"));
  support::WriteFileAtomic(data / "Kelmora_4r32.frm",
                           fmt::format("[TFormMain]\r\nScriptLogEnabled={}\r\nStakesCheckOnLine={}\r\n",
                                       CaseInt(options, "log", 1), CaseInt(options, "check_on_line", 1)));
}

std::vector<std::string> CaseArgs(const std::string& name) {
  const auto dir = ScriptCasesDir() / name;
  auto options = ReadCaseOptions(dir / "case.ini");
  const std::string script = (dir / "script.lsc").string();
  if (options["mode"] == "test") return {"script", "test", script, "--tests", std::to_string(CaseInt(options, "tests", 1))};
  return {"script", "run", script, "--offset", std::to_string(CaseInt(options, "offset", 0))};
}

class ScriptCliGolden : public ::testing::TestWithParam<std::string> {};

// The cases that need neither a seeded generator, a stop by hand nor a narrowed selector.
TEST_P(ScriptCliGolden, LeavesTheWindowsFiles) {
  const std::string name = GetParam();
  const auto expected = ScriptCasesDir() / name / "expected";
  if (!support::FileExists(expected / "result.txt")) GTEST_SKIP() << "no expected files yet";
  TempDir data;
  PrepareCase(data.Path(), name);
  const auto r = RunKelmora(data.Path(), CaseArgs(name));
  const std::string result = support::ReadFileText(expected / "result.txt");
  const int code = result.find("outcome=Failed") != std::string::npos    ? 1
                   : result.find("outcome=Stopped") != std::string::npos ? 130
                                                                          : 0;
  EXPECT_EQ(r.Code, code) << r.Err;
  EXPECT_EQ(FileOrEmpty(data / "Kelmora_4r32.lsk"), support::ReadFileText(expected / "Kelmora_4r32.lsk"));
  EXPECT_EQ(FileOrEmpty(data / "Kelmora_4r32.lrt"), support::ReadFileText(expected / "Kelmora_4r32.lrt"));
  bool well_formed = false;
  const auto log = FindScriptLog(data.Path());
  EXPECT_EQ(log.empty() ? std::string() : MaskedLog(log, &well_formed), support::ReadFileText(expected / "log.txt"));
  EXPECT_FALSE(support::FileExists(data / "Kelmora_4r32.lss"));
  // Every error the window showed is on stderr.
  for (const auto& line : support::SplitLines(result)) {
    const std::string prefix = "message Ошибка: ";
    if (line.rfind(prefix, 0) != 0) continue;
    const std::string first = line.substr(prefix.size(), line.find("\\r") == std::string::npos
                                                            ? std::string::npos
                                                            : line.find("\\r") - prefix.size());
    EXPECT_NE(r.Err.find(first), std::string::npos) << first << "\n" << r.Err;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptCliGolden,
                         ::testing::Values("full", "excl_buffer", "curr", "stop_mode", "nex", "clr_check_line",
                                           "clr_check_pass", "no_filters", "bad_filter"),
                         [](const auto& info) { return info.param; });

class ScriptCli : public ::testing::Test {
 protected:
  void SetUp() override { PrepareCase(dir_.Path(), "full"); }
  CliResult Run(std::vector<std::string> args) { return RunKelmora(dir_.Path(), std::move(args)); }
  std::string Script() const { return (ScriptCasesDir() / "full" / "script.lsc").string(); }
  TempDir dir_;
};

TEST_F(ScriptCli, OptionsOverrideTheViewStateForThisRunOnly) {
  support::WriteFileAtomic(dir_ / "Kelmora_4r32.frm",
                           std::string("[TFormMain]\r\nScriptLogEnabled=0\r\nStakesCheckOnLine=1\r\n"));
  const std::string frm = support::ReadFileText(dir_ / "Kelmora_4r32.frm");
  auto r = Run({"script", "test", Script(), "--tests", "2", "--check-on-line", "off", "--log"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_FALSE(FindScriptLog(dir_.Path()).empty());
  EXPECT_EQ(support::ReadFileText(dir_ / "Kelmora_4r32.frm"), frm);
  // Checked once per pass, the stakes still all reach the rating.
  std::string problem;
  const auto rating = stakes::ReadRatingFile(dir_ / "Kelmora_4r32.lrt", &problem);
  int counted = 0;
  for (const auto& rec : rating) counted += rec.Count;
  EXPECT_EQ(counted, 8);  // 4 variants in each of 2 passes, one stake each
}

TEST_F(ScriptCli, RefusesWhatTheDialogsWouldNotAccept) {
  struct Case {
    std::vector<std::string> Args;
    int Code;
    const char* Err;
  };
  const Case cases[] = {
      {{"script", "test", Script(), "--tests", "40"}, 1, "Количество тестов должно быть от 1 до 39!"},
      {{"script", "test", Script(), "--tests", "0"}, 2, "--tests"},
      {{"script", "test", Script()}, 2, "--tests"},
      {{"script", "test", Script(), "--tests", "1", "--check-on-line", "maybe"}, 2, "--check-on-line"},
      {{"script", "run", Script(), "--offset", "40"}, 1, "Смещение должно быть от 0 до 39!"},
      {{"script", "run", (dir_ / "missing.lsc").string()}, 1, "Ошибка чтения файла"},
  };
  for (const auto& c : cases) {
    const auto r = Run(c.Args);
    EXPECT_EQ(r.Code, c.Code) << c.Args.back() << "\n" << r.Err;
    EXPECT_NE(r.Err.find(c.Err), std::string::npos) << r.Err;
  }
  EXPECT_FALSE(support::FileExists(dir_ / "Kelmora_4r32.lrt"));
}

TEST_F(ScriptCli, HelpIsInRussian) {
  const auto r = Run({"script", "test", "--help"});
  EXPECT_EQ(r.Code, 0);
  EXPECT_NE(r.Out.find("Количество последних тиражей"), std::string::npos) << r.Out;
}

// Ctrl+C in the real program: the run ends at the next check point, keeps what it made, exits 130.
TEST_F(ScriptCli, InterruptStopsTheTestAndKeepsItsStakes) {
  // Many variants, so that the run is still going when the signal comes.
  const auto script = dir_ / "long.lsc";
  support::WriteFileAtomic(script, std::string("FULL:0#FIRST|TMD1#NUMS:5-39;1#CMV:1;2;3;4;5#SF:0| | | | | | |\r\n"));
  const auto out = dir_ / "out.txt";
  std::vector<std::string> all{KELMORA_CLI_PATH, "--data-dir", dir_.Path().string(), "script", "test",
                               script.string(), "--tests", "39"};
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  // Wait until stakes are being made, then interrupt.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    std::error_code ec;
    if (fs::file_size(dir_ / "Kelmora_4r32.lsk", ec) > 10 * stakes::StakeRecSize && !ec) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_EQ(::kill(pid, SIGINT), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << support::ReadFileText(out);
  EXPECT_EQ(WEXITSTATUS(status), 130) << support::ReadFileText(out);
  const auto grid = StakesGrid(dir_ / "Kelmora_4r32.lsk");
  EXPECT_GT(std::count(grid.begin(), grid.end(), '\n'), 10);
  // Progress went to stderr, a few lines a second at most.
  const std::string err = support::ReadFileText(out);
  EXPECT_NE(err.find("Цикл: "), std::string::npos) << err;
}

}  // namespace
}  // namespace kelmora::testing
