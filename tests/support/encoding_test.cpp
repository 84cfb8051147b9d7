#include "support/encoding.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

namespace kelmora::support {
namespace {

// Converts one Windows-1251 byte with glibc's iconv directly; nullopt where iconv has no mapping.
std::optional<std::string> IconvByte(unsigned char byte) {
  iconv_t cd = iconv_open("UTF-8", "CP1251");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  char in = static_cast<char>(byte);
  char out[8];
  char* in_ptr = &in;
  char* out_ptr = out;
  size_t in_left = 1, out_left = sizeof out;
  size_t rc = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return std::nullopt;
  return std::string(out, sizeof out - out_left);
}

TEST(Encoding, EveryByteAgreesWithIconv) {
  for (int b = 0; b < 256; ++b) {
    std::string byte(1, static_cast<char>(b));
    std::string utf8 = Cp1251ToUtf8(byte);
    if (b == 0x98) {
      EXPECT_EQ(utf8, "\xEF\xBF\xBD") << "0x98 has no character";
      EXPECT_EQ(Utf8ToCp1251(utf8), "?");
      continue;
    }
    std::optional<std::string> expected = IconvByte(static_cast<unsigned char>(b));
    ASSERT_TRUE(expected.has_value()) << "iconv has no mapping for byte " << b;
    EXPECT_EQ(utf8, *expected) << "byte " << b;
    EXPECT_EQ(Utf8ToCp1251(utf8), byte) << "byte " << b;
  }
}

TEST(Encoding, KnownLetters) {
  EXPECT_EQ(Utf8ToCp1251("А"), "\xC0");
  EXPECT_EQ(Utf8ToCp1251("я"), "\xFF");
  EXPECT_EQ(Utf8ToCp1251("Ё"), "\xA8");
  EXPECT_EQ(Utf8ToCp1251("ё"), "\xB8");
  EXPECT_EQ(Utf8ToCp1251("№"), "\xB9");
  EXPECT_EQ(Utf8ToCp1251("€"), "\x88");
  EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
}

TEST(Encoding, CyrillicRoundTrip) {
  const std::string text = "Ошибка чтения файла тиражей! Съешь же ещё этих мягких французских булок, да выпей чаю. ЁЖ №5";
  std::string bytes = Utf8ToCp1251(text);
  size_t characters = 0;
  for (char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  EXPECT_EQ(bytes.size(), characters) << "one byte per character";
  EXPECT_EQ(Cp1251ToUtf8(bytes), text);
  EXPECT_EQ(Cp1251ToUtf8(""), "");
  EXPECT_EQ(Utf8ToCp1251(""), "");
  EXPECT_EQ(Utf8ToCp1251(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Encoding, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("日本"), "??");
  EXPECT_EQ(Utf8ToCp1251("x😀y"), "x?y");
  EXPECT_EQ(Utf8ToCp1251("Ω=ω"), "?=?");
  EXPECT_EQ(Utf8ToCp1251("é"), "?");
}

TEST(Encoding, InvalidUtf8BecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("\xFF"), "?");
  EXPECT_EQ(Utf8ToCp1251("a\x80z"), "a?z");
  EXPECT_EQ(Utf8ToCp1251("\xD0"), "?") << "truncated two-byte sequence";
  EXPECT_EQ(Utf8ToCp1251("\xE2\x82z"), "?z") << "truncated three-byte sequence is one character";
  EXPECT_EQ(Utf8ToCp1251("\xC0\xAF"), "??") << "overlong form";
  EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80"), "???") << "surrogate";
  EXPECT_EQ(Utf8ToCp1251("\xD0\x90\xD0"), "\xC0?");
}

TEST(Encoding, CutToCp1251Bytes) {
  EXPECT_EQ(CutToCp1251Bytes("Привет", 3), "При");
  EXPECT_EQ(CutToCp1251Bytes("Привет", 6), "Привет");
  EXPECT_EQ(CutToCp1251Bytes("Привет", 100), "Привет");
  EXPECT_EQ(CutToCp1251Bytes("Привет", 0), "");
  EXPECT_EQ(CutToCp1251Bytes("abЖcd", 3), "abЖ");
  EXPECT_EQ(CutToCp1251Bytes("a日b", 2), "a日") << "an unmappable character is still one byte";
  EXPECT_EQ(CutToCp1251Bytes("a\xE2\x82z", 2), "a\xE2\x82") << "an invalid sequence counts as one byte";
  std::string long_text;
  for (int i = 0; i < 300; ++i) long_text += "Щ";
  std::string cut = CutToCp1251Bytes(long_text, 255);
  EXPECT_EQ(Utf8ToCp1251(cut).size(), 255u);
}

}  // namespace
}  // namespace kelmora::support
