#pragma once
// Configuration section "NETWORK": the addresses of the outside services and the identity sent to
// the vendor's catalogue. Every address is empty by default: the program names no service of its
// own accord.

#include <string>

#include "support/ini_file.h"

namespace kelmora::shell {

inline constexpr const char* NetworkSection = "NETWORK";

struct TNetworkSettings {
  std::string ResultsUrl;    // the operator's results file, the whole address
  std::string CatalogUrl;    // the catalogue's base address; the services' paths are appended
  std::string UpdateUrl;     // the update description
  std::string ProxyListUrl;  // the proxy-list service's root
  std::string CaFile;        // an extra CA certificate (PEM) trusted besides the system's
  std::string InstallId;     // made once, when the catalogue first needs it
  std::string UserName;
  std::string UserMail;
  // The web pages the menu "Справка" opens; a link without an address stays disabled.
  std::string LotterySiteUrl;
  std::string MainSiteUrl;
  std::string BlogUrl;
  std::string VideoBlogUrl;
  std::string ArticlesUrl;
  std::string VkUrl;
  std::string OkUrl;
  std::string AuthorSiteUrl;
  std::string TelegramUrl;
  bool operator==(const TNetworkSettings&) const = default;
};

// The keys in the order the file documents them.
inline constexpr const char* NetworkKeys[] = {
    "ResultsUrl",   "CatalogUrl",  "UpdateUrl",    "ProxyListUrl", "CaFile",      "InstallId",
    "UserName",     "UserMail",    "LotterySiteUrl", "MainSiteUrl", "BlogUrl",    "VideoBlogUrl",
    "ArticlesUrl",  "VkUrl",       "OkUrl",        "AuthorSiteUrl", "TelegramUrl"};

void ReadNetworkSettings(const support::IniFile& ini, TNetworkSettings& out);
void WriteNetworkSettings(support::IniFile& ini, const TNetworkSettings& in);

// The text shown when the download has no address to go to.
inline constexpr const char* NoResultsUrlText =
    "Не задан адрес файла результатов лотереи!\r\rУкажите его в параметре ResultsUrl секции NETWORK файла "
    "конфигурации Kelmora_4r32.ini (например: kelmora config set NETWORK ResultsUrl <адрес>).";

}  // namespace kelmora::shell
