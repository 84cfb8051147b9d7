#pragma once
// The values the keep and delete commands of the card, scheme and weekday grids collect from the
// selection: one number-statistic record (the card value in Key1) per distinct value, and the
// texts of the history entry.

#include <functional>
#include <string>
#include <vector>

#include "stats/stat_item.h"

namespace kelmora::views {

// A block of grid cells, inclusive, in grid coordinates (row 0 and column 0 are the titles).
struct TCellRect {
  int Top = 0, Left = 0, Bottom = -1, Right = -1;
};

struct TViewSelection {
  stats::TStatDrawArray Selected;
  std::vector<std::string> Texts;  // joined with "; " for the history
  bool Empty() const { return Selected.empty(); }
};

using CellText = std::function<std::string(int row, int col)>;

// The card: column by column from the left, each from the top down; a value already collected is
// skipped.
TViewSelection CollectCardValues(const CellText& cell, const TCellRect& rect);
// The scheme: the same walk; each cell is cut at "," into words freed of "[", "]" and blanks.
TViewSelection CollectLayoutValues(const CellText& cell, const TCellRect& rect);
// The weekday grid: the columns left..right, column i standing for the card i + 6; the title
// column stands for none.
TViewSelection CollectWeekValues(int left, int right);

}  // namespace kelmora::views
