#pragma once
// The catalogue server: the catalogue's form paths under "/scripts/" and, when a folder is given,
// plain downloads under "/files/" (the update description, its notes, the packages). HTTPS (TLS 1.2
// or newer) when a certificate and key are given; plain HTTP only on a loopback address.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kelmora::catalog {

struct ServerOptions {
  std::string DbPath;
  std::string Host = "127.0.0.1";
  int Port = 0;  // 0: any free port
  std::string CertFile, KeyFile;  // PEM; the certificate file may hold the chain after it
  std::string FilesDir;           // served under "/files/"; empty: none
  std::function<std::int64_t()> Clock;  // UTC seconds; null: the system clock
};

class Server {
 public:
  explicit Server(ServerOptions options);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Opens the database, binds and starts serving on a thread of its own. False with the reason.
  bool Start(std::string* error);
  // The bound port once started.
  int Port() const;
  // Stops serving and waits for the requests under way; safe to call twice.
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Whether the host names the loopback interface ("localhost", 127.x.x.x, "::1").
bool IsLoopbackHost(const std::string& host);

}  // namespace kelmora::catalog
