#pragma once
// Text forms of values, combinations, draws and dates.

#include <string>
#include <string_view>

#include "lottery/types.h"

namespace kelmora::lottery {

// 11 "J", 12 "Q", 13 "K", 14 "A", any other value its decimal digits.
std::string ValueToText(int value);
// "J", "Q", "K", "A" ignoring case give 11..14; otherwise the decimal value; 0 when not an integer.
int TextToValue(std::string_view text);

std::string CombToText(TComb comb);        // "7;10;J;A"
std::string CombToSpacedText(TComb comb);  // "7 10 J A" (clipboard form)
// Exactly four words separated by runs of tab, space, ",", "-", ".", ":", ";", "|"; values are
// not range-checked. Throws support::Error "Некорректная комбинация: \"%s\"!" otherwise.
TComb TextToComb(std::string_view text);
// Whether every value of the combination lies in 7..14.
bool IsValidComb(TComb comb);

// "Тираж № %d от %s, значения: %s".
std::string DrawToText(const TDrawRec& draw);
std::string NumberSetToText(const TNumberSet& set, std::string_view separator);
// 1 "Вручную", 2 "Регуляр", 3 "Сценарий", 4 "Система", others "".
std::string StakeKindText(int kind);

// A calendar date (no time). Day 0 means no date.
struct TDate {
  int Year = 0;
  int Month = 0;
  int Day = 0;
  bool operator==(const TDate&) const = default;
  bool IsEmpty() const { return Day == 0 && Month == 0 && Year == 0; }
};
bool IsValidDate(int year, int month, int day);
// "dd/mm/yyyy", or "" for an empty date.
std::string DateToText(const TDate& date);
// Empty (after trimming) text gives an empty date. Otherwise day = chars 1-2, month = 4-5,
// year = 7-10 of the trimmed text; throws support::Error when they do not form a real date.
TDate TextToDate(std::string_view text);
// Day of week of a valid date, 1 = Monday .. 7 = Sunday.
int DayOfWeek(const TDate& date);
// The date `days` days after (or before) the given valid date.
TDate AddDays(const TDate& date, int days);

}  // namespace kelmora::lottery
