#include "stakes/rating.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <algorithm>
#include <random>

#include "common/temp_dir.h"
#include "support/encoding.h"
#include "support/files.h"

namespace kelmora::stakes {
namespace {

TStakeRec Checked(const std::string& name, int matches, Currency profit) {
  TStakeRec s;
  s.Kind = 3;
  s.DrawNumber = 1;
  s.Checked = matches >= 0;
  s.Matches = matches;
  s.Profit = profit;
  s.Name = name;
  return s;
}

TRatingRec Row(const std::string& name, int count, std::array<int32_t, 5> by, Currency profit) {
  TRatingRec r;
  r.Name = name;
  r.Count = count;
  r.ByMatches = by;
  for (int i = 0; i < 5; ++i) r.SumMatches += i * by[i];
  r.Profit = profit;
  return r;
}

std::vector<std::string> Names(const TRatingsArray& rating) {
  std::vector<std::string> out;
  for (const auto& r : rating) out.push_back(r.Name);
  return out;
}

TEST(Rating, NamesDifferingInCaseShareARowAndUncheckedStakesStayOut) {
  TRatingsArray rating;
  AddStakeToRating(rating, Checked("01.001: a @ FULL#RAND", 2, 10000));
  AddStakeToRating(rating, Checked("01.001: A @ full#rand", 0, -10000));
  AddStakeToRating(rating, Checked("01.001: a @ FULL#RAND", -1, -10000));
  AddStakeToRating(rating, Checked("Ставка", 1, 0));
  AddStakeToRating(rating, Checked("СТАВКА", 4, 5000));
  ASSERT_EQ(rating.size(), 2u);
  EXPECT_EQ(rating[0], Row("01.001: a @ FULL#RAND", 2, {1, 0, 1, 0, 0}, 0));
  EXPECT_EQ(rating[1], Row("Ставка", 2, {0, 1, 0, 0, 1}, 5000));
}

TEST(Rating, EfficiencyCellsInEveryMode) {
  const auto rec = Row("x", 10, {6, 3, 1, 0, 0}, 0);
  const std::vector<std::string> expected[3] = {
      {"6", "3", "1", "0", "0"},
      {"1.382%", "-3.496%", "2.822%", "-0.684%", "-0.024%"},
      {"102.357%", "89.563%", "139.320%", "0.000%", "0.000%"},
  };
  for (int mode = 0; mode < 3; ++mode)
    for (int i = 0; i < 5; ++i) EXPECT_EQ(RatingCellText(rec, 11 + i, mode, '.'), expected[mode][i]) << mode << i;
  EXPECT_EQ(RatingCellText(rec, 13, 1, ','), "2,822%");
  const auto empty = Row("y", 0, {0, 0, 0, 0, 0}, 0);
  for (int column : {3, 5, 11, 15}) EXPECT_EQ(RatingCellText(empty, column, 1, '.'), "") << column;
}

TEST(Rating, ViewCells) {
  const auto rec = Row("Имя", 3, {1, 1, 1, 0, 0}, 10000);
  const std::vector<std::string> expected = {"Имя", "3", "3", "1,000", "1,00", "0,33", "1", "1", "1", "0", "0"};
  for (int c = 0; c < 11; ++c) EXPECT_EQ(RatingCellText(rec, c, 1, ','), expected[c]) << c;
  EXPECT_EQ(RatingColumnCaptions()[3], std::string("Среднее"));
  EXPECT_EQ(RatingColumnCaptions()[15], std::string("E4"));
}

TEST(Rating, SortsByEachKindOfColumn) {
  const TRatingsArray rating = {Row("b", 2, {2, 0, 0, 0, 0}, 100), Row("A", 4, {0, 0, 4, 0, 0}, -50),
                                Row("a", 1, {0, 0, 0, 1, 0}, 10000), Row("c", 3, {1, 1, 0, 0, 1}, 20000)};
  struct Case {
    int Column;
    bool Desc;
    std::vector<std::string> Order;
  } cases[] = {
      {0, false, {"a", "A", "b", "c"}},
      {1, true, {"A", "c", "b", "a"}},
      {2, true, {"A", "c", "a", "b"}},
      {3, true, {"a", "A", "c", "b"}},
      {5, false, {"A", "b", "c", "a"}},
  };
  for (const auto& c : cases) {
    auto sorted = rating;
    SortRating(sorted, c.Column, c.Desc);
    EXPECT_EQ(Names(sorted), c.Order) << c.Column;
  }
}

TEST(Rating, ProfitsWithinHalfACentAreEqualAndE2KeepsTheOrder) {
  TRatingsArray rating;
  for (int i = 0; i < 40; ++i) rating.push_back(Row(std::to_string(i), 1 + i % 7, {i, 0, i % 3, 0, 0}, 10000 + i));
  auto by_e2 = rating;
  SortRating(by_e2, 13, false);
  EXPECT_EQ(by_e2, rating);
  SortRating(by_e2, 13, true);
  EXPECT_EQ(by_e2, rating);
  // Profits 1.0000 .. 1.0039 differ by less than half a cent: all equal, nothing moves.
  auto by_profit = rating;
  SortRating(by_profit, 4, true);
  EXPECT_EQ(by_profit, rating);
}

TEST(Rating, SortStaysInsideTheArrayWhateverTheData) {
  // Rows of count 0 compare equal to everything, so the comparison is not transitive.
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    TRatingsArray rating;
    const int n = 2 + static_cast<int>(random() % 60);
    for (int i = 0; i < n; ++i) {
      const int count = static_cast<int>(random() % 4);
      rating.push_back(Row(std::to_string(random() % 9), count, {count, 0, 0, 0, 0},
                           static_cast<Currency>(random() % 300) - 150));
    }
    auto names = Names(rating);
    for (int column = 0; column < 11; ++column) SortRating(rating, column, column % 2 == 1);
    auto after = Names(rating);
    std::sort(names.begin(), names.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, names);  // a permutation: nothing lost, nothing duplicated
  }
}

TEST(Rating, FileRoundTripAndPartialFile) {
  testing::TempDir dir;
  const auto path = dir / "Kelmora_4r32.lrt";
  const TRatingsArray rating = {Row("Первый", 2, {1, 1, 0, 0, 0}, -20000), Row("x", 1, {0, 0, 0, 0, 1}, 5000000)};
  WriteRatingFile(path, rating);
  EXPECT_EQ(std::filesystem::file_size(path), 2 * RatingRecSize);
  std::string problem;
  EXPECT_EQ(ReadRatingFile(path, &problem), rating);
  EXPECT_EQ(problem, "");
  auto bytes = support::ReadFileBytes(path);
  EXPECT_EQ(bytes[0], 6);
  EXPECT_EQ(bytes[256], 2);  // Count
  EXPECT_EQ(bytes[288], 0xE0);  // Profit -20000 = 0x...B1E0
  bytes.resize(bytes.size() - 10);
  support::WriteFileAtomic(path, bytes);
  EXPECT_EQ(ReadRatingFile(path, &problem), TRatingsArray{rating[0]});
  EXPECT_NE(problem, "");
  EXPECT_TRUE(ReadRatingFile(dir / "none.lrt", nullptr).empty());
}

TEST(Rating, CsvQuotesNamesAndLeavesEfficiencyEmpty) {
  const TRatingsArray rating = {Row("a \"b\"; c", 2, {1, 0, 1, 0, 0}, 15000), Row("Ноль", 0, {0, 0, 0, 0, 0}, 0)};
  const std::string csv = support::Cp1251ToUtf8(RatingsCsv(rating, ','));
  EXPECT_EQ(csv,
            "\"Комментарий\";\"Ставок\";\"Угадано\";\"Среднее\";\"Профит\";\"Ср. профит\";\"0\";\"1\";\"2\";\"3\";"
            "\"4\";\"E0\";\"E1\";\"E2\";\"E3\";\"E4\"\r\n"
            "\"a \"\"b\"\"; c\";2;2;1,000;1,50;0,75;1;0;1;0;0\r\n"
            "\"Ноль\";0;0;;0,00;;0;0;0;0;0\r\n");
}

TEST(Rating, KeyedSortGivesTheOrderOfComparingRecords) {
  // Many ties, counts of 0, averages and profits within half a cent, also around large amounts:
  // every column, both ways, sorted again and again as checking does, must leave the records in
  // the same order.
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    const Currency base = round % 3 == 0 ? Currency{123456789012345} : round % 3 == 1 ? Currency{-98765432100} : 0;
    TRatingsArray keyed;
    const int n = 2 + static_cast<int>(random() % 80);
    for (int i = 0; i < n; ++i) {
      const int count = static_cast<int>(random() % 5);
      const int sum = count ? static_cast<int>(random() % (4 * count + 1)) : 0;
      keyed.push_back(Row(fmt::format("r{}", i), count,
                          {static_cast<int>(random() % 3), static_cast<int>(random() % 3), 0, 0, 0},
                          base + static_cast<Currency>(random() % 2000) - 1000));
      keyed.back().SumMatches = sum;
    }
    auto by_records = keyed;
    for (int step = 0; step < 6; ++step) {
      const int column = static_cast<int>(random() % 16);
      const bool desc = random() % 2 == 1;
      SortRating(keyed, column, desc);
      SortRatingByRecords(by_records, column, desc);
      ASSERT_EQ(Names(keyed), Names(by_records)) << "round " << round << " column " << column;
      // A row changes as a checked stake changes it, and the next sort starts from there.
      auto& rec = keyed[random() % keyed.size()];
      auto& same = *std::find_if(by_records.begin(), by_records.end(), [&](const auto& r) { return r.Name == rec.Name; });
      rec.Count += 1;
      rec.SumMatches += 1;
      rec.Profit += 15000;
      same = rec;
    }
  }
}

}  // namespace
}  // namespace kelmora::stakes
