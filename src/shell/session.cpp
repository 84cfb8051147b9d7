#include "shell/session.h"

#include <algorithm>

#include <fmt/format.h>

#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "shell/combs_state.h"
#include "shell/library_state.h"
#include "shell/regulars_state.h"
#include "shell/script_runner.h"
#include "shell/network_state.h"
#include "shell/script_state.h"
#include "shell/systems_state.h"
#include "shell/stakes_state.h"
#include "shell/stats_state.h"
#include "shell/switches.h"
#include "shell/views_state.h"
#include "stats/prefetch.h"
#include "support/error.h"
#include "support/text.h"

namespace kelmora::shell {

Session::Session(Host& host, SessionOptions options)
    : host_(host), options_(std::move(options)), view_(std::make_unique<ViewState>(ViewStatePath())) {}

Session::~Session() = default;

bool Session::HasSwitch(std::string_view name) const { return shell::HasSwitch(options_.Arguments, name); }

std::filesystem::path Session::DataPath(std::string_view file_name) const {
  return options_.DataDir / std::filesystem::path(std::string(file_name));
}
std::filesystem::path Session::DrawsPath() const { return DataPath(fmt::format("{}.ldr", ProgramName)); }
std::filesystem::path Session::ConfigPath() const { return DataPath(fmt::format("{}.ini", ProgramName)); }
std::filesystem::path Session::ViewStatePath() const { return DataPath(fmt::format("{}.frm", ProgramName)); }
std::filesystem::path Session::ResultsPath() const { return DataPath("chance_results.csv"); }

void Session::BeginBusy() {
  if (busy_++ == 0) host_.BusyChanged(true);
}

void Session::EndBusy() {
  if (busy_ > 0 && --busy_ == 0) host_.BusyChanged(false);
}

void Session::SetStatusText(std::string_view text) {
  host_.SetStatusText(text);
  host_.ProcessEvents();
}

void Session::ShowFailure(std::string_view sentence, const std::exception& failure) {
  host_.ShowError(sentence.empty() ? std::string(failure.what()) : fmt::format("{}\r\r{}", sentence, failure.what()));
}

BusyGuard::BusyGuard(Session& session, std::string_view status, Busy busy)
    : session_(session), busy_(busy == Busy::Yes), status_(!status.empty()) {
  if (busy_) session_.BeginBusy();
  if (status_) session_.SetStatusText(status);
}

BusyGuard::~BusyGuard() {
  if (status_) session_.SetStatusText("");
  if (busy_) session_.EndBusy();
}

void Session::Create() {
  Reported("Ошибка запуска программы!", [&] {
    LoadViewState();
    LoadConfiguration();
    stats_ = std::make_unique<StatsState>(*this);
    combs_ = std::make_unique<CombsState>(*this);
    stakes_ = std::make_unique<StakesState>(*this);
    script_ = std::make_unique<ScriptState>(*this);
  });
}

void Session::LoadViewState() {
  Reported("Ошибка загрузки параметров программы!", [&] {
    view_->Load();
    ReadMainViewState(*view_, main_view_);
    if (!main_view_.PrefetchsInit && options_.WriteViewStateOnStart) {
      // The first start decides comparison mode once, from whatever the file held.
      main_view_.PrefetchsInit = true;
      view_->BeginBatch();
      view_->WriteBool(MainWindowSection, "PrefetchsInit", true);
      view_->WriteBool(MainWindowSection, "PrefetchsEnabled", main_view_.PrefetchsEnabled);
      view_->EndBatch();
    }
  });
}

void Session::LoadConfiguration() {
  BusyGuard busy(*this, "Загрузка файла конфигурации...");
  Reported("Ошибка чтения файла конфигурации!", [&] {
    support::IniFile ini(ConfigPath());
    ini.Load();
    ReadGenerationDefaults(ini, settings_.Generation);
    std::string problem;
    ReadAnalysisSettings(ini, settings_.Config, &problem);
    ReadShredding(ini, settings_.Shredding);
    ReadProxy(ini, settings_.Proxy);
    ReadNetworkSettings(ini, settings_.Network);
    if (!problem.empty()) support::Fail("{}", problem);
  });
}

void Session::Initialise() {
  Reported("Ошибка инициализации программы!", [&] {
    BusyGuard status(*this, "Инициализация...", Busy::No);
    SetDrawsOffset(0);
    if (!OpenStakesFile()) return;
    Stakes().LoadStakesFile();
    LoadDrawsFile();
    Combs().GenerateDefault(true);
    RefreshAllViews(true);
    Stakes().LoadRating();
    if (main_view_.TabTables) Regulars().Show();
    Script().LoadCurrentScript();
  });
}

bool Session::SaveConfigGroup(void (*write)(support::IniFile&, const TProgramSettings&), bool quiet) {
  BusyGuard busy(*this, quiet ? "" : "Сохранение файла конфигурации...");
  return Reported("Ошибка записи в файл конфигурации!", [&] {
    support::IniFile ini(ConfigPath());
    ini.Load();
    write(ini, settings_);
    ini.SetOwnerOnly(true);  // it holds the proxy password
    ini.Save();
  });
}

bool Session::SetAnalysisSettings(const lottery::TConfigData& config) {
  const lottery::TConfigData old = settings_.Config;
  settings_.Config = config;
  settings_.Config.ChannelSize = std::clamp(settings_.Config.ChannelSize, ChannelSizeMin, ChannelSizeMax);
  settings_.Config.MatrixCols = std::clamp(settings_.Config.MatrixCols, MatrixColsMin, MatrixColsMax);
  const bool ok = SaveConfigGroup(
      [](support::IniFile& ini, const TProgramSettings& s) { WriteAnalysisSettings(ini, s.Config); }, false);
  // The channel, matrix and segment statistics take their shape from these settings: their entries
  // are made anew and, in comparison mode, their norm files too.
  stats::TGroupSet changed = 0;
  if (old.MatrixCols != settings_.Config.MatrixCols) changed |= stats::MatrixGroups;
  if (old.ChannelSize != settings_.Config.ChannelSize) changed |= stats::ChannelGroups;
  if (!support::SameText(lottery::MatrixSegmentsToText(old.MatrixSegments),
                         lottery::MatrixSegmentsToText(settings_.Config.MatrixSegments)))
    changed |= stats::SegmentGroups;
  Stats().FillStatSelectors(true, true);
  if (changed != 0 && Stats().PrefetchsEnabled()) Stats().BuildAllPrefetches(true, changed);
  RefreshAllViews(true);
  return ok;
}

bool Session::SetGenerationDefaults(const TGenerationDefaults& defaults) {
  settings_.Generation = defaults;
  return SaveConfigGroup(
      [](support::IniFile& ini, const TProgramSettings& s) { WriteGenerationDefaults(ini, s.Generation); }, false);
}

bool Session::SetShredding(const lottery::TShreddingData& shredding) {
  settings_.Shredding = shredding;
  const bool ok = SaveConfigGroup(
      [](support::IniFile& ini, const TProgramSettings& s) { WriteShredding(ini, s.Shredding); }, false);
  if (Stats().PrefetchsEnabled()) Stats().BuildAllPrefetches(true, stats::ShreddingGroups);
  // The entries carry their formula in the caption, so they are made anew.
  Stats().FillStatSelectors(true, true);
  RefreshAllViews(true);
  return ok;
}

bool Session::SetProxy(const lottery::TProxy& proxy, bool quiet) {
  settings_.Proxy = proxy;
  const bool ok =
      SaveConfigGroup([](support::IniFile& ini, const TProgramSettings& s) { WriteProxy(ini, s.Proxy); }, quiet);
  settings_.Proxy.Saved = ok;
  return ok;
}

bool Session::WriteViewSwitch(std::string_view key, int32_t value) {
  return Reported("Ошибка сохранения параметров программы!", [&] { view_->WriteInt(MainWindowSection, key, value); });
}

void Session::SaveViewStateAtExit() {
  Reported("Ошибка сохранения параметров программы!", [&] { WriteMainViewStateAtExit(*view_, main_view_); });
}

void Session::RefreshAllViews(bool force) {
  if (views_suppressed_) return;
  if (stats_ && stats_->SelectedEntry() >= 0) stats_->CalcStatTable(force);
  if (views_) views_->Refresh(force);
  host_.ViewChanged(ViewId::All);
}

ViewsState& Session::Views() {
  if (!views_) views_ = std::make_unique<ViewsState>(*this);
  return *views_;
}

CombsState& Session::Combs() {
  if (!combs_) combs_ = std::make_unique<CombsState>(*this);
  return *combs_;
}

StakesState& Session::Stakes() {
  if (!stakes_) stakes_ = std::make_unique<StakesState>(*this);
  return *stakes_;
}

ScriptState& Session::Script() {
  if (!script_) script_ = std::make_unique<ScriptState>(*this);
  return *script_;
}

RegularsState& Session::Regulars() {
  if (!regulars_) regulars_ = std::make_unique<RegularsState>(*this);
  return *regulars_;
}

SystemsState& Session::Systems() {
  if (!systems_) systems_ = std::make_unique<SystemsState>(*this);
  return *systems_;
}

ScriptRunner& Session::Runner() {
  if (!runner_) runner_ = std::make_unique<ScriptRunner>(*this);
  return *runner_;
}

StatsState& Session::Stats() {
  if (!stats_) stats_ = std::make_unique<StatsState>(*this);
  return *stats_;
}

std::string Session::StatusPanelText(int panel) const {
  switch (panel) {
    case 0: return fmt::format("Архив тиражей: {}", draws_.size());
    case 1: return fmt::format("Следующий тираж: {}", NextDrawNumber());
    case 2: {
      const lottery::TDrawRec* hidden = lottery::HiddenDraw(draws_, draws_offset_);
      return hidden ? lottery::CombToText(hidden->Values) : std::string();
    }
    case 3: return combs_ ? combs_->StatusText() : std::string("Комбинаций: 0");
    case 4: return stakes_ ? stakes_->StatusText() : std::string("Ставок: 0");
    case 5: return stakes_ ? stakes_->RatingStatusText() : std::string("Рейтинг: 0");
    default: return {};
  }
}

}  // namespace kelmora::shell
