#pragma once
// Proxy selection for the shared client: no proxy, a manual one, or one chosen automatically from
// a public proxy-list service, with the candidates walked one by one as requests fail.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lottery/types.h"
#include "net/http_client.h"

namespace kelmora::net {

using TProxy = lottery::TProxy;

// Protocols and anonymity levels asked of the proxy-list service, as bit sets.
enum ProxyProtocol : unsigned { ProtocolHttp = 1, ProtocolHttps = 2, ProtocolSocks4 = 4, ProtocolSocks5 = 8 };
inline constexpr unsigned AnonymityLevel(int level) { return 1u << (level - 1); }  // levels 1..4

struct TProxyQuery {
  unsigned Protocols = 0;
  unsigned AnonymityLevels = 0;
  int WantedCount = 30;
  int MaxResponseMs = 0;   // 0: no limit
  int MinUptime = 0;       // 0: no limit
  int Port = 0;            // 0: any port
  std::string Countries;   // words separated by "," or blanks
};

// A full page of the service has this many rows; a shorter one is the last.
inline constexpr int ProxyPageRows = 15;
// A service that keeps sending full pages of proxies that do not fit ends the search here.
inline constexpr int MaxProxyPages = 20;

// The parameters of the automatic choice for a target: https only for an "https://" target, else
// http and https; no anonymity filter; 30 wanted; 10 ms response; uptime 75; any port or country.
TProxyQuery AutoProxyQuery(std::string_view target_url);
// The query of one page (1, 2, ...): the parts joined by "&", each only when it applies.
std::string ProxyListQuery(const TProxyQuery& query, int page);
// The address of one page: the root, "?" and the query (the bare root for an empty query).
std::string ProxyListPageUrl(std::string_view root, const TProxyQuery& query, int page);

struct TProxyPage {
  std::vector<std::string> Entries;  // "host:port" of the rows whose port fits
  int Rows = 0;                      // every row of the table, added or not
};
// Reads one page of the service. Throws support::Error when a start marker has no end marker or a
// port offset is not a number; a missing start marker just yields nothing.
TProxyPage ParseProxyListPage(std::string_view html, int port);

using TPageFetcher = std::function<std::string(const std::string& url)>;
// Empties the list, then asks pages 1, 2, ... until it holds the wanted count or a page has fewer
// than ProxyPageRows rows (at most MaxProxyPages pages). Failures propagate.
void QueryProxyList(std::vector<std::string>& list, std::string_view root, const TProxyQuery& query,
                    const TPageFetcher& fetch);

// How the selection talks to the user: the wait message and error boxes.
struct TProxyUi {
  std::function<void(const std::string&)> ShowWait;
  std::function<void(const std::string&)> ShowError;
};

// The selection over the proxy settings and the shared client; both are the caller's and outlive it.
class ProxySelector {
 public:
  // `list_root`: the proxy-list service's address; `fetch` asks it for one page.
  ProxySelector(TProxy& proxy, HttpClient& client, TProxyUi ui, std::string list_root, TPageFetcher fetch);

  // Sets the shared client's proxy for the next request and shows the wait message; false when no
  // request should be made (the automatic choice failed, and said why).
  bool ApplyProxy(const std::string& url);
  // The first candidate (searching first when there is none) becomes the proxy; false after a
  // reported failure.
  bool SelectAutoProxy(const std::string& url);
  // Fills the candidates from the service; false after a reported failure (none found included).
  bool FetchProxyList(const std::string& url);
  // Mode 1 only: forgets the proxy that just failed and drops it from the candidates; true when
  // another may be tried (candidates left, or no search made yet).
  bool NextProxyCandidate();
  void ReleaseProxyCandidates() { proxy_.Candidates.reset(); }
  // ApplyProxy, then a GET with the shared client into the file; returns the body. Throws when the
  // request fails or no proxy could be chosen.
  std::string DownloadWithProxy(const std::string& url, const std::filesystem::path& path);

 private:
  TProxy& proxy_;
  HttpClient& client_;
  TProxyUi ui_;
  std::string list_root_;
  TPageFetcher fetch_;
};

}  // namespace kelmora::net
