#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lottery/types.h"
#include "stats/registry.h"
#include "stats/stat_list.h"
#include "stats/comb_values.h"
#include "registry_archive.h"

namespace kelmora {
namespace {

using lottery::MakeComb;

using Archive = testing::RegistryArchive;

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
