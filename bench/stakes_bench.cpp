// The stakes file at the size a long script test leaves behind: opening and showing a file of a
// million stakes, checking 1,000 new stakes in it, appending 10,000 stakes one by one, and the
// existence lookup the runner makes for every stake.

#include <filesystem>
#include <memory>
#include <random>

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include "stakes/stakes_file.h"

namespace {

using namespace kelmora;

constexpr int64_t MillionStakes = 1000000;
constexpr int StakesPerDraw = 500;

// A folder under the temporary folder, removed at exit.
class BenchDir {
 public:
  BenchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelmora-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~BenchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::filesystem::path operator/(const char* name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

BenchDir& Dir() {
  static BenchDir dir;
  return dir;
}

lottery::TComb RandomComb(std::mt19937& rng) {
  std::uniform_int_distribution<int> value(lottery::ValueMin, lottery::ValueMax);
  return lottery::MakeComb(value(rng), value(rng), value(rng), value(rng));
}

// A file of checked script stakes, StakesPerDraw per draw with a separator before each group.
std::filesystem::path MillionFile(const char* name) {
  const auto path = Dir() / name;
  if (std::filesystem::exists(path)) return path;
  std::mt19937 rng(20261211);
  lottery::TConfigData config;
  config.Cost = 10000;
  config.Profits = {{2, 50000}, {3, 500000}, {4, 5000000}};
  support::LockedFile file(path);
  std::vector<uint8_t> chunk;
  int64_t written = 0;
  for (int64_t i = 0; i < MillionStakes; ++i) {
    const auto draw = static_cast<int32_t>(1 + i / StakesPerDraw);
    auto rec = i % StakesPerDraw == 0 ? stakes::SeparatorRec()
                                      : stakes::MakeStake(lottery::StakeScript, draw, RandomComb(rng),
                                                          "01.001: NUMS @ 7#KEEP", 1695, config);
    if (rec.Kind != 0) stakes::CheckStakeAgainst(rec, RandomComb(rng), config);
    chunk.resize(chunk.size() + stakes::StakeRecSize);
    stakes::EncodeStake(rec, chunk.data() + chunk.size() - stakes::StakeRecSize);
    if (chunk.size() >= (1u << 22) || i + 1 == MillionStakes) {
      file.WriteAt(written, chunk.data(), chunk.size());
      written += static_cast<int64_t>(chunk.size());
      chunk.clear();
    }
  }
  return path;
}

std::unique_ptr<stakes::TStakesFile> Open(const std::filesystem::path& path) {
  return std::make_unique<stakes::TStakesFile>(std::make_unique<support::LockedFile>(path));
}

// Start-up: open, check the format, and read what the grid shows first (the last screen of rows).
void BM_OpenAndShowMillionStakes(benchmark::State& state) {
  const auto path = MillionFile("open.lsk");
  for (auto _ : state) {
    auto file = Open(path);
    benchmark::DoNotOptimize(file->Repair());
    for (int64_t row = 1; row <= 40; ++row) benchmark::DoNotOptimize(file->Read(-row));
  }
  state.counters["records"] = static_cast<double>(MillionStakes);
}
BENCHMARK(BM_OpenAndShowMillionStakes)->Unit(benchmark::kMillisecond)->Iterations(5);

// 1,000 unchecked stakes for the next draw at the end of a million checked ones.
void BM_CheckThousandInMillion(benchmark::State& state) {
  auto file = Open(MillionFile("check.lsk"));
  lottery::TConfigData config;
  config.Cost = 10000;
  std::mt19937 rng(7);
  int32_t draw = MillionStakes / StakesPerDraw + 1;
  for (auto _ : state) {
    state.PauseTiming();
    file->StartGroup();
    for (int i = 0; i < 1000; ++i)
      file->Append(stakes::MakeStake(lottery::StakeScript, draw, RandomComb(rng), "s", 4096, config), 1);
    // The appends reach the disk here, so the flush of the check carries only its own writes.
    file->Sync();
    const lottery::TComb drawn = RandomComb(rng);
    const int32_t drawn_number = draw++;
    state.ResumeTiming();
    const int checked = file->Check(
        [&](int32_t number) { return number == drawn_number ? std::optional<lottery::TComb>(drawn) : std::nullopt; },
        config, [](const stakes::TStakeRec&) {}, [](double) {});
    if (checked != 1000) state.SkipWithError("not every stake was checked");
  }
}
BENCHMARK(BM_CheckThousandInMillion)->Unit(benchmark::kMillisecond)->Iterations(10);

// 10,000 appends, each its own write, as a script pass makes them.
void BM_AppendTenThousand(benchmark::State& state) {
  auto file = Open(Dir() / "append.lsk");
  lottery::TConfigData config;
  std::mt19937 rng(11);
  for (auto _ : state) {
    state.PauseTiming();
    file->Clear();
    state.ResumeTiming();
    for (int i = 0; i < 10000; ++i)
      file->Append(stakes::MakeStake(lottery::StakeScript, 5000, RandomComb(rng), "01.001: SUMS @ 40#KEEP", 1000, config), 1);
  }
}
BENCHMARK(BM_AppendTenThousand)->Unit(benchmark::kMillisecond)->Iterations(5);

// The runner's NEX check: one lookup per stake it is about to make.
void BM_StakeExistsInMillion(benchmark::State& state) {
  auto file = Open(MillionFile("open.lsk"));
  std::mt19937 rng(3);
  std::uniform_int_distribution<int32_t> draw(1, MillionStakes / StakesPerDraw);
  // Questions prepared beforehand, so the loop times the lookup alone.
  std::vector<std::pair<int32_t, lottery::TComb>> queries(1 << 16);
  for (auto& q : queries) q = {draw(rng), RandomComb(rng)};
  int64_t found = 0;
  size_t i = 0;
  for (auto _ : state) {
    const auto& q = queries[i++ & (queries.size() - 1)];
    found += file->Exists(q.first, q.second);
  }
  benchmark::DoNotOptimize(found);
  state.counters["found"] = benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StakeExistsInMillion)->Unit(benchmark::kNanosecond);

}  // namespace
