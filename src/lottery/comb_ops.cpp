#include "lottery/comb_ops.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>

#include "support/text.h"

namespace kelmora::lottery {

namespace {

constexpr std::array<uint32_t, 19> ChannelColors = {
    0xAAFFAA, 0xFFFFAA, 0xAAFFFF, 0xFFAAAA, 0xAAAAFF, 0xFFD5AA, 0xD5AAFF, 0xD4D4D4, 0xAAD5FF, 0xFFAAD5,
    0xD5FFD5, 0xFFFFD5, 0xD5FFFF, 0xFFD5D5, 0xD5D5FF, 0xFFEAD5, 0xEAD5FF, 0xE9E9E9, 0xD5EAFF};
constexpr uint32_t OutOfRangeColor = 0xFF0000;

// Protects the range form against texts such as "1-2000000000;1" that would exhaust memory.
constexpr int64_t MaxValueListSize = 65536;

bool IsCardValue(int v) { return v >= ValueMin && v <= ValueMax; }

template <typename It>
void InsertionSort(It first, It last) {
  for (It i = first; i != last; ++i) {
    for (It j = i; j != first && *j < *(j - 1); --j) std::iter_swap(j, j - 1);
  }
}

// "a,b;c" with every piece a whole integer; nullopt when any piece is not.
std::optional<TIntArray> ParsePlainList(std::string_view text) {
  TIntArray values;
  for (const std::string& piece : support::Split(text, ",;")) {
    const std::optional<int32_t> v = support::ParseInt(support::Trim(piece));
    if (!v) return std::nullopt;
    values.push_back(*v);
  }
  return values;
}

// "a-b;step": a runs to the first "-" that is not the first character, b to the next ";" or ",".
TIntArray ParseRange(std::string_view text) {
  const size_t dash = text.find('-', 1);
  if (text.empty() || dash == std::string_view::npos) return {};
  const size_t sep = text.find_first_of(",;", dash + 1);
  if (sep == std::string_view::npos) return {};
  const std::optional<int32_t> a = support::ParseInt(support::Trim(text.substr(0, dash)));
  const std::optional<int32_t> b = support::ParseInt(support::Trim(text.substr(dash + 1, sep - dash - 1)));
  const std::optional<int32_t> step = support::ParseInt(support::Trim(text.substr(sep + 1)));
  if (!a || !b || !step || *step == 0) return {};
  const int64_t count = (int64_t{*b} - *a) / *step + 1;
  if (count <= 0 || count > MaxValueListSize) return {};
  TIntArray values;
  values.reserve(static_cast<size_t>(count));
  for (int64_t i = 0; i < count; ++i) values.push_back(static_cast<int32_t>(*a + i * *step));
  return values;
}

}  // namespace

int PositionalMatches(TComb a, TComb b) {
  int matches = 0;
  for (int p = 0; p < PositionCount; ++p) {
    if (CombValue(a, p) == CombValue(b, p)) ++matches;
  }
  return matches;
}

TNumberSet MatchedValues(TComb draw, TComb comb) {
  TNumberSet set;
  for (int p = 0; p < PositionCount; ++p) {
    if (CombValue(draw, p) == CombValue(comb, p)) set.Values[set.Count++] = CombValue(draw, p);
  }
  SortNumberSet(set);
  return set;
}

TNumberSet CombToNumberSet(TComb comb) {
  TNumberSet set;
  set.Count = PositionCount;
  for (int p = 0; p < PositionCount; ++p) set.Values[p] = CombValue(comb, p);
  return set;
}

TByteArray CollectDistinctValues(const TCombsArray& combs, int n) {
  TByteArray values;
  std::bitset<256> seen;
  const size_t limit = n > 0 ? std::min(combs.size(), static_cast<size_t>(n)) : 0;
  for (size_t i = 0; i < limit && values.size() < ValueCount; ++i) {
    for (int p = 0; p < PositionCount && values.size() < ValueCount; ++p) {
      const uint8_t v = CombValue(combs[i], p);
      if (!seen[v]) {
        seen[v] = true;
        values.push_back(v);
      }
    }
  }
  return values;
}

int CountDistinctValues(const TCombsArray& combs, int n) {
  return static_cast<int>(CollectDistinctValues(combs, n).size());
}

bool ContainsValue(int value, TComb comb) {
  for (int p = 0; p < PositionCount; ++p) {
    if (CombValue(comb, p) == value) return true;
  }
  return false;
}

bool ContainsChannel(int channel, TComb comb, int channel_size) {
  for (int p = 0; p < PositionCount; ++p) {
    if (ChannelOf(CombValue(comb, p), channel_size) == channel) return true;
  }
  return false;
}

bool MapsToValue(int value, TComb comb, const TMatrixSegments& table) {
  for (int p = 0; p < PositionCount; ++p) {
    const int v = CombValue(comb, p);
    if (IsCardValue(v) && table[p][v - ValueMin] == value) return true;
  }
  return false;
}

TComb RotateValues(TComb comb, int k) {
  TComb result = comb;
  for (int p = 0; p < PositionCount; ++p) {
    int v = CombValue(comb, p) + k;
    if (v > ValueMax) v -= ValueCount;
    if (v < ValueMin) v += ValueCount;
    result = SetCombValue(result, p, v);
  }
  return result;
}

int ChannelOf(int value, int channel_size) {
  const int size = std::max(channel_size, 1);
  const int offset = value - (ValueMin - 1);
  // Ceiling division that also rounds towards +infinity for values below 7.
  // 64-bit: offset + size - 1 overflows for sizes near the largest int.
  const int64_t wide = size;
  return static_cast<int>(offset > 0 ? (offset + wide - 1) / wide : -((-static_cast<int64_t>(offset)) / wide));
}

uint32_t ChannelColor(int value, int channel_size) {
  if (!IsCardValue(value)) return OutOfRangeColor;
  return ChannelNumberColor(ChannelOf(value, channel_size));
}

uint32_t ChannelNumberColor(int channel) {
  if (channel > static_cast<int>(ChannelColors.size())) channel -= static_cast<int>(ChannelColors.size());
  if (channel < 1 || channel > static_cast<int>(ChannelColors.size())) return OutOfRangeColor;
  return ChannelColors[channel - 1];
}

void SortInts(TIntArray& values) { InsertionSort(values.begin(), values.end()); }

TComb SortComb(TComb comb) {
  std::array<uint8_t, PositionCount> v{};
  for (int p = 0; p < PositionCount; ++p) v[p] = CombValue(comb, p);
  InsertionSort(v.begin(), v.end());
  return MakeComb(v[0], v[1], v[2], v[3]);
}

void SortNumberSet(TNumberSet& set) {
  const int count = std::clamp(set.Count, 0, 4);
  InsertionSort(set.Values.begin(), set.Values.begin() + count);
}

bool Contains(const TByteArray& values, uint8_t value) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

void Append(TByteArray& values, uint8_t value) { values.push_back(value); }

void AppendUnique(TByteArray& values, uint8_t value) {
  if (!Contains(values, value)) values.push_back(value);
}

TIntArray ParseValueList(std::string_view text) {
  if (std::optional<TIntArray> list = ParsePlainList(text); list && !list->empty()) return *list;
  return ParseRange(text);
}

std::string ValueListToText(const TIntArray& values, std::string_view separator) {
  std::string text;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += separator;
    text += std::to_string(values[i]);
  }
  return text;
}

void AddSimple(TStatSimpleArray& items, int32_t key, int32_t n) {
  for (TStatSimpleRec& item : items) {
    if (item.Key == key) {
      if (n > 0) item.Count += n;
      return;
    }
  }
  items.push_back({key, n});
}

void SortSimple(TStatSimpleArray& items) {
  std::stable_sort(items.begin(), items.end(),
                   [](const TStatSimpleRec& a, const TStatSimpleRec& b) { return a.Key < b.Key; });
}

void AddRating(TRatingsArray& items, std::string_view name, int matches, Currency profit) {
  // ByMatches has a slot for 0..4 matches only.
  if (matches < 0 || matches > PositionCount) return;
  for (TRatingRec& item : items) {
    if (support::SameText(item.Name, name)) {
      item.Count += 1;
      item.SumMatches += matches;
      item.ByMatches[matches] += 1;
      item.Profit += profit;
      return;
    }
  }
  TRatingRec item;
  item.Name = std::string(name);
  item.Count = 1;
  item.SumMatches = matches;
  item.ByMatches[matches] = 1;
  item.Profit = profit;
  items.push_back(std::move(item));
}

void AddProfitDraw(TProfitDrawArray& items, int32_t draw, Currency profit) {
  for (TProfitDrawRec& item : items) {
    if (item.Draw == draw) {
      item.Profit += profit;
      return;
    }
  }
  items.push_back({draw, profit});
}

std::string MatrixSegmentsToText(const TMatrixSegments& segments) {
  std::string text;
  for (const auto& row : segments) {
    for (uint8_t entry : row) text += std::to_string(entry);
  }
  return text;
}

TMatrixSegments TextToMatrixSegments(std::string_view text) {
  TMatrixSegments segments = AllSegmentsOne();
  for (size_t i = 0; i < PositionCount * ValueCount && i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') segments[i / ValueCount][i % ValueCount] = static_cast<uint8_t>(c - '0');
  }
  return segments;
}

}  // namespace kelmora::lottery
