#include "stats/channels.h"

#include <algorithm>
#include <array>

#include "stats/stat_list.h"

namespace kelmora::stats {

namespace {

TUnitMap ChannelsOf(const TStatList& list) { return ChannelUnits(EffectiveChannelSize(list)); }
int ListedCounts(const TStatList& list) { return std::min(EffectiveChannelSize(list), 4); }

TIndexRange ChannelIndexes(const TStatList& list) {
  const TUnitMap map = ChannelsOf(list);
  return {map.Of(0, lottery::ValueMin), map.Of(0, lottery::ValueMax)};
}

constexpr uint8_t N = FlagNorm;
constexpr uint8_t S = FlagShown;

const TStatClass ChannelsClass{.Ordinal = 22, .ClassName = "TstChannels", .CodeFormat = "CHAN",
                               .CaptionFormat = "Каналы", .Group = 3, .Flags = N,
                               .Create = &CreateStatOf<TstChannels>};
const TStatClass ChanValuesClass{.Ordinal = 23, .ClassName = "TstChanValues", .CodeFormat = "CHNV",
                                 .CaptionFormat = "Количество чисел в канале", .Group = 3, .Flags = N,
                                 .CanSelectByList = false, .Create = &CreateStatOf<TstChanValues>};
const TStatClass ChanCountClass{.Ordinal = 24, .ClassName = "TstChanCount", .CodeFormat = "CHNC",
                                .CaptionFormat = "Количество каналов в тираже", .Group = 3, .Flags = N,
                                .IsGraph = true, .Create = &CreateStatOf<TstChanCount>};
const TStatClass CombChnMix2Class{.Ordinal = 78, .ClassName = "TstCombChnMix2", .CodeFormat = "KCM2",
                                  .CaptionFormat = "Сочетания из 2 каналов по всем числам тиража", .Group = 3,
                                  .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombChnMix2>};
const TStatClass CombChnMix3Class{.Ordinal = 79, .ClassName = "TstCombChnMix3", .CodeFormat = "KCM3",
                                  .CaptionFormat = "Сочетания из 3 каналов по всем числам тиража", .Group = 3,
                                  .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombChnMix3>};
const TStatClass CombChnSeq2Class{.Ordinal = 81, .ClassName = "TstCombChnSeq2", .CodeFormat = "KCS2",
                                  .CaptionFormat = "Сочетания из 2 каналов по соседним числам", .Group = 3,
                                  .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombChnSeq2>};
const TStatClass CombChnSeq3Class{.Ordinal = 82, .ClassName = "TstCombChnSeq3", .CodeFormat = "KCS3",
                                  .CaptionFormat = "Сочетания из 3 каналов по соседним числам", .Group = 3,
                                  .Flags = S, .CanSelectByList = false, .Create = &CreateStatOf<TstCombChnSeq3>};
const TStatClass ChnValCntClass{.Ordinal = 104, .ClassName = "TstChnValCnt", .CodeFormat = "CHN%d",
                                .CaptionFormat = "Количество чисел в %0:d канале", .HelpTopicFormat = "CHNx",
                                .Group = 3, .Flags = N, .IsGraph = true, .IsIndexed = true,
                                .IndexRange = &ChannelIndexes, .Create = &CreateStatOf<TstChnValCnt>};

constexpr std::array<const TStatClass*, 8> Classes = {&ChannelsClass,    &ChanValuesClass,  &ChanCountClass,
                                                      &CombChnMix2Class, &CombChnMix3Class, &CombChnSeq2Class,
                                                      &CombChnSeq3Class, &ChnValCntClass};

}  // namespace

std::span<const TStatClass* const> ChannelClasses() { return Classes; }

int32_t EffectiveChannelSize(const TStatList& list) { return std::max<int32_t>(list.Config().ChannelSize, 1); }

TstChannels::TstChannels(const TStatList& list, const TStatClass& cls, int32_t index)
    : TUnitValuesStat(list, cls, index, ChannelsOf(list)) {}
TstChanValues::TstChanValues(const TStatList& list, const TStatClass& cls, int32_t index)
    : TUnitCountsStat(list, cls, index, ChannelsOf(list), ListedCounts(list)) {}
TstChanCount::TstChanCount(const TStatList& list, const TStatClass& cls, int32_t index)
    : TUnitSpreadStat(list, cls, index, ChannelsOf(list), ListedCounts(list)) {}
TstChnValCnt::TstChnValCnt(const TStatList& list, const TStatClass& cls, int32_t index)
    : TUnitIndexCountStat(list, cls, index, ChannelsOf(list), EffectiveChannelSize(list)) {}
TCustomChnCombStat::TCustomChnCombStat(const TStatList& list, const TStatClass& cls, int32_t index, int size,
                                       bool neighbours)
    : TUnitTupleStat(list, cls, index, ChannelsOf(list), size, neighbours) {}

}  // namespace kelmora::stats
