#pragma once
// Filter recipes: the item a script step holds (TFilterItem), one expanded choice of it
// (TFilterPart), a step's seven slots (TFilterRec), the selection and stop modes, and the text forms
// recipes are stored in inside script lines and shown in logs and stake names.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "lottery/types.h"
#include "stats/stat_list.h"

namespace kelmora::filtering {

// Selection modes (LevelMode) 0..31 and stop modes (StopMode) 0..5.
inline constexpr int LevelModeCount = 32;
inline constexpr int StopModeCount = 6;
enum TLevelMode : uint8_t {
  LNO, LMV, LMP, LLV, LLP, LDV, LDP, DMV, DMP, DLV, DLP, DDV, DDP, CMV, CMP, CLV, CLP, CDV, CDP,
  WMV, WLV, WDV, PIM, PIL, PIR, PAM, PAL, PAR, PXM, PXL, PXR, LVA
};
enum TStopMode : uint8_t { SF, SC, SZ, ST, SV, SP };

// The code as stored in the text form ("LMV", "SF"); "# ERROR #" for a mode outside the table.
std::string LevelModeCode(int mode);
std::string StopModeCode(int mode);
// The captions the editor lists; "# ERROR #" outside the table.
std::string LevelModeCaption(int mode);
std::string StopModeCaption(int mode);
// Modes 5, 6, 11, 12, 17, 18, 21, 24, 27, 30, 31 compare a cell with a list.
bool IsListMode(int mode);
// Every mode but 0 and the list modes compares a cell with one threshold.
bool IsThresholdMode(int mode);

// The weight-coefficient override of a recipe. A recipe read from text starts with all zero weights.
struct TFilterCdl {
  bool Override = false;
  lottery::TCdlSettings Settings{0, 0, 0, false, false};
  bool operator==(const TFilterCdl&) const = default;
};

// One recipe as the user wrote it.
struct TFilterItem {
  bool Active = false;
  std::string StatText;                       // the statistic word as read, kept for unknown methods
  const stats::TStatMethod* Method = nullptr; // registry entry, or none; valid until the registry is rebuilt
  std::string DrawsLen;                       // a value list
  int32_t SortColumn = 1;
  bool BottomUp = false;
  bool MultiSelect = false;
  bool KeepSelected = false;
  uint8_t LevelMode = 0;
  std::string LevelValue;                     // a value list
  TFilterCdl CDL;
  uint8_t StopMode = 0;
  int32_t StopValue = 0;
  bool operator==(const TFilterItem&) const = default;
};

// One single choice of a recipe.
struct TFilterPart {
  bool Active = false;
  const stats::TStatMethod* Method = nullptr;
  int32_t DrawsLen = 0;
  int32_t SortColumn = 1;
  bool BottomUp = false;
  bool MultiSelect = false;
  bool KeepSelected = false;
  uint8_t LevelMode = 0;
  std::string LevelValue;  // what rows are tested against
  std::string LevelText;   // what the description shows
  TFilterCdl CDL;
  uint8_t StopMode = 0;
  int32_t StopValue = 0;
  bool operator==(const TFilterPart&) const = default;
};

// Slots 1..7 of a step; empty slots stay inactive.
inline constexpr int FilterSlots = 7;
using TFilterRec = std::array<TFilterPart, FilterSlots>;

// Reads a recipe; never fails: what cannot be read takes its default, a statistic word naming no
// entry of the registry leaves Method none and keeps the word in StatText. An empty text gives an
// inactive item.
TFilterItem FilterItemFromText(std::string_view text, const stats::TStatList& list);
// "TSD1#NUMS:10#LMV:5#SF:1" (a fifth word with the weights when CDL.Override); "" when inactive.
// An item without method and statistic word writes the word as " ", so it reads back the same.
std::string FilterItemToText(const TFilterItem& item);
// The description of a part, with the sort column in its first word ("TSD1#NUMS:10#LMV:5#SF:1");
// "" when inactive. A part without method shows "?".
std::string FilterPartToText(const TFilterPart& part);
// The non-empty part texts of slots 1..7 joined with " + ".
std::string FilterVarToText(const TFilterRec& rec);

// The weights as the fifth word writes them ("1.5:1:0.25:1:0").
std::string CdlToText(const lottery::TCdlSettings& cdl);

}  // namespace kelmora::filtering
