// CombMatches of every registry entry answers from the keys of the selected records alone: the
// same keys with other counts, depths, periods and norms give the same answer for every
// combination, keep and delete alike. The fast application of filter variants relies on it.

#include <gtest/gtest.h>

#include "registry_archive.h"

namespace kelmora::stats {
namespace {

TEST(CombMatchesKeys, EveryEntryAnswersFromTheSelectedKeysAlone) {
  testing::RegistryArchive a;
  uint32_t x = 7;
  for (int i = 0; i < 80; ++i) {
    x = x * 1103515245u + 12345u;
    const int n = static_cast<int>((x >> 8) % 4096);
    a.Add(i + 1, 7 + n / 512, 7 + n / 64 % 8, 7 + n / 8 % 8, 7 + n % 8);
  }
  a.list.Rebuild();
  const int last = static_cast<int>(a.draws.size()) - 1 - 5;  // with later draws, for the "D" classes
  int checked = 0;
  for (int entry = 0; entry < a.list.Count(); ++entry) {
    auto stat = a.list.CreateStat(entry);
    TStatDrawArray values;
    TStatWork work;
    TLastValueArray last_values;
    stat->ListAllValues(last, values);
    for (int d = last - 40; d <= last; ++d) stat->AddDrawValues(d, last, false, values, work, last_values);
    if (values.empty()) continue;
    // Single rows and a set of rows, in table order and reversed.
    std::vector<TStatDrawArray> sets;
    for (size_t i = 0; i < values.size() && i < 6; ++i) sets.push_back({values[i]});
    TStatDrawArray several;
    for (size_t i = 0; i < values.size(); i += 3) several.push_back(values[i]);
    sets.push_back(several);
    sets.emplace_back(several.rbegin(), several.rend());
    for (const auto& selected : sets) {
      TStatDrawArray other = selected;
      for (auto& item : other) {
        item.Count = item.Count * 3 + 1;
        item.Depth += 7;
        item.LastDraw += 11;
        item.PrevDraw += 2;
        item.MinPeriod = static_cast<uint16_t>(item.MinPeriod + 5);
        item.MaxPeriod = static_cast<uint16_t>(item.MaxPeriod + 9);
        item.Norm += 13;
      }
      for (const bool exclude : {false, true}) {
        stat->FetchDraws(-1, last, false);
        auto twin = a.list.CreateStat(entry);
        twin->FetchDraws(-1, last, false);
        for (int n = 0; n < lottery::CombsTotal; ++n) {
          const lottery::TComb comb = lottery::CombOfIndex(n);
          ASSERT_EQ(stat->CombMatches(comb, selected, last, false, exclude),
                    twin->CombMatches(comb, other, last, false, exclude))
              << a.list.Items(entry).Code() << " comb " << n << " exclude " << exclude;
        }
      }
    }
    ++checked;
  }
  EXPECT_GT(checked, 100);
}

}  // namespace
}  // namespace kelmora::stats
