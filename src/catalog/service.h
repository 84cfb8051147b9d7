#pragma once
// The catalogue's requests and answers, apart from HTTP: a form body posted to a path gives the
// answer text the program reads by markers. Every refusal is an answer whose row holds "<error>"
// with the reason; nothing of a refused request is stored.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "catalog/storage.h"

namespace kelmora::catalog {

// The largest request body taken; a larger one is answered with HTTP 413.
inline constexpr size_t MaxBodyBytes = 1024 * 1024;
inline constexpr size_t MaxTitleChars = 64;
inline constexpr size_t MaxScriptBytes = 256 * 1024;
// How long an entry counts as new for the list filter "new".
inline constexpr int64_t NewEntrySeconds = 24 * 3600;

struct Reply {
  int Status = 200;  // 404 for a path the catalogue does not know
  std::string Body;
};

class Service {
 public:
  // `clock` gives the current time in UTC seconds.
  Service(Storage& storage, std::function<int64_t()> clock);

  // Safe to call from several threads; requests are served one at a time.
  Reply Handle(std::string_view path, std::string_view body);

  // Whether the path is one of the catalogue's form paths.
  static bool Knows(std::string_view path);

 private:
  Storage& storage_;
  std::function<int64_t()> clock_;
  std::mutex mutex_;
};

// The name of the program an application identifier stands for; the identifier itself when unknown.
std::string AppNameOf(std::string_view app_guid);

}  // namespace kelmora::catalog
