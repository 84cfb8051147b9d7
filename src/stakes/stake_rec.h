#pragma once
// One stake: the record of the stakes file, its byte layout, the profit rule, the grid texts and
// the per-matches log line.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "lottery/types.h"

namespace kelmora::stakes {

using lottery::Currency;
using lottery::TComb;

inline constexpr size_t StakeRecSize = 304;
inline constexpr uint8_t StakeRecVersion = 2;
inline constexpr size_t StakeNameMax = 255;
// A log file larger than this is started afresh.
inline constexpr int64_t StakeLogLimit = 268435456;

struct TStakeRec {
  uint8_t Version = StakeRecVersion;
  uint8_t Kind = 0;           // 0 separator, lottery::StakeKind otherwise
  int32_t DrawNumber = -1;
  bool Checked = false;
  int32_t ListSize = 0;       // combinations in the list when the stake was made
  int32_t ValueCount = 0;
  TComb Values = 0;           // byte k = position k+1, as in a combination
  TComb Results = 0;          // the draw's values, set by checking
  int32_t Matches = -1;       // -1 until checked
  std::array<uint8_t, 4> MatchedValues{};  // ascending, unused bytes 0
  Currency Profit = 0;
  std::string Name;           // UTF-8; at most 255 characters in the file
  bool operator==(const TStakeRec&) const = default;
};

// The blank record that divides groups of stakes.
TStakeRec SeparatorRec();
// A stake of one combination: Kind, draw, name, list size, Matches -1 and the unchecked profit.
TStakeRec MakeStake(uint8_t kind, int32_t draw, TComb comb, std::string_view name, int32_t list_size,
                    const lottery::TConfigData& config);

// The 304 bytes of a record, field by field little-endian; the name is cut to 255 Windows-1251 bytes.
void EncodeStake(const TStakeRec& rec, uint8_t* out);
TStakeRec DecodeStake(const uint8_t* in);

// -Cost plus the winnings of the first table row for exactly these matches (none when matches < 0).
Currency ComputeProfit(const lottery::TConfigData& config, int value_count, int matches);

// Fills Checked, Results, Matches, MatchedValues and Profit from the draw's values.
void CheckStakeAgainst(TStakeRec& rec, TComb draw_values, const lottery::TConfigData& config);

// Grid columns: "№ тиража" ... "Комментарий".
inline constexpr int StakeColumnCount = 9;
const std::array<const char*, StakeColumnCount>& StakeColumnCaptions();
// Cell text of a record; empty for every column of a separator and for the check columns of an
// unchecked stake.
std::string StakeCellText(const TStakeRec& rec, int column, char decimal_separator);

// "Kelmora_4r32-%d.log" for the number of matches.
std::filesystem::path StakeLogPath(const std::filesystem::path& dir, int matches);
// The log line without the line break: "yyyy.mm.dd hh:nn:ss: Тираж № ...". time_text is the stamp.
std::string StakeLogLine(const TStakeRec& rec, std::string_view time_text, char decimal_separator);
// Appends the line (Windows-1251, CR LF) to the stake's log file, deleting the file first when it
// is larger than limit. Throws Error with the system's message ("Ошибка удаления файла ..." or
// "Ошибка записи в файл ..." followed by the reason).
void WriteStakeLog(const std::filesystem::path& dir, const TStakeRec& rec, std::string_view time_text,
                   char decimal_separator, int64_t limit = StakeLogLimit);

}  // namespace kelmora::stakes
