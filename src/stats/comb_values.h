#pragma once
// Combination-value statistics (group 0): the pairs, triples and quadruples of card values that
// came out together in one draw, by any positions, adjacent positions, a fixed stretch of
// positions, or adjacent values after sorting. A row is a tuple such as 7:J; the filter keeps the
// combinations that form one of the selected tuples in the same arrangement.

#include <array>
#include <span>

#include "stats/custom_stat.h"

namespace kelmora::stats {

// How the tuples of four values are formed.
enum class CombTupleKind : uint8_t {
  Mix,       // every choice of positions i < j (< k)
  Adjacent,  // adjacent positions
  Stretch,   // the positions Index .. Index + size - 1
  Sorted,    // adjacent values of the four sorted ascending
};

// Up to six tuples of up to four values, in the order they are added.
struct TCombTuples {
  std::array<std::array<uint8_t, 4>, 6> Tuple{};
  int Count = 0;
};

// The tuples of `comb` for the kind, tuple size (2..4) and start position (Stretch only, 1-based;
// none when the stretch leaves the four positions).
TCombTuples CombTuplesOf(lottery::TComb comb, CombTupleKind kind, int size, int start);

// Keys Key1..Key<size> hold a tuple; the row text is the card texts joined with ":". No values
// listed in advance, no norm; the rows cannot be picked from a list.
class TCustomCombValuesStat : public TCustomStat {
 public:
  TCustomCombValuesStat(const TStatList& list, const TStatClass& cls, int32_t index, CombTupleKind kind, int size);

  std::string ValueText(const TStatDrawItem& item) const override;
  // Every tuple of the draw, a tuple twice in one draw added twice.
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  // Whether a tuple of the combination (as written; sorted for the sorted kind) is a selected row.
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;

 private:
  CombTupleKind kind_;
  int size_;
};

// The members: one class per kind and size, named as in the system.
template <CombTupleKind Kind, int Size>
class TCombValuesStatOf : public TCustomCombValuesStat {
 public:
  TCombValuesStatOf(const TStatList& list, const TStatClass& cls, int32_t index)
      : TCustomCombValuesStat(list, cls, index, Kind, Size) {}
};
using TstCombValMix2 = TCombValuesStatOf<CombTupleKind::Mix, 2>;          // "KNM2"
using TstCombValMix3 = TCombValuesStatOf<CombTupleKind::Mix, 3>;          // "KNM3"
using TstCombValMix4 = TCombValuesStatOf<CombTupleKind::Mix, 4>;          // "KNM4", never available
using TstCombValSeq2 = TCombValuesStatOf<CombTupleKind::Adjacent, 2>;     // "KNS2"
using TstCombValSeq3 = TCombValuesStatOf<CombTupleKind::Adjacent, 3>;     // "KNS3"
using TstCombValSeq4 = TCombValuesStatOf<CombTupleKind::Adjacent, 4>;     // "KNS4", never available
using TstCombValPos2 = TCombValuesStatOf<CombTupleKind::Stretch, 2>;      // "KNP2%d", 1..3
using TstCombValPos3 = TCombValuesStatOf<CombTupleKind::Stretch, 3>;      // "KNP3%d", 1..2
using TstCombValPos4 = TCombValuesStatOf<CombTupleKind::Stretch, 4>;      // "KNP4%d", 1..1
using TstCombValSort2 = TCombValuesStatOf<CombTupleKind::Sorted, 2>;      // "KNO2"
using TstCombValSort3 = TCombValuesStatOf<CombTupleKind::Sorted, 3>;      // "KNO3"
using TstCombValSort4 = TCombValuesStatOf<CombTupleKind::Sorted, 4>;      // "KNO4", never available

// The family's classes with their ordinals (63..74).
std::span<const TStatClass* const> CombValueClasses();

}  // namespace kelmora::stats
