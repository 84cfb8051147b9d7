#include "net/http_client.h"

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <chrono>
#include <mutex>

#include <fmt/format.h>

#include "support/error.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::net {

namespace {

using Clock = std::chrono::steady_clock;

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// What the callbacks of one request fill in.
struct Transfer {
  std::string Body;
  int64_t MaxBody = 0;
  bool TooLarge = false;
  bool Activity = false;       // bytes arrived since the loop last looked
  std::string StatusLine;      // of the last response (redirects give several)
  const std::filesystem::path* CaFile = nullptr;
  std::string CaProblem;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& t = *static_cast<Transfer*>(user);
  const size_t n = size * count;
  t.Activity = true;
  if (static_cast<int64_t>(t.Body.size() + n) > t.MaxBody) {
    t.TooLarge = true;
    return 0;  // ends the transfer with a write error
  }
  t.Body.append(data, n);
  return n;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& t = *static_cast<Transfer*>(user);
  const size_t n = size * count;
  t.Activity = true;
  const std::string_view line(data, n);
  if (line.rfind("HTTP/", 0) == 0) t.StatusLine = std::string(support::Trim(line));
  return n;
}

// Adds the extra CA file to the store curl has already filled from the system's CA store.
CURLcode OnSslContext(CURL*, void* ssl_ctx, void* user) {
  auto& t = *static_cast<Transfer*>(user);
  if (!t.CaFile || t.CaFile->empty()) return CURLE_OK;
  X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(ssl_ctx));
  if (!store || X509_STORE_load_file(store, t.CaFile->c_str()) != 1) {
    t.CaProblem = t.CaFile->string();
    return CURLE_SSL_CACERT_BADFILE;
  }
  return CURLE_OK;
}

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

std::string PercentEncode(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    if (IsUnreserved(c)) {
      out += static_cast<char>(c);
    } else {
      out += fmt::format("%{:02X}", c);
    }
  }
  return out;
}

template <typename T>
void Set(CURL* easy, CURLoption option, T value) {
  const CURLcode rc = curl_easy_setopt(easy, option, value);
  if (rc != CURLE_OK) support::Fail("Ошибка настройки HTTP-клиента: {}", curl_easy_strerror(rc));
}

// The failure's text for the user.
[[noreturn]] void FailRequest(CURLcode rc, const char* detail, const Transfer& t, const THttpSettings& s) {
  const std::string why = detail && *detail ? std::string(support::Trim(detail)) : curl_easy_strerror(rc);
  switch (rc) {
    case CURLE_OPERATION_TIMEDOUT:
      support::Fail("Превышено время ожидания подключения к серверу ({} мс)", s.ConnectTimeoutMs);
    case CURLE_PEER_FAILED_VERIFICATION:
      support::Fail("Сертификат сервера не прошёл проверку, соединение не установлено: {}", why);
    case CURLE_SSL_CACERT_BADFILE:
      if (!t.CaProblem.empty())
        support::Fail("Не удалось прочитать файл сертификатов \"{}\" (параметр CaFile секции NETWORK)", t.CaProblem);
      support::Fail("Не удалось загрузить сертификаты удостоверяющих центров: {}", why);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_USE_SSL_FAILED:
      support::Fail("Не удалось установить защищённое соединение (нужен TLS 1.2 или новее): {}", why);
    case CURLE_FILESIZE_EXCEEDED:
      support::Fail("Ответ сервера больше {} байт, загрузка прервана", s.MaxBody);
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
      support::Fail("Не удалось подключиться к серверу: {}", why);
    default:
      support::Fail("Ошибка обмена с сервером: {}", why);
  }
}

}  // namespace

bool IsHttpsUrl(std::string_view url) { return url.size() >= 8 && support::SameText(url.substr(0, 8), "https://"); }

std::string EncodeForm(const TFormFields& fields) {
  std::string out;
  for (const auto& field : fields) {
    if (!out.empty()) out += '&';
    const size_t eq = field.find('=');
    out += PercentEncode(std::string_view(field).substr(0, eq));
    out += '=';
    if (eq != std::string::npos) out += PercentEncode(std::string_view(field).substr(eq + 1));
  }
  return out;
}

HttpClient::HttpClient(THttpSettings settings) : settings_(std::move(settings)) {
  GlobalInit();
  // The cookies live in a share handle, so that the handle's list of cookie files can be cleared
  // before every reset (libcurl loses that list on a reset and never frees it) without losing them.
  CURLSH* share = curl_share_init();
  if (!share || curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE) != CURLSHE_OK) {
    if (share) curl_share_cleanup(share);
    support::Fail("Не удалось создать HTTP-клиент");
  }
  easy_ = curl_easy_init();
  multi_ = curl_multi_init();
  if (!easy_ || !multi_) {
    if (multi_) curl_multi_cleanup(static_cast<CURLM*>(multi_));
    if (easy_) curl_easy_cleanup(static_cast<CURL*>(easy_));
    curl_share_cleanup(share);
    support::Fail("Не удалось создать HTTP-клиент");
  }
  share_ = share;
}

HttpClient::~HttpClient() {
  curl_easy_setopt(static_cast<CURL*>(easy_), CURLOPT_COOKIEFILE, static_cast<char*>(nullptr));
  curl_easy_cleanup(static_cast<CURL*>(easy_));
  curl_multi_cleanup(static_cast<CURLM*>(multi_));
  curl_share_cleanup(static_cast<CURLSH*>(share_));
}

std::string HttpClient::Get(const std::string& url) { return Perform(url, nullptr); }

std::string HttpClient::PostForm(const std::string& url, const TFormFields& fields) {
  const std::string body = EncodeForm(fields);
  return Perform(url, &body);
}

std::string HttpClient::GetToFile(const std::string& url, const std::filesystem::path& path) {
  std::string body = Perform(url, nullptr);
  support::WriteFileAtomic(path, body);
  return body;
}

std::string HttpClient::Perform(const std::string& url, const std::string* form_body) {
  if (busy_) support::Fail("Предыдущий запрос к серверу ещё не завершён");
  busy_ = true;
  struct Release {
    bool& busy;
    ~Release() { busy = false; }
  } release{busy_};

  CURL* easy = static_cast<CURL*>(easy_);
  // A reset keeps the connections and the TLS sessions of the handle; the cookies are in the share.
  curl_easy_setopt(easy, CURLOPT_COOKIEFILE, static_cast<char*>(nullptr));
  curl_easy_reset(easy);
  Transfer t;
  t.MaxBody = settings_.MaxBody;
  t.CaFile = &settings_.CaFile;
  char error[CURL_ERROR_SIZE] = {};

  Set(easy, CURLOPT_URL, url.c_str());
  Set(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  Set(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  Set(easy, CURLOPT_NOSIGNAL, 1L);
  Set(easy, CURLOPT_ERRORBUFFER, error);
  Set(easy, CURLOPT_FOLLOWLOCATION, follow_redirects_ ? 1L : 0L);
  Set(easy, CURLOPT_MAXREDIRS, 10L);
  Set(easy, CURLOPT_SHARE, static_cast<CURLSH*>(share_));
  Set(easy, CURLOPT_COOKIEFILE, "");  // the cookie engine, in memory only
  Set(easy, CURLOPT_USERAGENT, UserAgentHeader);
  Set(easy, CURLOPT_ACCEPT_ENCODING, AcceptEncodingHeader);
  curl_slist* headers = curl_slist_append(nullptr, fmt::format("Accept: {}", AcceptHeader).c_str());
  struct FreeHeaders {
    curl_slist* list;
    ~FreeHeaders() { curl_slist_free_all(list); }
  } free_headers{headers};
  Set(easy, CURLOPT_HTTPHEADER, headers);

  Set(easy, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
  Set(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  Set(easy, CURLOPT_SSL_VERIFYHOST, 2L);
  Set(easy, CURLOPT_SSL_CTX_FUNCTION, &OnSslContext);
  Set(easy, CURLOPT_SSL_CTX_DATA, &t);

  Set(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings_.ConnectTimeoutMs));
  Set(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(settings_.MaxBody));
  Set(easy, CURLOPT_WRITEFUNCTION, &OnBody);
  Set(easy, CURLOPT_WRITEDATA, &t);
  Set(easy, CURLOPT_HEADERFUNCTION, &OnHeader);
  Set(easy, CURLOPT_HEADERDATA, &t);

  // An empty proxy also keeps curl from taking one from the environment.
  Set(easy, CURLOPT_PROXY, proxy_.Server.c_str());
  if (!proxy_.Server.empty()) {
    if (proxy_.Port > 0) Set(easy, CURLOPT_PROXYPORT, static_cast<long>(proxy_.Port));
    if (!proxy_.Username.empty()) {
      Set(easy, CURLOPT_PROXYUSERNAME, proxy_.Username.c_str());
      Set(easy, CURLOPT_PROXYPASSWORD, proxy_.Password.c_str());
    }
  }
  if (form_body) {
    Set(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(form_body->size()));
    Set(easy, CURLOPT_COPYPOSTFIELDS, form_body->c_str());
  }

  // The multi handle lives as long as the client: it owns the connection cache, so a request to
  // the same server reuses the connection and its TLS session instead of a new handshake.
  CURLM* multi = static_cast<CURLM*>(multi_);
  struct Detach {
    CURLM* multi;
    CURL* easy;
    ~Detach() { curl_multi_remove_handle(multi, easy); }
  } detach{multi, easy};
  curl_multi_add_handle(multi, easy);

  // curl's own low-speed limit counts whole seconds; the read time-out is counted here instead,
  // from the moment the request went out to the last byte that arrived.
  bool sent = false, timed_out = false, cancelled = false;
  Clock::time_point last = Clock::now();
  int running = 1;
  for (;;) {
    const CURLMcode mc = curl_multi_perform(multi, &running);
    if (mc != CURLM_OK) support::Fail("Ошибка обмена с сервером: {}", curl_multi_strerror(mc));
    if (!running) break;
    curl_multi_poll(multi, nullptr, 0, 25, nullptr);
    if (settings_.Pump) settings_.Pump();
    if (settings_.Cancelled && settings_.Cancelled()) {
      cancelled = true;
      break;
    }
    const Clock::time_point now = Clock::now();
    if (!sent) {
      curl_off_t pretransfer = 0;
      curl_easy_getinfo(easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
      if (pretransfer > 0 || t.Activity) {
        sent = true;
        last = now;
      }
    } else if (t.Activity) {
      last = now;
    }
    t.Activity = false;
    if (sent && now - last > std::chrono::milliseconds(settings_.ReadTimeoutMs)) {
      timed_out = true;
      break;
    }
  }
  if (cancelled) support::Fail("Загрузка прервана пользователем");
  if (timed_out) support::Fail("Превышено время ожидания ответа сервера ({} мс)", settings_.ReadTimeoutMs);

  CURLcode rc = CURLE_OK;
  int left = 0;
  while (CURLMsg* msg = curl_multi_info_read(multi, &left))
    if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) rc = msg->data.result;
  if (t.TooLarge) support::Fail("Ответ сервера больше {} байт, загрузка прервана", settings_.MaxBody);
  if (rc != CURLE_OK) FailRequest(rc, error, t, settings_);

  long status = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  if (status >= 400) {
    support::Fail("Сервер ответил ошибкой: {}", t.StatusLine.empty() ? fmt::format("HTTP {}", status) : t.StatusLine);
  }
  return std::move(t.Body);
}

void HttpGetToFile(const std::string& url, const std::filesystem::path& path, const THttpSettings& settings) {
  HttpClient client(settings);
  client.GetToFile(url, path);
}

std::string HttpGetText(const std::string& url, bool follow_redirects, const THttpSettings& settings) {
  HttpClient client(settings);
  client.SetFollowRedirects(follow_redirects);
  return client.Get(url);
}

std::string HttpPostForm(const std::string& url, const TFormFields& fields, bool follow_redirects,
                         const THttpSettings& settings) {
  HttpClient client(settings);
  client.SetFollowRedirects(follow_redirects);
  return client.PostForm(url, fields);
}

}  // namespace kelmora::net
