#include "fuzz/fuzz_targets.h"

#include <array>

namespace kelmora::fuzz {

std::span<const FuzzTarget> FuzzTargets() {
  static constexpr std::array<FuzzTarget, 11> Targets = {{
      {"draws_archive", FuzzDrawsArchive},
      {"ini_text", FuzzIniText},
      {"settings", FuzzSettings},
      {"view_state", FuzzViewState},
      {"comb_file", FuzzCombFile},
      {"prefetch", FuzzPrefetch},
      {"csv_import", FuzzCsvImport},
      {"results", FuzzResults},
      {"recipe", FuzzRecipe},
      {"formula", FuzzFormula},
      {"value_list", FuzzValueList},
  }};
  return Targets;
}

void FuzzCheck(bool condition, std::string_view what) {
  if (!condition) throw FuzzFailure(std::string(what));
}

}  // namespace kelmora::fuzz
