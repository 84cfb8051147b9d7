#include "net/vendor.h"

#include <set>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kelmora::net {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string FailureOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(no failure)";
}

TEST(CEscape, ControlCharactersQuotesAndBackslashes) {
  const struct {
    std::string In;
    std::string Out;
  } cases[] = {
      {"plain text", "plain text"},
      {std::string("\0\1\2\3\4\5\6", 7), "\\0\\1\\2\\3\\4\\5\\6"},
      {"\a\b\t\n\v\f\r\x1b", "\\a\\b\\t\\n\\v\\f\\r\\e"},
      {"say \"hi\" it's?", "say \\\"hi\\\" it\\'s\\?"},
      {"C:\\path", "C:\\\\path"},
      {"\x0e\x1a\x1f", "\x0e\x1a\x1f"},  // other control characters stay
      {"Тираж №5", "Тираж №5"},
  };
  for (const auto& c : cases) EXPECT_EQ(CEscape(c.In), c.Out) << c.In;
}

TEST(TextBetween, Cases) {
  const struct {
    const char* Text;
    const char* Start;
    const char* End;
    const char* Result;
  } cases[] = {
      {"<a> value </a>", "<a>", "</a>", "value"},
      {"<A>Upper</a>", "<a>", "</A>", "Upper"},
      {"none here", "<a>", "</a>", ""},
      {"<a>\"quoted\"</a>", "<a>", "</a>", "quoted"},
      {"<a> \"say \"\"hi\"\"\" </a>", "<a>", "</a>", "say \"hi\""},
      {"<a>\"</a>", "<a>", "</a>", "\""},                    // one quote is no pair
      {"<a>\"open only</a>", "<a>", "</a>", "\"open only"},  // not both ends
      {"<a>first</a><a>second</a>", "<a>", "</a>", "first"},
      {"x<a></a>", "<a>", "</a>", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TextBetween(c.Text, c.Start, c.End), c.Result) << c.Text;
}

TEST(TextBetween, AMissingEndMarkerFailsNamingTheTextAndMarkers) {
  EXPECT_EQ(FailureOf([] { TextBetween("<id>12", "<id>", "</id>"); }),
            "Не удалось найти пару идентификаторов \"<id>\" - \"</id>\" в тексте\r\r[<id>12]!");
}

TEST(CutTextBetween, WalksThroughSuccessiveRows) {
  std::string text = "<row>1</row> <row> \"two\" </row><row>3";
  EXPECT_EQ(CutTextBetween(text, "<row>", "</row>"), "1");
  EXPECT_EQ(text, " <row> \"two\" </row><row>3");
  EXPECT_EQ(CutTextBetween(text, "<ROW>", "</ROW>"), "two");
  EXPECT_EQ(text, "<row>3");
  EXPECT_THROW(CutTextBetween(text, "<row>", "</row>"), std::exception);
  std::string rest = "tail";
  EXPECT_EQ(CutTextBetween(rest, "<row>", "</row>"), "");
  EXPECT_EQ(rest, "tail") << "a missing start marker leaves the text";
}

TEST(ReadAnswerRows, RowsInOrderElementsByName) {
  const auto rows = ReadAnswerRows(
      "<?xml?><result><row><id>1</id><title>\"A \"\"B\"\"\"</title></row>\r\n<row><id>2</id><error></error></row></result>");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(AnswerElement(rows[0], "id"), "1");
  EXPECT_EQ(AnswerElement(rows[0], "title"), "A \"B\"");
  EXPECT_EQ(AnswerElement(rows[0], "missing"), "");
  EXPECT_EQ(AnswerElement(rows[1], "id"), "2");
}

TEST(ReadAnswerRows, EdgeCases) {
  const struct {
    const char* What;
    const char* Answer;
    size_t Rows;
    const char* Failure;
  } cases[] = {
      {"no result", "<html>Service unavailable</html>", 0, nullptr},
      {"an empty result", "<result></result>", 0, nullptr},
      {"a row with an error fails the request", "<result><row><id>1</id></row><row><error>Нет доступа</error></row></result>",
       0, "Нет доступа"},
      {"a result without its end", "<result><row>1</row>", 0, "\"<result>\" - \"</result>\""},
      {"a row without its end", "<result><row><id>1</id></result>", 0, "\"<row>\" - \"</row>\""},
  };
  for (const auto& c : cases) {
    if (c.Failure) {
      EXPECT_THAT(FailureOf([&] { ReadAnswerRows(c.Answer); }), HasSubstr(c.Failure)) << c.What;
    } else {
      EXPECT_EQ(ReadAnswerRows(c.Answer).size(), c.Rows) << c.What;
    }
  }
}

TEST(UserIdentity, FieldsInOrderNamesEscaped) {
  TUserIdentity id;
  id.AppVer = "0.1.0.0";
  id.InstallId = "{ID}";
  id.UserName = "O'Neil";
  id.UserMail = "a@b.test";
  EXPECT_THAT(IdentityFields(id, 1049),
              ElementsAre(std::string("appid=") + AppGuid, "appver=0.1.0.0", "hwdid={ID}", "cl_name=O\\'Neil",
                          "cl_mail=a@b.test", "cl_lcid=1049"));
  EXPECT_EQ(std::string(AppGuid).size(), 38u);
}

TEST(UserIdentity, InstallIdsAreRandomVersion4Uuids) {
  std::set<std::string> seen;
  for (int i = 0; i < 50; ++i) {
    const std::string id = NewInstallId();
    ASSERT_EQ(id.size(), 38u) << id;
    EXPECT_EQ(id.front(), '{');
    EXPECT_EQ(id.back(), '}');
    EXPECT_EQ(id[15], '4') << id;
    EXPECT_NE(std::string("89AB").find(id[20]), std::string::npos) << id;
    seen.insert(id);
  }
  EXPECT_EQ(seen.size(), 50u);
}

}  // namespace
}  // namespace kelmora::net
