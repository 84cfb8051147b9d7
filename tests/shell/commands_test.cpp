#include "shell/commands.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "common/command_states.h"

namespace kelmora::shell {
namespace {

using C = CommandId;

// Every command's own conditions hold, with a script running and the statistics table focused.
TCommandState EverythingAvailable() {
  TCommandState s = testing::EverythingThere();
  s.ScriptRunning = true;
  s.StatTableFocused = true;
  return s;
}

bool AllShown(CommandId) { return true; }

TEST(CommandsTest, TableHoldsEveryCommandOnceWithItsName) {
  std::set<std::string> names;
  for (const auto& c : Commands()) {
    EXPECT_TRUE(names.insert(c.Name).second) << c.Name;
    EXPECT_EQ(CommandByName(c.Name), c.Id);
    EXPECT_NE(std::string(c.Caption), "");
  }
  EXPECT_EQ(names.size(), 144u);
  EXPECT_EQ(CommandByName("drawsadd"), C::DrawsAdd);
  EXPECT_EQ(CommandByName("NoSuchCommand"), std::nullopt);
}

TEST(CommandsTest, WhileBusyOnlyTheStopAndTheRatingChartsStayEnabled) {
  TCommandState s = EverythingAvailable();
  s.Idle = true;
  for (const auto& c : Commands()) {
    if (c.Id == C::DrawsSorted) continue;
    // The stop needs a running script, the log commands need none.
    s.ScriptRunning = c.Id == C::ScriptStop;
    EXPECT_TRUE(CommandEnabled(c.Id, s)) << c.Name << " idle with everything there";
  }
  s.Idle = false;
  s.ScriptRunning = true;
  const std::set<C> busy_ok = {C::ScriptStop, C::StakesGraphOverlap, C::StakesGraphProfits, C::RatingsGraphOverlap};
  for (const auto& c : Commands()) EXPECT_EQ(CommandEnabled(c.Id, s), busy_ok.count(c.Id) == 1) << c.Name;
}

TEST(CommandsTest, StopNeedsARunningScriptWithoutAStopRequest) {
  TCommandState s;
  s.Idle = false;
  EXPECT_FALSE(CommandEnabled(C::ScriptStop, s));
  s.ScriptRunning = true;
  EXPECT_TRUE(CommandEnabled(C::ScriptStop, s));
  s.StopRequested = true;
  EXPECT_FALSE(CommandEnabled(C::ScriptStop, s));
}

TEST(CommandsTest, DrawsCommandsFollowTheArchiveAndTheSelection) {
  struct Case {
    int draws, selected;
    bool edit, export_csv, add;
  } cases[] = {{0, 0, false, false, true}, {5, 0, false, true, true}, {5, 1, true, true, true}, {5, 3, true, true, true}};
  for (const auto& k : cases) {
    TCommandState s;
    s.DrawsCount = k.draws;
    s.DrawsSelected = k.selected;
    for (C id : {C::DrawsEdit, C::DrawsDel, C::DrawsInfo}) EXPECT_EQ(CommandEnabled(id, s), k.edit) << k.draws << "/" << k.selected;
    for (C id : {C::DrawsExport, C::DrawsXlsExport}) EXPECT_EQ(CommandEnabled(id, s), k.export_csv);
    EXPECT_EQ(CommandEnabled(C::DrawsAdd, s), k.add);
  }
}

TEST(CommandsTest, SortedDrawsShowsItsFlagButNeverRuns) {
  TCommandState s = EverythingAvailable();
  s.View.SortedDraws = true;
  EXPECT_FALSE(CommandEnabled(C::DrawsSorted, s));
  EXPECT_TRUE(CommandChecked(C::DrawsSorted, s));
  s.View.SortedDraws = false;
  EXPECT_FALSE(CommandChecked(C::DrawsSorted, s));
}

TEST(CommandsTest, SharedShortcutRunsTheFirstEnabledCommandInIdOrder) {
  TCommandState s;
  s.CombsCount = 10;
  s.CombsSelected = 1;
  s.StakesCount = 1;
  s.StakesSelected = 1;
  s.ScriptLines = 1;
  s.ScriptSelected = 1;
  EXPECT_EQ(ResolveShortcut("Ctrl+Del", s, AllShown), C::StakeDel);
  s.StakesSelected = 0;
  EXPECT_EQ(ResolveShortcut("Ctrl+Del", s, AllShown), C::CombsDelSelected);
  s.CombsSelected = 0;
  EXPECT_EQ(ResolveShortcut("Ctrl+Del", s, AllShown), C::ScriptDel);
  s.ScriptSelected = 0;
  EXPECT_EQ(ResolveShortcut("Ctrl+Del", s, AllShown), std::nullopt);
  EXPECT_EQ(ResolveShortcut("F7", EverythingAvailable(), AllShown), C::StatFilter_Include);
  EXPECT_EQ(ResolveShortcut("Alt+F4", EverythingAvailable(), AllShown), C::ExitProgram);
  EXPECT_EQ(ResolveShortcut("Ctrl+Del", EverythingAvailable()), C::StakeDel);
  TCommandState script_only = EverythingAvailable();
  script_only.StakesSelected = 0;
  script_only.CombsSelected = 0;
  EXPECT_EQ(ResolveShortcut("Ctrl+Del", script_only), C::ScriptDel);
  script_only.Idle = true;
  script_only.ScriptRunning = false;
  EXPECT_EQ(ResolveShortcut("Ctrl+F10", script_only), C::ScriptTest);
  // The online catalogue is built, so its key works in this build too.
  EXPECT_EQ(ResolveShortcut("Ctrl+L", EverythingAvailable(), AllShown), C::ScriptLibrary);
  EXPECT_EQ(ResolveShortcut("Ctrl+L", EverythingAvailable()), C::ScriptLibrary);
  EXPECT_EQ(ResolveShortcut("Ctrl+J", EverythingAvailable(), AllShown), C::ScriptOpen);
}

TEST(CommandsTest, TheSelectedScriptRowIsTheFirstSelectedOne) {
  struct Case {
    int lines, first, count;
    bool filter, up, down, edit, del;
  } cases[] = {
      {0, -1, 0, false, false, false, false, false},
      {3, 0, 1, true, false, true, true, true},
      {3, 2, 1, true, true, false, true, true},
      {3, 1, 2, false, true, true, false, true},  // rows 1 and 2: the first decides, also for down
      {1, 0, 1, true, false, false, true, true},
  };
  for (const auto& k : cases) {
    TCommandState s;
    s.ScriptLines = k.lines;
    s.ScriptSelected = k.count;
    s.ScriptFirstSelected = k.first;
    s.ScriptLastSelected = k.first + k.count - 1;
    s.ScriptSelectedIsFilter = k.filter;
    EXPECT_EQ(CommandEnabled(C::ScriptUp, s), k.up) << k.lines << "/" << k.first << "/" << k.count;
    EXPECT_EQ(CommandEnabled(C::ScriptDown, s), k.down) << k.lines << "/" << k.first << "/" << k.count;
    EXPECT_EQ(CommandEnabled(C::ScriptEdit, s), k.edit);
    EXPECT_EQ(CommandEnabled(C::ScriptClone, s), k.edit);
    EXPECT_EQ(CommandEnabled(C::ScriptDel, s), k.del);
    EXPECT_EQ(CommandEnabled(C::ScriptEmpty, s), k.lines > 0);
    EXPECT_EQ(CommandEnabled(C::ScriptSave, s), k.lines > 0);
    EXPECT_TRUE(CommandEnabled(C::ScriptAdd, s));
    s.Idle = false;
    EXPECT_FALSE(CommandEnabled(C::ScriptAdd, s));
  }
}

TEST(CommandsTest, F7AndCtrlF7GoToTheTableWhileItHasTheFocusAndToTheFavouritesOtherwise) {
  const struct {
    const char* Key;
    bool Focused;
    bool RowsSelected;
    std::optional<C> Runs;
  } cases[] = {
      {"F7", true, true, C::StatFilter_Include},     {"Ctrl+F7", true, true, C::StatFilter_Exclude},
      {"F7", false, true, C::FiltersManager},        {"Ctrl+F7", false, true, C::FiltersReset},
      {"F7", false, false, C::FiltersManager},       {"Ctrl+F7", false, false, C::FiltersReset},
      // The table has the focus but nothing selected: the key does nothing rather than open the manager.
      {"F7", true, false, std::nullopt},             {"Ctrl+F7", true, false, std::nullopt},
  };
  for (const auto& c : cases) {
    TCommandState s;
    s.CombsCount = 100;
    s.StatRowsSelected = c.RowsSelected ? 2 : 0;
    s.StatTableFocused = c.Focused;
    EXPECT_EQ(ResolveShortcut(c.Key, s), c.Runs) << c.Key << " focused " << c.Focused << " rows " << c.RowsSelected;
  }
  // F8 and every key of another command ignore the focus.
  TCommandState s;
  s.StatKindChosen = true;
  for (bool focused : {false, true}) {
    s.StatTableFocused = focused;
    EXPECT_EQ(ResolveShortcut("F8", s), C::FiltersInfo);
  }
  TCommandState busy = EverythingAvailable();
  busy.Idle = false;
  busy.StatTableFocused = false;
  EXPECT_EQ(ResolveShortcut("F7", busy), std::nullopt);
}

TEST(CommandsTest, HidingTheCardPageDisablesItsCommands) {
  TCommandState s = EverythingAvailable();
  s.CardShown = false;
  for (C id : {C::ViewColorCard, C::ViewColorCardSequences, C::CardFilter_Include, C::CardFilter_Exclude, C::CardXlsExport})
    EXPECT_FALSE(CommandEnabled(id, s)) << Command(id).Name;
  EXPECT_TRUE(CommandEnabled(C::TabCard, s));
  EXPECT_FALSE(CommandChecked(C::TabCard, s));
}

TEST(CommandsTest, CardSelectionMustLieWithinTheValueColumns) {
  struct Case {
    int left, right;
    bool inside;
  } cases[] = {{-1, -1, false}, {0, 3, false}, {1, 1, true}, {1, 8, true}, {2, 9, false}, {5, 4, false}};
  for (const auto& k : cases) EXPECT_EQ(SelectionInValueColumns(k.left, k.right), k.inside) << k.left << ".." << k.right;
}

TEST(CommandsTest, ViewSwitchesFlipTogglesAndSetRadioValues) {
  TMainViewState v;
  auto change = ViewSwitchChange(C::ViewColorDraws, v);
  ASSERT_TRUE(change);
  EXPECT_STREQ(change->Key, "ColorDraws");
  EXPECT_EQ(change->Value, 0);
  ApplyViewSwitch(v, *change);
  EXPECT_FALSE(v.ColorDraws);
  EXPECT_EQ(ViewSwitchChange(C::ViewColorDraws, v)->Value, 1);

  change = ViewSwitchChange(C::AutoDownload2, v);
  ApplyViewSwitch(v, *change);
  EXPECT_EQ(v.DownloadDrawsOnStart, 2);
  TCommandState s;
  s.View = v;
  EXPECT_TRUE(CommandChecked(C::AutoDownload2, s));
  EXPECT_FALSE(CommandChecked(C::AutoDownload0, s));

  EXPECT_FALSE(ViewSwitchChange(C::DrawsAdd, v));
}

TEST(CommandsTest, EveryCommandIsShownInThisBuild) {
  for (const auto& c : Commands()) EXPECT_TRUE(CommandShown(c.Id)) << c.Name;
}

TEST(CommandsTest, AWebLinkIsEnabledOnlyWithItsAddressAndSaysWhichKeyIsMissing) {
  TNetworkSettings network;
  network.MainSiteUrl = "  https://club.example/  ";
  network.TelegramUrl = " ";  // blank counts as none
  TCommandState s;
  s.WebLinksSet = WebLinksSetIn(network);
  const struct {
    C Id;
    const char* Key;
    bool Enabled;
  } cases[] = {{C::OpenLotoSite, "LotterySiteUrl", false}, {C::urlMainSite, "MainSiteUrl", true},
               {C::urlBlog, "BlogUrl", false},             {C::urlYT, "VideoBlogUrl", false},
               {C::urlAuthText, "ArticlesUrl", false},     {C::urlVK, "VkUrl", false},
               {C::urlOK, "OkUrl", false},                 {C::urlAuthSite, "AuthorSiteUrl", false},
               {C::urlTG, "TelegramUrl", false}};
  static_assert(std::size(cases) == std::size(WebLinkCommands));
  for (const auto& k : cases) {
    EXPECT_STREQ(WebLinkKey(k.Id), k.Key);
    EXPECT_EQ(CommandEnabled(k.Id, s), k.Enabled) << k.Key;
    const std::string reason = CommandDisabledReason(k.Id, s);
    if (k.Enabled) {
      EXPECT_EQ(reason, "");
    } else {
      EXPECT_NE(reason.find(std::string("параметре ") + k.Key + " секции NETWORK"), std::string::npos) << reason;
    }
  }
  EXPECT_EQ(WebLinkUrl(network, C::urlMainSite), "https://club.example/");
  EXPECT_EQ(WebLinkKey(C::About), nullptr);
  EXPECT_EQ(CommandDisabledReason(C::DrawsEdit, TCommandState{}), "");
  s.Idle = false;
  EXPECT_FALSE(CommandEnabled(C::urlMainSite, s));
}

TEST(CommandsTest, TheTablesKeysAreTheKeyboardsNames) {
  // "Ctrl+Enter" is the key the user presses; the window maps it to Qt's "Return" and keypad "Enter".
  EXPECT_STREQ(Command(C::ScriptEdit).Shortcut, "Ctrl+Enter");
  TCommandState s;
  s.ScriptLines = s.ScriptSelected = 1;
  s.ScriptSelectedIsFilter = true;
  EXPECT_EQ(ResolveShortcut("Ctrl+Enter", s), C::ScriptEdit);
}

}  // namespace
}  // namespace kelmora::shell
