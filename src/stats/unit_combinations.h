#pragma once
// Statistics over "units" of a draw's cells: the channel of a value, the segment of a (position,
// value) cell, the matrix row or the matrix column of a value. One mechanism serves the channel,
// segment and matrix families, each supplying its unit map: the units per position, the count per
// unit, the number of different units, the count in one unit, and the combinations of units over
// all or over neighbouring positions.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "stats/custom_stat.h"

namespace kelmora::stats {

// The unit of every cell for one grouping, and the units in their listing order.
struct TUnitMap {
  lottery::TMatrixSegments Cells{};  // [position 0..3][value - 7]
  std::array<uint8_t, 16> Order{};   // distinct units in listing order
  int OrderCount = 0;
  int32_t ChannelSize = 0;  // > 0: the units are channels of this size and print as channel texts

  uint8_t Of(int position, int value) const;  // 0 for a value outside 7..14
  std::array<uint8_t, lottery::PositionCount> Units(lottery::TComb comb) const;
  std::string UnitText(int unit) const;  // the channel text, or the decimal unit
};

// Channels of the size (a size below 1 counts as 1, so nothing divides by zero): ch(v) = ceil((v - 6)
// / size), listed 1..ch(14).
TUnitMap ChannelUnits(int32_t channel_size);
// The segment digits of the table, listed in order of first appearance, position by position.
TUnitMap SegmentUnits(const lottery::TMatrixSegments& segments);
// The fixed matrix placement of this game: row v - 6, column 0.
TUnitMap MatrixRowUnits();
TUnitMap MatrixColumnUnits();
// "02 [9-10]": the channel number and its first and last value as card texts (the last may pass 14
// and then prints as a number).
std::string ChannelText(int channel, int32_t channel_size);

// The position tuples a combination member reads: every size-subset of n units in ascending order
// (1-2, 1-3, ...), or with neighbours the runs of size consecutive units (1-2, 2-3, ...).
struct TUnitTuples {
  int Size = 0;
  int Count = 0;
  std::array<std::array<uint8_t, 4>, 6> Positions{};
};
// size 1..4, n 1..4; an impossible request gives Count 0.
TUnitTuples MakeUnitTuples(int n, int size, bool neighbours);
// One value per tuple, the units in Key1..Key<size>, the other keys 0. With first_only the periods
// move only for the first tuple.
void AddUnitTuples(std::span<const uint8_t> units, const TUnitTuples& tuples, TStatDrawItem& item,
                   TStatDrawArray& values, bool track_periods, bool first_only);
// Whether some tuple of the units is a selected row. Allocates nothing.
bool UnitTuplesMatch(std::span<const uint8_t> units, const TUnitTuples& tuples, const TStatDrawArray& selected);
// The first size keys as card texts joined by ":" ("1:3", "0:0:0").
std::string UnitTupleText(const TStatDrawItem& item, int size);

// A family's base that holds the unit map.
template <class Base>
class TUnitStat : public Base {
 public:
  TUnitStat(const TStatList& list, const TStatClass& cls, int32_t index, TUnitMap map)
      : Base(list, cls, index), map_(map) {}
  const TUnitMap& Map() const { return map_; }

 protected:
  TUnitMap map_;
};

// "CHAN", "SGMS": one value per position, its unit; rows are the units in listing order.
template <class Base>
class TUnitValuesStat : public TUnitStat<Base> {
 public:
  using TUnitStat<Base>::TUnitStat;
  std::string ValueText(const TStatDrawItem& item) const override;
  int32_t ValueFromText(std::string_view s) const override;  // the first word as an integer
  void ListAllValues(int last_idx, TStatDrawArray& values) override;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
};

// "CHNV", "SGMV": one value (unit, positions in it) per unit of the listing order, 0 included.
// listed_max >= 0 lists the counts 0..listed_max of every unit in advance.
template <class Base>
class TUnitCountsStat : public TUnitStat<Base> {
 public:
  TUnitCountsStat(const TStatList& list, const TStatClass& cls, int32_t index, TUnitMap map, int listed_max)
      : TUnitStat<Base>(list, cls, index, map), listed_max_(listed_max) {}
  std::string ValueText(const TStatDrawItem& item) const override;  // "01 [7-8] x 2", "1 x 4"
  void ListAllValues(int last_idx, TStatDrawArray& values) override;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;

 private:
  void AddCounts(lottery::TComb comb, TStatDrawArray& values, bool track_periods);
  int listed_max_;
};

// A graph member with one number per draw; listed_max >= 1 lists 1..listed_max in advance.
template <class GraphBase>
class TUnitNumberStat : public TUnitStat<GraphBase> {
 public:
  TUnitNumberStat(const TStatList& list, const TStatClass& cls, int32_t index, TUnitMap map, int listed_max)
      : TUnitStat<GraphBase>(list, cls, index, map), listed_max_(listed_max) {}
  void ListAllValues(int last_idx, TStatDrawArray& values) override;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  void AddCombValues(lottery::TComb comb, TStatDrawArray& values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) override;
  virtual int32_t NumberOf(lottery::TComb comb) const = 0;

 private:
  int listed_max_;
};

// "CHNC", "SGMC": the number of different units among the four positions.
template <class GraphBase>
class TUnitSpreadStat : public TUnitNumberStat<GraphBase> {
 public:
  using TUnitNumberStat<GraphBase>::TUnitNumberStat;
  int32_t NumberOf(lottery::TComb comb) const override;
};

// "CHN%d", "SGM%d": the number of positions whose unit is the index.
template <class GraphBase>
class TUnitIndexCountStat : public TUnitNumberStat<GraphBase> {
 public:
  using TUnitNumberStat<GraphBase>::TUnitNumberStat;
  int32_t NumberOf(lottery::TComb comb) const override;
};

// The combination members: the units of every tuple of positions, periods on every value; nothing
// is listed and combinations add nothing (no norm).
template <class Base>
class TUnitTupleStat : public TUnitStat<Base> {
 public:
  TUnitTupleStat(const TStatList& list, const TStatClass& cls, int32_t index, TUnitMap map, int size,
                 bool neighbours)
      : TUnitStat<Base>(list, cls, index, map), tuples_(MakeUnitTuples(lottery::PositionCount, size, neighbours)) {}
  std::string ValueText(const TStatDrawItem& item) const override;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;

 private:
  TUnitTuples tuples_;
};

// Instantiated once, in unit_combinations.cpp, for the bases of the families.
extern template class TUnitValuesStat<TCustomChannelsStat>;
extern template class TUnitValuesStat<TCustomSegmentsStat>;
extern template class TUnitCountsStat<TCustomChannelsStat>;
extern template class TUnitCountsStat<TCustomSegmentsStat>;
extern template class TUnitNumberStat<TCustomChannelsGraphStat>;
extern template class TUnitNumberStat<TCustomSegmentsGraphStat>;
extern template class TUnitSpreadStat<TCustomChannelsGraphStat>;
extern template class TUnitSpreadStat<TCustomSegmentsGraphStat>;
extern template class TUnitIndexCountStat<TCustomChannelsGraphStat>;
extern template class TUnitIndexCountStat<TCustomSegmentsGraphStat>;
extern template class TUnitTupleStat<TCustomChannelsStat>;
extern template class TUnitTupleStat<TCustomSegmentsStat>;
extern template class TUnitTupleStat<TCustomMatrixStat>;

}  // namespace kelmora::stats
