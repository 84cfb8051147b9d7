#pragma once
// A set of combinations of the full set as 4096 bits, bit n for the combination with full-set index
// n. A list in full-set order without repeats is such a set, so a filter pass over it becomes 64 word
// operations instead of 4096 tests.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "lottery/types.h"

namespace kelmora::filtering {

class TCombMask {
 public:
  static constexpr int Words = lottery::CombsTotal / 64;

  bool Test(int n) const { return (w_[static_cast<size_t>(n) >> 6] >> (n & 63) & 1u) != 0; }
  void Set(int n) { w_[static_cast<size_t>(n) >> 6] |= uint64_t{1} << (n & 63); }
  void Clear() { w_.fill(0); }
  int Count() const {
    int n = 0;
    for (uint64_t w : w_) n += std::popcount(w);
    return n;
  }
  bool Empty() const {
    uint64_t any = 0;
    for (uint64_t w : w_) any |= w;
    return any == 0;
  }
  uint64_t Word(int i) const { return w_[static_cast<size_t>(i)]; }
  uint64_t& Word(int i) { return w_[static_cast<size_t>(i)]; }
  bool operator==(const TCombMask&) const = default;

  // Calls f(n) for every member in ascending order.
  template <typename F>
  void ForEach(F&& f) const {
    for (int i = 0; i < Words; ++i) {
      for (uint64_t w = w_[static_cast<size_t>(i)]; w != 0; w &= w - 1) f(i * 64 + std::countr_zero(w));
    }
  }

 private:
  std::array<uint64_t, Words> w_{};
};

// The pass over a list held as a set: out := the members of `snapshot` below index `end` that
// `matches` holds (keep) or does not hold (delete). Returns the size of out.
inline int FilterByMask(const TCombMask& snapshot, const TCombMask& matches, bool is_delete, int end,
                        TCombMask& out) {
  const uint64_t flip = is_delete ? ~uint64_t{0} : 0;
  int count = 0;
  for (int i = 0; i < TCombMask::Words; ++i) {
    uint64_t w = snapshot.Word(i) & (matches.Word(i) ^ flip);
    const int first = i * 64;
    if (end <= first) {
      w = 0;
    } else if (end < first + 64) {
      w &= (uint64_t{1} << (end - first)) - 1;
    }
    out.Word(i) = w;
    count += std::popcount(w);
  }
  return count;
}

// The full set in its order: FullSetCombs()[n] is the combination with index n.
inline const std::array<lottery::TComb, lottery::CombsTotal>& FullSetCombs() {
  static const auto table = [] {
    std::array<lottery::TComb, lottery::CombsTotal> t{};
    for (int n = 0; n < lottery::CombsTotal; ++n) t[static_cast<size_t>(n)] = lottery::CombOfIndex(n);
    return t;
  }();
  return table;
}

// The full-set index of the combination, or -1 when a value lies outside 7..14. A value below 7
// wraps its byte of c - 0x07070707 to 0xF9 or more, a value above 14 leaves 8 or more: either way a
// bit of 0xF8 is set in that byte.
constexpr int FullSetIndex(lottery::TComb comb) {
  const uint32_t x = comb - 0x07070707u;
  if ((x & 0xF8F8F8F8u) != 0) return -1;
  return static_cast<int>((x & 7u) << 9 | (x >> 8 & 7u) << 6 | (x >> 16 & 7u) << 3 | (x >> 24 & 7u));
}
constexpr bool IsFullSetComb(lottery::TComb comb) { return FullSetIndex(comb) >= 0; }

// The set of a list when the list is one: every combination of the full set and the indices
// strictly ascending (full-set order, no repeats). Returns false otherwise (mask then undefined).
inline bool CombsToMask(const lottery::TCombsArray& combs, TCombMask& mask) {
  const auto& full = FullSetCombs();
  if (combs.size() == full.size() && std::equal(combs.begin(), combs.end(), full.begin())) {
    for (int i = 0; i < TCombMask::Words; ++i) mask.Word(i) = ~uint64_t{0};
    return true;
  }
  mask.Clear();
  int previous = -1;
  for (const lottery::TComb c : combs) {
    const int n = FullSetIndex(c);
    if (n <= previous) return false;  // also a value outside 7..14 (-1)
    mask.Set(n);
    previous = n;
  }
  return true;
}

// The list of a set, in full-set order; within its capacity it allocates nothing.
inline void MaskToCombs(const TCombMask& mask, lottery::TCombsArray& combs) {
  const auto& full = FullSetCombs();
  combs.resize(static_cast<size_t>(mask.Count()));
  lottery::TComb* out = combs.data();
  for (int i = 0; i < TCombMask::Words; ++i) {
    const uint64_t word = mask.Word(i);
    const lottery::TComb* run = full.data() + static_cast<size_t>(i) * 64;
    if (word == ~uint64_t{0}) {
      std::copy(run, run + 64, out);
      out += 64;
      continue;
    }
    for (uint64_t w = word; w != 0; w &= w - 1) *out++ = run[std::countr_zero(w)];
  }
}

}  // namespace kelmora::filtering
