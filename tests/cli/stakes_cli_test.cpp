#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "common/temp_dir.h"
#include "lottery/draws.h"
#include "support/encoding.h"
#include "support/files.h"

namespace kelmora::testing {
namespace {

using lottery::MakeComb;

constexpr const char* StakesHeader =
    "№ тиража\tВид ставки\tМоя ставка\tВыборка\tРезультаты тиража\tСовпадений\tСовпадения\tПрофит\tКомментарий\n";
constexpr const char* RatingHeader =
    "Комментарий\tСтавок\tУгадано\tСреднее\tПрофит\tСр. профит\t0\t1\t2\t3\t4\tE0\tE1\tE2\tE3\tE4\n";

// Three draws; a stake costs 1 and 2 matches win 5.
class StakesCli : public ::testing::Test {
 protected:
  StakesCli() {
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr",
                           {{1, MakeComb(7, 7, 7, 7), ""}, {2, MakeComb(7, 8, 9, 10), ""}, {3, MakeComb(11, 12, 13, 14), ""}});
    support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini",
                             std::string("[STAKES]\r\nCost=1\r\nProfits=1\r\nProfit_0_Overlap=2\r\nProfit_0_Profit=5\r\n"));
  }
  CliResult Run(std::vector<std::string> args) { return RunKelmora(dir_.Path(), std::move(args)); }
  std::string Lsk() const { return support::ReadFileText(dir_ / "Kelmora_4r32.lsk"); }
  TempDir dir_;
};

TEST_F(StakesCli, AddsListsAndChecks) {
  auto r = Run({"stakes", "add", "--values", "7;8;J;Q", "--draw", "2", "--count", "3", "--name", "тест"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  // Draws 2 and 3 are in the archive and checked at once; draw 4 waits.
  r = Run({"stakes", "list"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, std::string(StakesHeader) +
                       "2\tВручную\t7;8;J;Q\t4096\t7;8;9;10\t2\t7 8\t4.00\tтест\n"
                       "\t\t\t\t\t\t\t\t\n"
                       "3\tВручную\t7;8;J;Q\t4096\tJ;Q;K;A\t0\t\t-1.00\tтест\n"
                       "\t\t\t\t\t\t\t\t\n"
                       "4\tВручную\t7;8;J;Q\t4096\t\t\t\t-1.00\tтест\n");
  EXPECT_EQ(Run({"stakes", "check"}).Out, "0\n");
  lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", {{1, MakeComb(7, 7, 7, 7), ""}, {2, MakeComb(7, 8, 9, 10), ""},
                                                     {3, MakeComb(11, 12, 13, 14), ""}, {4, MakeComb(8, 8, 11, 12), ""}});
  EXPECT_EQ(Run({"stakes", "check"}).Out, "1\n");
  // The defaults: the next draw (5), count 1, the manual name, the full list.
  r = Run({"stakes", "add", "--values", "A,A,A,A", "--list-size", "16"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  const auto lines = support::SplitLines(Run({"stakes", "list"}).Out);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[6], "5\tВручную\tA;A;A;A\t16\t\t\t\t-1.00\tСтавка \"вручную\"");
}

TEST_F(StakesCli, RefusesBadInputWithTheFileUnchanged) {
  ASSERT_EQ(Run({"stakes", "add", "--values", "7;8;9;10"}).Code, 0);
  const std::string before = Lsk();
  struct Case {
    std::vector<std::string> Args;
    int Code;
    const char* Message;
  } cases[] = {
      {{"stakes", "add", "--values", "7;8;9"}, 1, "Введена некорректная комбинация!"},
      {{"stakes", "add", "--values", "7;8;9;15"}, 1, "Введена некорректная комбинация!"},
      {{"stakes", "add", "--values", "7;8;9;x"}, 1, "Введена некорректная комбинация!"},
      {{"stakes", "add", "--values", "7;8;9;10", "--name", ""}, 1, "Необходимо ввести комментарий!"},
      {{"stakes", "add", "--values", "7;8;9;10", "--count", "0"}, 2, ""},
      {{"stakes", "delete", "--rows", "2-5"}, 1, "Некорректный диапазон строк: 2-5!"},
      {{"stakes", "delete", "--matches", "ne", "1"}, 1, "Некорректное условие: ne 1!"},
      {{"stakes", "delete", "--matches", "eq", "5"}, 1, "Некорректное условие: eq 5!"},
      {{"stakes", "delete"}, 1, "Укажите --rows или --matches!"},
      {{"stakes", "clear"}, 2, ""},
      {{"rating", "refresh"}, 2, ""},
  };
  for (const auto& c : cases) {
    const auto r = Run(c.Args);
    EXPECT_EQ(r.Code, c.Code) << c.Args.back() << r.Err;
    EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
    EXPECT_EQ(Lsk(), before) << c.Args.back();
  }
}

TEST_F(StakesCli, DeletesByRowsMatchesAndClears) {
  for (const char* draw : {"1", "2", "3", "9"}) ASSERT_EQ(Run({"stakes", "add", "--values", "7;8;9;10", "--draw", draw}).Code, 0);
  // Matches: 1, 4, 0 and unchecked.
  ASSERT_EQ(Run({"stakes", "delete", "--rows", "2-2"}).Code, 0);
  EXPECT_EQ(support::SplitLines(Run({"stakes", "list"}).Out).size(), 4u);
  ASSERT_EQ(Run({"stakes", "delete", "--matches", "lt", "1"}).Code, 0);
  auto lines = support::SplitLines(Run({"stakes", "list"}).Out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].substr(0, 2), "1\t");
  ASSERT_EQ(Run({"stakes", "clear", "--yes"}).Code, 0);
  EXPECT_EQ(Lsk(), "");
  EXPECT_EQ(Run({"rating", "list"}).Out, RatingHeader);
}

TEST_F(StakesCli, RatingListSortsRefreshesAndExports) {
  ASSERT_EQ(Run({"stakes", "add", "--values", "7;8;J;Q", "--draw", "2", "--name", "a"}).Code, 0);
  ASSERT_EQ(Run({"stakes", "add", "--values", "7;7;7;7", "--draw", "1", "--name", "B"}).Code, 0);
  ASSERT_EQ(Run({"stakes", "add", "--values", "7;7;7;7", "--draw", "3", "--name", "b"}).Code, 0);
  auto r = Run({"rating", "list", "--mode", "0", "--sort", "0"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, std::string(RatingHeader) +
                       "a\t1\t2\t2.000\t4.00\t4.00\t0\t0\t1\t0\t0\t1\t0\t0\t0\t0\n"
                       "B\t2\t4\t2.000\t-2.00\t-1.00\t1\t0\t0\t0\t1\t1\t1\t0\t0\t0\n");
  r = Run({"--decimal-separator", ",", "rating", "list", "--sort", "4", "--desc"});
  EXPECT_EQ(support::SplitLines(r.Out)[1], "a\t1\t2\t2,000\t4,00\t4,00\t0\t0\t1\t0\t0\t-58,618%\t-33,496%\t92,822%\t-0,684%\t-0,024%");
  ASSERT_EQ(Run({"stakes", "delete", "--rows", "1-1"}).Code, 0);
  EXPECT_EQ(support::SplitLines(Run({"rating", "list"}).Out).size(), 3u);
  ASSERT_EQ(Run({"rating", "refresh", "--yes"}).Code, 0);
  EXPECT_EQ(support::SplitLines(Run({"rating", "list"}).Out).size(), 2u);
  const auto csv = (dir_ / "r.csv").string();
  ASSERT_EQ(Run({"rating", "export", csv}).Code, 0);
  EXPECT_EQ(support::Cp1251ToUtf8(support::ReadFileText(csv)),
            "\"Комментарий\";\"Ставок\";\"Угадано\";\"Среднее\";\"Профит\";\"Ср. профит\";\"0\";\"1\";\"2\";\"3\";"
            "\"4\";\"E0\";\"E1\";\"E2\";\"E3\";\"E4\"\r\n\"B\";2;4;2.000;-2.00;-1.00;1;0;0;0;1\r\n");
}

}  // namespace
}  // namespace kelmora::testing
