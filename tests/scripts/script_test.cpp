#include "scripts/script.h"

#include <fstream>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "stats/registry.h"
#include "support/error.h"

namespace kelmora::scripts {
namespace {

class ScriptTest : public ::testing::Test {
 protected:
  ScriptTest() : list_(draws_, config_, shredding_, stats::RegisteredClasses()) { list_.Rebuild(); }

  lottery::TDrawsArray draws_;
  lottery::TConfigData config_;
  lottery::TShreddingData shredding_;
  stats::TStatList list_;
};

struct OptionsCase {
  const char* Word;
  TStepOptions Expected;
  const char* Full;
  const char* Short;
};

TEST(StepOptions, ReadAndWrittenInEveryForm) {
  const OptionsCase cases[] = {
      {"EXCL:3#RAND#CLR#NEX", {3, EXCL, RAND, true, true}, "EXCL:3#RAND#CLR#NEX", "EXCL:3#RAND#NEX"},
      {"FULL:0#RAND", {0, FULL, RAND, false, false}, "FULL:0#RAND", "FULL#RAND"},
      {"CURR:5#FIRST", {5, CURR, FIRST, false, false}, "CURR:5#FIRST", "CURR#FIRST"},
      // The start list is a prefix test; "exl" is none of the codes, so FULL keeps the count.
      {"exl:2#rand", {2, FULL, RAND, false, false}, "FULL:2#RAND", "FULL#RAND"},
      // No ":" means no count.
      {"EXCL5#FIRST", {0, EXCL, FIRST, false, false}, "EXCL:0#FIRST", "EXCL:0#FIRST"},
      {"excl:12##last##nex#clr#junk", {12, EXCL, LAST, true, true}, "EXCL:12#LAST#CLR#NEX", "EXCL:12#LAST#NEX"},
      // The stake mode must be a whole word; flags are only read from the third word on.
      {" CURR : 7 # Alls # CLR ", {7, CURR, RAND, true, false}, "CURR:7#RAND#CLR", "CURR#RAND"},
      {"FULL:x#NEX", {0, FULL, RAND, false, false}, "FULL:0#RAND", "FULL#RAND"},
      {"", {}, "FULL:0#RAND", "FULL#RAND"},
      {"EXCL:1#NONE#NEX", {1, EXCL, NONE, false, true}, "EXCL:1#NONE#NEX", "EXCL:1#NONE#NEX"},
      {"FULL:0#SYSC", {0, FULL, SYSC, false, false}, "FULL:0#SYSC", "FULL#SYSC"},
  };
  for (const OptionsCase& c : cases) {
    SCOPED_TRACE(c.Word);
    const TStepOptions options = StepOptionsFromText(c.Word);
    EXPECT_EQ(options, c.Expected);
    EXPECT_EQ(StepOptionsToText(options), c.Full);
    EXPECT_EQ(StepOptionsToShortText(options), c.Short);
  }
}

TEST(StepOptions, CaptionsAndCodesOutsideTheTables) {
  EXPECT_EQ(StepOptionsCaption({3, EXCL, RAND, true, true}),
            "Исключить 3 тиражей; Случайно; Удалить ставки; Только новые ставки");
  EXPECT_EQ(StepOptionsCaption({0, FULL, ALL, false, false}), "Исходный список; Все; Все создаваемые ставки");
  EXPECT_EQ(StepOptionsCaption({2, CURR, NONE, false, true}),
            "Текущий список; Не делать ставок; Только новые ставки");
  EXPECT_EQ(StartListCode(3), "# ERROR #");
  EXPECT_EQ(StakeModeCaption(9), "# ERROR #");
  EXPECT_EQ(StakeModeShortCaption(-1), "# ERROR #");
  EXPECT_EQ(StepOptionsToText({0, 7, 12, false, false}), "# ERROR #:0## ERROR #");
  EXPECT_EQ(StakeModeCaption(SKIP), "Пропустить (игнорировать) эту ставку");
}

TEST_F(ScriptTest, DialogLineWithNothingInItReadsBackEmpty) {
  const std::string line = ComposeStepLine("FULL:0#RAND", {}, "");
  EXPECT_EQ(line, "FULL:0#RAND| | | | | | | |");
  EXPECT_EQ(StepOptionsFromText(StepField(line, StepOptionsField)), TStepOptions{});
  for (int n = 2; n <= StepFieldCount; ++n) EXPECT_EQ(StepField(line, n), "") << n;
  const TStepView view = StepLineView(line, list_);
  EXPECT_EQ(view.Comment, "");
  EXPECT_EQ(view.Options, "Исходный список; Случайно; Все создаваемые ставки");
  for (const std::string& f : view.Filters) EXPECT_EQ(f, "");
}

TEST_F(ScriptTest, FieldsKeepTheirSlotsThroughBlanks) {
  TFilterTexts filters;
  filters[0] = "TSD1#NUMS:10#LMV:5#SF:1";
  filters[2] = "  ";
  filters[3] = "TSD2#SUMS:20#LNO:#SF:1";
  const std::string line = ComposeStepLine("EXCL:3#RAND#NEX", filters, "my comment");
  EXPECT_EQ(line, "EXCL:3#RAND#NEX|TSD1#NUMS:10#LMV:5#SF:1| | |TSD2#SUMS:20#LNO:#SF:1| | | |my comment");
  EXPECT_EQ(StepField(line, 2), "TSD1#NUMS:10#LMV:5#SF:1");
  EXPECT_EQ(StepField(line, 3), "");
  EXPECT_EQ(StepField(line, 5), "TSD2#SUMS:20#LNO:#SF:1");
  EXPECT_EQ(StepField(line, 9), "my comment");
  EXPECT_EQ(StepField(line, 10), "");
  // Runs of "|" count as one: a hand-written line without blanks shifts its fields.
  EXPECT_EQ(StepField("FULL:0#RAND||||x", 2), "x");
  const TStepView view = StepLineView(line, list_);
  EXPECT_EQ(view.Filters[0], "TSD1#NUMS:10#LMV:5#SF:1");
  EXPECT_EQ(view.Filters[3], "TSD2#SUMS:20#LNO:#SF:1");
  EXPECT_EQ(view.Comment, "my comment");
  EXPECT_TRUE(IsSeparatorLine(" \t"));
  EXPECT_EQ(StepLineView("   ", list_).Options, "");
}

TEST(ScriptText, EveryLineEndReadsAndCrLfIsWritten) {
  struct Case {
    std::string Bytes;
    std::vector<std::string> Lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb\n\rc", {"a", "", "b", "", "c"}},
      {"\r\n", {""}},
      {"\xCF\xF0\xE8\xEC\xE5\xF0\r\n", {"Пример"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Bytes);
    EXPECT_EQ(DecodeScriptText(c.Bytes), c.Lines);
  }
  EXPECT_EQ(EncodeScriptText({"a", "", "Пример"}), "a\r\n\r\n\xCF\xF0\xE8\xEC\xE5\xF0\r\n");
}

TEST(ScriptText, FilesRoundTripAndReadFailuresThrow) {
  kelmora::testing::TempDir dir;
  const auto path = dir.Path() / "a.lsc";
  const std::vector<std::string> lines = {"FULL:0#RAND|TSD1#NUMS:10#LMV:5#SF:1| | | | | | |мой", "", "x"};
  WriteScriptFile(path, lines);
  EXPECT_EQ(ReadScriptFile(path), lines);
  EXPECT_THROW(ReadScriptFile(dir.Path() / "missing.lsc"), support::Error);
  EXPECT_THROW(WriteScriptFile(dir.Path() / "no" / "such.lsc", lines), support::Error);
}

TEST(ScriptText, AppendingAddsOneSeparatorAtMost) {
  struct Case {
    std::vector<std::string> Script, File, Expected;
  };
  const Case cases[] = {
      {{}, {"a", "b"}, {"a", "b"}},
      {{"x"}, {"a"}, {"x", "", "a"}},
      {{"x", ""}, {"a"}, {"x", "", "a"}},
      {{"x", " "}, {"a"}, {"x", " ", "a"}},
      {{"x"}, {}, {"x"}},
      {{}, {}, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> script = c.Script;
    AppendScriptLines(script, c.File);
    EXPECT_EQ(script, c.Expected);
  }
}

TEST_F(ScriptTest, RatingNamesBecomeStepLines) {
  struct Case {
    const char* Name;
    std::optional<std::string> Line;
  };
  const Case cases[] = {
      {"01.003: my comment @ FULL#RAND + TSD1#NUMS:10#LMV:5#SF:1",
       "FULL#RAND|TSD1#NUMS:10#LMV:5#SF:1| | | | | | |01.003: my comment"},
      {"02.001: @ EXCL:3#FIRST#NEX + TSD1#NUMS:10#LMV:5#SF:1 + BMF8#SUMS:20#WMV:2#SF:1",
       "EXCL:3#FIRST#NEX|TSD1#NUMS:10#LMV:5#SF:1|BMF8#SUMS:20#WMV:2#SF:1| | | | | |02.001:"},
      // A name without "@" is the work text whole, with no comment.
      {"FULL#ALL + TSD1#NUMS:10#LMV:5#SF:1", "FULL#ALL|TSD1#NUMS:10#LMV:5#SF:1| | | | | | |"},
      // A step without filters cannot be rebuilt.
      {"02.000: @ FULL#FIRST", std::nullopt},
      {"Ставка \"вручную\"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::optional<std::string> line = RatingNameToStepLine(c.Name, list_);
    EXPECT_EQ(line, c.Line);
    if (!line) continue;
    // The rebuilt step keeps the short option word, so CLR never comes back.
    EXPECT_FALSE(StepOptionsFromText(StepField(*line, StepOptionsField)).ClearStakes);
  }
}

}  // namespace
}  // namespace kelmora::scripts
