#include "stats/series.h"

#include <algorithm>
#include <array>

#include <fmt/format.h>

#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "stats/stat_list.h"

namespace kelmora::stats {

namespace {

using lottery::CombValue;
using lottery::PositionCount;
using Kind = TStatUnits::Kind;

#define KELMORA_SERIAL_CLASS(name, ordinal, code, caption, type)                                          \
  const TStatClass name{.Ordinal = ordinal, .ClassName = #type, .CodeFormat = code, .CaptionFormat = caption, \
                        .Group = 8, .Flags = FlagDepends, .CanSelectByList = false, .Create = &CreateStatOf<type>};
KELMORA_SERIAL_CLASS(NumGroupsClass, 108, "GRPV", "Повторы чисел в нескольких тиражах подряд", TstNumGroups)
KELMORA_SERIAL_CLASS(NumPausesClass, 109, "GRPP", "Интервалы между повторениями чисел", TstNumPauses)
KELMORA_SERIAL_CLASS(ChnGroupsClass, 110, "GRCV", "Повторы каналов в нескольких тиражах подряд", TstChnGroups)
KELMORA_SERIAL_CLASS(ChnPausesClass, 111, "GRCP", "Интервалы между повторениями каналов", TstChnPauses)
KELMORA_SERIAL_CLASS(SgmGroupsClass, 112, "GRSV", "Повторы сегментов в нескольких тиражах подряд", TstSgmGroups)
KELMORA_SERIAL_CLASS(SgmPausesClass, 113, "GRSP", "Интервалы между повторениями сегментов", TstSgmPauses)
#undef KELMORA_SERIAL_CLASS

constexpr std::array<const TStatClass*, 6> Classes = {&NumGroupsClass, &NumPausesClass, &ChnGroupsClass,
                                                      &ChnPausesClass, &SgmGroupsClass, &SgmPausesClass};

}  // namespace

std::span<const TStatClass* const> SeriesClasses() { return Classes; }

// --- units ---

TStatUnits TStatUnits::FromList(const TStatList& list, Kind kind) {
  TStatUnits u;
  u.UnitKind = kind;
  u.ChannelSize = std::max(list.Config().ChannelSize, 1);
  u.Segments = list.Config().MatrixSegments;
  return u;
}

int TStatUnits::UnitOf(int position, int value) const {
  if (value < lottery::ValueMin || value > lottery::ValueMax || position < 0 || position >= PositionCount) return -1;
  switch (UnitKind) {
    case Kind::Values: return value;
    case Kind::Channels: return lottery::ChannelOf(value, ChannelSize);
    case Kind::Segments:
      return Segments[static_cast<size_t>(position)][static_cast<size_t>(value - lottery::ValueMin)];
  }
  return -1;
}

bool TStatUnits::Holds(lottery::TComb values, int unit) const {
  for (int p = 0; p < PositionCount; ++p) {
    if (UnitOf(p, CombValue(values, p)) == unit) return true;
  }
  return false;
}

int TStatUnits::CountIn(lottery::TComb values, int unit) const {
  int n = 0;
  for (int p = 0; p < PositionCount; ++p) n += UnitOf(p, CombValue(values, p)) == unit ? 1 : 0;
  return n;
}

TIndexRange SegmentDigitRange(const lottery::TMatrixSegments& segments) {
  TIndexRange r{9, 1};
  for (const auto& row : segments) {
    for (uint8_t d : row) {
      r.Min = std::min<int32_t>(r.Min, d);
      r.Max = std::max<int32_t>(r.Max, d);
    }
  }
  return r;
}

int TStatUnits::MinUnit() const {
  switch (UnitKind) {
    case Kind::Values: return lottery::ValueMin;
    case Kind::Channels: return 1;
    case Kind::Segments: return SegmentDigitRange(Segments).Min;
  }
  return 0;
}

int TStatUnits::MaxUnit() const {
  switch (UnitKind) {
    case Kind::Values: return lottery::ValueMax;
    case Kind::Channels: return lottery::ChannelOf(lottery::ValueMax, ChannelSize);
    case Kind::Segments: return SegmentDigitRange(Segments).Max;
  }
  return -1;
}

std::string TStatUnits::Text(int unit) const {
  switch (UnitKind) {
    case Kind::Values: return lottery::ValueToText(unit);
    case Kind::Channels: return fmt::format("{:02d}", unit);
    case Kind::Segments: return std::to_string(unit);
  }
  return {};
}

// --- series ---

TCustomSerialStat::TCustomSerialStat(const TStatList& list, const TStatClass& cls, int32_t index,
                                     TStatUnits::Kind kind, bool presence)
    : TCustomStat(list, cls, index), units_(TStatUnits::FromList(list, kind)), presence_(presence) {}

std::string TCustomSerialStat::ValueText(const TStatDrawItem& item) const {
  return fmt::format("{} x {}", units_.Text(item.Key1), item.Key2);
}

void TCustomSerialStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                      TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  const int min_unit = units_.MinUnit();
  // At most 10 units (segment digits 0..9); the work area has a record for each.
  const int max_unit = std::min(units_.MaxUnit(), min_unit + static_cast<int>(work.Units.size()) - 1);
  auto emit = [&](int unit, const TStatWorkRecord& r) {
    item_.Key1 = static_cast<uint16_t>(unit);
    item_.Key2 = static_cast<uint16_t>(r.Length);
    item_.Depth = r.RunDepth;
    item_.LastDraw = item_.PrevDraw = r.LastNumber;
    AddOccurrence(values, item_, true);
  };
  for (int u = min_unit; u <= max_unit; ++u) {
    TStatWorkRecord& r = work.Units[static_cast<size_t>(u - min_unit)];
    const bool present = units_.Holds(cur_draw_.Values, u);
    if (present == presence_) {
      ++r.Length;
      r.LastNumber = cur_draw_.Number;
      r.RunDepth = last_idx - draw_idx + 1;
      if (draw_idx == last_idx && units_.Holds(ref_draw_.Values, u)) emit(u, r);
    } else {
      if (r.Length > 0 && units_.Holds(ref_draw_.Values, u)) emit(u, r);
      r = TStatWorkRecord{};
    }
  }
}

bool TCustomSerialStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  for (int p = 0; p < PositionCount; ++p) {
    const int unit = units_.UnitOf(p, CombValue(comb, p));
    if (unit >= 0 && FindKey(selected, 1, static_cast<uint16_t>(unit))) return true;
  }
  return false;
}

}  // namespace kelmora::stats
