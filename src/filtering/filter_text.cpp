#include "filtering/filter_text.h"

#include <algorithm>

#include <fmt/format.h>

#include "support/text.h"

namespace kelmora::filtering {

namespace {

constexpr const char* ErrorText = "# ERROR #";

struct ModeInfo {
  const char* Code;
  const char* Caption;
};

constexpr std::array<ModeInfo, LevelModeCount> LevelModes = {{
    {"LNO", "Весь список (без условий)"},
    {"LMV", "\"Глубина\": не менее заданного значения"},
    {"LMP", "\"Глубина\": не менее заданного процента"},
    {"LLV", "\"Глубина\": не более заданного значения"},
    {"LLP", "\"Глубина\": не более заданного процента"},
    {"LDV", "\"Глубина\": из заданного списка значений"},
    {"LDP", "\"Глубина\": из заданного списка процентов"},
    {"DMV", "\"Отклонение\": не менее заданного значения"},
    {"DMP", "\"Отклонение\": не менее заданного процента"},
    {"DLV", "\"Отклонение\": не более заданного значения"},
    {"DLP", "\"Отклонение\": не более заданного процента"},
    {"DDV", "\"Отклонение\": из заданного списка значений"},
    {"DDP", "\"Отклонение\": из заданного списка процентов"},
    {"CMV", "\"Количество\": не менее заданного значения"},
    {"CMP", "\"Количество\": не менее заданного процента"},
    {"CLV", "\"Количество\": не более заданного значения"},
    {"CLP", "\"Количество\": не более заданного процента"},
    {"CDV", "\"Количество\": из заданного списка значений"},
    {"CDP", "\"Количество\": из заданного списка процентов"},
    {"WMV", "\"Вес\": не менее заданного значения"},
    {"WLV", "\"Вес\": не более заданного значения"},
    {"WDV", "\"Вес\": из заданного списка значений"},
    {"PIM", "\"Период min\": не менее заданного значения"},
    {"PIL", "\"Период min\": не более заданного значения"},
    {"PIR", "\"Период min\": из заданного списка значений"},
    {"PAM", "\"Период\": не менее заданного значения"},
    {"PAL", "\"Период\": не более заданного значения"},
    {"PAR", "\"Период\": из заданного списка значений"},
    {"PXM", "\"Период max\": не менее заданного значения"},
    {"PXL", "\"Период max\": не более заданного значения"},
    {"PXR", "\"Период max\": из заданного списка значений"},
    {"LVA", "\"Значения\": из заданного списка значений"},
}};

constexpr std::array<ModeInfo, StopModeCount> StopModes = {{
    {"SF", "Обработать все записи"},
    {"SC", "Количеству оставшихся комбинаций"},
    {"SZ", "Пока список не будет пуст и откатить на шаг"},
    {"ST", "Количеству шагов"},
    {"SV", "Значению в списке статистики"},
    {"SP", "Процентному соотношению в списке статистики"},
}};

// Case-insensitive prefix test (the codes are ASCII).
bool HasPrefix(std::string_view word, std::string_view prefix) {
  return word.size() >= prefix.size() && support::SameText(word.substr(0, prefix.size()), prefix);
}

// Piece i of the text cut at ':', trimmed; "" when missing.
std::string SubWord(const std::vector<std::string>& pieces, size_t i) {
  return i < pieces.size() ? std::string(support::Trim(pieces[i])) : std::string();
}

// The weights' reading: only digits and '-' count, ',' and '.' are the decimal point; 0 otherwise.
long double ReadWeight(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if ((c >= '0' && c <= '9') || c == '-') kept += c;
    else if (c == ',' || c == '.') kept += '.';
  }
  return support::ParseReal(kept).value_or(0);
}

std::string FormatWeight(long double value) {
  // Fifteen significant digits are what a double holds exactly, and "." whatever the locale.
  std::string text = fmt::format("{:.15g}", static_cast<double>(value));
  const size_t e = text.find('e');
  if (e == std::string::npos) return text;
  // The reader keeps only digits, signs and points, so an exponent would change the value: write
  // the same fifteen digits in positional form instead.
  const int exponent = support::ParseInt(std::string_view(text).substr(e + 1)).value_or(0);
  const long double rounded = support::ParseReal(text).value_or(0);
  text = fmt::format("{:.{}f}", static_cast<double>(rounded), std::max(0, 14 - exponent));
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

// Word 1: direction, selection, filter mode.
std::string FlagsWord(bool bottom_up, bool multi, bool keep) {
  std::string w;
  w += bottom_up ? 'B' : 'T';
  w += multi ? 'M' : 'S';
  w += keep ? 'F' : 'D';
  return w;
}

std::string TailWords(uint8_t level_mode, std::string_view level_value, uint8_t stop_mode, int32_t stop_value,
                      const TFilterCdl& cdl) {
  std::string text = fmt::format("#{}:{}#{}:{}", LevelModeCode(level_mode), level_value, StopModeCode(stop_mode),
                                 stop_value);
  // Appended piece by piece: GCC 12 at -O3 reports a false -Wrestrict inside `"#" + std::string`.
  if (cdl.Override) {
    text += '#';
    text += CdlToText(cdl.Settings);
  }
  return text;
}

}  // namespace

std::string LevelModeCode(int mode) {
  return mode >= 0 && mode < LevelModeCount ? LevelModes[static_cast<size_t>(mode)].Code : ErrorText;
}
std::string StopModeCode(int mode) {
  return mode >= 0 && mode < StopModeCount ? StopModes[static_cast<size_t>(mode)].Code : ErrorText;
}
std::string LevelModeCaption(int mode) {
  return mode >= 0 && mode < LevelModeCount ? LevelModes[static_cast<size_t>(mode)].Caption : ErrorText;
}
std::string StopModeCaption(int mode) {
  return mode >= 0 && mode < StopModeCount ? StopModes[static_cast<size_t>(mode)].Caption : ErrorText;
}

bool IsListMode(int mode) {
  switch (mode) {
    case LDV: case LDP: case DDV: case DDP: case CDV: case CDP: case WDV: case PIR: case PAR: case PXR: case LVA:
      return true;
    default:
      return false;
  }
}

bool IsThresholdMode(int mode) { return mode > 0 && mode < LevelModeCount && !IsListMode(mode); }

std::string CdlToText(const lottery::TCdlSettings& cdl) {
  return fmt::format("{}:{}:{}:{}:{}", FormatWeight(cdl.Count), FormatWeight(cdl.Deviation), FormatWeight(cdl.Level),
                     cdl.UsePercents ? 1 : 0, cdl.UseAbsValues ? 1 : 0);
}

TFilterItem FilterItemFromText(std::string_view text, const stats::TStatList& list) {
  TFilterItem item;
  if (text.empty()) return item;
  item.Active = true;
  const auto words = support::SplitWords(text, "#");
  auto word = [&](size_t i) { return i < words.size() ? std::string(support::Trim(words[i])) : std::string(); };

  const std::string w1 = word(0);
  item.BottomUp = w1.find('B') != std::string::npos;
  item.MultiSelect = w1.find('M') != std::string::npos;
  item.KeepSelected = w1.find('F') != std::string::npos;
  item.SortColumn = w1.size() >= 4 ? support::ParseInt(std::string_view(w1).substr(3)).value_or(1) : 1;

  item.StatText = word(1);
  if (!item.StatText.empty()) {
    for (int i = 0; i < list.Count(); ++i) {
      if (HasPrefix(item.StatText, list.Items(i).Code())) {
        item.Method = &list.Items(i);
        item.DrawsLen = SubWord(support::Split(item.StatText, ":"), 1);
        break;
      }
    }
  }

  if (const std::string w3 = word(2); !w3.empty()) {
    for (int m = 0; m < LevelModeCount; ++m) {
      if (HasPrefix(w3, LevelModes[static_cast<size_t>(m)].Code)) {
        item.LevelMode = static_cast<uint8_t>(m);
        item.LevelValue = SubWord(support::Split(w3, ":"), 1);
        break;
      }
    }
  }

  if (const std::string w4 = word(3); !w4.empty()) {
    for (int m = 0; m < StopModeCount; ++m) {
      if (HasPrefix(w4, StopModes[static_cast<size_t>(m)].Code)) {
        item.StopMode = static_cast<uint8_t>(m);
        item.StopValue = support::ParseInt(SubWord(support::Split(w4, ":"), 1)).value_or(1);
        break;
      }
    }
  }

  if (const std::string w5 = word(4); !w5.empty()) {
    const auto pieces = support::Split(w5, ":");
    item.CDL.Override = true;
    item.CDL.Settings.Count = ReadWeight(SubWord(pieces, 0));
    item.CDL.Settings.Deviation = ReadWeight(SubWord(pieces, 1));
    item.CDL.Settings.Level = ReadWeight(SubWord(pieces, 2));
    item.CDL.Settings.UsePercents = SubWord(pieces, 3) == "1";
    item.CDL.Settings.UseAbsValues = SubWord(pieces, 4) == "1";
  }
  return item;
}

std::string FilterItemToText(const TFilterItem& item) {
  if (!item.Active) return {};
  std::string text = FlagsWord(item.BottomUp, item.MultiSelect, item.KeepSelected) + std::to_string(item.SortColumn);
  text += '#';
  // A run of "#" reads as one separator, so an empty statistic word is written as a blank: the
  // words after it keep their places when the text is read again.
  text += item.Method ? item.Method->Code() + ":" + item.DrawsLen : item.StatText.empty() ? " " : item.StatText;
  text += TailWords(item.LevelMode, item.LevelValue, item.StopMode, item.StopValue, item.CDL);
  return text;
}

std::string FilterPartToText(const TFilterPart& part) {
  if (!part.Active) return {};
  // The sort column is part of the choice: a rating row turned back into a step must reproduce it.
  std::string text = FlagsWord(part.BottomUp, part.MultiSelect, part.KeepSelected) + std::to_string(part.SortColumn);
  text += '#';
  text += (part.Method ? part.Method->Code() : std::string("?")) + ":" + std::to_string(part.DrawsLen);
  text += TailWords(part.LevelMode, part.LevelText, part.StopMode, part.StopValue, part.CDL);
  return text;
}

std::string FilterVarToText(const TFilterRec& rec) {
  std::string text;
  for (const auto& part : rec) {
    std::string one = FilterPartToText(part);
    if (one.empty()) continue;
    if (!text.empty()) text += " + ";
    text += one;
  }
  return text;
}

}  // namespace kelmora::filtering
