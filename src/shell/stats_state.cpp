#include "shell/stats_state.h"

#include <algorithm>

#include <fmt/format.h>

#include "shell/session.h"
#include "stats/registry.h"
#include "support/error.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::shell {

namespace {

constexpr const char* OpenFailure = "Ошибка открытия файла данных для полного набора вариантов!\r\rИмя файла: {}";
constexpr const char* BuildFailure = "Ошибка создания файла данных для полного набора вариантов!\r\rИмя файла: {}";

// The Host's progress window and status line for a prefetch build.
class HostProgress : public stats::TProgressSink {
 public:
  explicit HostProgress(Session& session) : session_(session) {}
  void Begin(std::string_view text, int maximum) override {
    session_.GetHost().ShowProgress(text, maximum, false);
    session_.SetStatusText(text);
  }
  void Status(std::string_view text) override { session_.SetStatusText(text); }
  void Step(int position) override {
    session_.GetHost().SetProgressPosition(position);
    session_.GetHost().ProcessEvents();
  }
  bool Cancelled() override { return session_.GetHost().ProgressCancelled(); }
  void End() override {
    session_.SetStatusText("");
    session_.GetHost().HideProgress();
  }

 private:
  Session& session_;
};

}  // namespace

StatsState::StatsState(Session& session)
    : session_(session),
      list_(session.Draws(), session.Settings().Config, session.Settings().Shredding, stats::RegisteredClasses()) {
  list_.Rebuild();
  LoadFilterList(FilterListPath(), true);
  // The front end is not told: it asks for the lists once the Session is created.
  FillSelectorLists(false, false);
}

void StatsState::FillStatSelectors(bool reload, bool keep_selection) {
  FillSelectorLists(reload, keep_selection);
  session_.GetHost().ViewChanged(ViewId::StatSelectors);
}

void StatsState::FillSelectorLists(bool reload, bool keep_selection) {
  const std::string chosen = selected_ >= 0 && selected_ < list_.Count() ? list_.Items(selected_).Code() : "";
  int position = 0;
  if (keep_selection) {
    position = -1;
    for (size_t i = 0; i < selectors_.Stats.size(); ++i) {
      if (selectors_.Stats[i].Entry == selected_) position = static_cast<int>(i);
    }
  }
  if (reload) ReloadRegistry();
  selectors_ = stats::FillStatSelectors(list_);
  selected_ = -1;
  // Entries are made anew by a reload, so the chosen method is found again by its code.
  if (!chosen.empty()) {
    for (const auto& entry : selectors_.Stats) {
      if (support::SameText(list_.Items(entry.Entry).Code(), chosen)) {
        selected_ = entry.Entry;
        break;
      }
    }
  }
  if (selected_ < 0 && position >= 0 && position < static_cast<int>(selectors_.Stats.size()))
    selected_ = selectors_.Stats[static_cast<size_t>(position)].Entry;
}

void StatsState::SelectEntry(int entry) { selected_ = entry >= 0 && entry < list_.Count() ? entry : -1; }

std::unique_ptr<stats::TCustomStat> StatsState::CreateStatFromSelection(std::string_view control) const {
  if (selected_ < 0) support::Fail("Не выбран метод расчета статистики (cb: {})!", control);
  return list_.CreateStat(selected_);
}

bool StatsState::SelectCode(std::string_view code) {
  const int entry = list_.IndexOfCode(code);
  if (entry < 0) return false;
  SelectEntry(entry);
  return true;
}

int StatsState::WindowLength() const { return session_.MainView().DrawsStatLen; }

bool StatsState::SetWindowLength(int64_t length) {
  if (length < 1 || length > 2147483647) return false;
  session_.MainView().DrawsStatLen = static_cast<int32_t>(length);
  return true;
}

stats::TStatCalcKey StatsState::CurrentKey() const {
  return {static_cast<int64_t>(session_.Draws().size()), session_.DrawsOffset(), WindowLength(), selected_};
}

bool StatsState::CalcStatTable(bool force) {
  const stats::TStatCalcKey key = CurrentKey();
  if (!force && key == key_) return false;
  Calculate(key, session_.MainView().SortedDraws, PrefetchsEnabled());
  return true;
}

stats::TStatCalcKey StatsState::RequestKey(const StatTableRequest& request) {
  if (request.Window < 1 || request.Window > 2147483647)
    support::Fail("Некорректное количество тиражей: {}!", request.Window);
  const int entry =
      request.Entry >= 0 && request.Entry < list_.Count() ? request.Entry : list_.IndexOfCode(request.Code);
  if (entry < 0) support::Fail("Метод расчета статистики \"{}\" не найден!", request.Code);
  selected_ = entry;
  if (request.SortColumn >= 0 && request.SortColumn < stats::StatColumnCount) {
    sort_column_ = request.SortColumn;
    sort_descending_ = request.Descending;
  }
  const int64_t last = std::max<int64_t>(0, static_cast<int64_t>(session_.Draws().size()) - 1);
  const auto offset = static_cast<int32_t>(std::clamp<int64_t>(request.Offset, 0, last));
  return {static_cast<int64_t>(session_.Draws().size()), offset, static_cast<int32_t>(request.Window), entry};
}

StatTableRequest StatsState::PartTableRequest(int draws_len, int sort_column) const {
  StatTableRequest request;
  request.Entry = SelectedEntry();
  request.Window = draws_len;
  request.Offset = session_.DrawsOffset();
  request.Sorted = session_.MainView().SortedDraws;
  request.Prefetch = PrefetchsEnabled();
  request.SortColumn = sort_column;
  request.Descending = true;
  return request;
}

const stats::TStatTable& StatsState::Compute(const StatTableRequest& request) {
  Calculate(RequestKey(request), request.Sorted, request.Prefetch);
  return table_;
}

std::shared_ptr<const stats::TStatTable> StatsState::ComputeShared(const StatTableRequest& request,
                                                                   StatTableStore& store) {
  Calculate(RequestKey(request), request.Sorted, request.Prefetch, &store);
  if (shared_) return shared_;
  return std::make_shared<const stats::TStatTable>(table_);  // an empty table: no entry or no draws
}

void StatsState::Calculate(const stats::TStatCalcKey& key, bool sorted, bool comparison, StatTableStore* store) {
  key_ = key;
  shared_.reset();
  if (key.Selected < 0 || session_.Draws().empty()) {
    table_.Clear();
    session_.GetHost().ViewChanged(ViewId::StatsTable);
    return;
  }
  StatTableInputs inputs;
  if (store) {
    inputs.Key = key;
    inputs.Sorted = sorted;
    inputs.Comparison = comparison;
    inputs.ShowTotalLine = session_.MainView().ShowTotalLine;
    inputs.DecimalSeparator = session_.DecimalSeparator();
    inputs.Cdl = list_.Cdl();
    inputs.SortColumn = sort_column_;
    inputs.Descending = sort_descending_;
    if (auto kept = store->Find(inputs)) {
      // Reading the norm data again would show nothing, so only the status text remains to show.
      { BusyGuard status(session_, "Анализ тиражей и расчет статистики..."); }
      shared_ = std::move(kept);
      session_.GetHost().ViewChanged(ViewId::StatsTable);
      return;
    }
  }
  std::optional<stats::TPrefetchData> prefetch = OpenPrefetch(key.Selected, comparison);
  const bool norm_failed = comparison && list_.HasNorm(key.Selected) && !prefetch;
  std::shared_ptr<stats::TStatTable> computed = store ? std::make_shared<stats::TStatTable>() : nullptr;
  stats::TStatTable& table = computed ? *computed : table_;
  {
    BusyGuard status(session_, "Анализ тиражей и расчет статистики...");
    stats::TStatTableInput in;
    in.List = &list_;
    in.Entry = key.Selected;
    in.DrawsOffset = key.DrawsOffset;
    in.WindowLength = key.WindowLength;
    in.Sorted = sorted;
    in.Prefetch = prefetch ? &*prefetch : nullptr;
    in.ShowTotalLine = session_.MainView().ShowTotalLine;
    in.DecimalSeparator = session_.DecimalSeparator();
    try {
      stats::CalcStatTable(in, table);
    } catch (...) {
      table_.Clear();
      session_.GetHost().ViewChanged(ViewId::StatsTable);
      throw;
    }
    stats::SortStatRows(table.Rows, sort_column_, sort_descending_);
  }
  if (computed) {
    shared_ = computed;
    if (!norm_failed) store->Keep(inputs, computed);
  }
  session_.GetHost().ViewChanged(ViewId::StatsTable);
}

stats::TStatTable& StatsState::OwnTable() {
  if (shared_) {
    table_ = *shared_;
    shared_.reset();
  }
  return table_;
}

stats::TStatValues StatsState::RowValues(int r) const {
  const auto& rows = Table().Rows;
  if (r < 0 || r >= static_cast<int>(rows.size())) return stats::RowToStatValues(nullptr);
  return stats::RowToStatValues(&rows[static_cast<size_t>(r)]);
}

void StatsState::ClickColumn(int column) {
  if (column == sort_column_) {
    SetSort(column, !sort_descending_);
  } else {
    SetSort(column, false);
  }
}

void StatsState::SetSort(int column, bool descending) {
  if (column < 0 || column >= stats::StatColumnCount) return;
  sort_column_ = column;
  sort_descending_ = descending;
  stats::SortStatRows(OwnTable().Rows, sort_column_, sort_descending_);
  session_.GetHost().ViewChanged(ViewId::StatsTable);
}

bool StatsState::PrefetchsEnabled() const { return session_.MainView().PrefetchsEnabled; }

void StatsState::SetComparisonMode(bool enabled) { session_.MainView().PrefetchsEnabled = enabled; }

void StatsState::TogglePrefetchsEnabled() {
  BusyGuard busy(session_);
  auto& view = session_.MainView();
  view.PrefetchsEnabled = !view.PrefetchsEnabled;
  session_.WriteViewSwitch("PrefetchsEnabled", view.PrefetchsEnabled ? 1 : 0);
  BuildAllPrefetches(false, 0);
  CalcStatTable(true);
}

void StatsState::ToggleShowTotalLine() {
  BusyGuard status(session_, "Создание графиков...");
  auto& view = session_.MainView();
  view.ShowTotalLine = !view.ShowTotalLine;
  session_.WriteViewSwitch("ShowTotalLine", view.ShowTotalLine ? 1 : 0);
  OwnTable().Chart = {};
  CalcStatTable(true);
}

std::optional<stats::TPrefetchData> StatsState::OpenPrefetch(int entry, bool comparison) {
  if (!comparison || entry < 0 || entry >= list_.Count() || !list_.HasNorm(entry)) return std::nullopt;
  const auto path = stats::PrefetchPath(session_.Options().DataDir, list_.Items(entry).Code());
  if (support::FileExists(path)) {
    std::optional<stats::TPrefetchData> data;
    if (!session_.Reported(fmt::format(OpenFailure, path.string()), [&] {
          std::vector<uint8_t> bytes = support::ReadFileBytes(path);
          if (!bytes.empty()) data = stats::DecodePrefetch(bytes);
        }))
      return std::nullopt;
    if (data) return data;
  }
  return BuildPrefetchData(entry);
}

bool StatsState::BuildPrefetch(int entry) { return BuildPrefetchData(entry).has_value(); }

std::optional<stats::TPrefetchData> StatsState::BuildPrefetchData(int entry) {
  const auto path = stats::PrefetchPath(session_.Options().DataDir, list_.Items(entry).Code());
  BusyGuard status(session_, fmt::format("Создание файла предварительной выборки {}...", path.filename().string()));
  std::optional<stats::TPrefetchData> data;
  session_.Reported(fmt::format(BuildFailure, path.string()),
                    [&] { data = stats::BuildPrefetch(list_, entry, session_.Options().DataDir); });
  return data;
}

int StatsState::BuildAllPrefetches(bool force, stats::TGroupSet groups) {
  BusyGuard busy(session_);
  HostProgress progress(session_);
  const auto failures = stats::BuildAllPrefetches(list_, session_.Options().DataDir, force, PrefetchsEnabled(),
                                                  groups, &progress);
  for (const auto& f : failures) {
    session_.GetHost().ShowError(fmt::format("{}\r\r{}", fmt::format(BuildFailure, f.Path.string()), f.Text));
  }
  return static_cast<int>(failures.size());
}

}  // namespace kelmora::shell
