// The Session's network operations: the results download with its retries and proxies, the
// start-up download, the proxy search alone, the catalogue identity.

#include <fmt/format.h>

#include "lottery/draws.h"
#include "lottery/draws_csv.h"
#include "shell/network_state.h"
#include "shell/session.h"
#include "shell/stakes_state.h"
#include "support/error.h"
#include "support/text.h"

namespace kelmora::shell {

namespace {

constexpr const char* DownloadStatus = "Загрузка архива тиражей...";

}  // namespace

NetworkState& Session::Network() {
  if (!network_) network_ = std::make_unique<NetworkState>(host_, settings_.Proxy);
  return *network_;
}

net::TUserIdentity Session::UserIdentity() {
  if (settings_.Network.InstallId.empty()) {
    settings_.Network.InstallId = net::NewInstallId();
    SaveConfigGroup([](support::IniFile& ini, const TProgramSettings& s) { WriteNetworkSettings(ini, s.Network); },
                    true);
  }
  net::TUserIdentity identity;
  identity.AppVer = KELMORA_VERSION;
  identity.InstallId = settings_.Network.InstallId;
  identity.UserName = settings_.Network.UserName;
  identity.UserMail = settings_.Network.UserMail;
  return identity;
}

bool Session::SetUserIdentity(const std::string& name, const std::string& mail) {
  settings_.Network.UserName = name;
  settings_.Network.UserMail = mail;
  return SaveConfigGroup([](support::IniFile& ini, const TProgramSettings& s) { WriteNetworkSettings(ini, s.Network); },
                         false);
}

bool Session::SaveProxySettingsIfChanged() {
  if (settings_.Proxy.Saved) return true;
  return SetProxy(settings_.Proxy, true);
}

int Session::DownloadNewDraws(const std::string& url, int32_t first_wanted) {
  SetStatusText(DownloadStatus);
  // The body is the file's new content; parsing it, not the file, means a failed write of the
  // file cannot feed old draws in as new ones.
  const std::string body = Network().Selector(settings_.Network).DownloadWithProxy(url, ResultsPath());
  const lottery::TDrawsArray fresh = lottery::ReadResultsText(body, first_wanted);
  if (!fresh.empty()) {
    SetStatusText("Сохранение файла тиражей...");
    draws_.insert(draws_.end(), fresh.begin(), fresh.end());
  }
  return static_cast<int>(fresh.size());
}

int Session::DownloadDraws(const std::string& url, bool ask_retry) {
  const std::string target = url.empty() ? settings_.Network.ResultsUrl : url;
  if (target.empty()) {
    host_.ShowError(NoResultsUrlText);
    return -1;
  }
  if (!DrawsWritable()) return -1;
  int appended = -1;
  {
    BusyGuard busy(*this, DownloadStatus);
    host_.ShowWait(DownloadStatus);
    NetworkState& network = Network();
    network.PrepareDownload(settings_.Network);
    network.Client().Attempt = 1;
    for (;;) {
      std::string failure;
      try {
        const int32_t first_wanted = draws_.empty() ? 1 : lottery::CheckedNextDrawNumber(draws_);
        const int n = DownloadNewDraws(target, first_wanted);
        SaveProxySettingsIfChanged();
        if (n > 0) {
          SaveDrawsFile();
          RefreshAllViews(false);
        }
        appended = n;
        break;
      } catch (const std::exception& e) {
        failure = e.what();
      }
      ++network.Client().Attempt;
      // A cancel in the wait window ends the download without asking.
      if (host_.WaitCancelled()) break;
      if (network.Selector(settings_.Network).NextProxyCandidate()) continue;
      const std::string text = fmt::format("Ошибка загрузки архива тиражей с сайта: \"{}\"", failure);
      if (!ask_retry) {
        host_.ShowError(text);
        break;
      }
      if (!host_.AskYesNo(MessageKind::Error, fmt::format("{}\r\rПовторить попытку?", text), true)) break;
    }
    network.Selector(settings_.Network).ReleaseProxyCandidates();
    Stakes().CheckStakes();
    host_.ViewChanged(ViewId::Stakes);
    host_.HideWait();
  }
  return appended;
}

void Session::DownloadDrawsOnStart() {
  if (settings_.Network.ResultsUrl.empty()) return;
  switch (main_view_.DownloadDrawsOnStart) {
    case 0:
      if (host_.Confirm("Обновить список тиражей?\r\rДля выполнения обновления необходимо действующее "
                        "подключение к сети Интернет."))
        DownloadDraws();
      break;
    case 1: DownloadDraws(); break;
    default: break;
  }
}

std::optional<std::vector<std::string>> Session::FindProxies(bool https) {
  BusyGuard busy(*this, "Поиск proxy-серверов");
  lottery::TProxy scratch;
  scratch.Mode = 1;
  NetworkState& network = Network();
  net::TProxyUi ui;
  ui.ShowError = [this](const std::string& text) { host_.ShowError(text); };
  const net::THttpSettings request = network.RequestSettings(settings_.Network);
  net::ProxySelector selector(scratch, network.Client(), ui, settings_.Network.ProxyListUrl,
                              [request](const std::string& page) { return net::HttpGetText(page, true, request); });
  if (!selector.FetchProxyList(https ? "https://" : "http://")) return std::nullopt;
  return *scratch.Candidates;
}

bool Session::SetConfigValue(std::string_view section, std::string_view key, std::string_view value) {
  std::string canonical_section, canonical_key;
  for (const auto& entry : ListConfigEntries(settings_)) {
    if (support::SameText(entry.Section, section) && support::SameText(entry.Key, key)) {
      canonical_section = entry.Section;
      canonical_key = entry.Key;
      break;
    }
  }
  if (canonical_key.empty()) {
    host_.ShowError(fmt::format("Неизвестный параметр конфигурации: [{}] {}\r\rСписок параметров: kelmora config show",
                                section, key));
    return false;
  }
  BusyGuard busy(*this, "Сохранение файла конфигурации...");
  return Reported("Ошибка записи в файл конфигурации!", [&] {
    support::IniFile ini(ConfigPath());
    ini.Load();
    ini.WriteString(canonical_section, canonical_key, value);
    // Read back as the program will read it, so that a value it cannot take is never written.
    TProgramSettings fresh = settings_;
    std::string problem;
    ReadGenerationDefaults(ini, fresh.Generation);
    ReadAnalysisSettings(ini, fresh.Config, &problem);
    ReadShredding(ini, fresh.Shredding);
    ReadProxy(ini, fresh.Proxy);
    ReadNetworkSettings(ini, fresh.Network);
    if (!problem.empty()) support::Fail("{}", problem);
    ini.SetOwnerOnly(true);
    ini.Save();
    settings_ = std::move(fresh);
  });
}

}  // namespace kelmora::shell
