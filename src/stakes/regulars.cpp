#include "stakes/regulars.h"

#include <array>
#include <cstring>

#include <fmt/format.h>

#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "support/binary_io.h"
#include "support/error.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::stakes {

namespace {

void PutComb(support::BinaryWriter& w, lottery::TComb comb) {
  for (int p = 0; p < lottery::PositionCount; ++p) w.U8(lottery::CombValue(comb, p));
}

lottery::TComb GetComb(support::BinaryReader& r) {
  std::array<uint8_t, 4> v{};
  for (auto& b : v) b = r.U8();
  return lottery::MakeComb(v[0], v[1], v[2], v[3]);
}

}  // namespace

void EncodeTable(const TTableRec& rec, uint8_t* out) {
  support::BinaryWriter w;
  w.ShortString(rec.Name, 255);
  w.U8(rec.UseLastDraw ? 1 : 0);
  PutComb(w, rec.StartComb);
  PutComb(w, rec.LastComb);
  w.Zeros(3);
  w.I32(rec.Step);
  w.I32(rec.Count);
  std::memcpy(out, w.Data().data(), TableRecSize);
}

TTableRec DecodeTable(const uint8_t* in) {
  support::BinaryReader r(in, TableRecSize);
  TTableRec rec;
  rec.Name = r.ShortString(255);
  rec.UseLastDraw = r.U8() != 0;
  rec.StartComb = GetComb(r);
  rec.LastComb = GetComb(r);
  r.Skip(3);
  rec.Step = r.I32();
  rec.Count = r.I32();
  return rec;
}

lottery::TComb ShiftComb(lottery::TComb comb, int step) {
  if (step == 0) return comb;
  lottery::TComb out = comb;
  for (int p = 0; p < lottery::PositionCount; ++p) {
    int w = lottery::CombValue(comb, p) + step;
    if (step > 0 && w > lottery::ValueMax) w -= 8;
    if (step < 0 && w < lottery::ValueMin) w += 8;
    out = lottery::SetCombValue(out, p, w);
  }
  return out;
}

void NextTableComb(TTableRec& rule, const lottery::TDrawsArray& draws, int offset) {
  const lottery::TComb base = rule.UseLastDraw ? lottery::CombOfDrawAtRow(draws, offset) : rule.LastComb;
  rule.LastComb = ShiftComb(base, rule.Step);
  ++rule.Count;
}

void ReadTablesFile(const std::filesystem::path& path, TTablesArray& tables) {
  const std::vector<uint8_t> bytes = support::ReadFileBytes(path);
  const size_t whole = bytes.size() / TableRecSize;
  for (size_t i = 0; i < whole; ++i) tables.push_back(DecodeTable(bytes.data() + i * TableRecSize));
}

void WriteTablesFile(const std::filesystem::path& path, const TTablesArray& tables) {
  std::vector<uint8_t> bytes(tables.size() * TableRecSize);
  for (size_t i = 0; i < tables.size(); ++i) EncodeTable(tables[i], bytes.data() + i * TableRecSize);
  support::WriteFileAtomic(path, bytes);
}

void DeleteTable(TTablesArray& tables, int index) {
  if (index < 0 || index >= static_cast<int>(tables.size()))
    support::Fail("Запись со индексом {} в файле данных не найдена!", index);
  tables.erase(tables.begin() + index);
}

int FindTable(const TTablesArray& tables, std::string_view name) {
  for (size_t i = 0; i < tables.size(); ++i)
    if (support::SameText(tables[i].Name, name)) return static_cast<int>(i);
  return -1;
}

const char* TableColumnCaption(int column) {
  static constexpr std::array<const char*, TableColumnCount> Captions = {
      "Комментарий", "Стартовая комбинация", "Шаг", "Текущая комбинация", "Ставок"};
  return column >= 0 && column < TableColumnCount ? Captions[column] : "";
}

std::string TableCellText(const TTableRec& rec, int column) {
  switch (column) {
    case 0: return rec.Name;
    case 1: return lottery::CombToText(rec.StartComb);
    case 2: return std::to_string(rec.Step);
    case 3: return lottery::CombToText(rec.LastComb);
    case 4: return std::to_string(rec.Count);
    default: return {};
  }
}

}  // namespace kelmora::stakes
