#pragma once
// Small text helpers the system's texts and file formats need. All work on UTF-8; "ignoring case"
// covers ASCII and Cyrillic letters.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmora::support {

// Removes leading and trailing characters <= ' ' (spaces and control characters).
std::string_view Trim(std::string_view text);

// Upper case of ASCII and Cyrillic letters; other characters unchanged.
std::string UpperCase(std::string_view text);

// Case-insensitive equality and three-way comparison (ASCII and Cyrillic letters).
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);

// A whole decimal integer (optional leading sign, no spaces); nullopt when the text is not one or
// does not fit in 32 (64) bits.
std::optional<int32_t> ParseInt(std::string_view text);
std::optional<int64_t> ParseInt64(std::string_view text);

// A real number written with "." or "," as decimal separator: optional sign, digits with at most one
// separator, optional exponent ("1,5", "-2.", "1e3"), surrounding blanks ignored; independent of the
// process locale. nullopt for anything else ("", "x", "1.2.3", "inf") or a value out of range.
std::optional<long double> ParseReal(std::string_view text);

// Splits at every occurrence of any of the separator characters; empty pieces are kept, so an empty
// text gives one empty piece.
std::vector<std::string> Split(std::string_view text, std::string_view separators);

// Splits at runs of separator characters; empty pieces vanish.
std::vector<std::string> SplitWords(std::string_view text, std::string_view separators);

// Joins the pieces with the separator.
std::string Join(const std::vector<std::string>& pieces, std::string_view separator);

// Replaces "\r" (the system's line break in messages) by "\n" for display on this platform.
std::string MessageToDisplay(std::string_view message);

// A real in fixed notation with the given decimals and decimal separator ("%.2f" with ',' -> "1,50"),
// rounded as the C library's "%.*Lf" rounds; independent of the process locale.
std::string FormatFixed(long double value, int decimals, char decimal_separator);

// Currency (amount x 10000) as text with two decimals, e.g. 15000 -> "1.50"; the dropped decimals
// round half away from zero (15050 -> "1.51").
std::string FormatMoney(int64_t amount, char decimal_separator);

// Real -> currency: value x 10000 rounded to nearest, ties to even. Throws Error when the result does
// not fit in 64 bits (or the value is not a number).
int64_t RealToMoney(long double value);

}  // namespace kelmora::support
