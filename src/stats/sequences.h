#pragma once
// Sequence statistics (group 6): runs inside one draw, adjacent positions whose values climb by
// exactly one card. The draw is read as Sorted says; a combination is always read in position order.

#include <array>
#include <span>

#include "stats/custom_stat.h"

namespace kelmora::stats {

// The lengths of the runs of a combination in position order (they add up to 4). With both_ways a
// fall by one card joins positions too (the graph values). Returns the number of runs.
int RunLengths(lottery::TComb comb, bool both_ways, std::array<int, 4>& lengths);

// "SEQL": the length of every run, rows 1..4 listed.
class TstSequenceLen : public TCustomNumbersStat {
 public:
  using TCustomNumbersStat::TCustomNumbersStat;
  void ListAllValues(int last_idx, TStatDrawArray& values) override;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;

 private:
  void AddRuns(lottery::TComb comb, TStatDrawArray& values, bool track_periods);
};

// One number of the runs per draw, rows first..last listed; the graph reads the runs both ways.
class TCustomSequenceNumberStat : public TCustomGraphStat {
 public:
  using TCustomGraphStat::TCustomGraphStat;
  void ListAllValues(int last_idx, TStatDrawArray& values) override;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;
  virtual int32_t NumberOf(lottery::TComb comb, bool both_ways) const = 0;
  virtual int ListedFirst() const = 0;
  virtual int ListedLast() const = 0;
};

// "SEQS": the number of runs of two or more, rows 0..2.
class TstSequenceCnt : public TCustomSequenceNumberStat {
 public:
  using TCustomSequenceNumberStat::TCustomSequenceNumberStat;
  int32_t NumberOf(lottery::TComb comb, bool both_ways) const override;
  int ListedFirst() const override { return 0; }
  int ListedLast() const override { return 2; }
};

// "LENS": the longest run, rows 1..4; the graph gives 0 when no position joins another.
class TstSequenceLenMax : public TCustomSequenceNumberStat {
 public:
  using TCustomSequenceNumberStat::TCustomSequenceNumberStat;
  int32_t NumberOf(lottery::TComb comb, bool both_ways) const override;
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;
  int ListedFirst() const override { return 1; }
  int ListedLast() const override { return 4; }
};

// The family's classes with their ordinals (40..42).
std::span<const TStatClass* const> SequenceClasses();

}  // namespace kelmora::stats
