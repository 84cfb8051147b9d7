#include "views/graphs.h"

#include <map>
#include <vector>

#include "views/view_grid.h"

namespace kelmora::views {

support::ChartData BuildDrawsGraph(stats::TCustomGraphStat& stat, const std::string& caption,
                                   const lottery::TDrawsArray& draws, int offset, int64_t length, bool sorted,
                                   bool labels) {
  support::ChartData chart;
  const TDrawWindow window = DrawWindow(draws, offset, length);
  if (window.Empty()) return chart;
  support::ChartSeries main;
  main.Title = caption;
  main.Color = 0x008000;
  main.LineWidth = 2;
  main.ShowMarkers = true;
  main.ShowLabels = labels;
  main.Switchable = true;
  std::map<int32_t, int> frequency;
  std::vector<int32_t> first_seen;  // values in order of first occurrence
  double sum = 0;
  for (int i = window.First; i <= window.Last; ++i) {
    const int32_t v = stat.DrawGraphValue(i, window.Last, sorted);
    const int32_t number = draws[static_cast<size_t>(i)].Number;
    // No label: the axis then names the draw numbers (the decimal X) as a value axis does.
    main.Points.push_back({number, {}, static_cast<double>(v)});
    if (frequency[v]++ == 0) first_seen.push_back(v);
    sum += v;
  }
  int32_t mode = first_seen.front();
  for (int32_t v : first_seen)
    if (frequency[v] > frequency[mode]) mode = v;
  const double mean = sum / window.Size();
  support::ChartSeries mean_series{MeanSeriesTitle, 0x0000FF, 2, false, false, false, false, {}};
  support::ChartSeries mode_series{ModeSeriesTitle, 0xFF0000, 2, false, false, false, false, {}};
  for (const auto& p : main.Points) {
    mean_series.Points.push_back({p.X, p.Label, mean});
    mode_series.Points.push_back({p.X, p.Label, static_cast<double>(mode)});
  }
  chart.Series.push_back(std::move(main));
  chart.Series.push_back(std::move(mean_series));
  chart.Series.push_back(std::move(mode_series));
  return chart;
}

}  // namespace kelmora::views
