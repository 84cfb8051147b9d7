#include "views/layout.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include "views_fixture.h"

namespace kelmora::testing {
namespace {

using views::BuildLayoutCompare;
using views::BuildLayoutScheme;
using views::LayoutCellColor;

// Every non-empty data cell of the grid, "row:col=text", row by row.
std::string DataCells(const views::TViewGrid& g) {
  std::string out;
  for (int r = 1; r < g.Rows; ++r)
    for (int c = 1; c < g.Cols; ++c)
      if (!g.At(r, c).empty()) out += fmt::format("{}{}:{}={}", out.empty() ? "" : " ", r, c, g.At(r, c));
  return out;
}

TEST(LayoutScheme, EmptyArchiveKeepsTheCornerCellOnly) {
  const auto scheme = BuildLayoutScheme({}, 0, 100);
  EXPECT_EQ(scheme.Grid.Rows, 2);
  EXPECT_EQ(scheme.Grid.Cols, 2);
  for (const auto& cell : scheme.Grid.Cells) EXPECT_EQ(cell, "");
  const auto compare = BuildLayoutCompare({}, 0, 50);
  EXPECT_TRUE(compare.Rows.empty());
  EXPECT_EQ(compare.Caption, "");
}

TEST(LayoutScheme, ValueOnlySevenRepeatedGivesTwoDataRows) {
  ViewDraws v;
  v.Add(7, 10, 11, 12).Add(7, 7, 8, 9);
  const auto scheme = BuildLayoutScheme(v.draws, 0, 100);
  ASSERT_EQ(scheme.Grid.Rows, 3);
  EXPECT_EQ(scheme.Grid.At(1, 0), "3");
  EXPECT_EQ(scheme.Grid.At(2, 0), "1");
  // Columns are the newest draw holding a value: 2 for 7, 8, 9 and 1 for 10, J, Q.
  EXPECT_EQ(scheme.Grid.At(0, 1), "2");
  EXPECT_EQ(scheme.Grid.At(0, 2), "1");
  EXPECT_EQ(DataCells(scheme.Grid), "1:1=7 2:1=8, 9 2:2=10, J, Q");
}

TEST(LayoutScheme, WindowLongerThanTheArchiveStartsAtTheOldestDraw) {
  ViewDraws v;
  v.Add(7, 8, 9, 10).Add(7, 8, 9, 11).Add(7, 8, 9, 12);
  const auto scheme = BuildLayoutScheme(v.draws, 0, 1000);
  int total = 0;
  for (const auto& r : scheme.Records) total += r.Count;
  EXPECT_EQ(total, 12);
  EXPECT_EQ(BuildLayoutCompare(v.draws, 0, 1000).Caption, "1 - 3");
}

TEST(LayoutScheme, HiddenDrawValuesAreBracketedOnlyAboveOffsetZero) {
  ViewDraws v;
  v.Add(7, 8, 9, 10).Add(11, 12, 13, 14).Add(9, 10, 11, 14).Add(7, 7, 11, 14);
  const auto at0 = BuildLayoutScheme(v.draws, 0, 100);
  EXPECT_EQ(DataCells(at0.Grid).find('['), std::string::npos);
  // Offset 1: the newest draw (7, 7, J, A) is hidden; 7, J and A are marked wherever they are.
  const auto at1 = BuildLayoutScheme(v.draws, 1, 100);
  EXPECT_EQ(DataCells(at1.Grid), "1:1=9, 10, [J], [A] 2:2=Q, K 2:3=[7], 8");
  EXPECT_EQ(LayoutCellColor(at1.Grid.At(1, 1), 1, 1, at1.Grid.Rows, at1.Grid.Cols, true), 0x00FF00u);
}

struct ColorCase {
  const char* Text;
  int Row, Col, Rows, Cols;
  bool Gradient;
  uint32_t Want;
};

class LayoutColors : public ::testing::TestWithParam<ColorCase> {};

TEST_P(LayoutColors, CellColour) {
  const auto& c = GetParam();
  EXPECT_EQ(LayoutCellColor(c.Text, c.Row, c.Col, c.Rows, c.Cols, c.Gradient), c.Want) << c.Row << "," << c.Col;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayoutColors,
    ::testing::Values(ColorCase{"", 1, 2, 10, 10, false, 0xEAFFEA},       // both banded
                      ColorCase{"7", 1, 6, 10, 10, false, 0xFFEAEA},      // only the row banded
                      ColorCase{"", 6, 1, 10, 10, false, 0xFFEAEA},       // only the column banded
                      ColorCase{"", 6, 7, 10, 10, false, 0xEAFFEA},       // neither banded
                      ColorCase{"", 11, 15, 99, 99, false, 0xEAFFEA},     // the second band
                      ColorCase{"", 95, 1, 99, 99, false, 0xEAFFEA},      // 95 still banded
                      ColorCase{"", 101, 1, 199, 9, false, 0xFFEAEA},     // beyond 95 never banded
                      ColorCase{"[9]", 1, 2, 10, 10, false, 0x00FF00},    // a hidden value wins
                      ColorCase{"8", 1, 2, 3, 5, true, 0xCBC198},         // 203, 193, 152 rounded
                      ColorCase{"", 3, 5, 3, 5, true, 0x6464FF}));        // the far corner

TEST(LayoutCompare, ValuesShareARowPerCountInFirstAppearanceOrderSortedByCount) {
  ViewDraws v;
  v.Add(13, 13, 12, 8).Add(7, 7, 8, 9).Add(9, 10, 7, 8);
  const auto list = BuildLayoutCompare(v.draws, 0, 2);
  EXPECT_EQ(list.Caption, "2 - 3");
  ASSERT_EQ(list.Rows.size(), 3u);
  EXPECT_EQ(list.Rows[0].Count, 3);
  EXPECT_EQ(list.Rows[0].Values, "7");
  EXPECT_EQ(list.Rows[1].Count, 2);
  EXPECT_EQ(list.Rows[1].Values, "9, 8");
  EXPECT_EQ(list.Rows[2].Count, 1);
  EXPECT_EQ(list.Rows[2].Values, "10");
  const auto single = BuildLayoutCompare(v.draws, 0, 1);
  ASSERT_EQ(single.Rows.size(), 1u);
  EXPECT_EQ(single.Rows[0].Values, "9, 10, 7, 8");
  EXPECT_EQ(BuildLayoutCompare(v.draws, 1, 1).Caption, "2 - 2");
}

}  // namespace
}  // namespace kelmora::testing
