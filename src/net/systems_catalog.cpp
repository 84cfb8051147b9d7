#include "net/systems_catalog.h"

#include <fmt/format.h>

#include "support/base64.h"
#include "support/error.h"
#include "support/platform.h"
#include "support/text.h"

namespace kelmora::net {

namespace {

int32_t IntElement(std::string_view row, std::string_view name) {
  return support::ParseInt(AnswerElement(row, name)).value_or(0);
}

std::string TextElement64(std::string_view row, std::string_view name) {
  return support::Base64Decode(AnswerElement(row, name));
}

// The catalogue is spoken to over HTTPS only: the identity and the user's e-mail go with every
// request.
std::string JoinUrl(const std::string& base, std::string_view path) {
  if (support::Trim(base).empty()) support::Fail("Не задан адрес каталога (параметр CatalogUrl секции NETWORK)!");
  if (!IsHttpsUrl(base)) support::Fail("Адрес каталога \"{}\" должен начинаться с https://!", base);
  std::string url = base;
  while (!url.empty() && url.back() == '/') url.pop_back();
  url += path;
  return url;
}

}  // namespace

int64_t CatalogTimeValue(std::string_view text) {
  text = support::Trim(text);
  if (text.empty()) return 0;
  const auto part = [&](size_t from, size_t length) -> int {
    if (text.size() < from + length) support::Fail("Некорректное значение даты и времени \"{}\"", text);
    const auto v = support::ParseInt(text.substr(from, length));
    if (!v) support::Fail("Некорректное значение даты и времени \"{}\"", text);
    return *v;
  };
  const auto t = support::UtcSeconds(part(0, 4), part(5, 2), part(8, 2), part(11, 2), part(14, 2), part(17, 2));
  if (!t) support::Fail("Некорректное значение даты и времени \"{}\"", text);
  return *t;
}

std::vector<tSystemInfo> ParseSystemsList(std::string_view answer) {
  std::vector<tSystemInfo> list;
  for (const std::string& row : ReadAnswerRows(answer)) {
    tSystemInfo info;
    info.Id = IntElement(row, "id");
    info.Nums = static_cast<uint8_t>(IntElement(row, "nums"));
    info.Olap = static_cast<uint8_t>(IntElement(row, "olap"));
    info.CSize = IntElement(row, "csize");
    info.Title = TextElement64(row, "title");
    info.Descr = TextElement64(row, "descr");
    info.Author = AnswerElement(row, "author");
    info.AuthorMail = AnswerElement(row, "cl_mail");
    info.Url = AnswerElement(row, "url");
    info.Created = CatalogTimeValue(AnswerElement(row, "created"));
    info.LastDownload = CatalogTimeValue(AnswerElement(row, "last_download"));
    info.Downloads = IntElement(row, "downloads");
    list.push_back(std::move(info));
  }
  return list;
}

std::string ParseSystemRows(std::string_view answer) {
  for (const std::string& row : ReadAnswerRows(answer)) {
    std::string rows = TextElement64(row, "clist");
    if (!rows.empty()) return rows;
  }
  return {};
}

int32_t ParseSystemId(std::string_view answer) {
  for (const std::string& row : ReadAnswerRows(answer)) {
    const auto id = support::ParseInt(AnswerElement(row, "id_systems"));
    if (id && *id >= 0) return *id;
  }
  return -1;
}

TFormFields SystemsListFields(const TUserIdentity& identity, int lcid) {
  TFormFields fields = {"comblen=4", "maxnums=8"};
  for (auto& f : IdentityFields(identity, lcid)) fields.push_back(std::move(f));
  return fields;
}

TFormFields SystemRowsFields(int32_t id) { return {fmt::format("sys_id={}", id)}; }

TFormFields PutSystemFields(const tSystemData& data, bool del, const TUserIdentity& identity, int lcid) {
  TFormFields fields = {
      fmt::format("del_mode={}", del ? 1 : 0),
      fmt::format("sys_id={}", data.Id),
      fmt::format("nums={}", data.Nums),
      "clen=4",
      fmt::format("olap={}", data.Olap),
      fmt::format("title={}", CEscape(data.Title)),
      fmt::format("descr={}", CEscape(data.Descr)),
      fmt::format("csize={}", data.CSize),
      fmt::format("clist={}", del ? std::string() : support::Base64Encode(CEscape(data.CList))),
      fmt::format("url={}", data.Url),
  };
  // The author of the system speaks for it, not the user who sends it.
  TUserIdentity author = identity;
  author.UserName = data.Author;
  author.UserMail = data.AuthorMail;
  for (auto& f : IdentityFields(author, lcid)) fields.push_back(std::move(f));
  return fields;
}

std::vector<tSystemInfo> RequestSystemsList(const std::string& base_url, const TUserIdentity& identity, int lcid,
                                            const THttpSettings& settings) {
  return ParseSystemsList(
      HttpPostForm(JoinUrl(base_url, "/scripts/sys_getlist.php"), SystemsListFields(identity, lcid), true, settings));
}

std::string RequestSystemRows(const std::string& base_url, int32_t id, const THttpSettings& settings) {
  return ParseSystemRows(HttpPostForm(JoinUrl(base_url, "/scripts/sys_getdata.php"), SystemRowsFields(id), true, settings));
}

int32_t RequestPutSystem(const std::string& base_url, const tSystemData& data, bool del,
                         const TUserIdentity& identity, int lcid, const THttpSettings& settings) {
  return ParseSystemId(HttpPostForm(JoinUrl(base_url, "/scripts/sys_putdata.php"),
                                    PutSystemFields(data, del, identity, lcid), true, settings));
}

}  // namespace kelmora::net
