#include "lottery/types.h"

namespace kelmora::lottery {

namespace {

std::array<TMatchDistributionItem, 5> ComputeMatchDistribution() {
  // C(4,m) ways to choose the matching positions, 7 other values in each of the rest.
  constexpr int Binomial[5] = {1, 4, 6, 4, 1};
  std::array<TMatchDistributionItem, 5> items{};
  for (int m = 0; m <= PositionCount; ++m) {
    int count = Binomial[m];
    for (int i = m; i < PositionCount; ++i) count *= ValueCount - 1;
    items[m].Count = count;
    items[m].Probability = static_cast<long double>(count) / CombsTotal;
  }
  return items;
}

}  // namespace

const std::array<TMatchDistributionItem, 5>& MatchDistribution() {
  static const std::array<TMatchDistributionItem, 5> items = ComputeMatchDistribution();
  return items;
}

}  // namespace kelmora::lottery
