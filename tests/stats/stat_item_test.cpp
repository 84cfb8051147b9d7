#include "stats/stat_item.h"

#include <gtest/gtest.h>

#include "stats_fixture.h"

namespace kelmora::testing {
namespace {

using stats::TStatDrawItem;

TStatDrawItem Occurrence(uint16_t key, int32_t draw, int32_t depth) {
  TStatDrawItem item;
  item.Key1 = key;
  item.LastDraw = item.PrevDraw = draw;
  item.Depth = depth;
  item.Count = 1;
  return item;
}

TEST(AddOccurrence, NewValueIsAppendedWithoutNormAndKnownValueKeepsTheNewestOccurrence) {
  stats::TStatDrawArray values;
  TStatDrawItem first = Occurrence(7, 10, 5);
  first.Norm = 99;
  stats::AddOccurrence(values, first, true);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].Norm, 0);
  EXPECT_EQ(values[0].LastDraw, 10);

  stats::AddOccurrence(values, Occurrence(7, 12, 3), true);
  stats::AddOccurrence(values, Occurrence(8, 12, 3), true);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].Count, 2);
  EXPECT_EQ(values[0].LastDraw, 12);
  EXPECT_EQ(values[0].Depth, 3);
  EXPECT_EQ(values[0].MinPeriod, 2);
  EXPECT_EQ(values[0].MaxPeriod, 2);
}

TEST(AddOccurrence, ListedValueGetsNoGapFromItsFirstOccurrenceAndGapZeroCountsAsUnsetLater) {
  stats::TStatDrawArray values;
  stats::AddOccurrence(values, TStatDrawItem{.Key1 = 14}, false);  // as ListAllValues adds it

  stats::AddOccurrence(values, Occurrence(14, 1, 4), true);
  EXPECT_EQ(values[0].MinPeriod, 0);
  stats::AddOccurrence(values, Occurrence(14, 1, 4), true);  // the same draw again: gap 0
  EXPECT_EQ(values[0].MinPeriod, 0);
  EXPECT_EQ(values[0].MaxPeriod, 0);
  EXPECT_EQ(values[0].Count, 2);

  stats::AddOccurrence(values, Occurrence(14, 4, 1), true);
  EXPECT_EQ(values[0].MinPeriod, 3);
  EXPECT_EQ(values[0].MaxPeriod, 3);
  stats::AddOccurrence(values, Occurrence(14, 6, 1), true);
  EXPECT_EQ(values[0].MinPeriod, 2);
  EXPECT_EQ(values[0].MaxPeriod, 3);
}

TEST(AddOccurrence, WithoutTrackingThePeriodsStayButPrevDrawMoves) {
  stats::TStatDrawArray values;
  stats::AddOccurrence(values, Occurrence(9, 3, 2), false);
  stats::AddOccurrence(values, Occurrence(9, 5, 1), false);
  EXPECT_EQ(values[0].MinPeriod, 0);
  EXPECT_EQ(values[0].PrevDraw, 5);
  stats::AddOccurrence(values, Occurrence(9, 9, 1), true);
  EXPECT_EQ(values[0].MinPeriod, 4);
}

TEST(AddOccurrence, NumsDrawWithAPairAddsTwoAndTheNextRealGapReplacesZero) {
  StatsFixture f;
  f.Add(1, 14, 14, 7, 9);
  auto t = f.Table("NUMS", 10);
  const auto& ace = t.Rows[7].Item;
  EXPECT_EQ(t.Rows[7].Cells[0], "A");
  EXPECT_EQ(ace.Count, 2);
  EXPECT_EQ(ace.MinPeriod, 0);
  f.Add(4, 14, 8, 8, 8);
  t = f.Table("NUMS", 10);
  EXPECT_EQ(t.Rows[7].Item.Count, 3);
  EXPECT_EQ(t.Rows[7].Item.MinPeriod, 3);
  EXPECT_EQ(t.Rows[7].Item.MaxPeriod, 3);
}

TEST(Lookups, MatchTheirKeys) {
  stats::TStatDrawArray values(1);
  values[0].Key1 = 0x0102;
  values[0].Key2 = 0;
  values[0].Key3 = 5;
  EXPECT_TRUE(stats::FindKeys(values, 0x0102, 0, 5, 0));
  EXPECT_FALSE(stats::FindKeys(values, 0x0102, 0, 5, 1));
  EXPECT_TRUE(stats::FindKeyPair(values, 0x0102, 5));
  EXPECT_TRUE(stats::FindKey(values, 3, 5));
  EXPECT_FALSE(stats::FindKey(values, 2, 5));
  EXPECT_TRUE(stats::FindKeyByte(values, 1, 0x02));
  EXPECT_TRUE(stats::FindKeyByte(values, 2, 0x01));
  EXPECT_TRUE(stats::FindKeyByte(values, 5, 5));
  EXPECT_FALSE(stats::FindKeyByte(values, 9, 0));
  EXPECT_TRUE(stats::FindKeyDword(values, 1, 0x0102));
  EXPECT_TRUE(stats::FindKeyDword(values, 2, 5));
  values[0].SetKeyDword(1, 0x00030004);
  EXPECT_EQ(values[0].Key1, 4);
  EXPECT_EQ(values[0].Key2, 3);
}

TEST(LastValues, RecordingReturnsTheDistanceOrMinusOneForANewValue) {
  stats::TLastValueArray last;
  EXPECT_EQ(stats::RecordLastValue(last, 7, 0, 0, 0, 10), -1);
  EXPECT_EQ(stats::RecordLastValue(last, 8, 0, 0, 0, 11), -1);
  EXPECT_EQ(stats::RecordLastValue(last, 7, 0, 0, 0, 15), 5);
  EXPECT_EQ(stats::RecordLastValue(last, 7, 0, 0, 0, 15), 0);
  EXPECT_EQ(last.size(), 2u);
}

// A damaged archive may hold numbers further apart than 32 bits: the distance saturates.
TEST(LastValues, DistanceOfFarNumbersSaturates) {
  const struct {
    int32_t first, second, distance;
  } cases[] = {
      {-2000000000, 2000000000, 2147483647},
      {2000000000, -2000000000, -2147483647 - 1},
      {-2147483647 - 1, 2147483647, 2147483647},
      {-1, 2147483646, 2147483647},
  };
  for (const auto& c : cases) {
    stats::TLastValueArray last;
    stats::RecordLastValue(last, 7, 0, 0, 0, c.first);
    EXPECT_EQ(stats::RecordLastValue(last, 7, 0, 0, 0, c.second), c.distance) << c.first << " " << c.second;
    EXPECT_EQ(last[0].LastDraw, c.second);
  }
}

TEST(Flags, LettersAndGroupsDisplay) {
  EXPECT_EQ(stats::FlagLetters(stats::FlagNorm | stats::FlagGraph), "NG");
  EXPECT_EQ(stats::FlagLetters(0x1F), "SNDPG");
  EXPECT_EQ(stats::FlagLetters(0), "");
  EXPECT_EQ(stats::GroupDisplayText(0), "{ num } Числа тиража");
  EXPECT_EQ(stats::GroupDisplayText(12), "{ shr } Методы шинковки");
  EXPECT_EQ(stats::GroupDisplayText(13), "#ERROR#");
}

}  // namespace
}  // namespace kelmora::testing
