#include "shell/script_runner.h"

#include <fmt/format.h>

#include "filtering/filter_apply.h"
#include "lottery/comb_text.h"
#include "shell/combs_state.h"
#include "shell/commands.h"
#include "shell/filter_application.h"
#include "shell/session.h"
#include "shell/stakes_state.h"
#include "shell/stats_state.h"
#include "shell/systems_state.h"
#include "stakes/stake_rec.h"
#include "support/error.h"

namespace kelmora::shell {

namespace {

constexpr const char* RunningText = "Выполнение сценария...";
constexpr const char* FinishedText = "Сценарий завершен!";
constexpr const char* ExpandingText = "Создание всех вариантов фильтров...";
constexpr const char* StartListText = "Создание начального списка комбинаций...";

}  // namespace

ScriptRunner::ScriptRunner(Session& session) : Clock(scripts::LocalTimeNow), session_(session) {}

ScriptRunner::~ScriptRunner() = default;

// --- the log ---

bool ScriptRunner::LogEnabled() const { return session_.MainView().ScriptLogEnabled; }

void ScriptRunner::StartScriptLog() {
  if (LogEnabled()) {
    log_file_ = session_.DataPath(scripts::ScriptLogFileName(Clock()));
  } else {
    log_file_.clear();
  }
}

void ScriptRunner::FinishScriptLog() {
  std::error_code ec;
  if (LogEnabled() && !log_file_.empty() && std::filesystem::is_regular_file(log_file_, ec))
    session_.GetHost().OpenDocument(log_file_.string());
  log_file_.clear();
}

void ScriptRunner::ScriptLog(std::string_view text) {
  if (!LogEnabled()) return;
  if (log_file_.empty()) StartScriptLog();
  try {
    scripts::AppendScriptLogEntry(log_file_, Clock(), text);
  } catch (const std::exception& e) {
    // Reported once per run: a folder that cannot be written fails every entry after the first.
    if (!log_failure_shown_) session_.GetHost().ShowError(fmt::format("Ошибка записи журнала: {}!", e.what()));
    log_failure_shown_ = true;
  }
}

// --- progress and stop checks ---

void ScriptRunner::ShowScriptProgress(int line, int64_t variant, std::string_view text, int64_t total) {
  panels_.Cycle = fmt::format("Цикл: {}", cycle_);
  panels_.Line = fmt::format("Строка: {}", line);
  panels_.Stakes = fmt::format("Ставок: {}", stakes_);
  panels_.Text = total != 0 ? fmt::format("Фильтр {} из {}: {}", variant, total, text) : std::string(text);
  session_.GetHost().ShowScriptProgress(panels_);
  session_.GetHost().ProcessEvents();
}

void ScriptRunner::ShowStakesPanel(bool bulk) {
  const auto now = std::chrono::steady_clock::now();
  if (bulk && now - last_stakes_panel_ < std::chrono::milliseconds(101)) return;
  last_stakes_panel_ = now;
  panels_.Stakes = fmt::format("Ставок: {}", stakes_);
  session_.GetHost().ShowScriptProgress(panels_);
  session_.GetHost().ProcessEvents();
}

bool ScriptRunner::StopRequested() {
  session_.GetHost().ProcessEvents();
  return stop_;
}

void ScriptRunner::StepFailed(std::string_view message) {
  stop_ = true;
  failed_ = true;
  if (!message.empty()) session_.GetHost().ShowError(message);
}

// --- run and test ---

void ScriptRunner::BeginRun() {
  failed_ = false;
  log_failure_shown_ = false;
  system_failure_shown_ = false;
  log_file_.clear();
  if (LogEnabled()) {
    StartScriptLog();
    ScriptLog(scripts::LogStartLine);
  }
  running_ = true;
  stop_ = false;
  stakes_ = 0;
  panels_ = {};
  session_.Stakes().SetLiteralScans(literal_);
  if (!literal_) {
    application_ = std::make_unique<FilterApplication>(session_);
    // The rating is written and the stakes file flushed once at the end instead of at every check.
    session_.Stakes().BeginBatch();
  }
  session_.GetHost().ViewChanged(ViewId::Script);
}

void ScriptRunner::EndRun() {
  // The kept tables and masks are worth nothing once the window can change the archive again.
  if (application_) session_.Stakes().EndBatch();
  application_.reset();
  session_.Stakes().SetLiteralScans(false);
  session_.GetHost().ViewChanged(ViewId::Script);
}

ScriptOutcome ScriptRunner::Outcome() const {
  if (failed_) return ScriptOutcome::Failed;
  return stop_ ? ScriptOutcome::Stopped : ScriptOutcome::Complete;
}

ScriptOutcome ScriptRunner::ScriptRun(const std::vector<std::string>& lines) {
  if (running_) return ScriptOutcome::Failed;
  BusyGuard busy(session_, RunningText);
  BeginRun();
  cycle_ = 1;
  ShowScriptProgress(0, 0, RunningText, 0);
  StatsState& stats = session_.Stats();
  const int sort_column = stats.SortColumn();
  const bool sort_descending = stats.SortDescending();
  try {
    ScriptLog(scripts::LogPassLine);
    ScriptLog(scripts::LogOffsetLine(session_.DrawsOffset()));
    ScriptLog(scripts::LogPassLine);
    RunScriptPass(lines);
  } catch (const std::exception& e) {
    StepFailed(e.what());
  }
  const ScriptOutcome outcome = Outcome();
  if (!stop_) ShowScriptProgress(0, 0, FinishedText, 0);
  cycle_ = 0;
  running_ = false;
  stop_ = false;
  stats.SetSort(sort_column, sort_descending);
  if (LogEnabled()) {
    ScriptLog(scripts::LogFinishLine);
    FinishScriptLog();
  }
  EndRun();
  return outcome;
}

ScriptOutcome ScriptRunner::ScriptTest(const std::vector<std::string>& lines, int tests) {
  if (running_) return ScriptOutcome::Failed;
  if (tests <= 0) return ScriptOutcome::Complete;
  BusyGuard busy(session_, RunningText);
  BeginRun();
  StatsState& stats = session_.Stats();
  const int sort_column = stats.SortColumn();
  const bool sort_descending = stats.SortDescending();
  const int offset = session_.DrawsOffset();
  cycle_ = 0;
  try {
    for (int k = tests; k >= 1; --k) {
      ++cycle_;
      ShowScriptProgress(0, 0, RunningText, 0);
      if (StopRequested()) break;
      session_.SetDrawsOffset(k);
      if (StopRequested()) break;
      ScriptLog(scripts::LogPassLine);
      ScriptLog(scripts::LogOffsetLine(k));
      ScriptLog(scripts::LogPassLine);
      if (StopRequested()) break;
      RunScriptPass(lines);
    }
  } catch (const std::exception& e) {
    StepFailed(e.what());
  }
  const ScriptOutcome outcome = Outcome();
  // A stopped test leaves the offset at which it stopped.
  if (!stop_) session_.SetDrawsOffset(offset);
  cycle_ = 0;
  running_ = false;
  stop_ = false;
  ShowScriptProgress(0, 0, FinishedText, 0);
  stats.SetSort(sort_column, sort_descending);
  if (LogEnabled()) {
    ScriptLog(scripts::LogFinishLine);
    FinishScriptLog();
  }
  EndRun();
  return outcome;
}

void ScriptRunner::ScriptStop() {
  if (!running_ || stop_) return;
  if (!session_.GetHost().AskYesNo(MessageKind::Confirmation, "Остановить выполнение сценария?", false)) return;
  RequestStop();
}

void ScriptRunner::RequestStop() {
  if (!running_ || stop_) return;
  ScriptLog(scripts::LogStoppedLine);
  stop_ = true;
  session_.GetHost().ViewChanged(ViewId::Script);  // "Стоп" becomes unavailable
}

void ScriptRunner::LogToggle() {
  if (running_) return;
  if (const auto change = ViewSwitchChange(CommandId::LogToggle, session_.MainView())) {
    ApplyViewSwitch(session_.MainView(), *change);
    session_.WriteViewSwitch(change->Key, change->Value);
  }
}

void ScriptRunner::StakesCheckLine() {
  if (const auto change = ViewSwitchChange(CommandId::StakesCheckLine, session_.MainView())) {
    ApplyViewSwitch(session_.MainView(), *change);
    session_.WriteViewSwitch(change->Key, change->Value);
  }
}

void ScriptRunner::LogsDelete() {
  if (running_) return;
  std::vector<std::filesystem::path> logs;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(session_.Options().DataDir, ec)) {
    if (entry.is_regular_file(ec) && scripts::IsScriptLogFileName(entry.path().filename().string()))
      logs.push_back(entry.path());
  }
  if (logs.empty()) {
    session_.GetHost().ShowInformation("Файлы журналов не найдены!");
    return;
  }
  size_t deleted = 0;
  {
    BusyGuard status(session_, "Поиск файлов журналов...");
    for (const auto& path : logs) deleted += std::filesystem::remove(path, ec) ? 1 : 0;
  }
  if (deleted == logs.size()) {
    session_.GetHost().ShowInformation(fmt::format("Удалено файлов журналов: {}.", deleted));
  } else {
    session_.GetHost().ShowWarning(fmt::format("Удалено файлов журналов: {} из {}.", deleted, logs.size()));
  }
}

// --- one pass and one step ---

void ScriptRunner::RunScriptPass(const std::vector<std::string>& lines) {
  CombsState& combs = session_.Combs();
  stats::TStatList& list = session_.Stats().List();
  session_.Stakes().StartStakeGroup();
  combs.ResetBuffer();
  list.BackupCdl();  // filter parts may apply weights of their own
  try {
    bool stopped = false;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (StopRequested()) {
        stopped = true;
        break;
      }
      const std::string& line = lines[i];
      if (scripts::IsSeparatorLine(line)) continue;
      const int row = static_cast<int>(i);
      session_.GetHost().ScriptRowRunning(row);
      ScriptLog(scripts::LogStepLine);
      ScriptLog(fmt::format("Выполнение строки {:03d}: \"{}\"", row + 1, line));
      ScriptLog(scripts::LogStepLine);
      ExecuteStep(row, line);
      session_.GetHost().ScriptRowRunning(-1);
      if (StopRequested()) {
        stopped = true;
        break;
      }
    }
    if (!stopped && !session_.MainView().StakesCheckOnLine) CheckOnLine();
  } catch (...) {
    list.RestoreCdl();
    combs.ResetBuffer();
    throw;
  }
  list.RestoreCdl();
  combs.ResetBuffer();
}

void ScriptRunner::ExecuteStep(int index, const std::string& line) {
  CombsState& combs = session_.Combs();
  const int line_number = index + 1;
  try {
    combs.DiscardSnapshot();
    const scripts::TStepOptions options = scripts::StepOptionsFromText(scripts::StepField(line, scripts::StepOptionsField));
    if (!StopRequested()) {
      std::vector<filtering::TFilterItem> items;
      bool stopped = false;
      for (int slot = 1; slot <= filtering::FilterSlots && !stopped; ++slot) {
        if (StopRequested()) {
          stopped = true;
          break;
        }
        const std::string text = scripts::StepField(line, scripts::FilterField(slot));
        if (!text.empty()) items.push_back(filtering::FilterItemFromText(text, session_.Stats().List()));
      }
      const std::string comment = scripts::StepField(line, scripts::StepCommentField);
      if (!stopped && !StopRequested()) {
        if (items.empty()) {
          RunWithoutFilters(line_number, options, comment);
        } else {
          RunVariants(line_number, options, comment, items);
        }
      }
    }
  } catch (const std::exception& e) {
    StepFailed(e.what());
  }
  combs.DiscardSnapshot();
}

void ScriptRunner::RunVariants(int line_number, const scripts::TStepOptions& options, const std::string& comment,
                               const std::vector<filtering::TFilterItem>& items) {
  CombsState& combs = session_.Combs();
  ScriptLog(ExpandingText);
  ShowScriptProgress(line_number, 0, ExpandingText, 0);
  // Variants are made one at a time from their number, so none waits in memory for its turn.
  const filtering::TFilterVariants variants = filtering::ExpandFilterVariants(items);
  ScriptLog(fmt::format("Создано {} вариантов фильтров.", variants.Count));
  if (StopRequested()) return;

  const std::string short_options = scripts::StepOptionsToShortText(options);
  FilterRunSignals signals;
  signals.Log = [this](std::string_view entry) { ScriptLog(entry); };
  signals.StopRequested = [this] { return stop_; };
  signals.Application = application_.get();
  const bool check_on_line = session_.MainView().StakesCheckOnLine;
  const auto stopped_variant = [&] {
    if (check_on_line) CheckOnLine();
  };

  for (int64_t v = 0; v < variants.Count; ++v) {
    const int64_t number = v + 1;
    if (StopRequested()) return;
    const filtering::TFilterRec rec = variants.Variant(v);
    const std::string text = filtering::FilterVarToText(rec);
    ScriptLog("");
    ScriptLog(scripts::LogStepLine);
    ScriptLog(fmt::format("Применение набора фильтров {:03d}: \"{}\"", number, text));
    ScriptLog(scripts::LogStepLine);
    ShowScriptProgress(line_number, number, text, variants.Count);

    ScriptLog(StartListText);
    BuildStartList(options);
    ScriptLog(fmt::format("Количество комбинаций в списке: {}", combs.Count()));
    if (StopRequested()) return stopped_variant();

    combs.ApplyFilterVar(rec, signals);
    if (StopRequested()) return stopped_variant();

    StakeContext step;
    step.Line = line_number;
    step.Variant = number;
    step.Comment = comment;
    step.Description = scripts::ScriptStakeDescription(short_options, text);
    step.Name = scripts::ScriptStakeName(line_number, number, comment, step.Description);
    step.NewOnly = options.NewOnly;
    step.Mode = options.StakeMode;
    CreateStepStakes(step);
    if (StopRequested()) return stopped_variant();

    ScriptLog(scripts::LogStepLine);
    if (check_on_line) CheckOnLine();
  }
}

void ScriptRunner::RunWithoutFilters(int line_number, const scripts::TStepOptions& options,
                                     const std::string& comment) {
  const std::string short_options = scripts::StepOptionsToShortText(options);
  const bool check_on_line = session_.MainView().StakesCheckOnLine;
  ScriptLog("{ERROR} Фильтры не применялись!");
  ScriptLog("");
  ShowScriptProgress(line_number, 0, short_options, 0);
  ScriptLog(StartListText);
  BuildStartList(options);
  ScriptLog(fmt::format("Количество комбинаций в списке: {}", session_.Combs().Count()));
  if (StopRequested()) {
    if (check_on_line) CheckOnLine();
    return;
  }
  StakeContext step;
  step.Line = line_number;
  step.Variant = 0;
  step.Comment = comment;
  step.Description = short_options;
  step.Name = scripts::ScriptStakeName(line_number, 0, comment, short_options);
  step.NewOnly = options.NewOnly;
  step.Mode = options.StakeMode;
  CreateStepStakes(step);
  if (StopRequested()) {
    if (check_on_line) CheckOnLine();
    return;
  }
  if (check_on_line) CheckOnLine();
}

void ScriptRunner::BuildStartList(const scripts::TStepOptions& options) {
  CombsState& combs = session_.Combs();
  if (options.StartList == scripts::FULL || options.StartList == scripts::EXCL) {
    // The buffer keeps the pass's start list across the step's variants (it is reset per pass).
    if (!combs.GenerateDefault(true, true)) return StepFailed("");
    if (StopRequested()) return;
  }
  if (options.StartList == scripts::EXCL && options.ExcludeCount > 0) {
    const int offset = session_.DrawsOffset();
    if (!combs.LoadFromBuffer(offset, options.ExcludeCount)) {
      combs.TakeSnapshot(false);
      combs.RemoveLastDraws(options.ExcludeCount);
      combs.SaveToBuffer(offset, options.ExcludeCount);
    }
    if (StopRequested()) return;
  }
  if (options.ClearStakes && !session_.Stakes().ClearStakesFile()) StepFailed("");
}

void ScriptRunner::CheckOnLine() { session_.Stakes().CheckStakes(); }

// --- stakes ---

void ScriptRunner::CreateStepStakes(const StakeContext& step) {
  CombsState& combs = session_.Combs();
  const int n = combs.Count();
  ScriptLog(fmt::format("{{*}} Добавление ставки, режим: \"{}\"", scripts::StakeModeCaption(step.Mode)));
  if (n == 0 || step.Mode == scripts::NONE) return;
  if (n > 1 && step.Mode == scripts::STOP) {
    stop_ = true;
    ScriptLog("{!} Сценарий остановлен!");
    session_.GetHost().ShowAttention(fmt::format(
        "Выполнение сценария прервано, т.к. после применения всех фильтров в списке комбинаций их осталось более "
        "одной: {}!\r\rФильтры: {}",
        n, step.Name));
    return;
  }
  if (n > 1 && step.Mode == scripts::SKIP) {
    ScriptLog("{-} Ставка игнорирована!");
    return;
  }
  if (StopRequested()) return;
  session_.SetStatusText("Создание ставок...");
  const auto& list = combs.CombList();
  if (n == 1) {
    AddScriptStake(list[0], false, step);
  } else {
    switch (step.Mode) {
      case scripts::RAND: AddScriptStake(list[static_cast<size_t>(random_.Index(n))], false, step); break;
      case scripts::FIRST: AddScriptStake(list.front(), false, step); break;
      case scripts::LAST: AddScriptStake(list.back(), false, step); break;
      case scripts::ALL:
        for (const lottery::TComb comb : list) {
          if (StopRequested()) break;
          AddScriptStake(comb, true, step);
        }
        break;
      case scripts::SYSA: AddSystemStakes(true, step); break;
      case scripts::SYSC: AddSystemStakes(false, step); break;
      default: break;
    }
  }
  session_.GetHost().ViewChanged(ViewId::Stakes);
}

void ScriptRunner::AddScriptStake(lottery::TComb comb, bool bulk, const StakeContext& step) {
  StakesState& stakes = session_.Stakes();
  const int32_t draw = session_.NextDrawNumber();
  if (step.NewOnly && stakes.StakeExists(draw, comb)) {
    ScriptLog(fmt::format("{{-}} Ставка на тираж {} не добавлена, так как уже имеется в списке ставок: [{}]", draw,
                          lottery::CombToText(comb)));
  } else {
    const auto rec = stakes::MakeStake(lottery::StakeScript, draw, comb, step.Name, session_.Combs().Count(),
                                       session_.Settings().Config);
    if (!stakes.AppendStakes(rec, 1)) return StepFailed("");  // the failure is shown already
    if (!bulk || session_.MainView().StakesScrollEnabled) session_.GetHost().ViewChanged(ViewId::Stakes);
    ScriptLog(fmt::format("{{+}} Ставка на тираж {} добавлена в список ставок: [{}]", draw, lottery::CombToText(comb)));
    ++stakes_;
  }
  ShowStakesPanel(bulk);
}

bool ScriptRunner::LoadSystemFor(const std::vector<uint8_t>& values, lottery::TCombsArray& combs,
                                 std::string& file_name, std::string& failure) {
  // Shown once per run: a test would otherwise stop at a box for every variant of the step.
  stakes::TSystemLoad load = session_.Systems().LoadSystemFor(values, !system_failure_shown_);
  combs = std::move(load.Combs);
  file_name = load.File.string();
  failure = load.Failure;
  if (!failure.empty()) system_failure_shown_ = true;
  return failure.empty();
}

void ScriptRunner::AddSystemStakes(bool whole, const StakeContext& step) {
  CombsState& combs = session_.Combs();
  const std::vector<uint8_t> values = stakes::DistinctListValues(combs.CombList());
  lottery::TCombsArray rows;
  std::string file_name, failure;
  if (!LoadSystemFor(values, rows, file_name, failure)) {
    ScriptLog(fmt::format("{{#}} Системная игра для {} чисел [ОШИБКА]: \"{}\"", values.size(), failure));
    return;
  }
  const std::string stem = std::filesystem::path(file_name).stem().string();
  ScriptLog(whole ? fmt::format("{{#}} Системная игра для {} чисел [все система]: загружен файл \"{}\"", values.size(), stem)
                  : fmt::format("{{#}} Системная игра для {} чисел [система * комбинации]: загружен файл \"{}\"",
                                values.size(), stem));
  const auto& lists = combs.Lists();
  for (const lottery::TComb comb :
       stakes::SystemStakeCombs(rows, whole, [&](lottery::TComb c) { return lists.CombListContains(c); })) {
    AddScriptStake(comb, true, step);
    if (failed_) break;
  }
}

}  // namespace kelmora::shell
