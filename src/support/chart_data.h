#pragma once
// Charts as data: series of points with colours and labels. Only the GUI turns them into widgets,
// so the engine and the tests never depend on a chart library.

#include <cstdint>
#include <string>
#include <vector>

namespace kelmora::support {

struct ChartPoint {
  int64_t X = 0;
  std::string Label;  // shown under the point; the decimal X when empty
  double Y = 0;
};

struct ChartSeries {
  std::string Title;
  uint32_t Color = 0;  // 0xRRGGBB; 0 lets the chart choose
  int LineWidth = 2;
  bool ShowMarkers = false;
  bool ShowLabels = false;
  bool Switchable = false;  // labels can be toggled by the user
  bool Bars = false;        // drawn as bars instead of a line
  std::vector<ChartPoint> Points;
};

struct ChartData {
  std::string Title;
  std::vector<ChartSeries> Series;

  // Adds a point to the series of that title (compared ignoring case), creating a line series of
  // width 2 with the given colour and marker/label options when none exists yet.
  void AddPoint(int64_t x, const std::string& series_title, double y, bool markers, bool labels,
                uint32_t color);
};

// A value axis that frames the data with round ticks: Min and Max are multiples of Step, Step is
// 1, 2 or 5 times a power of ten, and Ticks (Min to Max inclusive) is at most the asked count.
struct AxisRange {
  double Min = 0;
  double Max = 1;
  double Step = 1;
  int Ticks = 2;
  int Decimals = 0;  // digits after the point that the tick labels need
};

// The axis for values from `low` to `high` with about `max_ticks` ticks (at least 3). The range
// hugs the data instead of starting at zero, so small differences stay visible; an empty or flat
// range is widened around its value.
AxisRange NiceAxisRange(double low, double high, int max_ticks = 7);

}  // namespace kelmora::support
