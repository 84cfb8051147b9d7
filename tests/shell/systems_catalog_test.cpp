// The systems catalogue through the Session's client against the catalogue server in the test
// process (HTTPS with a test CA): publishing, the list, downloads with their file times, the
// refresh that downloads changed systems again, and the refusals the server answers with.

#include <gtest/gtest.h>

#include <fmt/format.h>

#include "common/catalog_test_server.h"
#include "common/temp_dir.h"
#include "lottery/draws.h"
#include "shell/recording_host.h"
#include "shell/session.h"
#include "shell/systems_state.h"
#include "support/encoding.h"
#include "support/files.h"
#include "support/platform.h"

namespace kelmora::shell {
namespace {

constexpr int64_t Noon = 1765454400;  // 2025-12-11 12:00:00 UTC

// One user's program on its own data folder, pointed at the server.
struct User {
  User(const testing::CatalogTestServer& server, const char* name, const char* mail) {
    lottery::SaveDrawsFile(dir / "Kelmora_4r32.ldr", {{1, lottery::MakeComb(7, 8, 9, 10), ""}});
    // The configuration file is in Windows-1251, like every file of the folder.
    support::WriteFileAtomic(dir / "Kelmora_4r32.ini",
                             support::Utf8ToCp1251(fmt::format("[NETWORK]\r\nCatalogUrl={}\r\nCaFile={}\r\nUserName={}\r\nUserMail={}\r\n",
                                         server.BaseUrl(), server.CaFile().string(), name, mail)));
    SessionOptions options;
    options.DataDir = dir.Path();
    session = std::make_unique<Session>(host, options);
    session->Create();
    session->Initialise();
    Systems().Show();
  }
  SystemsState& Systems() { return session->Systems(); }
  // Publishes a system of the rows; returns its identifier.
  int32_t Publish(const char* title, int nums, int olap, const std::string& rows, int csize) {
    net::tSystemData data = Systems().NewSystem();
    data.Title = title;
    data.Descr = "описание";
    data.Nums = static_cast<uint8_t>(nums);
    data.Olap = static_cast<uint8_t>(olap);
    data.CSize = csize;
    data.CList = rows;
    const int row = Systems().AddSystem(data);
    return row < 0 ? -1 : Systems().List()[static_cast<size_t>(row)].Id;
  }
  int RowOf(int32_t id) {
    for (size_t i = 0; i < Systems().List().size(); ++i)
      if (Systems().List()[i].Id == id) return static_cast<int>(i);
    return -1;
  }

  testing::TempDir dir;
  RecordingHost host;
  std::unique_ptr<Session> session;
};

const std::string EightA = "01 02 03 04\n05 06 07 08\n01 02 05 06";
const std::string EightB = "1,2,3,4\n5-6-7-8";
const std::string Five = "01 02 03 04\n02 03 04 05";

class SystemsCatalogTest : public ::testing::Test {
 protected:
  void SetUp() override { server_.SetNow(Noon); }
  testing::CatalogTestServer server_;
};

TEST_F(SystemsCatalogTest, AnEmptyCatalogueShowsThePlaceholderRow) {
  User me(server_, "Я", "me@example.org");
  EXPECT_EQ(me.Systems().RefreshSystemsList(), -1);
  ASSERT_EQ(me.Systems().List().size(), 1u);
  EXPECT_EQ(me.Systems().List()[0].Id, -1);
  const std::vector<std::string> cells = {me.Systems().Cell(0, 0), me.Systems().Cell(0, 2), me.Systems().Cell(0, 4),
                                          me.Systems().Cell(0, 7)};
  EXPECT_EQ(cells, (std::vector<std::string>{"Список систем не доступен!", "", "", ""}));
  EXPECT_TRUE(me.host.Messages.empty());
}

TEST_F(SystemsCatalogTest, PublishedSystemsAreListedWithTheirFields) {
  User me(server_, "Я", "Me@Example.org");
  const int32_t a = me.Publish("Восемь", 8, 2, EightA, 3);
  ASSERT_GT(a, 0);
  User other(server_, "Другой", "other@example.org");
  const int32_t five = other.Publish("Пять", 5, 0, Five, 2);
  ASSERT_GT(five, 0);
  server_.SetNow(Noon + 60);
  const int selected = me.Systems().RefreshSystemsList(five);  // the remembered entry is found again
  ASSERT_EQ(selected, me.RowOf(five));
  ASSERT_GE(selected, 0);
  ASSERT_EQ(me.Systems().List().size(), 2u);
  const int row = me.RowOf(a);
  std::vector<std::string> cells;
  for (int c = 0; c < SystemsState::ColumnCount; ++c) cells.push_back(me.Systems().Cell(row, c));
  EXPECT_EQ(cells, (std::vector<std::string>{"Восемь", "Я", "08", "2", "3", support::LocalTimeText(Noon), "", "0",
                                             "", "описание", ""}));
  EXPECT_EQ(me.Systems().List()[static_cast<size_t>(row)].Created, Noon);
  EXPECT_TRUE(me.Systems().IsOwn(row));  // the e-mail compares ignoring case
  EXPECT_FALSE(me.Systems().IsOwn(me.RowOf(five)));
  // Only the author deletes: the catalogue's list stays as it was.
  EXPECT_FALSE(me.Systems().DeleteSystem(me.RowOf(five)));
  EXPECT_EQ(me.host.Messages.back().Text, "Вы можете удалять только свои системы!");
}

TEST_F(SystemsCatalogTest, DownloadingStoresTheRowsWithTheCreationTimeAndReplacesTheSameSize) {
  User me(server_, "Я", "me@example.org");
  const int32_t a = me.Publish("A", 8, 2, EightA, 3);
  const int32_t b = me.Publish("B", 8, 1, EightB, 2);
  me.Systems().RefreshSystemsList();
  ASSERT_EQ(me.Systems().SystemsDownload({me.RowOf(a)}), std::vector<int>{me.RowOf(a)});
  const auto file_a = me.dir.Path() / "Systems" / fmt::format("4-08-2_{:04d}.dat", a);
  ASSERT_TRUE(support::FileExists(file_a));
  EXPECT_EQ(support::ReadFileText(file_a), "01 02 03 04\r\n05 06 07 08\r\n01 02 05 06\r\n");
  EXPECT_EQ(support::FileModifiedTime(file_a), Noon);
  EXPECT_EQ(me.Systems().Cell(me.RowOf(a), 6), "Загружена");

  // The second system for 8 values takes the place of the first.
  ASSERT_EQ(me.Systems().SystemsDownload({me.RowOf(b)}).size(), 1u);
  EXPECT_FALSE(support::FileExists(file_a));
  EXPECT_EQ(me.Systems().Cell(me.RowOf(a), 6), "");
  EXPECT_EQ(me.Systems().Cell(me.RowOf(b), 6), "Загружена");
  EXPECT_EQ(stakes::SystemFilesFor(me.dir.Path() / "Systems", 8).size(), 1u);
  // The catalogue counted the downloads.
  me.Systems().RefreshSystemsList();
  EXPECT_EQ(me.Systems().Cell(me.RowOf(a), 7), "1");
  EXPECT_EQ(me.Systems().Cell(me.RowOf(b), 8), support::LocalTimeText(Noon));
}

TEST_F(SystemsCatalogTest, RefreshDownloadsAgainOnlyWhatChangedInTheCatalogue) {
  User me(server_, "Я", "me@example.org");
  const int32_t a = me.Publish("A", 8, 2, EightA, 3);
  const int32_t five = me.Publish("F", 5, 0, Five, 2);
  me.Systems().RefreshSystemsList();
  ASSERT_EQ(me.Systems().SystemsDownload({me.RowOf(a), me.RowOf(five)}).size(), 2u);
  const auto file_a = me.dir.Path() / "Systems" / fmt::format("4-08-2_{:04d}.dat", a);
  const auto file_f = me.dir.Path() / "Systems" / fmt::format("4-05-0_{:04d}.dat", five);
  // Marked locally with the same time: an unchanged entry is not fetched again.
  for (const auto& file : {file_a, file_f}) {
    support::WriteFileAtomic(file, std::string("local\r\n"));
    support::SetFileTimes(file, Noon);
  }
  me.Systems().RefreshSystemsList();
  EXPECT_EQ(support::ReadFileText(file_a), "local\r\n");

  // A change of the system gives it a new creation time: the refresh fetches it.
  server_.SetNow(Noon + 3600);
  auto changed = *me.Systems().SystemForEdit(me.RowOf(a));
  EXPECT_EQ(changed.CList, "01 02 03 04\r\n05 06 07 08\r\n01 02 05 06");
  changed.CList = "01 02 03 04\n05 06 07 08";
  changed.CSize = 2;
  ASSERT_TRUE(me.Systems().ChangeSystem(me.RowOf(a), changed));
  me.Systems().RefreshSystemsList();
  EXPECT_EQ(support::ReadFileText(file_a), "01 02 03 04\r\n05 06 07 08\r\n");
  EXPECT_EQ(support::FileModifiedTime(file_a), Noon + 3600);
  EXPECT_EQ(support::ReadFileText(file_f), "local\r\n");
  EXPECT_TRUE(me.host.Messages.empty()) << me.host.Messages.front().Text;
}

TEST_F(SystemsCatalogTest, DeletingAnOwnSystemRemovesTheRowAndTheLocalFile) {
  User me(server_, "Я", "me@example.org");
  const int32_t a = me.Publish("A", 8, 2, EightA, 3);
  me.Systems().RefreshSystemsList();
  ASSERT_EQ(me.Systems().SystemsDownload({me.RowOf(a)}).size(), 1u);
  me.host.Answers = {false};
  EXPECT_FALSE(me.Systems().DeleteSystem(me.RowOf(a)));
  EXPECT_EQ(me.host.Questions.back().Text, "Вы действительно хотите удалить систему \"A\"?");
  me.host.Answers = {true};
  ASSERT_TRUE(me.Systems().DeleteSystem(me.RowOf(a)));
  EXPECT_EQ(me.RowOf(a), -1);
  EXPECT_TRUE(stakes::SystemFilesFor(me.dir.Path() / "Systems", 8).empty());
  me.Systems().RefreshSystemsList();
  EXPECT_EQ(me.Systems().List()[0].Id, -1);
}

TEST_F(SystemsCatalogTest, FailuresAreShownInTheSystemsWordsAndChangeNothing) {
  User me(server_, "Я", "me@example.org");
  const int32_t a = me.Publish("A", 8, 2, EightA, 3);
  me.Systems().RefreshSystemsList();
  // The catalogue refuses a row count that does not match: nothing is published.
  EXPECT_EQ(me.Publish("плохая", 8, 2, EightA, 5), -1);
  EXPECT_EQ(me.host.Messages.back().Text.rfind("Ошибка сохранения системы #0!\r\r", 0), 0u);
  // An entry whose row count differs from what the catalogue sends is not stored.
  net::tSystemInfo wrong = me.Systems().List()[static_cast<size_t>(me.RowOf(a))];
  wrong.CSize = 4;
  EXPECT_FALSE(me.Systems().DownloadSystem(wrong));
  EXPECT_EQ(me.host.Messages.back().Text,
            fmt::format("Ошибка загрузки системы #{}!\r\rКоличество скачанных комбинаций ( 3 ) отличается от "
                        "ожидаемого значения ( 4 )",
                        a));
  EXPECT_TRUE(stakes::SystemFilesFor(me.dir.Path() / "Systems", 8).empty());
  // A catalogue address that is not HTTPS is never asked.
  ASSERT_TRUE(me.session->SetConfigValue("NETWORK", "CatalogUrl", fmt::format("http://127.0.0.1:{}", server_.Port())));
  me.Systems().RefreshSystemsList();
  EXPECT_EQ(me.host.Messages.back().Text.rfind("Ошибка загрузки списка систем!\r\rАдрес каталога", 0), 0u);
  EXPECT_TRUE(me.Systems().List().empty());
}

}  // namespace
}  // namespace kelmora::shell
