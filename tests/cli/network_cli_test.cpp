#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "common/http_test_server.h"
#include "common/proxy_list_page.h"
#include "common/temp_dir.h"
#include "lottery/draws.h"
#include "support/files.h"

namespace kelmora::testing {
namespace {

using ::testing::HasSubstr;

constexpr const char* ResultsCsv =
    "Date,Number,c,d,h,s\r\n"
    "05/11/2023,12,A,K,Q,J\r\n"
    "04/11/2023,11,7,8,9,10\r\n"
    "03/11/2023,10,8,8,8,8\r\n";

class NetworkCli : public ::testing::Test {
 protected:
  void SetUp() override {
    server_.Server().Get("/results", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(ResultsCsv, "application/octet-stream");
    });
    server_.Server().Get("/broken", [](const httplib::Request&, httplib::Response& res) {
      res.status = 503;
      res.set_content("busy", "text/plain");
    });
    server_.Server().Get("/list", [this](const httplib::Request& req, httplib::Response& res) {
      queries_.push_back(req.target);
      res.set_content(Page({Row("10.1.1.1", 80), Row("10.2.2.2", 81)}, "8000"), "text/html");
    });
    server_.Start();
  }
  CliResult Run(std::vector<std::string> args) { return RunKelmora(dir_.Path(), std::move(args)); }
  void AddDraws(int first, int last) {
    for (int n = first; n <= last; ++n)
      ASSERT_EQ(Run({"draws", "add", "--number", std::to_string(n), "--values", "7;8;9;10"}).Code, 0);
  }

  TempDir dir_;
  TestHttpServer server_;
  std::vector<std::string> queries_;
};

TEST_F(NetworkCli, DownloadPrintsHowManyDrawsWereAppended) {
  AddDraws(9, 10);
  const auto r = Run({"draws", "download", "--url", server_.Url("/results")});
  EXPECT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, "2\n");
  const auto draws = lottery::LoadDrawsFile(dir_ / "Kelmora_4r32.ldr");
  ASSERT_EQ(draws.size(), 4u);
  EXPECT_EQ(draws[2].Number, 11);
  EXPECT_EQ(draws[3].Number, 12);
  EXPECT_EQ(Run({"draws", "download", "--url", server_.Url("/results")}).Out, "0\n");
}

TEST_F(NetworkCli, TheAddressComesFromTheNetworkSection) {
  const auto missing = Run({"draws", "download"});
  EXPECT_EQ(missing.Code, 1);
  EXPECT_THAT(missing.Err, HasSubstr("ResultsUrl"));
  EXPECT_EQ(missing.Out, "");

  const auto set = Run({"config", "set", "NETWORK", "ResultsUrl", server_.Url("/results")});
  EXPECT_EQ(set.Code, 0) << set.Err;
  EXPECT_THAT(Run({"config", "show"}).Out, HasSubstr(fmt::format("NETWORK\tResultsUrl\t{}\n", server_.Url("/results"))));
  EXPECT_EQ(Run({"draws", "download"}).Out, "3\n");
}

TEST_F(NetworkCli, AFailedFetchExitsOneAndLeavesTheArchiveByteIdentical) {
  AddDraws(9, 10);
  const std::string before = support::ReadFileText(dir_ / "Kelmora_4r32.ldr");
  const auto r = Run({"draws", "download", "--url", server_.Url("/broken")});
  EXPECT_EQ(r.Code, 1);
  EXPECT_EQ(r.Out, "");
  EXPECT_THAT(r.Err, HasSubstr("Ошибка загрузки архива тиражей с сайта: \"Сервер ответил ошибкой: HTTP/1.1 503 "
                               "Service Unavailable\""));
  EXPECT_EQ(support::ReadFileText(dir_ / "Kelmora_4r32.ldr"), before);
}

TEST_F(NetworkCli, ProxyFindPrintsTheCandidatesOnePerLine) {
  ASSERT_EQ(Run({"config", "set", "network", "proxylisturl", server_.Url("/list")}).Code, 0);
  const auto https = Run({"proxy", "find", "--https"});
  EXPECT_EQ(https.Code, 0) << https.Err;
  EXPECT_EQ(https.Out, "10.1.1.1:8080\n10.2.2.2:8081\n");
  EXPECT_EQ(Run({"proxy", "find"}).Out, "10.1.1.1:8080\n10.2.2.2:8081\n");
  EXPECT_THAT(queries_, ::testing::ElementsAre("/list?protocol=https&min_uptime=75&max_response_time=0",
                                               "/list?protocol=http&protocol=https&min_uptime=75&max_response_time=0"));
}

TEST_F(NetworkCli, ProxyFindWithoutAServiceAndConfigSetOfAnUnknownKeyFail) {
  const auto find = Run({"proxy", "find"});
  EXPECT_EQ(find.Code, 1);
  EXPECT_THAT(find.Err, HasSubstr("ProxyListUrl"));
  const auto set = Run({"config", "set", "NETWORK", "Nope", "1"});
  EXPECT_EQ(set.Code, 1);
  EXPECT_THAT(set.Err, HasSubstr("Неизвестный параметр конфигурации: [NETWORK] Nope"));
  EXPECT_FALSE(support::FileExists(dir_ / "Kelmora_4r32.ini"));
  EXPECT_EQ(Run({"config", "set", "NETWORK", "ResultsUrl"}).Code, 2) << "three words are needed";
}

}  // namespace
}  // namespace kelmora::testing
