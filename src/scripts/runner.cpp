#include "scripts/runner.h"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <fstream>

#include <fmt/format.h>

#include "support/encoding.h"
#include "support/error.h"

namespace kelmora::scripts {

const char* const LogStartLine =
    "### ЗАПУСК СЦЕНАРИЯ ##########################################################################";
const char* const LogFinishLine =
    "### ЗАВЕРШЕНИЕ СЦЕНАРИЯ ######################################################################";
const char* const LogStoppedLine =
    "### ВЫПОЛНЕНИЕ СЦЕНАРИЯ ПРЕРВАНО #############################################################";
const char* const LogPassLine =
    "==============================================================================================";
const char* const LogStepLine =
    "----------------------------------------------------------------------------------------------";

std::string LogOffsetLine(int offset) {
  return fmt::format("=== Выполнение сценария для смещения {:06d} ==================================================",
                     offset);
}

std::string ScriptStakeName(int line, int64_t variant, std::string_view comment, std::string_view description) {
  std::string name = fmt::format("{:02d}.{:03d}: ", line, variant);
  if (!comment.empty()) {
    name += comment;
    name += ' ';
  }
  name += "@ ";
  name += description;
  return support::CutToCp1251Bytes(name, 255);
}

std::string ScriptStakeDescription(std::string_view short_options, std::string_view variant_text) {
  if (variant_text.empty()) return std::string(short_options);
  return fmt::format("{} + {}", short_options, variant_text);
}

TLocalTime LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string ScriptLogFileName(const TLocalTime& t) {
  return fmt::format("ScriptLog_{:04d}-{:02d}-{:02d}-{:02d}-{:02d}-{:02d}.txt", t.Year, t.Month, t.Day, t.Hour,
                     t.Minute, t.Second);
}

bool IsScriptLogFileName(std::string_view name) {
  constexpr std::string_view prefix = "ScriptLog_", suffix = ".txt";
  return name.size() >= prefix.size() + suffix.size() && name.substr(0, prefix.size()) == prefix &&
         name.substr(name.size() - suffix.size()) == suffix;
}

std::string ScriptLogEntry(const TLocalTime& t, std::string_view text) {
  return fmt::format("[{:04d}-{:02d}-{:02d} {:02d}:{:02d}:{:02d}]: {}", t.Year, t.Month, t.Day, t.Hour, t.Minute,
                     t.Second, text);
}

void AppendScriptLogEntry(const std::filesystem::path& path, const TLocalTime& now, std::string_view text) {
  // Opened and closed for every entry, so that the log is whole on disk whatever happens next.
  std::ofstream f(path, std::ios::binary | std::ios::app);
  if (!f) support::Fail("{}", std::strerror(errno));
  f << support::Utf8ToCp1251(ScriptLogEntry(now, text)) << "\r\n";
  f.close();
  if (!f) support::Fail("{}", std::strerror(errno));
}

int TScriptRandom::Index(int n) {
  if (n <= 1) return 0;
  // Draws above the largest multiple of n are thrown away, so every index is equally likely.
  const uint32_t range = static_cast<uint32_t>(n);
  const uint32_t limit = UINT32_MAX - UINT32_MAX % range;
  uint32_t x;
  do {
    x = static_cast<uint32_t>(engine_());
  } while (x >= limit);
  return static_cast<int>(x % range);
}

}  // namespace kelmora::scripts
