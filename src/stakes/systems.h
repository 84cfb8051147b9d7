#pragma once
// Systems (wheels): rows of four position numbers 1..n that, applied to n card values, give
// combinations. The local store is the "Systems" folder, one downloaded file per value count,
// named "4-NN-O_IIII.dat"; system play turns a system's rows into stakes.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lottery/types.h"

namespace kelmora::stakes {

inline constexpr const char* SystemsFolderName = "Systems";
inline constexpr int SystemCombLength = 4;
inline constexpr int SystemNumsMin = 5;
inline constexpr int SystemNumsMax = 8;
inline constexpr int SystemOlapMax = 3;
// The separators of a row's position numbers (runs count as one).
inline constexpr std::string_view SystemRowSeparators = " *+,-./:;=\\_|~";

// "%d-%.2d-%d_%.4d.dat" with 4, nums, olap and id: "4-08-2_0037.dat".
std::string SystemFileName(int nums, int olap, int32_t id);
// Whether a file name matches "4-NN-*_*.dat" for n values (the mask LoadSystemFor looks for).
bool IsSystemFileFor(std::string_view file_name, int n);
// The downloaded system files for n values in the folder, by name; empty when there is none (or no
// folder).
std::vector<std::filesystem::path> SystemFilesFor(const std::filesystem::path& folder, int n);

// The words of a row cut at the separators.
std::vector<std::string> SystemRowWords(std::string_view line);

// The rows field after editing: every line trimmed; a line of exactly four integer words becomes
// "%.2d %.2d %.2d %.2d", any other line is dropped. Nums is largest - smallest number + 1 (0 without
// rows), CSize the number of rows.
struct TSystemRows {
  std::vector<std::string> Rows;
  int Nums = 0;
  int CSize = 0;
};
TSystemRows NormaliseSystemRows(std::string_view text);

// The distinct card values of a list in the order met (combinations in order, positions 1 to 4),
// at most 8.
std::vector<uint8_t> DistinctListValues(const lottery::TCombsArray& combs);
// The combination with its four values in ascending order (positions s, h, d, c).
lottery::TComb AscendingComb(lottery::TComb comb);

// The system's rows applied to the values: row i gives combination i whose positions s, h, d, c
// are values[k - 1] for the row's words k. Blank lines are skipped. Throws support::Error naming
// the line when a row has not four words, a word is not a number, or a number lies outside
// 1..values.size() (the row would pick a value that is not there).
lottery::TCombsArray ApplySystemRows(std::string_view text, const std::vector<uint8_t>& values);

// What LoadSystemFor found for a list of values.
struct TSystemLoad {
  bool Found = false;             // a file for that many values exists
  lottery::TCombsArray Combs;     // its rows as combinations
  std::filesystem::path File;     // the file read
  std::string Failure;            // why there are no combinations; empty on success
};
// "Система для %d чисел не найдена или не загружена на компьютер!"
std::string SystemNotFoundText(int n);
// The same text with the advice of the error box.
std::string SystemNotFoundBoxText(int n);
// Finds and reads the system for values.size() values in the folder. Not found: Found false and
// SystemNotFoundText. A file that cannot be read or has a bad row: Found true, the failure text.
TSystemLoad LoadSystemFor(const std::filesystem::path& folder, const std::vector<uint8_t>& values);

// System play's combinations: each system combination in file order with its values ascending;
// with whole false only those the list holds (contains answers for the list).
template <typename Contains>
lottery::TCombsArray SystemStakeCombs(const lottery::TCombsArray& system, bool whole, Contains&& contains) {
  lottery::TCombsArray out;
  for (const lottery::TComb row : system) {
    const lottery::TComb comb = AscendingComb(row);
    if (whole || contains(comb)) out.push_back(comb);
  }
  return out;
}
// "Системная игра для %d чисел [вся система]: %s" (whole) or "... [комбинации]: %s", with the
// number of values and the system file's name without folder and extension.
std::string SystemStakeName(int n, bool whole, const std::filesystem::path& file);

}  // namespace kelmora::stakes
