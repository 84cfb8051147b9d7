#pragma once
// Difference statistics (group 2): the absolute differences d1, d2, d3 between the values of
// positions 1-2, 2-3 and 3-4, and the spread between a draw's largest and smallest value. Sorted
// draws change the neighbours and so the differences; combinations are taken as they stand.

#include <array>
#include <span>

#include "stats/unit_combinations.h"

namespace kelmora::stats {

// d1, d2, d3 of a combination, position 1 first.
std::array<uint8_t, 3> NeighbourDiffs(lottery::TComb comb);

// "DIFA": d1, d2, d3, rows 1..7 listed; the periods move only on the first difference.
class TstDiffTotal : public TCustomNumbersStat {
 public:
  using TCustomNumbersStat::TCustomNumbersStat;
  void ListAllValues(int last_idx, TStatDrawArray& values) override;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
};

// One number per draw with the rows 1..listed_max listed in advance.
class TCustomDiffNumberStat : public TCustomGraphStat {
 public:
  using TCustomGraphStat::TCustomGraphStat;
  void ListAllValues(int last_idx, TStatDrawArray& values) override;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;
  virtual int32_t NumberOf(lottery::TComb comb) const = 0;
  virtual int ListedMax() const = 0;
};

class TstDiffMax : public TCustomDiffNumberStat {  // "DIFM": max(d1, d2, d3)
 public:
  using TCustomDiffNumberStat::TCustomDiffNumberStat;
  int32_t NumberOf(lottery::TComb comb) const override;
  int ListedMax() const override { return 7; }
};
class TstMinMaxDiffs : public TCustomDiffNumberStat {  // "DIFD": largest minus smallest value
 public:
  using TCustomDiffNumberStat::TCustomDiffNumberStat;
  int32_t NumberOf(lottery::TComb comb) const override;
  int ListedMax() const override { return 7; }
};
class TstDiffSameCnt : public TCustomDiffNumberStat {  // "DIFK": the largest multiplicity, 1..3
 public:
  using TCustomDiffNumberStat::TCustomDiffNumberStat;
  int32_t NumberOf(lottery::TComb comb) const override;
  int ListedMax() const override { return 3; }
};

// "DIFO": (difference, how many of d1..d3 have it) per distinct difference, first appearance first.
class TstDiffSame : public TCustomStat {
 public:
  using TCustomStat::TCustomStat;
  std::string ValueText(const TStatDrawItem& item) const override;  // "2 x 2"
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;

 private:
  void AddSame(lottery::TComb comb, TStatDrawArray& values, bool track_periods);
};

// "KDS2", "KDS3": neighbouring pairs (d1, d2), (d2, d3) or the triple (d1, d2, d3); the periods
// move only on the first tuple. Nothing listed, no norm.
class TCustomDiffSeqStat : public TCustomStat {
 public:
  TCustomDiffSeqStat(const TStatList& list, const TStatClass& cls, int32_t index, int size);
  std::string ValueText(const TStatDrawItem& item) const override;  // "1:3", "1:3:0"
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;

 private:
  TUnitTuples tuples_;
};
template <int Size>
class TstCombDiffSeq : public TCustomDiffSeqStat {
 public:
  TstCombDiffSeq(const TStatList& list, const TStatClass& cls, int32_t index)
      : TCustomDiffSeqStat(list, cls, index, Size) {}
};
using TstCombDiffSeq2 = TstCombDiffSeq<2>;  // "KDS2"
using TstCombDiffSeq3 = TstCombDiffSeq<3>;  // "KDS3"

// The family's available classes with their ordinals (17..21, 75, 76); KDS4 is never available and
// is left out.
std::span<const TStatClass* const> DiffClasses();

}  // namespace kelmora::stats
