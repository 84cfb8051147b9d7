#pragma once
// The page "Графики": one graph statistic plotted draw by draw with its mean and its most frequent
// value, and the cache rule of the page.

#include <cstdint>
#include <string>

#include "lottery/types.h"
#include "stats/custom_stat.h"
#include "support/chart_data.h"

namespace kelmora::views {

struct TGraphsCacheKey {
  int DrawsCount = -1;
  int Offset = -1;
  int64_t Length = -1;
  int Entry = -1;  // the chosen graph kind's registry entry
  bool operator==(const TGraphsCacheKey&) const = default;
};

inline constexpr const char* MeanSeriesTitle = "Среднее значение";
inline constexpr const char* ModeSeriesTitle = "Наиболее часто встречающееся значение";

// The three series over the window of `length` draws at the offset: `caption` (the main series,
// DrawGraphValue of each draw, labels switchable and shown with `labels`), the mean and the most
// frequent value (the first to occur among equally frequent ones). No series for an empty window.
// Throws what the statistic throws.
support::ChartData BuildDrawsGraph(stats::TCustomGraphStat& stat, const std::string& caption,
                                   const lottery::TDrawsArray& draws, int offset, int64_t length, bool sorted,
                                   bool labels);

}  // namespace kelmora::views
