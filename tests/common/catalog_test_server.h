#pragma once
// The catalogue server inside the test process: a fresh database in a temporary folder, a test CA
// and a server certificate for 127.0.0.1 and localhost, HTTPS on a free loopback port. Point the
// configuration's CatalogUrl at BaseUrl() and its CaFile at CaFile().

#include <openssl/pem.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include <fmt/format.h>

#include "catalog/server.h"
#include "common/http_test_server.h"
#include "common/temp_dir.h"

namespace kelmora::testing {

class CatalogTestServer {
 public:
  CatalogTestServer() {
    const TestCert ca = MakeCert("Kelmora Test Catalogue CA", nullptr, "", true);
    const TestCert cert = MakeCert("127.0.0.1", &ca, "IP:127.0.0.1,DNS:localhost", false);
    ca.WritePem(CaFile());
    cert.WritePem(dir_ / "server.pem");
    FILE* f = std::fopen((dir_ / "server.key").c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write the test server key");
    PEM_write_PrivateKey(f, cert.Key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    std::fclose(f);
    std::filesystem::create_directories(FilesDir());

    catalog::ServerOptions options;
    options.DbPath = (dir_ / "catalog.db").string();
    options.CertFile = (dir_ / "server.pem").string();
    options.KeyFile = (dir_ / "server.key").string();
    options.FilesDir = FilesDir().string();
    options.Clock = [now = now_] {
      const int64_t fixed = now->load();
      if (fixed != 0) return fixed;
      return static_cast<int64_t>(
          std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
              .count());
    };
    server_ = std::make_unique<catalog::Server>(options);
    std::string error;
    if (!server_->Start(&error)) throw std::runtime_error(fmt::format("catalogue server: {}", error));
  }
  ~CatalogTestServer() { server_->Stop(); }
  CatalogTestServer(const CatalogTestServer&) = delete;
  CatalogTestServer& operator=(const CatalogTestServer&) = delete;

  // "https://127.0.0.1:PORT", the base the catalogue's paths ("/scripts/...", "/files/...") follow.
  std::string BaseUrl() const { return fmt::format("https://127.0.0.1:{}", server_->Port()); }
  std::filesystem::path CaFile() const { return dir_ / "ca.pem"; }
  // Served under "/files/".
  std::filesystem::path FilesDir() const { return dir_ / "files"; }
  std::filesystem::path DbPath() const { return dir_ / "catalog.db"; }
  int Port() const { return server_->Port(); }
  // The server's clock stands at these UTC seconds from now on; 0 returns it to the system clock.
  void SetNow(int64_t seconds) { now_->store(seconds); }

 private:
  TempDir dir_;
  std::shared_ptr<std::atomic<int64_t>> now_ = std::make_shared<std::atomic<int64_t>>(0);
  std::unique_ptr<catalog::Server> server_;
};

}  // namespace kelmora::testing
