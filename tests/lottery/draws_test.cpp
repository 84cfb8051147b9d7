#include "lottery/draws.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>

#include "common/temp_dir.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::lottery {
namespace {

using Bytes = std::vector<uint8_t>;

// Draws numbered 101..110 with distinct values.
TDrawsArray TenDraws() {
  TDrawsArray draws;
  for (int i = 0; i < 10; ++i) draws.push_back({101 + i, MakeComb(7 + i % 8, 8, 9, 10), ""});
  return draws;
}

TDrawsArray WithNumbers(std::initializer_list<int32_t> numbers) {
  TDrawsArray draws;
  for (int32_t n : numbers) draws.push_back({n, MakeComb(7, 7, 7, 7), ""});
  return draws;
}

Bytes ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Draw 1000, values 7, 10, J, A, dated 05/11/2023.
const Bytes Record1000 = {0xE8, 0x03, 0x00, 0x00, 7, 10, 11, 14, 10, '0', '5', '/', '1', '1', '/', '2', '0', '2', '3', 0};

TEST(ArchiveFormatTest, RecordBytesByHand) {
  const TDrawsArray draws = {{1000, MakeComb(7, 10, 11, 14), "05/11/2023"}};
  EXPECT_EQ(EncodeDraws(draws), Record1000);
  EXPECT_EQ(DecodeDraws(Record1000), draws);
}

TEST(ArchiveFormatTest, ShortAndCyrillicDatesArePaddedWithZeros) {
  const TDrawsArray draws = {{-2, MakeComb(14, 13, 12, 11), "нет"}, {7, 0, ""}};
  const Bytes expected = {0xFE, 0xFF, 0xFF, 0xFF, 14, 13, 12, 11, 3, 0xED, 0xE5, 0xF2, 0, 0, 0, 0, 0, 0, 0, 0,
                          0x07, 0x00, 0x00, 0x00, 0,  0,  0,  0,  0, 0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(EncodeDraws(draws), expected);
  EXPECT_EQ(DecodeDraws(expected), draws);
}

TEST(ArchiveFormatTest, ReadIgnoresPaddingAndClampsTheLength) {
  Bytes record = Record1000;
  record[8] = 5;      // only "05/11" is the date
  record[19] = 0xAA;  // the last byte is ignored
  Bytes next = Record1000;
  next[0] = 0xE9;
  Bytes bytes = record;
  bytes.insert(bytes.end(), next.begin(), next.end());
  bytes[20 + 8] = 0xFF;  // a damaged length reads the 10 characters of its own record only
  const TDrawsArray draws = DecodeDraws(bytes);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].Date, "05/11");
  EXPECT_EQ(draws[1].Number, 1001);
  EXPECT_EQ(draws[1].Date, "05/11/2023");
}

TEST(ArchiveFileTest, FortyFiveBytesLoadTwoDraws) {
  kelmora::testing::TempDir folder;
  Bytes bytes = Record1000;
  bytes.insert(bytes.end(), Record1000.begin(), Record1000.end());
  bytes.insert(bytes.end(), {0x01, 0x02, 0x03, 0x04, 0x05});
  WriteAll(folder / "Kelmora_4r32.ldr", bytes);
  const TDrawsArray draws = LoadDrawsFile(folder / "Kelmora_4r32.ldr");
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[1], (TDrawRec{1000, MakeComb(7, 10, 11, 14), "05/11/2023"}));
}

TEST(ArchiveFileTest, MissingFileIsAnEmptyArchive) {
  kelmora::testing::TempDir folder;
  EXPECT_TRUE(LoadDrawsFile(folder / "Kelmora_4r32.ldr").empty());
}

TEST(ArchiveFileTest, UnreadableFileThrows) {
  kelmora::testing::TempDir folder;
  std::filesystem::create_directory(folder / "Kelmora_4r32.ldr");
  EXPECT_THROW(LoadDrawsFile(folder / "Kelmora_4r32.ldr"), support::Error);
}

TEST(ArchiveFileTest, SaveAndLoadRoundTripByteForByte) {
  kelmora::testing::TempDir folder;
  const auto path = folder / "Kelmora_4r32.ldr";
  WriteAll(path, Record1000);
  const TDrawsArray draws = LoadDrawsFile(path);
  SaveDrawsFile(path, draws);
  EXPECT_EQ(ReadAll(path), Record1000);

  TDrawsArray more = TenDraws();
  more.back().Date = "Дата";
  SaveDrawsFile(path, more);
  EXPECT_EQ(std::filesystem::file_size(path), 10 * DrawRecordSize);
  EXPECT_EQ(LoadDrawsFile(path), more);
}

TEST(ArchiveFileTest, FailedSaveKeepsTheOldFile) {
  kelmora::testing::TempDir folder;
  const auto path = folder / "Kelmora_4r32.ldr";
  WriteAll(path, Record1000);
  // The temporary file cannot be created where a non-empty folder has its name.
  const auto temp = support::NextTemporaryPath(path);
  std::filesystem::create_directory(temp);
  WriteAll(temp / "x", {1});
  EXPECT_THROW(SaveDrawsFile(path, TenDraws()), support::Error);
  EXPECT_EQ(ReadAll(path), Record1000);
}

TEST(DeleteDrawAtTest, RemovesKeepingOrderAndRejectsBadIndexes) {
  TDrawsArray draws = WithNumbers({1, 2, 3});
  DeleteDrawAt(draws, 1);
  EXPECT_EQ(draws, WithNumbers({1, 3}));
  for (int i : {-1, 2}) {
    try {
      DeleteDrawAt(draws, i);
      ADD_FAILURE() << i;
    } catch (const support::Error& e) {
      EXPECT_EQ(std::string(e.what()), "Запись со индексом " + std::to_string(i) + " в файле данных не найдена!");
    }
  }
  EXPECT_EQ(draws, WithNumbers({1, 3}));
}

struct FindCase {
  const char* Name;
  TDrawsArray Draws;
  int32_t Number;
  int Expected;
};

void PrintTo(const FindCase& c, std::ostream* os) { *os << c.Name << " " << c.Number; }

class FindDrawByNumberTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindDrawByNumberTest, Finds) {
  EXPECT_EQ(FindDrawByNumber(GetParam().Draws, GetParam().Number), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindDrawByNumberTest,
    ::testing::Values(
        FindCase{"Empty", {}, 1, -1}, FindCase{"First", WithNumbers({4, 5, 6}), 4, 0},
        FindCase{"Last", WithNumbers({4, 5, 6}), 6, 2}, FindCase{"Guess", TenDraws(), 105, 4},
        FindCase{"Missing", TenDraws(), 100, -1}, FindCase{"FarAbove", TenDraws(), 2000000000, -1},
        FindCase{"GapsStepUp", WithNumbers({1, 2, 3, 50, 51, 52, 53, 100}), 53, 6},
        // The walk from the guess meets a duplicate before the scan from the newest draw would.
        FindCase{"WalkUpBeforeScan", WithNumbers({1, 2, 3, 4, 3, 10}), 3, 2},
        FindCase{"WalkDownBeforeScan", WithNumbers({1, 2, 3, 7, 8, 3, 4}), 3, 2},
        // Not ascending: the guess is clamped, stepping leaves the array, the full scan finds it.
        FindCase{"UnorderedBelowGuess", WithNumbers({5, 9, 1, 7, 3, 8}), 1, 2},
        FindCase{"UnorderedAboveGuess", WithNumbers({5, 9, 1, 7, 3, 8}), 9, 1},
        FindCase{"UnorderedMissing", WithNumbers({5, 9, 1, 7, 3, 8}), 4, -1},
        // The final scan runs from the newest draw, so the later duplicate wins.
        FindCase{"DuplicatesByScan", WithNumbers({5, 2, 9, 2, 8}), 2, 3},
        FindCase{"DuplicatesByGuess", WithNumbers({10, 20, 20, 30}), 20, 2},
        FindCase{"ZeroSpan", WithNumbers({5, 9, 4}), 9, 1},
        FindCase{"WholeIntRange", WithNumbers({INT32_MIN, 0, INT32_MAX}), 0, 1}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ArchiveRowsTest, TenDrawsWithOffsetThree) {
  const TDrawsArray draws = TenDraws();
  EXPECT_EQ(CurrentDrawIndex(draws, 3), 6);
  EXPECT_EQ(NextDrawNumber(draws, 3), 108);  // draw 107 is the current one
  EXPECT_EQ(NextDrawNumber(draws, 0), 111);
  ASSERT_NE(HiddenDraw(draws, 3), nullptr);
  EXPECT_EQ(HiddenDraw(draws, 3)->Number, 108);
  EXPECT_EQ(CombOfDrawAtRow(draws, 2), draws[7].Values);
  EXPECT_EQ(CombOfDrawAtRow(draws, 3), draws[6].Values);
}

TEST(ArchiveRowsTest, RowsOutsideTheArchive) {
  const TDrawsArray draws = TenDraws();
  EXPECT_EQ(NextDrawNumber({}, 0), 1);
  EXPECT_EQ(NextDrawNumber(draws, 10), -1);
  EXPECT_EQ(NextDrawNumber(draws, -1), -1);
  EXPECT_EQ(CombOfDrawAtRow(draws, 10), 0u);
  EXPECT_EQ(CombOfDrawAtRow(draws, -1), 0u);
  EXPECT_EQ(CombOfDrawAtRow({}, 0), 0u);
  EXPECT_EQ(CurrentDrawIndex(draws, 10), -1);
  EXPECT_EQ(HiddenDraw(draws, 0), nullptr);
  EXPECT_EQ(HiddenDraw(draws, 10), nullptr);
  ASSERT_NE(HiddenDraw(draws, 9), nullptr);
  EXPECT_EQ(HiddenDraw(draws, 9)->Number, 102);
}

}  // namespace
}  // namespace kelmora::lottery
