#include "shell/network_settings.h"

#include <iterator>

namespace kelmora::shell {

namespace {

std::string* Field(TNetworkSettings& s, int i) {
  std::string* fields[] = {&s.ResultsUrl,     &s.CatalogUrl,  &s.UpdateUrl, &s.ProxyListUrl,  &s.CaFile,
                           &s.InstallId,      &s.UserName,    &s.UserMail,  &s.LotterySiteUrl, &s.MainSiteUrl,
                           &s.BlogUrl,        &s.VideoBlogUrl, &s.ArticlesUrl, &s.VkUrl,        &s.OkUrl,
                           &s.AuthorSiteUrl, &s.TelegramUrl};
  static_assert(std::size(fields) == std::size(NetworkKeys), "one field per key");
  return fields[i];
}

}  // namespace

void ReadNetworkSettings(const support::IniFile& ini, TNetworkSettings& out) {
  for (int i = 0; i < static_cast<int>(std::size(NetworkKeys)); ++i)
    *Field(out, i) = ini.ReadString(NetworkSection, NetworkKeys[i], "");
}

void WriteNetworkSettings(support::IniFile& ini, const TNetworkSettings& in) {
  TNetworkSettings copy = in;
  for (int i = 0; i < static_cast<int>(std::size(NetworkKeys)); ++i)
    ini.WriteString(NetworkSection, NetworkKeys[i], *Field(copy, i));
}

}  // namespace kelmora::shell
