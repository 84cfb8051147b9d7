#include "catalog/service.h"

#include <fmt/format.h>

#include "catalog/wire.h"
#include "net/vendor.h"
#include "support/error.h"
#include "support/text.h"

namespace kelmora::catalog {

namespace {

using support::Fail;

// The separators a system row may use between its positions.
constexpr std::string_view kRowSeparators = " *+,-./:;=\\_|~\t";

// What every catalogue request may carry about its sender.
struct Identity {
  std::string AppId;
  std::string AppVer;
  std::string Name;
  std::string Mail;  // as sent
  Owner Key;         // lower-cased e-mail and installation identifier
  int Lcid = 0;
};

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

class Request {
 public:
  explicit Request(std::string_view body) : form_(Form::Parse(body)) {}

  int64_t Int(std::string_view name) const {
    const auto value = form_.Get(name);
    const auto number = value ? support::ParseInt64(*value) : std::nullopt;
    if (!number) Fail("Поле \"{}\" должно быть целым числом", name);
    return *number;
  }
  int64_t IntIn(std::string_view name, int64_t low, int64_t high) const {
    const int64_t v = Int(name);
    if (v < low || v > high) Fail("Значение поля \"{}\" ({}) вне допустимых пределов {}..{}", name, v, low, high);
    return v;
  }
  // A text field as sent (UTF-8); missing reads as empty.
  std::string Raw(std::string_view name) const {
    std::string v = form_.Get(name).value_or(std::string());
    if (!IsUtf8(v)) Fail("Поле \"{}\" не в кодировке UTF-8", name);
    return v;
  }
  // A text field the program C-escapes.
  std::string Escaped(std::string_view name) const {
    const std::string v = CUnescape(form_.Get(name).value_or(std::string()));
    if (!IsUtf8(v)) Fail("Поле \"{}\" не в кодировке UTF-8", name);
    return v;
  }

  Identity Sender() const {
    Identity id;
    id.AppId = Raw("appid");
    id.AppVer = Raw("appver");
    id.Name = Escaped("cl_name");
    id.Mail = Escaped("cl_mail");
    id.Key = {AsciiLower(support::Trim(id.Mail)), std::string(support::Trim(Raw("hwdid")))};
    id.Lcid = static_cast<int>(IntIn("cl_lcid", 0, 0xFFFF));
    return id;
  }
  // The sender of a request that changes the catalogue, who must say which installation they are.
  Identity Writer() const {
    Identity id = Sender();
    Plain("appid", id.AppId);
    Plain("appver", id.AppVer);
    Plain("cl_name", id.Name);
    Plain("cl_mail", id.Mail);
    if (id.Key.Install.empty()) Fail("Не указан идентификатор установки программы (hwdid)");
    return id;
  }

  // Texts that answers carry as plain elements cannot hold "<": the program reads answers by markers.
  static const std::string& Plain(std::string_view name, const std::string& value) {
    if (value.find('<') != std::string::npos) Fail("Поле \"{}\" не должно содержать символ \"<\"", name);
    return value;
  }

 private:
  Form form_;
};

std::string CheckedTitle(std::string title) {
  if (support::Trim(title).empty()) Fail("Название должно быть указано");
  if (Utf8Length(title) > MaxTitleChars)
    Fail("Название длиннее {} символов ({})", MaxTitleChars, Utf8Length(title));
  return title;
}

// The rows of a system, each checked: four positions, integers 1..nums. Blank lines are skipped.
// Returns them one per line (CR LF) as "%.2d %.2d %.2d %.2d".
std::string NormalisedRows(std::string_view text, int nums, int64_t csize) {
  std::string out;
  int64_t count = 0;
  for (const std::string& line : support::Split(text, "\n")) {
    const std::string_view trimmed = support::Trim(line);
    if (trimmed.empty()) continue;
    ++count;
    const auto words = support::SplitWords(trimmed, kRowSeparators);
    if (words.size() != 4) Fail("Строка {} системы не из четырёх позиций: \"{}\"", count, trimmed);
    std::string row;
    for (const std::string& w : words) {
      const auto p = support::ParseInt(w);
      if (!p || *p < 1 || *p > nums) Fail("Строка {} системы: позиция \"{}\" вне пределов 1..{}", count, w, nums);
      if (!row.empty()) row += ' ';
      row += fmt::format("{:02}", *p);
    }
    if (!out.empty()) out += "\r\n";
    out += row;
  }
  if (count != csize) Fail("Количество строк системы ({}) не равно csize ({})", count, csize);
  return out;
}

bool Allowed(const Owner& creator, const Owner& sender) { return creator == sender; }

// ---- systems ----

std::string SystemsList(Storage& storage, const Request& r) {
  const int comb_len = static_cast<int>(r.Int("comblen"));
  const int max_nums = static_cast<int>(r.Int("maxnums"));
  r.Sender();
  std::vector<Row> rows;
  for (const SystemRecord& s : storage.ListSystems(comb_len, max_nums)) {
    Row row;
    row.Int("id", s.Id).Int("nums", s.Nums).Int("olap", s.Olap).Int("csize", s.CSize);
    row.Base64("title", s.Title).Base64("descr", s.Descr);
    row.Text("author", s.Author).Text("cl_mail", s.AuthorMail).Text("url", s.Url);
    row.Raw("created", FormatUtc(s.Created)).Raw("last_download", FormatUtc(s.LastDownload));
    row.Int("downloads", s.Downloads);
    rows.push_back(std::move(row));
  }
  return Answer(rows);
}

std::string SystemData(Storage& storage, const Request& r, int64_t now) {
  const int64_t id = r.Int("sys_id");
  std::optional<SystemRecord> s;
  storage.Transaction([&] {
    s = storage.FindSystem(id);
    if (!s) Fail("Система #{} не найдена", id);
    storage.CountSystemDownload(id, now);
  });
  Row row;
  row.Int("id", s->Id).Base64("clist", s->Rows);
  return Answer({row});
}

std::string SystemPut(Storage& storage, const Request& r, int64_t now) {
  const int64_t del_mode = r.IntIn("del_mode", 0, 1);
  const int64_t id = r.Int("sys_id");
  const Identity who = r.Writer();
  int64_t result = 0;
  storage.Transaction([&] {
    std::optional<SystemRecord> old;
    if (del_mode == 1 || id > 0) {
      old = storage.FindSystem(id);
      if (!old) Fail("Система #{} не найдена", id);
      if (!Allowed(old->Creator, who.Key))
        Fail("Систему #{} может изменить или удалить только тот, кто её опубликовал", id);
    }
    if (del_mode == 1) {
      storage.DeleteSystem(id);
      result = 0;
      return;
    }
    SystemRecord s;
    s.Nums = static_cast<int>(r.IntIn("nums", 5, 8));
    s.CombLen = static_cast<int>(r.IntIn("clen", 4, 4));
    s.Olap = static_cast<int>(r.IntIn("olap", 0, 3));
    s.CSize = static_cast<int>(r.IntIn("csize", 1, 1 << 16));
    s.Title = CheckedTitle(r.Escaped("title"));
    s.Descr = r.Escaped("descr");
    const auto clist = DecodeBase64(r.Raw("clist"));
    if (!clist) Fail("Поле \"clist\" не в кодировке Base64");
    const std::string rows_text = CUnescape(*clist);
    if (!IsUtf8(rows_text)) Fail("Поле \"clist\" не в кодировке UTF-8");
    s.Rows = NormalisedRows(rows_text, s.Nums, s.CSize);
    s.Url = Request::Plain("url", r.Raw("url"));
    s.Author = who.Name;
    s.AuthorMail = who.Mail;
    s.Creator = old ? old->Creator : who.Key;
    s.AppGuid = who.AppId;
    s.AppVer = who.AppVer;
    s.Lcid = who.Lcid;
    s.Created = now;  // a changed system is new to those who downloaded it
    if (old) {
      s.Id = old->Id;
      storage.UpdateSystem(s);
      result = s.Id;
    } else {
      result = storage.InsertSystem(s);
    }
  });
  Row row;
  row.Int("id_systems", result);
  return Answer({row});
}

// ---- scripts ----

std::string ScriptsList(Storage& storage, const Request& r, int64_t now) {
  const auto filter = static_cast<ScriptFilter>(r.IntIn("fltid", -1, 6));
  const Identity who = r.Sender();
  std::vector<Row> rows;
  for (const ScriptListing& l : storage.ListScripts(who.Key, filter, now)) {
    const ScriptRecord& s = l.Entry;
    Row row;
    row.Int("id", s.Id).Text("key_cl_name", s.Author).Text("key_cl_mail", s.AuthorMail).Int("key_cl_lcid", s.Lcid);
    row.Text("app_name", s.AppName).Text("app_ver", s.AppVer).Text("app_guid", s.AppGuid);
    row.Int("uniapps", s.Universal ? 1 : 0).Int("publics", s.Public ? 1 : 0).Raw("created", FormatUtc(s.Created));
    row.Raw("rating_avg", fmt::format("{:.3f}", l.RatingAvg)).Int("rating_cnt", l.RatesCount);
    row.Int("rating_you", l.MyRate).Int("downloads", s.Downloads).Raw("last_download", FormatUtc(s.LastDownload));
    row.Base64("title", s.Title).Base64("descr", s.Descr);
    rows.push_back(std::move(row));
  }
  return Answer(rows);
}

std::string ScriptData(Storage& storage, const Request& r, int64_t now) {
  const int64_t id = r.Int("scr_id");
  std::optional<ScriptRecord> s;
  storage.Transaction([&] {
    s = storage.FindScript(id);
    if (!s) Fail("Сценарий #{} не найден", id);
    storage.CountScriptDownload(id, now);
  });
  Row row;  // the program takes the row that begins with "<script>"
  row.Base64("script", s->Script).Int("id", s->Id);
  return Answer({row});
}

// The entry, when the sender may see it: public or their own.
ScriptRecord VisibleScript(Storage& storage, int64_t id, const Owner& who) {
  auto s = storage.FindScript(id);
  if (!s || (!s->Public && !Allowed(s->Creator, who))) Fail("Сценарий #{} не найден", id);
  return *s;
}

std::string ScriptRate(Storage& storage, const Request& r, int64_t now) {
  const int64_t id = r.Int("scr_id");
  const int rate = static_cast<int>(r.IntIn("rate_value", -1, 5));
  const std::string notes = Request::Plain("rate_notes", r.Escaped("rate_notes"));
  const Identity who = r.Writer();
  storage.Transaction([&] {
    VisibleScript(storage, id, who.Key);
    if (rate == 0) {
      storage.RemoveRating(id, who.Key);
      return;
    }
    RatingRecord rating;
    rating.ScriptId = id;
    rating.Rater = who.Key;
    rating.Rate = rate;
    rating.Notes = notes;
    rating.Name = who.Name;
    rating.AppName = AppNameOf(who.AppId);
    rating.AppVer = who.AppVer;
    rating.Created = now;
    storage.SetRating(rating);
  });
  Row row;
  row.Int("res_code", 0);
  return Answer({row});
}

std::string ScriptTitleCheck(Storage& storage, const Request& r) {
  const int64_t id = r.Int("scr_id");
  const std::string title = r.Escaped("scr_title");
  if (support::Trim(title).empty()) Fail("Название должно быть указано");
  Row row;
  row.Int("ret_code", storage.ScriptTitleTaken(title, id) ? 1 : 0);
  return Answer({row});
}

std::string ScriptPut(Storage& storage, const Request& r, int64_t now) {
  const int64_t del_mode = r.IntIn("del_mode", 0, 1);
  const int64_t id = r.Int("scr_id");
  const Identity who = r.Writer();
  int64_t result = 0;
  storage.Transaction([&] {
    std::optional<ScriptRecord> old;
    if (del_mode == 1 || id > 0) {
      old = storage.FindScript(id);
      if (!old || (!old->Public && !Allowed(old->Creator, who.Key))) Fail("Сценарий #{} не найден", id);
      if (!Allowed(old->Creator, who.Key))
        Fail("Сценарий #{} может изменить или удалить только тот, кто его опубликовал", id);
    }
    if (del_mode == 1) {
      storage.DeleteScript(id);
      result = 0;
      return;
    }
    ScriptRecord s;
    s.Universal = r.IntIn("scr_uniapps", 0, 1) == 1;
    s.Public = r.IntIn("scr_publics", 0, 1) == 1;
    s.Title = CheckedTitle(r.Escaped("scr_title"));
    if (storage.ScriptTitleTaken(s.Title, old ? old->Id : 0)) Fail("Сценарий с названием \"{}\" уже есть", s.Title);
    s.Descr = r.Escaped("scr_descr");
    s.Script = r.Escaped("scr_script");
    if (s.Script.size() > MaxScriptBytes)
      Fail("Текст сценария больше {} КиБ ({} байт)", MaxScriptBytes / 1024, s.Script.size());
    if (support::Trim(s.Script).empty()) Fail("Текст сценария пуст");
    s.Author = who.Name;
    s.AuthorMail = who.Mail;
    s.Creator = old ? old->Creator : who.Key;
    s.Lcid = who.Lcid;
    s.AppGuid = who.AppId;
    s.AppName = AppNameOf(who.AppId);
    s.AppVer = who.AppVer;
    s.Created = now;  // the program shows a replaced entry as published now
    if (old) {
      s.Id = old->Id;
      storage.UpdateScript(s);
      result = s.Id;
    } else {
      result = storage.InsertScript(s);
    }
  });
  Row row;
  row.Int("id_scripts", result);
  return Answer({row});
}

std::string ScriptRates(Storage& storage, const Request& r) {
  const int64_t id = r.Int("scr_id");
  if (!storage.FindScript(id)) Fail("Сценарий #{} не найден", id);
  std::vector<Row> rows;
  for (const RatingRecord& rating : storage.ListRatings(id)) {
    Row row;
    row.Text("key_cl_name", rating.Name).Int("rate", rating.Rate).Raw("created", FormatUtc(rating.Created));
    row.Text("app_name", rating.AppName).Text("app_ver", rating.AppVer).Text("notes", rating.Notes);
    rows.push_back(std::move(row));
  }
  return Answer(rows);
}

constexpr std::string_view kPaths[] = {
    "/scripts/sys_getlist.php", "/scripts/sys_getdata.php", "/scripts/sys_putdata.php",
    "/scripts/scr_getlist.php", "/scripts/scr_getdata.php", "/scripts/scr_setrate.php",
    "/scripts/scr_chktitle.php", "/scripts/scr_putscript.php", "/scripts/scr_getrates.php",
};

}  // namespace

std::string AppNameOf(std::string_view app_guid) {
  if (support::SameText(app_guid, net::AppGuid)) return "Kelmora_4r32";
  return std::string(app_guid);
}

Service::Service(Storage& storage, std::function<int64_t()> clock) : storage_(storage), clock_(std::move(clock)) {}

bool Service::Knows(std::string_view path) {
  for (const std::string_view p : kPaths)
    if (p == path) return true;
  return false;
}

Reply Service::Handle(std::string_view path, std::string_view body) {
  if (!Knows(path)) return {404, "Not Found"};
  if (body.size() > MaxBodyBytes) return {413, "Payload Too Large"};
  const std::lock_guard<std::mutex> lock(mutex_);
  try {
    const Request r(body);
    const int64_t now = clock_();
    const std::string_view name = path.substr(path.rfind('/') + 1);
    if (name == "sys_getlist.php") return {200, SystemsList(storage_, r)};
    if (name == "sys_getdata.php") return {200, SystemData(storage_, r, now)};
    if (name == "sys_putdata.php") return {200, SystemPut(storage_, r, now)};
    if (name == "scr_getlist.php") return {200, ScriptsList(storage_, r, now)};
    if (name == "scr_getdata.php") return {200, ScriptData(storage_, r, now)};
    if (name == "scr_setrate.php") return {200, ScriptRate(storage_, r, now)};
    if (name == "scr_chktitle.php") return {200, ScriptTitleCheck(storage_, r)};
    if (name == "scr_putscript.php") return {200, ScriptPut(storage_, r, now)};
    return {200, ScriptRates(storage_, r)};
  } catch (const std::exception& e) {
    return {200, ErrorAnswer(e.what())};
  }
}

}  // namespace kelmora::catalog
