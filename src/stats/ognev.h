#pragma once
// Ognev numbers (group 11): the characteristic number of a draw, taken by repeated absolute
// differences of neighbouring values down to two values. HCO1 and HCO2 count the numbers (with a
// norm and a graph); HCO3 turns the window's last draw into candidate values for a filter.

#include <span>

#include "stats/custom_stat.h"

namespace kelmora::stats {

// One or two results of the characteristic number.
struct TOgnevResult {
  uint8_t Value[2] = {0, 0};
  int Count = 1;
};
// Mode 0: the last difference r; mode 1: a + b when r < 2, else r; mode 2: a + b when r = 0,
// the two results 1 and a + b when r = 1, else r. Values in position order, byte arithmetic.
TOgnevResult OgnevNumber(lottery::TComb values, int mode);

// HCO1, HCO2: the number of each draw (Key1).
class TCustomOgnevGraphStat : public TCustomGraphStat {
 public:
  TCustomOgnevGraphStat(const TStatList& list, const TStatClass& cls, int32_t index, int mode);
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;

 private:
  int mode_;
};

class TstOgnev1 : public TCustomOgnevGraphStat {  // "HCO1": mode 0
 public:
  TstOgnev1(const TStatList& list, const TStatClass& cls, int32_t index) : TCustomOgnevGraphStat(list, cls, index, 0) {}
};
class TstOgnev2 : public TCustomOgnevGraphStat {  // "HCO2": mode 1
 public:
  TstOgnev2(const TStatList& list, const TStatClass& cls, int32_t index) : TCustomOgnevGraphStat(list, cls, index, 1) {}
};

// "HCO3": only the window's last draw adds rows: its mode-2 number f (with the second result
// a + b in Key1, 1 in Key2 and 2 in Key4 when there are two) and the card values among the
// multiples of f below f·f (f·f·f when f·f < 14). Count is 1 when the value came out in the draw
// after the window, else 0 (always 0 when there is no such draw).
class TstOgnev3 : public TCustomStat {
 public:
  using TCustomStat::TCustomStat;
  std::string ValueText(const TStatDrawItem& item) const override;  // "15 (1)" when Key4 = 2
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  // Some value of the combination is the Key1 of a selected row.
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
};

// The family's classes with their ordinals (140..142).
std::span<const TStatClass* const> OgnevClasses();

}  // namespace kelmora::stats
