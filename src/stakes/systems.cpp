#include "stakes/systems.h"

#include <algorithm>
#include <array>
#include <system_error>

#include <fmt/format.h>

#include "support/error.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::stakes {

std::string SystemFileName(int nums, int olap, int32_t id) {
  return fmt::format("{}-{:02d}-{}_{:04d}.dat", SystemCombLength, nums, olap, id);
}

bool IsSystemFileFor(std::string_view name, int n) {
  // "4-NN-*_*.dat": the fixed head, then anything holding an "_", then the extension.
  const std::string head = fmt::format("{}-{:02d}-", SystemCombLength, n);
  constexpr std::string_view Tail = ".dat";
  if (name.size() < head.size() + 1 + Tail.size()) return false;
  if (name.substr(0, head.size()) != head) return false;
  if (!support::SameText(name.substr(name.size() - Tail.size()), Tail)) return false;
  const std::string_view middle = name.substr(head.size(), name.size() - head.size() - Tail.size());
  return middle.find('_') != std::string_view::npos;
}

std::vector<std::filesystem::path> SystemFilesFor(const std::filesystem::path& folder, int n) {
  std::vector<std::filesystem::path> found;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec) && IsSystemFileFor(it->path().filename().string(), n)) found.push_back(it->path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::vector<std::string> SystemRowWords(std::string_view line) {
  return support::SplitWords(line, SystemRowSeparators);
}

TSystemRows NormaliseSystemRows(std::string_view text) {
  TSystemRows out;
  int low = 0, high = 0;
  for (const std::string& raw : support::SplitLines(text)) {
    const auto words = SystemRowWords(support::Trim(raw));
    if (words.size() != SystemCombLength) continue;
    std::array<int, SystemCombLength> numbers{};
    bool numeric = true;
    for (size_t k = 0; k < words.size() && numeric; ++k) {
      const auto v = support::ParseInt(words[k]);
      numeric = v.has_value();
      if (numeric) numbers[k] = *v;
    }
    if (!numeric) continue;
    if (out.Rows.empty()) low = high = numbers[0];
    for (const int v : numbers) {
      low = std::min(low, v);
      high = std::max(high, v);
    }
    out.Rows.push_back(fmt::format("{:02d} {:02d} {:02d} {:02d}", numbers[0], numbers[1], numbers[2], numbers[3]));
  }
  out.CSize = static_cast<int>(out.Rows.size());
  out.Nums = out.Rows.empty() ? 0 : high - low + 1;
  return out;
}

std::vector<uint8_t> DistinctListValues(const lottery::TCombsArray& combs) {
  std::vector<uint8_t> values;
  std::array<bool, 256> seen{};
  for (const lottery::TComb comb : combs) {
    for (int p = 0; p < lottery::PositionCount; ++p) {
      const uint8_t v = lottery::CombValue(comb, p);
      if (seen[v]) continue;
      seen[v] = true;
      values.push_back(v);
      if (values.size() == static_cast<size_t>(lottery::ValueCount)) return values;
    }
  }
  return values;
}

lottery::TComb AscendingComb(lottery::TComb comb) {
  std::array<uint8_t, 4> v{};
  for (int p = 0; p < lottery::PositionCount; ++p) v[static_cast<size_t>(p)] = lottery::CombValue(comb, p);
  std::sort(v.begin(), v.end());
  return lottery::MakeComb(v[0], v[1], v[2], v[3]);
}

lottery::TCombsArray ApplySystemRows(std::string_view text, const std::vector<uint8_t>& values) {
  lottery::TCombsArray combs;
  const int n = static_cast<int>(values.size());
  const auto lines = support::SplitLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = support::Trim(lines[i]);
    if (line.empty()) continue;
    const auto words = SystemRowWords(line);
    const size_t number = i + 1;
    if (words.size() != SystemCombLength)
      support::Fail("Строка {} системы \"{}\": нужно 4 номера позиций, указано {}!", number, line, words.size());
    lottery::TComb comb = 0;
    for (int k = 0; k < SystemCombLength; ++k) {
      const auto position = support::ParseInt(words[static_cast<size_t>(k)]);
      if (!position) support::Fail("Строка {} системы \"{}\": \"{}\" не является числом!", number, line, words[static_cast<size_t>(k)]);
      // A position beyond the values would stake a value that is not in the list.
      if (*position < 1 || *position > n)
        support::Fail("Строка {} системы \"{}\": номер позиции {} вне диапазона 1..{}!", number, line, *position, n);
      comb = lottery::SetCombValue(comb, k, values[static_cast<size_t>(*position - 1)]);
    }
    combs.push_back(comb);
  }
  return combs;
}

std::string SystemNotFoundText(int n) {
  return fmt::format("Система для {} чисел не найдена или не загружена на компьютер!", n);
}

std::string SystemNotFoundBoxText(int n) {
  std::string text = SystemNotFoundText(n);
  text +=
      "\r\rПеред системной игрой необходимо предварительно загрузить системы на Ваш компьютер через меню "
      "\"Системы\" - \"Загрузить\".";
  return text;
}

TSystemLoad LoadSystemFor(const std::filesystem::path& folder, const std::vector<uint8_t>& values) {
  TSystemLoad load;
  const int n = static_cast<int>(values.size());
  const auto files = SystemFilesFor(folder, n);
  if (files.empty()) {
    load.Failure = SystemNotFoundText(n);
    return load;
  }
  load.Found = true;
  load.File = files.front();
  try {
    load.Combs = ApplySystemRows(support::ReadFileText(load.File), values);
    if (load.Combs.empty()) load.Failure = fmt::format("Система \"{}\" не содержит ни одной комбинации!", load.File.filename().string());
  } catch (const std::exception& e) {
    load.Combs.clear();
    load.Failure = e.what();
  }
  return load;
}

std::string SystemStakeName(int n, bool whole, const std::filesystem::path& file) {
  const std::string stem = file.stem().string();
  return whole ? fmt::format("Системная игра для {} чисел [вся система]: {}", n, stem)
               : fmt::format("Системная игра для {} чисел [комбинации]: {}", n, stem);
}

}  // namespace kelmora::stakes
