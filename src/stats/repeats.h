#pragma once
// Repeat statistics (group 7): one position across draws, the same value at the same position in
// consecutive draws, in draws a few apart, or moved by one or two cards. Every member depends on
// the window's last draw (flag "D"). A draw before the archive's first reads as all zero, and its
// zeros are moved like any value.

#include <span>

#include "stats/custom_stat.h"

namespace kelmora::stats {

// v moved by s inside 7..14 cyclically: one correction by 8 (Shift(A, +1) = 7, Shift(0, -1) = 7);
// Shift(v, 0) = v, also for the zeros of a missing draw.
int RepShiftValue(int value, int shift);
// Every position's value moved by s.
lottery::TComb RepShiftComb(lottery::TComb comb, int shift);

// Card-value members: the value at each position that satisfies the member's rule (bit p of
// HitMask); rows are the window's last draw's values (unsorted) moved by ListShift.
class TCustomRepValuesStat : public TCustomValuesStat {
 public:
  using TCustomValuesStat::TCustomValuesStat;
  void ListAllValues(int last_idx, TStatDrawArray& values) override;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  // Some value of the combination is a selected row, whatever its position.
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  virtual int ListShift() const = 0;
  // Bit p set when position p of CurDraw (draw draw_idx) is counted.
  virtual unsigned HitMask(int draw_idx, bool sorted) const = 0;
};

// Count members: the number of positions that satisfy the rule, rows 1..4 listed.
class TCustomRepCountStat : public TCustomNumbersStat {
 public:
  using TCustomNumbersStat::TCustomNumbersStat;
  void ListAllValues(int last_idx, TStatDrawArray& values) override;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  virtual unsigned HitMask(int draw_idx, bool sorted) const = 0;
  // The positions at which the combination would count as the draw after last_idx.
  virtual unsigned CombHitMask(lottery::TComb comb, int last_idx, bool sorted) const = 0;
};

// Values equal at one position in draw draw_idx - RepGap and draw draw_idx, after a move by RepShift,
// and equal to the window's last draw there (moved as well).
class TCustomRepValues2Stat : public TCustomRepValuesStat {
 public:
  using TCustomRepValuesStat::TCustomRepValuesStat;
  virtual int32_t RepShift() const = 0;
  virtual int32_t RepGap() const = 0;
  int ListShift() const override { return RepShift(); }
  unsigned HitMask(int draw_idx, bool sorted) const override;
};

// The number of positions at which draw draw_idx equals draw draw_idx - RepGap moved by RepShift.
class TCustomRepCount2Stat : public TCustomRepCountStat {
 public:
  using TCustomRepCountStat::TCustomRepCountStat;
  virtual int32_t RepShift() const = 0;
  virtual int32_t RepGap() const = 0;
  unsigned HitMask(int draw_idx, bool sorted) const override;
  unsigned CombHitMask(lottery::TComb comb, int last_idx, bool sorted) const override;
};

template <int Shift, int Gap>
class TRepValues2Of : public TCustomRepValues2Stat {
 public:
  using TCustomRepValues2Stat::TCustomRepValues2Stat;
  int32_t RepShift() const override { return Shift; }
  int32_t RepGap() const override { return Gap; }
};
template <int Shift, int Gap>
class TRepCount2Of : public TCustomRepCount2Stat {
 public:
  using TCustomRepCount2Stat::TCustomRepCount2Stat;
  int32_t RepShift() const override { return Shift; }
  int32_t RepGap() const override { return Gap; }
};

using TstRepValues2 = TRepValues2Of<0, 1>;       // "RPV2"
using TstRepValues2over1 = TRepValues2Of<0, 2>;  // "PRV2O1"
using TstRepValues2over2 = TRepValues2Of<0, 3>;  // "PRV2O2"
using TstRepValues2over3 = TRepValues2Of<0, 4>;  // "PRV2O3"
using TstRepValues2P1 = TRepValues2Of<1, 1>;     // "PRV+1"
using TstRepValues2N1 = TRepValues2Of<-1, 1>;    // "PRV-1"
using TstRepValues2P2 = TRepValues2Of<2, 1>;     // "PRV+2"
using TstRepValues2N2 = TRepValues2Of<-2, 1>;    // "PRV-2"
using TstRepCount2 = TRepCount2Of<0, 1>;         // "RPC2"
using TstRepCount2over1 = TRepCount2Of<0, 2>;    // "RPO1"
using TstRepCount2over2 = TRepCount2Of<0, 3>;    // "PRC2O2"
using TstRepCount2over3 = TRepCount2Of<0, 4>;    // "PRC2O3"
using TstRepCount2P1 = TRepCount2Of<1, 1>;       // "PRC+1"
using TstRepCount2N1 = TRepCount2Of<-1, 1>;      // "PRC-1"
using TstRepCount2P2 = TRepCount2Of<2, 1>;       // "PRC+2"
using TstRepCount2N2 = TRepCount2Of<-2, 1>;      // "PRC-2"

// "RPV3": equal in the draw, the two before it and the window's last draw.
class TstRepValues3 : public TCustomRepValuesStat {
 public:
  using TCustomRepValuesStat::TCustomRepValuesStat;
  int ListShift() const override { return 0; }
  unsigned HitMask(int draw_idx, bool sorted) const override;
};
// "PRL2": equal in the draw, the one before and the window's last draw, but not two before.
class TstRepValues2B3 : public TCustomRepValuesStat {
 public:
  using TCustomRepValuesStat::TCustomRepValuesStat;
  int ListShift() const override { return 0; }
  unsigned HitMask(int draw_idx, bool sorted) const override;
};
// "RPC3": equal in the draw and the two before it.
class TstRepCount3 : public TCustomRepCountStat {
 public:
  using TCustomRepCountStat::TCustomRepCountStat;
  unsigned HitMask(int draw_idx, bool sorted) const override;
  unsigned CombHitMask(lottery::TComb comb, int last_idx, bool sorted) const override;
};
// "PRB2": equal in the draw and the one before, but not two before.
class TstRepCount2B3 : public TCustomRepCountStat {
 public:
  using TCustomRepCountStat::TCustomRepCountStat;
  unsigned HitMask(int draw_idx, bool sorted) const override;
  unsigned CombHitMask(lottery::TComb comb, int last_idx, bool sorted) const override;
};

// The family's classes with their ordinals (43..62).
std::span<const TStatClass* const> RepeatClasses();

}  // namespace kelmora::stats
