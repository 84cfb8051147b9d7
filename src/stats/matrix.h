#pragma once
// Matrix statistics (group 4): the matrix column and row of each value. This game places every
// value in column 0 and value v in row v - 6, whatever MatrixCols says, so only the pair and triple
// combinations of columns and rows are available; the other matrix members never enter the
// registry and are left out.

#include <span>

#include "stats/unit_combinations.h"

namespace kelmora::stats {

// The column or row combinations of every pair or triple of positions (Mix) or of neighbouring
// positions (Seq).
class TCustomMatrixCombStat : public TUnitTupleStat<TCustomMatrixStat> {
 public:
  TCustomMatrixCombStat(const TStatList& list, const TStatClass& cls, int32_t index, TUnitMap map, int size,
                        bool neighbours)
      : TUnitTupleStat(list, cls, index, map, size, neighbours) {}
};
template <bool Rows, int Size, bool Neighbours>
class TstCombMatrix : public TCustomMatrixCombStat {
 public:
  TstCombMatrix(const TStatList& list, const TStatClass& cls, int32_t index)
      : TCustomMatrixCombStat(list, cls, index, Rows ? MatrixRowUnits() : MatrixColumnUnits(), Size, Neighbours) {}
};
using TstCombColMix2 = TstCombMatrix<false, 2, false>;  // "KFM2"
using TstCombColMix3 = TstCombMatrix<false, 3, false>;  // "KFM3"
using TstCombColSeq2 = TstCombMatrix<false, 2, true>;   // "KFS2"
using TstCombColSeq3 = TstCombMatrix<false, 3, true>;   // "KFS3"
using TstCombRowMix2 = TstCombMatrix<true, 2, false>;   // "KRM2"
using TstCombRowMix3 = TstCombMatrix<true, 3, false>;   // "KRM3"
using TstCombRowSeq2 = TstCombMatrix<true, 2, true>;    // "KRS2"
using TstCombRowSeq3 = TstCombMatrix<true, 3, true>;    // "KRS3"

// The family's available classes with their ordinals (84, 85, 87, 88, 90, 91, 93, 94).
std::span<const TStatClass* const> MatrixClasses();

}  // namespace kelmora::stats
