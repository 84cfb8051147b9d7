#include "stats/repeats.h"

#include <array>
#include <bit>

namespace kelmora::stats {

namespace {

using lottery::CombValue;
using lottery::PositionCount;
using lottery::TComb;

// Bit p set where keep(p) holds.
template <typename Keep>
unsigned MaskWhere(Keep keep) {
  unsigned mask = 0;
  for (int p = 0; p < PositionCount; ++p) {
    if (keep(p)) mask |= 1u << p;
  }
  return mask;
}

bool Same(TComb a, TComb b, int p) { return CombValue(a, p) == CombValue(b, p); }

constexpr uint8_t D = FlagDepends;

template <typename T>
constexpr TStatClass RepClass(int ordinal, const char* name, const char* code, const char* caption) {
  return TStatClass{.Ordinal = ordinal, .ClassName = name, .CodeFormat = code, .CaptionFormat = caption,
                    .Group = 7, .Flags = D, .Create = &CreateStatOf<T>};
}

const TStatClass Classes_[] = {
    RepClass<TstRepValues2>(43, "TstRepValues2", "RPV2", "Повторяющиеся числа в 2-х тиражах подряд"),
    RepClass<TstRepValues3>(44, "TstRepValues3", "RPV3", "Повторяющиеся числа в 3-х тиражах подряд"),
    RepClass<TstRepValues2B3>(45, "TstRepValues2B3", "PRL2", "Повторяющиеся числа не более чем в 2-х тиражах"),
    RepClass<TstRepValues2over1>(46, "TstRepValues2over1", "PRV2O1",
                                 "Повторяющиеся числа в 2-х тиражах через 1 тираж(а)"),
    RepClass<TstRepValues2over2>(47, "TstRepValues2over2", "PRV2O2",
                                 "Повторяющиеся числа в 2-х тиражах через 2 тираж(а)"),
    RepClass<TstRepValues2over3>(48, "TstRepValues2over3", "PRV2O3",
                                 "Повторяющиеся числа в 2-х тиражах через 3 тираж(а)"),
    RepClass<TstRepValues2P1>(49, "TstRepValues2P1", "PRV+1", "Данные предыдущего тиража + 1"),
    RepClass<TstRepValues2N1>(50, "TstRepValues2N1", "PRV-1", "Данные предыдущего тиража - 1"),
    RepClass<TstRepValues2P2>(51, "TstRepValues2P2", "PRV+2", "Данные предыдущего тиража + 2"),
    RepClass<TstRepValues2N2>(52, "TstRepValues2N2", "PRV-2", "Данные предыдущего тиража - 2"),
    RepClass<TstRepCount2>(53, "TstRepCount2", "RPC2", "Количество повторов в 2-х тиражах подряд"),
    RepClass<TstRepCount3>(54, "TstRepCount3", "RPC3", "Количество повторов в 3-х тиражах подряд"),
    RepClass<TstRepCount2B3>(55, "TstRepCount2B3", "PRB2", "Количество повторов не более чем в 2-х тиражах"),
    RepClass<TstRepCount2over1>(56, "TstRepCount2over1", "RPO1",
                                "Количество повторов в 2-х тиражах через 1 тираж(а)"),
    RepClass<TstRepCount2over2>(57, "TstRepCount2over2", "PRC2O2",
                                "Количество повторов в 2-х тиражах через 2 тираж(а)"),
    RepClass<TstRepCount2over3>(58, "TstRepCount2over3", "PRC2O3",
                                "Количество повторов в 2-х тиражах через 3 тираж(а)"),
    RepClass<TstRepCount2P1>(59, "TstRepCount2P1", "PRC+1", "Количество совпадений \"значений + 1\""),
    RepClass<TstRepCount2N1>(60, "TstRepCount2N1", "PRC-1", "Количество совпадений \"значений - 1\""),
    RepClass<TstRepCount2P2>(61, "TstRepCount2P2", "PRC+2", "Количество совпадений \"значений + 2\""),
    RepClass<TstRepCount2N2>(62, "TstRepCount2N2", "PRC-2", "Количество совпадений \"значений - 2\""),
};

constexpr size_t ClassCount = std::size(Classes_);
const std::array<const TStatClass*, ClassCount> Classes = [] {
  std::array<const TStatClass*, ClassCount> all{};
  for (size_t i = 0; i < ClassCount; ++i) all[i] = &Classes_[i];
  return all;
}();

}  // namespace

std::span<const TStatClass* const> RepeatClasses() { return Classes; }

int RepShiftValue(int value, int shift) {
  if (shift == 0) return value;  // a zero draw stays zero and matches nothing
  int v = value + shift;
  if (v > lottery::ValueMax) {
    v -= lottery::ValueCount;
  } else if (v < lottery::ValueMin) {
    v += lottery::ValueCount;
  }
  return v;
}

TComb RepShiftComb(TComb comb, int shift) {
  TComb out = 0;
  for (int p = 0; p < PositionCount; ++p) out = lottery::SetCombValue(out, p, RepShiftValue(CombValue(comb, p), shift));
  return out;
}

// --- the card-value members ---

void TCustomRepValuesStat::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  const TComb last = GetDraw(last_idx, false).Values;
  for (int p = 0; p < PositionCount; ++p) {
    item_.Key1 = static_cast<uint16_t>(RepShiftValue(CombValue(last, p), ListShift()));
    AddOccurrence(values, item_, false);
  }
}

void TCustomRepValuesStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                         TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  const unsigned hits = HitMask(draw_idx, sorted);
  for (int p = 0; p < PositionCount; ++p) {
    if ((hits >> p & 1u) == 0) continue;
    item_.Key1 = cur_draw_.Value(p);
    AddOccurrence(values, item_, true);
  }
}

bool TCustomRepValuesStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  for (int p = 0; p < PositionCount; ++p) {
    if (FindKey(selected, 1, CombValue(comb, p))) return true;
  }
  return false;
}

unsigned TCustomRepValues2Stat::HitMask(int draw_idx, bool sorted) const {
  const TComb ref = RepShiftComb(ref_draw_.Values, RepShift());
  const TComb prev = RepShiftComb(GetDraw(draw_idx - RepGap(), sorted).Values, RepShift());
  return MaskWhere([&](int p) { return Same(prev, ref, p) && Same(prev, cur_draw_.Values, p); });
}

unsigned TstRepValues3::HitMask(int draw_idx, bool sorted) const {
  const TComb cur = cur_draw_.Values;
  const TComb p1 = GetDraw(draw_idx - 1, sorted).Values;
  const TComb p2 = GetDraw(draw_idx - 2, sorted).Values;
  return MaskWhere([&](int p) { return Same(cur, ref_draw_.Values, p) && Same(cur, p1, p) && Same(cur, p2, p); });
}

unsigned TstRepValues2B3::HitMask(int draw_idx, bool sorted) const {
  const TComb cur = cur_draw_.Values;
  const TComb p1 = GetDraw(draw_idx - 1, sorted).Values;
  const TComb p2 = GetDraw(draw_idx - 2, sorted).Values;
  return MaskWhere([&](int p) { return Same(cur, ref_draw_.Values, p) && Same(cur, p1, p) && !Same(cur, p2, p); });
}

// --- the count members ---

void TCustomRepCountStat::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  for (uint16_t n = 1; n <= 4; ++n) {
    item_.Key1 = n;
    AddOccurrence(values, item_, false);
  }
}

void TCustomRepCountStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                        TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  item_.Key1 = static_cast<uint16_t>(std::popcount(HitMask(draw_idx, sorted)));
  AddOccurrence(values, item_, true);
}

bool TCustomRepCountStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                                      bool) {
  return FindKey(selected, 1, static_cast<uint16_t>(std::popcount(CombHitMask(comb, last_idx, sorted))));
}

unsigned TCustomRepCount2Stat::HitMask(int draw_idx, bool sorted) const {
  const TComb prev = RepShiftComb(GetDraw(draw_idx - RepGap(), sorted).Values, RepShift());
  return MaskWhere([&](int p) { return Same(cur_draw_.Values, prev, p); });
}

unsigned TCustomRepCount2Stat::CombHitMask(lottery::TComb comb, int last_idx, bool sorted) const {
  // The draw RepGap before the next one, which the combination stands for.
  const TComb prev = RepShiftComb(GetDraw(last_idx - RepGap() + 1, sorted).Values, RepShift());
  return MaskWhere([&](int p) { return Same(comb, prev, p); });
}

unsigned TstRepCount3::HitMask(int draw_idx, bool sorted) const {
  const TComb p1 = GetDraw(draw_idx - 1, sorted).Values;
  const TComb p2 = GetDraw(draw_idx - 2, sorted).Values;
  return MaskWhere([&](int p) { return Same(cur_draw_.Values, p1, p) && Same(cur_draw_.Values, p2, p); });
}

unsigned TstRepCount3::CombHitMask(lottery::TComb comb, int last_idx, bool sorted) const {
  const TComb l0 = GetDraw(last_idx, sorted).Values;
  const TComb l1 = GetDraw(last_idx - 1, sorted).Values;
  return MaskWhere([&](int p) { return Same(comb, l0, p) && Same(comb, l1, p); });
}

unsigned TstRepCount2B3::HitMask(int draw_idx, bool sorted) const {
  const TComb p1 = GetDraw(draw_idx - 1, sorted).Values;
  const TComb p2 = GetDraw(draw_idx - 2, sorted).Values;
  return MaskWhere([&](int p) { return Same(cur_draw_.Values, p1, p) && !Same(cur_draw_.Values, p2, p); });
}

unsigned TstRepCount2B3::CombHitMask(lottery::TComb comb, int last_idx, bool sorted) const {
  const TComb l0 = GetDraw(last_idx, sorted).Values;
  const TComb l1 = GetDraw(last_idx - 1, sorted).Values;
  return MaskWhere([&](int p) { return Same(comb, l0, p) && !Same(comb, l1, p); });
}

}  // namespace kelmora::stats
