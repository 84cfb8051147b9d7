#include "stats/numbers.h"

#include <array>

#include "lottery/comb_text.h"
#include "stats/stat_list.h"

namespace kelmora::stats {

namespace {

using lottery::CombValue;
using lottery::PositionCount;

// The digits of a value's card text: 10 gives 1 and 0; a face card's letter is not a digit and
// counts as 0. Returns how many digits were written.
int CardDigits(int value, std::array<uint8_t, 3>& digits) {
  if (value >= 11 && value <= 14) {
    digits[0] = 0;
    return 1;
  }
  int n = 0;
  if (value >= 100) digits[n++] = static_cast<uint8_t>(value / 100 % 10);
  if (value >= 10) digits[n++] = static_cast<uint8_t>(value / 10 % 10);
  digits[n++] = static_cast<uint8_t>(value % 10);
  return n;
}

void ListCardValues(TStatDrawItem& item, TStatDrawArray& values) {
  for (uint16_t v = lottery::ValueMin; v <= lottery::ValueMax; ++v) {
    item.Key1 = v;
    AddOccurrence(values, item, false);
  }
}

TIndexRange PositionRange(const TStatList&) { return {1, 4}; }
TIndexRange EmptyRange(const TStatList&) { return {1, 0}; }

constexpr uint8_t N = FlagNorm;
constexpr uint8_t SN = FlagShown | FlagNorm;

// Designated fields keep each class's answers readable; unnamed fields keep the base answers.
const TStatClass ValuesClass{.Ordinal = 1, .ClassName = "TstValues", .CodeFormat = "NUMS",
                             .CaptionFormat = "Числа тиража", .Group = 0, .Flags = N,
                             .Create = &CreateStatOf<TstValues>};
const TStatClass DigitsClass{.Ordinal = 2, .ClassName = "TstDigits", .CodeFormat = "DIGS",
                             .CaptionFormat = "Цифры тиража", .Group = 0, .Flags = N,
                             .Create = &CreateStatOf<TstDigits>};
const TStatClass EvenCountClass{.Ordinal = 3, .ClassName = "TstEvenCount", .CodeFormat = "EVEN",
                                .CaptionFormat = "Количество четных чисел в тираже (Ч:Н)", .Group = 0, .Flags = N,
                                .IsGraph = true, .Create = &CreateStatOf<TstEvenCount>};
const TStatClass EvenValuesClass{.Ordinal = 4, .ClassName = "TstEvenValues", .CodeFormat = "EVNV",
                                 .CaptionFormat = "Четные и нечетные числа в тираже (Чн..нЧ)", .Group = 0,
                                 .Flags = SN, .Create = &CreateStatOf<TstEvenValues>};
const TStatClass SmallCountClass{.Ordinal = 5, .ClassName = "TstSmallCount", .CodeFormat = "SMAL",
                                 .CaptionFormat = "Количество чисел из первой половины диапазона (1П:2П)",
                                 .Group = 0, .Flags = N, .IsGraph = true, .Create = &CreateStatOf<TstSmallCount>};
const TStatClass SmallValuesClass{.Ordinal = 6, .ClassName = "TstSmallValues", .CodeFormat = "SMLV",
                                  .CaptionFormat = "Числа из первой половины диапазона (12..12)", .Group = 0,
                                  .Flags = SN, .Create = &CreateStatOf<TstSmallValues>};
const TStatClass PrimeCountClass{.Ordinal = 7, .ClassName = "TstPrimeCount", .CodeFormat = "PRIM",
                                 .CaptionFormat = "Количество простых чисел (П:С)", .Group = 0, .Flags = N,
                                 .IsGraph = true, .Create = &CreateStatOf<TstPrimeCount>};
const TStatClass PrimeValuesClass{.Ordinal = 8, .ClassName = "TstPrimeValues", .CodeFormat = "PRMV",
                                  .CaptionFormat = "Простые и составные числа (ПС..СП)", .Group = 0, .Flags = SN,
                                  .Create = &CreateStatOf<TstPrimeValues>};
const TStatClass PosValClass{.Ordinal = 102, .ClassName = "TstPosVal", .CodeFormat = "POS%d",
                             .CaptionFormat = "Число в %0:d позиции тиража", .HelpTopicFormat = "POSx", .Group = 0,
                             .Flags = SN, .IsGraph = true, .IsIndexed = true, .IndexRange = &PositionRange,
                             .Create = &CreateStatOf<TstPosVal>};
const TStatClass PosExtClass{.Ordinal = 103, .ClassName = "TstPosExt", .CodeFormat = "POE%d",
                             .CaptionFormat = "Extra (Bonus, Star...) - число (!без фильтра!)",
                             .HelpTopicFormat = "POSx", .Group = 0, .Flags = 0, .IsGraph = true, .IsIndexed = true,
                             .IndexRange = &EmptyRange, .Create = &CreateStatOf<TstPosExt>};

constexpr std::array<const TStatClass*, 10> Classes = {
    &ValuesClass,      &DigitsClass,     &EvenCountClass,   &EvenValuesClass, &SmallCountClass,
    &SmallValuesClass, &PrimeCountClass, &PrimeValuesClass, &PosValClass,     &PosExtClass};

}  // namespace

std::span<const TStatClass* const> NumberClasses() { return Classes; }

bool IsPrimeValue(int value) {
  static constexpr int Primes[] = {1,   2,   3,   5,   7,   11,  13,  17,  19,  23,  29,  31,  37,  41,
                                   43,  47,  53,  59,  61,  67,  71,  73,  79,  83,  89,  97,  101, 103,
                                   107, 109, 113, 127, 131, 137, 139, 149, 151, 157, 163, 167, 173, 179,
                                   181, 191, 193, 197, 199, 211, 223, 227, 229, 233, 239, 241, 251};
  for (int p : Primes) {
    if (p == value) return true;
  }
  return false;
}

// --- NUMS ---

void TstValues::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  ListCardValues(item_, values);
}

void TstValues::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                              TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  for (int p = 0; p < PositionCount; ++p) {
    item_.Key1 = cur_draw_.Value(p);
    AddOccurrence(values, item_, true);
  }
}

void TstValues::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  for (int p = 0; p < PositionCount; ++p) {
    item_.Key1 = CombValue(comb, p);
    AddOccurrence(values, item_, false);
  }
}

bool TstValues::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  for (int p = 0; p < PositionCount; ++p) {
    if (FindKeys(selected, CombValue(comb, p), 0, 0, 0)) return true;
  }
  return false;
}

// --- DIGS ---

void TstDigits::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                              TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  std::array<uint8_t, 3> digits{};
  for (int p = 0; p < PositionCount; ++p) {
    const int n = CardDigits(cur_draw_.Value(p), digits);
    for (int i = 0; i < n; ++i) {
      item_.Key1 = digits[static_cast<size_t>(i)];
      AddOccurrence(values, item_, true);
    }
  }
}

void TstDigits::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  std::array<uint8_t, 3> digits{};
  for (int p = 0; p < PositionCount; ++p) {
    const int n = CardDigits(CombValue(comb, p), digits);
    for (int i = 0; i < n; ++i) {
      item_.Key1 = digits[static_cast<size_t>(i)];
      AddOccurrence(values, item_, false);
    }
  }
}

bool TstDigits::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  std::array<uint8_t, 3> digits{};
  for (int p = 0; p < PositionCount; ++p) {
    const int n = CardDigits(CombValue(comb, p), digits);
    for (int i = 0; i < n; ++i) {
      if (FindKey(selected, 1, digits[static_cast<size_t>(i)])) return true;
    }
  }
  return false;
}

// --- EVEN, SMAL, PRIM ---

int TCustomCountRatioStat::CountOf(lottery::TComb comb) const {
  int k = 0;
  for (int p = 0; p < PositionCount; ++p) k += HasProperty(CombValue(comb, p)) ? 1 : 0;
  return k;
}

void TCustomCountRatioStat::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  for (uint16_t k = 1; k <= 4; ++k) {
    item_.Key1 = k;
    AddOccurrence(values, item_, false);
  }
}

void TCustomCountRatioStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                          TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  item_.Key1 = static_cast<uint16_t>(CountOf(cur_draw_.Values));
  AddOccurrence(values, item_, true);
}

void TCustomCountRatioStat::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  item_.Key1 = static_cast<uint16_t>(CountOf(comb));
  AddOccurrence(values, item_, false);
}

bool TCustomCountRatioStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  return FindKey(selected, 1, static_cast<uint16_t>(CountOf(comb)));
}

int32_t TCustomCountRatioStat::GraphValue(lottery::TComb comb, int, int, bool) { return CountOf(comb); }

bool TstEvenCount::HasProperty(int value) const { return (value & 1) == 0; }
bool TstSmallCount::HasProperty(int value) const { return value <= 10; }
bool TstPrimeCount::HasProperty(int value) const { return IsPrimeValue(value); }

// --- EVNV, SMLV, PRMV ---

int32_t TCustomPatternMaskStat::MaskOf(lottery::TComb comb) const {
  int32_t mask = 0;
  for (int p = 0; p < PositionCount; ++p) mask = mask * 2 + (HasProperty(CombValue(comb, p)) ? 1 : 0);
  return mask;
}

void TCustomPatternMaskStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                           TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  item_.SetKeyDword(1, MaskOf(cur_draw_.Values));
  AddOccurrence(values, item_, true);
}

void TCustomPatternMaskStat::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  item_.SetKeyDword(1, MaskOf(comb));
  AddOccurrence(values, item_, false);
}

bool TCustomPatternMaskStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  return FindKeyDword(selected, 1, MaskOf(comb));
}

bool TstEvenValues::HasProperty(int value) const { return (value & 1) != 0; }
bool TstSmallValues::HasProperty(int value) const { return value > 10; }
void TstSmallValues::ListAllValues(int /*last_idx*/, TStatDrawArray& /*values*/) {}
bool TstPrimeValues::HasProperty(int value) const { return IsPrimeValue(value); }

// --- POS%d, POE%d ---

std::string TstPosVal::ValueText(const TStatDrawItem& item) const { return lottery::ValueToText(item.Key1); }

void TstPosVal::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  ListCardValues(item_, values);
}

void TstPosVal::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                              TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  if (index_ < 1 || index_ > PositionCount) return;
  item_.Key1 = cur_draw_.Value(index_ - 1);
  AddOccurrence(values, item_, true);
}

void TstPosVal::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  if (index_ < 1 || index_ > PositionCount) return;
  item_.Key1 = CombValue(comb, index_ - 1);
  AddOccurrence(values, item_, false);
}

bool TstPosVal::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  return index_ >= 1 && index_ <= PositionCount && FindKeys(selected, CombValue(comb, index_ - 1), 0, 0, 0);
}

int32_t TstPosVal::GraphValue(lottery::TComb comb, int, int, bool) {
  return index_ >= 1 && index_ <= PositionCount ? CombValue(comb, index_ - 1) : 0;
}

bool TstPosExt::CombMatches(lottery::TComb, const TStatDrawArray&, int, bool, bool) { return false; }
int32_t TstPosExt::GraphValue(lottery::TComb, int, int, bool) { return 0; }

}  // namespace kelmora::stats
