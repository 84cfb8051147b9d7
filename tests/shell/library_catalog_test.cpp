// The online script library and the self-update through the program's own client against the
// catalogue service in process (HTTPS on loopback): two users on two data folders publish,
// list, download, rate, hide, replace and delete; an update comes from the service's files.

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/archive_maker.h"
#include "common/catalog_test_server.h"
#include "common/temp_dir.h"
#include "net/self_update.h"
#include "shell/library_state.h"
#include "shell/recording_host.h"
#include "shell/script_state.h"
#include "shell/session.h"
#include "support/encoding.h"
#include "support/files.h"

namespace kelmora::shell {
namespace {

using kelmora::testing::CatalogTestServer;
using kelmora::testing::TempDir;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// One installation: its data folder, its Host and its Session on the catalogue.
struct User {
  User(const CatalogTestServer& server, const std::string& name, const std::string& mail) {
    support::WriteFileAtomic(dir / "Kelmora_4r32.ini",
                             fmt::format("[NETWORK]\r\nCatalogUrl={}\r\nCaFile={}\r\nUserName={}\r\nUserMail={}\r\n",
                                         server.BaseUrl(), server.CaFile().string(), name, mail));
    SessionOptions options;
    options.DataDir = dir.Path();
    options.ProgramDir = dir / "program";
    std::filesystem::create_directories(options.ProgramDir);
    session = std::make_unique<Session>(host, options);
    session->Create();
    session->Initialise();
    host.Clear();
  }
  LibraryState& Library() { return session->Library(); }
  // Selects the entry with the title; false when it is not listed.
  bool Select(const std::string& title) {
    for (size_t i = 0; i < Library().Entries().size(); ++i)
      if (Library().Entries()[i].Title == title) {
        Library().Select(static_cast<int>(i));
        return true;
      }
    Library().Select(-1);
    return false;
  }
  const net::tScriptInfo& Selected() { return *Library().SelectedEntry(); }
  std::vector<std::string> Errors() const { return host.MessagesOf(MessageKind::Error); }

  TempDir dir;
  RecordingHost host;
  std::unique_ptr<Session> session;
};

// The properties dialog confirming `data` as OK does: it stays open (and is then cancelled) while
// the check fails.
LibraryState::EditProperties Confirm(const std::string& title, bool universal = false, bool is_public = true) {
  return [=](const net::tScriptData& initial, bool, const LibraryState::Validate& validate) {
    net::tScriptData data = initial;
    data.Title = title;
    data.Universal = universal;
    data.Public = is_public;
    data.Descr = "Две строки\r\nописания";
    return validate(data) ? std::nullopt : std::optional<net::tScriptData>(data);
  };
}

class LibraryCatalogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* line : {"01.001: первая строка", "", "01.002: вторая"}) author_.session->Script().AddScriptLine(line);
  }
  CatalogTestServer server_;
  User author_{server_, "Author", "author@example.org"};
  User reader_{server_, "Reader", "reader@example.org"};
};

TEST_F(LibraryCatalogTest, APublishedScriptIsListedDownloadedAndRatedByOthers) {
  author_.Library().RefreshScriptLibrary();
  ASSERT_TRUE(author_.Library().PublishScript(Confirm("Суммы и пары")));
  EXPECT_THAT(author_.Errors(), IsEmpty());
  const int32_t id = author_.Selected().Id;
  EXPECT_GT(id, 0);

  author_.Library().RefreshScriptLibrary();
  ASSERT_TRUE(author_.Select("Суммы и пары"));
  EXPECT_EQ(author_.Selected().Id, id);
  EXPECT_EQ(author_.Library().Cell(author_.Selected(), 0), "Мой");
  EXPECT_TRUE(author_.Selected().Editable);
  EXPECT_EQ(author_.Selected().Descr, "Две строки\r\nописания");

  reader_.Library().RefreshScriptLibrary();
  ASSERT_TRUE(reader_.Select("Суммы и пары"));
  EXPECT_EQ(reader_.Library().Cell(reader_.Selected(), 0), "Общий");
  EXPECT_FALSE(reader_.Selected().Editable);
  EXPECT_TRUE(reader_.Selected().Compatible);
  ASSERT_TRUE(reader_.Library().DownloadSelected());
  EXPECT_THAT(reader_.session->Script().Lines(), ElementsAre("01.001: первая строка", "", "01.002: вторая"));

  reader_.host.PromptAnswers = {std::string("Полезный \"сценарий\"")};
  ASSERT_TRUE(reader_.Library().RateSelected(5));
  ASSERT_TRUE(reader_.Select("Суммы и пары"));  // the rating refreshed the view
  EXPECT_EQ(reader_.Selected().MyRate, 5);
  EXPECT_EQ(reader_.Selected().RatesCount, 1);
  EXPECT_EQ(reader_.Selected().Downloads, 1);
  EXPECT_EQ(reader_.Library().Cell(reader_.Selected(), 7), "5.000");
  const auto rates = reader_.Library().LoadSelectedRates();
  ASSERT_TRUE(rates.has_value());
  ASSERT_EQ(rates->size(), 1u);
  EXPECT_EQ((*rates)[0].Name, "Reader");
  EXPECT_EQ((*rates)[0].Rate, "5");
  EXPECT_EQ((*rates)[0].Notes, "Полезный \"сценарий\"");
  EXPECT_THAT(reader_.Errors(), IsEmpty());
}

TEST_F(LibraryCatalogTest, HiddenEntriesLeaveTheDefaultListAndShowUnderTheHiddenFilter) {
  ASSERT_TRUE(author_.Library().PublishScript(Confirm("Каналы")));
  reader_.Library().RefreshScriptLibrary();
  ASSERT_TRUE(reader_.Select("Каналы"));
  ASSERT_TRUE(reader_.Library().RateSelected(-1));
  EXPECT_FALSE(reader_.Select("Каналы"));  // the default filter leaves hidden entries out
  reader_.Library().SetFilterIndex(0);      // "Скрытые"
  ASSERT_TRUE(reader_.Select("Каналы"));
  EXPECT_EQ(reader_.Library().Cell(reader_.Selected(), 9), "Скрытый");
  ASSERT_TRUE(reader_.Library().RateSelected(0));  // the hiding removed
  EXPECT_FALSE(reader_.Select("Каналы"));
  reader_.Library().SetFilterIndex(2);
  ASSERT_TRUE(reader_.Select("Каналы"));
  EXPECT_EQ(reader_.Selected().MyRate, 0);
}

TEST_F(LibraryCatalogTest, ATakenTitleKeepsTheDialogOpenAndOnlyTheOwnerReplacesOrDeletes) {
  ASSERT_TRUE(author_.Library().PublishScript(Confirm("Цепочки")));
  reader_.session->Script().AddScriptLine("01.001: чужая строка");
  EXPECT_FALSE(reader_.Library().PublishScript(Confirm("Цепочки")));
  EXPECT_THAT(reader_.Errors(), ElementsAre("Сценарий с таким названием уже существует!\rВыберите другое название."));

  // Replacing keeps the identifier and changes the entry in place.
  const int32_t id = author_.Selected().Id;
  author_.session->Script().AddScriptLine("01.003: третья");
  ASSERT_TRUE(author_.Library().ReplaceScript(Confirm("Цепочки 2", true)));
  EXPECT_EQ(author_.Selected().Id, id);
  EXPECT_EQ(author_.Selected().Title, "Цепочки 2");
  reader_.Library().RefreshScriptLibrary();
  ASSERT_TRUE(reader_.Select("Цепочки 2"));
  EXPECT_EQ(reader_.Library().Cell(reader_.Selected(), 3), "Универсальный");
  EXPECT_FALSE(reader_.Library().DeleteScriptEntry());  // not the reader's: refused before asking

  author_.host.Answers = {true};
  ASSERT_TRUE(author_.Select("Цепочки 2"));
  ASSERT_TRUE(author_.Library().DeleteScriptEntry());
  EXPECT_FALSE(author_.Select("Цепочки 2"));
  author_.Library().RefreshScriptLibrary();
  EXPECT_FALSE(author_.Select("Цепочки 2"));
  EXPECT_THAT(author_.Errors(), IsEmpty());
}

TEST_F(LibraryCatalogTest, AnEntryOnlyItsAuthorSeesStaysOutOfOtherLists) {
  ASSERT_TRUE(author_.Library().PublishScript(Confirm("Черновик", false, false)));
  reader_.Library().SetFilterIndex(1);  // "Все, включая скрытые"
  EXPECT_FALSE(reader_.Select("Черновик"));
  author_.Library().SetFilterIndex(3);  // "Только мои"
  EXPECT_TRUE(author_.Select("Черновик"));
}

TEST_F(LibraryCatalogTest, AnUpdateComesFromTheServicesFiles) {
  const std::string package =
      kelmora::testing::MakeArchive("tar.gz", {{"Kelmora_4r32", "new program"}, {"kelmora", "new cli"}});
  const auto updates = server_.FilesDir() / "autoupdates";
  for (const char* folder : {"packages", "UpdDescr"}) std::filesystem::create_directories(updates / folder);
  std::filesystem::create_directories(author_.dir / "program");
  support::WriteFileAtomic(updates / "packages" / "update.tar.gz", package);
  const uint32_t crc = [&] {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : package) {
      c ^= b;
      for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
  }();
  support::WriteFileAtomic(
      updates / "Orvane_AU.cfg",
      support::Utf8ToCp1251(fmt::format("[Kelmora_4r32]\r\nVerId=0.1.0.9\r\nDescription=Сборка 9\r\nDownloadUrl={}/files/autoupdates/packages/"
                  "update.tar.gz\r\nOriginalFileName=update.tar.gz\r\nChecksumCRC32={:08x}\r\n",
                  server_.BaseUrl(), crc)));
  support::WriteFileAtomic(updates / "UpdDescr" / "UpdDescr_0.1.0.9.txt", support::Utf8ToCp1251("Исправления\r\n"));
  support::WriteFileAtomic(author_.dir / "program" / "Kelmora_4r32", "old program");

  std::vector<std::string> notes;
  // The source defaults to the catalogue's description.
  EXPECT_EQ(author_.session->CheckForUpdate({}, false,
                                            [&](const std::string&, const net::TUpdateVersionInfo& offer,
                                                const std::vector<std::string>& n) {
                                              EXPECT_EQ(offer.Description, "Сборка 9");
                                              notes = n;
                                              return true;
                                            }),
            net::UpdateInstalled);
  EXPECT_THAT(notes, ElementsAre("Исправления"));
  EXPECT_EQ(support::ReadFileText(author_.dir / "program" / "Kelmora_4r32"), "new program");
  EXPECT_EQ(support::ReadFileText(author_.dir / "program" / "kelmora"), "new cli");
  EXPECT_THAT(author_.host.MessagesOf(MessageKind::Warning),
              ElementsAre("Установка обновления \"Сборка 9\" успешно выполнена.\r\rДля завершения установки "
                          "необходимо перезапустить программу!"));
  EXPECT_TRUE(author_.session->IsIdle());
  EXPECT_FALSE(author_.host.ProgressOpen);
}

TEST_F(LibraryCatalogTest, TheStartUpCheckIsSilentAndFollowsAutoUpdates) {
  // No description on the service: the silent check shows nothing.
  EXPECT_EQ(author_.session->StartupUpdateCheck([](auto&&...) { return true; }), net::UpdateFailed);
  EXPECT_THAT(author_.host.Messages, IsEmpty());
  author_.session->MainView().AutoUpdates = false;
  int asked = 0;
  EXPECT_EQ(author_.session->StartupUpdateCheck([&](auto&&...) { return ++asked > 0; }), net::UpdateNone);
  EXPECT_EQ(asked, 0);
}

}  // namespace
}  // namespace kelmora::shell
