#include "net/script_library.h"

#include <cstring>
#include <ctime>

#include <fmt/format.h>

#include "support/encoding.h"
#include "support/error.h"
#include "support/text.h"

namespace kelmora::net {

namespace {

std::string Url(const TCatalogueClient& client, std::string_view script) {
  if (client.BaseUrl.empty())
    support::Fail(
        "Не задан адрес online-каталога!\r\rУкажите его в параметре CatalogUrl секции NETWORK файла конфигурации "
        "Kelmora_4r32.ini.");
  std::string_view base = client.BaseUrl;
  while (!base.empty() && base.back() == '/') base.remove_suffix(1);
  return fmt::format("{}/scripts/{}", base, script);
}

std::string Post(const TCatalogueClient& client, std::string_view script, const TFormFields& fields) {
  return HttpPostForm(Url(client, script), fields, true, client.Http);
}

void Append(TFormFields& fields, const TFormFields& more) { fields.insert(fields.end(), more.begin(), more.end()); }

// Text the program keeps: what Windows-1251 can hold of the UTF-8 received.
std::string ProgramText(std::string_view utf8) { return support::Cp1251ToUtf8(support::Utf8ToCp1251(utf8)); }

// "<id>", "<res_code>", "<ret_code>" and "<id_scripts>" must be integers.
int32_t IntegerElement(std::string_view row, std::string_view name) {
  const std::string text = AnswerElement(row, name);
  const auto value = support::ParseInt(text);
  if (!value) support::Fail("Недопустимое целое значение \"{}\" элемента <{}>", text, name);
  return *value;
}

int32_t NumberOr(std::string_view text, int32_t fallback) { return support::ParseInt(text).value_or(fallback); }

// The rows of an answer one at a time; `take` gets each row after its "<error>" was checked.
// Returns false when the answer has no "<result>".
template <typename Take>
bool WalkRows(std::string_view answer, Take&& take) {
  if (!HasMarker(answer, "<result>")) return false;
  std::string rest = TextBetween(answer, "<result>", "</result>");
  while (HasMarker(rest, "<row>")) {
    const std::string row = CutTextBetween(rest, "<row>", "</row>");
    const std::string error = AnswerElement(row, "error");
    if (!error.empty()) support::Fail("{}", error);
    if (!take(row)) break;
  }
  return true;
}

TFormFields PutFields(const tScriptData& data, bool remove) {
  TFormFields fields = {fmt::format("del_mode={}", remove ? 1 : 0),
                        fmt::format("scr_id={}", data.Id),
                        fmt::format("scr_uniapps={}", data.Universal ? 1 : 0),
                        fmt::format("scr_publics={}", data.Public ? 1 : 0),
                        fmt::format("scr_title={}", CEscape(data.Title)),
                        fmt::format("scr_descr={}", CEscape(data.Descr))};
  return fields;
}

TFormFields PutIdentity(const TCatalogueClient& client, const tScriptData& data) {
  TUserIdentity identity = client.Identity;
  identity.UserName = data.Author;
  return IdentityFields(identity, data.Lcid);
}

int32_t LastIdScripts(std::string_view answer) {
  int32_t id = -1;
  WalkRows(answer, [&](const std::string& row) {
    id = HasMarker(row, "<id_scripts>") ? IntegerElement(row, "id_scripts") : -1;
    return true;
  });
  return id;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0, i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

constexpr const char* Base64Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

tScriptData NewScriptData(const TUserIdentity& identity, int lcid) {
  tScriptData data;
  data.Author = identity.UserName;
  data.Lcid = lcid;
  return data;
}

tScriptData ToScriptData(const tScriptInfo& info) {
  return {info.Id, info.Author, info.Lcid, info.Universal, info.Public, info.Title, info.Descr};
}

void ApplyScriptData(tScriptInfo& info, const tScriptData& data) {
  info.Author = data.Author;
  info.Lcid = data.Lcid;
  info.Universal = data.Universal;
  info.Public = data.Public;
  info.Title = data.Title;
  info.Descr = data.Descr;
}

void LoadScriptCatalogue(const TCatalogueClient& client, int fltid, int lcid,
                         const std::function<void(tScriptInfo)>& add) {
  TFormFields fields = {fmt::format("fltid={}", fltid)};
  Append(fields, IdentityFields(client.Identity, lcid));
  const std::string answer = Post(client, "scr_getlist.php", fields);
  WalkRows(answer, [&](const std::string& row) {
    tScriptInfo info;
    info.Id = IntegerElement(row, "id");
    info.Author = ProgramText(AnswerElement(row, "key_cl_name"));
    info.AuthorMail = ProgramText(AnswerElement(row, "key_cl_mail"));
    info.Lcid = NumberOr(AnswerElement(row, "key_cl_lcid"), lcid);
    info.AppName = ProgramText(AnswerElement(row, "app_name"));
    info.AppVer = ProgramText(AnswerElement(row, "app_ver"));
    info.Universal = NumberOr(AnswerElement(row, "uniapps"), 0) > 0;
    info.Public = NumberOr(AnswerElement(row, "publics"), 0) > 0;
    info.Created = ParseCatalogueTime(AnswerElement(row, "created"));
    info.Rating = ParseRatingAverage(AnswerElement(row, "rating_avg"));
    info.RatesCount = NumberOr(AnswerElement(row, "rating_cnt"), 0);
    info.MyRate = NumberOr(AnswerElement(row, "rating_you"), 0);
    info.Downloads = NumberOr(AnswerElement(row, "downloads"), 0);
    info.LastDownload = ParseCatalogueTime(AnswerElement(row, "last_download"));
    info.Title = ProgramText(DecodeBase64(AnswerElement(row, "title")));
    info.Descr = ProgramText(DecodeBase64(AnswerElement(row, "descr")));
    info.Mine = support::SameText(info.AuthorMail, client.Identity.UserMail);
    info.Compatible = info.Universal || support::SameText(AnswerElement(row, "app_guid"), client.Identity.AppId);
    info.Editable = info.Compatible && info.Mine;
    add(std::move(info));
    return true;
  });
}

std::optional<std::vector<std::string>> FetchCatalogueScript(const TCatalogueClient& client, int32_t id) {
  const std::string answer = Post(client, "scr_getdata.php", {fmt::format("scr_id={}", id)});
  std::vector<std::string> lines;
  bool last_was_script = false;
  WalkRows(answer, [&](const std::string& row) {
    last_was_script = support::Trim(row).size() >= 8 && support::SameText(support::Trim(row).substr(0, 8), "<script>");
    if (!last_was_script) return true;
    const std::string text = ProgramText(DecodeBase64(AnswerElement(row, "script")));
    lines = SplitTextLines(text);
    return text.empty();
  });
  if (!last_was_script) return std::nullopt;
  return lines;
}

bool SendScriptRate(const TCatalogueClient& client, int32_t id, int value, int lcid, const std::string& notes) {
  TFormFields fields = {fmt::format("scr_id={}", id), fmt::format("rate_value={}", value),
                        fmt::format("rate_notes={}", CEscape(notes))};
  Append(fields, IdentityFields(client.Identity, lcid));
  const std::string answer = Post(client, "scr_setrate.php", fields);
  int32_t code = -1;
  const bool has_result = WalkRows(answer, [&](const std::string& row) {
    code = IntegerElement(row, "res_code");
    return true;
  });
  if (!has_result) return false;
  if (code < 0) support::Fail("Код возврата: {}", code);
  return true;
}

bool CheckScriptTitle(const TCatalogueClient& client, int32_t id, const std::string& title) {
  const std::string answer =
      Post(client, "scr_chktitle.php", {fmt::format("scr_id={}", id), fmt::format("scr_title={}", CEscape(title))});
  bool free = false;
  WalkRows(answer, [&](const std::string& row) {
    free = IntegerElement(row, "ret_code") == 0;
    return !free;
  });
  return free;
}

int32_t PutCatalogueScript(const TCatalogueClient& client, const tScriptData& data, const std::string& script_text) {
  TFormFields fields = PutFields(data, false);
  fields.push_back(fmt::format("scr_script={}", CEscape(script_text)));
  Append(fields, PutIdentity(client, data));
  return LastIdScripts(Post(client, "scr_putscript.php", fields));
}

int32_t RemoveCatalogueScript(const TCatalogueClient& client, const tScriptData& data) {
  TFormFields fields = PutFields(data, true);
  Append(fields, PutIdentity(client, data));
  return LastIdScripts(Post(client, "scr_putscript.php", fields));
}

std::optional<std::vector<TScriptRate>> LoadScriptRates(const TCatalogueClient& client, int32_t id) {
  const std::string answer = Post(client, "scr_getrates.php", {fmt::format("scr_id={}", id)});
  std::vector<TScriptRate> rates;
  const bool has_result = WalkRows(answer, [&](const std::string& row) {
    rates.push_back({AnswerElement(row, "key_cl_name"), AnswerElement(row, "rate"),
                     ParseCatalogueTime(AnswerElement(row, "created")), AnswerElement(row, "app_name"),
                     AnswerElement(row, "app_ver"), AnswerElement(row, "notes")});
    return true;
  });
  if (!has_result) return std::nullopt;
  return rates;
}

int64_t ParseCatalogueTime(std::string_view text) {
  text = support::Trim(text);
  if (text.empty()) return 0;
  auto part = [&](size_t from, size_t length) {
    return from + length <= text.size() ? support::ParseInt(text.substr(from, length)).value_or(0) : 0;
  };
  std::tm t{};
  t.tm_year = part(0, 4) - 1900;
  t.tm_mon = part(5, 2) - 1;
  t.tm_mday = part(8, 2);
  t.tm_hour = part(11, 2);
  t.tm_min = part(14, 2);
  t.tm_sec = part(17, 2);
  if (t.tm_year < 0) return 0;
  return static_cast<int64_t>(timegm(&t));
}

long double ParseRatingAverage(std::string_view text) {
  std::string kept;
  for (char c : text)
    if ((c >= '0' && c <= '9') || c == '-' || c == '.' || c == ',') kept += c;
  return support::ParseReal(kept).value_or(0);
}

std::string DecodeBase64(std::string_view text) {
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    const char* at = c ? std::strchr(Base64Alphabet, c) : nullptr;
    if (!at) continue;  // padding, line breaks and blanks
    bits = (bits << 6) | static_cast<uint32_t>(at - Base64Alphabet);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  return out;
}

std::string EncodeBase64(std::string_view bytes) {
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const uint32_t v = static_cast<uint8_t>(bytes[i]) << 16 | static_cast<uint8_t>(bytes[i + 1]) << 8 |
                       static_cast<uint8_t>(bytes[i + 2]);
    for (int k = 18; k >= 0; k -= 6) out += Base64Alphabet[(v >> k) & 63];
  }
  if (i < bytes.size()) {
    uint32_t v = static_cast<uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    out += Base64Alphabet[(v >> 18) & 63];
    out += Base64Alphabet[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? Base64Alphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string FormatLocalTime(int64_t utc_seconds) {
  if (utc_seconds == 0) return {};
  const std::time_t t = static_cast<std::time_t>(utc_seconds);
  std::tm local{};
  localtime_r(&t, &local);
  return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour, local.tm_min, local.tm_sec);
}

}  // namespace kelmora::net
