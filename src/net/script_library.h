#pragma once
// The online script library's requests and answers: the catalogue list, a script's text, the
// ratings, the title check, publishing and deleting. Each request is one HTTPS form POST to the
// catalogue's base address and a path under "/scripts/", read by the vendor's markers. Failures
// throw support::Error; the callers show them in their own words.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/http_client.h"
#include "net/vendor.h"

namespace kelmora::net {

// One catalogue entry. Times are UTC seconds since 1970 (0: none), shown in local time.
struct tScriptInfo {
  int32_t Id = 0;
  std::string Author;
  std::string AuthorMail;
  int32_t Lcid = 0;
  std::string AppName;
  std::string AppVer;
  bool Universal = false;
  bool Public = false;
  int64_t Created = 0;
  long double Rating = 0;
  int32_t RatesCount = 0;
  int32_t MyRate = 0;  // -1 hidden by the user, 0 none, 1..5
  int32_t Downloads = 0;
  int64_t LastDownload = 0;
  std::string Title;
  std::string Descr;
  bool Mine = false;
  bool Editable = false;
  bool Compatible = false;
};

// What the properties dialog edits and publishing sends.
struct tScriptData {
  int32_t Id = -1;
  std::string Author;
  int32_t Lcid = 0;
  bool Universal = false;
  bool Public = true;
  std::string Title;
  std::string Descr;
  bool operator==(const tScriptData&) const = default;
};

// One user's rating of an entry, texts as received.
struct TScriptRate {
  std::string Name;
  std::string Rate;
  int64_t Created = 0;
  std::string AppName;
  std::string AppVer;
  std::string Notes;
};

// The catalogue filter's items; the value sent as "fltid" is the index minus one.
inline constexpr const char* CatalogueFilterItems[] = {
    "Скрытые",          "Все, включая скрытые", "Все, кроме скрытых (по умолчанию)",
    "Только мои",       "Только публичные",     "С моими оценками",
    "Без моих оценок",  "Новые (24 часа с момента публикации)"};
inline constexpr int CatalogueFilterCount = 8;
inline constexpr int DefaultCatalogueFilter = 2;

// A new entry's data: Id -1, the user's name, the given language, not universal, public.
tScriptData NewScriptData(const TUserIdentity& identity, int lcid);
tScriptData ToScriptData(const tScriptInfo& info);
// Copies everything but Id into the entry.
void ApplyScriptData(tScriptInfo& info, const tScriptData& data);

// Where the requests go and who makes them.
struct TCatalogueClient {
  std::string BaseUrl;  // the catalogue's base address; "/scripts/..." is appended
  TUserIdentity Identity;
  THttpSettings Http;
};

// "scr_getlist.php": the entries as the server filters them. `add` receives each entry as soon as
// its row is read, so the entries before a failing row are kept by the caller. `lcid` is the
// interface language, also the language of an entry without a numeric one.
void LoadScriptCatalogue(const TCatalogueClient& client, int fltid, int lcid,
                         const std::function<void(tScriptInfo)>& add);
// "scr_getdata.php": the script's lines when the last row read began with "<script>"; nullopt
// otherwise.
std::optional<std::vector<std::string>> FetchCatalogueScript(const TCatalogueClient& client, int32_t id);
// "scr_setrate.php": true when the return code is >= 0; false when the answer has no "<result>";
// throws "Код возврата: %d" for a negative code (-1 when no row).
bool SendScriptRate(const TCatalogueClient& client, int32_t id, int value, int lcid, const std::string& notes);
// "scr_chktitle.php": whether the title is free.
bool CheckScriptTitle(const TCatalogueClient& client, int32_t id, const std::string& title);
// "scr_putscript.php": the "<id_scripts>" of the last row, -1 when none. A save succeeds with a
// value > 0, a delete with 0.
int32_t PutCatalogueScript(const TCatalogueClient& client, const tScriptData& data, const std::string& script_text);
int32_t RemoveCatalogueScript(const TCatalogueClient& client, const tScriptData& data);
// "scr_getrates.php": the ratings; nullopt when the answer has no "<result>".
std::optional<std::vector<TScriptRate>> LoadScriptRates(const TCatalogueClient& client, int32_t id);

// The answer's pieces: a UTC "yyyy-mm-dd hh:nn:ss" read by position (0 for an empty text), a
// rating average (digits and "-", "." or "," as the point, 0 when no number), Base64.
int64_t ParseCatalogueTime(std::string_view text);
long double ParseRatingAverage(std::string_view text);
std::string DecodeBase64(std::string_view text);
std::string EncodeBase64(std::string_view bytes);
// A time as local "yyyy-mm-dd hh:mm:ss"; empty for 0.
std::string FormatLocalTime(int64_t utc_seconds);

}  // namespace kelmora::net
