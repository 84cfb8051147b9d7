// The catalogue server answering list and data requests: through HTTPS with the program's network
// client (its long-lived client, which connects anew for every request), over one kept-alive HTTPS
// connection (what the server itself takes per request), and the service alone without HTTP. The catalogue holds the demo seed (8
// systems, 2 scripts) and 100 more scripts, 20 of them rated.

#include <benchmark/benchmark.h>

#include <memory>

#include <fmt/format.h>
#include <httplib.h>

#include "catalog/seed.h"
#include "catalog/service.h"
#include "common/catalog_test_server.h"
#include "net/http_client.h"
#include "net/vendor.h"

namespace {

using namespace kelmora;

constexpr int kExtraScripts = 100;

net::TFormFields Identity(net::TFormFields fields) {
  net::TUserIdentity id;
  id.AppVer = "0.1.0.0";
  id.InstallId = "{BE000000-0000-4000-8000-000000000001}";
  id.UserName = "Бенч";
  id.UserMail = "bench@club.example";
  for (std::string& f : net::IdentityFields(id, 1049)) fields.push_back(std::move(f));
  return fields;
}

// Seeds the catalogue and adds the extra scripts and ratings through the service.
void Fill(catalog::Storage& storage) {
  catalog::Seed(storage, 1700000000);
  catalog::Service service(storage, [] { return int64_t{1700000000}; });
  for (int i = 0; i < kExtraScripts; ++i) {
    service.Handle("/scripts/scr_putscript.php",
                   net::EncodeForm(Identity({"del_mode=0", "scr_id=-1", "scr_uniapps=0", "scr_publics=1",
                                             fmt::format("scr_title=Сценарий {}", i), "scr_descr=Описание сценария",
                                             fmt::format("scr_script=FULL:0#FIRST|TMD1#NUMS:{}#SF:0| | | | | | |шаг",
                                                         i % 20 + 1)})));
    if (i % 5 == 0)
      service.Handle("/scripts/scr_setrate.php",
                     net::EncodeForm(Identity({fmt::format("scr_id={}", i + 3), "rate_value=4", "rate_notes="})));
  }
}

struct Catalogue {
  testing::CatalogTestServer Server;
  Catalogue() {
    const auto storage = catalog::OpenSqliteStorage(Server.DbPath().string());
    Fill(*storage);
  }
};

Catalogue& Shared() {
  static Catalogue catalogue;
  return catalogue;
}

const net::TFormFields& ScriptList() {
  static const net::TFormFields f = Identity({"fltid=1"});
  return f;
}
const net::TFormFields& SystemList() {
  static const net::TFormFields f = Identity({"comblen=4", "maxnums=8"});
  return f;
}

struct Request {
  const char* Path;
  const net::TFormFields* Fields;
};

const net::TFormFields kScriptData = {"scr_id=3"};
const net::TFormFields kSystemData = {"sys_id=7"};  // the full wheel for 8 values, 70 rows

Request RequestOf(int which) {
  switch (which) {
    case 0: return {"/scripts/scr_getlist.php", &ScriptList()};
    case 1: return {"/scripts/scr_getdata.php", &kScriptData};
    case 2: return {"/scripts/sys_getlist.php", &SystemList()};
    default: return {"/scripts/sys_getdata.php", &kSystemData};
  }
}

void ProgramClient(benchmark::State& state) {
  Catalogue& c = Shared();
  net::THttpSettings settings;
  settings.CaFile = c.Server.CaFile();
  net::HttpClient client(settings);
  const Request r = RequestOf(static_cast<int>(state.range(0)));
  const std::string url = c.Server.BaseUrl() + r.Path;
  for (auto _ : state) benchmark::DoNotOptimize(client.PostForm(url, *r.Fields));
  state.SetItemsProcessed(state.iterations());
}

void KeepAlive(benchmark::State& state) {
  Catalogue& c = Shared();
  httplib::SSLClient client("127.0.0.1", c.Server.Port());
  client.set_ca_cert_path(c.Server.CaFile().c_str());
  client.enable_server_certificate_verification(true);
  client.set_keep_alive(true);
  client.set_tcp_nodelay(true);
  const Request r = RequestOf(static_cast<int>(state.range(0)));
  const std::string body = net::EncodeForm(*r.Fields);
  for (auto _ : state) {
    const auto res = client.Post(r.Path, body, "application/x-www-form-urlencoded");
    if (!res || res->status != 200) state.SkipWithError("request failed");
    benchmark::DoNotOptimize(res);
  }
  state.SetItemsProcessed(state.iterations());
}

void ServiceOnly(benchmark::State& state) {
  Catalogue& c = Shared();
  const auto storage = catalog::OpenSqliteStorage(c.Server.DbPath().string());
  catalog::Service service(*storage, [] { return int64_t{1700000000}; });
  const Request r = RequestOf(static_cast<int>(state.range(0)));
  const std::string body = net::EncodeForm(*r.Fields);
  for (auto _ : state) benchmark::DoNotOptimize(service.Handle(r.Path, body));
  state.SetItemsProcessed(state.iterations());
}

// 0 script list (102 entries), 1 script data, 2 systems list, 3 system data.
// Requests per second by the wall clock; "CPU" is the whole process's (client and server threads).
BENCHMARK(ProgramClient)->Name("Catalog/ProgramClient")->DenseRange(0, 3)->Unit(benchmark::kMicrosecond)
    ->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(KeepAlive)->Name("Catalog/KeepAlive")->DenseRange(0, 3)->Unit(benchmark::kMicrosecond)
    ->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(ServiceOnly)->Name("Catalog/ServiceOnly")->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace
