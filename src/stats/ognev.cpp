#include "stats/ognev.h"

#include <array>
#include <cstdlib>

#include "lottery/comb_ops.h"
#include "stats/stat_list.h"

namespace kelmora::stats {

namespace {

using lottery::CombValue;
using lottery::PositionCount;

const TStatClass Ognev1Class{.Ordinal = 140, .ClassName = "TstOgnev1", .CodeFormat = "HCO1",
                             .CaptionFormat = "Число Огнева 1 (только разность)", .Group = 11,
                             .Flags = FlagShown | FlagNorm, .IsGraph = true, .Create = &CreateStatOf<TstOgnev1>};
const TStatClass Ognev2Class{.Ordinal = 141, .ClassName = "TstOgnev2", .CodeFormat = "HCO2",
                             .CaptionFormat = "Число Огнева 2 (разность + сложение, если {0,1})", .Group = 11,
                             .Flags = FlagShown | FlagNorm, .IsGraph = true, .Create = &CreateStatOf<TstOgnev2>};
const TStatClass Ognev3Class{.Ordinal = 142, .ClassName = "TstOgnev3", .CodeFormat = "HCO3",
                             .CaptionFormat = "Числа Огнева 3 (динамический, только фильтр)", .Group = 11,
                             .Flags = FlagShown | FlagDepends, .CanSelectByList = false,
                             .Create = &CreateStatOf<TstOgnev3>};

constexpr std::array<const TStatClass*, 3> Classes = {&Ognev1Class, &Ognev2Class, &Ognev3Class};

uint8_t AbsDiff(uint8_t a, uint8_t b) { return static_cast<uint8_t>(a > b ? a - b : b - a); }

}  // namespace

std::span<const TStatClass* const> OgnevClasses() { return Classes; }

TOgnevResult OgnevNumber(lottery::TComb values, int mode) {
  std::array<uint8_t, 4> v = {CombValue(values, 0), CombValue(values, 1), CombValue(values, 2),
                              CombValue(values, 3)};
  for (int n = PositionCount; n > 2; --n) {
    for (int i = 0; i + 1 < n; ++i) v[static_cast<size_t>(i)] = AbsDiff(v[static_cast<size_t>(i + 1)], v[static_cast<size_t>(i)]);
  }
  const uint8_t a = v[0];
  const uint8_t b = v[1];
  const uint8_t r = AbsDiff(b, a);
  const auto sum = static_cast<uint8_t>(a + b);
  TOgnevResult out;
  out.Value[0] = r;
  if (mode == 1 && r < 2) out.Value[0] = sum;
  if (mode == 2 && r == 0) out.Value[0] = sum;
  if (mode == 2 && r == 1) {
    out.Value[0] = 1;
    out.Value[1] = sum;
    out.Count = 2;
  }
  return out;
}

// --- HCO1, HCO2 ---

TCustomOgnevGraphStat::TCustomOgnevGraphStat(const TStatList& list, const TStatClass& cls, int32_t index, int mode)
    : TCustomGraphStat(list, cls, index), mode_(mode) {}

void TCustomOgnevGraphStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                          TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  item_.Key1 = OgnevNumber(cur_draw_.Values, mode_).Value[0];
  AddOccurrence(values, item_, true);
}

void TCustomOgnevGraphStat::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  item_.Key1 = OgnevNumber(comb, mode_).Value[0];
  AddOccurrence(values, item_, false);
}

bool TCustomOgnevGraphStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  return FindKey(selected, 1, OgnevNumber(comb, mode_).Value[0]);
}

int32_t TCustomOgnevGraphStat::GraphValue(lottery::TComb comb, int, int, bool) {
  return OgnevNumber(comb, mode_).Value[0];
}

// --- HCO3 ---

std::string TstOgnev3::ValueText(const TStatDrawItem& item) const {
  std::string text = std::to_string(item.Key1);
  if (item.Key4 == 2) text += " (" + std::to_string(item.Key2) + ")";
  return text;
}

void TstOgnev3::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                              TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  if (cur_draw_.Number != ref_draw_.Number) return;
  const TOgnevResult r = OgnevNumber(cur_draw_.Values, 2);
  if (r.Count == 2) {
    item_.Key1 = r.Value[1];
    item_.Key2 = r.Value[0];
    item_.Key4 = 2;
  } else {
    item_.Key1 = r.Value[0];
  }
  // The draw after the window; a draw that does not exist holds no values (not four zeros).
  const TStatDraw next = GetDraw(last_idx + 1, false);
  auto came_out = [&](int value) { return next.Number != 0 && lottery::ContainsValue(value, next.Values) ? 1 : 0; };
  item_.Count = came_out(item_.Key1);
  AddOccurrence(values, item_, false);

  const int f = item_.Key1;
  int g = f * f < 14 ? f * f * f : f * f;
  item_.Key2 = 0;
  item_.Key4 = 0;
  for (; g > f; g -= f) {
    if (g < lottery::ValueMin || g > lottery::ValueMax) continue;
    item_.Key1 = static_cast<uint16_t>(g);
    item_.Count = came_out(g);
    AddOccurrence(values, item_, false);
  }
}

bool TstOgnev3::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  for (int p = 0; p < PositionCount; ++p) {
    if (FindKey(selected, 1, CombValue(comb, p))) return true;
  }
  return false;
}

}  // namespace kelmora::stats
