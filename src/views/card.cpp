#include "views/card.h"

#include <algorithm>

#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"

namespace kelmora::views {

namespace {

// Whether the data cell (row >= 1, column 1..8) holds its card.
bool Filled(const lottery::TDrawsArray& draws, int row, int col) {
  const int count = static_cast<int>(draws.size());
  if (row < 1 || row > count || col < 1 || col > 8) return false;
  return lottery::ContainsValue(col + 6, draws[static_cast<size_t>(count - row)].Values);
}

}  // namespace

int CardRowCount(const lottery::TDrawsArray& draws) { return std::max<int>(1, static_cast<int>(draws.size())) + 1; }

bool CardNeedsRefresh(int shown_rows, const lottery::TDrawsArray& draws) {
  return static_cast<int64_t>(draws.size()) + 1 != shown_rows;
}

std::string CardCellText(const lottery::TDrawsArray& draws, int row, int col) {
  const int count = static_cast<int>(draws.size());
  if (col < 0 || col >= CardColumns || row < 0 || row > count) return {};
  if (row == 0) return col == 0 ? std::string() : lottery::ValueToText(col + 6);
  if (col == 0) return std::to_string(draws[static_cast<size_t>(count - row)].Number);
  return Filled(draws, row, col) ? lottery::ValueToText(col + 6) : std::string();
}

int64_t CardCellColor(const lottery::TDrawsArray& draws, int row, int col, bool channels, bool sequences,
                      int channel_size) {
  if (row < 1 || col < 1 || col > 8) return -1;
  if (sequences && Filled(draws, row, col)) {
    const bool repeat = Filled(draws, row - 1, col) || Filled(draws, row + 1, col);
    const bool neighbour = Filled(draws, row, col - 1) || Filled(draws, row, col + 1);
    if (repeat && neighbour) return 0xFFFF00;
    if (repeat) return 0x00FF00;
    if (neighbour) return 0x00FFFF;
  }
  if (channels) return lottery::ChannelColor(col + 6, channel_size);
  return -1;
}

}  // namespace kelmora::views
