#include "shell/views_state.h"

#include <algorithm>
#include <limits>

#include "shell/combs_state.h"
#include "shell/session.h"
#include "shell/stats_state.h"
#include "support/text.h"

namespace kelmora::shell {

namespace {

constexpr const char* LayoutStatus = "Построение схемы выпадения номеров...";

bool ValidLength(int64_t length) { return length >= 1 && length <= std::numeric_limits<int32_t>::max(); }

}  // namespace

ViewsState::ViewsState(Session& session) : session_(session) {}

void ViewsState::Notify(int view) { session_.GetHost().ViewChanged(static_cast<ViewId>(view)); }

void ViewsState::Refresh(bool force) {
  CalcGraphs(force);
  CalcCard(force);
  CalcLayout(force);
  CalcLayoutCompare(force);
  CalcWeek(force);
}

bool ViewsState::SetLayoutLen(int64_t length) {
  if (!ValidLength(length)) return false;
  session_.MainView().LayoutLen = static_cast<int32_t>(length);
  return true;
}

bool ViewsState::SetLayoutCompareLen(int list, int64_t length) {
  if (list < 0 || list >= 5 || !ValidLength(length)) return false;
  session_.MainView().LayoutCompareLen[static_cast<size_t>(list)] = static_cast<int32_t>(length);
  return true;
}

bool ViewsState::CalcLayout(bool force) {
  if (!PageShown(ViewPage::Layout)) return false;
  const views::TLayoutCacheKey key{static_cast<int>(session_.Draws().size()), session_.DrawsOffset(),
                                   session_.MainView().LayoutLen};
  if (!force && key == layout_key_) return false;
  layout_key_ = key;
  BusyGuard busy(session_, LayoutStatus);
  layout_ = views::BuildLayoutScheme(session_.Draws(), session_.DrawsOffset(), key.Length);
  Notify(static_cast<int>(ViewId::Layout));
  return true;
}

bool ViewsState::CalcLayoutCompare(bool force) {
  if (!PageShown(ViewPage::Layout)) return false;
  const std::array<int, 2> key{static_cast<int>(session_.Draws().size()), session_.DrawsOffset()};
  if (!force && key == compare_key_) return false;
  compare_key_ = key;
  BusyGuard busy(session_, LayoutStatus);
  for (size_t i = 0; i < compare_.size(); ++i)
    compare_[i] = views::BuildLayoutCompare(session_.Draws(), session_.DrawsOffset(), session_.MainView().LayoutCompareLen[i]);
  Notify(static_cast<int>(ViewId::Layout));
  return true;
}

void ViewsState::SelectGraph(int entry) {
  const auto& list = session_.Stats().List();
  graph_entry_ = entry >= 0 && entry < list.Count() && list.IsGraph(entry) ? entry : -1;
}

bool ViewsState::SetGraphLen(int64_t length) {
  if (!ValidLength(length)) return false;
  session_.MainView().DrawsGraphLen = static_cast<int32_t>(length);
  return true;
}

void ViewsState::SetGraphLabels(bool shown) {
  graph_labels_ = shown;
  if (!graph_.Series.empty()) graph_.Series.front().ShowLabels = shown;
  Notify(static_cast<int>(ViewId::Graphs));
}

bool ViewsState::CalcGraphs(bool force) {
  if (!PageShown(ViewPage::Graphs)) return false;
  const views::TGraphsCacheKey key{static_cast<int>(session_.Draws().size()), session_.DrawsOffset(),
                                   session_.MainView().DrawsGraphLen, graph_entry_};
  if (!force && key == graph_key_) return false;
  graph_key_ = key;
  BusyGuard busy(session_, "Анализ тиражей и построение графиков...");
  graph_ = {};
  if (graph_entry_ >= 0 && !session_.Draws().empty()) {
    session_.Reported("", [&] {
      const auto& list = session_.Stats().List();
      auto stat = list.CreateStat(graph_entry_);
      auto* graph = dynamic_cast<stats::TCustomGraphStat*>(stat.get());
      if (!graph) return;
      std::string caption = list.DisplayName(graph_entry_, true);
      for (const auto& e : session_.Stats().Selectors().Graphs)
        if (e.Entry == graph_entry_) caption = e.Text;
      graph_ = views::BuildDrawsGraph(*graph, caption, session_.Draws(), session_.DrawsOffset(), key.Length,
                                      session_.MainView().SortedDraws, graph_labels_);
    });
  }
  Notify(static_cast<int>(ViewId::Graphs));
  return true;
}

bool ViewsState::CalcCard(bool force) {
  if (!PageShown(ViewPage::Card)) return false;
  if (!force && !views::CardNeedsRefresh(card_rows_, session_.Draws())) return false;
  BusyGuard busy(session_, "Обновление карты тиражей...");
  // The rows are read from the archive on demand; an empty archive still shows one empty row.
  card_rows_ = views::CardRowCount(session_.Draws());
  Notify(static_cast<int>(ViewId::Card));
  return true;
}

bool ViewsState::SetWeekLen(int64_t length) {
  if (!ValidLength(length)) return false;
  session_.MainView().WeekLen = static_cast<int32_t>(length);
  return true;
}

bool ViewsState::CalcWeek(bool force) {
  if (!PageShown(ViewPage::Week)) return false;
  const views::TWeekCacheKey key{static_cast<int>(session_.Draws().size()), session_.DrawsOffset(),
                                 session_.MainView().WeekLen};
  if (!force && key == week_key_) return false;
  week_key_ = key;
  BusyGuard busy(session_, "Построение статистики по дням недели...");
  week_ = views::BuildWeekStat(session_.Draws(), session_.DrawsOffset(), key.Length);
  Notify(static_cast<int>(ViewId::Week));
  return true;
}

void ViewsState::ApplyViewFilter(const views::TViewSelection& selection, const char* caption, bool is_delete) {
  session_.Combs().ApplyViewFilter(selection.Selected, support::Join(selection.Texts, "; "), caption, is_delete);
}

void ViewsState::ApplyCardFilter(const views::TCellRect& rect, bool is_delete) {
  const auto& draws = session_.Draws();
  ApplyViewFilter(views::CollectCardValues([&](int r, int c) { return views::CardCellText(draws, r, c); }, rect), "Карта",
                  is_delete);
}

void ViewsState::ApplyLayoutFilter(const views::TCellRect& rect, bool is_delete) {
  ApplyViewFilter(views::CollectLayoutValues([this](int r, int c) { return layout_.Grid.At(r, c); }, rect), "Схема",
                  is_delete);
}

void ViewsState::ApplyWeekFilter(int left, int right, bool is_delete) {
  ApplyViewFilter(views::CollectWeekValues(left, right), "Неделя", is_delete);
}

int64_t ViewsState::RepeatsLength() const {
  int64_t v = 100;
  session_.Reported("", [&] { v = session_.View().ReadInt(RepeatsSection, "DrawsLength", 100); });
  return ValidLength(v) ? v : 100;
}

int64_t ViewsState::RepeatsDeep() const {
  int64_t v = 100;
  session_.Reported("", [&] { v = session_.View().ReadInt(RepeatsSection, "DrawsDeep", 100); });
  return ValidLength(v) ? v : 100;
}

views::TRepeats ViewsState::CalcRepeats(int64_t length, int64_t deep) {
  session_.Reported("Ошибка сохранения параметров программы!", [&] {
    session_.View().BeginBatch();
    session_.View().WriteInt(RepeatsSection, "DrawsLength", static_cast<int32_t>(length));
    session_.View().WriteInt(RepeatsSection, "DrawsDeep", static_cast<int32_t>(deep));
    session_.View().EndBatch();
  });
  BusyGuard busy(session_);
  Host& host = session_.GetHost();
  const int64_t count = static_cast<int64_t>(session_.Draws().size());
  host.ShowProgress("Идет сбор статистики....", static_cast<int>(std::min(length, count)), false);
  auto result = views::BuildRepeats(session_.Draws(), length, deep, [&](int n) {
    host.SetProgressPosition(n);
    host.ProcessEvents();
    return true;
  });
  host.HideProgress();
  return result;
}

support::ChartData ViewsState::RepeatsChart(const views::TRepeats& repeats) {
  BusyGuard busy(session_);
  Host& host = session_.GetHost();
  host.ShowProgress("Создание графиков...", static_cast<int>(repeats.Rows.size()), false);
  auto chart = views::RepeatsChart(repeats, repeats_seed_++);
  host.SetProgressPosition(static_cast<int>(repeats.Rows.size()));
  host.HideProgress();
  return chart;
}

views::TSumsDistribution ViewsState::CalcSums() {
  BusyGuard busy(session_, "Идет сбор статистики....");
  return views::BuildSumsDistribution(session_.Draws());
}

}  // namespace kelmora::shell
