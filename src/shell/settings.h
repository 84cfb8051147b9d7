#pragma once
// The configuration file "Kelmora_4r32.ini": the analysis settings, the generation defaults, the
// shredding formulas and the proxy settings, each group read and written as a whole.

#include <cstdint>
#include <string>
#include <vector>

#include "lottery/types.h"
#include "shell/network_settings.h"
#include "support/ini_file.h"

namespace kelmora::shell {

// The ranges of the settings dialog; values read from files are clamped into them.
inline constexpr int32_t ChannelSizeMin = 1, ChannelSizeMax = 8;
inline constexpr int32_t MatrixColsMin = 1, MatrixColsMax = 8;
inline constexpr int32_t MaxProfitRows = 256;  // one per number of matches is all a table can use

struct TGenerationDefaults {
  uint8_t Mode = 0;        // 0..4
  std::string Parameters;  // at most 255 characters
  bool operator==(const TGenerationDefaults&) const = default;
};

struct TProgramSettings {
  lottery::TConfigData Config;
  TGenerationDefaults Generation;
  lottery::TShreddingData Shredding;
  lottery::TProxy Proxy;
  TNetworkSettings Network;
};

// Reads a group from the document into settings key by key, so that when a malformed value throws
// support::Error the keys read before it keep their new values and the rest keep what they had.
void ReadGenerationDefaults(const support::IniFile& ini, TGenerationDefaults& out);
// ChannelSize and MatrixCols are clamped into the dialog's ranges, the profit rows to MaxProfitRows;
// a channel size outside its range makes `problem` (when given) receive the text to report.
void ReadAnalysisSettings(const support::IniFile& ini, lottery::TConfigData& out, std::string* problem = nullptr);
void ReadShredding(const support::IniFile& ini, lottery::TShreddingData& out);
void ReadProxy(const support::IniFile& ini, lottery::TProxy& out);

// Writes a group's keys into the document (other sections and keys stay as they are).
void WriteGenerationDefaults(support::IniFile& ini, const TGenerationDefaults& in);
void WriteAnalysisSettings(support::IniFile& ini, const lottery::TConfigData& in);
void WriteShredding(support::IniFile& ini, const lottery::TShreddingData& in);
void WriteProxy(support::IniFile& ini, const lottery::TProxy& in);

// One line of `config show`: section, key, effective value as the file would hold it.
struct TConfigEntry {
  std::string Section;
  std::string Key;
  std::string Value;
};
// Every configuration key with its effective value, in the order of the file's documentation.
std::vector<TConfigEntry> ListConfigEntries(const TProgramSettings& settings);

}  // namespace kelmora::shell
