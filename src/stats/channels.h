#pragma once
// Channel statistics (group 3): the values grouped into channels of ChannelSize consecutive values,
// and a draw described by the channels its values fall into. Each object reads the channel size
// once, at creation; a size below 1 counts as 1.

#include <span>

#include "stats/unit_combinations.h"

namespace kelmora::stats {

// The channel size the family uses for the registry's settings: ChannelSize, at least 1.
int32_t EffectiveChannelSize(const TStatList& list);

// "CHAN": each position's channel; rows are the channels 1..C.
class TstChannels : public TUnitValuesStat<TCustomChannelsStat> {
 public:
  TstChannels(const TStatList& list, const TStatClass& cls, int32_t index);
};

// "CHNV": (channel, values in it) for every channel, counts 0..min(S, 4) listed.
class TstChanValues : public TUnitCountsStat<TCustomChannelsStat> {
 public:
  TstChanValues(const TStatList& list, const TStatClass& cls, int32_t index);
};

// "CHNC": the number of different channels, 1..min(S, 4) listed.
class TstChanCount : public TUnitSpreadStat<TCustomChannelsGraphStat> {
 public:
  TstChanCount(const TStatList& list, const TStatClass& cls, int32_t index);
};

// "CHN%d": the number of values in channel Index, counts 1..S listed.
class TstChnValCnt : public TUnitIndexCountStat<TCustomChannelsGraphStat> {
 public:
  TstChnValCnt(const TStatList& list, const TStatClass& cls, int32_t index);
};

// The channel combinations: the channels of every pair or triple of positions (Mix) or of
// neighbouring positions (Seq).
class TCustomChnCombStat : public TUnitTupleStat<TCustomChannelsStat> {
 public:
  TCustomChnCombStat(const TStatList& list, const TStatClass& cls, int32_t index, int size, bool neighbours);
};
template <int Size, bool Neighbours>
class TstCombChn : public TCustomChnCombStat {
 public:
  TstCombChn(const TStatList& list, const TStatClass& cls, int32_t index)
      : TCustomChnCombStat(list, cls, index, Size, Neighbours) {}
};
using TstCombChnMix2 = TstCombChn<2, false>;  // "KCM2"
using TstCombChnMix3 = TstCombChn<3, false>;  // "KCM3"
using TstCombChnSeq2 = TstCombChn<2, true>;   // "KCS2"
using TstCombChnSeq3 = TstCombChn<3, true>;   // "KCS3"

// The family's available classes with their ordinals (22..24, 78, 79, 81, 82, 104); the
// four-of-four members are never available and are left out.
std::span<const TStatClass* const> ChannelClasses();

}  // namespace kelmora::stats
