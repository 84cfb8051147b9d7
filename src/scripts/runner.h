#pragma once
// What the script runner makes that does not depend on the Session: the names of its stakes, its
// log file and entries, the fixed texts of the log, and the random pick of stake mode RAND.

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "lottery/types.h"

namespace kelmora::scripts {

// --- stake names ---

// The name of a script stake: "%.2d.%.3d:" with the line and variant numbers, a blank, the comment
// and a blank when the comment is not empty, "@", a blank and the description; cut to 255
// characters (Windows-1251 bytes). "01.003: my comment @ EXCL:3#RAND + TSD1#NUMS:10#LMV:5#SF:1".
std::string ScriptStakeName(int line, int64_t variant, std::string_view comment, std::string_view description);
// The description of a variant's stakes: the short option word, " + ", the variant's text; the short
// option word alone for a step without filters (variant_text empty).
std::string ScriptStakeDescription(std::string_view short_options, std::string_view variant_text);

// --- the log ---

// A moment of the local clock, as the log writes it.
struct TLocalTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
  bool operator==(const TLocalTime&) const = default;
};
TLocalTime LocalTimeNow();

// "ScriptLog_yyyy-mm-dd-hh-nn-ss.txt".
std::string ScriptLogFileName(const TLocalTime& start);
// Whether a file name matches ScriptLog_*.txt (the names LogsDelete removes).
bool IsScriptLogFileName(std::string_view name);
// "[yyyy-mm-dd hh:nn:ss]: text" (the bare prefix for an empty text).
std::string ScriptLogEntry(const TLocalTime& now, std::string_view text);
// Opens the file for appending (created when missing), writes the entry in Windows-1251 ended by
// CR LF and closes it again. Throws support::Error with the system's reason.
void AppendScriptLogEntry(const std::filesystem::path& path, const TLocalTime& now, std::string_view text);

// The fixed entries.
extern const char* const LogStartLine;     // "### ЗАПУСК СЦЕНАРИЯ ###..."
extern const char* const LogFinishLine;    // "### ЗАВЕРШЕНИЕ СЦЕНАРИЯ ###..."
extern const char* const LogStoppedLine;   // "### ВЫПОЛНЕНИЕ СЦЕНАРИЯ ПРЕРВАНО ###..."
extern const char* const LogPassLine;      // the "=" line
extern const char* const LogStepLine;      // the "-" line
// "=== Выполнение сценария для смещения %.6d ===...".
std::string LogOffsetLine(int offset);

// --- the random pick ---

// A uniform generator seeded once; the same seed gives the same picks on every platform.
class TScriptRandom {
 public:
  TScriptRandom() : engine_(std::random_device{}()) {}
  void Seed(uint32_t seed) { engine_.seed(seed); }
  // A uniform index 0..n-1 (n >= 1), without the bias of a plain modulo.
  int Index(int n);

 private:
  std::mt19937 engine_;
};

}  // namespace kelmora::scripts
