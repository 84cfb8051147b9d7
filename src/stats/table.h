#pragma once
// The statistics table: one row per value of a statistic over a window of draws, with twenty
// columns of texts, the chart series, the sort rule and the row record other parts read.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/prefetch.h"
#include "stats/stat_item.h"
#include "stats/stat_list.h"
#include "support/chart_data.h"

namespace kelmora::stats {

// The twenty columns in their order: "Значение", "Количество", ... "+/- КРН".
enum class StatColumn : int {
  Value,         // "Значение"
  Count,         // "Количество"
  CountPct,      // "Кол-во в %"
  Norm,          // "Норма"
  Deviation,     // "Отклонение"
  DeviationPct,  // "Откл-ие в %"
  Depth,         // "Глубина"
  DepthPct,      // "Глубина в %"
  Weight,        // "Вес"
  LastDraw,      // "Посл. тираж"
  PeriodMin,     // "Период min"
  Period,        // "Период"
  PeriodMax,     // "Период max"
  ExpectedPrd,   // "Ожд. ПРД"
  ExpectedStf,   // "Ожд. СТФ"
  ExpectedKrn,   // "Ожд. КРН"
  Fact,          // "Факт"
  DeltaPrd,      // "+/- ПРД"
  DeltaStf,      // "+/- СТФ"
  DeltaKrn,      // "+/- КРН"
};
inline constexpr int StatColumnCount = 20;
// The window of a statistics table when none is chosen, in draws.
inline constexpr int32_t DefaultWindowLength = 1000;
constexpr size_t ColumnIndex(StatColumn column) { return static_cast<size_t>(column); }

const std::array<const char*, StatColumnCount>& StatColumnCaptions();
enum class ColumnAlign { Left, Right, Center };
ColumnAlign StatColumnAlignment(int column);

// One row: its own copy of the value's figures, the texts of the twenty columns and, beside each
// text that reads as a number, that number, so sorting and the filters never read texts back.
struct TStatRow {
  TStatDrawItem Item;
  std::array<std::string, StatColumnCount> Cells;
  std::array<long double, StatColumnCount> Numbers{};  // meaningful where NumberMask has the bit
  uint32_t NumberMask = 0;                              // bit c: Cells[c] reads as Numbers[c]

  const std::string& Text(StatColumn c) const { return Cells[ColumnIndex(c)]; }
  // The number the text reads as ("," or "." as the separator); nullopt for "-" and other words.
  std::optional<long double> Number(StatColumn c) const {
    if ((NumberMask >> ColumnIndex(c) & 1u) == 0) return std::nullopt;
    return Numbers[ColumnIndex(c)];
  }
  // Sets a cell from its text alone, reading the number from it (for rows built outside the table).
  void SetCell(StatColumn c, std::string text);
  // Sets a cell whose number is known; nullopt marks a text that is no number.
  void SetCell(StatColumn c, std::string text, std::optional<long double> number);
};

// What a calculation depends on besides Force: when equal, the table need not be recomputed.
struct TStatCalcKey {
  int64_t DrawCount = -1;
  int32_t DrawsOffset = -1;
  int32_t WindowLength = -1;
  int32_t Selected = -1;
  bool operator==(const TStatCalcKey&) const = default;
};

struct TStatTableInput {
  const TStatList* List = nullptr;  // draws, settings and weight coefficients
  int Entry = -1;                   // registry entry
  int32_t DrawsOffset = 0;
  int32_t WindowLength = DefaultWindowLength;  // 1..2147483647
  bool Sorted = false;              // every draw seen with its values ascending
  const TPrefetchData* Prefetch = nullptr;  // the entry's norm file (comparison mode), or nullptr
  bool ShowTotalLine = true;
  char DecimalSeparator = '.';
};

struct TStatTable {
  std::vector<TStatRow> Rows;  // in the order the statistic added the values
  support::ChartData Chart;    // "Фактические данные" and, in Norm mode, "Все возможные комбинации"
  bool NormMode = false;
  long double Ratio = 0;
  int32_t FirstIdx = 0;
  int32_t LastIdx = -1;
  int32_t WindowDraws = 0;  // N
  int64_t Total = 0;
  int32_t MaxDepth = 0;
  void Clear();

  // Working lists reused between calculations, so a recalculation allocates little.
  TStatDrawArray Values;
  TLastValueArray LastValues;
  std::vector<int> KeyOrder;
  std::vector<int32_t> Facts;  // per value: the draw number of its next occurrence, -1 none
  TStatDrawArray ScanValues;
  TLastValueArray ScanLastValues;
};

// Computes the rows and the chart into `out`, reusing its buffers. No rows when there are no draws
// or no entry. Throws what the statistic throws; std::out_of_range for a bad entry.
void CalcStatTable(const TStatTableInput& in, TStatTable& out);
TStatTable CalcStatTable(const TStatTableInput& in);

// The weight of a row (column 8) with the given coefficients; -999.99 on an arithmetic fault.
long double StatWeight(const lottery::TCdlSettings& cdl, const TStatDrawItem& row, bool norm_mode, int64_t total,
                       int32_t max_depth);
// Columns 17..19: "-" when the expected column holds no non-negative integer (nullopt for "-");
// else E - F, with "+" in front when positive.
std::string DeltaText(std::optional<int64_t> expected, int32_t fact);

// The sort rule: texts compare as numbers when both read as numbers after "," -> ".", else as text
// ignoring case; equal texts fall back to the captions (column 0) the same way.
int CompareStatTexts(std::string_view a, std::string_view b);
// Stable sort of the rows by the column, the rule above applied to the rows' numbers and texts;
// descending reverses every comparison. A column outside 0..19 leaves the rows as they are.
void SortStatRows(std::vector<TStatRow>& rows, int column, bool descending);
void SortStatRows(std::vector<TStatRow>& rows, StatColumn column, bool descending);

// One row as texts, the record other parts read rows through.
struct TStatValues {
  std::string Value;
  int32_t NumValue = 0;
  std::string Count;
  std::string CountPct;
  std::string Deviation;
  std::string DeviationPct;
  std::string Depth;
  std::string DepthPct;
  std::string Weight;
  std::string PeriodMin;
  std::string Period;
  std::string PeriodMax;
  bool operator==(const TStatValues&) const = default;
};
// Every field empty (NumValue 0) when row is nullptr.
TStatValues RowToStatValues(const TStatRow* row);

}  // namespace kelmora::stats
