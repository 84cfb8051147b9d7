#include "filtering/filter_apply.h"

#include <set>

#include <gtest/gtest.h>

#include "lottery/comb_ops.h"
#include "stats/registry.h"
#include "support/error.h"

namespace kelmora::filtering {
namespace {

using lottery::MakeComb;

// The statistics of a real registry over a small archive, the table computed as the program does.
class FakeEnvironment : public TFilterEnvironment {
 public:
  explicit FakeEnvironment(lottery::TDrawsArray draws)
      : draws_(std::move(draws)), list_(draws_, config_, shredding_, stats::RegisteredClasses()) {
    list_.Rebuild();
    GenerateCombs(0, "", lists_.CombList);
  }

  TCombLists& Combs() override { return lists_; }
  const stats::TStatList& StatList() override { return list_; }
  int SelectMethod(const stats::TStatMethod& method) override {
    entry_ = -1;
    for (int i = 0; i < list_.Count(); ++i) {
      if (&list_.Items(i) == &method && !Hidden.count(list_.Items(i).Code())) entry_ = i;
    }
    return entry_;
  }
  std::string SelectorText() override { return list_.DisplayName(entry_, true); }
  const stats::TStatTable& ComputeTable(int draws_len, int sort_column, const TFilterCdl& cdl) override {
    ++Tables;
    list_.ApplyCdl(cdl.Override, cdl.Settings);
    stats::TStatTableInput in;
    in.List = &list_;
    in.Entry = entry_;
    in.WindowLength = draws_len;
    stats::CalcStatTable(in, table_);
    stats::SortStatRows(table_.Rows, sort_column, true);
    return table_;
  }
  int LastIdx() override { return FilterLastIdx(draws_, 0); }
  bool SortedDraws() override { return false; }
  bool StopRequested() override { return ++checks_ > StopAfterChecks && StopAfterChecks >= 0; }
  bool LogEnabled() override { return true; }
  void Log(std::string_view entry) override { LogEntries.emplace_back(entry); }
  void Status(std::string_view) override {}

  const stats::TStatMethod* Method(std::string_view code) const { return &list_.Items(list_.IndexOfCode(code)); }
  const stats::TStatTable& Table() const { return table_; }

  std::set<std::string> Hidden;
  std::vector<std::string> LogEntries;
  int StopAfterChecks = -1;
  int Tables = 0;

 private:
  lottery::TDrawsArray draws_;
  lottery::TConfigData config_;
  lottery::TShreddingData shredding_;
  stats::TStatList list_;
  TCombLists lists_;
  stats::TStatTable table_;
  int entry_ = -1;
  int checks_ = 0;
};

// Counts in four draws: 7 seven times, 8 four, 9 three, 10 and J once, Q, K and A never.
lottery::TDrawsArray FourDraws() {
  return {{1, MakeComb(7, 7, 7, 7), ""}, {2, MakeComb(7, 8, 8, 9), ""}, {3, MakeComb(7, 8, 9, 10), ""},
          {4, MakeComb(7, 8, 9, 11), ""}};
}

class FilterPartTest : public ::testing::Test {
 protected:
  FilterPartTest() : env_(FourDraws()) {}
  TFilterPart Part(uint8_t level_mode, std::string level, uint8_t stop_mode, int stop_value, bool multi, bool keep,
                   bool bottom_up = false) {
    TFilterPart p;
    p.Active = true;
    p.Method = env_.Method("NUMS");
    p.DrawsLen = 4;
    p.SortColumn = 1;
    p.BottomUp = bottom_up;
    p.MultiSelect = multi;
    p.KeepSelected = keep;
    p.LevelMode = level_mode;
    p.LevelValue = p.LevelText = std::move(level);
    p.StopMode = stop_mode;
    p.StopValue = stop_value;
    return p;
  }
  std::vector<TFilterKind> Kinds() {
    std::vector<TFilterKind> kinds;
    for (const auto& h : env_.Combs().FilterHistory) kinds.push_back(h.Kind);
    return kinds;
  }
  FakeEnvironment env_;
};

TEST(FilterPassTest, KeepDeleteAndEmptyCases) {
  FakeEnvironment env(FourDraws());
  auto stat = env.StatList().CreateStat(env.StatList().IndexOfCode("NUMS"));
  TCombLists& lists = env.Combs();
  stats::TStatDrawArray ace(1);
  ace[0].Key1 = 14;
  const struct {
    bool IsDelete;
    uint16_t Key;
    int Left;
  } cases[] = {{false, 14, 1695}, {true, 14, 2401}, {false, 3, 0}, {true, 3, 4096}};
  for (const auto& c : cases) {
    lists.CombList.clear();
    GenerateCombs(0, "", lists.CombList);
    lists.TakeSnapshot();
    ace[0].Key1 = c.Key;
    EXPECT_TRUE(RunFilterPass(lists, *stat, ace, 3, false, c.IsDelete, "NUMS", "A"));
    EXPECT_EQ(lists.Count(), c.Left);
    EXPECT_EQ(lists.FilterHistory.back().Count, std::to_string(c.Left));
  }
  // Nothing selected: the list stays as it is and no entry is added.
  const size_t entries = lists.FilterHistory.size();
  EXPECT_FALSE(RunFilterPass(lists, *stat, {}, 3, false, false, "NUMS", ""));
  EXPECT_EQ(lists.Count(), 4096);
  // An empty snapshot leaves the list empty and adds no entry.
  lists.DiscardSnapshot();
  EXPECT_TRUE(RunFilterPass(lists, *stat, ace, 3, false, false, "NUMS", "A"));
  EXPECT_EQ(lists.Count(), 0);
  EXPECT_EQ(lists.FilterHistory.size(), entries);
}

TEST_F(FilterPartTest, SingleSelectionWithSZUndoesTheFirstEmptyingFilterAndEnds) {
  ApplyFilterPart(env_, Part(LNO, "", SZ, 1, false, true));
  // 7, 8, 9 and J (or 10) kept one after another leave the 24 orders of four values; the fifth
  // value empties the list, which is undone.
  EXPECT_EQ(env_.Combs().Count(), 24);
  using K = TFilterKind;
  EXPECT_EQ(Kinds(), (std::vector<K>{K::Keep, K::Keep, K::Keep, K::Keep, K::Keep, K::Undo}));
  EXPECT_EQ(env_.Combs().FilterHistory.back().Count, "24");
}

TEST_F(FilterPartTest, SingleSelectionWithSFGoesOnWithTheRestoredList) {
  ApplyFilterPart(env_, Part(LNO, "", SF, 1, false, true));
  EXPECT_EQ(env_.Combs().Count(), 24);
  EXPECT_EQ(env_.Combs().FilterHistory.size(), 4u + 4u * 2u);  // 4 kept, then 4 x (empty + undo)
}

TEST_F(FilterPartTest, StepsStopBothSelections) {
  ApplyFilterPart(env_, Part(LNO, "", ST, 2, false, true));
  EXPECT_EQ(env_.Combs().Count(), 4096 - 2 * 2401 + 1296);  // both 7 and 8
  env_.Combs().CombList.clear();
  GenerateCombs(0, "", env_.Combs().CombList);
  ApplyFilterPart(env_, Part(LNO, "", ST, 2, true, true));
  EXPECT_EQ(env_.Combs().Count(), 4096 - 1296);  // 7 or 8
}

TEST_F(FilterPartTest, MultiSelectionWithNoQualifyingRowChangesNothingButLogs) {
  ApplyFilterPart(env_, Part(LMV, "100", SF, 1, true, true));
  EXPECT_EQ(env_.Combs().Count(), 4096);
  EXPECT_TRUE(env_.Combs().HasSnapshot());
  EXPECT_TRUE(env_.Combs().FilterHistory.empty());
  ASSERT_GE(env_.LogEntries.size(), 3u);
  EXPECT_EQ(env_.LogEntries[0], "Анализ тиражей и расчет статистики \"{ num } Числа тиража [ N ]\" для выборки в 4 тиражей...");
  EXPECT_EQ(env_.LogEntries.size(), 1u + env_.Table().Rows.size() + 2u);
  EXPECT_EQ(env_.LogEntries[env_.LogEntries.size() - 2], "Оставляем выделенные значения...");
  EXPECT_EQ(env_.LogEntries.back(), "Количество комбинаций в списке: 4096");
}

TEST_F(FilterPartTest, StopByValueDependsOnTheDirection) {
  // Upwards the walk ends at the first count of 4 or more (the row 8); A, K, Q, J, 10, 9 are deleted.
  ApplyFilterPart(env_, Part(LNO, "", SV, 4, true, false, true));
  EXPECT_EQ(env_.Combs().Count(), 16);
  EXPECT_EQ(env_.Combs().FilterHistory.back().Values.find("8"), std::string::npos);
  // Downwards it ends at the first count of 3 or less (the row 9); 7 and 8 are deleted.
  env_.Combs().CombList.clear();
  GenerateCombs(0, "", env_.Combs().CombList);
  ApplyFilterPart(env_, Part(LNO, "", SV, 3, true, false, false));
  EXPECT_EQ(env_.Combs().Count(), 1296);
  EXPECT_EQ(env_.Combs().FilterHistory.back().Values, "7; 8");
}

TEST_F(FilterPartTest, ListModeOnADashCellFails) {
  // Q, K and A were never drawn: their depth is "-", which a depth list cannot compare.
  EXPECT_THROW(ApplyFilterPart(env_, Part(LDV, "1", SF, 1, true, true)), support::Error);
  EXPECT_EQ(env_.Combs().Count(), 4096);
}

TEST_F(FilterPartTest, AStopRequestEndsThePartWithoutFiltering) {
  env_.StopAfterChecks = 4;
  ApplyFilterPart(env_, Part(LNO, "", SF, 1, true, true));
  EXPECT_EQ(env_.Combs().Count(), 4096);
  EXPECT_FALSE(env_.Combs().HasSnapshot());
}

TEST_F(FilterPartTest, AMethodTheSelectorDoesNotListFails) {
  env_.Hidden.insert("NUMS");
  try {
    ApplyFilterPart(env_, Part(LNO, "", SF, 1, true, true));
    FAIL();
  } catch (const support::Error& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Метод расчета статистики \"NUMS\" на найден!\r", 0), 0u) << e.what();
  }
  TFilterPart none = Part(LNO, "", SF, 1, true, true);
  none.Method = nullptr;
  EXPECT_THROW(ApplyFilterPart(env_, none), support::Error);
}

TEST_F(FilterPartTest, VariantSkipsPartsOnceOneCombinationIsLeft) {
  TFilterRec rec;
  rec[0] = Part(LNO, "", SF, 1, true, true);
  rec[2] = Part(LNO, "", SF, 1, true, false);
  env_.Combs().CombList = {MakeComb(7, 7, 7, 7)};
  ApplyFilterVar(env_, rec);
  EXPECT_EQ(env_.Tables, 0);
  EXPECT_EQ(env_.Combs().Count(), 1);
  env_.Combs().CombList.clear();
  GenerateCombs(0, "", env_.Combs().CombList);
  rec[0] = Part(LMV, "2", SF, 1, true, true);  // keep 10 (the only depth of 2 or more drawn)
  ApplyFilterVar(env_, rec);
  EXPECT_EQ(env_.Tables, 2);
  // The second part deletes every value; the emptied list is undone.
  EXPECT_EQ(env_.Combs().Count(), 1695);
  EXPECT_EQ(env_.Combs().FilterHistory.back().Kind, TFilterKind::Undo);
}

struct QualifyCase {
  uint8_t Mode;
  std::string stats::TStatValues::*Column;  // the column the mode tests, written out per case
  const char* Level;
  const char* Cell;
  bool Expected;
};
class RowQualifiesTest : public ::testing::TestWithParam<QualifyCase> {};

TEST_P(RowQualifiesTest, ComparesTheModesColumn) {
  const QualifyCase& c = GetParam();
  TFilterPart part;
  part.LevelMode = c.Mode;
  part.LevelValue = c.Level;
  // The other columns take values low, high and unreadable: a mode reading any of them instead
  // would give a result that changes with them (or fail, for a list mode).
  for (const char* other : {"-70000", "999", "-"}) {
    stats::TStatValues row;
    for (std::string* cell : {&row.Count, &row.CountPct, &row.Deviation, &row.DeviationPct, &row.Depth, &row.DepthPct,
                              &row.Weight, &row.PeriodMin, &row.Period, &row.PeriodMax}) {
      *cell = other;
    }
    if (c.Column) row.*(c.Column) = c.Cell;
    if (c.Mode == LVA) row.NumValue = std::atoi(c.Cell);
    bool qualifies = !c.Expected;
    EXPECT_NO_THROW(qualifies = RowQualifies(part, row)) << LevelModeCode(c.Mode) << " others " << other;
    EXPECT_EQ(qualifies, c.Expected) << LevelModeCode(c.Mode) << " others " << other;
  }
}

using V = stats::TStatValues;
INSTANTIATE_TEST_SUITE_P(
    Modes, RowQualifiesTest,
    ::testing::Values(QualifyCase{LNO, nullptr, "", "-", true},
                      QualifyCase{LMV, &V::Depth, "5", "5", true}, QualifyCase{LMV, &V::Depth, "5", "4", false},
                      QualifyCase{LMV, &V::Depth, "0", "-", true},  // default 0
                      QualifyCase{LMP, &V::DepthPct, "50", "50,5", true},
                      QualifyCase{LLV, &V::Depth, "5", "-", false},  // default 65535
                      QualifyCase{LLP, &V::DepthPct, "50", "-", false},
                      QualifyCase{LDV, &V::Depth, "3,5", "5", true}, QualifyCase{LDV, &V::Depth, "3,5", "4", false},
                      QualifyCase{LDP, &V::DepthPct, "25;50", "50.00", true},
                      QualifyCase{DMV, &V::Deviation, "-3", "-2", true},
                      QualifyCase{DMP, &V::DeviationPct, "10", "9,99999", false},
                      QualifyCase{DLV, &V::Deviation, "0", "-1", true},
                      QualifyCase{DLP, &V::DeviationPct, "50", "49,5", true},
                      QualifyCase{DDV, &V::Deviation, "-1", "-1", true},
                      QualifyCase{DDP, &V::DeviationPct, "-100", "-100.00000", true},
                      QualifyCase{CMV, &V::Count, "3", "3", true}, QualifyCase{CMP, &V::CountPct, "12", "12.5", true},
                      QualifyCase{CLV, &V::Count, "3", "4", false}, QualifyCase{CLP, &V::CountPct, "12", "-", false},
                      QualifyCase{CDV, &V::Count, "2;4", "4", true},
                      // Lists hold whole numbers: 12 matches 12 but not 12.5.
                      QualifyCase{CDP, &V::CountPct, "12", "12,00000", true},
                      QualifyCase{CDP, &V::CountPct, "12", "12,5", false},
                      QualifyCase{WMV, &V::Weight, "2", "2.00", true},
                      QualifyCase{WLV, &V::Weight, "1", "-", true},  // weight default 0
                      QualifyCase{WDV, &V::Weight, "3;4", "4.00", true},
                      QualifyCase{PIM, &V::PeriodMin, "2", "1", false},
                      QualifyCase{PIL, &V::PeriodMin, "2", "-", false},  // default 65535
                      QualifyCase{PIR, &V::PeriodMin, "1,3", "3", true},
                      QualifyCase{PAM, &V::Period, "2", "2,5000", true},
                      QualifyCase{PAL, &V::Period, "1", "-", true},  // default 0
                      QualifyCase{PAR, &V::Period, "2", "2.0000", true},
                      QualifyCase{PXM, &V::PeriodMax, "9", "9", true},
                      QualifyCase{PXL, &V::PeriodMax, "70000", "-", true},
                      QualifyCase{PXL, &V::PeriodMax, "5", "6", false},
                      QualifyCase{PXR, &V::PeriodMax, "2", "2", true},
                      QualifyCase{LVA, nullptr, "7,11", "11", true}, QualifyCase{LVA, nullptr, "7,11", "12", false}));

TEST(RowQualifiesTest, AListModeCellThatIsNoNumberFails) {
  stats::TStatValues row;
  row.Depth = "-";
  TFilterPart part;
  part.LevelMode = LDV;
  part.LevelValue = "1";
  EXPECT_THROW(RowQualifies(part, row), support::Error);
  part.LevelMode = LMV;  // a threshold mode takes the default instead
  EXPECT_FALSE(RowQualifies(part, row));
}

class ExpandTest : public ::testing::Test {
 protected:
  ExpandTest() : env_(FourDraws()) {}
  TFilterItem Item(std::string text) const { return FilterItemFromText(text, env_.StatList()); }
  mutable FakeEnvironment env_;
};

TEST_F(ExpandTest, ThresholdModesMultiplyListModesDoNot) {
  const TFilterVariants lmv = ExpandFilterVariants({Item("TSD1#NUMS:10,20#LMV:3,5#SF:1")});
  ASSERT_EQ(lmv.Count, 4);
  const char* expected[] = {"TSD1#NUMS:10#LMV:3#SF:1", "TSD1#NUMS:10#LMV:5#SF:1", "TSD1#NUMS:20#LMV:3#SF:1",
                            "TSD1#NUMS:20#LMV:5#SF:1"};
  for (int v = 0; v < 4; ++v) EXPECT_EQ(FilterVarToText(lmv.Variant(v)), expected[v]);
  for (const char* mode : {"LDV", "WDV"}) {
    const TFilterVariants list = ExpandFilterVariants({Item(std::string("TSD1#NUMS:10,20#") + mode + ":3;5#SF:1")});
    ASSERT_EQ(list.Count, 2) << mode;
    EXPECT_EQ(list.Variant(1)[0].LevelValue, "3,5");
    EXPECT_EQ(list.Variant(1)[0].LevelText, "3;5");
    EXPECT_EQ(list.Variant(1)[0].DrawsLen, 20);
  }
}

TEST_F(ExpandTest, TheFirstRecipeChangesSlowest) {
  const TFilterVariants v = ExpandFilterVariants(
      {Item("TSD1#NUMS:10,20#LNO:#SF:1"), TFilterItem{}, Item("BMF2#DIGS:5-15;5#LNO:#ST:3")});
  ASSERT_EQ(v.Count, 6);
  EXPECT_EQ(FilterVarToText(v.Variant(0)), "TSD1#NUMS:10#LNO:#SF:1 + BMF2#DIGS:5#LNO:#ST:3");
  EXPECT_EQ(FilterVarToText(v.Variant(2)), "TSD1#NUMS:10#LNO:#SF:1 + BMF2#DIGS:15#LNO:#ST:3");
  EXPECT_EQ(FilterVarToText(v.Variant(3)), "TSD1#NUMS:20#LNO:#SF:1 + BMF2#DIGS:5#LNO:#ST:3");
  EXPECT_TRUE(v.Variant(5)[1].Active);  // slots compacted
  EXPECT_FALSE(v.Variant(5)[2].Active);
}

TEST_F(ExpandTest, MalformedRecipesFailWithTheirText) {
  const char* bad[] = {"TSD1#NUMS:#LNO:#SF:1", "TSD1#NUMS:1-10#LNO:#SF:1", "TSD1#XXXX:10#LNO:#SF:1",
                       "TSD1#NUMS:10#LMV:#SF:1", "TSD1#NUMS:10#LDV:a,b#SF:1", "BMF"};
  for (const char* text : bad) {
    try {
      ExpandFilterVariants({Item(text)});
      ADD_FAILURE() << text;
    } catch (const support::Error& e) {
      EXPECT_EQ(std::string(e.what()), "Некорректное описание фильтра: " + FilterItemToText(Item(text)) + "!");
    }
  }
  EXPECT_EQ(ExpandFilterVariants({}).Count, 0);
}

TEST_F(ExpandTest, TooManyVariantsAreRefusedAndManyCostNothing) {
  // Two billion variants are counted, not stored; two and a half billion are refused.
  const TFilterVariants many = ExpandFilterVariants({Item("TSD1#NUMS:1-40000;1#LMV:1-50000;1#SF:1")});
  EXPECT_EQ(many.Count, int64_t{40000} * 50000);
  EXPECT_EQ(FilterVarToText(many.Variant(many.Count - 1)), "TSD1#NUMS:40000#LMV:50000#SF:1");
  EXPECT_THROW(ExpandFilterVariants({Item("TSD1#NUMS:1-50000;1#LMV:1-50000;1#SF:1")}), support::Error);
}

}  // namespace
}  // namespace kelmora::filtering
