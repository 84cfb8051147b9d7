#include "net/proxy.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fmt/format.h>

#include "common/proxy_list_page.h"

namespace kelmora::net {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using kelmora::testing::Page;
using kelmora::testing::Row;

std::vector<std::string> Rows(int count, int first_offset = 0) {
  std::vector<std::string> rows;
  for (int i = 0; i < count; ++i) rows.push_back(Row(fmt::format("10.0.{}.{}", i / 250, i % 250 + 1), first_offset + i));
  return rows;
}

std::string FailureOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(no failure)";
}

TEST(ProxyListPage, RowsGiveAddressAndBasePlusOffset) {
  const auto page = ParseProxyListPage(Page({Row("192.168.100.7", 80), Row("1.2.3.4", 0)}, "3000"), 0);
  EXPECT_EQ(page.Rows, 2);
  EXPECT_THAT(page.Entries, ElementsAre("192.168.100.7:3080", "1.2.3.4:3000"));
}

TEST(ProxyListPage, EdgeCases) {
  const struct {
    const char* What;
    std::string Html;
    int Port;
    int Rows;
    std::vector<std::string> Entries;
    const char* Failure;  // nullptr: no failure
  } cases[] = {
      {"no table body: no rows", "<html><table></table></html>", 0, 0, {}, nullptr},
      {"a base that is not a number counts as 0", Page({Row("1.1.1.1", 81)}, "x1"), 0, 1, {"1.1.1.1:81"}, nullptr},
      {"no hidden base at all", fmt::format("<tbody>{}</tbody>", Row("1.1.1.1", 82)), 0, 1, {"1.1.1.1:82"}, nullptr},
      {"the requested port filters, every row counts", Page({Row("1.1.1.1", 1), Row("2.2.2.2", 2), Row("3.3.3.3", 1)}),
       8001, 3, {"1.1.1.1:8001", "3.3.3.3:8001"}, nullptr},
      {"a row without a script counts and gives nothing", Page({"<tr><td>реклама</td></tr>", Row("4.4.4.4", 4)}), 0, 2,
       {"4.4.4.4:8004"}, nullptr},
      {"a start marker without its end marker fails", fmt::format("<tbody><tr>{}", Row("1.1.1.1", 1)), 0, 0, {},
       "Не удалось найти пару идентификаторов \"<tbody>\" - \"</tbody>\" в тексте"},
      {"a script without its end marker fails", Page({"<tr><td><script>var ip = '1'.split"}), 0, 0, {},
       "Не удалось найти пару идентификаторов \"<script>\" - \"</script>\""},
      {"a port offset that is not a number fails", Page({Row("1.1.1.1", 0, "abc")}), 0, 0, {},
       "\"abc\" не является целым числом"},
  };
  for (const auto& c : cases) {
    if (c.Failure) {
      EXPECT_THAT(FailureOf([&] { ParseProxyListPage(c.Html, c.Port); }), HasSubstr(c.Failure)) << c.What;
      continue;
    }
    const auto page = ParseProxyListPage(c.Html, c.Port);
    EXPECT_EQ(page.Rows, c.Rows) << c.What;
    EXPECT_EQ(page.Entries, c.Entries) << c.What;
  }
}

TEST(ProxyListQuery, PartsInTheirOrderEachOnlyWhenItApplies) {
  TProxyQuery all;
  all.Protocols = ProtocolSocks5 | ProtocolHttp | ProtocolSocks4 | ProtocolHttps;
  all.AnonymityLevels = AnonymityLevel(3) | AnonymityLevel(1);
  all.Countries = " RU, UA  DE,";
  all.MinUptime = 50;
  all.MaxResponseMs = 2500;
  const struct {
    TProxyQuery Query;
    int Page;
    const char* Expected;
  } cases[] = {
      {all, 3,
       "protocol=http&protocol=https&protocol=socks4&protocol=socks5&anonlvl=1&anonlvl=3&country=RU&country=UA&"
       "country=DE&min_uptime=50&max_response_time=2&offset=30"},
      {TProxyQuery{}, 1, ""},
      {TProxyQuery{}, 2, "offset=15"},
      // The automatic parameters: 10 ms divided by 1000 is 0, and still sent.
      {AutoProxyQuery("https://results.example/file"), 1, "protocol=https&min_uptime=75&max_response_time=0"},
      {AutoProxyQuery("HTTPS://results.example/file"), 1, "protocol=https&min_uptime=75&max_response_time=0"},
      {AutoProxyQuery("http://results.example/file"), 1, "protocol=http&protocol=https&min_uptime=75&max_response_time=0"},
  };
  for (const auto& c : cases) EXPECT_EQ(ProxyListQuery(c.Query, c.Page), c.Expected);
  EXPECT_EQ(ProxyListPageUrl("http://list.test/", TProxyQuery{}, 1), "http://list.test/");
  EXPECT_EQ(ProxyListPageUrl("http://list.test/", TProxyQuery{}, 2), "http://list.test/?offset=15");
}

// A service with the given pages; records the addresses asked.
struct FakeService {
  std::vector<std::string> Pages;
  std::vector<std::string> Asked;
  TPageFetcher Fetcher() {
    return [this](const std::string& url) {
      Asked.push_back(url);
      const size_t i = Asked.size() - 1;
      return i < Pages.size() ? Pages[i] : Page({});
    };
  }
};

TEST(QueryProxyList, TwelveRowsEndThePagingAtOnce) {
  FakeService service{{Page(Rows(12))}, {}};
  std::vector<std::string> list = {"stale:1"};
  QueryProxyList(list, "http://list.test/", AutoProxyQuery("http://x"), service.Fetcher());
  EXPECT_EQ(list.size(), 12u);
  EXPECT_EQ(list.front(), "10.0.0.1:8000");
  EXPECT_THAT(service.Asked, ElementsAre("http://list.test/?protocol=http&protocol=https&min_uptime=75&max_response_time=0"));
}

TEST(QueryProxyList, AFullPageAsksTheNextWithItsOffsetUntilEnoughAreFound) {
  FakeService service{{Page(Rows(15)), Page(Rows(15, 15)), Page(Rows(15, 30))}, {}};
  std::vector<std::string> list;
  QueryProxyList(list, "http://list.test/", AutoProxyQuery("https://x"), service.Fetcher());
  EXPECT_EQ(list.size(), 30u) << "two full pages give the 30 wanted";
  ASSERT_EQ(service.Asked.size(), 2u);
  EXPECT_EQ(service.Asked[1], "http://list.test/?protocol=https&min_uptime=75&max_response_time=0&offset=15");
}

TEST(QueryProxyList, FullPagesWithoutAFittingPortStopAtThePageLimit) {
  FakeService service;
  for (int i = 0; i < MaxProxyPages + 5; ++i) service.Pages.push_back(Page(Rows(15)));
  TProxyQuery q;
  q.Port = 1;
  std::vector<std::string> list;
  QueryProxyList(list, "http://list.test/", q, service.Fetcher());
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(service.Asked.size(), static_cast<size_t>(MaxProxyPages));
}

// ---- the selection ----

class ProxySelectorTest : public ::testing::Test {
 protected:
  ProxySelector Make(std::string root = "http://list.test/") {
    TProxyUi ui;
    ui.ShowWait = [this](const std::string& t) { waits_.push_back(t); };
    ui.ShowError = [this](const std::string& t) { errors_.push_back(t); };
    return ProxySelector(proxy_, client_, ui, std::move(root), service_.Fetcher());
  }

  TProxy proxy_;
  HttpClient client_;
  FakeService service_;
  std::vector<std::string> waits_, errors_;
};

TEST_F(ProxySelectorTest, AutomaticModeTriesTheStoredServerFirstThenTheFetchedList) {
  proxy_.Mode = 1;
  proxy_.Server = "stored.test";
  proxy_.Port = 3128;
  proxy_.Saved = true;
  service_.Pages = {Page({Row("1.1.1.1", 1), Row("2.2.2.2", 2)})};
  auto selector = Make();

  EXPECT_TRUE(selector.ApplyProxy("https://results.test/file"));
  EXPECT_EQ(client_.Proxy().Server, "stored.test");
  EXPECT_EQ(client_.Proxy().Port, 3128);
  EXPECT_TRUE(service_.Asked.empty()) << "no search while a stored proxy is there";
  EXPECT_EQ(waits_.back(), "Загрузка архива тиражей...\r\rПопытка 1, proxy stored.test : 3128");

  EXPECT_TRUE(selector.NextProxyCandidate()) << "no search yet: the next attempt searches";
  EXPECT_TRUE(proxy_.Server.empty());
  EXPECT_FALSE(proxy_.Saved);
  client_.Attempt = 2;
  EXPECT_TRUE(selector.ApplyProxy("https://results.test/file"));
  EXPECT_EQ(service_.Asked.size(), 1u);
  EXPECT_EQ(client_.Proxy().Server, "1.1.1.1");
  EXPECT_EQ(client_.Proxy().Port, 8001);
  EXPECT_THAT(waits_, ::testing::Contains("Загрузка архива тиражей...\r\rПоиск proxy-серверов"));
  EXPECT_EQ(waits_.back(), "Загрузка архива тиражей...\r\rПопытка 2, proxy 1.1.1.1 : 8001");

  EXPECT_TRUE(selector.NextProxyCandidate());
  EXPECT_TRUE(selector.ApplyProxy("https://results.test/file"));
  EXPECT_EQ(client_.Proxy().Server, "2.2.2.2");
  EXPECT_EQ(service_.Asked.size(), 1u) << "the list is not asked again while it has entries";
  EXPECT_FALSE(selector.NextProxyCandidate()) << "the last candidate failed";
  selector.ReleaseProxyCandidates();
  EXPECT_FALSE(proxy_.Candidates.has_value());
  EXPECT_TRUE(errors_.empty());
}

TEST_F(ProxySelectorTest, ManualAndNoProxy) {
  proxy_.Mode = 2;
  proxy_.Server = "manual.test";
  proxy_.Port = 8080;
  proxy_.Username = "u";
  proxy_.Password = "p";
  auto selector = Make();
  EXPECT_TRUE(selector.ApplyProxy("http://results.test/"));
  EXPECT_EQ(client_.Proxy().Server, "manual.test");
  EXPECT_EQ(client_.Proxy().Username, "u");
  EXPECT_EQ(client_.Proxy().Password, "p");
  EXPECT_FALSE(selector.NextProxyCandidate()) << "only the automatic mode has candidates";
  EXPECT_EQ(proxy_.Server, "manual.test");

  proxy_.Mode = 0;
  EXPECT_TRUE(selector.ApplyProxy("http://results.test/"));
  EXPECT_TRUE(client_.Proxy().Server.empty());
  EXPECT_EQ(waits_.back(), "Загрузка архива тиражей...");
}

TEST_F(ProxySelectorTest, FailuresOfTheAutomaticChoiceAreReportedAndNoRequestIsMade) {
  const struct {
    const char* What;
    std::vector<std::string> Pages;
    std::string Root;
    const char* Error;
  } cases[] = {
      {"nothing found", {Page({})}, "http://list.test/",
       "Ошибка получения списка proxy-серверов!\r\rНе найдено ни одного proxy-сервера с заданными параметрами"},
      {"a broken page", {"<tbody>"}, "http://list.test/", "Ошибка получения списка proxy-серверов!\r\rНе удалось найти пару"},
      {"no service address", {}, "", "Ошибка получения списка proxy-серверов!\r\rНе задан адрес сервиса списков proxy-серверов"},
  };
  for (const auto& c : cases) {
    proxy_ = TProxy{};
    proxy_.Mode = 1;
    errors_.clear();
    service_ = FakeService{c.Pages, {}};
    client_.SetProxy({"left.over", 1, "", ""});
    auto selector = Make(c.Root);
    EXPECT_FALSE(selector.ApplyProxy("http://results.test/")) << c.What;
    EXPECT_TRUE(client_.Proxy().Server.empty()) << c.What;
    EXPECT_EQ(waits_.back(), "Загрузка архива тиражей...") << c.What;
    ASSERT_EQ(errors_.size(), 1u) << c.What;
    EXPECT_EQ(errors_[0].rfind(c.Error, 0), 0u) << errors_[0];
    EXPECT_FALSE(selector.NextProxyCandidate()) << "a search that found nothing leaves nothing to try";
    EXPECT_THAT(FailureOf([&] { selector.DownloadWithProxy("http://results.test/", "/nonexistent/x"); }),
                HasSubstr("Proxy-сервер не выбран"));
  }
}

TEST_F(ProxySelectorTest, ACandidateWithABadPortFailsTheChoice) {
  proxy_.Mode = 1;
  proxy_.Candidates = std::vector<std::string>{"host.test:80x"};
  auto selector = Make();
  EXPECT_FALSE(selector.ApplyProxy("http://results.test/"));
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], "Ошибка автоматического выбора proxy сервера!\r\r\"80x\" не является целым числом");
}

}  // namespace
}  // namespace kelmora::net
