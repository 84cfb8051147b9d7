#pragma once
// Period statistics (group 9): for every unit (a card value, a channel or a matrix segment), the
// distance in draw numbers between each two consecutive occurrences inside the window. The filter
// keeps the combinations whose units fall due in the draw after the window at a selected period.

#include <span>

#include "stats/series.h"

namespace kelmora::stats {

// Key1 = the unit, Key2 = the period; rows "J x 3". The first occurrence of a unit in the window
// adds nothing, and a unit counts once per draw.
class TCustomPeriodsStat : public TCustomStat {
 public:
  TCustomPeriodsStat(const TStatList& list, const TStatClass& cls, int32_t index, TStatUnits::Kind kind);

  std::string ValueText(const TStatDrawItem& item) const override;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  bool KeepsScanState() const override { return true; }  // periods come from the last-values list
  // Always -1: the search examines each later draw with an empty last-values list, where a unit
  // is either new (no period) or seen in the same draw (period 0), so no period row can occur.
  int32_t NextOccurrence(const TStatDrawItem& item, int from_idx, int last_idx, bool sorted) override;
  // For a unit u of the combination (as written) and a selected row (u, period): whether u came
  // out in the draw `period` - 1 before the window's last (read unsorted; none outside the
  // archive). With `exclude` the test is whether it did not, so the delete mode removes the
  // combinations holding a selected unit that does not fall due.
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;

 private:
  TStatUnits units_;
};

template <TStatUnits::Kind Kind>
class TPeriodsStatOf : public TCustomPeriodsStat {
 public:
  TPeriodsStatOf(const TStatList& list, const TStatClass& cls, int32_t index)
      : TCustomPeriodsStat(list, cls, index, Kind) {}
};
using TstNumPeriods = TPeriodsStatOf<TStatUnits::Kind::Values>;    // "PRDV"
using TstChnPeriods = TPeriodsStatOf<TStatUnits::Kind::Channels>;  // "PRDC"
using TstSgmPeriods = TPeriodsStatOf<TStatUnits::Kind::Segments>;  // "PRDG"

// The family's classes with their ordinals (114..116).
std::span<const TStatClass* const> PeriodClasses();

}  // namespace kelmora::stats
