#pragma once
// Chain statistics (group 10): what a card, a channel, a segment, or the number of cards in one
// channel or segment turned into from one draw to the next (2-draw members) or after a pair of
// draws (3-draw members), counted only where the starting point is what the window's last draw
// (and the one before it) shows. The value, channel and segment members are one mechanism over the
// unit rule of the series statistics.

#include <span>

#include "stats/series.h"

namespace kelmora::stats {

// The shapes of a transition. Cur = the draw, P1 and P2 the two before it, L and L1 the window's
// last draw and the one before it; U(p, v) the unit of v at position p.
enum class ChainShape : uint8_t {
  All2,    // U(p, P1[p]) is a unit of L: (U(p, P1[p]), U(q, Cur[q])) for every q
  Pos2,    // U(p, P1[p]) = U(p, L[p]): (U(p, P1[p]), U(p, Cur[p]))
  Pos3,    // and U(p, P2[p]) = U(p, L1[p]): (U(p, P2[p]), U(p, P1[p]), U(p, Cur[p]))
  Count2,  // n(D) = positions of D in unit Index; n(L) = n(P1): (n(P1), n(Cur))
  Count3,  // and n(L1) = n(P2): (n(P2), n(P1), n(Cur))
};

// Flag "D"; Key1..Key3 as the shape says; rows "9 -> J", "9-J -> 7", "01 -> 02". The position
// members take all four positions, or only position Index when one_position. The filter keeps the
// combinations holding the unit (or the count) that followed; positions are not compared.
class TCustomChainStat : public TCustomStat {
 public:
  TCustomChainStat(const TStatList& list, const TStatClass& cls, int32_t index, TStatUnits::Kind kind,
                   ChainShape shape, bool one_position);

  std::string ValueText(const TStatDrawItem& item) const override;
  // Count members list the transitions from the last draw's count (to 0 .. ChannelSize for
  // channels, to 0 for segments), reading the draws unsorted.
  void ListAllValues(int last_idx, TStatDrawArray& values) override;
  // Nothing while P1 (and P2 for 3-draw shapes) is not a draw of the archive.
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;

 private:
  bool ThreeDraws() const { return shape_ == ChainShape::Pos3 || shape_ == ChainShape::Count3; }
  bool IsCount() const { return shape_ == ChainShape::Count2 || shape_ == ChainShape::Count3; }
  void Add(TStatDrawArray& values, int k1, int k2, int k3);

  TStatUnits units_;
  ChainShape shape_;
  bool one_position_;
};

template <TStatUnits::Kind Kind, ChainShape Shape, bool OnePosition>
class TChainStatOf : public TCustomChainStat {
 public:
  TChainStatOf(const TStatList& list, const TStatClass& cls, int32_t index)
      : TCustomChainStat(list, cls, index, Kind, Shape, OnePosition) {}
};
using TstChain2DrawsAll = TChainStatOf<TStatUnits::Kind::Values, ChainShape::All2, false>;         // "SDV2"
using TstChain2DrawsPos = TChainStatOf<TStatUnits::Kind::Values, ChainShape::Pos2, false>;         // "SDP2"
using TstChain2Pos = TChainStatOf<TStatUnits::Kind::Values, ChainShape::Pos2, true>;               // "SDN%d"
using TstChain3DrawsPos = TChainStatOf<TStatUnits::Kind::Values, ChainShape::Pos3, false>;         // "SDP3"
using TstChain3Pos = TChainStatOf<TStatUnits::Kind::Values, ChainShape::Pos3, true>;               // "SDM%d"
using TstChain2ChannelsAll = TChainStatOf<TStatUnits::Kind::Channels, ChainShape::All2, false>;    // "SCV2"
using TstChain2ChannelsPos = TChainStatOf<TStatUnits::Kind::Channels, ChainShape::Pos2, false>;    // "SCP2"
using TstChain2Channel = TChainStatOf<TStatUnits::Kind::Channels, ChainShape::Pos2, true>;         // "SCN%d"
using TstChain3ChannelsPos = TChainStatOf<TStatUnits::Kind::Channels, ChainShape::Pos3, false>;    // "SCP3"
using TstChain3Channel = TChainStatOf<TStatUnits::Kind::Channels, ChainShape::Pos3, true>;         // "SCM%d"
using TstChain2CnlCnt = TChainStatOf<TStatUnits::Kind::Channels, ChainShape::Count2, false>;       // "SC2C%d"
using TstChain3CnlCnt = TChainStatOf<TStatUnits::Kind::Channels, ChainShape::Count3, false>;       // "SC3C%d"
using TstChain2SegmentsAll = TChainStatOf<TStatUnits::Kind::Segments, ChainShape::All2, false>;    // "SSV2"
using TstChain2SegmentsPos = TChainStatOf<TStatUnits::Kind::Segments, ChainShape::Pos2, false>;    // "SSP2"
using TstChain2Segment = TChainStatOf<TStatUnits::Kind::Segments, ChainShape::Pos2, true>;         // "SSN%d"
using TstChain3SegmentsPos = TChainStatOf<TStatUnits::Kind::Segments, ChainShape::Pos3, false>;    // "SSP3"
using TstChain3Segment = TChainStatOf<TStatUnits::Kind::Segments, ChainShape::Pos3, true>;         // "SSM%d"
using TstChain2SgmCnt = TChainStatOf<TStatUnits::Kind::Segments, ChainShape::Count2, false>;       // "SS2C%d"
using TstChain3SgmCnt = TChainStatOf<TStatUnits::Kind::Segments, ChainShape::Count3, false>;       // "SS3C%d"

// Transitions of the last draw's values within their channels (P1 read unsorted): kind 0 every
// x -> y with y of Cur in x's channel and x -> 0 when none, kind 1 only x -> y, kind 2 only
// x -> 0, kind 3 x -> n with n the number of Cur's values in x's channel.
class TCustomChainChannels2Inside : public TCustomStat {
 public:
  TCustomChainChannels2Inside(const TStatList& list, const TStatClass& cls, int32_t index, int kind);

  std::string ValueText(const TStatDrawItem& item) const override;  // "11 -> 12"; kind 3 "11 -> 2"
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                     TLastValueArray& last_values) override;
  // An x -> y row keeps the combinations holding y (x in the last draw); an x -> 0 row and every
  // count row those holding a value of x's channel.
  bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                   bool exclude) override;
  int InsideKind() const { return kind_; }

 private:
  int channel_size_;
  int kind_;
};

template <int Kind>
class TChainInsideOf : public TCustomChainChannels2Inside {
 public:
  TChainInsideOf(const TStatList& list, const TStatClass& cls, int32_t index)
      : TCustomChainChannels2Inside(list, cls, index, Kind) {}
};
using TstChainChannels2InsideAll = TChainInsideOf<0>;  // "SDA2"
using TstChainChannels2InsideSuc = TChainInsideOf<1>;  // "SDG2"
using TstChainChannels2InsideBad = TChainInsideOf<2>;  // "SDZ2"
using TstChainChannels2InsideCnt = TChainInsideOf<3>;  // "SDC2"

// The family's classes with their ordinals (117..139).
std::span<const TStatClass* const> ChainClasses();

}  // namespace kelmora::stats
