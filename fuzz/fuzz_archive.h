#pragma once
// What the targets share: the fixed small archive and full registry the targets that need statistics
// run against (built once per process, read only afterwards), and the views of an input.

#include <cstddef>
#include <cstdint>
#include <string_view>

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

// The input as text bytes.
inline std::string_view AsText(const uint8_t* data, size_t size) { return {reinterpret_cast<const char*>(data), size}; }
// FNV-1a of the input: picks the registry entry an input is tried with, so every entry gets inputs.
uint32_t InputHash(const uint8_t* data, size_t size);

}  // namespace kelmora::fuzz
