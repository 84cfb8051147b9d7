#pragma once
// Scripts as text: the step line with its nine "|" fields, the option word in its three forms, the
// line the step dialog writes, the script files (.lsc and the autosaved Kelmora_4r32.lss), and the
// step line rebuilt from a rating row's name. Nothing here talks to the user.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filtering/filter_text.h"
#include "stats/stat_list.h"

namespace kelmora::scripts {

// The autosaved current script in the data folder.
inline constexpr const char* CurrentScriptFileName = "Kelmora_4r32.lss";
// The file dialogs' filter and default extension.
inline constexpr const char* ScriptFileFilter = "Файлы сценариев (*.lsc)|*.lsc";
inline constexpr const char* ScriptFileExtension = "lsc";

// Which list a step starts from.
enum TStartList : uint8_t { FULL, EXCL, CURR };
inline constexpr int StartListCount = 3;
// What a step does with the list left after filtering.
enum TStakeMode : uint8_t { RAND, FIRST, LAST, ALL, SYSA, SYSC, STOP, SKIP, NONE };
inline constexpr int StakeModeCount = 9;

// Codes and captions; "# ERROR #" for a number outside the table.
std::string StartListCode(int start_list);
std::string StartListCaption(int start_list);       // the dialog's
std::string StartListShortCaption(int start_list, int32_t exclude_count);  // the list view's
std::string StakeModeCode(int mode);
std::string StakeModeCaption(int mode);
std::string StakeModeShortCaption(int mode);

// The option word of a step.
struct TStepOptions {
  int32_t ExcludeCount = 0;
  uint8_t StartList = FULL;
  uint8_t StakeMode = RAND;
  bool ClearStakes = false;  // "CLR"
  bool NewOnly = false;      // "NEX"
  bool operator==(const TStepOptions&) const = default;
};

// Never fails: what cannot be read keeps its zero default.
TStepOptions StepOptionsFromText(std::string_view word);
// "EXCL:3#RAND#CLR#NEX": the count always, both flags when set.
std::string StepOptionsToText(const TStepOptions& options);
// "EXCL:3#RAND#NEX": the count for EXCL only, never CLR (stake names and logs).
std::string StepOptionsToShortText(const TStepOptions& options);
// "Исключить 3 тиражей; Случайно; Удалить ставки; Только новые ставки" (the "Опции" column).
std::string StepOptionsCaption(const TStepOptions& options);

// Fields of a step line: 1 the option word, 2..8 filter slots 1..7, 9 the comment.
inline constexpr int StepFieldCount = 9;
inline constexpr int StepOptionsField = 1;
inline constexpr int StepCommentField = 9;
inline constexpr int FilterField(int slot) { return slot + 1; }  // slot 1..7
// A line whose trimmed text is empty is a separator, the runner skips it.
bool IsSeparatorLine(std::string_view line);
// Field n (1-based) cut at runs of "|" and trimmed; "" when the line has fewer words. A "|" typed
// into a field therefore shifts the fields after it, as it always has in stored scripts.
std::string StepField(std::string_view line, int n);

// The line the step dialog writes: the option word, "|", each slot's text (a single blank for an
// empty one) followed by "|", then the comment when it is not blank.
using TFilterTexts = std::array<std::string, filtering::FilterSlots>;
std::string ComposeStepLine(std::string_view option_word, const TFilterTexts& filters, std::string_view comment);

// The texts the list view shows for a line: comment, option caption, then the seven slots written
// again in their normal form; all empty for a separator.
struct TStepView {
  std::string Comment;
  std::string Options;
  TFilterTexts Filters;
};
TStepView StepLineView(std::string_view line, const stats::TStatList& list);

// --- files: Windows-1251 text, one line per script line, each ended by CR LF ---

// Lines ended by CR, LF or CR LF, converted to UTF-8; an empty text has no lines.
std::vector<std::string> DecodeScriptText(std::string_view bytes);
std::string EncodeScriptText(const std::vector<std::string>& lines);
// Throws support::Error with the system's reason.
std::vector<std::string> ReadScriptFile(const std::filesystem::path& path);
// Writes through a temporary file, so a failed save keeps the old file; throws support::Error.
void WriteScriptFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

// Appends the lines of a file to a script: into an empty script they are the script; otherwise a
// separator goes first unless the script already ends with one. No lines change nothing.
void AppendScriptLines(std::vector<std::string>& script, const std::vector<std::string>& file_lines);

// The step rebuilt from the name of a rating row that a script's stakes made
// ("01.003: comment @ FULL#RAND + TSD1#NUMS:10#LMV:5#SF:1"); nullopt when no filter slot of the
// result reads as a filter.
std::optional<std::string> RatingNameToStepLine(std::string_view name, const stats::TStatList& list);

}  // namespace kelmora::scripts
