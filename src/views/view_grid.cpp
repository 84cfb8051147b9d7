#include "views/view_grid.h"

#include <algorithm>

#include "lottery/types.h"

namespace kelmora::views {

void TViewGrid::Reset(int rows, int cols) {
  Rows = rows;
  Cols = cols;
  Cells.assign(static_cast<size_t>(rows) * static_cast<size_t>(cols), std::string());
}

const std::string& TViewGrid::At(int row, int col) const {
  static const std::string empty;
  if (row < 0 || col < 0 || row >= Rows || col >= Cols) return empty;
  return Cells[static_cast<size_t>(row * Cols + col)];
}

TDrawWindow DrawWindow(const lottery::TDrawsArray& draws, int offset, int64_t length) {
  TDrawWindow w;
  const int64_t current = static_cast<int64_t>(draws.size()) - 1 - std::max(0, offset);
  if (current < 0 || length < 1) return w;
  w.Last = static_cast<int>(current);
  w.First = static_cast<int>(std::max<int64_t>(0, current - length + 1));
  return w;
}

lottery::TShemaArray CountWindowValues(const lottery::TDrawsArray& draws, const TDrawWindow& window) {
  lottery::TShemaArray records;
  for (int i = window.Last; i >= window.First; --i) {
    const auto& draw = draws[static_cast<size_t>(i)];
    for (int p = 0; p < lottery::PositionCount; ++p) {
      const int value = lottery::CombValue(draw.Values, p);
      auto it = std::find_if(records.begin(), records.end(), [value](const lottery::TShemaRec& r) {
        return static_cast<uint8_t>(r.Value) == value;
      });
      if (it != records.end()) ++it->Count;
      else records.push_back({value, 1, draw.Number});
    }
  }
  return records;
}

}  // namespace kelmora::views
