#pragma once
// The filter pass and the automatic application of recipes: the pass rebuilds CombList from the
// snapshot by a statistic's test, RowQualifies picks table rows by a selection mode,
// ApplyFilterPart computes a table and walks it, ApplyFilterVar applies a variant's parts in order.

#include <string>
#include <string_view>
#include <vector>

#include "filtering/comb_list.h"
#include "filtering/filter_text.h"
#include "stats/custom_stat.h"
#include "stats/table.h"

namespace kelmora::filtering {

// The last draw index of every statistic call of a pass: High(Draws) - offset, 0 when negative.
int FilterLastIdx(const lottery::TDrawsArray& draws, int offset);

// The pass. Returns false and leaves the lists untouched when nothing is selected. Otherwise
// rebuilds CombList from UndoList, in order, keeping the combinations `stat` matches with a selected
// value (keep) or those it does not match (delete), and adds a history entry when the snapshot was
// not empty. Allocates nothing per combination. Throws what the statistic throws; CombList then
// holds the combinations kept so far.
bool RunFilterPass(TCombLists& lists, stats::TCustomStat& stat, const stats::TStatDrawArray& selected, int last_idx,
                   bool sorted, bool is_delete, std::string_view caption, std::string_view values_text);

// The selection-mode test of a part on one table row (row.NumValue holds the row's value key).
// Threshold modes read an unreadable cell with their default; list modes throw support::Error when
// the tested cell is not a number.
bool RowQualifies(const TFilterPart& part, const stats::TStatValues& row);

// The log text of a row: "< [A] кол-во: 3 (25.00000 %), отклонение: ..., вес: 1.00 >".
std::string RowLogText(const stats::TStatValues& row);

// What ApplyFilterPart needs from around it: the lists, the statistics table it recomputes, the
// script log and the stop request. The Session's component implements it.
class TFilterEnvironment {
 public:
  virtual ~TFilterEnvironment() = default;
  virtual TCombLists& Combs() = 0;
  virtual const stats::TStatList& StatList() = 0;
  // The registry entry the statistic selector shows for the method, -1 when it lists none; selects it.
  virtual int SelectMethod(const stats::TStatMethod& method) = 0;
  // The selector's text of the selected entry.
  virtual std::string SelectorText() = 0;
  // Computes the table of the selected entry over draws_len draws with the weights (the configured
  // ones unless cdl.Override), sorted descending by sort_column. Valid until the next call.
  virtual const stats::TStatTable& ComputeTable(int draws_len, int sort_column, const TFilterCdl& cdl) = 0;
  virtual int LastIdx() = 0;        // FilterLastIdx of the archive and the offset
  virtual bool SortedDraws() = 0;
  // A check point: lets pending events run and returns whether the run must stop.
  virtual bool StopRequested() = 0;
  virtual bool LogEnabled() = 0;
  virtual void Log(std::string_view entry) = 0;
  virtual void Status(std::string_view text) = 0;
  // The table's selected rows changed (for the display only).
  virtual void TableSelection(const std::vector<int>& rows) { (void)rows; }
  virtual void CombsChanged() {}
};

// Applies one part: the table, the walk with its stop modes, the filters, the automatic undo.
// Throws support::Error for a method the selector does not list (or none), for a list-mode cell that
// is not a number, and what the statistic throws. A stop request ends it without filtering further.
void ApplyFilterPart(TFilterEnvironment& env, const TFilterPart& part);
// Applies the active parts in slot order, each only while CombList holds more than one combination.
void ApplyFilterVar(TFilterEnvironment& env, const TFilterRec& rec);

// The choices of one recipe: each draw length, and for a threshold mode each level with it (the
// level varying fastest); a list mode or LNO gives one choice per draw length.
struct TFilterChoices {
  TFilterPart Base;           // the item's fields; LevelValue and LevelText for the non-threshold modes
  lottery::TIntArray Draws;
  lottery::TIntArray Levels;  // threshold modes only
  int64_t Size() const;
  TFilterPart Choice(int64_t i) const;  // 0 <= i < Size()
};

// The variants of a step: variant v (0-based) takes from item k the choice given by the
// mixed-radix digits of v, item 1's digit the slowest, which is the order a depth-first expansion
// creates them in. No variant is stored, so their number costs no memory.
struct TFilterVariants {
  std::vector<TFilterChoices> Items;
  int64_t Count = 0;
  // Variant v (0 <= v < Count) with its parts in slots 1..n.
  TFilterRec Variant(int64_t v) const;
};
inline constexpr int64_t MaxFilterVariants = 2147483647;
// Expands the first (up to seven) active items. Throws support::Error "Некорректное описание
// фильтра: %s!" for an item whose draws list (or, with a mode above 0, level list) is empty, and
// the too-many-variants message when the product exceeds MaxFilterVariants.
TFilterVariants ExpandFilterVariants(const std::vector<TFilterItem>& items);

}  // namespace kelmora::filtering
