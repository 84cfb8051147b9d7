#pragma once
// The catalogue server in-process over HTTPS, asked through the program's own network client.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <fmt/format.h>

#include "catalog/wire.h"
#include "common/catalog_test_server.h"
#include "net/http_client.h"
#include "net/vendor.h"

namespace kelmora::catalog {

// One installation of the program with its user.
struct User {
  std::string Name;
  std::string Mail;
  std::string Install;
  int Lcid = 1049;

  net::TUserIdentity Identity() const {
    net::TUserIdentity id;
    id.AppVer = "0.1.0.0";
    id.InstallId = Install;
    id.UserName = Name;
    id.UserMail = Mail;
    return id;
  }
};

inline const User Anna{"Анна", "anna@club.example", "{A0000000-0000-4000-8000-000000000001}"};
inline const User Boris{"Борис", "boris@club.example", "{B0000000-0000-4000-8000-000000000002}"};

struct SystemDraft {
  int Nums = 5;
  int Olap = 0;
  std::string Title = "Пять чисел";
  std::string Descr = "описание";
  std::string Rows = "01 02 03 04\r\n02 03 04 05";
  int CSize = 2;
  std::string Url = "https://example.org/wheel";
};

struct ScriptDraft {
  std::string Title = "Сценарий";
  std::string Descr = "описание сценария";
  std::string Text = "FULL:0#FIRST|TMD1#NUMS:10;20#CMV:5;6#SF:0| | | | | | |шаг";
  bool Universal = false;
  bool Public = true;
};

class CatalogTest : public ::testing::Test {
 protected:
  CatalogTest() { settings_.CaFile = server_.CaFile(); }

  // The answer text of a form POST to the path.
  std::string Post(const std::string& path, const net::TFormFields& fields) {
    return net::HttpPostForm(server_.BaseUrl() + path, fields, true, settings_);
  }
  // The answer's rows; throws the "<error>" text like the program's reader.
  std::vector<std::string> Rows(const std::string& path, const net::TFormFields& fields) {
    return net::ReadAnswerRows(Post(path, fields));
  }
  // The "<error>" text of a refused request, "" when it was not refused.
  std::string Refusal(const std::string& path, const net::TFormFields& fields) {
    try {
      Rows(path, fields);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }

  static net::TFormFields WithIdentity(net::TFormFields fields, const User& user) {
    for (std::string& f : net::IdentityFields(user.Identity(), user.Lcid)) fields.push_back(std::move(f));
    return fields;
  }
  static std::string Element(const std::string& row, const char* name) { return net::AnswerElement(row, name); }
  static std::string Decoded(const std::string& row, const char* name) {
    return DecodeBase64(net::AnswerElement(row, name)).value_or("(not Base64)");
  }

  // ---- systems ----
  static net::TFormFields SystemPutFields(const User& user, int64_t id, const SystemDraft& d, bool remove = false) {
    return WithIdentity({fmt::format("del_mode={}", remove ? 1 : 0), fmt::format("sys_id={}", id),
                         fmt::format("nums={}", d.Nums), "clen=4", fmt::format("olap={}", d.Olap),
                         fmt::format("title={}", net::CEscape(d.Title)), fmt::format("descr={}", net::CEscape(d.Descr)),
                         fmt::format("csize={}", d.CSize),
                         fmt::format("clist={}", remove ? std::string() : EncodeBase64(net::CEscape(d.Rows))),
                         fmt::format("url={}", d.Url)},
                        user);
  }
  // The "<id_systems>" of the answer (-1 when none).
  int64_t PutSystem(const User& user, int64_t id, const SystemDraft& d, bool remove = false) {
    const auto rows = Rows("/scripts/sys_putdata.php", SystemPutFields(user, id, d, remove));
    if (rows.empty()) return -1;
    return std::stoll(Element(rows.back(), "id_systems"));
  }
  std::vector<std::string> ListSystems(const User& user) {
    return Rows("/scripts/sys_getlist.php", WithIdentity({"comblen=4", "maxnums=8"}, user));
  }
  std::string SystemRows(int64_t id) {
    const auto rows = Rows("/scripts/sys_getdata.php", {fmt::format("sys_id={}", id)});
    return rows.empty() ? "(no row)" : Decoded(rows.front(), "clist");
  }

  // ---- scripts ----
  static net::TFormFields ScriptPutFields(const User& user, int64_t id, const ScriptDraft& d, bool remove = false) {
    net::TFormFields f = {fmt::format("del_mode={}", remove ? 1 : 0), fmt::format("scr_id={}", id),
                          fmt::format("scr_uniapps={}", d.Universal ? 1 : 0),
                          fmt::format("scr_publics={}", d.Public ? 1 : 0),
                          fmt::format("scr_title={}", net::CEscape(d.Title)),
                          fmt::format("scr_descr={}", net::CEscape(d.Descr))};
    if (!remove) f.push_back(fmt::format("scr_script={}", net::CEscape(d.Text)));
    return WithIdentity(std::move(f), user);
  }
  int64_t PutScript(const User& user, int64_t id, const ScriptDraft& d, bool remove = false) {
    const auto rows = Rows("/scripts/scr_putscript.php", ScriptPutFields(user, id, d, remove));
    if (rows.empty()) return -1;
    return std::stoll(Element(rows.back(), "id_scripts"));
  }
  std::vector<std::string> ListScripts(const User& user, int fltid) {
    return Rows("/scripts/scr_getlist.php", WithIdentity({fmt::format("fltid={}", fltid)}, user));
  }
  std::string ScriptText(int64_t id) {
    const auto rows = Rows("/scripts/scr_getdata.php", {fmt::format("scr_id={}", id)});
    return rows.empty() ? "(no row)" : Decoded(rows.front(), "script");
  }
  net::TFormFields RateFields(const User& user, int64_t id, int value, const std::string& notes = "") {
    return WithIdentity({fmt::format("scr_id={}", id), fmt::format("rate_value={}", value),
                         fmt::format("rate_notes={}", net::CEscape(notes))},
                        user);
  }
  int Rate(const User& user, int64_t id, int value, const std::string& notes = "") {
    const auto rows = Rows("/scripts/scr_setrate.php", RateFields(user, id, value, notes));
    return rows.empty() ? -1 : std::stoi(Element(rows.back(), "res_code"));
  }

  // The identifiers of the listed rows, in order.
  static std::vector<int64_t> Ids(const std::vector<std::string>& rows) {
    std::vector<int64_t> ids;
    for (const std::string& r : rows) ids.push_back(std::stoll(Element(r, "id")));
    return ids;
  }
  // The listed row with this identifier; "" when it is not listed.
  static std::string RowOf(const std::vector<std::string>& rows, int64_t id) {
    for (const std::string& r : rows)
      if (Element(r, "id") == std::to_string(id)) return r;
    return "";
  }

  testing::CatalogTestServer server_;
  net::THttpSettings settings_;
};

}  // namespace kelmora::catalog
