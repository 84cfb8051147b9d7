#pragma once
// A registry of one statistic family over a small archive, with the filter pass as the filtering
// runs it (FetchDraws(-1, ...) once, then CombMatches per combination).

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "stats_fixture.h"

namespace kelmora::testing {

struct FamilyFixture : StatsFixture {
  explicit FamilyFixture(std::span<const stats::TStatClass* const> family) {
    classes.assign(family.begin(), family.end());
    list.Rebuild();
  }

  // The count of the row captioned `caption` over the window, or -1 when there is no such row.
  int CountOf(const std::string& code, int window, const std::string& caption, bool sorted = false) const {
    for (const auto& row : Table(code, window, 0, sorted).Rows) {
      if (row.Cells[0] == caption) return row.Item.Count;
    }
    return -1;
  }

  // The number of combinations of the full set whose CombMatches answer, with the rows captioned
  // `rows` selected from the table over the window, differs from want(comb). 0 = the filter keeps
  // exactly the combinations want names.
  int FilterMismatches(const std::string& code, int window, const std::vector<std::string>& rows,
                       const std::function<bool(lottery::TComb)>& want, bool sorted = false) const {
    stats::TStatDrawArray selected;
    for (const auto& row : Table(code, window, 0, sorted).Rows) {
      for (const auto& r : rows) {
        if (row.Cells[0] == r) selected.push_back(row.Item);
      }
    }
    if (selected.size() != rows.size()) return -1;
    auto stat = list.CreateStat(Entry(code));
    const int last_idx = static_cast<int>(draws.size()) - 1;
    stat->FetchDraws(-1, last_idx, sorted);
    int mismatches = 0;
    for (int n = 0; n < lottery::CombsTotal; ++n) {
      const lottery::TComb comb = lottery::CombOfIndex(n);
      if (stat->CombMatches(comb, selected, last_idx, sorted, false) != want(comb)) ++mismatches;
    }
    return mismatches;
  }

  bool Listed(const std::string& code) const { return Entry(code) >= 0; }
};

}  // namespace kelmora::testing
