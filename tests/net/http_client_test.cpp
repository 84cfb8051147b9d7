#include "net/http_client.h"

#include <zlib.h>

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/http_test_server.h"
#include "common/temp_dir.h"
#include "support/files.h"

namespace kelmora::net {
namespace {

using kelmora::testing::MakeCert;
using kelmora::testing::TempDir;
using kelmora::testing::TestCert;
using kelmora::testing::TestHttpServer;
using kelmora::testing::TestProxy;
using ::testing::HasSubstr;

// zlib's deflate with the given window bits: 31 gzip, 15 zlib ("deflate"), -15 raw deflate.
std::string Compress(const std::string& data, int window_bits, int level = Z_BEST_COMPRESSION) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, window_bits, 9, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, data.size()) + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// Short limits, so that a test never waits long.
THttpSettings Quick() {
  THttpSettings s;
  s.ConnectTimeoutMs = 2000;
  s.ReadTimeoutMs = 2000;
  return s;
}

std::string FailureOf(const std::function<void()>& request) {
  try {
    request();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(no failure)";
}

class HttpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& s = server_.Server();
    s.Get("/headers", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.get_header_value("Accept") + "\n" + req.get_header_value("Accept-Encoding") + "\n" +
                          req.get_header_value("User-Agent"),
                      "application/octet-stream");
    });
    s.Get("/text", [](const httplib::Request&, httplib::Response& res) { res.set_content("plain body", "application/octet-stream"); });
    s.Get("/redirect", [](const httplib::Request&, httplib::Response& res) {
      res.status = 302;
      res.set_header("Location", "/text");
      res.set_content("moved", "application/octet-stream");
    });
    s.Get("/set-cookie", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Set-Cookie", "sid=abc123; Path=/");
      res.set_content("set", "application/octet-stream");
    });
    s.Get("/cookie", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(fmt::format("cookie={}", req.get_header_value("Cookie")), "application/octet-stream");
    });
    s.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
      res.status = 404;
      res.set_content("not here", "text/plain");
    });
    s.Get("/stall", [this](const httplib::Request&, httplib::Response& res) {
      for (int i = 0; i < 300 && !release_; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      res.set_content("late", "application/octet-stream");
    });
    s.Post("/form", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.get_header_value("Content-Type") + "\n" + req.body, "application/octet-stream");
    });
  }
  // Each test adds the routes of its own and then starts the server.
  void Start() { server_.Start(); }
  void TearDown() override { release_ = true; }

  TestHttpServer server_;
  std::atomic<bool> release_{false};
};

TEST_F(HttpClientTest, EveryRequestSendsTheBrowserHeaders) {
  Start();
  EXPECT_EQ(HttpGetText(server_.Url("/headers"), true, Quick()),
            std::string(AcceptHeader) + "\n" + AcceptEncodingHeader + "\n" + UserAgentHeader);
  HttpClient shared(Quick());
  EXPECT_EQ(shared.Get(server_.Url("/headers")),
            std::string(AcceptHeader) + "\n" + AcceptEncodingHeader + "\n" + UserAgentHeader);
}

TEST_F(HttpClientTest, CompressedAnswersAreDecoded) {
  const std::string text(5000, 'x');
  const struct {
    const char* Encoding;
    int WindowBits;
  } cases[] = {{"gzip", 31}, {"deflate", 15}, {"deflate", -15}};
  int n = 0;
  for (const auto& c : cases) {
    const std::string path = fmt::format("/packed{}", n++);
    const std::string packed = Compress(text + path, c.WindowBits);
    server_.Server().Get(path, [packed, c](const httplib::Request&, httplib::Response& res) {
      res.set_header("Content-Encoding", c.Encoding);
      res.set_content(packed, "application/octet-stream");
    });
  }
  Start();
  n = 0;
  for (const auto& c : cases) {
    const std::string path = fmt::format("/packed{}", n++);
    EXPECT_EQ(HttpGetText(server_.Url(path), true, Quick()), text + path) << c.Encoding << " " << c.WindowBits;
  }
}

TEST_F(HttpClientTest, RedirectsAreFollowedOnlyWhenAsked) {
  Start();
  EXPECT_EQ(HttpGetText(server_.Url("/redirect"), true, Quick()), "plain body");
  EXPECT_EQ(HttpGetText(server_.Url("/redirect"), false, Quick()), "moved");
  HttpClient shared(Quick());
  EXPECT_EQ(shared.Get(server_.Url("/redirect")), "plain body");
}

TEST_F(HttpClientTest, TheSharedClientKeepsCookiesTheShortLivedOnesDoNot) {
  Start();
  HttpClient shared(Quick());
  shared.Get(server_.Url("/set-cookie"));
  EXPECT_EQ(shared.Get(server_.Url("/cookie")), "cookie=sid=abc123");
  HttpGetText(server_.Url("/set-cookie"), true, Quick());
  EXPECT_EQ(HttpGetText(server_.Url("/cookie"), true, Quick()), "cookie=");
}

TEST_F(HttpClientTest, AnErrorStatusFailsWithTheStatusLine) {
  Start();
  const std::string failure = FailureOf([&] { HttpGetText(server_.Url("/missing"), true, Quick()); });
  EXPECT_THAT(failure, HasSubstr("404 Not Found"));
}

TEST_F(HttpClientTest, AServerThatStallsTimesOutAndKeepsPumpingEvents) {
  Start();
  THttpSettings s = Quick();
  s.ReadTimeoutMs = 150;
  int pumped = 0;
  s.Pump = [&] { ++pumped; };
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(FailureOf([&] { HttpGetText(server_.Url("/stall"), true, s); }),
            "Превышено время ожидания ответа сервера (150 мс)");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_GT(pumped, 2) << "the event pump runs while the request waits";
}

TEST_F(HttpClientTest, ACancelEndsTheRequest) {
  Start();
  THttpSettings s = Quick();
  int polls = 0;
  s.Cancelled = [&] { return ++polls > 3; };
  EXPECT_EQ(FailureOf([&] { HttpGetText(server_.Url("/stall"), true, s); }), "Загрузка прервана пользователем");
}

TEST_F(HttpClientTest, FormsAreSentUrlEncodedInTheGivenOrder) {
  Start();
  const TFormFields fields = {"zeta=1", "alpha=a b&c=d", "name=Иван", "empty=", "plus=1+1", "eq=x=y"};
  EXPECT_EQ(HttpPostForm(server_.Url("/form"), fields, true, Quick()),
            "application/x-www-form-urlencoded\nzeta=1&alpha=a%20b%26c%3Dd&name=%D0%98%D0%B2%D0%B0%D0%BD&empty=&"
            "plus=1%2B1&eq=x%3Dy");
}

TEST_F(HttpClientTest, BodiesAboveTheCapAreRefused) {
  // 65 MiB of zeros, packed into some 64 KiB: the cap holds for the decoded body.
  const std::string bomb = Compress(std::string(65 * 1024 * 1024, '\0'), 31, Z_BEST_SPEED);
  server_.Server().Get("/bomb", [&bomb](const httplib::Request&, httplib::Response& res) {
    res.set_header("Content-Encoding", "gzip");
    res.set_content(bomb, "application/octet-stream");
  });
  server_.Server().Get("/chunked", [](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("application/octet-stream", [](size_t offset, httplib::DataSink& sink) {
      const std::string piece(1000, 'y');
      if (offset < 5000) sink.write(piece.data(), piece.size());
      else sink.done();
      return true;
    });
  });
  Start();
  EXPECT_THAT(FailureOf([&] { HttpGetText(server_.Url("/bomb"), true, Quick()); }),
              HasSubstr("Ответ сервера больше 67108864 байт"));
  THttpSettings small = Quick();
  small.MaxBody = 3000;
  for (const char* path : {"/chunked", "/headers"}) {
    const std::string url = server_.Url(path);
    if (std::string(path) == "/headers") {
      small.MaxBody = 10;  // known in advance from Content-Length
    }
    EXPECT_THAT(FailureOf([&] { HttpGetText(url, true, small); }), HasSubstr("Ответ сервера больше")) << path;
  }
}

TEST_F(HttpClientTest, GetToFileReplacesTheFileOnlyWhenTheRequestSucceeds) {
  Start();
  TempDir dir;
  const auto path = dir / "out.csv";
  support::WriteFileAtomic(path, std::string("old content"));
  HttpGetToFile(server_.Url("/text"), path, Quick());
  EXPECT_EQ(support::ReadFileText(path), "plain body");
  HttpClient shared(Quick());
  EXPECT_THROW(shared.GetToFile(server_.Url("/missing"), path), std::exception);
  EXPECT_EQ(support::ReadFileText(path), "plain body");
}

TEST_F(HttpClientTest, TheProxyPathCarriesTheRequestAndTheProxyCredentials) {
  Start();
  TestProxy proxy;
  HttpClient shared(Quick());
  shared.SetProxy({"127.0.0.1", proxy.Port(), "user", "secret"});
  EXPECT_EQ(shared.Get(server_.Url("/text")), "via proxy");
  const auto heads = proxy.Heads();
  ASSERT_EQ(heads.size(), 1u);
  EXPECT_EQ(heads[0].rfind(fmt::format("GET {} HTTP/1.1", server_.Url("/text")), 0), 0u) << heads[0];
  EXPECT_THAT(heads[0], HasSubstr("Proxy-Authorization: Basic dXNlcjpzZWNyZXQ="));  // user:secret
  // Back to a direct connection.
  shared.SetProxy({});
  EXPECT_EQ(shared.Get(server_.Url("/text")), "plain body");
}

// ---- TLS ----

class HttpsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ca_ = new TestCert(MakeCert("Kelmora Test CA", nullptr, "", true));
  }
  static void TearDownTestSuite() {
    delete ca_;
    ca_ = nullptr;
  }
  // Settings that trust the test CA.
  THttpSettings Trusting() {
    THttpSettings s = Quick();
    s.CaFile = dir_ / "ca.pem";
    ca_->WritePem(s.CaFile);
    return s;
  }
  static void Serve(TestHttpServer& server) {
    server.Server().Get("/text", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("secure body", "application/octet-stream");
    });
    server.Start();
  }

  static TestCert* ca_;
  TempDir dir_;
};
TestCert* HttpsTest::ca_ = nullptr;

TEST_F(HttpsTest, ACertificateOfTheTrustedCaForTheHostIsAccepted) {
  TestHttpServer server(MakeCert("localhost", ca_, "DNS:localhost,IP:127.0.0.1", false));
  Serve(server);
  EXPECT_EQ(HttpGetText(server.Url("/text"), true, Trusting()), "secure body");
  HttpClient shared(Trusting());
  EXPECT_EQ(shared.Get(server.Url("/text")), "secure body");
}

TEST_F(HttpsTest, ForgedCertificatesAndOtherHostsAreRefused) {
  const struct {
    const char* What;
    TestCert Cert;
    bool TrustCa;
  } cases[] = {
      {"self-signed for the right host", MakeCert("localhost", nullptr, "DNS:localhost,IP:127.0.0.1", false), true},
      {"signed by the CA for another host", MakeCert("elsewhere.test", ca_, "DNS:elsewhere.test", false), true},
      {"signed by a CA nobody trusts", MakeCert("localhost", ca_, "DNS:localhost", false), false},
  };
  for (const auto& c : cases) {
    TestHttpServer server(c.Cert);
    Serve(server);
    const THttpSettings s = c.TrustCa ? Trusting() : Quick();
    EXPECT_THAT(FailureOf([&] { HttpGetText(server.Url("/text"), true, s); }),
                HasSubstr("Сертификат сервера не прошёл проверку"))
        << c.What;
    HttpClient shared(s);
    EXPECT_THROW(shared.Get(server.Url("/text")), std::exception) << c.What;
  }
}

TEST_F(HttpsTest, AServerOfferingOnlyTls11IsRefused) {
  const TestCert cert = MakeCert("localhost", ca_, "DNS:localhost,IP:127.0.0.1", false);
  TestHttpServer server([&cert](SSL_CTX& ctx) {
    SSL_CTX_set_security_level(&ctx, 0);
    SSL_CTX_set_min_proto_version(&ctx, TLS1_VERSION);
    SSL_CTX_set_max_proto_version(&ctx, TLS1_1_VERSION);
    return SSL_CTX_use_certificate(&ctx, cert.Cert.get()) == 1 && SSL_CTX_use_PrivateKey(&ctx, cert.Key.get()) == 1;
  });
  Serve(server);
  EXPECT_THAT(FailureOf([&] { HttpGetText(server.Url("/text"), true, Trusting()); }),
              HasSubstr("TLS 1.2 или новее"));
}

TEST_F(HttpsTest, AnUnreadableCaFileIsNamed) {
  TestHttpServer server(MakeCert("localhost", ca_, "DNS:localhost,IP:127.0.0.1", false));
  Serve(server);
  THttpSettings s = Quick();
  s.CaFile = dir_ / "missing.pem";
  EXPECT_THAT(FailureOf([&] { HttpGetText(server.Url("/text"), true, s); }), HasSubstr("missing.pem"));
}

TEST_F(HttpsTest, HttpsGoesThroughTheProxyTunnel) {
  TestHttpServer server(MakeCert("localhost", ca_, "DNS:localhost,IP:127.0.0.1", false));
  Serve(server);
  TestProxy proxy;
  HttpClient shared(Trusting());
  shared.SetProxy({"127.0.0.1", proxy.Port(), "", ""});
  EXPECT_EQ(shared.Get(server.Url("/text")), "secure body");
  const auto heads = proxy.Heads();
  ASSERT_EQ(heads.size(), 1u);
  EXPECT_EQ(heads[0].rfind(fmt::format("CONNECT localhost:{} HTTP/1.1", server.Port()), 0), 0u) << heads[0];
}

TEST(HttpUrl, HttpsIsRecognisedIgnoringCase) {
  EXPECT_TRUE(IsHttpsUrl("https://a"));
  EXPECT_TRUE(IsHttpsUrl("HTTPS://a"));
  EXPECT_FALSE(IsHttpsUrl("http://a"));
  EXPECT_FALSE(IsHttpsUrl("https:/"));
}

}  // namespace
}  // namespace kelmora::net
