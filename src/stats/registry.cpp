#include "stats/registry.h"

#include <algorithm>

#include "stats/numbers.h"

namespace kelmora::stats {

const std::vector<const TStatClass*>& RegisteredClasses() {
  static const std::vector<const TStatClass*> classes = [] {
    std::vector<const TStatClass*> all;
    // One line per family; the ordinals put each class at its place in the system's order.
    for (const TStatClass* c : NumberClasses()) all.push_back(c);
    std::stable_sort(all.begin(), all.end(),
                     [](const TStatClass* a, const TStatClass* b) { return a->Ordinal < b->Ordinal; });
    return all;
  }();
  return classes;
}

}  // namespace kelmora::stats
