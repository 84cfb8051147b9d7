#include "net/proxy.h"

#include <algorithm>

#include <fmt/format.h>

#include "net/vendor.h"
#include "support/error.h"
#include "support/text.h"

namespace kelmora::net {

namespace {

constexpr const char* DownloadWait = "Загрузка архива тиражей...";

int ParsePortNumber(std::string_view text) {
  const auto value = support::ParseInt(support::Trim(text));
  if (!value) support::Fail("\"{}\" не является целым числом", support::Trim(text));
  return *value;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "\x4d\x54..." -> "MT...": each escape with two hexadecimal digits is one character; anything
// else is taken as it stands.
std::string DecodeHexEscapes(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
      const int hi = HexDigit(text[i + 2]), lo = HexDigit(text[i + 3]);
      if (hi >= 0 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 3;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Standard Base64; padding and characters outside the alphabet are skipped.
std::string DecodeBase64(std::string_view text) {
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    const int v = Base64Value(c);
    if (v < 0) continue;
    bits = (bits << 6) | static_cast<uint32_t>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  return out;
}

// The pieces after each "<tr>" (ignoring case); what comes before the first is no row.
std::vector<std::string_view> SplitRows(std::string_view body) {
  std::vector<size_t> starts;
  for (size_t i = 0; i + 4 <= body.size(); ++i) {
    if (body[i] == '<' && (body[i + 1] == 't' || body[i + 1] == 'T') && (body[i + 2] == 'r' || body[i + 2] == 'R') &&
        body[i + 3] == '>')
      starts.push_back(i + 4);
  }
  std::vector<std::string_view> rows;
  for (size_t k = 0; k < starts.size(); ++k) {
    const size_t end = k + 1 < starts.size() ? starts[k + 1] - 4 : body.size();
    rows.push_back(body.substr(starts[k], end - starts[k]));
  }
  return rows;
}

}  // namespace

TProxyQuery AutoProxyQuery(std::string_view target_url) {
  TProxyQuery q;
  q.Protocols = IsHttpsUrl(target_url) ? ProtocolHttps : (ProtocolHttp | ProtocolHttps);
  q.WantedCount = 30;
  q.MaxResponseMs = 10;
  q.MinUptime = 75;
  return q;
}

std::string ProxyListQuery(const TProxyQuery& q, int page) {
  std::vector<std::string> parts;
  const std::pair<unsigned, const char*> protocols[] = {
      {ProtocolHttp, "http"}, {ProtocolHttps, "https"}, {ProtocolSocks4, "socks4"}, {ProtocolSocks5, "socks5"}};
  for (const auto& [bit, name] : protocols)
    if (q.Protocols & bit) parts.push_back(fmt::format("protocol={}", name));
  for (int level = 1; level <= 4; ++level)
    if (q.AnonymityLevels & AnonymityLevel(level)) parts.push_back(fmt::format("anonlvl={}", level));
  for (const auto& word : support::SplitWords(q.Countries, ", \t\r\n")) {
    const std::string_view country = support::Trim(word);
    if (!country.empty()) parts.push_back(fmt::format("country={}", country));
  }
  if (q.MinUptime > 0) parts.push_back(fmt::format("min_uptime={}", q.MinUptime));
  if (q.MaxResponseMs > 0) parts.push_back(fmt::format("max_response_time={}", q.MaxResponseMs / 1000));
  if (page > 1) parts.push_back(fmt::format("offset={}", (page - 1) * ProxyPageRows));
  return support::Join(parts, "&");
}

std::string ProxyListPageUrl(std::string_view root, const TProxyQuery& query, int page) {
  const std::string q = ProxyListQuery(query, page);
  return q.empty() ? std::string(root) : fmt::format("{}?{}", root, q);
}

TProxyPage ParseProxyListPage(std::string_view html, int port) {
  TProxyPage page;
  const std::string body = TextBetween(html, "<tbody>", "</tbody>");
  if (body.empty()) return page;
  const std::string hidden = TextBetween(html, "<div style=\"display:none\" data-", "</div>");
  const int base = support::ParseInt(support::Trim(TextBetween(hidden, "=\"", "\""))).value_or(0);
  for (std::string_view row : SplitRows(body)) {
    ++page.Rows;
    const std::string script = TextBetween(row, "<script>", "</script>");
    std::string first = TextBetween(TextBetween(script, "var", "split"), "'", "'");
    std::reverse(first.begin(), first.end());
    const std::string second = DecodeBase64(DecodeHexEscapes(TextBetween(script, "atob('", "')")));
    const std::string address = first + second;
    // A row without an address (a header or a notice) counts but gives no entry.
    if (address.empty()) continue;
    const int offset = ParsePortNumber(TextBetween(TextBetween(script, "pp =", ";"), "(", " "));
    const int row_port = base + offset;
    if (port == 0 || port == row_port) page.Entries.push_back(fmt::format("{}:{}", address, row_port));
  }
  return page;
}

void QueryProxyList(std::vector<std::string>& list, std::string_view root, const TProxyQuery& query,
                    const TPageFetcher& fetch) {
  list.clear();
  for (int page = 1; page <= MaxProxyPages; ++page) {
    const TProxyPage parsed = ParseProxyListPage(fetch(ProxyListPageUrl(root, query, page)), query.Port);
    list.insert(list.end(), parsed.Entries.begin(), parsed.Entries.end());
    if (static_cast<int>(list.size()) >= query.WantedCount || parsed.Rows < ProxyPageRows) break;
  }
}

ProxySelector::ProxySelector(TProxy& proxy, HttpClient& client, TProxyUi ui, std::string list_root,
                             TPageFetcher fetch)
    : proxy_(proxy), client_(client), ui_(std::move(ui)), list_root_(std::move(list_root)), fetch_(std::move(fetch)) {}

bool ProxySelector::ApplyProxy(const std::string& url) {
  bool result = true;
  switch (proxy_.Mode) {
    case 1:
      if (!proxy_.Server.empty() || SelectAutoProxy(url)) {
        client_.SetProxy({proxy_.Server, proxy_.Port, proxy_.Username, proxy_.Password});
      } else {
        client_.SetProxy({});
        result = false;
      }
      break;
    case 2: client_.SetProxy({proxy_.Server, proxy_.Port, proxy_.Username, proxy_.Password}); break;
    default: client_.SetProxy({}); break;
  }
  if (ui_.ShowWait) {
    if (proxy_.Mode != 0 && !proxy_.Server.empty())
      ui_.ShowWait(fmt::format("{}\r\rПопытка {}, proxy {} : {}", DownloadWait, client_.Attempt, proxy_.Server,
                               proxy_.Port));
    else
      ui_.ShowWait(DownloadWait);
  }
  return result;
}

bool ProxySelector::SelectAutoProxy(const std::string& url) {
  try {
    if (!proxy_.Candidates || proxy_.Candidates->empty()) {
      if (!FetchProxyList(url)) return false;
    }
    const std::string& entry = proxy_.Candidates->front();
    const size_t colon = entry.find(':');
    const std::string server(support::Trim(std::string_view(entry).substr(0, colon)));
    const int port = ParsePortNumber(colon == std::string::npos ? std::string_view() : std::string_view(entry).substr(colon + 1));
    proxy_.Server = server;
    proxy_.Port = port;
    proxy_.Username.clear();
    proxy_.Password.clear();
    proxy_.Saved = false;
    return true;
  } catch (const std::exception& e) {
    if (ui_.ShowError) ui_.ShowError(fmt::format("Ошибка автоматического выбора proxy сервера!\r\r{}", e.what()));
    return false;
  }
}

bool ProxySelector::FetchProxyList(const std::string& url) {
  if (ui_.ShowWait) ui_.ShowWait(fmt::format("{}\r\rПоиск proxy-серверов", DownloadWait));
  if (!proxy_.Candidates) proxy_.Candidates.emplace();
  try {
    if (list_root_.empty())
      support::Fail("Не задан адрес сервиса списков proxy-серверов: параметр ProxyListUrl секции NETWORK "
                    "файла конфигурации");
    QueryProxyList(*proxy_.Candidates, list_root_, AutoProxyQuery(url), fetch_);
    if (proxy_.Candidates->empty()) support::Fail("Не найдено ни одного proxy-сервера с заданными параметрами");
    return true;
  } catch (const std::exception& e) {
    if (ui_.ShowError) ui_.ShowError(fmt::format("Ошибка получения списка proxy-серверов!\r\r{}", e.what()));
    return false;
  }
}

bool ProxySelector::NextProxyCandidate() {
  if (proxy_.Mode != 1) return false;
  proxy_.Server.clear();
  proxy_.Port = 0;
  proxy_.Username.clear();
  proxy_.Password.clear();
  proxy_.Saved = false;
  if (!proxy_.Candidates) return true;  // no search yet: the next attempt searches
  if (!proxy_.Candidates->empty()) proxy_.Candidates->erase(proxy_.Candidates->begin());
  return !proxy_.Candidates->empty();
}

std::string ProxySelector::DownloadWithProxy(const std::string& url, const std::filesystem::path& path) {
  if (!ApplyProxy(url)) support::Fail("Proxy-сервер не выбран, запрос не выполнен");
  return client_.GetToFile(url, path);
}

}  // namespace kelmora::net
