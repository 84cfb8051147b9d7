#pragma once
// The analysis pages without widgets: the scheme "Схема" with its comparison lists, "Графики",
// "Карта", "Неделя", the repeats window and the sums distribution. Each page's data is computed
// only while a front end shows the page and, unless forced, only when its cache differs. Owned by
// the Session.

#include <array>
#include <cstdint>
#include <string>

#include "support/chart_data.h"
#include "views/card.h"
#include "views/graphs.h"
#include "views/layout.h"
#include "views/repeats.h"
#include "views/sums.h"
#include "views/view_filters.h"
#include "views/week.h"

namespace kelmora::shell {

class Session;

enum class ViewPage { Graphs, Card, Layout, Week };

// The repeats window's own view-state section and its keys.
inline constexpr const char* RepeatsSection = "TFormRepeats";

class ViewsState {
 public:
  explicit ViewsState(Session& session);

  // Pages a front end shows (none at first, so a session without pages computes nothing).
  bool PageShown(ViewPage page) const { return shown_[static_cast<size_t>(page)]; }
  void SetPageShown(ViewPage page, bool shown) { shown_[static_cast<size_t>(page)] = shown; }
  // RefreshAllViews' part: the graphs, the card, the scheme, the comparisons and the weekday page.
  void Refresh(bool force);

  // --- "Схема" ---
  // Each returns whether it computed. The lengths are the view state's LayoutLen and
  // LayoutCompareLen1..5; a setter refuses (false) a length outside 1..2147483647.
  bool CalcLayout(bool force);
  bool CalcLayoutCompare(bool force);
  bool SetLayoutLen(int64_t length);
  bool SetLayoutCompareLen(int list, int64_t length);  // list 0..4
  const views::TLayoutScheme& Layout() const { return layout_; }
  const std::array<views::TLayoutCompare, 5>& LayoutCompare() const { return compare_; }

  // --- "Графики" ---
  int GraphEntry() const { return graph_entry_; }  // registry entry, -1 when none is chosen
  void SelectGraph(int entry);
  bool SetGraphLen(int64_t length);                // DrawsGraphLen
  bool GraphLabels() const { return graph_labels_; }
  void SetGraphLabels(bool shown);
  // Failures of the statistic are shown; the chart is then empty.
  bool CalcGraphs(bool force);
  const support::ChartData& Graph() const { return graph_; }

  // --- "Карта" ---
  bool CalcCard(bool force);
  int CardRows() const { return card_rows_; }

  // --- "Неделя" ---
  bool SetWeekLen(int64_t length);  // WeekLen
  bool CalcWeek(bool force);
  const views::TWeekStat& Week() const { return week_; }

  // --- the keep and delete commands of the three grids: the snapshot, then the pass with a new
  // number statistic; a selection without values shows "В выделенном диапазоне нет значений для
  // фильтра!" and leaves the list as it was. Rectangles and columns are in grid coordinates. ---
  void ApplyCardFilter(const views::TCellRect& rect, bool is_delete);
  void ApplyLayoutFilter(const views::TCellRect& rect, bool is_delete);
  void ApplyWeekFilter(int left, int right, bool is_delete);

  // --- "Количество повторов в зависимости от тиража" over the whole archive, with the progress
  // window; the lengths are stored in the window's section (DrawsLength, DrawsDeep) ---
  int64_t RepeatsLength() const;
  int64_t RepeatsDeep() const;
  views::TRepeats CalcRepeats(int64_t length, int64_t deep);
  // The repeats chart with the progress window "Создание графиков...".
  support::ChartData RepeatsChart(const views::TRepeats& repeats);

  // --- the sums distribution, computed with its status text ---
  views::TSumsDistribution CalcSums();

 private:
  void Notify(int view);
  void ApplyViewFilter(const views::TViewSelection& selection, const char* caption, bool is_delete);

  Session& session_;
  std::array<bool, 4> shown_{};
  views::TLayoutCacheKey layout_key_;
  views::TLayoutScheme layout_;
  std::array<int, 2> compare_key_{-1, -1};
  std::array<views::TLayoutCompare, 5> compare_;
  int graph_entry_ = -1;
  bool graph_labels_ = true;
  views::TGraphsCacheKey graph_key_;
  support::ChartData graph_;
  int card_rows_ = 0;
  views::TWeekCacheKey week_key_;
  views::TWeekStat week_;
  uint32_t repeats_seed_ = 1;
};

}  // namespace kelmora::shell
