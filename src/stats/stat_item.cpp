#include "stats/stat_item.h"

#include <algorithm>
#include <cstdlib>

namespace kelmora::stats {

int32_t TStatDrawItem::KeyDword(int n) const {
  const uint32_t low = n == 1 ? Key1 : Key3;
  const uint32_t high = n == 1 ? Key2 : Key4;
  return static_cast<int32_t>(low | (high << 16));
}

void TStatDrawItem::SetKeyDword(int n, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  const auto low = static_cast<uint16_t>(v & 0xFFFF);
  const auto high = static_cast<uint16_t>(v >> 16);
  if (n == 1) {
    Key1 = low;
    Key2 = high;
  } else {
    Key3 = low;
    Key4 = high;
  }
}

void AddOccurrence(TStatDrawArray& values, const TStatDrawItem& item, bool track_periods) {
  const int found = FindItem(values, item);
  if (found < 0) {
    values.push_back(item);
    values.back().Norm = 0;
    return;
  }
  TStatDrawItem& e = values[static_cast<size_t>(found)];
  e.Count += item.Count;
  if (e.Depth == 0 || (item.Depth > 0 && item.Depth <= e.Depth)) {
    e.LastDraw = item.LastDraw;
    e.Depth = item.Depth;
  }
  if (track_periods && item.LastDraw > 0 && e.PrevDraw > 0) {
    const auto gap = static_cast<uint16_t>(std::abs(static_cast<int64_t>(e.PrevDraw) - item.LastDraw));
    if (gap < e.MinPeriod || e.MinPeriod == 0) e.MinPeriod = gap;
    if (gap > e.MaxPeriod || e.MaxPeriod == 0) e.MaxPeriod = gap;
  }
  e.PrevDraw = item.LastDraw;
}

int FindItem(const TStatDrawArray& values, const TStatDrawItem& item) {
  const uint64_t keys = item.PackedKeys();
  const size_t n = values.size();
  for (size_t i = 0; i < n; ++i) {
    if (values[i].PackedKeys() == keys) return static_cast<int>(i);
  }
  return -1;
}

bool FindKeys(const TStatDrawArray& values, uint16_t k1, uint16_t k2, uint16_t k3, uint16_t k4) {
  for (const auto& v : values) {
    if (v.Key1 == k1 && v.Key2 == k2 && v.Key3 == k3 && v.Key4 == k4) return true;
  }
  return false;
}

bool FindKeyPair(const TStatDrawArray& values, uint16_t a, uint16_t b) { return FindKeys(values, a, 0, b, 0); }

bool FindKey(const TStatDrawArray& values, int n, uint16_t v) {
  for (const auto& item : values) {
    const uint16_t key = n == 1 ? item.Key1 : n == 2 ? item.Key2 : n == 3 ? item.Key3 : item.Key4;
    if (n >= 1 && n <= 4 && key == v) return true;
  }
  return false;
}

bool FindKeyByte(const TStatDrawArray& values, int n, uint8_t b) {
  if (n < 1 || n > 8) return false;
  const int key = (n - 1) / 2;
  const int shift = (n - 1) % 2 * 8;
  for (const auto& item : values) {
    const uint16_t k = key == 0 ? item.Key1 : key == 1 ? item.Key2 : key == 2 ? item.Key3 : item.Key4;
    if (static_cast<uint8_t>(k >> shift) == b) return true;
  }
  return false;
}

bool FindKeyDword(const TStatDrawArray& values, int n, int32_t v) {
  if (n != 1 && n != 2) return false;
  for (const auto& item : values) {
    if (item.KeyDword(n) == v) return true;
  }
  return false;
}

bool KeysLess(const TStatDrawItem& a, const TStatDrawItem& b) {
  if (a.Key1 != b.Key1) return a.Key1 < b.Key1;
  if (a.Key2 != b.Key2) return a.Key2 < b.Key2;
  if (a.Key3 != b.Key3) return a.Key3 < b.Key3;
  return a.Key4 < b.Key4;
}

void SortByKeys(TStatDrawArray& values) { std::stable_sort(values.begin(), values.end(), KeysLess); }

int32_t RecordLastValue(TLastValueArray& values, uint16_t k1, uint16_t k2, uint16_t k3, uint16_t k4,
                        int32_t draw) {
  for (auto& v : values) {
    if (v.Key1 == k1 && v.Key2 == k2 && v.Key3 == k3 && v.Key4 == k4) {
      // The numbers of a damaged archive may lie further apart than 32 bits can hold.
      const int64_t distance = int64_t{draw} - v.LastDraw;
      v.LastDraw = draw;
      return static_cast<int32_t>(std::clamp<int64_t>(distance, INT32_MIN, INT32_MAX));
    }
  }
  values.push_back(TLastValueItem{draw, k1, k2, k3, k4});
  return -1;
}

std::string FlagLetters(uint8_t flags) {
  static constexpr char Letters[] = {'S', 'N', 'D', 'P', 'G'};
  std::string out;
  for (int bit = 0; bit < 5; ++bit) {
    if (flags & (1u << bit)) out += Letters[bit];
  }
  return out;
}

namespace {
struct GroupInfo {
  const char* Tag;
  const char* Caption;
};
constexpr GroupInfo Groups[GroupCount] = {
    {"num", "Числа тиража"},
    {"sum", "Сумма чисел тиража"},
    {"dif", "Разности между числами тиража"},
    {"grp", "Каналы (группы чисел)"},
    {"mtx", "Матрица тиража"},
    {"sgm", "Сегменты матрицы тиража"},
    {"seq", "Последовательности чисел в одном тираже"},
    {"rep", "Повторяющиеся числа в нескольких тиражах"},
    {"ser", "Серии (цепочки) значений"},
    {"per", "Периоды повторения значений"},
    {"mov", "Переходы (изменения) значений между тиражами"},
    {"ogn", "Характеристическое число Огнева"},
    {"shr", "Методы шинковки"},
};
}  // namespace

std::string GroupTag(int group) { return group >= 0 && group < GroupCount ? Groups[group].Tag : ""; }
std::string GroupCaption(int group) { return group >= 0 && group < GroupCount ? Groups[group].Caption : ""; }

std::string GroupDisplayText(int group) {
  if (group < 0 || group >= GroupCount) return "#ERROR#";
  return std::string("{ ") + Groups[group].Tag + " } " + Groups[group].Caption;
}

}  // namespace kelmora::stats
