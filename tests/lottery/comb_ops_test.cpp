#include "lottery/comb_ops.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelmora::lottery {
namespace {

TEST(CompareTest, MatchesBetweenDrawAndCombination) {
  const TComb draw = MakeComb(12, 7, 9, 12);
  EXPECT_EQ(PositionalMatches(draw, MakeComb(12, 8, 9, 12)), 3);
  EXPECT_EQ(PositionalMatches(draw, MakeComb(7, 12, 12, 9)), 0);
  EXPECT_EQ(PositionalMatches(draw, draw), 4);
  EXPECT_EQ(MatchedValues(draw, MakeComb(12, 8, 9, 12)), (TNumberSet{3, {9, 12, 12, 0}}));
  EXPECT_EQ(MatchedValues(draw, MakeComb(8, 8, 8, 8)), (TNumberSet{}));
  EXPECT_EQ(CombToNumberSet(draw), (TNumberSet{4, {12, 7, 9, 12}}));
}

TEST(CompareTest, DistinctValuesStopAtEight) {
  const TCombsArray combs = {MakeComb(7, 7, 8, 7), MakeComb(9, 8, 10, 11), MakeComb(12, 13, 14, 7),
                             MakeComb(1, 2, 3, 4)};
  EXPECT_EQ(CountDistinctValues(combs, 1), 2);
  EXPECT_EQ(CollectDistinctValues(combs, 2), (TByteArray{7, 8, 9, 10, 11}));
  // All eight are seen in the third combination; the fourth is never looked at.
  EXPECT_EQ(CollectDistinctValues(combs, 4), (TByteArray{7, 8, 9, 10, 11, 12, 13, 14}));
  EXPECT_EQ(CountDistinctValues(combs, 100), 8);
  EXPECT_EQ(CountDistinctValues(combs, 0), 0);
}

TEST(CompareTest, ValueChannelAndSegmentMembership) {
  const TComb comb = MakeComb(7, 10, 11, 14);
  EXPECT_TRUE(ContainsValue(11, comb));
  EXPECT_FALSE(ContainsValue(12, comb));
  EXPECT_TRUE(ContainsChannel(2, comb, 2));   // 10
  EXPECT_FALSE(ContainsChannel(2, MakeComb(7, 8, 11, 14), 2));
  TMatrixSegments table = AllSegmentsOne();
  table[1][10 - 7] = 5;  // position "h", value 10
  table[2][10 - 7] = 6;  // position "d", value 10: comb has 11 there
  EXPECT_TRUE(MapsToValue(5, comb, table));
  EXPECT_FALSE(MapsToValue(6, comb, table));
  EXPECT_TRUE(MapsToValue(1, comb, table));
  EXPECT_FALSE(MapsToValue(1, MakeComb(0, 10, 0, 0), table));  // values outside 7..14 map to nothing
}

struct RotateCase {
  TComb Comb;
  int K;
  TComb Expected;
};

class RotateValuesTest : public ::testing::TestWithParam<RotateCase> {};

TEST_P(RotateValuesTest, MovesCyclically) {
  EXPECT_EQ(RotateValues(GetParam().Comb, GetParam().K), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RotateValuesTest,
                         ::testing::Values(RotateCase{MakeComb(7, 12, 14, 9), 1, MakeComb(8, 13, 7, 10)},
                                           RotateCase{MakeComb(7, 12, 14, 9), -1, MakeComb(14, 11, 13, 8)},
                                           RotateCase{MakeComb(7, 12, 14, 9), 0, MakeComb(7, 12, 14, 9)},
                                           RotateCase{MakeComb(7, 8, 13, 14), 7, MakeComb(14, 7, 12, 13)},
                                           RotateCase{MakeComb(7, 8, 13, 14), -7, MakeComb(8, 9, 14, 7)}));

TEST(ChannelTest, SizeThreeGroups) {
  const std::vector<int> expected = {1, 1, 1, 2, 2, 2, 3, 3};  // {7,8,9}, {10,J,Q}, {K,A}
  for (int v = 7; v <= 14; ++v) EXPECT_EQ(ChannelOf(v, 3), expected[v - 7]) << v;
}

TEST(ChannelTest, SizeTwoAndDegenerateSizes) {
  const std::vector<int> expected = {1, 1, 2, 2, 3, 3, 4, 4};
  for (int v = 7; v <= 14; ++v) EXPECT_EQ(ChannelOf(v, 2), expected[v - 7]) << v;
  for (int size : {0, -3, 1}) EXPECT_EQ(ChannelOf(14, size), 8) << size;
  EXPECT_EQ(ChannelOf(14, 100), 1);
}

TEST(ChannelColorTest, ColoursOfValues) {
  EXPECT_EQ(ChannelColor(7, 2), 0xAAFFAAu);
  EXPECT_EQ(ChannelColor(9, 2), 0xFFFFAAu);
  EXPECT_EQ(ChannelColor(14, 2), 0xFFAAAAu);
  EXPECT_EQ(ChannelColor(14, 1), 0xD4D4D4u);  // channel 8
  EXPECT_EQ(ChannelColor(14, 0), 0xD4D4D4u);  // size 0 counts as 1
  EXPECT_EQ(ChannelColor(6, 2), 0xFF0000u);
  EXPECT_EQ(ChannelColor(15, 2), 0xFF0000u);
  EXPECT_EQ(ChannelColor(0, 2), 0xFF0000u);
}

TEST(ChannelColorTest, ChannelNumbers) {
  EXPECT_EQ(ChannelNumberColor(1), 0xAAFFAAu);
  EXPECT_EQ(ChannelNumberColor(19), 0xD5EAFFu);
  EXPECT_EQ(ChannelNumberColor(20), 0xAAFFAAu);  // 19 subtracted once
  EXPECT_EQ(ChannelNumberColor(38), 0xD5EAFFu);
  // Past the table even after the subtraction, or below channel 1: no colour to index.
  EXPECT_EQ(ChannelNumberColor(39), 0xFF0000u);
  EXPECT_EQ(ChannelNumberColor(0), 0xFF0000u);
}

TEST(SortTest, StableAscending) {
  TIntArray ints = {5, -1, 3, 3, 0};
  SortInts(ints);
  EXPECT_EQ(ints, (TIntArray{-1, 0, 3, 3, 5}));
  EXPECT_EQ(SortComb(MakeComb(14, 7, 11, 9)), MakeComb(7, 9, 11, 14));
  TNumberSet set{3, {12, 8, 9, 7}};
  SortNumberSet(set);
  EXPECT_EQ(set, (TNumberSet{3, {8, 9, 12, 7}}));  // only the first Count values
}

TEST(ByteArrayTest, AppendAndAppendUnique) {
  TByteArray values;
  Append(values, 7);
  Append(values, 7);
  AppendUnique(values, 7);
  AppendUnique(values, 9);
  EXPECT_EQ(values, (TByteArray{7, 7, 9}));
  EXPECT_TRUE(Contains(values, 9));
  EXPECT_FALSE(Contains(values, 8));
}

struct ValueListCase {
  const char* Text;
  TIntArray Expected;
};

class ParseValueListTest : public ::testing::TestWithParam<ValueListCase> {};

TEST_P(ParseValueListTest, Parses) { EXPECT_EQ(ParseValueList(GetParam().Text), GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseValueListTest,
    ::testing::Values(ValueListCase{"5-20;5", {5, 10, 15, 20}}, ValueListCase{"1,3,x", {}},
                      ValueListCase{"1, 3 ;7", {1, 3, 7}}, ValueListCase{"42", {42}}, ValueListCase{"-5", {-5}},
                      ValueListCase{"-5,-3", {-5, -3}}, ValueListCase{"5-21,5", {5, 10, 15, 20}},
                      ValueListCase{"-4-2;2", {-4, -2, 0, 2}}, ValueListCase{"20-5;-5", {20, 15, 10, 5}},
                      ValueListCase{"5-20;0", {}}, ValueListCase{"5-20", {}}, ValueListCase{"5-20;", {}},
                      ValueListCase{"a-20;5", {}}, ValueListCase{"20-5;5", {}}, ValueListCase{"", {}},
                      ValueListCase{"1,,2", {}}));

TEST(ParseValueListTest, AbsurdRangeGivesNothing) {
  EXPECT_TRUE(ParseValueList("1-2000000000;1").empty());
  EXPECT_TRUE(ParseValueList("-2147483648-2147483647;1").empty());
  EXPECT_EQ(ParseValueList("1-65536;1").size(), 65536u);
}

TEST(ParseValueListTest, BackToText) {
  EXPECT_EQ(ValueListToText({5, 10, -3}, ";"), "5;10;-3");
  EXPECT_EQ(ValueListToText({}, ";"), "");
  EXPECT_EQ(ParseValueList(ValueListToText({1, 3, 7}, ",")), (TIntArray{1, 3, 7}));
}

TEST(AddSimpleTest, AddsOnlyPositiveToExisting) {
  TStatSimpleArray items;
  AddSimple(items, 5, 2);
  AddSimple(items, 3, 0);   // a new key is appended even with 0
  AddSimple(items, 5, 3);
  AddSimple(items, 5, -4);  // ignored for an existing key
  AddSimple(items, 3, -1);
  EXPECT_EQ(items, (TStatSimpleArray{{5, 5}, {3, 0}}));
  AddSimple(items, 1, 1);
  SortSimple(items);
  EXPECT_EQ(items, (TStatSimpleArray{{1, 1}, {3, 0}, {5, 5}}));
}

TEST(AddRatingTest, MergesNamesIgnoringCase) {
  TRatingsArray items;
  AddRating(items, "Фильтр A", 2, 15000);
  AddRating(items, "фильтр a", 4, -5000);
  AddRating(items, "Other", 0, 0);
  AddRating(items, "Other", -1, 99);  // not checked: ignored
  AddRating(items, "Other", 5, 99);   // no slot for 5 matches: ignored
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].Name, "Фильтр A");
  EXPECT_EQ(items[0].Count, 2);
  EXPECT_EQ(items[0].SumMatches, 6);
  EXPECT_EQ(items[0].ByMatches, (std::array<int32_t, 5>{0, 0, 1, 0, 1}));
  EXPECT_EQ(items[0].Profit, 10000);
  EXPECT_EQ(items[1].Count, 1);
  EXPECT_EQ(items[1].ByMatches, (std::array<int32_t, 5>{1, 0, 0, 0, 0}));
  EXPECT_EQ(items[1].Profit, 0);
}

TEST(AddProfitDrawTest, SumsPerDraw) {
  TProfitDrawArray items;
  AddProfitDraw(items, 10, 500);
  AddProfitDraw(items, 11, -100);
  AddProfitDraw(items, 10, 250);
  EXPECT_EQ(items, (TProfitDrawArray{{10, 750}, {11, -100}}));
}

TEST(MatrixSegmentsTest, ShortTextFillsWithOne) {
  const TMatrixSegments segments = TextToMatrixSegments("1234");
  TMatrixSegments expected = AllSegmentsOne();
  expected[0][0] = 1;
  expected[0][1] = 2;
  expected[0][2] = 3;
  expected[0][3] = 4;
  EXPECT_EQ(segments, expected);
  EXPECT_EQ(TextToMatrixSegments(""), AllSegmentsOne());
  EXPECT_EQ(MatrixSegmentsToText(AllSegmentsOne()), std::string(32, '1'));
}

TEST(MatrixSegmentsTest, NonDigitsGiveOneAndTextRoundTrips) {
  const std::string text = "12345678" "87654321" "1x3?5678" "00000000" "99";
  TMatrixSegments segments = TextToMatrixSegments(text);
  EXPECT_EQ(segments[1][0], 8);
  EXPECT_EQ(segments[2][1], 1);
  EXPECT_EQ(segments[2][3], 1);
  EXPECT_EQ(segments[3][7], 0);
  EXPECT_EQ(MatrixSegmentsToText(segments), "12345678876543211131567800000000");
  EXPECT_EQ(TextToMatrixSegments(MatrixSegmentsToText(segments)), segments);
}

}  // namespace
}  // namespace kelmora::lottery
