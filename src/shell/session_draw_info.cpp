// Rows of the draw and combination details dialogs.

#include "shell/session.h"

#include "lottery/comb_ops.h"
#include "shell/stats_state.h"
#include "stats/custom_stat.h"

namespace kelmora::shell {

namespace {

// One row per graph statistic: its caption and GraphValue of the values at the draw index.
void AppendGraphRows(const stats::TStatList& list, lottery::TComb values, int draw_idx, int last_idx, bool sorted,
                     std::vector<std::pair<std::string, std::string>>& rows) {
  for (int i = 0; i < list.Count(); ++i) {
    if (!list.IsAvailable(i) || !list.IsGraph(i)) continue;
    auto stat = list.CreateStat(i);
    auto* graph = dynamic_cast<stats::TCustomGraphStat*>(stat.get());
    if (!graph) continue;
    const lottery::TComb shown = sorted ? lottery::SortComb(values) : values;
    rows.emplace_back(list.Items(i).DisplayCaption() + ":",
                      std::to_string(graph->GraphValue(shown, draw_idx, last_idx, sorted)));
  }
}

}  // namespace

std::vector<std::pair<std::string, std::string>> Session::DrawDetailRows(int row) {
  std::vector<std::pair<std::string, std::string>> rows;
  const int count = static_cast<int>(draws_.size());
  if (row < 0 || row >= count) return rows;
  BusyGuard busy(*this);
  const int index = count - 1 - row;
  const lottery::TDrawRec& draw = draws_[index];
  rows.emplace_back("Номер тиража:", std::to_string(draw.Number));
  rows.emplace_back("Дата тиража:", draw.Date);
  AppendGraphRows(Stats().List(), draw.Values, index, index, main_view_.SortedDraws, rows);
  return rows;
}

std::vector<std::pair<std::string, std::string>> Session::CombDetailRows(lottery::TComb comb) {
  std::vector<std::pair<std::string, std::string>> rows;
  if (draws_.empty()) return rows;
  BusyGuard busy(*this);
  // The combination is valued as the current draw would be, so every index stays inside the
  // archive whatever the offset.
  const int current = std::max(0, static_cast<int>(draws_.size()) - 1 - draws_offset_);
  AppendGraphRows(Stats().List(), comb, current, current, main_view_.SortedDraws, rows);
  return rows;
}

}  // namespace kelmora::shell
