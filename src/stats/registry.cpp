#include "stats/registry.h"

#include <algorithm>
#include <span>

#include "stats/chains.h"
#include "stats/channels.h"
#include "stats/comb_values.h"
#include "stats/diffs.h"
#include "stats/matrix.h"
#include "stats/numbers.h"
#include "stats/ognev.h"
#include "stats/periods.h"
#include "stats/repeats.h"
#include "stats/segments.h"
#include "stats/sequences.h"
#include "stats/series.h"
#include "stats/shredding.h"
#include "stats/sums.h"

namespace kelmora::stats {

namespace {

// One line per family: the name of its description page and its classes.
struct TStatFamily {
  const char* Page;
  std::span<const TStatClass* const> Classes;
};

const std::vector<TStatFamily>& Families() {
  static const std::vector<TStatFamily> families = {
      {"numbers", NumberClasses()},    {"sums", SumClasses()},           {"diffs", DiffClasses()},
      {"channels", ChannelClasses()},  {"matrix", MatrixClasses()},      {"segments", SegmentClasses()},
      {"sequences", SequenceClasses()}, {"repeats", RepeatClasses()},    {"comb_values", CombValueClasses()},
      {"series", SeriesClasses()},     {"periods", PeriodClasses()},     {"chains", ChainClasses()},
      {"ognev", OgnevClasses()},       {"shredding", ShreddingClasses()},
  };
  return families;
}

}  // namespace

const std::vector<const TStatClass*>& RegisteredClasses() {
  static const std::vector<const TStatClass*> classes = [] {
    std::vector<const TStatClass*> all;
    // The ordinals put each class of a family at its place in the system's order.
    for (const TStatFamily& family : Families())
      for (const TStatClass* c : family.Classes) all.push_back(c);
    std::stable_sort(all.begin(), all.end(),
                     [](const TStatClass* a, const TStatClass* b) { return a->Ordinal < b->Ordinal; });
    return all;
  }();
  return classes;
}

std::string_view FamilyPage(const TStatClass& cls) {
  for (const TStatFamily& family : Families())
    for (const TStatClass* c : family.Classes)
      if (c == &cls) return family.Page;
  return {};
}

std::vector<std::string_view> FamilyPages() {
  std::vector<std::string_view> pages;
  for (const TStatFamily& family : Families()) pages.push_back(family.Page);
  return pages;
}

}  // namespace kelmora::stats
