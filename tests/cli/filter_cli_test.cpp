#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "common/temp_dir.h"
#include "lottery/draws.h"
#include "support/encoding.h"
#include "support/files.h"

namespace kelmora::testing {
namespace {

using lottery::MakeComb;

// Four draws: 7 seven times, 8 four, 9 three, 10 and J once, Q, K and A never.
class FilterCli : public ::testing::Test {
 protected:
  FilterCli() {
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr",
                           {{1, MakeComb(7, 7, 7, 7), ""}, {2, MakeComb(7, 8, 8, 9), ""},
                            {3, MakeComb(7, 8, 9, 10), ""}, {4, MakeComb(7, 8, 9, 11), ""}});
  }
  CliResult Run(std::vector<std::string> args) { return RunKelmora(dir_.Path(), std::move(args)); }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }
  TempDir dir_;
};

TEST_F(FilterCli, GeneratesByModeAndByTheConfiguredDefaults) {
  const auto two = Run({"combs", "generate", "--mode", "2", "--param", "7;8", "--out", File("a.lcv")});
  ASSERT_EQ(two.Code, 0) << two.Err;
  EXPECT_EQ(two.Out, "16\n");
  EXPECT_EQ(support::ReadFileText(dir_ / "a.lcv").substr(0, 18), "7;7;7;7\r\n7;7;7;8\r\n");
  support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini", std::string("[GLOBAL]\r\nCombsGenerateMode=1\r\nCombsGenerateParameters=J\r\n"));
  EXPECT_EQ(Run({"combs", "generate", "--out", File("b.lcv")}).Out, "1695\n");
  // Mode 4 reads a file: the one just written.
  EXPECT_EQ(Run({"combs", "generate", "--mode", "4", "--param", File("a.lcv"), "--out", File("c.lcv")}).Out, "16\n");
}

TEST_F(FilterCli, KeepsOrDeletesTheRowsGiven) {
  struct Case {
    std::vector<std::string> Args;
    const char* Out;
  } cases[] = {
      {{"--row", "7", "--keep"}, "1695\n"},
      {{"--row", "7", "--row", "8", "--delete"}, "1296\n"},
      {{"--row", "A", "--delete"}, "2401\n"},
      // The newest draw is taken out of the start list first.
      {{"--row", "7", "--keep", "--start", "excl:1"}, "1694\n"},
      // With offset 1 the window ends at draw 3, where 7 was still drawn.
      {{"--row", "7", "--keep", "--offset", "1", "--start", "excl:1"}, "1694\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"filter", "--stat", "NUMS", "--window", "4"};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    const auto r = Run(args);
    EXPECT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, c.Out) << args.back();
  }
}

TEST_F(FilterCli, StartsFromAFileAndWritesTheResult) {
  support::WriteFileAtomic(dir_ / "s.lcv", std::string("7;8;9;10\r\nA;A;A;A\r\nQ;K;7;8\r\n"));
  const auto r = Run({"filter", "--stat", "NUMS", "--window", "4", "--row", "A", "--delete", "--start", File("s.lcv"),
                      "--out", File("o.lcv")});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, "2\n");
  EXPECT_EQ(support::ReadFileText(dir_ / "o.lcv"), "7;8;9;10\r\nQ;K;7;8\r\n");
}

TEST_F(FilterCli, BadInputIsRefusedWithAMessage) {
  std::string many;
  for (int i = 0; i < 4097; ++i) many += "7;7;7;7\r\n";
  support::WriteFileAtomic(dir_ / "many.lcv", many);
  struct Case {
    std::vector<std::string> Args;
    const char* Message;
  } cases[] = {
      {{"--stat", "NUMS", "--row", "Z", "--keep"}, "Значение \"Z\" не найдено в таблице статистики!"},
      {{"--stat", "NUMS", "--row", "7", "--keep", "--delete"}, "Укажите --keep или --delete!"},
      {{"--stat", "XXXX", "--row", "7", "--keep"}, "Метод расчета статистики \"XXXX\" не найден!"},
      {{"--stat", "NUMS", "--row", "7", "--keep", "--start", File("many.lcv")}, "4097"},
      {{"--stat", "NUMS", "--row", "7", "--keep", "--start", "excl:x"}, "Некорректный начальный список"},
      // A recipe without a statistic word writes that word as a blank, so its text reads back the same.
      {{"--recipe", "garbage"}, "Некорректное описание фильтра: TSD1# #LNO:#SF:0!"},
      {{"--recipe", "TSD1#NUMS:10#LMV:a#SF:1"}, "Некорректное описание фильтра"},
      {{"--recipe", "TSD1#NUMS:1-60000;1#LMV:1-60000;1#SF:1"}, "слишком много вариантов"},
      // A depth list meets the "-" of a value never drawn.
      {{"--recipe", "TMF1#NUMS:4#LDV:1#SF:1"}, "\"-\" не является целым числом!"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"filter"};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    const auto r = Run(args);
    EXPECT_EQ(r.Code, 1) << c.Message;
    EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
  }
}

TEST_F(FilterCli, RecipesPrintEveryVariantAndLogTheApplication) {
  const auto r = Run({"filter", "--recipe", "TSF1#NUMS:4#LMV:1,2#SF:1", "--recipe", "TMD1#NUMS:4#LVA:7#SF:1", "--log",
                      File("log.txt")});
  ASSERT_EQ(r.Code, 0) << r.Err;
  // Variant 1 keeps 7, 8, 9 and J (or 10) one at a time, leaving their 24 orders (the fifth value
  // empties the list and is undone); deleting 7 then empties it too, which is undone as well.
  // Variant 2 keeps 10 (the only depth of 2), then deletes 7: 7^4 - 6^4 combinations.
  EXPECT_EQ(r.Out,
            "Вариант\tФильтры\tКомбинаций\n"
            "1\tTSF1#NUMS:4#LMV:1#SF:1 + TMD1#NUMS:4#LVA:7#SF:1\t24\n"
            "2\tTSF1#NUMS:4#LMV:2#SF:1 + TMD1#NUMS:4#LVA:7#SF:1\t1105\n");
  const std::string log = support::Cp1251ToUtf8(support::ReadFileText(dir_ / "log.txt"));
  const auto lines = support::SplitLines(log);
  ASSERT_GT(lines.size(), 10u);
  EXPECT_EQ(lines[0].substr(0, 1), "[");
  EXPECT_EQ(lines[0].substr(23), "Создание всех вариантов фильтров...");
  EXPECT_EQ(lines[1].substr(23), "Создано 2 вариантов фильтров.");
  EXPECT_EQ(lines[2].size(), 23u);  // an empty entry is the bare prefix
  EXPECT_EQ(lines[4].substr(23), "Применение набора фильтров 001: \"TSF1#NUMS:4#LMV:1#SF:1 + TMD1#NUMS:4#LVA:7#SF:1\"");
  EXPECT_NE(log.find("Шаг 001. Выделение строки: < [7] кол-во: 7 (43.75000 %)"), std::string::npos) << log;
  EXPECT_NE(log.find("{UNDO} Откат изменений..."), std::string::npos);
}

}  // namespace
}  // namespace kelmora::testing
