#include "stats/filter_list.h"

#include <set>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "stats/favorites_tree.h"
#include "stats/registry.h"
#include "stats_fixture.h"
#include "support/encoding.h"
#include "support/error.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::testing {
namespace {

// The whole registry, as the program has it.
struct FullRegistry {
  lottery::TDrawsArray draws;
  lottery::TConfigData config;
  lottery::TShreddingData shredding;
  stats::TStatList list{draws, config, shredding, stats::RegisteredClasses()};
  FullRegistry() { list.Rebuild(); }
  int Entry(const std::string& code) const { return list.IndexOfCode(code); }
  stats::TStatMethod& Method(const std::string& code) { return list.Items(Entry(code)); }
};

support::IniFile Parsed(const std::string& text) {
  support::IniFile ini;
  ini.Parse(text);
  return ini;
}

TEST(FilterListFile, ReadsFavouritesOptionsAndTheCaptionsOfTheInterfaceLanguageOnly) {
  StatsFixture f;
  const auto ini = Parsed(
      "[FILTERS]\r\nFavorites=NUMS,POS2\r\nOrdered=1\r\nShowGroupName=0\r\nShowMethodFlags=0\r\n"
      "[STRINGS_ENG]\r\nNUMS=Draw numbers\r\nDIGS=Digits\r\n"
      "[STRINGS_RUS]\r\nNUMS=  Мои числа  \r\nPOS2=Вторая\r\n");
  f.list.Items(f.Entry("DIGS")).UserCaption = "старое";
  stats::ReadFilterList(ini, f.list, true);
  EXPECT_EQ(f.list.GetFavorites(), "NUMS,POS2");
  EXPECT_TRUE(f.list.Ordered());
  EXPECT_FALSE(f.list.ShowGroupName());
  EXPECT_FALSE(f.list.ShowMethodFlags());
  EXPECT_EQ(f.list.Items(f.Entry("NUMS")).UserCaption, "Мои числа");  // trimmed
  EXPECT_EQ(f.list.Items(f.Entry("POS2")).Caption(), "Вторая");
  // No key in this language's section: the class caption, whatever the other language says.
  EXPECT_EQ(f.list.Items(f.Entry("DIGS")).UserCaption, "");
  EXPECT_EQ(f.list.Items(f.Entry("DIGS")).Caption(), "Цифры тиража");
}

TEST(FilterListFile, MissingKeysKeepTheValuesInForceAndCaptionsOnlyLeaveTheFavouritesAlone) {
  StatsFixture f;
  f.list.SetFavorites("EVEN");
  f.list.SetOrdered(true);
  f.list.SetShowGroupName(false);
  stats::ReadFilterList(Parsed("[FILTERS]\r\nShowMethodFlags=0\r\n"), f.list, true);
  EXPECT_EQ(f.list.GetFavorites(), "EVEN");
  EXPECT_TRUE(f.list.Ordered());
  EXPECT_FALSE(f.list.ShowGroupName());
  EXPECT_FALSE(f.list.ShowMethodFlags());

  stats::ReadFilterList(Parsed("[FILTERS]\r\nFavorites=\r\nOrdered=0\r\n[STRINGS_RUS]\r\nEVEN=Чет\r\n"), f.list, false);
  EXPECT_EQ(f.list.GetFavorites(), "EVEN");
  EXPECT_TRUE(f.list.Ordered());
  EXPECT_EQ(f.list.Items(f.Entry("EVEN")).UserCaption, "Чет");
}

TEST(FilterListFile, AMalformedValueChangesNothing) {
  StatsFixture f;
  f.list.Items(0).UserCaption = "было";
  EXPECT_THROW(stats::ReadFilterList(Parsed("[FILTERS]\r\nFavorites=DIGS\r\nOrdered=да\r\n[STRINGS_RUS]\r\nNUMS=стало\r\n"),
                                     f.list, true),
               support::Error);
  EXPECT_TRUE(f.list.AllEnabled());
  EXPECT_EQ(f.list.Items(0).UserCaption, "было");
}

TEST(FilterListFile, WritingReplacesThisLanguagesSectionAndLeavesTheOtherOneAsItWas) {
  StatsFixture f;
  auto ini = Parsed(
      "; names\r\n[STRINGS_ENG]\r\nNUMS = Draw numbers\r\n[STRINGS_RUS]\r\nNUMS=старое\r\nDIGS=старое\r\n");
  f.list.Items(f.Entry("EVEN")).UserCaption = "Чет";
  f.list.SetFavorites("EVEN,NUMS");
  stats::WriteFilterList(ini, f.list, true, false);
  EXPECT_EQ(ini.ToText(),
            "; names\r\n[STRINGS_ENG]\r\nNUMS = Draw numbers\r\n"
            "[FILTERS]\r\nFavorites=NUMS,EVEN\r\nOrdered=0\r\nShowGroupName=1\r\nShowMethodFlags=1\r\n"
            "\r\n[STRINGS_RUS]\r\nEVEN=Чет\r\n");

  // A name file: no favourites, every method with its caption.
  support::IniFile names;
  stats::WriteFilterList(names, f.list, false, true);
  EXPECT_FALSE(names.HasSection("FILTERS"));
  ASSERT_EQ(names.Sections().size(), 1u);
  EXPECT_EQ(names.Sections()[0].Entries.size(), static_cast<size_t>(f.list.Count()));
  EXPECT_EQ(names.ReadString("STRINGS_RUS", "NUMS", ""), "Числа тиража");
  EXPECT_EQ(names.ReadString("STRINGS_RUS", "EVEN", ""), "Чет");
}

TEST(FilterListFile, AnImportedNameFileThatLacksAMethodGivesItItsClassCaption) {
  TempDir dir;
  const auto path = dir / "names.flt";
  support::WriteFileAtomic(path, support::Utf8ToCp1251("[STRINGS_RUS]\r\nNUMS=Числа\r\n"));
  StatsFixture f;
  f.list.Items(f.Entry("DIGS")).UserCaption = "Мои цифры";
  stats::LoadFilterList(path, f.list, false);
  EXPECT_EQ(f.list.Items(f.Entry("NUMS")).Caption(), "Числа");
  EXPECT_EQ(f.list.Items(f.Entry("DIGS")).Caption(), "Цифры тиража");
}

TEST(FilterListFile, FilesAreWindows1251AndAMissingOneReadsAsEmpty) {
  TempDir dir;
  const auto path = dir / "Kelmora_4r32.flt";
  StatsFixture f;
  f.list.SetFavorites("DIGS");
  f.list.Items(0).UserCaption = "Числа";
  stats::LoadFilterList(dir / "missing.flt", f.list, true);
  EXPECT_EQ(f.list.GetFavorites(), "DIGS") << "no keys: the values in force";
  EXPECT_EQ(f.list.Items(0).UserCaption, "");

  f.list.Items(0).UserCaption = "Числа";
  stats::SaveFilterList(path, f.list, true, false);
  EXPECT_NE(support::ReadFileText(path).find("NUMS=\xD7\xE8\xF1\xEB\xE0\r\n"), std::string::npos);
  StatsFixture g;
  stats::LoadFilterList(path, g.list, true);
  EXPECT_EQ(g.list.Items(0).UserCaption, "Числа");
}

TEST(FilterListFile, AFileThatCannotBeReadIsNotWrittenOver) {
  TempDir dir;
  const auto path = dir / "Kelmora_4r32.flt";
  std::filesystem::create_directory(path);
  StatsFixture f;
  EXPECT_THROW(stats::SaveFilterList(path, f.list, true, false), support::Error);
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(FavoritesTree, GroupsInTheOrderTheRegistryMeetsThemWithTheirMethodsInRegistryOrder) {
  FullRegistry r;
  r.list.SetFavorites("SUMS,KNM2");
  const stats::TFavoritesTree tree(r.list);
  EXPECT_EQ(tree.MethodCount(), r.list.Count());
  ASSERT_GE(tree.Groups().size(), 3u);
  EXPECT_EQ(tree.Groups()[0].Caption, "{ num } Числа тиража");
  EXPECT_EQ(tree.Groups()[1].Caption, "{ sum } Сумма чисел тиража");
  EXPECT_EQ(tree.Groups()[2].Caption, "{ dif } Разности между числами тиража");
  // The combination values (group 0) come after the sums in the registry, but join their group.
  const auto& num = tree.Groups()[0].Methods;
  int last = -1;
  bool knm2 = false;
  for (const auto& m : num) {
    EXPECT_GT(m.Entry, last);
    last = m.Entry;
    EXPECT_EQ(m.Checked, m.Entry == r.Entry("KNM2"));
    knm2 = knm2 || m.Entry == r.Entry("KNM2");
  }
  EXPECT_TRUE(knm2);
  EXPECT_TRUE(tree.Groups()[1].Methods[0].Checked);  // SUMS
  std::set<int> groups;
  for (const auto& g : tree.Groups()) EXPECT_TRUE(groups.insert(g.Group).second) << g.Caption;
}

TEST(FavoritesTree, ACaptionEqualToTheClassCaptionInAnyLetterCaseStoresNoUserCaption) {
  const struct {
    const char* Typed;
    const char* Stored;
  } cases[] = {
      {"Числа тиража", ""},
      {"ЧИСЛА ТИРАЖА", ""},
      {"числа тиража", ""},
      {"Числа тиража!", "Числа тиража!"},
      {"Мои числа", "Мои числа"},
  };
  for (const auto& c : cases) {
    StatsFixture f;
    f.list.Items(0).UserCaption = "Прежнее";
    stats::TFavoritesTree tree(f.list);
    ASSERT_EQ(tree.Groups()[0].Methods[0].Caption, "Прежнее");
    ASSERT_TRUE(tree.Rename(0, 0, c.Typed));
    tree.Apply(f.list);
    EXPECT_EQ(f.list.Items(0).UserCaption, c.Stored) << c.Typed;
  }
}

TEST(FavoritesTree, MarksBecomeTheFavouritesAndAllOrNoneMarkedMeansAll) {
  const struct {
    const char* What;
    void (*Mark)(stats::TFavoritesTree&);
    bool AllEnabled;
    const char* Favorites;
  } cases[] = {
      {"every method unticked", [](stats::TFavoritesTree& t) { t.CheckAll(false); }, true, ""},
      {"every method ticked", [](stats::TFavoritesTree& t) { t.CheckAll(true); }, true, ""},
      {"two ticked",
       [](stats::TFavoritesTree& t) {
         t.CheckAll(false);
         t.SetChecked(0, 1, true);
         t.SetChecked(0, 3, true);
       },
       false, "DIGS,EVNV"},
      {"one unticked", [](stats::TFavoritesTree& t) { t.SetChecked(0, 0, false); },
       false, "DIGS,EVEN,EVNV,SMAL,SMLV,PRIM,PRMV,POS1,POS2,POS3,POS4"},
  };
  for (const auto& c : cases) {
    StatsFixture f;
    stats::TFavoritesTree tree(f.list);
    c.Mark(tree);
    tree.Apply(f.list);
    EXPECT_EQ(f.list.AllEnabled(), c.AllEnabled) << c.What;
    EXPECT_EQ(f.list.GetFavorites(), c.Favorites) << c.What;
    EXPECT_EQ(stats::FillStatSelectors(f.list).Stats.size(),
              c.AllEnabled ? static_cast<size_t>(f.list.Count()) : support::Split(c.Favorites, ",").size())
        << c.What;
  }
}

TEST(FavoritesTree, GroupCommandsMarkOneGroupAndResetNameTakesTheClassCaption) {
  FullRegistry r;
  stats::TFavoritesTree tree(r.list);
  tree.CheckAll(false);
  tree.CheckGroup(1, true);
  tree.CheckGroup(99, true);  // no such group: nothing
  tree.Rename(1, 0, "Суммы");
  tree.Options = {true, false, false};
  stats::TFavoritesTree renamed = tree;
  ASSERT_TRUE(renamed.ResetName(1, 0, r.list));
  EXPECT_EQ(renamed.Groups()[1].Methods[0].Caption, "Сумма тиража: все значения");
  EXPECT_FALSE(tree.ResetName(1, 999, r.list));
  tree.Apply(r.list);
  std::vector<std::string> codes;
  for (const auto& m : tree.Groups()[1].Methods) codes.push_back(r.list.Items(m.Entry).Code());
  EXPECT_EQ(r.list.GetFavorites(), support::Join(codes, ","));
  EXPECT_EQ(r.Method("SUMS").UserCaption, "Суммы");
  EXPECT_TRUE(r.list.Ordered());
  EXPECT_FALSE(r.list.ShowGroupName());
  EXPECT_FALSE(r.list.ShowMethodFlags());
}

TEST(FavoritesTree, OrderedSortsTheSelectorsByTheDisplayNameUserCaptionsIncluded) {
  FullRegistry r;
  r.list.SetFavorites("NUMS,SUMS,DIFA,EVEN");
  r.Method("NUMS").UserCaption = "Яблоко";
  r.Method("DIFA").UserCaption = "абрикос";  // letter case does not decide
  r.list.SetShowGroupName(false);
  auto names = [&] {
    std::vector<std::string> out;
    for (const auto& e : stats::FillStatSelectors(r.list).Stats) out.push_back(r.list.Items(e.Entry).Code());
    return support::Join(out, ",");
  };
  EXPECT_EQ(names(), "NUMS,EVEN,SUMS,DIFA");  // registry order
  r.list.SetOrdered(true);
  // абрикос, Количество четных..., Сумма тиража..., Яблоко
  EXPECT_EQ(names(), "DIFA,EVEN,SUMS,NUMS");
  // With the group tag first the tags decide before the captions.
  r.list.SetShowGroupName(true);
  EXPECT_EQ(names(), "DIFA,EVEN,NUMS,SUMS");
}

}  // namespace
}  // namespace kelmora::testing
