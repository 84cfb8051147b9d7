#pragma once
// The combination list with its undo snapshot, its buffer and the history of applied filters, and
// the operations that build, read, write and reduce such lists. Nothing here talks to the user: the
// Session's component adds the status texts and the messages.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lottery/types.h"

namespace kelmora::filtering {

using lottery::TComb;
using lottery::TCombsArray;

// No list, file or pasted text may hold more combinations than there are.
inline constexpr int MaxCombs = lottery::CombsTotal;

// One line of the history shown under the list.
enum class TFilterKind : uint8_t { Keep, Delete, Undo };
struct TFilterHistoryItem {
  TFilterKind Kind = TFilterKind::Keep;
  std::string Caption;  // "Примененные фильтры"
  std::string Values;   // "Значения"
  std::string Count;    // "Комбинаций": the list's size right after the operation
  bool operator==(const TFilterHistoryItem&) const = default;
};

// CombList, UndoList, CombBuffer and FilterHistory. A list's size is its used count; its storage
// (capacity) only grows, so refilling a list within its capacity allocates nothing.
class TCombLists {
 public:
  TCombLists();

  TCombsArray CombList;
  TCombsArray UndoList;
  TCombsArray CombBuffer;
  std::vector<TFilterHistoryItem> FilterHistory;

  int Count() const { return static_cast<int>(CombList.size()); }

  // Empties CombList keeping at least `capacity` entries of storage; a remover then appends.
  void ReserveCombList(size_t capacity);
  // Copies CombList into UndoList. On an allocation failure UndoList is emptied and it rethrows.
  void TakeSnapshot();
  // Copies UndoList back into CombList and empties UndoList. On failure CombList is emptied and it
  // rethrows.
  void UndoCombList();
  void DiscardSnapshot() { UndoList.clear(); }
  bool HasSnapshot() const { return !UndoList.empty(); }

  // The buffer's key: (draws offset, excluded draws); (-1, -1) when empty.
  int32_t BufferKey1() const { return key1_; }
  int32_t BufferKey2() const { return key2_; }
  // Copies CombList into the buffer when the key differs from the buffer's; returns whether it did.
  bool SaveToBuffer(int32_t key1, int32_t key2);
  // When the key equals the buffer's and the buffer is not empty: copies it into CombList, true.
  bool LoadFromBuffer(int32_t key1, int32_t key2);
  void ResetBuffer();

  bool CombListContains(TComb comb) const;

  // FilterHistory entries carry the count of CombList at the moment they are added.
  void ClearFilterHistory() { FilterHistory.clear(); }
  void AddFilterHistory(bool is_delete, std::string_view caption, std::string_view values);
  void AddUndoHistory();  // "Отмена последней операции"
  void RemoveLastFilterHistory();

 private:
  int32_t key1_ = -1;
  int32_t key2_ = -1;
};

// --- generation ---

// Generation modes 0..4; 4 reads a combination file named by the parameter.
inline constexpr int GenerateModeCount = 5;
// The captions of the generation dialog, modes 0..4 ("" for another mode).
std::string GenerateModeCaption(int mode);
// The card values of a parameter text: words at "," and ";", trimmed, read as card texts; words
// giving a value above 255 are ignored. Returns a membership table indexed by value 0..255.
std::vector<bool> GenerationValues(std::string_view parameter);
// Appends the combinations of the full set (in its order) that mode 0..3 keeps; another mode
// appends nothing. Mode 4 (a file) is the caller's: see ReadCombFile.
void GenerateCombs(int mode, std::string_view parameter, TCombsArray& out);

// --- the ".lcv" combination file and the clipboard form ---

// Lines "7;10;J;A" ended by CR LF, in Windows-1251.
std::string EncodeCombFile(const TCombsArray& combs, size_t count);
// The combinations of the usable lines (not empty, exactly four words at "," and ";", each read by
// TextToValue without a range check); other lines are skipped. Throws support::Error when more than
// MaxCombs lines are usable, before returning any.
TCombsArray DecodeCombFile(std::string_view bytes);
// DecodeCombFile of the file; throws support::Error when it cannot be read or holds too many.
TCombsArray ReadCombFile(const std::filesystem::path& path);
// Writes the first `count` combinations through a temporary file; throws support::Error.
void WriteCombFile(const std::filesystem::path& path, const TCombsArray& combs, size_t count);

// The given entries, one per line, "7 10 J A", each line ended by CR LF.
std::string CombsToClipboardText(const TCombsArray& combs, const std::vector<int>& rows);
// Every line of the text read by TextToComb. Throws support::Error with the first bad line's message
// ("Некорректная комбинация: \"%s\"!"), or when there are more than MaxCombs lines. A text without
// lines gives an empty list.
TCombsArray ClipboardTextToCombs(std::string_view text);
// The refusal text for a list of `count` combinations.
std::string TooManyCombsText(size_t count);

// --- removal and lookups ---

// The draws the "Исключить тиражи" command compares with: array indices from
// max(0, High - offset - n + 1) to High - offset; an empty range (first > last) when n <= 0 or the
// current draw is outside the archive.
struct TDrawRange {
  int First = 0;
  int Last = -1;
};
TDrawRange LastDrawsRange(const lottery::TDrawsArray& draws, int offset, int n);
// Appends to `out` (not cleared) every snapshot entry that equals none of the draws in the range,
// in order. progress(done) is called at the first entry and every max(1, size / 100) entries.
void RemoveDrawCombs(const TCombsArray& snapshot, const lottery::TDrawsArray& draws, TDrawRange range,
                     TCombsArray& out, const std::function<void(size_t done)>& progress);
// Copies the snapshot into `out` (cleared first) leaving out the selected row indices.
void RemoveRows(const TCombsArray& snapshot, const std::vector<int>& rows, TCombsArray& out);

// DrawToText of the draws holding the combination position by position, newest first, at most
// `limit` of them.
std::vector<std::string> FindCombInDraws(const lottery::TDrawsArray& draws, TComb comb, int limit = 26);

}  // namespace kelmora::filtering
