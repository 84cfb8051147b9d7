#pragma once
// What the analysis views share: a grid of texts with its title row and column, and the window of
// draws a view is computed over.

#include <cstdint>
#include <string>
#include <vector>

#include "lottery/types.h"

namespace kelmora::views {

// Texts of a grid; row 0 holds the column titles and column 0 the row titles.
struct TViewGrid {
  int Rows = 0;
  int Cols = 0;
  std::vector<std::string> Cells;  // row by row

  // Empties every cell and sets the size.
  void Reset(int rows, int cols);
  // "" outside the grid.
  const std::string& At(int row, int col) const;
  // The cell; the position must lie inside the grid.
  std::string& Cell(int row, int col) { return Cells[static_cast<size_t>(row * Cols + col)]; }
};

// Array indices First..Last (inclusive) of a window of `length` draws ending at the current draw
// (High - offset); Last < First when the archive is empty or the offset leaves no draw.
struct TDrawWindow {
  int First = 0;
  int Last = -1;
  bool Empty() const { return Last < First; }
  int Size() const { return Empty() ? 0 : Last - First + 1; }
};
TDrawWindow DrawWindow(const lottery::TDrawsArray& draws, int offset, int64_t length);

// Counts every value of every draw of the window, walking from the newest draw back, values in
// position order; each record keeps the newest draw that holds the value. Records are in order of
// first appearance on that walk.
lottery::TShemaArray CountWindowValues(const lottery::TDrawsArray& draws, const TDrawWindow& window);

// 0xRRGGBB from the three components.
constexpr uint32_t Rgb(int r, int g, int b) {
  return static_cast<uint32_t>((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
}

}  // namespace kelmora::views
