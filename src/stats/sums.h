#pragma once
// Sum statistics (group 1): the sum of a draw's four values, of its even or prime values, whether
// the sum lies in a fixed range, how it changed after earlier draws with the sum of the window's
// last draw ("D" members), and values that are the sum of two others. Sums and changes are kept in
// Key1+Key2 as one signed Int32 ("SUMC" keeps the second sum in Key3+Key4).

#include <span>

#include "stats/custom_stat.h"

namespace kelmora::stats {

// Sum of the four values of a combination (0 for the all-zero draw).
int32_t CombSum(lottery::TComb comb);

// Plain sums: the number the class reads from a combination, one value per draw.
class TCustomSumStat : public TCustomGraphStat {
 public:
  using TCustomGraphStat::TCustomGraphStat;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;
  virtual int32_t SumOf(lottery::TComb comb) const = 0;
};

class TstSumValues : public TCustomSumStat {  // "SUMS"
 public:
  using TCustomSumStat::TCustomSumStat;
  void ListAllValues(int last_idx, TStatDrawArray& values) override;  // SumMin..SumMax
  int32_t SumOf(lottery::TComb comb) const override;
};
class TstSumEvenValues : public TCustomSumStat {  // "SUME": sum of the even values
 public:
  using TCustomSumStat::TCustomSumStat;
  int32_t SumOf(lottery::TComb comb) const override;
};
class TstSumPrimeValues : public TCustomSumStat {  // "SUMP": sum of the prime values
 public:
  using TCustomSumStat::TCustomSumStat;
  int32_t SumOf(lottery::TComb comb) const override;
};

// "SUM%d": 1 when the sum lies in the index's fixed range, else 0 ("Остальные").
class TstSumRanges : public TCustomGraphStat {
 public:
  using TCustomGraphStat::TCustomGraphStat;
  std::string ValueText(const TStatDrawItem& item) const override;
  void ListAllValues(int last_idx, TStatDrawArray& values) override;  // 0, 1
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  // With the row 1 selected: the sum is in the range; otherwise: the sum is outside it.
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;
  int32_t InRange(lottery::TComb comb) const;  // 1 or 0; 0 for an index outside 1..3
};

// "SUMC": (previous sum, sum) of the draws whose previous draw summed like the window's last draw.
class TstSumChange : public TCustomGraphStat {
 public:
  using TCustomGraphStat::TCustomGraphStat;
  std::string ValueText(const TStatDrawItem& item) const override;  // "+03 : 40 + 3 = 43"
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  // The combination's sum is the target of a selected transition.
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  // The sum minus the sum of draw draw_idx - 1.
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;
};

// "SUMV": the change C - P of the draws whose previous sum P is within SumTolerance of the window's
// last sum.
class TstSumChangeSome : public TCustomStat {
 public:
  using TCustomStat::TCustomStat;
  std::string ValueText(const TStatDrawItem& item) const override;  // "+05", "- 03"
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  // The change from draw last_idx to the combination is selected.
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
};

// "SUMT": the direction 0, 1, -1 of the change after draws summing like the window's last draw.
class TstSumTrend : public TCustomGraphStat {
 public:
  using TCustomGraphStat::TCustomGraphStat;
  std::string ValueText(const TStatDrawItem& item) const override;  // "=", "+", "-"
  void ListAllValues(int last_idx, TStatDrawArray& values) override;  // 0, 1, -1
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  // The direction from draw last_idx to the combination is selected.
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  // The direction against draw draw_idx - 1.
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;
};

// "S2T3": the number of ordered (i, {j, k}) of distinct positions with value(j) + value(k) = value(i).
class TstSum2To3 : public TCustomGraphStat {
 public:
  using TCustomGraphStat::TCustomGraphStat;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;
  static int32_t CountOf(lottery::TComb comb);
};

// The family's classes with their ordinals (9..16).
std::span<const TStatClass* const> SumClasses();

}  // namespace kelmora::stats
