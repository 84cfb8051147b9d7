// kelmora-catalog: the catalogue server for the program's systems catalogue, script library and
// update files, and the filling of a demo catalogue.
//   kelmora-catalog serve --db FILE --listen HOST:PORT [--cert FILE --key FILE] [--files DIR]
//   kelmora-catalog seed --db FILE

#include <signal.h>

#include <iostream>
#include <string>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "catalog/seed.h"
#include "catalog/server.h"
#include "support/text.h"

namespace {

using kelmora::catalog::Server;
using kelmora::catalog::ServerOptions;

// "HOST:PORT", "[v6]:PORT"; false when it is not one.
bool SplitListen(const std::string& listen, std::string& host, int& port) {
  const size_t colon = listen.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  host = listen.substr(0, colon);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  const auto p = kelmora::support::ParseInt(listen.substr(colon + 1));
  if (!p || *p < 0 || *p > 65535) return false;
  port = *p;
  return true;
}

int Serve(ServerOptions options, const std::string& listen) {
  if (!SplitListen(listen, options.Host, options.Port)) {
    std::cerr << fmt::format("kelmora-catalog: bad --listen \"{}\" (HOST:PORT expected)\n", listen);
    return 2;
  }
  // The signals are taken by this thread alone (sigwait below): the server's threads inherit the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  Server server(options);
  std::string error;
  if (!server.Start(&error)) {
    std::cerr << "kelmora-catalog: " << error << '\n';
    return 1;
  }
  std::cout << fmt::format("kelmora-catalog: listening on {}://{}:{}", options.CertFile.empty() ? "http" : "https",
                           options.Host, server.Port())
            << std::endl;
  int received = 0;
  sigwait(&signals, &received);
  server.Stop();
  std::cout << "kelmora-catalog: stopped" << std::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"The catalogue server of Kelmora 4r32: systems, scripts and update files."};
  app.require_subcommand(1);

  ServerOptions options;
  std::string listen = "127.0.0.1:8443";
  CLI::App* serve = app.add_subcommand("serve", "Answer the catalogue's requests until stopped (SIGINT, SIGTERM)");
  serve->add_option("--db", options.DbPath, "SQLite database file (made when missing)")->required();
  serve->add_option("--listen", listen, "HOST:PORT to listen on; plain HTTP only on a loopback address")
      ->capture_default_str();
  auto* cert = serve->add_option("--cert", options.CertFile, "server certificate (PEM, chain after it) for HTTPS");
  auto* key = serve->add_option("--key", options.KeyFile, "the certificate's private key (PEM)");
  cert->needs(key);
  key->needs(cert);
  serve->add_option("--files", options.FilesDir, "folder served under /files/ (update description, packages)");

  std::string seed_db;
  CLI::App* seed = app.add_subcommand("seed", "Fill a demo catalogue: wheels for 5 to 8 values, example scripts");
  seed->add_option("--db", seed_db, "SQLite database file (made when missing)")->required();

  CLI11_PARSE(app, argc, argv);
  if (*serve) return Serve(options, listen);
  try {
    const kelmora::catalog::SeedCounts counts = kelmora::catalog::SeedDemo(seed_db);
    std::cout << fmt::format("kelmora-catalog: {} systems and {} scripts added to {}\n", counts.Systems,
                             counts.Scripts, seed_db);
  } catch (const std::exception& e) {
    std::cerr << "kelmora-catalog: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
