#pragma once
// Series statistics (group 8): for each unit (a card value, a channel or a matrix segment) that
// came out in the window's last draw, the lengths of its runs of consecutive draws with the unit
// (repeats) or without it (pauses). The unit rule is shared with the period and chain statistics.

#include <span>
#include <string>

#include "stats/custom_stat.h"

namespace kelmora::stats {

// What a unit of a card value at a position is: the value, its channel, or its segment digit.
struct TStatUnits {
  enum class Kind : uint8_t { Values, Channels, Segments };
  Kind UnitKind = Kind::Values;
  int ChannelSize = 1;  // 1 or more
  lottery::TMatrixSegments Segments = lottery::AllSegmentsOne();

  // The unit kind with the list's current settings (a channel size below 1 counts as 1).
  static TStatUnits FromList(const TStatList& list, Kind kind);

  // The unit of `value` at `position` (0..3); -1 for a value that is not a card (a missing draw).
  int UnitOf(int position, int value) const;
  // Whether some position of the four values has the unit.
  bool Holds(lottery::TComb values, int unit) const;
  // How many positions of the four values have the unit.
  int CountIn(lottery::TComb values, int unit) const;
  // The range of units: 7..14, 1..ceil(8 / size), or the smallest..largest digit of the table.
  int MinUnit() const;
  int MaxUnit() const;
  // Card text, "%.2d", or decimal.
  std::string Text(int unit) const;
};

// The digit range of a segment table: from (9, 1), lowered and raised over the 32 cells.
TIndexRange SegmentDigitRange(const lottery::TMatrixSegments& segments);

// Runs of one unit kind. Key1 = the unit, Key2 = the run length; rows "J x 3". Flag "D": only
// units of the window's last draw get rows. Each unit keeps its running record in the work area.
class TCustomSerialStat : public TCustomStat {
 public:
  TCustomSerialStat(const TStatList& list, const TStatClass& cls, int32_t index, TStatUnits::Kind kind,
                    bool presence);

  std::string ValueText(const TStatDrawItem& item) const override;
  // A run is emitted when it is broken, or at the window's last draw when it reaches it; in pause
  // mode with the number and depth of the pause's last draw.
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  bool KeepsScanState() const override { return true; }  // runs live in the work area
  // Some position's unit is the Key1 of a selected row; the length plays no part.
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;

  bool Presence() const { return presence_; }
  const TStatUnits& Units() const { return units_; }

 private:
  TStatUnits units_;
  bool presence_;
};

template <TStatUnits::Kind Kind, bool InRuns>
class TSerialStatOf : public TCustomSerialStat {
 public:
  TSerialStatOf(const TStatList& list, const TStatClass& cls, int32_t index)
      : TCustomSerialStat(list, cls, index, Kind, InRuns) {}
};
using TstNumGroups = TSerialStatOf<TStatUnits::Kind::Values, true>;     // "GRPV"
using TstNumPauses = TSerialStatOf<TStatUnits::Kind::Values, false>;    // "GRPP"
using TstChnGroups = TSerialStatOf<TStatUnits::Kind::Channels, true>;   // "GRCV"
using TstChnPauses = TSerialStatOf<TStatUnits::Kind::Channels, false>;  // "GRCP"
using TstSgmGroups = TSerialStatOf<TStatUnits::Kind::Segments, true>;   // "GRSV"
using TstSgmPauses = TSerialStatOf<TStatUnits::Kind::Segments, false>;  // "GRSP"

// The family's classes with their ordinals (108..113).
std::span<const TStatClass* const> SeriesClasses();

}  // namespace kelmora::stats
