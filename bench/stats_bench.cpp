// The statistics table of every number statistic on a 5000-draw synthetic archive (window 1000),
// and building every prefetch file of the registry.

#include <filesystem>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "stats/numbers.h"
#include "stats/prefetch.h"
#include "stats/registry.h"
#include "stats/stat_list.h"
#include "stats/table.h"

namespace {

using namespace kelmora;

// A fixed-seed archive, so every run measures the same work.
lottery::TDrawsArray SyntheticDraws(int count) {
  std::mt19937 rng(20240601);
  std::uniform_int_distribution<int> value(lottery::ValueMin, lottery::ValueMax);
  lottery::TDrawsArray draws;
  draws.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    draws.push_back({i + 1, lottery::MakeComb(value(rng), value(rng), value(rng), value(rng)), ""});
  }
  return draws;
}

struct Registry {
  lottery::TDrawsArray draws = SyntheticDraws(5000);
  lottery::TConfigData config;
  lottery::TShreddingData shredding;
  stats::TStatList list{draws, config, shredding, stats::RegisteredClasses()};
  Registry() { list.Rebuild(); }
};

Registry& Shared() {
  static Registry registry;
  return registry;
}

void BM_CalcStatTable(benchmark::State& state, std::string code, int offset) {
  auto& r = Shared();
  stats::TStatTableInput in;
  in.List = &r.list;
  in.Entry = r.list.IndexOfCode(code);
  in.WindowLength = 1000;
  in.DrawsOffset = offset;
  if (in.Entry < 0) {
    state.SkipWithError("unknown code");
    return;
  }
  stats::TStatTable table;
  for (auto _ : state) {
    stats::CalcStatTable(in, table);
    benchmark::DoNotOptimize(table.Rows.data());
  }
  state.SetLabel(std::to_string(table.Rows.size()) + " rows");
}

// A table as the script runner uses it: computed, then sorted by weight descending and by period.
void BM_CalcAndSortStatTable(benchmark::State& state, std::string code) {
  auto& r = Shared();
  stats::TStatTableInput in;
  in.List = &r.list;
  in.Entry = r.list.IndexOfCode(code);
  in.WindowLength = 1000;
  if (in.Entry < 0) {
    state.SkipWithError("unknown code");
    return;
  }
  stats::TStatTable table;
  for (auto _ : state) {
    stats::CalcStatTable(in, table);
    stats::SortStatRows(table.Rows, 8, true);
    stats::SortStatRows(table.Rows, 11, false);
    benchmark::DoNotOptimize(table.Rows.data());
  }
  state.SetLabel(std::to_string(table.Rows.size()) + " rows");
}

void BM_BuildAllPrefetches(benchmark::State& state) {
  auto& r = Shared();
  const auto dir = std::filesystem::temp_directory_path() / "kelmora-bench-prefetch";
  int files = 0;
  for (auto _ : state) {
    std::filesystem::remove_all(dir);
    const auto failures = stats::BuildAllPrefetches(r.list, dir, true, true, stats::AllGroups, nullptr);
    if (!failures.empty()) state.SkipWithError(failures.front().Text.c_str());
  }
  for (int i = 0; i < r.list.Count(); ++i) files += r.list.HasNorm(i) ? 1 : 0;
  state.SetLabel(std::to_string(files) + " files");
  std::filesystem::remove_all(dir);
}

void BM_ComputeAllPrefetches(benchmark::State& state) {
  auto& r = Shared();
  for (auto _ : state) {
    for (int i = 0; i < r.list.Count(); ++i) {
      if (r.list.HasNorm(i)) benchmark::DoNotOptimize(stats::ComputePrefetch(r.list, i));
    }
  }
}

void BM_CombMatchesFullSet(benchmark::State& state) {
  auto& r = Shared();
  auto stat = r.list.CreateStat(r.list.IndexOfCode("NUMS"));
  stats::TStatDrawArray selected(2);
  selected[0].Key1 = 7;
  selected[1].Key1 = 12;
  stat->FetchDraws(-1, 4999, false);
  for (auto _ : state) {
    int kept = 0;
    for (int n = 0; n < lottery::CombsTotal; ++n) kept += stat->CombMatches(lottery::CombOfIndex(n), selected, 4999, false, false);
    benchmark::DoNotOptimize(kept);
  }
}

void BM_CalcStatTableEntry(benchmark::State& state, int entry, int offset) {
  auto& r = Shared();
  stats::TStatTableInput in;
  in.List = &r.list;
  in.Entry = entry;
  in.WindowLength = 1000;
  in.DrawsOffset = offset;
  stats::TStatTable table;
  for (auto _ : state) {
    stats::CalcStatTable(in, table);
    benchmark::DoNotOptimize(table.Rows.data());
  }
  state.SetLabel(std::to_string(table.Rows.size()) + " rows");
}

const bool registered = [] {
  // Every entry of the registry, by position and code: "CalcStatTable/all/<entry>/<code>".
  const auto& list = Shared().list;
  for (int i = 0; i < list.Count(); ++i) {
    const std::string name = "CalcStatTable/all/" + std::to_string(i) + "/" + list.Items(i).Code();
    benchmark::RegisterBenchmark(name.c_str(), BM_CalcStatTableEntry, i, 0)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((name + "/offset2000").c_str(), BM_CalcStatTableEntry, i, 2000)
        ->Unit(benchmark::kMicrosecond);
  }
  for (const char* code : {"NUMS", "DIGS", "EVEN", "EVNV", "SMAL", "SMLV", "PRIM", "PRMV", "POS1", "POS2", "POS3", "POS4"}) {
    benchmark::RegisterBenchmark((std::string("CalcStatTable/") + code).c_str(), BM_CalcStatTable, code, 0)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("CalcStatTable/") + code + "/offset2000").c_str(), BM_CalcStatTable,
                                 code, 2000)
        ->Unit(benchmark::kMicrosecond);
  }
  for (const char* code : {"NUMS", "SUMS", "KNM2", "KNM3"}) {
    benchmark::RegisterBenchmark((std::string("CalcAndSortStatTable/") + code).c_str(), BM_CalcAndSortStatTable, code)
        ->Unit(benchmark::kMicrosecond);
  }
  return true;
}();

}  // namespace

BENCHMARK(BM_CombMatchesFullSet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputeAllPrefetches)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildAllPrefetches)->Unit(benchmark::kMillisecond)->Iterations(3);
