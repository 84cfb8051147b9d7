#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lottery/types.h"
#include "stats/registry.h"
#include "stats/stat_list.h"
#include "stats/comb_values.h"

namespace kelmora {
namespace {

using lottery::MakeComb;

// The full registry over a small archive built by the test.
struct Archive {
  lottery::TDrawsArray draws;
  lottery::TConfigData config;
  lottery::TShreddingData shredding;
  stats::TStatList list{draws, config, shredding, stats::RegisteredClasses()};

  Archive() { list.Rebuild(); }
  void Add(int number, int s, int h, int d, int c) { draws.push_back({number, lottery::MakeComb(s, h, d, c), ""}); }
  std::unique_ptr<stats::TCustomStat> Stat(const std::string& code) {
    list.Rebuild();
    const int entry = list.IndexOfCode(code);
    EXPECT_GE(entry, 0) << code;
    return list.CreateStat(entry);
  }
  // The table protocol over the window of `window` draws ending `offset` draws before the newest.
  stats::TStatDrawArray Values(stats::TCustomStat& stat, int window, int offset = 0, bool sorted = false) {
    const int last = static_cast<int>(draws.size()) - 1 - offset;
    const int first = std::max(0, last - window + 1);
    stats::TStatDrawArray values;
    stats::TStatWork work;
    stats::TLastValueArray last_values;
    stat.ListAllValues(last, values);
    for (int d = first; d <= last; ++d) stat.AddDrawValues(d, last, sorted, values, work, last_values);
    return values;
  }
  // "caption=count" of every row in order, joined by spaces.
  std::string Rows(const std::string& code, int window, int offset = 0, bool sorted = false) {
    auto stat = Stat(code);
    std::string out;
    for (const auto& v : Values(*stat, window, offset, sorted)) {
      if (!out.empty()) out += ' ';
      out += stat->ValueText(v) + "=" + std::to_string(v.Count);
    }
    return out;
  }
  // The filter test of the combination against the rows with the given captions.
  bool Matches(const std::string& code, lottery::TComb comb, const std::vector<std::string>& captions,
               int window, int offset = 0, bool exclude = false, bool sorted = false) {
    auto stat = Stat(code);
    stats::TStatDrawArray selected;
    for (const auto& v : Values(*stat, window, offset, sorted)) {
      for (const auto& c : captions) {
        if (stat->ValueText(v) == c) selected.push_back(v);
      }
    }
    EXPECT_EQ(selected.size(), captions.size()) << code << ": a caption has no row";
    const int last = static_cast<int>(draws.size()) - 1 - offset;
    stat->FetchDraws(-1, last, sorted);
    return stat->CombMatches(comb, selected, last, sorted, exclude);
  }
};

struct TupleCase {
  const char* Code;
  lottery::TComb Draw;
  const char* Rows;
};

class CombValueRowsTest : public ::testing::TestWithParam<TupleCase> {};

TEST_P(CombValueRowsTest, TuplesOfOneDraw) {
  const TupleCase& c = GetParam();
  Archive a;
  a.draws.push_back({1, c.Draw, ""});
  EXPECT_EQ(a.Rows(c.Code, 1), c.Rows) << c.Code;
}

INSTANTIATE_TEST_SUITE_P(
    Members, CombValueRowsTest,
    ::testing::Values(TupleCase{"KNM2", MakeComb(7, 7, 9, 7), "7:7=3 7:9=2 9:7=1"},
                      TupleCase{"KNM3", MakeComb(7, 8, 9, 10), "7:8:9=1 7:8:10=1 7:9:10=1 8:9:10=1"},
                      TupleCase{"KNS2", MakeComb(11, 7, 11, 8), "J:7=1 7:J=1 J:8=1"},
                      TupleCase{"KNS3", MakeComb(11, 7, 11, 8), "J:7:J=1 7:J:8=1"},
                      TupleCase{"KNO2", MakeComb(11, 7, 11, 8), "7:8=1 8:J=1 J:J=1"},
                      TupleCase{"KNO3", MakeComb(11, 7, 11, 8), "7:8:J=1 8:J:J=1"},
                      TupleCase{"KNP21", MakeComb(7, 8, 9, 10), "7:8=1"},
                      TupleCase{"KNP22", MakeComb(7, 8, 9, 10), "8:9=1"},
                      TupleCase{"KNP23", MakeComb(7, 8, 9, 10), "9:10=1"},
                      TupleCase{"KNP32", MakeComb(7, 8, 9, 10), "8:9:10=1"},
                      TupleCase{"KNP41", MakeComb(14, 8, 9, 10), "A:8:9:10=1"}));

struct MatchCase {
  const char* Code;
  const char* Row;
  lottery::TComb Comb;
  bool Expected;
};

class CombValueFilterTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(CombValueFilterTest, SameArrangementOnly) {
  const MatchCase& c = GetParam();
  Archive a;
  // Every tuple of the rows used below comes out in one of these draws.
  a.Add(1, 8, 9, 7, 14);
  a.Add(2, 7, 8, 9, 10);
  a.Add(3, 11, 7, 8, 9);
  EXPECT_EQ(a.Matches(c.Code, c.Comb, {c.Row}, 3), c.Expected) << c.Code << " " << c.Row;
}

INSTANTIATE_TEST_SUITE_P(
    Members, CombValueFilterTest,
    ::testing::Values(MatchCase{"KNO2", "7:8", MakeComb(8, 9, 7, 14), true},
                      MatchCase{"KNS2", "7:8", MakeComb(8, 9, 7, 14), false},
                      MatchCase{"KNM2", "8:7", MakeComb(8, 9, 7, 14), true},
                      MatchCase{"KNM2", "7:8", MakeComb(8, 9, 7, 14), false},
                      MatchCase{"KNP22", "8:9", MakeComb(14, 8, 9, 7), true},
                      MatchCase{"KNP22", "8:9", MakeComb(8, 9, 7, 7), false},
                      MatchCase{"KNM3", "J:7:8", MakeComb(11, 12, 7, 8), true},
                      MatchCase{"KNM3", "J:7:8", MakeComb(7, 11, 8, 8), false}));

TEST(CombValuesTest, SortedDrawsGiveAscendingPairsWhileCombinationsKeepTheirOrder) {
  Archive a;
  a.Add(1, 11, 7, 12, 13);
  auto stat = a.Stat("KNM2");
  for (const auto& v : a.Values(*stat, 1, 0, true)) EXPECT_LE(v.Key1, v.Key2) << stat->ValueText(v);
  EXPECT_FALSE(a.Matches("KNM2", MakeComb(11, 7, 9, 9), {"7:J"}, 1, 0, false, true));
  EXPECT_TRUE(a.Matches("KNM2", MakeComb(7, 11, 9, 9), {"7:J"}, 1, 0, false, true));
}

TEST(CombValuesTest, FourOfFourMembersNeverEnterTheRegistry) {
  Archive a;
  for (const char* code : {"KNM4", "KNS4", "KNO4"}) EXPECT_LT(a.list.IndexOfCode(code), 0) << code;
  EXPECT_GE(a.list.IndexOfCode("KNP41"), 0);
  EXPECT_LT(a.list.IndexOfCode("KNP42"), 0);
}

}  // namespace
}  // namespace kelmora
