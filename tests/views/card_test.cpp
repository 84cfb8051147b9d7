#include "views/card.h"

#include <gtest/gtest.h>

#include "lottery/comb_ops.h"
#include "views_fixture.h"

namespace kelmora::testing {
namespace {

using views::CardCellColor;
using views::CardCellText;

std::string Row(const lottery::TDrawsArray& draws, int row) {
  std::string out;
  for (int c = 0; c < views::CardColumns; ++c) {
    if (c) out += '|';
    out += CardCellText(draws, row, c);
  }
  return out;
}

TEST(Card, RowsAreNewestFirstAndAValueDrawnTwiceFillsOneCell) {
  ViewDraws v;
  v.Add(8, 8, 8, 8).Add(7, 7, 9, 10);
  EXPECT_EQ(Row(v.draws, 0), "|7|8|9|10|J|Q|K|A");
  EXPECT_EQ(Row(v.draws, 1), "2|7||9|10||||");
  EXPECT_EQ(Row(v.draws, 2), "1||8||||||");
  EXPECT_EQ(views::CardRowCount(v.draws), 3);
}

TEST(Card, EmptyArchiveHasOneEmptyDataRowAndTheCacheRule) {
  EXPECT_EQ(views::CardRowCount({}), 2);
  EXPECT_EQ(Row({}, 1), "||||||||");
  ViewDraws v;
  v.Add(7, 8, 9, 10);
  EXPECT_TRUE(views::CardNeedsRefresh(0, v.draws));
  EXPECT_FALSE(views::CardNeedsRefresh(2, v.draws));
  EXPECT_TRUE(views::CardNeedsRefresh(2, {}));
}

struct CardColorCase {
  const char* What;
  int Row, Col;
  bool Channels, Sequences;
  int64_t Want;
};

class CardColors : public ::testing::TestWithParam<CardColorCase> {
 protected:
  // Row 1 (newest): J with 7; row 2: J and Q with 8; row 3: 9 with 10 and 7.
  ViewDraws v = [] {
    ViewDraws d;
    d.Add(9, 10, 7, 7).Add(11, 12, 8, 8).Add(11, 7, 7, 7);
    return d;
  }();
};

TEST_P(CardColors, CellColour) {
  const auto& c = GetParam();
  EXPECT_EQ(CardCellColor(v.draws, c.Row, c.Col, c.Channels, c.Sequences, 2), c.Want) << c.What;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CardColors,
    ::testing::Values(CardColorCase{"J repeated without a neighbour", 1, 5, true, true, 0x00FF00},
                      CardColorCase{"J repeated beside Q", 2, 5, true, true, 0xFFFF00},
                      CardColorCase{"Q beside J, not repeated", 2, 6, true, true, 0x00FFFF},
                      CardColorCase{"7 neither repeated nor beside a card", 1, 1, false, true, -1},
                      CardColorCase{"9 beside 10", 3, 3, false, true, 0x00FFFF},
                      CardColorCase{"an empty cell takes the channel", 1, 2, true, true, lottery::ChannelColor(8, 2)},
                      CardColorCase{"sequences off: the channel", 1, 5, true, false, lottery::ChannelColor(11, 2)},
                      CardColorCase{"both off", 1, 5, false, false, -1},
                      CardColorCase{"the title column", 1, 0, true, true, -1}));

}  // namespace
}  // namespace kelmora::testing
