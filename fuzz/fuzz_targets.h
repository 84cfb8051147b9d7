#pragma once
// Entry points of the fuzz targets: one per file reader and per text parser. Each takes any bytes,
// feeds them to the reader as a hostile file or user text would, checks the reader's promises about
// what it returns, and returns 0. A reader failing the way its header says (support::Error) is an
// answer, not a fault; anything else (a crash, another exception, a broken promise) escapes.
// The libFuzzer binaries (KELMORA_FUZZ=ON) and the ordinary replay test both call these.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelmora::fuzz {

using FuzzEntry = int (*)(const uint8_t* data, size_t size);

struct FuzzTarget {
  const char* Name;  // also the folder name of its seeds and its regression corpus
  FuzzEntry Run;
};

// Every target, in a fixed order.
std::span<const FuzzTarget> FuzzTargets();

// A broken promise of a reader: thrown out of the entry point, so libFuzzer stops on it (as an
// uncaught exception) and the replay test reports it with the input's name.
class FuzzFailure : public std::logic_error {
 public:
  explicit FuzzFailure(const std::string& what) : std::logic_error(what) {}
};
// Throws FuzzFailure with the text when the condition does not hold.
void FuzzCheck(bool condition, std::string_view what);

int FuzzDrawsArchive(const uint8_t* data, size_t size);  // .ldr image
int FuzzIniText(const uint8_t* data, size_t size);       // any INI file
int FuzzSettings(const uint8_t* data, size_t size);      // the configuration file
int FuzzViewState(const uint8_t* data, size_t size);     // the view-state file
int FuzzCombFile(const uint8_t* data, size_t size);      // .lcv
int FuzzPrefetch(const uint8_t* data, size_t size);      // .dfc
int FuzzCsvImport(const uint8_t* data, size_t size);     // draws import text
int FuzzResults(const uint8_t* data, size_t size);       // the operator's results file
int FuzzRecipe(const uint8_t* data, size_t size);        // filter recipes, one per line
int FuzzFormula(const uint8_t* data, size_t size);       // a shredding formula
int FuzzValueList(const uint8_t* data, size_t size);     // a value list

}  // namespace kelmora::fuzz
