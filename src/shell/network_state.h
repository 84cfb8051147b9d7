#pragma once
// The Session's network part: the shared HTTP client of the results download (cookies, attempt
// counter, proxy) and the settings every request of the program is made with.

#include "lottery/types.h"
#include "net/http_client.h"
#include "net/proxy.h"
#include "shell/host.h"
#include "shell/network_settings.h"

namespace kelmora::shell {

// The shared client's limits for the results download.
inline constexpr int DownloadConnectTimeoutMs = 5000;
inline constexpr int DownloadReadTimeoutMs = 10000;

class NetworkState {
 public:
  // The proxy settings are the Session's and outlive this object.
  NetworkState(Host& host, lottery::TProxy& proxy);

  net::HttpClient& Client() { return client_; }
  // Settings of a request: the extra CA file, the Host's event pump and the wait window's cancel.
  net::THttpSettings RequestSettings(const TNetworkSettings& settings) const;
  // The proxy selection over the Session's proxy settings and the shared client, asking the
  // configured proxy-list service; wait texts and errors go to the Host.
  net::ProxySelector Selector(const TNetworkSettings& settings);
  // Readies the shared client for the results download: the CA file, the hooks, 5000/10000 ms.
  void PrepareDownload(const TNetworkSettings& settings);

 private:
  Host& host_;
  lottery::TProxy& proxy_;
  net::HttpClient client_;
};

}  // namespace kelmora::shell
