#include "catalog/server.h"

#include <openssl/ssl.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include <fmt/format.h>
#include <httplib.h>

#include "catalog/service.h"
#include "catalog/storage.h"

namespace kelmora::catalog {

namespace {

int64_t SystemNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

bool IsLoopbackHost(const std::string& host) {
  return host == "localhost" || host == "::1" || host == "[::1]" || host.rfind("127.", 0) == 0;
}

struct Server::Impl {
  ServerOptions Options;
  std::unique_ptr<Storage> Db;
  std::unique_ptr<Service> Catalogue;
  std::unique_ptr<httplib::Server> Http;
  std::thread Thread;
  int BoundPort = 0;
  std::mutex StopMutex;
};

Server::Server(ServerOptions options) : impl_(std::make_unique<Impl>()) { impl_->Options = std::move(options); }

Server::~Server() { Stop(); }

bool Server::Start(std::string* error) {
  auto fail = [&](std::string text) {
    if (error) *error = std::move(text);
    impl_->Http.reset();
    impl_->Catalogue.reset();
    impl_->Db.reset();
    return false;
  };
  Impl& m = *impl_;
  if (m.Http) return fail("Сервер уже запущен");
  const ServerOptions& o = m.Options;
  const bool tls = !o.CertFile.empty() || !o.KeyFile.empty();
  if (tls && (o.CertFile.empty() || o.KeyFile.empty())) return fail("Для HTTPS нужны и сертификат, и ключ");
  if (!tls && !IsLoopbackHost(o.Host))
    return fail(fmt::format("Без сертификата сервер слушает только адрес loopback, а не \"{}\"", o.Host));
  if (!o.FilesDir.empty() && !std::filesystem::is_directory(o.FilesDir))
    return fail(fmt::format("Папка файлов \"{}\" не найдена", o.FilesDir));
  try {
    m.Db = OpenSqliteStorage(o.DbPath);
  } catch (const std::exception& e) {
    return fail(e.what());
  }
  m.Catalogue = std::make_unique<Service>(*m.Db, o.Clock ? o.Clock : std::function<int64_t()>(SystemNow));

  if (tls) {
    std::string tls_problem;
    auto setup = [&](SSL_CTX& ctx) {
      SSL_CTX_set_min_proto_version(&ctx, TLS1_2_VERSION);
      SSL_CTX_set_options(&ctx, SSL_OP_NO_COMPRESSION | SSL_OP_NO_RENEGOTIATION);
      if (SSL_CTX_use_certificate_chain_file(&ctx, o.CertFile.c_str()) != 1) {
        tls_problem = fmt::format("Не удалось прочитать сертификат \"{}\"", o.CertFile);
        return false;
      }
      if (SSL_CTX_use_PrivateKey_file(&ctx, o.KeyFile.c_str(), SSL_FILETYPE_PEM) != 1 ||
          SSL_CTX_check_private_key(&ctx) != 1) {
        tls_problem = fmt::format("Не удалось прочитать ключ \"{}\" или он не подходит к сертификату", o.KeyFile);
        return false;
      }
      return true;
    };
    m.Http = std::make_unique<httplib::SSLServer>(setup);
    if (!m.Http->is_valid()) return fail(tls_problem.empty() ? "Не удалось настроить TLS" : tls_problem);
  } else {
    m.Http = std::make_unique<httplib::Server>();
  }

  httplib::Server& http = *m.Http;
  http.set_payload_max_length(MaxBodyBytes);
  http.set_read_timeout(10, 0);
  http.set_write_timeout(10, 0);
  Service* catalogue = m.Catalogue.get();
  http.Post(R"(/scripts/[A-Za-z_]+\.php)", [catalogue](const httplib::Request& req, httplib::Response& res) {
    const Reply reply = catalogue->Handle(req.path, req.body);
    res.status = reply.Status;
    res.set_content(reply.Body, reply.Status == 200 ? "text/xml; charset=utf-8" : "text/plain; charset=utf-8");
  });
  if (!o.FilesDir.empty() && !http.set_mount_point("/files", o.FilesDir))
    return fail(fmt::format("Папка файлов \"{}\" не найдена", o.FilesDir));

  m.BoundPort = o.Port == 0 ? http.bind_to_any_port(o.Host) : (http.bind_to_port(o.Host, o.Port) ? o.Port : -1);
  if (m.BoundPort <= 0) return fail(fmt::format("Не удалось занять адрес {}:{}", o.Host, o.Port));
  m.Thread = std::thread([&http] { http.listen_after_bind(); });
  for (int i = 0; i < 1000 && !http.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  return true;
}

int Server::Port() const { return impl_->BoundPort; }

void Server::Stop() {
  Impl& m = *impl_;
  const std::lock_guard<std::mutex> lock(m.StopMutex);
  if (m.Http) m.Http->stop();
  if (m.Thread.joinable()) m.Thread.join();
  m.Http.reset();
  m.Catalogue.reset();
  m.Db.reset();
}

}  // namespace kelmora::catalog
