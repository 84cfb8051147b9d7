#include "views/layout.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <fmt/format.h>

#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"

namespace kelmora::views {

namespace {

int RoundToInt(double v) { return static_cast<int>(std::lround(v)); }

// Rows and columns 1..5, 11..15, ... 91..95 form the bands of the checkerboard.
bool Banded(int n) {
  const int digit = n % 10;
  return n <= 95 && digit >= 1 && digit <= 5;
}

std::vector<int32_t> DistinctDescending(std::vector<int32_t> values) {
  std::sort(values.begin(), values.end(), std::greater<>());
  values.erase(std::unique(values.begin(), values.end()), values.end());
  return values;
}

int IndexIn(const std::vector<int32_t>& values, int32_t v) {
  return static_cast<int>(std::find(values.begin(), values.end(), v) - values.begin());
}

}  // namespace

TLayoutScheme BuildLayoutScheme(const lottery::TDrawsArray& draws, int offset, int64_t length) {
  TLayoutScheme scheme;
  scheme.Grid.Reset(2, 2);
  const TDrawWindow window = DrawWindow(draws, offset, length);
  if (window.Empty()) return scheme;
  scheme.Records = CountWindowValues(draws, window);
  std::vector<int32_t> counts, numbers;
  for (const auto& r : scheme.Records) {
    counts.push_back(r.Count);
    numbers.push_back(r.Draw);
  }
  counts = DistinctDescending(counts);
  numbers = DistinctDescending(numbers);
  TViewGrid& grid = scheme.Grid;
  grid.Reset(static_cast<int>(counts.size()) + 1, static_cast<int>(numbers.size()) + 1);
  for (size_t i = 0; i < counts.size(); ++i) grid.Cell(static_cast<int>(i) + 1, 0) = std::to_string(counts[i]);
  for (size_t i = 0; i < numbers.size(); ++i) grid.Cell(0, static_cast<int>(i) + 1) = std::to_string(numbers[i]);
  const lottery::TDrawRec* hidden = lottery::HiddenDraw(draws, offset);
  for (const auto& r : scheme.Records) {
    std::string text = lottery::ValueToText(static_cast<uint8_t>(r.Value));
    if (hidden && lottery::ContainsValue(static_cast<uint8_t>(r.Value), hidden->Values)) text = fmt::format("[{}]", text);
    std::string& cell = grid.Cell(IndexIn(counts, r.Count) + 1, IndexIn(numbers, r.Draw) + 1);
    if (!cell.empty()) cell += ", ";
    cell += text;
  }
  return scheme;
}

uint32_t LayoutCellColor(const std::string& text, int row, int col, int rows, int cols, bool gradient) {
  if (text.find('[') != std::string::npos) return 0x00FF00;
  if (gradient && rows > 0 && cols > 0) {
    const double r = static_cast<double>(row) / rows, c = static_cast<double>(col) / cols;
    return Rgb(RoundToInt(255 - 155 * r), RoundToInt(255 - 155 * c), RoundToInt(100 + 155 * r));
  }
  return Banded(row) != Banded(col) ? 0xFFEAEA : 0xEAFFEA;
}

TLayoutCompare BuildLayoutCompare(const lottery::TDrawsArray& draws, int offset, int64_t length) {
  TLayoutCompare list;
  const TDrawWindow window = DrawWindow(draws, offset, length);
  if (window.Empty()) return list;
  list.Caption = fmt::format("{} - {}", draws[static_cast<size_t>(window.First)].Number,
                             draws[static_cast<size_t>(window.Last)].Number);
  for (const auto& r : CountWindowValues(draws, window)) {
    const std::string text = lottery::ValueToText(static_cast<uint8_t>(r.Value));
    auto it = std::find_if(list.Rows.begin(), list.Rows.end(), [&](const TLayoutCompareRow& row) { return row.Count == r.Count; });
    if (it != list.Rows.end()) {
      it->Values += ", ";
      it->Values += text;
    } else {
      list.Rows.push_back({r.Count, text});
    }
  }
  std::stable_sort(list.Rows.begin(), list.Rows.end(),
                   [](const TLayoutCompareRow& a, const TLayoutCompareRow& b) { return a.Count > b.Count; });
  return list;
}

}  // namespace kelmora::views
