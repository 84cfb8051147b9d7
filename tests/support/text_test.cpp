#include "support/text.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "support/error.h"

namespace kelmora::support {
namespace {

TEST(Text, Trim) {
  EXPECT_EQ(Trim("  abc \t\r\n"), "abc");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim(" \x01 "), "");
  EXPECT_EQ(Trim(" Ёж "), "Ёж") << "UTF-8 bytes above 0x7F are not blanks";
  EXPECT_EQ(Trim("a b"), "a b");
}

TEST(Text, UpperCase) {
  EXPECT_EQ(UpperCase("abcXYZ 123"), "ABCXYZ 123");
  EXPECT_EQ(UpperCase("абвгдеёжзийклмнопрстуфхцчшщъыьэюя"), "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
  EXPECT_EQ(UpperCase("ґєії"), "ҐЄІЇ");
  EXPECT_EQ(UpperCase("éß日"), "éß日") << "other letters are unchanged";
  EXPECT_EQ(UpperCase("a\xFF\xD0"), "A\xFF\xD0") << "invalid bytes pass through";
}

TEST(Text, SameTextAndCompareText) {
  EXPECT_TRUE(SameText("Global", "GLOBAL"));
  EXPECT_TRUE(SameText("ёлка", "ЁЛКА"));
  EXPECT_TRUE(SameText("Профиль", "пРОФИЛЬ"));
  EXPECT_FALSE(SameText("Ель", "Ёль"));
  EXPECT_FALSE(SameText("abc", "abcd"));
  EXPECT_EQ(CompareText("abc", "ABD"), -1);
  EXPECT_EQ(CompareText("b", "A"), 1);
  EXPECT_EQ(CompareText("", ""), 0);
  EXPECT_EQ(CompareText("ab", "AB"), 0);
  EXPECT_EQ(CompareText("ab", "abc"), -1);
  EXPECT_EQ(CompareText("яблоко", "Арбуз"), 1);
  // Ё sorts between Е and Ж, as in the alphabet.
  EXPECT_EQ(CompareText("е", "ё"), -1);
  EXPECT_EQ(CompareText("ё", "ж"), -1);
  EXPECT_EQ(CompareText("Z", "А"), -1) << "Latin before Cyrillic";
}

// SameText skips the common byte prefix; over texts that differ after a shared start in letters,
// pairs, invalid and lone bytes it must agree with the full comparison in every pair.
TEST(Text, SameTextAgreesWithCompareTextAfterACommonPrefix) {
  const std::vector<std::string> texts = {
      "", "Шаг 1: NUMS", "шаг 1: nums", "ШАГ 1: NUMS", "Шаг 1: NUMT", "Шаг 1: NUM", "Шаг 2: NUMS",
      "Шаг 1: ЧИСЛА", "Шаг 1: числа", "Шаг 1: числб", "ёлка", "Ёлка", "ЕЛКА", "a\xC3\xC3\xA9", "A\xC3\xC3\xA9",
      "a\xC3\xC3\xA8", "a\xC3\xA9\xA9", "a\xD0\xB0", "a\xD0\x90", "a\xD0\xD0\x90", "a\xD0\xD0\xB0", "\xFF\xD0",
      "\xFF\xD1", "\xD0\xB0\xD0\xB1", "\xD0\x90\xD0\x91"};
  for (const auto& a : texts) {
    for (const auto& b : texts) EXPECT_EQ(SameText(a, b), CompareText(a, b) == 0) << a << " | " << b;
  }
}

struct IntCase {
  const char* Text;
  std::optional<int32_t> Expected;
};

TEST(Text, ParseIntTable) {
  const IntCase cases[] = {
      {"0", 0},
      {"42", 42},
      {"-7", -7},
      {"+7", 7},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"1,5", std::nullopt},
      {" 2 ", std::nullopt},
      {"2 ", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"+-1", std::nullopt},
      {"1e3", std::nullopt},
      {"x", std::nullopt},
      {"12x", std::nullopt},
      {"0x10", std::nullopt},
  };
  for (const IntCase& c : cases) EXPECT_EQ(ParseInt(c.Text), c.Expected) << "\"" << c.Text << "\"";
}

TEST(Text, ParseInt64) {
  EXPECT_EQ(ParseInt64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(ParseInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(ParseInt64("9223372036854775808"), std::nullopt);
  EXPECT_EQ(ParseInt64("2147483648"), 2147483648LL);
  EXPECT_EQ(ParseInt64("abc"), std::nullopt);
}

struct RealCase {
  const char* Text;
  std::optional<long double> Expected;
};

TEST(Text, ParseRealTable) {
  const RealCase cases[] = {
      {"1.5", 1.5L},
      {"1,5", 1.5L},
      {" 2 ", 2.0L},
      {"\t-0.25\r", -0.25L},
      {"+3", 3.0L},
      {".5", 0.5L},
      {",5", 0.5L},
      {"5.", 5.0L},
      {"1e3", 1000.0L},
      {"1E+3", 1000.0L},
      {"1,5e-2", 0.015L},
      {"0.1", 0.1L},
      {"-0", -0.0L},
      {"123456789012345678", 123456789012345678.0L},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"x", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1,2,3", std::nullopt},
      {"1.5x", std::nullopt},
      {"1 000", std::nullopt},
      {"1e", std::nullopt},
      {"e3", std::nullopt},
      {".", std::nullopt},
      {"-", std::nullopt},
      {"--1", std::nullopt},
      {"inf", std::nullopt},
      {"nan", std::nullopt},
      {"0x10", std::nullopt},
      {"1e99999", std::nullopt},
  };
  for (const RealCase& c : cases) {
    std::optional<long double> got = ParseReal(c.Text);
    ASSERT_EQ(got.has_value(), c.Expected.has_value()) << "\"" << c.Text << "\"";
    if (got) {
      EXPECT_EQ(*got, *c.Expected) << "\"" << c.Text << "\"";
    }
  }
}

TEST(Text, SplitKeepsEmptyPieces) {
  EXPECT_EQ(Split("a,b,,c", ","), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_EQ(Split(",a;", ",;"), (std::vector<std::string>{"", "a", ""}));
  EXPECT_EQ(Split("", ","), (std::vector<std::string>{""}));
  EXPECT_EQ(Split("abc", ","), (std::vector<std::string>{"abc"}));
}

TEST(Text, SplitWordsDropsEmptyPieces) {
  EXPECT_EQ(SplitWords("  a  b\tc ", " \t"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(SplitWords("", " "), (std::vector<std::string>{}));
  EXPECT_EQ(SplitWords("   ", " "), (std::vector<std::string>{}));
  EXPECT_EQ(SplitWords("Туз;Король", ";"), (std::vector<std::string>{"Туз", "Король"}));
}

TEST(Text, Join) {
  EXPECT_EQ(Join({"a", "b", "c"}, ", "), "a, b, c");
  EXPECT_EQ(Join({}, ","), "");
  EXPECT_EQ(Join({"x"}, ","), "x");
  EXPECT_EQ(Join(Split("1;;2", ";"), ";"), "1;;2");
}

TEST(Text, MessageToDisplay) {
  EXPECT_EQ(MessageToDisplay("Ошибка чтения файла тиражей!\r\rнет файла"), "Ошибка чтения файла тиражей!\n\nнет файла");
  EXPECT_EQ(MessageToDisplay("a\r\nb"), "a\nb");
  EXPECT_EQ(MessageToDisplay("plain"), "plain");
}

TEST(Text, FormatFixed) {
  EXPECT_EQ(FormatFixed(1.5L, 2, ','), "1,50");
  EXPECT_EQ(FormatFixed(1.5L, 2, '.'), "1.50");
  EXPECT_EQ(FormatFixed(-3.14159L, 3, '.'), "-3.142");
  EXPECT_EQ(FormatFixed(2.0L, 0, ','), "2");
  EXPECT_EQ(FormatFixed(0.125L, 2, '.'), "0.12") << "the C library rounds exact ties to even";
  EXPECT_EQ(FormatFixed(1e20L, 1, '.'), "100000000000000000000.0");
  std::string huge = FormatFixed(1e70L, 2, ',');  // longer than the first buffer
  EXPECT_GT(huge.size(), 70u);
  EXPECT_EQ(huge.substr(huge.size() - 3), ",00");
}

TEST(Text, FormatFixedIgnoresProcessLocale) {
  // Only C locales exist here; the call must at least leave the thread's locale as it was.
  locale_t before = uselocale(static_cast<locale_t>(0));
  EXPECT_EQ(FormatFixed(0.5L, 1, ';'), "0;5");
  EXPECT_EQ(uselocale(static_cast<locale_t>(0)), before);
}

TEST(Text, FormatMoney) {
  EXPECT_EQ(FormatMoney(15000, '.'), "1.50");
  EXPECT_EQ(FormatMoney(15000, ','), "1,50");
  EXPECT_EQ(FormatMoney(0, '.'), "0.00");
  EXPECT_EQ(FormatMoney(-25000, '.'), "-2.50");
  EXPECT_EQ(FormatMoney(123456789, '.'), "12345.68");
  EXPECT_EQ(FormatMoney(15050, '.'), "1.51");
  EXPECT_EQ(FormatMoney(15049, '.'), "1.50");
  EXPECT_EQ(FormatMoney(-15050, '.'), "-1.51");
  EXPECT_EQ(FormatMoney(-40, '.'), "0.00") << "no sign on a zero";
  EXPECT_EQ(FormatMoney(INT64_MIN, '.'), "-922337203685477.58");
  EXPECT_EQ(FormatMoney(INT64_MAX, '.'), "922337203685477.58");
}

TEST(Text, RealToMoney) {
  EXPECT_EQ(RealToMoney(1.5L), 15000);
  EXPECT_EQ(RealToMoney(0.0L), 0);
  EXPECT_EQ(RealToMoney(-2.25L), -22500);
  EXPECT_EQ(RealToMoney(0.1L), 1000);
  // 1/32 and 3/32 are exact binary values whose amounts are exact ties: 312.5 and 937.5.
  EXPECT_EQ(RealToMoney(0.03125L), 312) << "ties go to the even neighbour";
  EXPECT_EQ(RealToMoney(0.09375L), 938);
  EXPECT_EQ(RealToMoney(-0.03125L), -312);
  EXPECT_EQ(RealToMoney(12.34567L), 123457);
  EXPECT_THROW(RealToMoney(1e300L), Error);
  EXPECT_THROW(RealToMoney(NAN), Error);
}

}  // namespace
}  // namespace kelmora::support
