#pragma once
// The systems catalogue on the vendor's web server: the list, the rows of one system, and the put
// (save or delete), as HTTPS form posts under "/scripts/" whose answers go through ReadAnswerRows.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/http_client.h"
#include "net/vendor.h"

namespace kelmora::net {

// One catalogue entry. Times are UTC seconds since 1970, 0 = none.
struct tSystemInfo {
  int32_t Id = 0;  // <= 0 for the placeholder row
  uint8_t Nums = 0;
  uint8_t Olap = 0;
  int32_t CSize = 0;
  std::string Title;
  std::string Author;
  std::string AuthorMail;
  std::string Descr;
  int64_t Created = 0;
  int32_t Downloads = 0;
  int64_t LastDownload = 0;
  std::string Url;
  bool operator==(const tSystemInfo&) const = default;
};

// An entry with its rows, one per line.
struct tSystemData : tSystemInfo {
  std::string CList;
  bool operator==(const tSystemData&) const = default;
};

// "yyyy-mm-dd hh:nn:ss" read by position as UTC; 0 for an empty text. Throws support::Error for a
// text that is not such a moment.
int64_t CatalogTimeValue(std::string_view text);

// The answers, row by row (ReadAnswerRows fails the whole answer on a non-empty "<error>").
std::vector<tSystemInfo> ParseSystemsList(std::string_view answer);
// The decoded "<clist>" of the first row that has a non-empty one; empty when none has.
std::string ParseSystemRows(std::string_view answer);
// The first "<id_systems>" >= 0; -1 when there is none.
int32_t ParseSystemId(std::string_view answer);

// The form fields of each request, in the catalogue's order.
TFormFields SystemsListFields(const TUserIdentity& identity, int lcid);
TFormFields SystemRowsFields(int32_t id);
TFormFields PutSystemFields(const tSystemData& data, bool del, const TUserIdentity& identity, int lcid);

// The requests to base_url (the catalogue's address, the paths appended). Each throws
// support::Error with the transport's or the answer's reason.
std::vector<tSystemInfo> RequestSystemsList(const std::string& base_url, const TUserIdentity& identity, int lcid,
                                            const THttpSettings& settings);
std::string RequestSystemRows(const std::string& base_url, int32_t id, const THttpSettings& settings);
int32_t RequestPutSystem(const std::string& base_url, const tSystemData& data, bool del,
                         const TUserIdentity& identity, int lcid, const THttpSettings& settings);

}  // namespace kelmora::net
