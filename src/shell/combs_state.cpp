#include "shell/combs_state.h"

#include <algorithm>
#include <optional>

#include <fmt/format.h>

#include "lottery/comb_ops.h"
#include "shell/filter_application.h"
#include "shell/session.h"
#include "shell/stats_state.h"
#include "support/encoding.h"
#include "support/error.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::shell {

namespace {

// The Session's statistics table, log and stop request as a filter part sees them.
class SessionFilterEnvironment : public filtering::TFilterEnvironment {
 public:
  SessionFilterEnvironment(Session& session, filtering::TCombLists& lists, const FilterRunSignals& signals,
                           std::function<void()> changed)
      : session_(session), stats_(session.Stats()), lists_(lists), signals_(signals), changed_(std::move(changed)) {}

  filtering::TCombLists& Combs() override { return lists_; }
  const stats::TStatList& StatList() override { return stats_.List(); }
  int SelectMethod(const stats::TStatMethod& method) override {
    for (const auto& e : stats_.Selectors().Stats) {
      if (&stats_.List().Items(e.Entry) == &method) {
        stats_.SelectEntry(e.Entry);
        text_ = e.Text;
        return e.Entry;
      }
    }
    return -1;
  }
  std::string SelectorText() override { return text_; }
  const stats::TStatTable& ComputeTable(int draws_len, int sort_column, const filtering::TFilterCdl& cdl) override {
    stats_.List().ApplyCdl(cdl.Override, cdl.Settings);
    // A window of no draws has no rows; the page keeps its own length for it. Otherwise the page
    // shows the part's window, as it shows the part's table when the run ends.
    if (!stats_.SetWindowLength(draws_len)) return empty_;
    return stats_.Compute(stats_.PartTableRequest(draws_len, sort_column));
  }
  int LastIdx() override { return filtering::FilterLastIdx(session_.Draws(), session_.DrawsOffset()); }
  bool SortedDraws() override { return session_.MainView().SortedDraws; }
  bool StopRequested() override {
    session_.GetHost().ProcessEvents();
    return signals_.StopRequested && signals_.StopRequested();
  }
  bool LogEnabled() override { return session_.MainView().ScriptLogEnabled && signals_.Log; }
  void Log(std::string_view entry) override { signals_.Log(entry); }
  void Status(std::string_view text) override { session_.SetStatusText(text); }
  void CombsChanged() override { changed_(); }

 private:
  Session& session_;
  StatsState& stats_;
  filtering::TCombLists& lists_;
  const FilterRunSignals& signals_;
  std::function<void()> changed_;
  std::string text_;
  stats::TStatTable empty_;
};

}  // namespace

CombsState::CombsState(Session& session) : session_(session) {}

std::string CombsState::StatusText() const { return fmt::format("Комбинаций: {}", Count()); }

void CombsState::Changed() {
  session_.GetHost().ViewChanged(ViewId::Combs);
  session_.GetHost().ViewChanged(ViewId::Filters);
  session_.GetHost().ViewChanged(ViewId::StatusBar);
}

void CombsState::TakeSnapshot(bool show_status) {
  if (show_status) session_.SetStatusText("Создание файла отката...");
  lists_.TakeSnapshot();
}

void CombsState::UndoCombList(bool show_status) {
  if (show_status) session_.SetStatusText("Отмена изменений...");
  try {
    lists_.UndoCombList();
  } catch (...) {
    Changed();
    throw;
  }
  Changed();
}

void CombsState::SaveToBuffer(int key1, int key2) {
  if (key1 == lists_.BufferKey1() && key2 == lists_.BufferKey2()) return;
  session_.SetStatusText("Создание буфера комбинаций...");
  session_.Reported("Ошибка создания буфера комбинаций!", [&] { lists_.SaveToBuffer(key1, key2); });
}

bool CombsState::LoadFromBuffer(int key1, int key2) {
  if (key1 != lists_.BufferKey1() || key2 != lists_.BufferKey2() || lists_.CombBuffer.empty()) return false;
  session_.SetStatusText("Загрузка буфера комбинаций...");
  if (!session_.Reported("Ошибка загрузки буфера комбинаций!", [&] { lists_.LoadFromBuffer(key1, key2); }))
    return false;
  Changed();
  return true;
}

bool CombsState::GenerateCombList(int mode, std::string_view parameter, bool show_status, bool keep_buffer) {
  std::optional<BusyGuard> busy;
  if (show_status) busy.emplace(session_, "Генерация возможных комбинаций...");
  return session_.Reported("Ошибка генерации файла комбинаций!", [&] {
    try {
      lists_.CombList.clear();
      if (mode == 4) {
        LoadCombFile(std::filesystem::path(std::string(parameter)));
      } else {
        filtering::GenerateCombs(mode, parameter, lists_.CombList);
      }
      if (show_status) {
        lists_.ClearFilterHistory();
        Changed();
        lists_.UndoList.clear();
        lists_.UndoList.reserve(lists_.CombList.size());
        if (!keep_buffer) lists_.CombBuffer.clear();  // the key stays as it was
      }
    } catch (...) {
      Changed();  // the list holds what was generated, shown before the failure
      throw;
    }
  });
}

bool CombsState::GenerateDefault(bool show_status, bool keep_buffer) {
  const auto& g = session_.Settings().Generation;
  return GenerateCombList(g.Mode, g.Parameters, show_status, keep_buffer);
}

void CombsState::GenerateCommand(int mode, std::string_view parameter, bool save_as_defaults) {
  if (save_as_defaults) {
    TGenerationDefaults defaults;
    defaults.Mode = static_cast<uint8_t>(std::clamp(mode, 0, filtering::GenerateModeCount - 1));
    defaults.Parameters = support::CutToCp1251Bytes(parameter, 255);
    session_.SetGenerationDefaults(defaults);
  }
  BusyGuard busy(session_);
  TakeSnapshot(true);
  GenerateCombList(mode, parameter, true);
}

bool CombsState::LoadCombFile(const std::filesystem::path& path) {
  lists_.ReserveCombList(filtering::MaxCombs);
  return session_.Reported(fmt::format("Ошибка чтения файла \"{}\"!", path.string()), [&] {
    const filtering::TCombsArray combs = filtering::ReadCombFile(path);
    lists_.CombList.insert(lists_.CombList.end(), combs.begin(), combs.end());
  });
}

bool CombsState::SaveCombFile(const std::filesystem::path& path) {
  BusyGuard status(session_, fmt::format("Сохранение файла \"{}\"...", path.string()), Busy::No);
  return session_.Reported(fmt::format("Ошибка записи в файл \"{}\"!", path.string()),
                           [&] { filtering::WriteCombFile(path, lists_.CombList, lists_.CombList.size()); });
}

void CombsState::ReplaceList(const filtering::TCombsArray& combs) {
  lists_.CombList.assign(combs.begin(), combs.end());
  lists_.ClearFilterHistory();
  lists_.DiscardSnapshot();
  Changed();
}

bool CombsState::OpenCommand(const std::filesystem::path& path) {
  BusyGuard busy(session_);
  TakeSnapshot(true);
  BusyGuard status(session_, fmt::format("Загрузка файла \"{}\"...", path.string()), Busy::No);
  const bool ok = LoadCombFile(path);
  if (!ok) lists_.UndoCombList();
  lists_.DiscardSnapshot();
  lists_.ClearFilterHistory();
  Changed();
  return ok;
}

void CombsState::RemoveLastDraws(int n) {
  BusyGuard busy(session_, fmt::format("Удаление из списка комбинаций {} последних тиражей...", n));
  const auto range = filtering::LastDrawsRange(session_.Draws(), session_.DrawsOffset(), n);
  const size_t total = lists_.UndoList.size();
  lists_.ReserveCombList(total);
  try {
    filtering::RemoveDrawCombs(lists_.UndoList, session_.Draws(), range, lists_.CombList, [&](size_t done) {
      const double pct = total ? static_cast<double>(done) * 100.0 / static_cast<double>(total) : 0.0;
      session_.SetStatusText(
          fmt::format("Удаление из списка комбинаций {} последних тиражей ( завершено {:.0f} % )...", n, pct));
    });
    lists_.AddFilterHistory(true, "Последние тиражи", std::to_string(n));
  } catch (...) {
    Changed();
    throw;
  }
  Changed();
}

void CombsState::ExcludeDrawsCommand() {
  const int n = session_.MainView().DrawsExclude;
  if (n <= 0) return;
  BusyGuard busy(session_);
  TakeSnapshot(true);
  RemoveLastDraws(n);
}

void CombsState::RemoveSelected(const std::vector<int>& rows) {
  std::vector<int> valid;
  for (int r : rows) {
    if (r >= 0 && r < Count()) valid.push_back(r);
  }
  std::sort(valid.begin(), valid.end());
  valid.erase(std::unique(valid.begin(), valid.end()), valid.end());
  if (valid.empty()) return;
  BusyGuard busy(session_);
  TakeSnapshot(true);
  BusyGuard status(session_, "Удаление выделенных комбинаций...", Busy::No);
  lists_.ReserveCombList(lists_.UndoList.size());
  filtering::RemoveRows(lists_.UndoList, valid, lists_.CombList);
  lists_.AddFilterHistory(true, "Выделенные комбинации", std::to_string(valid.size()));
  Changed();
}

void CombsState::UndoCommand() {
  if (!CanUndo()) return;
  UndoCombList(true);
  lists_.RemoveLastFilterHistory();
  session_.SetStatusText("");
  Changed();
}

void CombsState::CopyToClipboard(const std::vector<int>& rows) {
  BusyGuard status(session_, "Подождите пожалуйста...", Busy::No);
  std::vector<int> sorted = rows;
  std::sort(sorted.begin(), sorted.end());
  session_.GetHost().SetClipboardText(filtering::CombsToClipboardText(lists_.CombList, sorted));
}

bool CombsState::PasteFromClipboard() {
  const std::string text = session_.GetHost().ClipboardText();
  BusyGuard status(session_, "Подождите пожалуйста...", Busy::No);
  if (support::SplitLines(text).empty()) return false;
  lists_.TakeSnapshot();
  const bool ok = session_.Reported("", [&] {
    filtering::TCombsArray combs = filtering::ClipboardTextToCombs(text);
    lists_.CombList.assign(combs.begin(), combs.end());
    lists_.ClearFilterHistory();
  });
  if (!ok) lists_.UndoCombList();
  lists_.DiscardSnapshot();
  Changed();
  return ok;
}

void CombsState::ShowDistinctValues() {
  BusyGuard status(session_, "Подождите пожалуйста...", Busy::No);
  const int n = lottery::CountDistinctValues(lists_.CombList, Count());
  session_.GetHost().ShowInformation(fmt::format("В текущем списке комбинаций содержится {} уникальных номеров", n));
}

void CombsState::FindInArchive(int row) {
  if (row < 0 || row >= Count()) return;
  BusyGuard status(session_, "Поиск по архиву тиражей...", Busy::No);
  const auto found = filtering::FindCombInDraws(session_.Draws(), lists_.CombList[static_cast<size_t>(row)]);
  if (found.empty()) {
    session_.GetHost().ShowInformation("Выделенная комбинация не найдена архиве тиражей!");
  } else {
    session_.GetHost().ShowInformation("Выделенная комбинация найдена в следующих тиражах:\r\r" +
                                       support::Join(found, "\r"));
  }
}

void CombsState::ApplyStatFilter(const std::vector<int>& table_rows, bool is_delete) {
  StatsState& stats = session_.Stats();
  BusyGuard busy(session_);
  TakeSnapshot(true);
  BusyGuard status(session_, "Фильтрация комбинаций...", Busy::No);
  bool filtered = false;
  const bool ok = session_.Reported("", [&] {
    std::vector<int> rows = table_rows;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    stats::TStatDrawArray selected;
    std::vector<std::string> captions;
    const auto& table = stats.Table().Rows;
    for (int r : rows) {
      if (r < 0 || r >= static_cast<int>(table.size())) continue;
      selected.push_back(table[static_cast<size_t>(r)].Item);
      captions.push_back(table[static_cast<size_t>(r)].Cells[0]);
    }
    if (selected.empty()) return;
    filtered = true;
    const int entry = stats.SelectedEntry();
    if (entry < 0) support::Fail("Не выбран метод расчета статистики (cb: {})!", "cbDrawsStatType");
    std::string caption;
    for (const auto& e : stats.Selectors().Stats) {
      if (e.Entry == entry) caption = e.Text;
    }
    auto stat = stats.List().CreateStat(entry);
    filtering::RunFilterPass(lists_, *stat, selected, filtering::FilterLastIdx(session_.Draws(), session_.DrawsOffset()),
                             session_.MainView().SortedDraws, is_delete, caption, support::Join(captions, "; "));
  });
  if (filtered || !ok) Changed();
}

void CombsState::ApplyViewFilter(const stats::TStatDrawArray& selected, const std::string& values_text,
                                 std::string_view caption, bool is_delete) {
  BusyGuard busy(session_);
  TakeSnapshot(true);
  BusyGuard status(session_, "Фильтрация комбинаций...", Busy::No);
  session_.Reported("", [&] {
    if (selected.empty()) support::Fail("В выделенном диапазоне нет значений для фильтра!");
    const int entry = session_.Stats().List().IndexOfCode("NUMS");
    if (entry < 0) support::Fail("Метод расчета статистики \"{}\" не найден!", "NUMS");
    auto stat = session_.Stats().List().CreateStat(entry);
    filtering::RunFilterPass(lists_, *stat, selected, filtering::FilterLastIdx(session_.Draws(), session_.DrawsOffset()),
                             session_.MainView().SortedDraws, is_delete, caption, values_text);
  });
  Changed();
}

void CombsState::ApplyFilterPart(const filtering::TFilterPart& part, const FilterRunSignals& signals) {
  if (signals.Application) return signals.Application->ApplyFilterPart(part, signals);
  BusyGuard busy(session_);
  SessionFilterEnvironment env(session_, lists_, signals, [this] { Changed(); });
  filtering::ApplyFilterPart(env, part);
}

void CombsState::ApplyFilterVar(const filtering::TFilterRec& rec, const FilterRunSignals& signals) {
  if (signals.Application) return signals.Application->ApplyFilterVar(rec, signals);
  BusyGuard busy(session_);
  SessionFilterEnvironment env(session_, lists_, signals, [this] { Changed(); });
  filtering::ApplyFilterVar(env, rec);
}

}  // namespace kelmora::shell
