// Targets over the text parsers: filter recipes, shredding formulas and value lists.

#include <cmath>
#include <vector>

#include "filtering/filter_apply.h"
#include "filtering/filter_text.h"
#include "fuzz/fuzz_archive.h"
#include "fuzz/fuzz_targets.h"
#include "lottery/comb_ops.h"
#include "stats/formula.h"
#include "support/error.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::fuzz {

int FuzzRecipe(const uint8_t* data, size_t size) {
  const stats::TStatList& list = SharedArchive().List;
  std::vector<filtering::TFilterItem> items;
  for (const std::string& line : support::SplitLines(AsText(data, size))) {
    const filtering::TFilterItem item = filtering::FilterItemFromText(support::Trim(line), list);
    // The stored form of a recipe reads back as the same recipe.
    const std::string text = filtering::FilterItemToText(item);
    const filtering::TFilterItem back = filtering::FilterItemFromText(text, list);
    const std::string again = filtering::FilterItemToText(back);
    FuzzCheck(again == text, "a recipe's stored form \"" + text + "\" reads back as \"" + again + "\"");
    items.push_back(item);
  }

  filtering::TFilterVariants variants;
  try {
    variants = filtering::ExpandFilterVariants(items);
  } catch (const support::Error&) {
    return 0;
  }
  int64_t product = variants.Items.empty() ? 0 : 1;
  for (const auto& choices : variants.Items) {
    FuzzCheck(choices.Size() > 0, "a recipe without choices expanded");
    product *= choices.Size();
    FuzzCheck(product <= filtering::MaxFilterVariants, "more variants than allowed");
  }
  FuzzCheck(variants.Count == product, "variant count is not the product of the choices");
  // The first and last variants, and a few in between, as the script test names them.
  for (int64_t v = 0; v < variants.Count; v = v < 8 ? v + 1 : v * 3 + 1) {
    (void)filtering::FilterVarToText(variants.Variant(v));
  }
  if (variants.Count > 0) (void)filtering::FilterVarToText(variants.Variant(variants.Count - 1));
  return 0;
}

int FuzzFormula(const uint8_t* data, size_t size) {
  stats::TFormula formula(AsText(data, size));
  static const stats::TFormulaValues Sets[] = {
      {},
      {7, 8, 9, 10, 1, 2, 3, 4, 11, 12, 13, 14},
      {14, 14, 14, 14, 255, 255, 255, 255, 0, 0, 0, 0},
  };
  for (const auto& values : Sets) {
    // Evaluated twice: the second run reuses what the first allocated and must agree with it.
    const auto first = formula.Evaluate(values);
    const auto second = formula.Evaluate(values);
    FuzzCheck(first.has_value() == second.has_value(), "a formula failed only once");
    if (first && second) {
      FuzzCheck((std::isnan(*first) && std::isnan(*second)) || *first == *second, "a formula gave two values");
      for (int digits = 0; digits <= 5; ++digits) {
        const int32_t fraction = stats::ShredFraction(*first, digits);
        static constexpr int32_t Limits[] = {1, 10, 100, 1000, 10000, 100000};
        FuzzCheck(fraction >= 0 && fraction < Limits[digits], "a fraction outside its digits");
      }
    }
  }
  (void)stats::EvaluateFormula(AsText(data, size));
  return 0;
}

int FuzzValueList(const uint8_t* data, size_t size) {
  const lottery::TIntArray values = lottery::ParseValueList(AsText(data, size));
  FuzzCheck(values.size() <= 65536 || values.size() <= size, "a range longer than allowed");
  if (values.empty()) return 0;
  // The list form the program writes reads back as the same values.
  const std::string text = lottery::ValueListToText(values, ",");
  FuzzCheck(lottery::ParseValueList(text) == values, "a written value list reads back differently");
  return 0;
}

}  // namespace kelmora::fuzz
