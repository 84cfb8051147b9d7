// Every cell keeps beside its text the number the text reads as, so sorting and the filters can use
// the numbers: checked for every entry of the registry, with and without a norm, both separators.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

#include "stats/prefetch.h"
#include "stats/registry.h"
#include "stats/stat_list.h"
#include "stats/table.h"
#include "support/text.h"

namespace kelmora::stats {
namespace {

std::optional<long double> ReadText(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  return text.empty() ? std::nullopt : support::ParseReal(text);
}

struct NumbersCase {
  int offset;
  int window;
  char separator;
  bool norm;
};

class TableNumbersTest : public ::testing::TestWithParam<NumbersCase> {
 protected:
  TableNumbersTest() {
    std::mt19937 rng(11);
    for (int i = 0; i < 300; ++i) {
      draws_.push_back({i + 1, lottery::MakeComb(7 + rng() % 8, 7 + rng() % 8, 7 + rng() % 8, 7 + rng() % 8), ""});
    }
    list_.Rebuild();
  }

  lottery::TDrawsArray draws_;
  lottery::TConfigData config_;
  lottery::TShreddingData shredding_;
  std::vector<const TStatClass*> classes_{RegisteredClasses().begin(), RegisteredClasses().end()};
  TStatList list_{draws_, config_, shredding_, classes_};
};

TEST_P(TableNumbersTest, EveryCellsNumberIsWhatItsTextReads) {
  const NumbersCase c = GetParam();
  int numbers = 0;
  int words = 0;
  for (int e = 0; e < list_.Count(); ++e) {
    if (c.norm && !list_.HasNorm(e)) continue;
    std::optional<TPrefetchData> prefetch;
    if (c.norm) prefetch = ComputePrefetch(list_, e);
    TStatTableInput in;
    in.List = &list_;
    in.Entry = e;
    in.DrawsOffset = c.offset;
    in.WindowLength = c.window;
    in.DecimalSeparator = c.separator;
    in.Prefetch = prefetch ? &*prefetch : nullptr;
    const TStatTable table = CalcStatTable(in);
    for (const auto& row : table.Rows) {
      for (int col = 0; col < StatColumnCount; ++col) {
        const auto column = static_cast<StatColumn>(col);
        const auto expected = ReadText(row.Text(column));
        const auto kept = row.Number(column);
        ASSERT_EQ(kept.has_value(), expected.has_value())
            << list_.Items(e).Code() << " row " << row.Text(StatColumn::Value) << " column " << col;
        if (kept) {
          ASSERT_EQ(*kept, *expected) << list_.Items(e).Code() << " column " << col << " " << row.Text(column);
          ++numbers;
        } else {
          ++words;
        }
      }
    }
  }
  EXPECT_GT(numbers, 3000);
  EXPECT_GT(words, 300);
}

INSTANTIATE_TEST_SUITE_P(Tables, TableNumbersTest,
                         ::testing::Values(NumbersCase{0, 250, '.', false}, NumbersCase{60, 120, ',', false},
                                           NumbersCase{30, 200, '.', true}, NumbersCase{100, 80, ',', true}));

// Sorting by the kept numbers orders the rows as the rule over the texts does.
TEST(TableNumbers, SortingByNumbersFollowsTheTextRule) {
  lottery::TDrawsArray draws;
  std::mt19937 rng(5);
  for (int i = 0; i < 200; ++i) {
    draws.push_back({i + 1, lottery::MakeComb(7 + rng() % 8, 7 + rng() % 8, 7 + rng() % 8, 7 + rng() % 8), ""});
  }
  lottery::TConfigData config;
  lottery::TShreddingData shredding;
  TStatList list{draws, config, shredding, RegisteredClasses()};
  list.Rebuild();
  TStatTableInput in;
  in.List = &list;
  in.Entry = list.IndexOfCode("SUMS");
  in.WindowLength = 150;
  in.DrawsOffset = 30;
  ASSERT_GE(in.Entry, 0);
  for (int col = 0; col < StatColumnCount; ++col) {
    for (bool descending : {false, true}) {
      TStatTable table = CalcStatTable(in);
      std::vector<TStatRow> by_text = table.Rows;
      std::stable_sort(by_text.begin(), by_text.end(), [&](const TStatRow& a, const TStatRow& b) {
        int r = CompareStatTexts(a.Cells[static_cast<size_t>(col)], b.Cells[static_cast<size_t>(col)]);
        if (r == 0) r = CompareStatTexts(a.Cells[0], b.Cells[0]);
        return descending ? r > 0 : r < 0;
      });
      SortStatRows(table.Rows, col, descending);
      ASSERT_EQ(table.Rows.size(), by_text.size());
      for (size_t i = 0; i < by_text.size(); ++i) {
        ASSERT_EQ(table.Rows[i].Cells, by_text[i].Cells) << "column " << col << " row " << i;
      }
    }
  }
}

}  // namespace
}  // namespace kelmora::stats
