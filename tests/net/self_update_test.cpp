#include "net/self_update.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <map>
#include <mutex>

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/archive_maker.h"
#include "common/http_test_server.h"
#include "common/temp_dir.h"
#include "support/encoding.h"
#include "support/files.h"

namespace kelmora::net {
namespace {

namespace fs = std::filesystem;
using Entry = kelmora::testing::ArchiveEntry;
using kelmora::testing::MakeArchive;
using kelmora::testing::MakeCert;
using kelmora::testing::TempDir;
using kelmora::testing::TestCert;
using kelmora::testing::TestHttpServer;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* Running = "2.5.0.123";
constexpr const char* Offered = "2.5.1.124";

std::string Crc32Of(const std::string& bytes) {
  return fmt::format("{:08X}", static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()),
                                                           static_cast<uInt>(bytes.size()))));
}

std::string Sha256Of(const std::string& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr);
  std::string out;
  for (unsigned int i = 0; i < length; ++i) out += fmt::format("{:02x}", digest[i]);
  return out;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Read(const fs::path& path) { return support::ReadFileText(path); }
void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  support::WriteFileAtomic(path, text);
}

// Every file below a folder with its content, relative names.
std::map<std::string, std::string> Tree(const fs::path& folder) {
  std::map<std::string, std::string> out;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) out[fs::relative(entry.path(), folder).string()] = Read(entry.path());
  return out;
}

// The vendor's server over HTTPS: files by path, and a path may fail a given number of times.
class UpdateServer {
 public:
  UpdateServer() : ca_(MakeCert("Kelmora Test CA", nullptr, "", true)),
                   cert_(MakeCert("localhost", &ca_, "DNS:localhost,IP:127.0.0.1", false)),
                   server_(cert_) {
    server_.Server().Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(req.path);
      if (int& failures = failures_[req.path]; failures > 0) {
        --failures;
        res.status = 503;
        return;
      }
      const auto it = files_.find(req.path);
      if (it == files_.end()) {
        res.status = 404;
        return;
      }
      res.set_content(it->second, "application/octet-stream");
    });
    server_.Start();
  }
  void Put(const std::string& path, std::string body) {
    std::lock_guard<std::mutex> lock(mutex_);
    files_[path] = std::move(body);
  }
  void FailTimes(const std::string& path, int times) {
    std::lock_guard<std::mutex> lock(mutex_);
    failures_[path] = times;
  }
  int Requests(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(std::count(requests_.begin(), requests_.end(), path));
  }
  std::string Url(const std::string& path) const { return server_.Url(path); }
  const TestCert& Ca() const { return ca_; }

 private:
  TestCert ca_, cert_;
  TestHttpServer server_;
  std::mutex mutex_;
  std::map<std::string, std::string> files_;
  std::map<std::string, int> failures_;
  std::vector<std::string> requests_;
};

class SelfUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(program_);
    server_.Ca().WritePem(dir_ / "ca.pem");
    check_.Source = server_.Url("/files/autoupdates/Orvane_AU.cfg");
    check_.ProgramDir = program_;
    check_.Section = "Kelmora_4r32";
    check_.RunningVersion = Running;
    check_.Lcid = 1049;
    check_.Http.CaFile = dir_ / "ca.pem";
    check_.Http.ConnectTimeoutMs = 2000;
    check_.Http.ReadTimeoutMs = 2000;
    check_.DeleteRetry = std::chrono::milliseconds(1);
    check_.ProgramTimeout = std::chrono::milliseconds(10000);
    ui_.ShowError = [this](const std::string& t) { errors_.push_back(t); };
    ui_.ShowInformation = [this](const std::string& t) { infos_.push_back(t); };
    ui_.ShowWarning = [this](const std::string& t) { warnings_.push_back(t); };
    ui_.ShowProgress = [this](const std::string& t, int maximum) { progress_.push_back(fmt::format("{}/{}", t, maximum)); };
    ui_.StepProgress = [this] { ++steps_; };
    ui_.HideProgress = [] {};
    ui_.AskInstall = [this](const std::string& running, const TUpdateVersionInfo& info,
                            const std::vector<std::string>& notes) {
      asked_running_ = running;
      offer_ = info;
      notes_ = notes;
      ++asked_;
      return install_;
    };
  }

  // The description of an offer of `package` (served at /files/pkg/update.tar.gz) with its CRC.
  std::string Description(const std::string& package, const std::string& extra = "",
                          const std::string& url = "") const {
    return fmt::format("[GlobalOptions]\r\n{}\r\n[Kelmora_4r32]\r\nVerId={}\r\nDescription=Kelmora 4r32 2.5.1\r\n"
                       "DownloadUrl={}\r\nOriginalFileName=update.tar.gz\r\nChecksumCRC32={}\r\n{}\r\n",
                       global_, Offered, url.empty() ? server_.Url("/files/pkg/update.tar.gz") : url,
                       Crc32Of(package), extra);
  }
  void Serve(const std::string& package, const std::string& extra = "") {
    server_.Put("/files/pkg/update.tar.gz", package);
    server_.Put("/files/autoupdates/Orvane_AU.cfg", Description(package, extra));
  }
  int Check() { return CheckForUpdate(check_, ui_); }
  void ExpectNoTraces() {
    EXPECT_FALSE(fs::exists(program_ / UpdateWorkFolderName));
    EXPECT_FALSE(fs::exists(program_ / UpdateInfoFileName));
    for (const auto& entry : fs::directory_iterator(program_))
      EXPECT_EQ(entry.path().filename().string().find(".~"), std::string::npos) << entry.path();
  }

  TempDir dir_;
  fs::path program_ = dir_ / "program";
  UpdateServer server_;
  TUpdateCheck check_;
  TUpdateUi ui_;
  std::string global_;
  bool install_ = true;
  int asked_ = 0;
  int steps_ = 0;
  std::string asked_running_;
  TUpdateVersionInfo offer_;
  std::vector<std::string> notes_, errors_, infos_, warnings_, progress_;
};

const std::string NewFiles[][2] = {{"Kelmora_4r32", "new program"}, {"help/guide.html", "new guide"}};

std::string NewPackage(const std::string& format = "tar.gz") {
  return MakeArchive(format, {{NewFiles[0][0], NewFiles[0][1]}, {NewFiles[1][0], NewFiles[1][1]}});
}

TEST_F(SelfUpdateTest, InstallsFromTheServiceAndLeavesOnlyTheNewFiles) {
  Write(program_ / "Kelmora_4r32", "old program");
  Write(program_ / "keep.txt", "kept");
  Write(program_ / "gone1.txt", "x");
  Write(program_ / "gone2.txt", "x");
  Write(program_ / "leftover.~old", "from an earlier update");
  const std::string package = NewPackage();
  // A lowercase checksum matches the computed uppercase digits.
  server_.Put("/files/pkg/update.tar.gz", package);
  server_.Put("/files/autoupdates/Orvane_AU.cfg",
              fmt::format("[Kelmora_4r32]\r\nVerId={}\r\nDescription=Kelmora 4r32 2.5.1\r\nDownloadUrl={}\r\n"
                          "OriginalFileName=update.tar.gz\r\nChecksumCRC32={}\r\nChecksumSHA256={}\r\n"
                          "DeleteBefore=gone1.txt; gone2.txt ;missing.txt\r\n",
                          Offered, server_.Url("/files/pkg/update.tar.gz"), Lower(Crc32Of(package)),
                          Sha256Of(package)));
  server_.Put(fmt::format("/files/autoupdates/UpdDescr/UpdDescr_RUS_{}.txt", Offered),
              support::Utf8ToCp1251("Что нового\r\nИсправления\r\n"));

  EXPECT_EQ(Check(), UpdateInstalled);

  EXPECT_EQ(asked_, 1);
  EXPECT_EQ(asked_running_, Running);
  EXPECT_EQ(offer_.Description, "Kelmora 4r32 2.5.1");
  EXPECT_THAT(notes_, ElementsAre("Что нового", "Исправления"));
  EXPECT_THAT(errors_, IsEmpty());
  EXPECT_THAT(warnings_, ElementsAre("Установка обновления \"Kelmora 4r32 2.5.1\" успешно выполнена.\r\rДля "
                                     "завершения установки необходимо перезапустить программу!"));
  EXPECT_THAT(progress_, ElementsAre("Поиск доступных обновлений.../5",
                                     fmt::format("Загрузка и установка обновления \"{}\".../14", Offered)));
  EXPECT_EQ(steps_, 5 + 14);
  const std::map<std::string, std::string> expected = {
      {"Kelmora_4r32", "new program"}, {"help/guide.html", "new guide"}, {"keep.txt", "kept"}};
  EXPECT_EQ(Tree(program_), expected);
  ExpectNoTraces();
}

TEST_F(SelfUpdateTest, ReplacesTheRunningExecutableByRenamingItAside) {
  Write(program_ / "Kelmora_4r32", "old program");
  check_.RunningExecutable = program_ / "Kelmora_4r32";
  Serve(NewPackage("zip"));
  EXPECT_EQ(Check(), UpdateInstalled) << fmt::format("{}", fmt::join(errors_, "\n"));
  EXPECT_EQ(Read(program_ / "Kelmora_4r32"), "new program");
  // The old executable waits beside it under a "*.~*" name, which the next check removes.
  EXPECT_EQ(Read(program_ / "Kelmora_4r32.~old"), "old program");
  install_ = false;
  Check();
  EXPECT_FALSE(fs::exists(program_ / "Kelmora_4r32.~old"));
}

struct NoOfferCase {
  const char* Name;
  const char* VerId;
  bool WithUrl;
  bool Silent;
};

class NoOfferTest : public SelfUpdateTest, public ::testing::WithParamInterface<NoOfferCase> {};

TEST_P(NoOfferTest, OffersNothing) {
  const NoOfferCase& c = GetParam();
  check_.Silent = c.Silent;
  server_.Put("/files/autoupdates/Orvane_AU.cfg",
              fmt::format("[Kelmora_4r32]\r\nVerId={}\r\nDownloadUrl={}\r\n", c.VerId,
                          c.WithUrl ? server_.Url("/files/pkg/update.tar.gz") : ""));
  EXPECT_EQ(Check(), UpdateNone);
  EXPECT_EQ(asked_, 0);
  EXPECT_THAT(errors_, IsEmpty());
  if (c.Silent)
    EXPECT_THAT(infos_, IsEmpty());
  else
    EXPECT_THAT(infos_, ElementsAre("Обновлений не найдено!"));
  ExpectNoTraces();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoOfferTest,
    ::testing::Values(NoOfferCase{"SameBuildNumber", "2.5.1.123", true, false},
                      NoOfferCase{"SameBuildNumberSilent", "2.5.1.123", true, true},
                      NoOfferCase{"LargerBuildWithoutAddress", "2.5.1.124", false, false},
                      NoOfferCase{"OlderBuild", "3.0.0.100", true, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(SelfUpdateTest, TheSilentCheckShowsNothingWhenTheServerCannotBeReached) {
  check_.Source = fmt::format("https://localhost:{}/files/autoupdates/Orvane_AU.cfg", kelmora::testing::ClosedPort());
  check_.Silent = true;
  EXPECT_EQ(Check(), UpdateFailed);
  EXPECT_THAT(errors_, IsEmpty());
  EXPECT_THAT(infos_, IsEmpty());
  check_.Silent = false;
  EXPECT_EQ(Check(), UpdateFailed);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_THAT(errors_[0], ::testing::StartsWith("Ошибка поиска обновлений!\r\r"));
}

TEST_F(SelfUpdateTest, TheSilentCheckShowsTheDialogWhenAnUpdateIsOffered) {
  check_.Silent = true;
  install_ = false;
  Serve(NewPackage());
  EXPECT_EQ(Check(), UpdateNone);
  EXPECT_EQ(asked_, 1);
  ExpectNoTraces();
}

struct AttemptCase {
  int Failures;
  int Result;
};

class DownloadAttemptsTest : public SelfUpdateTest, public ::testing::WithParamInterface<AttemptCase> {};

TEST_P(DownloadAttemptsTest, TriesThreeTimes) {
  Write(program_ / "Kelmora_4r32", "old program");
  Serve(NewPackage());
  server_.FailTimes("/files/pkg/update.tar.gz", GetParam().Failures);
  EXPECT_EQ(Check(), GetParam().Result);
  EXPECT_EQ(server_.Requests("/files/pkg/update.tar.gz"), std::min(GetParam().Failures + 1, 3));
  if (GetParam().Result == UpdateInstalled) {
    EXPECT_EQ(Read(program_ / "Kelmora_4r32"), "new program");
  } else {
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_THAT(errors_[0], ::testing::StartsWith("Ошибка установки обновления!\r\r"));
    EXPECT_EQ(Read(program_ / "Kelmora_4r32"), "old program");
  }
  ExpectNoTraces();
}

INSTANTIATE_TEST_SUITE_P(Cases, DownloadAttemptsTest,
                         ::testing::Values(AttemptCase{2, UpdateInstalled}, AttemptCase{3, UpdateFailed}));

struct RefusedCase {
  const char* Name;
  bool WrongCrc;
  bool WrongSha256;
  const char* Url;             // the package's address; nullptr: the served one
  std::vector<Entry> Entries;  // empty: the good package
  const char* Failure;
};

class RefusedPackageTest : public SelfUpdateTest, public ::testing::WithParamInterface<RefusedCase> {};

// Each refused package leaves the program's folder (and everything around it) as it was.
TEST_P(RefusedPackageTest, LeavesTheProgramAsItWas) {
  const RefusedCase& c = GetParam();
  Write(program_ / "Kelmora_4r32", "old program");
  const std::string package = c.Entries.empty() ? NewPackage() : MakeArchive("tar.gz", c.Entries);
  server_.Put("/files/pkg/update.tar.gz", package);
  std::string description = Description(c.WrongCrc ? package + "x" : package,
                                        c.WrongSha256 ? "ChecksumSHA256=" + std::string(64, '0') : "",
                                        c.Url ? c.Url : "");
  server_.Put("/files/autoupdates/Orvane_AU.cfg", description);
  const auto before = Tree(dir_.Path());

  EXPECT_EQ(Check(), UpdateFailed);

  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_THAT(errors_[0], ::testing::StartsWith("Ошибка установки обновления!\r\r"));
  EXPECT_THAT(errors_[0], HasSubstr(c.Failure));
  EXPECT_EQ(Tree(dir_.Path()), before);
  EXPECT_FALSE(fs::exists("/tmp/kelmora-outside"));
  ExpectNoTraces();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedPackageTest,
    ::testing::Values(
        RefusedCase{"WrongCrc", true, false, nullptr, {}, "Неверная контрольная сумма скачанного файла."},
        RefusedCase{"WrongSha256", false, true, nullptr, {}, "Неверная контрольная сумма скачанного файла."},
        RefusedCase{"ParentPath", false, false, nullptr, {{"good.txt", "x"}, {"../outside", "evil"}}, "../outside"},
        RefusedCase{"DeepParentPath", false, false, nullptr, {{"good.txt", "x"}, {"help/../../outside", "evil"}},
                    "outside"},
        RefusedCase{"AbsolutePath", false, false, nullptr, {{"good.txt", "x"}, {"/tmp/kelmora-outside", "evil"}},
                    "kelmora-outside"},
        RefusedCase{"LinkOutside", false, false, nullptr, {{"good.txt", "x"}, {"link", "", "../../outside"}}, "link"},
        RefusedCase{"AbsoluteLink", false, false, nullptr, {{"good.txt", "x"}, {"link", "", "/etc/passwd"}}, "link"},
        RefusedCase{"PlainHttp", false, false, "http://127.0.0.1:1/files/pkg/update.tar.gz", {}, "https://"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(SelfUpdateTest, ACopyFailureMidwayNamesTheReplacedFilesAndKeepsEachFileWhole) {
  Write(program_ / "a.txt", "old a");
  // A folder where the package has a file: its rename fails.
  Write(program_ / "b.txt" / "inside", "blocks the rename");
  Write(program_ / "c.txt", "old c");
  Serve(MakeArchive("tar.gz", {{"a.txt", "new a"}, {"b.txt", "new b"}, {"c.txt", "new c"}}));

  EXPECT_EQ(Check(), UpdateFailed);

  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_THAT(errors_[0], ::testing::StartsWith("Ошибка установки обновления!\r\rНе удалось скопировать файл \"b.txt\""));
  EXPECT_THAT(errors_[0], HasSubstr("Уже заменены файлы: a.txt."));
  const std::map<std::string, std::string> expected = {
      {"a.txt", "new a"}, {"b.txt/inside", "blocks the rename"}, {"c.txt", "old c"}};
  EXPECT_EQ(Tree(program_), expected);
  ExpectNoTraces();
}

TEST_F(SelfUpdateTest, RunsTheListedProgramsInTheWorkFolder) {
  // The global list and the program's own, with blanks after ";", and a name that does not exist.
  global_ = "ExecBefore=before.sh; missing.sh\r\nExecAfter=after.sh";
  const std::string before = "#!/bin/sh\necho before > ../ran_before\n";
  const std::string after = "#!/bin/sh\ntest -f ../ran_before && cat ../payload.txt > ../ran_after\n";
  Serve(MakeArchive("tar.gz", {{"before.sh", before, "", 0755}, {"after.sh", after, "", 0755}, {"payload.txt", "new"}}),
        "DeleteAfter=before.sh; after.sh");
  EXPECT_EQ(Check(), UpdateInstalled) << fmt::format("{}", fmt::join(errors_, "\n"));
  // "before" ran before the copy, "after" after it (it read the copied file).
  EXPECT_EQ(Read(program_ / "ran_before"), "before\n");
  EXPECT_EQ(Read(program_ / "ran_after"), "new");
  EXPECT_FALSE(fs::exists(program_ / "before.sh"));
  EXPECT_FALSE(fs::exists(program_ / "after.sh"));
}

TEST_F(SelfUpdateTest, InstallsFromALocalFolder) {
  const fs::path source = dir_ / "share" / "Orvane_AU.cfg";
  const std::string package = NewPackage("zip");
  Write(dir_ / "share" / "packages" / "update.zip", package);
  Write(source, fmt::format("[Kelmora_4r32]\r\nVerId={}\r\nDescription=Local\r\nDownloadUrl={}\r\n"
                            "OriginalFileName=update.zip\r\nChecksumCRC32={}\r\n",
                            Offered, (dir_ / "share" / "packages" / "update.zip").string(), Crc32Of(package)));
  // Neither language form exists: the plain notes file is used.
  Write(dir_ / "share" / "UpdDescr" / fmt::format("UpdDescr_{}.txt", Offered), "plain notes\n");
  check_.Source = source.string();
  EXPECT_EQ(Check(), UpdateInstalled) << fmt::format("{}", fmt::join(errors_, "\n"));
  EXPECT_THAT(notes_, ElementsAre("plain notes"));
  EXPECT_EQ(Read(program_ / "help/guide.html"), "new guide");
  ExpectNoTraces();
}

struct NotesCase {
  const char* Name;
  int Lcid;
  std::vector<std::string> Served;  // notes file names in the UpdDescr folder
  std::vector<std::string> Expected;
};

class NotesTest : public SelfUpdateTest, public ::testing::WithParamInterface<NotesCase> {};

TEST_P(NotesTest, TakesTheFirstNotesFileThatExists) {
  const NotesCase& c = GetParam();
  check_.Lcid = c.Lcid;
  install_ = false;
  Serve(NewPackage());
  for (const std::string& name : c.Served)
    server_.Put(fmt::format("/files/autoupdates/UpdDescr/{}", fmt::format(fmt::runtime(name), Offered)), name);
  Check();
  std::vector<std::string> expected;
  for (const std::string& name : c.Expected) expected.push_back(name);
  EXPECT_EQ(notes_, expected);
  EXPECT_FALSE(fs::exists(program_ / fmt::format("UpdDescr_{}.txt", Offered)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NotesTest,
    ::testing::Values(
        NotesCase{"Abbreviation", 1049, {"UpdDescr_RUS_{}.txt", "UpdDescr_1049_{}.txt", "UpdDescr_{}.txt"}, {"UpdDescr_RUS_{}.txt"}},
        NotesCase{"Identifier", 1049, {"UpdDescr_1049_{}.txt", "UpdDescr_{}.txt"}, {"UpdDescr_1049_{}.txt"}},
        NotesCase{"Plain", 1049, {"UpdDescr_{}.txt"}, {"UpdDescr_{}.txt"}},
        NotesCase{"NoLanguage", 0, {"UpdDescr_RUS_{}.txt", "UpdDescr_{}.txt"}, {"UpdDescr_{}.txt"}},
        NotesCase{"None", 1049, {}, {NoNotesText}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(UpdateVersionTest, BuildNumberIsTheFourthWord) {
  const std::pair<const char*, int> cases[] = {{"2.5.0.123", 123}, {"2,5-1_ 77 ", 77}, {"2.5.1", 0}, {"2.5.1.x", 0}, {"", 0}};
  for (const auto& [text, build] : cases) EXPECT_EQ(BuildNumber(text), build) << text;
}

}  // namespace
}  // namespace kelmora::net
