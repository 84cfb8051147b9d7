#include "stats/segments.h"

#include <algorithm>
#include <array>

#include "stats/stat_list.h"

namespace kelmora::stats {

namespace {

TUnitMap SegmentsOf(const TStatList& list) { return SegmentUnits(list.Config().MatrixSegments); }

TIndexRange SegmentIndexes(const TStatList& list) { return SegmentIndexRange(list.Config().MatrixSegments); }

constexpr uint8_t N = FlagNorm;
constexpr uint8_t S = FlagShown;
constexpr int NotListed = -1;

const TStatClass SegmentsClass{.Ordinal = 37, .ClassName = "TstSegments", .CodeFormat = "SGMS",
                               .CaptionFormat = "Сегменты матрицы", .Group = 5, .Flags = N,
                               .Create = &CreateStatOf<TstSegments>};
const TStatClass SegmValuesClass{.Ordinal = 38, .ClassName = "TstSegmValues", .CodeFormat = "SGMV",
                                 .CaptionFormat = "Количество чисел в сегменте матрицы", .Group = 5, .Flags = N,
                                 .CanSelectByList = false, .Create = &CreateStatOf<TstSegmValues>};
const TStatClass SegmCountClass{.Ordinal = 39, .ClassName = "TstSegmCount", .CodeFormat = "SGMC",
                                .CaptionFormat = "Количество не пустых сегментов в матрице", .Group = 5,
                                .Flags = N, .IsGraph = true, .Create = &CreateStatOf<TstSegmCount>};
const TStatClass CombSegmMix2Class{.Ordinal = 96, .ClassName = "TstCombSegmMix2", .CodeFormat = "KGM2",
                                   .CaptionFormat = "Сочетания из 2 сегментов по всем числам тиража", .Group = 5,
                                   .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombSegmMix2>};
const TStatClass CombSegmMix3Class{.Ordinal = 97, .ClassName = "TstCombSegmMix3", .CodeFormat = "KGM3",
                                   .CaptionFormat = "Сочетания из 3 сегментов по всем числам тиража", .Group = 5,
                                   .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombSegmMix3>};
const TStatClass CombSegmSeq2Class{.Ordinal = 99, .ClassName = "TstCombSegmSeq2", .CodeFormat = "KGS2",
                                   .CaptionFormat = "Сочетания из 2 сегментов по соседним числам", .Group = 5,
                                   .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombSegmSeq2>};
const TStatClass CombSegmSeq3Class{.Ordinal = 100, .ClassName = "TstCombSegmSeq3", .CodeFormat = "KGS3",
                                   .CaptionFormat = "Сочетания из 3 сегментов по соседним числам", .Group = 5,
                                   .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombSegmSeq3>};
const TStatClass SgmValCntClass{.Ordinal = 107, .ClassName = "TstSgmValCnt", .CodeFormat = "SGM%d",
                                .CaptionFormat = "Количество чисел в %0:d сегменте матрицы",
                                .HelpTopicFormat = "SGMx", .Group = 5, .Flags = N, .IsGraph = true,
                                .IsIndexed = true, .IndexRange = &SegmentIndexes,
                                .Create = &CreateStatOf<TstSgmValCnt>};

constexpr std::array<const TStatClass*, 8> Classes = {&SegmentsClass,     &SegmValuesClass,   &SegmCountClass,
                                                      &CombSegmMix2Class, &CombSegmMix3Class, &CombSegmSeq2Class,
                                                      &CombSegmSeq3Class, &SgmValCntClass};

}  // namespace

std::span<const TStatClass* const> SegmentClasses() { return Classes; }

TIndexRange SegmentIndexRange(const lottery::TMatrixSegments& segments) {
  TIndexRange range{9, 1};
  for (const auto& row : segments) {
    for (uint8_t digit : row) {
      range.Min = std::min<int32_t>(range.Min, digit);
      range.Max = std::max<int32_t>(range.Max, digit);
    }
  }
  return range;
}

TstSegments::TstSegments(const TStatList& list, const TStatClass& cls, int32_t index)
    : TUnitValuesStat(list, cls, index, SegmentsOf(list)) {}
TstSegmValues::TstSegmValues(const TStatList& list, const TStatClass& cls, int32_t index)
    : TUnitCountsStat(list, cls, index, SegmentsOf(list), NotListed) {}
TstSegmCount::TstSegmCount(const TStatList& list, const TStatClass& cls, int32_t index)
    : TUnitSpreadStat(list, cls, index, SegmentsOf(list), NotListed) {}
TstSgmValCnt::TstSgmValCnt(const TStatList& list, const TStatClass& cls, int32_t index)
    : TUnitIndexCountStat(list, cls, index, SegmentsOf(list), NotListed) {}
TCustomSegmCombStat::TCustomSegmCombStat(const TStatList& list, const TStatClass& cls, int32_t index, int size,
                                         bool neighbours)
    : TUnitTupleStat(list, cls, index, SegmentsOf(list), size, neighbours) {}

}  // namespace kelmora::stats
