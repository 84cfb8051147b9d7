#include "stats/registry.h"

#include <algorithm>

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

const std::vector<const TStatClass*>& RegisteredClasses() {
  static const std::vector<const TStatClass*> classes = [] {
    std::vector<const TStatClass*> all;
    // One line per family; the ordinals put each class at its place in the system's order.
    for (const TStatClass* c : NumberClasses()) all.push_back(c);
    for (const TStatClass* c : SumClasses()) all.push_back(c);
    for (const TStatClass* c : DiffClasses()) all.push_back(c);
    for (const TStatClass* c : ChannelClasses()) all.push_back(c);
    for (const TStatClass* c : MatrixClasses()) all.push_back(c);
    for (const TStatClass* c : SegmentClasses()) all.push_back(c);
    for (const TStatClass* c : SequenceClasses()) all.push_back(c);
    for (const TStatClass* c : RepeatClasses()) all.push_back(c);
    for (const TStatClass* c : CombValueClasses()) all.push_back(c);
    for (const TStatClass* c : SeriesClasses()) all.push_back(c);
    for (const TStatClass* c : PeriodClasses()) all.push_back(c);
    for (const TStatClass* c : ChainClasses()) all.push_back(c);
    for (const TStatClass* c : OgnevClasses()) all.push_back(c);
    for (const TStatClass* c : ShreddingClasses()) all.push_back(c);
    std::stable_sort(all.begin(), all.end(),
                     [](const TStatClass* a, const TStatClass* b) { return a->Ordinal < b->Ordinal; });
    return all;
  }();
  return classes;
}

}  // namespace kelmora::stats
