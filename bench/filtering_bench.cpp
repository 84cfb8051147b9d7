// The filter pass of "NUMS" over the 4096 combinations, the expansion of about 100,000 variants, and
// a three-part variant applied on a 5000-draw synthetic archive.

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include <benchmark/benchmark.h>

#include "filtering/filter_apply.h"
#include "stats/registry.h"

namespace {

// Counts every allocation of the process, so a benchmark can report how many its loop made.
std::atomic<long long> g_allocations{0};
std::atomic<long long> g_allocated_bytes{0};

}  // namespace

// The replacement pair is matched (malloc/free); GCC cannot see that through inlining.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  g_allocated_bytes.fetch_add(static_cast<long long>(size), std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace kelmora;

lottery::TDrawsArray SyntheticDraws(int count) {
  std::mt19937 rng(20240601);
  std::uniform_int_distribution<int> value(lottery::ValueMin, lottery::ValueMax);
  lottery::TDrawsArray draws;
  for (int i = 0; i < count; ++i) {
    draws.push_back({i + 1, lottery::MakeComb(value(rng), value(rng), value(rng), value(rng)), ""});
  }
  return draws;
}

// The engine's table computation without the Session, as the script runner will drive it.
class BenchEnvironment : public filtering::TFilterEnvironment {
 public:
  explicit BenchEnvironment(int draws)
      : draws_(SyntheticDraws(draws)), list_(draws_, config_, shredding_, stats::RegisteredClasses()) {
    list_.Rebuild();
  }
  filtering::TCombLists& Combs() override { return lists_; }
  const stats::TStatList& StatList() override { return list_; }
  int SelectMethod(const stats::TStatMethod& method) override {
    for (int i = 0; i < list_.Count(); ++i) {
      if (&list_.Items(i) == &method) return entry_ = i;
    }
    return -1;
  }
  std::string SelectorText() override { return list_.DisplayName(entry_, true); }
  const stats::TStatTable& ComputeTable(int draws_len, int sort_column, const filtering::TFilterCdl& cdl) override {
    list_.ApplyCdl(cdl.Override, cdl.Settings);
    stats::TStatTableInput in;
    in.List = &list_;
    in.Entry = entry_;
    in.WindowLength = draws_len;
    stats::CalcStatTable(in, table_);
    stats::SortStatRows(table_.Rows, sort_column, true);
    return table_;
  }
  int LastIdx() override { return filtering::FilterLastIdx(draws_, 0); }
  bool SortedDraws() override { return false; }
  bool StopRequested() override { return false; }
  bool LogEnabled() override { return false; }
  void Log(std::string_view) override {}
  void Status(std::string_view) override {}

 private:
  lottery::TDrawsArray draws_;
  lottery::TConfigData config_;
  lottery::TShreddingData shredding_;
  stats::TStatList list_;
  filtering::TCombLists lists_;
  stats::TStatTable table_;
  int entry_ = -1;
};

void BM_NumsPassOverFullList(benchmark::State& state) {
  BenchEnvironment env(5000);
  auto stat = env.StatList().CreateStat(env.StatList().IndexOfCode("NUMS"));
  auto& lists = env.Combs();
  filtering::GenerateCombs(0, "", lists.CombList);
  lists.TakeSnapshot();
  stats::TStatDrawArray selected(2);
  selected[0].Key1 = 9;
  selected[1].Key1 = 14;
  long long allocations = 0;
  for (auto _ : state) {
    lists.FilterHistory.clear();
    const long long before = g_allocations.load();
    filtering::RunFilterPass(lists, *stat, selected, 4999, false, true, "NUMS", "9; A");
    // The history line is the pass's only allocation; none is made per combination.
    allocations += g_allocations.load() - before;
    benchmark::DoNotOptimize(lists.CombList.data());
  }
  state.counters["allocs_per_pass"] = benchmark::Counter(static_cast<double>(allocations) /
                                                         static_cast<double>(state.iterations()));
  state.SetItemsProcessed(state.iterations() * lottery::CombsTotal);
}
BENCHMARK(BM_NumsPassOverFullList);

std::vector<filtering::TFilterItem> HundredThousandVariants(const stats::TStatList& list) {
  return {filtering::FilterItemFromText("TSD1#NUMS:10-100;10#LMV:1-10;1#SF:1", list),   // 100 choices
          filtering::FilterItemFromText("BMD6#DIGS:5-50;5#CMV:1-10;1#ST:3", list),      // 100
          filtering::FilterItemFromText("TSF1#NUMS:10-100;10#LDV:1;2;3#SF:1", list)};   // 10
}

void BM_ExpandFilterVariants(benchmark::State& state) {
  BenchEnvironment env(10);
  const auto items = HundredThousandVariants(env.StatList());
  long long bytes = 0;
  int64_t count = 0;
  for (auto _ : state) {
    const long long before = g_allocated_bytes.load();
    const filtering::TFilterVariants variants = filtering::ExpandFilterVariants(items);
    bytes = g_allocated_bytes.load() - before;
    count = variants.Count;
    benchmark::DoNotOptimize(variants.Items.data());
  }
  state.counters["variants"] = static_cast<double>(count);
  state.counters["bytes_allocated"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ExpandFilterVariants);

// Taking every variant in order, as the runner does, costs one TFilterRec each.
void BM_TakeEveryVariant(benchmark::State& state) {
  BenchEnvironment env(10);
  const filtering::TFilterVariants variants = filtering::ExpandFilterVariants(HundredThousandVariants(env.StatList()));
  for (auto _ : state) {
    for (int64_t v = 0; v < variants.Count; ++v) {
      const filtering::TFilterRec rec = variants.Variant(v);
      benchmark::DoNotOptimize(rec[2].DrawsLen);
    }
  }
  state.SetItemsProcessed(state.iterations() * variants.Count);
}
BENCHMARK(BM_TakeEveryVariant)->Unit(benchmark::kMillisecond);

void BM_ApplyThreePartVariant(benchmark::State& state) {
  BenchEnvironment env(5000);
  const auto& list = env.StatList();
  const filtering::TFilterVariants variants = filtering::ExpandFilterVariants(
      {filtering::FilterItemFromText("TSD1#NUMS:1000#LMV:3#SF:1", list),
       filtering::FilterItemFromText("BMD1#DIGS:500#LNO:#ST:2", list),
       filtering::FilterItemFromText("TMF6#NUMS:100#LLV:20#SF:1", list)});
  const filtering::TFilterRec rec = variants.Variant(0);
  for (auto _ : state) {
    env.Combs().CombList.clear();
    filtering::GenerateCombs(0, "", env.Combs().CombList);
    filtering::ApplyFilterVar(env, rec);
    benchmark::DoNotOptimize(env.Combs().Count());
  }
  state.counters["left"] = static_cast<double>(env.Combs().Count());
}
BENCHMARK(BM_ApplyThreePartVariant)->Unit(benchmark::kMillisecond);

}  // namespace
