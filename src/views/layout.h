#pragma once
// The page "Схема": the scheme of drawn values (one row per occurrence count, one column per draw
// number), its colours, and the five comparison lists of values by count.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lottery/types.h"
#include "views/view_grid.h"

namespace kelmora::views {

// Inputs the scheme was computed with; equal inputs need no new computation.
struct TLayoutCacheKey {
  int DrawsCount = -1;
  int Offset = -1;
  int64_t Length = -1;
  bool operator==(const TLayoutCacheKey&) const = default;
};

struct TLayoutScheme {
  TViewGrid Grid;               // 2 x 2 at least; row 0 the draw numbers, column 0 the counts
  lottery::TShemaArray Records; // in order of creation
};

// The scheme of the window of `length` draws (at least 1) at the offset. A value of the hidden draw
// (offset above 0) is written in "[" and "]"; cells holding several values join them with ", ".
// An empty window leaves the 2 x 2 grid with empty cells.
TLayoutScheme BuildLayoutScheme(const lottery::TDrawsArray& draws, int offset, int64_t length);

// Colour of a data cell (row, col >= 1) of a grid of `rows` x `cols` cells, selection aside:
// green for a bracketed value, then the gradient or the 5 x 5 checkerboard.
uint32_t LayoutCellColor(const std::string& text, int row, int col, int rows, int cols, bool gradient);

// One comparison list: "Кол-во" and the values with that count; the caption is the window
// "first - last" (draw numbers), "" for an empty archive.
struct TLayoutCompareRow {
  int32_t Count = 0;
  std::string Values;
};
struct TLayoutCompare {
  std::string Caption;
  std::vector<TLayoutCompareRow> Rows;  // the list's initial order: "Кол-во" descending
};
TLayoutCompare BuildLayoutCompare(const lottery::TDrawsArray& draws, int offset, int64_t length);

}  // namespace kelmora::views
