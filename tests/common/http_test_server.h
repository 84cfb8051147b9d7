#pragma once
// A real HTTP or HTTPS server on 127.0.0.1 inside the test process (cpp-httplib), the test
// certificates it needs (made here with OpenSSL: a test CA, server certificates signed by it or
// self-signed), and a minimal HTTP proxy. Nothing leaves the loopback interface.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <fmt/format.h>
#include <httplib.h>

namespace kelmora::testing {

// A key and a certificate, owned.
struct TestCert {
  std::shared_ptr<EVP_PKEY> Key;
  std::shared_ptr<X509> Cert;

  // Writes the certificate as PEM.
  void WritePem(const std::filesystem::path& path) const {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error(fmt::format("cannot write {}", path.string()));
    PEM_write_X509(f, Cert.get());
    std::fclose(f);
  }
};

namespace detail {

inline void AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  if (!ext) throw std::runtime_error("bad extension");
  X509_add_ext(cert, ext, -1);
  X509_EXTENSION_free(ext);
}

}  // namespace detail

// A certificate for `common_name`; signed by `issuer` (self-signed when null). `alt_names` is the
// subjectAltName text ("DNS:localhost,IP:127.0.0.1"); empty for a CA.
inline TestCert MakeCert(const char* common_name, const TestCert* issuer, const char* alt_names, bool is_ca) {
  static std::atomic<long> serial{1};
  TestCert out;
  out.Key.reset(EVP_EC_gen("P-256"), EVP_PKEY_free);
  out.Cert.reset(X509_new(), X509_free);
  X509* x = out.Cert.get();
  X509_set_version(x, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(x), serial++);
  X509_gmtime_adj(X509_getm_notBefore(x), -3600);
  X509_gmtime_adj(X509_getm_notAfter(x), 86400);
  X509_set_pubkey(x, out.Key.get());
  X509_NAME* name = X509_get_subject_name(x);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(common_name), -1, -1, 0);
  X509* issuer_cert = issuer ? issuer->Cert.get() : x;
  X509_set_issuer_name(x, X509_get_subject_name(issuer_cert));
  detail::AddExtension(x, issuer_cert, NID_basic_constraints, is_ca ? "critical,CA:TRUE" : "CA:FALSE");
  if (is_ca) detail::AddExtension(x, issuer_cert, NID_key_usage, "critical,keyCertSign,cRLSign");
  if (alt_names && *alt_names) detail::AddExtension(x, issuer_cert, NID_subject_alt_name, alt_names);
  X509_sign(x, issuer ? issuer->Key.get() : out.Key.get(), EVP_sha256());
  return out;
}

// An HTTP (or, with a certificate, HTTPS) server on 127.0.0.1 and a free port, serving from a
// thread until destroyed. Add the handlers through Server() before Start().
class TestHttpServer {
 public:
  TestHttpServer() : server_(std::make_unique<httplib::Server>()) {}
  explicit TestHttpServer(const TestCert& cert)
      : server_(std::make_unique<httplib::SSLServer>(cert.Cert.get(), cert.Key.get())), tls_(true), cert_(cert) {}
  // An HTTPS server whose TLS context the callback sets up (certificate, key, versions).
  explicit TestHttpServer(const std::function<bool(SSL_CTX&)>& setup)
      : server_(std::make_unique<httplib::SSLServer>(setup)), tls_(true) {}
  ~TestHttpServer() { Stop(); }
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  httplib::Server& Server() { return *server_; }

  void Start() {
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("cannot bind a test server");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    for (int i = 0; i < 500 && !server_->is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  void Stop() {
    if (thread_.joinable()) {
      server_->stop();
      thread_.join();
    }
  }

  int Port() const { return port_; }
  // "http://127.0.0.1:port/path", or "https://localhost:port/path" for TLS (the name the test
  // certificates are made for).
  std::string Url(const std::string& path) const {
    return fmt::format("{}:{}{}", tls_ ? "https://localhost" : "http://127.0.0.1", port_, path);
  }

 private:
  std::unique_ptr<httplib::Server> server_;
  bool tls_ = false;
  TestCert cert_;
  std::thread thread_;
  int port_ = 0;
};

// A minimal HTTP proxy on 127.0.0.1: a GET in absolute form is answered by the proxy itself with
// the given body; a CONNECT is tunnelled to the named port of 127.0.0.1. Every request head it
// received is kept.
class TestProxy {
 public:
  explicit TestProxy(std::string body = "via proxy") : body_(std::move(body)) {
    listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listen_, 8) != 0)
      throw std::runtime_error("cannot start the test proxy");
    socklen_t len = sizeof addr;
    ::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { Run(); });
  }
  ~TestProxy() {
    stop_ = true;
    thread_.join();
    ::close(listen_);
  }

  int Port() const { return port_; }
  std::vector<std::string> Heads() {
    std::lock_guard<std::mutex> lock(mutex_);
    return heads_;
  }

 private:
  void Run() {
    while (!stop_) {
      pollfd p{listen_, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0) continue;
      const int client = ::accept(listen_, nullptr, nullptr);
      if (client < 0) continue;
      Serve(client);
      ::close(client);
    }
  }

  static bool SendAll(int fd, const std::string& data) {
    size_t sent = 0;
    while (sent < data.size()) {
      const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return false;
      sent += static_cast<size_t>(n);
    }
    return true;
  }

  void Serve(int client) {
    std::string head;
    char buf[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
      pollfd p{client, POLLIN, 0};
      if (::poll(&p, 1, 2000) <= 0) return;
      const ssize_t n = ::recv(client, buf, sizeof buf, 0);
      if (n <= 0) return;
      head.append(buf, static_cast<size_t>(n));
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      heads_.push_back(head.substr(0, head.find("\r\n\r\n")));
    }
    if (head.rfind("CONNECT ", 0) != 0) {
      SendAll(client, fmt::format("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: {}\r\nConnection: "
                                  "close\r\n\r\n{}",
                                  body_.size(), body_));
      return;
    }
    // "CONNECT host:port HTTP/1.1": always to the loopback, whatever the host says.
    const size_t colon = head.find(':', 8);
    const int port = std::stoi(head.substr(colon + 1));
    const int upstream = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (::connect(upstream, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
      SendAll(client, "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n");
      ::close(upstream);
      return;
    }
    SendAll(client, "HTTP/1.1 200 Connection established\r\n\r\n");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!stop_ && std::chrono::steady_clock::now() < deadline) {
      pollfd p[2] = {{client, POLLIN, 0}, {upstream, POLLIN, 0}};
      if (::poll(p, 2, 20) <= 0) continue;
      bool closed = false;
      for (int i = 0; i < 2; ++i) {
        if (!(p[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        const ssize_t n = ::recv(p[i].fd, buf, sizeof buf, 0);
        if (n <= 0 || !SendAll(p[1 - i].fd, std::string(buf, static_cast<size_t>(n)))) closed = true;
      }
      if (closed) break;
    }
    ::close(upstream);
  }

  const std::string body_;
  int listen_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::vector<std::string> heads_;
};

// A port of 127.0.0.1 where nothing listens (a connection is refused at once).
inline int ClosedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  return ntohs(addr.sin_port);
}

}  // namespace kelmora::testing
