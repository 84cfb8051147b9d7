#include "stats/shredding.h"

#include <algorithm>
#include <array>

#include "stats/stat_list.h"

namespace kelmora::stats {

namespace {

using lottery::CombValue;
using lottery::PositionCount;

TIndexRange SlotRange(const TStatList&) { return {1, 3}; }

std::string_view SlotFormula(const TStatList& list, int32_t index) {
  if (index < 1 || index > 3) return {};
  return list.Shredding().Formula[static_cast<size_t>(index - 1)];
}

// Up to 9 digits, so that every value fits the 32-bit key; a hand-edited larger count is cut.
int32_t SlotDigits(const TStatList& list, int32_t index) {
  if (index < 1 || index > 3) return 0;
  return std::min<int32_t>(list.Shredding().Digits[static_cast<size_t>(index - 1)], 9);
}

const TStatClass ShreddingClass{.Ordinal = 143, .ClassName = "TstShreddingStat", .CodeFormat = "SHR%d",
                                .CaptionFormat = "Метод шинковки %0:d: %%s", .HelpTopicFormat = "SHRx",
                                .Group = 12, .Flags = FlagShown | FlagNorm, .IsGraph = true,
                                .IsIndexed = true, .IndexRange = &SlotRange,
                                .Create = &CreateStatOf<TstShreddingStat>};

constexpr std::array<const TStatClass*, 1> Classes = {&ShreddingClass};

}  // namespace

std::span<const TStatClass* const> ShreddingClasses() { return Classes; }

TstShreddingStat::TstShreddingStat(const TStatList& list, const TStatClass& cls, int32_t index)
    : TCustomGraphStat(list, cls, index), formula_(SlotFormula(list, index)), digits_(SlotDigits(list, index)) {}

std::string TstShreddingStat::ValueText(const TStatDrawItem& item) const {
  return std::to_string(static_cast<uint32_t>(item.KeyDword(1)));
}

int32_t TstShreddingStat::Shred(lottery::TComb n, lottery::TComb p, lottery::TComb t) {
  TFormulaValues values{};
  for (int i = 0; i < PositionCount; ++i) {
    values[static_cast<size_t>(i)] = CombValue(n, i);
    values[static_cast<size_t>(4 + i)] = CombValue(p, i);
    values[static_cast<size_t>(8 + i)] = CombValue(t, i);
  }
  const auto result = formula_.Evaluate(values);
  return result ? ShredFraction(*result, digits_) : 0;
}

void TstShreddingStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                     TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  item_.SetKeyDword(1, Shred(cur_draw_.Values, GetDraw(draw_idx - 1, sorted).Values,
                             GetDraw(draw_idx - 2, sorted).Values));
  AddOccurrence(values, item_, true);
}

void TstShreddingStat::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  item_.SetKeyDword(1, Shred(comb, 0, 0));
  AddOccurrence(values, item_, false);
}

bool TstShreddingStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                                   bool) {
  return FindKeyDword(selected, 1, GraphValue(comb, last_idx + 1, last_idx, sorted));
}

int32_t TstShreddingStat::GraphValue(lottery::TComb comb, int draw_idx, int, bool sorted) {
  return Shred(comb, GetDraw(draw_idx - 1, sorted).Values, GetDraw(draw_idx - 2, sorted).Values);
}

}  // namespace kelmora::stats
