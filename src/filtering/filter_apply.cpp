#include "filtering/filter_apply.h"

#include <fmt/format.h>

#include "support/error.h"
#include "support/text.h"

namespace kelmora::filtering {

int FilterLastIdx(const lottery::TDrawsArray& draws, int offset) {
  const int d = static_cast<int>(draws.size()) - 1 - offset;
  return d < 0 ? 0 : d;
}

bool RunFilterPass(TCombLists& lists, stats::TCustomStat& stat, const stats::TStatDrawArray& selected, int last_idx,
                   bool sorted, bool is_delete, std::string_view caption, std::string_view values_text) {
  if (selected.empty()) return false;
  const TCombsArray& snapshot = lists.UndoList;
  lists.ReserveCombList(snapshot.size());
  if (snapshot.empty()) return true;
  stat.FetchDraws(-1, last_idx, sorted);
  TCombsArray& out = lists.CombList;  // capacity covers the snapshot: push_back never allocates
  for (const TComb comb : snapshot) {
    const bool m = stat.CombMatches(comb, selected, last_idx, sorted, is_delete);
    if (m != is_delete) out.push_back(comb);
  }
  lists.AddFilterHistory(is_delete, caption, values_text);
  return true;
}

namespace {

// One part's walk over the table, with the state the steps share.
class PartWalk {
 public:
  PartWalk(TFilterEnvironment& env, const TFilterPart& part) : env_(env), part_(part), lists_(env.Combs()) {}

  void Run() {
    if (!part_.Method) support::Fail("Метод расчета статистики для фильтра не задан!");
    const int entry = env_.SelectMethod(*part_.Method);
    if (entry < 0) {
      support::Fail(
          "Метод расчета статистики \"{}\" на найден!\r{}\r\rВозможно, Вы отключили данных метод расчета либо "
          "использовали сценарий от другой модификации программы.",
          part_.Method->Code(), part_.Method->DisplayCaption());
    }
    const int column = part_.SortColumn >= 0 && part_.SortColumn < stats::StatColumnCount ? part_.SortColumn : 1;
    caption_ = env_.SelectorText();
    Log([&] {
      return fmt::format("Анализ тиражей и расчет статистики \"{}\" для выборки в {} тиражей...", caption_,
                         part_.DrawsLen);
    });
    const stats::TStatTable& table = env_.ComputeTable(part_.DrawsLen, column, part_.CDL);
    if (env_.StopRequested()) return;
    if (env_.LogEnabled()) {
      for (const auto& row : table.Rows) env_.Log(RowLogText(stats::RowToStatValues(&row)));
    }
    if (env_.StopRequested()) return;

    stat_ = part_.Method->CreateStat(env_.StatList());
    last_idx_ = env_.LastIdx();
    sorted_ = env_.SortedDraws();
    const int n = static_cast<int>(table.Rows.size());
    int step = 0;
    const bool upwards = part_.BottomUp;
    for (int k = 0; k < n; ++k) {
      const int r = upwards ? n - 1 - k : k;
      if (env_.StopRequested()) return;
      const stats::TStatRow& row = table.Rows[static_cast<size_t>(r)];
      stats::TStatValues values = stats::RowToStatValues(&row);
      values.NumValue = stat_->ValueOf(values.Value);
      if (StopReached(row, step, upwards)) break;
      if (!part_.MultiSelect && env_.StopRequested()) return;
      if (!RowQualifies(part_, values)) {
        if (part_.MultiSelect) ++step;
        continue;
      }
      Log([&] { return fmt::format("Шаг {:03d}. Выделение строки: {}", step + 1, RowLogText(values)); });
      if (part_.MultiSelect) {
        selected_rows_.push_back(r);
        selected_.push_back(row.Item);
        values_text_.push_back(row.Text(stats::StatColumn::Value));
        env_.TableSelection(selected_rows_);
        ++step;
        continue;
      }
      selected_rows_.assign(1, r);
      selected_.assign(1, row.Item);
      values_text_.assign(1, row.Text(stats::StatColumn::Value));
      env_.TableSelection(selected_rows_);
      Filter();
      ClearSelection();
      if (lists_.CombList.empty()) {
        AutoUndo();
        if (part_.StopMode == SZ) break;
      } else {
        ++step;
      }
    }
    if (!part_.MultiSelect) return;
    Filter();
    ClearSelection();
    if (lists_.CombList.empty()) AutoUndo();
  }

 private:
  template <typename F>
  void Log(F&& text) {
    if (env_.LogEnabled()) env_.Log(text());
  }

  bool StopReached(const stats::TStatRow& row, int step, bool upwards) const {
    const int64_t stop = part_.StopValue;
    switch (part_.StopMode) {
      case SC: return !part_.MultiSelect && lists_.Count() <= stop;
      case SV: {
        const long double count = row.Number(stats::StatColumn::Count).value_or(0);
        return upwards ? count >= stop : count <= stop;
      }
      case SP: {
        // "-" (no draws in the window) reads as 0.
        const long double pct = row.Number(stats::StatColumn::CountPct).value_or(0);
        return upwards ? pct >= stop : pct <= stop;
      }
      case ST: return step >= stop;
      default: return false;
    }
  }

  void Filter() {
    Log([&] { return std::string(part_.KeepSelected ? "Оставляем выделенные значения..." : "Удаляем выделенные значения..."); });
    lists_.TakeSnapshot();
    env_.Status("Фильтрация комбинаций...");
    try {
      RunFilterPass(lists_, *stat_, selected_, last_idx_, sorted_, !part_.KeepSelected, caption_,
                    support::Join(values_text_, "; "));
    } catch (...) {
      env_.Status("");
      env_.CombsChanged();
      throw;
    }
    env_.Status("");
    env_.CombsChanged();
    Log([&] { return fmt::format("Количество комбинаций в списке: {}", lists_.Count()); });
  }

  void ClearSelection() {
    selected_rows_.clear();
    selected_.clear();
    values_text_.clear();
    env_.TableSelection(selected_rows_);
  }

  void AutoUndo() {
    Log([] { return std::string("{UNDO} Откат изменений..."); });
    env_.Status("Отмена изменений...");
    lists_.UndoCombList();
    env_.Status("");
    lists_.AddUndoHistory();
    env_.CombsChanged();
  }

  TFilterEnvironment& env_;
  const TFilterPart& part_;
  TCombLists& lists_;
  std::unique_ptr<stats::TCustomStat> stat_;
  std::string caption_;
  int last_idx_ = 0;
  bool sorted_ = false;
  std::vector<int> selected_rows_;
  stats::TStatDrawArray selected_;
  std::vector<std::string> values_text_;
};

}  // namespace

void ApplyFilterPart(TFilterEnvironment& env, const TFilterPart& part) { PartWalk(env, part).Run(); }

void ApplyFilterVar(TFilterEnvironment& env, const TFilterRec& rec) {
  for (const auto& part : rec) {
    if (part.Active && env.Combs().Count() > 1) ApplyFilterPart(env, part);
  }
}

}  // namespace kelmora::filtering
