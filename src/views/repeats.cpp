#include "views/repeats.h"

#include <algorithm>
#include <random>

#include <fmt/format.h>

#include "lottery/comb_ops.h"

namespace kelmora::views {

TRepeats BuildRepeats(const lottery::TDrawsArray& draws, int64_t length, int64_t deep,
                      const std::function<bool(int)>& step) {
  TRepeats out;
  const int64_t high = static_cast<int64_t>(draws.size()) - 1;
  const int64_t oldest = std::max<int64_t>(0, high - std::max<int64_t>(length, 0) + 1);
  int examined = 0;
  for (int64_t p = high; p >= oldest; --p) {
    if (step && !step(++examined)) break;
    const size_t first_row = out.Rows.size();
    const auto& draw = draws[static_cast<size_t>(p)];
    for (int64_t q = p - 1; q >= std::max<int64_t>(0, p - deep); --q) {
      const int m = lottery::PositionalMatches(draw.Values, draws[static_cast<size_t>(q)].Values);
      if (m <= 0) continue;
      const int32_t number = draws[static_cast<size_t>(q)].Number;
      auto it = std::find_if(out.Rows.begin() + static_cast<std::ptrdiff_t>(first_row), out.Rows.end(),
                             [m](const TRepeatRow& r) { return r.Matches == m; });
      if (it != out.Rows.end()) {
        ++it->Count;
        it->Draws += fmt::format(" {}", number);
      } else {
        out.Rows.push_back({draw.Number, m, 1, std::to_string(number)});
      }
      out.MaxMatches = std::max(out.MaxMatches, m);
    }
  }
  return out;
}

support::ChartData RepeatsChart(const TRepeats& repeats, uint32_t seed) {
  support::ChartData chart;
  chart.Title = RepeatsCaption;
  std::mt19937 random(seed);
  std::uniform_int_distribution<uint32_t> colour(0, 0xFFFFFF);
  for (int m = 1; m <= repeats.MaxMatches; ++m) {
    support::ChartSeries s;
    s.Title = fmt::format("Совпадений: {}", m);
    s.Color = colour(random) | 1;  // 0 would let the chart choose
    s.ShowMarkers = true;
    chart.Series.push_back(std::move(s));
  }
  for (auto it = repeats.Rows.rbegin(); it != repeats.Rows.rend(); ++it) {
    if (it->Matches < 1 || it->Matches > repeats.MaxMatches) continue;
    chart.Series[static_cast<size_t>(it->Matches - 1)].Points.push_back(
        {it->Draw, {}, static_cast<double>(it->Count)});
  }
  return chart;
}

}  // namespace kelmora::views
