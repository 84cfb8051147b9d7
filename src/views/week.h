#pragma once
// The page "Неделя": how often each card value came up on each day of the week, its red scale and
// the chart of one row or one column.

#include <array>
#include <cstdint>
#include <string>

#include "lottery/types.h"
#include "support/chart_data.h"
#include "views/view_grid.h"

namespace kelmora::views {

struct TWeekCacheKey {
  int DrawsCount = -1;
  int Offset = -1;
  int64_t Length = -1;
  bool operator==(const TWeekCacheKey&) const = default;
};

struct TWeekStat {
  // Counts[weekday 0..6 (Monday..Sunday)][value 7..14 as 0..7].
  std::array<std::array<int32_t, 8>, 7> Counts{};
  int32_t Max = 0;
};

// The counts over the window of `length` draws; a draw without a valid date is skipped, a value
// drawn in two positions counts twice.
TWeekStat BuildWeekStat(const lottery::TDrawsArray& draws, int offset, int64_t length);

// Short day names Monday..Sunday of the program's language.
const std::array<std::string, 7>& RussianShortDayNames();

// The 9 x 8 grid: column titles the card texts of 7..14, row titles the day names; counts in
// decimal, "" for 0.
TViewGrid WeekGrid(const TWeekStat& stat, const std::array<std::string, 7>& day_names);

// Colour of a non-empty data cell with count n when the largest count is max: from white to red;
// -1 (the grid's own colour) for an empty cell or max 0.
int64_t WeekCellColor(int32_t n, int32_t max);

// The chart for the focused cell: by_day (mode 1) the seven counts of its column's value, else the
// eight counts of its row's weekday; a line (`line`) or bars. No series when the focused cell has
// no value (by day) or no weekday (by value).
support::ChartData WeekChart(const TWeekStat& stat, const std::array<std::string, 7>& day_names, int row, int col,
                             bool by_day, bool line);

}  // namespace kelmora::views
