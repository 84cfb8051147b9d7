#pragma once
// The catalogue's records and the storage they live in. The service speaks to storage only through
// this interface, so that another SQL engine can take SQLite's place.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelmora::catalog {

// Who sends a request: the lower-cased e-mail address and the installation identifier. An entry
// belongs to the pair that created it; ratings are kept per pair.
struct Owner {
  std::string Mail;
  std::string Install;
  bool operator==(const Owner&) const = default;
};

struct SystemRecord {
  int64_t Id = 0;
  int Nums = 0;
  int CombLen = 4;
  int Olap = 0;
  int CSize = 0;
  std::string Title;
  std::string Descr;
  std::string Rows;  // one row per line (CR LF), each "%.2d %.2d %.2d %.2d"
  std::string Url;
  std::string Author;
  std::string AuthorMail;  // as sent
  Owner Creator;  // the pair that created the entry; only it may change it
  std::string AppGuid;
  std::string AppVer;
  int Lcid = 0;
  int64_t Created = 0;  // UTC seconds
  int64_t Downloads = 0;
  int64_t LastDownload = 0;
};

struct ScriptRecord {
  int64_t Id = 0;
  std::string Title;
  std::string Descr;
  std::string Script;
  std::string Author;
  std::string AuthorMail;
  Owner Creator;  // the pair that created the entry; only it may change it
  int Lcid = 0;
  std::string AppGuid;
  std::string AppName;
  std::string AppVer;
  bool Universal = false;
  bool Public = true;
  int64_t Created = 0;
  int64_t Downloads = 0;
  int64_t LastDownload = 0;
};

// A script entry as a list shows it to one user.
struct ScriptListing {
  ScriptRecord Entry;  // without Script
  double RatingAvg = 0;
  int64_t RatesCount = 0;
  int MyRate = 0;  // -1 hidden by this user, 0 none, 1..5
};

struct RatingRecord {
  int64_t ScriptId = 0;
  Owner Rater;
  int Rate = 0;  // -1 hides the entry from the rater's list, 1..5 rate it
  std::string Notes;
  std::string Name;
  std::string AppName;
  std::string AppVer;
  int64_t Created = 0;
};

// The list filters of the script catalogue, by their code on the wire.
enum class ScriptFilter : int {
  Hidden = -1,         // hidden by this user
  All = 0,             // including the hidden ones
  AllButHidden = 1,
  Mine = 2,
  Public = 3,
  RatedByMe = 4,       // rated 1..5 by this user
  NotRatedByMe = 5,    // neither rated nor hidden by this user
  New = 6,             // published in the last 24 hours
};

class Storage {
 public:
  virtual ~Storage() = default;

  // Runs the work as one transaction: all of it is stored or, when it throws, none of it.
  virtual void Transaction(const std::function<void()>& work) = 0;

  // Systems for combinations of `comb_len` values made for at most `max_nums` values, oldest first.
  virtual std::vector<SystemRecord> ListSystems(int comb_len, int max_nums) = 0;
  // The entry with its rows.
  virtual std::optional<SystemRecord> FindSystem(int64_t id) = 0;
  virtual int64_t InsertSystem(const SystemRecord& record) = 0;  // returns the new identifier
  virtual void UpdateSystem(const SystemRecord& record) = 0;      // every field but the counts
  virtual void DeleteSystem(int64_t id) = 0;
  virtual void CountSystemDownload(int64_t id, int64_t now) = 0;

  // The entries the user may see (public ones and their own) that pass the filter, oldest first.
  virtual std::vector<ScriptListing> ListScripts(const Owner& user, ScriptFilter filter, int64_t now) = 0;
  virtual std::optional<ScriptRecord> FindScript(int64_t id) = 0;
  // Whether an entry other than `except_id` has this title, letter case ignored.
  virtual bool ScriptTitleTaken(const std::string& title, int64_t except_id) = 0;
  virtual int64_t InsertScript(const ScriptRecord& record) = 0;
  virtual void UpdateScript(const ScriptRecord& record) = 0;
  virtual void DeleteScript(int64_t id) = 0;  // with its ratings
  virtual void CountScriptDownload(int64_t id, int64_t now) = 0;
  // Sets (replaces) the rater's rating of the entry.
  virtual void SetRating(const RatingRecord& rating) = 0;
  virtual void RemoveRating(int64_t script_id, const Owner& rater) = 0;
  // The ratings 1..5 of the entry, oldest first (hidings are the rater's own business).
  virtual std::vector<RatingRecord> ListRatings(int64_t script_id) = 0;
};

// Opens (creating when missing) the SQLite database and brings its schema up to date. Throws
// support::Error when it cannot.
std::unique_ptr<Storage> OpenSqliteStorage(const std::string& path);

}  // namespace kelmora::catalog
