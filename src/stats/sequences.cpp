#include "stats/sequences.h"

#include <algorithm>

namespace kelmora::stats {

namespace {

using lottery::CombValue;

int LongestRun(lottery::TComb comb, bool both_ways) {
  std::array<int, 4> lengths{};
  const int n = RunLengths(comb, both_ways, lengths);
  return *std::max_element(lengths.begin(), lengths.begin() + n);
}

constexpr uint8_t SN = FlagShown | FlagNorm;

const TStatClass SequenceLenClass{.Ordinal = 40, .ClassName = "TstSequenceLen", .CodeFormat = "SEQL",
                                  .CaptionFormat = "Длина последовательности в тираже", .Group = 6, .Flags = SN,
                                  .Create = &CreateStatOf<TstSequenceLen>};
const TStatClass SequenceCntClass{.Ordinal = 41, .ClassName = "TstSequenceCnt", .CodeFormat = "SEQS",
                                  .CaptionFormat = "Количество последовательностей в тираже", .Group = 6,
                                  .Flags = SN, .IsGraph = true, .Create = &CreateStatOf<TstSequenceCnt>};
const TStatClass SequenceLenMaxClass{.Ordinal = 42, .ClassName = "TstSequenceLenMax", .CodeFormat = "LENS",
                                     .CaptionFormat = "Макс. длина последовательности в тираже", .Group = 6,
                                     .Flags = SN, .IsGraph = true, .Create = &CreateStatOf<TstSequenceLenMax>};

constexpr std::array<const TStatClass*, 3> Classes = {&SequenceLenClass, &SequenceCntClass, &SequenceLenMaxClass};

}  // namespace

std::span<const TStatClass* const> SequenceClasses() { return Classes; }

int RunLengths(lottery::TComb comb, bool both_ways, std::array<int, 4>& lengths) {
  int n = 0;
  lengths[0] = 1;
  for (int p = 1; p < lottery::PositionCount; ++p) {
    const int step = CombValue(comb, p) - CombValue(comb, p - 1);
    if (step == 1 || (both_ways && step == -1)) {
      ++lengths[static_cast<size_t>(n)];
    } else {
      lengths[static_cast<size_t>(++n)] = 1;
    }
  }
  return n + 1;
}

// --- SEQL ---

void TstSequenceLen::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  for (uint16_t len = 1; len <= 4; ++len) {
    item_.Key1 = len;
    AddOccurrence(values, item_, false);
  }
}

void TstSequenceLen::AddRuns(lottery::TComb comb, TStatDrawArray& values, bool track_periods) {
  std::array<int, 4> lengths{};
  const int n = RunLengths(comb, false, lengths);
  for (int i = 0; i < n; ++i) {
    item_.Key1 = static_cast<uint16_t>(lengths[static_cast<size_t>(i)]);
    AddOccurrence(values, item_, track_periods);
  }
}

void TstSequenceLen::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                   TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  AddRuns(cur_draw_.Values, values, true);
}

void TstSequenceLen::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  AddRuns(comb, values, false);
}

bool TstSequenceLen::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  std::array<int, 4> lengths{};
  const int n = RunLengths(comb, false, lengths);
  for (int i = 0; i < n; ++i) {
    if (FindKey(selected, 1, static_cast<uint16_t>(lengths[static_cast<size_t>(i)]))) return true;
  }
  return false;
}

// --- SEQS, LENS ---

void TCustomSequenceNumberStat::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  for (int n = ListedFirst(); n <= ListedLast(); ++n) {
    item_.Key1 = static_cast<uint16_t>(n);
    AddOccurrence(values, item_, false);
  }
}

void TCustomSequenceNumberStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                              TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  item_.Key1 = static_cast<uint16_t>(NumberOf(cur_draw_.Values, false));
  AddOccurrence(values, item_, true);
}

void TCustomSequenceNumberStat::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  item_.Key1 = static_cast<uint16_t>(NumberOf(comb, false));
  AddOccurrence(values, item_, false);
}

bool TCustomSequenceNumberStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  return FindKey(selected, 1, static_cast<uint16_t>(NumberOf(comb, false)));
}

int32_t TCustomSequenceNumberStat::GraphValue(lottery::TComb comb, int, int, bool) { return NumberOf(comb, true); }

int32_t TstSequenceCnt::NumberOf(lottery::TComb comb, bool both_ways) const {
  std::array<int, 4> lengths{};
  const int n = RunLengths(comb, both_ways, lengths);
  return static_cast<int32_t>(std::count_if(lengths.begin(), lengths.begin() + n, [](int len) { return len >= 2; }));
}

int32_t TstSequenceLenMax::NumberOf(lottery::TComb comb, bool both_ways) const { return LongestRun(comb, both_ways); }

int32_t TstSequenceLenMax::GraphValue(lottery::TComb comb, int, int, bool) {
  const int longest = LongestRun(comb, true);
  return longest >= 2 ? longest : 0;
}

}  // namespace kelmora::stats
