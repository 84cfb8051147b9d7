// "Факт" is searched for all rows in one scan where the statistic allows it, and not at all where
// it cannot be found; every entry of the registry must give exactly what the general per-row
// search gives.

#include <gtest/gtest.h>

#include <random>

#include "lottery/draws.h"
#include "stats/registry.h"
#include "stats/stat_list.h"
#include "stats/table.h"

namespace kelmora::stats {
namespace {

struct FactCase {
  int offset;
  int window;
  bool sorted;
};

class TableFactTest : public ::testing::TestWithParam<FactCase> {
 protected:
  TableFactTest() {
    std::mt19937 rng(7);
    for (int i = 0; i < 400; ++i) {
      // A repeated draw number sends some rows through the per-row search.
      const int number = i == 250 ? 120 : i + 1;
      draws_.push_back({number, lottery::MakeComb(7 + rng() % 8, 7 + rng() % 8, 7 + rng() % 8, 7 + rng() % 8), ""});
    }
    list_.Rebuild();
  }

  lottery::TDrawsArray draws_;
  lottery::TConfigData config_;
  lottery::TShreddingData shredding_;
  std::vector<const TStatClass*> classes_{RegisteredClasses().begin(), RegisteredClasses().end()};
  TStatList list_{draws_, config_, shredding_, classes_};
};

TEST_P(TableFactTest, EveryEntryMatchesThePerRowSearch) {
  const FactCase c = GetParam();
  int checked = 0;
  for (int e = 0; e < list_.Count(); ++e) {
    TStatTableInput in;
    in.List = &list_;
    in.Entry = e;
    in.DrawsOffset = c.offset;
    in.WindowLength = c.window;
    in.Sorted = c.sorted;
    const TStatTable table = CalcStatTable(in);
    auto stat = list_.CreateStat(e);
    for (const auto& row : table.Rows) {
      if (row.Item.Depth == 0 || row.Item.Count < 1) continue;
      const int from = lottery::FindDrawByNumber(draws_, row.Item.LastDraw) + 1;
      // The general search of the base class is the reference, also where a family overrides it.
      const int32_t expected = stat->TCustomStat::NextOccurrence(row.Item, from, table.LastIdx, c.sorted);
      ASSERT_EQ(row.Cells[16], expected < 0 ? std::string("-") : std::to_string(expected))
          << stat->GetCaption() << " row " << row.Cells[0];
      ++checked;
    }
  }
  EXPECT_GT(checked, 1000);
}

INSTANTIATE_TEST_SUITE_P(Offsets, TableFactTest,
                         ::testing::Values(FactCase{0, 200, false}, FactCase{40, 150, false}, FactCase{140, 100, true},
                                           FactCase{170, 60, false}));

}  // namespace
}  // namespace kelmora::stats
