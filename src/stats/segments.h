#pragma once
// Segment statistics (group 5): the user's table MatrixSegments gives every (position, value) cell
// a segment digit, and a draw is described by the segments its four cells fall into. Each object
// copies the table at creation. Sorted draws look their moved values up in the rows of the
// positions they were moved to.

#include <span>

#include "stats/unit_combinations.h"

namespace kelmora::stats {

// "SGMS": each position's segment; rows are the table's digits in order of first appearance.
class TstSegments : public TUnitValuesStat<TCustomSegmentsStat> {
 public:
  TstSegments(const TStatList& list, const TStatClass& cls, int32_t index);
};

// "SGMV": (segment, positions in it) for every digit of the table, none listed.
class TstSegmValues : public TUnitCountsStat<TCustomSegmentsStat> {
 public:
  TstSegmValues(const TStatList& list, const TStatClass& cls, int32_t index);
};

// "SGMC": the number of different segments, none listed.
class TstSegmCount : public TUnitSpreadStat<TCustomSegmentsGraphStat> {
 public:
  TstSegmCount(const TStatList& list, const TStatClass& cls, int32_t index);
};

// "SGM%d": the number of positions in segment Index, none listed.
class TstSgmValCnt : public TUnitIndexCountStat<TCustomSegmentsGraphStat> {
 public:
  TstSgmValCnt(const TStatList& list, const TStatClass& cls, int32_t index);
};

// The segment combinations of every pair or triple of positions (Mix) or of neighbouring ones (Seq).
class TCustomSegmCombStat : public TUnitTupleStat<TCustomSegmentsStat> {
 public:
  TCustomSegmCombStat(const TStatList& list, const TStatClass& cls, int32_t index, int size, bool neighbours);
};
template <int Size, bool Neighbours>
class TstCombSegm : public TCustomSegmCombStat {
 public:
  TstCombSegm(const TStatList& list, const TStatClass& cls, int32_t index)
      : TCustomSegmCombStat(list, cls, index, Size, Neighbours) {}
};
using TstCombSegmMix2 = TstCombSegm<2, false>;  // "KGM2"
using TstCombSegmMix3 = TstCombSegm<3, false>;  // "KGM3"
using TstCombSegmSeq2 = TstCombSegm<2, true>;   // "KGS2"
using TstCombSegmSeq3 = TstCombSegm<3, true>;   // "KGS3"

// The SGM%d indexes: from the smallest to the largest digit of the table, starting from (9, 1),
// so a table of 0s alone still gives 0..1.
TIndexRange SegmentIndexRange(const lottery::TMatrixSegments& segments);

// The family's available classes with their ordinals (37..39, 96, 97, 99, 100, 107); the
// four-of-four members are never available and are left out.
std::span<const TStatClass* const> SegmentClasses();

}  // namespace kelmora::stats
