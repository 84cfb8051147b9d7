#include "shell/filter_application.h"

#include <algorithm>
#include <array>
#include <exception>
#include <functional>
#include <map>
#include <unordered_map>

#include <fmt/format.h>

#include "filtering/comb_mask.h"
#include "shell/combs_state.h"
#include "shell/session.h"
#include "shell/stats_state.h"
#include "support/error.h"
#include "support/text.h"

namespace kelmora::shell {

namespace {

using filtering::TCombMask;

// The answers CombMatches gave for one selected row set: Known holds the combinations asked about,
// Value those answered true.
struct TMatchMask {
  TCombMask Known;
  TCombMask Value;
};

enum : uint8_t { TestUnknown = 0, TestNo = 1, TestYes = 2, TestFails = 3 };

// RowQualifies of every row for one level mode and level text, worked out when first needed.
struct TRowTests {
  uint8_t Mode = 0;
  std::string Level;
  std::vector<uint8_t> State;
  std::vector<std::exception_ptr> Errors;  // sized at the first failure
};

// The masks of one registry entry. CombMatches reads only the keys of the selected records, so a
// mask depends on the entry, the last draw index, the sorted flag, keep or delete and the keys in
// selection order, not on the table the rows came from: tables of other windows, weights or sorts
// share it.
struct TEntryMasks {
  std::unique_ptr<stats::TCustomStat> Stat;  // CombMatches, like the part's own instance
  int LastIdx = -1;
  bool Sorted = false;
  uint64_t Generation = 0;  // grows whenever the masks are dropped
  // [exclude]: the keys of the selected records in order (Key1..Key4 in one word each).
  std::array<std::map<std::vector<uint64_t>, TMatchMask>, 2> Masks;
};

// A table with what the walks over it keep.
struct TKeptTable {
  std::shared_ptr<const stats::TStatTable> Table;
  int Entry = -1;
  std::unique_ptr<stats::TCustomStat> Stat;  // ValueOf, like the part's own instance
  std::vector<int32_t> NumValues;           // ValueOf(caption) per row
  std::vector<TRowTests> Tests;
  // [exclude][row]: the entry's mask of that single row, found once.
  std::array<std::vector<TMatchMask*>, 2> RowMasks;
  uint64_t MaskGeneration = 0;
  size_t Bytes = 0;
  uint64_t LastUse = 0;
};


size_t StringBytes(const std::string& s) { return s.capacity() > 15 ? s.capacity() + 1 : 0; }

size_t TableBytes(const stats::TStatTable& t) {
  size_t bytes = sizeof(stats::TStatTable) + t.Rows.capacity() * sizeof(stats::TStatRow);
  for (const auto& row : t.Rows) {
    for (const auto& cell : row.Cells) bytes += StringBytes(cell);
  }
  bytes += (t.Values.capacity() + t.ScanValues.capacity()) * sizeof(stats::TStatDrawItem);
  bytes += t.Facts.capacity() * sizeof(int32_t) + t.KeyOrder.capacity() * sizeof(int);
  for (const auto& series : t.Chart.Series) {
    bytes += series.Points.capacity() * sizeof(series.Points[0]);
    for (const auto& p : series.Points) bytes += StringBytes(p.Label);
  }
  return bytes;
}

struct InputsHash {
  size_t operator()(const StatTableInputs& in) const {
    size_t h = std::hash<int64_t>()(in.Key.DrawCount);
    auto mix = [&h](size_t v) { h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2); };
    mix(std::hash<int32_t>()(in.Key.DrawsOffset));
    mix(std::hash<int32_t>()(in.Key.WindowLength));
    mix(std::hash<int32_t>()(in.Key.Selected));
    mix(static_cast<size_t>(in.Sorted) | static_cast<size_t>(in.Comparison) << 1 |
        static_cast<size_t>(in.ShowTotalLine) << 2 | static_cast<size_t>(in.Descending) << 3 |
        static_cast<size_t>(in.Cdl.UsePercents) << 4 | static_cast<size_t>(in.Cdl.UseAbsValues) << 5);
    mix(static_cast<size_t>(static_cast<unsigned char>(in.DecimalSeparator)));
    mix(std::hash<int>()(in.SortColumn));
    // As doubles: std::hash<long double> is slow, and equal inputs still compare in full.
    mix(std::hash<double>()(static_cast<double>(in.Cdl.Count)));
    mix(std::hash<double>()(static_cast<double>(in.Cdl.Deviation)));
    mix(std::hash<double>()(static_cast<double>(in.Cdl.Level)));
    return h;
  }
};

}  // namespace

class FilterApplication::Impl : public StatTableStore {
 public:
  Impl(Session& session, size_t max_bytes)
      : session_(session), combs_(session.Combs()), stats_(session.Stats()), lists_(session.Combs().lists_),
        max_bytes_(max_bytes) {}

  // --- the store of tables ---

  std::shared_ptr<const stats::TStatTable> Find(const StatTableInputs& inputs) override {
    NewEpochIfNeeded(inputs);
    const auto it = kept_.find(inputs);
    if (it == kept_.end()) return nullptr;
    it->second->LastUse = ++clock_;
    current_ = it->second.get();
    ++counters_.TablesReused;
    return it->second->Table;
  }

  void Keep(const StatTableInputs& inputs, std::shared_ptr<const stats::TStatTable> table) override {
    NewEpochIfNeeded(inputs);
    auto kept = Prepare(std::move(table));
    kept->LastUse = ++clock_;
    current_ = kept.get();
    bytes_ += kept->Bytes;
    auto [it, added] = kept_.try_emplace(inputs, nullptr);
    if (!added) bytes_ -= it->second->Bytes;
    it->second = std::move(kept);
    ++counters_.TablesComputed;
    Evict();
  }

  void Clear() {
    masks_.clear();
    mask_bytes_ = 0;
    kept_.clear();
    transient_.reset();
    current_ = nullptr;
    bytes_ = 0;
  }

  Counters GetCounters() const {
    Counters c = counters_;
    c.KeptTables = kept_.size();
    c.KeptBytes = bytes_ + mask_bytes_;
    return c;
  }

  // --- application ---

  void ApplyFilterVar(const filtering::TFilterRec& rec, const FilterRunSignals& signals) {
    BusyGuard busy(session_);
    Run(signals, [&] {
      for (const auto& part : rec) {
        if (part.Active && Count() > 1) ApplyPart(part);
      }
    });
  }

  void ApplyFilterPart(const filtering::TFilterPart& part, const FilterRunSignals& signals) {
    BusyGuard busy(session_);
    Run(signals, [&] { ApplyPart(part); });
  }

 private:
  // --- the lists during an application: masks when the list allows, else the lists themselves ---

  template <typename F>
  void Run(const FilterRunSignals& signals, F&& body) {
    signals_ = &signals;
    // The runner starts the variants of a step from the same list again and again.
    if (lists_.CombList == loaded_) {
      bits_ = loaded_bits_;
      cur_ = loaded_mask_;
    } else {
      bits_ = filtering::CombsToMask(lists_.CombList, cur_);
      loaded_.assign(lists_.CombList.begin(), lists_.CombList.end());
      loaded_bits_ = bits_;
      loaded_mask_ = cur_;
    }
    cur_count_ = bits_ ? static_cast<int>(lists_.CombList.size()) : 0;
    cur_dirty_ = undo_dirty_ = notify_ = false;
    try {
      body();
    } catch (...) {
      WriteBack();
      throw;
    }
    WriteBack();
  }

  // The lists as the literal application leaves them, and one notification of their views.
  void WriteBack() {
    if (bits_) {
      if (cur_dirty_) filtering::MaskToCombs(cur_, lists_.CombList);
      if (undo_dirty_) filtering::MaskToCombs(undo_, lists_.UndoList);
      if (notify_) combs_.Changed();
    }
    bits_ = false;
    signals_ = nullptr;
    transient_.reset();
    current_ = nullptr;
  }

  int Count() const { return bits_ ? cur_count_ : lists_.Count(); }

  void TakeSnapshot() {
    if (!bits_) return lists_.TakeSnapshot();
    undo_ = cur_;
    undo_count_ = cur_count_;
    undo_dirty_ = true;
  }

  void CombsChanged() {
    if (bits_) {
      notify_ = true;
    } else {
      combs_.Changed();
    }
  }

  void AddHistory(filtering::TFilterKind kind, std::string_view caption, std::string_view values) {
    lists_.FilterHistory.push_back({kind, std::string(caption), std::string(values), std::to_string(Count())});
  }

  // --- the environment, as the Session's filter environment gives it ---

  bool StopRequested() {
    session_.GetHost().ProcessEvents();
    return signals_->StopRequested && signals_->StopRequested();
  }
  bool LogEnabled() const { return session_.MainView().ScriptLogEnabled && signals_->Log; }
  void Log(std::string_view entry) { signals_->Log(entry); }
  void Status(std::string_view text) { session_.SetStatusText(text); }

  // The selector position of the first entry whose method is `method`, -1 when none.
  int SelectorOf(const stats::TStatMethod& method) {
    const auto& entries = stats_.Selectors().Stats;
    const auto it = selector_of_.find(&method);
    if (it != selector_of_.end() && it->second < entries.size() &&
        &stats_.List().Items(entries[it->second].Entry) == &method)
      return static_cast<int>(it->second);
    selector_of_.clear();
    int found = -1;
    for (size_t i = 0; i < entries.size(); ++i) {
      const stats::TStatMethod* m = &stats_.List().Items(entries[i].Entry);
      selector_of_.try_emplace(m, i);
      if (m == &method && found < 0) found = static_cast<int>(i);
    }
    return found;
  }

  // --- tables ---

  void NewEpochIfNeeded(const StatTableInputs& inputs) {
    if (inputs.Key.DrawCount == epoch_draws_ && inputs.Key.DrawsOffset == epoch_offset_) return;
    // Tables and masks of another offset or archive are not asked for again within a run.
    kept_.clear();
    bytes_ = 0;
    for (auto& [entry, m] : masks_) {
      for (auto& masks : m.Masks) masks.clear();
      ++m.Generation;
    }
    mask_bytes_ = 0;
    epoch_draws_ = inputs.Key.DrawCount;
    epoch_offset_ = inputs.Key.DrawsOffset;
  }

  std::unique_ptr<TKeptTable> Prepare(std::shared_ptr<const stats::TStatTable> table) {
    auto kept = std::make_unique<TKeptTable>();
    kept->Table = std::move(table);
    kept->Entry = stats_.SelectedEntry();
    kept->Stat = stats_.List().CreateStat(kept->Entry);
    const auto& rows = kept->Table->Rows;
    kept->NumValues.reserve(rows.size());
    for (const auto& row : rows) kept->NumValues.push_back(kept->Stat->ValueOf(row.Text(stats::StatColumn::Value)));
    kept->RowMasks[0].resize(rows.size());
    kept->RowMasks[1].resize(rows.size());
    kept->Bytes = sizeof(TKeptTable) + TableBytes(*kept->Table) + rows.size() * (sizeof(int32_t) + 2 * sizeof(void*));
    return kept;
  }

  void Evict() {
    while (bytes_ > max_bytes_ && kept_.size() > 1) {
      auto victim = kept_.end();
      for (auto it = kept_.begin(); it != kept_.end(); ++it) {
        if (it->second.get() == current_) continue;
        if (victim == kept_.end() || it->second->LastUse < victim->second->LastUse) victim = it;
      }
      if (victim == kept_.end()) return;
      bytes_ -= victim->second->Bytes;
      kept_.erase(victim);
    }
  }

  void Charge(TKeptTable& t, size_t bytes) {
    t.Bytes += bytes;
    if (t.LastUse != 0 && &t != transient_.get()) {
      bytes_ += bytes;
      Evict();
    }
  }

  // The part's table as the Session's filter environment computes it; nullptr for the empty table
  // of a window of no draws.
  TKeptTable* ComputeTable(int draws_len, int sort_column, const filtering::TFilterCdl& cdl) {
    stats_.List().ApplyCdl(cdl.Override, cdl.Settings);
    if (!stats_.SetWindowLength(draws_len)) return nullptr;
    const StatTableRequest request = stats_.PartTableRequest(draws_len, sort_column);
    current_ = nullptr;
    std::shared_ptr<const stats::TStatTable> table = stats_.ComputeShared(request, *this);
    if (current_ && current_->Table == table) return current_;
    // Not kept (its norm data failed, or no draws): used for this part only.
    transient_ = Prepare(std::move(table));
    return current_ = transient_.get();
  }

  // --- row tests ---

  stats::TStatValues RowValues(const TKeptTable& t, int r) const {
    stats::TStatValues values = stats::RowToStatValues(&t.Table->Rows[static_cast<size_t>(r)]);
    values.NumValue = t.NumValues[static_cast<size_t>(r)];
    return values;
  }

  bool Qualifies(TKeptTable& t, const filtering::TFilterPart& part, int r) {
    if (part.LevelMode == filtering::LNO || part.LevelMode >= filtering::LevelModeCount) return true;
    TRowTests* tests = nullptr;
    for (auto& candidate : t.Tests) {
      if (candidate.Mode == part.LevelMode && candidate.Level == part.LevelValue) tests = &candidate;
    }
    if (!tests) {
      TRowTests fresh;
      fresh.Mode = part.LevelMode;
      fresh.Level = part.LevelValue;
      fresh.State.assign(t.Table->Rows.size(), TestUnknown);
      Charge(t, sizeof(TRowTests) + fresh.State.size() + StringBytes(fresh.Level));
      t.Tests.push_back(std::move(fresh));
      tests = &t.Tests.back();
    }
    uint8_t& state = tests->State[static_cast<size_t>(r)];
    if (state == TestUnknown) {
      try {
        state = filtering::RowQualifies(part, RowValues(t, r)) ? TestYes : TestNo;
      } catch (...) {
        if (tests->Errors.empty()) tests->Errors.resize(tests->State.size());
        tests->Errors[static_cast<size_t>(r)] = std::current_exception();
        state = TestFails;
      }
    }
    if (state == TestFails) std::rethrow_exception(tests->Errors[static_cast<size_t>(r)]);
    return state == TestYes;
  }

  // --- the pass ---

  TEntryMasks& MasksOf(int entry) {
    TEntryMasks& m = masks_[entry];
    if (!m.Stat) m.Stat = stats_.List().CreateStat(entry);
    if (m.LastIdx != last_idx_ || m.Sorted != sorted_) {
      for (auto& masks : m.Masks) masks.clear();
      m.LastIdx = last_idx_;
      m.Sorted = sorted_;
      ++m.Generation;
    }
    return m;
  }

  // Beyond half the budget every mask goes (they come back as passes ask for them).
  void ChargeMask(size_t bytes) {
    mask_bytes_ += bytes;
    if (mask_bytes_ <= max_bytes_ / 2) return;
    for (auto& [entry, m] : masks_) {
      for (auto& masks : m.Masks) masks.clear();
      ++m.Generation;
    }
    mask_bytes_ = bytes;
  }

  TMatchMask& MaskFor(TKeptTable& t, TEntryMasks& em, bool is_delete) {
    const size_t ex = is_delete ? 1 : 0;
    if (t.MaskGeneration != em.Generation) {
      for (auto& row_masks : t.RowMasks) std::fill(row_masks.begin(), row_masks.end(), nullptr);
      t.MaskGeneration = em.Generation;
    }
    TMatchMask** slot = selected_rows_.size() == 1 ? &t.RowMasks[ex][static_cast<size_t>(selected_rows_[0])] : nullptr;
    if (slot && *slot) return **slot;
    keys_.clear();
    for (const auto& item : items_) keys_.push_back(item.PackedKeys());
    auto& masks = em.Masks[ex];
    auto it = masks.find(keys_);
    if (it == masks.end()) {
      const size_t bytes = sizeof(TMatchMask) + 64 + keys_.size() * sizeof(uint64_t);
      ChargeMask(bytes);  // may drop every mask, so the entry's generation is read again below
      it = masks.try_emplace(keys_).first;
      if (t.MaskGeneration != em.Generation) {
        for (auto& row_masks : t.RowMasks) std::fill(row_masks.begin(), row_masks.end(), nullptr);
        t.MaskGeneration = em.Generation;
      }
    }
    if (slot) *slot = &it->second;
    return it->second;
  }

  void SelectedItems(const TKeptTable& t) {
    items_.clear();
    for (int r : selected_rows_) items_.push_back(t.Table->Rows[static_cast<size_t>(r)].Item);
  }

  // RunFilterPass of the selected rows, through the table's mask.
  void Pass(TKeptTable* t, bool is_delete, std::string_view caption) {
    if (selected_rows_.empty()) return;
    const auto& rows = t->Table->Rows;
    std::string values_text;
    for (size_t i = 0; i < selected_rows_.size(); ++i) {
      if (i > 0) values_text += "; ";
      values_text += rows[static_cast<size_t>(selected_rows_[i])].Text(stats::StatColumn::Value);
    }
    SelectedItems(*t);
    TEntryMasks& em = MasksOf(t->Entry);
    TMatchMask& mask = MaskFor(*t, em, is_delete);
    stats::TCustomStat& stat = *em.Stat;
    if (bits_) {
      cur_dirty_ = true;
      ++counters_.MaskPasses;
      if (undo_count_ == 0) {
        cur_.Clear();
        cur_count_ = 0;
        return;
      }
      TCombMask need;
      bool any = false;
      for (int i = 0; i < TCombMask::Words; ++i) {
        need.Word(i) = undo_.Word(i) & ~mask.Known.Word(i);
        any |= need.Word(i) != 0;
      }
      if (any) {
        int at = -1;
        try {
          stat.FetchDraws(-1, last_idx_, sorted_);
          need.ForEach([&](int n) {
            at = n;
            if (stat.CombMatches(lottery::CombOfIndex(n), items_, last_idx_, sorted_, is_delete)) mask.Value.Set(n);
            mask.Known.Set(n);
            ++counters_.CombsTested;
          });
        } catch (...) {
          // What the literal pass had kept before the failing combination.
          PassResult(mask, is_delete, at);
          throw;
        }
      }
      PassResult(mask, is_delete, lottery::CombsTotal);
    } else {
      ++counters_.ListPasses;
      const filtering::TCombsArray& snapshot = lists_.UndoList;
      lists_.ReserveCombList(snapshot.size());
      if (snapshot.empty()) return;
      filtering::TCombsArray& out = lists_.CombList;
      bool fetched = false;
      for (const lottery::TComb comb : snapshot) {
        bool m = false;
        const int n = filtering::FullSetIndex(comb);
        const bool indexed = n >= 0;
        if (indexed && mask.Known.Test(n)) {
          m = mask.Value.Test(n);
        } else {
          if (!fetched) {
            stat.FetchDraws(-1, last_idx_, sorted_);
            fetched = true;
          }
          m = stat.CombMatches(comb, items_, last_idx_, sorted_, is_delete);
          ++counters_.CombsTested;
          if (indexed) {
            if (m) mask.Value.Set(n);
            mask.Known.Set(n);
          }
        }
        if (m != is_delete) out.push_back(comb);
      }
    }
    AddHistory(is_delete ? filtering::TFilterKind::Delete : filtering::TFilterKind::Keep, caption, values_text);
  }

  // CombList := the snapshot's combinations below index `end` whose answer keeps them.
  void PassResult(const TMatchMask& mask, bool is_delete, int end) {
    cur_count_ = filtering::FilterByMask(undo_, mask.Value, is_delete, end, cur_);
  }

  // --- one part, step by step as the literal walk ---

  void ApplyPart(const filtering::TFilterPart& part) {
    if (!part.Method) support::Fail("Метод расчета статистики для фильтра не задан!");
    const int position = SelectorOf(*part.Method);
    if (position < 0) {
      support::Fail(
          "Метод расчета статистики \"{}\" на найден!\r{}\r\rВозможно, Вы отключили данных метод расчета либо "
          "использовали сценарий от другой модификации программы.",
          part.Method->Code(), part.Method->DisplayCaption());
    }
    const stats::TStatSelectorEntry& entry = stats_.Selectors().Stats[static_cast<size_t>(position)];
    stats_.SelectEntry(entry.Entry);
    const std::string caption = entry.Text;
    const int column = part.SortColumn >= 0 && part.SortColumn < stats::StatColumnCount ? part.SortColumn : 1;
    if (LogEnabled()) {
      Log(fmt::format("Анализ тиражей и расчет статистики \"{}\" для выборки в {} тиражей...", caption,
                      part.DrawsLen));
    }
    TKeptTable* t = ComputeTable(part.DrawsLen, column, part.CDL);
    static const std::vector<stats::TStatRow> no_rows;
    const auto& rows = t ? t->Table->Rows : no_rows;
    if (StopRequested()) return;
    if (LogEnabled()) {
      for (const auto& row : rows) Log(filtering::RowLogText(stats::RowToStatValues(&row)));
    }
    if (StopRequested()) return;
    if (!t) part.Method->CreateStat(stats_.List());  // the part's instance, as the literal walk makes it

    last_idx_ = filtering::FilterLastIdx(session_.Draws(), session_.DrawsOffset());
    sorted_ = session_.MainView().SortedDraws;
    const int n = static_cast<int>(rows.size());
    int step = 0;
    const bool upwards = part.BottomUp;
    selected_rows_.clear();
    for (int k = 0; k < n; ++k) {
      const int r = upwards ? n - 1 - k : k;
      if (StopRequested()) return;
      const stats::TStatRow& row = rows[static_cast<size_t>(r)];
      if (StopReached(part, row, step, upwards)) break;
      if (!part.MultiSelect && StopRequested()) return;
      if (!Qualifies(*t, part, r)) {
        if (part.MultiSelect) ++step;
        continue;
      }
      if (LogEnabled()) {
        Log(fmt::format("Шаг {:03d}. Выделение строки: {}", step + 1, filtering::RowLogText(RowValues(*t, r))));
      }
      if (part.MultiSelect) {
        selected_rows_.push_back(r);
        ++step;
        continue;
      }
      selected_rows_.assign(1, r);
      Filter(t, part, caption);
      selected_rows_.clear();
      if (Count() == 0) {
        AutoUndo();
        if (part.StopMode == filtering::SZ) break;
      } else {
        ++step;
      }
    }
    if (!part.MultiSelect) return;
    Filter(t, part, caption);
    selected_rows_.clear();
    if (Count() == 0) AutoUndo();
  }

  bool StopReached(const filtering::TFilterPart& part, const stats::TStatRow& row, int step, bool upwards) const {
    const int64_t stop = part.StopValue;
    switch (part.StopMode) {
      case filtering::SC: return !part.MultiSelect && Count() <= stop;
      case filtering::SV: {
        const long double count = row.Number(stats::StatColumn::Count).value_or(0);
        return upwards ? count >= stop : count <= stop;
      }
      case filtering::SP: {
        const long double pct = row.Number(stats::StatColumn::CountPct).value_or(0);
        return upwards ? pct >= stop : pct <= stop;
      }
      case filtering::ST: return step >= stop;
      default: return false;
    }
  }

  void Filter(TKeptTable* t, const filtering::TFilterPart& part, std::string_view caption) {
    if (LogEnabled()) Log(part.KeepSelected ? "Оставляем выделенные значения..." : "Удаляем выделенные значения...");
    TakeSnapshot();
    Status("Фильтрация комбинаций...");
    try {
      Pass(t, !part.KeepSelected, caption);
    } catch (...) {
      Status("");
      CombsChanged();
      throw;
    }
    Status("");
    CombsChanged();
    if (LogEnabled()) Log(fmt::format("Количество комбинаций в списке: {}", Count()));
  }

  void AutoUndo() {
    if (LogEnabled()) Log("{UNDO} Откат изменений...");
    Status("Отмена изменений...");
    if (bits_) {
      cur_ = undo_;
      cur_count_ = undo_count_;
      undo_.Clear();
      undo_count_ = 0;
      cur_dirty_ = undo_dirty_ = true;
    } else {
      lists_.UndoCombList();
    }
    Status("");
    AddHistory(filtering::TFilterKind::Undo, "Отмена последней операции", "");
    CombsChanged();
  }

  Session& session_;
  CombsState& combs_;
  StatsState& stats_;
  filtering::TCombLists& lists_;
  const FilterRunSignals* signals_ = nullptr;

  // The last list an application started from, and its mask.
  filtering::TCombsArray loaded_;
  TCombMask loaded_mask_;
  bool loaded_bits_ = false;

  // The lists as masks during an application (bits_).
  bool bits_ = false;
  TCombMask cur_;
  TCombMask undo_;
  int cur_count_ = 0;
  int undo_count_ = 0;
  bool cur_dirty_ = false;
  bool undo_dirty_ = false;
  bool notify_ = false;

  // The pass in progress.
  int last_idx_ = 0;
  bool sorted_ = false;
  std::vector<int> selected_rows_;
  stats::TStatDrawArray items_;
  std::vector<uint64_t> keys_;

  // The masks, by registry entry.
  std::unordered_map<int, TEntryMasks> masks_;
  size_t mask_bytes_ = 0;

  // The kept tables.
  std::unordered_map<StatTableInputs, std::unique_ptr<TKeptTable>, InputsHash> kept_;
  std::unique_ptr<TKeptTable> transient_;
  TKeptTable* current_ = nullptr;
  int64_t epoch_draws_ = -1;
  int32_t epoch_offset_ = -1;
  size_t bytes_ = 0;
  size_t max_bytes_;
  uint64_t clock_ = 0;
  std::unordered_map<const stats::TStatMethod*, size_t> selector_of_;
  Counters counters_;
};

FilterApplication::FilterApplication(Session& session, size_t max_bytes)
    : impl_(std::make_unique<Impl>(session, max_bytes)) {}

FilterApplication::~FilterApplication() = default;

void FilterApplication::ApplyFilterVar(const filtering::TFilterRec& rec, const FilterRunSignals& signals) {
  impl_->ApplyFilterVar(rec, signals);
}

void FilterApplication::ApplyFilterPart(const filtering::TFilterPart& part, const FilterRunSignals& signals) {
  impl_->ApplyFilterPart(part, signals);
}

void FilterApplication::Clear() { impl_->Clear(); }

FilterApplication::Counters FilterApplication::GetCounters() const { return impl_->GetCounters(); }

}  // namespace kelmora::shell
