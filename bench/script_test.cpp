// The script runner's test ("Тест") on the reference workload: a 5000-draw synthetic archive, a
// five-step script mixing the start lists FULL, EXCL (with the buffer) and CURR, the stake modes
// FIRST, LAST and ALL, NEX, about 1000 variants a pass, 100 passes; checking after every line or
// once per pass; the literal application of variants against the fast one.
//
//   kelmora_bench --benchmark_filter=ScriptTest

#include <sys/resource.h>

#include <filesystem>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "lottery/draws.h"
#include "shell/recording_host.h"
#include "shell/script_runner.h"
#include "shell/session.h"
#include "shell/stakes_state.h"

namespace {

using namespace kelmora;

// Status texts, notifications and events go nowhere, as on a terminal.
class QuietHost : public shell::RecordingHost {
 public:
  void SetStatusText(std::string_view) override {}
  void ViewChanged(shell::ViewId) override {}
  void ProcessEvents() override {}
  void ShowScriptProgress(const shell::ScriptProgressPanels&) override {}
  void ScriptRowRunning(int) override {}
};

// 200 + 100 + 50 + 300 + 350 = 1000 variants.
const std::vector<std::string> ReferenceScript = {
    "FULL:0#FIRST|TMD1#NUMS:10-200;10#CMV:1-10;1#SF:0| | | | | | |full",
    "EXCL:3#LAST|TMD1#NUMS:20-200;20#CMV:5-9;1#SF:0|TMF1#DIGS:10;50#LNO:#ST:1| | | | | |excl",
    "CURR:0#ALL#NEX|TSF1#NUMS:10-500;10#LNO:#SC:3| | | | | | |curr",
    "FULL:0#LAST#NEX|BMD1#NUMS:5-150;5#CLV:1-10;1#SF:0| | | | | | |full nex",
    "EXCL:3#FIRST|TMD1#SUMS:10-350;10#CMV:1-10;1#SF:0| | | | | | |excl again",
};

// A fresh data folder with the archive; removed at the end.
class Workload {
 public:
  explicit Workload(int draws) {
    dir_ = std::filesystem::temp_directory_path() / ("kelmora_script_bench_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
    std::mt19937 rng(20240601);
    lottery::TDrawsArray archive;
    for (int i = 0; i < draws; ++i) {
      lottery::TDrawRec d;
      d.Number = i + 1;
      for (int p = 0; p < 4; ++p) d.Values = lottery::SetCombValue(d.Values, p, 7 + static_cast<int>(rng() % 8));
      archive.push_back(d);
    }
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", archive);
  }
  ~Workload() {
    session_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  // A Session started as the window starts, with empty stakes and rating.
  shell::Session& Start(bool literal, bool check_on_line) {
    session_.reset();
    std::error_code ec;
    std::filesystem::remove(dir_ / "Kelmora_4r32.lsk", ec);
    std::filesystem::remove(dir_ / "Kelmora_4r32.lrt", ec);
    shell::SessionOptions options;
    options.DataDir = dir_;
    session_ = std::make_unique<shell::Session>(host_, options);
    session_->Create();
    session_->Initialise();
    session_->MainView().StakesCheckOnLine = check_on_line;
    session_->Runner().SetLiteral(literal);
    session_->Runner().SeedRandom(1);
    return *session_;
  }

 private:
  std::filesystem::path dir_;
  QuietHost host_;
  std::unique_ptr<shell::Session> session_;
};

void ScriptTest(benchmark::State& state, bool literal) {
  const bool check_on_line = state.range(0) != 0;
  const int passes = static_cast<int>(state.range(1));
  Workload w(5000);
  int64_t stakes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    shell::Session& s = w.Start(literal, check_on_line);
    state.ResumeTiming();
    if (s.Runner().ScriptTest(ReferenceScript, passes) != shell::ScriptOutcome::Complete)
      state.SkipWithError("the test did not complete");
    stakes = s.Stakes().Count();
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double variants = 1000.0 * passes;
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(variants));
  state.counters["variants"] = variants;
  state.counters["stake_records"] = static_cast<double>(stakes);
  state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ScriptTestLiteral(benchmark::State& state) { ScriptTest(state, true); }
void BM_ScriptTestFast(benchmark::State& state) { ScriptTest(state, false); }
// Arguments: check after every line (1) or once per pass (0), and the number of passes. The
// literal run that checks after every line writes the rating file after every variant, as the
// system does; its 10-pass run is the quick look, the 100-pass one the reference figure.
BENCHMARK(BM_ScriptTestFast)->ArgsProduct({{1, 0}, {100}})->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_ScriptTestLiteral)->Args({0, 100})->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_ScriptTestFast)->Args({1, 10})->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_ScriptTestLiteral)->Args({1, 10})->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
// The literal 100-pass run with checking after every line: about half an hour, run on its own.
BENCHMARK(BM_ScriptTestLiteral)->Args({1, 100})->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
// A quick look at both.
BENCHMARK(BM_ScriptTestFast)->Args({1, 5})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
