#include "stats/numbers.h"

#include <gtest/gtest.h>

#include "stats_fixture.h"

namespace kelmora::testing {
namespace {

using lottery::MakeComb;

struct DrawCase {
  const char* code;
  bool sorted;
  const char* counts;  // every row in table order
};

// The draw (7, 7, 12, 14) across the family; and (12, 7, 14, 7), which sorting turns into it.
class NumberFamilyOneDraw : public ::testing::TestWithParam<DrawCase> {};

TEST_P(NumberFamilyOneDraw, RowsAndCounts) {
  const DrawCase& c = GetParam();
  StatsFixture f;
  if (c.sorted) {
    f.Add(1, 12, 7, 14, 7);
  } else {
    f.Add(1, 7, 7, 12, 14);
  }
  std::string counts = f.Counts(c.code, 1000, c.sorted);
  EXPECT_EQ(counts, c.counts);
}

constexpr const char* MasksWith12 =
    "ЧЧЧЧ (000)=0 ЧЧЧн (001)=0 ЧЧнЧ (002)=0 ЧЧнн (003)=0 ЧнЧЧ (004)=0 ЧнЧн (005)=0 ЧннЧ (006)=0 "
    "Чннн (007)=0 нЧЧЧ (008)=0 нЧЧн (009)=0 нЧнЧ (010)=0 нЧнн (011)=0 ннЧЧ (012)=1 ннЧн (013)=0 "
    "нннЧ (014)=0 нннн (015)=0";

INSTANTIATE_TEST_SUITE_P(
    Draw7_7_Q_A, NumberFamilyOneDraw,
    ::testing::Values(DrawCase{"NUMS", false, "7=2 8=0 9=0 10=0 J=0 Q=1 K=0 A=1"},
                      DrawCase{"DIGS", false, "7=2 0=2"},
                      DrawCase{"EVEN", false, "1:3=0 2:2=1 3:1=0 4:0=0"},
                      DrawCase{"EVNV", false, MasksWith12},
                      DrawCase{"SMAL", false, "1:3=0 2:2=1 3:1=0 4:0=0"},
                      DrawCase{"SMLV", false, "1122 (003)=1"},
                      DrawCase{"PRIM", false, "1:3=0 2:2=1 3:1=0 4:0=0"},
                      DrawCase{"POS1", false, "7=1 8=0 9=0 10=0 J=0 Q=0 K=0 A=0"},
                      DrawCase{"POS3", false, "7=0 8=0 9=0 10=0 J=0 Q=1 K=0 A=0"},
                      // (12, 7, 14, 7) read sorted is (7, 7, 12, 14)
                      DrawCase{"NUMS", true, "7=2 8=0 9=0 10=0 J=0 Q=1 K=0 A=1"},
                      DrawCase{"EVNV", true, MasksWith12},
                      DrawCase{"POS1", true, "7=1 8=0 9=0 10=0 J=0 Q=0 K=0 A=0"}));

TEST(NumberFamily, PrimeMaskOfTheDraw) {
  StatsFixture f;
  f.Add(1, 7, 7, 12, 14);
  auto t = f.Table("PRMV", 10);
  ASSERT_EQ(t.Rows.size(), 16u);
  EXPECT_EQ(t.Rows[12].Cells[0], "ППСС (012)");
  EXPECT_EQ(t.Rows[12].Item.Count, 1);
}

TEST(NumberFamily, UnsortedDrawKeepsItsPositions) {
  StatsFixture f;
  f.Add(1, 12, 7, 14, 7);
  EXPECT_EQ(f.Counts("POS1", 10), "7=0 8=0 9=0 10=0 J=0 Q=1 K=0 A=0");
  EXPECT_EQ(f.Table("EVNV", 10).Rows[5].Item.Count, 1);  // ЧнЧн (005)
}

TEST(NumberFamily, RatioRowZeroOfFourIsAppendedAfterFourOfZero) {
  StatsFixture f;
  f.Add(1, 7, 9, 11, 13);  // no even value
  f.Add(2, 8, 9, 10, 12);
  EXPECT_EQ(f.Counts("EVEN", 10), "1:3=0 2:2=0 3:1=1 4:0=0 0:4=1");
  f.Add(3, 11, 12, 13, 14);
  EXPECT_EQ(f.Counts("SMAL", 1), "1:3=0 2:2=0 3:1=0 4:0=0 0:4=1");
  f.Add(4, 8, 10, 12, 14);
  EXPECT_EQ(f.Counts("PRIM", 1), "1:3=0 2:2=0 3:1=0 4:0=0 0:4=1");
}

TEST(NumberFamily, SmallMaskHasOnlyTheRowsThatOccurred) {
  StatsFixture f;
  f.Add(1, 11, 12, 13, 14);
  f.Add(2, 7, 8, 9, 10);
  f.Add(3, 14, 13, 12, 11);
  EXPECT_EQ(f.Counts("SMLV", 10), "2222 (015)=2 1111 (000)=1");
}

TEST(NumberFamily, DigitsRowZeroCountsTenAndEveryFaceCard) {
  StatsFixture f;
  f.Add(1, 10, 11, 9, 14);
  EXPECT_EQ(f.Counts("DIGS", 10), "1=1 0=3 9=1");
}

struct ValueOfCase {
  const char* code;
  const char* text;
  int32_t value;
};

class NumberValueOf : public ::testing::TestWithParam<ValueOfCase> {};

TEST_P(NumberValueOf, ReadsTheRowText) {
  StatsFixture f;
  auto stat = f.list.CreateStat(f.Entry(GetParam().code));
  EXPECT_EQ(stat->ValueOf(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Rows, NumberValueOf,
                         ::testing::Values(ValueOfCase{"NUMS", "K", 0}, ValueOfCase{"NUMS", "10", 10},
                                           ValueOfCase{"EVEN", "3:1", 3}, ValueOfCase{"EVEN", "x:1", 0},
                                           ValueOfCase{"EVNV", "ЧнЧн (005)", 5}, ValueOfCase{"EVNV", "нннн", 15},
                                           ValueOfCase{"EVNV", "", 0}, ValueOfCase{"PRMV", "ПССП (009)", 9},
                                           ValueOfCase{"SMLV", "1122 (003)", 3}, ValueOfCase{"POS2", "9", 9}));

TEST(NumberFamily, CombMatchesTheSelectedRows) {
  StatsFixture f;
  auto select = [](std::initializer_list<int> keys) {
    stats::TStatDrawArray selected;
    for (int k : keys) {
      stats::TStatDrawItem item;
      item.SetKeyDword(1, k);
      selected.push_back(item);
    }
    return selected;
  };
  struct Case {
    const char* code;
    stats::TStatDrawArray selected;
    lottery::TComb comb;
    bool matches;
  };
  const Case cases[] = {
      {"NUMS", select({12}), MakeComb(7, 8, 12, 9), true},
      {"NUMS", select({12}), MakeComb(7, 8, 9, 10), false},
      {"DIGS", select({0}), MakeComb(11, 7, 7, 7), true},  // a face card is counted as 0
      {"DIGS", select({0}), MakeComb(10, 7, 7, 7), true},
      {"DIGS", select({1}), MakeComb(9, 8, 7, 14), false},
      {"EVEN", select({2}), MakeComb(7, 8, 9, 10), true},
      {"EVEN", select({0, 1}), MakeComb(7, 8, 9, 10), false},
      {"EVNV", select({5}), MakeComb(8, 7, 8, 7), true},
      {"EVNV", select({10}), MakeComb(8, 7, 8, 7), false},
      {"SMLV", select({3}), MakeComb(7, 7, 12, 14), true},
      {"POS3", select({12}), MakeComb(7, 7, 12, 14), true},
      {"POS1", select({12}), MakeComb(7, 7, 12, 14), false},
  };
  for (const auto& c : cases) {
    auto stat = f.list.CreateStat(f.Entry(c.code));
    stat->FetchDraws(-1, -1, false);
    EXPECT_EQ(stat->CombMatches(c.comb, c.selected, -1, false, false), c.matches) << c.code;
  }
}

TEST(NumberFamily, GraphValues) {
  StatsFixture f;
  f.Add(1, 12, 7, 14, 7);
  auto even = f.list.CreateStat(f.Entry("EVEN"));
  auto pos1 = f.list.CreateStat(f.Entry("POS1"));
  auto* even_graph = dynamic_cast<stats::TCustomGraphStat*>(even.get());
  auto* pos_graph = dynamic_cast<stats::TCustomGraphStat*>(pos1.get());
  ASSERT_TRUE(even_graph && pos_graph);
  EXPECT_EQ(even_graph->DrawGraphValue(0, 0, false), 2);
  EXPECT_EQ(pos_graph->DrawGraphValue(0, 0, false), 12);
  EXPECT_EQ(pos_graph->DrawGraphValue(0, 0, true), 7);
  EXPECT_EQ(pos_graph->DrawGraphValue(5, 0, false), 0);  // outside the archive: a zero draw
}

TEST(NumberFamily, PrimeSetIncludesOne) {
  EXPECT_TRUE(stats::IsPrimeValue(1));
  EXPECT_TRUE(stats::IsPrimeValue(13));
  EXPECT_FALSE(stats::IsPrimeValue(9));
  EXPECT_FALSE(stats::IsPrimeValue(14));
}

}  // namespace
}  // namespace kelmora::testing
