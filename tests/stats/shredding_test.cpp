#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lottery/types.h"
#include "stats/registry.h"
#include "stats/stat_list.h"
#include "stats/shredding.h"
#include "stats/prefetch.h"
#include "registry_archive.h"

namespace kelmora {
namespace {

using lottery::MakeComb;

using Archive = testing::RegistryArchive;

struct ShredCase {
  const char* Formula;
  int Digits;
  lottery::TComb Draw;
  uint32_t Expected;
};

class ShreddingValueTest : public ::testing::TestWithParam<ShredCase> {};

TEST_P(ShreddingValueTest, TableRowOfTheDraw) {
  const ShredCase& c = GetParam();
  Archive a;
  a.shredding.Formula[0] = c.Formula;
  a.shredding.Digits[0] = static_cast<uint8_t>(c.Digits);
  a.draws.push_back({1, c.Draw, ""});
  auto stat = a.Stat("SHR1");
  const auto values = a.Values(*stat, 1);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(stat->ValueText(values[0]), std::to_string(c.Expected)) << c.Formula;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShreddingValueTest,
    ::testing::Values(ShredCase{"(n1+n2)/(n3+n4)", 2, MakeComb(7, 8, 9, 10), 78},
                      ShredCase{"(n1+n2)/(n3+n4)", 2, MakeComb(11, 12, 7, 8), 53},
                      ShredCase{"(n1+n2)/(n3+n4)", 2, MakeComb(7, 7, 7, 7), 0},
                      ShredCase{"( N1 + n2 ) / (n3+N4)", 2, MakeComb(7, 8, 9, 10), 78},
                      ShredCase{"(n1-n2)/3", 2, MakeComb(7, 9, 8, 8), 66},
                      ShredCase{"n1/n2", 3, MakeComb(7, 9, 8, 8), 777},
                      // Exact decimals keep their digits: 23/20 = 1.15.
                      ShredCase{"(n1+n2)/(n3+n4)", 2, MakeComb(11, 12, 10, 10), 15},
                      ShredCase{"n1/20+1.15-n1/20", 2, MakeComb(7, 7, 7, 7), 15},
                      ShredCase{"n5+n1", 2, MakeComb(7, 8, 9, 10), 0},
                      ShredCase{"1,5*n1", 2, MakeComb(7, 8, 9, 10), 0},
                      ShredCase{"0.65535+n1*0", 5, MakeComb(7, 8, 9, 10), 65535},
                      ShredCase{"0.65536+n1*0", 5, MakeComb(7, 8, 9, 10), 65536},
                      ShredCase{"0.99999", 5, MakeComb(7, 8, 9, 10), 99999}));

TEST(ShreddingTest, EarlierDrawsAreZeroBeforeTheArchiveStarts) {
  Archive a;
  a.shredding.Formula[0] = "(p1+t1+0.5)/10";
  a.Add(1, 7, 8, 9, 10);
  a.Add(2, 8, 8, 9, 10);
  a.Add(3, 9, 8, 9, 10);
  auto stat = a.Stat("SHR1");
  // Draw 1: (0+0+.5)/10 = .05; draw 2: (7+0+.5)/10 = .75; draw 3: (8+7+.5)/10 = 1.55.
  std::string rows;
  for (const auto& v : a.Values(*stat, 3)) rows += stat->ValueText(v) + " ";
  EXPECT_EQ(rows, "5 75 55 ");
}

TEST(ShreddingTest, ValuesFrom65536UpKeepTheirOwnRowsAndFilter) {
  Archive a;
  a.shredding.Formula[0] = "n1/100000";
  a.shredding.Digits[0] = 5;
  a.Add(1, 7, 8, 9, 10);
  a.Add(2, 8, 8, 9, 10);
  auto stat = a.Stat("SHR1");
  a.list.Rebuild();
  stats::TStatDrawArray rows;
  for (uint32_t v : {7u, 7u + 65536u}) {
    stats::TStatDrawItem item;
    item.SetKeyDword(1, static_cast<int32_t>(v));
    item.Count = 1;
    stats::AddOccurrence(rows, item, false);
  }
  EXPECT_EQ(rows.size(), 2u);
  EXPECT_EQ(stat->ValueText(rows[1]), "65543");

  // The value 7 of the combination (7, ...) is not the row 65543, though both share the low 16 bits.
  a.shredding.Formula[0] = "n1/100000+0.65536";
  auto high = a.Stat("SHR1");
  high->FetchDraws(-1, 1, false);
  const stats::TStatDrawArray low_row(rows.begin(), rows.begin() + 1);
  const stats::TStatDrawArray high_row(rows.begin() + 1, rows.end());
  EXPECT_TRUE(high->CombMatches(MakeComb(7, 7, 7, 7), high_row, 1, false, false));
  EXPECT_FALSE(high->CombMatches(MakeComb(7, 7, 7, 7), low_row, 1, false, false));

  // The norm records keep both keys.
  const auto norm = stats::ComputePrefetch(a.list, a.list.IndexOfCode("SHR1"));
  ASSERT_FALSE(norm.Records.empty());
  EXPECT_EQ(norm.Records.front().Key2, 1);
}

TEST(ShreddingTest, FilterTakesTheCombinationAsTheNextDraw) {
  Archive a;
  a.shredding.Formula[0] = "n1/p1+t1*0";
  a.Add(1, 9, 9, 9, 9);
  a.Add(2, 8, 9, 9, 9);
  a.Add(3, 10, 9, 9, 9);
  // With the window ending at draw 2 (offset 1), the combination is n; p is draw 2, t draw 1.
  auto stat = a.Stat("SHR1");
  auto& shred = dynamic_cast<stats::TstShreddingStat&>(*stat);
  EXPECT_EQ(shred.GraphValue(MakeComb(7, 7, 7, 7), 2, 1, false), 87);  // 7/8
  stats::TStatDrawArray selected(1);
  selected[0].SetKeyDword(1, 87);
  shred.FetchDraws(-1, 1, false);
  EXPECT_TRUE(shred.CombMatches(MakeComb(7, 7, 7, 7), selected, 1, false, false));
  EXPECT_FALSE(shred.CombMatches(MakeComb(7, 7, 7, 7), selected, 2, false, false));  // 7/10 = 70
}

TEST(ShreddingTest, NormOfAFormulaDividingByAnEarlierDrawIsZero) {
  Archive a;
  a.shredding.Formula[1] = "n1/p1";
  a.Add(1, 7, 8, 9, 10);
  a.Add(2, 9, 8, 9, 10);
  a.list.Rebuild();
  const auto norm = stats::ComputePrefetch(a.list, a.list.IndexOfCode("SHR2"));
  ASSERT_EQ(norm.Records.size(), 1u);
  EXPECT_EQ(norm.Records[0].Key1, 0);
  EXPECT_EQ(norm.Records[0].Count, 4096);
  EXPECT_EQ(a.Rows("SHR2", 2), "0=1 28=1");  // 9/7 = 1.285...
}

TEST(ShreddingTest, EntriesShowTheirFormulaAndObjectsReadTheSettingsAtCreation) {
  Archive a;
  a.shredding.Formula[2] = "n1*2";
  a.shredding.Digits[2] = 3;
  a.list.Rebuild();
  const int entry = a.list.IndexOfCode("SHR3");
  EXPECT_EQ(a.list.Items(entry).DisplayCaption(), "Метод шинковки 3: n1*2");
  auto stat = a.list.CreateStat(entry);
  a.shredding.Formula[2] = "n1/3";
  const auto& shred = dynamic_cast<const stats::TstShreddingStat&>(*stat);
  EXPECT_EQ(shred.Formula(), "n1*2");
  EXPECT_EQ(shred.Digits(), 3);
}

}  // namespace
}  // namespace kelmora
