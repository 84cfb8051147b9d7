#include "stats/sums.h"

#include <array>

#include <fmt/format.h>

#include "stats/numbers.h"
#include "stats/stat_list.h"

namespace kelmora::stats {

namespace {

using lottery::CombValue;
using lottery::PositionCount;

struct TSumRange {
  int32_t First;
  int32_t Last;
  int CaptionA;  // the two fixed numbers of the caption
  int CaptionB;
};
constexpr std::array<TSumRange, 3> SumRanges = {{{35, 49, 1, 3}, {37, 47, 1, 2}, {38, 46, 2, 3}}};

const TSumRange* RangeOf(int32_t index) {
  return index >= 1 && index <= 3 ? &SumRanges[static_cast<size_t>(index - 1)] : nullptr;
}

int32_t SumWhere(lottery::TComb comb, bool (*keep)(int value)) {
  int32_t sum = 0;
  for (int p = 0; p < PositionCount; ++p) {
    const int v = CombValue(comb, p);
    if (keep(v)) sum += v;
  }
  return sum;
}

int32_t Direction(int32_t from, int32_t to) { return to == from ? 0 : to > from ? 1 : -1; }

// The sums the "D" members compare: of the previous draw (all zero before the first draw), of the
// draw itself and of the window's last draw.
struct TSumStep {
  int32_t Prev;
  int32_t Cur;
  int32_t Ref;
};
TSumStep SumStep(const TCustomStat& stat, int draw_idx) {
  return {CombSum(stat.GetDraw(draw_idx - 1, false).Values), CombSum(stat.CurDraw().Values),
          CombSum(stat.RefDraw().Values)};
}

std::string SumRangesCaption(int32_t index) {
  const TSumRange* r = RangeOf(index);
  return fmt::format("Сумма тиража: диапазон {} ({}/{})", index, r ? r->CaptionA : 0, r ? r->CaptionB : 0);
}

TIndexRange SumRangesIndexes(const TStatList&) { return {1, 3}; }

constexpr uint8_t N = FlagNorm;
constexpr uint8_t D = FlagDepends;

const TStatClass SumValuesClass{.Ordinal = 9, .ClassName = "TstSumValues", .CodeFormat = "SUMS",
                                .CaptionFormat = "Сумма тиража: все значения", .Group = 1, .Flags = N,
                                .IsGraph = true, .Create = &CreateStatOf<TstSumValues>};
const TStatClass SumRangesClass{.Ordinal = 10, .ClassName = "TstSumRanges", .CodeFormat = "SUM%d",
                                .CaptionFormat = "Сумма тиража: диапазон %d (%d/%d)", .Group = 1, .Flags = N,
                                .IsGraph = true, .CanSelectByList = false, .IsIndexed = true,
                                .IndexRange = &SumRangesIndexes, .Create = &CreateStatOf<TstSumRanges>,
                                .CaptionOf = &SumRangesCaption};
const TStatClass SumChangeClass{.Ordinal = 11, .ClassName = "TstSumChange", .CodeFormat = "SUMC",
                                .CaptionFormat = "Сумма тиража: изменения (точно)", .Group = 1, .Flags = D,
                                .IsGraph = true, .CanSelectByList = false, .Create = &CreateStatOf<TstSumChange>};
const TStatClass SumChangeSomeClass{.Ordinal = 12, .ClassName = "TstSumChangeSome", .CodeFormat = "SUMV",
                                    .CaptionFormat = "Сумма тиража: изменения (диапазон)", .Group = 1, .Flags = D,
                                    .CanSelectByList = false, .Create = &CreateStatOf<TstSumChangeSome>};
const TStatClass SumTrendClass{.Ordinal = 13, .ClassName = "TstSumTrend", .CodeFormat = "SUMT",
                               .CaptionFormat = "Сумма тиража: направление изменения", .Group = 1, .Flags = D,
                               .IsGraph = true, .CanSelectByList = false, .Create = &CreateStatOf<TstSumTrend>};
const TStatClass SumEvenClass{.Ordinal = 14, .ClassName = "TstSumEvenValues", .CodeFormat = "SUME",
                              .CaptionFormat = "Сумма тиража: только четные", .Group = 1, .Flags = N,
                              .IsGraph = true, .Create = &CreateStatOf<TstSumEvenValues>};
const TStatClass SumPrimeClass{.Ordinal = 15, .ClassName = "TstSumPrimeValues", .CodeFormat = "SUMP",
                               .CaptionFormat = "Сумма тиража: только простые", .Group = 1, .Flags = N,
                               .IsGraph = true, .Create = &CreateStatOf<TstSumPrimeValues>};
const TStatClass Sum2To3Class{.Ordinal = 16, .ClassName = "TstSum2To3", .CodeFormat = "S2T3",
                              .CaptionFormat = "Сумма двух чисел тиража равна третьему числу", .Group = 1,
                              .Flags = N, .IsGraph = true, .Create = &CreateStatOf<TstSum2To3>};

constexpr std::array<const TStatClass*, 8> Classes = {&SumValuesClass, &SumRangesClass, &SumChangeClass,
                                                      &SumChangeSomeClass, &SumTrendClass, &SumEvenClass,
                                                      &SumPrimeClass, &Sum2To3Class};

}  // namespace

std::span<const TStatClass* const> SumClasses() { return Classes; }

int32_t CombSum(lottery::TComb comb) {
  return SumWhere(comb, [](int) { return true; });
}

// --- SUMS, SUME, SUMP ---

void TCustomSumStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                                   TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  item_.SetKeyDword(1, SumOf(cur_draw_.Values));
  AddOccurrence(values, item_, true);
}

void TCustomSumStat::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  item_.SetKeyDword(1, SumOf(comb));
  AddOccurrence(values, item_, false);
}

bool TCustomSumStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  return FindKeyPair(selected, static_cast<uint16_t>(SumOf(comb)), 0);
}

int32_t TCustomSumStat::GraphValue(lottery::TComb comb, int, int, bool) { return SumOf(comb); }

void TstSumValues::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  for (int32_t sum = lottery::SumMin; sum <= lottery::SumMax; ++sum) {
    item_.SetKeyDword(1, sum);
    AddOccurrence(values, item_, false);
  }
}

int32_t TstSumValues::SumOf(lottery::TComb comb) const { return CombSum(comb); }
int32_t TstSumEvenValues::SumOf(lottery::TComb comb) const {
  return SumWhere(comb, [](int v) { return (v & 1) == 0; });
}
int32_t TstSumPrimeValues::SumOf(lottery::TComb comb) const { return SumWhere(comb, &IsPrimeValue); }

// --- SUM%d ---

int32_t TstSumRanges::InRange(lottery::TComb comb) const {
  const TSumRange* r = RangeOf(index_);
  const int32_t sum = CombSum(comb);
  return r && sum >= r->First && sum <= r->Last ? 1 : 0;
}

std::string TstSumRanges::ValueText(const TStatDrawItem& item) const {
  const TSumRange* r = RangeOf(index_);
  if (item.Key1 == 1 && r) return fmt::format("{}-{}", r->First, r->Last);
  return "Остальные";
}

void TstSumRanges::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  for (uint16_t v = 0; v <= 1; ++v) {
    item_.Key1 = v;
    AddOccurrence(values, item_, false);
  }
}

void TstSumRanges::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                                 TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  item_.Key1 = static_cast<uint16_t>(InRange(cur_draw_.Values));
  AddOccurrence(values, item_, true);
}

void TstSumRanges::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  item_.Key1 = static_cast<uint16_t>(InRange(comb));
  AddOccurrence(values, item_, false);
}

bool TstSumRanges::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  const bool in = InRange(comb) == 1;
  return FindKey(selected, 1, 1) ? in : !in;
}

int32_t TstSumRanges::GraphValue(lottery::TComb comb, int, int, bool) { return InRange(comb); }

// --- SUMC ---

std::string TstSumChange::ValueText(const TStatDrawItem& item) const {
  const int32_t p = item.KeyDword(1);
  const int32_t c = item.KeyDword(2);
  if (p <= c) return fmt::format("+{0:02d} : {1} + {0} = {2}", c - p, p, c);
  return fmt::format("- {0:02d} : {1} - {0} = {2}", p - c, p, c);
}

void TstSumChange::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                                 TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  const TSumStep s = SumStep(*this, draw_idx);
  if (s.Prev != s.Ref) return;
  item_.SetKeyDword(1, s.Prev);
  item_.SetKeyDword(2, s.Cur);
  AddOccurrence(values, item_, true);
}

bool TstSumChange::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  return FindKeyDword(selected, 2, CombSum(comb));
}

int32_t TstSumChange::GraphValue(lottery::TComb comb, int draw_idx, int, bool) {
  return CombSum(comb) - CombSum(GetDraw(draw_idx - 1, false).Values);
}

// --- SUMV ---

std::string TstSumChangeSome::ValueText(const TStatDrawItem& item) const {
  const int32_t d = item.KeyDword(1);
  return d >= 0 ? fmt::format("+{:02d}", d) : fmt::format("- {:02d}", -d);
}

void TstSumChangeSome::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                     TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  const TSumStep s = SumStep(*this, draw_idx);
  if (s.Ref < s.Prev - lottery::SumTolerance || s.Ref > s.Prev + lottery::SumTolerance) return;
  item_.SetKeyDword(1, s.Cur - s.Prev);
  AddOccurrence(values, item_, true);
}

bool TstSumChangeSome::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                                   bool) {
  FetchDraws(last_idx, last_idx, sorted);
  return FindKeyDword(selected, 1, CombSum(comb) - CombSum(ref_draw_.Values));
}

// --- SUMT ---

std::string TstSumTrend::ValueText(const TStatDrawItem& item) const {
  const int32_t d = item.KeyDword(1);
  return d == 0 ? "=" : d > 0 ? "+" : "-";
}

void TstSumTrend::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  for (int32_t d : {0, 1, -1}) {
    item_.SetKeyDword(1, d);
    AddOccurrence(values, item_, false);
  }
}

void TstSumTrend::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                                TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  const TSumStep s = SumStep(*this, draw_idx);
  if (s.Prev != s.Ref) return;
  item_.SetKeyDword(1, Direction(s.Prev, s.Cur));
  AddOccurrence(values, item_, true);
}

bool TstSumTrend::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted, bool) {
  FetchDraws(last_idx, last_idx, sorted);
  return FindKeyDword(selected, 1, Direction(CombSum(ref_draw_.Values), CombSum(comb)));
}

int32_t TstSumTrend::GraphValue(lottery::TComb comb, int draw_idx, int, bool) {
  return Direction(CombSum(GetDraw(draw_idx - 1, false).Values), CombSum(comb));
}

// --- S2T3 ---

int32_t TstSum2To3::CountOf(lottery::TComb comb) {
  int32_t n = 0;
  for (int i = 0; i < PositionCount; ++i) {
    for (int j = 0; j < PositionCount; ++j) {
      for (int k = j + 1; k < PositionCount; ++k) {
        if (j != i && k != i && CombValue(comb, j) + CombValue(comb, k) == CombValue(comb, i)) ++n;
      }
    }
  }
  return n;
}

void TstSum2To3::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                               TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  item_.Key1 = static_cast<uint16_t>(CountOf(cur_draw_.Values));
  AddOccurrence(values, item_, true);
}

void TstSum2To3::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  item_.Key1 = static_cast<uint16_t>(CountOf(comb));
  AddOccurrence(values, item_, false);
}

bool TstSum2To3::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  return FindKey(selected, 1, static_cast<uint16_t>(CountOf(comb)));
}

int32_t TstSum2To3::GraphValue(lottery::TComb comb, int, int, bool) { return CountOf(comb); }

}  // namespace kelmora::stats
