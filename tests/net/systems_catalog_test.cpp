#include "net/systems_catalog.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include "support/base64.h"

namespace kelmora::net {
namespace {

TEST(SystemsCatalogAnswers, ListRowsAreReadByMarkers) {
  const std::string answer =
      "<result><row><id>37</id><nums>8</nums><olap>2</olap><csize>14</csize><title>" +
      support::Base64Encode("Восемь") + "</title><descr>" + support::Base64Encode("для \"восьми\"") +
      "</descr><author>Автор</author><cl_mail>a@b.c</cl_mail><url>https://x.org/</url>"
      "<created>2025-12-11 12:00:00</created><last_download></last_download><downloads>x</downloads></row>"
      "<ROW><ID>2</ID></ROW></result>";
  const auto list = ParseSystemsList(answer);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Id, 37);
  EXPECT_EQ(list[0].Nums, 8);
  EXPECT_EQ(list[0].Olap, 2);
  EXPECT_EQ(list[0].CSize, 14);
  EXPECT_EQ(list[0].Title, "Восемь");
  EXPECT_EQ(list[0].Descr, "для \"восьми\"");
  EXPECT_EQ(list[0].Author, "Автор");
  EXPECT_EQ(list[0].AuthorMail, "a@b.c");
  EXPECT_EQ(list[0].Url, "https://x.org/");
  EXPECT_EQ(list[0].Created, 1765454400);
  EXPECT_EQ(list[0].LastDownload, 0);
  EXPECT_EQ(list[0].Downloads, 0);  // not a number
  EXPECT_EQ(list[1].Id, 2);
  EXPECT_TRUE(ParseSystemsList("nothing").empty());
  EXPECT_THROW(ParseSystemsList("<result><row><error>нельзя</error></row></result>"), std::exception);
  EXPECT_THROW(ParseSystemsList("<result><row><id>1</id><created>2025-13-01 00:00:00</created></row></result>"),
               std::exception);
}

TEST(SystemsCatalogAnswers, RowsAndIdentifiers) {
  EXPECT_EQ(ParseSystemRows("<result><row><clist></clist></row><row><clist>" + support::Base64Encode("01 02 03 04") +
                            "</clist></row></result>"),
            "01 02 03 04");
  EXPECT_EQ(ParseSystemRows("<result></result>"), "");
  EXPECT_EQ(ParseSystemId("<result><row><id_systems>-1</id_systems></row><row><id_systems>0</id_systems></row></result>"), 0);
  EXPECT_EQ(ParseSystemId("<result><row></row></result>"), -1);
}

TEST(SystemsCatalogRequests, FieldsInTheCataloguesOrder) {
  TUserIdentity me;
  me.AppVer = "1.0";
  me.InstallId = "{I}";
  me.UserName = "Я";
  me.UserMail = "me@x";
  EXPECT_EQ(SystemsListFields(me, 1049),
            (TFormFields{"comblen=4", "maxnums=8", fmt::format("appid={}", AppGuid), "appver=1.0", "hwdid={I}",
                         "cl_name=Я", "cl_mail=me@x", "cl_lcid=1049"}));
  EXPECT_EQ(SystemRowsFields(37), (TFormFields{"sys_id=37"}));
  tSystemData data;
  data.Id = 37;
  data.Nums = 8;
  data.Olap = 2;
  data.CSize = 1;
  data.Title = "It's";
  data.Descr = "a\nb";
  data.CList = "01 02 03 04";
  data.Url = "u";
  data.Author = "Автор";
  data.AuthorMail = "a@x";
  const auto save = PutSystemFields(data, false, me, 1049);
  EXPECT_EQ(save, (TFormFields{"del_mode=0", "sys_id=37", "nums=8", "clen=4", "olap=2", "title=It\\'s", "descr=a\\nb",
                               "csize=1", "clist=" + support::Base64Encode("01 02 03 04"), "url=u",
                               fmt::format("appid={}", AppGuid), "appver=1.0", "hwdid={I}", "cl_name=Автор",
                               "cl_mail=a@x", "cl_lcid=1049"}));
  const auto del = PutSystemFields(data, true, me, 1049);
  EXPECT_EQ(del[0], "del_mode=1");
  EXPECT_EQ(del[8], "clist=");
}

TEST(SystemsCatalogRequests, OnlyAnHttpsCatalogueIsAsked) {
  EXPECT_THROW(RequestSystemsList("http://127.0.0.1:1", {}, 1049, {}), std::exception);
  EXPECT_THROW(RequestSystemRows("", 1, {}), std::exception);
}

}  // namespace
}  // namespace kelmora::net
