#pragma once
// The draws archive: the file "Kelmora_4r32.ldr" of 20-byte records and the lookups every part uses.
// Draws are held oldest first; "row" r counts from the newest draw (row 0).

#include <filesystem>

#include "lottery/types.h"

namespace kelmora::lottery {

constexpr size_t DrawRecordSize = 20;

// Reads the archive file. A missing file gives an empty array. A trailing partial record is ignored.
// Throws support::Error when anything exists under the name but cannot be read (a folder, say).
TDrawsArray LoadDrawsFile(const std::filesystem::path& path);
// Decodes whole records from a byte image (a partial last record is ignored). A length byte above
// 10 reads the 10 date characters of its own record.
TDrawsArray DecodeDraws(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> EncodeDraws(const TDrawsArray& draws);
// Writes every draw in order through a temporary file; throws support::Error on failure, leaving
// the old file intact.
void SaveDrawsFile(const std::filesystem::path& path, const TDrawsArray& draws);

// Removes element i; throws support::Error "Запись со индексом %d в файле данных не найдена!"
// when i is outside the array.
void DeleteDrawAt(TDrawsArray& draws, int i);
// Array index of a draw with the number, -1 when none: the first/last element, then an
// interpolation guess (clamped into the array) and a walk from it towards the number, then a scan
// from the newest draw down, so unordered numbers are found and a duplicate may be any of them.
int FindDrawByNumber(const TDrawsArray& draws, int32_t number);
// Values of the draw at row r; 0 when r is outside the archive.
TComb CombOfDrawAtRow(const TDrawsArray& draws, int row);
// 1 for an empty archive; -1 when the row is outside; else that draw's number + 1 (wrapping at
// the largest 32-bit number).
int32_t NextDrawNumber(const TDrawsArray& draws, int row);
// The number after the newest draw (1 for an empty archive) for a draw about to be stored; throws
// support::Error when the newest number is the largest 32-bit number and so has no successor.
int32_t CheckedNextDrawNumber(const TDrawsArray& draws);
// The draw just after the current one (row offset - 1), when 0 < offset < count; else nullptr.
const TDrawRec* HiddenDraw(const TDrawsArray& draws, int offset);
// Array index of the current draw (row offset), or -1 when outside.
int CurrentDrawIndex(const TDrawsArray& draws, int offset);

}  // namespace kelmora::lottery
