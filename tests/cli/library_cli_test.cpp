// `kelmora library list|get` against an HTTPS catalogue on loopback, and `kelmora update check`
// from a local description into a program folder of the test's own.

#include <stdlib.h>

#include <map>
#include <mutex>

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "common/http_test_server.h"
#include "common/temp_dir.h"
#include "net/script_library.h"
#include "scripts/script.h"
#include "support/encoding.h"
#include "support/files.h"

namespace kelmora::testing {
namespace {

using ::testing::HasSubstr;

std::string Row(int id, const std::string& title, const std::string& guid) {
  return fmt::format("<row><id>{}</id><key_cl_name>Ольга</key_cl_name><key_cl_mail>o@example.org</key_cl_mail>"
                     "<key_cl_lcid>1049</key_cl_lcid><app_name>Kelmora_4r32</app_name><app_ver>0.1.0.0</app_ver>"
                     "<app_guid>{}</app_guid><uniapps>0</uniapps><publics>1</publics><created></created>"
                     "<rating_avg>1234.5</rating_avg><rating_cnt>3</rating_cnt><rating_you>-1</rating_you>"
                     "<downloads>9</downloads><title>{}</title><descr>{}</descr></row>",
                     id, guid, net::EncodeBase64(title), net::EncodeBase64("две\r\nстроки"));
}

class LibraryCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ca_.WritePem(dir_ / "ca.pem");
    server_.Server().Post(R"(/scripts/(\w+\.php))", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard<std::mutex> lock(mutex_);
      const std::string script = req.matches[1];
      fltids_.push_back(req.has_param("fltid") ? req.get_param_value("fltid") : "");
      if (script == "scr_getlist.php")
        res.set_content(fmt::format("<result>{}{}</result>", Row(7, "Суммы", net::AppGuid),
                                    Row(8, "Чужой", "{00000000-0000-0000-0000-000000000000}")),
                        "text/xml");
      else if (script == "scr_getdata.php")
        res.set_content(fmt::format("<result><row><script>{}</script></row></result>", net::EncodeBase64("первая\nвторая")),
                        "text/xml");
    });
    server_.Start();
    support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini",
                             fmt::format("[NETWORK]\r\nCatalogUrl={}\r\nCaFile={}\r\nUserMail=me@example.org\r\n",
                                         server_.Url(""), (dir_ / "ca.pem").string()));
  }
  CliResult Run(std::vector<std::string> args) { return RunKelmora(dir_.Path(), std::move(args)); }

  TempDir dir_;
  TestCert ca_ = MakeCert("Kelmora Test CA", nullptr, "", true);
  TestCert cert_ = MakeCert("localhost", &ca_, "DNS:localhost,IP:127.0.0.1", false);
  TestHttpServer server_{cert_};
  std::mutex mutex_;
  std::vector<std::string> fltids_;
};

TEST_F(LibraryCli, ListPrintsTheCatalogueAsTsv) {
  const CliResult r = Run({"library", "list", "--filter", "-1"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "Id\tТип\tНазвание\tАвтор\tПрограмма\tВерсия\tЯзык\tСоздан\tРейтинг\tОценок\tВаша оценка\tЗагрузок\t"
            "Последняя\tКомментарии\n"
            "7\tОбщий\tСуммы\tОльга\tKelmora_4r32\t0.1.0.0\tRUS\t\t1 234.500\t3\tСкрытый\t9\t\tдве  строки\n"
            "8\tОбщий\tЧужой\tОльга\tKelmora_4r32\t0.1.0.0\tRUS\t\t1 234.500\t3\tСкрытый\t9\t\tдве  строки\n");
  ASSERT_EQ(fltids_.size(), 1u);
  EXPECT_EQ(fltids_[0], "-1");
  EXPECT_EQ(Run({"library", "list"}).Code, 0);
  EXPECT_EQ(fltids_.back(), "1");
  EXPECT_EQ(Run({"library", "list", "--filter", "7"}).Code, 2);
}

TEST_F(LibraryCli, GetWritesTheScriptFileOfACompatibleEntryOnly) {
  const auto file = dir_ / "got.lsc";
  CliResult r = Run({"library", "get", "7", "--out", file.string()});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(scripts::ReadScriptFile(file), (std::vector<std::string>{"первая", "вторая"}));

  r = Run({"library", "get", "8", "--out", (dir_ / "other.lsc").string()});
  EXPECT_EQ(r.Code, 1);
  EXPECT_THAT(r.Err, HasSubstr("сделан для другой программы"));
  EXPECT_FALSE(support::FileExists(dir_ / "other.lsc"));
  r = Run({"library", "get", "99", "--out", (dir_ / "none.lsc").string()});
  EXPECT_EQ(r.Code, 1);
}

class UpdateCli : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(program_);
    std::filesystem::create_directories(dir_ / "share" / "UpdDescr");
    ::setenv("KELMORA_PROGRAM_DIR", program_.c_str(), 1);
    // The system's texts are Windows-1251 on disk.
    support::WriteFileAtomic(dir_ / "share" / "UpdDescr" / "UpdDescr_0.1.0.5.txt", support::Utf8ToCp1251("Новое\r\n"));
  }
  void TearDown() override { ::unsetenv("KELMORA_PROGRAM_DIR"); }
  void Describe(const std::string& ver_id, const std::string& package) {
    support::WriteFileAtomic(dir_ / "share" / "Orvane_AU.cfg",
                             support::Utf8ToCp1251(fmt::format("[Kelmora_4r32]\r\nVerId={}\r\nDescription=Версия {}\r\nDownloadUrl={}\r\n"
                                         "OriginalFileName=update.tar.gz\r\n",
                                         ver_id, ver_id, package)));
  }
  CliResult Run(std::vector<std::string> args) { return RunKelmora(dir_.Path(), std::move(args)); }

  TempDir dir_;
  std::filesystem::path program_ = dir_ / "program";
};

TEST_F(UpdateCli, CheckPrintsTheOfferAndInstallsOnlyWhenAsked) {
  // The package is the description itself: it never gets as far as being unpacked here.
  Describe("0.1.0.5", (dir_ / "share" / "missing.tar.gz").string());
  CliResult r = Run({"update", "check", "--source", (dir_ / "share" / "Orvane_AU.cfg").string()});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, fmt::format("RunningVersion\t{}\nVerId\t0.1.0.5\nDescription\tВерсия 0.1.0.5\nDownloadUrl\t{}\n"
                               "Notes\tНовое\n",
                               KELMORA_VERSION, (dir_ / "share" / "missing.tar.gz").string()));
  EXPECT_TRUE(std::filesystem::is_empty(program_));

  r = Run({"update", "check", "--source", (dir_ / "share" / "Orvane_AU.cfg").string(), "--install"});
  EXPECT_EQ(r.Code, 1);
  EXPECT_THAT(r.Err, HasSubstr("Ошибка установки обновления!"));
  EXPECT_TRUE(std::filesystem::is_empty(program_));
}

TEST_F(UpdateCli, NothingOfferedIsSaid) {
  Describe(KELMORA_VERSION, "x");
  const CliResult r = Run({"update", "check", "--source", (dir_ / "share" / "Orvane_AU.cfg").string()});
  EXPECT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, "");
  EXPECT_THAT(r.Err, HasSubstr("Обновлений не найдено!"));
}

}  // namespace
}  // namespace kelmora::testing
