#include "lottery/comb_text.h"

#include <algorithm>

#include <fmt/format.h>

#include "support/error.h"
#include "support/text.h"

namespace kelmora::lottery {

namespace {

constexpr std::string_view CombSeparators = "\t ,-.:;|";

std::string JoinValues(TComb comb, std::string_view separator) {
  std::string text;
  for (int p = 0; p < PositionCount; ++p) {
    if (p > 0) text += separator;
    text += ValueToText(CombValue(comb, p));
  }
  return text;
}

int DaysInMonth(int year, int month) {
  static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : Days[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's civil-date algorithm).
int64_t DaysFromCivil(int year, int month, int day) {
  const int64_t y = year - (month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

TDate CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return TDate{year, month, day};
}

// Characters [from, from + count) of the text as a decimal integer, 0 when they are not one.
int DatePart(std::string_view text, size_t from, size_t count) {
  if (from >= text.size()) return 0;
  return support::ParseInt(text.substr(from, count)).value_or(0);
}

}  // namespace

std::string ValueToText(int value) {
  switch (value) {
    case 11: return "J";
    case 12: return "Q";
    case 13: return "K";
    case 14: return "A";
    default: return std::to_string(value);
  }
}

int TextToValue(std::string_view text) {
  static constexpr std::string_view Cards[] = {"J", "Q", "K", "A"};
  for (int i = 0; i < 4; ++i) {
    if (support::SameText(text, Cards[i])) return 11 + i;
  }
  return support::ParseInt(text).value_or(0);
}

std::string CombToText(TComb comb) { return JoinValues(comb, ";"); }

// The value texts of this game are not all numbers ("J".."A"), so no padding to two characters.
std::string CombToSpacedText(TComb comb) { return JoinValues(comb, " "); }

TComb TextToComb(std::string_view text) {
  const std::vector<std::string> words = support::SplitWords(text, CombSeparators);
  if (words.size() != PositionCount) support::Fail("Некорректная комбинация: \"{}\"!", text);
  TComb comb = 0;
  for (int p = 0; p < PositionCount; ++p) {
    comb = SetCombValue(comb, p, TextToValue(support::Trim(words[p])));
  }
  return comb;
}

bool IsValidComb(TComb comb) {
  for (int p = 0; p < PositionCount; ++p) {
    const int v = CombValue(comb, p);
    if (v < ValueMin || v > ValueMax) return false;
  }
  return true;
}

std::string DrawToText(const TDrawRec& draw) {
  return fmt::format("Тираж № {} от {}, значения: {}", draw.Number, draw.Date, CombToText(draw.Values));
}

std::string NumberSetToText(const TNumberSet& set, std::string_view separator) {
  std::string text;
  const int count = std::clamp(set.Count, 0, 4);
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += separator;
    text += ValueToText(set.Values[i]);
  }
  return text;
}

std::string StakeKindText(int kind) {
  switch (kind) {
    case StakeManual: return "Вручную";
    case StakeRegular: return "Регуляр";
    case StakeScript: return "Сценарий";
    case StakeSystem: return "Система";
    default: return "";
  }
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

std::string DateToText(const TDate& date) {
  if (date.IsEmpty()) return "";
  return fmt::format("{:02}/{:02}/{:04}", date.Day, date.Month, date.Year);
}

TDate TextToDate(std::string_view text) {
  const std::string_view trimmed = support::Trim(text);
  if (trimmed.empty()) return TDate{};
  const int day = DatePart(trimmed, 0, 2);
  const int month = DatePart(trimmed, 3, 2);
  const int year = DatePart(trimmed, 6, 4);
  if (!IsValidDate(year, month, day)) support::Fail("Некорректная дата: \"{}\"!", trimmed);
  return TDate{year, month, day};
}

int DayOfWeek(const TDate& date) {
  // 1970-01-01 was a Thursday (4).
  const int64_t days = DaysFromCivil(date.Year, date.Month, date.Day);
  const int64_t from_monday = ((days + 3) % 7 + 7) % 7;
  return static_cast<int>(from_monday) + 1;
}

TDate AddDays(const TDate& date, int days) {
  return CivilFromDays(DaysFromCivil(date.Year, date.Month, date.Day) + days);
}

}  // namespace kelmora::lottery
