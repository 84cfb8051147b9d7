#include "filtering/comb_list.h"

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "lottery/comb_text.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::filtering {
namespace {

using lottery::MakeComb;

struct GenerateCase {
  int Mode;
  const char* Parameter;
  size_t Count;
};

class GenerateTest : public ::testing::TestWithParam<GenerateCase> {};

TEST_P(GenerateTest, KeepsTheCombinationsTheModeNames) {
  TCombsArray out;
  GenerateCombs(GetParam().Mode, GetParam().Parameter, out);
  EXPECT_EQ(out.size(), GetParam().Count);
}

INSTANTIATE_TEST_SUITE_P(Modes, GenerateTest,
                         ::testing::Values(GenerateCase{0, "", 4096}, GenerateCase{1, "J", 1695},
                                           GenerateCase{2, "7;8", 16}, GenerateCase{3, "7;8;9;10;J;Q;K;A", 0},
                                           // An empty parameter keeps nothing in 1 and 2, everything in 3.
                                           GenerateCase{1, "", 0}, GenerateCase{2, "", 0},
                                           GenerateCase{3, "", 4096},
                                           // Blanks around words; values above 255 are ignored.
                                           GenerateCase{2, " 7 , 8 ;300", 16}, GenerateCase{4, "x.lcv", 0}));

TEST(GenerateTest, FollowsTheFullSetOrder) {
  TCombsArray out;
  GenerateCombs(0, "", out);
  ASSERT_EQ(out.size(), 4096u);
  EXPECT_EQ(out[0], MakeComb(7, 7, 7, 7));
  EXPECT_EQ(out[8], MakeComb(7, 7, 8, 7));
  EXPECT_EQ(out[4095], MakeComb(14, 14, 14, 14));
}

TEST(CombFileTest, ReadsOnlyFourWordLines) {
  const std::string text = "7;10;J;A\r\n\r\n8;9;10\r\n9,9;Q , K\r\nx;y;z;w\r\n7;7;7;7;7\r\n";
  const TCombsArray combs = DecodeCombFile(text);
  ASSERT_EQ(combs.size(), 3u);
  EXPECT_EQ(combs[0], MakeComb(7, 10, 11, 14));
  EXPECT_EQ(combs[1], MakeComb(9, 9, 12, 13));
  EXPECT_EQ(combs[2], MakeComb(0, 0, 0, 0));  // four non-numbers load as zeros
}

TEST(CombFileTest, WritesAndReadsBack) {
  testing::TempDir dir;
  const TCombsArray combs = {MakeComb(7, 10, 11, 14), MakeComb(14, 13, 12, 8)};
  WriteCombFile(dir / "a.lcv", combs, combs.size());
  EXPECT_EQ(support::ReadFileText(dir / "a.lcv"), "7;10;J;A\r\nA;K;Q;8\r\n");
  EXPECT_EQ(ReadCombFile(dir / "a.lcv"), combs);
}

TEST(CombFileTest, RefusesMoreCombinationsThanThereAre) {
  std::string text;
  for (int i = 0; i < MaxCombs; ++i) text += "7;7;7;7\r\n";
  EXPECT_EQ(DecodeCombFile(text).size(), static_cast<size_t>(MaxCombs));
  text += "8;8;8;8\r\n";
  try {
    DecodeCombFile(text);
    FAIL() << "no refusal";
  } catch (const support::Error& e) {
    EXPECT_NE(std::string(e.what()).find("4097"), std::string::npos) << e.what();
  }
}

TEST(ClipboardTest, RoundTripAndRefusals) {
  const TCombsArray combs = {MakeComb(7, 10, 11, 14), MakeComb(8, 8, 8, 8), MakeComb(9, 9, 9, 9)};
  const std::string text = CombsToClipboardText(combs, {2, 0});
  EXPECT_EQ(text, "9 9 9 9\r\n7 10 J A\r\n");
  EXPECT_EQ(ClipboardTextToCombs(text), (TCombsArray{combs[2], combs[0]}));
  EXPECT_EQ(ClipboardTextToCombs("7-8-9-10\n"), (TCombsArray{MakeComb(7, 8, 9, 10)}));
  EXPECT_TRUE(ClipboardTextToCombs("").empty());
  EXPECT_THROW(ClipboardTextToCombs("7 8 9\r\n"), support::Error);
  std::string many;
  for (int i = 0; i <= MaxCombs; ++i) many += "7 7 7 7\r\n";
  EXPECT_THROW(ClipboardTextToCombs(many), support::Error);
}

lottery::TDrawsArray SixDraws() {
  lottery::TDrawsArray draws;
  for (int i = 0; i < 6; ++i) draws.push_back({100 + i, lottery::CombOfIndex(i), ""});
  return draws;
}

TEST(RemoveLastDrawsTest, ComparesWithTheDrawsBeforeTheOffset) {
  const auto draws = SixDraws();
  // Offset 2, three draws: rows 2, 3 and 4 of the newest-first list = indices 3, 2, 1.
  const TDrawRange range = LastDrawsRange(draws, 2, 3);
  EXPECT_EQ(range.First, 1);
  EXPECT_EQ(range.Last, 3);
  TCombsArray full;
  GenerateCombs(0, "", full);
  TCombsArray out;
  std::vector<size_t> progress;
  RemoveDrawCombs(full, draws, range, out, [&](size_t done) { progress.push_back(done); });
  ASSERT_EQ(out.size(), 4093u);
  EXPECT_EQ(out[0], lottery::CombOfIndex(0));
  EXPECT_EQ(out[1], lottery::CombOfIndex(4));
  EXPECT_EQ(progress.front(), 0u);
  EXPECT_EQ(progress.size(), 4096u / 40 + 1);  // every 40 entries
}

TEST(RemoveLastDrawsTest, EmptyRanges) {
  const auto draws = SixDraws();
  const TDrawRange none = LastDrawsRange(draws, 0, 0);
  EXPECT_GT(none.First, none.Last);
  const TDrawRange clipped = LastDrawsRange(draws, 1, 50);
  EXPECT_EQ(clipped.First, 0);
  EXPECT_EQ(clipped.Last, 4);
  const TDrawRange outside = LastDrawsRange(draws, 6, 2);
  EXPECT_GT(outside.First, outside.Last);
}

TEST(CombListsTest, UndoRestoresTheListAndHistoryRemovesItsEntry) {
  TCombLists lists;
  GenerateCombs(0, "", lists.CombList);
  lists.TakeSnapshot();
  lists.ReserveCombList(lists.UndoList.size());
  RemoveRows(lists.UndoList, {0, 1, 4095}, lists.CombList);
  lists.AddFilterHistory(true, "Выделенные комбинации", "3");
  ASSERT_EQ(lists.Count(), 4093);
  ASSERT_EQ(lists.FilterHistory.back(),
            (TFilterHistoryItem{TFilterKind::Delete, "Выделенные комбинации", "3", "4093"}));
  lists.UndoCombList();
  lists.RemoveLastFilterHistory();
  EXPECT_EQ(lists.Count(), 4096);
  EXPECT_FALSE(lists.HasSnapshot());
  EXPECT_TRUE(lists.FilterHistory.empty());
  lists.RemoveLastFilterHistory();  // nothing to remove is no fault
}

TEST(CombListsTest, BufferIsKeyedByOffsetAndExclusion) {
  TCombLists lists;
  lists.CombList = {1, 2, 3};
  EXPECT_FALSE(lists.LoadFromBuffer(-1, -1));  // empty buffer
  EXPECT_TRUE(lists.SaveToBuffer(5, 2));
  lists.CombList = {9};
  EXPECT_FALSE(lists.SaveToBuffer(5, 2));  // same key: the buffer keeps the first list
  EXPECT_FALSE(lists.LoadFromBuffer(5, 3));
  EXPECT_FALSE(lists.LoadFromBuffer(4, 2));
  EXPECT_TRUE(lists.LoadFromBuffer(5, 2));
  EXPECT_EQ(lists.CombList, (TCombsArray{1, 2, 3}));
  lists.ResetBuffer();
  EXPECT_EQ(lists.BufferKey1(), -1);
  EXPECT_FALSE(lists.LoadFromBuffer(5, 2));
}

TEST(FindInArchiveTest, ListsTheNewestTwentySix) {
  lottery::TDrawsArray draws;
  const lottery::TComb comb = MakeComb(7, 8, 9, 10);
  for (int i = 1; i <= 40; ++i) draws.push_back({i, i % 4 == 0 ? MakeComb(9, 9, 9, 9) : comb, ""});
  const auto found = FindCombInDraws(draws, comb);
  ASSERT_EQ(found.size(), 26u);
  EXPECT_EQ(found[0], lottery::DrawToText(draws[38]));
  EXPECT_TRUE(FindCombInDraws(draws, MakeComb(14, 14, 14, 14)).empty());
}

}  // namespace
}  // namespace kelmora::filtering
