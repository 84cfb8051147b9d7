#include "views/sums.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "lottery/comb_ops.h"

namespace kelmora::views {

namespace {

int32_t SumOf(lottery::TComb comb) {
  int32_t s = 0;
  for (int p = 0; p < lottery::PositionCount; ++p) s += lottery::CombValue(comb, p);
  return s;
}

}  // namespace

TSumsDistribution BuildSumsDistribution(const lottery::TDrawsArray& draws) {
  TSumsDistribution d;
  for (int n = 0; n < lottery::CombsTotal; ++n) lottery::AddSimple(d.Theoretical, SumOf(lottery::CombOfIndex(n)), 1);
  for (const auto& draw : draws) lottery::AddSimple(d.Actual, SumOf(draw.Values), 1);
  lottery::SortSimple(d.Theoretical);
  lottery::SortSimple(d.Actual);
  const auto& t = d.Theoretical;
  d.Tmin = t.front().Count;
  d.Tmax = t.front().Count;
  for (const auto& r : t) {
    d.Tmin = std::min(d.Tmin, r.Count);
    d.Tmax = std::max(d.Tmax, r.Count);
  }
  for (const auto& r : d.Actual) d.Amax = std::max(d.Amax, r.Count);
  const double w = d.Tmax - d.Tmin + 1;
  const double parts[] = {w / 3, w / 2, 2 * w / 3};
  const int n = static_cast<int>(t.size());
  const int middle = n / 2;
  for (size_t k = 0; k < 3; ++k) {
    const int32_t tk = static_cast<int32_t>(std::lround(d.Tmin + parts[k]));
    d.Thresholds[k] = tk;
    int low = middle, high = middle;
    for (int i = 0; i <= middle; ++i)
      if (t[static_cast<size_t>(i)].Count >= tk) { low = i; break; }
    for (int i = n - 1; i >= middle; --i)
      if (t[static_cast<size_t>(i)].Count >= tk) { high = i; break; }
    d.Ranges[k] = {t[static_cast<size_t>(low)].Key, t[static_cast<size_t>(high)].Key};
  }
  return d;
}

support::ChartData SumsChart(const TSumsDistribution& d) {
  support::ChartData chart;
  chart.Title = SumsCaption;
  const double scale = d.Tmax > 0 ? static_cast<double>(d.Amax) / d.Tmax : 0;
  support::ChartSeries actual{"Фактическое распределение сумм (по тиражам)", 0xFF0000, 2, true, true, false, false, {}};
  for (const auto& r : d.Actual) actual.Points.push_back({r.Key, {}, static_cast<double>(r.Count)});
  chart.Series.push_back(std::move(actual));
  support::ChartSeries theory{"Теоретическое распределение сумм (по комбинациям)", 0x800000, 2, false, false, false, false, {}};
  for (const auto& r : d.Theoretical) theory.Points.push_back({r.Key, {}, r.Count * scale});
  chart.Series.push_back(std::move(theory));
  const char* shares[] = {"1/3", "1/2", "2/3"};
  const uint32_t colours[] = {0x008000, 0x0000FF, 0xFF00FF};
  for (size_t k = 0; k < 3; ++k) {
    support::ChartSeries range;
    range.Title = fmt::format("Диапазон {} (от {} и выше по оси Y) - суммы {}-{}", k + 1, shares[k], d.Ranges[k].first,
                              d.Ranges[k].second);
    range.Color = colours[k];
    for (const auto& r : d.Theoretical) range.Points.push_back({r.Key, {}, d.Thresholds[k] * scale});
    chart.Series.push_back(std::move(range));
  }
  return chart;
}

}  // namespace kelmora::views
