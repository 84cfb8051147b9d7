#include "support/chart_data.h"

#include <algorithm>
#include <cmath>

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

AxisRange NiceAxisRange(double low, double high, int max_ticks) {
  max_ticks = std::max(3, max_ticks);
  if (!std::isfinite(low) || !std::isfinite(high)) low = high = 0;
  if (low > high) std::swap(low, high);
  if (high - low < 1e-9) {
    // A flat series still gets an axis with its value in the middle.
    const double pad = std::max(1.0, std::fabs(low) * 0.1);
    low -= pad;
    high += pad;
  }
  AxisRange out;
  const double rough = (high - low) / (max_ticks - 1);
  double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (;;) {
    for (double factor : {1.0, 2.0, 5.0}) {
      const double step = factor * power;
      const double lo = std::floor(low / step + 1e-9) * step;
      const double hi = std::ceil(high / step - 1e-9) * step;
      const int ticks = static_cast<int>(std::lround((hi - lo) / step)) + 1;
      if (ticks <= max_ticks) {
        out.Min = lo;
        out.Max = hi;
        out.Step = step;
        out.Ticks = ticks;
        out.Decimals = step >= 1 ? 0 : static_cast<int>(std::lround(-std::floor(std::log10(step) + 1e-9)));
        return out;
      }
    }
    power *= 10;
  }
}

}  // namespace kelmora::support
