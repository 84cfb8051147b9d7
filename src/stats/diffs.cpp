#include "stats/diffs.h"

#include <algorithm>
#include <cstdlib>

#include <fmt/format.h>


namespace kelmora::stats {

namespace {

using lottery::CombValue;

// The distinct differences of d1..d3 in order of first appearance with their multiplicity.
struct TSameDiffs {
  int Count = 0;
  std::array<uint8_t, 3> Diff{};
  std::array<uint8_t, 3> Times{};
};
TSameDiffs SameDiffs(lottery::TComb comb) {
  TSameDiffs same;
  for (uint8_t d : NeighbourDiffs(comb)) {
    int i = 0;
    while (i < same.Count && same.Diff[static_cast<size_t>(i)] != d) ++i;
    if (i == same.Count) same.Diff[static_cast<size_t>(same.Count++)] = d;
    ++same.Times[static_cast<size_t>(i)];
  }
  return same;
}

constexpr uint8_t N = FlagNorm;
constexpr uint8_t S = FlagShown;
constexpr uint8_t SN = FlagShown | FlagNorm;

const TStatClass DiffTotalClass{.Ordinal = 17, .ClassName = "TstDiffTotal", .CodeFormat = "DIFA",
                                .CaptionFormat = "Все разности между соседними позициями", .Group = 2, .Flags = SN,
                                .Create = &CreateStatOf<TstDiffTotal>};
const TStatClass DiffMaxClass{.Ordinal = 18, .ClassName = "TstDiffMax", .CodeFormat = "DIFM",
                              .CaptionFormat = "Максимальная разность между соседними позициями", .Group = 2,
                              .Flags = SN, .IsGraph = true, .Create = &CreateStatOf<TstDiffMax>};
const TStatClass MinMaxDiffsClass{.Ordinal = 19, .ClassName = "TstMinMaxDiffs", .CodeFormat = "DIFD",
                                  .CaptionFormat = "Разность между минимальным и максимальным числом", .Group = 2,
                                  .Flags = N, .IsGraph = true, .Create = &CreateStatOf<TstMinMaxDiffs>};
const TStatClass DiffSameClass{.Ordinal = 20, .ClassName = "TstDiffSame", .CodeFormat = "DIFO",
                               .CaptionFormat = "Одинаковые разности между соседними позициями", .Group = 2,
                               .Flags = SN, .CanSelectByList = false, .Create = &CreateStatOf<TstDiffSame>};
const TStatClass DiffSameCntClass{.Ordinal = 21, .ClassName = "TstDiffSameCnt", .CodeFormat = "DIFK",
                                  .CaptionFormat = "Количество одинаковых разностей между соседними позициями",
                                  .Group = 2, .Flags = SN, .IsGraph = true, .Create = &CreateStatOf<TstDiffSameCnt>};
const TStatClass CombDiffSeq2Class{.Ordinal = 75, .ClassName = "TstCombDiffSeq2", .CodeFormat = "KDS2",
                                   .CaptionFormat = "Сочетания из 2 разностей между числами", .Group = 2, .Flags = S,
                                   .CanSelectByList = false, .Create = &CreateStatOf<TstCombDiffSeq2>};
const TStatClass CombDiffSeq3Class{.Ordinal = 76, .ClassName = "TstCombDiffSeq3", .CodeFormat = "KDS3",
                                   .CaptionFormat = "Сочетания из 3 разностей между числами", .Group = 2, .Flags = S,
                                   .CanSelectByList = false, .Create = &CreateStatOf<TstCombDiffSeq3>};

constexpr std::array<const TStatClass*, 7> Classes = {&DiffTotalClass,   &DiffMaxClass,     &MinMaxDiffsClass,
                                                      &DiffSameClass,    &DiffSameCntClass, &CombDiffSeq2Class,
                                                      &CombDiffSeq3Class};

}  // namespace

std::span<const TStatClass* const> DiffClasses() { return Classes; }

std::array<uint8_t, 3> NeighbourDiffs(lottery::TComb comb) {
  std::array<uint8_t, 3> d{};
  for (int i = 0; i < 3; ++i) {
    d[static_cast<size_t>(i)] = static_cast<uint8_t>(std::abs(CombValue(comb, i) - CombValue(comb, i + 1)));
  }
  return d;
}

// --- DIFA ---

void TstDiffTotal::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  for (uint16_t d = 1; d <= 7; ++d) {
    item_.Key1 = d;
    AddOccurrence(values, item_, false);
  }
}

void TstDiffTotal::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                                 TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  bool first = true;
  for (uint8_t d : NeighbourDiffs(cur_draw_.Values)) {
    item_.Key1 = d;
    AddOccurrence(values, item_, first);
    first = false;
  }
}

void TstDiffTotal::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  for (uint8_t d : NeighbourDiffs(comb)) {
    item_.Key1 = d;
    AddOccurrence(values, item_, false);
  }
}

bool TstDiffTotal::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  for (uint8_t d : NeighbourDiffs(comb)) {
    if (FindKey(selected, 1, d)) return true;
  }
  return false;
}

// --- DIFM, DIFD, DIFK ---

void TCustomDiffNumberStat::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  for (int n = 1; n <= ListedMax(); ++n) {
    item_.Key1 = static_cast<uint16_t>(n);
    AddOccurrence(values, item_, false);
  }
}

void TCustomDiffNumberStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                          TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  item_.Key1 = static_cast<uint16_t>(NumberOf(cur_draw_.Values));
  AddOccurrence(values, item_, true);
}

void TCustomDiffNumberStat::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  item_.Key1 = static_cast<uint16_t>(NumberOf(comb));
  AddOccurrence(values, item_, false);
}

bool TCustomDiffNumberStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  return FindKey(selected, 1, static_cast<uint16_t>(NumberOf(comb)));
}

int32_t TCustomDiffNumberStat::GraphValue(lottery::TComb comb, int, int, bool) { return NumberOf(comb); }

int32_t TstDiffMax::NumberOf(lottery::TComb comb) const {
  const auto d = NeighbourDiffs(comb);
  return *std::max_element(d.begin(), d.end());
}

int32_t TstMinMaxDiffs::NumberOf(lottery::TComb comb) const {
  int lo = CombValue(comb, 0);
  int hi = lo;
  for (int p = 1; p < lottery::PositionCount; ++p) {
    lo = std::min<int>(lo, CombValue(comb, p));
    hi = std::max<int>(hi, CombValue(comb, p));
  }
  return hi - lo;
}

int32_t TstDiffSameCnt::NumberOf(lottery::TComb comb) const {
  const TSameDiffs same = SameDiffs(comb);
  return *std::max_element(same.Times.begin(), same.Times.begin() + same.Count);
}

// --- DIFO ---

std::string TstDiffSame::ValueText(const TStatDrawItem& item) const {
  return fmt::format("{} x {}", item.Key1, item.Key2);
}

void TstDiffSame::AddSame(lottery::TComb comb, TStatDrawArray& values, bool track_periods) {
  const TSameDiffs same = SameDiffs(comb);
  for (int i = 0; i < same.Count; ++i) {
    item_.Key1 = same.Diff[static_cast<size_t>(i)];
    item_.Key2 = same.Times[static_cast<size_t>(i)];
    AddOccurrence(values, item_, track_periods);
  }
}

void TstDiffSame::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                                TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  AddSame(cur_draw_.Values, values, true);
}

void TstDiffSame::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  AddSame(comb, values, false);
}

bool TstDiffSame::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  const TSameDiffs same = SameDiffs(comb);
  for (int i = 0; i < same.Count; ++i) {
    if (FindKeys(selected, same.Diff[static_cast<size_t>(i)], same.Times[static_cast<size_t>(i)], 0, 0)) return true;
  }
  return false;
}

// --- KDS2, KDS3: the neighbouring tuples of the unit mechanism, over the three differences ---

TCustomDiffSeqStat::TCustomDiffSeqStat(const TStatList& list, const TStatClass& cls, int32_t index, int size)
    : TCustomStat(list, cls, index), tuples_(MakeUnitTuples(3, size, true)) {}

std::string TCustomDiffSeqStat::ValueText(const TStatDrawItem& item) const { return UnitTupleText(item, tuples_.Size); }

void TCustomDiffSeqStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                       TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  const auto d = NeighbourDiffs(cur_draw_.Values);
  AddUnitTuples(d, tuples_, item_, values, true, true);
}

bool TCustomDiffSeqStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  const auto d = NeighbourDiffs(comb);
  return UnitTuplesMatch(d, tuples_, selected);
}

}  // namespace kelmora::stats
