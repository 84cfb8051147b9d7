#include "lottery/draws.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

#include "support/binary_io.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::lottery {

namespace {

constexpr size_t DateTextSize = 10;

}  // namespace

TDrawsArray DecodeDraws(const std::vector<uint8_t>& bytes) {
  const size_t count = bytes.size() / DrawRecordSize;
  TDrawsArray draws(count);
  for (size_t i = 0; i < count; ++i) {
    // One reader per record, so nothing of a damaged record can reach into the next one.
    support::BinaryReader reader(bytes.data() + i * DrawRecordSize, DrawRecordSize);
    TDrawRec& draw = draws[i];
    draw.Number = reader.I32();
    draw.Values = reader.U32();
    draw.Date = reader.ShortString(DateTextSize);  // a length byte above 10 reads 10 characters
  }
  return draws;
}

std::vector<uint8_t> EncodeDraws(const TDrawsArray& draws) {
  support::BinaryWriter writer;
  writer.Data().reserve(draws.size() * DrawRecordSize);
  for (const TDrawRec& draw : draws) {
    writer.I32(draw.Number);
    writer.U32(draw.Values);
    writer.ShortString(draw.Date, DateTextSize);
    writer.U8(0);
  }
  return writer.Data();
}

TDrawsArray LoadDrawsFile(const std::filesystem::path& path) {
  // Anything that exists under the name (even a folder) must be read or reported, never taken
  // for an empty archive that the next save would write over.
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) return {};
  return DecodeDraws(support::ReadFileBytes(path));
}

void SaveDrawsFile(const std::filesystem::path& path, const TDrawsArray& draws) {
  support::WriteFileAtomic(path, EncodeDraws(draws));
}

void DeleteDrawAt(TDrawsArray& draws, int i) {
  if (i < 0 || static_cast<size_t>(i) >= draws.size()) {
    support::Fail("Запись со индексом {} в файле данных не найдена!", i);
  }
  draws.erase(draws.begin() + i);
}

int FindDrawByNumber(const TDrawsArray& draws, int32_t number) {
  if (draws.empty()) return -1;
  const int high = static_cast<int>(draws.size()) - 1;
  const int32_t first = draws.front().Number;
  const int32_t last = draws.back().Number;
  if (first == number) return 0;
  if (last == number) return high;

  // The guess assumes ascending numbers; 64-bit arithmetic and the clamp keep it safe when they
  // are not (a zero or negative span, a number outside the range).
  const int64_t span = int64_t{last} - first + 1;
  int guess = 0;
  if (span != 0) {
    const long double g = std::nearbyint(static_cast<long double>(draws.size()) *
                                         (static_cast<long double>(number) - first) / span);
    guess = g < 0 ? 0 : g > high ? high : static_cast<int>(g);
  }
  if (draws[guess].Number == number) return guess;

  const int step = draws[guess].Number < number ? 1 : -1;
  for (int i = guess + step; i >= 0 && i <= high; i += step) {
    if (draws[i].Number == number) return i;
  }
  for (int i = high; i >= 0; --i) {
    if (draws[i].Number == number) return i;
  }
  return -1;
}

TComb CombOfDrawAtRow(const TDrawsArray& draws, int row) {
  const int index = CurrentDrawIndex(draws, row);
  return index < 0 ? 0 : draws[index].Values;
}

int32_t NextDrawNumber(const TDrawsArray& draws, int row) {
  if (draws.empty()) return 1;
  const int index = CurrentDrawIndex(draws, row);
  if (index < 0) return -1;
  // Wraps like the 32-bit field it mirrors instead of overflowing at the largest number.
  return static_cast<int32_t>(static_cast<uint32_t>(draws[index].Number) + 1u);
}

int32_t CheckedNextDrawNumber(const TDrawsArray& draws) {
  if (draws.empty()) return 1;
  const int32_t newest = draws.back().Number;
  if (newest == std::numeric_limits<int32_t>::max())
    support::Fail("Номер последнего тиража {} — наибольший возможный: следующему тиражу нельзя дать номер!", newest);
  return newest + 1;
}

const TDrawRec* HiddenDraw(const TDrawsArray& draws, int offset) {
  if (offset <= 0 || static_cast<size_t>(offset) >= draws.size()) return nullptr;
  return &draws[CurrentDrawIndex(draws, offset - 1)];
}

int CurrentDrawIndex(const TDrawsArray& draws, int offset) {
  if (offset < 0 || static_cast<size_t>(offset) >= draws.size()) return -1;
  return static_cast<int>(draws.size()) - 1 - offset;
}

}  // namespace kelmora::lottery
