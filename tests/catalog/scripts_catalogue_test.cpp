#include <gmock/gmock.h>

#include "catalog_fixture.h"

namespace kelmora::catalog {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr int64_t T0 = 1700000000;  // 2023-11-14 22:13:20 UTC
constexpr int64_t Day = 86400;

ScriptDraft Draft(const std::string& title, bool is_public = true) {
  ScriptDraft d;
  d.Title = title;
  d.Public = is_public;
  return d;
}

// Four entries Anna can see, one she cannot; she rated one and hid another.
class ScriptFilters : public CatalogTest {
 protected:
  void SetUp() override {
    server_.SetNow(T0);
    boris_old = PutScript(Boris, -1, Draft("старый"));
    server_.SetNow(T0 + 3 * Day);
    boris_new = PutScript(Boris, -1, Draft("новый"));
    boris_private = PutScript(Boris, -1, Draft("личный Бориса", false));
    anna_public = PutScript(Anna, -1, Draft("общий Анны"));
    anna_private = PutScript(Anna, -1, Draft("личный Анны", false));
    ASSERT_EQ(Rate(Anna, boris_new, 4), 0);
    ASSERT_EQ(Rate(Anna, boris_old, -1), 0);
  }
  int64_t boris_old = 0, boris_new = 0, boris_private = 0, anna_public = 0, anna_private = 0;
};

TEST_F(ScriptFilters, EachFilterListsWhatItsNameSays) {
  const struct {
    int Fltid;
    std::vector<int64_t> Expected;
  } cases[] = {
      {-1, {boris_old}},                                         // Скрытые
      {0, {boris_old, boris_new, anna_public, anna_private}},    // Все, включая скрытые
      {1, {boris_new, anna_public, anna_private}},               // Все, кроме скрытых
      {2, {anna_public, anna_private}},                          // Только мои
      {3, {boris_old, boris_new, anna_public}},                  // Только публичные
      {4, {boris_new}},                                          // С моими оценками
      {5, {anna_public, anna_private}},                          // Без моих оценок
      {6, {boris_new, anna_public, anna_private}},               // Новые (24 часа)
  };
  for (const auto& c : cases)
    EXPECT_THAT(Ids(ListScripts(Anna, c.Fltid)), ElementsAreArray(c.Expected)) << "fltid " << c.Fltid;
}

TEST_F(ScriptFilters, AnotherUserSeesTheirOwnPrivateEntryButNotAnnasOrHerRatings) {
  EXPECT_THAT(Ids(ListScripts(Boris, 0)), ElementsAre(boris_old, boris_new, boris_private, anna_public));
  EXPECT_THAT(Ids(ListScripts(Boris, 2)), ElementsAre(boris_old, boris_new, boris_private));
  EXPECT_THAT(Ids(ListScripts(Boris, -1)), IsEmpty());  // Anna's hiding is hers alone
  const auto rows = ListScripts(Boris, 0);
  EXPECT_EQ(Element(RowOf(rows, boris_new), "rating_you"), "0");
  EXPECT_EQ(Element(RowOf(rows, boris_new), "rating_cnt"), "1");
  EXPECT_EQ(Element(RowOf(rows, boris_old), "rating_cnt"), "0");  // a hiding is no rating
}

TEST_F(ScriptFilters, AnUnknownFilterIsRefused) {
  for (const char* fltid : {"7", "-2", "x", ""})
    EXPECT_THAT(Refusal("/scripts/scr_getlist.php", WithIdentity({fmt::format("fltid={}", fltid)}, Anna)),
                HasSubstr("fltid"))
        << fltid;
}

TEST_F(CatalogTest, AnEntryIsNewForTwentyFourHoursAfterItsPublication) {
  server_.SetNow(T0);
  const int64_t id = PutScript(Anna, -1, Draft("свежий"));
  const struct {
    int64_t Now;
    bool Listed;
  } cases[] = {{T0, true}, {T0 + Day - 1, true}, {T0 + Day, false}, {T0 + 10 * Day, false}};
  for (const auto& c : cases) {
    server_.SetNow(c.Now);
    EXPECT_EQ(Ids(ListScripts(Boris, 6)).size(), c.Listed ? 1u : 0u) << c.Now - T0;
  }
  // Replacing publishes anew.
  server_.SetNow(T0 + 10 * Day);
  ASSERT_EQ(PutScript(Anna, id, Draft("свежий")), id);
  EXPECT_THAT(Ids(ListScripts(Boris, 6)), ElementsAre(id));
}

TEST_F(CatalogTest, PublishListDownloadRateHideUnrateReplaceDelete) {
  server_.SetNow(T0);
  ScriptDraft d = Draft("Жизненный цикл");
  const int64_t id = PutScript(Anna, -1, d);
  ASSERT_GT(id, 0);
  EXPECT_THAT(Ids(ListScripts(Boris, 1)), ElementsAre(id));

  // Downloads are counted, with the time of the last one.
  server_.SetNow(T0 + 60);
  EXPECT_EQ(ScriptText(id), d.Text);
  server_.SetNow(T0 + 120);
  EXPECT_EQ(ScriptText(id), d.Text);
  std::string row = RowOf(ListScripts(Boris, 1), id);
  EXPECT_EQ(Element(row, "downloads"), "2");
  EXPECT_EQ(Element(row, "last_download"), "2023-11-14 22:15:20");

  // Two ratings; a second rating by the same user replaces the first.
  ASSERT_EQ(Rate(Boris, id, 2, "так себе"), 0);
  ASSERT_EQ(Rate(Boris, id, 5, "Отлично, \"спасибо\"!\r\nВторая строка"), 0);
  ASSERT_EQ(Rate(Anna, id, 4), 0);
  row = RowOf(ListScripts(Boris, 1), id);
  EXPECT_EQ(Element(row, "rating_avg"), "4.500");
  EXPECT_EQ(Element(row, "rating_cnt"), "2");
  EXPECT_EQ(Element(row, "rating_you"), "5");
  const auto rates = Rows("/scripts/scr_getrates.php", {fmt::format("scr_id={}", id)});
  ASSERT_EQ(rates.size(), 2u);
  EXPECT_EQ(Element(rates[0], "key_cl_name"), "Борис");
  EXPECT_EQ(Element(rates[0], "rate"), "5");
  EXPECT_EQ(Element(rates[0], "notes"), "Отлично, \"спасибо\"!\r\nВторая строка");
  EXPECT_EQ(Element(rates[0], "app_name"), "Kelmora_4r32");
  EXPECT_EQ(Element(rates[0], "app_ver"), "0.1.0.0");
  EXPECT_EQ(Element(rates[0], "created"), "2023-11-14 22:15:20");
  EXPECT_EQ(Element(rates[1], "key_cl_name"), "Анна");

  // Hiding takes the rating's place; rating 0 removes the hiding.
  ASSERT_EQ(Rate(Boris, id, -1), 0);
  EXPECT_THAT(Ids(ListScripts(Boris, 1)), IsEmpty());
  row = RowOf(ListScripts(Boris, -1), id);
  EXPECT_EQ(Element(row, "rating_you"), "-1");
  EXPECT_EQ(Element(row, "rating_cnt"), "1");
  EXPECT_EQ(Element(row, "rating_avg"), "4.000");
  ASSERT_EQ(Rate(Boris, id, 0), 0);
  row = RowOf(ListScripts(Boris, 1), id);
  EXPECT_EQ(Element(row, "rating_you"), "0");
  EXPECT_EQ(Element(row, "rating_cnt"), "1");

  // Replacing keeps the identifier, counts and ratings, and takes the new text and flags.
  server_.SetNow(T0 + Day);
  d.Title = "Жизненный цикл 2";
  d.Text = "FULL:0#LAST| | | | | | | |другой";
  d.Universal = true;
  EXPECT_EQ(PutScript(Anna, id, d), id);
  row = RowOf(ListScripts(Boris, 1), id);
  EXPECT_EQ(Decoded(row, "title"), "Жизненный цикл 2");
  EXPECT_EQ(Element(row, "uniapps"), "1");
  EXPECT_EQ(Element(row, "created"), "2023-11-15 22:13:20");
  EXPECT_EQ(Element(row, "downloads"), "2");
  EXPECT_EQ(Element(row, "rating_cnt"), "1");
  EXPECT_EQ(ScriptText(id), d.Text);

  // Deleting answers 0 and takes the ratings with it.
  EXPECT_EQ(PutScript(Anna, id, d, true), 0);
  EXPECT_THAT(Ids(ListScripts(Anna, 0)), IsEmpty());
  EXPECT_THAT(Refusal("/scripts/scr_getdata.php", {fmt::format("scr_id={}", id)}), HasSubstr("не найден"));
  EXPECT_THAT(Refusal("/scripts/scr_getrates.php", {fmt::format("scr_id={}", id)}), HasSubstr("не найден"));
  // A new entry never takes a deleted one's identifier.
  EXPECT_GT(PutScript(Anna, -1, Draft("после удаления")), id);
}

TEST_F(CatalogTest, OnlyThePairThatPublishedAnEntryMayChangeOrDeleteIt) {
  const int64_t id = PutScript(Anna, -1, Draft("Чужой"));
  User same_mail_other_install = Anna;
  same_mail_other_install.Install = "{C0000000-0000-4000-8000-000000000003}";
  User upper_case_mail = Anna;
  upper_case_mail.Mail = "ANNA@Club.Example";
  for (const User& other : {Boris, same_mail_other_install}) {
    EXPECT_THAT(Refusal("/scripts/scr_putscript.php", ScriptPutFields(other, id, Draft("Захват"))),
                HasSubstr("только тот, кто его опубликовал"));
    EXPECT_THAT(Refusal("/scripts/scr_putscript.php", ScriptPutFields(other, id, Draft("Чужой"), true)),
                HasSubstr("только тот, кто его опубликовал"));
  }
  EXPECT_EQ(Decoded(RowOf(ListScripts(Anna, 0), id), "title"), "Чужой");
  EXPECT_EQ(PutScript(upper_case_mail, id, Draft("Свой")), id);  // the e-mail's letter case does not matter

  const int64_t sys = PutSystem(Anna, -1, SystemDraft{});
  SystemDraft changed;
  changed.Title = "Захват";
  for (const User& other : {Boris, same_mail_other_install}) {
    EXPECT_THAT(Refusal("/scripts/sys_putdata.php", SystemPutFields(other, sys, changed)),
                HasSubstr("только тот, кто её опубликовал"));
    EXPECT_THAT(Refusal("/scripts/sys_putdata.php", SystemPutFields(other, sys, changed, true)),
                HasSubstr("только тот, кто её опубликовал"));
  }
  EXPECT_EQ(Decoded(RowOf(ListSystems(Boris), sys), "title"), "Пять чисел");
}

TEST_F(CatalogTest, AnotherUsersPrivateEntryCannotBeRatedOrReplaced) {
  const int64_t id = PutScript(Anna, -1, Draft("Только мне", false));
  EXPECT_THAT(Refusal("/scripts/scr_setrate.php", RateFields(Boris, id, 5)), HasSubstr("не найден"));
  EXPECT_THAT(Refusal("/scripts/scr_putscript.php", ScriptPutFields(Boris, id, Draft("x"))), HasSubstr("не найден"));
  EXPECT_EQ(Rate(Anna, id, 5), 0);
}

TEST_F(CatalogTest, TheTitleCheckIgnoresLetterCaseAndTheEntryItself) {
  const int64_t id = PutScript(Anna, -1, Draft("Мой Сценарий"));
  const struct {
    int64_t Id;
    const char* Title;
    const char* RetCode;
  } cases[] = {
      {-1, "Другой", "0"}, {-1, "Мой Сценарий", "1"}, {-1, "мой сценарий", "1"},
      {-1, "МОЙ СЦЕНАРИЙ", "1"}, {id, "мой сценарий", "0"}, {id + 1, "Мой Сценарий", "1"},
  };
  for (const auto& c : cases) {
    const auto rows = Rows("/scripts/scr_chktitle.php",
                           {fmt::format("scr_id={}", c.Id), fmt::format("scr_title={}", net::CEscape(c.Title))});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(Element(rows[0], "ret_code"), c.RetCode) << c.Title << " " << c.Id;
  }
  // Publishing a taken title is refused too: the check and the publication may be far apart.
  EXPECT_THAT(Refusal("/scripts/scr_putscript.php", ScriptPutFields(Boris, -1, Draft("МОЙ сценарий"))),
              HasSubstr("уже есть"));
}

}  // namespace
}  // namespace kelmora::catalog
