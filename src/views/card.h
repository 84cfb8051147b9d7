#pragma once
// The page "Карта": every draw as a row of card values, newest first, with its colours. The rows
// are read on demand from the archive, so the card costs nothing to build whatever its length.

#include <cstdint>
#include <string>

#include "lottery/types.h"

namespace kelmora::views {

inline constexpr int CardColumns = 9;  // the draw number, then the cards 7..14

// Rows of the card including its title row: one per draw, and one empty data row for an empty
// archive.
int CardRowCount(const lottery::TDrawsArray& draws);
// The card recomputes when the archive's count plus 1 differs from its row count.
bool CardNeedsRefresh(int shown_rows, const lottery::TDrawsArray& draws);

// Text of a cell: row 0 the titles ("" and the card texts), column 0 the draw numbers; in a draw's
// row the cell of column v - 6 holds the card text of v for every value v the draw holds. Row r is
// the draw r rows back from the newest (row 1 the newest); "" outside.
std::string CardCellText(const lottery::TDrawsArray& draws, int row, int col);

// Colour of a data cell (row >= 1, column 1..8), selection aside: the sequence colours (yellow,
// green, cyan) with `sequences`, else the channel colour with `channels`. Returned as 0xRRGGBB,
// or -1 for the grid's own colour.
int64_t CardCellColor(const lottery::TDrawsArray& draws, int row, int col, bool channels, bool sequences,
                      int channel_size);

}  // namespace kelmora::views
