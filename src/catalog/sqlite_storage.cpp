// The catalogue in SQLite: one connection in WAL mode, every statement prepared with its values
// bound, and a version table whose number says which of the migrations below have run.

#include <sqlite3.h>

#include <string_view>

#include "catalog/storage.h"
#include "support/error.h"
#include "support/text.h"

namespace kelmora::catalog {

namespace {

// Each entry brings the schema from the version before it to its own (index + 1); entries are
// only ever appended.
constexpr const char* kMigrations[] = {
    R"sql(
CREATE TABLE systems (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  nums INTEGER NOT NULL, comb_len INTEGER NOT NULL, olap INTEGER NOT NULL, csize INTEGER NOT NULL,
  title TEXT NOT NULL, descr TEXT NOT NULL, rows TEXT NOT NULL, url TEXT NOT NULL,
  author TEXT NOT NULL, author_mail TEXT NOT NULL,
  owner_mail TEXT NOT NULL, owner_install TEXT NOT NULL,
  app_guid TEXT NOT NULL, app_ver TEXT NOT NULL, lcid INTEGER NOT NULL,
  created INTEGER NOT NULL, downloads INTEGER NOT NULL DEFAULT 0, last_download INTEGER NOT NULL DEFAULT 0);
CREATE TABLE scripts (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  title TEXT NOT NULL, title_key TEXT NOT NULL, descr TEXT NOT NULL, script TEXT NOT NULL,
  author TEXT NOT NULL, author_mail TEXT NOT NULL,
  owner_mail TEXT NOT NULL, owner_install TEXT NOT NULL, lcid INTEGER NOT NULL,
  app_guid TEXT NOT NULL, app_name TEXT NOT NULL, app_ver TEXT NOT NULL,
  universal INTEGER NOT NULL, public INTEGER NOT NULL,
  created INTEGER NOT NULL, downloads INTEGER NOT NULL DEFAULT 0, last_download INTEGER NOT NULL DEFAULT 0);
CREATE INDEX scripts_title_key ON scripts(title_key);
CREATE TABLE ratings (
  script_id INTEGER NOT NULL REFERENCES scripts(id) ON DELETE CASCADE,
  rater_mail TEXT NOT NULL, rater_install TEXT NOT NULL,
  rate INTEGER NOT NULL, notes TEXT NOT NULL, name TEXT NOT NULL, app_name TEXT NOT NULL, app_ver TEXT NOT NULL,
  created INTEGER NOT NULL,
  PRIMARY KEY (script_id, rater_mail, rater_install));
)sql",
};

[[noreturn]] void FailDb(sqlite3* db, std::string_view what) {
  support::Fail("Ошибка базы данных каталога ({}): {}", what, db ? sqlite3_errmsg(db) : "нет соединения");
}

// A prepared statement; values are bound by position (1-based), columns read by index (0-based).
class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK)
      FailDb(db, "prepare");
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, int64_t value) {
    Check(sqlite3_bind_int64(stmt_, index, value));
    return *this;
  }
  Statement& Bind(int index, std::string_view value) {
    Check(sqlite3_bind_text64(stmt_, index, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
    return *this;
  }
  int Parameters() const { return sqlite3_bind_parameter_count(stmt_); }
  // True while there is a row to read.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    FailDb(db_, "step");
  }
  void Run() {
    while (Step()) {
    }
  }
  int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  double Real(int column) const { return sqlite3_column_double(stmt_, column); }
  std::string Text(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
  }

 private:
  void Check(int rc) {
    if (rc != SQLITE_OK) FailDb(db_, "bind");
  }
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

constexpr const char* kSystemColumns =
    "id, nums, comb_len, olap, csize, title, descr, rows, url, author, author_mail, owner_mail, owner_install, "
    "app_guid, app_ver, lcid, created, downloads, last_download";

SystemRecord ReadSystem(const Statement& s) {
  SystemRecord r;
  r.Id = s.Int(0);
  r.Nums = static_cast<int>(s.Int(1));
  r.CombLen = static_cast<int>(s.Int(2));
  r.Olap = static_cast<int>(s.Int(3));
  r.CSize = static_cast<int>(s.Int(4));
  r.Title = s.Text(5);
  r.Descr = s.Text(6);
  r.Rows = s.Text(7);
  r.Url = s.Text(8);
  r.Author = s.Text(9);
  r.AuthorMail = s.Text(10);
  r.Creator = {s.Text(11), s.Text(12)};
  r.AppGuid = s.Text(13);
  r.AppVer = s.Text(14);
  r.Lcid = static_cast<int>(s.Int(15));
  r.Created = s.Int(16);
  r.Downloads = s.Int(17);
  r.LastDownload = s.Int(18);
  return r;
}

// Binds the fields from nums to created, positions 1..16, in the order of kSystemColumns.
void BindSystem(Statement& s, const SystemRecord& r) {
  s.Bind(1, r.Nums).Bind(2, r.CombLen).Bind(3, r.Olap).Bind(4, r.CSize).Bind(5, r.Title).Bind(6, r.Descr);
  s.Bind(7, r.Rows).Bind(8, r.Url).Bind(9, r.Author).Bind(10, r.AuthorMail).Bind(11, r.Creator.Mail);
  s.Bind(12, r.Creator.Install).Bind(13, r.AppGuid).Bind(14, r.AppVer).Bind(15, r.Lcid).Bind(16, r.Created);
}

// Titles are compared trimmed and with letter case ignored.
std::string TitleKey(std::string_view title) { return support::UpperCase(support::Trim(title)); }

constexpr const char* kScriptColumns =
    "id, title, descr, script, author, author_mail, owner_mail, owner_install, lcid, app_guid, app_name, app_ver, "
    "universal, public, created, downloads, last_download";

ScriptRecord ReadScript(const Statement& s) {
  ScriptRecord r;
  r.Id = s.Int(0);
  r.Title = s.Text(1);
  r.Descr = s.Text(2);
  r.Script = s.Text(3);
  r.Author = s.Text(4);
  r.AuthorMail = s.Text(5);
  r.Creator = {s.Text(6), s.Text(7)};
  r.Lcid = static_cast<int>(s.Int(8));
  r.AppGuid = s.Text(9);
  r.AppName = s.Text(10);
  r.AppVer = s.Text(11);
  r.Universal = s.Int(12) != 0;
  r.Public = s.Int(13) != 0;
  r.Created = s.Int(14);
  r.Downloads = s.Int(15);
  r.LastDownload = s.Int(16);
  return r;
}

// Binds title .. created at 1..14 and the title key at 15, in the order of the insert.
void BindScript(Statement& s, const ScriptRecord& r) {
  s.Bind(1, r.Title).Bind(2, r.Descr).Bind(3, r.Script).Bind(4, r.Author).Bind(5, r.AuthorMail);
  s.Bind(6, r.Creator.Mail).Bind(7, r.Creator.Install).Bind(8, r.Lcid).Bind(9, r.AppGuid).Bind(10, r.AppName);
  s.Bind(11, r.AppVer).Bind(12, r.Universal ? 1 : 0).Bind(13, r.Public ? 1 : 0).Bind(14, r.Created);
  s.Bind(15, TitleKey(r.Title));
}

// The WHERE part of each list filter; ?1, ?2 are the user's pair, ?3 the current time, `my` the
// user's own rate (0 for none).
const char* FilterClause(ScriptFilter filter) {
  switch (filter) {
    case ScriptFilter::Hidden: return "my = -1";
    case ScriptFilter::All: return "1";
    case ScriptFilter::AllButHidden: return "my <> -1";
    case ScriptFilter::Mine: return "owner_mail = ?1 AND owner_install = ?2";
    case ScriptFilter::Public: return "public = 1";
    case ScriptFilter::RatedByMe: return "my > 0";
    case ScriptFilter::NotRatedByMe: return "my = 0";
    case ScriptFilter::New: return "created > ?3 - 86400 AND created <= ?3";
  }
  return "0";
}

class SqliteStorage final : public Storage {
 public:
  explicit SqliteStorage(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
      const std::string text = db_ ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      support::Fail("Не удалось открыть базу данных каталога \"{}\": {}", path, text);
    }
    sqlite3_busy_timeout(db_, 5000);
    try {
      Exec("PRAGMA journal_mode=WAL");
      Exec("PRAGMA foreign_keys=ON");
      Exec("PRAGMA synchronous=NORMAL");
      Migrate();
    } catch (...) {
      sqlite3_close(db_);
      throw;
    }
  }
  ~SqliteStorage() override { sqlite3_close(db_); }

  void Transaction(const std::function<void()>& work) override {
    Exec("BEGIN IMMEDIATE");
    try {
      work();
      Exec("COMMIT");
    } catch (...) {
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
      throw;
    }
  }

  std::vector<SystemRecord> ListSystems(int comb_len, int max_nums) override {
    Statement s(db_, fmt::format("SELECT {} FROM systems WHERE comb_len = ?1 AND nums <= ?2 ORDER BY id",
                                 kSystemColumns));
    s.Bind(1, comb_len).Bind(2, max_nums);
    std::vector<SystemRecord> out;
    while (s.Step()) out.push_back(ReadSystem(s));
    return out;
  }

  std::optional<SystemRecord> FindSystem(int64_t id) override {
    Statement s(db_, fmt::format("SELECT {} FROM systems WHERE id = ?1", kSystemColumns));
    s.Bind(1, id);
    if (!s.Step()) return std::nullopt;
    return ReadSystem(s);
  }

  int64_t InsertSystem(const SystemRecord& r) override {
    Statement s(db_,
                "INSERT INTO systems (nums, comb_len, olap, csize, title, descr, rows, url, author, author_mail, "
                "owner_mail, owner_install, app_guid, app_ver, lcid, created) "
                "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)");
    BindSystem(s, r);
    s.Run();
    return sqlite3_last_insert_rowid(db_);
  }

  void UpdateSystem(const SystemRecord& r) override {
    Statement s(db_,
                "UPDATE systems SET nums = ?1, comb_len = ?2, olap = ?3, csize = ?4, title = ?5, descr = ?6, "
                "rows = ?7, url = ?8, author = ?9, author_mail = ?10, owner_mail = ?11, owner_install = ?12, "
                "app_guid = ?13, app_ver = ?14, lcid = ?15, created = ?16 WHERE id = ?17");
    BindSystem(s, r);
    s.Bind(17, r.Id).Run();
  }

  void DeleteSystem(int64_t id) override { Statement(db_, "DELETE FROM systems WHERE id = ?1").Bind(1, id).Run(); }

  void CountSystemDownload(int64_t id, int64_t now) override {
    Statement(db_, "UPDATE systems SET downloads = downloads + 1, last_download = ?2 WHERE id = ?1")
        .Bind(1, id)
        .Bind(2, now)
        .Run();
  }

  std::vector<ScriptListing> ListScripts(const Owner& user, ScriptFilter filter, int64_t now) override {
    Statement s(db_, fmt::format(
                         "SELECT * FROM (SELECT {}, "
                         "(SELECT AVG(rate) FROM ratings r WHERE r.script_id = s.id AND r.rate > 0), "
                         "(SELECT COUNT(*) FROM ratings r WHERE r.script_id = s.id AND r.rate > 0), "
                         "COALESCE((SELECT rate FROM ratings r WHERE r.script_id = s.id AND r.rater_mail = ?1 "
                         "AND r.rater_install = ?2), 0) AS my "
                         "FROM scripts s WHERE public = 1 OR (owner_mail = ?1 AND owner_install = ?2)) "
                         "WHERE {} ORDER BY id",
                         kScriptColumns, FilterClause(filter)));
    s.Bind(1, user.Mail).Bind(2, user.Install);
    if (s.Parameters() >= 3) s.Bind(3, now);  // only the filter "new" asks for the time
    std::vector<ScriptListing> out;
    while (s.Step()) {
      ScriptListing l;
      l.Entry = ReadScript(s);
      l.Entry.Script.clear();
      l.RatingAvg = s.Real(17);
      l.RatesCount = s.Int(18);
      l.MyRate = static_cast<int>(s.Int(19));
      out.push_back(std::move(l));
    }
    return out;
  }

  std::optional<ScriptRecord> FindScript(int64_t id) override {
    Statement s(db_, fmt::format("SELECT {} FROM scripts WHERE id = ?1", kScriptColumns));
    s.Bind(1, id);
    if (!s.Step()) return std::nullopt;
    return ReadScript(s);
  }

  bool ScriptTitleTaken(const std::string& title, int64_t except_id) override {
    Statement s(db_, "SELECT 1 FROM scripts WHERE title_key = ?1 AND id <> ?2 LIMIT 1");
    s.Bind(1, TitleKey(title)).Bind(2, except_id);
    return s.Step();
  }

  int64_t InsertScript(const ScriptRecord& r) override {
    Statement s(db_,
                "INSERT INTO scripts (title, descr, script, author, author_mail, owner_mail, owner_install, lcid, "
                "app_guid, app_name, app_ver, universal, public, created, title_key) "
                "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15)");
    BindScript(s, r);
    s.Run();
    return sqlite3_last_insert_rowid(db_);
  }

  void UpdateScript(const ScriptRecord& r) override {
    Statement s(db_,
                "UPDATE scripts SET title = ?1, descr = ?2, script = ?3, author = ?4, author_mail = ?5, "
                "owner_mail = ?6, owner_install = ?7, lcid = ?8, app_guid = ?9, app_name = ?10, app_ver = ?11, "
                "universal = ?12, public = ?13, created = ?14, title_key = ?15 WHERE id = ?16");
    BindScript(s, r);
    s.Bind(16, r.Id).Run();
  }

  void DeleteScript(int64_t id) override {
    Statement(db_, "DELETE FROM ratings WHERE script_id = ?1").Bind(1, id).Run();
    Statement(db_, "DELETE FROM scripts WHERE id = ?1").Bind(1, id).Run();
  }

  void CountScriptDownload(int64_t id, int64_t now) override {
    Statement(db_, "UPDATE scripts SET downloads = downloads + 1, last_download = ?2 WHERE id = ?1")
        .Bind(1, id)
        .Bind(2, now)
        .Run();
  }

  void SetRating(const RatingRecord& r) override {
    Statement s(db_,
                "INSERT INTO ratings (script_id, rater_mail, rater_install, rate, notes, name, app_name, app_ver, "
                "created) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9) "
                "ON CONFLICT (script_id, rater_mail, rater_install) DO UPDATE SET rate = excluded.rate, "
                "notes = excluded.notes, name = excluded.name, app_name = excluded.app_name, "
                "app_ver = excluded.app_ver, created = excluded.created");
    s.Bind(1, r.ScriptId).Bind(2, r.Rater.Mail).Bind(3, r.Rater.Install).Bind(4, r.Rate).Bind(5, r.Notes);
    s.Bind(6, r.Name).Bind(7, r.AppName).Bind(8, r.AppVer).Bind(9, r.Created).Run();
  }

  void RemoveRating(int64_t script_id, const Owner& rater) override {
    Statement(db_, "DELETE FROM ratings WHERE script_id = ?1 AND rater_mail = ?2 AND rater_install = ?3")
        .Bind(1, script_id)
        .Bind(2, rater.Mail)
        .Bind(3, rater.Install)
        .Run();
  }

  std::vector<RatingRecord> ListRatings(int64_t script_id) override {
    Statement s(db_,
                "SELECT rater_mail, rater_install, rate, notes, name, app_name, app_ver, created FROM ratings "
                "WHERE script_id = ?1 AND rate > 0 ORDER BY created, rowid");
    s.Bind(1, script_id);
    std::vector<RatingRecord> out;
    while (s.Step()) {
      RatingRecord r;
      r.ScriptId = script_id;
      r.Rater = {s.Text(0), s.Text(1)};
      r.Rate = static_cast<int>(s.Int(2));
      r.Notes = s.Text(3);
      r.Name = s.Text(4);
      r.AppName = s.Text(5);
      r.AppVer = s.Text(6);
      r.Created = s.Int(7);
      out.push_back(std::move(r));
    }
    return out;
  }

 private:
  void Exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
      const std::string text = message ? message : sqlite3_errmsg(db_);
      sqlite3_free(message);
      support::Fail("Ошибка базы данных каталога: {}", text);
    }
  }

  // Runs the migrations the database has not seen yet, each in its own transaction with the new
  // version number, so a failed one leaves the database at the version before it.
  void Migrate() {
    Exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
    int64_t version = 0;
    {
      Statement s(db_, "SELECT MAX(version) FROM schema_version");
      if (s.Step()) version = s.Int(0);
    }
    constexpr int64_t known = static_cast<int64_t>(std::size(kMigrations));
    if (version > known)
      support::Fail("База данных каталога новее этой программы (версия схемы {}, известна {})", version, known);
    for (int64_t v = version; v < known; ++v) {
      Transaction([&] {
        Exec(kMigrations[v]);
        Statement(db_, "DELETE FROM schema_version").Run();
        Statement(db_, "INSERT INTO schema_version (version) VALUES (?1)").Bind(1, v + 1).Run();
      });
    }
  }

  sqlite3* db_ = nullptr;
};

}  // namespace

std::unique_ptr<Storage> OpenSqliteStorage(const std::string& path) { return std::make_unique<SqliteStorage>(path); }

}  // namespace kelmora::catalog
