#include "stats/sums.h"

#include <gtest/gtest.h>

#include "family_fixture.h"

namespace kelmora::testing {
namespace {

using lottery::MakeComb;
using stats::CombSum;

struct SumFixture : FamilyFixture {
  SumFixture() : FamilyFixture(stats::SumClasses()) {}
  // A draw with the given sum (28..56): values as even as possible.
  void AddSum(int number, int sum) {
    const int base = sum / 4;
    const int extra = sum % 4;
    Add(number, base + (extra > 0), base + (extra > 1), base + (extra > 2), base);
  }
};

struct SingleDrawCase {
  const char* Code;
  const char* Row;
  int Count;
};

class SumsOfOneDraw : public ::testing::TestWithParam<SingleDrawCase> {};

TEST_P(SumsOfOneDraw, DrawOfTwoSevensAndAnAceFallsInTheRow) {
  SumFixture f;
  f.Add(1, 7, 7, 14, 9);
  EXPECT_EQ(f.CountOf(GetParam().Code, 1, GetParam().Row), GetParam().Count);
}

INSTANTIATE_TEST_SUITE_P(Cases, SumsOfOneDraw,
                         ::testing::Values(SingleDrawCase{"SUMS", "37", 1}, SingleDrawCase{"SUME", "14", 1},
                                           SingleDrawCase{"SUMP", "14", 1}, SingleDrawCase{"SUM1", "35-49", 1},
                                           SingleDrawCase{"SUM2", "37-47", 1}, SingleDrawCase{"SUM3", "Остальные", 1},
                                           SingleDrawCase{"SUM3", "38-46", 0}, SingleDrawCase{"S2T3", "1", 1}));

TEST(Sums, TwoSevensAndTwoAcesMakeTwoSumsOfTwo) {
  EXPECT_EQ(stats::TstSum2To3::CountOf(MakeComb(7, 14, 7, 14)), 2);
  EXPECT_EQ(stats::TstSum2To3::CountOf(MakeComb(7, 8, 9, 14)), 0);
}

TEST(Sums, RangeCaptionsCarryTheirFixedNumbers) {
  SumFixture f;
  EXPECT_EQ(f.list.Items(f.Entry("SUM1")).Caption(), "Сумма тиража: диапазон 1 (1/3)");
  EXPECT_EQ(f.list.Items(f.Entry("SUM3")).Caption(), "Сумма тиража: диапазон 3 (2/3)");
}

TEST(Sums, SumOutsideTheListedRangeGetsARowAfterTheListedOnes) {
  SumFixture f;
  f.Add(1, 7, 7, 8, 8);  // 30
  const auto rows = f.Table("SUMS", 10).Rows;
  ASSERT_EQ(rows.size(), 18u);
  EXPECT_EQ(rows[16].Cells[0], "50");
  EXPECT_EQ(rows.back().Cells[0], "30");
  EXPECT_EQ(rows.back().Item.Count, 1);
}

TEST(Sums, RangeFilterKeepsTheRangeOrWhatIsOutsideIt) {
  SumFixture f;
  f.Add(1, 10, 10, 10, 10);
  auto in_range = [](lottery::TComb c) { return CombSum(c) >= 38 && CombSum(c) <= 46; };
  EXPECT_EQ(f.FilterMismatches("SUM3", 1, {"38-46"}, in_range), 0);
  EXPECT_EQ(f.FilterMismatches("SUM3", 1, {"Остальные"}, [&](lottery::TComb c) { return !in_range(c); }), 0);
}

// Sums 40, 43, 40, 35, 40, 43, 40: the draws after a 40 went to 43, 35 and 43.
void AddTransitions(SumFixture& f) {
  int n = 1;
  for (int sum : {40, 43, 40, 35, 40, 43, 40}) f.AddSum(n++, sum);
}

TEST(SumChanges, ExactTransitionsStartAtTheSumOfTheWindowsLastDraw) {
  SumFixture f;
  AddTransitions(f);
  EXPECT_EQ(f.Counts("SUMC", 100), "+03 : 40 + 3 = 43=2 - 05 : 40 - 5 = 35=1");
  EXPECT_EQ(f.FilterMismatches("SUMC", 100, {"+03 : 40 + 3 = 43"}, [](lottery::TComb c) { return CombSum(c) == 43; }),
            0);

  f.AddSum(8, 43);  // the last draw now sums to 43: the rows follow it
  EXPECT_EQ(f.Counts("SUMC", 100), "- 03 : 43 - 3 = 40=2");
  EXPECT_EQ(f.Counts("SUMT", 100), "==0 +=0 -=2");
}

TEST(SumChanges, FirstDrawOfTheArchiveAddsNothing) {
  SumFixture f;
  f.AddSum(1, 40);
  EXPECT_EQ(f.Counts("SUMC", 10), "");
  EXPECT_EQ(f.Counts("SUMV", 10), "");
  EXPECT_EQ(f.Counts("SUMT", 10), "==0 +=0 -=0");
}

TEST(SumChanges, NearTransitionsCountPreviousSumsWithinOne) {
  SumFixture f;
  int n = 1;
  for (int sum : {39, 45, 41, 30, 42, 50, 40, 40}) f.AddSum(n++, sum);
  // From 39: +06, from 41: -11, from 40: +00; 42 is too far from 40.
  EXPECT_EQ(f.Counts("SUMV", 100), "+06=1 - 11=1 +00=1");
  // The filter measures the change from the window's last draw (40).
  EXPECT_EQ(f.FilterMismatches("SUMV", 100, {"+06"}, [](lottery::TComb c) { return CombSum(c) == 46; }), 0);
}

TEST(SumChanges, TrendFilterComparesWithTheWindowsLastDraw) {
  SumFixture f;
  AddTransitions(f);
  EXPECT_EQ(f.Counts("SUMT", 100), "==0 +=2 -=1");
  EXPECT_EQ(f.FilterMismatches("SUMT", 100, {"+"}, [](lottery::TComb c) { return CombSum(c) > 40; }), 0);
  EXPECT_EQ(f.FilterMismatches("SUMT", 100, {"="}, [](lottery::TComb c) { return CombSum(c) == 40; }), 0);
}

TEST(SumChanges, GraphsShowTheChangeAgainstThePreviousDraw) {
  SumFixture f;
  AddTransitions(f);
  auto change = f.list.CreateStat(f.Entry("SUMC"));
  auto trend = f.list.CreateStat(f.Entry("SUMT"));
  const int last = static_cast<int>(f.draws.size()) - 1;
  EXPECT_EQ(dynamic_cast<stats::TCustomGraphStat&>(*change).DrawGraphValue(3, last, false), -5);
  EXPECT_EQ(dynamic_cast<stats::TCustomGraphStat&>(*trend).DrawGraphValue(3, last, false), -1);
  EXPECT_EQ(dynamic_cast<stats::TCustomGraphStat&>(*trend).DrawGraphValue(1, last, false), 1);
}

}  // namespace
}  // namespace kelmora::testing
