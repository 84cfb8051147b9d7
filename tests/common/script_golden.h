#pragma once
// The golden cases of script runs (tests/data/scripts/<case>/): the archive they run on, their
// options, and the readable forms of what a run leaves (stakes grid, rating, masked log).
//
// A case folder holds script.lsc, Kelmora_4r32.ini (the settings), case.ini (how it is run) and
// expected/ with the stakes and rating files' bytes, their grids as TSV, the log with its time
// stamps masked and result.txt. Set KELMORA_REGENERATE_GOLDEN=1 to write expected/ anew (then read
// the TSV files and the log to see that they are right before committing them).

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "stakes/rating.h"
#include "stakes/stake_rec.h"
#include "support/encoding.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::testing {

inline std::filesystem::path ScriptCasesDir() { return std::filesystem::path(KELMORA_TEST_DATA) / "scripts"; }

inline std::vector<std::string> ScriptCaseNames() {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(ScriptCasesDir()))
    if (e.is_directory()) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

inline bool RegenerateGolden() {
  const char* v = std::getenv("KELMORA_REGENERATE_GOLDEN");
  return v && *v && std::string(v) != "0";
}

// The archive every case runs on: `count` uniform draws from a fixed seed, numbered from 1.
inline lottery::TDrawsArray GoldenArchive(int count) {
  std::mt19937 rng(20240601u);
  lottery::TDrawsArray draws;
  for (int i = 0; i < count; ++i) {
    lottery::TDrawRec d;
    d.Number = i + 1;
    for (int p = 0; p < 4; ++p) d.Values = lottery::SetCombValue(d.Values, p, 7 + static_cast<int>(rng() % 8));
    draws.push_back(d);
  }
  return draws;
}

// case.ini: "key=value" lines.
inline std::map<std::string, std::string> ReadCaseOptions(const std::filesystem::path& path) {
  std::map<std::string, std::string> options;
  for (const auto& line : support::SplitLines(support::ReadFileText(path))) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) options[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return options;
}

inline int CaseInt(const std::map<std::string, std::string>& o, const std::string& key, int fallback) {
  const auto it = o.find(key);
  return it == o.end() ? fallback : std::atoi(it->second.c_str());
}

// The stakes file as its grid (separators as empty rows), one TSV line per record.
inline std::string StakesGrid(const std::filesystem::path& path) {
  std::string out;
  const std::string bytes = support::FileExists(path) ? support::ReadFileText(path) : std::string();
  for (size_t at = 0; at + stakes::StakeRecSize <= bytes.size(); at += stakes::StakeRecSize) {
    const auto rec = stakes::DecodeStake(reinterpret_cast<const uint8_t*>(bytes.data() + at));
    for (int c = 0; c < stakes::StakeColumnCount; ++c) {
      if (c) out += '\t';
      out += stakes::StakeCellText(rec, c, '.');
    }
    out += '\n';
  }
  return out;
}

inline std::string RatingGrid(const std::filesystem::path& path) {
  std::string problem;
  const auto rating = support::FileExists(path) ? stakes::ReadRatingFile(path, &problem) : stakes::TRatingsArray{};
  std::string out;
  for (const auto& rec : rating) {
    for (int c = 0; c < 11; ++c) {
      if (c) out += '\t';
      out += stakes::RatingCellText(rec, c, 1, '.');
    }
    out += '\n';
  }
  return out;
}

// The log read back: Windows-1251 lines each ended by CR LF, shown in UTF-8 with "\n" and every
// "[yyyy-mm-dd hh:nn:ss]: " stamp replaced by "[STAMP]: ". *well_formed is false when a line does
// not end in CR LF or has no stamp.
inline std::string MaskedLog(const std::filesystem::path& path, bool* well_formed) {
  *well_formed = true;
  if (!support::FileExists(path)) return {};
  const std::string bytes = support::ReadFileText(path);
  std::string out;
  size_t at = 0;
  while (at < bytes.size()) {
    const size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) {
      *well_formed = false;
      break;
    }
    std::string line = support::Cp1251ToUtf8(bytes.substr(at, end - at));
    const bool stamped = line.size() >= 23 && line[0] == '[' && line[5] == '-' && line[8] == '-' && line[11] == ' ' &&
                         line[14] == ':' && line[17] == ':' && line.compare(20, 3, "]: ") == 0;
    if (!stamped) *well_formed = false;
    out += stamped ? "[STAMP]: " + line.substr(23) : line;
    out += '\n';
    at = end + 2;
  }
  return out;
}

// The only ScriptLog_*.txt of a folder, empty when there is none.
inline std::filesystem::path FindScriptLog(const std::filesystem::path& dir) {
  std::filesystem::path found;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    const std::string name = e.path().filename().string();
    if (name.rfind("ScriptLog_", 0) == 0) found = e.path();
  }
  return found;
}

inline std::string FileOrEmpty(const std::filesystem::path& path) {
  return support::FileExists(path) ? support::ReadFileText(path) : std::string();
}

}  // namespace kelmora::testing
