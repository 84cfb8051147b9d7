#include <gmock/gmock.h>

#include "catalog_fixture.h"

namespace kelmora::catalog {
namespace {

using ::testing::ElementsAre;

TEST_F(CatalogTest, APublishedSystemIsListedAndItsRowsDownloaded) {
  server_.SetNow(1700000000);  // 2023-11-14 22:13:20 UTC
  SystemDraft d;
  d.Rows = "1,2,3,4\r\n2-3-4-5\r\n";  // any separators; stored in the row form
  const int64_t id = PutSystem(Anna, -1, d);
  ASSERT_GT(id, 0);

  const auto rows = ListSystems(Boris);
  ASSERT_EQ(rows.size(), 1u);
  const std::string& row = rows[0];
  EXPECT_EQ(Element(row, "id"), std::to_string(id));
  EXPECT_EQ(Element(row, "nums"), "5");
  EXPECT_EQ(Element(row, "olap"), "0");
  EXPECT_EQ(Element(row, "csize"), "2");
  EXPECT_EQ(Decoded(row, "title"), "Пять чисел");
  EXPECT_EQ(Decoded(row, "descr"), "описание");
  EXPECT_EQ(Element(row, "author"), "Анна");
  EXPECT_EQ(Element(row, "cl_mail"), "anna@club.example");
  EXPECT_EQ(Element(row, "url"), "https://example.org/wheel");
  EXPECT_EQ(Element(row, "created"), "2023-11-14 22:13:20");
  EXPECT_EQ(Element(row, "downloads"), "0");
  EXPECT_EQ(Element(row, "last_download"), "");

  EXPECT_EQ(SystemRows(id), "01 02 03 04\r\n02 03 04 05");
}

TEST_F(CatalogTest, APublishedScriptIsListedAndDownloaded) {
  server_.SetNow(1700000000);
  ScriptDraft d;
  d.Title = "Say \"hi\"? it's C:\\x";  // every character CEscape touches
  d.Text = "FULL:0#FIRST| | | | | | | |first\r\nCURR:0#LAST| | | | | | | |second";
  const int64_t id = PutScript(Anna, -1, d);
  ASSERT_GT(id, 0);

  const auto rows = ListScripts(Boris, 1);
  ASSERT_THAT(Ids(rows), ElementsAre(id));
  const std::string& row = rows[0];
  EXPECT_EQ(Decoded(row, "title"), d.Title);
  EXPECT_EQ(Decoded(row, "descr"), d.Descr);
  EXPECT_EQ(Element(row, "key_cl_name"), "Анна");
  EXPECT_EQ(Element(row, "key_cl_mail"), "anna@club.example");
  EXPECT_EQ(Element(row, "key_cl_lcid"), "1049");
  EXPECT_EQ(Element(row, "app_name"), "Kelmora_4r32");
  EXPECT_EQ(Element(row, "app_ver"), "0.1.0.0");
  EXPECT_EQ(Element(row, "app_guid"), net::AppGuid);
  EXPECT_EQ(Element(row, "uniapps"), "0");
  EXPECT_EQ(Element(row, "publics"), "1");
  EXPECT_EQ(Element(row, "created"), "2023-11-14 22:13:20");
  EXPECT_EQ(Element(row, "rating_cnt"), "0");
  EXPECT_EQ(Element(row, "rating_you"), "0");

  EXPECT_EQ(ScriptText(id), d.Text);
}

}  // namespace
}  // namespace kelmora::catalog
