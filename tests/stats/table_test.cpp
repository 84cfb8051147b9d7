#include "stats/table.h"

#include <cmath>
#include <limits>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "stats/numbers.h"
#include "stats/prefetch.h"
#include "stats_fixture.h"

namespace kelmora::testing {
namespace {

using Cells = std::vector<std::string>;

Cells RowCells(const stats::TStatTable& t, const std::string& caption) {
  for (const auto& r : t.Rows) {
    if (r.Cells[0] == caption) return Cells(r.Cells.begin(), r.Cells.end());
  }
  return {};
}

// Five draws 101..105; NUMS counts 7:4 8:5 9:4 10:3 J:2 Q:1 K:1 A:0.
struct FiveDraws : StatsFixture {
  FiveDraws() {
    Add(101, 7, 8, 9, 10);
    Add(102, 7, 8, 9, 11);
    Add(103, 7, 8, 12, 13);
    Add(104, 7, 8, 9, 10);
    Add(105, 8, 9, 10, 11);
  }
};

TEST(StatTable, ColumnsOfSeenOnceNeverSeenAndRepeatedValues) {
  FiveDraws f;
  const auto t = f.Table("NUMS", 5);
  EXPECT_EQ(t.Total, 20);
  EXPECT_EQ(t.MaxDepth, 3);
  EXPECT_EQ(RowCells(t, "7"), (Cells{"7", "4", "20.00000", "-", "-", "-", "2", "66.67", "2.00", "104", "1",
                                     "1.2500", "1", "105", "130", "126", "-", "-", "-", "-"}));
  // Seen once: no periods; "Ожд. СТФ" = 2 x LastDraw, "Ожд. КРН" = round(3 x (LastDraw + 1) / 2).
  EXPECT_EQ(RowCells(t, "K"), (Cells{"K", "1", "5.00000", "-", "-", "-", "3", "100.00", "3.00", "103", "-", "-",
                                     "-", "-", "206", "156", "-", "-", "-", "-"}));
  EXPECT_EQ(RowCells(t, "A"), (Cells{"A", "0", "0.00000", "-", "-", "-", "-", "-", "-", "-", "-", "-", "-", "-",
                                     "-", "-", "-", "-", "-", "-"}));
}

TEST(StatTable, FactWithAnOffsetIsTheNextDrawHoldingTheValue) {
  FiveDraws f;
  const auto t = f.Table("NUMS", 5, 2);  // window 101..103
  EXPECT_EQ(t.WindowDraws, 3);
  // 103.5 rounds to the even 104, and 104 is exactly when 9 came next.
  EXPECT_EQ(RowCells(t, "9"), (Cells{"9", "2", "16.66667", "-", "-", "-", "2", "66.67", "2.00", "102", "1",
                                     "1.5000", "1", "104", "153", "137", "104", "0", "+49", "+33"}));
  EXPECT_EQ(RowCells(t, "10")[16], "104");
  EXPECT_EQ(RowCells(t, "10")[17], "-");  // no "Ожд. ПРД" for a value seen once
  EXPECT_EQ(RowCells(t, "Q")[16], "-");   // never again
}

TEST(StatTable, WindowLongerThanTheArchiveStartsAtTheFirstDraw) {
  FiveDraws f;
  const auto t = f.Table("NUMS", 1000, 1);
  EXPECT_EQ(t.FirstIdx, 0);
  EXPECT_EQ(t.WindowDraws, 4);
  EXPECT_TRUE(f.Table("NUMS", 5, 5).Rows.empty());  // the window holds no draw
}

TEST(StatTable, DecimalSeparatorOfTheSession) {
  FiveDraws f;
  stats::TStatTableInput in;
  in.List = &f.list;
  in.Entry = f.Entry("NUMS");
  in.WindowLength = 5;
  in.DecimalSeparator = ',';
  const auto t = stats::CalcStatTable(in);
  EXPECT_EQ(RowCells(t, "7")[2], "20,00000");
  EXPECT_EQ(RowCells(t, "7")[11], "1,2500");
}

// A statistic that lists its values but never counts one, for a window whose Total is 0.
class NeverCounts : public stats::TstValues {
 public:
  using TstValues::TstValues;
  void AddDrawValues(int draw_idx, int last_idx, bool sorted, stats::TStatDrawArray& values, stats::TStatWork& work,
                     stats::TLastValueArray& last_values) override {
    TCustomStat::AddDrawValues(draw_idx, last_idx, sorted, values, work, last_values);
  }
};
const stats::TStatClass NeverCountsClass{.Ordinal = 200, .ClassName = "NeverCounts", .CodeFormat = "ZERO",
                                         .Create = &stats::CreateStatOf<NeverCounts>};

TEST(StatTable, TotalZeroGivesADashForTheShare) {
  FiveDraws f;
  f.classes.push_back(&NeverCountsClass);
  f.list.Rebuild();
  const auto t = f.Table("ZERO", 5);
  ASSERT_EQ(t.Rows.size(), 8u);
  EXPECT_EQ(t.Total, 0);
  EXPECT_EQ(t.Rows[0].Cells[2], "-");
  EXPECT_EQ(t.Rows[0].Cells[6], "-");
}

TEST(StatTable, NormOfNumsIsTheMiddleOfTheWindowsCounts) {
  FiveDraws f;
  const auto prefetch = stats::ComputePrefetch(f.list, f.Entry("NUMS"));
  ASSERT_EQ(prefetch.Records.size(), 8u);
  EXPECT_EQ(prefetch.MinCount, 2048);
  EXPECT_EQ(prefetch.MaxCount, 2048);
  const auto t = f.Table("NUMS", 5, 0, false, &prefetch);
  ASSERT_TRUE(t.NormMode);
  // Min 0 and max 5: every norm is round(2.5) = 2, ties to even.
  for (const auto& r : t.Rows) EXPECT_EQ(r.Cells[3], "2") << r.Cells[0];
  EXPECT_EQ(RowCells(t, "8")[4], "3");
  EXPECT_EQ(RowCells(t, "8")[5], "150.00000");
  EXPECT_EQ(RowCells(t, "8")[8], "-2.00");  // depth 1 minus deviation 3
  EXPECT_EQ(RowCells(t, "A")[5], "-100.00000");
}

TEST(StatTable, NormOfEvenScalesTheFullSetToTheLargestCount) {
  FiveDraws f;
  const auto prefetch = stats::ComputePrefetch(f.list, f.Entry("EVEN"));
  ASSERT_EQ(prefetch.Records.size(), 5u);
  const int32_t expected[] = {256, 1024, 1536, 1024, 256};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(prefetch.Records[static_cast<size_t>(k)].Key1, k);
    EXPECT_EQ(prefetch.Records[static_cast<size_t>(k)].Count, expected[k]);
  }
  const auto t = f.Table("EVEN", 5, 0, false, &prefetch);
  EXPECT_DOUBLE_EQ(static_cast<double>(t.Ratio), 4.0 / 1536);
  EXPECT_EQ(RowCells(t, "1:3")[3], "3");
  EXPECT_EQ(RowCells(t, "2:2")[3], "4");  // the most common value's norm is the largest count
  EXPECT_EQ(RowCells(t, "3:1")[3], "3");
  EXPECT_EQ(RowCells(t, "4:0")[3], "1");
  EXPECT_TRUE(RowCells(t, "0:4").empty());  // in the file, not in the window

  ASSERT_EQ(t.Chart.Series.size(), 2u);
  EXPECT_EQ(t.Chart.Series[0].Title, "Фактические данные");
  EXPECT_EQ(t.Chart.Series[0].Color, 0x008000u);
  ASSERT_EQ(t.Chart.Series[0].Points.size(), 4u);
  EXPECT_EQ(t.Chart.Series[0].Points[0].X, 2);
  EXPECT_EQ(t.Chart.Series[0].Points[0].Label, "1:3");
  EXPECT_EQ(t.Chart.Series[1].Title, "Все возможные комбинации");
  ASSERT_EQ(t.Chart.Series[1].Points.size(), 5u);
  EXPECT_EQ(t.Chart.Series[1].Points[0].Label, "0:4");
  EXPECT_NEAR(t.Chart.Series[1].Points[2].Y, 4.0, 1e-9);
}

TEST(StatTable, ChartWithoutNormFollowsTheKeys) {
  FiveDraws f;
  f.Add(106, 7, 9, 11, 13);  // adds the row 0:4 after 4:0
  const auto t = f.Table("EVEN", 6);
  ASSERT_EQ(t.Chart.Series.size(), 1u);
  const auto& points = t.Chart.Series[0].Points;
  ASSERT_EQ(points.size(), 5u);
  EXPECT_EQ(points[0].Label, "0:4");
  EXPECT_EQ(points[0].X, 1);
  EXPECT_EQ(points[2].Label, "2:2");
  EXPECT_EQ(points[2].Y, 4);
}

TEST(Weight, CoefficientsPercentsAndAbsoluteValues) {
  stats::TStatDrawItem row;
  row.Count = 3;
  row.Norm = 6;
  row.Depth = 2;
  struct Case {
    lottery::TCdlSettings cdl;
    bool norm;
    long double weight;
  };
  const Case cases[] = {
      {{0, -1, 1, false, false}, true, 2 + 3},                    // depth minus deviation
      {{0, -1, 1, false, false}, false, 2},                       // no deviation outside Norm mode
      {{1, 1, 0, true, false}, true, 3 * 100.0L / 12 - 50},       // percents of Total and of the norm
      {{0, 1, 1, false, true}, true, 3 + 2},                      // absolute deviation
      {{0, 0, 1, true, false}, true, 2 * 100.0L / 4},             // depth share of MaxDepth
  };
  for (const auto& c : cases) EXPECT_NEAR(static_cast<double>(stats::StatWeight(c.cdl, row, c.norm, 12, 4)),
                                          static_cast<double>(c.weight), 1e-12);
  lottery::TCdlSettings broken{std::numeric_limits<long double>::infinity(), 0, 0, false, false};
  row.Count = 0;
  EXPECT_EQ(stats::StatWeight(broken, row, false, 12, 4), -999.99L);
}

TEST(DeltaText, DifferenceOfTheEstimateAndTheFact) {
  struct Case {
    std::optional<int64_t> expected;  // nullopt: the expected column is "-"
    int32_t fact;
    const char* text;
  };
  const Case cases[] = {{10, 8, "+2"}, {8, 8, "0"}, {5, 8, "-3"}, {std::nullopt, 5, "-"}, {-1, 0, "-"}};
  for (const auto& c : cases) EXPECT_EQ(stats::DeltaText(c.expected, c.fact), c.text) << c.expected.value_or(-99);
}

TEST(SortRule, NumbersAsNumbersOtherTextsIgnoringCaseCaptionsBreakTies) {
  EXPECT_LT(stats::CompareStatTexts("9", "10"), 0);
  EXPECT_LT(stats::CompareStatTexts("1.25", "1,5"), 0);
  EXPECT_LT(stats::CompareStatTexts("-", "5"), 0);  // text: "-" before "5"
  EXPECT_EQ(stats::CompareStatTexts("q", "Q"), 0);
  EXPECT_LT(stats::CompareStatTexts("+2", "3"), 0);

  auto row = [](std::string caption, std::string count) {
    stats::TStatRow r;
    r.SetCell(stats::StatColumn::Value, std::move(caption));
    r.SetCell(stats::StatColumn::Count, std::move(count));
    return r;
  };
  std::vector<stats::TStatRow> rows = {row("K", "10"), row("A", "9"), row("J", "10"), row("7", "-")};
  auto captions = [&] {
    std::string s;
    for (const auto& r : rows) s += r.Cells[0] + " ";
    return s;
  };
  stats::SortStatRows(rows, 1, false);
  EXPECT_EQ(captions(), "7 A J K ");  // "-" is text and sorts before the digits
  stats::SortStatRows(rows, 1, true);
  EXPECT_EQ(captions(), "K J A 7 ");
  stats::SortStatRows(rows, 0, false);
  EXPECT_EQ(captions(), "7 A J K ");
}

TEST(StatValues, RowCarriesItsTextColumns) {
  stats::TStatRow row;
  for (int i = 0; i < stats::StatColumnCount; ++i) row.Cells[static_cast<size_t>(i)] = fmt::format("c{}", i);
  const auto v = stats::RowToStatValues(&row);
  EXPECT_EQ(v.Value, "c0");
  EXPECT_EQ(v.NumValue, 0);
  EXPECT_EQ(v.Count, "c1");
  EXPECT_EQ(v.CountPct, "c2");
  EXPECT_EQ(v.Deviation, "c4");
  EXPECT_EQ(v.DeviationPct, "c5");
  EXPECT_EQ(v.Depth, "c6");
  EXPECT_EQ(v.DepthPct, "c7");
  EXPECT_EQ(v.Weight, "c8");
  EXPECT_EQ(v.PeriodMin, "c10");
  EXPECT_EQ(v.Period, "c11");
  EXPECT_EQ(v.PeriodMax, "c12");
  EXPECT_EQ(stats::RowToStatValues(nullptr), stats::TStatValues{});
}

TEST(StatColumns, CaptionsAndAlignment) {
  const auto& c = stats::StatColumnCaptions();
  EXPECT_STREQ(c[0], "Значение");
  EXPECT_STREQ(c[5], "Откл-ие в %");
  EXPECT_STREQ(c[19], "+/- КРН");
  EXPECT_EQ(stats::StatColumnAlignment(0), stats::ColumnAlign::Left);
  EXPECT_EQ(stats::StatColumnAlignment(12), stats::ColumnAlign::Right);
  EXPECT_EQ(stats::StatColumnAlignment(9), stats::ColumnAlign::Center);
  EXPECT_EQ(stats::StatColumnAlignment(16), stats::ColumnAlign::Center);
}

}  // namespace
}  // namespace kelmora::testing
