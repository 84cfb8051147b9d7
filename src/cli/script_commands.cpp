// `kelmora script run` and `kelmora script test`: the script of a file run as "Прогноз" and
// "Тест" run it in the window, leaving the stakes file, the rating and the log in the data folder
// as the window leaves them. The data folder's current script (Kelmora_4r32.lss) is not touched.

#include <csignal>

#include <fmt/format.h>

#include "cli/app.h"
#include "scripts/script.h"
#include "shell/combs_state.h"
#include "shell/script_runner.h"
#include "shell/stakes_state.h"

namespace kelmora::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) { interrupted = 1; }

// Ctrl+C while it lives sets the flag the runner's check points look at; the previous handler comes
// back at the end.
class InterruptScope {
 public:
  InterruptScope() {
    interrupted = 0;
    previous_ = std::signal(SIGINT, OnInterrupt);
  }
  ~InterruptScope() { std::signal(SIGINT, previous_ == SIG_ERR ? SIG_DFL : previous_); }
  InterruptScope(const InterruptScope&) = delete;
  InterruptScope& operator=(const InterruptScope&) = delete;

 private:
  void (*previous_)(int) = SIG_DFL;
};

struct ScriptOptions {
  std::string File;
  int64_t Offset = 0;
  int64_t Tests = 0;
  std::string CheckOnLine;  // "on", "off" or empty: the view state's switch
  bool Log = false;
  bool Test = false;
};

void RunScript(CliContext& ctx, const ScriptOptions& o) {
  std::vector<std::string> lines;
  try {
    lines = scripts::ReadScriptFile(o.File);
  } catch (const std::exception& e) {
    ctx.Fail(fmt::format("Ошибка чтения файла \"{}\"!\r\r{}", o.File, e.what()));
    return;
  }
  // The stakes file is the data folder's lock: taken (with the wait) before anything is read.
  auto& session = ctx.OpenSession(CliContext::Access::Write);
  const int draws = static_cast<int>(session.Draws().size());
  if (draws == 0) {
    ctx.Fail("Архив тиражей пуст!");
    return;
  }
  if (o.Test && o.Tests > draws - 1) {
    ctx.Fail(fmt::format("Количество тестов должно быть от 1 до {}!", draws - 1));
    return;
  }
  if (!o.Test && o.Offset > draws - 1) {
    ctx.Fail(fmt::format("Смещение должно быть от 0 до {}!", draws - 1));
    return;
  }
  if (!session.OpenStakesFile()) return;
  auto& stakes = session.Stakes();
  if (!stakes.LoadStakesFile()) return;
  stakes.LoadRating();
  // The window starts with the default list, which a first step with the current list works on.
  session.Combs().GenerateDefault(true);
  if (!o.CheckOnLine.empty()) session.MainView().StakesCheckOnLine = o.CheckOnLine == "on";
  if (o.Log) session.MainView().ScriptLogEnabled = true;
  if (!o.Test) session.SetDrawsOffset(static_cast<int>(o.Offset));

  auto& runner = session.Runner();
  InterruptScope interrupt;
  ctx.Host().OnProcessEvents = [&runner] {
    if (interrupted) runner.RequestStop();
  };
  ctx.Host().SetShowScriptProgress(true);
  const shell::ScriptOutcome outcome =
      o.Test ? runner.ScriptTest(lines, static_cast<int>(o.Tests)) : runner.ScriptRun(lines);
  ctx.Host().SetShowScriptProgress(false);
  ctx.Host().OnProcessEvents = nullptr;
  switch (outcome) {
    case shell::ScriptOutcome::Complete: ctx.SetExitCode(ExitOk); break;
    case shell::ScriptOutcome::Failed: ctx.SetExitCode(ExitFailure); break;
    case shell::ScriptOutcome::Stopped: ctx.SetExitCode(ExitStopped); break;
  }
}

}  // namespace

void RegisterScriptCommands(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("script", "Выполнение сценариев: прогноз и тест");
  cmd->require_subcommand(1);

  auto run = std::make_shared<ScriptOptions>();
  auto* run_cmd = cmd->add_subcommand(
      "run", "Выполнить сценарий для текущего тиража и смещения (\"Прогноз\"); 0 — выполнен, 1 — ошибка, 130 — остановлен");
  run_cmd->add_option("FILE", run->File, "Файл сценария (.lsc)")->required();
  run_cmd->add_option("--offset", run->Offset, "Смещение: K самых новых тиражей считаются не разыгранными (по умолчанию 0)")
      ->check(CLI::NonNegativeNumber);
  run_cmd->callback([&ctx, run] { RunScript(ctx, *run); });

  auto test = std::make_shared<ScriptOptions>();
  test->Test = true;
  auto* test_cmd = cmd->add_subcommand(
      "test", "Тестирование сценария на предыдущих тиражах (\"Тест\"); 0 — выполнен, 1 — ошибка, 130 — остановлен");
  test_cmd->add_option("FILE", test->File, "Файл сценария (.lsc)")->required();
  test_cmd->add_option("--tests", test->Tests, "Количество последних тиражей, на которых будет производиться тестирование")
      ->required()
      ->check(CLI::Range(int64_t{1}, int64_t{2147483647}));
  test_cmd->add_option("--check-on-line", test->CheckOnLine,
                       "Проверять ставки после каждой строки сценария: on или off (по умолчанию как в окне программы)")
      ->check(CLI::IsMember({"on", "off"}));
  test_cmd->add_flag("--log", test->Log, "Вести журнал выполнения сценария (ScriptLog_*.txt в папке данных)");
  test_cmd->callback([&ctx, test] { RunScript(ctx, *test); });
}

}  // namespace kelmora::cli
