#include "support/chart_data.h"

#include "support/text.h"

namespace kelmora::support {

void ChartData::AddPoint(int64_t x, const std::string& series_title, double y, bool markers, bool labels,
                         uint32_t color) {
  ChartSeries* series = nullptr;
  for (auto& s : Series)
    if (SameText(s.Title, series_title)) series = &s;
  if (!series) {
    ChartSeries s;
    s.Title = series_title;
    s.Color = color;
    s.ShowMarkers = markers;
    s.ShowLabels = labels;
    s.Switchable = labels;
    Series.push_back(std::move(s));
    series = &Series.back();
  }
  series->Points.push_back({x, std::to_string(x), y});
}

}  // namespace kelmora::support
