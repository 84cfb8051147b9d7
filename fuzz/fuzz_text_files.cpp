// Targets over the text files: the combination file, the draws import and the results file.

#include <set>
#include <string_view>

#include "filtering/comb_list.h"
#include "fuzz/fuzz_archive.h"
#include "fuzz/fuzz_targets.h"
#include "lottery/draws_csv.h"
#include "support/error.h"

namespace kelmora::fuzz {

namespace {

std::set<int32_t> Numbers(const lottery::TDrawsArray& draws, size_t from = 0) {
  std::set<int32_t> numbers;
  for (size_t i = from; i < draws.size(); ++i) numbers.insert(draws[i].Number);
  return numbers;
}

}  // namespace

int FuzzCombFile(const uint8_t* data, size_t size) {
  filtering::TCombsArray combs;
  try {
    combs = filtering::DecodeCombFile(AsText(data, size));
  } catch (const support::Error&) {
    return 0;  // too many combinations
  }
  FuzzCheck(combs.size() <= static_cast<size_t>(filtering::MaxCombs), "more combinations than allowed");
  // What the program saves reads back as the same list.
  const std::string saved = filtering::EncodeCombFile(combs, combs.size());
  FuzzCheck(filtering::DecodeCombFile(saved) == combs, "saved combination file reads back differently");
  return 0;
}

int FuzzCsvImport(const uint8_t* data, size_t size) {
  // Imported into the start of a real archive, so numbered lines meet known numbers.
  const lottery::TDrawsArray& base = SharedArchive().Draws;
  lottery::TDrawsArray draws(base.begin(), base.begin() + 8);
  const size_t before = draws.size();
  const std::set<int32_t> known = Numbers(draws);
  const int appended = lottery::ImportDrawsText(draws, AsText(data, size));
  FuzzCheck(appended >= 0 && draws.size() == before + static_cast<size_t>(appended), "count of appended draws wrong");
  const std::set<int32_t> added = Numbers(draws, before);
  FuzzCheck(added.size() == static_cast<size_t>(appended), "an import appended a number twice");
  for (int32_t n : added) FuzzCheck(n > 0 && !known.count(n), "an import appended a known or non-positive number");

  // The export of the result imports back as the same draws once the dates went through the code page.
  lottery::TDrawsArray once;
  lottery::ImportDrawsText(once, lottery::DrawsToCsv(draws));
  FuzzCheck(once.size() == draws.size(), "exported archive imports back with another length");
  for (size_t i = 0; i < draws.size(); ++i) {
    FuzzCheck(once[i].Number == draws[i].Number && once[i].Values == draws[i].Values, "exported draw imports back changed");
  }
  lottery::TDrawsArray twice;
  lottery::ImportDrawsText(twice, lottery::DrawsToCsv(once));
  FuzzCheck(twice == once, "second export not stable");
  return 0;
}

int FuzzResults(const uint8_t* data, size_t size) {
  for (const int32_t first_wanted : {1, 40, -2147483647 - 1}) {
    const lottery::TDrawsArray draws = lottery::ReadResultsText(AsText(data, size), first_wanted);
    for (const auto& draw : draws) FuzzCheck(draw.Number >= first_wanted, "a results draw older than wanted");
  }
  return 0;
}

}  // namespace kelmora::fuzz
