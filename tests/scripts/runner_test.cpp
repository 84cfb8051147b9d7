// The runner's own pieces: stake names, the log file and its entries, the values of system play and
// the random pick.

#include "scripts/runner.h"

#include <gtest/gtest.h>

#include <set>

#include "common/temp_dir.h"
#include "support/encoding.h"
#include "support/files.h"

namespace kelmora::scripts {
namespace {

using lottery::MakeComb;

TEST(ScriptStakeNameTest, FormatsLineVariantCommentAndDescription) {
  struct Case {
    int Line;
    int64_t Variant;
    const char* Comment;
    const char* Description;
    const char* Name;
  };
  const Case cases[] = {
      {1, 3, "my comment", "EXCL:3#RAND + TSD1#NUMS:10#LMV:5#SF:1", "01.003: my comment @ EXCL:3#RAND + TSD1#NUMS:10#LMV:5#SF:1"},
      {2, 0, "", "FULL#FIRST", "02.000: @ FULL#FIRST"},
      {12, 1234, "x", "CURR#ALL", "12.1234: x @ CURR#ALL"},
      {123, 7, "", "FULL#RAND", "123.007: @ FULL#RAND"},
  };
  for (const auto& c : cases) EXPECT_EQ(ScriptStakeName(c.Line, c.Variant, c.Comment, c.Description), c.Name);
  EXPECT_EQ(ScriptStakeDescription("FULL#FIRST", ""), "FULL#FIRST");
  EXPECT_EQ(ScriptStakeDescription("EXCL:3#RAND", "TSD#NUMS:10#LMV:5#SF:1"), "EXCL:3#RAND + TSD#NUMS:10#LMV:5#SF:1");
}

TEST(ScriptStakeNameTest, LongNamesAreCutTo255CharactersNotBytes) {
  // Cyrillic letters are two bytes in UTF-8 and one in the stakes file: the cut counts characters.
  std::string comment;
  for (int i = 0; i < 300; ++i) comment += "ж";
  const std::string name = ScriptStakeName(1, 1, comment, "FULL#RAND");
  EXPECT_EQ(support::Utf8ToCp1251(name).size(), 255u);
  EXPECT_EQ(name.substr(0, 8), "01.001: ");
  EXPECT_EQ(name.substr(name.size() - 2), "ж");
  const std::string cut = ScriptStakeName(1, 1, "", std::string(300, 'd'));
  EXPECT_EQ(cut.size(), 255u);
  EXPECT_EQ(cut.substr(0, 10), "01.001: @ ");
}

TEST(ScriptLogTest, NamesAndEntries) {
  const TLocalTime t{2026, 1, 2, 3, 4, 5};
  EXPECT_EQ(ScriptLogFileName(t), "ScriptLog_2026-01-02-03-04-05.txt");
  EXPECT_EQ(ScriptLogEntry(t, "Создано 4 вариантов фильтров."), "[2026-01-02 03:04:05]: Создано 4 вариантов фильтров.");
  EXPECT_EQ(ScriptLogEntry(t, ""), "[2026-01-02 03:04:05]: ");
  EXPECT_EQ(LogOffsetLine(12),
            "=== Выполнение сценария для смещения 000012 ==================================================");
  for (const char* name : {"ScriptLog_2026-01-02-03-04-05.txt", "ScriptLog_x.txt", "ScriptLog_.txt"})
    EXPECT_TRUE(IsScriptLogFileName(name)) << name;
  for (const char* name : {"ScriptLog.txt", "scriptlog_x.txt", "ScriptLog_x.txt.bak", "Kelmora_4r32-1.log", "ScriptLog_"})
    EXPECT_FALSE(IsScriptLogFileName(name)) << name;
}

TEST(ScriptLogTest, EveryEntryIsAppendedInWindows1251WithCrLf) {
  testing::TempDir dir;
  const auto path = dir / "ScriptLog_1.txt";
  AppendScriptLogEntry(path, {2026, 12, 11, 10, 0, 0}, "Выполнение строки 001: \"x\"");
  AppendScriptLogEntry(path, {2026, 12, 11, 10, 0, 1}, "");
  const std::string expected = support::Utf8ToCp1251(
      "[2026-12-11 10:00:00]: Выполнение строки 001: \"x\"\r\n[2026-12-11 10:00:01]: \r\n");
  EXPECT_EQ(support::ReadFileText(path), expected);
  EXPECT_THROW(AppendScriptLogEntry(dir / "missing" / "log.txt", {}, "x"), std::exception);
}

TEST(ScriptRandomTest, SeededPicksRepeatAndCoverTheRange) {
  TScriptRandom a, b;
  a.Seed(42);
  b.Seed(42);
  std::set<int> seen;
  for (int i = 0; i < 2000; ++i) {
    const int x = a.Index(7);
    EXPECT_EQ(x, b.Index(7));
    ASSERT_GE(x, 0);
    ASSERT_LT(x, 7);
    seen.insert(x);
  }
  EXPECT_EQ(seen.size(), 7u);
  EXPECT_EQ(a.Index(1), 0);
  // mt19937 is fixed by the standard, so a seed gives these picks everywhere.
  TScriptRandom c;
  c.Seed(1);
  std::vector<int> picks;
  for (int i = 0; i < 5; ++i) picks.push_back(c.Index(4096));
  std::mt19937 raw(1);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(picks[static_cast<size_t>(i)], static_cast<int>(raw() % 4096));
}

}  // namespace
}  // namespace kelmora::scripts
