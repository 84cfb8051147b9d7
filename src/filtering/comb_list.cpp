#include "filtering/comb_list.h"

#include <algorithm>

#include <fmt/format.h>

#include "lottery/comb_text.h"
#include "support/encoding.h"
#include "support/error.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::filtering {

TCombLists::TCombLists() {
  CombList.reserve(MaxCombs);
  UndoList.reserve(MaxCombs);
}

void TCombLists::ReserveCombList(size_t capacity) {
  CombList.clear();
  CombList.reserve(capacity);
}

void TCombLists::TakeSnapshot() {
  try {
    UndoList.assign(CombList.begin(), CombList.end());
  } catch (...) {
    UndoList.clear();
    throw;
  }
}

void TCombLists::UndoCombList() {
  try {
    CombList.assign(UndoList.begin(), UndoList.end());
    UndoList.clear();
  } catch (...) {
    CombList.clear();
    throw;
  }
}

bool TCombLists::SaveToBuffer(int32_t key1, int32_t key2) {
  if (key1 == key1_ && key2 == key2_) return false;
  key1_ = key1;
  key2_ = key2;
  CombBuffer.assign(CombList.begin(), CombList.end());
  return true;
}

bool TCombLists::LoadFromBuffer(int32_t key1, int32_t key2) {
  if (key1 != key1_ || key2 != key2_ || CombBuffer.empty()) return false;
  CombList.assign(CombBuffer.begin(), CombBuffer.end());
  return true;
}

void TCombLists::ResetBuffer() {
  key1_ = -1;
  key2_ = -1;
  CombBuffer.clear();
}

bool TCombLists::CombListContains(TComb comb) const {
  return std::find(CombList.begin(), CombList.end(), comb) != CombList.end();
}

void TCombLists::AddFilterHistory(bool is_delete, std::string_view caption, std::string_view values) {
  FilterHistory.push_back({is_delete ? TFilterKind::Delete : TFilterKind::Keep, std::string(caption),
                           std::string(values), std::to_string(Count())});
}

void TCombLists::AddUndoHistory() {
  FilterHistory.push_back({TFilterKind::Undo, "Отмена последней операции", "", std::to_string(Count())});
}

void TCombLists::RemoveLastFilterHistory() {
  if (!FilterHistory.empty()) FilterHistory.pop_back();
}

// --- generation ---

std::string GenerateModeCaption(int mode) {
  switch (mode) {
    case 0: return "Полный список (все возможные для данного лото варианты)";
    case 1: return "Мои числа - должно присутствовать любое из указанных";
    case 2: return "Мои числа - комбинации только из списка указанных";
    case 3: return "Мои числа - исключить комбинации с любым из указанных";
    case 4: return "Загрузить список из заранее подготовленного CSV-файла";
    default: return {};
  }
}

std::vector<bool> GenerationValues(std::string_view parameter) {
  std::vector<bool> values(256, false);
  for (const auto& word : support::Split(parameter, ",;")) {
    const int v = lottery::TextToValue(support::Trim(word));
    if (v >= 0 && v <= 255) values[static_cast<size_t>(v)] = true;
  }
  return values;
}

void GenerateCombs(int mode, std::string_view parameter, TCombsArray& out) {
  if (mode < 0 || mode > 3) return;
  if (mode == 0) {
    // The full set is one block copy (a script makes it anew for every variant of a step).
    static const TCombsArray full = [] {
      TCombsArray all;
      all.reserve(MaxCombs);
      for (int n = 0; n < lottery::CombsTotal; ++n) all.push_back(lottery::CombOfIndex(n));
      return all;
    }();
    out.insert(out.end(), full.begin(), full.end());
    return;
  }
  const std::vector<bool> listed = mode == 0 ? std::vector<bool>() : GenerationValues(parameter);
  out.reserve(out.size() + MaxCombs);
  for (int n = 0; n < lottery::CombsTotal; ++n) {
    const TComb comb = lottery::CombOfIndex(n);
    int hits = 0;
    if (mode != 0) {
      for (int p = 0; p < lottery::PositionCount; ++p) hits += listed[lottery::CombValue(comb, p)] ? 1 : 0;
    }
    const bool keep = mode == 0 || (mode == 1 && hits > 0) || (mode == 2 && hits == lottery::PositionCount) ||
                      (mode == 3 && hits == 0);
    if (keep) out.push_back(comb);
  }
}

// --- files and clipboard ---

std::string TooManyCombsText(size_t count) {
  return fmt::format("Список содержит {} комбинаций, а допустимо не более {}! Такой список не может быть загружен.",
                     count, MaxCombs);
}

std::string EncodeCombFile(const TCombsArray& combs, size_t count) {
  std::string text;
  count = std::min(count, combs.size());
  text.reserve(count * 12);
  for (size_t i = 0; i < count; ++i) {
    text += lottery::CombToText(combs[i]);
    text += "\r\n";
  }
  return support::Utf8ToCp1251(text);
}

TCombsArray DecodeCombFile(std::string_view bytes) {
  TCombsArray combs;
  size_t usable = 0;
  for (const auto& raw : support::SplitLines(support::Cp1251ToUtf8(bytes))) {
    if (raw.empty()) continue;
    const auto words = support::Split(raw, ",;");
    if (words.size() != 4) continue;
    // Past the limit only the count matters, for the refusal's text.
    if (++usable > static_cast<size_t>(MaxCombs)) continue;
    TComb comb = 0;
    for (int p = 0; p < lottery::PositionCount; ++p) {
      comb = lottery::SetCombValue(comb, p, lottery::TextToValue(support::Trim(words[static_cast<size_t>(p)])));
    }
    combs.push_back(comb);
  }
  if (usable > static_cast<size_t>(MaxCombs)) throw support::Error(TooManyCombsText(usable));
  return combs;
}

TCombsArray ReadCombFile(const std::filesystem::path& path) {
  return DecodeCombFile(support::ReadFileText(path));
}

void WriteCombFile(const std::filesystem::path& path, const TCombsArray& combs, size_t count) {
  support::WriteFileAtomic(path, EncodeCombFile(combs, count));
}

std::string CombsToClipboardText(const TCombsArray& combs, const std::vector<int>& rows) {
  std::string text;
  for (int row : rows) {
    if (row < 0 || static_cast<size_t>(row) >= combs.size()) continue;
    text += lottery::CombToSpacedText(combs[static_cast<size_t>(row)]);
    text += "\r\n";
  }
  return text;
}

TCombsArray ClipboardTextToCombs(std::string_view text) {
  const auto lines = support::SplitLines(text);
  if (lines.size() > static_cast<size_t>(MaxCombs)) throw support::Error(TooManyCombsText(lines.size()));
  TCombsArray combs;
  combs.reserve(lines.size());
  for (const auto& line : lines) combs.push_back(lottery::TextToComb(line));
  return combs;
}

// --- removal and lookups ---

TDrawRange LastDrawsRange(const lottery::TDrawsArray& draws, int offset, int n) {
  TDrawRange range;
  const int last = static_cast<int>(draws.size()) - 1 - offset;
  if (n <= 0 || last < 0 || offset < 0) return range;
  range.First = std::max(0, last - n + 1);
  range.Last = last;
  return range;
}

void RemoveDrawCombs(const TCombsArray& snapshot, const lottery::TDrawsArray& draws, TDrawRange range,
                     TCombsArray& out, const std::function<void(size_t done)>& progress) {
  const size_t step = std::max<size_t>(1, snapshot.size() / 100);
  for (size_t i = 0; i < snapshot.size(); ++i) {
    if (progress && i % step == 0) progress(i);
    const TComb comb = snapshot[i];
    bool drawn = false;
    for (int d = range.First; d <= range.Last && !drawn; ++d) drawn = draws[static_cast<size_t>(d)].Values == comb;
    if (!drawn) out.push_back(comb);
  }
}

void RemoveRows(const TCombsArray& snapshot, const std::vector<int>& rows, TCombsArray& out) {
  std::vector<bool> selected(snapshot.size(), false);
  for (int row : rows) {
    if (row >= 0 && static_cast<size_t>(row) < snapshot.size()) selected[static_cast<size_t>(row)] = true;
  }
  out.clear();
  for (size_t i = 0; i < snapshot.size(); ++i) {
    if (!selected[i]) out.push_back(snapshot[i]);
  }
}

std::vector<std::string> FindCombInDraws(const lottery::TDrawsArray& draws, TComb comb, int limit) {
  std::vector<std::string> found;
  for (auto it = draws.rbegin(); it != draws.rend() && static_cast<int>(found.size()) < limit; ++it) {
    if (it->Values == comb) found.push_back(lottery::DrawToText(*it));
  }
  return found;
}

}  // namespace kelmora::filtering
