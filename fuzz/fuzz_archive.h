#pragma once
// The fixed small archive and full registry the targets that need statistics run against: built once
// per process, read only afterwards.

#include "lottery/types.h"
#include "stats/registry.h"
#include "stats/stat_list.h"

namespace kelmora::fuzz {

struct FuzzArchive {
  lottery::TDrawsArray Draws;
  lottery::TConfigData Config;
  lottery::TShreddingData Shredding;
  stats::TStatList List{Draws, Config, Shredding, stats::RegisteredClasses()};
};

// 64 draws numbered 1..64 with varied values, and the registry rebuilt over them.
const FuzzArchive& SharedArchive();

}  // namespace kelmora::fuzz
