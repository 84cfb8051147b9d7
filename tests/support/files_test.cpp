#include "support/files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/error.h"
#include "common/temp_dir.h"

namespace kelmora::support {
namespace {

namespace fs = std::filesystem;
using kelmora::testing::TempDir;

void WriteRaw(const fs::path& path, const std::string& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Files, FileExists) {
  TempDir dir;
  EXPECT_FALSE(FileExists(dir / "none"));
  EXPECT_FALSE(FileExists(dir.Path())) << "a folder is not a file";
  WriteRaw(dir / "a", "x");
  EXPECT_TRUE(FileExists(dir / "a"));
}

TEST(Files, ReadBackExactBytes) {
  TempDir dir;
  const std::string bytes("a\0b\r\n\xFF\xC0", 7);
  WriteRaw(dir / "f", bytes);
  EXPECT_EQ(ReadFileText(dir / "f"), bytes);
  std::vector<uint8_t> raw = ReadFileBytes(dir / "f");
  EXPECT_EQ(std::string(raw.begin(), raw.end()), bytes);
  WriteRaw(dir / "empty", "");
  EXPECT_TRUE(ReadFileBytes(dir / "empty").empty());
}

TEST(Files, ReadFailureNamesFileAndReason) {
  TempDir dir;
  fs::path missing = dir / "нет.ini";
  try {
    ReadFileBytes(missing);
    FAIL() << "no exception";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Не удалось открыть файл \"" + missing.string() + "\": " + std::generic_category().message(ENOENT));
  }
  EXPECT_THROW(ReadFileText(dir.Path()), Error) << "a folder cannot be read as a file";
}

TEST(Files, WriteFileAtomicCreatesAndReplaces) {
  TempDir dir;
  fs::path target = dir / "Kelmora_4r32.ini";
  WriteFileAtomic(target, std::string_view("first"));
  EXPECT_EQ(ReadFileText(target), "first");
  WriteFileAtomic(target, std::vector<uint8_t>{'s', 'e', 'c'});
  EXPECT_EQ(ReadFileText(target), "sec");
  WriteFileAtomic(target, "", 0);
  EXPECT_EQ(ReadFileText(target), "");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"Kelmora_4r32.ini"}) << "no temporary file left";
}

TEST(Files, WriteFileAtomicKeepsPermissions) {
  TempDir dir;
  fs::path target = dir / "f";
  WriteRaw(target, "old");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  WriteFileAtomic(target, std::string_view("new"));
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(Files, AnOwnerOnlyFileIsNeverReadableByOthers) {
  TempDir dir;
  for (const bool existed : {true, false}) {
    const fs::path target = dir / (existed ? "old" : "new");
    if (existed) {
      WriteRaw(target, "old");
      ASSERT_EQ(chmod(target.c_str(), 0644), 0);
    }
    WriteFileAtomic(target, std::string_view("password=1"), FileAccess::OwnerOnly);
    struct stat st;
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << existed;
    EXPECT_EQ(ReadFileText(target), "password=1");
  }
}

TEST(Files, WriteFileAtomicReplacesALeftoverTemporary) {
  TempDir dir;
  fs::path target = dir / "f";
  WriteRaw(NextTemporaryPath(target), "stale and longer");
  WriteFileAtomic(target, std::string_view("ok"));
  EXPECT_EQ(ReadFileText(target), "ok");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"f"});
}

TEST(Files, FailedWriteOverAFolderLeavesNoTemporary) {
  TempDir dir;
  fs::create_directory(dir / "target");
  WriteRaw(dir / "target" / "inside", "keep");
  EXPECT_THROW(WriteFileAtomic(dir / "target", std::string_view("new")), Error);
  EXPECT_TRUE(fs::is_directory(dir / "target"));
  EXPECT_EQ(ReadFileText(dir / "target" / "inside"), "keep");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"target"});
}

TEST(Files, FailedWriteIntoMissingFolderThrows) {
  TempDir dir;
  try {
    WriteFileAtomic(dir / "no" / "f", std::string_view("x"));
    FAIL() << "no exception";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("Не удалось создать файл"), std::string::npos) << e.what();
  }
}

TEST(Files, FailedWriteMidwayKeepsOldContent) {
  TempDir dir;
  fs::path target = dir / "archive";
  WriteRaw(target, "old content");
  // Files may not grow past 16 bytes: the write of 1000 bytes fails with EFBIG part way.
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = 16;
  auto old_handler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool threw = false;
  try {
    WriteFileAtomic(target, std::string(1000, 'n'));
  } catch (const Error& e) {
    threw = true;
    EXPECT_NE(std::string(e.what()).find("Не удалось записать файл"), std::string::npos) << e.what();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, old_handler);
  EXPECT_TRUE(threw);
  EXPECT_EQ(ReadFileText(target), "old content");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"archive"});
}

TEST(Files, FailedWriteWhenTemporaryCannotBeMadeKeepsOldContent) {
  TempDir dir;
  fs::path target = dir / "f";
  WriteRaw(target, "old");
  const fs::path temp = NextTemporaryPath(target);
  fs::create_directory(temp);  // the temporary name is taken by a folder
  EXPECT_THROW(WriteFileAtomic(target, std::string_view("new")), Error);
  EXPECT_EQ(ReadFileText(target), "old");
  EXPECT_TRUE(fs::is_directory(temp)) << "what was not ours stays";
}

TEST(Files, FailedWriteInReadOnlyFolderKeepsOldContent) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  TempDir dir;
  fs::create_directory(dir / "ro");
  fs::path target = dir / "ro" / "f";
  WriteRaw(target, "old");
  ASSERT_EQ(chmod((dir / "ro").c_str(), 0555), 0);
  EXPECT_THROW(WriteFileAtomic(target, std::string_view("new")), Error);
  chmod((dir / "ro").c_str(), 0755);
  EXPECT_EQ(ReadFileText(target), "old");
  EXPECT_EQ(Names(dir / "ro"), std::vector<std::string>{"f"});
}

TEST(Files, SplitLines) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitLines(""), V{});
  EXPECT_EQ(SplitLines("a"), V{"a"});
  EXPECT_EQ(SplitLines("a\n"), V{"a"});
  EXPECT_EQ(SplitLines("a\r\nb\r\n"), (V{"a", "b"}));
  EXPECT_EQ(SplitLines("a\n\nb"), (V{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\n\n"), (V{"a", ""}));
  EXPECT_EQ(SplitLines("\n"), V{""});
  EXPECT_EQ(SplitLines("a\rb\r\r\n"), (V{"a\rb\r"})) << "only the last \\r before \\n goes";
}


TEST(Files, TemporaryNamesAreUniquePerWriteAndRecognised) {
  TempDir dir;
  const fs::path first = NextTemporaryPath(dir / "f");
  WriteFileAtomic(dir / "f", std::string_view("a"));
  EXPECT_NE(NextTemporaryPath(dir / "f"), first) << "each write takes a name of its own";
  struct Case {
    const char* name;
    bool temporary;
    long pid;
  };
  const Case cases[] = {{"Kelmora_4r32.ldr.tmp-123-0", true, 123}, {"a.tmp-1-99", true, 1},
                        {"Kelmora_4r32.ldr.tmp", false, 0},     {"a.tmp-12", false, 0},
                        {"a.tmp-x-1", false, 0},                {".tmp-1-1", false, 0},
                        {"a.tmp-1-", false, 0},                 {"a.tmp--1", false, 0}};
  for (const auto& c : cases) {
    long pid = 0;
    EXPECT_EQ(IsTemporaryName(c.name, &pid), c.temporary) << c.name;
    if (c.temporary) {
      EXPECT_EQ(pid, c.pid) << c.name;
    }
  }
}

TEST(Files, StaleTemporariesOfProcessesThatAreGoneAreRemoved) {
  TempDir dir;
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  ASSERT_EQ(waitpid(child, nullptr, 0), child);
  const std::string dead = "f.tmp-" + std::to_string(child) + "-0";
  WriteRaw(dir / dead, "torn");
  WriteRaw(dir / "g.tmp-1-0", "a running process's");  // pid 1 always runs
  WriteRaw(dir / ("h.tmp-" + std::to_string(getpid()) + "-7"), "ours, left by an earlier process");
  WriteRaw(dir / "f", "kept");
  WriteRaw(dir / "f.tmp", "not a name of ours");
  EXPECT_EQ(RemoveStaleTemporaries(dir.Path()), 2);
  EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"f", "f.tmp", "g.tmp-1-0"}));
  EXPECT_EQ(RemoveStaleTemporaries(dir / "missing"), 0);
}

}  // namespace
}  // namespace kelmora::support
