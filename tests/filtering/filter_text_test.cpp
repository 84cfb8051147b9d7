#include "filtering/filter_text.h"

#include <gtest/gtest.h>

#include "lottery/comb_ops.h"
#include "stats/registry.h"

namespace kelmora::filtering {
namespace {

class FilterTextTest : public ::testing::Test {
 protected:
  FilterTextTest() : list_(draws_, config_, shredding_, stats::RegisteredClasses()) { list_.Rebuild(); }
  const stats::TStatMethod* Method(std::string_view code) const { return &list_.Items(list_.IndexOfCode(code)); }
  TFilterItem Read(std::string_view text) const { return FilterItemFromText(text, list_); }

  lottery::TDrawsArray draws_;
  lottery::TConfigData config_;
  lottery::TShreddingData shredding_;
  stats::TStatList list_;
};

TEST_F(FilterTextTest, ReadsEveryWord) {
  const TFilterItem item = Read("BMF8#NUMS:10-30;10#WMV:2#ST:3#1.5:1:0.25:1:0");
  EXPECT_TRUE(item.Active);
  EXPECT_TRUE(item.BottomUp);
  EXPECT_TRUE(item.MultiSelect);
  EXPECT_TRUE(item.KeepSelected);
  EXPECT_EQ(item.SortColumn, 8);
  EXPECT_EQ(item.Method, Method("NUMS"));
  EXPECT_EQ(item.DrawsLen, "10-30;10");
  EXPECT_EQ(item.LevelMode, WMV);
  EXPECT_EQ(item.LevelValue, "2");
  EXPECT_EQ(item.StopMode, ST);
  EXPECT_EQ(item.StopValue, 3);
  EXPECT_TRUE(item.CDL.Override);
  EXPECT_EQ(item.CDL.Settings, (lottery::TCdlSettings{1.5, 1, 0.25, true, false}));
}

struct RoundTripCase {
  const char* Text;
};
class FilterRoundTrip : public FilterTextTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(FilterRoundTrip, WritingWhatWasReadGivesTheSameText) {
  const TFilterItem item = Read(GetParam().Text);
  EXPECT_EQ(FilterItemToText(item), GetParam().Text);
  EXPECT_EQ(Read(FilterItemToText(item)), item);
}

INSTANTIATE_TEST_SUITE_P(Texts, FilterRoundTrip,
                         ::testing::Values(RoundTripCase{"TSD1#NUMS:10#LMV:5#SF:1"},
                                           RoundTripCase{"BMF8#NUMS:10-30;10#WMV:2#ST:3#1.5:1:0.25:1:0"},
                                           RoundTripCase{"TSD10#DIGS:10, 20#LNO:#SF:1"},
                                           RoundTripCase{"TSF0#POS2:5;10#LVA:7,J#SP:12#-1:0:1:0:1"},
                                           // An unknown statistic survives as it was written.
                                           RoundTripCase{"TSD1#XXXX:10#CDV:3,5#SV:2"},
                                           // A blank statistic word keeps the words after it in place.
                                           RoundTripCase{"TSD1# #LMV:5#SF:1"}));

struct ReadCase {
  const char* Text;
  int SortColumn;
  uint8_t LevelMode;
  const char* LevelValue;
  uint8_t StopMode;
  int StopValue;
};
class FilterReadCases : public FilterTextTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(FilterReadCases, TakesDefaultsForWhatItCannotRead) {
  const ReadCase& c = GetParam();
  const TFilterItem item = Read(c.Text);
  EXPECT_TRUE(item.Active);
  EXPECT_EQ(item.SortColumn, c.SortColumn);
  EXPECT_EQ(item.LevelMode, c.LevelMode);
  EXPECT_EQ(item.LevelValue, c.LevelValue);
  EXPECT_EQ(item.StopMode, c.StopMode);
  EXPECT_EQ(item.StopValue, c.StopValue);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FilterReadCases,
    ::testing::Values(ReadCase{"BMF", 1, 0, "", 0, 0},                     // only the first word
                      ReadCase{"TSD10#NUMS:10#lmv:5#sc:x", 10, LMV, "5", SC, 1},  // codes by prefix, any case
                      ReadCase{"TSDx#NUMS:10#QQQ:5#ZZ:4", 1, 0, "", 0, 0},      // no match falls back
                      ReadCase{"TSD3##NUMS:10###LLP: 7 #SP:40", 3, LLP, "7", SP, 40},  // runs of "#" are one
                      ReadCase{"TSD2#NUMS:10#CDP:1;2#ST", 2, CDP, "1;2", ST, 1}));

TEST_F(FilterTextTest, EmptyTextAndUnknownStatistic) {
  EXPECT_FALSE(Read("").Active);
  EXPECT_EQ(FilterItemToText(TFilterItem{}), "");
  const TFilterItem unknown = Read("TSD1#XXXX:10#LMV:5#SF:1");
  EXPECT_EQ(unknown.Method, nullptr);
  EXPECT_EQ(unknown.DrawsLen, "");
  EXPECT_EQ(unknown.StatText, "XXXX:10");
}

TEST_F(FilterTextTest, WeightsAreWrittenWithAPointAndReadWithEitherSeparator) {
  TFilterItem item = Read("TSD1#NUMS:10#WMV:2#SF:1#0,5:-1.25:x:1:1");
  EXPECT_EQ(item.CDL.Settings, (lottery::TCdlSettings{0.5, -1.25, 0, true, true}));
  EXPECT_EQ(FilterItemToText(item), "TSD1#NUMS:10#WMV:2#SF:1#0.5:-1.25:0:1:1");
  // Without the override the weights are not written and read back as zeros.
  item.CDL.Override = false;
  EXPECT_EQ(Read(FilterItemToText(item)).CDL, TFilterCdl{});
}

// The reader drops every letter, so a weight never carries an exponent in its text.
TEST_F(FilterTextTest, LargeAndSmallWeightsAreWrittenWithoutExponent) {
  const struct {
    long double Weight;
    const char* Text;
  } cases[] = {
      {-2.14748364883641e15L, "-2147483648836410"},
      {1.5e20L, "150000000000000000000"},
      {1.25e-20L, "0.0000000000000000000125"},
      {123456789012345678.0L, "123456789012346000"},
      {0.5L, "0.5"},
  };
  for (const auto& c : cases) {
    TFilterItem item = Read("TSD1#NUMS:10#LNO:#SF:1");
    item.CDL.Override = true;
    item.CDL.Settings.Count = c.Weight;
    EXPECT_EQ(FilterItemToText(item), std::string("TSD1#NUMS:10#LNO:#SF:1#") + c.Text + ":0:0:0:0");
    EXPECT_EQ(static_cast<double>(Read(FilterItemToText(item)).CDL.Settings.Count),
              std::stod(std::string(c.Text))) << c.Text;
  }
}

TEST_F(FilterTextTest, PartTextCarriesTheSortColumn) {
  TFilterPart a;
  a.Active = true;
  a.Method = Method("NUMS");
  a.DrawsLen = 10;
  a.SortColumn = 6;
  a.LevelMode = LMV;
  a.LevelValue = a.LevelText = "5";
  a.StopMode = SF;
  a.StopValue = 1;
  TFilterPart b = a;
  b.BottomUp = b.MultiSelect = true;
  b.SortColumn = 1;
  b.DrawsLen = 20;
  b.LevelMode = LDV;
  b.LevelValue = "3,5";
  b.LevelText = "3;5";
  b.StopMode = ST;
  b.StopValue = 3;
  TFilterRec rec;
  rec[0] = a;
  rec[3] = b;
  EXPECT_EQ(FilterPartToText(a), "TSD6#NUMS:10#LMV:5#SF:1");
  EXPECT_EQ(FilterVarToText(rec), "TSD6#NUMS:10#LMV:5#SF:1 + BMD1#NUMS:20#LDV:3;5#ST:3");
  EXPECT_EQ(FilterPartToText(TFilterPart{}), "");
}

TEST(FilterModesTest, CodesCaptionsAndKinds) {
  EXPECT_EQ(LevelModeCode(31), "LVA");
  EXPECT_EQ(LevelModeCaption(0), "Весь список (без условий)");
  EXPECT_EQ(LevelModeCaption(32), "# ERROR #");
  EXPECT_EQ(StopModeCaption(2), "Пока список не будет пуст и откатить на шаг");
  EXPECT_EQ(StopModeCaption(6), "# ERROR #");
  int lists = 0, thresholds = 0;
  for (int m = 0; m < LevelModeCount; ++m) {
    lists += IsListMode(m);
    thresholds += IsThresholdMode(m);
    EXPECT_FALSE(IsListMode(m) && IsThresholdMode(m));
  }
  EXPECT_EQ(lists, 11);
  EXPECT_EQ(thresholds, 20);
}

struct ValueListCase {
  const char* Text;
  lottery::TIntArray Values;
};
class ValueListTest : public ::testing::TestWithParam<ValueListCase> {};
TEST_P(ValueListTest, ListAndRangeForms) { EXPECT_EQ(lottery::ParseValueList(GetParam().Text), GetParam().Values); }
INSTANTIATE_TEST_SUITE_P(Examples, ValueListTest,
                         ::testing::Values(ValueListCase{"10", {10}}, ValueListCase{"5, 10;15", {5, 10, 15}},
                                           ValueListCase{"1-10;2", {1, 3, 5, 7, 9}},
                                           ValueListCase{"-5-5,5", {-5, 0, 5}}, ValueListCase{"1-10", {}},
                                           ValueListCase{"10 , 20", {10, 20}}, ValueListCase{"0, 10", {0, 10}},
                                           ValueListCase{"", {}}, ValueListCase{"1-10;0", {}}));

}  // namespace
}  // namespace kelmora::filtering
