#include "stats/prefetch.h"

#include <fstream>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "stats_fixture.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::testing {
namespace {

TEST(PrefetchFile, EvenLayoutByteForByte) {
  StatsFixture f;
  TempDir dir;
  stats::BuildPrefetch(f.list, f.Entry("EVEN"), dir.Path());
  const auto path = dir / "Prefetchs" / "Kelmora_4r32_EVEN.dfc";
  EXPECT_EQ(stats::PrefetchPath(dir.Path(), "EVEN"), path);
  const std::vector<uint8_t> expected = {
      0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x01, 0, 0,  // 0 even: 256
      1, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x04, 0, 0,  // 1: 1024
      2, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x06, 0, 0,  // 2: 1536
      3, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x04, 0, 0,  // 3: 1024
      4, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x01, 0, 0,  // 4: 256
      0x00, 0x01, 0, 0, 0x00, 0x06, 0, 0, 0, 0, 0, 0,  // trailer: MinCount 256, MaxCount 1536, 0
  };
  EXPECT_EQ(support::ReadFileBytes(path), expected);
  EXPECT_EQ(stats::DecodePrefetch(expected), stats::ComputePrefetch(f.list, f.Entry("EVEN")));
}

TEST(PrefetchFile, MaskKeysAreSortedAndEveryCombinationCounted) {
  StatsFixture f;
  const auto data = stats::ComputePrefetch(f.list, f.Entry("SMLV"));
  ASSERT_EQ(data.Records.size(), 16u);
  int total = 0;
  for (size_t i = 0; i < data.Records.size(); ++i) {
    EXPECT_EQ(data.Records[i].Key1, i);
    total += data.Records[i].Count;
  }
  EXPECT_EQ(total, 4096);
  EXPECT_EQ(data.MinCount, 256);
  EXPECT_EQ(data.MaxCount, 256);
  const auto digits = stats::ComputePrefetch(f.list, f.Entry("DIGS"));
  EXPECT_EQ(digits.Records.front().Key1, 0);  // 10 and the face cards
  EXPECT_EQ(digits.Records.front().Count, 4096 * 4 * 5 / 8);
}

TEST(PrefetchFile, EmptyDataHasOnlyTheTrailer) {
  const auto bytes = stats::EncodePrefetch({});
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(stats::DecodePrefetch(bytes).Records.empty());
  EXPECT_THROW(stats::DecodePrefetch({1, 2, 3}), support::Error);
}

TEST(PrefetchFile, OpenReadsAnExistingFileAndRebuildsAnEmptyOne) {
  StatsFixture f;
  TempDir dir;
  const int nums = f.Entry("NUMS");
  const auto path = stats::PrefetchPath(dir.Path(), "NUMS");
  std::filesystem::create_directories(path.parent_path());
  stats::TPrefetchData marker;
  marker.Records.push_back({7, 0, 0, 0, 5});
  marker.MinCount = marker.MaxCount = 5;
  support::WriteFileAtomic(path, stats::EncodePrefetch(marker));
  EXPECT_EQ(stats::OpenPrefetch(f.list, nums, dir.Path()), marker);  // kept, not recomputed

  support::WriteFileAtomic(path, std::string());
  EXPECT_EQ(stats::OpenPrefetch(f.list, nums, dir.Path()).Records.size(), 8u);
  EXPECT_EQ(std::filesystem::file_size(path), 12u * 9);
}

TEST(PrefetchFile, FailedBuildLeavesNoFileAndSaysWhy) {
  StatsFixture f;
  TempDir dir;
  std::ofstream(dir / "Prefetchs") << "a file where the folder should be";
  EXPECT_THROW(stats::BuildPrefetch(f.list, f.Entry("NUMS"), dir.Path()), support::Error);
}

class RecordingProgress : public stats::TProgressSink {
 public:
  void Begin(std::string_view text, int maximum) override { log += "begin " + std::string(text) + " " + std::to_string(maximum) + ";"; }
  void Status(std::string_view text) override { log += std::string(text) + ";"; }
  void Step(int position) override { last_step = position; }
  bool Cancelled() override { return false; }
  void End() override { log += "end;"; }
  std::string log;
  int last_step = 0;
};

TEST(BuildAllPrefetches, BuildsMissingFilesKeepsOthersUnlessTheirGroupIsNamed) {
  StatsFixture f;
  TempDir dir;
  RecordingProgress progress;
  EXPECT_TRUE(stats::BuildAllPrefetches(f.list, dir.Path(), false, false, 0, &progress).empty());
  EXPECT_EQ(progress.log, "");  // neither forced nor in comparison mode

  const auto nums = stats::PrefetchPath(dir.Path(), "NUMS");
  std::filesystem::create_directories(nums.parent_path());
  support::WriteFileAtomic(nums, std::string("old content!"));
  EXPECT_TRUE(stats::BuildAllPrefetches(f.list, dir.Path(), false, true, 0, &progress).empty());
  EXPECT_EQ(support::ReadFileText(nums), "old content!");
  for (const char* code : {"DIGS", "EVEN", "EVNV", "SMAL", "SMLV", "PRIM", "PRMV", "POS1", "POS4"}) {
    EXPECT_TRUE(support::FileExists(stats::PrefetchPath(dir.Path(), code))) << code;
  }
  EXPECT_EQ(progress.last_step, f.list.Count());
  EXPECT_NE(progress.log.find("begin Создание файлов для полного набора комбинаций... 12;"), std::string::npos);
  EXPECT_NE(progress.log.find("Создание файла предварительной выборки Kelmora_4r32_DIGS.dfc...;"), std::string::npos);
  EXPECT_EQ(progress.log.find("Kelmora_4r32_NUMS.dfc"), std::string::npos);

  EXPECT_TRUE(stats::BuildAllPrefetches(f.list, dir.Path(), true, false, 1u << 0, nullptr).empty());
  EXPECT_EQ(std::filesystem::file_size(nums), 12u * 9);
}

TEST(BuildAllPrefetches, AFailureIsReportedAndTheRestGoesOn) {
  StatsFixture f;
  TempDir dir;
  std::ofstream(dir / "Prefetchs") << "x";
  const auto failures = stats::BuildAllPrefetches(f.list, dir.Path(), true, false, stats::AllGroups, nullptr);
  EXPECT_EQ(failures.size(), 12u);
  EXPECT_EQ(failures[0].Path, stats::PrefetchPath(dir.Path(), "NUMS"));
  EXPECT_FALSE(failures[0].Text.empty());
}

}  // namespace
}  // namespace kelmora::testing
