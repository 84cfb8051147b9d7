#include "stakes/stake_rec.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/temp_dir.h"
#include "support/encoding.h"
#include "support/files.h"

namespace kelmora::stakes {
namespace {

using lottery::MakeComb;

lottery::TConfigData Config(Currency cost, std::vector<lottery::TProfitItem> profits) {
  lottery::TConfigData c;
  c.Cost = cost;
  c.Profits = std::move(profits);
  return c;
}

TEST(StakeRec, EncodesEveryFieldAtItsOffset) {
  TStakeRec rec;
  rec.Kind = 3;
  rec.DrawNumber = 0x01020304;
  rec.Checked = true;
  rec.ListSize = 4096;
  rec.ValueCount = 4;
  rec.Values = MakeComb(7, 10, 11, 14);
  rec.Results = MakeComb(7, 8, 11, 13);
  rec.Matches = 2;
  rec.MatchedValues = {7, 11, 0, 0};
  rec.Profit = -15000;
  rec.Name = "Ставка";
  uint8_t b[StakeRecSize];
  EncodeStake(rec, b);
  const std::vector<uint8_t> head(b, b + 48);
  const std::vector<uint8_t> expected = {2, 3, 0, 0, 4, 3, 2, 1, 1, 0, 0, 0, 0, 0x10, 0, 0, 4, 0, 0, 0,
                                         7, 10, 11, 14, 7, 8, 11, 13, 2, 0, 0, 0, 7, 11, 0, 0, 0, 0, 0, 0,
                                         0x68, 0xC5, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(head, expected);
  EXPECT_EQ(b[48], 6);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(b + 49), 6), support::Utf8ToCp1251("Ставка"));
  EXPECT_EQ(b[55], 0);
  EXPECT_EQ(DecodeStake(b), rec);
}

TEST(StakeRec, SeparatorIsTheBlankRecord) {
  uint8_t b[StakeRecSize];
  EncodeStake(SeparatorRec(), b);
  std::vector<uint8_t> expected(StakeRecSize, 0);
  expected[0] = 2;
  for (int i : {4, 5, 6, 7, 28, 29, 30, 31}) expected[i] = 0xFF;  // DrawNumber and Matches -1
  EXPECT_EQ(std::vector<uint8_t>(b, b + StakeRecSize), expected);
}

TEST(StakeRec, ProfitIsWinningsOfTheFirstRowMinusCost) {
  const auto config = Config(15000, {{2, 100000}, {2, 500000}, {4, 1000000}});
  struct Case {
    int Matches;
    Currency Profit;
  } cases[] = {{-1, -15000}, {0, -15000}, {1, -15000}, {2, 85000}, {3, -15000}, {4, 985000}};
  for (const auto& c : cases) EXPECT_EQ(ComputeProfit(config, 4, c.Matches), c.Profit) << c.Matches;
}

TEST(StakeRec, CheckingFillsResultsMatchesAndProfit) {
  auto rec = MakeStake(1, 5, MakeComb(7, 8, 9, 10), "x", 16, Config(10000, {{2, 50000}}));
  EXPECT_EQ(rec.Profit, -10000);
  EXPECT_EQ(rec.Matches, -1);
  CheckStakeAgainst(rec, MakeComb(10, 8, 12, 7), Config(10000, {{2, 50000}}));
  EXPECT_TRUE(rec.Checked);
  EXPECT_EQ(rec.Matches, 1);
  EXPECT_EQ(rec.MatchedValues, (std::array<uint8_t, 4>{8, 0, 0, 0}));
  EXPECT_EQ(rec.Profit, -10000);
  CheckStakeAgainst(rec, MakeComb(10, 8, 9, 7), Config(10000, {{2, 50000}}));
  EXPECT_EQ(rec.MatchedValues, (std::array<uint8_t, 4>{8, 9, 0, 0}));
  EXPECT_EQ(rec.Profit, 40000);
}

TEST(StakeRec, GridCells) {
  // Cost 0 and no winnings row for 3 matches: a checked 3-match stake shows 0.00.
  auto rec = MakeStake(2, 77, MakeComb(7, 11, 12, 14), "Регуляр 1", 4096, Config(0, {}));
  const std::vector<std::string> unchecked = {"77", "Регуляр", "7;J;Q;A", "4096", "", "", "", "0,00", "Регуляр 1"};
  for (int c = 0; c < StakeColumnCount; ++c) EXPECT_EQ(StakeCellText(rec, c, ','), unchecked[c]) << c;
  CheckStakeAgainst(rec, MakeComb(7, 11, 12, 8), Config(0, {}));
  const std::vector<std::string> checked = {"77", "Регуляр", "7;J;Q;A", "4096", "7;J;Q;8", "3", "7 J Q", "0,00",
                                            "Регуляр 1"};
  for (int c = 0; c < StakeColumnCount; ++c) EXPECT_EQ(StakeCellText(rec, c, ','), checked[c]) << c;
  for (int c = 0; c < StakeColumnCount; ++c) EXPECT_EQ(StakeCellText(SeparatorRec(), c, ','), "") << c;
}

TEST(StakeLog, LineAndFileStartedAfreshPastTheLimit) {
  testing::TempDir dir;
  auto rec = MakeStake(1, 120, MakeComb(7, 8, 9, 10), "Ставка \"вручную\"", 4096, Config(10000, {{1, 25000}}));
  CheckStakeAgainst(rec, MakeComb(7, 13, 13, 13), Config(10000, {{1, 25000}}));
  const std::string line =
      "2026.12.11 01:02:03: Тираж № 120. Ставка: \"Ставка \"вручную\"\" [7;8;9;10] {4096}. Результаты тиража: "
      "[7;K;K;K]. Совпадений: 1. Профит: 1.50.";
  EXPECT_EQ(StakeLogLine(rec, "2026.12.11 01:02:03", '.'), line);
  const auto path = StakeLogPath(dir.Path(), 1);
  EXPECT_EQ(path.filename(), "Kelmora_4r32-1.log");
  const std::string one = support::Utf8ToCp1251(line) + "\r\n";
  const int64_t limit = static_cast<int64_t>(one.size()) * 2;
  WriteStakeLog(dir.Path(), rec, "2026.12.11 01:02:03", '.', limit);
  WriteStakeLog(dir.Path(), rec, "2026.12.11 01:02:03", '.', limit);
  EXPECT_EQ(support::ReadFileText(path), one + one);
  // At the limit the file is kept; past it the next line starts a new file.
  WriteStakeLog(dir.Path(), rec, "2026.12.11 01:02:03", '.', limit);
  EXPECT_EQ(support::ReadFileText(path).size(), one.size() * 3);
  WriteStakeLog(dir.Path(), rec, "2026.12.11 01:02:03", '.', limit);
  EXPECT_EQ(support::ReadFileText(path), one);
}

}  // namespace
}  // namespace kelmora::stakes
