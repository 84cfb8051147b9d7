#pragma once
// HTTP and HTTPS requests that present themselves as a desktop web browser, on libcurl. Every
// request runs on the calling thread through curl's multi interface in a loop that calls the
// caller's event pump, so a window keeps repainting and a cancel can end the request.
//
// Every HTTPS request uses TLS 1.2 or newer and verifies the server's certificate and host name
// against the system's CA store plus an optional extra CA file. Response bodies are capped
// (MaxBodyBytes by default); compressed answers (gzip, deflate) are decoded transparently, and the
// cap applies to the decoded body.
//
// Failures throw support::Error with a text for the user (no connection, time-out, HTTP error
// status, a certificate that fails verification, an oversized body, a cancel).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelmora::net {

// The browser-like headers sent with every request.
inline constexpr const char* AcceptHeader = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
inline constexpr const char* AcceptEncodingHeader = "gzip, deflate, sdch";
inline constexpr const char* UserAgentHeader =
    "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/47.0.2526.80 "
    "Safari/537.36";

inline constexpr int64_t MaxBodyBytes = 64LL * 1024 * 1024;

// What the requests share: where the extra CA comes from, the limits, and the caller's hooks.
struct THttpSettings {
  std::filesystem::path CaFile;      // an extra trusted CA certificate (PEM); empty: the system's only
  int ConnectTimeoutMs = 10000;      // connecting, including the proxy and the TLS handshake
  int ReadTimeoutMs = 30000;         // the longest silence of the server once connected
  int64_t MaxBody = MaxBodyBytes;    // a larger body fails the request
  std::function<void()> Pump;        // called while a request waits (the event pump); may be empty
  std::function<bool()> Cancelled;   // true ends the request with a failure; may be empty
};

// A proxy for the shared client. An empty Server means a direct connection. A Server may carry a
// scheme ("socks5://host") to choose a SOCKS proxy; without one it is an HTTP proxy.
struct TProxyEndpoint {
  std::string Server;
  int32_t Port = 0;
  std::string Username;
  std::string Password;
};

// Form fields of a POST, each "name=value" (the first "=" separates), sent URL-encoded in order.
using TFormFields = std::vector<std::string>;
// The body of a form POST: each name and value percent-encoded, joined by "&" in the given order.
std::string EncodeForm(const TFormFields& fields);

// Whether the URL begins with "https://", ignoring case.
bool IsHttpsUrl(std::string_view url);

// The long-lived client: keeps cookies between its requests, follows redirects, uses its proxy.
// One request at a time (a request started while another runs fails).
class HttpClient {
 public:
  explicit HttpClient(THttpSettings settings = {});
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  THttpSettings& Settings() { return settings_; }
  void SetProxy(TProxyEndpoint proxy) { proxy_ = std::move(proxy); }
  const TProxyEndpoint& Proxy() const { return proxy_; }
  void SetFollowRedirects(bool follow) { follow_redirects_ = follow; }

  // The attempt counter the results download shows in its wait message.
  int Attempt = 1;

  // GET; returns the body.
  std::string Get(const std::string& url);
  // POST of the fields; returns the body.
  std::string PostForm(const std::string& url, const TFormFields& fields);
  // GET whose body replaces the file's content (written whole, so a failed request leaves the old
  // file as it was). Returns the body too.
  std::string GetToFile(const std::string& url, const std::filesystem::path& path);

 private:
  std::string Perform(const std::string& url, const std::string* form_body);

  THttpSettings settings_;
  TProxyEndpoint proxy_;
  bool follow_redirects_ = true;
  bool busy_ = false;
  void* easy_ = nullptr;   // the CURL handle
  void* share_ = nullptr;  // the CURLSH handle that holds the cookies
  void* multi_ = nullptr;  // the CURLM handle that holds the open connections
};

// Short-lived requests: a new client for each call, no proxy, no cookies kept afterwards.
// GET with redirects followed; the body replaces the file's content.
void HttpGetToFile(const std::string& url, const std::filesystem::path& path, const THttpSettings& settings);
// GET; returns the body.
std::string HttpGetText(const std::string& url, bool follow_redirects, const THttpSettings& settings);
// POST of the fields; returns the body.
std::string HttpPostForm(const std::string& url, const TFormFields& fields, bool follow_redirects,
                         const THttpSettings& settings);

}  // namespace kelmora::net
