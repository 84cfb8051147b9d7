#pragma once
// Wheels (systems) for four positions out of n numbered ones: the full wheel and a covering wheel
// found greedily.

#include <array>
#include <string>
#include <vector>

namespace kelmora::catalog {

using WheelRow = std::array<int, 4>;  // positions 1..n, ascending

// Every choice of four of the n positions, in lexicographic order: C(n, 4) rows.
std::vector<WheelRow> FullWheel(int n);

// Rows such that every choice of `t` of the n positions (t 1..4) lies within at least one row:
// each step takes the row (first in lexicographic order on ties) that holds the most choices not
// yet covered. Not always the smallest such wheel, but never one that misses a choice.
std::vector<WheelRow> GreedyCoveringWheel(int n, int t);

// Whether every choice of t of the n positions lies within one of the rows.
bool Covers(const std::vector<WheelRow>& rows, int n, int t);

// The rows as a system's text: "%.2d %.2d %.2d %.2d", one per line, joined by CR LF.
std::string WheelText(const std::vector<WheelRow>& rows);

}  // namespace kelmora::catalog
