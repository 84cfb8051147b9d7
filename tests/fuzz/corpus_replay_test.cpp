// Replays every seed and every kept crash reproducer through the same entry points the fuzzer
// drives, so a reader fault that was fixed once cannot come back unnoticed.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fuzz/fuzz_targets.h"

namespace kelmora::fuzz {
namespace {

namespace fs = std::filesystem;

const fs::path FuzzDir = KELMORA_FUZZ_DIR;

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  if (!fs::is_directory(folder)) return files;
  for (const auto& e : fs::directory_iterator(folder)) {
    if (e.is_regular_file()) files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<uint8_t> Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs one input; the failure names the file and what went wrong.
void Replay(const FuzzTarget& target, const fs::path& file) {
  const std::vector<uint8_t> bytes = Bytes(file);
  try {
    EXPECT_EQ(target.Run(bytes.data(), bytes.size()), 0) << file;
  } catch (const std::exception& e) {
    ADD_FAILURE() << file << ": " << e.what();
  }
}

class CorpusReplay : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(CorpusReplay, SeedsRunClean) {
  const auto seeds = FilesIn(FuzzDir / "seeds" / GetParam().Name);
  ASSERT_FALSE(seeds.empty()) << "no seeds for " << GetParam().Name;
  for (const auto& file : seeds) Replay(GetParam(), file);
}

TEST_P(CorpusReplay, ReproducersRunClean) {
  for (const auto& file : FilesIn(FuzzDir / "corpus" / GetParam().Name)) Replay(GetParam(), file);
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay, ::testing::ValuesIn(FuzzTargets().begin(), FuzzTargets().end()),
                         [](const auto& info) { return std::string(info.param.Name); });

// A folder named after no target would never be replayed.
TEST(CorpusFolders, EveryFolderNamesATarget) {
  std::set<std::string> names;
  for (const auto& t : FuzzTargets()) names.insert(t.Name);
  for (const char* kind : {"seeds", "corpus"}) {
    if (!fs::is_directory(FuzzDir / kind)) continue;
    for (const auto& e : fs::directory_iterator(FuzzDir / kind)) {
      EXPECT_TRUE(e.is_directory() && names.count(e.path().filename().string())) << e.path();
    }
  }
}

}  // namespace
}  // namespace kelmora::fuzz
