// The analysis views on a 10,000-draw synthetic archive: one screen of the card (what a scroll
// step reads: 40 rows of texts and colours), the whole card read once, the weekday counts and the
// scheme over long windows.

#include <random>

#include <benchmark/benchmark.h>

#include "lottery/comb_text.h"
#include "views/card.h"
#include "views/layout.h"
#include "views/week.h"

namespace {

using namespace kelmora;

const lottery::TDrawsArray& Archive() {
  static const lottery::TDrawsArray draws = [] {
    lottery::TDrawsArray d;
    std::mt19937 random(42);
    std::uniform_int_distribution<int> value(7, 14);
    for (int i = 0; i < 10000; ++i)
      d.push_back({i + 1, lottery::MakeComb(value(random), value(random), value(random), value(random)),
                   lottery::DateToText(lottery::AddDays({2000, 1, 1}, i))});
    return d;
  }();
  return draws;
}

void ReadCardRows(benchmark::State& state, int first, int rows) {
  const auto& draws = Archive();
  for (auto _ : state) {
    size_t n = 0;
    for (int r = first; r < first + rows; ++r)
      for (int c = 0; c < views::CardColumns; ++c) {
        n += views::CardCellText(draws, r, c).size();
        n += static_cast<size_t>(views::CardCellColor(draws, r, c, true, true, 2) & 1);
      }
    benchmark::DoNotOptimize(n);
  }
}

void BM_CardScreenAtTheEnd(benchmark::State& state) { ReadCardRows(state, 10000 - 40, 40); }
BENCHMARK(BM_CardScreenAtTheEnd);

void BM_CardWhole(benchmark::State& state) { ReadCardRows(state, 1, 10000); }
BENCHMARK(BM_CardWhole)->Unit(benchmark::kMillisecond);

void BM_WeekStat(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(views::BuildWeekStat(Archive(), 0, state.range(0)).Max);
}
BENCHMARK(BM_WeekStat)->Arg(1000)->Arg(10000);

void BM_LayoutScheme(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(views::BuildLayoutScheme(Archive(), 1, state.range(0)).Grid.Rows);
}
BENCHMARK(BM_LayoutScheme)->Arg(100)->Arg(10000);

}  // namespace
