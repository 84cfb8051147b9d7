#pragma once
// The draws text files: the CSV export/import form and the operator's results file.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "lottery/types.h"

namespace kelmora::lottery {

// Export: one line per draw (oldest first) `number;"date";s;h;d;c`, CRLF, Windows-1251.
std::string DrawsToCsv(const TDrawsArray& draws);  // bytes as written to the file
void ExportDrawsFile(const std::filesystem::path& path, const TDrawsArray& draws);

// Fields of one import line: split at ";" and at runs of spaces or control characters outside
// double quotes; a doubled quote inside quotes is one quote; a final ";" adds an empty field.
std::vector<std::string> SplitImportLine(std::string_view line);
// What an import skipped: lines that are not draws (another field count, a number that is not above
// 0, a value that is not a card 7..14). Lines whose number is already known are not counted.
struct TImportReport {
  int Skipped = 0;
  int FirstBadLine = 0;  // 1-based line number of the first skipped line, 0 when none
  std::string FirstBadText;
};

// Appends the draws of the import text (Windows-1251 bytes) whose number is above 0 and not yet in
// the archive; 5-field lines are numbered count+1, 6-field lines carry their number; other lines
// and lines whose values are not cards are skipped (and counted in *report). Returns how many
// were appended. Linear in the lines: known numbers are found through a set.
int ImportDrawsText(TDrawsArray& draws, std::string_view bytes, TImportReport* report = nullptr);
int ImportDrawsFile(TDrawsArray& draws, const std::filesystem::path& path, TImportReport* report = nullptr);

// The operator's results file (header line, then newest first: date,number,c,d,h,s). Collects the
// draws whose number is at least first_wanted, stopping at the first that is not, and returns them
// oldest first.
TDrawsArray ReadResultsText(std::string_view bytes, int32_t first_wanted);
TDrawsArray ReadResultsFile(const std::filesystem::path& path, int32_t first_wanted);

}  // namespace kelmora::lottery
