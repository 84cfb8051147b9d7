#include "stats/unit_combinations.h"

#include <algorithm>

#include <fmt/format.h>

#include "lottery/comb_text.h"
#include "support/text.h"

namespace kelmora::stats {

namespace {

using lottery::PositionCount;
using lottery::ValueCount;
using lottery::ValueMax;
using lottery::ValueMin;

// Fills the listing order with the distinct units as the cells are scanned position by position.
void OrderByFirstAppearance(TUnitMap& map) {
  map.OrderCount = 0;
  for (const auto& row : map.Cells) {
    for (uint8_t unit : row) {
      const auto end = map.Order.begin() + map.OrderCount;
      if (std::find(map.Order.begin(), end, unit) == end && map.OrderCount < static_cast<int>(map.Order.size())) {
        map.Order[static_cast<size_t>(map.OrderCount++)] = unit;
      }
    }
  }
}

template <typename UnitOfValue>
TUnitMap ByValue(UnitOfValue unit_of) {
  TUnitMap map;
  for (auto& row : map.Cells) {
    for (int v = ValueMin; v <= ValueMax; ++v) row[static_cast<size_t>(v - ValueMin)] = unit_of(v);
  }
  OrderByFirstAppearance(map);
  return map;
}

}  // namespace

uint8_t TUnitMap::Of(int position, int value) const {
  if (position < 0 || position >= PositionCount || value < ValueMin || value > ValueMax) return 0;
  return Cells[static_cast<size_t>(position)][static_cast<size_t>(value - ValueMin)];
}

std::array<uint8_t, lottery::PositionCount> TUnitMap::Units(lottery::TComb comb) const {
  std::array<uint8_t, PositionCount> units{};
  for (int p = 0; p < PositionCount; ++p) units[static_cast<size_t>(p)] = Of(p, lottery::CombValue(comb, p));
  return units;
}

std::string TUnitMap::UnitText(int unit) const {
  return ChannelSize > 0 ? ChannelText(unit, ChannelSize) : std::to_string(unit);
}

TUnitMap ChannelUnits(int32_t channel_size) {
  const int32_t size = std::max<int32_t>(channel_size, 1);
  TUnitMap map = ByValue([size](int v) { return static_cast<uint8_t>((v - 6 + int64_t{size} - 1) / size); });
  map.ChannelSize = size;
  return map;
}

TUnitMap SegmentUnits(const lottery::TMatrixSegments& segments) {
  TUnitMap map;
  map.Cells = segments;
  OrderByFirstAppearance(map);
  return map;
}

TUnitMap MatrixRowUnits() {
  return ByValue([](int v) { return static_cast<uint8_t>(v - 6); });
}

TUnitMap MatrixColumnUnits() {
  return ByValue([](int) { return uint8_t{0}; });
}

std::string ChannelText(int channel, int32_t channel_size) {
  const int64_t size = channel_size;
  const auto value = [](int64_t v) { return v >= 0 && v <= 255 ? lottery::ValueToText(static_cast<int>(v)) : std::to_string(v); };
  return fmt::format("{:02d} [{}-{}]", channel, value(size * (channel - 1) + 7), value(channel * size + 6));
}

// --- tuples ---

TUnitTuples MakeUnitTuples(int n, int size, bool neighbours) {
  TUnitTuples t;
  t.Size = size;
  if (size < 1 || size > 4 || n < size || n > 4) return t;
  auto add = [&t](std::array<uint8_t, 4> p) {
    if (t.Count < static_cast<int>(t.Positions.size())) t.Positions[static_cast<size_t>(t.Count++)] = p;
  };
  if (neighbours) {
    for (int first = 0; first + size <= n; ++first) {
      std::array<uint8_t, 4> p{};
      for (int k = 0; k < size; ++k) p[static_cast<size_t>(k)] = static_cast<uint8_t>(first + k);
      add(p);
    }
    return t;
  }
  // Subsets in ascending order: each bit mask of n bits with size bits set, read as positions, in
  // the order of their smallest differing position.
  std::array<uint8_t, 4> p{};
  for (int k = 0; k < size; ++k) p[static_cast<size_t>(k)] = static_cast<uint8_t>(k);
  while (true) {
    add(p);
    int k = size - 1;
    while (k >= 0 && p[static_cast<size_t>(k)] == n - size + k) --k;
    if (k < 0) break;
    ++p[static_cast<size_t>(k)];
    for (int j = k + 1; j < size; ++j) p[static_cast<size_t>(j)] = static_cast<uint8_t>(p[static_cast<size_t>(j - 1)] + 1);
  }
  return t;
}

namespace {

std::array<uint16_t, 4> TupleKeys(std::span<const uint8_t> units, const TUnitTuples& tuples, int t) {
  std::array<uint16_t, 4> keys{};
  for (int k = 0; k < tuples.Size; ++k) {
    keys[static_cast<size_t>(k)] = units[tuples.Positions[static_cast<size_t>(t)][static_cast<size_t>(k)]];
  }
  return keys;
}

}  // namespace

void AddUnitTuples(std::span<const uint8_t> units, const TUnitTuples& tuples, TStatDrawItem& item,
                   TStatDrawArray& values, bool track_periods, bool first_only) {
  for (int t = 0; t < tuples.Count; ++t) {
    const auto keys = TupleKeys(units, tuples, t);
    item.Key1 = keys[0];
    item.Key2 = keys[1];
    item.Key3 = keys[2];
    item.Key4 = keys[3];
    AddOccurrence(values, item, track_periods && (!first_only || t == 0));
  }
}

bool UnitTuplesMatch(std::span<const uint8_t> units, const TUnitTuples& tuples, const TStatDrawArray& selected) {
  for (int t = 0; t < tuples.Count; ++t) {
    const auto keys = TupleKeys(units, tuples, t);
    if (FindKeys(selected, keys[0], keys[1], keys[2], keys[3])) return true;
  }
  return false;
}

std::string UnitTupleText(const TStatDrawItem& item, int size) {
  const std::array<uint16_t, 4> keys = {item.Key1, item.Key2, item.Key3, item.Key4};
  std::string text;
  for (int k = 0; k < std::clamp(size, 1, 4); ++k) {
    if (k > 0) text += ':';
    text += lottery::ValueToText(keys[static_cast<size_t>(k)]);
  }
  return text;
}

// --- TUnitValuesStat ---

template <class Base>
std::string TUnitValuesStat<Base>::ValueText(const TStatDrawItem& item) const {
  return this->map_.UnitText(item.Key1);
}

template <class Base>
int32_t TUnitValuesStat<Base>::ValueFromText(std::string_view s) const {
  return support::ParseInt(s.substr(0, s.find(' '))).value_or(0);
}

template <class Base>
void TUnitValuesStat<Base>::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  for (int i = 0; i < this->map_.OrderCount; ++i) {
    this->item_.Key1 = this->map_.Order[static_cast<size_t>(i)];
    AddOccurrence(values, this->item_, false);
  }
}

template <class Base>
void TUnitValuesStat<Base>::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                          TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  for (uint8_t unit : this->map_.Units(this->cur_draw_.Values)) {
    this->item_.Key1 = unit;
    AddOccurrence(values, this->item_, true);
  }
}

template <class Base>
void TUnitValuesStat<Base>::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  for (uint8_t unit : this->map_.Units(comb)) {
    this->item_.Key1 = unit;
    AddOccurrence(values, this->item_, false);
  }
}

template <class Base>
bool TUnitValuesStat<Base>::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  for (uint8_t unit : this->map_.Units(comb)) {
    if (FindKey(selected, 1, unit)) return true;
  }
  return false;
}

// --- TUnitCountsStat ---

namespace {

// How many of the four positions fall into each unit of the listing order.
std::array<uint8_t, 16> CountsPerUnit(const TUnitMap& map, lottery::TComb comb) {
  std::array<uint8_t, 16> counts{};
  for (uint8_t unit : map.Units(comb)) {
    for (int i = 0; i < map.OrderCount; ++i) {
      if (map.Order[static_cast<size_t>(i)] == unit) ++counts[static_cast<size_t>(i)];
    }
  }
  return counts;
}

}  // namespace

template <class Base>
std::string TUnitCountsStat<Base>::ValueText(const TStatDrawItem& item) const {
  return fmt::format("{} x {}", this->map_.UnitText(item.Key1), item.Key2);
}

template <class Base>
void TUnitCountsStat<Base>::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  for (int i = 0; i < this->map_.OrderCount; ++i) {
    for (int count = 0; count <= listed_max_; ++count) {
      this->item_.Key1 = this->map_.Order[static_cast<size_t>(i)];
      this->item_.Key2 = static_cast<uint16_t>(count);
      AddOccurrence(values, this->item_, false);
    }
  }
}

template <class Base>
void TUnitCountsStat<Base>::AddCounts(lottery::TComb comb, TStatDrawArray& values, bool track_periods) {
  const auto counts = CountsPerUnit(this->map_, comb);
  for (int i = 0; i < this->map_.OrderCount; ++i) {
    this->item_.Key1 = this->map_.Order[static_cast<size_t>(i)];
    this->item_.Key2 = counts[static_cast<size_t>(i)];
    AddOccurrence(values, this->item_, track_periods);
  }
}

template <class Base>
void TUnitCountsStat<Base>::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                          TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  AddCounts(this->cur_draw_.Values, values, true);
}

template <class Base>
void TUnitCountsStat<Base>::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  AddCounts(comb, values, false);
}

template <class Base>
bool TUnitCountsStat<Base>::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  const auto counts = CountsPerUnit(this->map_, comb);
  for (int i = 0; i < this->map_.OrderCount; ++i) {
    if (FindKeys(selected, this->map_.Order[static_cast<size_t>(i)], counts[static_cast<size_t>(i)], 0, 0)) {
      return true;
    }
  }
  return false;
}

// --- TUnitNumberStat and its two members ---

template <class GraphBase>
void TUnitNumberStat<GraphBase>::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  for (int n = 1; n <= listed_max_; ++n) {
    this->item_.Key1 = static_cast<uint16_t>(n);
    AddOccurrence(values, this->item_, false);
  }
}

template <class GraphBase>
void TUnitNumberStat<GraphBase>::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                               TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  this->item_.Key1 = static_cast<uint16_t>(NumberOf(this->cur_draw_.Values));
  AddOccurrence(values, this->item_, true);
}

template <class GraphBase>
void TUnitNumberStat<GraphBase>::AddCombValues(lottery::TComb comb, TStatDrawArray& values) {
  TCustomStat::AddCombValues(comb, values);
  this->item_.Key1 = static_cast<uint16_t>(NumberOf(comb));
  AddOccurrence(values, this->item_, false);
}

template <class GraphBase>
bool TUnitNumberStat<GraphBase>::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  return FindKey(selected, 1, static_cast<uint16_t>(NumberOf(comb)));
}

template <class GraphBase>
int32_t TUnitNumberStat<GraphBase>::GraphValue(lottery::TComb comb, int, int, bool) {
  return NumberOf(comb);
}

template <class GraphBase>
int32_t TUnitSpreadStat<GraphBase>::NumberOf(lottery::TComb comb) const {
  const auto units = this->map_.Units(comb);
  int32_t n = 0;
  for (size_t i = 0; i < units.size(); ++i) {
    if (std::find(units.begin(), units.begin() + static_cast<std::ptrdiff_t>(i), units[i]) ==
        units.begin() + static_cast<std::ptrdiff_t>(i)) {
      ++n;
    }
  }
  return n;
}

template <class GraphBase>
int32_t TUnitIndexCountStat<GraphBase>::NumberOf(lottery::TComb comb) const {
  const auto units = this->map_.Units(comb);
  return static_cast<int32_t>(std::count(units.begin(), units.end(), this->index_));
}

// --- TUnitTupleStat ---

template <class Base>
std::string TUnitTupleStat<Base>::ValueText(const TStatDrawItem& item) const {
  return UnitTupleText(item, tuples_.Size);
}

template <class Base>
void TUnitTupleStat<Base>::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                         TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  const auto units = this->map_.Units(this->cur_draw_.Values);
  AddUnitTuples(units, tuples_, this->item_, values, true, false);
}

template <class Base>
bool TUnitTupleStat<Base>::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  const auto units = this->map_.Units(comb);
  return UnitTuplesMatch(units, tuples_, selected);
}

// The bases of the three families that use the mechanism.
template class TUnitValuesStat<TCustomChannelsStat>;
template class TUnitValuesStat<TCustomSegmentsStat>;
template class TUnitCountsStat<TCustomChannelsStat>;
template class TUnitCountsStat<TCustomSegmentsStat>;
template class TUnitNumberStat<TCustomChannelsGraphStat>;
template class TUnitNumberStat<TCustomSegmentsGraphStat>;
template class TUnitSpreadStat<TCustomChannelsGraphStat>;
template class TUnitSpreadStat<TCustomSegmentsGraphStat>;
template class TUnitIndexCountStat<TCustomChannelsGraphStat>;
template class TUnitIndexCountStat<TCustomSegmentsGraphStat>;
template class TUnitTupleStat<TCustomChannelsStat>;
template class TUnitTupleStat<TCustomSegmentsStat>;
template class TUnitTupleStat<TCustomMatrixStat>;

}  // namespace kelmora::stats
