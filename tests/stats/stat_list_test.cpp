#include "stats/stat_list.h"

#include <fstream>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "stats/registry.h"
#include "stats_fixture.h"

namespace kelmora::testing {
namespace {

std::string Codes(const stats::TStatList& list) {
  std::string out;
  // Appended piece by piece: `"," + std::string` draws a false -Wrestrict from GCC 12 at -O3.
  for (int i = 0; i < list.Count(); ++i) {
    if (i) out += ',';
    out += list.Items(i).Code();
  }
  return out;
}

std::string Enabled(const stats::TStatList& list) {
  std::string out;
  for (int i = 0; i < list.Count(); ++i) out += list.Items(i).Enabled ? '1' : '0';
  return out;
}

TEST(Registry, ClassesAreInTheSystemsOrderAndRebuildCreatesOneEntryPerIndex) {
  const auto& classes = stats::RegisteredClasses();
  for (size_t i = 1; i < classes.size(); ++i) EXPECT_LT(classes[i - 1]->Ordinal, classes[i]->Ordinal);
  ASSERT_FALSE(classes.empty());
  EXPECT_STREQ(classes[0]->CodeFormat, "NUMS");
  StatsFixture f;
  // POE has the empty range 1..0 and never gets an entry.
  EXPECT_EQ(Codes(f.list), "NUMS,DIGS,EVEN,EVNV,SMAL,SMLV,PRIM,PRMV,POS1,POS2,POS3,POS4");
  EXPECT_EQ(f.list.Items(9).Index, 2);
  EXPECT_EQ(f.list.Items(9).Caption(), "Число в 2 позиции тиража");
  EXPECT_EQ(f.list.IndexOfCode("pos3"), 10);
  EXPECT_EQ(f.list.IndexOfCode("POE1"), -1);
}

TEST(Registry, RebuildResetsDisplayOptionsAndFavourites) {
  StatsFixture f;
  f.list.SetOrdered(true);
  f.list.SetShowGroupName(false);
  f.list.SetFavorites("NUMS");
  f.list.Rebuild();
  EXPECT_FALSE(f.list.Ordered());
  EXPECT_TRUE(f.list.ShowGroupName());
  EXPECT_TRUE(f.list.AllEnabled());
  EXPECT_EQ(f.list.GetFavorites(), "");
}

TEST(Registry, DisplayNameFollowsTheOptions) {
  StatsFixture f;
  const int nums = f.Entry("NUMS");
  EXPECT_EQ(f.list.DisplayName(nums, true), "{ num } Числа тиража [ N ]");
  EXPECT_EQ(f.list.DisplayName(nums, false), "{ num } Числа тиража");
  EXPECT_EQ(f.list.DisplayName(f.Entry("EVEN"), true), "{ num } Количество четных чисел в тираже (Ч:Н) [ NG ]");
  EXPECT_EQ(f.list.DisplayName(f.Entry("POS1"), true), "{ num } Число в 1 позиции тиража [ SNG ]");
  f.list.SetShowGroupName(false);
  EXPECT_EQ(f.list.DisplayName(nums, true), "Числа тиража [ N ]");
  f.list.SetShowMethodFlags(false);
  EXPECT_EQ(f.list.DisplayName(nums, true), "Числа тиража");
  f.list.Items(nums).UserCaption = "Мои числа";
  EXPECT_EQ(f.list.DisplayName(nums, true), "Мои числа");
}

TEST(Favorites, PiecesAreComparedIgnoringCaseButNotTrimmed) {
  struct Case {
    const char* text;
    const char* enabled;
    const char* favourites;
    bool all;
  };
  const Case cases[] = {
      {"NUMS,even", "101000000000", "NUMS,EVEN", false},
      {"NUMS, EVEN", "100000000000", "NUMS", false},  // " EVEN" keeps its blank
      {"  ", "111111111111", "", true},
      {"pos2,POS4", "000000000101", "POS2,POS4", false},
      {"XXXX", "000000000000", "", false},
  };
  for (const auto& c : cases) {
    StatsFixture f;
    f.list.SetFavorites(c.text);
    EXPECT_EQ(Enabled(f.list), c.enabled) << c.text;
    EXPECT_EQ(f.list.GetFavorites(), c.favourites) << c.text;
    EXPECT_EQ(f.list.AllEnabled(), c.all) << c.text;
  }
}

TEST(Favorites, AllEnabledHidesTheIndividualFlags) {
  StatsFixture f;
  f.list.Items(0).Enabled = false;
  EXPECT_EQ(f.list.GetFavorites(), "");
  EXPECT_TRUE(f.list.IsEnabled(0));
}

TEST(Favorites, NormalizeEnabled) {
  StatsFixture f;
  f.list.SetFavorites("XXXX");  // every entry disabled
  f.list.NormalizeEnabled();
  EXPECT_TRUE(f.list.AllEnabled());
  EXPECT_EQ(Enabled(f.list), "111111111111");

  f.list.SetFavorites("DIGS");
  f.list.NormalizeEnabled();
  EXPECT_FALSE(f.list.AllEnabled());
  EXPECT_EQ(Enabled(f.list), "010000000000");

  f.list.EnableAll();
  EXPECT_TRUE(f.list.AllEnabled());
  EXPECT_EQ(Enabled(f.list), "111111111111");
}

TEST(Selectors, ListEnabledEntriesAndTheGraphsAmongThem) {
  StatsFixture f;
  f.list.SetFavorites("NUMS,EVEN,POS2,PRMV");
  auto s = stats::FillStatSelectors(f.list);
  ASSERT_EQ(s.Stats.size(), 4u);
  EXPECT_EQ(s.Stats[0].Text, "{ num } Числа тиража [ N ]");
  EXPECT_EQ(s.Stats[3].Entry, f.Entry("POS2"));
  ASSERT_EQ(s.Graphs.size(), 2u);
  EXPECT_EQ(s.Graphs[0].Entry, f.Entry("EVEN"));
  f.list.SetOrdered(true);
  s = stats::FillStatSelectors(f.list);
  ASSERT_EQ(s.Stats.size(), 4u);  // by text: Количество, Простые, Числа, Число
  EXPECT_EQ(s.Stats[0].Entry, f.Entry("EVEN"));
  EXPECT_EQ(s.Stats[1].Entry, f.Entry("PRMV"));
  EXPECT_EQ(s.Stats[2].Entry, f.Entry("NUMS"));
  EXPECT_EQ(s.Stats[3].Entry, f.Entry("POS2"));
}

TEST(StakeProfit, CostOfAllCombinationsPlusTheWinnings) {
  StatsFixture f;
  f.config.Cost = 20000;
  f.config.Profits = {{2, 50000}, {4, 1000000}, {4, 7}};
  EXPECT_EQ(f.list.StakeProfit(4, -1), -20000);
  EXPECT_EQ(f.list.StakeProfit(5, -1), -625 * 20000);
  EXPECT_EQ(f.list.StakeProfit(1, 4), -20000 + 1000000);
  EXPECT_EQ(f.list.StakeProfit(4, 3), -20000);
}

TEST(Cdl, ScriptStepCoefficientsAndBack) {
  StatsFixture f;
  f.config.Cdl.Level = 2;
  lottery::TCdlSettings own;
  own.Count = 5;
  f.list.BackupCdl();
  f.list.ApplyCdl(true, own);
  EXPECT_EQ(f.list.Cdl().Count, 5);
  f.list.ApplyCdl(false, own);
  EXPECT_EQ(f.list.Cdl().Level, 2);
  f.list.ApplyCdl(true, own);
  f.list.RestoreCdl();
  EXPECT_EQ(f.list.Cdl(), f.config.Cdl);
}

TEST(HelpURL, EmptyWithoutTheFamilysPageAndATopicPerCode) {
  StatsFixture f;
  EXPECT_EQ(f.list.HelpURL(0), "");
  TempDir dir;
  f.list.SetHelpFolder(dir.Path());
  EXPECT_EQ(f.list.HelpURL(0), "");  // the page does not exist
  std::filesystem::create_directory(dir / "filters");
  const auto page = dir / "filters" / "numbers.html";
  std::ofstream(page) << "x";
  EXPECT_EQ(f.list.HelpURL(0), "file://" + page.generic_string() + "#NUMS");
  EXPECT_EQ(f.list.HelpURL(f.Entry("POS3")), "file://" + page.generic_string() + "#POSx");
}

TEST(FormatIndex, DelphiSpecifiers) {
  EXPECT_EQ(stats::FormatIndex("POS%d", 3), "POS3");
  EXPECT_EQ(stats::FormatIndex("Число в %0:d позиции", 2), "Число в 2 позиции");
  EXPECT_EQ(stats::FormatIndex("Шинковка %%s", 1), "Шинковка %s");
  EXPECT_EQ(stats::FormatText("Шинковка %s", "(n1+n2)"), "Шинковка (n1+n2)");
}

}  // namespace
}  // namespace kelmora::testing
