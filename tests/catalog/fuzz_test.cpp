// Random, truncated and mangled bodies at every path: each gets an answer the program can read,
// and the server goes on serving.

#include <random>

#include <gmock/gmock.h>
#include <httplib.h>

#include "catalog/service.h"
#include "catalog_fixture.h"

namespace kelmora::catalog {
namespace {

using ::testing::StartsWith;

TEST_F(CatalogTest, RandomAndTruncatedBodiesAtEveryPathAreAnsweredAndTheServerStaysUp) {
  const int64_t script = PutScript(Anna, -1, ScriptDraft{});
  const int64_t system = PutSystem(Anna, -1, SystemDraft{});
  const std::pair<const char*, net::TFormFields> valid[] = {
      {"/scripts/sys_getlist.php", WithIdentity({"comblen=4", "maxnums=8"}, Boris)},
      {"/scripts/sys_getdata.php", {fmt::format("sys_id={}", system)}},
      {"/scripts/sys_putdata.php", SystemPutFields(Boris, -1, SystemDraft{})},
      {"/scripts/scr_getlist.php", WithIdentity({"fltid=1"}, Boris)},
      {"/scripts/scr_getdata.php", {fmt::format("scr_id={}", script)}},
      {"/scripts/scr_setrate.php", RateFields(Boris, script, 3, "ok")},
      {"/scripts/scr_chktitle.php", {fmt::format("scr_id={}", script), "scr_title=abc"}},
      {"/scripts/scr_putscript.php", ScriptPutFields(Boris, -1, ScriptDraft{.Title = "ф"})},
      {"/scripts/scr_getrates.php", {fmt::format("scr_id={}", script)}},
  };

  httplib::SSLClient client("127.0.0.1", server_.Port());
  client.set_ca_cert_path(server_.CaFile().c_str());
  client.enable_server_certificate_verification(true);
  client.set_keep_alive(true);
  client.set_tcp_nodelay(true);

  std::mt19937 random(20261211);
  auto byte = [&] { return static_cast<char>(random() & 0xFF); };
  int answered = 0;
  for (const auto& [path, fields] : valid) {
    const std::string good = net::EncodeForm(fields);
    std::vector<std::string> bodies;
    for (int i = 0; i < 30; ++i) {
      std::string b(random() % 600, '\0');
      for (char& c : b) c = byte();
      bodies.push_back(std::move(b));
    }
    for (int i = 0; i < 30; ++i) bodies.push_back(good.substr(0, random() % (good.size() + 1)));
    for (int i = 0; i < 30; ++i) {
      std::string b = good;
      for (int k = 0; k < 3; ++k) b[random() % b.size()] = byte();
      bodies.push_back(std::move(b));
    }
    // Field soup: names of this path's fields with random values, percent signs and markers.
    for (int i = 0; i < 10; ++i) {
      std::string b;
      for (const std::string& f : fields) {
        b += f.substr(0, f.find('=') + 1);
        for (int k = random() % 12; k > 0; --k) b += "%<>\"\\&=+0-9"[random() % 12];
        b += '&';
      }
      bodies.push_back(std::move(b));
    }
    for (const std::string& body : bodies) {
      const auto res = client.Post(path, body, "application/x-www-form-urlencoded");
      ASSERT_TRUE(res) << path << ": no answer";
      ASSERT_EQ(res->status, 200) << path;
      ASSERT_THAT(res->body, StartsWith("<result>")) << path;
      try {
        net::ReadAnswerRows(res->body);
      } catch (const std::exception& e) {
        // A refusal is fine; an answer the reader cannot take apart is not.
        EXPECT_THAT(e.what(), ::testing::Not(StartsWith("Не удалось найти пару"))) << path << ": " << res->body;
      }
      ++answered;
    }
  }
  EXPECT_EQ(answered, 9 * 100);
  EXPECT_EQ(client.Post("/scripts/scr_getlist.php", std::string(MaxBodyBytes + 1, 'a'), "text/plain")->status, 413);

  // Still up, and what was there is still there.
  EXPECT_EQ(ScriptText(script), ScriptDraft{}.Text);
  EXPECT_EQ(SystemRows(system), "01 02 03 04\r\n02 03 04 05");
  EXPECT_FALSE(ListScripts(Anna, 0).empty());
}

}  // namespace
}  // namespace kelmora::catalog
