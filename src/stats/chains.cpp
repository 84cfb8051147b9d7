#include "stats/chains.h"

#include <algorithm>
#include <array>

#include <fmt/format.h>

#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "stats/stat_list.h"

namespace kelmora::stats {

namespace {

using lottery::CombValue;
using lottery::PositionCount;

TIndexRange PositionRange(const TStatList&) { return {1, 4}; }
TIndexRange ChannelRange(const TStatList& list) {
  const int size = list.Config().ChannelSize;
  if (size <= 0) return {1, 0};
  return {lottery::ChannelOf(lottery::ValueMin, size), lottery::ChannelOf(lottery::ValueMax, size)};
}
TIndexRange SegmentRange(const TStatList& list) { return SegmentDigitRange(list.Config().MatrixSegments); }

constexpr uint8_t D = FlagDepends;
constexpr uint8_t SD = FlagShown | FlagDepends;

#define KELMORA_CHAIN_CLASS(name, ordinal, code, caption, flags, type)                                    \
  const TStatClass name{.Ordinal = ordinal, .ClassName = #type, .CodeFormat = code, .CaptionFormat = caption, \
                        .Group = 10, .Flags = flags, .CanSelectByList = false, .Create = &CreateStatOf<type>};
#define KELMORA_CHAIN_INDEXED(name, ordinal, code, caption, topic, flags, range, type)                    \
  const TStatClass name{.Ordinal = ordinal, .ClassName = #type, .CodeFormat = code, .CaptionFormat = caption, \
                        .HelpTopicFormat = topic, .Group = 10, .Flags = flags, .CanSelectByList = false,    \
                        .IsIndexed = true, .IndexRange = &range, .Create = &CreateStatOf<type>};

KELMORA_CHAIN_CLASS(C117, 117, "SDV2", "Переходы чисел между 2 тиражами без учета позиции", D, TstChain2DrawsAll)
KELMORA_CHAIN_CLASS(C118, 118, "SDP2", "Переходы чисел между 2 тиражами с учетом позиции", SD, TstChain2DrawsPos)
KELMORA_CHAIN_INDEXED(C119, 119, "SDN%d", "Переходы чисел между 2 тиражами в %d позиции", "SDNx", SD, PositionRange,
                      TstChain2Pos)
KELMORA_CHAIN_CLASS(C120, 120, "SDP3", "Переходы чисел между 3 тиражами с учетом позиции", SD, TstChain3DrawsPos)
KELMORA_CHAIN_INDEXED(C121, 121, "SDM%d", "Переходы чисел между 3 тиражами в %d позиции", "SDMx", SD, PositionRange,
                      TstChain3Pos)
KELMORA_CHAIN_CLASS(C122, 122, "SCV2", "Переходы каналов между 2 тиражами без учета позиции", D,
                    TstChain2ChannelsAll)
KELMORA_CHAIN_CLASS(C123, 123, "SCP2", "Переходы каналов между 2 тиражами с учетом позиции", SD,
                    TstChain2ChannelsPos)
KELMORA_CHAIN_INDEXED(C124, 124, "SCN%d", "Переходы каналов между 2 тиражами в %d позиции", "SCNx", SD,
                      PositionRange, TstChain2Channel)
KELMORA_CHAIN_CLASS(C125, 125, "SCP3", "Переходы каналов между 3 тиражами с учетом позиции", SD,
                    TstChain3ChannelsPos)
KELMORA_CHAIN_INDEXED(C126, 126, "SCM%d", "Переходы каналов между 3 тиражами в %d позиции", "SCMx", SD,
                      PositionRange, TstChain3Channel)
KELMORA_CHAIN_INDEXED(C127, 127, "SC2C%d", "Переходы кол-ва чисел в %d канале между 2 тиражами", "SC2Cx", D,
                      ChannelRange, TstChain2CnlCnt)
KELMORA_CHAIN_INDEXED(C128, 128, "SC3C%d", "Переходы кол-ва чисел в %d канале между 3 тиражами", "SC3Cx", D,
                      ChannelRange, TstChain3CnlCnt)
KELMORA_CHAIN_CLASS(C129, 129, "SDA2", "Переходы чисел в пределах каналов (все)", D, TstChainChannels2InsideAll)
KELMORA_CHAIN_CLASS(C130, 130, "SDG2", "Переходы чисел в пределах каналов (N-M, удачные)", D,
                    TstChainChannels2InsideSuc)
KELMORA_CHAIN_CLASS(C131, 131, "SDZ2", "Переходы чисел в пределах каналов (N-0, не удачные)", D,
                    TstChainChannels2InsideBad)
KELMORA_CHAIN_CLASS(C132, 132, "SDC2", "Переходы чисел в пределах каналов (количество)", D,
                    TstChainChannels2InsideCnt)
KELMORA_CHAIN_CLASS(C133, 133, "SSV2", "Переходы сегментов между 2 тиражами без учета позиции", D,
                    TstChain2SegmentsAll)
KELMORA_CHAIN_CLASS(C134, 134, "SSP2", "Переходы сегментов между 2 тиражами с учетом позиции", SD,
                    TstChain2SegmentsPos)
KELMORA_CHAIN_INDEXED(C135, 135, "SSN%d", "Переходы сегментов между 2 тиражами в %d позиции", "SSNx", SD,
                      PositionRange, TstChain2Segment)
KELMORA_CHAIN_CLASS(C136, 136, "SSP3", "Переходы сегментов между 3 тиражами с учетом позиции", SD,
                    TstChain3SegmentsPos)
KELMORA_CHAIN_INDEXED(C137, 137, "SSM%d", "Переходы сегментов между 3 тиражами в %d позиции", "SSMx", SD,
                      PositionRange, TstChain3Segment)
KELMORA_CHAIN_INDEXED(C138, 138, "SS2C%d", "Переходы кол-ва чисел в %d сегменте между 2 тиражами", "SS2Cx", D,
                      SegmentRange, TstChain2SgmCnt)
KELMORA_CHAIN_INDEXED(C139, 139, "SS3C%d", "Переходы кол-ва чисел в %d сегменте между 3 тиражами", "SS3Cx", D,
                      SegmentRange, TstChain3SgmCnt)
#undef KELMORA_CHAIN_CLASS
#undef KELMORA_CHAIN_INDEXED

constexpr std::array<const TStatClass*, 23> Classes = {&C117, &C118, &C119, &C120, &C121, &C122, &C123, &C124,
                                                       &C125, &C126, &C127, &C128, &C129, &C130, &C131, &C132,
                                                       &C133, &C134, &C135, &C136, &C137, &C138, &C139};

}  // namespace

std::span<const TStatClass* const> ChainClasses() { return Classes; }

// --- value, channel and segment transitions ---

TCustomChainStat::TCustomChainStat(const TStatList& list, const TStatClass& cls, int32_t index,
                                   TStatUnits::Kind kind, ChainShape shape, bool one_position)
    : TCustomStat(list, cls, index),
      units_(TStatUnits::FromList(list, kind)),
      shape_(shape),
      one_position_(one_position) {
  // The channel count rows run to the configured size as it stands.
  units_.ChannelSize = std::max(list.Config().ChannelSize, 1);
}

std::string TCustomChainStat::ValueText(const TStatDrawItem& item) const {
  if (ThreeDraws()) {
    return fmt::format("{}-{} -> {}", units_.Text(item.Key1), units_.Text(item.Key2), units_.Text(item.Key3));
  }
  return fmt::format("{} -> {}", units_.Text(item.Key1), units_.Text(item.Key2));
}

void TCustomChainStat::Add(TStatDrawArray& values, int k1, int k2, int k3) {
  item_.Key1 = static_cast<uint16_t>(k1);
  item_.Key2 = static_cast<uint16_t>(k2);
  item_.Key3 = static_cast<uint16_t>(k3);
  AddOccurrence(values, item_, true);
}

void TCustomChainStat::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  if (!IsCount()) return;
  const bool channels = units_.UnitKind == TStatUnits::Kind::Channels;
  const int last_count = units_.CountIn(GetDraw(last_idx, false).Values, index_);
  const int before_count = units_.CountIn(GetDraw(last_idx - 1, false).Values, index_);
  const int top = channels ? std::max(list_.Config().ChannelSize, 0) : 0;
  for (int n = 0; n <= top; ++n) {
    if (shape_ == ChainShape::Count2) {
      item_.Key1 = static_cast<uint16_t>(last_count);
      item_.Key2 = static_cast<uint16_t>(n);
    } else {
      item_.Key1 = static_cast<uint16_t>(before_count);
      item_.Key2 = static_cast<uint16_t>(last_count);
      item_.Key3 = static_cast<uint16_t>(n);
    }
    AddOccurrence(values, item_, false);
  }
}

void TCustomChainStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                     TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  // The counts read the earlier draws as they were drawn; positions do not change a channel count.
  const bool read_sorted = sorted && !IsCount();
  const TStatDraw p1 = GetDraw(draw_idx - 1, read_sorted);
  if (p1.Number <= 0) return;
  TStatDraw p2;
  TStatDraw l1;
  if (ThreeDraws()) {
    p2 = GetDraw(draw_idx - 2, read_sorted);
    if (p2.Number <= 0) return;
    l1 = GetDraw(last_idx - 1, read_sorted);
  }
  const lottery::TComb cur = cur_draw_.Values;
  const lottery::TComb last = ref_draw_.Values;
  auto u = [this](lottery::TComb d, int p) { return units_.UnitOf(p, CombValue(d, p)); };

  if (IsCount()) {
    const int n_p1 = units_.CountIn(p1.Values, index_);
    if (units_.CountIn(last, index_) != n_p1) return;
    const int n_cur = units_.CountIn(cur, index_);
    if (shape_ == ChainShape::Count2) {
      Add(values, n_p1, n_cur, 0);
    } else {
      const int n_p2 = units_.CountIn(p2.Values, index_);
      if (units_.CountIn(l1.Values, index_) == n_p2) Add(values, n_p2, n_p1, n_cur);
    }
    return;
  }
  const int first = one_position_ ? index_ - 1 : 0;
  const int stop = one_position_ ? index_ : PositionCount;
  if (first < 0 || stop > PositionCount) return;
  for (int p = first; p < stop; ++p) {
    const int from = u(p1.Values, p);
    switch (shape_) {
      case ChainShape::All2:
        if (!units_.Holds(last, from)) break;
        for (int q = 0; q < PositionCount; ++q) Add(values, from, u(cur, q), 0);
        break;
      case ChainShape::Pos2:
        if (from == u(last, p)) Add(values, from, u(cur, p), 0);
        break;
      default:
        if (from == u(last, p) && u(p2.Values, p) == u(l1.Values, p)) Add(values, u(p2.Values, p), from, u(cur, p));
        break;
    }
  }
}

bool TCustomChainStat::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int, bool, bool) {
  const int key = ThreeDraws() ? 3 : 2;
  if (IsCount()) return FindKey(selected, key, static_cast<uint16_t>(units_.CountIn(comb, index_)));
  for (int p = 0; p < PositionCount; ++p) {
    const int unit = units_.UnitOf(p, CombValue(comb, p));
    if (unit >= 0 && FindKey(selected, key, static_cast<uint16_t>(unit))) return true;
  }
  return false;
}

// --- transitions within channels ---

TCustomChainChannels2Inside::TCustomChainChannels2Inside(const TStatList& list, const TStatClass& cls,
                                                         int32_t index, int kind)
    : TCustomStat(list, cls, index), channel_size_(std::max(list.Config().ChannelSize, 1)), kind_(kind) {}

std::string TCustomChainChannels2Inside::ValueText(const TStatDrawItem& item) const {
  if (kind_ == 3) return fmt::format("{} -> {}", item.Key1, item.Key2);
  return fmt::format("{:02d} -> {:02d}", item.Key1, item.Key2);
}

void TCustomChainChannels2Inside::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values,
                                                TStatWork& work, TLastValueArray& last_values) {
  TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  const TStatDraw p1 = GetDraw(draw_idx - 1, false);
  if (p1.Number <= 0) return;
  for (int p = 0; p < PositionCount; ++p) {
    const int x = p1.Value(p);
    if (!lottery::ContainsValue(x, ref_draw_.Values)) continue;
    const int channel = lottery::ChannelOf(x, channel_size_);
    item_.Key1 = static_cast<uint16_t>(x);
    item_.Key2 = 0;
    for (int q = 0; q < PositionCount; ++q) {
      const int y = cur_draw_.Value(q);
      if (lottery::ChannelOf(y, channel_size_) != channel) continue;
      if (kind_ == 3) {
        ++item_.Key2;
      } else {
        item_.Key2 = static_cast<uint16_t>(y);
        if (kind_ != 2) AddOccurrence(values, item_, true);
      }
    }
    if (kind_ == 3 || (item_.Key2 == 0 && kind_ != 1)) AddOccurrence(values, item_, true);
  }
}

bool TCustomChainChannels2Inside::CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx,
                                              bool, bool) {
  const lottery::TComb last = GetDraw(last_idx, false).Values;
  for (const TStatDrawItem& row : selected) {
    const bool by_channel = kind_ == 3 || (row.Key1 != 0 && row.Key2 == 0);
    for (int p = 0; p < PositionCount; ++p) {
      const int x = CombValue(last, p);
      if (x != row.Key1) continue;
      for (int q = 0; q < PositionCount; ++q) {
        const int y = CombValue(comb, q);
        if (by_channel ? lottery::ChannelOf(y, channel_size_) == lottery::ChannelOf(x, channel_size_) : y == row.Key2) {
          return true;
        }
      }
    }
  }
  return false;
}

}  // namespace kelmora::stats
