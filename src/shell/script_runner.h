#pragma once
// The script runner of the main window without widgets: "Прогноз" (one pass at the current draws
// offset) and "Тест" (a pass for each of the latest past draws), the steps with their variants,
// start lists and stake modes, the log, and the stop request. It works on the Session's
// combination list, statistics table, stakes file and rating exactly as the window's commands do.
// Owned by the Session; reached as Session::Runner().

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lottery/types.h"
#include "scripts/runner.h"
#include "scripts/script.h"
#include "shell/host.h"

namespace kelmora::shell {

class Session;
class FilterApplication;

enum class ScriptOutcome { Complete, Failed, Stopped };

class ScriptRunner {
 public:
  explicit ScriptRunner(Session& session);
  ~ScriptRunner();

  bool Running() const { return running_; }     // ScriptRunning
  bool StopFlag() const { return stop_; }       // StopFlag
  int Cycle() const { return cycle_; }          // ScriptCycle
  int StakesMade() const { return stakes_; }    // ScriptStakes
  // The log file of the run in progress; empty when none.
  const std::filesystem::path& LogFile() const { return log_file_; }

  // "Прогноз": one pass at the current draws offset over these lines. Failed when a step failed
  // (its message was shown), Stopped when the stop flag ended it (the user, or stake mode STOP).
  ScriptOutcome ScriptRun(const std::vector<std::string>& lines);
  // "Тест": passes at the offsets tests, tests-1, ..., 1, then the offset as it was (a stopped test
  // leaves the offset where it stopped). 0 or less does nothing.
  ScriptOutcome ScriptTest(const std::vector<std::string>& lines, int tests);
  // "Стоп": asks "Остановить выполнение сценария?"; on Yes logs it and sets the stop flag.
  void ScriptStop();
  // The command line's Ctrl+C: the stop flag without a question.
  void RequestStop();
  // Flip ScriptLogEnabled / StakesCheckOnLine and store them in the view state at once.
  void LogToggle();
  void StakesCheckLine();
  // "Удалить журналы выполнения сценариев": every ScriptLog_*.txt of the data folder.
  void LogsDelete();

  // Runner options, not user settings. Literal applies filter variants by the literal algorithm
  // (recomputing every table; for the benchmark and the equality test); otherwise a run keeps its
  // tables and masks (FilterApplication) from its start to its end.
  void SetLiteral(bool literal) { literal_ = literal; }
  bool Literal() const { return literal_; }
  // Stake mode RAND's generator, seeded once from the clock; tests seed it.
  void SeedRandom(uint32_t seed) { random_.Seed(seed); }
  // The clock of the log's names and entries (local time by default); tests replace it.
  std::function<scripts::TLocalTime()> Clock;

 private:
  // What the stakes of one variant are made from.
  struct StakeContext {
    int Line = 0;
    int64_t Variant = 0;
    std::string Comment;
    std::string Description;
    std::string Name;
    bool NewOnly = false;
    int Mode = 0;
  };

  void RunScriptPass(const std::vector<std::string>& lines);
  void ExecuteStep(int index, const std::string& line);
  void RunVariants(int line_number, const scripts::TStepOptions& options, const std::string& comment,
                   const std::vector<filtering::TFilterItem>& items);
  void RunWithoutFilters(int line_number, const scripts::TStepOptions& options, const std::string& comment);
  void BuildStartList(const scripts::TStepOptions& options);
  void CreateStepStakes(const StakeContext& step);
  void AddScriptStake(lottery::TComb comb, bool bulk, const StakeContext& step);
  void AddSystemStakes(bool whole, const StakeContext& step);
  bool LoadSystemFor(const std::vector<uint8_t>& values, lottery::TCombsArray& combs, std::string& file_name,
                     std::string& failure);
  void BeginRun();
  void EndRun();
  ScriptOutcome Outcome() const;
  void CheckOnLine();
  // A step failed: the message once, and the whole run stops.
  void StepFailed(std::string_view message);

  void ScriptLog(std::string_view text);
  void StartScriptLog();
  void FinishScriptLog();
  void ShowScriptProgress(int line, int64_t variant, std::string_view text, int64_t total);
  void ShowStakesPanel(bool bulk);
  bool StopRequested();
  bool LogEnabled() const;

  Session& session_;
  bool running_ = false;
  bool stop_ = false;
  bool failed_ = false;
  int cycle_ = 0;
  int stakes_ = 0;
  std::filesystem::path log_file_;
  bool log_failure_shown_ = false;
  bool system_failure_shown_ = false;
  bool literal_ = false;
  std::unique_ptr<FilterApplication> application_;  // during a run unless literal_
  scripts::TScriptRandom random_;
  ScriptProgressPanels panels_;
  std::chrono::steady_clock::time_point last_stakes_panel_{};
};

}  // namespace kelmora::shell
