#pragma once
// A registry of the number family over a small archive built by the test, so the cases do not
// change as later families join the registry.

#include <initializer_list>
#include <string>
#include <vector>

#include "lottery/types.h"
#include "stats/numbers.h"
#include "stats/stat_list.h"
#include "stats/table.h"

namespace kelmora::testing {

struct StatsFixture {
  lottery::TDrawsArray draws;
  lottery::TConfigData config;
  lottery::TShreddingData shredding;
  std::vector<const stats::TStatClass*> classes = NumberFamily();
  stats::TStatList list{draws, config, shredding, classes};

  StatsFixture() { list.Rebuild(); }

  static std::vector<const stats::TStatClass*> NumberFamily() {
    const auto family = stats::NumberClasses();
    return {family.begin(), family.end()};
  }

  void Add(int number, int s, int h, int d, int c) { draws.push_back({number, lottery::MakeComb(s, h, d, c), ""}); }

  int Entry(const std::string& code) const { return list.IndexOfCode(code); }

  stats::TStatTable Table(const std::string& code, int window, int offset = 0, bool sorted = false,
                          const stats::TPrefetchData* prefetch = nullptr) const {
    stats::TStatTableInput in;
    in.List = &list;
    in.Entry = Entry(code);
    in.WindowLength = window;
    in.DrawsOffset = offset;
    in.Sorted = sorted;
    in.Prefetch = prefetch;
    return stats::CalcStatTable(in);
  }

  // "caption=count" of every row in table order, joined by spaces.
  std::string Counts(const std::string& code, int window, bool sorted = false) const {
    std::string out;
    for (const auto& row : Table(code, window, 0, sorted).Rows) {
      if (!out.empty()) out += ' ';
      out += row.Cells[0] + "=" + row.Cells[1];
    }
    return out;
  }
};

}  // namespace kelmora::testing
