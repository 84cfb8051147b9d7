// What the command line does with an unreadable or contested data folder, hostile settings and
// extreme draw numbers: nothing is lost, and the exit status tells the truth.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "cli/cli_runner.h"
#include "common/temp_dir.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "support/files.h"
#include "support/platform.h"

extern char** environ;

namespace kelmora::testing {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Bytes(const fs::path& p) { return support::ReadFileBytes(p); }

// Runs fn without the right to read files it does not own: as root through the effective user
// "nobody" (root can read anything), otherwise as this user.
void Unprivileged(const std::function<void()>& fn) {
  if (::geteuid() != 0) {
    fn();
    return;
  }
  ASSERT_EQ(::setegid(65534), 0);
  ASSERT_EQ(::seteuid(65534), 0);
  fn();
  ASSERT_EQ(::seteuid(0), 0);
  ASSERT_EQ(::setegid(0), 0);
}

// Starts the real command-line program; its output goes to `log`.
pid_t Spawn(const std::vector<std::string>& args, const fs::path& log) {
  std::vector<std::string> all{KELMORA_CLI_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

int Wait(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string Csv(int first, int count) {
  std::string text;
  for (int n = first; n < first + count; ++n) text += std::to_string(n) + ";\"01/01/2024\";7;8;9;10\r\n";
  return text;
}

class Reliability : public ::testing::Test {
 protected:
  CliResult Run(std::vector<std::string> args) { return RunKelmora(dir_.Path(), std::move(args)); }
  fs::path Archive() const { return dir_ / "Kelmora_4r32.ldr"; }
  void AddDraws(int from, int to) {
    for (int n = from; n <= to; ++n)
      ASSERT_EQ(Run({"draws", "add", "--number", std::to_string(n), "--values", "7;8;9;10"}).Code, 0);
  }
  std::vector<std::string> TemporariesLeft() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_.Path()))
      if (support::IsTemporaryName(e.path().filename().string(), nullptr)) names.push_back(e.path().filename());
    return names;
  }
  TempDir dir_;
};

TEST_F(Reliability, AnUnreadableArchiveIsNeverWrittenOver) {
  AddDraws(1, 3);
  const auto csv = dir_ / "new.csv";
  const auto results = dir_ / "chance_results.csv";
  support::WriteFileAtomic(csv, Csv(10, 2));
  support::WriteFileAtomic(results, std::string("h\r\n05/11/2023,9,7,8,9,10\r\n"));
  ASSERT_EQ(::chmod(dir_.Path().c_str(), 0777), 0);
  ASSERT_EQ(::chmod(csv.c_str(), 0644), 0);
  ASSERT_EQ(::chmod(results.c_str(), 0644), 0);
  ASSERT_EQ(::chmod((dir_ / "Kelmora_4r32.lsk").c_str(), 0666), 0);
  ASSERT_EQ(::chmod(Archive().c_str(), 0), 0);
  const auto before = Bytes(Archive());
  const std::vector<std::vector<std::string>> commands = {
      {"draws", "add", "--number", "4", "--values", "7;7;7;7"},
      {"draws", "import", csv.string()},
      {"draws", "results", results.string()},
      {"draws", "delete", "--number", "2"},
  };
  for (const auto& args : commands) {
    CliResult r;
    Unprivileged([&] { r = Run(args); });
    EXPECT_EQ(r.Code, 1) << args[1];
    EXPECT_NE(r.Err.find("Ошибка чтения файла тиражей!"), std::string::npos) << r.Err;
    EXPECT_EQ(r.Out, "") << args[1] << " did nothing, so it reports no count";
    EXPECT_EQ(Bytes(Archive()), before) << args[1];
  }
  EXPECT_TRUE(TemporariesLeft().empty());
}

TEST_F(Reliability, AWriterWaitsForTheLockAndGivesUpWithTheFolderNamed) {
  AddDraws(1, 1);
  const auto before = Bytes(Archive());
  {
    support::LockedFile other(dir_ / "Kelmora_4r32.lsk");  // as the desktop program holds it
    const auto r = Run({"--lock-wait", "100", "draws", "add", "--number", "2", "--values", "7;7;7;7"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("занята"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find(dir_.Path().filename().string()), std::string::npos) << r.Err;
    EXPECT_EQ(Run({"draws", "list"}).Code, 0) << "reading needs no lock";
  }
  EXPECT_EQ(Bytes(Archive()), before);
  EXPECT_EQ(Run({"draws", "add", "--number", "2", "--values", "7;7;7;7"}).Code, 0);
}

TEST_F(Reliability, TwoImportsAtOnceAreBothKeptOrOneIsRefusedNeverLost) {
  const auto a = dir_ / "a.csv";
  const auto b = dir_ / "b.csv";
  for (int round = 0; round < 20; ++round) {
    const int base = round * 1000 + 1;
    support::WriteFileAtomic(a, Csv(base, 300));
    support::WriteFileAtomic(b, Csv(base + 500, 300));
    const pid_t pa = Spawn({"--data-dir", dir_.Path().string(), "draws", "import", a.string()}, dir_ / "a.log");
    const pid_t pb = Spawn({"--data-dir", dir_.Path().string(), "draws", "import", b.string()}, dir_ / "b.log");
    ASSERT_GT(pa, 0);
    ASSERT_GT(pb, 0);
    const int ca = Wait(pa), cb = Wait(pb);
    const auto draws = lottery::LoadDrawsFile(Archive());
    const auto has = [&](int32_t n) { return lottery::FindDrawByNumber(draws, n) >= 0; };
    for (const auto& [code, first, log] : {std::tuple{ca, base, "a.log"}, std::tuple{cb, base + 500, "b.log"}}) {
      if (code == 0) {
        EXPECT_TRUE(has(first) && has(first + 299)) << "round " << round << ": an import that said so was lost";
      } else {
        EXPECT_EQ(code, 1);
        EXPECT_NE(support::ReadFileText(dir_ / log).find("занята"), std::string::npos);
      }
    }
  }
  EXPECT_TRUE(TemporariesLeft().empty());
}

TEST_F(Reliability, AKilledSaveLeavesTheOldOrTheNewArchiveAndNoTemporaryAfterTheNextStart) {
  support::WriteFileAtomic(dir_ / "base.csv", Csv(1, 20000));
  ASSERT_EQ(Run({"draws", "import", (dir_ / "base.csv").string()}).Code, 0);
  const auto old_bytes = Bytes(Archive());
  support::WriteFileAtomic(dir_ / "more.csv", Csv(20001, 20000));
  support::WriteFileAtomic(dir_ / "none.csv", std::string());
  std::mt19937 random(12345);
  int killed_midway = 0;
  for (int round = 0; round < 100; ++round) {
    const pid_t pid =
        Spawn({"--data-dir", dir_.Path().string(), "draws", "import", (dir_ / "more.csv").string()}, dir_ / "k.log");
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 60000));
    ::kill(pid, SIGKILL);
    if (Wait(pid) == 128 + SIGKILL) ++killed_midway;
    const auto bytes = Bytes(Archive());
    const bool old_file = bytes == old_bytes;
    const bool new_file = bytes.size() == 40000 * lottery::DrawRecordSize &&
                          std::equal(old_bytes.begin(), old_bytes.end(), bytes.begin());
    ASSERT_TRUE(old_file || new_file) << "round " << round << ": " << bytes.size() << " bytes";
    // The next writer removes what the killed one left behind.
    ASSERT_EQ(Run({"draws", "import", (dir_ / "none.csv").string()}).Code, 0);
    ASSERT_EQ(TemporariesLeft(), std::vector<std::string>{}) << "round " << round;
    if (new_file) support::WriteFileAtomic(Archive(), old_bytes.data(), old_bytes.size());
  }
  EXPECT_GT(killed_midway, 0);
}

TEST_F(Reliability, BadViewStateOrSettingsAreWarningsAndTheCommandsOwnStatusCounts) {
  struct Case {
    const char* file;
    const char* text;
  };
  const Case cases[] = {{"Kelmora_4r32.frm", "[TFormMain]\r\nDrawsStatLen=abc\r\n"},
                        {"Kelmora_4r32.ini", "[GLOBAL]\r\nChannelSize=abc\r\n"}};
  int number = 1;
  for (const auto& c : cases) {
    support::WriteFileAtomic(dir_ / c.file, std::string(c.text));
    const auto r = Run({"draws", "add", "--number", std::to_string(number), "--values", "7;8;9;10"});
    EXPECT_EQ(r.Code, 0) << c.file << ": " << r.Err;
    EXPECT_NE(r.Err.find("Предупреждение"), std::string::npos) << r.Err;
    EXPECT_EQ(lottery::LoadDrawsFile(Archive()).size(), static_cast<size_t>(number));
    fs::remove(dir_ / c.file);
    ++number;
  }
}

TEST_F(Reliability, HostileSettingsAreClampedIntoTheDialogsRanges) {
  support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini",
                           std::string("[GLOBAL]\r\nChannelSize=2147483640\r\nMatrixCols=100\r\n"
                                       "[STAKES]\r\nProfits=2000000000\r\n"));
  AddDraws(1, 5);
  const auto r = Run({"config", "show"});
  EXPECT_EQ(r.Code, 0) << r.Err;
  EXPECT_NE(r.Out.find("GLOBAL\tChannelSize\t8\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("GLOBAL\tMatrixCols\t8\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("STAKES\tProfits\t256\n"), std::string::npos);
  EXPECT_NE(r.Err.find("Некорректный размер канала: 2147483640. Используется размер канала 8."), std::string::npos)
      << r.Err;
  // A channel table over the clamped size finishes with the single channel a size of 8 gives.
  const auto t = Run({"stats", "table", "SC2C1", "--window", "5"});
  EXPECT_EQ(t.Code, 0) << t.Err;
}

TEST_F(Reliability, ExtremeDrawNumbers) {
  lottery::TDrawsArray draws(2);
  draws[0].Number = -2000000000;
  draws[0].Values = lottery::MakeComb(7, 8, 9, 10);
  draws[1].Number = 2000000000;
  draws[1].Values = lottery::MakeComb(7, 8, 9, 10);
  lottery::SaveDrawsFile(Archive(), draws);
  const auto t = Run({"stats", "table", "PRDV", "--window", "2"});
  EXPECT_EQ(t.Code, 0) << t.Err;

  draws[1].Number = 2147483647;
  lottery::SaveDrawsFile(Archive(), draws);
  const auto before = Bytes(Archive());
  support::WriteFileAtomic(dir_ / "r.csv", std::string("h\r\n05/11/2023,5,7,8,9,10\r\n"));
  const auto r = Run({"draws", "results", (dir_ / "r.csv").string()});
  EXPECT_EQ(r.Code, 1);
  EXPECT_NE(r.Err.find("2147483647"), std::string::npos) << r.Err;
  EXPECT_EQ(Bytes(Archive()), before) << "the number after the largest does not wrap to the smallest";
}

TEST_F(Reliability, AnImportThatAddsNothingLeavesTheFileByteForByte) {
  AddDraws(1, 3);
  auto bytes = Bytes(Archive());
  bytes.push_back(0x33);  // a partial record a crash left at the end
  support::WriteFileAtomic(Archive(), bytes.data(), bytes.size());
  const auto csv = dir_ / "known.csv";
  support::WriteFileAtomic(csv, Csv(1, 3));
  const auto r = Run({"draws", "import", csv.string()});
  EXPECT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, "0\n");
  EXPECT_EQ(Bytes(Archive()), bytes);
}

TEST_F(Reliability, BadInputIsAnsweredClearlyAndChangesNothing) {
  AddDraws(1, 2);
  const auto before = Bytes(Archive());
  support::WriteFileAtomic(dir_ / "bad.csv", std::string("3;\"01/01/2024\";7;8;9;19\r\n"
                                                         "4;\"01/01/2024\";7;8;9;10\r\n"
                                                         "just words\r\n"));
  struct Case {
    std::vector<std::string> args;
    int code;
    std::vector<const char*> messages;
  };
  const Case cases[] = {
      {{"draws", "add", "--number", "5", "--values", "7;8;9;15"}, 1, {"Введена некорректная комбинация!", "\"15\"", "7..14"}},
      {{"draws", "add", "--number", "5", "--values", "7;8;9"}, 1, {"Введена некорректная комбинация!", "четыре"}},
      {{"draws", "add", "--number", "5", "--values", "7;8;9;10", "--date", "01/01/20231234"}, 1, {"01/01/20231234", "дд/мм/гггг"}},
      {{"draws", "delete", "--number", "42"}, 1, {"Запись со индексом -1 в файле данных не найдена!", "42"}},
      {{"draws", "results", (dir_ / "missing.csv").string()}, 1, {"missing.csv"}},
      {{"combs", "generate", "--mode", "1", "--param", "15", "--out", (dir_ / "x.lcv").string()}, 1, {"\"15\""}},
      {{"combs", "generate", "--mode", "2", "--param", "abc", "--out", (dir_ / "x.lcv").string()}, 1, {"\"abc\""}},
  };
  for (const auto& c : cases) {
    const auto r = Run(c.args);
    EXPECT_EQ(r.Code, c.code) << c.args[1] << " " << r.Err;
    for (const char* m : c.messages) EXPECT_NE(r.Err.find(m), std::string::npos) << m << " in " << r.Err;
    EXPECT_EQ(r.Err.find("Ошибка: Ошибка"), std::string::npos) << r.Err;
    EXPECT_EQ(Bytes(Archive()), before) << c.args[1];
  }
  EXPECT_FALSE(fs::exists(dir_ / "x.lcv"));

  // The import keeps the good line and names the first bad one.
  const auto r = Run({"draws", "import", (dir_ / "bad.csv").string()});
  EXPECT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, "1\n");
  EXPECT_NE(r.Err.find(": 2."), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("строка 1"), std::string::npos) << r.Err;
  const auto saved = lottery::LoadDrawsFile(Archive());
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_EQ(saved.back().Number, 4);

  const auto missing = RunKelmora(dir_ / "no-such-folder", {"draws", "list"});
  EXPECT_EQ(missing.Code, 1);
  EXPECT_NE(missing.Err.find("no-such-folder"), std::string::npos) << missing.Err;
  EXPECT_FALSE(fs::exists(dir_ / "no-such-folder"));
}


TEST_F(Reliability, HelpAndUsageErrorsAreInRussian) {
  const auto help = Run({"draws", "add", "--help"});
  EXPECT_EQ(help.Code, 0);
  for (const char* text : {"Использование", "Добавить тираж", "Номер тиража", "обязательно", "Показать эту справку"})
    EXPECT_NE(help.Out.find(text), std::string::npos) << text << " in " << help.Out;
  EXPECT_EQ(help.Out.find("Usage"), std::string::npos) << help.Out;
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"draws", "add", "--values", "7;8;9;10"}, "не указан обязательный параметр --number"},
      {{"draws", "add", "--number", "x", "--values", "7;8;9;10"}, "некорректное значение --number"},
      {{"stats", "table", "NUMS", "--sort", "25"}, "вне диапазона"},
      {{"status", "extra"}, "лишние аргументы: extra"},
      {{}, "не указана команда"},
  };
  for (const auto& c : cases) {
    const auto r = Run(c.args);
    EXPECT_EQ(r.Code, 2);
    EXPECT_EQ(r.Err.rfind("Ошибка в командной строке: ", 0), 0u) << r.Err;
    EXPECT_NE(r.Err.find(c.message), std::string::npos) << r.Err;
  }
}

}  // namespace
}  // namespace kelmora::testing
