#pragma once
// The sums distribution: the sums of the drawn combinations against those of all 4096
// combinations, with three ranges of the most frequent sums.

#include <array>
#include <cstdint>
#include <utility>

#include "lottery/types.h"
#include "support/chart_data.h"

namespace kelmora::views {

inline constexpr const char* SumsCaption = "Распределение сумм тиражей и всех возможных комбинаций";

struct TSumsDistribution {
  lottery::TStatSimpleArray Theoretical;  // sum -> combinations, ascending by sum
  lottery::TStatSimpleArray Actual;       // sum -> draws of the archive, ascending by sum
  int32_t Tmin = 0, Tmax = 0, Amax = 0;
  std::array<int32_t, 3> Thresholds{};                  // at 1/3, 1/2 and 2/3 of the count range
  std::array<std::pair<int32_t, int32_t>, 3> Ranges{};  // lower and upper sum per threshold
};

TSumsDistribution BuildSumsDistribution(const lottery::TDrawsArray& draws);

// The chart of the distribution in the order the window adds its series: the actual counts, the
// theoretical ones scaled to the largest actual count, and the three range lines.
support::ChartData SumsChart(const TSumsDistribution& d);

}  // namespace kelmora::views
