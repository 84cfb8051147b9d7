#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>

#include <gmock/gmock.h>

#include "catalog/seed.h"
#include "catalog/wheels.h"
#include "catalog_fixture.h"
#include "support/text.h"

namespace kelmora::catalog {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr int64_t T0 = 1700000000;

TEST_F(CatalogTest, SystemDownloadsAreCountedAndAChangeIsACreation) {
  server_.SetNow(T0);
  const int64_t id = PutSystem(Anna, -1, SystemDraft{});
  for (int i = 1; i <= 3; ++i) {
    server_.SetNow(T0 + i * 60);
    EXPECT_EQ(SystemRows(id), "01 02 03 04\r\n02 03 04 05");
  }
  std::string row = RowOf(ListSystems(Boris), id);
  EXPECT_EQ(Element(row, "downloads"), "3");
  EXPECT_EQ(Element(row, "last_download"), "2023-11-14 22:16:20");

  // A changed system gets a new creation time (the program downloads it again) and keeps its count.
  server_.SetNow(T0 + 3600);
  SystemDraft d;
  d.Nums = 6;
  d.Olap = 2;
  d.Title = "Шесть";
  d.Rows = "01 02 03 06";
  d.CSize = 1;
  EXPECT_EQ(PutSystem(Anna, id, d), id);
  row = RowOf(ListSystems(Boris), id);
  EXPECT_EQ(Element(row, "nums"), "6");
  EXPECT_EQ(Element(row, "olap"), "2");
  EXPECT_EQ(Element(row, "created"), "2023-11-14 23:13:20");
  EXPECT_EQ(Element(row, "downloads"), "3");
  EXPECT_EQ(SystemRows(id), "01 02 03 06");

  EXPECT_EQ(PutSystem(Anna, id, d, true), 0);
  EXPECT_THAT(ListSystems(Boris), IsEmpty());
  EXPECT_THAT(Refusal("/scripts/sys_getdata.php", {fmt::format("sys_id={}", id)}), HasSubstr("не найдена"));
}

TEST_F(CatalogTest, TheSystemsListHonoursTheCombinationLengthAndTheLargestValueCount) {
  const int64_t five = PutSystem(Anna, -1, SystemDraft{});
  SystemDraft eight;
  eight.Nums = 8;
  eight.Rows = "01 02 03 08";
  eight.CSize = 1;
  const int64_t big = PutSystem(Anna, -1, eight);
  auto list = [&](int comblen, int maxnums) {
    return Ids(Rows("/scripts/sys_getlist.php",
                    WithIdentity({fmt::format("comblen={}", comblen), fmt::format("maxnums={}", maxnums)}, Anna)));
  };
  EXPECT_THAT(list(4, 8), ElementsAre(five, big));
  EXPECT_THAT(list(4, 7), ElementsAre(five));
  EXPECT_THAT(list(5, 8), IsEmpty());
}

TEST_F(CatalogTest, TextsTheReaderWouldTrimOrUnquoteArriveAsSent) {
  User quoted = Anna;
  quoted.Name = "  \"Анна\"  ";
  SystemDraft d;
  d.Url = "\"https://example.org/\" ";
  d.Title = "  заголовок с пробелами  ";
  const int64_t id = PutSystem(quoted, -1, d);
  const std::string row = RowOf(ListSystems(Boris), id);
  EXPECT_EQ(Element(row, "author"), quoted.Name);
  EXPECT_EQ(Element(row, "url"), d.Url);
  EXPECT_EQ(Decoded(row, "title"), d.Title);
}

TEST_F(CatalogTest, TheSeedListsFullAndCoveringWheelsForFiveToEightValuesAndTwoScripts) {
  {
    const auto storage = OpenSqliteStorage(server_.DbPath().string());  // beside the running server
    const SeedCounts counts = Seed(*storage, T0);
    EXPECT_EQ(counts.Systems, 8);
    EXPECT_EQ(counts.Scripts, 2);
    EXPECT_EQ(Seed(*storage, T0).Systems, 0);  // a second seed adds nothing
  }
  const auto systems = ListSystems(Boris);
  ASSERT_EQ(systems.size(), 8u);
  for (const std::string& row : systems) {
    const int n = std::stoi(Element(row, "nums"));
    const std::string title = Decoded(row, "title");
    const auto lines = support::Split(SystemRows(std::stoll(Element(row, "id"))), "\n");
    EXPECT_EQ(std::to_string(lines.size()), Element(row, "csize")) << title;
    std::vector<WheelRow> wheel;
    for (const std::string& line : lines) {
      const auto words = support::SplitWords(line, " \r");
      ASSERT_EQ(words.size(), 4u) << line;
      wheel.push_back({std::stoi(words[0]), std::stoi(words[1]), std::stoi(words[2]), std::stoi(words[3])});
    }
    const bool full = Element(row, "olap") == "0";
    EXPECT_TRUE(Covers(wheel, n, full ? 4 : 3)) << title;
    if (full) {
      EXPECT_EQ(wheel, FullWheel(n)) << title;
    }
  }
  const auto scripts = ListScripts(Boris, 1);
  ASSERT_EQ(scripts.size(), 2u);
  for (const std::string& row : scripts) {
    EXPECT_EQ(Element(row, "key_cl_name"), SeedAuthor);
    EXPECT_THAT(ScriptText(std::stoll(Element(row, "id"))), HasSubstr("FULL:0#"));
  }
}

TEST_F(CatalogTest, FilesAreServedUnderFiles) {
  std::filesystem::create_directories(server_.FilesDir() / "autoupdates" / "UpdDescr");
  std::ofstream(server_.FilesDir() / "autoupdates" / "Orvane_AU.cfg") << "[Kelmora_4r32.exe]\r\nVerId=0.1.0.9\r\n";
  std::ofstream(server_.FilesDir() / "autoupdates" / "UpdDescr" / "UpdDescr_0.1.0.9.txt") << "Что нового";
  EXPECT_EQ(net::HttpGetText(server_.BaseUrl() + "/files/autoupdates/Orvane_AU.cfg", true, settings_),
            "[Kelmora_4r32.exe]\r\nVerId=0.1.0.9\r\n");
  testing::TempDir target;
  net::HttpGetToFile(server_.BaseUrl() + "/files/autoupdates/UpdDescr/UpdDescr_0.1.0.9.txt", target / "notes.txt",
                     settings_);
  std::ifstream in(target / "notes.txt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "Что нового");

  for (const char* missing : {"/files/autoupdates/none.cfg", "/files/../catalog.db", "/files/%2e%2e/catalog.db"}) {
    try {
      net::HttpGetText(server_.BaseUrl() + missing, true, settings_);
      ADD_FAILURE() << missing << " was served";
    } catch (const std::exception& e) {
      EXPECT_THAT(e.what(), HasSubstr("404")) << missing;
    }
  }
}

// Whether a TLS handshake with the port succeeds when the client offers at most `max_version`.
bool Handshakes(int port, int max_version) {
  SSL_CTX* ctx = SSL_CTX_new(TLS_client_method());
  SSL_CTX_set_security_level(ctx, 0);  // let the client itself offer the old versions
  SSL_CTX_set_min_proto_version(ctx, TLS1_VERSION);
  SSL_CTX_set_max_proto_version(ctx, max_version);
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<uint16_t>(port));
  bool ok = false;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
    SSL* ssl = SSL_new(ctx);
    SSL_set_fd(ssl, fd);
    ok = SSL_connect(ssl) == 1;
    SSL_free(ssl);
  }
  ::close(fd);
  SSL_CTX_free(ctx);
  return ok;
}

TEST_F(CatalogTest, TlsOlderThanOnePointTwoIsRefused) {
  EXPECT_TRUE(Handshakes(server_.Port(), TLS1_2_VERSION));
  EXPECT_FALSE(Handshakes(server_.Port(), TLS1_1_VERSION));
  EXPECT_FALSE(Handshakes(server_.Port(), TLS1_VERSION));
}

TEST(CatalogServer, PlainHttpListensOnlyOnALoopbackAddress) {
  testing::TempDir dir;
  ServerOptions options;
  options.DbPath = (dir / "c.db").string();
  options.Host = "0.0.0.0";
  Server open(options);
  std::string error;
  EXPECT_FALSE(open.Start(&error));
  EXPECT_THAT(error, HasSubstr("loopback"));

  options.Host = "127.0.0.1";
  Server local(options);
  ASSERT_TRUE(local.Start(&error)) << error;
  const std::string answer = net::HttpPostForm(fmt::format("http://127.0.0.1:{}/scripts/sys_getlist.php", local.Port()),
                                               {"comblen=4", "maxnums=8", "cl_lcid=0"}, true, {});
  EXPECT_EQ(answer, "<result></result>");
}

}  // namespace
}  // namespace kelmora::catalog
