#include "catalog/wire.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/vendor.h"

namespace kelmora::catalog {
namespace {

TEST(CatalogWire, Base64MatchesTheStandardVectors) {
  const struct {
    const char* Plain;
    const char* Encoded;
  } cases[] = {{"", ""},          {"f", "Zg=="},         {"fo", "Zm8="},        {"foo", "Zm9v"},
               {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"\xff\xfe", "//4="}};
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeBase64(c.Plain), c.Encoded) << c.Plain;
    EXPECT_EQ(DecodeBase64(c.Encoded), c.Plain) << c.Encoded;
  }
  EXPECT_EQ(DecodeBase64("Zm9v\r\nYmFy"), "foobar");  // line breaks are skipped
  EXPECT_EQ(DecodeBase64("Zm8"), "fo");               // padding may be left out
  for (const char* bad : {"Zm9v!", "Z", "Zm=9", "Zg===", "Zg="})
    EXPECT_EQ(DecodeBase64(bad), std::nullopt) << bad;
}

TEST(CatalogWire, CUnescapeUndoesTheProgramsEscapingOfEveryByte) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(CUnescape(net::CEscape(all)), all);
  EXPECT_EQ(CUnescape("a\\qb\\"), "a\\qb\\");  // what the program never writes stays as it is
}

TEST(CatalogWire, FormFieldsAreDecodedInOrder) {
  const Form form = Form::Parse("a=1&b=x+y%2Bz&c&a=2&d=%ZZ&e=%D0%90");
  EXPECT_EQ(form.Get("a"), "1");
  EXPECT_EQ(form.Get("b"), "x y+z");
  EXPECT_EQ(form.Get("c"), "");
  EXPECT_EQ(form.Get("d"), "%ZZ");
  EXPECT_EQ(form.Get("e"), "А");
  EXPECT_EQ(form.Get("f"), std::nullopt);
}

TEST(CatalogWire, TextElementsReadBackAsSentThroughTheProgramsReader) {
  for (const std::string value : {"plain", " lead", "trail\r\n", "\"quoted\"", "\"", "a \"b\" c", "\"x", ""}) {
    Row row;
    row.Text("v", value).Int("n", -5);
    const auto rows = net::ReadAnswerRows(Answer({row}));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(net::AnswerElement(rows[0], "v"), value) << value;
    EXPECT_EQ(net::AnswerElement(rows[0], "n"), "-5");
  }
}

TEST(CatalogWire, AnErrorTextCannotForgeMarkers) {
  try {
    net::ReadAnswerRows(ErrorAnswer("bad </error></row></result> \"x\""));
    ADD_FAILURE() << "no error";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "bad \u2039/error>\u2039/row>\u2039/result> \"x\"");
  }
}

TEST(CatalogWire, Utf8AndTimes) {
  EXPECT_TRUE(IsUtf8("Ёж 🦔"));
  for (const char* bad : {"\xC3\x28", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3"})
    EXPECT_FALSE(IsUtf8(bad)) << bad;
  EXPECT_EQ(Utf8Length("Ёж 🦔"), 4u);
  EXPECT_EQ(FormatUtc(0), "");
  EXPECT_EQ(FormatUtc(1700000000), "2023-11-14 22:13:20");
  EXPECT_EQ(FormatUtc(951782400), "2000-02-29 00:00:00");
}

}  // namespace
}  // namespace kelmora::catalog
