#include "views/week.h"

#include <cmath>

#include "lottery/comb_text.h"

namespace kelmora::views {

TWeekStat BuildWeekStat(const lottery::TDrawsArray& draws, int offset, int64_t length) {
  TWeekStat stat;
  const TDrawWindow window = DrawWindow(draws, offset, length);
  for (int i = window.First; i <= window.Last; ++i) {
    const auto& draw = draws[static_cast<size_t>(i)];
    int day = 0;
    try {
      const lottery::TDate date = lottery::TextToDate(draw.Date);
      if (date.IsEmpty()) continue;
      day = lottery::DayOfWeek(date);
    } catch (const std::exception&) {
      continue;  // an invalid date counts like none
    }
    if (day < 1 || day > 7) continue;
    for (int p = 0; p < lottery::PositionCount; ++p) {
      const int v = lottery::CombValue(draw.Values, p);
      if (v < lottery::ValueMin || v > lottery::ValueMax) continue;
      ++stat.Counts[static_cast<size_t>(day - 1)][static_cast<size_t>(v - 7)];
    }
  }
  for (const auto& row : stat.Counts)
    for (int32_t n : row) stat.Max = std::max(stat.Max, n);
  return stat;
}

const std::array<std::string, 7>& RussianShortDayNames() {
  static const std::array<std::string, 7> names = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
  return names;
}

TViewGrid WeekGrid(const TWeekStat& stat, const std::array<std::string, 7>& day_names) {
  TViewGrid grid;
  grid.Reset(8, 9);
  for (int c = 1; c <= 8; ++c) grid.Cell(0, c) = lottery::ValueToText(c + 6);
  for (int r = 1; r <= 7; ++r) {
    grid.Cell(r, 0) = day_names[static_cast<size_t>(r - 1)];
    for (int c = 1; c <= 8; ++c) {
      const int32_t n = stat.Counts[static_cast<size_t>(r - 1)][static_cast<size_t>(c - 1)];
      if (n != 0) grid.Cell(r, c) = std::to_string(n);
    }
  }
  return grid;
}

int64_t WeekCellColor(int32_t n, int32_t max) {
  if (n <= 0 || max <= 0) return -1;
  const int gb = static_cast<int>(std::lround(255.0 - 255.0 * n / max));
  return Rgb(255, gb, gb);
}

support::ChartData WeekChart(const TWeekStat& stat, const std::array<std::string, 7>& day_names, int row, int col,
                             bool by_day, bool line) {
  support::ChartData chart;
  support::ChartSeries series;
  series.Color = 0x008000;
  series.LineWidth = 2;
  series.ShowMarkers = line;
  series.Bars = !line;
  if (by_day) {
    if (col < 1 || col > 8) return chart;
    series.Title = lottery::ValueToText(col + 6);
    for (int d = 0; d < 7; ++d)
      series.Points.push_back({d + 1, day_names[static_cast<size_t>(d)], static_cast<double>(stat.Counts[static_cast<size_t>(d)][static_cast<size_t>(col - 1)])});
  } else {
    if (row < 1 || row > 7) return chart;
    series.Title = day_names[static_cast<size_t>(row - 1)];
    for (int v = 0; v < 8; ++v)
      series.Points.push_back({v + 1, lottery::ValueToText(v + 7), static_cast<double>(stat.Counts[static_cast<size_t>(row - 1)][static_cast<size_t>(v)])});
  }
  chart.Series.push_back(std::move(series));
  return chart;
}

}  // namespace kelmora::views
