// The results download through the Session: the driver's retries and proxies, the start-up step,
// the proxy search alone, and the configuration writes of the network settings.

#include <sys/stat.h>

#include <atomic>

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/http_test_server.h"
#include "common/proxy_list_page.h"
#include "common/temp_dir.h"
#include "lottery/comb_ops.h"
#include "lottery/draws.h"
#include "shell/network_state.h"
#include "shell/recording_host.h"
#include "shell/session.h"
#include "support/files.h"
#include "support/ini_file.h"

namespace kelmora::shell {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The operator's file: header, then newest first (date, number, c, d, h, s).
constexpr const char* ResultsCsv =
    "Date,Number,c,d,h,s\r\n"
    "05/11/2023,1003,A,K,Q,J\r\n"
    "04/11/2023,1002,7,8,9,10\r\n"
    "03/11/2023,1001,8,8,8,8\r\n"
    "02/11/2023,1000,9,9,9,9\r\n"
    "01/11/2023,999,10,10,10,10\r\n";

class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& s = server_.Server();
    s.Get("/results", [this](const httplib::Request&, httplib::Response& res) {
      ++results_hits_;
      res.set_content(ResultsCsv, "application/octet-stream");
    });
    s.Get("/broken", [this](const httplib::Request&, httplib::Response& res) {
      ++broken_hits_;
      res.status = 500;
      res.set_content("down", "text/plain");
    });
    s.Get("/stall", [this](const httplib::Request&, httplib::Response& res) {
      for (int i = 0; i < 300 && !release_; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      res.set_content(ResultsCsv, "application/octet-stream");
    });
    s.Get("/list", [this](const httplib::Request& req, httplib::Response& res) {
      list_queries_.push_back(req.target);
      res.set_content(list_page_, "text/html");
    });
    server_.Start();
  }
  void TearDown() override { release_ = true; }

  void WriteDraws(int32_t first, int32_t last) {
    lottery::TDrawsArray draws;
    for (int32_t n = first; n <= last; ++n) draws.push_back({n, lottery::MakeComb(7, 8, 9, 10), "01/01/2023"});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
  }
  void WriteConfig(const std::string& text) { support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini", text); }
  std::string ConfigWithResults(const std::string& path, const std::string& more = "") {
    return fmt::format("[NETWORK]\r\nResultsUrl={}\r\nProxyListUrl={}\r\n{}", server_.Url(path), server_.Url("/list"), more);
  }
  std::unique_ptr<Session> Open() {
    SessionOptions options;
    options.DataDir = dir_.Path();
    auto session = std::make_unique<Session>(host_, options);
    session->Create();
    session->Initialise();
    host_.Clear();
    return session;
  }
  std::vector<int32_t> Numbers(const Session& s) {
    std::vector<int32_t> out;
    for (const auto& d : s.Draws()) out.push_back(d.Number);
    return out;
  }

  testing::TempDir dir_;
  RecordingHost host_;
  testing::TestHttpServer server_;
  std::atomic<int> results_hits_{0}, broken_hits_{0};
  std::atomic<bool> release_{false};
  std::string list_page_;
  std::vector<std::string> list_queries_;
};

TEST_F(DownloadTest, TheArchiveGainsExactlyTheNewDrawsOldestFirst) {
  WriteDraws(998, 1000);
  WriteConfig(ConfigWithResults("/results"));
  auto s = Open();
  EXPECT_EQ(s->DownloadDraws(), 3);
  EXPECT_THAT(Numbers(*s), ElementsAre(998, 999, 1000, 1001, 1002, 1003));
  const auto& newest = s->Draws().back();
  EXPECT_EQ(newest.Values, lottery::MakeComb(11, 12, 13, 14));
  EXPECT_EQ(newest.Date, "05/11/2023");
  EXPECT_TRUE(host_.Questions.empty());
  EXPECT_TRUE(host_.Messages.empty());
  EXPECT_EQ(lottery::LoadDrawsFile(dir_ / "Kelmora_4r32.ldr").size(), 6u) << "the archive is saved";
  EXPECT_EQ(support::ReadFileText(dir_ / "chance_results.csv"), ResultsCsv);
  EXPECT_EQ(host_.WaitTexts.front(), "Загрузка архива тиражей...");
  EXPECT_EQ(host_.WaitTexts.back(), "") << "the wait window is closed";
  EXPECT_TRUE(s->IsIdle());

  // Again: nothing new, nothing asked, nothing written.
  EXPECT_EQ(s->DownloadDraws(), 0);
  EXPECT_EQ(s->Draws().size(), 6u);
}

TEST_F(DownloadTest, AnEmptyArchiveTakesTheWholeFile) {
  WriteConfig(ConfigWithResults("/results"));
  auto s = Open();
  EXPECT_EQ(s->DownloadDraws(), 5);
  EXPECT_THAT(Numbers(*s), ElementsAre(999, 1000, 1001, 1002, 1003));
}

TEST_F(DownloadTest, AFailedFetchAsksToRetryAndLeavesTheArchiveByteIdentical) {
  WriteDraws(998, 1000);
  WriteConfig(ConfigWithResults("/broken"));
  support::WriteFileAtomic(dir_ / "chance_results.csv", std::string("old results"));
  const std::string before = support::ReadFileText(dir_ / "Kelmora_4r32.ldr");
  auto s = Open();
  host_.Answers = {true, false};
  EXPECT_EQ(s->DownloadDraws(), -1);
  EXPECT_EQ(broken_hits_, 2) << "Yes tries again, No stops";
  ASSERT_EQ(host_.Questions.size(), 2u);
  EXPECT_EQ(host_.Questions[0].Kind, MessageKind::Error);
  EXPECT_EQ(host_.Questions[0].Text,
            "Ошибка загрузки архива тиражей с сайта: \"Сервер ответил ошибкой: HTTP/1.1 500 Internal Server "
            "Error\"\r\rПовторить попытку?");
  EXPECT_EQ(support::ReadFileText(dir_ / "Kelmora_4r32.ldr"), before);
  EXPECT_EQ(support::ReadFileText(dir_ / "chance_results.csv"), "old results");
  EXPECT_EQ(s->Draws().size(), 3u);
  EXPECT_TRUE(s->IsIdle());
  EXPECT_EQ(host_.WaitTexts.back(), "");
}

TEST_F(DownloadTest, WithoutTheQuestionAFailureIsReportedOnce) {
  WriteConfig(ConfigWithResults("/broken"));
  auto s = Open();
  EXPECT_EQ(s->DownloadDraws({}, false), -1);
  EXPECT_EQ(broken_hits_, 1);
  EXPECT_TRUE(host_.Questions.empty());
  EXPECT_THAT(host_.MessagesOf(MessageKind::Error),
              ElementsAre("Ошибка загрузки архива тиражей с сайта: \"Сервер ответил ошибкой: HTTP/1.1 500 Internal "
                          "Server Error\""));
}

TEST_F(DownloadTest, ACancelInTheWaitWindowEndsTheDownloadWithoutAQuestion) {
  WriteConfig(ConfigWithResults("/stall"));
  auto s = Open();
  host_.CancelWait = true;
  EXPECT_EQ(s->DownloadDraws(), -1);
  EXPECT_TRUE(host_.Questions.empty());
  EXPECT_TRUE(s->Draws().empty());
}

TEST_F(DownloadTest, AutomaticModeTriesTheStoredProxyFirstThenTheFetchedList) {
  testing::TestProxy proxy(ResultsCsv);
  const int dead = testing::ClosedPort();
  // The list offers the working proxy: base 0 plus its port as the offset.
  list_page_ = testing::Page({testing::Row("127.0.0.1", proxy.Port())}, "0");
  WriteDraws(998, 1000);
  WriteConfig(ConfigWithResults("/results", fmt::format("[PROXY]\r\nProxyMode=1\r\nProxyServer=127.0.0.1\r\n"
                                                        "ProxyPort={}\r\n",
                                                        dead)));
  auto s = Open();
  EXPECT_EQ(s->DownloadDraws(), 3);
  EXPECT_TRUE(host_.Questions.empty());
  EXPECT_EQ(results_hits_, 0) << "every request went through a proxy";
  EXPECT_THAT(host_.WaitTexts, Contains(fmt::format("Загрузка архива тиражей...\r\rПопытка 1, proxy 127.0.0.1 : {}", dead)));
  EXPECT_THAT(host_.WaitTexts, Contains("Загрузка архива тиражей...\r\rПоиск proxy-серверов"));
  EXPECT_THAT(host_.WaitTexts,
              Contains(fmt::format("Загрузка архива тиражей...\r\rПопытка 2, proxy 127.0.0.1 : {}", proxy.Port())));
  EXPECT_THAT(list_queries_, ElementsAre("/list?protocol=http&protocol=https&min_uptime=75&max_response_time=0"));
  ASSERT_EQ(proxy.Heads().size(), 1u);
  EXPECT_EQ(proxy.Heads()[0].rfind(fmt::format("GET {}", server_.Url("/results")), 0), 0u);

  // The proxy that worked is kept for the next start; the candidates are not.
  support::IniFile ini(dir_ / "Kelmora_4r32.ini");
  ini.Load();
  EXPECT_EQ(ini.ReadInt("PROXY", "ProxyPort", 0), proxy.Port());
  EXPECT_EQ(ini.ReadInt("PROXY", "ProxyMode", 0), 1);
  EXPECT_TRUE(s->Settings().Proxy.Saved);
  EXPECT_FALSE(s->Settings().Proxy.Candidates.has_value());
}

TEST_F(DownloadTest, NoResultsAddressSaysWhichSettingIsMissingAndTheStartUpSkipsSilently) {
  auto s = Open();
  EXPECT_EQ(s->DownloadDraws(), -1);
  EXPECT_THAT(host_.MessagesOf(MessageKind::Error), ElementsAre(NoResultsUrlText));
  EXPECT_THAT(std::string(NoResultsUrlText), HasSubstr("ResultsUrl"));
  host_.Clear();
  s->MainView().DownloadDrawsOnStart = 0;
  s->DownloadDrawsOnStart();
  EXPECT_TRUE(host_.Questions.empty());
  EXPECT_TRUE(host_.Messages.empty());
}

TEST_F(DownloadTest, TheStartUpStepFollowsDownloadDrawsOnStart) {
  const struct {
    int Mode;
    std::deque<bool> Answers;
    int Questions;
    int Fetches;
  } cases[] = {{0, {true}, 1, 1}, {0, {false}, 1, 0}, {1, {}, 0, 1}, {2, {}, 0, 0}};
  WriteConfig(ConfigWithResults("/results"));
  for (const auto& c : cases) {
    std::filesystem::remove(dir_ / "Kelmora_4r32.ldr");
    results_hits_ = 0;
    auto s = Open();
    s->MainView().DownloadDrawsOnStart = c.Mode;
    host_.Answers = c.Answers;
    s->DownloadDrawsOnStart();
    EXPECT_EQ(static_cast<int>(host_.Questions.size()), c.Questions) << c.Mode;
    EXPECT_EQ(results_hits_, c.Fetches) << c.Mode;
    if (c.Questions) {
      EXPECT_EQ(host_.Questions[0].Text,
                "Обновить список тиражей?\r\rДля выполнения обновления необходимо действующее подключение к сети "
                "Интернет.");
      EXPECT_EQ(host_.Questions[0].Kind, MessageKind::Confirmation);
    }
    s.reset();
  }
}

TEST_F(DownloadTest, TheProxySearchAloneListsTheCandidates) {
  list_page_ = testing::Page({testing::Row("10.1.2.3", 80), testing::Row("10.9.8.7", 81)}, "3000");
  WriteConfig(ConfigWithResults("/results"));
  auto s = Open();
  EXPECT_THAT(s->FindProxies(true).value_or(std::vector<std::string>{}), ElementsAre("10.1.2.3:3080", "10.9.8.7:3081"));
  EXPECT_THAT(list_queries_, ElementsAre("/list?protocol=https&min_uptime=75&max_response_time=0"));
  list_page_ = testing::Page({});
  EXPECT_FALSE(s->FindProxies(false).has_value());
  EXPECT_THAT(host_.MessagesOf(MessageKind::Error),
              ElementsAre("Ошибка получения списка proxy-серверов!\r\rНе найдено ни одного proxy-сервера с заданными "
                          "параметрами"));
}

// ---- configuration writes ----

mode_t ModeOf(const std::filesystem::path& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 0777;
}

TEST_F(DownloadTest, TheConfigurationFileIsWrittenReadableByItsOwnerOnly) {
  WriteConfig("[PROXY]\r\nProxyServer=p\r\n");
  ::chmod((dir_ / "Kelmora_4r32.ini").c_str(), 0644);
  auto s = Open();
  lottery::TProxy proxy = s->Settings().Proxy;
  proxy.Password = "secret";
  ASSERT_TRUE(s->SetProxy(proxy, false));
  EXPECT_EQ(ModeOf(dir_ / "Kelmora_4r32.ini"), 0600u);
  std::filesystem::remove(dir_ / "Kelmora_4r32.ini");
  ASSERT_TRUE(s->SetConfigValue("network", "resultsurl", "https://results.test/file.csv"));
  EXPECT_EQ(ModeOf(dir_ / "Kelmora_4r32.ini"), 0600u) << "a new file too";
}

TEST_F(DownloadTest, ConfigSetWritesKnownKeysAndRefusesWhatCannotBeRead) {
  auto s = Open();
  ASSERT_TRUE(s->SetConfigValue("network", "resultsurl", "https://results.test/file.csv"));
  EXPECT_EQ(s->Settings().Network.ResultsUrl, "https://results.test/file.csv");
  support::IniFile ini(dir_ / "Kelmora_4r32.ini");
  ini.Load();
  ASSERT_EQ(ini.Sections().size(), 1u);
  EXPECT_EQ(ini.Sections()[0].Name, "NETWORK") << "the key's own spelling";
  EXPECT_EQ(ini.Sections()[0].Entries[0].Key, "ResultsUrl");
  const std::string before = support::ReadFileText(dir_ / "Kelmora_4r32.ini");

  EXPECT_FALSE(s->SetConfigValue("NETWORK", "NoSuchKey", "1"));
  EXPECT_FALSE(s->SetConfigValue("GLOBAL", "ChannelSize", "many"));
  EXPECT_FALSE(s->SetConfigValue("GLOBAL", "ChannelSize", "99"));
  const auto errors = host_.MessagesOf(MessageKind::Error);
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_THAT(errors[0], HasSubstr("Неизвестный параметр конфигурации: [NETWORK] NoSuchKey"));
  EXPECT_THAT(errors[1], HasSubstr("Ошибка записи в файл конфигурации!\r\r"));
  EXPECT_THAT(errors[2], HasSubstr("Некорректный размер канала: 99"));
  EXPECT_EQ(support::ReadFileText(dir_ / "Kelmora_4r32.ini"), before);
  EXPECT_EQ(s->Settings().Config.ChannelSize, 2);
}

TEST_F(DownloadTest, TheInstallationIdentifierIsMadeOnceAndKept) {
  auto s = Open();
  const std::string id = s->UserIdentity().InstallId;
  EXPECT_EQ(id.size(), 38u);
  EXPECT_EQ(s->UserIdentity().InstallId, id);
  ASSERT_TRUE(s->SetUserIdentity("Иван", "ivan@mail.test"));
  s.reset();
  auto again = Open();
  const net::TUserIdentity identity = again->UserIdentity();
  EXPECT_EQ(identity.InstallId, id);
  EXPECT_EQ(identity.UserName, "Иван");
  EXPECT_EQ(identity.UserMail, "ivan@mail.test");
  EXPECT_EQ(identity.AppId, net::AppGuid);
  EXPECT_EQ(identity.AppVer, KELMORA_VERSION);
}

}  // namespace
}  // namespace kelmora::shell
