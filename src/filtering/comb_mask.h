#pragma once
// A set of combinations of the full set as 4096 bits, bit n for the combination with full-set index
// n. A list in full-set order without repeats is such a set, so a filter pass over it becomes 64 word
// operations instead of 4096 tests.

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

// Whether every value of the combination lies in 7..14 (it then has a full-set index).
constexpr bool IsFullSetComb(lottery::TComb comb) {
  for (int p = 0; p < lottery::PositionCount; ++p) {
    const int v = lottery::CombValue(comb, p);
    if (v < lottery::ValueMin || v > lottery::ValueMax) return false;
  }
  return true;
}

// The set of a list when the list is one: every combination of the full set and the indices
// strictly ascending (full-set order, no repeats). Returns false otherwise (mask then undefined).
inline bool CombsToMask(const lottery::TCombsArray& combs, TCombMask& mask) {
  mask.Clear();
  int previous = -1;
  for (const lottery::TComb c : combs) {
    if (!IsFullSetComb(c)) return false;
    const int n = lottery::IndexOfComb(c);
    if (n <= previous) return false;
    mask.Set(n);
    previous = n;
  }
  return true;
}

// The list of a set, in full-set order.
inline void MaskToCombs(const TCombMask& mask, lottery::TCombsArray& combs) {
  combs.clear();
  mask.ForEach([&](int n) { combs.push_back(lottery::CombOfIndex(n)); });
}

}  // namespace kelmora::filtering
