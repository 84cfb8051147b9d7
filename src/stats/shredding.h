#pragma once
// The shredding statistics (group 12, "SHR1".."SHR3"): a user's formula over the values of a draw
// and the two draws before it, whose value is the first decimals of the result's fractional part.

#include <span>

#include "stats/custom_stat.h"
#include "stats/formula.h"

namespace kelmora::stats {

// "SHR%d": the method of settings slot Index (1..3). The formula and the number of digits are
// copied from the registry's shredding settings at creation. The value, up to 10^Digits - 1, is
// kept in Key1+Key2 as one 32-bit number so that values from 65536 up keep their own rows.
class TstShreddingStat : public TCustomGraphStat {
 public:
  TstShreddingStat(const TStatList& list, const TStatClass& cls, int32_t index);

  std::string ValueText(const TStatDrawItem& item) const override;  // decimal Key1+Key2
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  // The norm: the combination with both earlier draws all zero.
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  // The combination taken as the draw after the window's last draw.
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;

  // The value for the current draw n, the draw before it p and the one before that t; 0 when the
  // formula fails.
  int32_t Shred(lottery::TComb n, lottery::TComb p, lottery::TComb t);
  const std::string& Formula() const { return formula_.Text(); }
  int32_t Digits() const { return digits_; }

 private:
  TFormula formula_;
  int32_t digits_;
};

// The family's class with its ordinal (143).
std::span<const TStatClass* const> ShreddingClasses();

}  // namespace kelmora::stats
