#include "fuzz/fuzz_archive.h"

#include "stats/registry.h"

namespace kelmora::fuzz {

namespace {

FuzzArchive* MakeArchive() {
  auto* archive = new FuzzArchive;
  // A linear congruential walk: every value occurs, and repeats, periods and series all show up.
  uint32_t x = 12345;
  for (int n = 1; n <= 64; ++n) {
    int v[4];
    for (int& value : v) {
      x = x * 1103515245u + 12345u;
      value = lottery::ValueMin + static_cast<int>((x >> 16) % 8);
    }
    archive->Draws.push_back({n, lottery::MakeComb(v[0], v[1], v[2], v[3]), "01/01/2024"});
  }
  archive->List.Rebuild();
  return archive;
}

}  // namespace

const FuzzArchive& SharedArchive() {
  // Never destroyed: the fuzzer exits from inside a run.
  static const FuzzArchive* archive = MakeArchive();
  return *archive;
}

uint32_t InputHash(const uint8_t* data, size_t size) {
  uint32_t h = 2166136261u;
  for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
  return h;
}

}  // namespace kelmora::fuzz
