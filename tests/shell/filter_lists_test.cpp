// The favourites part of the statistics component: the own filter-list file at start-up, the
// manager's confirmation, the reset, the name files and the refill of the selectors.

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "lottery/draws.h"
#include "shell/recording_host.h"
#include "shell/session.h"
#include "shell/stats_state.h"
#include "support/encoding.h"
#include "support/files.h"
#include "support/ini_file.h"
#include "support/text.h"

namespace kelmora::shell {
namespace {

using lottery::MakeComb;

class FilterListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::TDrawsArray draws;
    for (int i = 0; i < 20; ++i) draws.push_back({1 + i, MakeComb(7 + i % 8, 8, 9 + i % 6, 14), ""});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
  }
  std::filesystem::path Own() const { return dir_ / "Kelmora_4r32.flt"; }
  void WriteOwn(const std::string& utf8) { support::WriteFileAtomic(Own(), support::Utf8ToCp1251(utf8)); }
  Session& Open() {
    SessionOptions options;
    options.DataDir = dir_.Path();
    session_ = std::make_unique<Session>(host_, options);
    session_->Create();
    session_->LoadDrawsFile();
    return *session_;
  }
  StatsState& Stats() { return session_->Stats(); }
  int Entry(const std::string& code) { return Stats().List().IndexOfCode(code); }
  // The codes of the statistics selector, in its order.
  std::string Listed() {
    std::vector<std::string> codes;
    for (const auto& e : Stats().Selectors().Stats) codes.push_back(Stats().List().Items(e.Entry).Code());
    return support::Join(codes, ",");
  }
  support::IniFile ReadOwn() const {
    support::IniFile ini(Own());
    ini.Load();
    return ini;
  }
  std::string SelectedCode() {
    return Stats().SelectedEntry() < 0 ? "" : Stats().List().Items(Stats().SelectedEntry()).Code();
  }

  testing::TempDir dir_;
  RecordingHost host_;
  std::unique_ptr<Session> session_;
};

TEST_F(FilterListsTest, StartUpReadsTheFavouritesCaptionsAndOptionsOfTheOwnFile) {
  WriteOwn("[FILTERS]\r\nFavorites=SUMS,NUMS,DIFA\r\nOrdered=1\r\nShowGroupName=0\r\nShowMethodFlags=0\r\n"
           "[STRINGS_RUS]\r\nNUMS=Карты\r\n");
  Open();
  EXPECT_TRUE(host_.MessagesOf(MessageKind::Error).empty());
  EXPECT_EQ(Listed(), "DIFA,NUMS,SUMS");  // Все разности..., Карты, Сумма тиража...
  EXPECT_EQ(Stats().Selectors().Stats[1].Text, "Карты");
  EXPECT_EQ(SelectedCode(), "DIFA");
}

TEST_F(FilterListsTest, WithoutAFileEveryMethodIsAFavouriteUnderItsClassCaption) {
  Open();
  EXPECT_EQ(static_cast<int>(Stats().Selectors().Stats.size()), Stats().List().Count());
  EXPECT_EQ(Stats().Selectors().Stats[0].Text, "{ num } Числа тиража [ N ]");
  EXPECT_FALSE(support::FileExists(Own())) << "reading never writes";
}

TEST_F(FilterListsTest, AnUnreadableOwnFileIsReportedAndLeavesTheDefaults) {
  std::filesystem::create_directory(Own());
  Open();
  const auto errors = host_.MessagesOf(MessageKind::Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Ошибка загрузки списка фильтров!\r\r", 0), 0u) << errors[0];
  EXPECT_EQ(static_cast<int>(Stats().Selectors().Stats.size()), Stats().List().Count());
}

TEST_F(FilterListsTest, ConfirmingTheManagerWritesTheOwnFileAndRefillsTheSelectorsKeepingTheChosenMethod) {
  Open();
  Stats().SelectCode("SUMS");
  stats::TFavoritesTree tree(Stats().List());
  tree.CheckAll(false);
  tree.CheckGroup(1, true);  // the sums
  tree.Rename(1, 0, "Суммы");
  tree.Options.ShowMethodFlags = false;
  host_.Clear();
  Stats().FiltersManager(tree);
  EXPECT_TRUE(host_.MessagesOf(MessageKind::Error).empty());
  EXPECT_EQ(host_.StatusTexts.front(), "Подождите пожалуйста...");
  EXPECT_TRUE(session_->IsIdle());
  EXPECT_EQ(Listed(), "SUMS,SUM1,SUM2,SUM3,SUMC,SUMV,SUMT,SUME,SUMP,S2T3");
  EXPECT_EQ(Stats().Selectors().Stats[0].Text, "{ sum } Суммы");
  EXPECT_EQ(SelectedCode(), "SUMS");
  EXPECT_NE(std::find(host_.ChangedViews.begin(), host_.ChangedViews.end(), ViewId::StatSelectors),
            host_.ChangedViews.end());
  const auto ini = ReadOwn();
  EXPECT_EQ(ini.ReadString("FILTERS", "Favorites", ""), "SUMS,SUM1,SUM2,SUM3,SUMC,SUMV,SUMT,SUME,SUMP,S2T3");
  EXPECT_EQ(ini.ReadString("FILTERS", "ShowMethodFlags", ""), "0");
  EXPECT_EQ(ini.ReadString("STRINGS_RUS", "SUMS", ""), "Суммы");

  // The chosen method unticked: the first listed one is chosen.
  tree = stats::TFavoritesTree(Stats().List());
  tree.CheckAll(false);
  tree.SetChecked(2, 0, true);
  tree.SetChecked(2, 1, true);
  Stats().FiltersManager(tree);
  EXPECT_EQ(Listed(), "DIFA,DIFM");
  EXPECT_EQ(SelectedCode(), "DIFA");

  // The next start finds what was confirmed.
  Open();
  EXPECT_EQ(Listed(), "DIFA,DIFM");
  EXPECT_EQ(Stats().List().Items(Entry("SUMS")).UserCaption, "Суммы");
}

TEST_F(FilterListsTest, ResetAsksAndOnYesListsEveryMethodAgain) {
  WriteOwn("[FILTERS]\r\nFavorites=NUMS,DIGS\r\n[STRINGS_RUS]\r\nNUMS=Карты\r\n");
  Open();
  host_.Answers = {false};
  EXPECT_FALSE(Stats().FiltersReset());
  ASSERT_EQ(host_.Questions.size(), 1u);
  EXPECT_EQ(host_.Questions[0].Text, "Вы действительно хотите сбросить список избранных фильтров?");
  EXPECT_EQ(Listed(), "NUMS,DIGS");
  host_.Answers = {true};
  EXPECT_TRUE(Stats().FiltersReset());
  EXPECT_EQ(static_cast<int>(Stats().Selectors().Stats.size()), Stats().List().Count());
  const auto ini = ReadOwn();
  EXPECT_EQ(ini.ReadString("FILTERS", "Favorites", "x"), "");
  EXPECT_EQ(ini.ReadString("STRINGS_RUS", "NUMS", ""), "Карты") << "the captions stay";
}

TEST_F(FilterListsTest, AFileThatCannotBeWrittenIsReportedAndTheRegistryKeepsTheConfirmedChoice) {
  Open();
  stats::TFavoritesTree tree(Stats().List());
  tree.CheckAll(false);
  tree.SetChecked(0, 0, true);
  tree.Rename(0, 0, "Карты");
  std::filesystem::create_directory(support::NextTemporaryPath(Own()));  // blocks the temporary file
  host_.Clear();
  Stats().FiltersManager(tree);
  const auto errors = host_.MessagesOf(MessageKind::Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Ошибка сохранения списка фильтров!\r\r", 0), 0u) << errors[0];
  EXPECT_GT(errors[0].size(), std::string("Ошибка сохранения списка фильтров!\r\r").size()) << "the system's text";
  EXPECT_EQ(Listed(), "NUMS");
  EXPECT_EQ(Stats().Selectors().Stats[0].Text, "{ num } Карты [ N ]");
  EXPECT_FALSE(support::FileExists(Own()));
}

TEST_F(FilterListsTest, ARebuildBySettingsKeepsFavouritesAndCaptions) {
  WriteOwn("[FILTERS]\r\nFavorites=CHN1,CHN4,NUMS\r\n[STRINGS_RUS]\r\nCHN1=Первый канал\r\n");
  Open();
  Stats().SelectCode("CHN4");
  lottery::TConfigData c = session_->Settings().Config;
  c.ChannelSize = 3;  // CHN4 is no more
  session_->SetAnalysisSettings(c);
  EXPECT_EQ(Listed(), "NUMS,CHN1");
  EXPECT_EQ(Stats().List().Items(Entry("CHN1")).Caption(), "Первый канал");
  // The chosen method is gone and its position is past the end of the list: nothing is chosen.
  EXPECT_EQ(SelectedCode(), "");
  // A favourite whose entry was not there when the file was last written is no favourite any more.
  c.ChannelSize = 2;
  Stats().SelectCode("CHN1");
  session_->SetAnalysisSettings(c);
  EXPECT_EQ(Listed(), "NUMS,CHN1");
  EXPECT_EQ(SelectedCode(), "CHN1");
}

TEST_F(FilterListsTest, ExportWritesEveryCaptionAsTheTreeShowsItAndImportTakesThemBack) {
  WriteOwn("[STRINGS_RUS]\r\nNUMS=Карты\r\n");
  Open();
  stats::TFavoritesTree tree(Stats().List());
  tree.Rename(0, 1, "Цифры");  // DIGS, not confirmed
  const auto names = dir_ / "names.flt";
  ASSERT_TRUE(Stats().ExportNames(names, tree));
  support::IniFile exported(names);
  exported.Load();
  EXPECT_FALSE(exported.HasSection("FILTERS"));
  EXPECT_EQ(exported.ReadString("STRINGS_RUS", "NUMS", ""), "Карты");
  EXPECT_EQ(exported.ReadString("STRINGS_RUS", "DIGS", ""), "Цифры");
  EXPECT_EQ(exported.ReadString("STRINGS_RUS", "SUMS", ""), "Сумма тиража: все значения");
  // The registry keeps the captions of the own file until the manager is confirmed.
  EXPECT_EQ(Stats().List().Items(Entry("DIGS")).UserCaption, "");

  support::WriteFileAtomic(names, support::Utf8ToCp1251("[STRINGS_ENG]\r\nNUMS=Numbers\r\n[STRINGS_RUS]\r\nDIGS=Цифры\r\n"));
  ASSERT_TRUE(Stats().ImportNames(names));
  EXPECT_EQ(Stats().List().Items(Entry("DIGS")).UserCaption, "Цифры");
  EXPECT_EQ(Stats().List().Items(Entry("NUMS")).UserCaption, "") << "a method the file lacks";

  host_.Clear();
  EXPECT_FALSE(Stats().ImportNames(dir_ / "missing.flt"));
  ASSERT_EQ(host_.MessagesOf(MessageKind::Error).size(), 1u);
  EXPECT_EQ(Stats().List().Items(Entry("DIGS")).UserCaption, "Цифры");
}

}  // namespace
}  // namespace kelmora::shell
