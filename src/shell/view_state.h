#pragma once
// The view-state file ("Kelmora_4r32.frm"): one section per window with placement, list columns and
// the window's own switches. Writes go through to the file at once.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/table.h"
#include "support/ini_file.h"

namespace kelmora::shell {

// The main window's section name.
inline constexpr const char* MainWindowSection = "TFormMain";

// Placement of a window: normal rectangle (left, top, right, bottom), minimized and maximized
// positions, show state and the resolution it was saved at.
struct TWindowPlacement {
  int32_t Flags = 0;
  int32_t ShowCmd = 1;
  int32_t PixelsPerInch = 96;
  std::array<int32_t, 4> MinMaxPos{};
  std::array<int32_t, 4> NormPos{};
};

struct TListColumns {
  std::vector<int32_t> Widths;
  std::optional<std::pair<int32_t, int32_t>> Sort;  // column, direction
};

class ViewState {
 public:
  explicit ViewState(std::filesystem::path path) : ini_(std::move(path)) {}

  // Reads the whole file; throws support::Error when it exists but cannot be read. After such a
  // failure every write throws the reading error instead of replacing the unread file.
  void Load();

  // Typed reads with a default; a malformed value throws support::Error.
  int32_t ReadInt(std::string_view section, std::string_view key, int32_t def) const;
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;
  // Write-through: the file is written at once; throws support::Error when it cannot be.
  void WriteInt(std::string_view section, std::string_view key, int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Placement keys for the given screen size ("NormPos_%dx%d" and plain "NormPos").
  void SavePlacement(std::string_view section, const TWindowPlacement& placement, int screen_width,
                     int screen_height);
  // The stored placement when it may be applied: a stored key was found and the resolution equals
  // pixels_per_inch. A malformed NormPos number keeps the current edge, a malformed MinMaxPos gives 0;
  // a malformed Flags or ShowCmd takes its default and a malformed PixelsPerInch matches no resolution.
  // Never throws.
  std::optional<TWindowPlacement> RestorePlacement(std::string_view section, int screen_width, int screen_height,
                                                   int pixels_per_inch,
                                                   const std::array<int32_t, 4>& current_rect) const;

  void SaveColumns(std::string_view section, std::string_view list, const TListColumns& columns);
  // Widths of the first column_count columns (default where absent or malformed) and the sort setting
  // if stored. Never throws.
  TListColumns RestoreColumns(std::string_view section, std::string_view list, int column_count,
                              const std::vector<int32_t>& default_widths) const;

  // Writes several keys with one file write.
  void BeginBatch() { ++batch_; }
  void EndBatch();

  const support::IniFile& Ini() const { return ini_; }

 private:
  void Flush();
  void Save() const;
  support::IniFile ini_;
  std::string read_error_;
  int batch_ = 0;
  bool dirty_ = false;
};

// The main window's switches and sizes kept in its section, with their defaults.
struct TMainViewState {
  int32_t LeftPanelWidth = 420;
  int32_t DrawsExclude = 0;
  int32_t DrawsStatLen = stats::DefaultWindowLength;
  int32_t DrawsStatHeight = 200;
  int32_t DrawsGraphLen = 100;
  int32_t FiltersHeight = 150;
  int32_t LayoutLen = 100;
  std::array<int32_t, 5> LayoutCompareLen = {50, 100, 200, 300, 400};
  int32_t WeekLen = 1000;
  int32_t WeekHeight = 200;
  int32_t WeekChartMode = 0;
  bool WeekChartType = false;
  bool AutoUpdates = true;
  int32_t DownloadDrawsOnStart = 0;
  bool ScriptLogEnabled = false;
  bool StakesLogEnabled = false;
  bool StakesScrollEnabled = true;
  bool StakesCheckOnLine = true;
  bool ColorDraws = true;
  bool ColorCombs = true;
  bool ColorCard = true;
  bool ColorCardSequences = true;
  bool LayoutGradient = true;
  bool SortedDraws = false;
  bool PrefetchsEnabled = false;
  bool PrefetchsInit = false;
  bool ShowTotalLine = true;
  int32_t RatingsEffMode = 1;
  int32_t LayoutCompareHeight = 150;
  bool ScriptLibraryOn = true;
  int32_t ScriptLibraryHeight = 150;
  int32_t ScriptLibraryFilter = 2;
  bool TabGraphs = true;
  bool TabCard = true;
  bool TabLayout = true;
  bool TabWeek = true;
  bool TabTables = true;
  int32_t Language = 1033;
  bool FirstRun = false;
};

// Reads every key of the main window's section into state, key by key (a malformed value throws
// support::Error after the keys before it were taken).
void ReadMainViewState(const ViewState& view, TMainViewState& state);
// Writes the keys that are written at destruction (sizes and window lengths) in one file write.
void WriteMainViewStateAtExit(ViewState& view, const TMainViewState& state);

}  // namespace kelmora::shell
