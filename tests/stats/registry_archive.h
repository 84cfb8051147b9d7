#pragma once
// The full registry over a small archive built by the test, with the table protocol and the filter
// pass as the table and the filtering run them.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lottery/types.h"
#include "stats/registry.h"
#include "stats/stat_list.h"

namespace kelmora::testing {

struct RegistryArchive {
  lottery::TDrawsArray draws;
  lottery::TConfigData config;
  lottery::TShreddingData shredding;
  stats::TStatList list{draws, config, shredding, stats::RegisteredClasses()};

  RegistryArchive() { list.Rebuild(); }
  void Add(int number, int s, int h, int d, int c) { draws.push_back({number, lottery::MakeComb(s, h, d, c), ""}); }
  std::unique_ptr<stats::TCustomStat> Stat(const std::string& code) {
    list.Rebuild();
    const int entry = list.IndexOfCode(code);
    EXPECT_GE(entry, 0) << code;
    return list.CreateStat(entry);
  }
  // The table protocol over the window of `window` draws ending `offset` draws before the newest.
  stats::TStatDrawArray Values(stats::TCustomStat& stat, int window, int offset = 0, bool sorted = false) {
    const int last = static_cast<int>(draws.size()) - 1 - offset;
    const int first = std::max(0, last - window + 1);
    stats::TStatDrawArray values;
    stats::TStatWork work;
    stats::TLastValueArray last_values;
    stat.ListAllValues(last, values);
    for (int d = first; d <= last; ++d) stat.AddDrawValues(d, last, sorted, values, work, last_values);
    return values;
  }
  // "caption=count" of every row in order, joined by spaces.
  std::string Rows(const std::string& code, int window, int offset = 0, bool sorted = false) {
    auto stat = Stat(code);
    std::string out;
    for (const auto& v : Values(*stat, window, offset, sorted)) {
      if (!out.empty()) out += ' ';
      out += stat->ValueText(v) + "=" + std::to_string(v.Count);
    }
    return out;
  }
  // The filter test of the combination against the rows with the given captions.
  bool Matches(const std::string& code, lottery::TComb comb, const std::vector<std::string>& captions,
               int window, int offset = 0, bool exclude = false, bool sorted = false) {
    auto stat = Stat(code);
    stats::TStatDrawArray selected;
    for (const auto& v : Values(*stat, window, offset, sorted)) {
      for (const auto& c : captions) {
        if (stat->ValueText(v) == c) selected.push_back(v);
      }
    }
    EXPECT_EQ(selected.size(), captions.size()) << code << ": a caption has no row";
    const int last = static_cast<int>(draws.size()) - 1 - offset;
    stat->FetchDraws(-1, last, sorted);
    return stat->CombMatches(comb, selected, last, sorted, exclude);
  }
};

}  // namespace kelmora::testing
