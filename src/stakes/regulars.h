#pragma once
// Regular (table) stakes: a rule moves a combination one step along the card scale per draw. The
// rules are kept in Kelmora_4r32.ltb, 276-byte records one after another, no header.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "lottery/types.h"

namespace kelmora::stakes {

inline constexpr size_t TableRecSize = 276;
inline constexpr int TableStepMax = 14;
// Beyond this step a shifted value can leave 7..14 (one wrap only).
inline constexpr int TableStepSafe = 8;

struct TTableRec {
  std::string Name;             // UTF-8; at most 255 Windows-1251 bytes in the file
  bool UseLastDraw = false;     // start from the draw at the current offset instead of LastComb
  lottery::TComb StartComb = 0; // zero bytes when UseLastDraw
  lottery::TComb LastComb = 0;  // produced last; equal to StartComb at creation
  int32_t Step = 1;             // -14..14
  int32_t Count = 0;            // combinations produced so far
  bool operator==(const TTableRec&) const = default;
};
using TTablesArray = std::vector<TTableRec>;

// The 276 bytes of a record, field by field little-endian.
void EncodeTable(const TTableRec& rec, uint8_t* out);
TTableRec DecodeTable(const uint8_t* in);

// Each value moved by step, wrapping once: above 14 minus 8 for a positive step, below 7 plus 8
// for a negative one. A zero byte stays a shifted number (the system stakes it as it is).
lottery::TComb ShiftComb(lottery::TComb comb, int step);
// The rule's next combination into LastComb, Count + 1. The base is the draw at the offset (zero
// bytes outside the archive) with UseLastDraw, else LastComb.
void NextTableComb(TTableRec& rule, const lottery::TDrawsArray& draws, int offset);

// Reads every whole record of the file into tables (appending as it goes, so a failure keeps what
// was read). Throws support::Error with the reason when the file cannot be read.
void ReadTablesFile(const std::filesystem::path& path, TTablesArray& tables);
// Rewrites the file with every record (temporary file and rename). Throws support::Error.
void WriteTablesFile(const std::filesystem::path& path, const TTablesArray& tables);

// Removes one rule; an index outside the list throws "Запись со индексом %d в файле данных не
// найдена!".
void DeleteTable(TTablesArray& tables, int index);
// The index of the rule with this name, ignoring case (the dialog refuses a taken name); -1 when
// there is none.
int FindTable(const TTablesArray& tables, std::string_view name);

// The rules view: "Комментарий", "Стартовая комбинация", "Шаг", "Текущая комбинация", "Ставок".
inline constexpr int TableColumnCount = 5;
const char* TableColumnCaption(int column);
// Combinations as card texts joined by ";" (a zero byte "0", a value outside 7..14 its number).
std::string TableCellText(const TTableRec& rec, int column);

}  // namespace kelmora::stakes
