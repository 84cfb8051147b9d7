// Bad input is refused with a reason and leaves the catalogue as it was.

#include <gmock/gmock.h>

#include "catalog_fixture.h"

namespace kelmora::catalog {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Replaces the value of the named field.
net::TFormFields With(net::TFormFields fields, const std::string& name, const std::string& value) {
  for (std::string& f : fields)
    if (f.rfind(name + "=", 0) == 0) f = fmt::format("{}={}", name, value);
  return fields;
}

TEST_F(CatalogTest, BadSystemsAreRefusedAndNothingIsStored) {
  const SystemDraft good;
  const net::TFormFields base = SystemPutFields(Anna, -1, good);
  auto rows_field = [](const std::string& rows) { return EncodeBase64(net::CEscape(rows)); };
  const struct {
    const char* What;
    net::TFormFields Fields;
    const char* Reason;
  } cases[] = {
      {"title of 65 characters", With(base, "title", std::string(65, 'x')), "длиннее 64"},
      {"title of 65 Cyrillic letters", With(base, "title", fmt::format("{:Ж^65}", "")), "длиннее 64"},
      {"blank title", With(base, "title", "  "), "Название"},
      {"position above n", With(base, "clist", rows_field("01 02 03 06\r\n02 03 04 05")), "вне пределов 1..5"},
      {"position 0", With(base, "clist", rows_field("00 02 03 04\r\n02 03 04 05")), "вне пределов"},
      {"three positions", With(base, "clist", rows_field("01 02 03\r\n02 03 04 05")), "четырёх"},
      {"a word that is no number", With(base, "clist", rows_field("01 02 03 x4\r\n02 03 04 05")), "вне пределов"},
      {"more rows than csize", With(base, "clist", rows_field("01 02 03 04\r\n02 03 04 05\r\n01 03 04 05")),
       "csize"},
      {"fewer rows than csize", With(base, "csize", "3"), "csize"},
      {"clist not Base64", With(base, "clist", "***"), "Base64"},
      {"9 values", With(base, "nums", "9"), "nums"},
      {"4 values", With(base, "nums", "4"), "nums"},
      {"combination length 5", With(base, "clen", "5"), "clen"},
      {"block 4", With(base, "olap", "4"), "olap"},
      {"non-numeric identifier", With(base, "sys_id", "1x"), "sys_id"},
      {"non-numeric csize", With(base, "csize", "two"), "csize"},
      {"del_mode 2", With(base, "del_mode", "2"), "del_mode"},
      {"no installation identifier", With(base, "hwdid", ""), "hwdid"},
      {"a marker in the author's name", With(base, "cl_name", "<b>Анна</b>"), "cl_name"},
      {"a marker in the link", With(base, "url", "x</url>"), "url"},
      {"text that is no UTF-8", With(base, "descr", "\xC3\x28"), "UTF-8"},
  };
  for (const auto& c : cases)
    EXPECT_THAT(Refusal("/scripts/sys_putdata.php", c.Fields), HasSubstr(c.Reason)) << c.What;
  EXPECT_THAT(ListSystems(Anna), IsEmpty());

  // The limits themselves are allowed.
  EXPECT_GT(PutSystem(Anna, -1, SystemDraft{.Title = std::string(64, 'x')}), 0);
  EXPECT_GT(PutSystem(Anna, -1, SystemDraft{.Title = fmt::format("{:Ж^64}", "")}), 0);
}

TEST_F(CatalogTest, ARefusedChangeLeavesTheSystemAsItWas) {
  const int64_t id = PutSystem(Anna, -1, SystemDraft{});
  SystemDraft bad;
  bad.Title = "новое";
  bad.Rows = "01 02 03 09\r\n02 03 04 05";
  EXPECT_THAT(Refusal("/scripts/sys_putdata.php", SystemPutFields(Anna, id, bad)), HasSubstr("вне пределов"));
  EXPECT_EQ(Decoded(RowOf(ListSystems(Anna), id), "title"), "Пять чисел");
  EXPECT_EQ(SystemRows(id), "01 02 03 04\r\n02 03 04 05");
}

TEST_F(CatalogTest, BadScriptsAndRatingsAreRefusedAndNothingIsStored) {
  const net::TFormFields base = ScriptPutFields(Anna, -1, ScriptDraft{});
  const struct {
    const char* What;
    net::TFormFields Fields;
    const char* Reason;
  } cases[] = {
      {"title of 65 characters", With(base, "scr_title", std::string(65, 'y')), "длиннее 64"},
      {"script over 256 KiB", With(base, "scr_script", std::string(256 * 1024 + 1, 'z')), "256 КиБ"},
      {"an empty script", With(base, "scr_script", ""), "пуст"},
      {"non-numeric identifier", With(base, "scr_id", "abc"), "scr_id"},
      {"uniapps 2", With(base, "scr_uniapps", "2"), "scr_uniapps"},
      {"non-numeric language", With(base, "cl_lcid", "ru"), "cl_lcid"},
      {"an unknown identifier", With(base, "scr_id", "999"), "не найден"},
  };
  for (const auto& c : cases)
    EXPECT_THAT(Refusal("/scripts/scr_putscript.php", c.Fields), HasSubstr(c.Reason)) << c.What;
  EXPECT_THAT(ListScripts(Anna, 0), IsEmpty());
  EXPECT_GT(PutScript(Anna, -1, ScriptDraft{.Text = std::string(256 * 1024, 'z')}), 0);

  const int64_t id = Ids(ListScripts(Anna, 0)).front();
  const struct {
    const char* What;
    net::TFormFields Fields;
    const char* Reason;
  } rates[] = {
      {"rating 6", RateFields(Boris, id, 6), "rate_value"},
      {"rating -2", RateFields(Boris, id, -2), "rate_value"},
      {"non-numeric identifier", With(RateFields(Boris, id, 3), "scr_id", "1.5"), "scr_id"},
      {"a marker in the comment", RateFields(Boris, id, 3, "a </notes> b"), "rate_notes"},
      {"no such entry", RateFields(Boris, id + 100, 3), "не найден"},
  };
  for (const auto& c : rates) EXPECT_THAT(Refusal("/scripts/scr_setrate.php", c.Fields), HasSubstr(c.Reason)) << c.What;
  EXPECT_EQ(Element(ListScripts(Anna, 0).front(), "rating_cnt"), "0");

  for (const char* path : {"/scripts/scr_getdata.php", "/scripts/scr_getrates.php"})
    EXPECT_THAT(Refusal(path, {"scr_id=one"}), HasSubstr("scr_id")) << path;
  EXPECT_THAT(Refusal("/scripts/sys_getdata.php", {"sys_id="}), HasSubstr("sys_id"));
  EXPECT_THAT(Refusal("/scripts/scr_chktitle.php", {"scr_id=x", "scr_title=a"}), HasSubstr("scr_id"));
}

TEST_F(CatalogTest, ABodyOverOneMebibyteIsRefusedWithStatus413) {
  ScriptDraft d;
  d.Text = std::string(1024 * 1024, 'a');
  try {
    PutScript(Anna, -1, d);
    ADD_FAILURE() << "an oversized body was taken";
  } catch (const std::exception& e) {
    EXPECT_THAT(e.what(), HasSubstr("413"));
  }
  EXPECT_THAT(ListScripts(Anna, 0), IsEmpty());
}

TEST_F(CatalogTest, AnUnknownPathIsNotFound) {
  try {
    Post("/scripts/nothing.php", {"a=1"});
    ADD_FAILURE() << "an unknown path answered";
  } catch (const std::exception& e) {
    EXPECT_THAT(e.what(), HasSubstr("404"));
  }
}

}  // namespace
}  // namespace kelmora::catalog
