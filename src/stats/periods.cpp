#include "stats/periods.h"

#include <array>

#include <fmt/format.h>

#include "stats/stat_list.h"

namespace kelmora::stats {

namespace {

using lottery::CombValue;
using lottery::PositionCount;

#define KELMORA_PERIOD_CLASS(name, ordinal, code, caption, type)                                          \
  const TStatClass name{.Ordinal = ordinal, .ClassName = #type, .CodeFormat = code, .CaptionFormat = caption, \
                        .Group = 9, .Flags = FlagPeriod, .CanSelectByList = false, .Create = &CreateStatOf<type>};
KELMORA_PERIOD_CLASS(NumPeriodsClass, 114, "PRDV", "Периоды повторения чисел", TstNumPeriods)
KELMORA_PERIOD_CLASS(ChnPeriodsClass, 115, "PRDC", "Периоды повторения каналов", TstChnPeriods)
KELMORA_PERIOD_CLASS(SgmPeriodsClass, 116, "PRDG", "Периоды повторения сегментов", TstSgmPeriods)
#undef KELMORA_PERIOD_CLASS

constexpr std::array<const TStatClass*, 3> Classes = {&NumPeriodsClass, &ChnPeriodsClass, &SgmPeriodsClass};

}  // namespace

std::span<const TStatClass* const> PeriodClasses() { return Classes; }

TCustomPeriodsStat::TCustomPeriodsStat(const TStatList& list, const TStatClass& cls, int32_t index,
                                       TStatUnits::Kind kind)
    : TCustomStat(list, cls, index), units_(TStatUnits::FromList(list, kind)) {}

std::string TCustomPeriodsStat::ValueText(const TStatDrawItem& item) const {
  return fmt::format("{} x {}", units_.Text(item.Key1), item.Key2);
}

void TCustomPeriodsStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                       TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  for (int p = 0; p < PositionCount; ++p) {
    const int unit = units_.UnitOf(p, cur_draw_.Value(p));
    if (unit < 0) continue;
    const int32_t d = RecordLastValue(last_values, static_cast<uint16_t>(unit), 0, 0, 0, cur_draw_.Number);
    if (d <= 0) continue;
    item_.Key1 = static_cast<uint16_t>(unit);
    item_.Key2 = static_cast<uint16_t>(d);
    AddOccurrence(values, item_, true);
  }
}

int32_t TCustomPeriodsStat::NextOccurrence(const TStatDrawItem&, int, int, bool) { return -1; }

bool TCustomPeriodsStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool,
                                     bool exclude) {
  const int last = LastDrawIndex();
  for (int p = 0; p < PositionCount; ++p) {
    const int unit = units_.UnitOf(p, CombValue(comb, p));
    if (unit < 0) continue;
    for (const TStatDrawItem& row : selected) {
      if (row.Key1 != unit) continue;
      const int k = last_idx - row.Key2 + 1;
      const bool due = k >= 0 && k <= last && units_.Holds(GetDraw(k, false).Values, unit);
      if (due != exclude) return true;
    }
  }
  return false;
}

}  // namespace kelmora::stats
