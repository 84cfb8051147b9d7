// The application of filter variants through the Session, the literal walk against the fast one
// (FilterApplication), on a 5000-draw synthetic archive; and one pass over the full list of 4096
// combinations, by CombMatches and by the membership mask.

#include <filesystem>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "filtering/comb_mask.h"
#include "filtering/filter_apply.h"
#include "lottery/draws.h"
#include "shell/combs_state.h"
#include "shell/filter_application.h"
#include "shell/recording_host.h"
#include "shell/session.h"
#include "shell/stats_state.h"
#include "stats/registry.h"

namespace {

using namespace kelmora;

// The terminal's host: status texts and notifications go nowhere.
class QuietHost : public shell::RecordingHost {
 public:
  void SetStatusText(std::string_view) override {}
  void ViewChanged(shell::ViewId) override {}
  void ProcessEvents() override {}
};

// A Session over a 5000-draw archive in a folder of its own.
class BenchSession {
 public:
  BenchSession() {
    dir_ = std::filesystem::temp_directory_path() /
           ("kelmora_fastfilter_bench_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
    std::mt19937 rng(20240601);
    std::uniform_int_distribution<int> value(lottery::ValueMin, lottery::ValueMax);
    lottery::TDrawsArray draws;
    for (int i = 0; i < 5000; ++i) {
      draws.push_back({i + 1, lottery::MakeComb(value(rng), value(rng), value(rng), value(rng)), ""});
    }
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
    shell::SessionOptions options;
    options.DataDir = dir_;
    session_ = std::make_unique<shell::Session>(host_, options);
    session_->Create();
    session_->Initialise();
    filtering::GenerateCombs(0, "", full_);
  }
  ~BenchSession() {
    session_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  shell::Session& S() { return *session_; }
  const filtering::TCombsArray& Full() const { return full_; }

  std::vector<filtering::TFilterRec> Variants(const std::vector<std::string>& recipes) {
    std::vector<filtering::TFilterItem> items;
    for (const auto& r : recipes) items.push_back(filtering::FilterItemFromText(r, session_->Stats().List()));
    const auto variants = filtering::ExpandFilterVariants(items);
    std::vector<filtering::TFilterRec> recs;
    for (int64_t v = 0; v < variants.Count; ++v) recs.push_back(variants.Variant(v));
    return recs;
  }

 private:
  std::filesystem::path dir_;
  QuietHost host_;
  std::unique_ptr<shell::Session> session_;
  filtering::TCombsArray full_;
};

// A step of a script: 10 windows x 5 levels of NUMS, then 4 windows of DIGS picked by count, then a
// SUMS part, 200 variants in all, each applied to the full list as the runner does.
const std::vector<std::string> StepRecipes = {"TSD1#NUMS:10-100;10#LMV:1-5;1#ST:3",
                                              "BMF6#DIGS:50-200;50#CMV:2#SF:1", "TSD8#SUMS:100#LNO:#ST:2"};

// One script pass's worth of variants (tables computed anew each iteration in both ways, as each
// pass of a test moves the offset).
void ApplyVariants(benchmark::State& state, bool fast) {
  BenchSession b;
  const auto recs = b.Variants(StepRecipes);
  shell::FilterRunSignals signals;
  int64_t left = 0;
  for (auto _ : state) {
    std::unique_ptr<shell::FilterApplication> app;
    if (fast) app = std::make_unique<shell::FilterApplication>(b.S());
    signals.Application = app.get();
    for (const auto& rec : recs) {
      b.S().Combs().ReplaceList(b.Full());
      b.S().Combs().ApplyFilterVar(rec, signals);
      left += b.S().Combs().Count();
    }
  }
  benchmark::DoNotOptimize(left);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(recs.size()));
  state.counters["variants"] = static_cast<double>(recs.size());
  state.counters["us_per_variant"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(recs.size()) * 1e-6,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
void BM_ApplyVariantsLiteral(benchmark::State& state) { ApplyVariants(state, false); }
void BM_ApplyVariantsFast(benchmark::State& state) { ApplyVariants(state, true); }
BENCHMARK(BM_ApplyVariantsLiteral)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyVariantsFast)->Unit(benchmark::kMillisecond);

// One variant applied again and again: its tables and masks kept after the first time.
void ApplyOneVariant(benchmark::State& state, bool fast) {
  BenchSession b;
  const auto rec = b.Variants({"TSD1#NUMS:1000#LMV:3#SF:1", "BMD1#DIGS:500#LNO:#ST:2", "TMF6#NUMS:100#LLV:20#SF:1"})[0];
  std::unique_ptr<shell::FilterApplication> app;
  if (fast) app = std::make_unique<shell::FilterApplication>(b.S());
  shell::FilterRunSignals signals;
  signals.Application = app.get();
  for (auto _ : state) {
    b.S().Combs().ReplaceList(b.Full());
    b.S().Combs().ApplyFilterVar(rec, signals);
  }
  state.counters["left"] = static_cast<double>(b.S().Combs().Count());
}
void BM_ApplyOneVariantLiteral(benchmark::State& state) { ApplyOneVariant(state, false); }
void BM_ApplyOneVariantFast(benchmark::State& state) { ApplyOneVariant(state, true); }
BENCHMARK(BM_ApplyOneVariantLiteral)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyOneVariantFast)->Unit(benchmark::kMicrosecond);

// One pass of NUMS (delete "9; A") over the full list: the literal test per combination, and the
// same pass on the list held as a mask once the answers are known.
void BM_PassFullListByCombMatches(benchmark::State& state) {
  BenchSession b;
  const auto& list = b.S().Stats().List();
  auto stat = list.CreateStat(list.IndexOfCode("NUMS"));
  filtering::TCombLists lists;
  lists.CombList = b.Full();
  lists.TakeSnapshot();
  stats::TStatDrawArray selected(2);
  selected[0].Key1 = 9;
  selected[1].Key1 = 14;
  for (auto _ : state) {
    lists.FilterHistory.clear();
    filtering::RunFilterPass(lists, *stat, selected, 4999, false, true, "NUMS", "9; A");
    benchmark::DoNotOptimize(lists.CombList.data());
  }
  state.SetItemsProcessed(state.iterations() * lottery::CombsTotal);
}
BENCHMARK(BM_PassFullListByCombMatches);

void BM_PassFullListByMask(benchmark::State& state) {
  BenchSession b;
  const auto& list = b.S().Stats().List();
  auto stat = list.CreateStat(list.IndexOfCode("NUMS"));
  stats::TStatDrawArray selected(2);
  selected[0].Key1 = 9;
  selected[1].Key1 = 14;
  filtering::TCombMask snapshot;
  filtering::CombsToMask(b.Full(), snapshot);
  filtering::TCombMask matches;
  stat->FetchDraws(-1, 4999, false);
  for (int n = 0; n < lottery::CombsTotal; ++n) {
    if (stat->CombMatches(lottery::CombOfIndex(n), selected, 4999, false, true)) matches.Set(n);
  }
  filtering::TCombMask out;
  int count = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(snapshot);
    count = filtering::FilterByMask(snapshot, matches, true, lottery::CombsTotal, out);
    benchmark::DoNotOptimize(out);
  }
  state.counters["left"] = count;
  state.SetItemsProcessed(state.iterations() * lottery::CombsTotal);
}
BENCHMARK(BM_PassFullListByMask);

// A whole single-row part on the full list with its table and mask kept: the walk, the snapshot,
// the pass, the history line, the status texts, the check points and writing the list back; the
// full list is set up again each time (BM_ReplaceListOnly).
void BM_FastPartOnePass(benchmark::State& state) {
  BenchSession b;
  const auto rec = b.Variants({"TSD1#NUMS:1000#LNO:#ST:1"})[0];
  shell::FilterApplication app(b.S());
  shell::FilterRunSignals signals;
  for (auto _ : state) {
    b.S().Combs().ReplaceList(b.Full());
    app.ApplyFilterPart(rec[0], signals);
  }
  state.counters["left"] = static_cast<double>(b.S().Combs().Count());
}
BENCHMARK(BM_FastPartOnePass);

// What BM_FastPartOnePass spends on setting up the full list each time.
void BM_ReplaceListOnly(benchmark::State& state) {
  BenchSession b;
  for (auto _ : state) b.S().Combs().ReplaceList(b.Full());
}
BENCHMARK(BM_ReplaceListOnly);

}  // namespace
