#include "shell/network_state.h"

namespace kelmora::shell {

NetworkState::NetworkState(Host& host, lottery::TProxy& proxy) : host_(host), proxy_(proxy) {}

net::THttpSettings NetworkState::RequestSettings(const TNetworkSettings& settings) const {
  net::THttpSettings s;
  s.CaFile = settings.CaFile;
  Host* host = &host_;
  s.Pump = [host] { host->ProcessEvents(); };
  s.Cancelled = [host] { return host->WaitCancelled(); };
  return s;
}

net::ProxySelector NetworkState::Selector(const TNetworkSettings& settings) {
  net::TProxyUi ui;
  Host* host = &host_;
  ui.ShowWait = [host](const std::string& text) { host->ShowWait(text); };
  ui.ShowError = [host](const std::string& text) { host->ShowError(text); };
  const net::THttpSettings request = RequestSettings(settings);
  return net::ProxySelector(proxy_, client_, ui, settings.ProxyListUrl,
                            [request](const std::string& url) { return net::HttpGetText(url, true, request); });
}

void NetworkState::PrepareDownload(const TNetworkSettings& settings) {
  const int attempt = client_.Attempt;
  client_.Settings() = RequestSettings(settings);
  client_.Settings().ConnectTimeoutMs = DownloadConnectTimeoutMs;
  client_.Settings().ReadTimeoutMs = DownloadReadTimeoutMs;
  client_.Attempt = attempt;
}

}  // namespace kelmora::shell
