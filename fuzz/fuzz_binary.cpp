// Targets over the binary files: the draws archive and the prefetch files, each read and then used
// the way the program uses it (lookups, a statistics table).

#include <algorithm>
#include <vector>

#include "fuzz/fuzz_archive.h"
#include "fuzz/fuzz_targets.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "stats/prefetch.h"
#include "stats/table.h"
#include "support/error.h"

namespace kelmora::fuzz {

namespace {

// One statistics table, as the program computes it for the selected entry; what the statistic
// reports as a failure is an answer.
void TryTable(const stats::TStatList& list, int entry, int32_t window, const stats::TPrefetchData* prefetch) {
  stats::TStatTableInput in;
  in.List = &list;
  in.Entry = entry;
  in.WindowLength = window;
  in.Prefetch = prefetch;
  try {
    const stats::TStatTable table = stats::CalcStatTable(in);
    FuzzCheck(table.LastIdx - table.FirstIdx + 1 <= std::max(window, 1), "table window longer than asked");
  } catch (const support::Error&) {
  }
}

}  // namespace

int FuzzDrawsArchive(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  const lottery::TDrawsArray draws = lottery::DecodeDraws(bytes);
  FuzzCheck(draws.size() == size / lottery::DrawRecordSize, "not one draw per whole record");

  // The written form reads back to the same draws once the dates went through the code page.
  const lottery::TDrawsArray again = lottery::DecodeDraws(lottery::EncodeDraws(draws));
  FuzzCheck(again.size() == draws.size(), "re-encoded archive changed its length");
  for (size_t i = 0; i < draws.size(); ++i) {
    FuzzCheck(again[i].Number == draws[i].Number && again[i].Values == draws[i].Values, "re-encoded draw changed");
  }
  FuzzCheck(lottery::DecodeDraws(lottery::EncodeDraws(again)) == again, "second encoding not stable");

  for (size_t i = 0; i < draws.size(); ++i) {
    const int found = lottery::FindDrawByNumber(draws, draws[i].Number);
    FuzzCheck(found >= 0 && draws[static_cast<size_t>(found)].Number == draws[i].Number, "draw not found by number");
    (void)lottery::DrawToText(draws[i]);
  }
  (void)lottery::NextDrawNumber(draws, 0);
  (void)lottery::CombOfDrawAtRow(draws, 0);

  if (draws.empty()) return 0;
  // The hostile archive under one statistic of the full registry.
  const FuzzArchive& shared = SharedArchive();
  stats::TStatList list(draws, shared.Config, shared.Shredding, stats::RegisteredClasses());
  list.Rebuild();
  if (list.Count() == 0) return 0;
  const int entry = static_cast<int>(InputHash(data, size) % static_cast<uint32_t>(list.Count()));
  TryTable(list, entry, 1000, nullptr);
  TryTable(list, entry, 2, nullptr);
  return 0;
}

int FuzzPrefetch(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  stats::TPrefetchData norm;
  try {
    norm = stats::DecodePrefetch(bytes);
  } catch (const support::Error&) {
    FuzzCheck(size < stats::PrefetchRecordSize, "a file with a whole trailer refused");
    return 0;
  }
  FuzzCheck(norm.Records.size() == (size - stats::PrefetchRecordSize) / stats::PrefetchRecordSize,
            "not one record per whole record");
  FuzzCheck(stats::DecodePrefetch(stats::EncodePrefetch(norm)) == norm, "re-encoded norm changed");

  // The norm as the statistics table compares a window with it.
  const FuzzArchive& shared = SharedArchive();
  const stats::TStatList& list = shared.List;
  std::vector<int> with_norm;
  for (int i = 0; i < list.Count(); ++i) {
    if (list.HasNorm(i)) with_norm.push_back(i);
  }
  if (with_norm.empty()) return 0;
  const int entry = with_norm[InputHash(data, size) % with_norm.size()];
  TryTable(list, entry, 1000, &norm);
  return 0;
}

}  // namespace kelmora::fuzz
