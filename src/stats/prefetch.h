#pragma once
// Prefetch files ("Prefetchs/Kelmora_4r32_<CODE>.dfc"): the distribution of a statistic's values
// over all 4096 combinations, the norm the statistics table compares a window with. Records of
// 12 bytes (Key1..Key4 UInt16, Count Int32, little-endian) ascending by keys, then a 12-byte
// trailer (MinCount, MaxCount, 0).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/stat_list.h"

namespace kelmora::stats {

struct TPrefetchRecord {
  uint16_t Key1 = 0;
  uint16_t Key2 = 0;
  uint16_t Key3 = 0;
  uint16_t Key4 = 0;
  int32_t Count = 0;
  bool operator==(const TPrefetchRecord&) const = default;
};

struct TPrefetchData {
  std::vector<TPrefetchRecord> Records;
  int32_t MinCount = 2147483647;  // smallest record count; 2147483647 when there are none
  int32_t MaxCount = 0;           // largest; 0 when none
  bool operator==(const TPrefetchData&) const = default;
};

inline constexpr size_t PrefetchRecordSize = 12;

// <data_dir>/Prefetchs/Kelmora_4r32_<code>.dfc
std::filesystem::path PrefetchPath(const std::filesystem::path& data_dir, std::string_view code);

std::vector<uint8_t> EncodePrefetch(const TPrefetchData& data);
// Reads records from the start up to the trailer (the last 12 bytes); a partial record before
// the trailer is ignored. Throws support::Error when there is no complete trailer.
TPrefetchData DecodePrefetch(const std::vector<uint8_t>& bytes);

// The distribution over the full set, enumerated directly (the combination lists are not used).
TPrefetchData ComputePrefetch(const TStatList& list, int entry);

// Computes and writes the entry's file (the folder is created when missing; the old file is
// replaced only by a complete new one). Returns the data; throws support::Error on failure.
TPrefetchData BuildPrefetch(const TStatList& list, int entry, const std::filesystem::path& data_dir);

// The entry's file when it exists and is not empty; otherwise it is built first. Throws
// support::Error when it cannot be read or built.
TPrefetchData OpenPrefetch(const TStatList& list, int entry, const std::filesystem::path& data_dir);

// Progress of a long build, adapted by the front end (the Session adapts the Host's window).
class TProgressSink {
 public:
  virtual ~TProgressSink() = default;
  virtual void Begin(std::string_view text, int maximum) = 0;
  virtual void Status(std::string_view text) = 0;  // the file being built
  virtual void Step(int position) = 0;
  virtual bool Cancelled() = 0;
  virtual void End() = 0;
};

struct TPrefetchFailure {
  std::filesystem::path Path;
  std::string Text;
};

// Groups as a bit set over 0..15.
using TGroupSet = uint16_t;
inline constexpr TGroupSet AllGroups = 0x1FFF;  // 0..12
// The set of one group (GroupTag order).
constexpr TGroupSet GroupBit(int group) { return static_cast<TGroupSet>(1u << group); }
inline constexpr TGroupSet ChannelGroups = GroupBit(3);    // "grp": the channel statistics
inline constexpr TGroupSet MatrixGroups = GroupBit(4);     // "mtx": the matrix statistics
inline constexpr TGroupSet SegmentGroups = GroupBit(5);    // "sgm": the matrix segment statistics
inline constexpr TGroupSet ShreddingGroups = GroupBit(12); // "shr": the shredding methods

// Builds the files of the entries with a norm: a file that exists is kept unless its entry's group
// is in `groups`. Nothing when neither force nor comparison mode. A failed file is removed and
// reported in the result; the others are still built. Stops early when the sink is cancelled.
std::vector<TPrefetchFailure> BuildAllPrefetches(const TStatList& list, const std::filesystem::path& data_dir,
                                                 bool force, bool prefetchs_enabled, TGroupSet groups,
                                                 TProgressSink* progress);

}  // namespace kelmora::stats
