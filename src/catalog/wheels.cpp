#include "catalog/wheels.h"

#include <fmt/format.h>

namespace kelmora::catalog {

namespace {

// The subsets of size k of positions 1..n as bit masks (bit p-1 for position p), lexicographic.
std::vector<unsigned> Subsets(int n, int k) {
  std::vector<unsigned> out;
  if (k > n || k <= 0) return out;
  std::vector<int> pick(static_cast<size_t>(k));
  for (int i = 0; i < k; ++i) pick[static_cast<size_t>(i)] = i + 1;
  while (true) {
    unsigned mask = 0;
    for (const int p : pick) mask |= 1u << (p - 1);
    out.push_back(mask);
    int i = k - 1;
    while (i >= 0 && pick[static_cast<size_t>(i)] == n - k + i + 1) --i;
    if (i < 0) break;
    ++pick[static_cast<size_t>(i)];
    for (int j = i + 1; j < k; ++j) pick[static_cast<size_t>(j)] = pick[static_cast<size_t>(j - 1)] + 1;
  }
  return out;
}

WheelRow RowOf(unsigned mask) {
  WheelRow row{};
  size_t k = 0;
  for (int p = 1; p <= 32 && k < 4; ++p)
    if (mask & (1u << (p - 1))) row[k++] = p;
  return row;
}

unsigned MaskOf(const WheelRow& row) {
  unsigned mask = 0;
  for (const int p : row) mask |= 1u << (p - 1);
  return mask;
}

}  // namespace

std::vector<WheelRow> FullWheel(int n) {
  std::vector<WheelRow> rows;
  for (const unsigned mask : Subsets(n, 4)) rows.push_back(RowOf(mask));
  return rows;
}

std::vector<WheelRow> GreedyCoveringWheel(int n, int t) {
  const std::vector<unsigned> candidates = Subsets(n, 4);
  const std::vector<unsigned> targets = Subsets(n, t);
  std::vector<bool> covered(targets.size(), false);
  size_t left = targets.size();
  std::vector<WheelRow> rows;
  while (left > 0) {
    size_t best = 0;
    size_t best_gain = 0;
    for (size_t c = 0; c < candidates.size(); ++c) {
      size_t gain = 0;
      for (size_t i = 0; i < targets.size(); ++i)
        if (!covered[i] && (targets[i] & candidates[c]) == targets[i]) ++gain;
      if (gain > best_gain) {
        best_gain = gain;
        best = c;
      }
    }
    if (best_gain == 0) break;  // only when t > 4 or n < 4: nothing can cover what is left
    for (size_t i = 0; i < targets.size(); ++i)
      if (!covered[i] && (targets[i] & candidates[best]) == targets[i]) {
        covered[i] = true;
        --left;
      }
    rows.push_back(RowOf(candidates[best]));
  }
  return rows;
}

bool Covers(const std::vector<WheelRow>& rows, int n, int t) {
  for (const unsigned target : Subsets(n, t)) {
    bool found = false;
    for (const WheelRow& row : rows)
      if ((target & MaskOf(row)) == target) {
        found = true;
        break;
      }
    if (!found) return false;
  }
  return true;
}

std::string WheelText(const std::vector<WheelRow>& rows) {
  std::string out;
  for (const WheelRow& row : rows) {
    if (!out.empty()) out += "\r\n";
    out += fmt::format("{:02} {:02} {:02} {:02}", row[0], row[1], row[2], row[3]);
  }
  return out;
}

}  // namespace kelmora::catalog
