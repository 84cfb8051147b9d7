#include "lottery/draws_csv.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <fstream>

#include "common/temp_dir.h"
#include "support/error.h"

namespace kelmora::lottery {
namespace {

using Fields = std::vector<std::string>;

const std::filesystem::path DataFolder = std::filesystem::path(KELMORA_TEST_DATA) / "lottery";

TDrawsArray NumberedDraws(int first, int count) {
  TDrawsArray draws;
  for (int i = 0; i < count; ++i) {
    // Formatted, not `"0" + std::string`: GCC 12 at -O3 reports a false -Wrestrict there.
    draws.push_back({first + i, MakeComb(7 + i % 8, 14 - i % 8, 11, 10), fmt::format("0{}/05/2023", 1 + i % 9)});
  }
  return draws;
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ExportTest, LineLayoutQuotingAndCodePage) {
  const TDrawsArray draws = {{1000, MakeComb(7, 10, 11, 14), "05/11/2023"},
                             {1001, MakeComb(12, 13, 8, 9), "a\"b"},
                             {1002, MakeComb(9, 9, 9, 9), "нет"}};
  EXPECT_EQ(DrawsToCsv(draws),
            "1000;\"05/11/2023\";7;10;J;A\r\n"
            "1001;\"a\"\"b\";Q;K;8;9\r\n"
            "1002;\"\xED\xE5\xF2\";9;9;9;9\r\n");
  EXPECT_EQ(DrawsToCsv({}), "");
}

TEST(ExportTest, ExportThenImportRoundTrips) {
  kelmora::testing::TempDir folder;
  TDrawsArray draws = NumberedDraws(101, 10);
  draws[3].Date = "a\"b c;d";
  draws[4].Date = "нет даты";
  draws[5].Date = "";
  ExportDrawsFile(folder / "draws.csv", draws);
  EXPECT_EQ(ReadAll(folder / "draws.csv"), DrawsToCsv(draws));

  TDrawsArray same = draws;
  EXPECT_EQ(ImportDrawsFile(same, folder / "draws.csv"), 0);  // every number exists already
  EXPECT_EQ(same, draws);

  TDrawsArray fresh;
  EXPECT_EQ(ImportDrawsFile(fresh, folder / "draws.csv"), 10);
  EXPECT_EQ(fresh, draws);
}

TEST(ExportTest, UnwritableFileThrows) {
  kelmora::testing::TempDir folder;
  EXPECT_THROW(ExportDrawsFile(folder / "missing" / "draws.csv", NumberedDraws(1, 2)), support::Error);
}

struct SplitCase {
  const char* Line;
  Fields Expected;
};

class SplitImportLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitImportLineTest, Splits) { EXPECT_EQ(SplitImportLine(GetParam().Line), GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitImportLineTest,
    ::testing::Values(SplitCase{"1;\"a;b\";3", {"1", "a;b", "3"}},
                      SplitCase{"\"say \"\"hi\"\"\";x", {"say \"hi\"", "x"}},
                      SplitCase{"\"12/05/2023 20:00\";7", {"12/05/2023 20:00", "7"}},
                      SplitCase{"12/05/2023 20:00;7", {"12/05/2023", "20:00", "7"}},
                      SplitCase{"1;2;", {"1", "2", ""}}, SplitCase{"1;;2", {"1", "", "2"}},
                      SplitCase{"1 2\t3", {"1", "2", "3"}}, SplitCase{"  1 ; 2  ", {"1", "2"}},
                      SplitCase{"\"\";1", {"", "1"}}, SplitCase{"\"unclosed;x", {"unclosed;x"}},
                      SplitCase{"\"ab\"cd", {"ab", "cd"}}, SplitCase{";", {"", ""}}, SplitCase{"", {}}));

TEST(ImportTest, FiveFieldLinesAreNumberedCountPlusOne) {
  TDrawsArray draws = NumberedDraws(1, 10);
  EXPECT_EQ(ImportDrawsText(draws, "05/11/2023;7;8;9;10\r\n"), 1);
  ASSERT_EQ(draws.size(), 11u);
  EXPECT_EQ(draws.back(), (TDrawRec{11, MakeComb(7, 8, 9, 10), "05/11/2023"}));

  TDrawsArray taken = NumberedDraws(2, 10);  // 10 draws, the last is draw 11
  const TDrawsArray before = taken;
  EXPECT_EQ(ImportDrawsText(taken, "05/11/2023;7;8;9;10"), 0);
  EXPECT_EQ(taken, before);
}

TEST(ImportTest, LayoutsByFieldCount) {
  TDrawsArray draws = NumberedDraws(1, 3);
  const std::string text =
      "Номер;Дата;s;h;d;c;ещё\r\n"          // 7 fields: ignored
      "\r\n"
      "   \r\n"
      "20;12/05/2023 20:00;7;8;9;10\r\n"       // the time makes 7 fields: ignored
      "21;\"12/05/2023 20:00\";j;q;k;a\r\n"    // quoted: the date is cut to 10 characters
      "x;01/01/2023;7;7;7;7\r\n"               // number 0: not appended
      "-4;01/01/2023;7;7;7;7\r\n"
      "2;01/01/2023;7;7;7;7\r\n"               // draw 2 exists
      "22;01/01/2023;7;7;X\r\n"                // 5 fields: "01/01/2023" and "X" are no cards: skipped
      "5;01/01/2023;7;7;7;19\r\n"              // 19 is no card: skipped
      "23;;8;8;8;8\n"                          // empty date field
      "21;02/01/2023;7;7;7;7\n"                // 21 was appended above: known, not counted
      "7;8;9;10";                              // 4 fields: ignored
  TImportReport report;
  EXPECT_EQ(ImportDrawsText(draws, text, &report), 2);
  ASSERT_EQ(draws.size(), 5u);
  EXPECT_EQ(draws[3], (TDrawRec{21, MakeComb(11, 12, 13, 14), "12/05/2023"}));
  EXPECT_EQ(draws[4], (TDrawRec{23, MakeComb(8, 8, 8, 8), ""}));
  EXPECT_EQ(report.Skipped, 7);
  EXPECT_EQ(report.FirstBadLine, 1);
  EXPECT_NE(report.FirstBadText.find(";s;h;d;c;"), std::string::npos) << report.FirstBadText;
}

TEST(ImportTest, CodePageOfTheFile) {
  TDrawsArray draws;
  EXPECT_EQ(ImportDrawsText(draws, "1;\"\xED\xE5\xF2\";7;8;9;10\r\n2;\"\xC4\xE0\xF2\xE0 \xF2\xE8\xF0\xE0\xE6\xE0\";7;8;9;10"), 2);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].Date, "нет");
  EXPECT_EQ(draws[1].Date, "Дата тираж");  // 10 characters, not 10 bytes of UTF-8
}

TEST(ImportTest, UnreadableFileThrowsAndChangesNothing) {
  kelmora::testing::TempDir folder;
  TDrawsArray draws = NumberedDraws(1, 2);
  EXPECT_THROW(ImportDrawsFile(draws, folder / "absent.csv"), support::Error);
  EXPECT_EQ(draws, NumberedDraws(1, 2));
}

TEST(ResultsTest, NewerDrawsOfTheFileOldestFirst) {
  // The archive ends with draw 1000; the file lists 1003 down to 999.
  const TDrawsArray draws = ReadResultsFile(DataFolder / "chance_results.csv", 1001);
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[0], (TDrawRec{1001, MakeComb(0, 7, 13, 10), "03/11/2023"}));  // ",," is one separator
  EXPECT_EQ(draws[1], (TDrawRec{1002, MakeComb(10, 9, 8, 7), "04/11/2023"}));
  EXPECT_EQ(draws[2], (TDrawRec{1003, MakeComb(11, 12, 13, 14), "05/11/2023"}));
}

TEST(ResultsTest, EmptyArchiveTakesTheWholeFile) {
  const TDrawsArray draws = ReadResultsFile(DataFolder / "chance_results.csv", 1);
  ASSERT_EQ(draws.size(), 5u);
  EXPECT_EQ(draws.front().Number, 999);
  EXPECT_EQ(draws.back().Number, 1003);
}

TEST(ResultsTest, NothingNew) {
  EXPECT_TRUE(ReadResultsFile(DataFolder / "chance_results.csv", 1004).empty());
  EXPECT_TRUE(ReadResultsText("Дата,Тираж\r\n", 1).empty());
  EXPECT_TRUE(ReadResultsText("", 1).empty());
  kelmora::testing::TempDir folder;
  EXPECT_TRUE(ReadResultsFile(folder / "chance_results.csv", 1).empty());
}

TEST(ResultsTest, LineFieldsAndStops) {
  EXPECT_EQ(ReadResultsText("h\n05/11/2023,1003,A,K,Q,J", 1),
            (TDrawsArray{{1003, MakeComb(11, 12, 13, 14), "05/11/2023"}}));
  // Short lines: the missing values are 0.
  EXPECT_EQ(ReadResultsText("h\r\n06/11/2023,1004,A\r\n05/11/2023,1003\r\n", 1003),
            (TDrawsArray{{1003, 0, "05/11/2023"}, {1004, MakeComb(0, 0, 0, 14), "06/11/2023"}}));
  // A number that is not one reads 0 and stops the reading like an old draw.
  EXPECT_EQ(ReadResultsText("h\n06/11/2023,1004,7,7,7,7\nxx,abc,8,8,8,8\n04/11/2023,1002,9,9,9,9", 1),
            (TDrawsArray{{1004, MakeComb(7, 7, 7, 7), "06/11/2023"}}));
  // Fields after the sixth are ignored, the date is cut to 10 characters, values are trimmed.
  EXPECT_EQ(ReadResultsText("h\n05/11/2023 20:00,1003,A , 7,8,9,extra\n", 1),
            (TDrawsArray{{1003, MakeComb(9, 8, 7, 14), "05/11/2023"}}));
}

}  // namespace
}  // namespace kelmora::lottery
