#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "common/temp_dir.h"
#include "lottery/draws.h"
#include "support/files.h"

namespace kelmora::testing {
namespace {

using lottery::MakeComb;

class StatsCli : public ::testing::Test {
 protected:
  void SetUp() override {
    const lottery::TDrawsArray draws = {{101, MakeComb(7, 8, 9, 10), ""},
                                        {102, MakeComb(7, 8, 9, 11), ""},
                                        {103, MakeComb(7, 8, 12, 13), ""},
                                        {104, MakeComb(7, 8, 9, 10), ""},
                                        {105, MakeComb(8, 9, 10, 11), ""}};
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
  }
  CliResult Run(std::vector<std::string> args) { return RunKelmora(dir_.Path(), std::move(args)); }
  TempDir dir_;
};

constexpr const char* Header =
    "Значение\tКоличество\tКол-во в %\tНорма\tОтклонение\tОткл-ие в %\tГлубина\tГлубина в %\tВес\tПосл. тираж\t"
    "Период min\tПериод\tПериод max\tОжд. ПРД\tОжд. СТФ\tОжд. КРН\tФакт\t+/- ПРД\t+/- СТФ\t+/- КРН\n";

TEST_F(StatsCli, TablePrintsTheTwentyColumnsSortedByCount) {
  const auto r = Run({"stats", "table", "NUMS"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, std::string(Header) +
                       "A\t0\t0.00000\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\n"
                       "K\t1\t5.00000\t-\t-\t-\t3\t100.00\t3.00\t103\t-\t-\t-\t-\t206\t156\t-\t-\t-\t-\n"
                       "Q\t1\t5.00000\t-\t-\t-\t3\t100.00\t3.00\t103\t-\t-\t-\t-\t206\t156\t-\t-\t-\t-\n"
                       "J\t2\t10.00000\t-\t-\t-\t1\t33.33\t1.00\t105\t3\t2.5000\t3\t108\t158\t141\t-\t-\t-\t-\n"
                       "10\t3\t15.00000\t-\t-\t-\t1\t33.33\t1.00\t105\t1\t1.6667\t3\t107\t140\t132\t-\t-\t-\t-\n"
                       "7\t4\t20.00000\t-\t-\t-\t2\t66.67\t2.00\t104\t1\t1.2500\t1\t105\t130\t126\t-\t-\t-\t-\n"
                       "9\t4\t20.00000\t-\t-\t-\t1\t33.33\t1.00\t105\t1\t1.2500\t2\t106\t131\t127\t-\t-\t-\t-\n"
                       "8\t5\t25.00000\t-\t-\t-\t1\t33.33\t1.00\t105\t1\t1.0000\t1\t106\t126\t124\t-\t-\t-\t-\n");
}

TEST_F(StatsCli, OffsetWindowSortAndSeparator) {
  const auto r = Run({"--decimal-separator", ",", "stats", "table", "nums", "--window", "3", "--offset", "2",
                      "--sort", "0", "--desc"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  const std::string nine = "9\t2\t16,66667\t-\t-\t-\t2\t66,67\t2,00\t102\t1\t1,5000\t1\t104\t153\t137\t104\t0\t+49\t+33\n";
  EXPECT_NE(r.Out.find(nine), std::string::npos) << r.Out;
  // Captions descending: letters above digits as text, numbers among themselves as numbers.
  std::string captions;
  for (const auto& line : support::SplitLines(r.Out)) captions += line.substr(0, line.find('\t')) + " ";
  EXPECT_EQ(captions, "Значение Q K J A 10 9 8 7 ");
}

TEST_F(StatsCli, PrefetchModeFillsTheNormColumnsAndBuildsTheFile) {
  const auto r = Run({"stats", "table", "EVEN", "--window", "5", "--prefetch", "--sort", "0"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_NE(r.Out.find("\n1:3\t1\t20.00000\t3\t-2\t-66.66667\t"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("\n2:2\t4\t80.00000\t4\t0\t0.00000\t"), std::string::npos) << r.Out;
  EXPECT_TRUE(support::FileExists(dir_ / "Prefetchs" / "Kelmora_4r32_EVEN.dfc"));
}

TEST_F(StatsCli, SortedDrawsMovePositionRows) {
  // Draw 106 is written (K, 7, Q, 8): position 4 holds 8 as drawn and K when read ascending.
  lottery::TDrawsArray draws = lottery::LoadDrawsFile(dir_ / "Kelmora_4r32.ldr");
  draws.push_back({106, MakeComb(13, 7, 12, 8), ""});
  lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
  const auto plain = Run({"stats", "table", "POS4", "--sort", "0"});
  const auto sorted = Run({"stats", "table", "POS4", "--sort", "0", "--sorted"});
  ASSERT_EQ(plain.Code, 0) << plain.Err;
  ASSERT_EQ(sorted.Code, 0) << sorted.Err;
  EXPECT_NE(plain.Out.find("\n8\t1\t"), std::string::npos) << plain.Out;
  EXPECT_NE(plain.Out.find("\nK\t1\t"), std::string::npos) << plain.Out;
  EXPECT_NE(sorted.Out.find("\n8\t0\t"), std::string::npos) << sorted.Out;
  EXPECT_NE(sorted.Out.find("\nK\t2\t"), std::string::npos) << sorted.Out;
  // The rows no unsorted draw touches are the same either way.
  EXPECT_NE(plain.Out.find("\n10\t2\t"), std::string::npos) << plain.Out;
  EXPECT_NE(sorted.Out.find("\n10\t2\t"), std::string::npos) << sorted.Out;
}

TEST_F(StatsCli, UnknownCodeAndBadWindowAreFailures) {
  const auto r = Run({"stats", "table", "XXXX"});
  EXPECT_EQ(r.Code, 1);
  EXPECT_NE(r.Err.find("Метод расчета статистики \"XXXX\" не найден!"), std::string::npos) << r.Err;
  EXPECT_EQ(Run({"stats", "table", "NUMS", "--window", "0"}).Code, 1);
  EXPECT_EQ(Run({"stats", "table", "NUMS", "--sort", "20"}).Code, 2);
}

TEST_F(StatsCli, ListPrintsTheRegistry) {
  const auto r = Run({"stats", "list"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  const auto lines = support::SplitLines(r.Out);
  ASSERT_GE(lines.size(), 13u);
  EXPECT_EQ(lines[0], "№\tКод\tНазвание\tГруппа\tФлаги\tГрафик\tНорма\tСписок");
  EXPECT_EQ(lines[1], "1\tNUMS\t{ num } Числа тиража [ N ]\t{ num } Числа тиража\tN\t0\t1\t1");
  EXPECT_EQ(lines[3], "3\tEVEN\t{ num } Количество четных чисел в тираже (Ч:Н) [ NG ]\t{ num } Числа тиража\tNG\t1\t1\t1");
  const std::string pos4 = "\tPOS4\t{ num } Число в 4 позиции тиража [ SNG ]\t{ num } Числа тиража\tSNG\t1\t1\t1";
  bool found = false;
  for (const auto& line : lines) found = found || line.ends_with(pos4);
  EXPECT_TRUE(found) << r.Out;
  EXPECT_EQ(r.Out.find("POE"), std::string::npos);
}

TEST_F(StatsCli, PrefetchBuildNamedAllAndForce) {
  auto r = Run({"prefetch", "build", "NUMS", "pos2"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, "Код\tФайл\tРезультат\nNUMS\tKelmora_4r32_NUMS.dfc\tсоздан\nPOS2\tKelmora_4r32_POS2.dfc\tсоздан\n");
  r = Run({"prefetch", "build", "--all"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_NE(r.Out.find("NUMS\tKelmora_4r32_NUMS.dfc\tоставлен\n"), std::string::npos);
  EXPECT_NE(r.Out.find("PRMV\tKelmora_4r32_PRMV.dfc\tсоздан\n"), std::string::npos);
  r = Run({"prefetch", "build", "NUMS", "--force"});
  EXPECT_NE(r.Out.find("NUMS\tKelmora_4r32_NUMS.dfc\tсоздан\n"), std::string::npos);
  EXPECT_EQ(Run({"prefetch", "build"}).Code, 1);
  EXPECT_EQ(Run({"prefetch", "build", "NUMS", "--all"}).Code, 1);
}

}  // namespace
}  // namespace kelmora::testing
