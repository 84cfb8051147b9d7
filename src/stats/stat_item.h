#pragma once
// The records in which a statistic counts its values, the accumulation rule and the lookups the
// statistics use to test a combination against the selected rows.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kelmora::stats {

// One value of a statistic with its figures. Two items are the same value when all four keys are
// equal; Key1+Key2 (Key3+Key4) may be read as one Int32 whose low 16 bits are Key1 (Key3).
struct TStatDrawItem {
  int32_t LastDraw = 0;    // number of the draw of the most recent occurrence; 0 = not seen
  int32_t Depth = 0;       // 1 = seen in the window's last draw; 0 = not seen
  int32_t PrevDraw = 0;    // working field of the period rule
  uint16_t MinPeriod = 0;  // 0 = unset
  uint16_t MaxPeriod = 0;  // 0 = unset
  int32_t Count = 0;
  int32_t Norm = 0;        // expected count from the prefetch file; 0 when none
  uint16_t Key1 = 0;
  uint16_t Key2 = 0;
  uint16_t Key3 = 0;
  uint16_t Key4 = 0;

  bool operator==(const TStatDrawItem&) const = default;
  bool SameKeys(const TStatDrawItem& other) const { return PackedKeys() == other.PackedKeys(); }
  // The four keys as one 64-bit word, so a lookup compares once per item.
  uint64_t PackedKeys() const {
    return static_cast<uint64_t>(Key1) | static_cast<uint64_t>(Key2) << 16 | static_cast<uint64_t>(Key3) << 32 |
           static_cast<uint64_t>(Key4) << 48;
  }
  int32_t KeyDword(int n) const;          // n = 1: Key1+Key2, n = 2: Key3+Key4
  void SetKeyDword(int n, int32_t value);
};
// Items in the order their values were first added.
using TStatDrawArray = std::vector<TStatDrawItem>;

// The accumulation rule, the only way values enter a TStatDrawArray: a new value is appended with
// Norm 0; a known one adds the count, keeps the most recent occurrence and, when track_periods,
// updates the gaps between consecutive occurrences (a gap of 0 stores 0, which the next gap then
// replaces as unset).
void AddOccurrence(TStatDrawArray& values, const TStatDrawItem& item, bool track_periods);

// Lookups, each true when some item matches.
bool FindKeys(const TStatDrawArray& values, uint16_t k1, uint16_t k2, uint16_t k3, uint16_t k4);
bool FindKeyPair(const TStatDrawArray& values, uint16_t a, uint16_t b);  // (a, 0, b, 0)
bool FindKey(const TStatDrawArray& values, int n, uint16_t v);           // key n = 1..4
bool FindKeyByte(const TStatDrawArray& values, int n, uint8_t b);        // byte n = 1..8 of the keys
bool FindKeyDword(const TStatDrawArray& values, int n, int32_t v);       // n = 1 or 2
// Index of the item with the keys of `item`, or -1.
int FindItem(const TStatDrawArray& values, const TStatDrawItem& item);

// Ascending by (Key1, Key2, Key3, Key4), compared unsigned; stable.
void SortByKeys(TStatDrawArray& values);
bool KeysLess(const TStatDrawItem& a, const TStatDrawItem& b);

// The last occurrence of each value seen so far in one calculation (period statistics).
struct TLastValueItem {
  int32_t LastDraw = 0;
  uint16_t Key1 = 0;
  uint16_t Key2 = 0;
  uint16_t Key3 = 0;
  uint16_t Key4 = 0;
  bool operator==(const TLastValueItem&) const = default;
};
using TLastValueArray = std::vector<TLastValueItem>;

// Records draw number `draw` for the value: returns draw minus the previously stored number
// (clamped into the 32-bit range) and stores the new one, or appends the value and returns -1 when
// it is new.
int32_t RecordLastValue(TLastValueArray& values, uint16_t k1, uint16_t k2, uint16_t k3, uint16_t k4,
                        int32_t draw);

// Running record of one unit for statistics that carry state from one draw to the next.
struct TStatWorkRecord {
  int32_t Length = 0;
  int32_t LastNumber = 0;
  int32_t RunDepth = 0;
};
// The work area the caller zeroes once before the first draw of a calculation and passes unchanged
// to every AddDrawValues call.
struct TStatWork {
  std::array<TStatWorkRecord, 16> Units{};
  void Clear() { Units.fill(TStatWorkRecord{}); }
};

// An index range; empty when Min > Max.
struct TIndexRange {
  int32_t Min = 0;
  int32_t Max = 0;
  bool Empty() const { return Min > Max; }
  bool operator==(const TIndexRange&) const = default;
};

// Flag bits, shown as letters in this order.
enum StatFlag : uint8_t {
  FlagShown = 1 << 0,     // "S"
  FlagNorm = 1 << 1,      // "N": a prefetch file is built and read
  FlagDepends = 1 << 2,   // "D": depends on the window's last draw (loaded into RefDraw)
  FlagPeriod = 1 << 3,    // "P"
  FlagGraph = 1 << 4,     // "G": added by AllFlags for graph classes
};
// The letters of the set bits in bit order, "" when none ("NG", "SNG").
std::string FlagLetters(uint8_t flags);

// Group tags and captions (groups 0..12); "" for other numbers.
std::string GroupTag(int group);
std::string GroupCaption(int group);
// "{ tag } caption", or "#ERROR#" for a group outside 0..12.
std::string GroupDisplayText(int group);
inline constexpr int GroupCount = 13;

}  // namespace kelmora::stats
