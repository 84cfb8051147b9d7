#include "stats/sequences.h"

#include <gtest/gtest.h>

#include "family_fixture.h"

namespace kelmora::testing {
namespace {

using lottery::MakeComb;

struct SequenceFixture : FamilyFixture {
  SequenceFixture() : FamilyFixture(stats::SequenceClasses()) {}
  int32_t Graph(const std::string& code, lottery::TComb comb) {
    auto stat = list.CreateStat(Entry(code));
    return dynamic_cast<stats::TCustomGraphStat&>(*stat).GraphValue(comb, 0, 0, false);
  }
};

struct DrawCase {
  const char* Code;
  lottery::TComb Draw;
  bool Sorted;
  const char* Rows;
};

class SequencesOfOneDraw : public ::testing::TestWithParam<DrawCase> {};

TEST_P(SequencesOfOneDraw, RowsInTheOrderTheValuesCame) {
  SequenceFixture f;
  f.draws.push_back({1, GetParam().Draw, ""});
  EXPECT_EQ(f.Counts(GetParam().Code, 1, GetParam().Sorted), GetParam().Rows);
}

INSTANTIATE_TEST_SUITE_P(Cases, SequencesOfOneDraw,
                         ::testing::Values(DrawCase{"SEQL", MakeComb(7, 8, 9, 11), false, "1=1 2=0 3=1 4=0"},
                                           DrawCase{"SEQS", MakeComb(7, 8, 9, 11), false, "0=0 1=1 2=0"},
                                           DrawCase{"LENS", MakeComb(7, 8, 9, 11), false, "1=0 2=0 3=1 4=0"},
                                           DrawCase{"SEQL", MakeComb(9, 8, 7, 11), false, "1=4 2=0 3=0 4=0"},
                                           DrawCase{"SEQS", MakeComb(9, 8, 7, 11), false, "0=1 1=0 2=0"},
                                           DrawCase{"LENS", MakeComb(9, 8, 7, 11), false, "1=1 2=0 3=0 4=0"},
                                           DrawCase{"LENS", MakeComb(11, 9, 8, 7), true, "1=0 2=0 3=1 4=0"},
                                           DrawCase{"SEQS", MakeComb(7, 8, 10, 11), false, "0=0 1=0 2=1"}));

TEST(Sequences, GraphsCountFallingStepsToo) {
  SequenceFixture f;
  EXPECT_EQ(f.Graph("SEQS", MakeComb(9, 8, 7, 11)), 1);
  EXPECT_EQ(f.Graph("LENS", MakeComb(9, 8, 7, 11)), 3);
  EXPECT_EQ(f.Graph("LENS", MakeComb(7, 7, 7, 7)), 0);
}

TEST(Sequences, CombinationIsTestedAsWrittenWhileDrawsAreSorted) {
  SequenceFixture f;
  f.Add(1, 11, 9, 8, 7);
  auto longest = [](lottery::TComb c) {
    std::array<int, 4> lengths{};
    const int n = stats::RunLengths(c, false, lengths);
    return *std::max_element(lengths.begin(), lengths.begin() + n);
  };
  EXPECT_EQ(f.FilterMismatches("LENS", 1, {"3"}, [&](lottery::TComb c) { return longest(c) == 3; }, true), 0);
  auto stat = f.list.CreateStat(f.Entry("LENS"));
  stats::TStatDrawArray three{stats::TStatDrawItem{.Key1 = 3}};
  stats::TStatDrawArray one{stats::TStatDrawItem{.Key1 = 1}};
  stat->FetchDraws(-1, 0, true);
  EXPECT_FALSE(stat->CombMatches(MakeComb(11, 9, 8, 7), three, 0, true, false));
  EXPECT_TRUE(stat->CombMatches(MakeComb(7, 9, 10, 11), three, 0, true, false));
  EXPECT_TRUE(stat->CombMatches(MakeComb(7, 7, 7, 7), one, 0, true, false));
}

}  // namespace
}  // namespace kelmora::testing
