#include "stats/comb_values.h"

#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "stats/stat_list.h"

namespace kelmora::stats {

namespace {

using lottery::CombValue;
using K = CombTupleKind;

TIndexRange Stretch2Range(const TStatList&) { return {1, 3}; }
TIndexRange Stretch3Range(const TStatList&) { return {1, 2}; }
TIndexRange Stretch4Range(const TStatList&) { return {1, 1}; }

// The size is part of each class's fixed code and caption ("KNM2", "Сочетания из 2 ...").
#define KELMORA_COMB_CLASS(name, ordinal, code, caption, flags, available, type)                         \
  const TStatClass name{.Ordinal = ordinal, .ClassName = #type, .CodeFormat = code, .CaptionFormat = caption, \
                        .Group = 0, .Flags = flags, .IsAvailable = available, .CanSelectByList = false,      \
                        .Create = &CreateStatOf<type>};

KELMORA_COMB_CLASS(Mix2Class, 63, "KNM2", "Сочетания из 2 чисел по всем числам тиража", FlagShown, true, TstCombValMix2)
KELMORA_COMB_CLASS(Mix3Class, 64, "KNM3", "Сочетания из 3 чисел по всем числам тиража", FlagShown, true, TstCombValMix3)
KELMORA_COMB_CLASS(Mix4Class, 65, "KNM4", "Сочетания из 4 чисел по всем числам тиража", FlagShown, false, TstCombValMix4)
KELMORA_COMB_CLASS(Seq2Class, 66, "KNS2", "Сочетания из 2 соседних чисел тиража", FlagShown, true, TstCombValSeq2)
KELMORA_COMB_CLASS(Seq3Class, 67, "KNS3", "Сочетания из 3 соседних чисел тиража", FlagShown, true, TstCombValSeq3)
KELMORA_COMB_CLASS(Seq4Class, 68, "KNS4", "Сочетания из 4 соседних чисел тиража", FlagShown, false, TstCombValSeq4)
KELMORA_COMB_CLASS(Sort2Class, 72, "KNO2", "Сочетания из 2 чисел тиража по возрастанию", 0, true, TstCombValSort2)
KELMORA_COMB_CLASS(Sort3Class, 73, "KNO3", "Сочетания из 3 чисел тиража по возрастанию", 0, true, TstCombValSort3)
KELMORA_COMB_CLASS(Sort4Class, 74, "KNO4", "Сочетания из 4 чисел тиража по возрастанию", 0, false, TstCombValSort4)
#undef KELMORA_COMB_CLASS

const TStatClass Pos2Class{.Ordinal = 69, .ClassName = "TstCombValPos2", .CodeFormat = "KNP2%d",
                           .CaptionFormat = "Сочетания из 2-х чисел тиража начиная с %0:d позиции",
                           .HelpTopicFormat = "KNP2", .Group = 0, .Flags = FlagShown, .CanSelectByList = false,
                           .IsIndexed = true, .IndexRange = &Stretch2Range, .Create = &CreateStatOf<TstCombValPos2>};
const TStatClass Pos3Class{.Ordinal = 70, .ClassName = "TstCombValPos3", .CodeFormat = "KNP3%d",
                           .CaptionFormat = "Сочетания из 3-х чисел тиража начиная с %0:d позиции",
                           .HelpTopicFormat = "KNP3", .Group = 0, .Flags = FlagShown, .CanSelectByList = false,
                           .IsIndexed = true, .IndexRange = &Stretch3Range, .Create = &CreateStatOf<TstCombValPos3>};
const TStatClass Pos4Class{.Ordinal = 71, .ClassName = "TstCombValPos4", .CodeFormat = "KNP4%d",
                           .CaptionFormat = "Сочетания из 4-х чисел тиража начиная с %0:d позиции",
                           .HelpTopicFormat = "KNP4", .Group = 0, .Flags = FlagShown, .CanSelectByList = false,
                           .IsIndexed = true, .IndexRange = &Stretch4Range, .Create = &CreateStatOf<TstCombValPos4>};

constexpr std::array<const TStatClass*, 12> Classes = {&Mix2Class, &Mix3Class,  &Mix4Class,  &Seq2Class,
                                                       &Seq3Class, &Seq4Class,  &Pos2Class,  &Pos3Class,
                                                       &Pos4Class, &Sort2Class, &Sort3Class, &Sort4Class};

void AddTuple(TCombTuples& out, const std::array<uint8_t, 4>& v, std::initializer_list<int> positions) {
  auto& t = out.Tuple[static_cast<size_t>(out.Count++)];
  t.fill(0);
  size_t k = 0;
  for (int p : positions) t[k++] = v[static_cast<size_t>(p)];
}

// `size` consecutive positions starting at each of `first`..`last` (0-based).
void AddWindows(TCombTuples& out, const std::array<uint8_t, 4>& v, int size, int first, int last) {
  for (int s = first; s <= last; ++s) {
    auto& t = out.Tuple[static_cast<size_t>(out.Count++)];
    t.fill(0);
    for (int k = 0; k < size; ++k) t[static_cast<size_t>(k)] = v[static_cast<size_t>(s + k)];
  }
}

}  // namespace

std::span<const TStatClass* const> CombValueClasses() { return Classes; }

TCombTuples CombTuplesOf(lottery::TComb comb, CombTupleKind kind, int size, int start) {
  TCombTuples out;
  if (size < 2 || size > 4) return out;
  if (kind == K::Sorted) comb = lottery::SortComb(comb);
  const std::array<uint8_t, 4> v = {CombValue(comb, 0), CombValue(comb, 1), CombValue(comb, 2), CombValue(comb, 3)};
  switch (kind) {
    case K::Mix:
      if (size == 2) {
        for (int i = 0; i < 4; ++i) {
          for (int j = i + 1; j < 4; ++j) AddTuple(out, v, {i, j});
        }
      } else if (size == 3) {
        for (int i = 0; i < 4; ++i) {
          for (int j = i + 1; j < 4; ++j) {
            for (int k = j + 1; k < 4; ++k) AddTuple(out, v, {i, j, k});
          }
        }
      } else {
        AddWindows(out, v, 4, 0, 0);
      }
      break;
    case K::Adjacent:
    case K::Sorted:
      AddWindows(out, v, size, 0, 4 - size);
      break;
    case K::Stretch:
      if (start >= 1 && start + size - 1 <= 4) AddWindows(out, v, size, start - 1, start - 1);
      break;
  }
  return out;
}

TCustomCombValuesStat::TCustomCombValuesStat(const TStatList& list, const TStatClass& cls, int32_t index,
                                             CombTupleKind kind, int size)
    : TCustomStat(list, cls, index), kind_(kind), size_(size) {}

std::string TCustomCombValuesStat::ValueText(const TStatDrawItem& item) const {
  const uint16_t keys[4] = {item.Key1, item.Key2, item.Key3, item.Key4};
  std::string text;
  for (int k = 0; k < size_; ++k) {
    if (k > 0) text += ':';
    text += lottery::ValueToText(keys[k]);
  }
  return text;
}

void TCustomCombValuesStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                          TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  const TCombTuples tuples = CombTuplesOf(cur_draw_.Values, kind_, size_, index_);
  for (int i = 0; i < tuples.Count; ++i) {
    const auto& t = tuples.Tuple[static_cast<size_t>(i)];
    item_.Key1 = t[0];
    item_.Key2 = t[1];
    item_.Key3 = t[2];
    item_.Key4 = t[3];
    AddOccurrence(values, item_, true);
  }
}

bool TCustomCombValuesStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  const TCombTuples tuples = CombTuplesOf(comb, kind_, size_, index_);
  for (int i = 0; i < tuples.Count; ++i) {
    const auto& t = tuples.Tuple[static_cast<size_t>(i)];
    if (FindKeys(selected, t[0], t[1], t[2], t[3])) return true;
  }
  return false;
}

}  // namespace kelmora::stats
