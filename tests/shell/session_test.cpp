#include "shell/session.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "common/temp_dir.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "shell/recording_host.h"
#include "shell/stats_state.h"
#include "support/error.h"
#include "support/files.h"
#include "support/ini_file.h"

namespace kelmora::shell {
namespace {

using lottery::MakeComb;
using lottery::TDrawRec;

class SessionTest : public ::testing::Test {
 protected:
  std::unique_ptr<Session> Open() {
    SessionOptions options;
    options.DataDir = dir_.Path();
    auto session = std::make_unique<Session>(host_, options);
    session->Create();
    session->Initialise();
    return session;
  }

  void WriteDraws(int count) {
    lottery::TDrawsArray draws;
    for (int i = 0; i < count; ++i)
      draws.push_back({100 + i, MakeComb(7 + i % 8, 8, 9 + i % 6, 14), "01/02/2023"});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
  }

  testing::TempDir dir_;
  RecordingHost host_;
};

TEST_F(SessionTest, EmptyFolderStartsWithAnEmptyArchive) {
  auto s = Open();
  EXPECT_TRUE(host_.Messages.empty());
  EXPECT_EQ(s->StatusPanelText(0), "Архив тиражей: 0");
  EXPECT_EQ(s->StatusPanelText(1), "Следующий тираж: 1");
  EXPECT_EQ(s->StatusPanelText(2), "");
  EXPECT_EQ(s->NewDrawTemplate().Number, 1);
  EXPECT_TRUE(s->IsIdle());
  EXPECT_FALSE(host_.Busy);
}

TEST_F(SessionTest, OffsetMovesTheCurrentDrawAndStatusPanels) {
  WriteDraws(10);
  auto s = Open();
  s->SetDrawsOffset(3);
  // Row 3 is the fourth newest draw (number 106); row 2 is the hidden draw (107).
  EXPECT_EQ(s->StatusPanelText(1), "Следующий тираж: 107");
  EXPECT_EQ(s->StatusPanelText(2), lottery::CombToText(s->Draws()[7].Values));

  host_.ChangedViews.clear();
  s->SetDrawsOffset(3);
  EXPECT_TRUE(host_.ChangedViews.empty()) << "an unchanged offset recomputes nothing";

  s->SetDrawsOffset(99);
  EXPECT_EQ(s->DrawsOffset(), 9) << "the offset stays inside the archive";
}

TEST_F(SessionTest, AddChangeAndDeleteSaveTheArchive) {
  WriteDraws(3);  // numbers 100, 101, 102
  auto s = Open();
  TDrawRec draw = s->NewDrawTemplate();
  EXPECT_EQ(draw.Number, 103);
  draw.Values = MakeComb(7, 10, 11, 14);
  s->AddDraw(draw);
  EXPECT_EQ(lottery::LoadDrawsFile(dir_ / "Kelmora_4r32.ldr").back(), draw);

  TDrawRec changed = s->Draws()[1];
  changed.Number = 500;
  s->ChangeDraw(2, changed);  // row 2 of four draws is array index 1
  EXPECT_EQ(lottery::LoadDrawsFile(dir_ / "Kelmora_4r32.ldr")[1].Number, 500);

  host_.Answers = {true};
  EXPECT_TRUE(s->DeleteDrawRows({0, 2}));
  ASSERT_EQ(host_.Questions.size(), 1u);
  EXPECT_EQ(host_.Questions[0].Text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
  EXPECT_EQ(host_.Questions[0].Kind, MessageKind::Warning);
  const auto saved = lottery::LoadDrawsFile(dir_ / "Kelmora_4r32.ldr");
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0].Number, 100);
  EXPECT_EQ(saved[1].Number, 102);
}

TEST_F(SessionTest, DeleteDefaultsToNoAndAMissingNumberStopsWithoutSaving) {
  WriteDraws(3);
  auto s = Open();
  EXPECT_FALSE(s->DeleteDrawNumbers({100}));  // No is the default answer
  ASSERT_EQ(host_.Questions.size(), 1u);
  EXPECT_EQ(host_.Questions[0].Text, "Удалить выделенную запись?");
  EXPECT_EQ(s->Draws().size(), 3u);

  host_.Answers = {true};
  EXPECT_FALSE(s->DeleteDrawNumbers({101, 999, 100}));
  EXPECT_EQ(host_.MessagesOf(MessageKind::Error),
            std::vector<std::string>{"Запись со индексом -1 в файле данных не найдена!\r\rТиража с номером 999 в "
                                     "архиве нет."});
  EXPECT_EQ(host_.Questions.size(), 1u) << "nothing is asked when a number is unknown";
  EXPECT_EQ(s->Draws().size(), 3u) << "an unknown number leaves every draw in place";
  EXPECT_EQ(lottery::LoadDrawsFile(dir_ / "Kelmora_4r32.ldr").size(), 3u) << "the file is not rewritten";
}

TEST_F(SessionTest, FailedSaveIsReportedAndKeepsTheOldFileAndTheChange) {
  WriteDraws(2);
  auto s = Open();
  std::filesystem::create_directory(support::NextTemporaryPath(dir_ / "Kelmora_4r32.ldr"));  // blocks the temporary file
  TDrawRec draw = s->NewDrawTemplate();
  draw.Values = MakeComb(7, 7, 7, 7);
  s->AddDraw(draw);
  const auto errors = host_.MessagesOf(MessageKind::Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Ошибка записи в файл тиражей!\r\r", 0), 0u) << errors[0];
  EXPECT_EQ(s->Draws().size(), 3u);
  EXPECT_EQ(lottery::LoadDrawsFile(dir_ / "Kelmora_4r32.ldr").size(), 2u);
  EXPECT_TRUE(s->IsIdle()) << "the busy state ends after a failure too";
}

TEST_F(SessionTest, MalformedConfigurationIsReportedAndKeepsWhatWasRead) {
  support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini",
                           std::string("[GLOBAL]\r\nCombsGenerateMode=3\r\nMatrixCols=x\r\n"));
  auto s = Open();
  const auto errors = host_.MessagesOf(MessageKind::Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Ошибка чтения файла конфигурации!\r\r", 0), 0u);
  EXPECT_EQ(s->Settings().Generation.Mode, 3);
  EXPECT_EQ(s->Settings().Config.MatrixCols, 4);
}

TEST_F(SessionTest, UnreadableFilesAreReportedAndTheDefaultsKept) {
  std::filesystem::create_directory(dir_ / "Kelmora_4r32.ini");
  std::filesystem::create_directory(dir_ / "Kelmora_4r32.ldr");
  auto s = Open();
  const auto errors = host_.MessagesOf(MessageKind::Error);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].rfind("Ошибка чтения файла конфигурации!\r\r", 0), 0u) << errors[0];
  EXPECT_EQ(errors[1].rfind("Ошибка чтения файла тиражей!\r\r", 0), 0u) << errors[1];
  EXPECT_EQ(s->Settings().Config.ChannelSize, 2);
  EXPECT_TRUE(s->Draws().empty());
  EXPECT_TRUE(s->IsIdle());
}

TEST_F(SessionTest, ChannelSizeBelowOneIsReportedOnceAndReadAsOne) {
  support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini", std::string("[GLOBAL]\r\nChannelSize=-2\r\n[PROXY]\r\nProxyPort=81\r\n"));
  auto s = Open();
  EXPECT_EQ(host_.MessagesOf(MessageKind::Error),
            std::vector<std::string>{"Ошибка чтения файла конфигурации!\r\rНекорректный размер канала: -2. "
                                     "Используется размер канала 1."});
  EXPECT_EQ(s->Settings().Config.ChannelSize, 1);
  EXPECT_EQ(s->Settings().Proxy.Port, 81) << "the keys after it are still read";
}

TEST_F(SessionTest, SavedGroupKeepsOtherSections) {
  support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini", std::string("[PROXY]\r\nProxyServer=p\r\n"));
  auto s = Open();
  EXPECT_EQ(s->Settings().Proxy.Mode, 2);
  lottery::TConfigData c = s->Settings().Config;
  c.ChannelSize = 3;
  EXPECT_TRUE(s->SetAnalysisSettings(c));
  support::IniFile ini(dir_ / "Kelmora_4r32.ini");
  ini.Load();
  EXPECT_EQ(ini.ReadString("PROXY", "ProxyServer", ""), "p");
  EXPECT_EQ(ini.ReadInt("GLOBAL", "ChannelSize", 0), 3);
  EXPECT_FALSE(ini.HasKey("PROXY", "ProxyMode")) << "only the changed group is written";
}

TEST_F(SessionTest, SettingsThatShapeTheRegistryRebuildIt) {
  auto s = Open();
  auto entries_with_code = [&](const std::string& prefix) {
    int n = 0;
    for (int i = 0; i < s->Stats().List().Count(); ++i) n += s->Stats().List().Items(i).Code().rfind(prefix, 0) == 0;
    return n;
  };
  const int channel_entries = entries_with_code("CHN");
  lottery::TConfigData c = s->Settings().Config;
  c.ChannelSize = 3;  // three channels instead of four: one CHN%d entry less
  s->SetAnalysisSettings(c);
  EXPECT_EQ(entries_with_code("CHN"), channel_entries - 1);

  lottery::TShreddingData sh = s->Settings().Shredding;
  sh.Formula[0] = "n1/7";
  s->SetShredding(sh);
  const int shr1 = s->Stats().List().IndexOfCode("SHR1");
  ASSERT_GE(shr1, 0);
  EXPECT_EQ(s->Stats().List().Items(shr1).Formula, "n1/7");
}

TEST_F(SessionTest, DetailRowsValueTheDrawAndACombinationWithTheGraphStatistics) {
  WriteDraws(5);
  auto s = Open();
  auto value_of = [](const std::vector<std::pair<std::string, std::string>>& rows, const std::string& prefix) {
    for (const auto& [caption, value] : rows)
      if (caption.rfind(prefix, 0) == 0) return value;
    return std::string("<none>");
  };
  const auto draw_rows = s->DrawDetailRows(1);  // draw 103: values 10, 8, 12, 14
  ASSERT_GE(draw_rows.size(), 3u);
  EXPECT_EQ(draw_rows[0], (std::pair<std::string, std::string>{"Номер тиража:", "103"}));
  EXPECT_EQ(draw_rows[1], (std::pair<std::string, std::string>{"Дата тиража:", "01/02/2023"}));
  const int sums = s->Stats().List().IndexOfCode("SUMS");
  ASSERT_GE(sums, 0);
  const std::string sums_caption = s->Stats().List().Items(sums).DisplayCaption();
  EXPECT_EQ(value_of(draw_rows, sums_caption), "44");
  EXPECT_EQ(value_of(s->CombDetailRows(MakeComb(7, 7, 8, 9)), sums_caption), "31");
  EXPECT_TRUE(s->DrawDetailRows(5).empty());
  EXPECT_TRUE(s->IsIdle());
}

TEST_F(SessionTest, ViewStateIsWrittenAtExitAndRestoredAtTheNextStart) {
  {
    auto s = Open();
    EXPECT_EQ(s->MainView().DrawsStatLen, 1000);
    s->MainView().DrawsStatLen = 250;
    s->MainView().DrawsExclude = 4;
    s->SaveViewStateAtExit();
  }
  auto s = Open();
  EXPECT_EQ(s->MainView().DrawsStatLen, 250);
  EXPECT_EQ(s->MainView().DrawsExclude, 4);
  EXPECT_TRUE(s->MainView().PrefetchsInit);
}

TEST_F(SessionTest, BusyCounterNestsAndNeverGoesNegative) {
  auto s = Open();
  host_.BusyTransitions = 0;
  s->BeginBusy();
  s->BeginBusy();
  EXPECT_FALSE(s->IsIdle());
  s->EndBusy();
  EXPECT_TRUE(host_.Busy);
  s->EndBusy();
  s->EndBusy();
  EXPECT_TRUE(s->IsIdle());
  EXPECT_EQ(host_.BusyTransitions, 2);
}

TEST(ParseDialogValues, AcceptsFourValidValuesOnly) {
  EXPECT_EQ(ParseDialogValues(" 7; 10 ,J;a"), MakeComb(7, 10, 11, 14));
  EXPECT_EQ(ParseDialogValues("0;0;0;0"), std::nullopt);
  EXPECT_EQ(ParseDialogValues("7;8;9"), std::nullopt);
  EXPECT_EQ(ParseDialogValues("7 8 9 10"), std::nullopt);
  EXPECT_EQ(ParseDialogValues("7;8;9;15"), std::nullopt);
  EXPECT_EQ(ParseDialogValues("7;8;9;10;"), std::nullopt);
}


TEST_F(SessionTest, FilesThatCouldNotBeReadAreNeverWrittenOver) {
  WriteDraws(3);
  support::WriteFileAtomic(dir_ / "Kelmora_4r32.frm", std::string("[TFormMain]\r\nDrawsExclude=7\r\n"));
  const auto archive = support::ReadFileBytes(dir_ / "Kelmora_4r32.ldr");
  const auto view = support::ReadFileBytes(dir_ / "Kelmora_4r32.frm");
  ASSERT_EQ(chmod(dir_.Path().c_str(), 0777), 0);
  ASSERT_EQ(chmod((dir_ / "Kelmora_4r32.ldr").c_str(), 0), 0);
  ASSERT_EQ(chmod((dir_ / "Kelmora_4r32.frm").c_str(), 0), 0);
  // Root reads every file: the test takes the rights of "nobody" for the session's work.
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(setegid(65534), 0);
    ASSERT_EQ(seteuid(65534), 0);
  }
  {
    auto s = Open();
    EXPECT_FALSE(s->DrawsReadError().empty());
    TDrawRec draw = s->NewDrawTemplate();
    draw.Values = MakeComb(7, 7, 7, 7);
    s->AddDraw(draw);
    EXPECT_EQ(s->ImportDraws(dir_ / "Kelmora_4r32.ldr"), -1);
    s->WriteViewSwitch("ColorDraws", 1);
    s->SaveViewStateAtExit();
    EXPECT_TRUE(s->Draws().empty()) << "a refused change is not made in memory either";
  }
  if (root) {
    ASSERT_EQ(seteuid(0), 0);
    ASSERT_EQ(setegid(0), 0);
  }
  const auto errors = host_.MessagesOf(MessageKind::Error);
  EXPECT_EQ(std::count_if(errors.begin(), errors.end(),
                          [](const std::string& e) { return e.find("не будет перезаписан") != std::string::npos; }),
            4)
      << ::testing::PrintToString(errors);
  EXPECT_EQ(support::ReadFileBytes(dir_ / "Kelmora_4r32.ldr"), archive);
  EXPECT_EQ(support::ReadFileBytes(dir_ / "Kelmora_4r32.frm"), view);
}

TEST_F(SessionTest, TheWriterLockRemovesWhatKilledSavesLeftBehind) {
  WriteDraws(1);
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_EQ(waitpid(child, nullptr, 0), child);
  const std::string stale = "Kelmora_4r32.ldr.tmp-" + std::to_string(child) + "-3";
  support::WriteFileAtomic(dir_ / stale, std::string("torn"));
  std::filesystem::create_directory(dir_ / "Prefetchs");
  support::WriteFileAtomic(dir_ / "Prefetchs" / ("Kelmora_4r32_NUMS.dfc.tmp-" + std::to_string(child) + "-0"),
                           std::string("torn"));
  auto s = Open();
  EXPECT_TRUE(s->StakesFileOpen());
  EXPECT_FALSE(std::filesystem::exists(dir_ / stale));
  EXPECT_TRUE(std::filesystem::is_empty(dir_ / "Prefetchs"));
}

TEST_F(SessionTest, ReportedShowsTheSentenceAndTheFailureAndTheGuardUndoesItsState) {
  auto session = Open();
  host_.Messages.clear();
  const int transitions = host_.BusyTransitions;
  struct Case {
    const char* sentence;
    bool fails;
    const char* shown;  // nullptr: nothing shown
  };
  const Case cases[] = {{"Ошибка записи в файл тиражей!", true, "Ошибка записи в файл тиражей!\r\rдиск полон"},
                        {"", true, "диск полон"},
                        {"Ошибка записи в файл тиражей!", false, nullptr}};
  for (const Case& c : cases) {
    host_.Messages.clear();
    bool ok = !c.fails;
    {
      BusyGuard busy(*session, "Сохранение...");
      EXPECT_TRUE(host_.Busy);
      EXPECT_EQ(host_.StatusTexts.back(), "Сохранение...");
      ok = session->Reported(c.sentence, [&] {
        if (c.fails) support::Fail("диск полон");
      });
    }
    EXPECT_EQ(ok, !c.fails);
    ASSERT_EQ(host_.Messages.size(), c.shown ? 1u : 0u) << c.sentence;
    if (c.shown) {
      EXPECT_EQ(host_.Messages[0].Kind, MessageKind::Error);
      EXPECT_EQ(host_.Messages[0].Text, c.shown);
    }
    EXPECT_FALSE(host_.Busy);
    EXPECT_EQ(host_.StatusTexts.back(), "");
  }
  EXPECT_EQ(host_.BusyTransitions, transitions + 6);

  // A failure that leaves the guard's scope still ends the busy state and clears the status text;
  // Busy::No leaves the busy state alone.
  try {
    BusyGuard busy(*session, "Загрузка...");
    BusyGuard status(*session, "Шаг...", Busy::No);
    support::Fail("сбой");
  } catch (const support::Error&) {
  }
  EXPECT_FALSE(host_.Busy);
  EXPECT_EQ(host_.StatusTexts.back(), "");
  EXPECT_EQ(host_.BusyTransitions, transitions + 8);
}

}  // namespace
}  // namespace kelmora::shell
