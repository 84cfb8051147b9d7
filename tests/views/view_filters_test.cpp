#include "views/view_filters.h"

#include <map>

#include <gtest/gtest.h>

namespace kelmora::testing {
namespace {

using Cells = std::map<std::pair<int, int>, std::string>;

views::CellText From(const Cells& cells) {
  return [&cells](int r, int c) {
    auto it = cells.find({r, c});
    return it == cells.end() ? std::string() : it->second;
  };
}

std::string Keys(const views::TViewSelection& s) {
  std::string out;
  for (const auto& item : s.Selected) {
    if (!out.empty()) out += ',';
    out += std::to_string(item.Key1);
    EXPECT_EQ(item.Key2 + item.Key3 + item.Key4 + item.Count, 0);
  }
  return out;
}

TEST(ViewFilters, CardCellsOfTheSameCardCollectItOnce) {
  const Cells cells = {{{1, 5}, "J"}, {{2, 5}, "J"}, {{1, 6}, "Q"}, {{3, 1}, "7"}};
  const auto s = views::CollectCardValues(From(cells), {1, 1, 3, 6});
  EXPECT_EQ(Keys(s), "7,11,12") << "column by column from the left";
  EXPECT_EQ(s.Texts, (std::vector<std::string>{"7", "J", "Q"}));
  EXPECT_TRUE(views::CollectCardValues(From(cells), {1, 2, 3, 4}).Empty());
}

TEST(ViewFilters, LayoutCellsAreCutIntoCleanWords) {
  const Cells cells = {{{1, 1}, "[9], 10"}, {{2, 1}, "10, [A]"}, {{1, 2}, "J"}};
  const auto s = views::CollectLayoutValues(From(cells), {1, 1, 2, 2});
  EXPECT_EQ(Keys(s), "9,10,14,11");
  EXPECT_EQ(s.Texts, (std::vector<std::string>{"9", "10", "A", "J"}));
}

struct WeekCase {
  int Left, Right;
  const char* Keys;
};
class WeekColumns : public ::testing::TestWithParam<WeekCase> {};
TEST_P(WeekColumns, ColumnStandsForItsCard) {
  EXPECT_EQ(Keys(views::CollectWeekValues(GetParam().Left, GetParam().Right)), GetParam().Keys);
}
INSTANTIATE_TEST_SUITE_P(Cases, WeekColumns,
                         ::testing::Values(WeekCase{1, 1, "7"}, WeekCase{5, 8, "11,12,13,14"}, WeekCase{0, 2, "7,8"},
                                           WeekCase{0, 0, ""}, WeekCase{-1, -1, ""}));

}  // namespace
}  // namespace kelmora::testing
