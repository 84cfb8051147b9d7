#pragma once
// Number statistics (group 0): the card values of a draw one by one, their digits, the even,
// small and prime counts and patterns, and the value in one position.

#include <span>

#include "stats/custom_stat.h"

namespace kelmora::stats {

// "NUMS": each position's value.
class TstValues : public TCustomValuesStat {
 public:
  using TCustomValuesStat::TCustomValuesStat;
  void ListAllValues(int last_idx, TStatDrawArray& values) override;  // 7..14
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
};

// "DIGS": each character of each value's card text as a digit; a face card's letter counts as 0.
class TstDigits : public TCustomNumbersStat {
 public:
  using TCustomNumbersStat::TCustomNumbersStat;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  // A face card matches the row "0", as it is counted there.
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
};

// Ratio statistics: k of the four values have the property; rows "1:3".."4:0", "0:4" appended.
class TCustomCountRatioStat : public TCustomRatioStat {
 public:
  using TCustomRatioStat::TCustomRatioStat;
  void ListAllValues(int last_idx, TStatDrawArray& values) override;  // 1..4
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;  // k
  virtual bool HasProperty(int value) const = 0;
  int CountOf(lottery::TComb comb) const;
};

class TstEvenCount : public TCustomCountRatioStat {  // "EVEN"
 public:
  using TCustomCountRatioStat::TCustomCountRatioStat;
  bool HasProperty(int value) const override;
};
class TstSmallCount : public TCustomCountRatioStat {  // "SMAL"
 public:
  using TCustomCountRatioStat::TCustomCountRatioStat;
  bool HasProperty(int value) const override;
};
class TstPrimeCount : public TCustomCountRatioStat {  // "PRIM"
 public:
  using TCustomCountRatioStat::TCustomCountRatioStat;
  bool HasProperty(int value) const override;
};

// Mask statistics: bit 3 (position 1) .. bit 0 (position 4) set when the value has the property.
class TCustomPatternMaskStat : public TCustomMaskStat {
 public:
  using TCustomMaskStat::TCustomMaskStat;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  virtual bool HasProperty(int value) const = 0;
  int32_t MaskOf(lottery::TComb comb) const;
};

class TstEvenValues : public TCustomPatternMaskStat {  // "EVNV": odd values set, "н"/"Ч"
 public:
  using TCustomPatternMaskStat::TCustomPatternMaskStat;
  bool HasProperty(int value) const override;
  std::string FalseChar() const override { return "Ч"; }
  std::string TrueChar() const override { return "н"; }
};
class TstSmallValues : public TCustomPatternMaskStat {  // "SMLV": values > 10 set, "2"/"1"
 public:
  using TCustomPatternMaskStat::TCustomPatternMaskStat;
  bool HasProperty(int value) const override;
  void ListAllValues(int last_idx, TStatDrawArray& values) override;  // none: rows as they occur
  std::string FalseChar() const override { return "1"; }
  std::string TrueChar() const override { return "2"; }
};
class TstPrimeValues : public TCustomPatternMaskStat {  // "PRMV": primes set, "П"/"С"
 public:
  using TCustomPatternMaskStat::TCustomPatternMaskStat;
  bool HasProperty(int value) const override;
  std::string FalseChar() const override { return "С"; }
  std::string TrueChar() const override { return "П"; }
};

// "POS%d": the value at position Index (1..4).
class TstPosVal : public TCustomGraphStat {
 public:
  using TCustomGraphStat::TCustomGraphStat;
  std::string ValueText(const TStatDrawItem& item) const override;  // card text
  void ListAllValues(int last_idx, TStatDrawArray& values) override;  // 7..14
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;
};

// "POE%d": extra numbers of games that have them; this game has none (empty index range), so the
// class never enters the registry and adds no values.
class TstPosExt : public TCustomGraphStat {
 public:
  using TCustomGraphStat::TCustomGraphStat;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;
};

// Whether the value is in the system's fixed set of primes (1 counts as prime).
bool IsPrimeValue(int value);

// The family's classes with their ordinals (1..8, 102, 103).
std::span<const TStatClass* const> NumberClasses();

}  // namespace kelmora::stats
